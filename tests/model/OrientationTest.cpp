#include <gtest/gtest.h>

#include <vector>

#include "ModelTestSupport.h"

namespace {

using modeltest::Loop;
using modeltest::MakeBlock;
using modeltest::MakeFlatRectangle;
using modeltest::MakeLExtrusion;
using modeltest::NewObject;
using modeltest::Normal;
using modeltest::ObjectPtr;
using modeltest::SetGeometry;

std::vector<std::vector<SInt16>> Loops(VLUser3DObject* object) {
  std::vector<std::vector<SInt16>> loops;
  for (SInt16 f = 0; f < object->faceCount; ++f) loops.push_back(Loop(object, f));
  return loops;
}

std::vector<Vector3d> Normals(VLUser3DObject* object) {
  std::vector<Vector3d> normals;
  for (SInt16 f = 0; f < object->faceCount; ++f) normals.push_back(Normal(object, f));
  return normals;
}

// Turns some faces inside out, recomputing their planes as an edit would leave them.
void ReverseFaces(VLUser3DObject* object, std::initializer_list<SInt16> faces) {
  for (SInt16 f : faces) object->ReverseFace(f);
  object->CalcFacePlanes();
}

TEST(Orientation, ReversedFacesAreSetRight) {
  // A block with its top turned in, and an L-shaped extrusion whose two inner-corner faces (they
  // see vertices on both sides) and one outer face are turned in: the inner ones settle only
  // through the edges they share with settled neighbours.
  const struct {
    const char* what;
    void (*make)(VLUser3DObject*);
    std::initializer_list<SInt16> reversed;
  } cases[] = {
      {"block, top", MakeBlock, {4}},
      {"block, top and two sides", MakeBlock, {4, 0, 3}},
      {"L, inner corner", MakeLExtrusion, {2, 3}},
      {"L, inner corner and an outer side", MakeLExtrusion, {2, 3, 5}},
  };
  for (const auto& c : cases) {
    ObjectPtr solid = NewObject();
    c.make(solid.get());
    const auto loops = Loops(solid.get());
    const auto normals = Normals(solid.get());
    ReverseFaces(solid.get(), c.reversed);
    ASSERT_NE(Normals(solid.get()), normals) << c.what;
    solid->OrientFaces();
    EXPECT_EQ(Loops(solid.get()), loops) << c.what;
    EXPECT_EQ(Normals(solid.get()), normals) << c.what;
  }
}

TEST(Orientation, FlatObjectKeepsItsLoops) {
  // Every vertex lies in the plane of both faces: a flat object has no inside, so no call turns
  // either loop, whichever way they run.
  for (bool reversed : {false, true}) {
    ObjectPtr flat = NewObject();
    MakeFlatRectangle(flat.get());
    if (reversed) ReverseFaces(flat.get(), {0});
    const auto loops = Loops(flat.get());
    flat->OrientFaces();
    EXPECT_EQ(Loops(flat.get()), loops) << (reversed ? "upper face reversed" : "as made");
    flat->OrientFaces();
    EXPECT_EQ(Loops(flat.get()), loops) << (reversed ? "upper face reversed" : "as made");
  }
}

TEST(Orientation, NonPlanarFaceFollowsItsSettledNeighbours) {
  // The block's corner (1, 1, 1) raised: the top is no longer planar, the two sides through that
  // corner still are. The top turns only when a settled neighbour runs along a shared edge the
  // same way, that is when it points in.
  for (bool reversed : {false, true}) {
    ObjectPtr block = NewObject();
    MakeBlock(block.get());
    const auto loops = Loops(block.get());
    block->SetArrayPointers();
    block->vertices[6].z = 1.1;
    if (reversed) block->ReverseFace(4);
    block->OrientFaces();
    EXPECT_EQ(Loop(block.get(), 4), loops[4]) << (reversed ? "reversed" : "as made");
  }
}

TEST(Orientation, NothingSettledLeavesTheObjectAlone) {
  // One triangle with vertices on both sides of its plane: no face can be settled, so neither the
  // loop nor the (slightly off) stored plane changes.
  ObjectPtr object = NewObject();
  SetGeometry(object.get(), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, -1}}, {{0, 1, 2}});
  object->SetArrayPointers();
  object->faces[0].d = 0.0005;
  const auto loops = Loops(object.get());
  object->OrientFaces();
  object->SetArrayPointers();
  EXPECT_EQ(Loops(object.get()), loops);
  EXPECT_EQ(object->faces[0].d, 0.0005);
}

TEST(Orientation, CompareFaceOrientation) {
  ObjectPtr block = NewObject();
  MakeBlock(block.get());
  block->SetArrayPointers();
  const FaceRecord* faces = block->faces;
  EXPECT_EQ(block->CompareFaceOrientation(&faces[4], &faces[0]), -1) << "top and a side";
  EXPECT_EQ(block->CompareFaceOrientation(&faces[0], &faces[1]), -1) << "two sides";
  EXPECT_EQ(block->CompareFaceOrientation(&faces[2], &faces[2]), 1) << "a face with itself";
  EXPECT_EQ(block->CompareFaceOrientation(&faces[4], &faces[5]), 0) << "top and bottom share no edge";
  block->ReverseFace(4);
  block->SetArrayPointers();
  EXPECT_EQ(block->CompareFaceOrientation(&block->faces[4], &block->faces[0]), 1) << "top turned in";
}

TEST(Orientation, CheckFaceOrientationMatchesTheStoredNormal) {
  ObjectPtr block = NewObject();
  MakeBlock(block.get());
  const auto loops = Loops(block.get());
  EXPECT_FALSE(block->CheckFaceOrientation(4));
  EXPECT_EQ(Loops(block.get()), loops);
  // Writing the wanted normal into the record turns the loop to match it.
  block->SetArrayPointers();
  block->faces[4].c = -1;
  EXPECT_TRUE(block->CheckFaceOrientation(4));
  EXPECT_EQ(Loop(block.get(), 4), (std::vector<SInt16>{4, 5, 6, 7}));
}

TEST(Convexity, BlockAndL) {
  ObjectPtr block = NewObject(), l = NewObject(), flat = NewObject();
  MakeBlock(block.get());
  MakeLExtrusion(l.get());
  EXPECT_FALSE(block->CheckConvexity());
  EXPECT_FALSE(block->nonConvex);
  EXPECT_TRUE(l->CheckConvexity());
  EXPECT_TRUE(l->nonConvex);
  // Top and a side of a block are perpendicular, and going out of the top one stays behind the side.
  EXPECT_FALSE(block->FacePlaneInFront(4, 0, false));
  // Opposite faces: the bottom's plane lies behind the top.
  EXPECT_FALSE(block->FacePlaneInFront(4, 5, false));
  // A face whose normal agrees with the other's counts only when asked to, and then by distance.
  EXPECT_FALSE(l->FacePlaneInFront(2, 4, false));
  // The L's inner face y = 1 (normal +y) meets the plane of its inner face x = 1 going out.
  EXPECT_TRUE(l->FacePlaneInFront(3, 2, false) || l->FacePlaneInFront(2, 3, false));
  // A degenerate face makes any object count as non-convex.
  SetGeometry(flat.get(), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}}, {{0, 1, 2}, {0, 3, 1}});
  EXPECT_TRUE(flat->CheckConvexity());
}

}  // namespace
