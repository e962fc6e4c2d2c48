// What a mouse-down on a tool icon does: the icon's tool, view action or working plane through
// the current view pane; a click on the icon of the current tool returns to selection.
#include <iterator>

#include "Alerts.h"
#include "CSwitchboard.h"
#include "Events.h"
#include "PaletteClicks.h"
#include "PaletteViewActions.h"
#include "Selection.h"
#include "VLDocument.h"
#include "VLIconPaneF.h"
#include "VLToolPalette.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"

using namespace vlpalettes;

namespace {

// Commands sent while a scene window is active: icon, single click, double click.
struct SceneCommands {
  SInt16 code;
  long single, dbl;
};
constexpr SceneCommands kSceneCommands[] = {
    {500, 10114, 10114}, {1000, 10115, 10150}, {1001, 10118, 10160}, {1100, 10191, 10170}, {1101, 10120, 10181}};

// A drawing, opening or view icon: its group and tool, whether choosing it redraws at once, and
// what a click on it while it is selected does.
enum class WhenSelected { kBackRedrawn, kDeselectAndBack, kBack };
struct ToolIcon {
  SInt16 code, group, tool;
  bool redraw;
  WhenSelected whenSelected;
};
constexpr ToolIcon kToolIcons[] = {
    {600, kDrawingGroup, 4, true, WhenSelected::kDeselectAndBack},
    {601, kDrawingGroup, 2, true, WhenSelected::kBackRedrawn},
    {602, kDrawingGroup, 5, true, WhenSelected::kBackRedrawn},
    {604, kDrawingGroup, 3, true, WhenSelected::kBackRedrawn},
    {605, kDrawingGroup, 7, false, WhenSelected::kDeselectAndBack},
    {606, kDrawingGroup, 0, true, WhenSelected::kBackRedrawn},
    {607, kDrawingGroup, 6, true, WhenSelected::kBackRedrawn},
    {700, kDrawingGroup, 8, false, WhenSelected::kDeselectAndBack},
    {800, kOpeningGroup, 0, false, WhenSelected::kBackRedrawn},
    {801, kOpeningGroup, 1, false, WhenSelected::kBackRedrawn},
    {900, kOpeningGroup, 2, false, WhenSelected::kBackRedrawn},
    {901, kOpeningGroup, 4, false, WhenSelected::kBackRedrawn},
    {902, kOpeningGroup, 3, false, WhenSelected::kBackRedrawn},
    {903, kOpeningGroup, 5, false, WhenSelected::kBackRedrawn},
    {1101, kViewGroup, 2, false, WhenSelected::kBack},
};

// Icons that ignore a mouse-down the class library counts as a second click.
constexpr SInt16 kFirstClickOnly[] = {603, 701, 803, 1100};

constexpr long kCircleFacetingCommand = 4104;
constexpr long kWorkingPlaneCommand = 4204;

template <class Table>
auto Find(const Table& table, SInt16 code) -> decltype(&table[0]) {
  for (const auto& entry : table)
    if (entry.code == code) return &entry;
  return nullptr;
}

bool IsFirstClickOnly(SInt16 code) {
  for (SInt16 c : kFirstClickOnly)
    if (c == code) return true;
  return false;
}

// Drawing icon 603 (circles) asks for the circle's faceting on a double click.
Boolean ChooseCircleTool(VLViewPane* pane, Boolean doubleClick) {
  if (!doubleClick) return ChooseTool(pane, kDrawingGroup, 1, true);
  if (!ChooseTool(pane, kDrawingGroup, 1)) return false;
  if (gCommandTarget) gCommandTarget->DoCommand(kCircleFacetingCommand);
  pane->DrawNow();
  return true;
}

// The working-plane icons 1200 to 1203, while not selected.
Boolean ChoosePlaneIcon(VLViewPane* pane, SInt16 code, Boolean doubleClick) {
  const Boolean active = IsWorkingPlaneActive(pane);
  switch (code) {
    case 1200:
      return ChooseWorkingPlane(pane, 0);
    case 1201:
      return ChooseWorkingPlane(pane, active ? 5 : 2);
    case 1202:
      return ChooseWorkingPlane(pane, active ? 4 : 1);
    default:
      if (pane->viewToolCommand == VLViewPane::kPlanCommand && !IsWorkingPlaneHorizontal(pane)) {
        PortBeep(10);
        return true;
      }
      return ChooseWorkingPlane(pane, 3);
  }
}

}  // namespace

void VLIconPaneF::SendSceneCommand(Boolean doubleClick) {
  const SceneCommands* commands = Find(kSceneCommands, code);
  if (commands && gCommandTarget) gCommandTarget->DoCommand(doubleClick ? commands->dbl : commands->single);
}

void VLIconPaneF::DoClick(Point hitPt, SInt16, long when) {
  if (!enabled) return;
  if (gActiveSceneDirector) {
    if (Find(kSceneCommands, code)) SendSceneCommand(code != kSelectIcon && IsDoubleClick(this, hitPt, when, true));
    return;
  }
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) return;
  if (IsFirstClickOnly(code) && gClickCount != 1) return;
  pane->BecomeCommandTarget(true);
  if (code == kColourIcon) return ClickColourSwatch(hitPt, when);

  Boolean done = false;
  if (const ToolIcon* tool = Find(kToolIcons, code)) {
    if (!selected) {
      done = ChooseTool(pane, tool->group, tool->tool, tool->redraw);
    } else {
      if (tool->whenSelected == WhenSelected::kDeselectAndBack) DeselectIcon();
      done = ReturnToSelection(pane, tool->whenSelected != WhenSelected::kBack);
    }
  } else {
    const Boolean doubleClick =
        (code == 603 || code == 701 || code == 1000 || code == 1001 || code == 1100 || code == 1203) &&
        IsDoubleClick(this, hitPt, when, true);
    switch (code) {
      case kSelectIcon:
        if (!selected)
          done = ChooseTool(pane, kSelectionGroup, 0, true);
        else if (!gCurrentSelection || gCurrentSelection->GetNumItems() == 0)
          done = true;
        else if ((done = DeselectEverything(pane)))
          RedrawNow();
        break;
      case 603:
        done = selected && !doubleClick ? ReturnToSelection(pane, true) : ChooseCircleTool(pane, doubleClick);
        break;
      case 701:
        if (doubleClick) {
          done = EraseSketch(pane) && ReturnToSelection(pane, false);
        } else if (!selected) {
          done = ChooseTool(pane, kDrawingGroup, 9);
        } else {
          DeselectIcon();
          done = ReturnToSelection(pane, false);
        }
        break;
      case 802:
        if (!selected) {
          done = ChooseTool(pane, kSelectionGroup, 1);
        } else {
          DeselectIcon();
          done = SelectSelectionTool(pane, 0);
        }
        break;
      case kOrbitIcon:
      case kLookIcon:
        if (doubleClick)
          done = FitView(pane, code == kLookIcon);
        else
          done = !selected ? ChooseTool(pane, kViewGroup, code == kOrbitIcon ? 0 : 1) : ReturnToSelection(pane, false);
        break;
      case 1100:
        done = ChooseTool(pane, kViewGroup, doubleClick ? 5 : 3);
        break;
      case 1200:
      case 1201:
      case 1202:
        done = selected || ChoosePlaneIcon(pane, code, false);
        break;
      case 1203:
        if (doubleClick) {
          if (gCommandTarget) gCommandTarget->DoCommand(kWorkingPlaneCommand);
          done = true;
        } else if (!selected) {
          done = ChoosePlaneIcon(pane, code, false);
        } else {
          const SInt16 mode = CurrentWorkingPlaneMode(pane);
          done = (mode != 4 && mode != 5) || ChooseWorkingPlane(pane, 3);
        }
        break;
      default:
        PortBeep(3);
        return;
    }
  }
  if (!done) PortBeep(1);
}

void VLIconPaneF::ClickColourSwatch(Point hitPt, long when) {
  // The press shows as an outline just inside the frame.
  Prepare();
  Rect inset = savedFrame;
  PortInsetRect(&inset, 1, 1);
  PortFrameRect(&inset);
  const Boolean doubleClick = IsDoubleClick(this, hitPt, when, true);
  if (gCurrentSelection && gCurrentSelection->GetNumItems() > 0) {
    if (!RecolourSelection(gCurrentViewPane, doubleClick)) PortBeep(1);
  } else if (doubleClick) {
    PortFlushEvents(mDownMask, 0);
    RGBColor chosen;
    if (AskObjectColor(gDefaultObjectColor, &chosen)) gDefaultObjectColor = chosen;
  }
  RedrawNow();
}
