// Groups: membership and counts, the box, corner drags, flips, copies, cuts, the writers and
// drawing while the view moves.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "BlockTestSupport.h"
#include "CGroup.h"
#include "VLPolyline.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

using blocktest::CubePtr;
using blocktest::Dragged;
using modeltest::ExpectNear;
using modeltest::ObjectDeleter;
using modeltest::VertexAt;
using GroupPtr = std::unique_ptr<CGroup, ObjectDeleter>;

// A member that tells what reached it: its name in Radiance output, extrusions, draws, and a
// cut that it answers from fixed choices.
class Probe : public VLUser3DObject {
 public:
  explicit Probe(std::vector<std::string>* log, SInt16 type = kObjectTypeBlock) : log_(log) {
    modeltest::MakeBlock(this);
    typeCode = type;
  }
  void WriteRadiance(std::FILE*, std::FILE*, VLArray*, SInt32*, const char* objectName, D3TMaterialList*) override {
    log_->push_back(std::string("radiance ") + objectName);
  }
  void Extrude(double height) override { log_->push_back("extrude " + std::to_string(height)); }
  void Draw(VLViewTransform*, Rect*) override { log_->push_back("draw"); }
  Boolean IsCrossedBy(CTrimmer*) override { return cut; }
  Boolean LiesInFrontOf(CTrimmer*) override { return inFront; }
  Boolean TrimWith(CTrimmer*, VLArray* front, VLArray* back) override {
    if (!cut) return false;
    front->AppendPointer(new Probe(log_));
    back->AppendPointer(new Probe(log_));
    return true;
  }
  VLUser3DObject* MakeCopy(VLUser3DObject* target) override {
    auto* copy = static_cast<Probe*>(VLUser3DObject::MakeCopy(target ? target : new Probe(log_)));
    copy->cut = cut;
    copy->inFront = inFront;
    return copy;
  }
  bool cut = false;
  bool inFront = false;

 private:
  std::vector<std::string>* log_;
};

GroupPtr GroupOf(std::vector<VLUser3DObject*> objects) {
  VLArray list(VLArray::kPointerSize);
  for (VLUser3DObject* object : objects) list.AppendPointer(object);
  GroupPtr group(new CGroup);
  group->MakeFromObjects(&list);
  return group;
}

VLUser3DObject* Block(const Vector3d& from, const Vector3d& to) { return Dragged(from, to).release(); }

TEST(Groups, CountMembersAtEveryLevel) {
  GroupPtr three = GroupOf({Block({0, 0, 0}, {1, 1, 1}), Block({2, 0, 0}, {3, 1, 1}), Block({4, 0, 0}, {5, 1, 1})});
  EXPECT_EQ(three->CountObjects(), 4);
  EXPECT_EQ(three->CountLeafObjects(), 3);
  GroupPtr nested = GroupOf({three.release(), Block({0, 2, 0}, {1, 3, 1})});
  EXPECT_EQ(nested->CountObjects(), 6);
  EXPECT_EQ(nested->CountLeafObjects(), 4);
  GroupPtr empty(new CGroup);
  empty->IGroup();
  EXPECT_EQ(empty->CountObjects(), 1);
  EXPECT_EQ(empty->CountLeafObjects(), 0);
  EXPECT_EQ(empty->OppositeCorner(8), -1);
  EXPECT_EQ(empty->OppositeCorner(2), 4);
}

TEST(Groups, TheBoxSpansTheMembersAndFollowsTheirEdits) {
  GroupPtr group = GroupOf({Block({0, 0, 0}, {1, 2, 3}), Block({4, -1, 0}, {5, 0, 1})});
  EXPECT_EQ(group->typeCode, kObjectTypeGroup);
  ExpectNear(VertexAt(group.get(), 0), {0, -1, 0}, 0);
  ExpectNear(VertexAt(group.get(), 6), {5, 2, 3}, 0);
  const Vector3d offset{1, 1, 1};
  group->Move(&offset);
  ExpectNear(VertexAt(group.get(), 0), {1, 0, 1}, 0);
  ExpectNear(VertexAt(group->Members()[1], 0), {5, 0, 1}, 0);
  // Its faces point out.
  ExpectNear(modeltest::Normal(group.get(), 5), {0, 0, 1}, 1e-12);
  // Taking the members out leaves an empty group and hands the list over.
  VLArray* taken = nullptr;
  group->TakeMembers(&taken);
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(taken->GetNumItems(), 2);
  EXPECT_EQ(group->MemberCount(), 0);
  for (long i = 1; i <= taken->GetNumItems(); ++i) static_cast<VLUser3DObject*>(taken->PointerAt(i))->Dispose();
  delete taken;
  VLArray* none = taken;
  group->TakeMembers(&none);
  EXPECT_EQ(none, nullptr);
}

TEST(Groups, ACornerDragScalesAndAFlatAxisExtrudesInstead) {
  GroupPtr group = GroupOf({Block({0, 0, 0}, {1, 2, 3}), Block({1, 0, 0}, {2, 2, 3})});
  SInt16 corner = 6;
  const Vector3d start = VertexAt(group.get(), 6), to{4, 4, 6};
  group->StretchToHandle(&corner, &start, nullptr, false);
  group->StretchToHandle(&corner, &to, nullptr, true);
  ExpectNear(VertexAt(group.get(), 6), {4, 4, 6}, 1e-12);
  ExpectNear(VertexAt(group->Members()[1], 6), {4, 4, 6}, 1e-12);
  ExpectNear(VertexAt(group->Members()[0], 6), {2, 4, 6}, 1e-12);

  // Flat along z: the polyline members are extruded by the drag, nothing divides by zero.
  std::vector<std::string> log;
  auto* flat = new Probe(&log, kObjectTypePolyline);
  modeltest::MakeFlatRectangle(flat);
  GroupPtr sheet = GroupOf({flat});
  corner = 6;
  const Vector3d top = VertexAt(sheet.get(), 6), up{top.x, top.y, 2.5};
  sheet->StretchToHandle(&corner, &top, nullptr, false);
  sheet->StretchToHandle(&corner, &up, nullptr, true);
  EXPECT_EQ(log, std::vector<std::string>{"extrude 2.500000"});
  for (const Vector3d& v : modeltest::Vertices(sheet.get())) EXPECT_TRUE(std::isfinite(v.x + v.y + v.z));
}

TEST(Groups, PullingAFlatGroupUpExtrudesItsOutlines) {
  auto* outline = new VLPolyline;
  outline->InitStorage();
  const Vector3d points[4] = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}};
  for (int i = 0; i < 4; ++i) outline->BuildGeometry(nullptr, i > 0, &points[i], -1, nullptr);
  outline->closed = 1;
  outline->BuildOutlineEdges(false);
  GroupPtr group = GroupOf({outline});
  SInt16 corner = 6;
  const Vector3d start = VertexAt(group.get(), 6), up{2, 1, 1.25};
  group->StretchToHandle(&corner, &start, nullptr, false);
  group->StretchToHandle(&corner, &up, nullptr, true);
  EXPECT_EQ(outline->typeCode, kObjectTypeExtrusion);
  EXPECT_EQ(outline->faceCount, 6);
  ExpectNear(VertexAt(group.get(), 6), {2, 1, 1.25}, 1e-12);
}

TEST(Groups, FlippingMirrorsMembersAndKeepsTheBoxOutward) {
  GroupPtr group = GroupOf({Block({0, 0, 0}, {1, 2, 3}), Block({3, 0, 0}, {4, 1, 1})});
  group->Flip(1, 0.0, 4.0);  // x mirrored about 0, then moved by 4
  ExpectNear(VertexAt(group->Members()[1], 0), {1, 0, 0}, 1e-12);
  double lo[3], hi[3];
  group->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  EXPECT_EQ(lo[0], 0);
  EXPECT_EQ(hi[0], 4);
  for (SInt16 f = 0; f < 6; ++f) {
    const Vector3d n = modeltest::Normal(group.get(), f);
    group->SetArrayPointers();
    EXPECT_NEAR(n.x, group->faces[f].a, 1e-12) << f;
  }
}

TEST(Groups, MaterialIdsAreCommonOrNone) {
  const struct {
    std::vector<SInt32> ids;
    SInt32 group;
  } cases[] = {{{4, 5}, 0}, {{4, 4}, 4}, {{}, 0}};
  for (const auto& c : cases) {
    std::vector<VLUser3DObject*> blocks;
    for (SInt32 id : c.ids) {
      blocks.push_back(Block({0, 0, 0}, {1, 1, 1}));
      blocks.back()->materialId = id;
    }
    GroupPtr group = GroupOf(blocks);
    EXPECT_EQ(group->GetMaterialIndex(), c.group);
  }
}

TEST(Groups, CopiesHoldCopiesOfTheMembers) {
  GroupPtr group = GroupOf({Block({0, 0, 0}, {1, 2, 3}), GroupOf({Block({5, 5, 5}, {6, 6, 6})}).release()});
  GroupPtr copy(static_cast<CGroup*>(group->MakeCopy(nullptr)));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->CountObjects(), 4);
  EXPECT_NE(copy->Members()[0], group->Members()[0]);
  EXPECT_EQ(modeltest::Vertices(copy->Members()[0]), modeltest::Vertices(group->Members()[0]));
  EXPECT_EQ(modeltest::Vertices(copy.get()), modeltest::Vertices(group.get()));
}

TEST(Groups, WriteMembersLastToFirstThenTheGroupRecord) {
  GroupPtr group = GroupOf({Block({0, 0, 0}, {1, 1, 1}), Block({2, 0, 0}, {3, 1, 1}), Block({4, 0, 0}, {5, 1, 1})});
  const std::string text = modeltest::WrittenText([&](std::FILE* file) { group->WriteText(file, 1.0); });
  const std::vector<VLUser3DObject*> members = group->Members();
  std::string expected;
  for (int i = 2; i >= 0; --i) expected += modeltest::WriteBody(members[std::size_t(i)], 1.0);
  expected += "\nGroup:\nPrevious 3 objects\nName: \n";
  EXPECT_EQ(text, expected);
}

TEST(Groups, RadianceNamesCarryTheMembersNumbers) {
  modeltest::ShownPhase phase;
  std::vector<std::string> log;
  GroupPtr group = GroupOf({new Probe(&log), GroupOf({new Probe(&log), new Probe(&log)}).release()});
  group->phase = 1;
  group->Members()[1]->phase = 1;
  group->WriteRadiance(nullptr, nullptr, nullptr, nullptr, "box", nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"radiance box_1", "radiance box_2_1", "radiance box_2_2"}));
}

TEST(Groups, ACutSplitsTheCutMembersAndSortsTheOthers) {
  std::vector<std::string> log;
  auto* cut = new Probe(&log);
  auto* before = new Probe(&log);
  auto* behind = new Probe(&log);
  cut->cut = true;
  before->inFront = true;
  GroupPtr group = GroupOf({cut, before, behind});
  VLArray front(VLArray::kPointerSize), back(VLArray::kPointerSize);
  ASSERT_TRUE(group->TrimWith(nullptr, &front, &back));
  ASSERT_EQ(front.GetNumItems(), 1);
  ASSERT_EQ(back.GetNumItems(), 1);
  auto* frontGroup = static_cast<VLUser3DObject*>(front.PointerAt(1));
  auto* backGroup = static_cast<VLUser3DObject*>(back.PointerAt(1));
  EXPECT_EQ(frontGroup->CountObjects(), 3);  // a group of the piece and the whole member
  EXPECT_EQ(backGroup->CountObjects(), 3);
  EXPECT_EQ(group->MemberCount(), 3);
  frontGroup->Dispose();
  backGroup->Dispose();

  // Nothing cut: no pieces.
  cut->cut = false;
  VLArray noFront(VLArray::kPointerSize), noBack(VLArray::kPointerSize);
  EXPECT_FALSE(group->TrimWith(nullptr, &noFront, &noBack));
  EXPECT_EQ(noFront.GetNumItems() + noBack.GetNumItems(), 0);
}

TEST(Groups, WhileTheViewMovesOnlyTheFrameIsDrawn) {
  modeltest::ShownPhase phase;
  std::vector<std::string> log;
  GroupPtr group = GroupOf({new Probe(&log), new Probe(&log)});
  group->phase = 1;
  VLViewTransform view;
  const UInt8 saved = gInteractiveDrawing;
  gInteractiveDrawing = 1;
  group->Draw(&view, nullptr);
  gInteractiveDrawing = saved;
  EXPECT_TRUE(log.empty());
  group->Draw(&view, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"draw", "draw"}));
}

}  // namespace
