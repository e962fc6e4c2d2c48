// Blocks: the creating drag, corner drags, the corner and face tables, canonical numbering,
// and walls continued from them with mitred corners.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "BlockTestSupport.h"
#include "BoxLayout.h"

namespace {

using blocktest::CubePtr;
using blocktest::Dragged;
using modeltest::ExpectNear;
using modeltest::VertexAt;

TEST(BlockDrag, SpansFromTheAnchorWithCornerZeroAtTheMinimum) {
  const struct {
    const char* what;
    Vector3d from, to;
    std::array<Vector3d, 8> corners;
  } cases[] = {
      {"up and out", {0, 0, 0}, {2, 3, 4},
       {{{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 0}, {0, 0, 4}, {2, 0, 4}, {2, 3, 4}, {0, 3, 4}}}},
      {"back down", {2, 3, 4}, {0, 0, 0},
       {{{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 0}, {0, 0, 4}, {2, 0, 4}, {2, 3, 4}, {0, 3, 4}}}},
      {"at the anchor's height: flat", {1, 1, 2}, {3, 2, 2},
       {{{1, 1, 2}, {3, 1, 2}, {3, 2, 2}, {1, 2, 2}, {1, 1, 2}, {3, 1, 2}, {3, 2, 2}, {1, 2, 2}}}},
  };
  for (const auto& c : cases) {
    CubePtr block = Dragged(c.from, c.to);
    for (SInt16 i = 0; i < 8; ++i) ExpectNear(VertexAt(block.get(), i), c.corners[std::size_t(i)], 0, c.what);
    EXPECT_EQ(block->typeCode, kObjectTypeBlock);
  }
  // The faces of a solid block point out.
  CubePtr block = Dragged({0, 0, 0}, {2, 3, 4});
  const Vector3d outward[6] = {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, -1, 0}, {0, 0, 1}};
  for (SInt16 f = 0; f < 6; ++f) ExpectNear(modeltest::Normal(block.get(), f), outward[f], 1e-12);
}

TEST(BlockDrag, AFlatBlockRunsItsLoopsAsASolidOneWhateverThePath) {
  // Drawn in plan, the block stays flat: its top and bottom lie in one plane, and only the way
  // the solid's loops run tells them apart. Every path to the same point leaves them so.
  const std::vector<std::vector<Vector3d>> paths = {
      {{0, 0, 0}, {2, 3, 0}},
      {{0, 0, 0}, {1, 1, 0}, {2, 3, 0}},
      {{0, 0, 0}, {1, 1, 0}, {3, 1, 0}, {2, 3, 0}},
      {{0, 0, 0}, {-1, -1, 0}, {1, 2, 0}, {2, 2, 0}, {2, 3, 0}},
  };
  CubePtr solid = Dragged({0, 0, 0}, {2, 3, 4});
  for (std::size_t p = 0; p < paths.size(); ++p) {
    CubePtr block(new VLCube);
    ASSERT_TRUE(block->InitStorage());
    for (std::size_t i = 0; i < paths[p].size(); ++i)
      block->BuildGeometry(nullptr, i > 0, &paths[p][i], -1, nullptr);
    for (SInt16 f = 0; f < 6; ++f) EXPECT_EQ(modeltest::Loop(block.get(), f), modeltest::Loop(solid.get(), f)) << p;
    block->SetArrayPointers();
    EXPECT_EQ(block->faces[0].c, -1.0) << p;
    EXPECT_EQ(block->faces[5].c, 1.0) << p;
  }
}

TEST(BlockDrag, CornerDragsScaleAboutTheOppositeCorner) {
  const struct {
    const char* what;
    Vector3d to;
    Vector3d corner0, corner6;
  } cases[] = {
      {"doubled", {4, 6, 8}, {0, 0, 0}, {4, 6, 8}},
      {"turned over through corner 0 along x", {-2, 3, 4}, {0, 0, 0}, {-2, 3, 4}},
      {"shrunk", {1, 1.5, 2}, {0, 0, 0}, {1, 1.5, 2}},
  };
  for (const auto& c : cases) {
    CubePtr block = Dragged({0, 0, 0}, {2, 3, 4});
    SInt16 corner = 6;
    const Vector3d start = VertexAt(block.get(), 6);
    block->StretchToHandle(&corner, &start, nullptr, false);
    block->StretchToHandle(&corner, &c.to, nullptr, true);
    EXPECT_EQ(gBlockFixedCorner, 0) << c.what;
    ExpectNear(VertexAt(block.get(), 0), c.corner0, 1e-12, c.what);
    ExpectNear(VertexAt(block.get(), 6), c.corner6, 1e-12, c.what);
  }
}

TEST(BlockDrag, ACornerOfAFlatBlockPushesTheFaceFirst) {
  CubePtr block = Dragged({0, 0, 0}, {2, 3, 0});
  SInt16 corner = 6;
  const Vector3d start = VertexAt(block.get(), 6), up{2, 3, 1.5};
  block->StretchToHandle(&corner, &start, nullptr, false);
  block->StretchToHandle(&corner, &up, nullptr, true);
  double lo[3], hi[3];
  block->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  EXPECT_EQ(lo[2], 0);
  EXPECT_EQ(hi[2], 1.5);
  EXPECT_EQ(hi[0], 2);
  EXPECT_EQ(hi[1], 3);
}

TEST(BlockTables, OppositesAndExtremes) {
  CubePtr block = Dragged({0, 0, 0}, {2, 3, 4});
  const SInt16 corners[][2] = {{0, 6}, {1, 7}, {2, 4}, {3, 5}, {6, 0}, {8, -1}, {-1, -1}};
  for (const auto& c : corners) EXPECT_EQ(block->OppositeCorner(c[0]), c[1]) << c[0];
  const SInt16 faces[][2] = {{0, 5}, {1, 3}, {2, 4}, {5, 0}, {6, -1}};
  for (const auto& f : faces) EXPECT_EQ(block->OppositeFace(f[0]), f[1]) << f[0];
  EXPECT_EQ(block->ExtremeCoordinate(2, true), 4.0);
  EXPECT_EQ(block->ExtremeCoordinate(0, false), 0.0);
  CubePtr empty(new VLCube);
  EXPECT_EQ(empty->ExtremeCoordinate(2, true), -105600.0);
  EXPECT_EQ(empty->ExtremeCoordinate(2, false), 105600.0);
}

TEST(BlockTables, PutLongSideFirstTurnsOnlyAShortFirstEdge) {
  CubePtr narrow = Dragged({0, 0, 0}, {2, 3, 1});
  narrow->PutLongSideFirst();
  ExpectNear(VertexAt(narrow.get(), 0), {2, 0, 0}, 0);
  ExpectNear(VertexAt(narrow.get(), 4), {2, 0, 1}, 0);
  CubePtr wide = Dragged({0, 0, 0}, {3, 2, 1});
  wide->PutLongSideFirst();
  ExpectNear(VertexAt(wide.get(), 0), {0, 0, 0}, 0);
}

TEST(BlockCanonicalize, AnyOrderOfFacesTakesTheLayoutsNumbers) {
  // The box (0,0,0)-(2,3,4) with its vertices numbered apart from the layout.
  const std::vector<Vector3d> vertices = {{2, 3, 4}, {0, 0, 0}, {2, 0, 4}, {0, 3, 0},
                                          {2, 3, 0}, {0, 0, 4}, {2, 0, 0}, {0, 3, 4}};
  // Layout corner k is vertex kAt[k].
  const SInt16 kAt[8] = {1, 6, 4, 3, 5, 2, 0, 7};
  std::vector<std::vector<SInt16>> layoutFaces;
  for (const auto& loop : boxlayout::kFaceLoops) {
    std::vector<SInt16> face;
    for (SInt16 k : loop) face.push_back(kAt[k]);
    layoutFaces.push_back(face);
  }
  std::vector<int> order = {0, 1, 2, 3, 4, 5};
  int permutations = 0;
  do {
    std::vector<std::vector<SInt16>> faces;
    for (int i : order) faces.push_back(layoutFaces[std::size_t(i)]);
    CubePtr block(new VLCube);
    modeltest::SetGeometry(block.get(), vertices, faces);
    block->Canonicalize();
    for (SInt16 f = 0; f < 6; ++f)
      ASSERT_EQ(modeltest::Loop(block.get(), f),
                std::vector<SInt16>(boxlayout::kFaceLoops[f], boxlayout::kFaceLoops[f] + 4));
    Vector3d expected[8];
    boxlayout::CornersOfExtent({0, 0, 0}, {2, 3, 4}, expected);
    for (SInt16 c = 0; c < 8; ++c) ASSERT_EQ(VertexAt(block.get(), c), expected[c]) << permutations;
    ++permutations;
  } while (std::next_permutation(order.begin(), order.end()));
  EXPECT_EQ(permutations, 720);

  // Two faces with the same normal cannot be told apart: unchanged.
  CubePtr odd(new VLCube);
  std::vector<std::vector<SInt16>> twice = layoutFaces;
  twice[5] = twice[0];
  modeltest::SetGeometry(odd.get(), vertices, twice);
  const std::vector<Vector3d> before = modeltest::Vertices(odd.get());
  odd->Canonicalize();
  EXPECT_EQ(modeltest::Vertices(odd.get()), before);
}

// ---- Walls ----

TEST(WallContinuation, GivesTheStatedCorners) {
  const struct {
    const char* what;
    Vector3d point;
    SInt16 end;
    std::vector<std::pair<SInt16, Vector3d>> block, copy;
  } cases[] = {
      {"straight on",
       {8, 1, 0},
       3,
       {{1, {4, 0, 0}}, {2, {4, 1, 0}}, {5, {4, 0, 3}}, {6, {4, 1, 3}}},
       {{0, {4, 0, 0}}, {3, {4, 1, 0}}, {4, {4, 0, 3}}, {7, {4, 1, 3}},
        {1, {8, 0, 0}}, {2, {8, 1, 0}}, {5, {8, 0, 3}}, {6, {8, 1, 3}}}},
      {"a turn toward +y",
       {4, 5, 0},
       3,
       {{1, {5, 0, 0}}, {5, {5, 0, 3}}, {2, {4, 1, 0}}, {6, {4, 1, 3}}},
       {{0, {5, 0, 0}}, {4, {5, 0, 3}}, {3, {4, 1, 0}}, {7, {4, 1, 3}},
        {2, {4, 5, 0}}, {1, {5, 5, 0}}, {6, {4, 5, 3}}, {5, {5, 5, 3}}}},
      {"straight on from the start",
       {-4, 1, 0},
       1,
       {{0, {0, 0, 0}}, {3, {0, 1, 0}}},
       {{1, {0, 0, 0}}, {2, {0, 1, 0}}, {0, {-4, 0, 0}}, {3, {-4, 1, 0}}, {4, {-4, 0, 3}}, {7, {-4, 1, 3}}}},
  };
  for (const auto& c : cases) {
    CubePtr block = Dragged({0, 0, 0}, {4, 1, 3});
    CubePtr copy(block->ContinueWall(&c.point, c.end, false));
    ASSERT_NE(copy, nullptr) << c.what;
    for (const auto& [corner, at] : c.block) ExpectNear(VertexAt(block.get(), corner), at, 1e-12, c.what);
    for (const auto& [corner, at] : c.copy) ExpectNear(VertexAt(copy.get(), corner), at, 1e-12, c.what);
  }
}

TEST(WallContinuation, GivesNoSegmentInsideTheBlockOrAtAUTurn) {
  const struct {
    const char* what;
    Vector3d point;
  } cases[] = {
      {"inside the block", {2, 0.5, 1}},
      {"straight back over the block's end", {3.5, 1, 0}},  // within the extent: no copy
      {"a U-turn back along the block", {-10, 1, 0}},
      {"straight above the pivot", {4, 1, 10}},
  };
  for (const auto& c : cases) {
    CubePtr block = Dragged({0, 0, 0}, {4, 1, 3});
    const std::vector<Vector3d> before = modeltest::Vertices(block.get());
    CubePtr copy(block->ContinueWall(&c.point, 3, false));
    EXPECT_EQ(copy, nullptr) << c.what;
    EXPECT_EQ(modeltest::Vertices(block.get()), before) << c.what;
  }
  // Nearly a U-turn still gives finite corners.
  CubePtr block = Dragged({0, 0, 0}, {4, 1, 3});
  const Vector3d sharp{4 - 100, 1 + 1.0, 0};
  CubePtr copy(block->ContinueWall(&sharp, 3, false));
  if (copy) {
    for (const Vector3d& v : modeltest::Vertices(copy.get())) EXPECT_TRUE(std::isfinite(v.x + v.y + v.z));
    for (const Vector3d& v : modeltest::Vertices(block.get())) EXPECT_LT(std::fabs(v.x), 1000);
  }
}

TEST(WallContinuation, FromTheNearestEndReportsTheEnd) {
  const struct {
    Vector3d point;
    SInt16 end;
  } cases[] = {{{6, 0.5, 0}, 3}, {{-2, 0.5, 0}, 1}};
  for (const auto& c : cases) {
    CubePtr block = Dragged({0, 0, 0}, {4, 1, 3});
    SInt16 end = 0;
    CubePtr copy(block->ContinueWallFromNearestEnd(&c.point, &end, false));
    EXPECT_NE(copy, nullptr);
    EXPECT_EQ(end, c.end);
  }
}

TEST(WallJoins, MeetInPlanMovesTheNearerEndsOrNothing) {
  // Face 4 (min y) of each block: loop 1, 0, 4, 5; positions 1 and 2 are corners 0 and 4.
  CubePtr a = Dragged({0, 0, 0}, {4, 1, 3});
  CubePtr parallel = Dragged({0, 2, 0}, {4, 3, 3});
  const std::vector<Vector3d> before = modeltest::Vertices(parallel.get());
  EXPECT_FALSE(a->MeetInPlan(4, parallel.get(), 4, 0, 1));
  EXPECT_EQ(modeltest::Vertices(parallel.get()), before);

  // Edge 0-1 of face 0 of a (y = 0, x from 0 to 4) crossed at its middle by a block standing
  // across it: the first ends move to the crossing.
  CubePtr across = Dragged({2, -2, 0}, {3, 2, 3});
  // across's face 1 (min x) loop 0, 3, 7, 4: positions 0 and 1 run from (2, -2) to (2, 2).
  EXPECT_TRUE(a->MeetInPlan(0, across.get(), 1, 0, 1));
  ExpectNear(VertexAt(a.get(), 0), {2, 0, 0}, 1e-12);
  ExpectNear(VertexAt(across.get(), 0), {2, 0, 0}, 1e-12);
}

}  // namespace
