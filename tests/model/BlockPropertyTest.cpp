// Random drags, reshapes and flips on blocks and on groups of blocks: every vertex stays finite
// after every step, and faces stay flat within 0.001 after the steps that keep a box a box
// (vertex and edge moves may bend faces, and the check rests until the next new block).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "BlockTestSupport.h"
#include "CGroup.h"
#include "PropertyTestSupport.h"

namespace {

using blocktest::CubePtr;
using blocktest::Dragged;
using proptest::Bend;
using proptest::Finite;
using proptest::Random;

constexpr double kPlanar = 0.001;
constexpr unsigned kSeeds = 12;
constexpr int kSteps = 40;

struct BlockStep {
  const char* name;
  bool keepsFlat;
  // Changes the block; a wall segment it makes comes back through *made.
  void (*apply)(VLCube* block, Random& r, CubePtr* made);
};

void DragCorner(VLUser3DObject* object, Random& r) {
  SInt16 corner = SInt16(r.Below(8));
  object->SetArrayPointers();
  const Vector3d start = object->vertices[corner];
  object->StretchToHandle(&corner, &start, nullptr, false);
  for (int i = 0; i < 3; ++i) {
    const Vector3d to = r.Point(8);
    object->StretchToHandle(&corner, &to, nullptr, true);
  }
}

void FlipRandomly(VLUser3DObject* object, Random& r) {
  object->Flip(SInt16(r.Below(3)), r.Between(-3, 3), r.Between(-2, 2));
}

const BlockStep kBlockSteps[] = {
    {"creation drag", true,
     [](VLCube* b, Random& r, CubePtr*) {
       const Vector3d from = r.Point(6), to = r.Point(6);
       b->BuildGeometry(nullptr, false, &from, -1, nullptr);
       b->BuildGeometry(nullptr, true, &to, -1, nullptr);
     }},
    {"corner drag", true, [](VLCube* b, Random& r, CubePtr*) { DragCorner(b, r); }},
    {"face push", true,
     [](VLCube* b, Random& r, CubePtr*) {
       Vector3d offset;
       VectorComponent(offset, r.Below(3)) = r.Between(-2, 2);
       SInt16 none = -1;
       b->PushFace(&offset, &none);
     }},
    {"flip", true, [](VLCube* b, Random& r, CubePtr*) { FlipRandomly(b, r); }},
    {"canonicalise", true, [](VLCube* b, Random&, CubePtr*) { b->Canonicalize(); }},
    {"wall continuation", true,
     [](VLCube* b, Random& r, CubePtr* made) {
       // Clicked at the height of the block's bottom corners, or of its top corners for the top
       // pair, as on a plane through them: a turn that also climbs would bend the faces it tilts.
       const UInt8 topPair = UInt8(r.Below(2));
       Vector3d to = r.Point(12);
       to.z = modeltest::VertexAt(b, topPair ? 4 : 0).z;
       SInt16 end = 0;
       made->reset(r.Below(2) ? b->ContinueWall(&to, SInt16(r.Below(2) ? 3 : 1), topPair)
                              : b->ContinueWallFromNearestEnd(&to, &end, topPair));
     }},
    {"vertex move", false,
     [](VLCube* b, Random& r, CubePtr*) {
       const Vector3d to = r.Point(8);
       b->MoveVertex(SInt16(r.Below(8)), &to, 0);
     }},
    {"edge move", false,
     [](VLCube* b, Random& r, CubePtr*) {
       Vector3d offset = r.Point(2);
       b->MoveEdge(SInt16(r.Below(12)), &offset, 0);
     }},
};

TEST(BlockProperty, RandomDragsReshapesAndFlipsKeepBlocksFiniteAndFlat) {
  for (unsigned seed = 1; seed <= kSeeds; ++seed) {
    Random random(seed);
    CubePtr block = Dragged(random.Point(5), random.Point(5));
    bool bent = false;
    for (int step = 0; step < kSteps; ++step) {
      const BlockStep& s = kBlockSteps[random.Below(int(std::size(kBlockSteps)))];
      SCOPED_TRACE(::testing::Message() << "seed " << seed << ", step " << step << ": " << s.name);
      CubePtr made;
      if (&s == &kBlockSteps[0]) bent = false;
      // A mitred segment is no box any more: the walk goes on with the block as it was.
      CubePtr segment(s.apply == kBlockSteps[5].apply ? static_cast<VLCube*>(block->MakeCopy(nullptr)) : nullptr);
      VLCube* target = segment ? segment.get() : block.get();
      s.apply(target, random, &made);
      if (segment) {
        ASSERT_TRUE(Finite(segment.get()));
        if (!bent) {
          ASSERT_LE(Bend(segment.get()), kPlanar);
        }
      }
      bent = bent || !s.keepsFlat;
      ASSERT_TRUE(Finite(block.get()));
      if (!bent) {
        ASSERT_LE(Bend(block.get()), kPlanar);
      }
      if (made) {
        ASSERT_TRUE(Finite(made.get()));
        if (!bent) {
          ASSERT_LE(Bend(made.get()), kPlanar);
        }
      }
    }
  }
}

TEST(BlockProperty, RandomDragsAndFlipsKeepGroupsFiniteAndFlat) {
  for (unsigned seed = 1; seed <= kSeeds; ++seed) {
    Random random(seed);
    VLArray blocks(VLArray::kPointerSize);
    const int count = 1 + random.Below(3);
    for (int i = 0; i < count; ++i) blocks.AppendPointer(Dragged(random.Point(5), random.Point(5)).release());
    std::unique_ptr<CGroup, modeltest::ObjectDeleter> group(new CGroup);
    group->MakeFromObjects(&blocks);
    for (int step = 0; step < kSteps; ++step) {
      const int which = random.Below(3);
      SCOPED_TRACE(::testing::Message() << "seed " << seed << ", step " << step << ": " << which);
      if (which == 0) DragCorner(group.get(), random);
      if (which == 1) FlipRandomly(group.get(), random);
      if (which == 2) {
        const Vector3d offset = random.Point(3);
        group->Move(&offset);
      }
      ASSERT_TRUE(Finite(group.get()));
      for (VLUser3DObject* member : group->Members()) {
        ASSERT_TRUE(Finite(member));
        ASSERT_LE(Bend(member), kPlanar);
      }
    }
  }
}

}  // namespace
