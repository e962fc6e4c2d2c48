// The construction planes: the working plane's frame, its conversions and handles, and the
// section plane's geometry, switches and hidden drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CSectionPlane.h"
#include "CWorkingPlaneTool.h"
#include "DrawingPlane.h"
#include "Matrix4d.h"
#include "Unwinding.h"
#include "VLDepthBuffer.h"
#include "ViewDrawingFlags.h"
#include "ViewTestSupport.h"

namespace {

template <typename Plane>
Owned<Plane> MakePlane() {
  Owned<Plane> plane(new Plane);
  plane->InitPlane(0, 0, 0, 0);
  return plane;
}

// The pane points of the plane's vertices through the view, as its last drawing leaves them.
void Project(VLUser3DObject* plane, const VLViewTransform& view) {
  plane->SetArrayPointers();
  UInt8 clipped = 0;
  view.ProjectPolygon(plane->vertices, plane->vertexCount, plane->screenPoints, &clipped, plane->viewPoints, 0);
}

// ---- Working plane ----

TEST(WorkingPlane, WorldToPlaneMapsTheFrameOntoTheAxesAndBack) {
  Matrix4d turned;  // 30 degrees about x, then moved to (5, 6, 7)
  SetIdentity4x4(&turned);
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
  turned.at(1, 1) = c, turned.at(1, 2) = s, turned.at(2, 1) = -s, turned.at(2, 2) = c;
  turned.at(3, 0) = 5, turned.at(3, 1) = 6, turned.at(3, 2) = 7;
  for (bool framed : {false, true}) {
    SCOPED_TRACE(framed ? "SetFrame" : "initial frame");
    Owned<CWorkingPlaneTool> plane = MakePlane<CWorkingPlaneTool>();
    if (framed) plane->SetFrame(&turned);
    plane->ComputeMatrices();
    EXPECT_TRUE(plane->IsActive());
    plane->SetArrayPointers();
    const SInt16 order[4] = {0, 2, 1, 3};
    const Vector3d expected[4] = {{0, 0, 0}, {15, 0, 0}, {0, 15, 0}, {0, 0, 15}};
    for (int k = 0; k < 4; ++k) {
      const Vector3d vertex = plane->vertices[order[k]];
      Vector3d inPlane, back;
      plane->WorldToPlane(&vertex, &inPlane);
      ExpectNear(inPlane, expected[k], 1e-9);
      plane->PlaneToWorld(&inPlane, &back);
      ExpectNear(back, vertex, 1e-9);
    }
  }
}

TEST(WorkingPlane, ANewPlaneLiesOnTheGroundTurned45DegreesAndResetsThere) {
  Owned<CWorkingPlaneTool> plane = MakePlane<CWorkingPlaneTool>();
  plane->SetArrayPointers();
  // Degrees turn into radians by the factor 0.017453292, good to about 1e-6 here.
  const double d = 15 * std::sqrt(0.5);
  ExpectNear(plane->vertices[2], {d, d, 0}, 1e-6);
  ExpectNear(plane->vertices[1], {-d, d, 0}, 1e-6);
  ExpectNear(plane->vertices[3], {0, 0, 15}, 1e-9);
  const Vector3d offset{3, 4, 5};
  plane->Move(&offset);
  plane->ResetFrame();
  plane->SetArrayPointers();
  ExpectNear(plane->vertices[0], {0, 0, 0}, 1e-9);
  ExpectNear(plane->vertices[2], {d, d, 0}, 1e-6);
  double equation[4];
  plane->GetPlaneEquation(equation);
  EXPECT_NEAR(std::fabs(equation[2]), 1.0, 1e-9) << "face 0 is the plane itself, on the ground";
}

TEST(WorkingPlane, HandlesAreTheAxisEndsNotTheOrigin) {
  Owned<CWorkingPlaneTool> plane = MakePlane<CWorkingPlaneTool>();
  const VLViewTransform view = PlanFromAbove(false);
  Project(plane.get(), view);
  struct Case {
    Vector3d at;
    Boolean hit;
    SInt16 index;
  };
  const double d = 15 * std::sqrt(0.5);
  const Case cases[] = {
      {{0, 0, 0}, false, 0}, {{-d, d, 0}, true, 1}, {{d, d, 0}, true, 2}, {{5, -5, 0}, false, -1}};
  for (const Case& c : cases) {
    Vector3d pane;
    view.ProjectPoint(&c.at, &pane);
    const Point p{SInt16(pane.y), SInt16(pane.x)};
    SInt16 index = 99;
    EXPECT_EQ(plane->FindHandle(&c.at, p, &index, nullptr, false, nullptr), c.hit);
    EXPECT_EQ(index, c.index);
  }
  // Seen from the side, the Z end is a handle too.
  VLViewTransform side = SetUpTransform(400, 300);
  SetWindow(&side, 20, 15);
  PlaceCamera(&side, {0, -50, 5}, {0, 0, 5}, {0, 0, 1}, false);
  Project(plane.get(), side);
  Vector3d pane;
  side.ProjectPoint(ToPtr({0, 0, 15}), &pane);
  SInt16 index = 99;
  EXPECT_TRUE(plane->FindHandle(ToPtr({0, 0, 15}), Point{SInt16(pane.y), SInt16(pane.x)}, &index, nullptr, false,
                                nullptr));
  EXPECT_EQ(index, 3);
}

TEST(WorkingPlane, FarthestVertexAndHiding) {
  Owned<CWorkingPlaneTool> plane = MakePlane<CWorkingPlaneTool>();
  plane->SetArrayPointers();
  const Vector3d yEnd = plane->vertices[1];
  Vector3d out;
  plane->FarthestVertex(ToPtr({0.009, 0.009, 0.009}), &out);
  EXPECT_EQ(out, yEnd);
  plane->FarthestVertex(ToPtr({0.011, 0, 0}), &out);
  EXPECT_EQ(out, (Vector3d{0, 0, 0}));
  EXPECT_FALSE(plane->IsVisible());
  plane->Show(true);
  EXPECT_TRUE(plane->IsVisible());
  EXPECT_TRUE(plane->IsSelectable());
  plane->Deselect();
  EXPECT_FALSE(plane->IsShown()) << "a deselected plane is hidden again";
}

TEST(WorkingPlane, TheModelConvertsThroughThePlaneWhileItIsOn) {
  InstallWorkingPlaneConversions();
  Owned<CWorkingPlaneTool> plane = MakePlane<CWorkingPlaneTool>();
  plane->ComputeMatrices();
  gWorkingPlane = plane.get();
  gWorkingPlaneOn = 1;
  plane->SetArrayPointers();
  Vector3d out;
  WorldToDrawingPlane(&plane->vertices[2], &out);
  ExpectNear(out, {15, 0, 0}, 1e-9);
  gWorkingPlaneOn = 0;
  gWorkingPlane = nullptr;
  WorldToDrawingPlane(ToPtr({1, 2, 3}), &out);
  EXPECT_EQ(out, (Vector3d{1, 2, 3}));
}

// ---- Section plane ----

TEST(SectionPlane, ANewPlaneIsCentredAt004WithItsReferencePointAtTheYArmsEnd) {
  Owned<CSectionPlane> plane = MakePlane<CSectionPlane>();
  Vector3d centre, reference;
  plane->GetCentre(&centre);
  plane->GetReferencePoint(&reference);
  EXPECT_EQ(centre, (Vector3d{0, 0, 4}));
  EXPECT_EQ(reference, (Vector3d{0, -15, 4}));
  EXPECT_FALSE(plane->IsCutting());
}

TEST(SectionPlane, ShowingSwitchesCuttingOnAndVisibilityFollowsTheDisplay) {
  FlagScope flags(0);
  Owned<CSectionPlane> plane = MakePlane<CSectionPlane>();
  EXPECT_FALSE(plane->IsVisible());
  plane->Show(true);
  EXPECT_TRUE(plane->IsCutting());
  plane->Deselect();
  EXPECT_FALSE(plane->IsShown());
  EXPECT_TRUE(plane->IsCutting()) << "hiding leaves cutting on";
  EXPECT_FALSE(plane->IsVisible()) << "wireframe: shown";
  gHiddenLineMode = 1;
  EXPECT_TRUE(plane->IsVisible()) << "depth-sorted: cutting";
  gHiddenLineMode = 0;
}

TEST(SectionPlane, HiddenDrawingSubmitsTheFaceTowardTheViewerAsASectionRecord) {
  FlagScope flags(1);
  const UInt8 direct = gDirectDrawing, cull = gCullBackFaces;
  gDirectDrawing = 0;
  VLDepthBuffer* saved = gDepthBuffer;
  gDepthBuffer = new VLDepthBuffer;
  gDepthBuffer->IVLDepthBuffer();
  Owned<CSectionPlane> plane = MakePlane<CSectionPlane>();
  plane->SetCutting(true);
  VLViewTransform view = SetUpTransform(400, 300);
  SetWindow(&view, 20, 15);
  PlaceCamera(&view, {0, -60, 4}, {0, 0, 4}, {0, 0, 1}, true);  // looking north along +y
  plane->Draw(&view, nullptr);
  ASSERT_EQ(gDepthBuffer->CountRecords(), 1);
  EXPECT_EQ((*gDepthBuffer->head)->shade, kShadeSectionRecord);
  EXPECT_EQ(gCullBackFaces, 0) << "the model after it submits its back faces";
  plane->SetArrayPointers();
  int shown = 0;
  for (SInt16 f = 0; f < plane->faceCount; ++f) shown += !plane->faces[f].degenerate;
  EXPECT_EQ(shown, 1);
  gDepthBuffer->ResetList();
  gDepthBuffer->Dispose();
  gDepthBuffer = saved;
  gDirectDrawing = direct;
  gCullBackFaces = cull;
}

}  // namespace
