// The view adornments: the ground grid and its walls, the horizon line and the north arrow.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "DETException.h"
#include "GridLimits.h"
#include "VLGrid.h"
#include "VLHorizonLine.h"
#include "VLNorthArrow.h"
#include "ViewTestSupport.h"

namespace {

template <class T>
struct Disposer {
  void operator()(T* object) const { object->Dispose(); }
};
template <class T>
using Owned = std::unique_ptr<T, Disposer<T>>;

Owned<VLGrid> MakeGrid() {
  Owned<VLGrid> grid(new VLGrid);
  grid->IVLGrid();
  return grid;
}

// A 400 x 300 pane showing the views of the box around a 50-foot grid.
VLViewTransform GridView() {
  VLViewTransform t = SetUpTransform(400, 300);
  const Vector3d min{-25, -25, 0}, max{25, 25, 50};
  t.InitViewsForBox(&min, &max);
  return t;
}

constexpr UInt32 kGridGreyPixel = 0xD6D6D6;  // 55000 of 65535

// ---- Grid ----

TEST(GridLines, CountedOnceAsAnInteger) {
  struct Case {
    double size;
    double spacing;
    SInt16 lines;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {50, 5, 11},   {0.7, 0.1, 8}, {0, 5, 1},   {4.9, 5, 1},     {8190, 1, 8191}, {5, 0, 0},
      {5, -1, 0},    {-1, 5, 0},    {nan, 5, 0}, {5, nan, 0},     {inf, 5, 0},     {8191, 1, 0},
      {1e300, 1e-300, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(GridLineCount(c.size, c.spacing), c.lines) << c.size << " " << c.spacing;
}

TEST(GridLines, DefaultsWithoutResourcesAreFiftyAndFiveFeet) {
  double size = 0, spacing = 0;
  DefaultGridSizeAndSpacing(&size, &spacing);
  EXPECT_EQ(size, 50.0);
  EXPECT_EQ(spacing, 5.0);
}

TEST(Grid, FiftyAtFiveDrawsElevenLinesEachWay) {
  Owned<VLGrid> grid = MakeGrid();
  EXPECT_EQ(grid->GetHalfSize(), 25.0);
  EXPECT_EQ(grid->GetSpacing(), 5.0);
  EXPECT_EQ(grid->screenPointCapacity, 44);
  VLViewTransform t = GridView();
  t.UpdateForViewKind();
  CurrentWorld world(400, 300);
  grid->Draw(&t, nullptr);
  EXPECT_EQ(grid->screenPointCount, 0) << "not visible yet";
  EXPECT_EQ(world.CountOf(kWhitePixel), 400 * 300);
  EXPECT_TRUE(grid->Show());
  grid->Draw(&t, nullptr);
  EXPECT_EQ(grid->screenPointCount, 44);
  // Eleven distinct columns and rows, each from one side of the square to the other.
  std::set<long> columns, rows;
  for (SInt16 i = 0; i < 44; i += 4) {
    columns.insert(std::lround(grid->screenPoints[i].x));
    rows.insert(std::lround(grid->screenPoints[i + 2].y));
  }
  EXPECT_EQ(columns.size(), 11u);
  EXPECT_EQ(rows.size(), 11u);
  Vector3d corner;
  t.ProjectPoint(ToPtr({-25, -25, 0}), &corner);
  EXPECT_NEAR(grid->screenPoints[0].x, corner.x, 1e-9);
  EXPECT_GT(world.CountOf(kGridGreyPixel), 0);
  // The bounds hold every line, 4 pixels out: the square's corners.
  Vector3d opposite;
  t.ProjectPoint(ToPtr({25, 25, 0}), &opposite);
  EXPECT_EQ(grid->screenBounds.left, SInt16(std::min(corner.x, opposite.x)) - 4);
  EXPECT_EQ(grid->screenBounds.right, SInt16(std::max(corner.x, opposite.x)) + 4);
  EXPECT_EQ(grid->screenBounds.top, SInt16(std::min(corner.y, opposite.y)) - 4);
  EXPECT_EQ(grid->screenBounds.bottom, SInt16(std::max(corner.y, opposite.y)) + 4);
}

TEST(Grid, AWholeNumberOfSpacingsKeepsItsLastLine) {
  // 0.7 at 0.1: eight lines, eight at each step recorded, none lost to a short store.
  Owned<VLGrid> grid = MakeGrid();
  grid->SetSizeAndSpacing(0.35, 0.1);
  EXPECT_EQ(grid->lineCount, 8);
  EXPECT_EQ(grid->screenPointCapacity, 32);
  VLViewTransform t = GridView();
  t.UpdateForViewKind();
  CurrentWorld world(400, 300);
  grid->Show();
  grid->Draw(&t, nullptr);
  EXPECT_EQ(grid->screenPointCount, 32);
  Vector3d last;
  t.ProjectPoint(ToPtr({0.35, -0.35, 0}), &last);
  EXPECT_NEAR(grid->screenPoints[28].x, last.x, 1e-6);
}

TEST(Grid, SizeAndSpacingARefusedPairChangesNothing) {
  Owned<VLGrid> grid = MakeGrid();
  for (auto [half, spacing] : {std::pair{25.0, 0.0}, {25.0, -5.0}, {-1.0, 5.0}, {5000.0, 1.0}}) {
    EXPECT_THROW(grid->SetSizeAndSpacing(half, spacing), DETException) << half << " " << spacing;
    EXPECT_EQ(grid->GetHalfSize(), 25.0);
    EXPECT_EQ(grid->GetSpacing(), 5.0);
    EXPECT_EQ(grid->screenPointCapacity, 44);
    EXPECT_EQ(grid->firstWall->size, 50.0);
  }
  grid->SetSizeAndSpacing(10.0, 2.0);
  EXPECT_EQ(grid->firstWall->size, 20.0);
  EXPECT_EQ(grid->secondWall->spacing, 2.0);
  EXPECT_EQ(grid->secondWall->halfSize, 10.0);
  EXPECT_EQ(grid->screenPointCapacity, 44);
}

TEST(Grid, LinesBehindTheEyeAreNeitherDrawnNorRecorded) {
  Owned<VLGrid> grid = MakeGrid();
  grid->Show();
  grid->firstWall->SetVisible(0);
  grid->secondWall->SetVisible(0);
  VLViewTransform t = SetUpTransform(400, 300);
  // Standing south of the grid, looking south: the whole square is behind.
  PlaceCamera(&t, {0, 40, 5}, {0, 60, 5}, {0, 0, 1}, true);
  CurrentWorld world(400, 300);
  grid->Draw(&t, nullptr);
  EXPECT_EQ(grid->screenPointCount, 0);
  EXPECT_EQ(world.CountOf(kWhitePixel), 400 * 300);
}

TEST(Grid, ExtendBoundsGrowsTheBoxToTheSquareAndWallHeight) {
  Owned<VLGrid> grid = MakeGrid();
  double inside[6] = {-30, -30, 5, 30, 30, 60};
  EXPECT_FALSE(grid->ExtendBounds(inside));
  EXPECT_EQ(inside[2], 0.0) << "the ground is always in the box";
  double small[6] = {-1, -2, 0, 3, 4, 5};
  EXPECT_TRUE(grid->ExtendBounds(small));
  const double expected[6] = {-25, -25, 0, 25, 25, 50};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(small[i], expected[i]) << i;
}

TEST(GridWall, StandsOnTheFarSideOfTheSquare) {
  Owned<VLGrid> grid = MakeGrid();
  VLViewTransform t = GridView();
  t.UpdateForViewKind();  // seen from above, a wall across x is one vertical line
  Vector3d west, east;
  t.ProjectPoint(ToPtr({-25, 0, 0}), &west);
  t.ProjectPoint(ToPtr({25, 0, 0}), &east);
  CurrentWorld world(400, 300);
  VLGridZ* wall = grid->firstWall;
  wall->SetVisible(1);
  for (double side : {5.0, -5.0}) {
    t.referencePoint.x = side;  // which side the view stands on; the matrix is left alone
    wall->Draw(&t, nullptr);
    ASSERT_EQ(wall->screenPointCount, 44);
    const double expectedH = side >= 0 ? west.x : east.x;
    for (SInt16 i = 0; i < wall->screenPointCount; ++i) EXPECT_NEAR(wall->screenPoints[i].x, expectedH, 1e-6);
    Rect bounds;
    wall->GetBounds(&bounds);
    EXPECT_EQ(bounds.left, SInt16(expectedH) - 4);
  }
  wall->SetVisible(0);
  wall->Draw(&t, nullptr);
  Rect bounds;
  wall->GetBounds(&bounds);
  EXPECT_EQ(bounds, (Rect{0, 0, 0, 0}));
}

// ---- Horizon ----

struct HorizonCase {
  const char* name;
  void (*show)(VLViewTransform*);
};

Owned<VLHorizonLine> MakeHorizon() {
  Owned<VLHorizonLine> horizon(new VLHorizonLine);
  horizon->IVLHorizonLine();
  horizon->SetOptions(1, {0, 65535, 0}, 1, 1, {0, 0, 65535}, 1);
  return horizon;
}

TEST(Horizon, RowInEachKindOfView) {
  Owned<VLHorizonLine> horizon = MakeHorizon();
  FlagScope flags(0);
  CurrentWorld world(400, 300);

  VLViewTransform plan = GridView();
  plan.UpdateForViewKind();
  horizon->Draw(&plan, nullptr);
  EXPECT_EQ(horizon->row, -1) << "the plan looks straight down";

  VLViewTransform axonometric = GridView();
  axonometric.SwitchToAxonometric(0);
  horizon->Draw(&axonometric, nullptr);
  EXPECT_EQ(horizon->row, 0);

  VLViewTransform south = GridView();
  south.SetElevationView(kCmdSouthElevation);
  horizon->Draw(&south, nullptr);
  Vector3d ground;
  south.ProjectPoint(ToPtr({0, 0, 0}), &ground);
  EXPECT_EQ(horizon->row, SInt16(ground.y)) << "an elevation's horizon is its ground line";

  VLViewTransform level = SetUpTransform(400, 300);
  PlaceCamera(&level, {0, -60, 5}, {0, 0, 5}, {0, 0, 1}, true);
  horizon->Draw(&level, nullptr);
  EXPECT_NEAR(horizon->row, 150, 1) << "looking level, the horizon crosses the middle";

  VLViewTransform down = SetUpTransform(400, 300);
  PlaceCamera(&down, {0, -60, 30}, {0, 0, 5}, {0, 0, 1}, true);
  horizon->Draw(&down, nullptr);
  EXPECT_GT(horizon->row, 0);
  EXPECT_LT(horizon->row, 150) << "looking down, the horizon rises";
  EXPECT_EQ(horizon->lineWidth, 400);
  EXPECT_NE(world.At(200, horizon->row), kWhitePixel) << "the horizon line";
  EXPECT_EQ(world.At(200, horizon->row + 1), kWhitePixel);
}

TEST(Horizon, ShadedViewsFillSkyAndGround) {
  Owned<VLHorizonLine> horizon = MakeHorizon();
  FlagScope flags(1);
  constexpr UInt32 kSky = 0x0000FF, kGround = 0x00FF00;
  {
    CurrentWorld world(400, 300);
    VLViewTransform plan = GridView();
    plan.UpdateForViewKind();
    horizon->Draw(&plan, nullptr);
    EXPECT_EQ(world.CountOf(kGround), 400 * 300) << "the plan is all ground";
  }
  {
    CurrentWorld world(400, 300);
    VLViewTransform level = SetUpTransform(400, 300);
    PlaceCamera(&level, {0, -60, 5}, {0, 0, 5}, {0, 0, 1}, true);
    horizon->Draw(&level, nullptr);
    const SInt16 row = horizon->row;
    EXPECT_EQ(world.At(10, row - 1), kSky);
    EXPECT_EQ(world.At(390, row), kGround);
    EXPECT_EQ(world.CountOf(kSky) + world.CountOf(kGround), 400 * 300);
  }
  {
    // Looking up with the horizon below the pane: all sky; without the ground fill the rest
    // stays as it was.
    CurrentWorld world(400, 300);
    VLViewTransform up = SetUpTransform(400, 300);
    PlaceCamera(&up, {0, -60, 5}, {0, 0, 60}, {0, 0, 1}, true);
    horizon->SetOptions(1, {0, 65535, 0}, 0, 1, {0, 0, 65535}, 1);
    horizon->Draw(&up, nullptr);
    EXPECT_EQ(world.CountOf(kSky), 400 * 300);
  }
}

// ---- North arrow ----

TEST(NorthArrow, OutlinePointsNorthAndIsDrawnAsSevenSides) {
  Owned<VLNorthArrow> arrow(new VLNorthArrow);
  arrow->IVLNorthArrow(4.0, 2.0);
  EXPECT_EQ(arrow->halfWidth, 2.0);
  EXPECT_NEAR(arrow->headDiagonal, 1.5 * std::sqrt(2.0), 1e-12);
  arrow->PreparePoints();
  const Vector3d expected[7] = {{2, -2, 0}, {5, -2 - 1.5 * std::sqrt(2.0), 0}, {8, -2, 0}, {6, -2, 0},
                                {6, 0, 0},  {4, 0, 0},                        {4, -2, 0}};
  for (int i = 0; i < 7; ++i) ExpectNear(arrow->vertices[i], expected[i], 1e-12);
  // The tip lies furthest north.
  for (int i = 0; i < 7; ++i) EXPECT_LE(arrow->vertices[1].y, arrow->vertices[i].y);

  VLViewTransform t = GridView();
  t.UpdateForViewKind();
  CurrentWorld world(400, 300);
  arrow->Draw(&t, nullptr);
  EXPECT_EQ(arrow->screenPointCount, 14);
  Vector3d tip;
  t.ProjectPoint(&expected[1], &tip);
  EXPECT_EQ(world.At(int(tip.x), int(tip.y)), 0u);

  arrow->Resize(8.0, 0.0);
  arrow->PreparePoints();
  ExpectNear(arrow->vertices[2], {12, 0, 0}, 1e-12);
  EXPECT_EQ(arrow->screenPointCapacity, 14);
}

}  // namespace
