// Text that shows and takes no clicks or keys (a label).
#pragma once

#include "CAbstractText.h"

class CStaticText : public CAbstractText {
  VL_REGISTERED_CLASS(CStaticText, CAbstractText)

 public:
  CStaticText() = default;

  void Init(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
            SizingOption hSizing, SizingOption vSizing, SInt16 lineWidth);
  void IStaticText(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                   SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 lineWidth) {
    Init(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing, lineWidth);
  }
};
