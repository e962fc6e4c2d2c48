// The handle box: corner drags, the handle faces, grabbing an edge handle and its hinge, the
// edge drag plane and finding edge handles on the pane; and the working-plane gauge's ticks.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CBoundingBox.h"
#include "CSpiderGrid.h"
#include "CurrentWorld.h"
#include "DETException.h"
#include "OpeningTestSupport.h"

namespace {

using modeltest::ExpectNear;
using modeltest::ObjectDeleter;
using modeltest::VertexAt;
using BoxPtr = std::unique_ptr<CBoundingBox, ObjectDeleter>;
using GaugePtr = std::unique_ptr<CSpiderGrid, ObjectDeleter>;

BoxPtr Box(const double (&extent)[6]) {
  BoxPtr box(new CBoundingBox);
  box->IBoundingBox(extent);
  box->CalcFacePlanes();
  box->OrientFaces();
  return box;
}

// A box with its caps facing down and up: edge handles on faces 0 and 5.
BoxPtr CappedBox() {
  BoxPtr box = Box({0, 0, 0, 4, 2, 3});
  const Vector3d down{0, 0, -1}, up{0, 0, 1};
  box->ChooseHandleFaces(&down, &up);
  return box;
}

TEST(HandleBox, ACornerDragScalesAboutTheOppositeCornerAndLeavesAFlatAxis) {
  const struct {
    const char* what;
    double extent[6];
    Vector3d to, corner6;
  } cases[] = {
      {"solid", {0, 0, 0, 2, 2, 2}, {4, 3, 1}, {4, 3, 1}},
      {"flat in z", {0, 0, 1, 2, 2, 1}, {4, 3, 5}, {4, 3, 1}},
  };
  for (const auto& c : cases) {
    BoxPtr box = Box(c.extent);
    EXPECT_EQ(box->typeCode, kObjectTypeBoundingBox);
    SInt16 corner = 6;
    const Vector3d start = VertexAt(box.get(), 6);
    box->StretchToHandle(&corner, &start, nullptr, false);
    ExpectNear(VertexAt(box.get(), 6), start, 0, c.what);  // the first call scales nothing
    box->StretchToHandle(&corner, &c.to, nullptr, true);
    ExpectNear(VertexAt(box.get(), 6), c.corner6, 1e-12, c.what);
    ExpectNear(VertexAt(box.get(), 0), {c.extent[0], c.extent[1], c.extent[2]}, 0, c.what);
  }
}

TEST(HandleBox, EdgeHandlesShowForOppositeFacesAndStayShown) {
  BoxPtr box = Box({0, 0, 0, 1, 1, 1});
  EXPECT_FALSE(box->edgeHandlesShown);
  const Vector3d down{0, 0, -1}, up{0, 0, 1}, minX{-1, 0, 0};
  box->ChooseHandleFaces(&down, &minX);
  EXPECT_EQ(box->faceA, 0);
  EXPECT_EQ(box->faceB, 1);
  EXPECT_FALSE(box->edgeHandlesShown);
  box->ChooseHandleFaces(&down, &up);
  EXPECT_EQ(box->faceB, 5);
  EXPECT_TRUE(box->edgeHandlesShown);
  box->ChooseHandleFaces(&down, &minX);
  EXPECT_TRUE(box->edgeHandlesShown);
  // The same direction twice: face B is the best of the others.
  box->ChooseHandleFaces(&up, &up);
  EXPECT_EQ(box->faceA, 5);
  EXPECT_NE(box->faceB, 5);
}

TEST(HandleBox, AGrabHitsWithinOneOnEveryAxisAndTakesTheFarthestEdgeAsHinge) {
  // The midpoint of the top face's edge 4-5 (y = 0) is (2, 0, 3).
  const struct {
    const char* what;
    Vector3d point;
    bool hits;
  } cases[] = {
      {"on the midpoint", {2, 0, 3}, true},
      {"1.0 off on every axis", {3, -1, 4}, true},
      {"1.0001 off on one axis", {2, -1.0001, 3}, false},
  };
  for (const auto& c : cases) {
    BoxPtr box = CappedBox();
    EXPECT_EQ(box->GrabEdgeHandle(&c.point), c.hits) << c.what;
    EXPECT_EQ(box->activeFace, c.hits ? 1 : -1) << c.what;
  }
  BoxPtr box = CappedBox();
  const Vector3d grab{2, 0, 3};
  ASSERT_TRUE(box->GrabEdgeHandle(&grab));
  // The top edge at y = 2 lies farthest from the grab.
  EXPECT_EQ(box->hingeStart.y, 2);
  EXPECT_EQ(box->hingeEnd.y, 2);
  EXPECT_EQ(box->hingeStart.z, 3);

  // Without edge handles nothing is grabbed.
  BoxPtr plain = Box({0, 0, 0, 4, 2, 3});
  EXPECT_FALSE(plain->GrabEdgeHandle(&grab));
}

TEST(HandleBox, TheEdgeDragPlaneTurnsAboutTheHinge) {
  BoxPtr box = CappedBox();
  SInt16 active = -2;
  Vector3d normal, faceNormal;
  double offset = 0;
  const Vector3d up{0, 0, 1}, across{1, 0, 0};
  EXPECT_FALSE(box->EdgeDragPlane(4, &up, &active, &normal, &offset, &faceNormal));  // no active face
  const Vector3d grab{2, 0, 3};
  ASSERT_TRUE(box->GrabEdgeHandle(&grab));
  EXPECT_FALSE(box->EdgeDragPlane(4, &across, &active, &normal, &offset, &faceNormal));
  ASSERT_TRUE(box->EdgeDragPlane(4, &up, &active, &normal, &offset, &faceNormal));
  EXPECT_EQ(active, 1);
  ExpectNear(faceNormal, {0, 0, 1}, 1e-12);
  // The plane holds the hinge and the edge's midpoint: here the top face's own plane.
  EXPECT_NEAR(std::fabs(normal.z), 1, 1e-12);
  EXPECT_NEAR(normal.z * 3 + offset, 0, 1e-12);

  // An edge move keeps only its part along the active face's normal.
  Vector3d offsetDrag{0.5, 0, 1};
  box->MoveEdge(4, &offsetDrag, 0);
  ExpectNear(VertexAt(box.get(), 4), {0, 0, 4}, 1e-12);
}

TEST(HandleBox, AnEdgeHandleIsFoundLessThanThreePixelsAway) {
  BoxPtr box = CappedBox();
  auto view = openingtest::ViewFrom({0, -1, 0}, {2, 1, 1.5});
  Vector3d pane;
  const Vector3d midpoint{2, 0, 3};
  view->ProjectPoint(&midpoint, &pane);
  const struct {
    double dh;
    bool found;
  } cases[] = {{0, true}, {2, true}, {3, false}};
  for (const auto& c : cases) {
    const Point at{SInt16(std::lround(pane.y)), SInt16(std::lround(pane.x + c.dh))};
    const SInt16 edge = box->FindEdgeHandle(&midpoint, at, false, view.get());
    EXPECT_EQ(edge >= 0, c.found) << c.dh;
  }
}

// ---- The working-plane gauge ----

TEST(Gauge, TicksAtEveryWholeUnitOfTheAxis) {
  const struct {
    const char* what;
    double size;
    SInt16 ticks;
  } cases[] = {{"axis 3.0", 12.0, 3}, {"axis 2.9", 11.6, 2}, {"axis below 1", 3.9, 0}};
  for (const auto& c : cases) {
    GaugePtr gauge(new CSpiderGrid);
    const Vector3d origin{};
    gauge->ISpiderGrid(2, c.size, 0.5, &origin);
    EXPECT_EQ(gauge->tickSegmentCount, 4 * c.ticks) << c.what;
    EXPECT_EQ(gauge->tickPointCount, 8 * c.ticks) << c.what;
    EXPECT_EQ(gauge->vertexCount, 6);
    EXPECT_EQ(gauge->edgeCount, 3);
    gauge->SetArrayPointers();
    for (SInt16 k = 1; k <= c.ticks; ++k) ExpectNear(gauge->tickPoints[8 * (k - 1)], {double(k), 0, 0}, 0, c.what);
  }
}

TEST(Gauge, LongTicksFollowThePeriodAndTheAxisLinesThePointsSide) {
  const struct {
    const char* what;
    double period;
    std::vector<double> lengths;  // of ticks 1 to 4, unit 0.5
  } cases[] = {
      {"period 2", 2, {-0.3, -1.0, -0.3, -1.0}},
      {"period 3", 3, {-0.3, -0.3, -1.0, -0.3}},
      {"period below 1: no long ticks", 0.5, {-0.3, -0.3, -0.3, -0.3}},
      {"no period at all", 0, {-0.3, -0.3, -0.3, -0.3}},
  };
  for (const auto& c : cases) {
    GaugePtr gauge(new CSpiderGrid);
    const Vector3d point{-1, 0, 2};
    gauge->ISpiderGrid(c.period, 16, 0.5, &point);
    gauge->SetArrayPointers();
    for (SInt16 k = 1; k <= 4; ++k) {
      EXPECT_NEAR(gauge->tickPoints[8 * (k - 1) + 1].y, c.lengths[std::size_t(k - 1)], 1e-12) << c.what << " " << k;
      EXPECT_EQ(gauge->tickPoints[8 * (k - 1)].x, k) << c.what;  // ticks stay on the positive half
    }
    ExpectNear(VertexAt(gauge.get(), 1), {-4, 0, 0}, 0, c.what);
    ExpectNear(VertexAt(gauge.get(), 3), {0, 4, 0}, 0, c.what);
    ExpectNear(VertexAt(gauge.get(), 5), {0, 0, 4}, 0, c.what);
    EXPECT_TRUE(gauge->IsVisible());
  }
}

TEST(Gauge, DrawsItsAxisLinesAndTicks) {
  CurrentWorld pane(200, 200);
  auto view = openingtest::ViewFrom({0, 0, 1}, {1.5, 1.5, 0});
  GaugePtr gauge(new CSpiderGrid);
  const Vector3d origin{};
  gauge->ISpiderGrid(2, 12, 0.5, &origin);
  gauge->Draw(view.get(), nullptr);
  EXPECT_FALSE(gauge->changed);
  // The middle of each tick across the x axis, the long one at 2 included, is painted; the
  // space beside a tick is not.
  for (double k : {1.0, 2.0, 3.0}) {
    const double length = k == 2 ? -1.0 : -0.3;
    Vector3d middle{k, length / 2, 0}, beside{k + 0.5, length / 2, 0}, pixel;
    view->ProjectPoint(&middle, &pixel);
    EXPECT_NE(pane.At(int(pixel.x), int(pixel.y)), kWhitePixel) << k;
    view->ProjectPoint(&beside, &pixel);
    EXPECT_EQ(pane.At(int(pixel.x), int(pixel.y)), kWhitePixel) << k;
  }
  // The x axis line itself.
  Vector3d onAxis{1.5, 0, 0}, pixel;
  view->ProjectPoint(&onAxis, &pixel);
  EXPECT_NE(pane.At(int(pixel.x), int(pixel.y)), kWhitePixel);
}

TEST(Gauge, ASizeWhoseTickCountsPassSixteenBitsIsRefused) {
  const Vector3d origin{};
  GaugePtr largest(new CSpiderGrid);
  largest->ISpiderGrid(1, 4.0 * CSpiderGrid::kMaxTicks, 0.5, &origin);
  EXPECT_EQ(largest->tickPointCount, 8 * CSpiderGrid::kMaxTicks);
  GaugePtr tooLarge(new CSpiderGrid);
  EXPECT_THROW(tooLarge->ISpiderGrid(1, 4.0 * (CSpiderGrid::kMaxTicks + 1), 0.5, &origin), DETException);
  GaugePtr notANumber(new CSpiderGrid);
  notANumber->ISpiderGrid(1, std::nan(""), 0.5, &origin);
  EXPECT_EQ(notANumber->tickPointCount, 0);
}

}  // namespace
