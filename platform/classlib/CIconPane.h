// A pane that shows an 'ICON' resource (32 by 32, one bit a pixel), drawn into its frame.
#pragma once

#include "CPane.h"

class CIconPane : public CPane {
  VL_REGISTERED_CLASS(CIconPane, CPane)

 public:
  CIconPane() = default;

  void IIconPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
                 SizingOption hSizing, SizingOption vSizing, SInt16 iconID);
  void SetIconID(SInt16 id);
  SInt16 GetIconID() const { return iconID; }

  void Draw(const Rect* area) override;

 private:
  SInt16 iconID = 0;
};
