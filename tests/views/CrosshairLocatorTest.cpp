// The crosshair locator: grid rounding, locating on the working plane in a plan view, on a plane
// object and on the faces of the selection, the Shift constraint, typed locks and the notices
// the text bar receives.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "CWorkingPlaneTool.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "Matrix4d.h"
#include "PhaseRecord.h"
#include "Selection.h"
#include "Unwinding.h"
#include "VLArray.h"
#include "VLUser3DObject.h"
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

TEST_F(Locator, OnAPlaneObjectItWorksInThePlanesFrameAndSendsFramePoints) {
  Owned<CWorkingPlaneTool> plane(new CWorkingPlaneTool);
  plane->InitPlane(0, 0, 0, 0);
  Matrix4d raised;  // the plane 2 above the ground
  SetIdentity4x4(&raised);
  raised.at(3, 2) = 2.0;
  plane->SetFrame(&raised);
  plane->ComputeMatrices();
  cursor.SetPlaneObject(plane.get());
  ASSERT_EQ(log.notices.size(), 1u);
  EXPECT_EQ(log.notices[0].reason, kPlaneEntered);
  point = {0, 0, 2};
  ASSERT_TRUE(LocateAt(1.3, 2.2));
  ExpectNear(point, {1.5, 2.0, 2.0}, 1e-9);
  ExpectNear(log.notices.back().point, {1.5, 2.0, 0.0}, 1e-9);
  // The crosshair is kept in model coordinates.
  EXPECT_NEAR(cursor.crosshairPoints[CCrosshairLocator::kXLine].z, 2.0, 1e-9);
  EXPECT_NEAR(cursor.crosshairPoints[CCrosshairLocator::kYLine + 3].z, 2.0, 1e-9);
  EXPECT_FALSE(LocateAt(1.3, 2.2));
  const Vector3d start{1, 2, 3};
  cursor.BroadcastPoint(&start, true);
  EXPECT_EQ(log.notices.back().reason, kStartPointNow);
  ExpectNear(log.notices.back().point, {1, 2, 1}, 1e-9);
  EXPECT_FALSE(cursor.SetLocateMode(2, plane.get(), false, &point)) << "the mode it is in";
  cursor.SetLocateMode(0, nullptr, false, &point);
  EXPECT_EQ(cursor.locateMode, 0);
}

// Two boxes selected under the plan view: one 1 high over (0..4, 0..4), one 3 high over (-4..-1, -4..-1).
class FaceLocator : public Locator {
 protected:
  void SetUp() override {
    Locator::SetUp();
    const PhaseRecord shown{1, 1, {}};
    phases.Append(&shown, 1);
    savedPhases = gCurrentPhases;
    gCurrentPhases = &phases;
    gCurrentSelection = &selection;
    for (const auto& [lo, hi] : {std::pair<Vector3d, Vector3d>{{0, 0, 0}, {4, 4, 1}}, {{-4, -4, 0}, {-1, -1, 3}}}) {
      auto* box = new VLUser3DObject;
      std::istringstream in(BoxRecord(lo, hi));
      box->ReadText(in, 1.0, '\n');
      box->OrientFaces();
      box->screenBounds = Rect{-1000, -1000, 1000, 1000};
      box->Select();
      boxes.push_back(box);
    }
    gSnapToGrid = 0;
  }
  void TearDown() override {
    for (VLUser3DObject* box : boxes) {
      box->Deselect();
      box->Dispose();
    }
    gCurrentSelection = nullptr;
    gCurrentPhases = savedPhases;
    Locator::TearDown();
  }

  VLIndexedCluster phases{long(sizeof(PhaseRecord))};
  VLIndexedCluster* savedPhases = nullptr;
  VLArray selection{VLArray::kPointerSize};
  std::vector<VLUser3DObject*> boxes;
};

TEST_F(FaceLocator, LocatesOnTheSelectedFaceUnderTheMouseAndTheLockHoldsTheFirstFace) {
  ASSERT_EQ(selection.GetNumItems(), 2);
  cursor.SetLocateMode(1, boxes[0], false, &point);
  EXPECT_EQ(cursor.worldToFaceFrames.size(), 2u);
  EXPECT_FALSE(cursor.SetLocateMode(1, boxes[0], false, &point)) << "the mode and object it is in";
  ASSERT_TRUE(LocateAt(1.3, 2.2));
  ExpectNear(point, {1.3, 2.2, 1.0}, 1e-9);
  EXPECT_EQ(cursor.faceObject, boxes[0]);
  ASSERT_GE(log.notices.size(), 2u);
  EXPECT_EQ(log.notices[log.notices.size() - 2].reason, kPlaneEntered);
  EXPECT_NEAR(log.notices.back().point.z, 0.0, 1e-9) << "sent in the face's frame";
  // The crosshair's two lines reach the face's sides.
  for (int end : {int(CCrosshairLocator::kYLine), CCrosshairLocator::kYLine + 3, int(CCrosshairLocator::kXLine),
                  CCrosshairLocator::kXLine + 3}) {
    const Vector3d& p = cursor.crosshairPoints[end];
    EXPECT_TRUE(std::fabs(p.x) < 1e-9 || std::fabs(p.x - 4) < 1e-9 || std::fabs(p.y) < 1e-9 ||
                std::fabs(p.y - 4) < 1e-9)
        << end << ": " << p.x << " " << p.y;
    EXPECT_NEAR(p.z, 1.0, 1e-9);
  }
  ASSERT_TRUE(LocateAt(-2.0, -3.0));
  EXPECT_EQ(cursor.faceObject, boxes[1]);
  ExpectNear(point, {-2.0, -3.0, 3.0}, 1e-9);

  cursor.LockToFirstFace();
  ASSERT_TRUE(LocateAt(2.0, 3.0));
  ASSERT_TRUE(LocateAt(3.0, 3.5));
  const Vector3d held = point;
  const std::size_t sent = log.notices.size();
  EXPECT_FALSE(LocateAt(-2.0, -2.0)) << "another face";
  ExpectNear(point, held, 0);
  EXPECT_EQ(log.notices.size(), sent);
  Vector3d corners[4];
  cursor.GetFaceOutline(corners);
  const Vector3d expected[4] = {{2, 3, 1}, {3, 3, 1}, {3, 3.5, 1}, {2, 3.5, 1}};
  for (int c = 0; c < 4; ++c) {
    // The rectangle's corners in some order around it.
    bool found = false;
    for (const Vector3d& e : expected)
      found = found || (std::fabs(corners[c].x - e.x) < 1e-9 && std::fabs(corners[c].y - e.y) < 1e-9 &&
                        std::fabs(corners[c].z - e.z) < 1e-9);
    EXPECT_TRUE(found) << c << ": " << corners[c].x << " " << corners[c].y << " " << corners[c].z;
  }
  cursor.UnlockFace();
  cursor.SetLocateMode(0, nullptr, false, &point);
  EXPECT_TRUE(cursor.worldToFaceFrames.empty());
}

TEST_F(FaceLocator, ACopyHasFramesOfItsOwn) {
  cursor.SetLocateMode(1, boxes[0], false, &point);
  auto& other = *new VLCrosshairCursor;
  other.IVLCrosshairCursor(&view, nullptr, nullptr, nullptr, nullptr);
  struct Disposer {
    VLCrosshairCursor& cursor;
    ~Disposer() { cursor.Dispose(); }
  } disposer{other};
  cursor.CopyStateTo(&other);
  ASSERT_EQ(other.worldToFaceFrames.size(), 2u);
  EXPECT_NE(other.worldToFaceFrames[0], cursor.worldToFaceFrames[0]);
  EXPECT_EQ(other.locateMode, 1);
  Vector3d otherPoint;
  ASSERT_TRUE(other.Locate(Point{SInt16(150 + 20 * 2.2), SInt16(200 + 20 * 1.3)}, &otherPoint));
  ExpectNear(otherPoint, {1.3, 2.2, 1.0}, 1e-9);
}

}  // namespace
