// Drawing model objects into offscreen worlds: the projection cache, objects behind the eye or
// crossing it, scrolls, the pane rectangles, the progress dialog's stop and the selection
// handles. The views are those of ViewTestSupport.h: PlanFromAbove puts the ground point (x, y)
// at pane point (200 + 20 x, 150 + 20 y).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "AppResources.h"
#include "CProgressDialog.h"
#include "DrawingTestSupport.h"
#include "Events.h"
#include "ModelTestSupport.h"
#include "Resources.h"
#include "Screen.h"
#include "Ticks.h"
#include "ViewTestSupport.h"

namespace {

using modeltest::BoxRecord;
using modeltest::ObjectPtr;
using modeltest::ReadObject;
using modeltest::DrawingPass;
using modeltest::Selected;

constexpr UInt32 kBlack = 0x000000;

void Erase(const CurrentWorld& world) {
  const Rect all = world.get()->portRect;
  PortEraseRect(&all);
}

std::vector<UInt32> Pixels(const CurrentWorld& world, int width, int height) {
  std::vector<UInt32> pixels;
  for (int v = 0; v < height; ++v)
    for (int h = 0; h < width; ++h) pixels.push_back(world.At(h, v) & 0xFFFFFF);
  return pixels;
}

// Whether a 5 by 5 handle square around the pane point is painted (filled), framed (outlined)
// or absent.
enum class Mark { kNone, kFilled, kFramed, kOther };
Mark HandleExactlyAt(const CurrentWorld& world, int h, int v) {
  int border = 0, inside = 0;
  for (int dv = -2; dv <= 2; ++dv)
    for (int dh = -2; dh <= 2; ++dh) {
      const bool black = (world.At(h + dh, v + dv) & 0xFFFFFF) == kBlack;
      (dh == -2 || dh == 2 || dv == -2 || dv == 2 ? border : inside) += black;
    }
  if (border == 16 && inside == 9) return Mark::kFilled;
  if (border == 16 && inside == 0) return Mark::kFramed;
  if (border == 0 && inside == 0) return Mark::kNone;
  return Mark::kOther;
}
// The same, allowing for a projected coordinate a hair below a whole pixel, which truncates to
// the pixel before.
Mark HandleAt(const CurrentWorld& world, int h, int v) {
  for (const auto& [dh, dv] : {std::pair{0, 0}, std::pair{-1, 0}, std::pair{0, -1}, std::pair{-1, -1}}) {
    const Mark mark = HandleExactlyAt(world, h + dh, v + dv);
    if (mark == Mark::kFilled || mark == Mark::kFramed) return mark;
  }
  return HandleExactlyAt(world, h, v);
}

// ---- The projection cache ----

TEST(ObjectDrawing, AnUnchangedObjectIsRedrawnFromItsCacheWithoutProjecting) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(true);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));
  box->Draw(&view, nullptr);
  EXPECT_GT(view.projectionCalls, 0u);
  EXPECT_EQ(box->changed, 0);
  const std::vector<UInt32> first = Pixels(world, 400, 300);
  EXPECT_GT(world.CountOf(kBlack), 100);

  // Redrawn from the cache: nothing is projected and the same lines come out, even when the
  // view has moved meanwhile (the pane marks its objects changed when it moves the view).
  view.projectionCalls = 0;
  PlaceCamera(&view, {1, 0, 5}, {1, 0, 0}, {0, -1, 0}, true);
  Erase(world);
  box->Draw(&view, nullptr);
  EXPECT_EQ(view.projectionCalls, 0u);
  EXPECT_EQ(Pixels(world, 400, 300), first);

  // A change of the object, a dragged view or a sorted pass projects again.
  struct Case {
    const char* what;
    UInt8 changed, interactive, direct;
  };
  for (const Case& c : {Case{"changed", 1, 0, 1}, Case{"view dragged", 0, 1, 1}, Case{"sorted pass", 0, 0, 0}}) {
    view.projectionCalls = 0;
    box->changed = c.changed;
    gInteractiveDrawing = c.interactive;
    gDirectDrawing = c.direct;
    box->Draw(&view, nullptr);
    EXPECT_GT(view.projectionCalls, 0u) << c.what;
    gInteractiveDrawing = 0;
    gDirectDrawing = 1;
  }
}

TEST(ObjectDrawing, AnObjectBehindTheEyeDrawsNothingAndHasEmptyBounds) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(true);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 6}, {2, 1, 8}));  // above the eye, which looks down
  box->screenBounds = Rect{1, 2, 3, 4};
  box->Draw(&view, nullptr);
  EXPECT_EQ(box->projectedVisible, 0);
  Rect bounds{9, 9, 9, 9};
  ASSERT_TRUE(box->GetScreenBounds(&bounds));
  EXPECT_EQ(bounds, (Rect{0, 0, 0, 0}));
  Selected selected({box.get()});
  box->DrawSelected(&view);
  box->Draw(&view, nullptr);  // from the cache
  EXPECT_EQ(world.CountOf(kWhitePixel), 400L * 300L);
}

TEST(ObjectDrawing, AHiddenObjectIsNotDrawnAndHasNoBounds) {
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(false);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));  // its phase is not shown
  box->Draw(&view, nullptr);
  EXPECT_EQ(view.projectionCalls, 0u);
  Rect bounds;
  EXPECT_FALSE(box->GetScreenBounds(&bounds));
  EXPECT_EQ(world.CountOf(kWhitePixel), 400L * 300L);
}

TEST(ObjectDrawing, AnObjectCrossingTheEyeIsClippedEdgeByEdgeAndCachesItsSegments) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(true);
  // Its top reaches past the eye's near plane: only the lower parts of the side edges show.
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 4.9}));
  box->Draw(&view, nullptr);
  EXPECT_EQ(box->clippedEdges, 1);
  EXPECT_EQ(box->projectedVisible, 1);
  const long drawn = world.CountOf(kBlack);
  EXPECT_GT(drawn, 100);
  // The bottom's corners are in place; the top's are not.
  for (SInt16 v = 0; v < 4; ++v) EXPECT_EQ(box->vertexUnclipped[v], 1) << v;
  for (SInt16 v = 4; v < 8; ++v) EXPECT_EQ(box->vertexUnclipped[v], 0) << v;
  // The bounds come from the visible segments, 4 pixels out; the near plane cuts the side
  // edges far out on the pane.
  EXPECT_LT(box->screenBounds.left, 200 - 40 - 4);
  EXPECT_GT(box->screenBounds.right, 200 + 40 + 4);

  const std::vector<UInt32> first = Pixels(world, 400, 300);
  Erase(world);
  view.projectionCalls = 0;
  box->Draw(&view, nullptr);
  EXPECT_EQ(view.projectionCalls, 0u);
  EXPECT_EQ(Pixels(world, 400, 300), first);

  // The handles sit on the bottom's corners only.
  Erase(world);
  Selected selected({box.get()});
  box->DrawSelected(&view);
  EXPECT_EQ(HandleAt(world, 160, 130), Mark::kFilled);
  EXPECT_EQ(HandleAt(world, 240, 170), Mark::kFilled);
  EXPECT_EQ(world.CountOf(kBlack), 4 * 25);
}

TEST(ObjectDrawing, HandlesComeOnlyFromThisProjectionsVisibleEdges) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(true);
  // Two segments: one from the ground up past the eye (the object is clipped), one on the
  // ground at x = 3.
  ObjectPtr object = modeltest::NewObject();
  object->AllocateStorage(4, 4, 2, 0);
  object->SetArrayPointers();
  const Vector3d points[4] = {{-3, 0, 0}, {-3, 0, 6}, {3, -2, 0}, {3, 2, 0}};
  for (SInt16 i = 0; i < 4; ++i) object->vertices[i] = points[i];
  object->edges[0] = {0, 1};
  object->edges[1] = {2, 3};
  object->vertexCount = 4;
  object->edgeCount = 2;
  object->phase = 1;
  object->MarkChanged();
  object->Draw(&view, nullptr);
  ASSERT_EQ(object->clippedEdges, 1);
  EXPECT_EQ(object->vertexUnclipped[2], 1);

  // The second segment rises above the eye: it shows no more, and neither do its handles.
  object->SetArrayPointers();
  object->vertices[2].z = object->vertices[3].z = 7;
  object->MarkChanged();
  Erase(world);
  object->Draw(&view, nullptr);
  EXPECT_EQ(object->edgeVisible[1], 0);
  Erase(world);
  Selected selected({object.get()});
  object->DrawSelected(&view);
  EXPECT_EQ(HandleAt(world, 260, 110), Mark::kNone);
  EXPECT_EQ(HandleAt(world, 260, 190), Mark::kNone);
  EXPECT_EQ(HandleAt(world, 140, 150), Mark::kFilled);
  EXPECT_EQ(world.CountOf(kBlack), 25);
}

TEST(ObjectDrawing, AScrollRemapsTheViewPointsAndRecomputesTheBounds) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(false);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));
  box->Draw(&view, nullptr);
  EXPECT_EQ(box->screenBounds, (Rect{128, 158, 173, 243}));
  Rect zoom{0, 0, 300, 400};
  ASSERT_TRUE(view.ZoomToRect(&zoom));
  view.ScrollSubWindow(10, 0);
  view.projectionCalls = 0;
  gViewScrolled = 1;
  box->Draw(&view, nullptr);
  EXPECT_EQ(view.projectionCalls, 1u) << "view points mapped again, nothing transformed";
  EXPECT_EQ(box->screenBounds, (Rect{128, 148, 173, 233}));
}

TEST(ObjectDrawing, AScrollBringsAnObjectThatWasOutOfViewIntoIt) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(true);
  Rect topLeft{0, 0, 150, 200};
  ASSERT_TRUE(view.ZoomToRect(&topLeft));
  ObjectPtr box = ReadObject(BoxRecord({4, -1, 0}, {6, 1, 1}));  // right of the pane's top-left quarter
  box->Draw(&view, nullptr);
  EXPECT_EQ(box->projectedVisible, 0);
  view.ScrollSubWindow(200, 0);
  gViewScrolled = 1;
  box->Draw(&view, nullptr);
  EXPECT_EQ(box->projectedVisible, 1);
  EXPECT_GT(world.CountOf(kBlack), 50);
}

// ---- Pane rectangles ----

TEST(ObjectDrawing, TrackedObjectsGrowTheCallersRectangle) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(false);
  ObjectPtr a = ReadObject(BoxRecord({-4, -3, 0}, {-3, -2, 1}));
  ObjectPtr b = ReadObject(BoxRecord({1, 2, 0}, {2, 4, 1}));
  ObjectPtr untracked = ReadObject(BoxRecord({7, 5, 0}, {8, 6, 1}));
  a->tracking = b->tracking = 1;
  Rect area{0, -9999, 0, 0};
  for (VLUser3DObject* o : {a.get(), b.get(), untracked.get()}) o->Draw(&view, &area);
  EXPECT_EQ(a->screenBounds, (Rect{88, 118, 113, 143}));
  EXPECT_NEAR(b->screenBounds.bottom, 233, 1);
  EXPECT_NEAR(b->screenBounds.right, 243, 1);
  Rect both;
  PortUnionRect(&a->screenBounds, &b->screenBounds, &both);
  EXPECT_EQ(area, both);
}

TEST(ObjectDrawing, BoundsOfObjectsWithoutVerticesAndAddingBounds) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  VLViewTransform view = PlanFromAbove(false);
  ObjectPtr empty = modeltest::NewObject();
  empty->AllocateStorage(8, 8, 12, 6);
  empty->phase = 1;
  empty->MarkChanged();
  empty->Draw(&view, nullptr);
  EXPECT_EQ(empty->projectedVisible, 1) << "parallel views always pass";
  EXPECT_EQ(empty->screenBounds, (Rect{32765, 32765, 3, 3}));
  Rect projected;
  EXPECT_EQ(*empty->GetProjectedBounds(&projected), (Rect{32767, 32767, -32767, -32767}));

  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));
  box->Draw(&view, nullptr);
  EXPECT_EQ(*box->GetProjectedBounds(&projected), (Rect{130, 160, 170, 240}));
  Rect sum{0, 0, 0, 0};
  box->AddScreenBounds(&sum);
  EXPECT_EQ(sum, box->screenBounds);
  sum = Rect{100, 300, 110, 350};
  box->AddScreenBounds(&sum);
  EXPECT_EQ(sum, (Rect{100, 158, 173, 350}));
}

TEST(ObjectDrawing, ProjectVerticesFlattensThroughTheMatrix) {
  VLViewTransform view = PlanFromAbove(false);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));
  box->ProjectVertices(&view);
  box->SetArrayPointers();
  for (SInt16 i = 0; i < box->vertexCount; ++i) {
    Vector3d expected;
    TransformPoint3x4(&view.viewMatrix, &box->vertices[i], &expected);
    EXPECT_EQ(box->screenPoints[i], expected) << i;
  }
}

// ---- Edges ----

TEST(ObjectDrawing, AnObjectWithoutEdgesDrawsNoLines) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  for (const auto& [top, perspective] : {std::pair{3.0, false}, std::pair{4.9, true}}) {
    VLViewTransform view = PlanFromAbove(perspective);
    ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, top}));
    box->edgeCount = 0;
    box->Draw(&view, nullptr);
    EXPECT_EQ(box->clippedEdges, perspective ? 1 : 0);
    EXPECT_EQ(world.CountOf(kWhitePixel), 400L * 300L);
  }
}

TEST(ObjectDrawing, TheWireframeIsDrawnInTheDrawColourAsAChain) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(false);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));
  const RGBColor red{65535, 0, 0};
  box->SetColor(&red);
  box->Draw(&view, nullptr);
  // The outline of the plan: 4 by 2 units, 80 by 40 pixels.
  EXPECT_EQ(world.CountOf(0x7F0000), 2 * 81 + 2 * 39);
  EXPECT_EQ(world.CountOf(kBlack), 0);
  RGBColor pen;
  PortGetForeColor(&pen);
  EXPECT_EQ(pen, (RGBColor{0, 0, 0})) << "the pen is black again";
}

// ---- The progress dialog ----

class ObjectDrawingProgress : public ::testing::Test {
 protected:
  void SetUp() override {
    vlclock::UseVirtualClock(true);
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    vlui::ResetEvents();
    vlui::SetEventSource(nullptr);
    vlui::InitScreen(640, 480);
    progress.OpenDialog();
    saved = gProgressDialog;
    gProgressDialog = &progress;
  }
  void TearDown() override {
    gProgressDialog = saved;
    if (progress.dialog) PortCloseDialog(progress.dialog);
    progress.dialog = nullptr;
    vlui::ShutdownScreen();
    vlui::ResetEvents();
    vlalert::ClearLog();
    vlres::ResetResourceChain();
    gWireframeContinue = gProgressContinue = 1;
  }
  CProgressDialog progress;
  CProgressDialog* saved = nullptr;
};

TEST_F(ObjectDrawingProgress, StoppingAWireframeRedrawLeavesTheRestUndrawnAndChanged) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(false);
  std::vector<ObjectPtr> objects;
  for (int i = 0; i < 30; ++i) objects.push_back(ReadObject(BoxRecord({-9.0 + i * 0.6, -1, 0}, {-8.8 + i * 0.6, 1, 1})));
  progress.BeginWireframeJob(20, 0, SInt32(PortTickCount()));
  progress.SetWireframeTotal(30);
  std::size_t drawn = 0;
  for (const ObjectPtr& o : objects) {
    o->Draw(&view, nullptr);
    if (drawn == 0) {
      // The first count shows the dialog; the user presses Stop.
      ASSERT_TRUE(progress.IsOpen());
      Rect stop;
      ASSERT_TRUE(vlui::DialogItemGlobalRect(progress.dialog, kProgressStopItem, &stop));
      EventRecord press;
      press.what = mouseDown;
      press.where = Point{SInt16(stop.top + 5), SInt16(stop.left + 5)};
      vlui::PostEvent(press);
    }
    if (!gWireframeContinue) break;
    ++drawn;
  }
  EXPECT_EQ(drawn, 19u) << "the stop is seen at the 20th count";
  for (std::size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(objects[i]->changed, i < 19 ? 0 : 1) << i;
  // A drag that draws does not count.
  gTrackingDrawing = 1;
  objects[25]->Draw(&view, nullptr);
  EXPECT_EQ(progress.wireCount, 20);
  EXPECT_EQ(objects[25]->changed, 0);
  progress.EndWireframeJob();
  EXPECT_EQ(gWireframeContinue, 1);
}

TEST_F(ObjectDrawingProgress, ASortedDrawingCountsFaceSubmissions) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  gDirectDrawing = 0;
  gHiddenLineMode = 1;
  VLViewTransform view = PlanFromAbove(false);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));
  progress.BeginSortJob(20, 240, SInt32(PortTickCount()));
  progress.SetSubmissionTotal(5);
  box->Draw(&view, nullptr);
  EXPECT_EQ(progress.submitCount, 1);
  EXPECT_EQ(box->changed, 0);
  gProgressContinue = 0;  // stopped meanwhile
  box->MarkChanged();
  box->Draw(&view, nullptr);
  EXPECT_EQ(box->changed, 1);
  progress.EndSortJob();
}

// ---- Selection handles ----

TEST(ObjectDrawing, EveryShownVertexGetsAHandleAndTheReferenceVertexIsGreyWhileThePaletteIsOpen) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(true);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 2}));
  box->Draw(&view, nullptr);
  Selected selected({box.get()});
  Erase(world);
  box->DrawSelected(&view);
  // Bottom corners at 20 pixels a unit, top corners (3 from the eye) at 100 / 3.
  EXPECT_EQ(HandleAt(world, 160, 130), Mark::kFilled);
  EXPECT_EQ(HandleAt(world, 240, 170), Mark::kFilled);
  EXPECT_EQ(HandleAt(world, 133, 116), Mark::kFilled);
  EXPECT_EQ(world.CountOf(kBlack), 8 * 25);

  box->referenceVertex = 0;
  Erase(world);
  {
    modeltest::PaletteStandIn palette;
    box->DrawSelected(&view);
  }
  EXPECT_EQ(HandleAt(world, 160, 130), Mark::kOther) << "grey";
  EXPECT_EQ(world.CountOf(kBlack), 7 * 25 + 13);
  PenState pen;
  PortGetPenState(&pen);
  EXPECT_EQ(pen.pnPat, qd.black);

  // Nothing while the object is shaped by a mouse task.
  box->tracking = 1;
  Erase(world);
  box->DrawSelected(&view);
  EXPECT_EQ(world.CountOf(kWhitePixel), 400L * 300L);
}

TEST(ObjectDrawing, EdgeHandlesShowOnlyForTheOnlySelectedObject) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(false);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 2}));
  ObjectPtr other = ReadObject(BoxRecord({5, 5, 0}, {6, 6, 1}));
  box->edgeHandlesShown = 1;
  box->Draw(&view, nullptr);
  {
    Selected selected({box.get()});
    Erase(world);
    box->DrawSelected(&view);
    // The midpoints of the plan's sides; the vertical edges' midpoints lie on the corners.
    EXPECT_EQ(HandleAt(world, 200, 130), Mark::kFramed);
    EXPECT_EQ(HandleAt(world, 240, 150), Mark::kFramed);
    EXPECT_EQ(HandleAt(world, 200, 170), Mark::kFramed);
    EXPECT_EQ(HandleAt(world, 160, 150), Mark::kFramed);
    EXPECT_EQ(HandleAt(world, 160, 130), Mark::kFilled);
  }
  {
    Selected selected({box.get(), other.get()});
    Erase(world);
    box->DrawSelected(&view);
    EXPECT_EQ(HandleAt(world, 200, 130), Mark::kNone);
    EXPECT_EQ(world.CountOf(kBlack), 4 * 25) << "the corners only";
  }
  // While a drag draws, only a handle drag shows them.
  {
    Selected selected({box.get()});
    gTrackingDrawing = 1;
    Erase(world);
    box->DrawSelected(&view);
    EXPECT_EQ(HandleAt(world, 200, 130), Mark::kNone);
    gHandleDrag = 1;
    box->DrawSelected(&view);
    EXPECT_EQ(HandleAt(world, 200, 130), Mark::kFramed);
  }
}

TEST(ObjectDrawing, InFaceModeTheCurrentFaceShowsItsCornersAndSideMidpoints) {
  modeltest::ShownPhase phase;
  DrawingPass pass;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(false);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 2}));
  box->edgeHandlesShown = 1;  // not in face mode
  box->Draw(&view, nullptr);
  for (std::size_t count : {1u, 2u}) {
    ObjectPtr other = ReadObject(BoxRecord({5, 5, 0}, {6, 6, 1}));
    Selected selected(count == 2 ? std::vector<VLUser3DObject*>{other.get()} : std::vector<VLUser3DObject*>{});
    box->SelectFace(0);  // the side x = -2: a vertical line on the plan
    ASSERT_EQ(box->faceMode, 1);
    Erase(world);
    box->DrawSelected(&view);
    EXPECT_EQ(HandleAt(world, 160, 130), Mark::kFilled);
    EXPECT_EQ(HandleAt(world, 160, 170), Mark::kFilled);
    EXPECT_EQ(HandleAt(world, 240, 170), Mark::kNone) << "not a corner of the face";
    // The face's bottom and top sides meet on the plan: their midpoint handle lies at (160, 150).
    EXPECT_EQ(HandleAt(world, 160, 150), count == 1 ? Mark::kFramed : Mark::kNone) << count;
  }
}

}  // namespace
