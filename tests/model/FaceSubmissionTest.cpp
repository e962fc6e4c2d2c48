// Model objects handing their faces on: to the depth sorter (outline, holes, edges, shade, lit
// patches as overlays, back-face culling), to a shadow caster seen from the sun, and throwing
// the shadows of their lit patches on the ground. Views as in ViewTestSupport.h: PlanFromAbove
// puts the ground point (x, y) at pane point (200 + 20 x, 150 + 20 y).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CShadowCaster.h"
#include "DrawingTestSupport.h"
#include "Memory.h"
#include "ModelTestSupport.h"
#include "OpeningTestSupport.h"
#include "VLArray.h"
#include "VLDepthBuffer.h"
#include "ViewTestSupport.h"

namespace {

using modeltest::BoxRecord;
using modeltest::ObjectPtr;
using modeltest::ReadObject;

constexpr SInt16 kTop = 4;  // BoxRecord's top face
constexpr SInt16 kBottom = 5;

// The application's sorter for the test's life, emptied after.
class SorterScope {
 public:
  SorterScope() : saved_(gDepthBuffer) {
    gDepthBuffer = new VLDepthBuffer;
    gDepthBuffer->IVLDepthBuffer();
  }
  ~SorterScope() {
    gDepthBuffer->ResetList();
    gDepthBuffer->Dispose();
    gDepthBuffer = saved_;
  }
  SorterScope(const SorterScope&) = delete;
  SorterScope& operator=(const SorterScope&) = delete;

  std::vector<DepthPolygon*> Records() const {
    std::vector<DepthPolygon*> out;
    for (DepthPolygonHandle r = gDepthBuffer->head; r; r = (*r)->next) out.push_back(*r);
    return out;
  }

 private:
  VLDepthBuffer* saved_;
};

// A sorted pass: hidden lines on, culling as given; the flags restored after.
class SortedPass : public modeltest::DrawingPass {
 public:
  SortedPass(UInt8 cull, UInt8 hiddenLines = 1) : cull_(gCullBackFaces) {
    gDirectDrawing = 0;
    gHiddenLineMode = hiddenLines;
    gCullBackFaces = cull;
  }
  ~SortedPass() { gCullBackFaces = cull_; }

 private:
  UInt8 cull_;
};

// An opening that lies on one face of its owner as a rectangular hole (pane points given).
class HoleOpening : public VLUser3DObject {
 public:
  HoleOpening(SInt16 face, std::vector<Vector3d> ring) : face_(face), ring_(std::move(ring)) {
    typeCode = kObjectTypeOpening;
    projectedVisible = 1;
  }
  // Its own projection is kept as the test sets it.
  void Draw(VLViewTransform*, Rect*) override {}
  Handle OutlineOnFace(SInt16 face, UInt8 asHole, SInt16* pointCount, Handle points, UInt8* closeFlag,
                       SInt16* edgeCount, Handle* edgeBlock) override {
    if (!asHole || face != face_) return points;
    const auto s = SInt16(ring_.size());
    const SInt16 start = *pointCount;
    *closeFlag = 1;
    *pointCount = SInt16(start + s + 2);
    if (!points) points = PortAllocHandle(0);
    PortResizeHandle(points, Size(*pointCount) * Size(sizeof(Vector3d)));
    auto* p = reinterpret_cast<Vector3d*>(*points);
    for (SInt16 k = 0; k < s; ++k) p[start + k] = ring_[std::size_t(k)];
    p[start + s] = ring_[0];
    if (gHiddenLineMode) {
      const SInt16 e0 = *edgeCount;
      *edgeCount = SInt16(e0 + s);
      if (!*edgeBlock) *edgeBlock = PortAllocHandle(0);
      PortResizeHandle(*edgeBlock, Size(*edgeCount) * Size(sizeof(DepthEdge)));
      auto* e = reinterpret_cast<DepthEdge*>(**edgeBlock);
      for (SInt16 k = 0; k < s; ++k) e[e0 + k] = {SInt16(start + k), SInt16(start + k + 1)};
    }
    return points;
  }
  Handle ViewOutlineOnFace(SInt16 face) override {
    if (face != face_) return nullptr;
    Handle loop = NewShadowLoop(SInt16(ring_.size()));
    std::copy(ring_.begin(), ring_.end(), ShadowLoopPoints(loop));
    return loop;
  }

 private:
  SInt16 face_;
  std::vector<Vector3d> ring_;
};

// A lit patch of the face with the world points given.
Handle Patch(SInt16 face, double shade, const std::vector<Vector3d>& points) {
  Handle patch = NewDepthOverlay(SInt16(points.size()), shade, face);
  std::copy(points.begin(), points.end(), OverlayPoints(patch));
  return patch;
}

// ---- Faces to the depth sorter ----

TEST(FaceSubmission, AFaceWithARectangularHoleGivesTheJoinedOutlineAndItsEdges) {
  modeltest::ShownPhase phase;
  SortedPass pass(1);
  SorterScope sorter;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(true);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));
  VLArray openings(VLArray::kPointerSize);
  HoleOpening hole(kTop, {{190, 145, 10}, {210, 145, 10}, {210, 155, 10}, {190, 155, 10}});
  openings.AppendPointer(&hole);
  box->openings = &openings;
  box->Draw(&view, nullptr);
  box->openings = nullptr;
  hole.projectedVisible = 0;

  ASSERT_EQ(sorter.Records().size(), 1u) << "only the top faces an eye straight above";
  const DepthPolygon& r = *sorter.Records()[0];
  const SInt16 n = 4;
  EXPECT_EQ(r.pointCount, n + 7);
  EXPECT_EQ(r.edgeCount, n + 4);
  const Vector3d* p = RecordPoints(const_cast<DepthPolygon*>(&r));
  const DepthEdge* e = RecordEdges(const_cast<DepthPolygon*>(&r));
  EXPECT_EQ(e[n + 3].from, n + 6);
  EXPECT_EQ(e[n + 3].to, 0) << "the closing edge comes last";
  for (SInt16 k = 0; k < 4; ++k) {
    EXPECT_EQ(e[n - 1 + k].from, n + k) << "the hole's edges, after the outline's first three";
    EXPECT_EQ(e[n - 1 + k].to, n + k + 1);
  }
  EXPECT_EQ(p[n], (Vector3d{190, 145, 10}));
  EXPECT_EQ(p[n + 4], p[n]) << "the ring closes";
  EXPECT_EQ(p[n + 5], p[n - 1]) << "the bridge back to the outline";
  EXPECT_EQ(p[n + 6], p[n - 1]);
  EXPECT_EQ(r.owner, box.get());
  EXPECT_DOUBLE_EQ(r.shade, view.DistanceToViewPoint(ToPtr({0, 0, 1})));

  // While the view is dragged the hole is left out; without hidden lines there are no edges.
  gDepthBuffer->ResetList();
  gInteractiveDrawing = 1;
  gHiddenLineMode = 0;
  hole.projectedVisible = 1;
  box->openings = &openings;
  box->changed = 1;
  box->Draw(&view, nullptr);
  box->openings = nullptr;
  ASSERT_EQ(sorter.Records().size(), 1u);
  EXPECT_EQ(sorter.Records()[0]->pointCount, 4);
  EXPECT_EQ(sorter.Records()[0]->edgeCount, 0);
}

TEST(FaceSubmission, CullingDropsBackFacesOtherwiseTheyGoBlackWithoutPatches) {
  modeltest::ShownPhase phase;
  CurrentWorld world(400, 300);
  for (bool perspective : {false, true}) {
    for (UInt8 cull : {1, 0}) {
      SCOPED_TRACE(testing::Message() << "perspective " << perspective << " cull " << int(cull));
      SortedPass pass(cull);
      SorterScope sorter;
      VLViewTransform view = PlanFromAbove(perspective);
      ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));
      box->InsertLitPatch(Patch(kBottom, 0.9, {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}));
      box->InsertLitPatch(Patch(kTop, 0.8, {{-1, -1, 3}, {1, -1, 3}, {1, 1, 3}}));
      const long live = PortLiveHandleCount();
      box->Draw(&view, nullptr);
      std::vector<double> shades;
      int withOverlays = 0;
      for (DepthPolygon* r : sorter.Records()) {
        shades.push_back(r->shade);
        withOverlays += r->overlays != nullptr;
      }
      EXPECT_EQ(withOverlays, 1) << "the top's patch rides on the top";
      if (cull) {
        // Straight down on a box: in perspective the eye, over the middle, sees the sides from
        // inside; in parallel projection they stand edge-on, go as slivers, and the sorter drops them.
        EXPECT_EQ(std::count(shades.begin(), shades.end(), -999.0), 0);
        EXPECT_EQ(shades.size(), perspective ? 1u : 5u);
      } else {
        EXPECT_GE(std::count(shades.begin(), shades.end(), -999.0), 1) << "the bottom, painted black";
      }
      gDepthBuffer->ResetList();
      EXPECT_EQ(PortLiveHandleCount(), live) << "the unused patch copies are freed";
    }
  }
}

TEST(FaceSubmission, SortedFacesPaintTheBoxFromAbove) {
  modeltest::ShownPhase phase;
  SortedPass pass(1, 0);
  FlagScope shaded(1);
  SorterScope sorter;
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(true);
  ObjectPtr box = ReadObject(BoxRecord({-2, -1, 0}, {2, 1, 3}));
  const RGBColor red{65535, 0, 0};
  box->SetColor(&red);
  box->Draw(&view, nullptr);
  gDepthBuffer->DrawAll();
  EXPECT_NE(world.At(200, 150), kWhitePixel) << "the top, lit";
  EXPECT_EQ(world.At(20, 20), kWhitePixel);
}

// ---- Lit patches ----

TEST(FaceSubmission, ALitPatchGoesAfterSmallerFacesAndBeforeItsOwnFacesPatches) {
  ObjectPtr box = modeltest::NewObject();
  Handle one = Patch(1, 0.1, {}), two = Patch(2, 0.2, {}), three = Patch(3, 0.3, {});
  box->InsertLitPatch(three);
  box->InsertLitPatch(one);
  box->InsertLitPatch(two);
  Handle newTwo = Patch(2, 0.25, {});
  box->InsertLitPatch(newTwo);
  std::vector<double> order;
  for (Handle p = box->litPatches; p; p = OverlayHeader(p)->next) order.push_back(OverlayHeader(p)->shade);
  EXPECT_EQ(order, (std::vector<double>{0.1, 0.25, 0.2, 0.3}));
  const long live = PortLiveHandleCount();
  box->FreeLitPatches();
  EXPECT_EQ(box->litPatches, nullptr);
  EXPECT_EQ(PortLiveHandleCount(), live - 4);
}

TEST(FaceSubmission, APatchThrowsTheShadowOfItsPartAboveTheGround) {
  CurrentWorld world(400, 300);
  VLViewTransform view = PlanFromAbove(false);
  view.SetLightDirection(0, 0, 1);  // the sun straight up: shadows fall straight down
  ObjectPtr box = modeltest::NewObject();
  // Wholly below the ground: nothing; crossing it: the part above, here x from 0 to 2.
  Handle below = Patch(0, 1.0, {{-5, -5, -2}, {-3, -5, -2}, {-3, -3, -1}});
  Handle crossing = Patch(1, 1.0, {{-2, 0, -1}, {2, 0, 1}, {2, 2, 1}, {-2, 2, -1}});
  box->InsertLitPatch(below);
  box->InsertLitPatch(crossing);
  PortForeColor(blackColor);
  box->DrawGroundShadows(&view);
  EXPECT_EQ(world.At(200 - 80, 150 - 80), kWhitePixel) << "no shadow of the buried patch";
  EXPECT_EQ(world.At(200 + 20, 150 + 20), 0x000000u) << "the shadow of the part above";
  EXPECT_EQ(world.At(200 - 20, 150 + 20), kWhitePixel) << "nothing of the part below";
}

// ---- Faces to the shadow caster ----

// A caster that keeps what it is handed, and triangulates a loop with holes as a fan of its
// outer loop (enough to count what comes back).
class TestCaster : public CShadowCaster {
 public:
  void Triangulate(Handle loops, const Vector3d* normal, VLArray* triangles) override {
    for (Handle l = loops; l; l = ShadowLoopHeader(l)->next) ++loopsSeen;
    const Vector3d* p = ShadowLoopPoints(loops);
    for (SInt16 i = 1; i + 1 < ShadowLoopHeader(loops)->count; ++i) {
      const Vector3d tri[3] = {p[0], p[i], p[i + 1]};
      triangles->Append(tri);
    }
  }
  std::vector<ShadowPolygon> Polygons() const {
    std::vector<ShadowPolygon> out;
    for (ShadowPolygonHandle s = polygons; s; s = reinterpret_cast<ShadowPolygonHandle>((*s)->next))
      out.push_back(**s);
    return out;
  }
  int loopsSeen = 0;
};

TEST(FaceSubmission, FacesTurnedTowardTheSunGoToTheCasterLevelOnesDoNot) {
  ObjectPtr box = ReadObject(BoxRecord({0, 0, 0}, {1, 1, 1}));
  auto* caster = new TestCaster;
  // The sun straight up: the frame is the identity; only the top has z above 0, the sides' is 0.
  Matrix4d identity;
  SetIdentity4x4(&identity);
  box->TransformToView(&identity, caster);
  std::vector<ShadowPolygon> got = caster->Polygons();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].faceIndex, kTop);
  EXPECT_DOUBLE_EQ(got[0].shade, 1.0);
  EXPECT_DOUBLE_EQ(got[0].maxZ, 1.0);
  EXPECT_EQ(got[0].pointCount, 4);
  EXPECT_EQ(got[0].owner, box.get());

  // An opening on the top: the face goes as the caster's triangles, the hole chained after it.
  VLArray openings(VLArray::kPointerSize);
  HoleOpening hole(kTop, {{0.25, 0.25, 1}, {0.75, 0.25, 1}, {0.75, 0.75, 1}, {0.25, 0.75, 1}});
  openings.AppendPointer(&hole);
  box->openings = &openings;
  box->AddFaceToSorter(0.75, kTop, ToPtr({0, 0, 1}), caster);
  box->openings = nullptr;
  EXPECT_EQ(caster->loopsSeen, 2);
  got = caster->Polygons();
  EXPECT_EQ(got.size(), 3u) << "the first face and two triangles";
  caster->Dispose();
}

TEST(FaceSubmission, AWallWithAWindowGivesItsHoleToTheSorterAndItsLoopToTheCaster) {
  modeltest::ShownPhase phase;
  SortedPass pass(1);
  SorterScope sorter;
  CurrentWorld world(200, 200);
  openingtest::OwnerPtr wall = openingtest::Wall();
  ASSERT_NE(openingtest::Window(wall.get(), 2, 1, 4, 2), nullptr);
  auto view = openingtest::ViewFrom({0, -1, 0}, {5, 0.5, 1.5});
  wall->Draw(view.get(), nullptr);
  std::vector<SInt16> counts;
  for (DepthPolygon* r : sorter.Records()) counts.push_back(r->pointCount);
  EXPECT_EQ(std::count(counts.begin(), counts.end(), 4 + 7), 1) << "the front face, with the window's hole";

  // Seen from a sun straight in front of the wall, the front face goes to the caster with the
  // window's loop chained after its own.
  auto* caster = new TestCaster;
  Matrix4d sunFrame;
  SetIdentity4x4(&sunFrame);
  sunFrame.at(1, 1) = 0, sunFrame.at(1, 2) = 1, sunFrame.at(2, 1) = -1, sunFrame.at(2, 2) = 0;  // z toward -y
  auto* window = static_cast<VLUser3DObject*>(wall->openings->PointerAt(1));
  window->TransformToView(&sunFrame, caster);
  const int windowFaces = int(caster->Polygons().size());
  wall->TransformToView(&sunFrame, caster);
  EXPECT_EQ(caster->loopsSeen, 2);
  EXPECT_GT(int(caster->Polygons().size()), windowFaces);
  caster->Dispose();
}

}  // namespace
