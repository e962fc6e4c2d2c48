#include "MacTypes.h"

#include <algorithm>

bool PortEmptyRect(const Rect* r) { return r->bottom <= r->top || r->right <= r->left; }

bool PortSectRect(const Rect* a, const Rect* b, Rect* dst) {
  Rect out{std::max(a->top, b->top), std::max(a->left, b->left), std::min(a->bottom, b->bottom),
           std::min(a->right, b->right)};
  if (PortEmptyRect(&out)) out = Rect{};
  *dst = out;
  return !PortEmptyRect(&out);
}

bool PortPtInRect(Point pt, const Rect* r) {
  return pt.v >= r->top && pt.v < r->bottom && pt.h >= r->left && pt.h < r->right;
}

bool PortPointInRect(Point pt, const Rect* r) { return PortPtInRect(pt, r); }

void PortUnionRect(const Rect* a, const Rect* b, Rect* dst) {
  if (PortEmptyRect(a)) {
    *dst = *b;
    return;
  }
  if (PortEmptyRect(b)) {
    *dst = *a;
    return;
  }
  *dst = Rect{std::min(a->top, b->top), std::min(a->left, b->left), std::max(a->bottom, b->bottom),
              std::max(a->right, b->right)};
}

void PortOffsetRect(Rect* r, int dh, int dv) {
  r->left = SInt16(r->left + dh);
  r->right = SInt16(r->right + dh);
  r->top = SInt16(r->top + dv);
  r->bottom = SInt16(r->bottom + dv);
}

void PortInsetRect(Rect* r, int dh, int dv) {
  r->left = SInt16(r->left + dh);
  r->right = SInt16(r->right - dh);
  r->top = SInt16(r->top + dv);
  r->bottom = SInt16(r->bottom - dv);
  if (PortEmptyRect(r)) *r = Rect{};
}
