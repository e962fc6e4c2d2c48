// A check box: a good click toggles it, then sends the click command.
#pragma once

#include "CControl.h"

class CCheckBox : public CControl {
  VL_REGISTERED_CLASS(CCheckBox, CControl)

 public:
  CCheckBox() = default;

  void Init(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
            SizingOption hSizing, SizingOption vSizing, ConstStringPtr title);
  void DoGoodClick(SInt16 part) override;
};
