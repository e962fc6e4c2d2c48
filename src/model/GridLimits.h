// How many lines a background grid draws, checked once for every place a grid size and spacing
// come from (the defaults list, the settings line of a native file, the settings dialog).
//
// A grid of side size at spacing has a line at 0, spacing, 2 spacing, ... up to size in each
// direction, and so do its two walls. Each line is recorded as two projected points and a grid
// draws two lines at each step, so four points a step must fit a 16-bit point count.
#pragma once

#include "MacTypes.h"

constexpr SInt16 kMaxGridLines = 32767 / 4;

// The number of lines in each direction, floor(size / spacing) + 1, the quotient taken with a
// relative tolerance of 1e-9 so that a size that is a whole number of spacings (0.7 at 0.1)
// counts its last line. 0 when refused: a spacing of 0 or less, a negative size, a value that
// is not finite, or more than kMaxGridLines lines.
SInt16 GridLineCount(double size, double spacing);

// The background grid's size and spacing in feet: items 3 and 4 of the defaults string list
// 2700; 50 and 5 feet when either cannot be read or the two make a grid GridLineCount refuses.
void DefaultGridSizeAndSpacing(double* size, double* spacing);
