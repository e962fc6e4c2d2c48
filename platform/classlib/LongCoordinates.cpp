#include "LongCoordinates.h"

#include <algorithm>

Boolean SectLongRect(const LongRect* a, const LongRect* b, LongRect* dst) {
  LongRect r;
  r.left = std::max(a->left, b->left);
  r.top = std::max(a->top, b->top);
  r.right = std::min(a->right, b->right);
  r.bottom = std::min(a->bottom, b->bottom);
  if (EmptyLongRect(&r)) {
    *dst = LongRect{};
    return false;
  }
  *dst = r;
  return true;
}

void UnionLongRect(const LongRect* a, const LongRect* b, LongRect* dst) {
  if (EmptyLongRect(a)) {
    *dst = *b;
    return;
  }
  if (EmptyLongRect(b)) {
    *dst = *a;
    return;
  }
  LongRect r;
  r.left = std::min(a->left, b->left);
  r.top = std::min(a->top, b->top);
  r.right = std::max(a->right, b->right);
  r.bottom = std::max(a->bottom, b->bottom);
  *dst = r;
}
