// Helpers shared by the geometry kernel's sources; not part of its interface.
#pragma once

#include <algorithm>
#include <cmath>

#include "MacTypes.h"
#include "Vector3d.h"

namespace geom {

inline bool IsFinite(const Vector3d& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
inline bool IsZero(const Vector3d& v) { return v.x == 0.0 && v.y == 0.0 && v.z == 0.0; }
inline Vector3d Minus(const Vector3d& a, const Vector3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3d Cross(const Vector3d& a, const Vector3d& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// v divided by its length; the zero vector for a zero or non-finite v. Lengths that overflow
// or underflow are taken after scaling, so every finite non-zero v gives a unit vector. Inline:
// the frames and collinearity tests of every face ask for it.
inline Vector3d UnitOf(const Vector3d& v) {
  if (!IsFinite(v)) return {};
  const double length = VectorLength(&v);
  if (length > 0.0 && std::isfinite(length)) return {v.x / length, v.y / length, v.z / length};
  const double largest = std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
  if (largest == 0.0) return {};
  const Vector3d scaled{v.x / largest, v.y / largest, v.z / largest};
  const double scaledLength = VectorLength(&scaled);
  return {scaled.x / scaledLength, scaled.y / scaledLength, scaled.z / scaledLength};
}

// The points of a loop block as the routines may read them: the count is clamped to what the
// block holds, and a negative count, a null or dead handle give an empty loop.
struct LoopPoints {
  const Vector3d* p = nullptr;
  int n = 0;
  const Vector3d& operator[](int i) const { return p[i]; }
};
LoopPoints ReadLoop(Handle loop, SInt16 count);

// The loop-level algorithms on plain arrays, so that callers holding checked views need not
// go back through the handles.
Vector3d LoopNormal(LoopPoints loop);
bool PointInLoop(const Vector3d& point, LoopPoints loop);
// The edge from a to b has zero length (its ends coincide within the coincidence tolerance).
bool ZeroEdge(const Vector3d& a, const Vector3d& b);
// point lies strictly inside the edge from a to b (which is not of zero length).
bool PointOnEdge(const Vector3d& point, const Vector3d& a, const Vector3d& b);

}  // namespace geom
