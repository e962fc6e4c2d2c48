// Points and directions in model space, and the vector arithmetic the whole program shares.
// The functions are inline: each is a few operations, called per point and per face by every
// object, where a call costs more than the arithmetic.
#pragma once

#include <cmath>

struct Vector3d {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  friend bool operator==(const Vector3d&, const Vector3d&) = default;
};

inline double VectorLength(const Vector3d* v) { return std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z); }

inline void VectorSubtract(const Vector3d* a, const Vector3d* b, Vector3d* out) {
  *out = Vector3d{a->x - b->x, a->y - b->y, a->z - b->z};
}

inline double VectorDistance(const Vector3d* a, const Vector3d* b) {
  Vector3d d;
  VectorSubtract(a, b, &d);
  return VectorLength(&d);
}

inline double VectorDot(const Vector3d* a, const Vector3d* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }

// out may be a or b: the product is computed whole before it is written.
inline void VectorCross(const Vector3d* a, const Vector3d* b, Vector3d* out) {
  const Vector3d c{a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
  *out = c;
}

// s exactly 0 gives (0, 0, 0).
inline void VectorDivide(const Vector3d* v, double s, Vector3d* out) {
  if (s == 0.0) {
    *out = Vector3d{};
    return;
  }
  *out = Vector3d{v->x / s, v->y / s, v->z / s};
}

inline void VectorAdd(const Vector3d* a, const Vector3d* b, Vector3d* out) {
  *out = Vector3d{a->x + b->x, a->y + b->y, a->z + b->z};
}

// Componentwise.
inline void VectorMultiply(const Vector3d* a, const Vector3d* b, Vector3d* out) {
  *out = Vector3d{a->x * b->x, a->y * b->y, a->z * b->z};
}

inline void VectorScale(const Vector3d* v, double s, Vector3d* out) { *out = Vector3d{s * v->x, s * v->y, s * v->z}; }
inline void VectorCopy(Vector3d* destination, const Vector3d* source) { *destination = *source; }
inline void VectorSet(Vector3d* out, double x, double y, double z) { *out = Vector3d{x, y, z}; }
inline void VectorNegate(Vector3d* v) { *v = Vector3d{-v->x, -v->y, -v->z}; }

// Component i of v: 1 is y, 2 is z, and any other index x.
inline double& VectorComponent(Vector3d& v, int i) { return i == 1 ? v.y : i == 2 ? v.z : v.x; }
inline double VectorComponent(const Vector3d& v, int i) { return i == 1 ? v.y : i == 2 ? v.z : v.x; }

// a . (b x c)
inline double Determinant3(const Vector3d* a, const Vector3d* b, const Vector3d* c) {
  Vector3d bc;
  VectorCross(b, c, &bc);
  return VectorDot(a, &bc);
}
