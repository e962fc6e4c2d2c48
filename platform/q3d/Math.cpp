// Math on points, vectors, matrices, bounding boxes and colours.
#include <algorithm>
#include <cmath>

#include "internal/Core.h"

using namespace q3d;

TQ3Point2D* Q3Point2D_Set(TQ3Point2D* p, float x, float y) {
  *p = {x, y};
  return p;
}
TQ3Point3D* Q3Point3D_Set(TQ3Point3D* p, float x, float y, float z) {
  *p = {x, y, z};
  return p;
}
TQ3Vector2D* Q3Vector2D_Set(TQ3Vector2D* v, float x, float y) {
  *v = {x, y};
  return v;
}
TQ3Vector3D* Q3Vector3D_Set(TQ3Vector3D* v, float x, float y, float z) {
  *v = {x, y, z};
  return v;
}
TQ3ColorRGB* Q3ColorRGB_Set(TQ3ColorRGB* c, float r, float g, float b) {
  *c = {r, g, b};
  return c;
}

float Q3Point3D_Distance(const TQ3Point3D* p1, const TQ3Point3D* p2) {
  float dx = p1->x - p2->x, dy = p1->y - p2->y, dz = p1->z - p2->z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}
TQ3Vector3D* Q3Point3D_Subtract(const TQ3Point3D* p1, const TQ3Point3D* p2, TQ3Vector3D* r) {
  *r = {p1->x - p2->x, p1->y - p2->y, p1->z - p2->z};
  return r;
}
TQ3Point3D* Q3Point3D_Vector3D_Add(const TQ3Point3D* p, const TQ3Vector3D* v, TQ3Point3D* r) {
  *r = {p->x + v->x, p->y + v->y, p->z + v->z};
  return r;
}
TQ3Point2D* Q3Point2D_Vector2D_Add(const TQ3Point2D* p, const TQ3Vector2D* v, TQ3Point2D* r) {
  *r = {p->x + v->x, p->y + v->y};
  return r;
}
TQ3Vector2D* Q3Point2D_Subtract(const TQ3Point2D* p1, const TQ3Point2D* p2, TQ3Vector2D* r) {
  *r = {p1->x - p2->x, p1->y - p2->y};
  return r;
}

TQ3Vector3D* Q3Vector3D_Add(const TQ3Vector3D* a, const TQ3Vector3D* b, TQ3Vector3D* r) {
  *r = {a->x + b->x, a->y + b->y, a->z + b->z};
  return r;
}
TQ3Vector3D* Q3Vector3D_Subtract(const TQ3Vector3D* a, const TQ3Vector3D* b, TQ3Vector3D* r) {
  *r = {a->x - b->x, a->y - b->y, a->z - b->z};
  return r;
}
TQ3Vector3D* Q3Vector3D_Scale(const TQ3Vector3D* v, float s, TQ3Vector3D* r) {
  *r = {v->x * s, v->y * s, v->z * s};
  return r;
}
TQ3Vector3D* Q3Vector3D_Negate(const TQ3Vector3D* v, TQ3Vector3D* r) {
  *r = {-v->x, -v->y, -v->z};
  return r;
}
float Q3Vector3D_Length(const TQ3Vector3D* v) { return std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z); }
float Q3Vector3D_Dot(const TQ3Vector3D* a, const TQ3Vector3D* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }
TQ3Vector3D* Q3Vector3D_Cross(const TQ3Vector3D* a, const TQ3Vector3D* b, TQ3Vector3D* r) {
  TQ3Vector3D c{a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
  *r = c;
  return r;
}
TQ3Vector3D* Q3Vector3D_Normalize(const TQ3Vector3D* v, TQ3Vector3D* r) {
  float len = Q3Vector3D_Length(v);
  if (len > 0)
    *r = {v->x / len, v->y / len, v->z / len};
  else
    *r = *v;
  return r;
}
float Q3Vector2D_Length(const TQ3Vector2D* v) { return std::sqrt(v->x * v->x + v->y * v->y); }

TQ3Point2D* Q3Point2D_Transform(const TQ3Point2D* p, const TQ3Matrix3x3* m, TQ3Point2D* r) {
  const auto& v = m->value;
  float x = p->x * v[0][0] + p->y * v[1][0] + v[2][0];
  float y = p->x * v[0][1] + p->y * v[1][1] + v[2][1];
  float w = p->x * v[0][2] + p->y * v[1][2] + v[2][2];
  if (w != 0 && w != 1) {
    x /= w;
    y /= w;
  }
  *r = {x, y};
  return r;
}

TQ3Point3D* Q3Point3D_Transform(const TQ3Point3D* p, const TQ3Matrix4x4* m, TQ3Point3D* r) {
  const auto& v = m->value;
  float x = p->x * v[0][0] + p->y * v[1][0] + p->z * v[2][0] + v[3][0];
  float y = p->x * v[0][1] + p->y * v[1][1] + p->z * v[2][1] + v[3][1];
  float z = p->x * v[0][2] + p->y * v[1][2] + p->z * v[2][2] + v[3][2];
  float w = p->x * v[0][3] + p->y * v[1][3] + p->z * v[2][3] + v[3][3];
  if (w != 0 && w != 1) {
    x /= w;
    y /= w;
    z /= w;
  }
  *r = {x, y, z};
  return r;
}

TQ3Vector3D* Q3Vector3D_Transform(const TQ3Vector3D* p, const TQ3Matrix4x4* m, TQ3Vector3D* r) {
  const auto& v = m->value;
  TQ3Vector3D out{p->x * v[0][0] + p->y * v[1][0] + p->z * v[2][0], p->x * v[0][1] + p->y * v[1][1] + p->z * v[2][1],
                  p->x * v[0][2] + p->y * v[1][2] + p->z * v[2][2]};
  *r = out;
  return r;
}

TQ3Status Q3Point3D_To3DTransformArray(const TQ3Point3D* in, const TQ3Matrix4x4* matrix, TQ3Point3D* out,
                                       TQ3Uns32 numPoints, TQ3Uns32 inStructSize, TQ3Uns32 outStructSize) {
  if (numPoints && (!CheckPointer(in) || !CheckPointer(out) || !CheckPointer(matrix))) return kQ3Failure;
  if (inStructSize < sizeof(TQ3Point3D) || outStructSize < sizeof(TQ3Point3D)) {
    PostError(kQ3ErrorInvalidParameter);
    return kQ3Failure;
  }
  const auto* src = reinterpret_cast<const char*>(in);
  auto* dst = reinterpret_cast<char*>(out);
  for (TQ3Uns32 i = 0; i < numPoints; ++i) {
    TQ3Point3D p;
    std::memcpy(&p, src + size_t(i) * inStructSize, sizeof p);
    Q3Point3D_Transform(&p, matrix, &p);
    std::memcpy(dst + size_t(i) * outStructSize, &p, sizeof p);
  }
  return kQ3Success;
}

TQ3Point3D* Q3SphericalPoint_ToPoint3D(const TQ3SphericalPoint* s, TQ3Point3D* r) {
  float st = std::sin(s->theta), ct = std::cos(s->theta), sp = std::sin(s->phi), cp = std::cos(s->phi);
  *r = {s->rho * ct * sp, s->rho * st * sp, s->rho * cp};
  return r;
}

TQ3SphericalPoint* Q3Point3D_ToSpherical(const TQ3Point3D* p, TQ3SphericalPoint* r) {
  float rho = std::sqrt(p->x * p->x + p->y * p->y + p->z * p->z);
  TQ3SphericalPoint s{rho, std::atan2(p->y, p->x), rho > 0 ? std::acos(std::clamp(p->z / rho, -1.0f, 1.0f)) : 0};
  *r = s;
  return r;
}

// ---------------------------------------------------------------------------
TQ3Matrix3x3* Q3Matrix3x3_SetIdentity(TQ3Matrix3x3* m) {
  *m = TQ3Matrix3x3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  return m;
}
TQ3Matrix3x3* Q3Matrix3x3_SetScale(TQ3Matrix3x3* m, float x, float y) {
  *m = TQ3Matrix3x3{{{x, 0, 0}, {0, y, 0}, {0, 0, 1}}};
  return m;
}
TQ3Matrix3x3* Q3Matrix3x3_SetTranslate(TQ3Matrix3x3* m, float x, float y) {
  *m = TQ3Matrix3x3{{{1, 0, 0}, {0, 1, 0}, {x, y, 1}}};
  return m;
}
TQ3Matrix3x3* Q3Matrix3x3_Multiply(const TQ3Matrix3x3* a, const TQ3Matrix3x3* b, TQ3Matrix3x3* r) {
  TQ3Matrix3x3 out{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) out.value[i][j] += a->value[i][k] * b->value[k][j];
  *r = out;
  return r;
}

// Gauss-Jordan elimination with partial pivoting, in doubles.
template <int N>
static bool Invert(const float (&in)[N][N], float (&out)[N][N]) {
  double a[N][2 * N];
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) {
      a[i][j] = in[i][j];
      a[i][j + N] = i == j ? 1 : 0;
    }
  for (int c = 0; c < N; ++c) {
    int pivot = c;
    for (int r = c + 1; r < N; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    if (std::fabs(a[pivot][c]) < 1e-30) return false;
    if (pivot != c)
      for (int j = 0; j < 2 * N; ++j) std::swap(a[c][j], a[pivot][j]);
    double d = a[c][c];
    for (int j = 0; j < 2 * N; ++j) a[c][j] /= d;
    for (int r = 0; r < N; ++r) {
      if (r == c || a[r][c] == 0) continue;
      double f = a[r][c];
      for (int j = 0; j < 2 * N; ++j) a[r][j] -= f * a[c][j];
    }
  }
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) out[i][j] = float(a[i][j + N]);
  return true;
}

TQ3Matrix3x3* Q3Matrix3x3_Invert(const TQ3Matrix3x3* m, TQ3Matrix3x3* r) {
  TQ3Matrix3x3 out;
  if (Invert<3>(m->value, out.value))
    *r = out;
  else
    PostWarning(kQ3WarningNonInvertibleMatrix);
  return r;
}

TQ3Matrix4x4* Q3Matrix4x4_SetIdentity(TQ3Matrix4x4* m) {
  *m = TQ3Matrix4x4{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  return m;
}
TQ3Matrix4x4* Q3Matrix4x4_SetScale(TQ3Matrix4x4* m, float x, float y, float z) {
  *m = TQ3Matrix4x4{{{x, 0, 0, 0}, {0, y, 0, 0}, {0, 0, z, 0}, {0, 0, 0, 1}}};
  return m;
}
TQ3Matrix4x4* Q3Matrix4x4_SetTranslate(TQ3Matrix4x4* m, float x, float y, float z) {
  *m = TQ3Matrix4x4{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {x, y, z, 1}}};
  return m;
}
TQ3Matrix4x4* Q3Matrix4x4_SetRotate_X(TQ3Matrix4x4* m, float a) {
  float c = std::cos(a), s = std::sin(a);
  *m = TQ3Matrix4x4{{{1, 0, 0, 0}, {0, c, s, 0}, {0, -s, c, 0}, {0, 0, 0, 1}}};
  return m;
}
TQ3Matrix4x4* Q3Matrix4x4_SetRotate_Y(TQ3Matrix4x4* m, float a) {
  float c = std::cos(a), s = std::sin(a);
  *m = TQ3Matrix4x4{{{c, 0, -s, 0}, {0, 1, 0, 0}, {s, 0, c, 0}, {0, 0, 0, 1}}};
  return m;
}
TQ3Matrix4x4* Q3Matrix4x4_SetRotate_Z(TQ3Matrix4x4* m, float a) {
  float c = std::cos(a), s = std::sin(a);
  *m = TQ3Matrix4x4{{{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  return m;
}
TQ3Matrix4x4* Q3Matrix4x4_SetRotate_XYZ(TQ3Matrix4x4* m, float xAngle, float yAngle, float zAngle) {
  TQ3Matrix4x4 x, y, z;
  Q3Matrix4x4_SetRotate_X(&x, xAngle);
  Q3Matrix4x4_SetRotate_Y(&y, yAngle);
  Q3Matrix4x4_SetRotate_Z(&z, zAngle);
  Q3Matrix4x4_Multiply(&x, &y, &x);
  return Q3Matrix4x4_Multiply(&x, &z, m);
}
TQ3Matrix4x4* Q3Matrix4x4_SetRotateAboutAxis(TQ3Matrix4x4* m, const TQ3Point3D* origin, const TQ3Vector3D* axis,
                                             float angle) {
  TQ3Vector3D u;
  Q3Vector3D_Normalize(axis, &u);
  float c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  // Rotation of row vectors about u (right-handed).
  TQ3Matrix4x4 r{{{t * u.x * u.x + c, t * u.x * u.y + s * u.z, t * u.x * u.z - s * u.y, 0},
                  {t * u.x * u.y - s * u.z, t * u.y * u.y + c, t * u.y * u.z + s * u.x, 0},
                  {t * u.x * u.z + s * u.y, t * u.y * u.z - s * u.x, t * u.z * u.z + c, 0},
                  {0, 0, 0, 1}}};
  TQ3Matrix4x4 to, back;
  Q3Matrix4x4_SetTranslate(&to, -origin->x, -origin->y, -origin->z);
  Q3Matrix4x4_SetTranslate(&back, origin->x, origin->y, origin->z);
  Q3Matrix4x4_Multiply(&to, &r, &r);
  return Q3Matrix4x4_Multiply(&r, &back, m);
}
TQ3Matrix4x4* Q3Matrix4x4_Multiply(const TQ3Matrix4x4* a, const TQ3Matrix4x4* b, TQ3Matrix4x4* r) {
  TQ3Matrix4x4 out{};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += double(a->value[i][k]) * b->value[k][j];
      out.value[i][j] = float(sum);
    }
  *r = out;
  return r;
}
TQ3Matrix4x4* Q3Matrix4x4_Invert(const TQ3Matrix4x4* m, TQ3Matrix4x4* r) {
  TQ3Matrix4x4 out;
  if (Invert<4>(m->value, out.value))
    *r = out;
  else
    PostWarning(kQ3WarningNonInvertibleMatrix);
  return r;
}
TQ3Matrix4x4* Q3Matrix4x4_Transpose(const TQ3Matrix4x4* m, TQ3Matrix4x4* r) {
  TQ3Matrix4x4 out;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) out.value[i][j] = m->value[j][i];
  *r = out;
  return r;
}
float Q3Matrix4x4_Determinant(const TQ3Matrix4x4* m) {
  double a[4][4];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) a[i][j] = m->value[i][j];
  double det = 1;
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    if (a[pivot][c] == 0) return 0;
    if (pivot != c) {
      for (int j = 0; j < 4; ++j) std::swap(a[c][j], a[pivot][j]);
      det = -det;
    }
    det *= a[c][c];
    for (int r = c + 1; r < 4; ++r) {
      double f = a[r][c] / a[c][c];
      for (int j = c; j < 4; ++j) a[r][j] -= f * a[c][j];
    }
  }
  return float(det);
}

// ---------------------------------------------------------------------------
TQ3BoundingBox* Q3BoundingBox_Set(TQ3BoundingBox* b, const TQ3Point3D* min, const TQ3Point3D* max, TQ3Boolean isEmpty) {
  b->min = *min;
  b->max = *max;
  b->isEmpty = isEmpty;
  return b;
}

TQ3BoundingBox* Q3BoundingBox_SetFromPoints3D(TQ3BoundingBox* b, const TQ3Point3D* points, TQ3Uns32 numPoints,
                                              TQ3Uns32 structSize) {
  *b = TQ3BoundingBox{{0, 0, 0}, {0, 0, 0}, kQ3True};
  if (!numPoints || !points) return b;
  if (structSize < sizeof(TQ3Point3D)) structSize = sizeof(TQ3Point3D);
  const auto* src = reinterpret_cast<const char*>(points);
  for (TQ3Uns32 i = 0; i < numPoints; ++i) {
    TQ3Point3D p;
    std::memcpy(&p, src + size_t(i) * structSize, sizeof p);
    Q3BoundingBox_UnionPoint3D(b, &p, b);
  }
  return b;
}

TQ3BoundingBox* Q3BoundingBox_UnionPoint3D(const TQ3BoundingBox* b, const TQ3Point3D* p, TQ3BoundingBox* r) {
  TQ3BoundingBox out = *b;
  if (out.isEmpty) {
    out = {*p, *p, kQ3False};
  } else {
    out.min = {std::min(out.min.x, p->x), std::min(out.min.y, p->y), std::min(out.min.z, p->z)};
    out.max = {std::max(out.max.x, p->x), std::max(out.max.y, p->y), std::max(out.max.z, p->z)};
  }
  *r = out;
  return r;
}

TQ3BoundingBox* Q3BoundingBox_Union(const TQ3BoundingBox* b1, const TQ3BoundingBox* b2, TQ3BoundingBox* r) {
  if (b1->isEmpty) {
    *r = *b2;
    return r;
  }
  TQ3BoundingBox out = *b1;
  if (!b2->isEmpty) {
    Q3BoundingBox_UnionPoint3D(&out, &b2->min, &out);
    Q3BoundingBox_UnionPoint3D(&out, &b2->max, &out);
  }
  *r = out;
  return r;
}

TQ3ColorRGB* Q3ColorRGB_Add(const TQ3ColorRGB* a, const TQ3ColorRGB* b, TQ3ColorRGB* r) {
  *r = {a->r + b->r, a->g + b->g, a->b + b->b};
  return r;
}
TQ3ColorRGB* Q3ColorRGB_Scale(const TQ3ColorRGB* c, float s, TQ3ColorRGB* r) {
  *r = {c->r * s, c->g * s, c->b * s};
  return r;
}
TQ3ColorRGB* Q3ColorRGB_Clamp(const TQ3ColorRGB* c, TQ3ColorRGB* r) {
  *r = {std::clamp(c->r, 0.0f, 1.0f), std::clamp(c->g, 0.0f, 1.0f), std::clamp(c->b, 0.0f, 1.0f)};
  return r;
}
TQ3ColorRGB* Q3ColorRGB_Accumulate(const TQ3ColorRGB* src, TQ3ColorRGB* r) {
  r->r += src->r;
  r->g += src->g;
  r->b += src->b;
  return r;
}
