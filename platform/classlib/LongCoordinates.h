// Points and rectangles in 32-bit coordinates, as panes and mouse tasks use them, and their
// conversions to and from the drawing layer's 16-bit ones (clamped, never wrapped).
#pragma once

#include "MacTypes.h"

struct LongPt {
  SInt32 v = 0;
  SInt32 h = 0;
  friend bool operator==(const LongPt&, const LongPt&) = default;
};

struct LongRect {
  SInt32 top = 0;
  SInt32 left = 0;
  SInt32 bottom = 0;
  SInt32 right = 0;
  friend bool operator==(const LongRect&, const LongRect&) = default;
};

inline SInt16 ClampToShort(long value) {
  return SInt16(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
}

inline void SetLongRect(LongRect* r, long left, long top, long right, long bottom) {
  r->left = SInt32(left);
  r->top = SInt32(top);
  r->right = SInt32(right);
  r->bottom = SInt32(bottom);
}
inline void SetLongPt(LongPt* p, long h, long v) {
  p->h = SInt32(h);
  p->v = SInt32(v);
}

inline Boolean EqualLongPt(const LongPt* a, const LongPt* b) { return *a == *b; }
inline Boolean EqualLongRect(const LongRect* a, const LongRect* b) { return *a == *b; }
inline Boolean EmptyLongRect(const LongRect* r) { return r->right <= r->left || r->bottom <= r->top; }
// True when the point lies inside r (bottom and right edges excluded).
inline Boolean PtInLongRect(const LongPt* p, const LongRect* r) {
  return p->h >= r->left && p->h < r->right && p->v >= r->top && p->v < r->bottom;
}
// Clamps each coordinate of the point between the rectangle's edges (right and bottom
// included, as the edges of a frame are places the mouse can be).
inline void PinInLongRect(const LongRect* r, LongPt* p) {
  if (p->h < r->left) p->h = r->left;
  if (p->h > r->right) p->h = r->right;
  if (p->v < r->top) p->v = r->top;
  if (p->v > r->bottom) p->v = r->bottom;
}
// The same, answered as a value.
inline LongPt PinRect(const LongRect* r, LongPt p) {
  PinInLongRect(r, &p);
  return p;
}
inline void OffsetLongRect(LongRect* r, long dh, long dv) {
  r->left += SInt32(dh);
  r->right += SInt32(dh);
  r->top += SInt32(dv);
  r->bottom += SInt32(dv);
}
// Intersection into dst; false (and an all-zero dst) when it is empty.
Boolean SectLongRect(const LongRect* a, const LongRect* b, LongRect* dst);
// The smallest rectangle holding both (an empty one counts as nothing).
void UnionLongRect(const LongRect* a, const LongRect* b, LongRect* dst);

inline void LongToQDRect(const LongRect* src, Rect* dst) {
  dst->top = ClampToShort(src->top);
  dst->left = ClampToShort(src->left);
  dst->bottom = ClampToShort(src->bottom);
  dst->right = ClampToShort(src->right);
}
inline void QDToLongRect(const Rect* src, LongRect* dst) {
  dst->top = src->top;
  dst->left = src->left;
  dst->bottom = src->bottom;
  dst->right = src->right;
}
inline void LongToQDPt(const LongPt* src, Point* dst) {
  dst->v = ClampToShort(src->v);
  dst->h = ClampToShort(src->h);
}
inline void QDToLongPt(Point src, LongPt* dst) {
  dst->v = src.v;
  dst->h = src.h;
}
