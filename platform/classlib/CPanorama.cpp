#include "CPanorama.h"

#include "CScrollPane.h"

CPanorama::~CPanorama() {
  if (itsScrollPane && itsScrollPane->GetPanorama() == this) itsScrollPane->ForgetPanorama();
  itsScrollPane = nullptr;
}

void CPanorama::IPanorama(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                          SizingOption hS, SizingOption vS) {
  Init(enclosure, supervisor, w, h, hE, vE, hS, vS);
  bounds = frame;
  position = LongPt{};
  hScale = vScale = 1;
}

void CPanorama::SetBounds(const LongRect* newBounds) {
  bounds = *newBounds;
  if (itsScrollPane) itsScrollPane->Calibrate();
}

void CPanorama::GetExtent(long* h, long* v) const {
  if (h) *h = long(bounds.right) - bounds.left;
  if (v) *v = long(bounds.bottom) - bounds.top;
}

void CPanorama::GetFrameSpan(SInt16* h, SInt16* v) const {
  if (h) *h = SInt16(width / hScale);
  if (v) *v = SInt16(height / vScale);
}

void CPanorama::SetScales(SInt16 h, SInt16 v) {
  hScale = h < 1 ? 1 : h;
  vScale = v < 1 ? 1 : v;
  // The frame follows the position in the new scale.
  ShiftFrame(long(position.h) * hScale - frame.left, long(position.v) * vScale - frame.top);
  if (itsScrollPane) itsScrollPane->Calibrate();
}

void CPanorama::GetScales(SInt16* h, SInt16* v) const {
  if (h) *h = hScale;
  if (v) *v = vScale;
}

void CPanorama::Scroll(long h, long v, Boolean redraw) {
  if (h == 0 && v == 0) return;
  position.h += SInt32(h);
  position.v += SInt32(v);
  ShiftFrame(h * hScale, v * vScale);
  if (redraw) DrawNow();
}

void CPanorama::ScrollTo(const LongPt* newPosition, Boolean redraw) {
  Scroll(long(newPosition->h) - position.h, long(newPosition->v) - position.v, redraw);
}

namespace {
// Units to scroll so that the coordinate comes inside [low, high], kept within what the bounds
// allow (room below and above the current position).
long Needed(long coordinate, long low, long high, long scale, long roomBelow, long roomAbove) {
  long units = 0;
  if (coordinate < low)
    units = -((low - coordinate + scale - 1) / scale);
  else if (coordinate > high)
    units = (coordinate - high + scale - 1) / scale;
  if (units < -roomBelow) units = -roomBelow;
  if (units > roomAbove) units = roomAbove;
  return units;
}
}  // namespace

Boolean CPanorama::AutoScroll(LongPt* mouse) {
  SInt16 spanH = 0, spanV = 0;
  GetFrameSpan(&spanH, &spanV);
  long roomLeft = long(position.h) - bounds.left, roomRight = long(bounds.right) - (position.h + spanH);
  long roomUp = long(position.v) - bounds.top, roomDown = long(bounds.bottom) - (position.v + spanV);
  if (roomLeft < 0) roomLeft = 0;
  if (roomRight < 0) roomRight = 0;
  if (roomUp < 0) roomUp = 0;
  if (roomDown < 0) roomDown = 0;
  long h = Needed(mouse->h, frame.left, frame.right, hScale, roomLeft, roomRight);
  long v = Needed(mouse->v, frame.top, frame.bottom, vScale, roomUp, roomDown);
  if (h == 0 && v == 0) return false;
  Scroll(h, v, true);
  if (itsScrollPane) itsScrollPane->Calibrate();
  return true;
}

void CPanorama::AdjustToEnclosure(const Rect* delta) {
  CPane::AdjustToEnclosure(delta);
  if (itsScrollPane) itsScrollPane->Calibrate();
}
