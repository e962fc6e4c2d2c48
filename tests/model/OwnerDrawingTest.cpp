// What owners and openings project and draw: the outline layers of an object owner, an
// opening's handles on the side the viewer sees, and the hole an opening gives its owner's face.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CurrentWorld.h"
#include "Memory.h"
#include "OpeningTestSupport.h"
#include "QuickDraw.h"
#include "ViewDrawingFlags.h"

namespace {

using modeltest::DrawingRoles;
using modeltest::ShownPhase;
using openingtest::kWallFront;
using openingtest::OwnerPtr;
using openingtest::ViewFrom;
using openingtest::Wall;
using openingtest::Window;

// A 200 by 200 offscreen pane, current while it lives.
class Pane : public CurrentWorld {
 public:
  Pane() : CurrentWorld(200, 200) {}
  // Whether the pixel under a projected point is painted.
  bool PaintedAt(const Vector3d& projected) const { return At(int(projected.x), int(projected.y)) != kWhitePixel; }
};

// The pane segment a view gives the edge a-b, flattened along the axis.
EdgeSegment FlattenedSegment(VLViewTransform* view, Vector3d a, Vector3d b, int axis) {
  VectorComponent(a, axis) = 0;
  VectorComponent(b, axis) = 0;
  Vector3d pa, pb;
  UInt8 visible = 0, keptA = 0, keptB = 0;
  view->ProjectSegment(&a, &b, &pa, &pb, &visible, &keptA, &keptB);
  return EdgeSegment{SInt16(pa.x), SInt16(pa.y), SInt16(pb.x), SInt16(pb.y)};
}

bool operator==(const EdgeSegment& a, const EdgeSegment& b) {
  return a.h1 == b.h1 && a.v1 == b.v1 && a.h2 == b.h2 && a.v2 == b.v2;
}

TEST(ObjectOwnerOutlines, ThePlanLayerAlwaysAndTheSideLayerTheViewLooksAlong) {
  const struct {
    const char* what;
    SInt16 roles[3];
    int side;  // the flattened axis of the side layer, -1 in plan
  } cases[] = {{"plan", {0, 1, 2}, -1}, {"looking along y", {0, 2, 1}, 1}, {"looking along x", {1, 2, 0}, 0}};
  for (const auto& c : cases) {
    DrawingRoles roles(c.roles[0], c.roles[1], c.roles[2]);
    OwnerPtr box = openingtest::ReadOwner(modeltest::BoxRecord({1, 2, 0.5}, {2, 3, 1}));
    std::unique_ptr<VLViewTransform> view = ViewFrom({0.4, -1, 0.7}, {1.5, 2.5, 0.75});
    // Marks that show which layers were left alone.
    box->SetArrayPointers();
    EdgeSegment* layers[3] = {box->markedEdgeSegmentsA, box->markedEdgeSegmentsB, box->markedEdgeSegmentsC};
    for (EdgeSegment* layer : layers)
      for (SInt16 e = 0; e < box->edgeCount; ++e) layer[e] = EdgeSegment{-7, -7, -7, -7};
    box->ProjectOutlines(view.get());
    box->SetArrayPointers();
    for (int axis = 0; axis < 3; ++axis) {
      const bool projected = axis == 2 || axis == c.side;
      for (SInt16 e = 0; e < box->edgeCount; ++e) {
        const EdgeSegment expected =
            projected ? FlattenedSegment(view.get(), box->vertices[box->edges[e].a], box->vertices[box->edges[e].b], axis)
                      : EdgeSegment{-7, -7, -7, -7};
        EXPECT_TRUE(layers[axis][e] == expected) << c.what << ", layer " << axis << ", edge " << e;
      }
    }
  }
}

TEST(ObjectOwnerOutlines, ATrackedOwnerGrowsTheRectangleByEverySegment) {
  DrawingRoles roles(0, 1, 2);
  OwnerPtr box = openingtest::ReadOwner(modeltest::BoxRecord({0, 0, 0}, {1, 1, 1}));
  box->SetArrayPointers();
  for (SInt16 e = 0; e < box->edgeCount; ++e) {
    box->markedEdgeSegmentsC[e] = EdgeSegment{SInt16(10 + e), 20, 30, SInt16(40 + e)};
    box->markedEdgeFlagsC[e] = e == 0;  // one visible segment; the others still count
  }
  Rect rect{100, 100, 0, 0};
  box->DrawMarkedEdges(&rect);
  EXPECT_EQ(rect.left, 100) << "not tracked: the rectangle stays";
  box->tracking = 1;
  box->DrawMarkedEdges(&rect);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.right, 30);
  EXPECT_EQ(rect.top, 21);
  EXPECT_EQ(rect.bottom, 40 + box->edgeCount - 1 + 1);

  // Without edges nothing changes.
  OwnerPtr empty(new VLOpeningOwner);
  empty->tracking = 1;
  Rect untouched{5, 6, 7, 8};
  empty->DrawMarkedEdges(&untouched);
  EXPECT_EQ(untouched.left, 6);
  EXPECT_EQ(untouched.bottom, 7);
}

TEST(OpeningHandles, SitOnTheSideOfTheOpeningTheViewerSees) {
  ShownPhase phase;
  const struct {
    const char* what;
    Vector3d towardEye;
    SInt16 first;
  } cases[] = {{"from the front", {0.3, -1, 0.2}, 0}, {"from the back", {0.3, 1, 0.2}, 4}};
  for (const auto& c : cases) {
    OwnerPtr wall = Wall();
    CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
    ASSERT_NE(window, nullptr);
    std::unique_ptr<VLViewTransform> view = ViewFrom(c.towardEye, {3, 0.5, 1.75});
    Pane pane;
    wall->RefreshOpenings(window);
    wall->projectedVisible = 1;
    wall->DrawSelected(view.get());
    window->SetArrayPointers();
    for (SInt16 v = 0; v < 8; ++v) {
      const bool handle = v >= c.first && v < c.first + 4;
      EXPECT_EQ(pane.PaintedAt(window->screenPoints[v]), handle) << c.what << ", vertex " << v;
    }
  }
}

TEST(OpeningHandles, AreNotDrawnWhileTheViewMoves) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  std::unique_ptr<VLViewTransform> view = ViewFrom({0.3, -1, 0.2}, {3, 0.5, 1.75});
  Pane pane;
  wall->RefreshOpenings(window);
  wall->projectedVisible = 1;
  const UInt8 saved = gInteractiveDrawing;
  gInteractiveDrawing = 1;
  wall->DrawSelected(view.get());
  gInteractiveDrawing = saved;
  window->ProjectEdges(view.get(), true);
  window->SetArrayPointers();
  for (SInt16 v = 0; v < 8; ++v) EXPECT_FALSE(pane.PaintedAt(window->screenPoints[v])) << v;
}

TEST(OpeningOutlines, AnOpeningGivesItsFaceAHoleOfItsProjectedOutline) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  std::unique_ptr<VLViewTransform> view = ViewFrom({0.3, -1, 0.2}, {3, 0.5, 1.75});
  window->ProjectEdges(view.get(), true);
  for (UInt8 sorted : {0, 1}) {
    const UInt8 saved = gHiddenLineMode;
    gHiddenLineMode = sorted;
    SInt16 points = 5, pairs = 2;
    Handle block = PortAllocHandle(5 * Size(sizeof(Vector3d)));
    Handle pairBlock = PortAllocHandle(2 * Size(sizeof(EdgeRecord)));
    UInt8 closed = 0;
    block = window->OutlineOnFace(4, 1, &points, block, &closed, &pairs, &pairBlock);
    EXPECT_EQ(points, 5) << "another face of the wall";
    EXPECT_FALSE(closed);
    block = window->OutlineOnFace(kWallFront, 1, &points, block, &closed, &pairs, &pairBlock);
    gHiddenLineMode = saved;
    EXPECT_TRUE(closed);
    ASSERT_EQ(points, 5 + 6);
    window->SetArrayPointers();
    const auto* out = reinterpret_cast<const Vector3d*>(*block);
    for (SInt16 i = 0; i < 4; ++i) EXPECT_EQ(out[5 + i], window->screenPoints[i]) << i;
    EXPECT_EQ(out[9], window->screenPoints[0]);
    ASSERT_EQ(pairs, sorted ? 2 + 4 : 2);
    const auto* edges = reinterpret_cast<const EdgeRecord*>(*pairBlock);
    for (SInt16 i = 0; sorted && i < 4; ++i) {
      EXPECT_EQ(edges[2 + i].a, 5 + i);
      EXPECT_EQ(edges[2 + i].b, 6 + i);
    }
    PortFreeHandle(block);
    PortFreeHandle(pairBlock);
  }
}

}  // namespace
