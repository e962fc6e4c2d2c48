// The drawing tools pressed in the view as a user does: the tool chosen by command, the mouse
// from the script. The test document's commands set the model up and note what it holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "CMenuManager.h"
#include "COpeningDrawingTask.h"
#include "Commands.h"
#include "DrawingPlane.h"
#include "LongCoordinates.h"
#include "OpeningTestSupport.h"
#include "PaneScriptSupport.h"
#include "TaskSupport.h"
#include "VL3DDrawingTask.h"
#include "VLOpening.h"
#include "VLPolyline.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"

namespace {

std::vector<std::string> gNotes;

// A block tool whose blocks cannot be had, as when memory runs out.
class NoMemoryBlockTask : public VLBlockDrawingTask {
 protected:
  VLUser3DObject* NewObject() override { return nullptr; }
};

std::string UndoText() {
  gApplication->UpdateMenus();
  Str255 text;
  gMenuManager->GetCommandText(cmdUndo, text);
  return text.Std();
}

class TestDocument : public VLDocument {
 public:
  void DoCommand(long command) override {
    pane = static_cast<VLViewPane*>(GetViews() ? GetViews()->GetViewPane() : nullptr);
    if (command >= 90910 && command <= 90915) {  // drawing tool 0 to 5
      pane->SetToolGroup(1);
      pane->SelectDrawingTool(SInt16(command - 90910));
      return;
    }
    switch (command) {
      case 90900: {  // an empty model in plan, from -10 to 10 both ways
        RemoveModelObjects();
        const Vector3d min{-10, -10, 0}, max{10, 10, 5};
        pane->viewTransform->InitViewsForBox(&min, &max);
        pane->SetPlanView();
        pane->MarkObjectsChanged();
        pane->Refresh();
        break;
      }
      case 90901:
        gNotes.push_back(State());
        break;
      case 90902:  // the model emptied, the view kept
        RemoveModelObjects();
        pane->Refresh();
        break;
      case 90920:  // no memory for a task
        gNewDrawingTask = [](SInt16, SInt16) -> VL3DDrawingTask* { return nullptr; };
        break;
      case 90921:  // no memory for a block
        gNewDrawingTask = [](SInt16 group, SInt16 tool) -> VL3DDrawingTask* {
          return group == 1 && tool == 0 ? new NoMemoryBlockTask : nullptr;
        };
        break;
      case 90922:
        gNewDrawingTask = savedMaker;
        break;
      case 90930:  // a wall 10 long, 1 thick, 3 high, selected, seen from the front, the opening tool
        RemoveModelObjects();
        AddWall();
        break;
      default:
        VLDocument::DoCommand(command);
    }
  }

 private:
  // "group G tool T", the Undo item, then each model object: selected or not, its box, and for
  // a polyline its vertices and whether it is closed, for an opening owner its openings.
  std::string State() {
    const SInt16 group = GetToolGroup();
    char head[60];
    std::snprintf(head, sizeof head, "group %d tool %d open %d ", group, GetGroupTool(group), GetDrawingInProgress());
    std::string text = head + UndoText();
    VLArray* list = GetObjectList();
    for (long i = VLDocument::kFirstModelObject; i <= list->GetNumItems(); ++i) {
      auto* object = static_cast<VLUser3DObject*>(list->PointerAt(i));
      double lo[3], hi[3];
      object->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
      for (double* v : {&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]})
        if (std::fabs(*v) < 0.005) *v = 0.0;  // no "-0.00"
      char box[120];
      std::snprintf(box, sizeof box, " | %s%.2f..%.2f %.2f..%.2f %.2f..%.2f", object->selected ? "* " : "", lo[0],
                    hi[0], lo[1], hi[1], lo[2], hi[2]);
      text += box;
      if (auto* polyline = dynamic_cast<VLPolyline*>(object)) {
        std::snprintf(box, sizeof box, " vertices %d%s", polyline->vertexCount, polyline->closed ? " closed" : "");
        text += box;
      }
      if (auto* owner = dynamic_cast<VLOpeningOwner*>(object); owner && !owner->Openings().empty()) {
        text += " openings";
        for (VLOpening* opening : owner->Openings()) {
          std::snprintf(box, sizeof box, " %d/%d", opening->frontFace, opening->backFace);
          text += box;
        }
      }
    }
    return text;
  }

  void RemoveModelObjects() { ::RemoveModelObjects(GetObjectList()); }

  void AddWall() {
    openingtest::OwnerPtr made = openingtest::Wall();
    VLOpeningOwner* wall = made.get();
    GetObjectList()->AppendPointer(wall);
    made.release();
    gObjectCount = SInt32(GetObjectList()->GetNumItems());
    wall->Select();
    const Vector3d min{-1, -1, 0}, max{11, 2, 4};
    pane->viewTransform->InitViewsForBox(&min, &max);
    for (SInt16 view = 6100; view <= 6103; ++view) {
      pane->SetElevationView(view);
      if (pane->viewTransform->planeNormal.y < -0.9) break;  // looking at the front, y = 0
    }
    pane->SetToolGroup(5);
    pane->SelectOpeningTool(0);
    pane->MarkObjectsChanged();
    pane->Refresh();
  }

  VLViewPane* pane = nullptr;
  VL3DDrawingTask* (*savedMaker)(SInt16, SInt16) = gNewDrawingTask;
};

VLAbstractDocument* MakeTestDocument() { return new (std::nothrow) TestDocument; }

class DrawingToolScript : public PaneScriptFixture {
 protected:
  DrawingToolScript() : PaneScriptFixture(MakeTestDocument) {}
  void SetUp() override {
    PaneScriptFixture::SetUp();
    gNotes.clear();
  }
  void TearDown() override {
    PaneScriptFixture::TearDown();
    gAxisX = 0;
    gAxisY = 1;
    gAxisZ = 2;
  }
};

}  // namespace

// In the plan 23.14 pixels make a unit and located points go to the half unit: the block's drag
// from pane point (10, 10) to (60, 40) spans (-14, -11) to (-12, -10).
TEST_F(DrawingToolScript, ADragDrawsOneSelectedObjectThatUndoTakesOutAndRedoPutsBack) {
  ASSERT_EQ(Run("drawing_tools.vls"), 0);
  const std::string block = "group 1 tool 0 open 0 Undo Drawing | * -14.00..-12.00 -11.00..-10.00 0.00..0.00";
  const std::vector<std::string> expected{
      block,
      "group 1 tool 0 open 0 Redo Drawing",
      block,
      // A click without motion draws nothing; the block's Undo stays and still takes it out.
      block,
      "group 1 tool 0 open 0 Redo Drawing",
      // The cylinder, rectangle and arc tools return to the select tool; the line tool stays.
      "group 0 tool 0 open 0 Undo Drawing | * 0.00..2.00 0.00..2.00 0.00..0.00 vertices 16 closed",
      "group 0 tool 0 open 0 Undo Drawing | * 0.00..2.00 0.00..2.00 0.00..0.00 vertices 4 closed",
      "group 0 tool 0 open 0 Undo Drawing | * 0.00..1.00 0.00..1.00 0.00..0.00 vertices 18 closed",
      "group 1 tool 4 open 0 Undo Drawing | * 0.00..2.00 0.00..2.00 0.00..0.00 vertices 2",
  };
  EXPECT_EQ(gNotes, expected);
}

TEST_F(DrawingToolScript, APolylineTakesAVertexPerClickAndEndsOnItsFirstVertexOrADoubleClick) {
  ASSERT_EQ(Run("polyline.vls"), 0);
  const std::string open = "group 1 tool 3 open 1 ";
  const std::string closed = "0.00..4.00 0.00..3.00 0.00..0.00 vertices 3 closed";
  const std::vector<std::string> expected{
      open + "Undo Drawing | 0.00..4.00 0.00..3.00 0.00..0.00 vertices 3",
      open + "Redo Drawing | 0.00..4.00 0.00..0.00 0.00..0.00 vertices 2",
      open + "Undo Drawing | 0.00..4.00 0.00..3.00 0.00..0.00 vertices 3",
      // Closed on its first vertex: selected, the select tool chosen; Undo and Redo take it whole.
      "group 0 tool 0 open 0 Undo Drawing | * " + closed,
      "group 0 tool 0 open 0 Redo Drawing",
      "group 0 tool 0 open 0 Undo Drawing | * " + closed,
      // A double click after one vertex: the outline goes and nothing is left to undo.
      open + "Undo Drawing | * " + closed + " | 0.00..0.00 -4.50..-4.50 0.00..0.00 vertices 1",
      "group 0 tool 0 open 0 Undo  | * " + closed,
      // A double click places the last of three vertices, undone before, and ends the outline open.
      "group 0 tool 0 open 0 Undo Drawing | " + closed + " | * -4.50..-2.00 4.00..6.00 0.00..0.00 vertices 3",
      "group 0 tool 0 open 0 Redo Drawing | " + closed,
  };
  EXPECT_EQ(gNotes, expected);
}

TEST_F(DrawingToolScript, ARectangularOpeningOnAWallFaceGoesThroughBothFacesAndSurvivesUndoAndRedo) {
  ASSERT_EQ(Run("opening_tool.vls"), 0);
  const std::string wall = "group 5 tool 0 open 0 Undo Drawing | * 0.00..10.00 0.00..1.00 0.00..3.00";
  const std::string front = std::to_string(openingtest::kWallFront), back = std::to_string(openingtest::kWallBack);
  const std::string withOpening = wall + " openings " + front + "/" + back;
  const std::string undone = "group 5 tool 0 open 0 Redo Drawing | * 0.00..10.00 0.00..1.00 0.00..3.00";
  // After the drag above the wall the opening's Undo is still the one the Undo key takes.
  EXPECT_EQ(gNotes, (std::vector<std::string>{withOpening, undone, withOpening, withOpening, undone}));
}

TEST_F(DrawingToolScript, APressWhoseTaskOrObjectCannotBeHadChangesNothing) {
  ASSERT_EQ(Run("drawing_no_memory.vls"), 0);
  const std::string model = "open 0 Undo Drawing | * -14.00..-12.00 -11.00..-10.00 0.00..0.00";
  const std::vector<std::string> expected{"group 1 tool 0 " + model, "group 1 tool 3 " + model,
                                          "group 1 tool 0 " + model};
  EXPECT_EQ(gNotes, expected);
}
