// Value-style vector arithmetic for the view transform's sources, over the geometry kernel.
#pragma once

#include "Vector3d.h"

namespace vlviews {

inline Vector3d Plus(const Vector3d& a, const Vector3d& b) {
  Vector3d out;
  VectorAdd(&a, &b, &out);
  return out;
}
inline Vector3d Minus(const Vector3d& a, const Vector3d& b) {
  Vector3d out;
  VectorSubtract(&a, &b, &out);
  return out;
}
inline Vector3d Scaled(const Vector3d& v, double s) {
  Vector3d out;
  VectorScale(&v, s, &out);
  return out;
}
inline Vector3d Cross(const Vector3d& a, const Vector3d& b) {
  Vector3d out;
  VectorCross(&a, &b, &out);
  return out;
}
inline double Dot(const Vector3d& a, const Vector3d& b) { return VectorDot(&a, &b); }
inline double Length(const Vector3d& v) { return VectorLength(&v); }
inline double Distance(const Vector3d& a, const Vector3d& b) { return VectorDistance(&a, &b); }
// v divided by its length; the zero vector for a zero vector.
inline Vector3d Unit(const Vector3d& v) {
  Vector3d out;
  VectorDivide(&v, VectorLength(&v), &out);
  return out;
}
inline bool IsZero(const Vector3d& v) { return v.x == 0.0 && v.y == 0.0 && v.z == 0.0; }
// Component k (0 x, 1 y, 2 z).
inline double& At(Vector3d& v, int k) { return k == 0 ? v.x : k == 1 ? v.y : v.z; }
inline double At(const Vector3d& v, int k) { return k == 0 ? v.x : k == 1 ? v.y : v.z; }

}  // namespace vlviews
