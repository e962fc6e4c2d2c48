// Painting depth-sorted records: ten thousand shaded quadrilaterals, some across the edges of
// an 800 x 600 world, each painted by the sorter (colour, clipping to the port, fill, edges)
// and reported beside the same quadrilaterals filled as plain polygons in the same run (the
// counter x_polygon: time of the painting over time of the plain fills).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "Memory.h"
#include "VLDepthBuffer.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr int kRecords = 10'000;
constexpr SInt16 kWidth = 800;
constexpr SInt16 kHeight = 600;

struct Quad {
  Vector3d corners[4];
};

std::vector<Quad> ScatteredQuads() {
  std::mt19937 rng(18);
  std::uniform_real_distribution<double> h(-40, kWidth + 40), v(-40, kHeight + 40), size(5, 60);
  std::vector<Quad> quads(kRecords);
  for (Quad& q : quads) {
    const double x = h(rng), y = v(rng), s = size(rng);
    q = {{{x, y, 1}, {x + s, y + s / 3, 1}, {x + s / 2, y + s, 1}, {x - s / 4, y + s / 2, 1}}};
  }
  return quads;
}

DepthPolygonHandle RecordOf(const Quad& q) {
  DepthPolygonHandle r = NewDepthPolygon();
  (*r)->points = PortAllocHandle(Size(sizeof q.corners));
  std::copy(q.corners, q.corners + 4, RecordPoints(*r));
  (*r)->pointCount = 4;
  (*r)->edges = PortAllocHandle(Size(4 * sizeof(DepthEdge)));
  for (SInt16 i = 0; i < 4; ++i) RecordEdges(*r)[i] = {i, SInt16((i + 1) % 4)};
  (*r)->edgeCount = 4;
  (*r)->colour = {50000, 30000, 20000};
  (*r)->shade = 0.5;
  return r;
}

void FillPlain(const std::vector<Quad>& quads) {
  for (const Quad& q : quads) {
    PolyHandle poly = PortOpenPolygon();
    PortPenMove(SInt16(q.corners[0].x), SInt16(q.corners[0].y));
    for (int i = 1; i <= 4; ++i) PortPenLine(SInt16(q.corners[i % 4].x), SInt16(q.corners[i % 4].y));
    PortClosePolygon();
    PortPaintPolygon(poly);
    PortFreePolygon(poly);
  }
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_ShadeFaces(benchmark::State& state) {
  GWorldPtr world = nullptr;
  const Rect bounds{0, 0, kHeight, kWidth};
  PortNewOffscreen(&world, 32, &bounds, nullptr, nullptr, 0);
  PortSetPort(world);
  gShadedMode = 1;
  VLDepthBuffer* sorter = new VLDepthBuffer;
  sorter->IVLDepthBuffer();
  const std::vector<Quad> quads = ScatteredQuads();
  std::vector<DepthPolygonHandle> records;
  for (const Quad& q : quads) records.push_back(RecordOf(q));

  std::chrono::steady_clock::duration painted{}, plain{};
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    for (DepthPolygonHandle r : records) sorter->ShadeFace(r);
    painted += std::chrono::steady_clock::now() - start;
    start = std::chrono::steady_clock::now();
    FillPlain(quads);
    plain += std::chrono::steady_clock::now() - start;
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.counters["x_polygon"] = Seconds(painted) / Seconds(plain);

  for (DepthPolygonHandle r : records) DisposeDepthPolygon(sorter->FreeRecordParts(r));
  sorter->Dispose();
  PortSetPort(nullptr);
  PortFreeOffscreen(world);
}
BENCHMARK(BM_ShadeFaces)->Unit(benchmark::kMillisecond);

}  // namespace
