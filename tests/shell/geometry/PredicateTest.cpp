#include <gtest/gtest.h>

#include <limits>

#include "GeometryKernel.h"
#include "GeometryTestSupport.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Predicates, PointsEqualWithinIsInclusive) {
  const Vector3d o{0, 0, 0}, half{0.5, 0, 0}, nan{kNaN, 0, 0};
  EXPECT_TRUE(PointsEqualWithin(&o, &half, 0.5));
  EXPECT_FALSE(PointsEqualWithin(&o, &half, 0.4999));
  EXPECT_FALSE(PointsEqualWithin(&nan, &nan, 1.0));
}

TEST(Predicates, PointsCollinear) {
  const struct {
    Vector3d a, b, c;
    bool collinear;
  } cases[] = {
      {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, true},
      {{0, 0, 0}, {1, 0, 0}, {0.5, 0, 0}, true},      // turning back is parallel too
      {{0, 0, 0}, {1, 0, 0}, {2, 0.01, 0}, true},     // 1 - |cos| = 5e-5
      {{0, 0, 0}, {1, 0, 0}, {2, 0.02, 0}, false},    // 1 - |cos| = 2e-4
      {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, false},
      {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, false},       // a zero edge has no direction
      {{0, 0, 0}, {1, 0, 0}, {kNaN, 0, 0}, false},
  };
  for (const auto& c : cases) {
    const Vector3d points[3] = {c.a, c.b, c.c};
    EXPECT_EQ(PointsCollinear(points, 0, 1, 2), c.collinear) << c.c.x << "," << c.c.y;
  }
}

TEST(Predicates, PointOnRay) {
  const Vector3d o{1, 1, 0};
  const struct {
    Vector3d point, dir;
    bool on;
  } cases[] = {
      {{1, 1, 0}, {1, 0, 0}, true},              // the origin itself
      {{5, 1, 0}, {1, 0, 0}, true},
      {{0, 1, 0}, {1, 0, 0}, false},             // behind
      {{3, 3, 0}, {2, 2, 0}, true},
      {{3, 3, 1e-5}, {1, 1, 0}, true},           // off by the tolerance: still on
      {{3, 3, 2e-5}, {1, 1, 0}, false},
      {{5, 1, 0}, {0, 0, 0}, false},             // no direction
      {{kNaN, 1, 0}, {1, 0, 0}, false},
      // A direction with a stray component far below the others still measures along it.
      {{1, 1.5, 0}, {1e-17, 1, 0}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(PointOnRay(&c.point, &o, &c.dir), c.on) << c.point.x << "," << c.point.y;
}

TEST(Predicates, PointInsideSegmentExcludesBothEnds) {
  const struct {
    Vector3d p, s0, s1;
    bool inside;
  } cases[] = {
      {{1, 0, 0}, {0, 0, 0}, {2, 0, 0}, true},
      {{0, 0, 0}, {0, 0, 0}, {2, 0, 0}, false},
      {{2, 0, 0}, {0, 0, 0}, {2, 0, 0}, false},
      {{3, 0, 0}, {0, 0, 0}, {2, 0, 0}, false},
      {{1, 0.5, 0}, {0, 0, 0}, {2, 0, 0}, false},
      {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, false},  // zero length
      // A nearly vertical edge whose x ends differ by one rounding step (0.1 + 0.2 and 0.3).
      {{0.3, 0.5, 0}, {0.1 + 0.2, 0, 0}, {0.3, 1, 0}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(PointInsideSegment(&c.p, &c.s0, &c.s1), c.inside) << c.p.x << "," << c.p.y;
}

TEST(Predicates, SegmentsCrossOnlyInsideBoth) {
  const struct {
    Vector3d a0, a1, b0, b1;
    bool cross;
  } cases[] = {
      {{0, 0, 0}, {2, 2, 0}, {0, 2, 0}, {2, 0, 0}, true},    // X
      {{0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {1, 2, 0}, false},   // T: meets at an end of one
      {{0, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 2, 0}, false},   // shared end
      {{0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {3, 0, 0}, false},   // collinear overlap
      {{0, 0, 0}, {1, 1, 0}, {3, 0, 0}, {2, 1, 0}, false},   // lines cross outside both
      {{0, 0, 0}, {2, 2, 0}, {0, 2, 1}, {2, 0, 1}, false},   // skew
      {{0, 0, 0}, {0, 0, 0}, {0, 2, 0}, {2, 0, 0}, false},   // zero length
      {{0, 0, 5}, {2, 2, 5}, {0, 2, 5}, {2, 0, 5}, true},    // any plane
      // Collinear edges of a tilted face, parallel but for rounding: they overlap, not cross.
      {{-80.905711056018575, -24.198732105058852, 34.3688004131794},
       {-80.905711056018575, -24.25811535380187, 30.369241233748649},
       {-80.905711056018575, -24.228423729430361, 32.369020823464027},
       {-80.905711056018575, -24.25811535380187, 30.369241233748649},
       false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SegmentsCross(&c.a0, &c.a1, &c.b0, &c.b1), c.cross);
    EXPECT_EQ(SegmentsCross(&c.b0, &c.b1, &c.a0, &c.a1), c.cross);
  }
}

}  // namespace
