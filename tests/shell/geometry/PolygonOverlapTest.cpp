#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>

#include "GeometryTestSupport.h"
#include "Memory.h"
#include "PolygonOverlap.h"

namespace {

using Loop = std::vector<Vector3d>;

Loop Rect(double x0, double y0, double x1, double y1) { return {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}; }

Loop RotateStart(Loop loop, int by) {
  std::rotate(loop.begin(), loop.begin() + by, loop.end());
  return loop;
}

bool Overlap(const Loop& a, const Loop& b) {
  TestLoop la(a), lb(b);
  const long live = PortLiveHandleCount();
  const bool result = IntersectPolygons(la.handle(), la.count(), lb.handle(), lb.count());
  EXPECT_EQ(PortLiveHandleCount(), live);
  // Read, never changed (compared as bytes: a NaN is not equal to itself).
  if (!a.empty()) {
    EXPECT_EQ(std::memcmp(la.points().data(), a.data(), a.size() * sizeof(Vector3d)), 0);
  }
  return result;
}

TEST(IntersectPolygons, Cases) {
  const Loop square = Rect(0, 0, 1, 1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    Loop a, b;
    bool overlap;
  } cases[] = {
      {"side by side sharing an edge", square, Rect(1, 0, 2, 1), false},
      {"sharing half an edge", square, Rect(1, 0.5, 2, 1.5), false},
      {"touching at a corner", square, Rect(1, 1, 2, 2), false},
      {"apart", square, Rect(3, 3, 4, 4), false},
      {"identical", square, square, true},
      {"same points in the other order", square, Reversed(square), true},
      {"same points from another start", square, RotateStart(square, 2), true},
      {"small inside large", Rect(0.25, 0.25, 0.75, 0.75), square, true},
      {"inside, sharing an edge", Rect(0, 0, 0.5, 1), square, true},
      {"plus sign", Rect(0, 1, 3, 2), Rect(1, 0, 2, 3), true},
      {"triangle on three edges", square, {{0.5, 0, 0}, {1, 0.5, 0}, {0, 0.5, 0}}, true},
      {"triangle on one edge, outside", square, {{0.5, 0, 0}, {0, -1, 0}, {1, -1, 0}}, false},
      {"triangle on one edge, inside", square, {{0.5, 0, 0}, {1, 1, 0}, {0, 1, 0}}, true},
      {"corner into a notch",
       {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}},
       Rect(1, 1, 2, 2),
       false},
      // The same outline traced with other points.
      {"first point repeated at the end", square, Loop{square[0], square[1], square[2], square[3], square[0]}, true},
      {"a point added inside an edge", square, Loop{square[0], {0.5, 0, 0}, square[1], square[2], square[3]}, true},
      // Loops without area share none.
      {"collinear loop across a square", square, {{0.2, 0.5, 0}, {0.5, 0.5, 0}, {0.8, 0.5, 0}}, false},
      {"two-point loop", square, {{0.2, 0.2, 0}, {0.8, 0.8, 0}}, false},
      {"empty loop", square, {}, false},
      {"not a number", square, {{0.2, 0.2, 0}, {0.8, 0.2, 0}, {nan, 0.8, 0}}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Overlap(c.a, c.b), c.overlap);
    EXPECT_EQ(Overlap(c.b, c.a), c.overlap);
  }
}

TEST(IntersectPolygons, CountsAreCheckedAgainstTheBlocks) {
  TestLoop a(Rect(0, 0, 1, 1)), b(Rect(0.5, 0.5, 2, 2));
  EXPECT_TRUE(IntersectPolygons(a.handle(), 400, b.handle(), 4));
  EXPECT_FALSE(IntersectPolygons(a.handle(), -4, b.handle(), 4));
  EXPECT_FALSE(IntersectPolygons(nullptr, 4, b.handle(), 4));
}

// ---- against brute force
//
// Loops on the integer lattice whose edges run along x = k, y = k or x +- y = k. Those lines cut
// every unit cell into four triangles, and each loop is a union of such triangles, so two loops
// share area exactly when the centroid of some triangle lies strictly inside both.

struct Shape {
  std::vector<std::pair<int, int>> corners;
};

Shape RandomShape(std::mt19937& rng) {
  std::uniform_int_distribution<int> coord(0, 6), kind(0, 4), coin(0, 1);
  auto between = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  int x0 = coord(rng), x1 = coord(rng), y0 = coord(rng), y1 = coord(rng);
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  if (kind(rng) != 0) {  // mostly shapes with area; sometimes a flat one
    if (x0 == x1) x1 = x0 + 1;
    if (y0 == y1) y1 = y0 + 1;
  }
  Shape s;
  switch (kind(rng)) {
    case 0:
      s.corners = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
      break;
    case 1: {  // octagon: a rectangle with its corners cut at 45 degrees (cuts may be 0)
      const int m = std::min(x1 - x0, y1 - y0) / 2;
      const int c0 = between(0, m), c1 = between(0, m), c2 = between(0, m), c3 = between(0, m);
      s.corners = {{x0 + c0, y0}, {x1 - c1, y0}, {x1, y0 + c1}, {x1, y1 - c2},
                   {x1 - c2, y1}, {x0 + c3, y1}, {x0, y1 - c3}, {x0, y0 + c0}};
      break;
    }
    case 2: {  // L: the rectangle without its top right part
      if (x1 - x0 < 2 || y1 - y0 < 2) {
        s.corners = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        break;
      }
      const int xm = between(x0 + 1, x1 - 1), ym = between(y0 + 1, y1 - 1);
      s.corners = {{x0, y0}, {x1, y0}, {x1, ym}, {xm, ym}, {xm, y1}, {x0, y1}};
      break;
    }
    case 3: {  // right triangle
      const int r = std::max(1, std::min(x1 - x0, y1 - y0));
      s.corners = {{x0, y0}, {x0 + r, y0}, {x0, y0 + r}};
      break;
    }
    default: {  // diamond
      const int r = between(1, 3);
      s.corners = {{x0, y0 - r}, {x0 + r, y0}, {x0, y0 + r}, {x0 - r, y0}};
      break;
    }
  }
  // Turn by a quarter now and then, so that every orientation of the kinds turns up.
  if (coin(rng))
    for (auto& [x, y] : s.corners) std::tie(x, y) = std::pair{6 - y, x};
  return s;
}

// A loop for the shape: any start, either winding, and now and then a point added inside an
// edge or the first point repeated at the end.
std::vector<std::pair<double, double>> LoopPoints(const Shape& s, std::mt19937& rng) {
  std::vector<std::pair<double, double>> pts;
  for (auto [x, y] : s.corners) pts.emplace_back(x, y);
  const int n = int(pts.size());
  std::uniform_int_distribution<int> pick(0, n - 1), dice(0, 5);
  std::rotate(pts.begin(), pts.begin() + pick(rng), pts.end());
  if (dice(rng) < 3) std::reverse(pts.begin(), pts.end());
  if (dice(rng) == 0) {
    const int i = pick(rng);
    const auto [ax, ay] = pts[i];
    const auto [bx, by] = pts[(i + 1) % n];
    pts.insert(pts.begin() + i + 1, {(ax + bx) / 2, (ay + by) / 2});
  }
  if (dice(rng) == 0) pts.push_back(pts.front());
  return pts;
}

bool StrictlyInside(double px, double py, const std::vector<std::pair<double, double>>& poly) {
  bool inside = false;
  const size_t n = poly.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const auto [xi, yi] = poly[i];
    const auto [xj, yj] = poly[j];
    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

bool BruteForceOverlap(const std::vector<std::pair<double, double>>& a,
                       const std::vector<std::pair<double, double>>& b) {
  const double offsets[4][2] = {{0.5, 1.0 / 6}, {0.5, 5.0 / 6}, {1.0 / 6, 0.5}, {5.0 / 6, 0.5}};
  for (int i = -4; i < 11; ++i)
    for (int j = -4; j < 11; ++j)
      for (const auto& o : offsets)
        if (StrictlyInside(i + o[0], j + o[1], a) && StrictlyInside(i + o[0], j + o[1], b)) return true;
  return false;
}

TEST(IntersectPolygons, AgreesWithSamplingOnLatticeShapesInAnyPlane) {
  std::mt19937 rng(5);
  int overlapping = 0;
  const int trials = 4000;
  for (int trial = 0; trial < trials; ++trial) {
    const Shape sa = RandomShape(rng), sb = trial % 5 == 0 ? sa : RandomShape(rng);
    const auto pa = LoopPoints(sa, rng), pb = LoopPoints(sb, rng);
    const bool expected = BruteForceOverlap(pa, pb);
    overlapping += expected;

    const RandomPlane plane(rng, 100);
    auto place = [&plane](const std::vector<std::pair<double, double>>& pts) {
      Loop loop;
      for (auto [u, v] : pts) loop.push_back(plane.At(u, v));
      return loop;
    };
    const Loop a = place(pa), b = place(pb);
    ::testing::Message shapes;
    for (auto [u, v] : pa) shapes << "(" << u << "," << v << ")";
    shapes << " vs ";
    for (auto [u, v] : pb) shapes << "(" << u << "," << v << ")";
    SCOPED_TRACE(::testing::Message() << "trial " << trial << ": " << shapes);
    ASSERT_EQ(Overlap(a, b), expected);
    ASSERT_EQ(Overlap(b, a), expected);
  }
  // Both answers must be well represented for the comparison to mean anything.
  EXPECT_GT(overlapping, trials / 5);
  EXPECT_LT(overlapping, trials * 4 / 5);
}

}  // namespace
