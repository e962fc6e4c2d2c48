#include "VLZoomPane.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "Alerts.h"
#include "Cursors.h"
#include "PString.h"
#include "PaletteClicks.h"
#include "PaletteViewActions.h"
#include "VLDocument.h"
#include "VLToolPalette.h"
#include "VLViewPane.h"

namespace {

constexpr long kWholeText = 999;

}  // namespace

void VLZoomPane::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) return;
  if (!IsEntryKey(theChar)) {
    VLLocationPane::DoKeyDown(theChar, keyCode, event);
    return;
  }
  Str255 text;
  GetTextString(text);
  const std::string typed = text.Std();
  char* end = nullptr;
  const double percent = std::strtod(typed.c_str(), &end);
  // A zoom of zero or less has no view to show, and a stored zero would make the next ratio
  // infinite: such a number is refused like one that is not there.
  if (end == typed.c_str() || !std::isfinite(percent) || percent <= 0.0 || !(value > 0.0)) {
    PortBeep(1);
    ShowValue();
    return;
  }
  const double old = value;
  if (!vlpalettes::ZoomView(pane, percent / old)) {
    PortBeep(1);
    ShowValue();
    return;
  }
  value = percent;
  ShowValue();
  pane->BecomeCommandTarget(true);
}

Boolean VLZoomPane::BecomeCommandTarget(Boolean become) {
  if (gActiveSceneDirector) return true;
  return VLLocationPane::BecomeCommandTarget(become);
}

void VLZoomPane::DoClick(Point hitPt, SInt16 modifiers, long when) {
  const Boolean doubleClick = IsDoubleClick(this, hitPt, when, false);
  if (gActiveSceneDirector) {
    if (!doubleClick && gCommandTarget) gCommandTarget->DoCommand(kSceneZoomCommand);
    return;
  }
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) return;
  if (doubleClick) {
    VLLocationPane::DoClick(hitPt, modifiers, when);
    SetSelection(0, kWholeText, true);
  } else {
    pane->BecomeCommandTarget(true);
    if (!vlpalettes::ChooseTool(pane, vlpalettes::kViewGroup, vlpalettes::kZoomViewTool)) PortBeep(1);
  }
}

void VLZoomPane::AdjustCursor(Point where, RgnHandle mouseRgn) {
  if (!gCurrentViewPane) return;
  if (IsCommandTarget())
    VLLocationPane::AdjustCursor(where, mouseRgn);
  else
    PortInitCursor();
}
