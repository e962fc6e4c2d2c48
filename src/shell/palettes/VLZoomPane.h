// The zoom percentage field of the tool palette: it shows 100 times the zoom factor the view pane
// broadcasts, zooms the view by a typed percentage, and a click on it chooses the zoom tool.
#pragma once

#include "VLLocationPane.h"

class VLZoomPane : public VLLocationPane {
  VL_REGISTERED_CLASS(VLZoomPane, VLLocationPane)

 public:
  // The scene layer's command for a click on the field while a scene window is active.
  static constexpr long kSceneZoomCommand = 10171;

  VLZoomPane() = default;

  // Nothing without a current view pane. Return, Enter, Tab: the text read as a number becomes
  // the value and the view is zoomed by the new value over the old, then the view pane is the
  // command target again. A percentage that is not above 0 (or no number) is refused with a
  // beep: the value and the view stay. Other keys as a location field.
  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;
  // While a scene window is active it does not become the target (and answers true).
  Boolean BecomeCommandTarget(Boolean become) override;
  // A single click: the scene's zoom command while a scene window is active, else the zoom
  // tool of the view pane. A double click (no scene window) edits the text, all selected.
  void DoClick(Point hitPt, SInt16 modifiers, long when) override;
  // With a view pane: the text cursor while the field is the target, else the arrow.
  void AdjustCursor(Point where, RgnHandle mouseRgn) override;
};
