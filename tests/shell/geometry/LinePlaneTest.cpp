#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "GeometryKernel.h"
#include "GeometryTestSupport.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const Vector3d kUntouched{-1234, -1234, -1234};

TEST(Plane, ValueAndDistanceForAnyNormalLength) {
  const Vector3d n{0, 0, 2}, p{5, 5, 3};  // the plane z = 1, normal of length 2
  EXPECT_DOUBLE_EQ(PlaneEvaluate(&p, &n, -2), 4);
  EXPECT_DOUBLE_EQ(PointPlaneDistance(&p, &n, -2), 2);
  const Vector3d below{0, 0, -1};
  EXPECT_DOUBLE_EQ(PointPlaneDistance(&below, &n, -2), 2);
  // A zero or non-finite normal has no plane: distance 0, never a NaN.
  const Vector3d zero{0, 0, 0}, bad{kNaN, 0, 1};
  EXPECT_EQ(PointPlaneDistance(&p, &zero, 5), 0);
  EXPECT_EQ(PointPlaneDistance(&p, &bad, 5), 0);
}

TEST(Plane, FromThreePoints) {
  const struct {
    Vector3d p0, p1, p2, normal;
    double d;
  } cases[] = {
      {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, -1}, 0},
      {{0, 0, 2}, {4, 0, 2}, {4, 3, 2}, {0, 0, -1}, 2},
      {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 0, 0}, 0},    // collinear
      {{1, 1, 1}, {1, 1, 1}, {2, 0, 0}, {0, 0, 0}, 0},    // repeated point
      {{kNaN, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, 0}, // non-finite
  };
  for (const auto& c : cases) {
    Vector3d n;
    double d = -77;
    PlaneFromThreePoints(&c.p0, &c.p1, &c.p2, &n, &d);
    ExpectNear(n, c.normal);
    EXPECT_DOUBLE_EQ(d, c.d);
  }
}

TEST(Plane, LineMeetsPlane) {
  const Vector3d n{0, 0, 1};  // z = 2 with d = -2
  const struct {
    Vector3d p, dir;
    bool hit;
    Vector3d at;
    double t;
  } cases[] = {
      {{1, 1, 0}, {0, 0, 1}, true, {1, 1, 2}, 2},
      {{1, 1, 5}, {0, 0, 2}, true, {1, 1, 2}, -1.5},  // behind the point: t is not limited
      {{0, 0, 0}, {1, 0, 0}, false, kUntouched, 0},   // parallel
      {{0, 0, 2}, {1, 1, 0}, false, kUntouched, 0},   // in the plane
      {{0, 0, 0}, {0, 0, 0}, false, kUntouched, 0},   // no direction
      {{kNaN, 0, 0}, {0, 0, 1}, false, kUntouched, 0},
      {{0, 0, 0}, {1, 0, 1e-320}, false, kUntouched, 0},  // t overflows
  };
  for (const auto& c : cases) {
    Vector3d out = kUntouched;
    double t = -1234;
    EXPECT_EQ(IntersectLinePlaneParam(&c.p, &c.dir, &n, -2, &out, &t), c.hit);
    ExpectNear(out, c.at);
    if (c.hit) {
      EXPECT_DOUBLE_EQ(t, c.t);
    }
    Vector3d plain = kUntouched;
    EXPECT_EQ(IntersectLinePlane(&c.p, &c.dir, &n, -2, &plain), c.hit);
    EXPECT_EQ(plain, out);
  }
}

TEST(Plane, SegmentMeetsPlaneOrGivesItsFirstPoint) {
  const Vector3d n{1, 0, 0};  // x = 1
  const struct {
    Vector3d a, b, at;
  } cases[] = {
      {{0, 0, 0}, {2, 2, 0}, {1, 1, 0}},
      {{2, 0, 0}, {3, 0, 0}, {1, 0, 0}},   // beyond the segment's ends
      {{0, 5, 0}, {0, 6, 0}, {0, 5, 0}},   // parallel: the first point
      {{kNaN, 5, 0}, {0, 6, 0}, {kNaN, 5, 0}},
  };
  for (const auto& c : cases) {
    Vector3d out = kUntouched;
    IntersectSegmentPlane(&c.a, &c.b, &n, -1, &out);
    if (std::isnan(c.at.x)) {
      EXPECT_TRUE(std::isnan(out.x));  // the caller's own point, handed back as it was
      EXPECT_EQ(out.y, 5);
    } else {
      ExpectNear(out, c.at);
    }
  }
}

TEST(Plane, TwoPlanesMeetInALine) {
  const Vector3d z{0, 0, 1}, x{1, 0, 0};
  Vector3d point = kUntouched, dir = kUntouched;
  ASSERT_TRUE(IntersectTwoPlanes(z, 0, x, 0, &point, &dir));
  ExpectNear(dir, {0, 1, 0});
  ExpectNear(point, {0, 0, 0});
  ASSERT_TRUE(IntersectTwoPlanes(x, 0, z, 0, &point, &dir));
  ExpectNear(dir, {0, -1, 0});

  const struct {
    Vector3d nA;
    double dA;
    Vector3d nB;
    double dB;
  } parallel[] = {
      {z, 0, z, -1},
      {z, 0, {0, 0, -3}, 0},
      {z, 0, {1e-14, 0, 1}, 0},  // the same plane but for rounding
      {{0, 0, 0}, 0, x, 0},
      {{kNaN, 0, 1}, 0, x, 0},
  };
  for (const auto& c : parallel) {
    point = dir = kUntouched;
    EXPECT_FALSE(IntersectTwoPlanes(c.nA, c.dA, c.nB, c.dB, &point, &dir));
    EXPECT_EQ(point, kUntouched);
    EXPECT_EQ(dir, kUntouched);
  }
}

TEST(Plane, TwoPlanesGiveThePointOfTheLineNearestTheOrigin) {
  std::mt19937 rng(11);
  std::normal_distribution<double> g;
  std::uniform_real_distribution<double> offset(-100, 100);
  for (int trial = 0; trial < 500; ++trial) {
    Vector3d a{g(rng), g(rng), g(rng)}, b{g(rng), g(rng), g(rng)};
    VectorDivide(&a, VectorLength(&a), &a);
    VectorDivide(&b, VectorLength(&b), &b);
    const double dA = offset(rng), dB = offset(rng);
    Vector3d point, dir;
    ASSERT_TRUE(IntersectTwoPlanes(a, dA, b, dB, &point, &dir));
    const double scale = 1.0 / VectorLength(&dir);  // nearly parallel planes meet far away
    EXPECT_NEAR(PlaneEvaluate(&point, &a, dA), 0, 1e-9 * scale);
    EXPECT_NEAR(PlaneEvaluate(&point, &b, dB), 0, 1e-9 * scale);
    EXPECT_NEAR(VectorDot(&point, &dir), 0, 1e-9 * scale);
    EXPECT_NEAR(VectorDot(&dir, &a), 0, 1e-12);
    EXPECT_NEAR(VectorDot(&dir, &b), 0, 1e-12);
  }
}

TEST(Lines, TwoDimensionalCrossing) {
  const struct {
    Vector3d p0, p1, q0, q1;
    bool crosses;
    double t, s;
  } cases[] = {
      {{0, 0, 0}, {1, 0, 0}, {2, -1, 0}, {2, 1, 0}, true, 2, 0.5},
      {{0, 0, 0}, {0, 2, 0}, {-1, 1, 0}, {1, 1, 0}, true, 0.5, 0.5},  // vertical: t from y
      {{0, 0, 5}, {1, 0, -5}, {2, -1, 9}, {2, 1, 0}, true, 2, 0.5},   // z is ignored
      {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, false, 0, 0},      // parallel
      {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1 + 1e-14, 0}, false, 0, 0},  // parallel but for rounding
      {{0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {1, 1, 0}, false, 0, 0},      // no first line
      {{kNaN, 0, 0}, {1, 0, 0}, {2, -1, 0}, {2, 1, 0}, false, 0, 0},
  };
  for (const auto& c : cases) {
    double t = 77, s = 77;
    EXPECT_EQ(IntersectLines2D(&c.p0, &c.p1, &c.q0, &c.q1, &t, &s), c.crosses);
    if (c.crosses) {
      EXPECT_DOUBLE_EQ(t, c.t);
      EXPECT_DOUBLE_EQ(s, c.s);
    } else {
      EXPECT_EQ(s, kGeomNoValue);
      EXPECT_EQ(t, 77);
    }
  }
}

TEST(Lines, ThreeDimensionalMeeting) {
  const struct {
    Vector3d pA, dA, pB, dB;
    bool meet;
    Vector3d at;
  } cases[] = {
      {{0, 0, 0}, {1, 0, 0}, {0.5, -1, 0}, {0, 1, 0}, true, {0.5, 0, 0}},
      {{0, 0, 0}, {2, 0, 0}, {3, 3, 3}, {-1, -1, -1}, true, {0, 0, 0}},
      {{0, 0, 0}, {1, 0, 0}, {0.5, -1, 1}, {0, 1, 0}, false, {0.5, 0, 0}},  // skew: nearest point
      {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-2, 0, 0}, false, kUntouched},     // parallel
      {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1e-14, 0}, false, kUntouched},  // parallel but for rounding
      {{0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, false, kUntouched},      // no direction
      {{kNaN, 0, 0}, {1, 0, 0}, {0.5, -1, 0}, {0, 1, 0}, false, kUntouched},
  };
  for (const auto& c : cases) {
    Vector3d out = kUntouched;
    EXPECT_EQ(IntersectLines3D(&c.pA, &c.dA, &c.pB, &c.dB, &out), c.meet);
    ExpectNear(out, c.at);
  }
}

}  // namespace
