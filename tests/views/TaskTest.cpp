// The undoable tasks on a model as the active document holds it: the keepers write back what
// they recorded, the changed tasks exchange present and recorded states on every toggle, the
// replacement, delete, group and align tasks move objects in and out of the object list, and
// each frees exactly what is out of the document when it goes (the leak checker watches).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CAlignObjectsTask.h"
#include "CDataKeeper.h"
#include "CGroup.h"
#include "CGroupTask.h"
#include "CObjectChangedTask.h"
#include "CObjectDeleteTask.h"
#include "CObjectReplacementTask.h"
#include "CScaleTask.h"
#include "DETException.h"
#include "PhaseRecord.h"
#include "TaskSupport.h"
#include "TaskTestSupport.h"
#include "Unwinding.h"
#include "VLDocument.h"
#include "VLOpening.h"

namespace {

using tasktest::TaskModel;

RGBColor Colour(UInt16 r, UInt16 g, UInt16 b) {
  RGBColor c;
  c.red = r;
  c.green = g;
  c.blue = b;
  return c;
}

bool SameColour(const RGBColor& a, const RGBColor& b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

RGBColor ColourOf(VLUser3DObject* object) {
  RGBColor c;
  object->GetColor(&c);
  return c;
}

// The select tools and palette items the tasks asked for while it lives.
struct WindowRequests {
  static inline std::vector<SInt16> tools;
  static inline std::vector<SInt16> items;
  SelectToolRequest paneRequest = gSelectToolRequest;
  WindowRequests() {
    tools.clear();
    items.clear();
    gSelectToolRequest = [](SInt16 tool) { tools.push_back(tool); };
    gPaletteItemRedraw = [](SInt16 item) { items.push_back(item); };
  }
  ~WindowRequests() {
    gSelectToolRequest = paneRequest;
    gPaletteItemRedraw = nullptr;
  }
};

// A replacement of each selected object by a copy moved along x.
class MoveByCopyTask : public CObjectReplacementTask {
 public:
  void Do() override {
    MakeLists();
    TakeSelectionOut();
    for (long i = replaced->GetNumItems(); i >= 1; --i) {
      auto* object = static_cast<VLUser3DObject*>(replaced->PointerAt(i));
      Owned<VLUser3DObject> copy(object->MakeCopy(nullptr));
      const Vector3d offset{20, 0, 0};
      copy->Move(&offset);
      gCurrentObjectList->AppendPointer(copy.get());
      copy->Select();
      replacing->AppendPointer(copy.release());
    }
  }
};

template <class Task>
using TaskPtr = Owned<Task>;

}  // namespace

// ---- Keepers and changed tasks ----

TEST(ChangedTask, UndoingAGroupsColourGivesEachMemberItsOwnColourBack) {
  TaskModel model;
  const RGBColor red = Colour(60000, 0, 0), blue = Colour(0, 0, 60000), green = Colour(0, 50000, 0);
  VLCube* first = model.Block({0, 0, 0}, {1, 1, 1});
  VLCube* second = model.Block({2, 0, 0}, {3, 1, 1});
  first->SetColor(&red);
  second->SetColor(&blue);
  first->Select();
  second->Select();
  TaskPtr<CGroupTask> grouping(new CGroupTask);
  grouping->IGroupTask(CGroupTask::kGroupName);
  grouping->Do();
  ASSERT_EQ(model.Selected().size(), 1u);
  VLUser3DObject* group = model.Selected()[0];

  WindowRequests requests;
  const RGBColor savedDefault = gDefaultObjectColor;
  gDefaultObjectColor = green;
  TaskPtr<CColorChangedTask> task(new CColorChangedTask);
  task->IColorChangedTask(5);
  group->SetColor(&green);
  gDefaultObjectColor = blue;  // the picker chose another colour since
  EXPECT_TRUE(SameColour(ColourOf(first), green));

  task->Undo();
  EXPECT_TRUE(SameColour(ColourOf(first), red));
  EXPECT_TRUE(SameColour(ColourOf(second), blue));
  EXPECT_TRUE(SameColour(gDefaultObjectColor, green));  // the colour current when the task was made
  task->Redo();
  EXPECT_TRUE(SameColour(ColourOf(first), green));
  EXPECT_TRUE(SameColour(ColourOf(second), green));
  EXPECT_TRUE(SameColour(gDefaultObjectColor, blue));
  EXPECT_EQ(requests.items, (std::vector<SInt16>{vltasks::kColorItem, vltasks::kColorItem}));
  gDefaultObjectColor = savedDefault;
}

TEST(ChangedTask, UndoingTheExtrusionOfAnOpenOutlineGivesItsCountsAndOpennessBack) {
  // Four points extrude to a closed solid, two to a panel.
  const std::vector<std::vector<Vector3d>> outlines = {{{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {1, 5, 0}},
                                                       {{0, 0, 0}, {4, 1, 0}}};
  for (const std::vector<Vector3d>& points : outlines) {
    TaskModel model;
    VLPolyline* outline = model.Outline(points, false);
    const SInt16 n = SInt16(points.size());
    const std::string before = tasktest::RecordOf(outline);
    outline->Select();
    TaskPtr<CVertsAndTypeChangedTask> task(new CVertsAndTypeChangedTask);
    task->IVertsAndTypeChangedTask(2);
    outline->Extrude(2.5);
    ASSERT_EQ(outline->typeCode, kObjectTypeExtrusion);
    const std::string after = tasktest::RecordOf(outline);

    task->Undo();
    EXPECT_EQ(outline->typeCode, kObjectTypePolyline);
    EXPECT_EQ(outline->vertexCount, n);
    EXPECT_EQ(outline->edgeCount, n - 1);
    EXPECT_EQ(outline->closed, 0);
    EXPECT_EQ(tasktest::RecordOf(outline), before);
    task->Redo();
    EXPECT_EQ(outline->typeCode, kObjectTypeExtrusion);
    EXPECT_EQ(tasktest::RecordOf(outline), after);
    task->Undo();
    EXPECT_EQ(tasktest::RecordOf(outline), before);
  }
}

// A change recorded with the rotation keeper, as the rotate tool records one.
class RotationTask : public CObjectChangedTask {
 public:
  void IRotationTask() {
    IObjectChangedTask(17);
    RecordSelection(true);
  }
  void Undo() override { ExchangeWithSelection(); }

 protected:
  CDataKeeper* NewKeeper() override { return new CRotationKeeper; }
};

TEST(ChangedTask, UndoingARotationGivesBackTheVerticesTheAngleAndTheFrame) {
  TaskModel model;
  VLCube* block = model.Block({0, 0, 0}, {2, 1, 1});
  const std::string before = tasktest::RecordOf(block);
  ASSERT_EQ(block->frame, nullptr);
  block->Select();
  TaskPtr<RotationTask> task(new RotationTask);
  task->IRotationTask();
  const Vector3d centre{1, 0.5, 0};
  block->Rotate(30.0, &centre);
  ASSERT_NE(block->frame, nullptr);
  const double angle = block->rotationAngle;
  Vector3d x, y, z;
  block->frame->GetAxes(&x, &y, &z);

  task->Undo();
  EXPECT_EQ(tasktest::RecordOf(block), before);
  EXPECT_EQ(block->rotationAngle, 0.0);
  EXPECT_EQ(block->frame, nullptr);  // it had none
  task->Redo();
  EXPECT_EQ(block->rotationAngle, angle);
  ASSERT_NE(block->frame, nullptr);
  Vector3d rx, ry, rz;
  block->frame->GetAxes(&rx, &ry, &rz);
  modeltest::ExpectNear(rx, x, 1e-12);
  modeltest::ExpectNear(rz, z, 1e-12);
}

TEST(ChangedTask, UndoBringsBackEveryOpeningAnEditTookOffInItsPlace) {
  TaskModel model;
  VLOpeningOwner* wall = model.WallWithWindows({0, 0, 0}, 2);
  ASSERT_EQ(wall->Openings().size(), 2u);
  const std::vector<VLOpening*> windows = wall->Openings();
  const std::string before = tasktest::RecordOf(wall);
  wall->Select();
  TaskPtr<CVertsChangedTask> task(new CVertsChangedTask);
  task->IVertsChangedTask(18);
  // The wall shrinks to a tenth of its length: neither window fits on it any more.
  wall->SetArrayPointers();
  for (SInt16 i = 0; i < wall->vertexCount; ++i) wall->vertices[i].x *= 0.1;
  wall->GeometryChanged();
  ASSERT_TRUE(wall->Openings().empty());
  const std::string after = tasktest::RecordOf(wall);

  task->Undo();
  EXPECT_EQ(wall->Openings(), windows);
  EXPECT_EQ(tasktest::RecordOf(wall), before);
  task->Redo();
  EXPECT_TRUE(wall->Openings().empty());
  EXPECT_EQ(tasktest::RecordOf(wall), after);
  task->Undo();
  EXPECT_EQ(wall->Openings().size(), 2u);
  EXPECT_EQ(tasktest::RecordOf(wall), before);
}

TEST(ChangedTask, AVertexRecordOfAnotherVertexCountRestoresWhatBothHoldAndStaysSafe) {
  TaskModel model;
  VLPolyline* outline = model.Outline({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {1, 5, 0}}, false);
  outline->Select();
  TaskPtr<CVertsChangedTask> task(new CVertsChangedTask);
  task->IVertsChangedTask(18);
  const Vector3d offset{1, 1, 0};
  outline->Move(&offset);
  Vector3d last;
  outline->PopVertex(&last);  // three vertices now, the record holds four
  ASSERT_EQ(outline->vertexCount, 3);
  task->Undo();
  EXPECT_EQ(outline->vertexCount, 3);
  modeltest::ExpectNear(modeltest::VertexAt(outline, 2), {4, 3, 0}, 1e-12);
  outline->BuildGeometry(nullptr, 1, &last, -1, nullptr);
  outline->BuildGeometry(nullptr, 1, &offset, -1, nullptr);  // five now, the record holds three
  task->Redo();
  EXPECT_EQ(outline->vertexCount, 5);
  modeltest::ExpectNear(modeltest::VertexAt(outline, 0), {1, 1, 0}, 1e-12);
}

TEST(ChangedTask, UndoRestoresTheRecordedObjectsAndKeepsForRedoWhatIsSelectedThen) {
  TaskModel model;
  VLCube* a = model.Block({0, 0, 0}, {1, 1, 1});
  VLCube* b = model.Block({2, 0, 0}, {3, 1, 1});
  a->Select();
  TaskPtr<CVertsChangedTask> task(new CVertsChangedTask);
  task->IVertsChangedTask(18);
  const Vector3d up{0, 0, 5};
  a->Move(&up);
  a->Deselect();
  b->Select();
  task->Undo();
  modeltest::ExpectNear(modeltest::VertexAt(a, 0), {0, 0, 0}, 1e-12);
  b->Move(&up);
  task->Redo();  // what Undo recorded: b as it was then
  modeltest::ExpectNear(modeltest::VertexAt(b, 0), {2, 0, 0}, 1e-12);
  modeltest::ExpectNear(modeltest::VertexAt(a, 0), {0, 0, 0}, 1e-12);
}

TEST(ChangedTask, AFlipUndoesWithinEachObjectsOwnExtent) {
  TaskModel model;
  VLOpeningOwner* wall = model.WallWithWindows({0, 0, 0}, 1);
  VLCube* block = model.Block({20, 0, 0}, {22, 4, 1});
  const std::vector<std::string> before = model.Records();
  wall->Select();
  block->Select();
  TaskPtr<CFlipTask> task(new CFlipTask);
  task->IFlipTask(22);
  for (VLUser3DObject* object : model.Selected()) {
    double lo[3], hi[3];
    object->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
    object->Flip(1, lo[0], hi[0] - lo[0]);
  }
  const std::vector<std::string> after = model.Records();
  ASSERT_NE(after, before);
  task->Undo();
  EXPECT_EQ(model.Records(), before);
  task->Redo();
  EXPECT_EQ(model.Records(), after);
}

// ---- Replacement ----

TEST(ReplacementTask, UndoAndRedoExchangeTheListsAndThePlanesStayInTheirPlaces) {
  TaskModel model;
  VLCube* a = model.Block({0, 0, 0}, {1, 1, 1});
  VLCube* b = model.Block({2, 0, 0}, {3, 1, 1});
  VLUser3DObject* section = model.SectionPlane();
  VLUser3DObject* working = model.WorkingPlane();
  section->selected = working->selected = 1;  // selected planes are never taken out
  a->Select();
  b->Select();
  TaskPtr<MoveByCopyTask> task(new MoveByCopyTask);
  task->Init(20);
  task->Do();
  section->selected = working->selected = 0;
  EXPECT_EQ(model.At(1), section);
  EXPECT_EQ(model.At(2), working);
  ASSERT_EQ(model.Count(), 4);
  EXPECT_EQ(task->GetReplaced()->GetNumItems(), 2);
  const std::vector<std::string> after = model.Records();

  task->Undo();
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{a, b}));
  EXPECT_EQ(model.Selected(), (std::vector<VLUser3DObject*>{a, b}));
  EXPECT_EQ(task->GetReplacing()->PointerAt(1), a);
  EXPECT_EQ(gObjectCount, 4);
  task->Redo();
  EXPECT_EQ(model.Records(), after);
  EXPECT_EQ(task->GetReplaced()->PointerAt(1), a);
  // Disposed now, the task frees the originals, which are out of the document.
}

TEST(ReplacementTask, DisposedAfterUndoItFreesTheReplacements) {
  TaskModel model;
  model.Block({0, 0, 0}, {1, 1, 1})->Select();
  TaskPtr<MoveByCopyTask> task(new MoveByCopyTask);
  task->Init(20);
  task->Do();
  task->Undo();
  EXPECT_EQ(model.Count(), 3);
}

// An L-shaped prism whose copy cannot be made: the base object makes none, and with `raises`
// the attempt raises as running out of memory does.
class UncopiableL : public VLUser3DObject {
 public:
  explicit UncopiableL(bool raises) : raises_(raises) {
    modeltest::MakeLExtrusion(this);
    phase = 1;  // the model's shown phase
  }
  void DuplicateMoved(VLUser3DObject** copy, const Vector3d* offset) override {
    if (raises_) ThrowError(kDEErrorNotEnoughMemory, Str255("UncopiableL"));
    VLUser3DObject::DuplicateMoved(copy, offset);
  }

 private:
  bool raises_;
};

TaskPtr<CScaleTask> ScaleTask(const Vector3d& factors) {
  TaskPtr<CScaleTask> task(new CScaleTask);
  task->Init(CScaleTask::kScaleName);
  task->SetPoint(factors);
  return task;
}

std::vector<double> BoundsOf(VLUser3DObject* object) {
  std::vector<double> box(6);
  object->GetBounds(&box[0], &box[1], &box[2], &box[3], &box[4], &box[5]);
  return box;
}

TEST(ScaleTask, EachObjectIsReplacedByACopyScaledAboutItsOwnReferencePointTheLastFirst) {
  TaskModel model;
  VLCube* a = model.Block({0, 0, 0}, {2, 2, 2});
  VLCube* b = model.Block({4, 0, 0}, {6, 2, 2});
  a->Select();
  b->Select();
  const std::vector<std::string> before = model.Records();
  TaskPtr<CScaleTask> task = ScaleTask({0.5, 2, 1.5});
  task->Do();
  const std::vector<VLUser3DObject*> copies = model.Objects();
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_EQ(model.Selected(), copies);
  Vector3d reference;
  b->GetReferencePoint(&reference);
  // The copy of b comes first; each keeps its reference point where it was.
  for (auto [copy, original] : {std::pair{copies[0], b}, std::pair{copies[1], a}}) {
    const std::vector<double> was = BoundsOf(original), now = BoundsOf(copy);
    EXPECT_DOUBLE_EQ(now[3] - now[0], (was[3] - was[0]) * 0.5);
    EXPECT_DOUBLE_EQ(now[4] - now[1], (was[4] - was[1]) * 2);
    EXPECT_DOUBLE_EQ(now[5] - now[2], (was[5] - was[2]) * 1.5);
    Vector3d at, wasAt;
    copy->GetReferencePoint(&at);
    original->GetReferencePoint(&wasAt);
    modeltest::ExpectNear(at, wasAt, 1e-12);
  }
  const std::vector<std::string> after = model.Records();
  task->Undo();
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{a, b}));
  EXPECT_EQ(model.Records(), before);
  task->Redo();
  EXPECT_EQ(model.Objects(), copies);
  EXPECT_EQ(model.Records(), after);
}

TEST(ScaleTask, ASelectedOpeningIsScaledAloneOnItsOwner) {
  TaskModel model;
  VLOpeningOwner* wall = model.WallWithWindows({0, 0, 0}, 2);
  VLOpening* window = wall->Openings()[1];
  window->Select();
  const std::vector<double> was = BoundsOf(window);
  WindowRequests requests;
  TaskPtr<CScaleTask> task = ScaleTask({0.5, 1, 0.5});
  task->Do();
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{wall}));
  ASSERT_EQ(wall->Openings().size(), 2u);
  VLOpening* scaled = wall->Openings()[1];
  EXPECT_NE(scaled, window);
  EXPECT_EQ(wall->GetCurrentOpening(), scaled);
  const std::vector<double> now = BoundsOf(scaled);
  EXPECT_DOUBLE_EQ(now[3] - now[0], (was[3] - was[0]) * 0.5);
  EXPECT_DOUBLE_EQ(now[5] - now[2], (was[5] - was[2]) * 0.5);

  task->Undo();
  EXPECT_EQ(wall->Openings().size(), 2u);
  EXPECT_EQ(wall->GetCurrentOpening(), window);
  EXPECT_TRUE(wall->selected);
  task->Redo();
  EXPECT_EQ(wall->Openings()[1], scaled);
}

TEST(ScaleTask, AnObjectWithoutACopyStaysSelectedAndAFailingCopyLeavesTheModelAsItWas) {
  {
    TaskModel model;
    auto* kept = model.Add(new UncopiableL(false));
    VLCube* block = model.Block({0, 0, 0}, {1, 1, 1});
    kept->Select();
    TaskPtr<CScaleTask> task = ScaleTask({2, 2, 2});
    task->Do();
    EXPECT_EQ(task->GetReplaced(), nullptr);
    EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{block, kept}));
    EXPECT_EQ(model.Selected(), (std::vector<VLUser3DObject*>{kept}));
    task->Undo();  // nothing to exchange
    EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{block, kept}));
  }
  TaskModel model;
  auto* failing = model.Add(new UncopiableL(true));
  VLCube* block = model.Block({0, 0, 0}, {1, 1, 1});
  failing->Select();
  block->Select();
  const std::vector<std::string> before = model.Records();
  TaskPtr<CScaleTask> task = ScaleTask({2, 2, 2});
  EXPECT_THROW(task->Do(), DETException);
  // The block was scaled before the failure; its copy is the task's now, disposed with it.
  EXPECT_EQ(model.Records(), before);
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{failing, block}));
  EXPECT_EQ(model.Selected(), (std::vector<VLUser3DObject*>{failing, block}));
  EXPECT_EQ(gObjectCount, 4);
}

// ---- Delete ----

TEST(DeleteTask, TakesTheSelectedModelObjectsButNeverThePlanes) {
  TaskModel model;
  VLCube* a = model.Block({0, 0, 0}, {1, 1, 1});
  VLCube* b = model.Block({2, 0, 0}, {3, 1, 1});
  VLCube* c = model.Block({4, 0, 0}, {5, 1, 1});
  VLUser3DObject* section = model.SectionPlane();
  VLUser3DObject* working = model.WorkingPlane();
  section->selected = working->selected = 1;
  a->Select();
  c->Select();
  TaskPtr<CObjectDeleteTask> task(new CObjectDeleteTask);
  task->IObjectDeleteTask(4);
  task->Do();
  section->selected = working->selected = 0;
  EXPECT_EQ(model.At(1), section);
  EXPECT_EQ(model.At(2), working);
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{b}));
  EXPECT_TRUE(model.Selected().empty());
  EXPECT_FALSE(task->HasDeletedOpening());
  EXPECT_EQ(gObjectCount, 3);

  b->Select();
  task->Undo();  // everything deselected first, then exactly the restored objects selected
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{b, a, c}));
  EXPECT_EQ(model.Selected(), (std::vector<VLUser3DObject*>{a, c}));
  task->Redo();
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{b}));
  // Disposed now, the task frees a and c.
}

TEST(DeleteTask, ASelectedOpeningIsTakenAloneAndComesBackSelectedWithTheOpeningTool) {
  TaskModel model;
  VLOpeningOwner* wall = model.WallWithWindows({0, 0, 0}, 2);
  VLOpening* second = wall->Openings()[1];
  second->Select();  // the owner selected with the opening current
  ASSERT_TRUE(wall->selected);
  WindowRequests requests;
  TaskPtr<CObjectDeleteTask> task(new CObjectDeleteTask);
  task->IObjectDeleteTask(4);
  task->Do();
  EXPECT_TRUE(task->HasDeletedOpening());
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{wall}));
  EXPECT_EQ(wall->Openings().size(), 1u);
  EXPECT_FALSE(wall->selected);

  task->Undo();
  EXPECT_EQ(wall->Openings().size(), 2u);
  EXPECT_TRUE(wall->selected);
  EXPECT_EQ(wall->GetCurrentOpening(), second);
  task->Redo();
  EXPECT_EQ(wall->Openings().size(), 1u);
  EXPECT_EQ(requests.tools, (std::vector<SInt16>{vltasks::kSelectOpeningsTool, vltasks::kSelectObjectsTool}));
}

// ---- Group and ungroup ----

TEST(GroupTask, UndoDissolvesTheGroupAndRedoMakesANewOneOfTheSameMembers) {
  TaskModel model;
  VLCube* a = model.Block({0, 0, 0}, {1, 1, 1});
  VLCube* b = model.Block({2, 0, 0}, {3, 1, 1});
  a->Select();
  b->Select();
  const std::vector<std::string> before = model.Records();
  TaskPtr<CGroupTask> task(new CGroupTask);
  task->IGroupTask(CGroupTask::kGroupName);
  task->Do();
  ASSERT_EQ(model.Count(), 3);
  auto* group = dynamic_cast<CGroup*>(model.At(3));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->Members(), (std::vector<VLUser3DObject*>{a, b}));
  EXPECT_EQ(model.Selected(), (std::vector<VLUser3DObject*>{group}));
  EXPECT_EQ(group->membersKeepSettings, 1);
  const std::vector<std::string> after = model.Records();

  task->Undo();
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{a, b}));
  EXPECT_EQ(model.Selected(), (std::vector<VLUser3DObject*>{a, b}));
  EXPECT_EQ(model.Records(), before);
  task->Redo();
  ASSERT_EQ(model.Count(), 3);
  EXPECT_EQ(static_cast<CGroup*>(model.At(3))->Members(), (std::vector<VLUser3DObject*>{a, b}));
  EXPECT_EQ(model.Records(), after);
}

TEST(GroupTask, TheGroupTakesTheMembersCommonPhaseOrElseTheCurrentOne) {
  struct Case {
    SInt16 phases[2];
    SInt16 expected;
  };
  const SInt16 savedPhase = gCurrentPhase;
  gCurrentPhase = 7;
  for (const Case& c : {Case{{3, 3}, 3}, Case{{3, 4}, 7}}) {
    TaskModel model;
    VLCube* a = model.Block({0, 0, 0}, {1, 1, 1});
    VLCube* b = model.Block({2, 0, 0}, {3, 1, 1});
    a->Select();
    b->Select();
    a->phase = c.phases[0];
    b->phase = c.phases[1];
    TaskPtr<CGroupTask> task(new CGroupTask);
    task->IGroupTask(CGroupTask::kGroupName);
    task->Do();
    EXPECT_EQ(model.At(3)->phase, c.expected);
    EXPECT_EQ(a->phase, c.phases[0]);  // the members keep their own
    EXPECT_EQ(b->phase, c.phases[1]);
  }
  gCurrentPhase = savedPhase;
}

TEST(GroupTask, UngroupingPutsTheMembersBackAndUndoGroupsThemAgain) {
  TaskModel model;
  VLCube* a = model.Block({0, 0, 0}, {1, 1, 1});
  VLCube* b = model.Block({2, 0, 0}, {3, 1, 1});
  VLCube* c = model.Block({4, 0, 0}, {5, 1, 1});
  a->Select();
  b->Select();
  TaskPtr<CGroupTask> grouping(new CGroupTask);
  grouping->IGroupTask(CGroupTask::kGroupName);
  grouping->Do();
  c->Select();  // a group and a block selected: only the group comes apart
  const std::vector<std::string> grouped = model.Records();
  TaskPtr<CGroupTask> task(new CGroupTask);
  task->IGroupTask(CGroupTask::kUngroupName);
  task->Do();
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{c, a, b}));
  EXPECT_EQ(model.Selected(), (std::vector<VLUser3DObject*>{c, a, b}));
  task->Undo();
  EXPECT_EQ(model.Records(), grouped);
  task->Redo();
  EXPECT_EQ(model.Objects(), (std::vector<VLUser3DObject*>{c, a, b}));
}

// ---- Align ----

TEST(AlignTask, UndoAndRedoExchangeTheObjectsAtTheirPlaces) {
  TaskModel model;
  VLCube* a = model.Block({0, 0, 0}, {1, 1, 1});
  VLCube* b = model.Block({2, 3, 0}, {3, 4, 1});
  VLOpeningOwner* wall = model.WallWithWindows({0, 10, 0}, 1);
  a->Select();
  wall->Select();
  const std::vector<std::string> before = model.Records();
  TaskPtr<CAlignObjectsTask> task(new CAlignObjectsTask);
  task->IAlignObjectsTask();
  EXPECT_EQ(task->GetNameIndex(), 1);
  EXPECT_EQ(task->GetRecords()->GetNumItems(), 2);
  // The alignment: both moved to y = 3.
  const Vector3d toB{0, 3, 0}, toBFromWall{0, -7, 0};
  a->Move(&toB);
  wall->Move(&toBFromWall);
  const std::vector<std::string> after = model.Records();

  task->Undo();
  EXPECT_EQ(model.Records(), before);
  EXPECT_EQ(model.At(4), b);
  EXPECT_NE(model.At(3), a);  // the kept copy took a's place
  EXPECT_TRUE(model.At(3)->selected);
  EXPECT_FALSE(a->selected);
  task->Redo();
  EXPECT_EQ(model.Records(), after);
  EXPECT_EQ(model.At(3), a);
  EXPECT_EQ(model.At(5), wall);
  EXPECT_EQ(model.Selected(), (std::vector<VLUser3DObject*>{a, wall}));
}
