#include "ViewConventions.h"

#include <algorithm>
#include <cmath>

double ClampPaneCoordinate(double value) {
  if (std::isnan(value)) return value;
  return std::clamp(value, -kPaneCoordinateLimit, kPaneCoordinateLimit);
}

bool PaneCoordinate(double value, SInt16* out) {
  if (!std::isfinite(value)) return false;
  // Truncation of a value within the limit always fits 16 bits.
  *out = SInt16(ClampPaneCoordinate(value));
  return true;
}

bool PanePointFromProjected(const Vector3d* projected, Point* out) {
  Point point;
  if (!PaneCoordinate(projected->x, &point.h) || !PaneCoordinate(projected->y, &point.v)) return false;
  *out = point;
  return true;
}
