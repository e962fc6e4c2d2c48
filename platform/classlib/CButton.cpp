#include "CButton.h"

#include "CWindow.h"
#include "Ticks.h"

void CButton::Init(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                   SizingOption hS, SizingOption vS, ConstStringPtr newTitle) {
  IControl(enclosure, supervisor, w, h, hE, vE, hS, vS, pushButProc, newTitle, 0, 0, 1);
}

void CButton::SetDefault(Boolean makeDefault) {
  if (isDefault == makeDefault) return;
  Refresh();
  isDefault = makeDefault;
  Refresh();
}

void CButton::SimulateClick() {
  if (dimmed || !ReallyVisible()) return;
  Hilite(kControlButtonPart);
  PortDelay(8, nullptr);
  Hilite(0);
  DoGoodClick(kControlButtonPart);
}

namespace {
// The default button's outline: three pixels wide, four outside the button.
constexpr SInt16 kDefaultOutline = 4;
}

void CButton::DrawAll(const Rect* area) {
  if (isDefault && visible && itsEnclosure && macPort) {
    itsEnclosure->Prepare();
    LongRect f;
    GetFrameInEnclosure(&f);
    Rect r;
    LongToQDRect(&f, &r);
    PortInsetRect(&r, -kDefaultOutline, -kDefaultOutline);
    PenState saved;
    PortGetPenState(&saved);
    PortPenNormal();
    PortPenSize(3, 3);
    if (dimmed || !active) PortPenPattern(&qd.gray);
    SInt16 corner = SInt16((r.bottom - r.top) / 2 + 2);
    PortFrameRoundRect(&r, corner, corner);
    PortSetPenState(&saved);
  }
  CControl::DrawAll(area);
}

void CButton::Refresh() {
  CControl::Refresh();
  if (!isDefault || !ReallyVisible()) return;
  CWindow* window = GetWindow();
  if (!window) return;
  LongRect f = frame;
  FrameToWindR(&f);
  Rect r;
  LongToQDRect(&f, &r);
  PortInsetRect(&r, -kDefaultOutline, -kDefaultOutline);
  window->InvalidateArea(&r);
}
