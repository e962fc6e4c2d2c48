#include "CPaneBorder.h"

#include "QuickDraw.h"

CPaneBorder::CPaneBorder(SInt16 flags) { SetBorderFlags(flags); }

void CPaneBorder::SetPenSize(SInt16 h, SInt16 v) {
  penH = h < 1 ? 1 : h;
  penV = v < 1 ? 1 : v;
}

void CPaneBorder::SetCornerSize(SInt16 h, SInt16 v) {
  cornerH = h < 0 ? 0 : h;
  cornerV = v < 0 ? 0 : v;
}

void CPaneBorder::SetMargin(SInt16 h, SInt16 v) {
  marginH = h < 0 ? 0 : h;
  marginV = v < 0 ? 0 : v;
}

void CPaneBorder::GetBorderRect(const LongRect* frame, LongRect* r) const {
  *r = *frame;
  if (borderFlags & kBorderLeft) r->left -= marginH + penH;
  if (borderFlags & kBorderTop) r->top -= marginV + penV;
  if (borderFlags & kBorderRight) r->right += marginH + penH;
  if (borderFlags & kBorderBottom) r->bottom += marginV + penV;
}

void CPaneBorder::Draw(const LongRect* frame) const {
  if (borderFlags == 0) return;
  LongRect outer;
  GetBorderRect(frame, &outer);
  Rect r;
  LongToQDRect(&outer, &r);
  PenState saved;
  PortGetPenState(&saved);
  PortPenNormal();
  PortPenSize(penH, penV);
  if (borderFlags == kBorderFrame) {
    if (cornerH > 0 || cornerV > 0)
      PortFrameRoundRect(&r, cornerH, cornerV);
    else
      PortFrameRect(&r);
  } else {
    // Each side is a band of the pen's thickness along the outer rectangle.
    Rect band;
    if (borderFlags & kBorderLeft) {
      band = {r.top, r.left, r.bottom, SInt16(r.left + penH)};
      PortPaintRect(&band);
    }
    if (borderFlags & kBorderTop) {
      band = {r.top, r.left, SInt16(r.top + penV), r.right};
      PortPaintRect(&band);
    }
    if (borderFlags & kBorderRight) {
      band = {r.top, SInt16(r.right - penH), r.bottom, r.right};
      PortPaintRect(&band);
    }
    if (borderFlags & kBorderBottom) {
      band = {SInt16(r.bottom - penV), r.left, r.bottom, r.right};
      PortPaintRect(&band);
    }
  }
  PortSetPenState(&saved);
}
