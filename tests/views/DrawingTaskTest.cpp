// The drawing tools' tasks in the program: a test document drives each task's mouse steps with
// pane points, as the pane's press will, in a plan view of a real pane, and notes what the model
// holds after the drag and after the Undo command and its Redo.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "AppResources.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "ApplicationMain.h"
#include "COpeningDrawingTask.h"
#include "CPolyLineDrawingTask.h"
#include "OpeningTestSupport.h"
#include "VLOpening.h"
#include "CMenuManager.h"
#include "Commands.h"
#include "FileTypes.h"
#include "ObjectList.h"
#include "Resources.h"
#include "ShellStartup.h"
#include "TempFolder.h"
#include "VL3DDrawingTask.h"
#include "VLApplication.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLPaneDocumentViews.h"
#include "VLPolyline.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"
#include "PaneScriptSupport.h"

namespace {

struct Extent {
  Vector3d min{105600, 105600, 105600}, max{-105600, -105600, -105600};
};

// What one drag left.
struct DragNote {
  long before = 0, after = 0, afterUndo = 0, afterRedo = 0;
  bool selected = false, backAtEnd = false;
  Extent extent;
  Vector3d start, end;
};

struct Notes {
  std::vector<DragNote> drags;        // 90210: block; 90230: cylinder, rectangle, arc, line
  DragNote click;                      // 90220: a click without motion
  bool clickKeptUndo = false;
  std::vector<SInt16> polylineCounts;  // 90240: vertices after each step
  std::vector<std::string> undoTexts;  // 90240: the Undo item after each click
  bool polylineClosedAndSelected = false;
  struct OpeningNote {
    std::size_t afterDrag = 0, afterUndo = 0, afterRedo = 0;
    SInt16 faces[2] = {-1, -1};
    double width = 0.0;
    int polls = 0;
  } opening;                 // 90270
  std::size_t lockedOpenings = 0;  // 90280
  SInt16 lockedFaces[2] = {-1, -1};
  DragNote noMemory;        // 90260
  bool noMemoryFlags = true;
  std::vector<const void*> typedEntry;  // 90250: gTypedEntryTask after "x", after "y", after the release
};
Notes gNotes;

Extent ExtentOf(VLUser3DObject* object) {
  Extent e;
  object->GetBounds(&e.min.x, &e.min.y, &e.min.z, &e.max.x, &e.max.y, &e.max.z);
  return e;
}

LongPt At(SInt32 h, SInt32 v) {
  LongPt p;
  p.h = h;
  p.v = v;
  return p;
}

std::string UndoText() {
  gApplication->UpdateMenus();
  Str255 text;
  gMenuManager->GetCommandText(cmdUndo, text);
  return text.Std();
}

// A block tool whose blocks cannot be had, as when memory runs out.
class NoMemoryBlockTask : public VLBlockDrawingTask {
 protected:
  VLUser3DObject* NewObject() override { return nullptr; }
};

// The rectangular opening tool with the locator's face lock stood in for: the face under the
// locator is the wall's front, and the rubber band grows on it poll by poll.
class FaceLockedOpeningTask : public CRectangularOpeningTask {
 public:
  static inline VLOpeningOwner* wall = nullptr;
  static inline int polls = 0;

 protected:
  VLOpeningOwner* FaceUnderLocator() override { return wall; }
  Boolean LockedFaceOutline(Vector3d points[4], SInt16* face) override {
    const double x1 = 3.0 + 0.5 * polls++;
    points[0] = {2, 0, 1};
    points[1] = {x1, 0, 1};
    points[2] = {x1, 0, 2};
    points[3] = {2, 0, 2};
    *face = openingtest::kWallFront;
    return true;
  }
};

class TestDocument : public VLDocument {
 public:
  void DoCommand(long command) override {
    pane = static_cast<VLViewPane*>(GetViews() ? GetViews()->GetViewPane() : nullptr);
    switch (command) {
      case 90200: {  // plan over the ground around the origin
        const Vector3d min{-10, -10, 0}, max{10, 10, 5};
        pane->viewTransform->InitViewsForBox(&min, &max);
        pane->viewTransform->UpdateForViewKind();
        pane->viewToolCommand = VLViewPane::kPlanCommand;
        pane->MarkObjectsChanged();
        pane->Refresh();
        break;
      }
      case 90210:
        gNotes.drags.push_back(Drag(new VLBlockDrawingTask, {At(10, 10), At(30, 20), At(60, 40)}));
        break;
      case 90220: {  // a press and release at one point
        CTask* previous = gApplication->GetLastTask();
        gNotes.click = Drag(new VLBlockDrawingTask, {At(80, 80)});
        gNotes.clickKeptUndo = previous != nullptr && gApplication->GetLastTask() == previous;
        break;
      }
      case 90230:
        gNotes.drags.push_back(Drag(new CCylinderDrawingTask, {At(10, 10), At(30, 20), At(60, 40)}));
        gNotes.drags.push_back(Drag(new CRectangleDrawingTask, {At(10, 10), At(30, 20), At(60, 40)}));
        gNotes.drags.push_back(Drag(new CArcDrawingTask, {At(10, 10), At(30, 20), At(60, 40)}));
        gNotes.drags.push_back(Drag(new CLineDrawingTask, {At(10, 10), At(30, 20), At(60, 40)}));
        // The line undone again: the next task replaces it and frees the line.
        gApplication->DoCommand(cmdUndo);
        break;
      case 90240:
        Polyline();
        break;
      case 90250:
        TypedDuringADrag();
        break;
      case 90270:
        Opening();
        break;
      case 90280:
        OpeningOnTheLockedFace();
        break;
      case 90260: {  // a drag whose object cannot be made
        gNotes.noMemory = Drag(new NoMemoryBlockTask, {At(10, 10), At(60, 40)});
        gNotes.noMemoryFlags = gTrackingDrawing || pane->partialCopy;
        break;
      }
      default:
        VLDocument::DoCommand(command);
    }
  }

 private:
  // The press at the first point, polls at the others (each twice, as the button is polled
  // whether the mouse moved or not), the release at the last; notified when the list grew, as
  // the pane does; then the Undo command and its Redo.
  DragNote Drag(VL3DDrawingTask* task, std::vector<LongPt> points) {
    DragNote note;
    VLArray* list = GetObjectList();
    note.before = list->GetNumItems();
    task->IDrawingTask(VL3DDrawingTask::kDrawingName, pane->viewTransform);
    pane->crosshair->lastPanePoint.h = -9999;
    gTrackingDrag = 1;
    task->BeginTracking(&points.front());
    note.start = task->GetStartPoint();
    LongPt previous = points.front();
    for (LongPt& p : points) {
      task->KeepTracking(&p, &previous, &points.front());
      task->KeepTracking(&p, &p, &points.front());
      previous = p;
    }
    task->EndTracking(&points.back(), &previous, &points.front());
    note.end = pane->currentPoint;
    note.after = list->GetNumItems();
    if (note.after == note.before) {
      task->Dispose();
      return note;
    }
    Notify(task);
    auto* made = static_cast<VLUser3DObject*>(list->PointerAt(note.after));
    note.selected = made->selected && gCurrentSelection->GetNumItems() == 1;
    note.extent = ExtentOf(made);
    gApplication->DoCommand(cmdUndo);
    note.afterUndo = list->GetNumItems();
    gApplication->DoCommand(cmdUndo);
    note.afterRedo = list->GetNumItems();
    note.backAtEnd = list->PointerAt(list->GetNumItems()) == made && made->selected;
    return note;
  }

  // Clicks at three points (the first a click without a drag), Undo and Redo of the last vertex,
  // then a click back on the first vertex, which closes and finishes the outline.
  void Polyline() {
    auto* task = new CPolyLineDrawingTask;
    task->IDrawingTask(VL3DDrawingTask::kDrawingName, pane->viewTransform);
    SetDrawingInProgress(1);  // as the pane sets it with the first click
    auto click = [&](LongPt p, bool first) {
      pane->crosshair->lastPanePoint.h = -9999;
      gTrackingDrag = 1;
      task->BeginTracking(&p);
      LongPt moved = p;
      if (!first) task->KeepTracking(&moved, &moved, &p);
      task->EndTracking(&p, &p, &p);
      if (first) Notify(task);
      gNotes.polylineCounts.push_back(task->GetPolyline() ? task->GetPolyline()->vertexCount : -1);
      gNotes.undoTexts.push_back(UndoText());
    };
    click(At(20, 20), true);
    click(At(100, 20), false);
    click(At(100, 90), false);
    gApplication->DoCommand(cmdUndo);
    gNotes.polylineCounts.push_back(task->GetPolyline()->vertexCount);
    gApplication->DoCommand(cmdUndo);
    gNotes.polylineCounts.push_back(task->GetPolyline()->vertexCount);
    click(At(20, 20), false);
    VLPolyline* polyline = task->GetPolyline();
    gNotes.polylineClosedAndSelected = polyline->closed && !polyline->underConstruction && polyline->selected &&
                                       !GetDrawingInProgress() && !pane->polylineUnderConstruction;
  }

  // "x" and then "y" typed during a block drag: one typed-entry task, gone at the release.
  void TypedDuringADrag() {
    auto* task = new VLBlockDrawingTask;
    task->IDrawingTask(VL3DDrawingTask::kDrawingName, pane->viewTransform);
    LongPt start = At(150, 150), p = At(170, 160);
    pane->crosshair->lastPanePoint.h = -9999;
    task->BeginTracking(&start);
    task->KeepTracking(&p, &start, &start);
    vlui::PostEvent(keyDown, UInt32('x'), 0);
    task->KeepTracking(&p, &p, &start);
    gNotes.typedEntry.push_back(gTypedEntryTask);
    vlui::PostEvent(keyDown, UInt32('y'), 0);
    task->KeepTracking(&p, &p, &start);
    gNotes.typedEntry.push_back(gTypedEntryTask);
    task->EndTracking(&p, &p, &start);
    gNotes.typedEntry.push_back(gTypedEntryTask);
    Notify(task);
  }

  // A rectangular opening dragged on a wall's front face, then the Undo command and its Redo;
  // left undone, the next task frees it.
  void Opening() {
    openingtest::OwnerPtr wall = openingtest::Wall();
    FaceLockedOpeningTask::wall = wall.get();
    FaceLockedOpeningTask::polls = 0;
    GetObjectList()->AppendPointer(wall.get());
    VLOpeningOwner* owner = wall.release();
    auto* task = new FaceLockedOpeningTask;
    task->IDrawingTask(VL3DDrawingTask::kDrawingName, pane->viewTransform);
    std::vector<LongPt> points{At(200, 100), At(260, 100), At(320, 100)};
    pane->crosshair->lastPanePoint.h = -9999;
    task->BeginTracking(&points.front());
    for (LongPt& p : points) task->KeepTracking(&p, &p, &points.front());
    task->EndTracking(&points.back(), &points.back(), &points.front());
    Notify(task);
    Notes::OpeningNote& note = gNotes.opening;
    note.afterDrag = owner->Openings().size();
    if (VLOpening* opening = task->GetOpening()) {
      note.faces[0] = opening->frontFace;
      note.faces[1] = opening->backFace;
      opening->SetArrayPointers();
      note.width = opening->vertices[1].x - opening->vertices[0].x;
      note.polls = FaceLockedOpeningTask::polls;
    }
    gApplication->DoCommand(cmdUndo);
    note.afterUndo = owner->Openings().size();
    gApplication->DoCommand(cmdUndo);
    note.afterRedo = owner->Openings().size();
    gApplication->DoCommand(cmdUndo);
    FaceLockedOpeningTask::wall = nullptr;
  }

  // The real face lock: the wall selected and seen from the front, the crosshair on the faces of
  // the selection and locked to the first face hit, a drag across the front face.
  void OpeningOnTheLockedFace() {
    openingtest::OwnerPtr made = openingtest::Wall();
    VLOpeningOwner* wall = made.get();
    GetObjectList()->AppendPointer(wall);
    made.release();
    while (gCurrentSelection->GetNumItems() > 0)
      static_cast<VLUser3DObject*>(gCurrentSelection->PointerAt(1))->Deselect();
    wall->Select();
    const Vector3d min{-1, -1, 0}, max{11, 2, 4};
    pane->viewTransform->InitViewsForBox(&min, &max);
    for (SInt16 command = 6100; command <= 6103; ++command) {
      pane->SetElevationView(command);
      if (pane->viewTransform->planeNormal.y < -0.9) break;  // looking at the front, y = 0
    }
    pane->MarkObjectsChanged();
    pane->Refresh();
    Vector3d located = pane->currentPoint;
    pane->crosshair->SetLocateMode(1, wall, false, &located);
    pane->crosshair->LockToFirstFace();
    std::vector<LongPt> points;
    for (const Vector3d& p : {Vector3d{3, 0, 1}, Vector3d{4, 0, 1.5}, Vector3d{5, 0, 2}}) {
      Vector3d onPane;
      pane->viewTransform->ProjectPoint(&p, &onPane);
      points.push_back(At(SInt32(onPane.x), SInt32(onPane.y)));
    }
    auto* task = new CRectangularOpeningTask;
    task->IDrawingTask(VL3DDrawingTask::kDrawingName, pane->viewTransform);
    pane->crosshair->lastPanePoint.h = -9999;
    task->BeginTracking(&points.front());
    for (LongPt& p : points) task->KeepTracking(&p, &p, &points.front());
    task->EndTracking(&points.back(), &points.back(), &points.front());
    pane->crosshair->UnlockFace();
    pane->crosshair->SetLocateMode(0, nullptr, false, &located);
    Notify(task);
    gNotes.lockedOpenings = wall->Openings().size();
    if (VLOpening* opening = task->GetOpening()) {
      gNotes.lockedFaces[0] = opening->frontFace;
      gNotes.lockedFaces[1] = opening->backFace;
    }
  }

  VLViewPane* pane = nullptr;
};

VLAbstractDocument* MakeTestDocument() { return new (std::nothrow) TestDocument; }

class DrawingTaskScript : public PaneScriptFixture {
 protected:
  DrawingTaskScript() : PaneScriptFixture(MakeTestDocument) {}
  void SetUp() override {
    PaneScriptFixture::SetUp();
    gNotes = Notes();
  }
  void TearDown() override {
    PaneScriptFixture::TearDown();
    EXPECT_EQ(gTypedEntryTask, nullptr);
    // The front elevation leaves its drawing axes behind, as the program keeps them between
    // views; the next test starts on the ground plane.
    gAxisX = 0;
    gAxisY = 1;
    gAxisZ = 2;
  }
};

}  // namespace

TEST_F(DrawingTaskScript, DragsDrawOneSelectedObjectThatUndoTakesOutAndRedoPutsBack) {
  ASSERT_EQ(Run("drawing_tasks.vls"), 0);
  ASSERT_EQ(gNotes.drags.size(), 5u);
  const char* const tools[] = {"block", "cylinder", "rectangle", "arc", "line"};
  for (std::size_t i = 0; i < gNotes.drags.size(); ++i) {
    const DragNote& d = gNotes.drags[i];
    EXPECT_EQ(d.after, d.before + 1) << tools[i];
    EXPECT_TRUE(d.selected) << tools[i];
    EXPECT_EQ(d.afterUndo, d.before) << tools[i];
    EXPECT_EQ(d.afterRedo, d.after) << tools[i];
    EXPECT_TRUE(d.backAtEnd) << tools[i];
  }
  // The block spans the located start and end points across the plan.
  const DragNote& block = gNotes.drags[0];
  EXPECT_NE(block.start.x, block.end.x);
  EXPECT_NE(block.start.y, block.end.y);
  EXPECT_DOUBLE_EQ(block.extent.min.x, std::min(block.start.x, block.end.x));
  EXPECT_DOUBLE_EQ(block.extent.max.x, std::max(block.start.x, block.end.x));
  EXPECT_DOUBLE_EQ(block.extent.min.y, std::min(block.start.y, block.end.y));
  EXPECT_DOUBLE_EQ(block.extent.max.y, std::max(block.start.y, block.end.y));
  // The line runs from the start point to the release point.
  const DragNote& line = gNotes.drags[4];
  EXPECT_DOUBLE_EQ(line.extent.min.x, std::min(line.start.x, line.end.x));
  EXPECT_DOUBLE_EQ(line.extent.max.y, std::max(line.start.y, line.end.y));
}

TEST_F(DrawingTaskScript, AnOpeningDraggedOnAWallFaceGoesThroughBothFacesAndSurvivesUndoAndRedo) {
  ASSERT_EQ(Run("drawing_tasks.vls"), 0);
  EXPECT_EQ(gNotes.opening.afterDrag, 1u);
  EXPECT_EQ(gNotes.opening.faces[0], openingtest::kWallFront);
  EXPECT_EQ(gNotes.opening.faces[1], openingtest::kWallBack);
  // Placed 1 wide, then reshaped by every later poll, half a unit wider each time.
  EXPECT_GE(gNotes.opening.polls, 2);
  EXPECT_DOUBLE_EQ(gNotes.opening.width, 1.0 + 0.5 * (gNotes.opening.polls - 1));
  EXPECT_EQ(gNotes.opening.afterUndo, 0u);
  EXPECT_EQ(gNotes.opening.afterRedo, 1u);
}

TEST_F(DrawingTaskScript, TheOpeningToolCutsThroughTheFaceTheCrosshairIsLockedOn) {
  ASSERT_EQ(Run("drawing_tasks.vls"), 0);
  EXPECT_EQ(gNotes.lockedOpenings, 1u);
  EXPECT_EQ(gNotes.lockedFaces[0], openingtest::kWallFront);
  EXPECT_EQ(gNotes.lockedFaces[1], openingtest::kWallBack);
}

TEST_F(DrawingTaskScript, ACoordinateKeyDuringADragMakesOneTypedEntryTaskThatTheReleaseDisposes) {
  ASSERT_EQ(Run("drawing_tasks.vls"), 0);
  ASSERT_EQ(gNotes.typedEntry.size(), 3u);
  EXPECT_NE(gNotes.typedEntry[0], nullptr);
  EXPECT_EQ(gNotes.typedEntry[1], gNotes.typedEntry[0]);
  EXPECT_EQ(gNotes.typedEntry[2], nullptr);
}

TEST_F(DrawingTaskScript, AClickWithoutMotionOrAnObjectThatCannotBeMadeDrawsNothingAndKeepsThePreviousUndo) {
  ASSERT_EQ(Run("drawing_tasks.vls"), 0);
  EXPECT_EQ(gNotes.click.after, gNotes.click.before);
  EXPECT_TRUE(gNotes.clickKeptUndo);
  EXPECT_EQ(gNotes.noMemory.after, gNotes.noMemory.before);
  EXPECT_FALSE(gNotes.noMemoryFlags);
}

TEST_F(DrawingTaskScript, APolylineTakesAVertexPerClickWithUndoAndRedoOfTheLastAndClosesOnItsFirst) {
  ASSERT_EQ(Run("drawing_tasks.vls"), 0);
  // Three clicks, Undo, Redo, the click on the first vertex (which adds none).
  EXPECT_EQ(gNotes.polylineCounts, (std::vector<SInt16>{1, 2, 3, 2, 3, 3}));
  for (const std::string& text : gNotes.undoTexts) EXPECT_EQ(text, "Undo Drawing");
  EXPECT_TRUE(gNotes.polylineClosedAndSelected);
}
