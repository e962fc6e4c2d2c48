// The crosshair locator: grid rounding, locating on the working plane in a plan view, the
// Shift constraint, typed locks and the notices the text bar receives.
#include <gtest/gtest.h>

#include <vector>

#include "DrawingPlane.h"
#include "Events.h"
#include "VLCrosshairCursor.h"
#include "ViewTestSupport.h"

namespace {

struct Notice {
  long reason;
  Vector3d point;
};

class NoticeLog : public CCollaborator {
 public:
  void ProviderChanged(CCollaborator*, long reason, void* info) override {
    notices.push_back({reason, info ? *static_cast<Vector3d*>(info) : Vector3d{}});
  }
  std::vector<Notice> notices;
};

// A cursor over a plan view from above: ground point (x, y) at pane point (200 + 20 x, 150 + 20 y).
class Locator : public ::testing::Test {
 protected:
  void SetUp() override {
    cursor.IVLCrosshairCursor(&view, nullptr, nullptr, nullptr, nullptr);
    cursor.AddDependent(&log);
    vlui::SetModifiers(0);
    vlui::SetButton(false);
  }
  void TearDown() override {
    vlui::SetModifiers(0);
    gSnapToGrid = 1;
    gTypedLock = gTypedLockX = gTypedLockY = gTypedLockZ = 0;
    cursor.RemoveDependent(&log);
    cursor.Dispose();
  }
  // Locates the pane point of ground point (x, y).
  Boolean LocateAt(double x, double y) { return cursor.Locate(Point{SInt16(150 + 20 * y), SInt16(200 + 20 * x)}, &point); }

  VLViewTransform view = PlanFromAbove(false);
  VLCrosshairCursor& cursor = *new VLCrosshairCursor;
  NoticeLog log;
  Vector3d point;
};

TEST(GridRounding, GoesToTheNearestMultipleAndHalvesTowardZero) {
  struct Case {
    double in, out;
    bool changed;
  } cases[] = {{1.24, 1.0, true}, {1.25, 1.0, true},   {1.26, 1.5, true},  {-1.25, -1.0, true},
               {-1.26, -1.5, true}, {1.5, 1.5, false}, {0.0, 0.0, false}, {-0.74, -0.5, true}};
  for (const Case& c : cases) {
    Vector3d p{c.in, c.in, c.in};
    EXPECT_EQ(RoundToGrid(&p, 0.5, 7u), c.changed) << c.in;
    ExpectNear(p, {c.out, c.out, c.out}, 1e-12);
  }
}

TEST(GridRounding, WithOptionOnlyTheNormalAxisAndNoneForABadSpacing) {
  Vector3d p{1.26, 1.26, 1.26};
  RoundToGrid(&p, 0.5, 1u << 2);
  ExpectNear(p, {1.26, 1.26, 1.5}, 1e-12);
  for (double spacing : {0.0, -0.5}) {
    Vector3d q{1.26, 1.26, 1.26};
    EXPECT_FALSE(RoundToGrid(&q, spacing, 7u));
    ExpectNear(q, {1.26, 1.26, 1.26}, 0);
  }
}

TEST_F(Locator, RefusesASnapSpacingOfZeroOrLess) {
  EXPECT_FALSE(cursor.SetSnapSpacing(0.0));
  EXPECT_FALSE(cursor.SetSnapSpacing(-1.0));
  EXPECT_DOUBLE_EQ(cursor.snapSpacing, 0.5);
  EXPECT_TRUE(cursor.SetSnapSpacing(2.0));
  EXPECT_DOUBLE_EQ(cursor.snapSpacing, 2.0);
}

TEST_F(Locator, SnapsOnThePlaneAndLocatesAPixelOnce) {
  ASSERT_TRUE(LocateAt(1.25, 2.3));
  ExpectNear(point, {1.0, 2.5, 0.0}, 1e-9);
  ASSERT_EQ(log.notices.size(), 1u);
  EXPECT_EQ(log.notices[0].reason, kPointLocated);
  ExpectNear(log.notices[0].point, point, 0);
  EXPECT_FALSE(LocateAt(1.25, 2.3));
  EXPECT_EQ(log.notices.size(), 1u);
  // A forced locate runs again but an unchanged point sends nothing.
  cursor.forceLocate = 1;
  EXPECT_FALSE(LocateAt(1.25, 2.3));
  EXPECT_EQ(log.notices.size(), 1u);
  vlui::SetButton(true);
  ASSERT_TRUE(LocateAt(3.1, -1.0));
  vlui::SetButton(false);
  EXPECT_EQ(log.notices.back().reason, kPointLocatedWhileDown);
  ExpectNear(point, {3.0, -1.0, 0.0}, 1e-9);
  // The crosshair reaches the point beyond its extent.
  cursor.SetCrosshairExtent(2.0);
  cursor.forceLocate = 1;
  ASSERT_TRUE(LocateAt(2.6, 0.0));
  EXPECT_DOUBLE_EQ(cursor.crosshairPoints[CCrosshairLocator::kXLine].x, -2.0);
  EXPECT_DOUBLE_EQ(cursor.crosshairPoints[CCrosshairLocator::kXLine + 3].x, 2.5);
  EXPECT_DOUBLE_EQ(cursor.crosshairPoints[CCrosshairLocator::kZLine + 3].z, 4.0);
}

TEST_F(Locator, APlaneBehindTheEyeFails) {
  view.perspective = 1;  // eye at height 5, looking down
  view.RebuildMatrix();
  point = {0, 0, 8};
  EXPECT_FALSE(LocateAt(1.0, 1.0));
  ExpectNear(point, {0, 0, 8}, 0);
  EXPECT_TRUE(log.notices.empty());
  point = {0, 0, 0};
  cursor.forceLocate = 1;
  EXPECT_TRUE(LocateAt(1.0, 1.0));
}

TEST_F(Locator, ShiftKeepsTheLessMovedCoordinate) {
  gSnapToGrid = 0;
  point = {1, 1, 0};
  vlui::SetModifiers(shiftKey);
  ASSERT_TRUE(LocateAt(4.0, 1.5));  // anchor (1, 1): y moved less
  ExpectNear(point, {4.0, 1.0, 0.0}, 1e-9);
  ASSERT_TRUE(LocateAt(1.5, 5.0));  // x moved less from the same anchor
  ExpectNear(point, {1.0, 5.0, 0.0}, 1e-9);
  ASSERT_TRUE(LocateAt(3.0, 3.0));  // a tie keeps x
  ExpectNear(point, {1.0, 3.0, 0.0}, 1e-9);
  vlui::SetModifiers(0);
  ASSERT_TRUE(LocateAt(3.5, 3.5));
  EXPECT_FALSE(cursor.anchorSet);
  ExpectNear(point, {3.5, 3.5, 0.0}, 1e-9);
}

TEST_F(Locator, ATypedCoordinateHolds) {
  point = {2, 0, 0};
  gTypedLock = gTypedLockX = 1;
  ASSERT_TRUE(LocateAt(4.0, 1.5));
  ExpectNear(point, {2.0, 1.5, 0.0}, 1e-9);
  ASSERT_TRUE(LocateAt(-3.0, -2.0));
  ExpectNear(point, {2.0, -2.0, 0.0}, 1e-9);
}

TEST_F(Locator, OptionInAPlanMovesAlongTheNormal) {
  point = {1, 2, 0};
  vlui::SetModifiers(optionKey);
  view.viewKind = kPlanView;
  ASSERT_TRUE(LocateAt(5.0, -1.0));  // p[j] - q[j] = 2 - (-1)
  ExpectNear(point, {1.0, 2.0, 3.0}, 1e-9);
}

}  // namespace
