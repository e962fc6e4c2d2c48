// The pane's cursor and keys: the cursor of the current tool with the crosshair following the
// mouse, the view tools' text bar while the command key is held, and the keys typed while the
// pane is the command target.
#include <cctype>

#include "Alerts.h"
#include "Commands.h"
#include "Cursors.h"
#include "Events.h"
#include "LocationBar.h"
#include "QuickDraw.h"
#include "TaskSupport.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLOutlineTask.h"
#include "VLPolyline.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"

UInt8 gCrosshairShown = 0;

namespace {

enum : SInt16 { kEditGroup = 0, kDrawingGroup = 1, kViewGroup = 2, kOpeningGroup = 5, kLastGroup = 7 };
constexpr SInt16 kZoomRectangleTool = 2;
constexpr long cmdVertexDown = 5023, cmdVertexUp = 5024, cmdVertexLeft = 5025, cmdVertexRight = 5026;

// What the mouse over the pane does after the cursor is set.
enum class Follow {
  kNothing,
  kCrosshair,            // the crosshair follows the mouse
  kCrosshairUnlessDown,  // ... unless the button is down
  kEyePoint,             // the orbit tool's text bar
  kLookPoint,            // the look-around tool's
};

struct CursorChoice {
  SInt16 cursor;  // 0: the cursor stays as it is
  Follow follow;
};

constexpr CursorChoice kUnchanged{0, Follow::kNothing};

// The cursor resources of each tool.
CursorChoice ChooseCursor(SInt16 group, SInt16 tool) {
  switch (group) {
    case kEditGroup:
      if (tool == 0 || tool == 3) return {131, Follow::kCrosshair};
      if (tool == 1) return {138, Follow::kNothing};
      return kUnchanged;
    case kDrawingGroup:
      switch (tool) {
        case 0:
        case 6:
          return {129, Follow::kCrosshairUnlessDown};
        case 1:
        case 2:
        case 4:
        case 5:
          return {129, Follow::kCrosshair};
        case 3:
          return {129, Follow::kCrosshair};
        case 7:
          return {257, Follow::kNothing};
        case 8:
          return {201, Follow::kNothing};
        case 9:
          return {202, Follow::kNothing};
        default:
          return kUnchanged;
      }
    case kViewGroup:
      if (tool == 0) return {128, Follow::kEyePoint};
      if (tool == 1) return {133, Follow::kLookPoint};
      if (tool == kZoomRectangleTool) return {crossCursor, Follow::kNothing};
      return kUnchanged;
    case kOpeningGroup:
      switch (tool) {
        case 0:
        case 1:
          return {137, Follow::kCrosshair};
        case 2:
          return {134, Follow::kCrosshair};
        case 3:
        case 5:
          return {131, Follow::kCrosshair};
        case 4:
          return {130, Follow::kCrosshair};
        default:
          return kUnchanged;
      }
    case 6:
    case kLastGroup:
      return {131, Follow::kCrosshair};
    default:
      return kUnchanged;
  }
}

// The field each letter selects (-1 for none): x, y, z, e (and tab), s, v.
SInt16 FieldOfKey(char c) {
  switch (std::tolower(static_cast<unsigned char>(c))) {
    case 'x':
      return 0;
    case 'y':
      return 1;
    case 'z':
      return 2;
    case 'e':
    case kTabChar:
      return 3;
    case 's':
      return 4;
    case 'v':
      return 5;
    default:
      return -1;
  }
}

bool IsArrow(char c) { return c >= kLeftArrowChar && c <= kDownArrowChar; }

}  // namespace

// ---- Cursor ----

void VLViewPane::AdjustCursor(Point, RgnHandle) {
  if (!document) return;
  const SInt16 group = document->GetToolGroup();
  const CursorChoice choice = ChooseCursor(group, document->GetGroupTool(group));
  if (choice.cursor == 0) return;
  if (CursHandle cursor = PortGetCursor(choice.cursor)) PortSetCursor(*cursor);
  switch (choice.follow) {
    case Follow::kNothing:
      break;
    case Follow::kCrosshairUnlessDown:
      if (!PortButton()) TrackCrosshair();
      break;
    case Follow::kCrosshair:
      TrackCrosshair();
      break;
    case Follow::kEyePoint:
      TrackViewTool(0);
      break;
    case Follow::kLookPoint:
      TrackViewTool(1);
      break;
  }
}

Boolean VLViewPane::TrackCrosshair() {
  if (!crosshair) return false;
  PrepareDrawingPort();
  Point mouse;
  PortGetMouse(&mouse);
  Vector3d located = currentPoint;
  pointLocated = crosshair->Locate(mouse, &located);
  if (!pointLocated) return false;
  currentPoint = located;
  // An outline under construction (a polyline, a polyline opening) stretches to the new point
  // before the crosshair draws.
  const SInt16 group = document->GetToolGroup();
  const SInt16 tool = document->GetGroupTool(group);
  if (group == kDrawingGroup && tool == 3 && document->GetDrawingInProgress() && polylineUnderConstruction) {
    auto* object = static_cast<VLUser3DObject*>(polylineUnderConstruction);
    if (auto* polyline = dynamic_cast<VLPolyline*>(object)) {
      polyline->SetTrackPoint(&currentPoint);
      polyline->MarkChanged();
      Refresh();
    }
  } else if (group == kOpeningGroup && tool == 1 && openingTask) {
    openingTask->TrackRubberBand(&currentPoint);
    Refresh();
  }
  PrepareDrawingPort();
  crosshair->DrawCrosshair();
  return true;
}

void VLViewPane::TrackViewTool(SInt16 tool) {
  if (!crosshair) return;
  if (vlui::CurrentModifiers() & cmdKey) {
    if (textBar) textBar->SetMode(LocationBar::kModePoint);
    PrepareDrawingPort();
    Point mouse;
    PortGetMouse(&mouse);
    Vector3d located = currentPoint;
    bool changed = crosshair->Locate(mouse, &located);
    if (!gCrosshairShown) {
      changed = true;
      gCrosshairShown = 1;
      if (textBar) textBar->ShowPoint(located, true);
    }
    if (!changed) return;
    currentPoint = located;
    PrepareDrawingPort();
    crosshair->DrawCrosshair();
    return;
  }
  if (!gCrosshairShown) return;
  gCrosshairShown = 0;
  // The bar shows the eye point again for the orbit tool, the look point for the look-around tool.
  SetLocationBarMode(LocationBar::kModeView, tool != 0);
  EraseFeedback();
}

// ---- Keys ----

void VLViewPane::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  if (document && document->GetToolGroup() == kViewGroup)
    ViewToolKey(theChar, keyCode, event);
  else
    ModelKey(theChar, keyCode, event);
}

void VLViewPane::ViewToolKey(char theChar, UInt8 keyCode, EventRecord* event) {
  // The zoom rectangle and the view actions take no keys.
  const SInt16 tool = document->GetGroupTool(kViewGroup);
  if (tool != 0 && tool != 1) return;
  if (const SInt16 field = FieldOfKey(theChar); field >= 0) {
    SelectTextBarField(field);
    return;
  }
  const bool option = event && (event->modifiers & optionKey);
  switch (theChar) {
    case kLeftArrowChar:
      NavigateByKey(0, 0);
      break;
    case kRightArrowChar:
      NavigateByKey(0, 1);
      break;
    case kDownArrowChar:
      option ? NavigateByKey(2, 0) : NavigateByKey(1, 1);
      break;
    case kUpArrowChar:
      option ? NavigateByKey(2, 1) : NavigateByKey(1, 0);
      break;
    default:
      CPanorama::DoKeyDown(theChar, keyCode, event);
      break;
  }
}

void VLViewPane::ModelKey(char theChar, UInt8 keyCode, EventRecord* event) {
  const UInt16 modifiers = event ? event->modifiers : 0;
  Vector3d point = currentPoint;
  if (theChar == '<' || theChar == '>') {
    StepCrosshairHeight(theChar == '<' ? -1 : 1, true, &point);
  } else if (theChar >= '0' && theChar <= '9') {
    StepCrosshairHeight(SInt16(theChar - '0'), false, &point);
  } else if (const SInt16 field = FieldOfKey(theChar); field >= 0) {
    SelectTextBarField(field);
  } else if (theChar == kBackspaceChar || theChar == kDeleteChar ||
             (theChar == kEscapeChar && keyCode == kClearKeyCode)) {
    DoCommand(cmdClear);
  } else if (theChar == kSpaceChar) {
    SnapCrosshairToHandle();
  } else if (IsArrow(theChar)) {
    // Per arrow: the vertex command, the alignment mode, the elevation, the nudge axis and sign
    // (without and with option).
    struct ArrowKey {
      long vertexCommand;
      SInt16 alignment;
      long elevation;
      SInt16 axis, optionAxis;
      UInt8 positive, optionPositive;
    };
    static constexpr ArrowKey kArrows[] = {
        {cmdVertexLeft, 5, kCmdEastElevation, 0, 0, 0, 0},   // left
        {cmdVertexRight, 4, kCmdWestElevation, 0, 0, 1, 1},  // right
        {cmdVertexUp, 2, kCmdSouthElevation, 1, 2, 0, 1},    // up
        {cmdVertexDown, 3, kCmdNorthElevation, 1, 2, 1, 0},  // down
    };
    const ArrowKey& arrow = kArrows[theChar - kLeftArrowChar];
    const bool command = modifiers & cmdKey, option = modifiers & optionKey, shift = modifiers & shiftKey;
    // These go to the document itself, not through the pane's commands.
    if (command && option)
      document->DoCommand(arrow.vertexCommand);
    else if (command && shift)
      AlignSelection(arrow.alignment);
    else if (command)
      document->DoCommand(arrow.elevation);
    else if (option)
      NudgeSelection(arrow.optionAxis, arrow.optionPositive);
    else
      NudgeSelection(arrow.axis, arrow.positive);
  } else {
    CPanorama::DoKeyDown(theChar, keyCode, event);
  }
}

void VLViewPane::SelectTextBarField(SInt16 index) {
  if (index < 0 || !textBar) return;
  if (index < 3)
    textBar->FocusPointField(index);
  else
    textBar->FocusOffsetField(SInt16(index - 3));
}

// ---- Not in the program yet ----

void VLViewPane::NudgeSelection(SInt16, UInt8) { PortBeep(1); }

void VLViewPane::SnapCrosshairToHandle() { PortBeep(1); }
