// Views for a box, the view memories and the switches between kinds, moving the camera, the
// window and sub-window, picking rays and the Radiance view options.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "AppResources.h"
#include "CViewInfo.h"
#include "DETException.h"
#include "Resources.h"
#include "ViewTestSupport.h"

namespace {

const Vector3d kMin{0, 0, 0}, kMax{20, 10, 6};

VLViewTransform BoxView() {
  VLViewTransform t = SetUpTransform(400, 300);
  t.InitViewsForBox(&kMin, &kMax);
  return t;
}

Vector3d Eye(const VLViewTransform& t) {
  Vector3d eye;
  t.GetEyePoint(&eye);
  return eye;
}

// What a camera move may change, for comparing a view before and after.
struct Camera {
  Vector3d reference, normal, up, look, projection;
  SInt16 kind;
  UInt8 perspective;
  Matrix4d matrix;

  explicit Camera(const VLViewTransform& t)
      : reference(t.referencePoint),
        normal(t.planeNormal),
        up(t.upVector),
        look(t.lookPoint),
        projection(t.projectionReference),
        kind(t.viewKind),
        perspective(t.perspective),
        matrix(t.viewMatrix) {}
};

void ExpectSameCamera(const VLViewTransform& t, const Camera& c, double tol) {
  ExpectNear(t.referencePoint, c.reference, tol);
  ExpectNear(t.planeNormal, c.normal, tol);
  ExpectNear(t.upVector, c.up, tol);
  ExpectNear(t.lookPoint, c.look, tol);
  ExpectNear(t.projectionReference, c.projection, tol);
  EXPECT_EQ(t.viewKind, c.kind);
  EXPECT_EQ(t.perspective, c.perspective);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(t.viewMatrix.m[i], c.matrix.m[i], tol) << "matrix element " << i;
}

// ---- Views for a box ----

TEST(ViewsForBox, TheDefaultViewLooksFromTheSouthEastAtTheBox) {
  const VLViewTransform t = BoxView();
  EXPECT_EQ(t.viewKind, kPerspectiveView);
  EXPECT_EQ(t.perspective, 1);
  ExpectNear(
      t.planeNormal,
      UnitOf({std::cos(60 * kDegreesToRadians), std::sin(60 * kDegreesToRadians), std::sin(27.5 * kDegreesToRadians)}),
      1e-12);
  EXPECT_EQ(t.lookPoint.x, 10.0);
  EXPECT_EQ(t.lookPoint.y, 5.0);
  EXPECT_EQ(t.lookPoint.z, t.defaultLookHeight);
  // The window is the set-up's; the memories did not keep the axonometric fit in it.
  EXPECT_EQ(t.umax, 3.0);
  EXPECT_EQ(t.vmin, -3.0);
  for (SInt16 kind = 0; kind < kViewKindCount; ++kind) {
    ASSERT_NE(t.viewMemories[kind], nullptr);
    EXPECT_EQ(t.viewMemories[kind]->viewType, kind);
  }
  EXPECT_EQ(t.viewMemories[kPerspectiveView]->zoom, 3.0);
  for (SInt16 kind = kPlanView; kind < kViewKindCount; ++kind)
    EXPECT_EQ(t.viewMemories[kind]->zoom, t.viewMemories[kAxonometricView]->zoom);
}

TEST(ViewsForBox, EachPrincipalViewLooksAtItsFaceOfTheBox) {
  struct Case {
    std::function<void(VLViewTransform*)> show;
    Vector3d normal, eye;
  };
  const Vector3d c{10, 5, 3};
  const std::vector<Case> cases = {
      {[](VLViewTransform* t) { t->UpdateForViewKind(); }, {0, 0, 1}, {c.x, c.y, kMax.z}},
      {[](VLViewTransform* t) { t->SetElevationView(kCmdNorthElevation); }, {0, -1, 0}, {c.x, kMin.y, c.z}},
      {[](VLViewTransform* t) { t->SetElevationView(kCmdSouthElevation); }, {0, 1, 0}, {c.x, kMax.y, c.z}},
      {[](VLViewTransform* t) { t->SetElevationView(kCmdEastElevation); }, {1, 0, 0}, {kMax.x, c.y, c.z}},
      {[](VLViewTransform* t) { t->SetElevationView(kCmdWestElevation); }, {-1, 0, 0}, {kMin.x, c.y, c.z}},
  };
  for (const Case& view : cases) {
    VLViewTransform t = BoxView();
    view.show(&t);
    EXPECT_EQ(t.planeNormal, view.normal);
    ExpectNear(Eye(t), view.eye, 1e-12);
    EXPECT_EQ(t.lookPoint, c);
    EXPECT_EQ(t.perspective, 0);
    EXPECT_EQ(t.principalView, 1);
  }
  VLViewTransform t = BoxView();
  const Camera before(t);
  t.SetElevationView(6000);  // not an elevation
  ExpectSameCamera(t, before, 0);
}

TEST(ViewsForBox, FittingPutsEveryCornerInTheWindowAndOneOnItsEdge) {
  for (const Vector3d& max : {Vector3d{20, 10, 6}, Vector3d{3, 40, 1}, Vector3d{100, 100, 100}}) {
    VLViewTransform t = SetUpTransform(400, 300);
    t.FitBox(&kMin, &max);
    double tightest = 0;
    for (double x : {kMin.x, max.x})
      for (double y : {kMin.y, max.y})
        for (double z : {kMin.z, max.z}) {
          Vector3d view;
          TransformPoint3x4(&t.viewMatrix, ToPtr({x, y, z}), &view);
          EXPECT_LE(std::fabs(view.x), view.z * (1 + 1e-9));
          EXPECT_LE(std::fabs(view.y), view.z * (1 + 1e-9));
          tightest = std::max({tightest, std::fabs(view.x) / view.z, std::fabs(view.y) / view.z});
        }
    EXPECT_NEAR(tightest, 1.0, 1e-9) << max.x << " " << max.y << " " << max.z;
  }
}

// ---- Switching between kinds ----

TEST(SwitchViews, LeavingThePerspectiveViewAndRestoringItGivesTheSameCamera) {
  const std::vector<std::function<void(VLViewTransform*)>> leave = {
      [](VLViewTransform* t) { t->SwitchToAxonometric(0); },
      [](VLViewTransform* t) { t->SwitchToAxonometric(1); },
      [](VLViewTransform* t) { t->UpdateForViewKind(); },
      [](VLViewTransform* t) { t->SetElevationView(kCmdWestElevation); },
  };
  for (std::size_t i = 0; i < leave.size(); ++i) {
    SCOPED_TRACE(i);
    VLViewTransform t = BoxView();
    t.OrbitEye(1.1, 2.5);  // a camera of the user's own, not the memory made for the box
    t.SetWindowHalfSize(2.0);
    t.RebuildMatrix();
    const Camera before(t);
    leave[i](&t);
    EXPECT_EQ(t.perspective, 0);
    t.SwitchToPerspective(1);
    ExpectSameCamera(t, before, 0);
    EXPECT_EQ(t.vmin, -2.0);
    EXPECT_DOUBLE_EQ(t.umax, 2.0 * 400 / 300);
  }
}

TEST(SwitchViews, AxonometricFitsItsWindowAndComesBackAsItWasLeft) {
  VLViewTransform t = BoxView();
  t.SwitchToAxonometric(0);
  EXPECT_EQ(t.viewKind, kAxonometricView);
  EXPECT_EQ(t.principalView, 0);
  // The window the edge rays span at the look point's height, fitted to the pane's aspect.
  const double fitted = t.viewMemories[kAxonometricView]->zoom;
  EXPECT_GT(fitted, 3.0);
  EXPECT_EQ(t.vmax, fitted);
  EXPECT_DOUBLE_EQ(t.umax, fitted * 400 / 300);
  t.OrbitEye(0.9, 1.0);
  const Camera axonometric(t);
  t.SwitchToPerspective(1);
  t.SwitchToAxonometric(1);
  ExpectSameCamera(t, axonometric, 0);
  // Without restore the perspective view is made from the axonometric one.
  t.SwitchToPerspective(0);
  EXPECT_EQ(t.viewKind, kPerspectiveView);
  ExpectNear(t.planeNormal, axonometric.normal, 0);
  EXPECT_EQ(t.viewMemories[kPerspectiveView]->zoom, t.vmax);
  EXPECT_GT(t.vmax, 0.0);
}

TEST(SwitchViews, SetAxonometricRemembersWithoutRebuilding) {
  VLViewTransform t = BoxView();
  const Matrix4d before = t.viewMatrix;
  t.SetAxonometric();
  EXPECT_EQ(t.viewKind, kAxonometricView);
  EXPECT_EQ(t.perspective, 0);
  EXPECT_EQ(t.upVector, (Vector3d{0, 0, 1}));
  EXPECT_EQ(t.viewMemories[kAxonometricView]->centre, t.referencePoint);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(t.viewMatrix.m[i], before.m[i]);
}

TEST(SwitchViews, ASavedViewIsRestoredAtTheRememberedHalfSize) {
  VLViewTransform t = BoxView();
  t.OrbitEye(0.7, -1.0);
  t.SetWindowHalfSize(3.0);
  t.RebuildMatrix();
  CViewInfo record;
  t.SaveView(&record);
  EXPECT_EQ(record.viewType, kPerspectiveView);
  EXPECT_EQ(record.menuNumber, -1);
  EXPECT_EQ(record.scriptView, 1);
  const Camera saved(t);
  t.MoveEye(-3);
  t.UpdateForViewKind();
  t.RestoreView(&record);
  ExpectSameCamera(t, saved, 0);
  EXPECT_EQ(t.vmax, t.viewMemories[kPerspectiveView]->zoom);
  // A record of no known kind changes nothing.
  CViewInfo unknown(record);
  unknown.viewType = 9;
  unknown.centre = {1, 2, 3};
  t.RestoreView(&unknown);
  ExpectSameCamera(t, saved, 0);
}

// ---- Moving the camera ----

TEST(MoveCamera, OrbitingAwayAndBackRestoresTheView) {
  VLViewTransform t = BoxView();
  const Camera before(t);
  const Vector3d eye = Eye(t);
  const double polar = std::acos(t.planeNormal.z);
  const double azimuth = std::atan2(t.planeNormal.x, t.planeNormal.y);
  ASSERT_TRUE(t.OrbitEye(0.3, 2.0));
  const Vector3d away = Sub(Eye(t), eye);
  EXPECT_GT(DotOf(away, away), 1.0);
  ASSERT_TRUE(t.OrbitEye(polar, azimuth));
  ExpectNear(Eye(t), eye, 1e-9);
  ExpectSameCamera(t, before, 1e-9);
}

TEST(MoveCamera, WalkingForwardAndBackRestoresTheView) {
  VLViewTransform t = BoxView();
  const Camera before(t);
  ASSERT_TRUE(t.MoveEye(-4.0));
  ASSERT_TRUE(t.MoveEye(4.0));
  ExpectSameCamera(t, before, 1e-9);
  ASSERT_TRUE(t.MoveLookPoint(2.0));
  ASSERT_TRUE(t.MoveLookPoint(-2.0));
  ExpectSameCamera(t, before, 1e-9);
}

TEST(MoveCamera, AMoveBelowTheGroundAnswersFalseAndChangesNothing) {
  VLViewTransform t = BoxView();
  const Camera before(t);
  const double eyeHeight = Eye(t).z;
  const double lookHeight = t.lookPoint.z;
  EXPECT_FALSE(t.MoveEye(-(eyeHeight + 1) / t.planeNormal.z));
  ExpectSameCamera(t, before, 0);
  EXPECT_FALSE(t.MoveLookPoint(-(lookHeight + 1) / t.planeNormal.z));
  ExpectSameCamera(t, before, 0);
  EXPECT_FALSE(t.OrbitEye(std::numbers::pi, 0.0));  // straight under the look point
  ExpectSameCamera(t, before, 0);
}

TEST(MoveCamera, WalkingPastTheLookPointStopsOnIt) {
  VLViewTransform t = BoxView();
  const Vector3d look = t.lookPoint;
  const Vector3d vpn = t.planeNormal;
  const double distance = std::sqrt(DotOf(Sub(Eye(t), look), Sub(Eye(t), look)));
  ASSERT_TRUE(t.MoveEye(-(distance + 10)));
  ExpectNear(Eye(t), look, 1e-9);
  ExpectNear(t.lookPoint, Sub(look, Mul(vpn, t.minimumEyeDistance)), 1e-9);
  ExpectNear(t.planeNormal, vpn, 1e-12);

  // Where pushing the look point ahead would take it below the ground, it goes onto the ground
  // at the minimum distance.
  VLViewTransform low = SetUpTransform(400, 300);
  PlaceCamera(&low, {0, 0, 4}, {0, 10, 1}, {0, 0, 1}, true);
  ASSERT_TRUE(low.MoveEye(-12));  // 10.4 to the look point, 13.9 to the ground
  ExpectNear(Eye(low), {0, 10, 1}, 1e-9);
  EXPECT_EQ(low.lookPoint.z, 0.0);
  EXPECT_GT(low.lookPoint.y, 10.0);
  const Vector3d apart = Sub(Eye(low), low.lookPoint);
  EXPECT_NEAR(std::sqrt(DotOf(apart, apart)), low.minimumEyeDistance, 1e-9);
}

TEST(MoveCamera, TheEyeAndTheLookPointStayOnOrAboveTheGround) {
  VLViewTransform t = BoxView();
  Vector3d low{30, 40, -3};
  t.SetEyePoint(&low);
  EXPECT_EQ(low.z, 0.0);
  ExpectNear(Eye(t), {30, 40, 0}, 1e-9);
  ExpectNear(t.planeNormal, UnitOf(Sub({30, 40, 0}, t.lookPoint)), 1e-12);

  // A look point right by the eye pushes the eye back to the eye distance along the view line.
  VLViewTransform close = BoxView();
  const Vector3d vpn = close.planeNormal;
  Vector3d near = Sub(Eye(close), Mul(vpn, 1.0));
  close.SetLookPoint(&near);
  ExpectNear(Eye(close), Add(near, Mul(vpn, close.projectionReference.z)), 1e-9);

  // Looking up from low down, the eye that would go below the ground lands on it instead.
  VLViewTransform up = SetUpTransform(400, 300);
  PlaceCamera(&up, {0, 0, 0.5}, {0, 3, 5}, {0, 0, 1}, true);
  Vector3d lookLow{0, 0, 2};
  up.SetLookPoint(&lookLow);
  const Vector3d eye = Eye(up);
  EXPECT_NEAR(eye.z, 0.0, 1e-12);
  EXPECT_NEAR(std::sqrt(DotOf(Sub(eye, lookLow), Sub(eye, lookLow))), up.projectionReference.z, 1e-9);

  // Turning to look below the ground brings the look point up to it along the line of sight.
  VLViewTransform turning = BoxView();
  ASSERT_TRUE(turning.TurnLook(2.5, 1.0));
  EXPECT_GE(turning.lookPoint.z, 0.0);
  ASSERT_TRUE(turning.TurnLook(0.2, 1.0));
  EXPECT_EQ(turning.lookPoint.z, 0.0);
}

TEST(MoveCamera, LookingStraightDownKeepsScreenAxesForPicking) {
  VLViewTransform t = BoxView();
  ASSERT_TRUE(t.TurnLook(0.0, 0.0));
  EXPECT_EQ(t.planeNormal, (Vector3d{0, 0, 1}));
  EXPECT_EQ(t.upVector, (Vector3d{0, 0, 1}));
  // The matrix takes north as up here; so do the screen axes.
  ExpectNear(t.screenUp, {0, -1, 0}, 0);
  ExpectNear(t.screenRight, {1, 0, 0}, 0);
  Vector3d origin, direction, pane;
  t.GetPickRay(&origin, &direction, Point{30, 350});
  t.ProjectPoint(ToPtr(Add(origin, Mul(direction, 3))), &pane);
  ExpectNear(pane, {350, 30, pane.z}, 1e-6);
}

TEST(MoveCamera, LookAtBoxLooksAtItsCentreFromWhereTheEyeIs) {
  VLViewTransform t = BoxView();
  const Vector3d eye = Eye(t);
  const Vector3d min{100, 100, -10}, max{110, 120, 4};
  t.LookAtBox(&min, &max);
  EXPECT_EQ(t.lookPoint, (Vector3d{105, 110, 0}));
  ExpectNear(Eye(t), eye, 1e-9);
}

// ---- Window, pane and sub-window ----

TEST(PaneWindow, ResizingWidensTheWindowAlongTheSideThatChangedMore) {
  VLViewTransform t = BoxView();
  t.SetWindowHalfSize(3.0);  // u -4..4, v -3..3 on a 400 x 300 pane
  ASSERT_TRUE(t.ResizePane(500, 300));
  EXPECT_DOUBLE_EQ(t.umax, 5.0);
  EXPECT_DOUBLE_EQ(t.vmax, 3.0);
  EXPECT_EQ(t.halfPaneWidth, 250.0);
  VLViewTransform taller = BoxView();
  taller.SetWindowHalfSize(3.0);
  ASSERT_TRUE(taller.ResizePane(400, 600));
  EXPECT_DOUBLE_EQ(taller.umax, 4.0);
  EXPECT_DOUBLE_EQ(taller.vmax, 6.0);
  // A pane without area is refused.
  const Camera before(taller);
  EXPECT_FALSE(taller.ResizePane(0, 600));
  EXPECT_FALSE(taller.ResizePane(400, -1));
  ExpectSameCamera(taller, before, 0);
  EXPECT_EQ(taller.paneWidth, 400);
  EXPECT_EQ(taller.paneHeight, 600);
}

TEST(PaneWindow, ZoomingToATallThinRectangleWidensItToThePane) {
  VLViewTransform t = BoxView();
  Vector3d corner;
  Point topLeft{100, 134};
  t.PanePointToViewPlane(&corner, &topLeft);
  Rect rect{100, 195, 200, 205};
  ASSERT_TRUE(t.ZoomToRect(&rect));
  EXPECT_EQ(rect, (Rect{100, 134, 200, 266}));
  EXPECT_DOUBLE_EQ(t.x0, 134.0 / 400);
  EXPECT_DOUBLE_EQ(t.y1, 200.0 / 300);
  EXPECT_EQ(t.fullWindow, 0);
  // What was at the rectangle's corner is now at the pane's.
  Vector3d pane;
  t.ProjectPoint(&corner, &pane);
  ExpectNear(pane, {0, 0, pane.z}, 1e-7);
  // Scrolling by a pane's width moves by the sub-window's width.
  t.ScrollSubWindow(400, 0);
  EXPECT_DOUBLE_EQ(t.x0, 266.0 / 400);
  EXPECT_TRUE(t.ResetSubWindow());
  EXPECT_FALSE(t.ResetSubWindow());
  EXPECT_EQ(t.fullWindow, 1);
  EXPECT_EQ(t.kx, 2.0);
  // A rectangle without area is refused.
  Rect flat{100, 100, 100, 200};
  EXPECT_FALSE(t.ZoomToRect(&flat));
  EXPECT_EQ(t.fullWindow, 1);
}

TEST(Picking, APickRayLeadsBackToItsPanePoint) {
  struct Case {
    const char* name;
    std::function<void(VLViewTransform*)> set;
  };
  const std::vector<Case> cases = {
      {"perspective", [](VLViewTransform*) {}},
      {"plan", [](VLViewTransform* t) { t->UpdateForViewKind(); }},
      {"axonometric", [](VLViewTransform* t) { t->SwitchToAxonometric(0); }},
      {"zoomed",
       [](VLViewTransform* t) {
         Rect r{40, 50, 140, 210};
         t->ZoomToRect(&r);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VLViewTransform t = BoxView();
    c.set(&t);
    for (const Point& p : {Point{0, 0}, Point{150, 200}, Point{299, 17}, Point{75, 399}}) {
      Vector3d origin, direction, pane;
      t.GetPickRay(&origin, &direction, p);
      t.ProjectPoint(ToPtr(Add(origin, Mul(direction, 2.5))), &pane);
      ExpectNear(pane, {double(p.h), double(p.v), pane.z}, 1e-6);
    }
  }
}

TEST(Picking, FarPanePointsMeanThePanesEdges) {
  const VLViewTransform t = BoxView();
  Point far{10000, 10000};
  Vector3d p;
  t.PanePointToViewPlane(&p, &far);
  EXPECT_EQ(far, (Point{300, 400}));
  ExpectNear(p, Add(t.referencePoint, Add(Mul(t.screenRight, t.umax), Mul(t.screenUp, t.vmin))), 1e-12);
}

// ---- Radiance ----

std::string RadianceText(const VLViewTransform& t) {
  std::FILE* file = std::tmpfile();
  t.WriteRadianceView(file);
  std::rewind(file);
  char buffer[256] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  return std::string(buffer, n);
}

TEST(Radiance, WritesTheViewWithYNegated) {
  VLViewTransform t = SetUpTransform(400, 300);
  PlaceCamera(&t, {1, 2, 3}, {1, 5, 3}, {0, 0, 1}, true);
  EXPECT_EQ(RadianceText(t), "-vtv -vp 1 -2 3 -vd 0 -3 0 -vu 0 0 1 -vh 75 -vv 75 -vs 0 -vl 0");
}

TEST(Radiance, AFailedWriteRaises) {
  const VLViewTransform t = BoxView();
  std::FILE* readOnly = std::fopen("/dev/null", "r");
  ASSERT_NE(readOnly, nullptr);
  try {
    t.WriteRadianceView(readOnly);
    ADD_FAILURE() << "the write to a read-only stream was taken";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorErrorWritingFile);
    EXPECT_EQ(e.GetOSError(), ioErr);
  }
  std::fclose(readOnly);
}

// ---- The default lengths ----

TEST(DefaultLengths, AreReadFromTheProgramsDefaults) {
  vlres::InstallApplicationResources();
  const VLViewTransform t = SetUpTransform(400, 300);
  vlres::ResetResourceChain();
  EXPECT_EQ(t.defaultLookHeight, 5.0);
  EXPECT_EQ(t.minimumEyeDistance, 1.0);
}

}  // namespace
