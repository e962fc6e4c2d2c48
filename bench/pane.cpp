// Redrawing a model as the view pane does after a change of view: 2,000 objects (octagonal
// columns of 10 faces, about 20,000 faces) in rows, every object projected afresh and drawn into
// an 800 x 600 offscreen world, in wireframe and in shaded perspective (faces submitted to the
// depth sorter, then sorted and painted). Frames per second are reported as the counter fps;
// the shaded redraw also reports x_sorter, its time over the time the sorter alone takes to sort
// and paint the same faces in the same run (the faces handed over once, kept and copied in).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "Memory.h"
#include "PhaseRecord.h"
#include "VLDepthBuffer.h"
#include "VLIndexedCluster.h"
#include "VLUser3DObject.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr SInt16 kWidth = 800;
constexpr SInt16 kHeight = 600;
constexpr int kObjects = 2000;

// The text record of an octagonal column of radius r and height h at (x, y).
std::string ColumnRecord(double x, double y, double r, double h) {
  constexpr int n = 8;
  std::ostringstream text;
  text.precision(17);
  text << "Phase: 1\nMat: 0\nName:\nColor: 40000 30000 20000\nnumVerts: " << 2 * n << "\n";
  for (int level = 0; level < 2; ++level)
    for (int i = 0; i < n; ++i) {
      const double a = -2 * M_PI * i / n;  // clockwise seen from above
      text << x + r * std::cos(a) << " " << y + r * std::sin(a) << " " << level * h << " 1\n";
    }
  text << "numEdges: " << 3 * n << "\n";
  for (int i = 0; i < n; ++i) text << i << " " << (i + 1) % n << "\n" << n + i << " " << n + (i + 1) % n << "\n";
  for (int i = 0; i < n; ++i) text << i << " " << n + i << "\n";
  text << "numFaces: " << n + 2 << "\n";
  for (int i = 0; i < n; ++i)
    text << "numVerts: 4\n" << i << "\n" << n + i << "\n" << n + (i + 1) % n << "\n" << (i + 1) % n << "\n";
  text << "numVerts: " << n << "\n";
  for (int i = 0; i < n; ++i) text << n + i << "\n";
  text << "numVerts: " << n << "\n";
  for (int i = n - 1; i >= 0; --i) text << i << "\n";
  return text.str();
}

struct Scene {
  Scene() : phases(long(sizeof(PhaseRecord))) {
    // Phase 1 shown, so that the objects draw.
    const PhaseRecord shown{1, 1, {}};
    phases.Append(&shown, 1);
    gCurrentPhases = &phases;
    view.IVLViewTransform(kWidth, kHeight);
    const Vector3d min{0, 0, 0}, max{200, 100, 6};
    view.InitViewsForBox(&min, &max);
    for (int i = 0; i < kObjects; ++i) {
      auto* object = new VLUser3DObject;
      std::istringstream in(ColumnRecord((i % 50) * 4.0, (i / 50) * 2.5, 0.8, 3 + (i % 7) * 0.5));
      object->ReadText(in, 1.0, '\n');
      object->OrientFaces();
      objects.push_back(object);
    }
    const Rect bounds{0, 0, kHeight, kWidth};
    PortNewOffscreen(&world, 32, &bounds, nullptr, nullptr, 0);
    PortSetPort(world);
    gDepthBuffer = new VLDepthBuffer;
    gDepthBuffer->IVLDepthBuffer();
    gDepthBuffer->SetActiveView(&view, 1);
  }
  ~Scene() {
    for (VLUser3DObject* object : objects) object->Dispose();
    gDepthBuffer->ResetList();
    gDepthBuffer->Dispose();
    gDepthBuffer = nullptr;
    gCurrentPhases = nullptr;
    PortSetPort(nullptr);
    PortFreeOffscreen(world);
  }
  // One full redraw: every object projects afresh and draws or submits its faces.
  void Redraw() {
    const Rect all{0, 0, kHeight, kWidth};
    PortEraseRect(&all);
    if (!gDirectDrawing) gDepthBuffer->ResetList();
    for (VLUser3DObject* object : objects) {
      object->MarkChanged();
      object->Draw(&view, nullptr);
    }
    if (!gDirectDrawing) {
      gDepthBuffer->DrawAll();
      gDepthBuffer->ResetList();
    }
  }

  VLIndexedCluster phases;
  VLViewTransform view;
  std::vector<VLUser3DObject*> objects;
  GWorldPtr world = nullptr;
};

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_RedrawWireframe(benchmark::State& state) {
  Scene scene;
  gDirectDrawing = 1;
  gShadedMode = gHiddenLineMode = 0;
  for (auto _ : state) scene.Redraw();
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RedrawWireframe)->Unit(benchmark::kMillisecond);

// A record as submitted (points and edges of its own, nothing the preparation makes).
DepthPolygonHandle CopyRecord(DepthPolygonHandle r) {
  DepthPolygonHandle copy = NewDepthPolygon();
  **copy = **r;
  (*copy)->next = nullptr;
  (*copy)->outline = nullptr;
  (*copy)->overlays = nullptr;
  (*copy)->splitSerials = nullptr;
  Handle points = (*r)->points, edges = (*r)->edges;
  PortDuplicateHandle(&points);
  (*copy)->points = points;
  if (edges) PortDuplicateHandle(&edges);
  (*copy)->edges = edges;
  return copy;
}

// The records the objects submitted, copied so that the sorter can be given them again.
std::vector<DepthPolygonHandle> CopyRecords() {
  std::vector<DepthPolygonHandle> copies;
  for (DepthPolygonHandle r = gDepthBuffer->head; r; r = (*r)->next) copies.push_back(CopyRecord(r));
  return copies;
}

void BM_RedrawShadedPerspective(benchmark::State& state) {
  Scene scene;
  gDirectDrawing = 0;
  gShadedMode = gHiddenLineMode = 1;
  // The faces of one redraw, for the sorter alone.
  gDepthBuffer->ResetList();
  for (VLUser3DObject* object : scene.objects) {
    object->MarkChanged();
    object->Draw(&scene.view, nullptr);
  }
  const long faces = gDepthBuffer->CountRecords();
  std::vector<DepthPolygonHandle> kept = CopyRecords();
  gDepthBuffer->ResetList();

  std::chrono::steady_clock::duration redraws{}, sorting{};
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    scene.Redraw();
    redraws += std::chrono::steady_clock::now() - start;
    state.PauseTiming();
    std::vector<DepthPolygonHandle> records;
    for (DepthPolygonHandle r : kept) records.push_back(CopyRecord(r));
    start = std::chrono::steady_clock::now();
    for (DepthPolygonHandle r : records) gDepthBuffer->Insert(r);
    gDepthBuffer->DrawAll();
    sorting += std::chrono::steady_clock::now() - start;
    gDepthBuffer->ResetList();
    state.ResumeTiming();
  }
  for (DepthPolygonHandle r : kept) DisposeDepthPolygon(gDepthBuffer->FreeRecordParts(r));
  state.counters["fps"] = double(state.iterations()) / Seconds(redraws);
  state.counters["faces"] = double(faces);
  state.counters["x_sorter"] = Seconds(redraws) / Seconds(sorting);
  gShadedMode = gHiddenLineMode = 0;
  gDirectDrawing = 1;
}
BENCHMARK(BM_RedrawShadedPerspective)->Unit(benchmark::kMillisecond);

}  // namespace
