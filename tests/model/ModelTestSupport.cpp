#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "DrawingPlane.h"
#include "Memory.h"
#include "ObjectList.h"
#include "PhaseRecord.h"
#include "TempFolder.h"

namespace modeltest {

namespace {

// Edges from the face loops, each shared edge once.
std::vector<EdgeRecord> EdgesOf(const std::vector<std::vector<SInt16>>& faces) {
  std::vector<EdgeRecord> edges;
  for (const auto& loop : faces) {
    for (std::size_t k = 0; k < loop.size(); ++k) {
      const SInt16 a = loop[k], b = loop[(k + 1) % loop.size()];
      bool known = false;
      for (const EdgeRecord& e : edges) known = known || (e.a == a && e.b == b) || (e.a == b && e.b == a);
      if (!known) edges.push_back(EdgeRecord{a, b});
    }
  }
  return edges;
}

// A prism over a closed outline in the xy plane (counter-clockwise seen from above), from z = 0
// to z = 1, faces pointing out: the sides, then the top, then the bottom.
void MakePrism(VLUser3DObject* object, const std::vector<Vector3d>& outline) {
  const SInt16 n = SInt16(outline.size());
  std::vector<Vector3d> vertices;
  for (const Vector3d& p : outline) vertices.push_back(Vector3d{p.x, p.y, 0});
  for (const Vector3d& p : outline) vertices.push_back(Vector3d{p.x, p.y, 1});
  std::vector<std::vector<SInt16>> faces;
  for (SInt16 i = 0; i < n; ++i) {
    const SInt16 j = SInt16((i + 1) % n);
    // Clockwise seen from outside the side: bottom i, top i, top j, bottom j.
    faces.push_back({i, SInt16(n + i), SInt16(n + j), j});
  }
  std::vector<SInt16> top, bottom;
  for (SInt16 i = n - 1; i >= 0; --i) top.push_back(SInt16(n + i));  // clockwise from above
  for (SInt16 i = 0; i < n; ++i) bottom.push_back(i);                 // clockwise from below
  faces.push_back(top);
  faces.push_back(bottom);
  SetGeometry(object, vertices, faces);
}

}  // namespace

void SetGeometry(VLUser3DObject* object, const std::vector<Vector3d>& vertices,
                 const std::vector<std::vector<SInt16>>& faces, bool withEdges) {
  const std::vector<EdgeRecord> edges = withEdges ? EdgesOf(faces) : std::vector<EdgeRecord>{};
  object->AllocateStorage(SInt16(vertices.size()), SInt16(vertices.size()), SInt16(edges.size()),
                          SInt16(faces.size()));
  object->SetArrayPointers();
  for (std::size_t i = 0; i < vertices.size(); ++i) object->vertices[i] = vertices[i];
  for (std::size_t i = 0; i < edges.size(); ++i) object->edges[i] = edges[i];
  object->vertexCount = SInt16(vertices.size());
  object->edgeCount = SInt16(edges.size());
  for (std::size_t i = 0; i < faces.size(); ++i) {
    Handle loop = PortAllocHandle(Size(faces[i].size() * sizeof(SInt16)));
    for (std::size_t k = 0; k < faces[i].size(); ++k) reinterpret_cast<SInt16*>(*loop)[k] = faces[i][k];
    object->SetArrayPointers();
    object->faces[i].loop = loop;
    object->faces[i].loopCount = SInt16(faces[i].size());
  }
  object->faceCount = SInt16(faces.size());
  object->CalcFacePlanes();
}

void MakeBlock(VLUser3DObject* object) {
  MakePrism(object, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
}

void MakeLExtrusion(VLUser3DObject* object) {
  MakePrism(object, {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}});
}

void MakeFlatRectangle(VLUser3DObject* object) {
  SetGeometry(object, {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}}, {{3, 2, 1, 0}, {0, 1, 2, 3}});
}

std::vector<Vector3d> Vertices(VLUser3DObject* object) {
  object->SetArrayPointers();
  return std::vector<Vector3d>(object->vertices, object->vertices + object->vertexCount);
}

Vector3d VertexAt(VLUser3DObject* object, SInt16 vertex) {
  object->SetArrayPointers();
  return object->vertices[vertex];
}

void ExpectNear(const Vector3d& actual, const Vector3d& expected, double tolerance, const std::string& what) {
  EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
  EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
  EXPECT_NEAR(actual.z, expected.z, tolerance) << what;
}

void ProjectAsPlan(VLUser3DObject* object) {
  object->SetArrayPointers();
  for (SInt16 i = 0; i < object->vertexCount; ++i)
    object->screenPoints[i] = Vector3d{object->vertices[i].x * 100, object->vertices[i].y * 100, 0};
}

std::vector<SInt16> Loop(VLUser3DObject* object, SInt16 face) {
  object->SetArrayPointers();
  const FaceRecord& record = object->faces[face];
  const SInt16* entries = LoopEntries(record);
  return std::vector<SInt16>(entries, entries + record.loopCount);
}

Vector3d Normal(VLUser3DObject* object, SInt16 face) {
  Vector3d n;
  object->GetFaceNormal(face, &n);
  return n;
}

}  // namespace modeltest

namespace modeltest {

std::string WriteBody(VLUser3DObject* object, double factor) {
  return WrittenText([&](std::FILE* file) { object->WriteText(file, factor); });
}

std::string WrittenText(const std::function<void(std::FILE*)>& write) {
  FilePtr file(std::tmpfile());
  if (!file) return {};
  write(file.get());
  std::string text;
  std::rewind(file.get());
  for (int c; (c = std::fgetc(file.get())) != EOF;) text.push_back(char(c));
  return text;
}

FilePtr FileWithText(const std::string& text) {
  FilePtr file(std::tmpfile());
  if (!file) return file;
  std::fwrite(text.data(), 1, text.size(), file.get());
  std::rewind(file.get());
  return file;
}

}  // namespace modeltest

namespace modeltest {

std::string BodyRecord(const std::vector<Vector3d>& vertices, const std::vector<std::vector<SInt16>>& faces) {
  std::ostringstream text;
  text.precision(17);
  text << "Phase: 1\nMat: 0\nName:\nColor: 0 0 0\nnumVerts: " << vertices.size() << "\n";
  for (const Vector3d& p : vertices) text << p.x << " " << p.y << " " << p.z << " 1\n";
  const std::vector<EdgeRecord> edges = EdgesOf(faces);
  text << "numEdges: " << edges.size() << "\n";
  for (const EdgeRecord& e : edges) text << e.a << " " << e.b << "\n";
  text << "numFaces: " << faces.size() << "\n";
  for (const auto& loop : faces) {
    text << "numVerts: " << loop.size() << "\n";
    for (SInt16 v : loop) text << v << "\n";
  }
  return text.str();
}

ObjectPtr ReadObject(const std::string& record) {
  ObjectPtr object = NewObject();
  ReadInto(object.get(), record);
  return object;
}

void ReadInto(VLUser3DObject* object, const std::string& record) {
  std::istringstream in(record);
  object->ReadText(in, 1.0, '\n');
  EXPECT_FALSE(in.fail()) << record;
}

std::string PrismRecord(const std::vector<Vector3d>& outline, double bottom, double top) {
  const SInt16 n = SInt16(outline.size());
  std::vector<Vector3d> vertices;
  for (const Vector3d& p : outline) vertices.push_back(Vector3d{p.x, p.y, bottom});
  for (const Vector3d& p : outline) vertices.push_back(Vector3d{p.x, p.y, top});
  std::vector<std::vector<SInt16>> faces;
  for (SInt16 i = 0; i < n; ++i) {
    const SInt16 j = SInt16((i + 1) % n);
    faces.push_back({i, j, SInt16(n + j), SInt16(n + i)});
  }
  std::vector<SInt16> cap, back;
  for (SInt16 k = 0; k < n; ++k) {
    cap.push_back(SInt16(n + k));
    back.push_back(SInt16((n + 1 - k) % n));
  }
  faces.push_back(cap);
  faces.push_back(back);
  return BodyRecord(vertices, faces);
}

std::string BoxRecord(Vector3d lo, Vector3d hi) {
  return PrismRecord({{lo.x, lo.y, 0}, {lo.x, hi.y, 0}, {hi.x, hi.y, 0}, {hi.x, lo.y, 0}}, lo.z, hi.z);
}

void NoticeRecorder::ProviderChanged(CCollaborator*, long reason, void* info) {
  Notice notice;
  notice.reason = reason;
  if (info && reason >= kInfoMoved && reason <= kInfoResized) {
    notice.hasRecord = true;
    notice.record = *static_cast<const ObjectInfoRecord*>(info);
  }
  heard.push_back(notice);
}

PaletteStandIn::PaletteStandIn() : saved_(gObjectInfoBox) { gObjectInfoBox = this; }

PaletteStandIn::~PaletteStandIn() { gObjectInfoBox = saved_; }

bool PaletteStandIn::LinkedWith(const VLUser3DObject* object) const {
  return HasProvider(object) && object->HasProvider(this);
}

ObjectListStandIn::ObjectListStandIn(std::initializer_list<VLUser3DObject*> objects)
    : list_(VLArray::kPointerSize), saved_(gCurrentObjectList) {
  for (VLUser3DObject* object : objects) list_.AppendPointer(object);
  gCurrentObjectList = &list_;
}

ObjectListStandIn::~ObjectListStandIn() { gCurrentObjectList = saved_; }

SelectionList::SelectionList() : list_(VLArray::kPointerSize), saved_(gCurrentSelection) { gCurrentSelection = &list_; }

SelectionList::~SelectionList() { gCurrentSelection = saved_; }

std::vector<VLUser3DObject*> SelectionList::Objects() const {
  std::vector<VLUser3DObject*> objects;
  for (long i = 1; i <= list_.GetNumItems(); ++i) objects.push_back(static_cast<VLUser3DObject*>(list_.PointerAt(i)));
  return objects;
}

ShownPhase::ShownPhase() : phases_(long(sizeof(PhaseRecord))), saved_(gCurrentPhases) {
  const PhaseRecord shown{1, 1, {}};
  phases_.Append(&shown, 1);
  gCurrentPhases = &phases_;
}

ShownPhase::~ShownPhase() { gCurrentPhases = saved_; }

DrawingRoles::DrawingRoles(SInt16 x, SInt16 y, SInt16 z) : saved_{gAxisX, gAxisY, gAxisZ} {
  gAxisX = x;
  gAxisY = y;
  gAxisZ = z;
}

DrawingRoles::~DrawingRoles() {
  gAxisX = saved_[0];
  gAxisY = saved_[1];
  gAxisZ = saved_[2];
}

namespace {

WorkingPlaneStandIn* gStandIn = nullptr;

void StandInToPlane(CWorkingPlaneTool*, const Vector3d* in, Vector3d* out) {
  TransformPoint4x4(in, &gStandIn->toPlane, out);
}

void StandInToWorld(CWorkingPlaneTool*, const Vector3d* in, Vector3d* out) {
  TransformPoint4x4(in, &gStandIn->toWorld, out);
}

}  // namespace

WorkingPlaneStandIn::WorkingPlaneStandIn(Vector3d origin, Vector3d x, Vector3d y, Vector3d z) {
  FrameMatrices(&x, &y, &z, &origin, &toPlane, &toWorld);
  gStandIn = this;
  // The plane object itself is never looked at: the conversions stand in for it.
  gWorkingPlane = reinterpret_cast<CWorkingPlaneTool*>(this);
  gWorkingPlaneOn = 1;
  SetWorkingPlaneConversions(StandInToPlane, StandInToWorld);
}

WorkingPlaneStandIn::~WorkingPlaneStandIn() {
  SetWorkingPlaneConversions(nullptr, nullptr);
  gWorkingPlaneOn = 0;
  gWorkingPlane = nullptr;
  gStandIn = nullptr;
}

namespace {
constexpr const char* kPython = "/usr/bin/python3";
}  // namespace

bool IndependentDxfReaderPresent() {
  return std::filesystem::exists(kPython) &&
         std::system((std::string(kPython) + " -c 'import ezdxf' 2>/dev/null").c_str()) == 0;
}

std::vector<DxfEntityRead> ReadWithIndependentDxfReader(const std::string& entities) {
  vltest::TempFolder folder;
  const std::string dxf = folder.Path("read.dxf"), script = folder.Path("read.py"), report = folder.Path("read.txt");
  std::ofstream(dxf) << "0\nSECTION\n2\nENTITIES\n" << entities << "0\nENDSEC\n0\nEOF\n";
  std::ofstream(script) << "import sys, ezdxf\n"
                           "doc = ezdxf.readfile(sys.argv[1])\n"
                           "out = open(sys.argv[2], 'w')\n"
                           "for e in doc.modelspace():\n"
                           "    pts = ';'.join('%.3f %.3f %.3f' % tuple(v.dxf.location) for v in e.vertices)\n"
                           "    out.write('%s|%d|%d|%s\\n' % (e.dxftype(), e.is_3d_polyline, e.is_closed, pts))\n";
  std::vector<DxfEntityRead> read;
  if (std::system((std::string(kPython) + " " + script + " " + dxf + " " + report).c_str()) != 0) {
    ADD_FAILURE() << "the independent DXF reader refused the text";
    return read;
  }
  std::ifstream in(report);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    DxfEntityRead entity;
    std::string is3d, closed;
    std::getline(fields, entity.type, '|');
    std::getline(fields, is3d, '|');
    std::getline(fields, closed, '|');
    std::getline(fields, entity.points);
    entity.is3d = is3d == "1";
    entity.closed = closed == "1";
    read.push_back(entity);
  }
  return read;
}

}  // namespace modeltest
