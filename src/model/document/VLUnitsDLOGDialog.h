// The window of the units and grids dialog: a resource dialog whose pop-up controls (kind 1008)
// become labelled popup panes. A pop-up's menu names the command of each of its items ("#N" at
// the end of the item's text, which the pane does not show).
#pragma once

#include "CDLOGDialog.h"

class VLPopupPane;

class VLUnitsDLOGDialog : public CDLOGDialog {
  VL_REGISTERED_CLASS(VLUnitsDLOGDialog, CDLOGDialog)

 public:
  VLUnitsDLOGDialog() = default;
  ~VLUnitsDLOGDialog() override = default;

  // The control kind of a pop-up.
  static constexpr SInt16 kPopupControlKind = 1008;

  // The command of a pop-up's menu item (0 when the item names none or does not exist).
  static long ItemCommand(VLPopupPane* popup, SInt16 menuItem);
  // The menu item of a pop-up that names the command (0 when none does).
  static SInt16 CommandItem(VLPopupPane* popup, long command);

 protected:
  CView* MakeItem(SInt16 itemNumber, const vlres::DialogItem& item) override;
  // A pop-up control becomes a VLPopupPane sized and placed as the item and given the control's
  // menu; any other control a plain pane. Fails with resNotFound when the control resource is
  // missing or damaged.
  virtual CView* MakeControl(SInt16 itemNumber, const vlres::DialogItem& item);
};
