#include "CStaticText.h"

void CStaticText::Init(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                       SizingOption hS, SizingOption vS, SInt16 newLineWidth) {
  IAbstractText(enclosure, supervisor, w, h, hE, vE, hS, vS, newLineWidth);
  editable = false;
  selectable = false;
  wantsClicks = false;
}
