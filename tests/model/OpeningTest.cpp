// Openings on their owners: placing them, the box, staying on the faces, imported boxes, the
// point-inside test, selection with the palette, picking through the hole, copies.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "OpeningTestSupport.h"

namespace {

using modeltest::ExpectNear;
using modeltest::ObjectListStandIn;
using modeltest::PaletteStandIn;
using modeltest::PrismRecord;
using modeltest::SelectionList;
using modeltest::ShownPhase;
using modeltest::VertexAt;
using openingtest::kWallBack;
using openingtest::kWallFront;
using openingtest::OwnerPtr;
using openingtest::ReadOwner;
using openingtest::Wall;
using openingtest::Window;

// An L-shaped prism, 0.5 high: the legs x in [0, 2], y in [0, 1] and x in [0, 1], y in [1, 2].
// Face 0 runs along x = 0, face 1 along y = 2, face 2 along x = 1 (y from 2 to 1), face 3 along
// y = 1 (x from 1 to 2), face 4 along x = 2 and face 5 along y = 0.
OwnerPtr LPrism() { return ReadOwner(PrismRecord({{0, 0, 0}, {0, 2, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {2, 0, 0}}, 0, 0.5)); }

TEST(PlacingAnOpening, FindsTheFaceBehindThePressedPoint) {
  ShownPhase phase;
  const struct {
    const char* what;
    Vector3d pressed;
    SInt16 face;
    SInt16 back;
    Vector3d behind;
  } cases[] = {
      {"front of the wall", {2, 0, 1}, kWallFront, kWallBack, {2, 1, 1}},
      {"back of the wall", {7, 1, 2}, kWallBack, kWallFront, {7, 0, 2}},
      {"end of the wall", {10, 0.5, 1}, 2, 0, {0, 0.5, 1}},
      {"top of the wall", {5, 0.25, 3}, 4, 5, {5, 0.25, 0}},
  };
  for (const auto& c : cases) {
    OwnerPtr wall = Wall();
    auto* opening = new CRectangularOpening;
    const std::array<Vector3d, 4> points{c.pressed, c.pressed, c.pressed, c.pressed};
    ASSERT_TRUE(opening->CreateOnFace(0, points.data(), c.face, wall.get())) << c.what;
    EXPECT_EQ(opening->frontFace, c.face) << c.what;
    EXPECT_EQ(opening->backFace, c.back) << c.what;
    EXPECT_EQ(wall->Openings(), std::vector<VLOpening*>{opening}) << c.what;
    for (SInt16 i = 0; i < 4; ++i) {
      ExpectNear(VertexAt(opening, i), c.pressed, 1e-12, c.what);
      ExpectNear(VertexAt(opening, SInt16(4 + i)), c.behind, 1e-12, c.what);
    }
    // Without extent yet: no side face is exported.
    opening->SetArrayPointers();
    for (SInt16 f = 0; f < opening->faceCount; ++f) EXPECT_TRUE(opening->faces[f].degenerate) << c.what;
    EXPECT_EQ(opening->color, wall->color);
    EXPECT_EQ(opening->phase, wall->phase);
  }
}

TEST(PlacingAnOpening, IsRefusedWithoutAFaceBehind) {
  // A sheet: its two faces lie in one plane, so nothing lies behind either.
  OwnerPtr sheet(new VLOpeningOwner);
  modeltest::MakeFlatRectangle(sheet.get());
  auto* opening = new CRectangularOpening;
  const Vector3d p{1, 0.5, 0};
  const std::array<Vector3d, 4> points{p, p, p, p};
  EXPECT_FALSE(opening->CreateOnFace(0, points.data(), 0, sheet.get()));
  EXPECT_LT(opening->backFace, 0);
  EXPECT_TRUE(sheet->Openings().empty());
  opening->Dispose();
}

TEST(PlacingAnOpening, StretchesOnlyOverOneFaceBehind) {
  OwnerPtr prism = LPrism();
  auto* opening = new CRectangularOpening;
  const std::array<Vector3d, 4> start{{{0.5, 0, 0.1}, {0.5, 0, 0.1}, {0.5, 0, 0.1}, {0.5, 0, 0.1}}};
  ASSERT_TRUE(opening->CreateOnFace(0, start.data(), 5, prism.get()));
  EXPECT_EQ(opening->backFace, 1);  // from under the narrow leg the ray reaches y = 2
  // Over x in [0.5, 0.8] every corner sees face 1 behind: the opening takes the four points.
  const std::array<Vector3d, 4> fits{{{0.5, 0, 0.1}, {0.8, 0, 0.1}, {0.8, 0, 0.4}, {0.5, 0, 0.4}}};
  ASSERT_TRUE(opening->CreateOnFace(1, fits.data(), 5, prism.get()));
  ExpectNear(VertexAt(opening, 6), {0.8, 2, 0.4}, 1e-12);
  // Reaching past x = 1 a corner sees face 3 behind: refused, the opening keeps its shape.
  const std::vector<Vector3d> before = modeltest::Vertices(opening);
  const std::array<Vector3d, 4> across{{{0.5, 0, 0.1}, {1.5, 0, 0.1}, {1.5, 0, 0.4}, {0.5, 0, 0.4}}};
  EXPECT_FALSE(opening->CreateOnFace(1, across.data(), 5, prism.get()));
  EXPECT_EQ(modeltest::Vertices(opening), before);
}

TEST(Openings, AStretchedBoxHasRevealsFacingIntoTheHoleAndFitsItsFaces) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  window->SetArrayPointers();
  const Vector3d middle{3, 0.5, 1.75};
  for (SInt16 f = 0; f < window->faceCount; ++f) {
    EXPECT_FALSE(window->faces[f].degenerate) << f;
    // The middle of the hole lies on the side each reveal's normal points to.
    const FaceRecord& face = window->faces[f];
    const Vector3d n{face.a, face.b, face.c};
    EXPECT_GT(PlaneEvaluate(&middle, &n, face.d), 0.0) << "side " << f;
  }
  // The outlines carry the planes of the wall's faces.
  EXPECT_NEAR(std::fabs(window->frontOutline.b), 1.0, 1e-12);
  EXPECT_NEAR(std::fabs(window->frontOutline.d), 0.0, 1e-12);
  EXPECT_NEAR(std::fabs(window->backOutline.d), 1.0, 1e-12);
  EXPECT_TRUE(window->FitsOwnerFaces());

  // Off the wall's end, the front outline no longer fits; refitting finds no place either.
  window->SetArrayPointers();
  window->vertices[1].x = 11;
  EXPECT_FALSE(window->FitsOwnerFaces());
  EXPECT_FALSE(window->RefitToFace(kWallFront));
}

TEST(Openings, RefitFollowsAFaceThatMoved) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  // The wall grows thicker: its back face moves to y = 1.5.
  wall->SetArrayPointers();
  for (SInt16 v = 0; v < wall->vertexCount; ++v)
    if (wall->vertices[v].y == 1) wall->vertices[v].y = 1.5;
  wall->VLUser3DObject::CalcFacePlanes();
  EXPECT_FALSE(window->FitsOwnerFaces());
  EXPECT_TRUE(window->RefitToFace(kWallBack));
  EXPECT_TRUE(window->FitsOwnerFaces());
  ExpectNear(VertexAt(window, 6), {4, 1.5, 2.5}, 1e-12);
  // Another face of the wall moves nothing.
  const std::vector<Vector3d> before = modeltest::Vertices(window);
  EXPECT_TRUE(window->RefitToFace(4));
  EXPECT_EQ(modeltest::Vertices(window), before);
}

TEST(Openings, AttachByGeometryFindsTheFacesHoldingEachOutline) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* placed = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(placed, nullptr);
  auto* copy = static_cast<CRectangularOpening*>(placed->MakeCopy(nullptr));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(wall->Openings().size(), 1u) << "a copy is in no list";
  copy->owner = nullptr;
  copy->frontFace = copy->backFace = 0;
  OwnerPtr other = Wall();
  EXPECT_TRUE(copy->AttachByGeometry(other.get()));
  EXPECT_EQ(copy->owner, other.get());
  EXPECT_EQ(copy->frontFace, kWallFront);
  EXPECT_EQ(copy->backFace, kWallBack);
  EXPECT_EQ(other->Openings(), std::vector<VLOpening*>{copy});

  // A wall elsewhere holds neither outline.
  auto* stray = static_cast<CRectangularOpening*>(placed->MakeCopy(nullptr));
  OwnerPtr far = ReadOwner(modeltest::BoxRecord({20, 0, 0}, {30, 1, 3}));
  EXPECT_FALSE(stray->AttachByGeometry(far.get()));
  EXPECT_TRUE(far->Openings().empty());
  stray->Dispose();
}

TEST(Openings, APointOnTheOutlineCountsAsInside) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  const struct {
    Vector3d point;
    bool front;
    bool inside;
  } cases[] = {
      {{3, 0, 2}, true, true},      {{2, 0, 2}, true, true},      // on the left side
      {{4, 0, 2.5}, true, true},    {{3, 1, 1}, false, true},     // a corner; the bottom at the back
      {{1.9, 0, 2}, true, false},   {{3, 0, 2.6}, true, false},   // beyond one side
      {{3, 1, 0.9}, false, false},  {{5, 0, 0.5}, true, false},   // below; beyond two sides
  };
  for (const auto& c : cases)
    EXPECT_EQ(window->ValidateOutline(c.front, &c.point), c.inside)
        << c.point.x << " " << c.point.y << " " << c.point.z << (c.front ? " front" : " back");
}

TEST(Openings, OutlinesCountAsFacesByTheirOwnNumbers) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  for (SInt16 v = 0; v < 8; ++v) {
    EXPECT_EQ(window->FaceHasVertex(VLOpening::kFrontOutlineFace, v), v < 4) << v;
    EXPECT_EQ(window->FaceHasVertex(VLOpening::kBackOutlineFace, v), v >= 4) << v;
  }
  EXPECT_TRUE(window->FaceHasVertex(0, 7));  // side face 0 is (0, 3, 7, 4)
  EXPECT_FALSE(window->FaceHasVertex(0, 1));
}

TEST(Openings, AreMeasuredInTheirWallAsTheViewSeesIt) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  const struct {
    const char* what;
    Vector3d towardEye;
    bool front;
  } cases[] = {{"from the front", {0, -1, 0}, true}, {"from the back", {0, 1, 0}, false}};
  for (const auto& c : cases) {
    std::unique_ptr<VLViewTransform> view = openingtest::ViewFrom(c.towardEye, {3, 0.5, 1.75});
    double height = 0, width = 0, depth = 0;
    Vector3d reference, normal;
    EXPECT_EQ(window->GetWallExtent(view.get(), &height, &width, &depth, &reference, &normal), c.front) << c.what;
    EXPECT_NEAR(height, 1.5, 1e-9) << c.what;
    EXPECT_NEAR(width, 2, 1e-9) << c.what;
    EXPECT_NEAR(depth, 1, 1e-9) << c.what;
    // The middle of the bottom edge, halfway through the wall; the normal toward the viewer.
    ExpectNear(reference, {3, 0.5, 1}, 1e-9, c.what);
    ExpectNear(normal, c.towardEye, 1e-12, c.what);
  }
}

TEST(ImportedOpenings, TakeTheBoxPointsInTheBlocksOrder) {
  OwnerPtr wall = Wall();
  std::array<Vector3d, 8> box;
  for (int i = 0; i < 8; ++i) box[std::size_t(i)] = Vector3d{double(i), 0, 0};
  {
    ObjectListStandIn list({nullptr, nullptr, wall.get()});
    wall->CreateOpening(box.data());
  }
  ASSERT_EQ(wall->Openings().size(), 1u);
  VLOpening* opening = wall->Openings()[0];
  EXPECT_EQ(opening->frontFace, 4);
  EXPECT_EQ(opening->backFace, 2);
  const int order[8] = {1, 0, 4, 5, 2, 3, 7, 6};
  for (SInt16 v = 0; v < 8; ++v) EXPECT_EQ(VertexAt(opening, v).x, order[v]) << v;
  ExpectNear(opening->oppositeFrontCorner, {4, 0, 0}, 0);

  // An owner that is not in the document's list gets no opening.
  OwnerPtr stray = Wall();
  ObjectListStandIn list({wall.get()});
  stray->CreateOpening(box.data());
  EXPECT_TRUE(stray->Openings().empty());
}

TEST(OpeningSelection, SelectingAnOpeningSelectsItsOwnerAndShowsTheOpening) {
  ShownPhase phase;
  SelectionList selection;
  PaletteStandIn palette;
  OwnerPtr wall = Wall();
  wall->SetArrayPointers();
  const SInt16 ownerReference = wall->referenceVertex;
  CRectangularOpening* first = Window(wall.get(), 2, 1, 4, 2.5);
  CRectangularOpening* second = Window(wall.get(), 6, 1, 8, 2.5);
  ASSERT_TRUE(first && second);

  second->Select();
  EXPECT_TRUE(wall->selected);
  EXPECT_EQ(selection.Objects(), std::vector<VLUser3DObject*>{wall.get()});
  EXPECT_EQ(wall->GetCurrentOpening(), second);
  EXPECT_TRUE(palette.LinkedWith(second));
  EXPECT_FALSE(palette.LinkedWith(wall.get()));
  // The palette shows where the opening sits in its wall.
  ASSERT_FALSE(palette.heard.empty());
  EXPECT_EQ(palette.heard.back().reason, kInfoShowMe);
  Vector3d expected = VertexAt(second, second->referenceVertex), ownerAt = VertexAt(wall.get(), ownerReference);
  VectorSubtract(&expected, &ownerAt, &expected);
  ExpectNear(palette.heard.back().record.position, expected, 1e-12);

  // The other opening, picked through the ray's hit point: the palette moves over to it.
  const Vector3d origin{3, -5, 2}, direction{0, 1, 0};
  wall->SelectHit(&origin, &direction, 5.0, kWallFront);
  EXPECT_EQ(wall->GetCurrentOpening(), first);
  EXPECT_TRUE(palette.LinkedWith(first));
  EXPECT_FALSE(palette.LinkedWith(second));
  // A hit on the wall outside every opening keeps the current one.
  const Vector3d wallOrigin{5, -5, 2};
  wall->SelectHit(&wallOrigin, &direction, 5.0, kWallFront);
  EXPECT_EQ(wall->GetCurrentOpening(), first);

  wall->Deselect();
  EXPECT_FALSE(wall->selected);
  EXPECT_FALSE(wall->HasCurrentOpening());
  EXPECT_FALSE(palette.LinkedWith(first));
  EXPECT_EQ(palette.heard.back().reason, kInfoDeselected);
  EXPECT_TRUE(selection.Objects().empty());
}

TEST(OpeningSelection, AnOpeningsPhaseIsItsOwners) {
  OwnerPtr wall = Wall();
  CRectangularOpening* first = Window(wall.get(), 2, 1, 4, 2.5);
  CRectangularOpening* second = Window(wall.get(), 6, 1, 8, 2.5);
  ASSERT_TRUE(first && second);
  first->SetPhase(3);
  EXPECT_EQ(wall->phase, 3);
  EXPECT_EQ(second->phase, 3);
}

TEST(OpeningPicking, ARayThroughTheHoleMeetsOnlyTheReveals) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  ASSERT_NE(Window(wall.get(), 2, 1, 4, 2.5), nullptr);
  const struct {
    const char* what;
    Vector3d origin, direction;
    bool hit;
    double distance;
  } cases[] = {
      {"the wall beside the window", {6, -5, 2}, {0, 1, 0}, true, 5.0},
      {"straight through the window", {3, -5, 2}, {0, 1, 0}, false, 0},
      // Slanting up through the hole: it meets the window's top reveal (z = 2.5) at y = 0.5.
      {"onto the top reveal", {3, -1, 1.75}, {0, 1, 0.5}, true, 1.5},
  };
  for (const auto& c : cases) {
    SInt16 face = -1;
    double distance = 1000.0;
    Vector3d normal;
    EXPECT_EQ(wall->IntersectRay(&face, &distance, &c.origin, &c.direction, &normal), c.hit) << c.what;
    if (c.hit) {
      EXPECT_NEAR(distance, c.distance, 1e-9) << c.what;
    }
  }
}

}  // namespace
