// A property of every undoable edit built so far: made on a random selection of a random model,
// undone and redone with the selection left alone in between, it leaves the same objects as
// before the edit and as after it. Undo and Redo put objects back at the end of the object list,
// so the model is compared as the multiset of its objects' records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CAlignObjectsTask.h"
#include "CGroupTask.h"
#include "CObjectChangedTask.h"
#include "CObjectDeleteTask.h"
#include "PropertyTestSupport.h"
#include "TaskTestSupport.h"
#include "Unwinding.h"
#include "VLOpening.h"

namespace {

using tasktest::TaskModel;

enum EditKind { kDelete, kGroup, kUngroup, kAlign, kFlip, kColour, kVertices, kExtrude, kEditKinds };
const char* const kEditNames[kEditKinds] = {"delete", "group", "ungroup", "align", "flip", "colour", "vertices", "extrude"};

void AddSomething(TaskModel& model, proptest::Random& random) {
  const Vector3d at = random.Point(20.0);
  switch (random.Below(4)) {
    case 0:
      model.Block(at, {at.x + random.Between(0.5, 4), at.y + random.Between(0.5, 4), at.z + random.Between(0.5, 4)});
      break;
    case 1:
      model.WallWithWindows(at, 1 + random.Below(2));
      break;
    default: {
      // Three points or more: two would extrude to a flat panel, whose two faces change places
      // whenever it is oriented (grouping orients the members), the same shape in another record.
      std::vector<Vector3d> points;
      const int n = 3 + random.Below(3);
      for (int i = 0; i < n; ++i) points.push_back({at.x + 3 * std::cos(i * 1.3), at.y + 2 * std::sin(i * 1.3), 0});
      model.Outline(points, n > 2 && random.Below(2) == 0);
    }
  }
}

void SelectSome(TaskModel& model, proptest::Random& random) {
  model.DeselectAll();
  for (VLUser3DObject* object : model.Objects()) {
    if (random.Below(3) != 0) continue;
    auto* owner = dynamic_cast<VLOpeningOwner*>(object);
    const std::vector<VLOpening*> openings = owner ? owner->Openings() : std::vector<VLOpening*>{};
    if (!openings.empty() && random.Below(4) == 0)
      openings[std::size_t(random.Below(int(openings.size())))]->Select();
    else
      object->Select();
  }
}

// Makes the task of the edit and performs the edit as its command does.
CTask* MakeEdit(EditKind kind, TaskModel& model, proptest::Random& random) {
  const std::vector<VLUser3DObject*> selected = model.Selected();
  switch (kind) {
    case kDelete: {
      Owned<CObjectDeleteTask> task(new CObjectDeleteTask);
      task->IObjectDeleteTask(4);
      task->Do();
      return task.release();
    }
    case kGroup:
    case kUngroup: {
      Owned<CGroupTask> task(new CGroupTask);
      task->IGroupTask(kind == kGroup ? CGroupTask::kGroupName : CGroupTask::kUngroupName);
      task->Do();
      return task.release();
    }
    case kAlign: {
      Owned<CAlignObjectsTask> task(new CAlignObjectsTask);
      task->IAlignObjectsTask();
      for (VLUser3DObject* object : selected) {
        const Vector3d offset = random.Point(5.0);
        object->Move(&offset);
      }
      return task.release();
    }
    case kFlip: {
      Owned<CFlipTask> task(new CFlipTask);
      task->IFlipTask(22);
      const SInt16 axis = SInt16(random.Below(3));
      const int k = axis == 1 ? 0 : axis == 2 ? 2 : 1;
      for (VLUser3DObject* object : selected) {
        double lo[3], hi[3];
        object->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
        object->Flip(axis, lo[k], hi[k] - lo[k]);
      }
      return task.release();
    }
    case kColour: {
      Owned<CColorChangedTask> task(new CColorChangedTask);
      task->IColorChangedTask(5);
      RGBColor colour;
      colour.red = UInt16(random.Below(65536));
      colour.green = UInt16(random.Below(65536));
      colour.blue = UInt16(random.Below(65536));
      for (VLUser3DObject* object : selected) object->SetColor(&colour);
      return task.release();
    }
    case kVertices: {
      Owned<CVertsChangedTask> task(new CVertsChangedTask);
      task->IVertsChangedTask(18);
      for (VLUser3DObject* object : selected) {
        const int how = random.Below(3);
        if (how == 0) {
          const Vector3d offset = random.Point(3.0);
          object->Move(&offset);
        } else if (how == 1) {
          // The object alone narrows along x: openings that no longer fit come off.
          object->SetArrayPointers();
          const double x0 = object->vertexCount > 0 ? object->vertices[0].x : 0.0;
          for (SInt16 i = 0; i < object->vertexCount; ++i)
            object->vertices[i].x = x0 + (object->vertices[i].x - x0) * 0.3;
          object->GeometryChanged();
        } else {
          // Often enough narrower than a window, so that openings come off.
          Vector3d centre;
          object->GetCentre(&centre);
          const Vector3d factors{random.Between(0.1, 2.0), random.Between(0.5, 2.0), random.Between(0.5, 2.0)};
          object->ScaleAbout(&centre, &factors);
          object->GeometryChanged();
        }
      }
      return task.release();
    }
    case kExtrude:
    default: {
      Owned<CVertsAndTypeChangedTask> task(new CVertsAndTypeChangedTask);
      task->IVertsAndTypeChangedTask(2);
      const double height = random.Between(0.5, 4.0);
      for (VLUser3DObject* object : selected) object->Extrude(height);
      return task.release();
    }
  }
}

}  // namespace

TEST(UndoProperty, EveryEditUndoneAndRedoneLeavesTheSameObjectsAsBeforeAndAfterIt) {
  TaskModel model;
  proptest::Random random(2808);
  Owned<CTask> last;  // the one last task, as the application keeps it
  int edits = 0;
  for (int step = 0; edits < 1000 && step < 20000; ++step) {
    while (model.Objects().size() < 6) AddSomething(model, random);
    SelectSome(model, random);
    if (model.Selected().empty()) continue;  // the commands make no task then
    const auto kind = EditKind(random.Below(kEditKinds));
    const std::vector<std::string> before = model.Records();
    CTask* task = MakeEdit(kind, model, random);
    last.reset(task);
    ++edits;
    const std::vector<std::string> after = model.Records();
    task->Undo();
    ASSERT_EQ(model.Records(), before) << "undo of edit " << edits << ", " << kEditNames[kind];
    task->Redo();
    ASSERT_EQ(model.Records(), after) << "redo of edit " << edits << ", " << kEditNames[kind];
  }
  EXPECT_EQ(edits, 1000);
}
