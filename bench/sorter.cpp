// Sorting and painting the faces of a building through the depth sorter: rows of rooms, each
// with four walls (slabs whose outer faces carry a window, joined to their outline as the
// objects submit them), a floor and a flat roof, seen in perspective from above one corner.
// The faces turned toward the eye are taken, up to 1,000, 10,000 and 50,000 of them, and each
// size is reported beside a plain z-buffer painting the same faces in the same run (the counter
// x_zbuffer: time of the sort and paint over time of the z-buffer). The complexity fit at the
// end reports the growth.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "Memory.h"
#include "VLDepthBuffer.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr SInt16 kWidth = 800;
constexpr SInt16 kHeight = 600;

struct Face {
  std::vector<Vector3d> points;  // pane points
  Vector3d normal;
  RGBColor colour;
  double shade = 0.5;
};

Vector3d Minus(const Vector3d& a, const Vector3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

class Building {
 public:
  explicit Building(long wanted) {
    view_.IVLViewTransform(kWidth, kHeight);
    const Vector3d eye{-30, -40, 60}, look{60, 60, 0};
    const double length = std::sqrt(90.0 * 90 + 100.0 * 100 + 60.0 * 60);
    view_.lookPoint = look;
    view_.upVector = {0, 0, 1};
    view_.planeNormal = {(eye.x - look.x) / length, (eye.y - look.y) / length, (eye.z - look.z) / length};
    view_.SetReferenceFromEye(&eye);
    view_.perspective = 1;
    view_.umin = view_.vmin = -3;
    view_.umax = 3;
    view_.vmax = 3;
    view_.RebuildMatrix();
    view_.UpdateScreenAxes();
    // Rooms of 4 x 4 with walls 0.2 thick and 3 high, on as many floors as it takes.
    for (int storey = 0; long(faces_.size()) < wanted; ++storey)
      for (int row = 0; row < 24 && long(faces_.size()) < wanted; ++row)
        for (int column = 0; column < 24 && long(faces_.size()) < wanted; ++column) Room(column * 4.0, row * 4.0, storey * 3.2);
    faces_.resize(std::size_t(wanted));
  }
  const std::vector<Face>& faces() const { return faces_; }

 private:
  void Room(double x, double y, double z) {
    Box({x, y, z}, {x + 4, y + 0.2, z + 3}, true);
    Box({x, y, z}, {x + 0.2, y + 4, z + 3}, true);
    Box({x, y, z - 0.2}, {x + 4, y + 4, z}, false);        // floor
    Box({x, y, z + 3}, {x + 4, y + 4, z + 3.2}, false);    // roof
  }

  // The faces of a box turned toward the eye; walls get a window on their two large faces.
  void Box(Vector3d lo, Vector3d hi, bool window) {
    const Vector3d c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                           {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    const int loops[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    const RGBColor colours[3] = {{52000, 48000, 40000}, {40000, 42000, 52000}, {30000, 50000, 30000}};
    for (int f = 0; f < 6; ++f) {
      Face face;
      for (int k : loops[f]) face.points.push_back(Project(c[k]));
      if (view_.PolygonPlane(face.points.data(), 4, &face.normal)) continue;  // turned away
      const Vector3d a = c[loops[f][0]], b = c[loops[f][1]], d = c[loops[f][3]];
      const double area = std::hypot(std::hypot(b.x - a.x, b.y - a.y), b.z - a.z) *
                          std::hypot(std::hypot(d.x - a.x, d.y - a.y), d.z - a.z);
      if (window && area > 4) {
        // A window in the middle third, its ring joined to the outline's last point.
        const Vector3d u = Minus(b, a), v = Minus(d, a);
        auto at = [&](double s, double t) {
          return Project({a.x + u.x * s + v.x * t, a.y + u.y * s + v.y * t, a.z + u.z * s + v.z * t});
        };
        const Vector3d ring[4] = {at(0.35, 0.3), at(0.35, 0.7), at(0.65, 0.7), at(0.65, 0.3)};
        const Vector3d last = face.points.back();
        for (const Vector3d& p : ring) face.points.push_back(p);
        face.points.push_back(ring[0]);
        face.points.push_back(last);
        face.points.push_back(last);
      }
      face.colour = colours[f % 3];
      face.shade = 0.3 + 0.1 * f;
      faces_.push_back(face);
    }
  }

  Vector3d Project(const Vector3d& p) {
    Vector3d q;
    view_.ProjectPoint(&p, &q);
    return q;
  }

  VLViewTransform view_;
  std::vector<Face> faces_;
};

DepthPolygonHandle RecordOf(const Face& f) {
  DepthPolygonHandle r = NewDepthPolygon();
  (*r)->points = PortAllocHandle(Size(f.points.size() * sizeof(Vector3d)));
  std::copy(f.points.begin(), f.points.end(), RecordPoints(*r));
  (*r)->pointCount = SInt16(f.points.size());
  (*r)->colour = f.colour;
  (*r)->shade = f.shade;
  (*r)->normal = f.normal;
  (*r)->farDepth = -999.0;
  for (const Vector3d& p : f.points) (*r)->farDepth = std::max((*r)->farDepth, p.z);
  return r;
}

// The oracle: every face scan-converted into a depth buffer (pixel centres, even-odd rule, depth
// from the face's plane), the nearest colour kept.
void ZBuffer(const std::vector<Face>& faces, std::vector<double>* depth, std::vector<UInt32>* image) {
  std::fill(depth->begin(), depth->end(), HUGE_VAL);
  std::vector<double> crossings;
  for (const Face& f : faces) {
    const Vector3d& n = f.normal;
    if (std::fabs(n.z) < 1e-12) continue;
    const double d = -(n.x * f.points[0].x + n.y * f.points[0].y + n.z * f.points[0].z);
    double top = HUGE_VAL, bottom = -HUGE_VAL;
    for (const Vector3d& p : f.points) {
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
    const int v0 = std::max(0, int(std::ceil(top - 0.5))), v1 = std::min(kHeight - 1, int(std::floor(bottom - 0.5)));
    const UInt32 pixel = UInt32(f.colour.red >> 8) << 16 | UInt32(f.colour.green >> 8) << 8 | (f.colour.blue >> 8);
    for (int v = v0; v <= v1; ++v) {
      const double y = v + 0.5;
      crossings.clear();
      for (std::size_t i = 0, j = f.points.size() - 1; i < f.points.size(); j = i++) {
        const Vector3d& a = f.points[i];
        const Vector3d& b = f.points[j];
        if ((a.y > y) != (b.y > y)) crossings.push_back(a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y));
      }
      std::sort(crossings.begin(), crossings.end());
      for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
        const int h0 = std::max(0, int(std::ceil(crossings[k] - 0.5)));
        const int h1 = std::min(kWidth - 1, int(std::floor(crossings[k + 1] - 0.5)));
        for (int h = h0; h <= h1; ++h) {
          const double z = -(n.x * (h + 0.5) + n.y * y + d) / n.z;
          const std::size_t at = std::size_t(v) * kWidth + std::size_t(h);
          if (z < (*depth)[at]) {
            (*depth)[at] = z;
            (*image)[at] = pixel;
          }
        }
      }
    }
  }
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_SortAndPaintBuilding(benchmark::State& state) {
  const Building building(state.range(0));
  const std::vector<Face>& faces = building.faces();
  GWorldPtr world = nullptr;
  const Rect bounds{0, 0, kHeight, kWidth};
  PortNewOffscreen(&world, 32, &bounds, nullptr, nullptr, 0);
  PortSetPort(world);
  gShadedMode = 1;
  VLDepthBuffer* sorter = new VLDepthBuffer;
  sorter->IVLDepthBuffer();
  std::vector<double> depth(std::size_t(kWidth) * kHeight);
  std::vector<UInt32> image(depth.size());

  std::chrono::steady_clock::duration sorted{}, oracle{};
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<DepthPolygonHandle> records;
    for (const Face& f : faces) records.push_back(RecordOf(f));
    state.ResumeTiming();
    auto start = std::chrono::steady_clock::now();
    for (DepthPolygonHandle r : records) sorter->Insert(r);
    sorter->DrawAll();
    sorted += std::chrono::steady_clock::now() - start;
    state.PauseTiming();
    start = std::chrono::steady_clock::now();
    ZBuffer(faces, &depth, &image);
    oracle += std::chrono::steady_clock::now() - start;
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
  state.counters["x_zbuffer"] = Seconds(sorted) / Seconds(oracle);
  state.counters["zbuffer_ms"] = 1000.0 * Seconds(oracle) / double(state.iterations());

  sorter->ResetList();
  sorter->Dispose();
  PortSetPort(nullptr);
  PortFreeOffscreen(world);
}
BENCHMARK(BM_SortAndPaintBuilding)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(50'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oAuto);

}  // namespace
