#include <gtest/gtest.h>

#include <cmath>

#include "CObjectTransformer.h"
#include "Memory.h"
#include "ModelTestSupport.h"

namespace {

using modeltest::DrawingRoles;
using modeltest::ExpectNear;
using modeltest::WorkingPlaneStandIn;

// The degree factor 0.017453292 is short of pi / 180: a quarter turn is off by 5e-8.
constexpr double kRounding = 1e-7;

struct Frame {
  CObjectTransformer* frame = new CObjectTransformer;
  Frame(Vector3d x = {1, 0, 0}, Vector3d y = {0, 1, 0}, Vector3d z = {0, 0, 1}) { frame->SetAxes(&x, &y, &z); }
  ~Frame() { frame->Dispose(); }
  CObjectTransformer* operator->() const { return frame; }
};

TEST(ObjectTransformer, FrameAtAPointMapsToAndFromItsCoordinates) {
  const double h = std::sqrt(0.5);
  const struct {
    const char* what;
    Vector3d x, y, z, origin, world, local;
  } cases[] = {
      {"world axes", {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {5, 6, 7}, {6, 6, 7}, {1, 0, 0}},
      {"turned 45 degrees", {h, h, 0}, {-h, h, 0}, {0, 0, 1}, {1, 1, 0}, {1 + h, 1 + h, 3}, {1, 0, 3}},
      {"upright frame", {1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 0, 0}, {2, 3, 4}, {2, 4, -3}},
  };
  for (const auto& c : cases) {
    Frame frame(c.x, c.y, c.z);
    frame->UpdateMatrices(&c.origin);
    Vector3d local, world;
    frame->ToLocal(&c.world, &local);
    frame->ToWorld(&c.local, &world);
    ExpectNear(local, c.local, 1e-12, c.what);
    ExpectNear(world, c.world, 1e-12, c.what);
    // A direction has no origin.
    Vector3d turned;
    frame->RotateVector(&c.x, &turned);
    ExpectNear(turned, {1, 0, 0}, 1e-12, c.what);
  }
}

TEST(ObjectTransformer, WithoutMatricesOutputsAreLeftAlone) {
  Frame frame;
  const Vector3d p{6, 6, 7}, sentinel{-3, -3, -3};
  Vector3d local = sentinel, world = sentinel, turned = sentinel;
  frame->ToLocal(&p, &local);
  frame->ToWorld(&p, &world);
  frame->RotateVector(&p, &turned);
  Matrix4d m;
  m.m[5] = 42.0;
  frame->GetMatrix(&m, true);
  frame->GetMatrix(&m, false);
  EXPECT_EQ(local, sentinel);
  EXPECT_EQ(world, sentinel);
  EXPECT_EQ(turned, sentinel);
  EXPECT_EQ(m.m[5], 42.0);
  EXPECT_FALSE(frame->HasMatrices());

  const Vector3d origin{5, 6, 7};
  frame->UpdateMatrices(&origin);
  frame->ForgetMatrices();
  frame->ToLocal(&p, &local);
  EXPECT_EQ(local, sentinel) << "forgotten matrices";
}

TEST(ObjectTransformer, UnrotatedWithinItsTolerance) {
  // Only each axis's own component counts, within 1e-5 of 1 on either side.
  const struct {
    Vector3d x, y, z;
    bool unrotated;
  } cases[] = {
      {{0.999995, 0, 0}, {0, 1, 0}, {0, 0, 1.000009}, true},
      {{0.99998, 0, 0}, {0, 1, 0}, {0, 0, 1}, false},
      {{1 - 0.99e-5, 5, 5}, {5, 1 + 0.99e-5, 5}, {5, 5, 1 - 0.99e-5}, true},
      {{1 + 1.01e-5, 0, 0}, {0, 1, 0}, {0, 0, 1}, false},
      {{1, 0, 0}, {0, 1 - 1.01e-5, 0}, {0, 0, 1}, false},
      {{1, 0, 0}, {0, 1, 0}, {0, 0, 1 + 1.01e-5}, false},
      {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, false},
  };
  for (const auto& c : cases) {
    Frame frame(c.x, c.y, c.z);
    EXPECT_EQ(bool(frame->IsUnrotated()), c.unrotated) << c.x.x << " " << c.y.y << " " << c.z.z;
  }
}

TEST(ObjectTransformer, RotateAxesTurnsInTheDrawingPlane) {
  // The centre says nothing about directions; the depth role's axis stays.
  const struct {
    SInt16 roles[3];
    Vector3d centre;
    Vector3d x, y, z;
  } cases[] = {
      {{0, 1, 2}, {0, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}},
      {{0, 1, 2}, {40, -7, 3}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}},
      {{0, 2, 1}, {1, 2, 3}, {0, 0, 1}, {0, 1, 0}, {-1, 0, 0}},
  };
  for (const auto& c : cases) {
    DrawingRoles roles(c.roles[0], c.roles[1], c.roles[2]);
    Frame frame;
    frame->RotateAxes(90.0, &c.centre);
    Vector3d x, y, z;
    frame->GetAxes(&x, &y, &z);
    ExpectNear(x, c.x, kRounding);
    ExpectNear(y, c.y, kRounding);
    ExpectNear(z, c.z, kRounding);
  }
}

TEST(ObjectTransformer, RotateAxesOnTheWorkingPlaneTurnsAboutItsNormal) {
  // A plane standing upright facing -y: its own z is the world's -y.
  WorkingPlaneStandIn plane({3, 4, 5}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0});
  DrawingRoles roles(0, 1, 2);
  Frame frame;
  const Vector3d centre{10, 10, 10};
  frame->RotateAxes(90.0, &centre);
  Vector3d x, y, z;
  frame->GetAxes(&x, &y, &z);
  ExpectNear(x, {0, 0, 1}, kRounding);
  ExpectNear(y, {0, 1, 0}, kRounding);
  ExpectNear(z, {-1, 0, 0}, kRounding);
}

TEST(ObjectTransformer, MirrorAxesMirrorsTheReferenceAndTheAxes) {
  // The flip's plane x = 0 with normal (-1, 0, 0) and a shift of 10: x becomes 10 - x.
  const Vector3d n{-1, 0, 0};
  {
    Frame frame;
    Vector3d reference{2, 3, 4};
    frame->MirrorAxes(&n, 0.0, &reference, 10.0, 0);
    ExpectNear(reference, {8, 3, 4}, 1e-12);
    Vector3d x, y, z;
    frame->GetAxes(&x, &y, &z);
    ExpectNear(x, {-1, 0, 0}, 1e-12);
    ExpectNear(y, {0, 1, 0}, 1e-12);
    ExpectNear(z, {0, 0, 1}, 1e-12);
  }
  {
    // The reference on the plane and an axis pointing below it: the axis end is mirrored too,
    // so the axis keeps its length.
    Frame frame({-1, 0, 0});
    Vector3d reference{0, 0, 0};
    frame->MirrorAxes(&n, 0.0, &reference, 10.0, 0);
    ExpectNear(reference, {10, 0, 0}, 1e-12);
    Vector3d x, y, z;
    frame->GetAxes(&x, &y, &z);
    ExpectNear(x, {1, 0, 0}, 1e-12);
  }
}

TEST(ObjectTransformer, CopiesOwnTheirMatrices) {
  const long handlesBefore = PortLiveHandleCount();
  {
    Frame frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
    const Vector3d origin{5, 6, 7}, p{6, 6, 7};
    frame->UpdateMatrices(&origin);
    CObjectTransformer* copy = frame->Clone();
    ASSERT_NE(copy, nullptr);
    Vector3d x, y, z;
    copy->GetAxes(&x, &y, &z);
    EXPECT_EQ(x, (Vector3d{0, 1, 0}));
    copy->ForgetMatrices();
    Vector3d local;
    frame->ToLocal(&p, &local);
    ExpectNear(local, {0, -1, 0}, 1e-12);

    // ReplaceCopy disposes of the frame it replaces.
    CObjectTransformer* replacement = frame->ReplaceCopy(copy);
    ASSERT_NE(replacement, nullptr);
    local = Vector3d{};
    replacement->ToLocal(&p, &local);
    ExpectNear(local, {0, -1, 0}, 1e-12);
    replacement->Dispose();
  }
  EXPECT_EQ(PortLiveHandleCount(), handlesBefore);
}

}  // namespace
