#include "CRadioControl.h"

void CRadioControl::Init(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                         SizingOption hS, SizingOption vS, ConstStringPtr newTitle) {
  IControl(enclosure, supervisor, w, h, hE, vE, hS, vS, radioButProc, newTitle, 0, 0, 1);
}

void CRadioControl::Select() {
  if (itsEnclosure) {
    for (CView* sibling : itsEnclosure->GetSubviews()) {
      auto* radio = dynamic_cast<CRadioControl*>(sibling);
      if (radio && radio != this && radio->radioGroup == radioGroup) radio->SetValue(0);
    }
  }
  SetValue(1);
}

void CRadioControl::DoGoodClick(SInt16 part) {
  Select();
  CControl::DoGoodClick(part);
}
