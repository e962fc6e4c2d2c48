#include "CCheckBox.h"

void CCheckBox::Init(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                     SizingOption hS, SizingOption vS, ConstStringPtr newTitle) {
  IControl(enclosure, supervisor, w, h, hE, vE, hS, vS, checkBoxProc, newTitle, 0, 0, 1);
}

void CCheckBox::DoGoodClick(SInt16 part) {
  SetValue(value ? 0 : 1);
  CControl::DoGoodClick(part);
}
