// The view pane's own commands, its menu checks, its keys and its cursor, driven through the
// program's event loop by the scripts of tests/views/scripts. A test document answers a few
// commands of its own (numbered from 92000) that build a model, choose tools and display modes
// directly and note the state; it also notes the commands and keys that reach it from the pane.
#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "CMenuManager.h"
#include "CSectionPlane.h"
#include "CViewInfo.h"
#include "CWorkingPlaneTool.h"
#include "Cursors.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "PaneScriptSupport.h"
#include "TaskSupport.h"
#include "VLArray.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLGrid.h"
#include "VLPaneDocumentViews.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "LocationBar.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"
#include "ViewTestSupport.h"

namespace {

std::vector<std::string> gLog;

// A text bar that notes what the pane asks of it.
class NotingBar : public LocationBar {
 public:
  CCollaborator* AsCollaborator() override { return &collaborator; }
  void SetViewTransform(VLViewTransform*) override {}
  void SetMode(UInt16 mode) override {
    this->mode = mode;
    gLog.push_back("bar mode " + std::to_string(mode));
  }
  UInt16 GetMode() const override { return mode; }
  void ShowPoint(const Vector3d& p, Boolean) override {
    char text[80];
    std::snprintf(text, sizeof text, "bar point %.1f %.1f %.1f", p.x, p.y, p.z);
    gLog.push_back(text);
  }
  void SetReference(const Vector3d&, Boolean) override {}
  void GetReferencePoint(Vector3d* point) const override { *point = Vector3d{}; }
  void FocusPointField(SInt16 index) override { gLog.push_back("field 0 " + std::to_string(index)); }
  void FocusOffsetField(SInt16 index) override { gLog.push_back("field 1 " + std::to_string(index)); }
  void ReformatFields() override {}

 private:
  CCollaborator collaborator;
  UInt16 mode = kModeOff;
};
NotingBar gBar;

std::string Point3(const Vector3d& p) {
  char text[80];
  std::snprintf(text, sizeof text, "%.2f,%.2f,%.2f", p.x + 0.0, p.y + 0.0, p.z + 0.0);
  return text;
}

class CommandsDocument : public VLDocument {
 public:
  void DoCommand(long command) override {
    VLViewPane* pane = GetViews() ? GetViews()->GetViewPane() : nullptr;
    if (command == 21 || command == 5015 || (command >= 5023 && command <= 5026) ||
        (command >= 6100 && command <= 6103)) {
      gLog.push_back("document " + std::to_string(command));
      return;
    }
    if (command >= 92100 && command < 92200) {  // 921GT: tool T of group G
      const SInt16 group = SInt16((command - 92100) / 10), tool = SInt16(command % 10);
      pane->SetToolGroup(group);
      if (group == 1) pane->SelectDrawingTool(tool);
      if (group == 2) pane->SelectViewTool(tool);
      if (group == 0) pane->SelectEditTool(tool);
      return;
    }
    switch (command) {
      case 92001: {  // a wall along x and a block beside it, in view
        AddBox({-6, -0.5, 0}, {6, 0.5, 3}, {52000, 30000, 20000});
        AddBox({1, 2, 0}, {3, 4, 2}, {30000, 55000, 30000});
        const Vector3d min{-6, -0.5, 0}, max{6, 4, 3};
        pane->viewTransform->InitViewsForBox(&min, &max);
        pane->textBar = &gBar;
        break;
      }
      case 92002:  // shaded
      case 92003:  // wireframe
      case 92004:  // hidden lines
        pane->wireframe = command == 92003;
        pane->hiddenLine = command != 92003;
        pane->shaded = command == 92002;
        pane->shadowMode = 0;
        pane->PublishDisplayMode();
        pane->MarkObjectsChanged();
        pane->Refresh();
        break;
      case 92005:  // shadow display without a caster
        pane->wireframe = pane->hiddenLine = pane->shaded = 0;
        pane->shadowMode = 1;
        pane->PublishDisplayMode();
        break;
      case 92007:  // the axonometric view of the whole model
        pane->SetAxonometricView();
        pane->MarkObjectsChanged();
        pane->Refresh();
        break;
      case 92006:  // plan view
        pane->SetPlanView();
        break;
      case 92010:  // the wall selected
      case 92011:  // both selected
      case 92012:  // the block's top face selected (face 1 of a box record), then its side (face 2)
      case 92013:
        Deselect();
        Model(1)->Select();
        if (command == 92011) Model(2)->Select();
        if (command >= 92012) {
          Model(1)->faceMode = 1;
          Model(1)->currentFace = command == 92012 ? TopFace(Model(1)) : SideFace(Model(1));
        }
        break;
      case 92014:
        Deselect();
        break;
      case 92020:
        gLog.push_back(State(pane));
        break;
      case 92021: {  // the menu checks with three saved views, the third shown
        PutSavedViews(3, 3);
        pane->showingSavedView = 1;
        BuildViewsMenu();
        pane->UpdateMenus();
        std::string checks = "checks";
        for (long c : {6000L, 6003L, 6004L, 6006L, 6007L, 6013L, 6501L, 6502L, 6503L})
          if (gMenuManager->IsCommandChecked(c)) checks += " " + std::to_string(c);
        gLog.push_back(checks);
        break;
      }
      case 92030: {  // the cursor of each tool, and whether the crosshair moved to the mouse
        std::string cursors = "cursors";
        for (const auto& [group, tool] : kCursorCases) {
          SetGroupTool(group, tool);
          currentToolGroup = group;
          const Vector3d before = pane->currentPoint;
          PortSetArrowCursor();
          vlui::SetMouse(PaneToGlobal(pane, Point{SInt16(100 + 7 * tool), SInt16(150 + 11 * group)}));
          pane->AdjustCursor(Point{}, nullptr);
          const bool moved = !(before.x == pane->currentPoint.x && before.y == pane->currentPoint.y &&
                               before.z == pane->currentPoint.z);
          cursors += " " + std::to_string(vlui::CurrentCursorId()) + (moved ? "m" : "");
        }
        gLog.push_back(cursors);
        break;
      }
      case 92031:  // the command key held, then let go, over the pane in the orbit tool
      case 92032:
        vlui::SetModifiers(command == 92031 ? cmdKey : 0);
        pane->AdjustCursor(Point{}, nullptr);
        vlui::SetModifiers(0);
        break;
      case 92040:  // the view's eye angles, to see key steps
        pane->SyncOrbitAngles();
        gLog.push_back(ViewState(pane));
        break;
      case 92099:  // before the window goes
        pane->textBar = nullptr;
        break;
      default:
        VLDocument::DoCommand(command);
    }
  }
  // Part of what the document's own menu update will enable: the pane's commands.
  void UpdateMenus() override {
    VLDocument::UpdateMenus();
    gMenuManager->EnableCommand(4001);
    gMenuManager->EnableCommand(5015);
    gMenuManager->EnableCommand(6010);
  }
  void DoKeyDown(char c, UInt8, EventRecord*) override { gLog.push_back("key " + std::to_string(int(c))); }

  static constexpr std::pair<SInt16, SInt16> kCursorCases[] = {{0, 0}, {0, 1}, {1, 1}, {1, 3}, {1, 7}, {1, 8}, {1, 9},
                                                               {2, 0}, {2, 1}, {2, 2}, {5, 2}, {5, 4}, {6, 0}, {7, 0}};

 private:
  VLUser3DObject* Model(long n) { return static_cast<VLUser3DObject*>(GetObjectList()->PointerAt(2 + n)); }
  void Deselect() {
    for (long i = GetObjectList()->GetNumItems(); i >= kFirstModelObject; --i) {
      Model(i - 2)->faceMode = 0;
      Model(i - 2)->Deselect();
    }
  }
  // The face whose plane is z = top, and one whose normal is horizontal.
  static SInt16 TopFace(VLUser3DObject* o) { return FaceWithNormal(o, 2); }
  static SInt16 SideFace(VLUser3DObject* o) { return FaceWithNormal(o, 0); }
  static SInt16 FaceWithNormal(VLUser3DObject* o, int axis) {
    o->SetArrayPointers();
    for (SInt16 f = 0; f < o->faceCount; ++f) {
      const double n[3] = {o->faces[f].a, o->faces[f].b, o->faces[f].c};
      if (n[axis] > 0.99) return f;
    }
    return -1;
  }
  void AddBox(Vector3d lo, Vector3d hi, RGBColor colour) { AppendBox(GetObjectList(), lo, hi)->SetColor(&colour); }
  // count view records in place of the saved views; the one at current is shown.
  void PutSavedViews(long count, long current) {
    while (itsSavedViews->GetNumItems() > 0) {
      ClearViewsMenu();
      auto* view = static_cast<CCollaborator*>(itsSavedViews->PointerAt(1));
      itsSavedViews->DeleteItem(1);
      view->Dispose();
    }
    for (long i = 1; i <= count; ++i) {
      auto* view = new CViewInfo;
      view->current = i == current;
      itsSavedViews->AppendPointer(view);
    }
  }
  static Point PaneToGlobal(VLViewPane* pane, Point p) {
    pane->PrepareDrawingPort();
    PortLocalToGlobal(&p);
    return p;
  }
  std::string State(VLViewPane* pane) {
    auto* section = static_cast<CSectionPlane*>(GetSectionPlane());
    CWorkingPlaneTool* plane = GetViews()->GetWorkingPlaneTool();
    plane->SetArrayPointers();
    auto* views = static_cast<VLPaneDocumentViews*>(GetViews());
    std::string text = "group " + std::to_string(GetToolGroup()) + " grid " + std::to_string(views->grid->visible) +
                       " cut " + std::to_string(section->IsCutting()) + " plane " + Point3(plane->vertices[0]) +
                       " z-end " + Point3(plane->vertices[3]) + " display " + std::to_string(gWireframeMode) +
                       std::to_string(gHiddenLineMode) + std::to_string(gShadedMode) + std::to_string(gShadowMode) +
                       " point " + Point3(pane->currentPoint);
    for (long n = 1; n + 2 <= GetObjectList()->GetNumItems(); ++n) {
      double lo[3], hi[3];
      Model(n)->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
      char y[64];
      std::snprintf(y, sizeof y, " | y %.2f..%.2f", lo[1], hi[1]);
      text += y + std::string(Model(n)->frame ? " framed" : "");
    }
    return text;
  }
  static std::string ViewState(VLViewPane* pane) {
    char text[120];
    std::snprintf(text, sizeof text, "view %d alt %.1f az %.1f", pane->viewToolCommand, pane->eyeAltitude,
                  pane->eyeAzimuth);
    return text;
  }
};

VLAbstractDocument* MakeCommandsDocument() { return new (std::nothrow) CommandsDocument; }

class PaneCommands : public PaneScriptFixture {
 protected:
  PaneCommands() : PaneScriptFixture(MakeCommandsDocument) {}
  void SetUp() override {
    PaneScriptFixture::SetUp();
    gLog.clear();
    gCrosshairShown = 0;
  }
  void TearDown() override {
    PaneScriptFixture::TearDown();
  }
};

}  // namespace

// Each state line: the tool group, the ground grid, the section cut, the working plane's origin
// and z-axis end, the display bytes (wireframe, hidden lines, shaded, shadows), the current
// point and the y extents of the wall and the block.

TEST_F(PaneCommands, GridPlaneAlignmentAndShadowCommandsChangeWhatThePartsSay) {
  EXPECT_EQ(Run("pane_commands.vls"), 0);
  const std::string start = " plane 0.00,0.00,0.00 z-end 0.00,0.00,15.00 display 1000 point 0.00,0.00,0.00";
  const std::string onTop = " plane -6.00,0.50,3.00 z-end -6.00,0.50,18.00 display ";
  const std::string apart = " | y -0.50..0.50 | y 2.00..4.00", aligned = " | y 3.00..4.00 | y 2.00..4.00";
  const std::vector<std::string> expected{
      "group 0 grid 1 cut 0" + start + apart,
      "group 0 grid 0 cut 0" + start + apart,
      // The section tool shows the plane, which cuts; the working-plane tool, then its reset.
      "group 7 grid 0 cut 1" + start + apart,
      "group 6 grid 0 cut 1" + start + apart,
      "group 6 grid 0 cut 1" + start + apart,
      // Onto the wall's frame at its reference corner; the frame made for it goes again. Back in
      // the select tool, the bar shows the crosshair's point.
      "bar mode 1",
      "group 0 grid 0 cut 1 plane -6.00,-0.50,0.00 z-end -6.00,-0.50,15.00 display 1000 point -6.00,-0.50,0.00" + apart,
      // In plan onto the wall's top face; its side face is refused, as is a selection of two.
      "group 0 grid 0 cut 1" + onTop + "1000 point -6.00,0.50,3.00" + apart,
      "group 0 grid 0 cut 1" + onTop + "1000 point -6.00,0.50,3.00" + apart,
      "group 0 grid 0 cut 1" + onTop + "1000 point -6.00,0.50,3.00" + apart,
      // 6604: the south sides level with the selection's largest y.
      "group 0 grid 0 cut 1" + onTop + "1000 point -6.00,0.50,3.00" + aligned,
      // The sun keeps shadow display; a clear leaves it for shaded hidden lines first.
      "document 5015",
      "group 0 grid 0 cut 1" + onTop + "0001 point -6.00,0.50,3.00" + aligned,
      "document 21",
      "group 0 grid 0 cut 1" + onTop + "0110 point -6.00,0.50,3.00" + aligned,
      // Plan, the display modes and the third of three saved views (6503).
      "checks 6000 6007 6013 6503",
  };
  EXPECT_EQ(gLog, expected);
}

TEST_F(PaneCommands, KeysStepTheCrosshairSelectFieldsAndSendTheArrowsCommands) {
  EXPECT_EQ(Run("pane_keys.vls"), 0);
  const std::string rest = " plane 0.00,0.00,0.00 z-end 0.00,0.00,15.00 display 1000 point 0.00,0.00,";
  const std::string boxes = " | y -0.50..0.50 | y 2.00..4.00";
  const std::vector<std::string> expected{
      // The block tool (the bar shows the crosshair's point): 7 sets the height along the ground's
      // normal, > and < < step it.
      "bar mode 1",
      "group 1 grid 0 cut 0" + rest + "7.00" + boxes, "group 1 grid 0 cut 0" + rest + "6.00" + boxes,
      // x and tab: the first field of each group; command-down the north elevation, command-
      // option-left the vertex command 5025, delete a clear, q the document's.
      "field 0 0", "field 1 0", "document 6100", "document 5025", "document 21", "key 113",
      // The orbit tool (the bar shows the eye): command-down tilts the view, left turns it, q goes on.
      "bar mode 2", "bar point 4.3 9.1 8.9",
      "view 6003 alt 65.2 az 30.0", "view 6003 alt 85.2 az 30.0", "view 6003 alt 85.2 az 10.0", "key 113",
      // The zoom rectangle swallows down, q and x.
  };
  EXPECT_EQ(gLog, expected);
}

TEST_F(PaneCommands, EachToolHasItsCursorAndTheViewToolsShowTheCrosshairWhileCommandIsHeld) {
  EXPECT_EQ(Run("pane_cursor.vls"), 0);
  const std::vector<std::string> expected{
      // Per kCursorCases; m where the crosshair followed the mouse. The text, pencil and eraser
      // tools never move it; the select-by-hand tool neither; 2 is the system cross.
      "cursors 131m 138 129m 129m 257 201 202 128 133 2 134m 130m 131m 131m",
      // Choosing the orbit tool shows the eye in the bar.
      "bar mode 2", "bar point 4.3 9.1 8.9",
      // Command held in the orbit tool: the bar shows the crosshair's point; let go, the eye.
      "bar mode 1", "bar point -75.0 -84.5 0.0", "bar mode 2", "bar point 4.3 9.1 8.9"};
  EXPECT_EQ(gLog, expected);
}

TEST_F(PaneCommands, TheSectionCutCommandCutsTheWallAndSwitchesBack) {
  EXPECT_EQ(Run("section_cut_command.vls"), 0);
  const std::vector<std::string> expected{
      "bar mode 1",
      "group 0 grid 0 cut 0 plane 0.00,0.00,0.00 z-end 0.00,0.00,15.00 display 0110 point 0.00,0.00,0.00 | y "
      "-0.50..0.50 | y 2.00..4.00"};
  EXPECT_EQ(gLog, expected);
}

TEST_F(PaneCommands, ASavedViewIsNamedListedAndReplacedUnderItsOwnName) {
  EXPECT_EQ(Run("save_view.vls"), 0);
}
