#include "CScrollPane.h"

#include "CPanorama.h"
#include "CScrollBar.h"

namespace {
// A bar overlaps the interior's edge by one pixel, as the bars of a window overlap its frame.
constexpr SInt16 kBarRoom = kScrollBarWidth - 1;
}

CScrollPane::~CScrollPane() {
  if (itsPanorama && itsPanorama->GetScrollPane() == this) itsPanorama->SetScrollPane(nullptr);
  itsPanorama = nullptr;
  // The bars are subviews and go with the pane; they must not call back meanwhile.
  if (itsHorizSBar) itsHorizSBar->SetScrollPane(nullptr);
  if (itsVertSBar) itsVertSBar->SetScrollPane(nullptr);
}

void CScrollPane::IScrollPane(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                              SizingOption hS, SizingOption vS, Boolean hasHoriz, Boolean hasVert,
                              Boolean sizeBox) {
  Init(enclosure, supervisor, w, h, hE, vE, hS, vS);
  hasSizeBox = sizeBox;
  if (hasHoriz) {
    itsHorizSBar = new CScrollBar;
    SInt16 length = SInt16(width - ((hasVert || sizeBox) ? kBarRoom : 0));
    itsHorizSBar->IScrollBar(this, this, true, length, 0, SInt16(height - kScrollBarWidth));
    itsHorizSBar->SetScrollPane(this);
  }
  if (hasVert) {
    itsVertSBar = new CScrollBar;
    SInt16 length = SInt16(height - ((hasHoriz || sizeBox) ? kBarRoom : 0));
    itsVertSBar->IScrollBar(this, this, false, length, SInt16(width - kScrollBarWidth), 0);
    itsVertSBar->SetScrollPane(this);
  }
}

void CScrollPane::GetInterior(LongRect* r) const {
  *r = frame;
  Boolean roomRight = itsVertSBar || (hasSizeBox && !itsHorizSBar);
  Boolean roomBottom = itsHorizSBar || (hasSizeBox && !itsVertSBar);
  if (roomRight) r->right -= kBarRoom;
  if (roomBottom) r->bottom -= kBarRoom;
}

void CScrollPane::GetInteriorLengths(SInt16* w, SInt16* h) const {
  LongRect r;
  GetInterior(&r);
  if (w) *w = ClampToShort(r.right - r.left);
  if (h) *h = ClampToShort(r.bottom - r.top);
}

void CScrollPane::InstallPanorama(CPanorama* panorama) {
  if (itsPanorama && itsPanorama != panorama) itsPanorama->SetScrollPane(nullptr);
  itsPanorama = panorama;
  if (panorama) panorama->SetScrollPane(this);
  Calibrate();
}

void CScrollPane::AdjustScrollMax() {
  if (!itsPanorama) return;
  long extentH = 0, extentV = 0;
  itsPanorama->GetExtent(&extentH, &extentV);
  SInt16 spanH = 0, spanV = 0;
  itsPanorama->GetFrameSpan(&spanH, &spanV);
  if (itsHorizSBar) itsHorizSBar->SetMaxValue(ClampToShort(extentH > spanH ? extentH - spanH : 0));
  if (itsVertSBar) itsVertSBar->SetMaxValue(ClampToShort(extentV > spanV ? extentV - spanV : 0));
}

void CScrollPane::Calibrate() {
  AdjustScrollMax();
  if (!itsPanorama) return;
  LongRect b;
  itsPanorama->GetBounds(&b);
  LongPt p;
  itsPanorama->GetPosition(&p);
  if (itsHorizSBar) itsHorizSBar->SetValue(ClampToShort(long(p.h) - b.left));
  if (itsVertSBar) itsVertSBar->SetValue(ClampToShort(long(p.v) - b.top));
}

void CScrollPane::Scroll(long h, long v, Boolean redraw) {
  if (!itsPanorama) return;
  itsPanorama->Scroll(h, v, redraw);
  Calibrate();
}

long CScrollPane::PartDelta(SInt16 part, Boolean horiz) const {
  SInt16 spanH = 1, spanV = 1;
  if (itsPanorama) itsPanorama->GetFrameSpan(&spanH, &spanV);
  long step = horiz ? hStep : vStep;
  long page = horiz ? long(spanH) - hOverlap : long(spanV) - vOverlap;
  if (page < 1) page = 1;
  switch (part) {
    case kControlUpButtonPart: return -step;
    case kControlDownButtonPart: return step;
    case kControlPageUpPart: return -page;
    case kControlPageDownPart: return page;
    default: return 0;
  }
}

namespace {
// The delta kept within the bar's range.
long WithinBar(const CScrollBar* bar, long delta) {
  if (!bar) return delta;
  long target = long(bar->GetValue()) + delta;
  if (target < bar->GetMinValue()) target = bar->GetMinValue();
  if (target > bar->GetMaxValue()) target = bar->GetMaxValue();
  return target - bar->GetValue();
}
}  // namespace

void CScrollPane::DoHorizScroll(SInt16 part) {
  long delta = WithinBar(itsHorizSBar, PartDelta(part, true));
  if (delta != 0) Scroll(delta, 0, true);
}

void CScrollPane::DoVertScroll(SInt16 part) {
  long delta = WithinBar(itsVertSBar, PartDelta(part, false));
  if (delta != 0) Scroll(0, delta, true);
}

void CScrollPane::DoThumbDragged(long hDelta, long vDelta) {
  if (itsPanorama && (hDelta != 0 || vDelta != 0)) itsPanorama->Scroll(hDelta, vDelta, true);
  Calibrate();
}

void CScrollPane::SetSteps(SInt16 h, SInt16 v) {
  hStep = h < 1 ? 1 : h;
  vStep = v < 1 ? 1 : v;
}

void CScrollPane::GetSteps(SInt16* h, SInt16* v) const {
  if (h) *h = hStep;
  if (v) *v = vStep;
}

void CScrollPane::SetOverlaps(SInt16 h, SInt16 v) {
  hOverlap = h < 0 ? 0 : h;
  vOverlap = v < 0 ? 0 : v;
}

void CScrollPane::GetOverlaps(SInt16* h, SInt16* v) const {
  if (h) *h = hOverlap;
  if (v) *v = vOverlap;
}

void CScrollPane::ChangeSize(const Rect* delta, Boolean redraw) {
  CPane::ChangeSize(delta, redraw);
  Calibrate();
}

void CScrollPane::Draw(const Rect*) {
  // The corner between the bars stays blank.
  if (!hasSizeBox && !(itsHorizSBar && itsVertSBar)) return;
  Rect corner{SInt16(frame.bottom - kBarRoom), SInt16(frame.right - kBarRoom), ClampToShort(frame.bottom),
              ClampToShort(frame.right)};
  PortEraseRect(&corner);
}
