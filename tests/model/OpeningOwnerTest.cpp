// Opening owners: the openings follow the owner's edits, leave it when they no longer fit (kept
// for the edit's undo), and are copied, deleted and handed out with it.
#include <gtest/gtest.h>

#include <vector>

#include "Memory.h"
#include "OpeningTestSupport.h"

namespace {

using modeltest::ExpectNear;
using modeltest::SelectionList;
using modeltest::ShownPhase;
using modeltest::VertexAt;
using modeltest::Vertices;
using openingtest::kWallBack;
using openingtest::kWallFront;
using openingtest::OwnerPtr;
using openingtest::Wall;
using openingtest::Window;

std::vector<Vector3d> Moved(std::vector<Vector3d> points, const Vector3d& offset) {
  for (Vector3d& p : points) VectorAdd(&p, &offset, &p);
  return points;
}

TEST(OpeningOwners, MovingTheOwnerOrOneOfItsFacesTakesTheOpeningsAlong) {
  ShownPhase phase;
  const Vector3d offset{1, -0.5, 0};
  {
    OwnerPtr wall = Wall();
    CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
    const std::vector<Vector3d> before = Vertices(window);
    wall->Move(&offset);
    EXPECT_EQ(Vertices(window), Moved(before, offset)) << "the whole wall";
  }
  {
    // The wall's front face moves out: the openings on it stretch with it, others stay.
    OwnerPtr wall = Wall();
    CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
    CRectangularOpening* onTop = openingtest::PlaceOpening(
        wall.get(), 4, {{{6, 0.25, 3}, {7, 0.25, 3}, {7, 0.75, 3}, {6, 0.75, 3}}});
    ASSERT_TRUE(window && onTop);
    const std::vector<Vector3d> before = Vertices(window), topBefore = Vertices(onTop);
    const Vector3d out{0, -0.5, 0};
    wall->faceMode = 1;
    wall->currentFace = kWallFront;
    wall->Move(&out);
    for (SInt16 v = 0; v < 8; ++v)
      ExpectNear(VertexAt(window, v), v < 4 ? Moved({before[std::size_t(v)]}, out)[0] : before[std::size_t(v)], 1e-12);
    EXPECT_EQ(Vertices(onTop), topBefore);
    EXPECT_TRUE(window->FitsOwnerFaces());
  }
}

TEST(OpeningOwners, ARebuildKeepsEveryOpeningThatNoLongerFitsForTheUndo) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* stays = Window(wall.get(), 0.5, 1, 1.5, 2);
  CRectangularOpening* first = Window(wall.get(), 2, 1, 4, 2.5);
  CRectangularOpening* second = Window(wall.get(), 6, 1, 8, 2.5);
  ASSERT_TRUE(stays && first && second);
  Handle before = wall->CopyVertices();

  // The wall shrinks to 3 long: two windows no longer fit.
  wall->SetArrayPointers();
  for (SInt16 v = 0; v < wall->vertexCount; ++v)
    if (wall->vertices[v].x == 10) wall->vertices[v].x = 3;
  wall->GeometryChanged();
  EXPECT_EQ(wall->Openings(), std::vector<VLOpening*>{stays});
  EXPECT_EQ(wall->RemovedOpenings(), (std::vector<VLOpening*>{second, first}));
  EXPECT_FALSE(wall->HasCurrentOpening());

  // The undo puts the wall back and gives both windows back.
  wall->SetVertices(before);
  PortFreeHandle(before);
  wall->RestoreRemovedOpenings();
  EXPECT_EQ(wall->Openings(), (std::vector<VLOpening*>{stays, first, second}));
  EXPECT_TRUE(wall->RemovedOpenings().empty());
  wall->GeometryChanged();
  EXPECT_EQ(wall->Openings().size(), 3u);
  for (VLOpening* opening : wall->Openings()) EXPECT_TRUE(opening->FitsOwnerFaces());
}

TEST(OpeningOwners, AnEdgeMoveKeepsTheOpeningsItPushesOffTheWall) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);
  // The edge between the front face and the top comes down to z = 1: the window's top is off.
  wall->SetArrayPointers();
  SInt16 edge = -1;
  for (SInt16 e = 0; e < wall->edgeCount; ++e) {
    const Vector3d a = wall->vertices[wall->edges[e].a], b = wall->vertices[wall->edges[e].b];
    if (a.y == 0 && b.y == 0 && a.z == 3 && b.z == 3) edge = e;
  }
  ASSERT_GE(edge, 0);
  Vector3d down{0, 0, -2};
  wall->MoveEdge(edge, &down, 0);
  EXPECT_TRUE(wall->Openings().empty());
  EXPECT_EQ(wall->RemovedOpenings(), std::vector<VLOpening*>{window});
}

TEST(OpeningOwners, CopiesCarryCopiesOfTheOpeningsAndDropTheRemovedRecord) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  CRectangularOpening* removed = Window(wall.get(), 6, 1, 8, 2.5);
  ASSERT_TRUE(window && removed);
  wall->RemoveOpening(removed);
  wall->RestoreRemovedOpenings();  // nothing recorded: nothing changes
  ASSERT_EQ(wall->Openings(), std::vector<VLOpening*>{window});
  removed->Dispose();

  OwnerPtr copy(static_cast<VLOpeningOwner*>(wall->MakeCopy(nullptr)));
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->Openings().size(), 1u);
  VLOpening* copied = copy->Openings()[0];
  EXPECT_NE(copied, window);
  EXPECT_NE(dynamic_cast<CRectangularOpening*>(copied), nullptr);
  EXPECT_EQ(copied->owner, copy.get());
  EXPECT_EQ(Vertices(copied), Vertices(window));
  EXPECT_EQ(copied->frontFace, kWallFront);
  EXPECT_EQ(copied->backFace, kWallBack);
  EXPECT_EQ(wall->Openings(), std::vector<VLOpening*>{window});

  // The list of copies belongs to the caller.
  VLArray* copies = wall->CopyOpenings();
  ASSERT_NE(copies, nullptr);
  ASSERT_EQ(copies->GetNumItems(), 1);
  auto* listed = static_cast<VLOpening*>(copies->PointerAt(1));
  EXPECT_EQ(listed->owner, wall.get());
  EXPECT_EQ(wall->Openings().size(), 1u) << "in no owner's list";
  listed->Dispose();
  delete copies;

  // Recording the wall's state drops what an earlier edit took off.
  wall->SetArrayPointers();
  for (SInt16 v = 0; v < wall->vertexCount; ++v)
    if (wall->vertices[v].x == 10) wall->vertices[v].x = 3;
  wall->GeometryChanged();
  ASSERT_EQ(wall->RemovedOpenings().size(), 1u);
  OwnerPtr recorded(static_cast<VLOpeningOwner*>(wall->MakeCopy(nullptr)));
  EXPECT_TRUE(wall->RemovedOpenings().empty());
  EXPECT_TRUE(recorded->RemovedOpenings().empty());
}

TEST(OpeningOwners, TheCurrentOpeningIsDeletedOrHandedOut) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* first = Window(wall.get(), 2, 1, 4, 2.5);
  CRectangularOpening* second = Window(wall.get(), 6, 1, 8, 2.5);
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(wall->DeleteCurrentOpening());
  EXPECT_EQ(wall->DetachCurrentOpening(), nullptr);
  EXPECT_EQ(wall->Openings().size(), 2u);

  wall->RefreshOpenings(second);
  EXPECT_EQ(wall->openingCount, 2);
  EXPECT_EQ(wall->DetachCurrentOpening(), second);
  EXPECT_FALSE(wall->HasCurrentOpening());
  second->AttachToOwner();  // the drawing tool's redo
  EXPECT_EQ(wall->Openings(), (std::vector<VLOpening*>{first, second}));

  wall->RefreshOpenings(first);
  EXPECT_TRUE(wall->DeleteCurrentOpening());
  EXPECT_EQ(wall->Openings(), std::vector<VLOpening*>{second});
  EXPECT_FALSE(wall->HasCurrentOpening());
}

TEST(OpeningOwners, ADuplicateOfTheOwnerIsSelectedAndMovedWithItsOpenings) {
  ShownPhase phase;
  SelectionList selection;
  OwnerPtr wall = Wall();
  ASSERT_NE(Window(wall.get(), 2, 1, 4, 2.5), nullptr);
  const Vector3d offset{0, 5, 0};
  VLUser3DObject* made = nullptr;
  wall->DuplicateMoved(&made, &offset);
  OwnerPtr copy(static_cast<VLOpeningOwner*>(made));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(selection.Objects(), std::vector<VLUser3DObject*>{copy.get()});
  ASSERT_EQ(copy->Openings().size(), 1u);
  ExpectNear(VertexAt(copy->Openings()[0], 0), {2, 5, 1}, 1e-12);
  EXPECT_TRUE(copy->Openings()[0]->FitsOwnerFaces());
  copy->Deselect();
}

}  // namespace
