// Projecting and clipping in a perspective view: a million points and segments, and a hundred
// thousand faces, each reported beside a plain 4 x 4 multiply of the same points in the same run
// (the counter x_4x4: time of the projection over time of the multiply).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "Memory.h"
#include "VLViewTransform.h"

namespace {

constexpr int kPoints = 1'000'000;
constexpr int kFaces = 100'000;
constexpr int kCorners = 4;

const Vector3d kBoxMin{0, 0, 0}, kBoxMax{100, 60, 30};

// The default view of the box: a perspective view from the south-east.
VLViewTransform BoxView() {
  VLViewTransform view;
  view.IVLViewTransform(800, 600);
  view.InitViewsForBox(&kBoxMin, &kBoxMax);
  return view;
}

// Points around the box and beyond the eye, so that some lie outside the view or behind it.
std::vector<Vector3d> ScatteredPoints(int n) {
  std::mt19937 rng(16);
  std::uniform_real_distribution<double> x(-150, 250), y(-100, 300), z(0, 60);
  std::vector<Vector3d> points(n);
  for (Vector3d& p : points) p = {x(rng), y(rng), z(rng)};
  return points;
}

// Small quadrilaterals about scattered centres: most in view, some cut by the hither plane.
std::vector<Vector3d> ScatteredFaces() {
  const std::vector<Vector3d> centres = ScatteredPoints(kFaces);
  std::vector<Vector3d> corners;
  corners.reserve(kFaces * kCorners);
  for (const Vector3d& c : centres) {
    corners.push_back({c.x - 4, c.y - 4, c.z});
    corners.push_back({c.x + 4, c.y - 4, c.z});
    corners.push_back({c.x + 4, c.y + 4, c.z + 3});
    corners.push_back({c.x - 4, c.y + 4, c.z + 3});
  }
  return corners;
}

// The baseline: every point through a full 4 x 4 matrix with the homogeneous divide.
void Multiply4x4(const Matrix4d& m, const std::vector<Vector3d>& in, std::vector<Vector3d>* out) {
  const double* e = m.m;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const Vector3d& p = in[i];
    const double w = e[12] * p.x + e[13] * p.y + e[14] * p.z + e[15];
    (*out)[i] = {(e[0] * p.x + e[1] * p.y + e[2] * p.z + e[3]) / w, (e[4] * p.x + e[5] * p.y + e[6] * p.z + e[7]) / w,
                 (e[8] * p.x + e[9] * p.y + e[10] * p.z + e[11]) / w};
  }
  benchmark::ClobberMemory();
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The baseline's best time over a few passes.
double BaselineSeconds(const Matrix4d& m, const std::vector<Vector3d>& points) {
  std::vector<Vector3d> out(points.size());
  double best = 1e30;
  for (int pass = 0; pass < 5; ++pass) {
    const auto start = std::chrono::steady_clock::now();
    Multiply4x4(m, points, &out);
    best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
  }
  return best;
}

// Runs the body once per iteration, timing it, and reports items and the ratio to the baseline.
template <typename Body>
void Measure(benchmark::State& state, const Matrix4d& m, const std::vector<Vector3d>& points, long items, Body body) {
  std::chrono::steady_clock::duration total{};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    body();
    total += std::chrono::steady_clock::now() - start;
  }
  state.SetItemsProcessed(state.iterations() * items);
  state.counters["x_4x4"] = Seconds(total) / double(state.iterations()) / BaselineSeconds(m, points);
}

void BM_Multiply4x4Baseline(benchmark::State& state) {
  const VLViewTransform view = BoxView();
  const std::vector<Vector3d> points = ScatteredPoints(kPoints);
  std::vector<Vector3d> out(points.size());
  for (auto _ : state) Multiply4x4(view.viewMatrix, points, &out);
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_Multiply4x4Baseline)->Unit(benchmark::kMillisecond);

void BM_ProjectPoints(benchmark::State& state) {
  const VLViewTransform view = BoxView();
  const std::vector<Vector3d> points = ScatteredPoints(kPoints);
  std::vector<Vector3d> viewPoints(points.size()), pane(points.size());
  UInt8 behind = 0;
  Measure(state, view.viewMatrix, points, kPoints, [&] {
    // In face-sized runs, as the objects' drawing code hands them over.
    for (int i = 0; i < kPoints; i += 8)
      benchmark::DoNotOptimize(view.ProjectPolygon(&points[i], 8, &pane[i], &behind, &viewPoints[i], 1));
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_ProjectPoints)->Unit(benchmark::kMillisecond);

void BM_ProjectSegments(benchmark::State& state) {
  const VLViewTransform view = BoxView();
  const std::vector<Vector3d> points = ScatteredPoints(kPoints);
  Vector3d a, b;
  UInt8 visible = 0, aSame = 0, bSame = 0;
  Measure(state, view.viewMatrix, points, kPoints, [&] {
    for (int i = 0; i + 1 < kPoints; i += 2) {
      view.ProjectSegment(&points[i], &points[i + 1], &a, &b, &visible, &aSame, &bSame);
      benchmark::DoNotOptimize(visible);
    }
  });
}
BENCHMARK(BM_ProjectSegments)->Unit(benchmark::kMillisecond);

void BM_ClipFaces(benchmark::State& state) {
  VLViewTransform view = BoxView();
  const std::vector<Vector3d> corners = ScatteredFaces();
  std::vector<Vector3d> viewPoints(corners.size());
  // Each face's corners stand together, so one index list 0..3 serves every face.
  Handle indices = PortAllocHandle(kCorners * sizeof(SInt16));
  for (int k = 0; k < kCorners; ++k) reinterpret_cast<SInt16*>(*indices)[k] = SInt16(k);
  const UInt16 capacity = VLViewTransform::ClippedPointBound(kCorners);
  std::vector<Vector3d> pane(capacity);
  Vector3d normal;
  UInt8 behind = 0, marked = 0;
  UInt16 count = 0;
  Measure(state, view.viewMatrix, corners, kFaces, [&] {
    for (int f = 0; f < kFaces; ++f) {
      const int first = f * kCorners;
      if (!view.ProjectPolygon(&corners[first], kCorners, pane.data(), &behind, &viewPoints[first], 1)) continue;
      benchmark::DoNotOptimize(view.ClipPolygon(&viewPoints[first], kCorners, indices, &behind, pane.data(), capacity,
                                                &count, &marked, &normal));
    }
  });
  PortFreeHandle(indices);
}
BENCHMARK(BM_ClipFaces)->Unit(benchmark::kMillisecond);

}  // namespace
