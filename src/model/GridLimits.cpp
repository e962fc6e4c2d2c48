#include "GridLimits.h"

#include <cmath>

#include "TextLines.h"

namespace {

constexpr SInt16 kGridSizeItem = 3;
constexpr SInt16 kGridSpacingItem = 4;
constexpr double kFallbackSize = 50.0;
constexpr double kFallbackSpacing = 5.0;

}  // namespace

SInt16 GridLineCount(double size, double spacing) {
  if (!std::isfinite(size) || !std::isfinite(spacing) || spacing <= 0.0 || size < 0.0) return 0;
  const double steps = std::floor(size / spacing * (1.0 + 1e-9));
  if (!(steps < kMaxGridLines)) return 0;
  return SInt16(steps + 1.0);
}

void DefaultGridSizeAndSpacing(double* size, double* spacing) {
  *size = vltext::DefaultLength(kGridSizeItem, kFallbackSize);
  *spacing = vltext::DefaultLength(kGridSpacingItem, kFallbackSpacing);
  if (GridLineCount(*size, *spacing) == 0) {
    *size = kFallbackSize;
    *spacing = kFallbackSpacing;
  }
}
