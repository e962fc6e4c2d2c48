// The view pane driven through the program's own event loop: a headless script runs the whole
// application with native documents whose views are the view layer's. A test document answers
// a few commands of its own (numbered from 90000) that put objects read from object text
// records into its model, set the pane's display mode and view kind directly (their commands
// come later) and note what the pane did; the script compares the window with goldens.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "Alerts.h"
#include "AppResources.h"
#include "ApplicationMain.h"
#include "CPreferences.h"
#include "CProgressDialog.h"
#include "CSectionPlane.h"
#include "CWindow.h"
#include "DrawingPlane.h"
#include "DETException.h"
#include "FileTypes.h"
#include "GoldenTest.h"
#include "ObjectList.h"
#include "Resources.h"
#include "ShellStartup.h"
#include "StandardFile.h"
#include "TaskSupport.h"
#include "TempFolder.h"
#include "ToolIconDisplay.h"
#include "VLApplication.h"
#include "VLCrosshairCursor.h"
#include "VLCube.h"
#include "VLDepthBuffer.h"
#include "VLDocument.h"
#include "VLPaneDocumentViews.h"
#include "VLOutlineTask.h"
#include "VLPolyline.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"
#include "ViewTestSupport.h"
#include "PaneScriptSupport.h"
#include "headless/HeadlessBackend.h"

namespace fs = std::filesystem;

namespace {

const fs::path kScripts = fs::path(VL_SOURCE_DIR) / "tests" / "views" / "scripts";

// What the test commands noted during a run.
struct Notes {
  std::vector<bool> paneWasCurrent;  // 90030: gCurrentViewPane was the document's pane
  std::vector<bool> directChoices;   // 90040: the draw would be direct with 11, then 10 entries
  long recordsAfterCancel = -1;      // 90050: the sorter's records after a cancelled redraw
  std::string header;                // 90060: the settings lines the document writes
  std::vector<Vector3d> sectionAfterRead;  // 90060: the section plane's vertices after "SectionPoint: 3 4 5"
  std::vector<std::string> tools;          // 901xx: the tool state after each step
  std::vector<std::string> views;          // 902xx: the view state after each step
  int outlinesEnded = 0, outlinesDisposed = 0;  // 907xx
  std::vector<bool> outlinePassedUp;            // 907xx: the application keeps the outline as its last task
  Rect pane;                               // 90090: the pane's rectangle
  std::vector<Rect> pictureFrames;         // 90090: pictures at scale 2, then of the selection at 1
  std::vector<OSErr> pictureChecks;
  std::vector<std::string> picks;          // 908xx: the selection and the blocks' heights
};
Notes gNotes;

// The palette's side of tool selection: which icons are shown selected.
struct RecordingIcons : ToolIconDisplay {
  void DeselectToolIcons() override { tools.clear(); }
  void SelectToolIcon(SInt16 index) override { tools.push_back(index); }
  void DeselectPlaneIcons() override { planes.clear(); }
  void SelectPlaneIcon(SInt16 index) override { planes.push_back(index); }
  std::vector<SInt16> tools, planes;
};
RecordingIcons gIcons;

std::string Numbers(const std::vector<SInt16>& values) {
  std::string text;
  for (SInt16 v : values) {
    if (!text.empty()) text += ',';
    text += std::to_string(v);
  }
  return text.empty() ? "-" : text;
}

// The view-tool command, the view kind, the drawing plane with its axes and the eye's angles.
std::string ViewState(const VLDocument* document, const VLViewPane* pane) {
  char text[160];
  std::snprintf(text, sizeof text, "cmd %d kind %d plane %d axes %d%d%d alt %.1f az %.1f", pane->viewToolCommand,
                pane->viewTransform->viewKind, document->GetGroupTool(3), gAxisX, gAxisY, gAxisZ,
                pane->eyeAltitude, pane->eyeAzimuth);
  return text;
}

// A polyline opening's outline as the pane holds it between clicks.
class TestOutline : public VLOutlineTask {
 public:
  explicit TestOutline(SInt16 points) : points(points) { Init(1); }
  SInt16 CountPoints() const override { return points; }
  void TrackRubberBand(const Vector3d*) override {}
  void EndTracking(LongPt*, LongPt*, LongPt*) override { ++gNotes.outlinesEnded; }
  void Dispose() override {
    ++gNotes.outlinesDisposed;
    VLOutlineTask::Dispose();
  }
  SInt16 points;
};

// The zoom ratios a pane broadcasts.
struct ZoomNotes : CCollaborator {
  void ProviderChanged(CCollaborator*, long reason, void* info) override {
    if (reason == 5000) ratios.push_back(*static_cast<double*>(info));
  }
  std::vector<double> ratios;
};

ZoomNotes gZooms;

// The tool group, the tools of groups 0, 1, 2, 3 and 5, and the icons shown.
// The selected model objects (object-list positions) and each model object's z extent.
std::string PickState(VLDocument* document) {
  std::string selected = "selected", heights = "z";
  VLArray* list = document->GetObjectList();
  for (long i = VLDocument::kFirstModelObject; i <= list->GetNumItems(); ++i) {
    auto* object = static_cast<VLUser3DObject*>(list->PointerAt(i));
    if (object->selected) selected += " " + std::to_string(i);
    double lo[3], hi[3];
    object->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
    char text[40];
    std::snprintf(text, sizeof text, " %g..%g", lo[2], hi[2]);
    heights += text;
  }
  return selected + " " + heights;
}

std::string ToolState(const VLDocument* document) {
  std::string text = "group " + std::to_string(document->GetToolGroup()) + " tools";
  for (SInt16 group : {0, 1, 2, 3, 5}) {
    text += ' ';
    text += std::to_string(document->GetGroupTool(group));
  }
  text += " icons ";
  text += Numbers(gIcons.tools);
  text += " planes ";
  text += Numbers(gIcons.planes);
  return text;
}

// An object that, drawn, stops the drawing job as the user's Stop would.
class StopButton : public VLUser3DObject {
 public:
  Boolean IsVisible() override { return true; }
  void Draw(VLViewTransform*, Rect*) override { gProgressContinue = 0; }
};

class TestDocument : public VLDocument {
 public:
  void DoCommand(long command) override {
    auto* pane = static_cast<VLViewPane*>(GetViews() ? GetViews()->GetViewPane() : nullptr);
    switch (command) {
      case 90001:  // a wall and two blocks
        AddBox({-6, -1, 0}, {6, 0, 3}, {52000, 30000, 20000});
        AddBox({-4, 2, 0}, {-1, 5, 2}, {20000, 40000, 60000});
        AddBox({1, 2, 0}, {4, 4, 5}, {30000, 55000, 30000});
        {
          const Vector3d min{-6, -1, 0}, max{6, 5, 5};
          pane->viewTransform->InitViewsForBox(&min, &max);
        }
        break;
      case 90010:
      case 90011:
      case 90012:
        pane->wireframe = command == 90010;
        pane->hiddenLine = command != 90010;
        pane->shaded = command == 90012;
        pane->PublishDisplayMode();
        pane->MarkObjectsChanged();
        pane->Refresh();
        break;
      case 90020:  // plan
        pane->viewTransform->UpdateForViewKind();
        pane->viewToolCommand = VLViewPane::kPlanCommand;
        pane->MarkObjectsChanged();
        pane->Refresh();
        break;
      case 90021:  // perspective
        pane->viewTransform->SwitchToPerspective(1);
        pane->viewToolCommand = VLViewPane::kPerspectiveCommand;
        pane->MarkObjectsChanged();
        pane->Refresh();
        break;
      case 90030:
        gNotes.paneWasCurrent.push_back(gCurrentViewPane == pane && pane != nullptr);
        break;
      case 90040: {  // 11 and 10 list entries, shaded, while the view moves
        VLArray* list = GetObjectList();
        while (list->GetNumItems() < 11) AddBox({0, 0, 0}, {1, 1, 1}, {0, 0, 0});
        while (list->GetNumItems() > 11) {
          auto* last = static_cast<VLUser3DObject*>(list->PointerAt(list->GetNumItems()));
          list->DeleteItem(list->GetNumItems());
          last->Dispose();
        }
        const UInt8 shaded = gShadedMode, interactive = gInteractiveDrawing;
        gShadedMode = 1;
        gInteractiveDrawing = 1;
        gNotes.directChoices.push_back(pane->ChooseDirectDrawing());
        auto* last = static_cast<VLUser3DObject*>(list->PointerAt(11));
        list->DeleteItem(11);
        last->Dispose();
        gNotes.directChoices.push_back(pane->ChooseDirectDrawing());
        gShadedMode = shaded;
        gInteractiveDrawing = interactive;
        break;
      }
      case 90050: {  // a shaded redraw the user stops after the first object
        AddBox({-2, -2, 0}, {2, 2, 2}, {65535, 0, 0});
        auto* stop = new StopButton;
        GetObjectList()->InsertAtIndex(&stop, 4);
        pane->wireframe = 0;
        pane->hiddenLine = pane->shaded = 1;
        pane->PublishDisplayMode();
        gDepthBuffer->ResetList();
        pane->MarkObjectsChanged();
        pane->Refresh();
        gNotes.recordsAfterCancel = gDepthBuffer->CountRecords();
        GetObjectList()->DeleteItem(4);
        stop->Dispose();
        break;
      }
      case 90060: {  // the section point written and read
        std::FILE* file = std::tmpfile();
        GetPreferences()->WriteHeaderLines(file, this, 1.0);
        std::rewind(file);
        char buffer[4096] = {};
        gNotes.header.assign(buffer, std::fread(buffer, 1, sizeof buffer - 1, file));
        std::fclose(file);
        std::istringstream in(" 3 4 5\n");
        GetPreferences()->ReadHeaderLines(in, CPreferences::kSectionPointLine, '\n', this);
        VLUser3DObject* section = GetSectionPlane();
        section->SetArrayPointers();
        gNotes.sectionAfterRead.assign(section->vertices, section->vertices + section->vertexCount);
        break;
      }
      case 90070: {  // a block cut by the section plane, shaded
        AddBox({-4, -3, 0}, {4, 3, 3}, {52000, 30000, 20000});
        const Vector3d min{-4, -3, 0}, max{4, 3, 3};
        pane->viewTransform->InitViewsForBox(&min, &max);
        static_cast<CSectionPlane*>(GetSectionPlane())->SetCutting(true);
        pane->wireframe = 0;
        pane->hiddenLine = pane->shaded = 1;
        pane->PublishDisplayMode();
        pane->MarkObjectsChanged();
        pane->Refresh();
        break;
      }
      case 90080:  // both planes shown, in wireframe
        static_cast<COrientationDefiner*>(GetWorkingPlane())->Show(true);
        static_cast<COrientationDefiner*>(GetSectionPlane())->Show(true);
        pane->MarkObjectsChanged();
        pane->Refresh();
        break;
      case 90100:  // group 1, the line tool
        gToolIconDisplay = &gIcons;
        pane->SetToolGroup(1);
        pane->SelectDrawingTool(4);
        gNotes.tools.push_back(ToolState(this));
        break;
      case 90101:
        gNotes.tools.push_back(ToolState(this));
        break;
      case 90102: {  // a polyline of one vertex open, then the block tool
        auto* polyline = new VLUser3DObject;
        polyline->vertexCount = 1;
        GetObjectList()->AppendPointer(polyline);
        pane->polylineUnderConstruction = polyline;
        SetDrawingInProgress(1);
        pane->SelectDrawingTool(3);
        pane->SelectDrawingTool(0);
        gNotes.tools.push_back(ToolState(this) + " objects " + std::to_string(GetObjectList()->GetNumItems()) +
                               (pane->polylineUnderConstruction || GetDrawingInProgress() ? " open" : " closed"));
        break;
      }
      case 90103:  // drawing plane 4 (y, z on the working plane), then plane 1 (y, z)
        for (SInt16 plane : {4, 1}) {
          pane->SelectDrawingPlane(plane);
          gNotes.tools.push_back(ToolState(this) + " axes " + std::to_string(gAxisX) + std::to_string(gAxisY) +
                                 std::to_string(gAxisZ) + " on " + std::to_string(gWorkingPlaneOn) + " mode " +
                                 std::to_string(pane->crosshair->locateMode));
        }
        break;
      case 90104: {  // the select tool with one selected object that has a current opening
        AddBox({0, 0, 0}, {1, 1, 1}, {0, 0, 0});
        auto* owner = static_cast<VLUser3DObject*>(GetObjectList()->PointerAt(GetObjectList()->GetNumItems()));
        owner->Select();
        owner->openingCount = 1;
        owner->currentOpening = 0;
        pane->SetToolGroup(0);
        pane->SelectEditTool(0);
        gNotes.tools.push_back(ToolState(this) + (pane->openingOwner == owner ? " editing" : ""));
        owner->openingCount = 0;
        owner->currentOpening = -1;
        owner->Deselect();
        break;
      }
      case 90105:  // a task that ends in the select tool reaches the active pane
        pane->SetToolGroup(1);
        vltasks::ShowSelectTool(vltasks::kSelectObjectsTool);
        gNotes.tools.push_back(ToolState(this));
        break;
      case 90200:  // the orbit tool in the axonometric view
        pane->SetToolGroup(2);
        pane->SelectViewTool(0);
        pane->SetAxonometricView();
        pane->Refresh();
        gNotes.views.push_back(ViewState(this, pane));
        break;
      case 90201:
        gNotes.views.push_back(ViewState(this, pane));
        break;
      case 90202:
        pane->SetPlanView();
        pane->Refresh();
        gNotes.views.push_back(ViewState(this, pane));
        break;
      case 90203:
        pane->SetElevationView(6102);
        gNotes.views.push_back(ViewState(this, pane));
        break;
      case 90204: {  // the perspective view, then key steps: turn right, walk in, and the same walk in the axonometric view
        pane->SetPerspectiveView(1);
        gNotes.views.push_back(ViewState(this, pane));
        pane->NavigateByKey(0, 1);
        gNotes.views.push_back(ViewState(this, pane));
        Vector3d eye, start;
        pane->viewTransform->GetEyePoint(&start);
        const Vector3d look = pane->viewTransform->lookPoint;
        pane->SetNavigationFactors(20, 5);  // the eye is about 10 from the look point
        const bool walked = pane->NavigateByKey(2, 1);
        pane->SetNavigationFactors(20, 20);
        pane->viewTransform->GetEyePoint(&eye);
        // How far the eye went, toward the look point when positive.
        const double step = std::sqrt((eye.x - start.x) * (eye.x - start.x) + (eye.y - start.y) * (eye.y - start.y) +
                                      (eye.z - start.z) * (eye.z - start.z));
        const double closer = (look.x - start.x) * (eye.x - start.x) + (look.y - start.y) * (eye.y - start.y) +
                              (look.z - start.z) * (eye.z - start.z);
        pane->SetAxonometricView();
        const Vector3d eyeBefore = *pane->viewTransform->GetEyePoint(&eye);
        const bool parallelWalk = pane->NavigateByKey(2, 1);
        pane->viewTransform->GetEyePoint(&eye);
        char text[120];
        std::snprintf(text, sizeof text, "walk %d %.1f parallel %d %s", walked, closer > 0 ? step : -step, parallelWalk,
                      eye.x == eyeBefore.x && eye.y == eyeBefore.y && eye.z == eyeBefore.z ? "still" : "moved");
        gNotes.views.push_back(text);
        break;
      }
      case 90205:  // the crosshair at height 3 for a command-click
      case 90206:  // and at height -1
        pane->currentPoint = {1, -2, command == 90205 ? 3.0 : -1.0};
        break;
      case 90207: {
        Vector3d eye;
        pane->viewTransform->GetEyePoint(&eye);
        char text[80];
        std::snprintf(text, sizeof text, "eye %.1f %.1f %.1f", eye.x, eye.y, eye.z);
        gNotes.views.push_back(text);
        break;
      }
      case 90300: {  // locate near the top corner (4, 4, 5) of the tall block, without and with vertex snapping
        gSnapToGrid = 0;
        char text[160];
        for (Boolean snap : {false, true}) {
          pane->currentPoint = {0, 0, 5};
          pane->crosshair->forceLocate = 1;
          const Vector3d near{3.9, 3.8, 5};
          Vector3d at;
          pane->viewTransform->ProjectPoint(&near, &at);
          Vector3d located;
          const Boolean moved =
              pane->LocateMousePoint(Point{SInt16(at.y), SInt16(at.x)}, &located, snap, nullptr, false);
          std::snprintf(text, sizeof text, "%d %.1f %.1f %.1f", moved, located.x, located.y, located.z);
          gNotes.views.push_back(text);
        }
        gSnapToGrid = 1;
        std::snprintf(text, sizeof text, "distance %.1f", gPaneSnapDistance ? gPaneSnapDistance(pane) : -1.0);
        gNotes.views.push_back(text);
        break;
      }
      case 90800:  // two blocks one above the other, their middle at the pane's centre, in plan
      case 90810:  // two blocks side by side, both selected, in plan
      case 90820:  // three blocks in a row, in plan
        RemoveModelObjects();
        if (command == 90800) {
          AddBox({-2, -2, 0}, {2, 2, 2}, {52000, 30000, 20000});
          AddBox({-1, -1, 4}, {1, 1, 10}, {20000, 40000, 60000});
        } else if (command == 90810) {
          AddBox({-4, -1, 0}, {-2, 1, 3}, {52000, 30000, 20000});
          AddBox({2, -1, 0}, {4, 1, 5}, {20000, 40000, 60000});
        } else {
          for (double x : {-6.0, -1.0, 4.0}) AddBox({x, -1, 0}, {x + 2, 1, 2}, {20000, 40000, 60000});
        }
        {
          const Vector3d min{-8, -8, 0}, max{8, 8, 10};
          pane->viewTransform->InitViewsForBox(&min, &max);
        }
        pane->SetPlanView();
        pane->SetToolGroup(0);
        pane->SelectEditTool(0);
        for (long i = VLDocument::kFirstModelObject; command == 90810 && i <= GetObjectList()->GetNumItems(); ++i)
          static_cast<VLUser3DObject*>(GetObjectList()->PointerAt(i))->Select();
        pane->MarkObjectsChanged();
        pane->Refresh();
        gNotes.picks.push_back(PickState(this));
        break;
      case 90801:
        gNotes.picks.push_back(PickState(this));
        break;
      case 90830: {  // the chain of blocks, on an empty model in plan
        RemoveModelObjects();
        const Vector3d min{-8, -8, 0}, max{8, 8, 10};
        pane->viewTransform->InitViewsForBox(&min, &max);
        pane->SetPlanView();
        pane->SetToolGroup(1);
        pane->SelectDrawingTool(6);
        pane->Refresh();
        break;
      }
      case 90831: {  // each model object's box, and the tool
        std::string text = "group " + std::to_string(GetToolGroup()) + " open " + std::to_string(GetDrawingInProgress());
        VLArray* list = GetObjectList();
        for (long i = VLDocument::kFirstModelObject; i <= list->GetNumItems(); ++i) {
          auto* object = static_cast<VLUser3DObject*>(list->PointerAt(i));
          double lo[3], hi[3];
          object->GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
          char box[120];
          std::snprintf(box, sizeof box, " | %.1f..%.1f %.1f..%.1f %.1f..%.1f", lo[0], hi[0], lo[1], hi[1], lo[2] + 0.0,
                        hi[2] + 0.0);
          text += box;
        }
        gNotes.picks.push_back(text);
        break;
      }
      case 90832:  // no memory for a block
        savedChainBlock = gNewChainBlock;
        gNewChainBlock = [] { return static_cast<VLCube*>(nullptr); };
        break;
      case 90833:
        gNewChainBlock = savedChainBlock;
        break;
      case 90821:  // the sketch text tool
        pane->SetToolGroup(1);
        pane->SelectDrawingTool(7);
        vlui::ResetBeepCount();
        break;
      case 90822:
        gNotes.picks.push_back("beeps " + std::to_string(vlui::BeepCount()) + " objects " +
                               std::to_string(GetObjectList()->GetNumItems()));
        break;
      case 90802:  // the tops of the selection levelled
      case 90803:  // blocks spanning 0..2 and 4..10, both selected, their centres levelled
        if (command == 90803) {
          RemoveModelObjects();
          AddBox({-4, -1, 0}, {-2, 1, 2}, {52000, 30000, 20000});
          AddBox({2, -1, 4}, {4, 1, 10}, {20000, 40000, 60000});
          for (long i : {3, 4}) static_cast<VLUser3DObject*>(GetObjectList()->PointerAt(i))->Select();
          pane->MarkObjectsChanged();
          gNotes.picks.push_back(PickState(this));
        }
        pane->AlignSelection(command == 90802 ? 0 : 6);
        gNotes.picks.push_back(PickState(this));
        break;
      case 90400:  // the crosshair at (2, 1, 0) over a freshly shown view
        pane->CopyOffscreenToWindow();
        pane->crosshair->SkipNextErase();
        pane->crosshair->SetPosition(2, 1, 0);
        break;
      case 90401:  // moved to (-3, -2, 0): the old one is inverted away
        pane->crosshair->SetPosition(-3, -2, 0);
        break;
      case 90500:  // the zoom-to-fit view tool
      case 90501: {  // the same with every object's screen rectangle without width
        if (command == 90501)
          for (long i = 1; i <= GetObjectList()->GetNumItems(); ++i)
            static_cast<VLUser3DObject*>(GetObjectList()->PointerAt(i))->screenBounds = Rect{40, 200, 300, 200};
        ZoomNotes zooms;
        pane->AddDependent(&zooms);
        LongRect before;
        pane->GetBounds(&before);
        pane->SetToolGroup(2);
        pane->SelectViewTool(5);
        pane->RemoveDependent(&zooms);
        LongRect after;
        pane->GetBounds(&after);
        char text[160];
        std::snprintf(text, sizeof text, "%s ratios %zu %.2f group %d tool %d",
                      before.left == after.left && before.right == after.right && before.top == after.top &&
                              before.bottom == after.bottom
                          ? "same"
                          : "zoomed",
                      zooms.ratios.size(), zooms.ratios.empty() ? 0.0 : zooms.ratios.back(), GetToolGroup(),
                      GetGroupTool(0));
        gNotes.views.push_back(text);
        break;
      }
      case 90600:  // the look-around tool in the plan, one degree a pixel
        pane->SetNavigationFactors(50, 20);
        pane->SetPlanView();
        pane->SetToolGroup(2);
        pane->SelectViewTool(1);
        pane->Refresh();
        break;
      case 90601: {
        char text[120];
        std::snprintf(text, sizeof text, "cmd %d kind %d look %.1f %.1f eye %.1f %.1f", pane->viewToolCommand,
                      pane->viewTransform->viewKind, pane->lookAltitude, pane->lookAzimuth, pane->eyeAltitude,
                      pane->eyeAzimuth);
        gNotes.views.push_back(text);
        break;
      }
      case 90602:  // the zoom tool, the whole window
        pane->SetNavigationFactors(20, 20);
        pane->ZoomReset();
        pane->SetToolGroup(2);
        pane->SelectViewTool(2);
        pane->AddDependent(&gZooms);
        break;
      case 90603: {
        char text[120];
        std::snprintf(text, sizeof text, "group %d tool %d", GetToolGroup(), GetGroupTool(GetToolGroup() == 2 ? 2 : 0));
        gNotes.views.push_back(text);
        break;
      }
      case 90604:
        pane->RemoveDependent(&gZooms);
        break;
      case 90700:    // a polyline opening of 2 points open, then drawing plane 0
      case 90701: {  // one of 3 points, then the rotate tool
        auto* outline = new TestOutline(command == 90700 ? 2 : 3);
        pane->SetToolGroup(5);
        pane->SelectOpeningTool(1);
        pane->openingTask = outline;
        pane->crosshair->taskTracking = 1;
        if (command == 90700)
          pane->SelectDrawingPlane(0);
        else
          pane->SelectOpeningTool(2);
        gNotes.outlinePassedUp.push_back(gApplication->GetLastTask() == outline);
        gNotes.tools.push_back(ToolState(this) + (pane->openingTask || pane->crosshair->taskTracking ? " open" : ""));
        break;
      }
      case 90090:  // pictures of the view: all of it at scale 2, the selected objects at 1
        gNotes.pane = pane->paneRect;
        for (const auto& [selected, scale] : {std::pair{false, 2.0f}, {true, 1.0f}}) {
          PicHandle picture = nullptr;
          pane->DrawPicture(&picture, selected, scale);
          if (!picture) continue;
          gNotes.pictureFrames.push_back(PortPictureFrame(picture));
          gNotes.pictureChecks.push_back(PortCheckPicture(picture));
          PortKillPicture(picture);
        }
        break;
      default:
        VLDocument::DoCommand(command);
        return;
    }
  }

 private:
  VLCube* (*savedChainBlock)() = nullptr;
  void RemoveModelObjects() { ::RemoveModelObjects(GetObjectList()); }
  void AddBox(Vector3d lo, Vector3d hi, RGBColor colour) { AppendBox(GetObjectList(), lo, hi)->SetColor(&colour); }
};

VLAbstractDocument* MakeTestDocument() { return new (std::nothrow) TestDocument; }

class ViewPaneScript : public PaneScriptFixture {
 protected:
  ViewPaneScript() : PaneScriptFixture(MakeTestDocument) {}
  void SetUp() override {
    PaneScriptFixture::SetUp();
    gNotes = Notes();
  }
  void TearDown() override {
    gToolIconDisplay = nullptr;
    gIcons = RecordingIcons();
    PaneScriptFixture::TearDown();
  }
};

}  // namespace

TEST_F(ViewPaneScript, ObjectsShowInWireframeHiddenLineAndShadedPlanAndPerspective) {
  EXPECT_EQ(Run("display_modes.vls"), 0);
}

TEST_F(ViewPaneScript, TheActiveDocumentsPaneIsTheCurrentOne) {
  EXPECT_EQ(Run("current_pane.vls"), 0);
  EXPECT_EQ(gNotes.paneWasCurrent, (std::vector<bool>{true, true, true}));
}

TEST_F(ViewPaneScript, InteractiveRedrawsOfMoreThanTenEntriesDrawDirectly) {
  EXPECT_EQ(Run("direct_or_sorted.vls"), 0);
  EXPECT_EQ(gNotes.directChoices, (std::vector<bool>{true, false}));
}

TEST_F(ViewPaneScript, ACancelledRedrawEmptiesTheSorterUnpainted) {
  EXPECT_EQ(Run("cancelled_redraw.vls"), 0);
  EXPECT_EQ(gNotes.recordsAfterCancel, 0);
}

TEST(ViewPane, AMemberThatCannotBeMadeFailsTheCreationAndLeavesNoHalfMadePane) {
  // An offscreen world this large cannot be had.
  auto* pane = new VLViewPane;
  try {
    pane->IVLViewPane(nullptr, nullptr, 30000, 30000, 0, 0, sizFIXEDSTICKY, sizFIXEDSTICKY, nullptr, nullptr);
    ADD_FAILURE() << "the creation went through";
  } catch (DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorNotEnoughMemory);
  }
  EXPECT_EQ(pane->viewTransform, nullptr);
  EXPECT_EQ(pane->offscreen, nullptr);
  EXPECT_EQ(pane->crosshair, nullptr);
  EXPECT_EQ(pane->rayTracer, nullptr);
  EXPECT_EQ(pane->horizonLine, nullptr);
  pane->Dispose();
}

TEST_F(ViewPaneScript, TheSectionPointIsWrittenAndReadThroughTheSectionPlane) {
  EXPECT_EQ(Run("section_point.vls"), 0);
  EXPECT_NE(gNotes.header.find("SectionPoint: 0 -15 4\n"), std::string::npos) << gNotes.header;
  // Vertex 0 lands on the point read; the others keep their offsets from it.
  const std::vector<Vector3d> expected{{3, 4, 5}, {3, 34, 5}, {18, 19, 5}, {-12, 19, 5}, {3, 19, -10}, {3, 19, 20}};
  ASSERT_EQ(gNotes.sectionAfterRead.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(gNotes.sectionAfterRead[i].x, expected[i].x, 1e-9) << i;
    EXPECT_NEAR(gNotes.sectionAfterRead[i].y, expected[i].y, 1e-9) << i;
    EXPECT_NEAR(gNotes.sectionAfterRead[i].z, expected[i].z, 1e-9) << i;
  }
}

TEST_F(ViewPaneScript, ACuttingSectionPlaneShowsTheInsideOfACutBlock) {
  EXPECT_EQ(Run("section_cut.vls"), 0);
}

TEST_F(ViewPaneScript, ShownPlanesDrawTheirAxesInWireframeOnly) {
  EXPECT_EQ(Run("planes_shown.vls"), 0);
}

TEST_F(ViewPaneScript, ToolsAreKeptPerGroupInTheDocumentAndShownInThePalette) {
  EXPECT_EQ(Run("tool_selection.vls"), 0);
  const std::vector<std::string> expected{
      "group 1 tools -1 4 -1 -1 -1 icons 1 planes -",
      // A new document has its own tools; the first one's come back when it is active again.
      "group 0 tools 2 0 -1 -1 0 icons - planes -",
      "group 1 tools -1 4 -1 -1 -1 icons 1 planes -",
      // Leaving the polyline tool with one vertex drawn removes the polyline.
      "group 1 tools -1 0 -1 -1 -1 icons 7 planes - objects 2 closed",
      "group 1 tools -1 0 -1 4 -1 icons 7 planes 18,22 axes 120 on 1 mode 2",
      "group 1 tools -1 0 -1 1 -1 icons 7 planes 18 axes 120 on 0 mode 0",
      "group 0 tools 3 -1 -1 1 -1 icons 0 planes 18 editing",
      "group 0 tools 0 -1 -1 1 -1 icons 0 planes 18",
  };
  EXPECT_EQ(gNotes.tools, expected);
}

TEST_F(ViewPaneScript, TheOrbitToolAndTheViewSwitchesMoveTheEyeAndChooseTheDrawingPlane) {
  EXPECT_EQ(Run("navigation.vls"), 0);
  const std::vector<std::string> expected{
      "cmd 6004 kind 6 plane 0 axes 012 alt 65.2 az 30.0",
      // 10 pixels up at the rotate factor 20: 4 degrees higher; far up: held at 1.
      "cmd 6004 kind 6 plane 0 axes 012 alt 61.2 az 30.0",
      "cmd 6004 kind 6 plane 0 axes 012 alt 1.0 az 30.0",
      "cmd 6000 kind 1 plane 0 axes 012 alt 0.0 az 0.0",
      // An orbit from the plan ends axonometric, on the plane remembered for that view.
      "cmd 6004 kind 6 plane 0 axes 012 alt 1.0 az 10.0",
      "cmd 6102 kind 4 plane 1 axes 120 alt 90.0 az 90.0",
      "cmd 6003 kind 0 plane 0 axes 012 alt 65.2 az 30.0",
      // One right-arrow step turns the eye by the rotate factor; option-up walks the move factor
      // toward the look point, and nothing in a parallel view.
      "cmd 6003 kind 0 plane 0 axes 012 alt 65.2 az 50.0",
      "walk 1 5.0 parallel 1 still",
      // A command-click below the ground leaves the eye; at height 3 the eye goes there.
      "eye 1.0 -2.0 3.0",
  };
  ASSERT_GE(gNotes.views.size(), 2u);
  EXPECT_NE(gNotes.views[gNotes.views.size() - 2], "eye 1.0 -2.0 -1.0");
  gNotes.views.erase(gNotes.views.end() - 2);
  EXPECT_EQ(gNotes.views, expected);
}

TEST_F(ViewPaneScript, ALocatedPointSnapsToTheNearestVertexWithinTheSnappingDistance) {
  EXPECT_EQ(Run("vertex_snapping.vls"), 0);
  const std::vector<std::string> expected{"1 3.9 3.8 5.0", "1 4.0 4.0 5.0", "distance 2.0"};
  EXPECT_EQ(gNotes.views, expected);
}

TEST_F(ViewPaneScript, TheCrosshairIsDrawnThroughItsPointAndMovesWithoutATrace) {
  EXPECT_EQ(Run("crosshair.vls"), 0);
}

TEST_F(ViewPaneScript, ZoomToFitShowsTheObjectsAndSkipsAUnionWithoutWidth) {
  EXPECT_EQ(Run("zoom_to_fit.vls"), 0);
  // The view tool acts at once and returns to the select tool.
  ASSERT_EQ(gNotes.views.size(), 2u);
  EXPECT_EQ(gNotes.views[0].substr(0, 15), "zoomed ratios 1");
  EXPECT_NE(gNotes.views[0].find("group 0 tool 0"), std::string::npos) << gNotes.views[0];
  EXPECT_EQ(gNotes.views[1].substr(0, 13), "same ratios 1");
  EXPECT_NE(gNotes.views[1].find("group 0 tool 0"), std::string::npos) << gNotes.views[1];
}

TEST_F(ViewPaneScript, TheLookAroundAndZoomToolsTurnTheSightAndZoomARectangleOrAClick) {
  gZooms.ratios.clear();
  EXPECT_EQ(Run("look_around_zoom.vls"), 0);
  const std::vector<std::string> expected{
      // From the plan 180 pixels up at a degree a pixel: the polar angle stops at 179.9 and the view is axonometric.
      "cmd 6004 kind 6 look 179.9 -180.0 eye 179.9 0.0",
      // 30 pixels to the right turns the azimuth back by 30.
      "cmd 6004 kind 6 look 179.9 -210.0 eye 179.9 -30.0",
      // A command-click with the crosshair below the ground changes nothing.
      "cmd 6004 kind 6 look 179.9 -210.0 eye 179.9 -30.0",
      // A 4-pixel drag is a click: zoom by 2 and the tool stays; a 5 by 5 rectangle zooms and returns to select.
      "group 2 tool 2",
  };
  ASSERT_EQ(gNotes.views.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(gNotes.views.begin(), gNotes.views.begin() + 4), expected);
  EXPECT_NE(gNotes.views[4].find("group 0 tool 0"), std::string::npos) << gNotes.views[4];
  ASSERT_EQ(gZooms.ratios.size(), 2u);
  EXPECT_NEAR(gZooms.ratios[0], 2.0, 0.01);  // the click's half sizes are whole pixels
  EXPECT_GT(gZooms.ratios[1], 20.0);
}

TEST_F(ViewPaneScript, AnOpenOpeningOutlineIsFinishedWhenThePlaneOrTheToolChanges) {
  EXPECT_EQ(Run("opening_outline.vls"), 0);
  // Two points make nothing: the outline goes and the tool returns to select; three are handed up.
  EXPECT_EQ(gNotes.outlinePassedUp, (std::vector<bool>{false, true}));
  EXPECT_EQ(gNotes.outlinesEnded, 2);
  EXPECT_GE(gNotes.outlinesDisposed, 1);
  ASSERT_EQ(gNotes.tools.size(), 2u);
  EXPECT_EQ(gNotes.tools[0].substr(0, 20), "group 0 tools 0 -1 -");
  EXPECT_EQ(gNotes.tools[1].substr(0, 24), "group 5 tools -1 -1 -1 0");
  EXPECT_EQ(gNotes.tools[1].find("open"), std::string::npos);
}

// Printing: page set-up cancelled, the print dialog and the file dialog answered, the page
// written as a PDF file whose page, turned back into pixels by an independent reader, is the view
// at the page's size with the caption; the pane keeps its own size and the printing flag is down
// afterwards.
TEST_F(ViewPaneScript, APrintedDocumentIsAPdfPageOfTheViewWithItsCaption) {
  if (std::system("command -v pdftoppm > /dev/null 2>&1") != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is missing";
  const std::string pdf = temp.Path("page.pdf");
  const std::string script = temp.Write("print.vls",
                                        "# A wall and two blocks in a hidden-line plan, printed.\n"
                                        "command 90001\ncommand 90011\ncommand 90020\n"
                                        "command 8\nkey escape\nexpect dialog 8200\n"
                                        "answer putfile " + pdf + "\ncommand 9\nkey return\n"
                                        "expect dialog 8201\n");
  const int status = vlheadless::RunScript(script, [&]() -> CApplication* { return StartApplication(); });
  FreeWorkBlocks();
  ASSERT_EQ(status, 0);
  EXPECT_EQ(gPrintingView, 0);
  ASSERT_TRUE(fs::exists(pdf));
  const std::string image = temp.Path("page");
  ASSERT_EQ(std::system(("pdftoppm -r 144 -png -singlefile '" + pdf + "' '" + image + "'").c_str()), 0);
  vlui::Picture page;
  std::string error;
  ASSERT_TRUE(vlui::ReadPngPicture(image + ".png", &page, &error)) << error;
  EXPECT_TRUE(vltest::PictureMatches(page, (kScripts / "golden" / "printed-page.png").string()));
}

TEST_F(ViewPaneScript, PicturesOfTheViewAreDrawnAtTheirScale) {
  EXPECT_EQ(Run("pictures.vls"), 0);
  const Rect& pane = gNotes.pane;
  const auto width = SInt16(pane.right - pane.left), height = SInt16(pane.bottom - pane.top);
  ASSERT_EQ(gNotes.pictureFrames.size(), 2u);
  EXPECT_EQ(gNotes.pictureFrames[0], (Rect{0, 0, SInt16(2 * height), SInt16(2 * width)}));
  EXPECT_EQ(gNotes.pictureFrames[1], (Rect{0, 0, height, width}));
  EXPECT_EQ(gNotes.pictureChecks, (std::vector<OSErr>{noErr, noErr}));
}

TEST_F(ViewPaneScript, ClicksAtOneSpotOverStackedBlocksSelectFrontBackNothingFront) {
  EXPECT_EQ(Run("picking.vls"), 0);
  const std::vector<std::string> expected{
      "selected z 0..2 4..10", "selected 4 z 0..2 4..10", "selected 3 z 0..2 4..10", "selected z 0..2 4..10",
      "selected 4 z 0..2 4..10"};
  EXPECT_EQ(gNotes.picks, expected);
}

TEST_F(ViewPaneScript, AligningTopsOrCentresMovesTheBlocksAndEachAlignmentUndoesAndRedoes) {
  EXPECT_EQ(Run("alignment.vls"), 0);
  const std::vector<std::string> expected{
      "selected 3 4 z 0..3 0..5", "selected 3 4 z 2..5 0..5", "selected 3 4 z 0..3 0..5", "selected 3 4 z 2..5 0..5",
      "selected 3 4 z 0..2 4..10", "selected 3 4 z 4..6 2..8", "selected 3 4 z 0..2 4..10",
      "selected 3 4 z 4..6 2..8"};
  EXPECT_EQ(gNotes.picks, expected);
}

TEST_F(ViewPaneScript, ShiftClicksAndRubberBandsSelectAndTheSketchToolsRefusePresses) {
  EXPECT_EQ(Run("selection.vls"), 0);
  const std::string z = " z 0..2 0..2 0..2";
  const std::vector<std::string> expected{"selected" + z,       "selected 4" + z,     "selected 4 5" + z,
                                          "selected 5" + z,     "selected 3 4" + z,   "selected 3 4 5" + z,
                                          "selected" + z,       "beeps 1 objects 5"};
  EXPECT_EQ(gNotes.picks, expected);
}

TEST_F(ViewPaneScript, AChainOfBlocksDrawsJoinedWallsUntilADoubleClick) {
  EXPECT_EQ(Run("block_chain.vls"), 0);
  const std::vector<std::string> expected{
      "group 1 open 1 | -4.0..0.0 0.0..1.0 0.0..0.0",
      // The second block turns south; the first reaches out to meet it at the corner.
      "group 1 open 1 | -4.0..1.0 0.0..1.0 0.0..0.0 | 0.0..1.0 0.0..5.0 0.0..0.0",
      "group 0 open 0 | -4.0..1.0 0.0..1.0 0.0..0.0 | 0.0..1.0 0.0..5.0 0.0..0.0 | 0.0..5.0 4.0..5.0 0.0..0.0",
      // Without memory for a block a press on an empty model changes nothing.
      "group 1 open 0"};
  EXPECT_EQ(gNotes.picks, expected);
}
