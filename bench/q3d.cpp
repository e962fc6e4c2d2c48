// Reading and writing a 100,000-triangle mesh as binary and text metafiles,
// beside copying the binary file, whose time the binary read is measured against.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Q3.h"

namespace {

constexpr int kColumns = 250, kRows = 200;  // 2 x 250 x 200 = 100,000 triangles

std::filesystem::path Folder() {
  static std::filesystem::path folder = [] {
    std::filesystem::path p = std::filesystem::temp_directory_path() / "velmora-bench-q3d";
    std::filesystem::create_directories(p);
    return p;
  }();
  return folder;
}

// A height field as a triangle mesh with a normal at every point.
TQ3Object MakeTriMesh() {
  std::vector<TQ3Point3D> points;
  std::vector<TQ3Vector3D> normals;
  for (int r = 0; r <= kRows; ++r)
    for (int c = 0; c <= kColumns; ++c) {
      points.push_back({float(c), float(r), float((c * 7 + r * 3) % 11) * 0.1f});
      normals.push_back({0, 0, 1});
    }
  std::vector<TQ3TriMeshTriangleData> triangles;
  auto at = [](int r, int c) { return TQ3Uns32(r * (kColumns + 1) + c); };
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c) {
      triangles.push_back({{at(r, c), at(r, c + 1), at(r + 1, c + 1)}});
      triangles.push_back({{at(r, c), at(r + 1, c + 1), at(r + 1, c)}});
    }
  TQ3TriMeshAttributeData normal{kQ3AttributeTypeNormal, normals.data(), nullptr};
  TQ3TriMeshData data{};
  data.numTriangles = TQ3Uns32(triangles.size());
  data.triangles = triangles.data();
  data.numPoints = TQ3Uns32(points.size());
  data.points = points.data();
  data.numVertexAttributeTypes = 1;
  data.vertexAttributeTypes = &normal;
  Q3BoundingBox_SetFromPoints3D(&data.bBox, points.data(), data.numPoints, sizeof(TQ3Point3D));
  return Q3TriMesh_New(&data);
}

// The same surface as a mesh of 100,000 triangular faces.
TQ3Object MakeMesh() {
  TQ3Object mesh = Q3Mesh_New();
  std::vector<TQ3MeshVertex> vertices;
  for (int r = 0; r <= kRows; ++r)
    for (int c = 0; c <= kColumns; ++c) {
      TQ3Vertex3D v{{float(c), float(r), 0}, nullptr};
      vertices.push_back(Q3Mesh_VertexNew(mesh, &v));
    }
  auto at = [&](int r, int c) { return vertices[size_t(r * (kColumns + 1) + c)]; };
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c) {
      TQ3MeshVertex a[3] = {at(r, c), at(r, c + 1), at(r + 1, c + 1)};
      TQ3MeshVertex b[3] = {at(r, c), at(r + 1, c + 1), at(r + 1, c)};
      Q3Mesh_FaceNew(mesh, 3, a, nullptr);
      Q3Mesh_FaceNew(mesh, 3, b, nullptr);
    }
  return mesh;
}

bool WriteFile(TQ3Object object, const std::filesystem::path& path, TQ3FileMode mode) {
  TQ3Object storage = Q3PathStorage_New(path.c_str());
  TQ3Object file = Q3File_New();
  TQ3Object view = Q3View_New();
  Q3File_SetStorage(file, storage);
  bool ok = Q3File_OpenWrite(file, mode) == kQ3Success && Q3View_StartWriting(view, file) == kQ3Success &&
            Q3Object_Submit(object, view) == kQ3Success;
  ok = Q3View_EndWriting(view) == kQ3ViewStatusDone && ok;
  ok = Q3File_Close(file) == kQ3Success && ok;
  Q3Object_Dispose(view);
  Q3Object_Dispose(file);
  Q3Object_Dispose(storage);
  return ok;
}

TQ3Object ReadFile(const std::filesystem::path& path) {
  TQ3Object storage = Q3PathStorage_New(path.c_str());
  TQ3Object file = Q3File_New();
  Q3File_SetStorage(file, storage);
  TQ3Object object = nullptr;
  if (Q3File_OpenRead(file, nullptr) == kQ3Success) {
    object = Q3File_ReadObject(file);
    Q3File_Close(file);
  }
  Q3Object_Dispose(file);
  Q3Object_Dispose(storage);
  return object;
}

struct Library {
  Library() { Q3Initialize(); }
  ~Library() { Q3Exit(); }
};

void Write(benchmark::State& state, TQ3Object (*make)(), TQ3FileMode mode, const char* name) {
  Library library;
  TQ3Object object = make();
  std::filesystem::path path = Folder() / name;
  for (auto _ : state)
    if (!WriteFile(object, path, mode)) state.SkipWithError("writing failed");
  state.counters["bytes"] = double(std::filesystem::file_size(path));
  Q3Object_Dispose(object);
}

void Read(benchmark::State& state, TQ3Object (*make)(), TQ3FileMode mode, const char* name) {
  Library library;
  std::filesystem::path path = Folder() / name;
  TQ3Object object = make();
  WriteFile(object, path, mode);
  Q3Object_Dispose(object);
  for (auto _ : state) {
    TQ3Object read = ReadFile(path);
    if (!read) state.SkipWithError("reading failed");
    Q3Object_Dispose(read);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(std::filesystem::file_size(path)));
}

void BM_TriMeshWriteBinary(benchmark::State& s) { Write(s, MakeTriMesh, kQ3FileModeNormal, "trimesh.3dmf"); }
void BM_TriMeshWriteText(benchmark::State& s) { Write(s, MakeTriMesh, kQ3FileModeText, "trimesh-text.3dmf"); }
void BM_TriMeshReadBinary(benchmark::State& s) { Read(s, MakeTriMesh, kQ3FileModeNormal, "trimesh.3dmf"); }
void BM_TriMeshReadText(benchmark::State& s) { Read(s, MakeTriMesh, kQ3FileModeText, "trimesh-text.3dmf"); }
void BM_MeshWriteBinary(benchmark::State& s) { Write(s, MakeMesh, kQ3FileModeNormal, "mesh.3dmf"); }
void BM_MeshReadBinary(benchmark::State& s) { Read(s, MakeMesh, kQ3FileModeNormal, "mesh.3dmf"); }
void BM_MeshReadText(benchmark::State& s) { Read(s, MakeMesh, kQ3FileModeText, "mesh-text.3dmf"); }

// Copying the binary file, as the system copies files.
void BM_CopyBinaryFile(benchmark::State& state) {
  Library library;
  std::filesystem::path from = Folder() / "trimesh.3dmf", to = Folder() / "trimesh-copy.3dmf";
  TQ3Object object = MakeTriMesh();
  WriteFile(object, from, kQ3FileModeNormal);
  Q3Object_Dispose(object);
  for (auto _ : state) std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(std::filesystem::file_size(from)));
}

}  // namespace

BENCHMARK(BM_CopyBinaryFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TriMeshReadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TriMeshReadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TriMeshWriteBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TriMeshWriteText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeshReadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeshReadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeshWriteBinary)->Unit(benchmark::kMillisecond);
