// Editable text in a pane: it takes clicks, selects and types while it is the command target.
#pragma once

#include "CAbstractText.h"

class CEditText : public CAbstractText {
  VL_REGISTERED_CLASS(CEditText, CAbstractText)

 public:
  CEditText() = default;

  // lineWidth: the width the text wraps at (0: the pane's width; -1: no wrapping).
  void Init(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
            SizingOption hSizing, SizingOption vSizing, SInt16 lineWidth);
  void IEditText(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                 SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 lineWidth) {
    Init(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing, lineWidth);
  }
};
