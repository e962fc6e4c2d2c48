// The native document's object commands and tool-group steps with the views layer's panes and
// tasks: scale, flip in place, group across phases, hide and show, and the plane groups.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "CClipboard.h"
#include "CTask.h"
#include "COrientationDefiner.h"
#include "Commands.h"
#include "PaneDocumentFixture.h"
#include "ModelTestSupport.h"
#include "TaskTestSupport.h"
#include "VLPaneDocumentViews.h"

namespace {

class DocumentObjectCommands : public PaneDocumentFixture {
 protected:
  // An L-shaped prism moved along x, in the phase, appended to the model and selected.
  VLUser3DObject* AddL(double x, SInt16 phase) {
    auto* object = new VLUser3DObject;
    modeltest::MakeLExtrusion(object);
    AppendMoved(document, object, x, phase);
    object->Select();
    return object;
  }
  static std::vector<Vector3d> Sorted(std::vector<Vector3d> points) {
    std::sort(points.begin(), points.end(), [](const Vector3d& a, const Vector3d& b) {
      return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
    });
    return points;
  }

};

}  // namespace

TEST_F(DocumentObjectCommands, FlipMirrorsEachObjectWithinItsOwnBoundsAndUndoes) {
  VLUser3DObject* left = AddL(0, 1);
  VLUser3DObject* right = AddL(5, 1);
  const std::vector<Vector3d> leftBefore = modeltest::Vertices(left);
  document->DoCommand(5003);  // x
  ASSERT_NE(gApplication->GetLastTask(), nullptr);
  EXPECT_TRUE(document->IsChanged());
  // The L spans x 0 to 2: each copy turns over within its own span.
  for (auto [object, minX] : {std::pair{left, 0.0}, std::pair{right, 5.0}}) {
    std::vector<Vector3d> mirrored;
    for (Vector3d p : leftBefore) mirrored.push_back({minX + 2.0 - p.x, p.y, p.z});
    const std::vector<Vector3d> now = Sorted(modeltest::Vertices(object));
    const std::vector<Vector3d> want = Sorted(mirrored);
    ASSERT_EQ(now.size(), want.size());
    for (size_t i = 0; i < now.size(); ++i) modeltest::ExpectNear(now[i], want[i], 1e-9);
  }
  document->DoCommand(cmdUndo);
  EXPECT_EQ(modeltest::Vertices(left), leftBefore);
}

TEST_F(DocumentObjectCommands, GroupingTwoPhasesAsksAndDecliningStillMarksTheDocument) {
  AddL(0, 1);
  AddL(5, 2);
  input.Click(2);  // Cancel in dialog 1050
  document->DoCommand(5005);
  EXPECT_TRUE(input.Done());
  EXPECT_EQ(ModelObjects(document).size(), 2u);
  EXPECT_TRUE(document->IsChanged());

  input.Click(1);
  document->DoCommand(5005);
  ASSERT_EQ(ModelObjects(document).size(), 1u);
  EXPECT_EQ(ModelObjects(document)[0]->typeCode, kObjectTypeGroup);
  document->DoCommand(5006);
  EXPECT_EQ(ModelObjects(document).size(), 2u);
}

TEST_F(DocumentObjectCommands, HideDeselectsAndShowAllAfterSwapShowsEveryObject) {
  VLUser3DObject* first = AddL(0, 1);
  VLUser3DObject* second = AddL(5, 1);
  second->Deselect();
  document->DoCommand(5009);
  EXPECT_TRUE(first->hidden);
  EXPECT_FALSE(first->selected);
  EXPECT_FALSE(second->hidden);
  EXPECT_EQ(gApplication->GetLastTask(), nullptr);
  document->DoCommand(5011);
  EXPECT_FALSE(first->hidden);
  EXPECT_TRUE(second->hidden);
  document->DoCommand(5010);
  EXPECT_FALSE(first->hidden);
  EXPECT_FALSE(second->hidden);
}

TEST_F(DocumentObjectCommands, ThePlaneGroupsShowTheirPlaneWhileCurrentAndLeaveNothingToUndo) {
  document->SetGroupTool(0, 2);
  document->SetToolGroup(0);  // already current: nothing changes
  EXPECT_EQ(document->GetGroupTool(0), 2);

  for (SInt16 group : {SInt16(6), SInt16(7)}) {
    SCOPED_TRACE(group);
    VLUser3DObject* object = AddL(0, 1);
    document->DoCommand(5003);  // something to undo
    ASSERT_NE(gApplication->GetLastTask(), nullptr);
    auto* plane = dynamic_cast<COrientationDefiner*>(group == 6 ? document->GetWorkingPlane() : document->GetSectionPlane());
    ASSERT_NE(plane, nullptr);
    document->SetToolGroup(group);
    EXPECT_FALSE(object->selected);
    EXPECT_TRUE(plane->IsShown());
    if (group == 6) {
      EXPECT_EQ(document->GetGroupTool(6), 3);
    }
    document->SetToolGroup(0);
    EXPECT_FALSE(plane->IsShown());
    EXPECT_EQ(gApplication->GetLastTask(), nullptr);
  }
}

TEST_F(DocumentObjectCommands, CopyPutsThePictureOfTheSelectionBesideTheObjects) {
  AddL(0, 1);
  document->DoCommand(cmdCopy);
  EXPECT_EQ(gClipboard->DataSize(FourCC("DOCC")), 1);
  EXPECT_GT(gClipboard->DataSize(FourCC("PICT")), 10);
  EXPECT_FALSE(document->IsChanged());
}

TEST_F(DocumentObjectCommands, AScaleAcceptedAsShownReplacesTheBlockByAnEqualCopyAndUndoes) {
  auto* block = new VLCube;
  Vector3d corners[boxlayout::kCorners];
  boxlayout::CornersOfExtent({0, 0, 0}, {2, 1, 3}, corners);
  ASSERT_TRUE(block->SetCorners(corners));
  block->phase = 1;
  document->GetObjectList()->AppendPointer(block);
  block->Select();
  const std::string before = tasktest::RecordOf(block);

  input.Click(2);
  document->DoCommand(3003);
  EXPECT_EQ(ModelObjects(document), (std::vector<VLUser3DObject*>{block}));
  EXPECT_FALSE(document->IsChanged());

  input.Click(1);  // 100.00 each: factors 1, 1, 1
  document->DoCommand(3003);
  EXPECT_TRUE(input.Done());
  const std::vector<VLUser3DObject*> now = ModelObjects(document);
  ASSERT_EQ(now.size(), 1u);
  EXPECT_NE(now[0], block);
  EXPECT_EQ(tasktest::RecordOf(now[0]), before);
  EXPECT_TRUE(now[0]->selected);
  EXPECT_TRUE(document->IsChanged());
  ASSERT_NE(gApplication->GetLastTask(), nullptr);
  EXPECT_EQ(gApplication->GetLastTask()->GetNameIndex(), 7);
  document->DoCommand(cmdUndo);
  EXPECT_EQ(ModelObjects(document), (std::vector<VLUser3DObject*>{block}));
  document->DoCommand(cmdUndo);
  EXPECT_EQ(ModelObjects(document), now);
}
