// The view transform's set-up, matrices, screen axes and copies.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CViewInfo.h"
#include "DETException.h"
#include "ViewTestSupport.h"

namespace {

TEST(ViewTransformSetUp, DefaultViewForThePane) {
  const VLViewTransform t = SetUpTransform(640, 480);
  EXPECT_EQ(t.halfPaneWidth, 320.0);
  EXPECT_EQ(t.halfPaneHeight, 240.0);
  EXPECT_DOUBLE_EQ(t.hither, 0.5 / 9995);
  ExpectNear(t.lightDirection, {0.5773502691896258, 0.5773502691896258, 0.5773502691896258}, 1e-15);
  ExpectNear(t.planeNormal, UnitOf({0, 60, 30}), 1e-15);
  EXPECT_EQ(t.viewKind, kPerspectiveView);
  EXPECT_EQ(t.perspective, 1);
  EXPECT_EQ(t.fullWindow, 1);
  for (const CViewInfo* memory : t.viewMemories) EXPECT_EQ(memory, nullptr);
  // No resources installed: both lengths fall back to 5 feet.
  EXPECT_EQ(t.defaultLookHeight, 5.0);
  EXPECT_EQ(t.minimumEyeDistance, 5.0);
}

TEST(ViewTransformSetUp, AnEmptyPaneIsRefused) {
  for (const auto& [w, h] : {std::pair<SInt16, SInt16>{0, 300}, {400, 0}, {-5, 300}}) {
    VLViewTransform t;
    try {
      t.IVLViewTransform(w, h);
      ADD_FAILURE() << "a pane of " << w << " x " << h << " was taken";
    } catch (const DETException& e) {
      EXPECT_EQ(e.GetCode(), kDEErrorAssertionViolated);
    }
    EXPECT_EQ(t.paneWidth, 0);
  }
}

// Plan views in both projections show east to the right and north at the top, also when the up
// vector lies along the view direction (either way) in the cases where the Part replaces it.
TEST(ViewTransformMatrix, PlanShowsEastRightAndNorthUp) {
  struct Case {
    bool perspective;
    Vector3d up;
  };
  for (const Case& c : {Case{false, {0, -1, 0}}, Case{true, {0, -1, 0}}, Case{true, {0, 0, 1}}, Case{false, {0, 0, 1}},
                        Case{false, {0, 0, -1}}}) {
    SCOPED_TRACE(testing::Message() << "perspective " << c.perspective << " up " << c.up.z);
    VLViewTransform t = SetUpTransform(400, 300);
    SetWindow(&t, 10, 7.5);
    PlaceCamera(&t, {0, 0, 5}, {0, 0, 0}, c.up, c.perspective);
    for (double e : t.viewMatrix.m) ASSERT_TRUE(std::isfinite(e));
    Vector3d centre, east, north;
    t.ProjectPoint(ToPtr({0, 0, 0}), &centre);
    t.ProjectPoint(ToPtr({1, 0, 0}), &east);
    t.ProjectPoint(ToPtr({0, -1, 0}), &north);
    ExpectNear(centre, {200, 150, centre.z}, 1e-9);
    // One unit on the view plane is 20 pixels either way.
    ExpectNear(east, {220, 150, east.z}, 1e-9);
    ExpectNear(north, {200, 130, north.z}, 1e-9);
    ExpectNear(t.screenRight, {1, 0, 0}, 0);
    ExpectNear(t.screenUp, {0, -1, 0}, 0);
  }
}

TEST(ViewTransformMatrix, UpOppositeToTheViewInPerspectiveIsNotReplaced) {
  VLViewTransform t = SetUpTransform(400, 300);
  PlaceCamera(&t, {0, 0, 5}, {0, 0, 0}, {0, 0, -1}, true);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(t.viewMatrix.at(0, c), 0.0);
    EXPECT_EQ(t.viewMatrix.at(1, c), 0.0);
  }
}

TEST(ViewTransformMatrix, ACentredWindowHasNoParallelTranslation) {
  VLViewTransform t = SetUpTransform(400, 300);
  SetWindow(&t, 4, 3);
  PlaceCamera(&t, {0, 0, 5}, {0, 0, 0}, {0, -1, 0}, false);
  EXPECT_EQ(t.viewMatrix.at(0, 3), 0.0);
  EXPECT_EQ(t.viewMatrix.at(1, 3), 0.0);
  // The front plane (F in front of the VRP) is z = 0, the back plane z = 1.
  Vector3d front, back, view;
  TransformPoint3x4(&t.viewMatrix, ToPtr({0, 0, t.frontDistance}), &front);
  TransformPoint3x4(&t.viewMatrix, ToPtr({0, 0, 2 * t.frontDistance - t.backDistance}), &back);
  EXPECT_NEAR(front.z, 0.0, 1e-12);
  EXPECT_NEAR(back.z, 1.0, 1e-12);
  // The window's south-east corner is the pane's bottom right.
  TransformPoint3x4(&t.viewMatrix, ToPtr({4, 3, 0}), &view);
  ExpectNear(view, {1, 1, view.z}, 1e-12);
}

TEST(ViewTransformMatrix, PerspectiveDepthRunsFromHitherToOne) {
  VLViewTransform t = SetUpTransform(400, 300);
  PlaceCamera(&t, {0, 0, 5}, {0, 0, 0}, {0, -1, 0}, true);
  const double d = t.projectionReference.z;
  Vector3d view;
  // The front plane lies F along the VPN from the VRP, the far plane B - d beyond the eye.
  TransformPoint3x4(&t.viewMatrix, ToPtr({0, 0, t.frontDistance}), &view);
  EXPECT_NEAR(view.z, t.hither, 1e-15);
  TransformPoint3x4(&t.viewMatrix, ToPtr({0, 0, d - (t.backDistance - d)}), &view);
  EXPECT_NEAR(view.z, 1.0, 1e-12);
  // The window's south-west corner on the view plane lies on the side planes x = -z and y = z.
  TransformPoint3x4(&t.viewMatrix, ToPtr({-3, 3, 0}), &view);
  EXPECT_NEAR(view.x, -view.z, 1e-15);
  EXPECT_NEAR(view.y, view.z, 1e-15);
}

TEST(ViewTransformEye, EyeAndReferencePointKeepTheEyeDistance) {
  VLViewTransform t = SetUpTransform(400, 300);
  Vector3d eye;
  ExpectNear(*t.GetEyePoint(&eye), Add(t.referencePoint, Mul(t.planeNormal, 5)), 1e-12);
  const Vector3d moved{7, 8, 9};
  t.SetReferenceFromEye(&moved);
  ExpectNear(*t.GetEyePoint(&eye), moved, 1e-12);
  t.SetLightDirection(0, 0, 2);  // kept as given
  EXPECT_EQ(t.DistanceToViewPoint(ToPtr({0.5, 0.5, 3})), 6.0);
}

TEST(ViewTransformCopy, ACopyOwnsItsMemories) {
  auto source = std::make_unique<VLViewTransform>(SetUpTransform(400, 300));
  const Vector3d min{0, 0, 0}, max{20, 10, 6};
  source->InitViewsForBox(&min, &max);
  VLViewTransform* copy = source->Clone();
  ASSERT_NE(copy, nullptr);
  for (int kind = 0; kind < kViewKindCount; ++kind) {
    ASSERT_NE(copy->viewMemories[kind], nullptr);
    EXPECT_NE(copy->viewMemories[kind], source->viewMemories[kind]);
    EXPECT_EQ(copy->viewMemories[kind]->centre, source->viewMemories[kind]->centre);
  }
  EXPECT_EQ(copy->referencePoint, source->referencePoint);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(copy->viewMatrix.m[i], source->viewMatrix.m[i]);
  source.release()->Dispose();
  // The copy's memories outlive the source.
  copy->UpdateForViewKind();
  EXPECT_EQ(copy->viewKind, kPlanView);
  copy->Dispose();
}

}  // namespace
