// What the views paint, against golden pictures: empty views with the grid, its walls, the
// horizon and the north arrow, and a few depth-sorted records painted back to front.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GoldenTest.h"
#include "Memory.h"
#include "VLDepthBuffer.h"
#include "VLGrid.h"
#include "VLHorizonLine.h"
#include "VLNorthArrow.h"
#include "ViewTestSupport.h"

namespace {

constexpr SInt16 kWidth = 240;
constexpr SInt16 kHeight = 180;

testing::AssertionResult WorldMatches(const CurrentWorld& world, const std::string& golden) {
  const PixMap& pixels = world.get()->portPixMap;
  return vltest::PictureMatches(vlui::PictureOf(pixels, pixels.bounds), VL_GOLDEN(golden));
}

// An empty document's view: the horizon (lines, or sky and ground in the shaded display), the
// grid with its walls and the north arrow, drawn as the pane draws them.
void DrawEmptyView(VLViewTransform* view) {
  VLHorizonLine horizon;
  horizon.IVLHorizonLine();
  horizon.SetOptions(1, {30000, 45000, 25000}, 1, 1, {40000, 50000, 65535}, 1);
  VLGrid grid;
  grid.IVLGrid();
  grid.Show();
  VLNorthArrow arrow;
  arrow.IVLNorthArrow(4.0, 30.0);
  horizon.Draw(view, nullptr);
  grid.Draw(view, nullptr);
  arrow.Draw(view, nullptr);
}

VLViewTransform ViewOfTheGrid() {
  VLViewTransform t = SetUpTransform(kWidth, kHeight);
  const Vector3d min{-25, -25, 0}, max{25, 25, 50};
  t.InitViewsForBox(&min, &max);
  return t;
}

TEST(ViewGolden, EmptyPlan) {
  FlagScope flags(0);
  CurrentWorld world(kWidth, kHeight);
  VLViewTransform t = ViewOfTheGrid();
  t.UpdateForViewKind();
  DrawEmptyView(&t);
  EXPECT_TRUE(WorldMatches(world, "empty-plan.png"));
}

TEST(ViewGolden, EmptySouthElevation) {
  FlagScope flags(0);
  CurrentWorld world(kWidth, kHeight);
  VLViewTransform t = ViewOfTheGrid();
  t.SetElevationView(kCmdSouthElevation);
  DrawEmptyView(&t);
  EXPECT_TRUE(WorldMatches(world, "empty-south-elevation.png"));
}

TEST(ViewGolden, EmptyPerspectiveInLinesAndShaded) {
  for (UInt8 shaded : {0, 1}) {
    FlagScope flags(shaded);
    CurrentWorld world(kWidth, kHeight);
    VLViewTransform t = ViewOfTheGrid();
    DrawEmptyView(&t);
    EXPECT_TRUE(WorldMatches(world, shaded ? "empty-perspective-shaded.png" : "empty-perspective.png"));
  }
}

// A record of the points (pane coordinates) with every side as an edge.
DepthPolygonHandle Face(const std::vector<Vector3d>& points, RGBColor colour, double shade) {
  DepthPolygonHandle r = NewDepthPolygon();
  const SInt16 n = SInt16(points.size());
  (*r)->points = PortAllocHandle(Size(n) * Size(sizeof(Vector3d)));
  std::copy(points.begin(), points.end(), reinterpret_cast<Vector3d*>(*(*r)->points));
  (*r)->pointCount = n;
  (*r)->edges = PortAllocHandle(Size(n) * Size(sizeof(DepthEdge)));
  for (SInt16 i = 0; i < n; ++i) RecordEdges(*r)[i] = {i, SInt16((i + 1) % n)};
  (*r)->edgeCount = n;
  (*r)->colour = colour;
  (*r)->shade = shade;
  return r;
}

TEST(ViewGolden, PaintedRecords) {
  FlagScope flags(1);
  CurrentWorld world(kWidth, kHeight);
  VLDepthBuffer* sorter = new VLDepthBuffer;
  sorter->IVLDepthBuffer();
  const RGBColor brick{52000, 26000, 16000};
  std::vector<DepthPolygonHandle> backToFront = {
      // A lit wall reaching past the left edge, a back face in black, a dim side, a face lit
      // head-on with a lit patch, and a quadrilateral painted through its stored region.
      Face({{-40, 20, 9}, {120, 20, 9}, {120, 100, 9}, {-40, 100, 9}}, brick, 0.6),
      Face({{150, 10, 8}, {230, 10, 8}, {230, 60, 8}, {150, 60, 8}}, brick, kShadeBlack),
      Face({{60, 60, 7}, {140, 40, 7}, {170, 130, 7}, {80, 160, 7}}, {20000, 40000, 60000}, -0.5),
      Face({{20, 110, 6}, {110, 110, 6}, {110, 170, 6}, {20, 170, 6}}, {60000, 60000, 20000}, 1.0),
      Face({{180, 90, 5}, {235, 120, 5}, {200, 175, 5}, {160, 140, 5}}, {30000, 50000, 30000}, 0.2),
  };
  Handle patch = NewDepthOverlay(3, 0.9, 0);
  const Vector3d patchPoints[3] = {{35, 120, 6}, {95, 125, 6}, {50, 160, 6}};
  std::copy(patchPoints, patchPoints + 3, OverlayPoints(patch));
  (*backToFront[3])->overlays = patch;
  DepthPolygonHandle regionFace = backToFront[4];
  (*regionFace)->outline = PortNewRegion();
  PortSetRectRegion((*regionFace)->outline, 175, 100, 225, 160);
  for (DepthPolygonHandle r : backToFront) {
    sorter->ShadeFace(r);
    sorter->FreeRecordParts(r);
    DisposeDepthPolygon(r);
  }
  sorter->Dispose();
  EXPECT_TRUE(WorldMatches(world, "painted-records.png"));
}

}  // namespace
