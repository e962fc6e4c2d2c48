// The polygon overlap test on face-sized loops, and transforming a million points.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "Matrix4d.h"
#include "Memory.h"
#include "PointLoop.h"
#include "PolygonOverlap.h"

namespace {

// A regular polygon of n points about (cx, cy) in the plane z = 0.
Handle RegularLoop(int n, double cx, double cy, double r) {
  Handle h = PortAllocHandle(Size(n * sizeof(Vector3d)));
  auto* p = reinterpret_cast<Vector3d*>(*h);
  for (int i = 0; i < n; ++i) {
    const double a = 2 * std::numbers::pi * i / n;
    p[i] = {cx + r * std::cos(a), cy + r * std::sin(a), 0};
  }
  return h;
}

// Two loops of state.range(0) points each. Disjoint loops run every stage; overlapping ones
// stop at the first edge crossing; nested ones at the first vertex inside.
void Overlap(benchmark::State& state, double offset, double radiusB) {
  const int n = int(state.range(0));
  Handle a = RegularLoop(n, 0, 0, 1);
  Handle b = RegularLoop(n, offset, 0, radiusB);
  for (auto _ : state) benchmark::DoNotOptimize(IntersectPolygons(a, SInt16(n), b, SInt16(n)));
  PortFreeHandle(a);
  PortFreeHandle(b);
}

void BM_IntersectPolygonsDisjoint(benchmark::State& state) { Overlap(state, 3, 1); }
void BM_IntersectPolygonsCrossing(benchmark::State& state) { Overlap(state, 1, 1); }
void BM_IntersectPolygonsNested(benchmark::State& state) { Overlap(state, 0, 0.5); }
BENCHMARK(BM_IntersectPolygonsDisjoint)->Arg(4)->Arg(16)->Arg(64);
BENCHMARK(BM_IntersectPolygonsCrossing)->Arg(4)->Arg(16)->Arg(64);
BENCHMARK(BM_IntersectPolygonsNested)->Arg(4)->Arg(16)->Arg(64);

constexpr int kPoints = 1'000'000;

std::vector<Vector3d> Points() {
  std::vector<Vector3d> points(kPoints);
  for (int i = 0; i < kPoints; ++i) points[i] = {i * 0.001, std::sin(i * 0.01), i % 97 * 0.5};
  return points;
}

Matrix4d Frame() {
  Vector3d n{0.3, -0.4, 0.8};
  Matrix4d m;
  MatrixFromNormal(&n, &m);
  m.at(0, 3) = 12;
  m.at(3, 1) = -7;
  return m;
}

void BM_TransformPoint3x4(benchmark::State& state) {
  const std::vector<Vector3d> in = Points();
  std::vector<Vector3d> out(kPoints);
  const Matrix4d m = Frame();
  for (auto _ : state) {
    for (int i = 0; i < kPoints; ++i) TransformPoint3x4(&m, &in[i], &out[i]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_TransformPoint3x4)->Unit(benchmark::kMillisecond);

void BM_TransformPoint4x4(benchmark::State& state) {
  const std::vector<Vector3d> in = Points();
  std::vector<Vector3d> out(kPoints);
  const Matrix4d m = Frame();
  for (auto _ : state) {
    for (int i = 0; i < kPoints; ++i) TransformPoint4x4(&in[i], &m, &out[i]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_TransformPoint4x4)->Unit(benchmark::kMillisecond);

// The normal of an outline far beyond the shared work block's 1461 points.
void BM_PolygonNormal(benchmark::State& state) {
  const int n = int(state.range(0));
  Handle h = RegularLoop(n, 5, 5, 100);
  Vector3d normal;
  for (auto _ : state) {
    PolygonNormal(h, SInt16(n), &normal);
    benchmark::DoNotOptimize(normal);
  }
  PortFreeHandle(h);
}
BENCHMARK(BM_PolygonNormal)->Arg(64)->Arg(32767);

}  // namespace
