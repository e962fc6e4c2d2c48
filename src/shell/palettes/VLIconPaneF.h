// One icon of the tool palette: a 27 by 19 pane showing an 'ICON' resource (numbered with the
// icon's code, which is also the pane's identifier) shrunk, drawn black on white, inverted when
// selected and grey when disabled. The colour swatch (803) shows gDefaultObjectColor instead.
// A click chooses the icon's tool through the current view pane (VLIconPaneFClicks.cpp).
//
// Implemented in VLIconPaneF.cpp (state and drawing) and VLIconPaneFClicks.cpp (clicks).
#pragma once

#include "CPane.h"

// Icon codes that the palette and its clients name.
enum : SInt16 {
  kSelectIcon = 500,
  kNoActionIcon = 503,
  kColourIcon = 803,
  kOrbitIcon = 1000,
  kLookIcon = 1001,
  kSceneLookIcon = 1002,
  kFirstPlaneIcon = 1200,
};

class VLIconPaneF : public CPane {
  VL_REGISTERED_CLASS(VLIconPaneF, CPane)

 public:
  // Highest tool index with an icon; ToolCodeOfIndex gives 0 beyond it.
  static constexpr SInt16 kLastToolIndex = 28;

  VLIconPaneF() = default;

  // The pane, wanting clicks, its identifier the code; enabled, and selected only for 500 and
  // 1200; the frame saved.
  virtual void IVLIconPaneF(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                            SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 iconCode);
  // Draws the saved frame at once.
  virtual void RedrawNow();
  // Each changes the state only when it does not hold already, and then redraws:
  // enabled (and not selected), disabled (and not selected), selected (and enabled), not selected.
  virtual void EnableIcon();
  virtual void DisableIcon();
  virtual void SelectIcon();
  virtual void DeselectIcon();
  virtual Boolean IsIconEnabled() const { return enabled; }
  virtual Boolean IsIconSelected() const { return selected; }
  // The icon code of a tool index as the view pane and the palette events count them; 0 for an
  // index without an icon.
  static SInt16 ToolCodeOfIndex(SInt16 index);

  SInt16 GetCode() const { return code; }

  void Draw(const Rect* area) override;
  void DoClick(Point hitPt, SInt16 modifiers, long when) override;

 protected:
  // ---- Clicks (VLIconPaneFClicks.cpp) ----
  // While a scene window is active: the icon's scene command (none for most icons).
  void SendSceneCommand(Boolean doubleClick);
  // The colour swatch: recolours the selection, or on a double click asks for the current colour.
  void ClickColourSwatch(Point hitPt, long when);

  SInt16 code = 0;
  UInt8 enabled = 0;
  UInt8 selected = 0;
  Rect savedFrame{};
};
