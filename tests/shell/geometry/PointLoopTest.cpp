#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "GeometryKernel.h"
#include "GeometryTestSupport.h"
#include "Memory.h"
#include "PointLoop.h"
#include "DETException.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// An L: the unit square's 2 x 2 big brother without its top right quarter, wound like UnitSquare.
std::vector<Vector3d> LShape() { return {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}}; }

template <typename T>
std::vector<T> Concat(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(PointInPolygon, BoundaryIsOutside) {
  const std::vector<Vector3d> square = UnitSquare();
  const std::vector<Vector3d> closed = Concat(square, {square[0]});
  const struct {
    const char* what;
    std::vector<Vector3d> loop;
    Vector3d point;
    bool inside;
  } cases[] = {
      {"centre", square, {0.5, 0.5, 0}, true},
      {"centre, first point repeated", closed, {0.5, 0.5, 0}, true},
      {"centre, other winding", Reversed(square), {0.5, 0.5, 0}, true},
      {"vertex", square, {1, 1, 0}, false},
      {"on an edge", square, {0.5, 0, 0}, false},
      {"on the closing edge", square, {0, 0.25, 0}, false},
      {"on the closing edge, repeated first point", closed, {0, 0.25, 0}, false},
      {"just inside an edge", square, {0.5, 0.001, 0}, true},
      {"outside", square, {2, 0.5, 0}, false},
      {"outside in line with an edge", square, {3, 0, 0}, false},
      {"above the centre", square, {0.5, 0.5, 1}, true},
      {"in the L's notch", LShape(), {1.5, 1.5, 0}, false},
      {"in the L's arm", LShape(), {0.5, 1.5, 0}, true},
      {"in line with the L's inner corner", LShape(), {0.5, 1, 0}, true},
      {"not a number", square, {kNaN, 0.5, 0}, false},
      {"two-point loop", {{0, 0, 0}, {1, 1, 0}}, {0.5, 0.4, 0}, false},
      {"all points equal", {{1, 1, 0}, {1, 1, 0}, {1, 1, 0}}, {0.5, 0.5, 0}, false},
  };
  for (const auto& c : cases) {
    TestLoop loop(c.loop);
    EXPECT_EQ(PointInPolygon(&c.point, loop.handle(), loop.count()), c.inside) << c.what;
  }
}

TEST(PointInPolygon, CountsAreCheckedAgainstTheBlock) {
  TestLoop loop(UnitSquare());
  const Vector3d centre{0.5, 0.5, 0};
  EXPECT_TRUE(PointInPolygon(&centre, loop.handle(), 1000));  // only the four points held are read
  EXPECT_FALSE(PointInPolygon(&centre, loop.handle(), -4));
  EXPECT_FALSE(PointInPolygon(&centre, loop.handle(), 0));
  EXPECT_FALSE(PointInPolygon(&centre, nullptr, 4));
}

Vector3d NormalOf(const std::vector<Vector3d>& points) {
  TestLoop loop(points);
  Vector3d n{9, 9, 9};
  PolygonNormal(loop.handle(), loop.count(), &n);
  return n;
}

TEST(PolygonNormal, WindingGivesTheNormal) {
  const std::vector<Vector3d> square = UnitSquare();
  // An L starting at its inner corner, so the first corner is concave.
  const std::vector<Vector3d> fromInner = {{1, 1, 0}, {1, 2, 0}, {0, 2, 0}, {0, 0, 0}, {2, 0, 0}, {2, 1, 0}};
  const struct {
    const char* what;
    std::vector<Vector3d> loop;
    Vector3d normal;
  } cases[] = {
      {"square", square, {0, 0, -1}},
      {"square reversed", Reversed(square), {0, 0, 1}},
      {"square, first point repeated", Concat(square, {square[0]}), {0, 0, -1}},
      {"square, first point nearly repeated", Concat(square, {{0.0005, 0, 0}}), {0, 0, -1}},
      {"L", LShape(), {0, 0, -1}},
      {"L from its inner corner", fromInner, {0, 0, -1}},
      {"L from its inner corner, reversed", Reversed(fromInner), {0, 0, 1}},
      {"square in a wall", {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}}, {-1, 0, 0}},
      // Repeated points where the corner walk starts: the first usable corner gives the normal.
      {"repeated point at the first corner",
       {{0.5, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}},
       {0, 0, -1}},
      // A repeated extreme point must not hide the turn there.
      {"repeated extreme point",
       {{1, 1, 0}, {1, 2, 0}, {0, 2, 0}, {0, 0, 0}, {0, 0, 0}, {2, 0, 0}, {2, 1, 0}},
       {0, 0, -1}},
      {"every point doubled",
       {{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 0}},
       {0, 0, -1}},
      // Every corner collinear within the tolerance, yet a triangle.
      {"thin sliver", {{0, 0, 0}, {100, 0, 0}, {50, 0.001, 0}}, {0, 0, -1}},
      {"collinear", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}}, {0, 0, 0}},
      {"straight but for rounding", {{0.1, 0.2, 0}, {0.2, 0.4, 0}, {0.3, 0.6, 0}}, {0, 0, 0}},
      {"collinear there and back", {{0, 0, 0}, {2, 0, 0}, {1, 0, 0}}, {0, 0, 0}},
      {"all one point", {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}}, {0, 0, 0}},
      {"two points", {{0, 0, 0}, {1, 0, 0}}, {0, 0, 0}},
      {"empty", {}, {0, 0, 0}},
      {"not a number", {{0, 0, 0}, {1, 0, 0}, {1, kNaN, 0}, {0, 1, 0}}, {0, 0, 0}},
      {"infinite", {{0, 0, 0}, {1, 0, 0}, {1, INFINITY, 0}, {0, 1, 0}}, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectNear(NormalOf(c.loop), c.normal);
  }
}

// A circle of many points, far beyond the 1461 points of the shared work block.
TEST(PolygonNormal, LoopsOfAnyLength) {
  for (int n : {1462, 5000, 32767}) {
    std::vector<Vector3d> circle;
    for (int i = 0; i < n; ++i) {
      const double a = 2 * std::numbers::pi * i / n;
      circle.push_back({100 * std::cos(a), 100 * std::sin(a), 7});
    }
    ExpectNear(NormalOf(circle), {0, 0, -1}, 1e-9);
    ExpectNear(NormalOf(Reversed(circle)), {0, 0, 1}, 1e-9);
  }
}

// Random star-shaped loops in random planes against the signed-area (Newell) normal: the loop
// turns clockwise about its normal, so the two are opposite.
TEST(PolygonNormal, AgreesWithTheSignedAreaNormal) {
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> radius(0.2, 3), jitter(0, 1);
  std::uniform_int_distribution<int> sizes(3, 40);
  for (int trial = 0; trial < 2000; ++trial) {
    const RandomPlane plane(rng, 50);
    const int count = sizes(rng);
    const bool convex = trial % 3 == 0;
    std::vector<Vector3d> points;
    for (int i = 0; i < count; ++i) {
      const double a = 2 * std::numbers::pi * (i + 0.8 * jitter(rng)) / count;
      const double r = convex ? 2.0 : radius(rng);
      points.push_back(plane.At(r * std::cos(a), r * std::sin(a)));
    }
    if (trial % 2) points = Reversed(points);
    Vector3d newell{};
    for (int i = 0; i < count; ++i) {
      const Vector3d& p = points[i];
      const Vector3d& q = points[(i + 1) % count];
      newell.x += (p.y - q.y) * (p.z + q.z);
      newell.y += (p.z - q.z) * (p.x + q.x);
      newell.z += (p.x - q.x) * (p.y + q.y);
    }
    VectorDivide(&newell, -VectorLength(&newell), &newell);
    SCOPED_TRACE(trial);
    const Vector3d normal = NormalOf(points);
    ExpectNear(normal, newell, 1e-9);
    if (convex) {  // and it agrees with the plane through a convex corner
      Vector3d cornerNormal;
      double d;
      PlaneFromThreePoints(&points[0], &points[1], &points[2], &cornerNormal, &d);
      ExpectNear(normal, cornerNormal, 1e-9);
    }
  }
}

TEST(AlignPointLoops, ReversesAReversedCopy) {
  TestLoop a(LShape());
  TestLoop b(Reversed(LShape()));
  EXPECT_TRUE(AlignPointLoops(a.handle(), a.count(), b.handlePtr(), b.count()));
  const std::vector<Vector3d> aligned = b.points();
  ASSERT_EQ(aligned.size(), 6u);
  EXPECT_EQ(aligned, LShape());
}

TEST(AlignPointLoops, FailsForAnotherPlaneAfterEveryArrangement) {
  TestLoop a(UnitSquare());
  TestLoop b({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}});
  const long live = PortLiveHandleCount();
  EXPECT_FALSE(AlignPointLoops(a.handle(), a.count(), b.handlePtr(), b.count()));
  EXPECT_EQ(PortLiveHandleCount(), live);
  EXPECT_EQ(b.points().size(), 4u);
  EXPECT_FALSE(AlignPointLoops(a.handle(), a.count(), b.handlePtr(), -1));
  TestLoop flat({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});  // no normal to align to
  EXPECT_FALSE(AlignPointLoops(flat.handle(), flat.count(), b.handlePtr(), b.count()));
}

struct Split {
  Handle h = nullptr;
  SInt16 count = -1;
  ~Split() { PortFreeHandle(h); }
  std::vector<Vector3d> points() const {
    const auto* p = h ? reinterpret_cast<const Vector3d*>(*h) : nullptr;
    return p ? std::vector<Vector3d>(p, p + count) : std::vector<Vector3d>{};
  }
};

TEST(SplitPolygonByPlane, KeepsTheNonNegativeSide) {
  const std::vector<Vector3d> square = UnitSquare();
  const struct {
    const char* what;
    Vector3d n;
    double d;
    std::vector<Vector3d> kept;
  } cases[] = {
      {"wholly in front", {0, 0, 1}, 1, square},
      {"wholly behind", {0, 0, 1}, -1, {}},
      {"in the plane", {0, 0, 1}, 0, {}},
      {"cut at x = 0.5", {1, 0, 0}, -0.5, {{0.5, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0.5, 1, 0}}},
      {"cut at x = 0.5, other side", {-1, 0, 0}, 0.5, {{0, 0, 0}, {0.5, 0, 0}, {0.5, 1, 0}, {0, 1, 0}}},
      {"touching at one corner", {-1, -1, 0}, 0, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},  // crossing, corner, crossing
      {"along an edge", {0, 1, 0}, 0, square},
      {"not a number", {kNaN, 0, 0}, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Split out;
    SplitPolygonByPlane(&c.n, c.d, square.data(), SInt16(square.size()), &out.h, &out.count);
    EXPECT_EQ(out.count, SInt16(c.kept.size()));
    EXPECT_EQ(out.h == nullptr, c.kept.empty());
    const std::vector<Vector3d> got = out.points();
    ASSERT_EQ(got.size(), c.kept.size());
    for (size_t i = 0; i < got.size(); ++i) ExpectNear(got[i], c.kept[i]);
  }
}

TEST(SplitPolygonByPlane, AResultBeyondTheLoopLimitIsRefused) {
  // A comb whose every edge crosses y = 0: the cut keeps more points than it was given.
  std::vector<Vector3d> comb;
  for (int i = 0; i < 30000; ++i) comb.push_back({double(i), i % 2 ? 1.0 : -1.0, 0});
  const Vector3d n{0, 1, 0};
  const long live = PortLiveHandleCount();
  Split out;
  try {
    SplitPolygonByPlane(&n, 0, comb.data(), SInt16(comb.size()), &out.h, &out.count);
    FAIL() << "no error";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorNotEnoughMemory);
  }
  EXPECT_EQ(out.h, nullptr);
  EXPECT_EQ(out.count, 0);
  EXPECT_EQ(PortLiveHandleCount(), live);

  Split fewer;  // the same comb, shorter, fits
  SplitPolygonByPlane(&n, 0, comb.data(), 2000, &fewer.h, &fewer.count);
  EXPECT_EQ(fewer.count, 3000);
}

TEST(PointLoopEdits, AppendGrowsTheLoopOnePointAtATime) {
  Handle h = nullptr;
  SInt16 count = 0;
  const Vector3d a{1, 2, 3}, b{4, 5, 6};
  AppendPointToLoop(&a, &count, &h);
  AppendPointToLoop(&b, &count, &h);
  // Closing the loop with its own first point: the point lives in the block being replaced.
  AppendPointToLoop(reinterpret_cast<Vector3d*>(*h), &count, &h);
  ASSERT_EQ(count, 3);
  const auto* p = reinterpret_cast<const Vector3d*>(*h);
  EXPECT_EQ(p[0], a);
  EXPECT_EQ(p[1], b);
  EXPECT_EQ(p[2], a);
  PortFreeHandle(h);
}

TEST(PointLoopEdits, ReverseAndRotate) {
  TestLoop loop({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
  ReversePointLoop(loop.handlePtr(), loop.count());
  EXPECT_EQ(loop.points(), (std::vector<Vector3d>{{3, 0, 0}, {2, 0, 0}, {1, 0, 0}, {0, 0, 0}}));
  RotatePointLoop(loop.handlePtr(), loop.count());
  EXPECT_EQ(loop.points(), (std::vector<Vector3d>{{2, 0, 0}, {1, 0, 0}, {0, 0, 0}, {3, 0, 0}}));
  TestLoop empty(std::vector<Vector3d>{});
  ReversePointLoop(empty.handlePtr(), 0);
  RotatePointLoop(empty.handlePtr(), 0);
  EXPECT_EQ(PortHandleSize(empty.handle()), 0);
}

TEST(PointLoopEdits, BadCountsAndTheLoopLimitLeaveTheLoopAsItWas) {
  TestLoop loop(UnitSquare());
  const Handle before = loop.handle();
  const long live = PortLiveHandleCount();
  const Vector3d p{9, 9, 9};
  const struct {
    const char* what;
    SInt16 count;
    SInt32 code;
    bool append;
  } cases[] = {
      {"negative count", -1, kDEErrorAssertionViolated, true},
      {"count beyond the block", 5, kDEErrorAssertionViolated, true},
      {"a full loop", kMaxLoopPoints, kDEErrorAssertionViolated, true},  // the block holds four
      {"reverse beyond the block", 5, kDEErrorAssertionViolated, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SInt16 count = c.count;
    try {
      if (c.append)
        AppendPointToLoop(&p, &count, loop.handlePtr());
      else
        ReversePointLoop(loop.handlePtr(), count);
      ADD_FAILURE() << "no error";
    } catch (const DETException& e) {
      EXPECT_EQ(e.GetCode(), c.code);
    }
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(loop.handle(), before);
    EXPECT_EQ(PortLiveHandleCount(), live);
  }

  // A loop that holds the most points a 16-bit count can say takes no more.
  TestLoop full(std::vector<Vector3d>(kMaxLoopPoints, Vector3d{1, 1, 1}));
  const Handle fullBefore = full.handle();
  try {
    AppendPointToLoop(&p, full.countPtr(), full.handlePtr());
    ADD_FAILURE() << "no error";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorNotEnoughMemory);
  }
  EXPECT_EQ(full.count(), kMaxLoopPoints);
  EXPECT_EQ(full.handle(), fullBefore);
}

TEST(PointWorkBuffer, GrowsToTheLoopItMustHold) {
  Vector3d* room = ReservePointWorkBuffer(1461);
  ASSERT_NE(room, nullptr);
  EXPECT_GE(PortBlockSize(gPointWorkBuffer), kPointWorkBufferSize);
  room = ReservePointWorkBuffer(kMaxLoopPoints);
  ASSERT_NE(room, nullptr);
  room[kMaxLoopPoints - 1] = Vector3d{1, 2, 3};  // the address sanitizer checks the room is real
  EXPECT_GE(PortBlockSize(gPointWorkBuffer), Size(kMaxLoopPoints * sizeof(Vector3d)));
  const Ptr kept = gPointWorkBuffer;
  EXPECT_EQ(ReservePointWorkBuffer(10), room);  // smaller needs keep the block
  EXPECT_EQ(ReservePointWorkBuffer(-1), nullptr);
  EXPECT_EQ(gPointWorkBuffer, kept);
}

TEST(PointLoopEdits, BusyCursorAllocationReportsThroughTheMemoryError) {
  Handle h = RunWithBusyCursor(240);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(PortMemError(), noErr);
  EXPECT_EQ(PortHandleSize(h), 240);
  PortFreeHandle(h);
  EXPECT_EQ(RunWithBusyCursor(-1), nullptr);
  EXPECT_EQ(PortMemError(), memFullErr);
}

}  // namespace

TEST(PointLoopMemory, TheBusyCursorShowsThroughTheShellsHookOnly) {
  static std::vector<bool> shown;
  shown.clear();
  PortFreeHandle(RunWithBusyCursor(64));  // no hook: nothing to show, and no user interface linked
  SetBusyCursorHook([](Boolean busy) -> Boolean {
    shown.push_back(busy);
    return false;
  });
  Handle block = RunWithBusyCursor(64);
  SetBusyCursorHook(nullptr);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(PortHandleSize(block), 64);
  PortFreeHandle(block);
  EXPECT_EQ(shown, (std::vector<bool>{true, false}));  // busy, then back as it was
}
