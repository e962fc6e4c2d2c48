// A push button. The default button of a dialog shows a heavy rounded outline.
#pragma once

#include "CControl.h"

class CButton : public CControl {
  VL_REGISTERED_CLASS(CButton, CControl)

 public:
  CButton() = default;

  void Init(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
            SizingOption hSizing, SizingOption vSizing, ConstStringPtr title);
  void IButton(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
               SizingOption hSizing, SizingOption vSizing, ConstStringPtr title) {
    Init(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing, title);
  }

  virtual void SetDefault(Boolean isDefault);
  Boolean IsDefault() const { return isDefault; }
  // Acts as a click by the user: shows the button pressed for 8 ticks, then sends its command.
  // Nothing happens while it is hidden or inactive.
  virtual void SimulateClick();

  void DrawAll(const Rect* area) override;
  void Refresh() override;

 protected:
  Boolean isDefault = false;
};
