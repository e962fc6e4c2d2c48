#include "CPane.h"

#include "CPaneBorder.h"
#include "CWindow.h"

CPane::~CPane() {
  if (itsBorder) itsBorder->Dispose();
  itsBorder = nullptr;
}

void CPane::Init(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                 SizingOption hS, SizingOption vS) {
  IView(enclosure, supervisor);
  width = w < 0 ? 0 : w;
  height = h < 0 ? 0 : h;
  SetLongRect(&frame, 0, 0, width, height);
  hEncl = hE;
  vEncl = vE;
  hSizing = hS;
  vSizing = vS;
  CalcAperture();
}

void CPane::GetFrameInEnclosure(LongRect* r) const { SetLongRect(r, hEncl, vEncl, hEncl + width, vEncl + height); }

void CPane::GetLengths(SInt16* w, SInt16* h) const {
  if (w) *w = width;
  if (h) *h = height;
}

void CPane::GetSizing(SizingOption* h, SizingOption* v) const {
  if (h) *h = hSizing;
  if (v) *v = vSizing;
}

void CPane::SetSizing(SizingOption h, SizingOption v) {
  hSizing = h;
  vSizing = v;
}

void CPane::CalcAperture() {
  if (itsEnclosure) {
    long eh = 0, ev = 0;
    itsEnclosure->GetOrigin(&eh, &ev);
    hOrigin = SInt32(frame.left - (hEncl - eh));
    vOrigin = SInt32(frame.top - (vEncl - ev));
    LongRect outer;
    itsEnclosure->GetAperture(&outer);
    itsEnclosure->FrameToWindR(&outer);
    WindToFrameR(&outer);
    SectLongRect(&outer, &frame, &aperture);
  } else {
    hOrigin = frame.left - hEncl;
    vOrigin = frame.top - vEncl;
    aperture = frame;
  }
  CView::CalcAperture();
}

void CPane::ShiftFrame(long dh, long dv) {
  OffsetLongRect(&frame, dh, dv);
  CalcAperture();
}

void CPane::Place(long h, long v, Boolean redraw) { Offset(h - hEncl, v - vEncl, redraw); }

void CPane::Offset(long dh, long dv, Boolean redraw) {
  if (dh == 0 && dv == 0) return;
  if (redraw) Refresh();
  hEncl += SInt32(dh);
  vEncl += SInt32(dv);
  CalcAperture();
  if (redraw) Refresh();
}

void CPane::ChangeSize(const Rect* delta, Boolean redraw) {
  if (redraw) Refresh();
  long dw = long(delta->right) - delta->left;
  long dh = long(delta->bottom) - delta->top;
  hEncl += delta->left;
  vEncl += delta->top;
  long newWidth = width + dw, newHeight = height + dh;
  width = ClampToShort(newWidth < 0 ? 0 : newWidth);
  height = ClampToShort(newHeight < 0 ? 0 : newHeight);
  frame.right = frame.left + width;
  frame.bottom = frame.top + height;
  CalcAperture();
  // Subviews lie in the pane's own coordinates: only the far edges moved for them.
  Rect inner{0, 0, ClampToShort(dh), ClampToShort(dw)};
  if (dw != 0 || dh != 0)
    for (CView* sub : std::vector<CView*>(itsSubviews))
      if (auto* pane = dynamic_cast<CPane*>(sub)) pane->AdjustToEnclosure(&inner);
  if (redraw) Refresh();
}

void CPane::ResizeFrame(SInt16 newWidth, SInt16 newHeight, Boolean redraw) {
  Rect delta{0, 0, SInt16(newHeight - height), SInt16(newWidth - width)};
  ChangeSize(&delta, redraw);
}

namespace {
// How one edge pair follows the enclosure's edge pair.
void Follow(SizingOption option, SInt16 nearDelta, SInt16 farDelta, SInt16* myNear, SInt16* myFar) {
  switch (option) {
    case sizFIXEDLEFT:
    case sizFIXEDTOP:
      *myNear = *myFar = nearDelta;
      break;
    case sizFIXEDRIGHT:
    case sizFIXEDBOTTOM:
      *myNear = *myFar = farDelta;
      break;
    case sizELASTIC:
      *myNear = nearDelta;
      *myFar = farDelta;
      break;
    default:  // fixed-sticky and unknown values: stay
      *myNear = *myFar = 0;
  }
}
}  // namespace

void CPane::AdjustToEnclosure(const Rect* delta) {
  Rect mine{};
  Follow(hSizing, delta->left, delta->right, &mine.left, &mine.right);
  Follow(vSizing, delta->top, delta->bottom, &mine.top, &mine.bottom);
  if (mine == Rect{}) {
    CalcAperture();
    return;
  }
  ChangeSize(&mine, false);
}

void CPane::FitToEnclosure(Boolean horizontal, Boolean vertical) {
  if (!itsEnclosure) return;
  LongRect outer;
  if (auto* pane = dynamic_cast<CPane*>(itsEnclosure))
    pane->GetFrame(&outer);
  else
    itsEnclosure->GetAperture(&outer);
  Rect delta{};
  if (horizontal) {
    delta.left = ClampToShort(outer.left - hEncl);
    delta.right = ClampToShort(outer.right - (hEncl + width));
  }
  if (vertical) {
    delta.top = ClampToShort(outer.top - vEncl);
    delta.bottom = ClampToShort(outer.bottom - (vEncl + height));
  }
  ChangeSize(&delta, false);
}

void CPane::SetBorder(CPaneBorder* border) {
  if (border == itsBorder) return;
  Refresh();
  if (itsBorder) itsBorder->Dispose();
  itsBorder = border;
  Refresh();
}

void CPane::GetBorderedArea(LongRect* r) const {
  LongRect f = frame;
  FrameToWindR(&f);
  if (itsBorder)
    itsBorder->GetBorderRect(&f, r);
  else
    *r = f;
}

void CPane::Refresh() {
  if (!itsBorder) {
    CView::Refresh();
    return;
  }
  if (!ReallyVisible()) return;
  CWindow* window = GetWindow();
  if (!window) return;
  LongRect r;
  GetBorderedArea(&r);
  if (itsEnclosure) {
    LongRect outer;
    itsEnclosure->GetAperture(&outer);
    itsEnclosure->FrameToWindR(&outer);
    if (!SectLongRect(&r, &outer, &r)) return;
  }
  Rect area;
  LongToQDRect(&r, &area);
  window->InvalidateArea(&area);
}

void CPane::DrawAll(const Rect* area) {
  if (!visible || !macPort) return;
  if (itsBorder && itsEnclosure) {
    // The border lies outside the frame: drawn in the enclosure's coordinates and clip.
    LongRect r, wanted;
    GetBorderedArea(&r);
    QDToLongRect(area, &wanted);
    if (SectLongRect(&r, &wanted, &r)) {
      itsEnclosure->Prepare();
      LongRect f;
      GetFrameInEnclosure(&f);
      itsBorder->Draw(&f);
    }
  }
  CView::DrawAll(area);
}
