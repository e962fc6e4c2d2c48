// Points and rectangles in 32-bit coordinates, as panes and mouse tasks use them.
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
