// Edits of an opening: each keeps its outlines on the owner's two faces or undoes itself.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "Alerts.h"
#include "OpeningTestSupport.h"

namespace {

using modeltest::ExpectNear;
using vlui::BeepCount;
using modeltest::PaletteStandIn;
using modeltest::PrismRecord;
using modeltest::ShownPhase;
using modeltest::VertexAt;
using modeltest::Vertices;
using openingtest::CurrentView;
using openingtest::kWallFront;
using openingtest::OwnerPtr;
using openingtest::ReadOwner;
using openingtest::ViewFrom;
using openingtest::Wall;
using openingtest::Window;

// The front and back outline of a rectangular window of the wall, x0..x1 by z0..z1.
std::vector<Vector3d> WindowBox(double x0, double z0, double x1, double z1, double back = 1) {
  return {{x0, 0, z0}, {x1, 0, z0}, {x1, 0, z1}, {x0, 0, z1}, {x0, back, z0}, {x1, back, z0}, {x1, back, z1}, {x0, back, z1}};
}

void ExpectBox(VLUser3DObject* opening, const std::vector<Vector3d>& expected, const std::string& what) {
  ASSERT_EQ(opening->vertexCount, SInt16(expected.size())) << what;
  for (SInt16 v = 0; v < opening->vertexCount; ++v)
    ExpectNear(VertexAt(opening, v), expected[std::size_t(v)], 1e-9, what + ", vertex " + std::to_string(v));
}

TEST(MovingAnOpening, StaysInItsWallOrBeepsAndStays) {
  ShownPhase phase;
  const struct {
    const char* what;
    Vector3d offset;
    bool moves;
  } cases[] = {
      {"along the wall", {2, 0, 0}, true},
      {"up within the wall", {0, 0, 0.5}, true},
      {"past the end of the wall", {7, 0, 0}, false},
      {"out through the top", {0, 0, 1}, false},
      {"into the wall", {0, 0.5, 0}, false},
  };
  for (const auto& c : cases) {
    OwnerPtr wall = Wall();
    CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
    ASSERT_NE(window, nullptr);
    const std::vector<Vector3d> wallBefore = Vertices(wall.get());
    // The user moves the owner's current opening: only the opening moves.
    wall->RefreshOpenings(window);
    const long beeps = BeepCount();
    wall->Move(&c.offset);
    EXPECT_EQ(Vertices(wall.get()), wallBefore) << c.what;
    EXPECT_EQ(BeepCount() - beeps, c.moves ? 0 : 1) << c.what;
    std::vector<Vector3d> expected = WindowBox(2, 1, 4, 2.5);
    if (c.moves)
      for (Vector3d& p : expected) VectorAdd(&p, &c.offset, &p);
    ExpectBox(window, expected, c.what);
    EXPECT_TRUE(window->FitsOwnerFaces()) << c.what;
  }
}

TEST(MovingAnOpening, CastsItsBackOutlineAnewInAWallOfVaryingThickness) {
  ShownPhase phase;
  // The back face runs from (0, 1) to (10, 2): the wall thickens along x.
  OwnerPtr wall = ReadOwner(PrismRecord({{0, 0, 0}, {0, 1, 0}, {10, 2, 0}, {10, 0, 0}}, 0, 3));
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->backFace, 1);
  const long beeps = BeepCount();
  const Vector3d offset{4, 0, 0};
  window->Move(&offset);
  EXPECT_EQ(BeepCount(), beeps);
  const std::vector<Vector3d> front = {{6, 0, 1}, {8, 0, 1}, {8, 0, 2.5}, {6, 0, 2.5}};
  for (SInt16 i = 0; i < 4; ++i) {
    ExpectNear(VertexAt(window, i), front[std::size_t(i)], 1e-9);
    const Vector3d behind{front[std::size_t(i)].x, 1 + front[std::size_t(i)].x / 10, front[std::size_t(i)].z};
    ExpectNear(VertexAt(window, SInt16(4 + i)), behind, 1e-9);
  }
}

TEST(DraggingACorner, KeepsTheOpeningARectangleAroundTheOppositeCorner) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  SInt16 corner = 2;  // the top right of the front outline
  const Vector3d first{5, 0, 2}, then{6, 0, 2.8};
  wall->RefreshOpenings(window);
  wall->StretchToHandle(&corner, &first, nullptr, false);
  ExpectBox(window, WindowBox(2, 1, 5, 2), "first step");
  wall->StretchToHandle(&corner, &then, nullptr, true);
  ExpectBox(window, WindowBox(2, 1, 6, 2.8), "next step");

  // A corner of the back outline: the front follows.
  SInt16 back = 4;  // the back's bottom left
  const Vector3d lower{1, 1, 0.5};
  window->StretchToHandle(&back, &lower, nullptr, false);
  ExpectBox(window, WindowBox(1, 0.5, 6, 2.8), "a back corner");

  // Off the wall: the drag step is undone.
  const Vector3d outside{6, 0, 3.5};
  window->StretchToHandle(&corner, &outside, nullptr, false);
  ExpectBox(window, WindowBox(1, 0.5, 6, 2.8), "off the wall");
}

TEST(DraggingACorner, OntoAnotherFaceBehindIsUndone) {
  ShownPhase phase;
  // An L: beyond x = 1 the face behind y = 0 is the inner face y = 1, not y = 2.
  OwnerPtr prism = ReadOwner(PrismRecord({{0, 0, 0}, {0, 2, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {2, 0, 0}}, 0, 0.5));
  CRectangularOpening* opening =
      openingtest::PlaceOpening(prism.get(), 5, {{{0.2, 0, 0.1}, {0.6, 0, 0.1}, {0.6, 0, 0.4}, {0.2, 0, 0.4}}});
  ASSERT_NE(opening, nullptr);
  const std::vector<Vector3d> before = Vertices(opening);
  SInt16 corner = 2;
  const Vector3d across{1.5, 0, 0.4};
  opening->StretchToHandle(&corner, &across, nullptr, false);
  EXPECT_EQ(Vertices(opening), before);
}

TEST(DrawingAnOpening, DropsTheDraggedCornerOntoTheOwnersBackFace) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  auto* window = new CRectangularOpening;
  const Vector3d pressed{2, 0, 1};
  const std::array<Vector3d, 4> points{pressed, pressed, pressed, pressed};
  ASSERT_TRUE(window->CreateOnFace(0, points.data(), kWallFront, wall.get()));
  const Vector3d corner{4, 0, 2.5};
  EXPECT_FALSE(window->BuildGeometry(nullptr, 0, &corner, -1, nullptr));
  ASSERT_TRUE(window->BuildGeometry(nullptr, 1, &corner, -1, nullptr));
  ExpectNear(window->oppositeBackCorner, {4, 1, 2.5}, 1e-12);
  ExpectBox(window, WindowBox(2, 1, 4, 2.5), "snapped");
  EXPECT_TRUE(window->FitsOwnerFaces());
}

TEST(EditingAnOpening, VertexMovesScalingAndStretchingStayOnTheFaces) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);

  // A vertex takes its partner on the other side along.
  const Vector3d right{5, 0, 2.5};
  window->MoveVertex(2, &right, 0);
  ExpectNear(VertexAt(window, 6), {5, 1, 2.5}, 1e-12);
  const std::vector<Vector3d> moved = Vertices(window);
  const Vector3d out{11, 0, 2.5};
  window->MoveVertex(2, &out, 0);
  EXPECT_EQ(Vertices(window), moved);

  // Scaled past the wall's end: back, with the beep; stretched past it: back, silently.
  const Vector3d centre{2, 0, 1}, twice{2, 1, 1}, far{5, 1, 1};
  long beeps = BeepCount();
  window->ScaleAbout(&centre, &twice);
  EXPECT_EQ(BeepCount(), beeps);
  const std::vector<Vector3d> scaled = Vertices(window);
  EXPECT_NEAR(scaled[1].x, 2 + 2 * (4 - 2), 1e-12);
  window->ScaleAbout(&centre, &far);
  EXPECT_EQ(Vertices(window), scaled);
  EXPECT_EQ(BeepCount(), beeps + 1);
  Vector3d anchor = centre, factors = far, handle = VertexAt(window, 2);
  beeps = BeepCount();
  window->Stretch(&anchor, &factors, &handle);
  EXPECT_EQ(Vertices(window), scaled);
  EXPECT_EQ(BeepCount(), beeps);
}

// A wall whose front face's frame (as a view pane would give it) runs along -x, with y up: its
// bottom right corner is drawn nearest the pane's left middle.
OwnerPtr FramedWall() {
  OwnerPtr wall = Wall();
  wall->SetArrayPointers();
  for (SInt16 v = 0; v < wall->vertexCount; ++v) {
    const Vector3d& p = wall->vertices[v];
    const bool bottomRight = p.x == 10 && p.y == 0 && p.z == 0;
    wall->screenPoints[v] = bottomRight ? Vector3d{0, 100, 0} : Vector3d{1000, 1000, 0};
  }
  return wall;
}

TEST(DuplicatingAnOpening, GoesOneWidthAsideOrToTheOtherSide) {
  ShownPhase phase;
  std::unique_ptr<VLViewTransform> view = ViewFrom({0, -1, 0}, {5, 0, 1.5});
  CurrentView current(view.get());
  const struct {
    const char* what;
    double x0, x1;
    Vector3d offset;
    double copyX0, copyZ0;
  } cases[] = {
      {"beside it, the way the face runs", 6, 8, {0, 0, 0}, 4, 1},
      {"beside it, a small offset", 6, 8, {1.5, 0, 0}, 4, 1},
      {"no room that way: the other side", 0.5, 2.5, {0, 0, 0}, 2.5, 1},
      {"by an offset wider than the opening", 6, 8, {3, 0.5, 0}, 3, 1.5},
  };
  for (const auto& c : cases) {
    OwnerPtr wall = FramedWall();
    CRectangularOpening* window = Window(wall.get(), c.x0, 1, c.x1, 2.5);
    ASSERT_NE(window, nullptr);
    wall->RefreshOpenings(window);
    VLUser3DObject* copy = nullptr;
    wall->DuplicateMoved(&copy, &c.offset);
    ASSERT_NE(copy, nullptr) << c.what;
    EXPECT_EQ(wall->Openings(), (std::vector<VLOpening*>{window, static_cast<VLOpening*>(copy)})) << c.what;
    const double width = c.x1 - c.x0;
    ExpectBox(copy, WindowBox(c.copyX0, c.copyZ0, c.copyX0 + width, c.copyZ0 + 1.5), c.what);
    ExpectBox(window, WindowBox(c.x0, 1, c.x1, 2.5), c.what);
  }
}

TEST(DuplicatingAnOpening, WithoutRoomOrWithoutAViewThereIsNone) {
  ShownPhase phase;
  std::unique_ptr<VLViewTransform> view = ViewFrom({0, -1, 0}, {5, 0, 1.5});
  OwnerPtr wall = FramedWall();
  CRectangularOpening* wide = Window(wall.get(), 0.5, 1, 9.5, 2.5);
  ASSERT_NE(wide, nullptr);
  wall->RefreshOpenings(wide);
  const Vector3d none{0, 0, 0};
  VLUser3DObject* copy = nullptr;
  wall->DuplicateMoved(&copy, &none);
  EXPECT_EQ(copy, nullptr) << "no view pane";
  CurrentView current(view.get());
  const long beeps = BeepCount();
  wall->DuplicateMoved(&copy, &none);
  EXPECT_EQ(copy, nullptr) << "no room on either side";
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_EQ(wall->Openings().size(), 1u);
}

TEST(NudgingAnOpening, MovesItInTheFrameOfTheFaceTheViewSees) {
  ShownPhase phase;
  std::unique_ptr<VLViewTransform> view = ViewFrom({0, -1, 0}, {5, 0, 1.5});
  CurrentView current(view.get());
  const struct {
    const char* what;
    Vector3d offset;
    double x0, z0;
  } cases[] = {
      {"along and up", {1, 0, 0.5}, 5, 1.5},
      {"along and down", {-1, 0.25, 0.5}, 7, 0.75},
      {"past the end: stays", {7, 0, 0}, 6, 1},
  };
  for (const auto& c : cases) {
    OwnerPtr wall = FramedWall();
    CRectangularOpening* window = Window(wall.get(), 6, 1, 8, 2.5);
    ASSERT_NE(window, nullptr);
    wall->RefreshOpenings(window);
    wall->Nudge(&c.offset);
    ExpectBox(window, WindowBox(c.x0, c.z0, c.x0 + 2, c.z0 + 1.5), c.what);
  }
}

TEST(PaletteEdits, PlaceAndSizeTheOpeningInItsWall) {
  ShownPhase phase;
  PaletteStandIn palette;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  CCollaborator* sender = palette.PaletteCollaborator();
  const Vector3d ownerAt = VertexAt(wall.get(), wall->referenceVertex);
  // Typed positions are relative to the wall.
  const auto typedAt = [&ownerAt](Vector3d inWall) {
    ObjectInfoRecord typed;
    VectorAdd(&ownerAt, &inWall, &typed.position);
    return typed;
  };
  window->ConnectInfoBox();

  ObjectInfoRecord typed = typedAt({5, 0, 1.25});
  window->ProviderChanged(sender, kInfoMoved, &typed);
  ExpectBox(window, WindowBox(5, 1.25, 7, 2.75), "placed");
  ASSERT_FALSE(palette.heard.empty());
  EXPECT_EQ(palette.heard.back().reason, kInfoChanged) << "the palette is told what was done";

  typed = typedAt({9, 0, 1.25});
  const long beeps = BeepCount();
  window->ProviderChanged(sender, kInfoMoved, &typed);
  ExpectBox(window, WindowBox(5, 1.25, 7, 2.75), "placed past the end");
  EXPECT_EQ(BeepCount(), beeps + 1);

  typed.size = Vector3d{3, 1, 1};
  window->ProviderChanged(sender, kInfoResized, &typed);
  ExpectBox(window, WindowBox(5, 1.25, 8, 2.25), "sized");
  typed.size = Vector3d{6, 1, 1};
  window->ProviderChanged(sender, kInfoResized, &typed);
  ExpectBox(window, WindowBox(5, 1.25, 8, 2.25), "sized past the end");
}

}  // namespace
