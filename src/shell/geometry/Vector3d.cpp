#include "Vector3d.h"

#include <cmath>

double VectorLength(const Vector3d* v) { return std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z); }

double VectorDistance(const Vector3d* a, const Vector3d* b) {
  Vector3d d;
  VectorSubtract(a, b, &d);
  return VectorLength(&d);
}

double VectorDot(const Vector3d* a, const Vector3d* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }

void VectorCross(const Vector3d* a, const Vector3d* b, Vector3d* out) {
  // Computed whole before writing, so out may alias an input.
  const Vector3d c{a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
  *out = c;
}

void VectorDivide(const Vector3d* v, double s, Vector3d* out) {
  if (s == 0.0) {
    *out = Vector3d{};
    return;
  }
  *out = Vector3d{v->x / s, v->y / s, v->z / s};
}

void VectorSubtract(const Vector3d* a, const Vector3d* b, Vector3d* out) {
  *out = Vector3d{a->x - b->x, a->y - b->y, a->z - b->z};
}

void VectorAdd(const Vector3d* a, const Vector3d* b, Vector3d* out) {
  *out = Vector3d{a->x + b->x, a->y + b->y, a->z + b->z};
}

void VectorMultiply(const Vector3d* a, const Vector3d* b, Vector3d* out) {
  *out = Vector3d{a->x * b->x, a->y * b->y, a->z * b->z};
}

void VectorScale(const Vector3d* v, double s, Vector3d* out) { *out = Vector3d{s * v->x, s * v->y, s * v->z}; }

void VectorCopy(Vector3d* destination, const Vector3d* source) { *destination = *source; }

void VectorSet(Vector3d* out, double x, double y, double z) { *out = Vector3d{x, y, z}; }

void VectorNegate(Vector3d* v) { *v = Vector3d{-v->x, -v->y, -v->z}; }

double Determinant3(const Vector3d* a, const Vector3d* b, const Vector3d* c) {
  Vector3d bc;
  VectorCross(b, c, &bc);
  return VectorDot(a, &bc);
}
