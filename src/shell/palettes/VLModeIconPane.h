// An on/off switch of the tool palette: the snap-to-handles switch (pictures 501 on, 504 off,
// gSnapToHandles) and the snap-to-grid switch (502 on, 505 off, gSnapToGrid). A single click
// toggles the switch; a double click opens the switch's settings through the view pane.
#pragma once

#include "CPane.h"

// Whether drawing snaps to the handles of other objects.
extern UInt8 gSnapToHandles;

class VLModeIconPane : public CPane {
  VL_REGISTERED_CLASS(VLModeIconPane, CPane)

 public:
  enum : SInt16 { kSnapToHandles = 501, kSnapToGrid = 502 };
  // The commands a double click sends to the view pane.
  static constexpr long kSnapDistanceCommand = 4102;
  static constexpr long kUnitsAndGridsCommand = 4011;

  VLModeIconPane() = default;

  // The pane, wanting clicks, its identifier the on-code; the frame saved.
  void IVLModeIconPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                       SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 onCode, SInt16 offCode);
  SInt16 GetOnCode() const { return onCode; }
  // Whether the pane's switch is on.
  Boolean IsOn() const;

  void RedrawNow();
  // The on or the off picture, outlined.
  void Draw(const Rect* area) override;
  // Only with a current view pane, which becomes the command target first; the icon is redrawn
  // at the end.
  void DoClick(Point hitPt, SInt16 modifiers, long when) override;

 protected:
  SInt16 onCode = 0;
  SInt16 offCode = 0;
  Rect savedFrame{};
};
