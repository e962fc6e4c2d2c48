#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "AppResources.h"
#include "D3TMaterial.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "Memory.h"
#include "ModelTestSupport.h"

namespace {

using modeltest::Loop;
using modeltest::MakeBlock;
using modeltest::Normal;
using modeltest::SetGeometry;

using modeltest::NewObject;
using modeltest::ObjectPtr;

// An object with one face running through the points in order, planes computed.
ObjectPtr OneFace(const std::vector<Vector3d>& points) {
  ObjectPtr object = NewObject();
  std::vector<SInt16> loop;
  for (std::size_t i = 0; i < points.size(); ++i) loop.push_back(SInt16(i));
  SetGeometry(object.get(), points, {loop}, false);
  object->SetArrayPointers();
  return object;
}

// An object's frame whose copy can be refused.
struct TestFrame : CObjectTransformer {
  static inline bool refuseCopy = false;
  static inline int live = 0;
  TestFrame() { ++live; }
  ~TestFrame() override { --live; }
  CObjectTransformer* Clone() const override { return refuseCopy ? nullptr : new TestFrame; }
};

TEST(GeometryStore, AllocateGivesEmptyArraysAtTheirCapacities) {
  ObjectPtr object = NewObject();
  object->AllocateStorage(8, 8, 12, 6);
  EXPECT_EQ(object->vertexCount, 0);
  EXPECT_EQ(object->edgeCount, 0);
  EXPECT_EQ(object->faceCount, 0);
  EXPECT_EQ(object->screenPointCount, 0);
  EXPECT_EQ(object->clipPointCount, 0);
  EXPECT_EQ(object->viewPointCount, 0);
  EXPECT_EQ(object->edgeSegmentCount, 0);
  EXPECT_EQ(object->vertexCapacity, 8);
  EXPECT_EQ(object->viewPointCapacity, 8);
  EXPECT_EQ(object->screenPointCapacity, 8);
  EXPECT_EQ(object->clipPointCapacity, 8);
  EXPECT_EQ(object->edgeCapacity, 12);
  EXPECT_EQ(object->edgeSegmentCapacity, 12);
  EXPECT_EQ(object->faceCapacity, 6);
  // Every array lies inside the block, the last one ending at its end.
  const GeometryStoreLayout layout = LayoutGeometryStore(8, 8, 12, 6);
  EXPECT_EQ(PortHandleSize(object->storage), layout.total);
  EXPECT_EQ(reinterpret_cast<char*>(object->markedEdgeFlagsC) + 12 - *object->storage,
            layout.markedEdgeFlags[2] + 12);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(object->faces) % alignof(FaceRecord), 0u);

  // Screen points are indexed by vertex, so there are never fewer of them.
  object->AllocateStorage(10, 2, 0, 0);
  EXPECT_EQ(object->screenPointCapacity, 10);
  EXPECT_THROW(object->AllocateStorage(-1, 0, 0, 0), DETException);
}

TEST(GeometryStore, ReallocatingReleasesTheOldLoops) {
  const long before = PortLiveHandleCount();
  {
    ObjectPtr object = NewObject();
    MakeBlock(object.get());
    object->AllocateStorage(8, 8, 12, 6);
    EXPECT_EQ(object->faceCount, 0);
  }
  EXPECT_EQ(PortLiveHandleCount(), before);
}

TEST(GeometryStore, GrowingKeepsGeometryAndDropsTheProjection) {
  ObjectPtr object = NewObject();
  MakeBlock(object.get());
  object->changed = 0;  // as the last draw leaves it
  const Handle block = object->storage;
  char* const address = *block;

  // Nothing to grow: the block is not touched.
  EXPECT_TRUE(object->GrowStorage(0, 0, 0, 0));
  EXPECT_TRUE(object->GrowStorage(-3, 0, 0, 0));
  EXPECT_EQ(object->storage, block);
  EXPECT_EQ(*object->storage, address);
  EXPECT_EQ(object->vertexCapacity, 8);

  std::vector<std::vector<SInt16>> loops;
  for (SInt16 f = 0; f < object->faceCount; ++f) loops.push_back(Loop(object.get(), f));
  object->SetArrayPointers();
  const std::vector<Vector3d> vertices(object->vertices, object->vertices + 8);
  const Vector3d topNormal = Normal(object.get(), 4);

  ASSERT_TRUE(object->GrowStorage(2, 2, 0, 0));
  EXPECT_EQ(object->vertexCapacity, 10);
  EXPECT_EQ(object->screenPointCapacity, 10);
  EXPECT_EQ(object->edgeCapacity, 12);
  EXPECT_EQ(object->vertexCount, 8);
  EXPECT_EQ(object->edgeCount, 12);
  EXPECT_EQ(object->faceCount, 6);
  // The projection is not carried over, so the next draw must project afresh.
  EXPECT_EQ(object->viewPointCount, 0);
  EXPECT_EQ(object->edgeSegmentCount, 0);
  EXPECT_TRUE(object->changed);
  object->SetArrayPointers();
  EXPECT_EQ(std::vector<Vector3d>(object->vertices, object->vertices + 8), vertices);
  for (SInt16 f = 0; f < object->faceCount; ++f) EXPECT_EQ(Loop(object.get(), f), loops[std::size_t(f)]);
  EXPECT_EQ(Normal(object.get(), 4), topNormal);

  // A negative point increment must not leave fewer screen points than vertices, nor hide the
  // vertex growth behind a small total.
  ASSERT_TRUE(object->GrowStorage(4, -10, 0, 0));
  EXPECT_EQ(object->vertexCapacity, 14);
  EXPECT_EQ(object->screenPointCapacity, 14);
}

TEST(GeometryStore, GrowingPast16BitCapacitiesFailsAndChangesNothing) {
  ObjectPtr object = NewObject();
  MakeBlock(object.get());
  const Handle block = object->storage;
  try {
    object->GrowStorage(32767, 0, 0, 0);
    FAIL() << "no exception";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorNotEnoughMemory);
  }
  EXPECT_EQ(object->storage, block);
  EXPECT_EQ(object->vertexCapacity, 8);
  EXPECT_EQ(object->vertexCount, 8);
}

TEST(FacePlanes, DegenerateLoops) {
  const Vector3d a{0, 0, 0}, b{1, 0, 0}, c{1, 1, 0};
  const Vector3d nearA{0.00001, 0.00001, -0.00001};
  const struct {
    const char* what;
    std::vector<Vector3d> points;
    bool degenerate;
  } cases[] = {
      {"two distinct points", {a, b, a}, true},
      {"a point within 1e-5 of the first", {a, nearA, c}, true},
      {"fewer than three entries", {a, b}, true},
      {"three distinct points", {a, b, c}, false},
      {"a repeated point among three distinct ones", {a, a, b, c}, false},
  };
  for (const auto& cs : cases) {
    ObjectPtr object = OneFace(cs.points);
    EXPECT_EQ(object->faces[0].degenerate != 0, cs.degenerate) << cs.what;
  }
}

TEST(FacePlanes, DegenerateAndCollinearFacesKeepTheirOldPlane) {
  // Three distinct but collinear points pass the degenerate test yet span no plane: the face
  // must keep the plane it had rather than take a NaN.
  const struct {
    const char* what;
    std::vector<Vector3d> points;
  } cases[] = {
      {"collinear", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}},
      {"degenerate", {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}},
  };
  for (const auto& cs : cases) {
    ObjectPtr object = OneFace(cs.points);
    object->faces[0].a = 0;
    object->faces[0].b = 0.6;
    object->faces[0].c = 0.8;
    object->faces[0].d = -2;
    object->CalcFacePlanes();
    object->SetArrayPointers();
    EXPECT_EQ(object->faces[0].b, 0.6) << cs.what;
    EXPECT_EQ(object->faces[0].c, 0.8) << cs.what;
    EXPECT_EQ(object->faces[0].d, -2) << cs.what;
  }
}

TEST(FacePlanes, BlockFacesPointOutAndLoopsRunClockwiseFromOutside) {
  ObjectPtr block = NewObject();
  MakeBlock(block.get());
  // Sides y = 0, x = 1, y = 1, x = 0, then the top and the bottom.
  const struct {
    Vector3d normal;
    double d;
  } expected[] = {{{0, -1, 0}, 0}, {{1, 0, 0}, -1}, {{0, 1, 0}, -1}, {{-1, 0, 0}, 0}, {{0, 0, 1}, -1}, {{0, 0, -1}, 0}};
  block->SetArrayPointers();
  for (SInt16 f = 0; f < 6; ++f) {
    const FaceRecord& face = block->faces[f];
    EXPECT_FALSE(face.degenerate);
    EXPECT_NEAR(face.a, expected[f].normal.x, 1e-12) << "face " << f;
    EXPECT_NEAR(face.b, expected[f].normal.y, 1e-12) << "face " << f;
    EXPECT_NEAR(face.c, expected[f].normal.z, 1e-12) << "face " << f;
    EXPECT_NEAR(face.d, expected[f].d, 1e-12) << "face " << f;
  }
}

TEST(FacePlanes, RepeatedClosingPointGivesTheSamePlane) {
  // An L-shaped loop seen from above, clockwise, starting at a corner with the greatest y.
  const std::vector<Vector3d> points = {{0, 2, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {2, 0, 0}, {0, 0, 0}};
  for (SInt16 start = 0; start < 6; ++start) {
    std::vector<SInt16> open, closed;
    for (SInt16 k = 0; k < 6; ++k) open.push_back(SInt16((start + k) % 6));
    closed = open;
    closed.push_back(open.front());
    ObjectPtr a = NewObject(), b = NewObject();
    SetGeometry(a.get(), points, {open}, false);
    SetGeometry(b.get(), points, {closed}, false);
    a->SetArrayPointers();
    b->SetArrayPointers();
    EXPECT_NEAR(a->faces[0].c, 1.0, 1e-12) << "start " << start;
    EXPECT_NEAR(b->faces[0].a, a->faces[0].a, 1e-12) << "start " << start;
    EXPECT_NEAR(b->faces[0].b, a->faces[0].b, 1e-12) << "start " << start;
    EXPECT_NEAR(b->faces[0].c, a->faces[0].c, 1e-12) << "start " << start;
    EXPECT_NEAR(b->faces[0].d, a->faces[0].d, 1e-12) << "start " << start;
  }
}

TEST(Centres, PlanCentreOnlyForAnUnsetPoint) {
  ObjectPtr object = NewObject();
  SetGeometry(object.get(), {{1, 2, 3}, {5, 10, 7}, {3, 4, 20}}, {{0, 1, 2}});
  struct Roles {
    SInt16 x, y, z;
    Vector3d expected;
  } const roles[] = {{0, 1, 2, {3, 6, 0}}, {1, 2, 0, {0, 6, 11.5}}};
  for (const Roles& r : roles) {
    gAxisX = r.x;
    gAxisY = r.y;
    gAxisZ = r.z;
    Vector3d unset{-105600.0, -105600.0, -105600.0};
    object->GetPlanCentre(&unset);
    EXPECT_EQ(unset, r.expected);
  }
  gAxisX = 0;
  gAxisY = 1;
  gAxisZ = 2;
  Vector3d set{-105600.0, -105600.0, 0.5};
  object->GetPlanCentre(&set);
  EXPECT_EQ(set, (Vector3d{-105600.0, -105600.0, 0.5}));

  ObjectPtr empty = NewObject();
  empty->AllocateStorage(0, 0, 0, 0);
  Vector3d unset{-105600.0, -105600.0, -105600.0};
  empty->GetPlanCentre(&unset);
  EXPECT_EQ(unset, (Vector3d{0, 0, 0}));
}

TEST(Centres, CentreOfTheVertexBox) {
  ObjectPtr object = NewObject();
  SetGeometry(object.get(), {{1, 2, 3}, {5, 10, 7}, {3, -4, 20}}, {{0, 1, 2}});
  Vector3d centre;
  object->GetCentre(&centre);
  EXPECT_EQ(centre, (Vector3d{3, 3, 11.5}));
  ObjectPtr empty = NewObject();
  Vector3d origin{9, 9, 9};
  empty->GetCentre(&origin);
  EXPECT_EQ(origin, (Vector3d{0, 0, 0}));
}

TEST(Copy, CopyIsUnselectedShownAndOwnsEverything) {
  // Materials read their defaults from the program's resources, which stay loaded once read.
  vlres::InstallApplicationResources();
  delete new D3TMaterial(nullptr, D3TMaterial::kProperties, Str255("Warm-up"));
  const long handlesBefore = PortLiveHandleCount();
  {
    ObjectPtr source = NewObject();
    MakeBlock(source.get());
    source->selected = source->faceMode = source->hidden = source->tracking = 1;
    source->currentOpening = 2;
    source->phase = 4;
    source->typeCode = kObjectTypeExtrusion;
    source->referenceVertex = 3;
    source->rotationAngle = 30;
    const RGBColor red{65535, 0, 0};
    source->SetColor(&red);
    source->SetMaterialIndex(7);
    source->materialObject = new D3TMaterial(nullptr, D3TMaterial::kProperties, Str255("Brick"));
    const char text[] = "North wall";
    source->name = new char[sizeof text];
    std::memcpy(source->name, text, sizeof text);
    source->frame = new TestFrame;
    source->changed = 0;

    ObjectPtr copy(source->MakeCopy(nullptr));
    ASSERT_TRUE(copy);
    EXPECT_TRUE(source->changed) << "the source projects afresh";
    EXPECT_FALSE(copy->selected);
    EXPECT_FALSE(copy->faceMode);
    EXPECT_FALSE(copy->hidden);
    EXPECT_FALSE(copy->tracking);
    EXPECT_EQ(copy->currentOpening, -1);
    EXPECT_TRUE(copy->needsRedraw);
    EXPECT_EQ(copy->phase, 4);
    EXPECT_EQ(copy->typeCode, kObjectTypeExtrusion);
    EXPECT_EQ(copy->referenceVertex, 3);
    EXPECT_EQ(copy->rotationAngle, 30);
    EXPECT_EQ(copy->color, red);
    EXPECT_EQ(copy->drawColor, (RGBColor{32767, 0, 0}));
    EXPECT_EQ(copy->materialId, 7);
    ASSERT_NE(copy->name, nullptr);
    EXPECT_NE(copy->name, source->name);
    EXPECT_STREQ(copy->name, "North wall");
    EXPECT_NE(copy->frame, nullptr);
    EXPECT_NE(copy->frame, source->frame);
    EXPECT_EQ(copy->vertexCount, 8);
    EXPECT_EQ(copy->faceCount, 6);
    EXPECT_NE(copy->storage, source->storage);
    for (SInt16 f = 0; f < 6; ++f) {
      EXPECT_EQ(Loop(copy.get(), f), Loop(source.get(), f));
      copy->SetArrayPointers();
      source->SetArrayPointers();
      EXPECT_NE(copy->faces[f].loop, source->faces[f].loop);
      EXPECT_EQ(Normal(copy.get(), f), Normal(source.get(), f));
    }

    // The material copy is the copy's own: it outlives the source.
    ASSERT_NE(copy->materialObject, nullptr);
    EXPECT_NE(copy->materialObject, source->materialObject);
    source.reset();
    EXPECT_TRUE(PStrEqual(copy->materialObject->GetName(), Str255("Brick")));
    EXPECT_EQ(TestFrame::live, 1);
  }
  EXPECT_EQ(TestFrame::live, 0);
  EXPECT_EQ(PortLiveHandleCount(), handlesBefore);
}

TEST(Copy, NamelessCopyAndCopyIntoATargetWithGeometry) {
  const long handlesBefore = PortLiveHandleCount();
  {
    ObjectPtr source = NewObject();
    SetGeometry(source.get(), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {2, 1, 0}});
    ObjectPtr target = NewObject();
    MakeBlock(target.get());  // its store and loops must not leak
    VLUser3DObject* copy = source->MakeCopy(target.get());
    ASSERT_EQ(copy, target.get());
    EXPECT_EQ(copy->name, nullptr);
    EXPECT_EQ(copy->materialObject, nullptr);
    EXPECT_EQ(copy->vertexCount, 3);
    EXPECT_EQ(copy->faceCount, 2);
    EXPECT_EQ(Loop(copy, 1), (std::vector<SInt16>{2, 1, 0}));
  }
  EXPECT_EQ(PortLiveHandleCount(), handlesBefore);
}

TEST(Copy, RefusedFrameCopyGivesNullAndLeaksNothing) {
  const long handlesBefore = PortLiveHandleCount();
  {
    ObjectPtr source = NewObject();
    MakeBlock(source.get());
    source->frame = new TestFrame;
    TestFrame::refuseCopy = true;
    EXPECT_EQ(source->MakeCopy(nullptr), nullptr);
    TestFrame::refuseCopy = false;
  }
  EXPECT_EQ(TestFrame::live, 0);
  EXPECT_EQ(PortLiveHandleCount(), handlesBefore);
}

TEST(Copy, BareCloneCopiesTheStoreAndCounts) {
  ObjectPtr source = NewObject();
  MakeBlock(source.get());
  VL3DObject* clone = source->VL3DObject::Clone(nullptr);
  ASSERT_NE(clone, nullptr);
  EXPECT_NE(clone->storage, source->storage);
  EXPECT_EQ(PortHandleSize(clone->storage), PortHandleSize(source->storage));
  EXPECT_EQ(clone->vertexCount, 8);
  EXPECT_EQ(clone->edgeCapacity, 12);
  EXPECT_EQ(clone->vertices, nullptr);
  clone->Dispose();
}

TEST(Attributes, ColourAndCounts) {
  ObjectPtr object = NewObject();
  const RGBColor colour{65535, 32768, 1};
  object->SetColor(&colour);
  EXPECT_EQ(object->drawColor, (RGBColor{32767, 16384, 0}));
  EXPECT_TRUE(object->changed);
  RGBColor out;
  EXPECT_EQ(object->GetColor(&out), &out);
  EXPECT_EQ(out, colour);
  EXPECT_EQ(object->CountObjects(), 1);
  EXPECT_EQ(object->OppositeFace(0), -1);
  EXPECT_EQ(object->CopyOpenings(), nullptr);
  EXPECT_EQ(object->currentOpening, 0);
  EXPECT_EQ(object->typeCode, kObjectTypeBlock);
}

}  // namespace
