#include "Matrix4d.h"

#include <cmath>
#include <utility>

#include "GeometryInternal.h"

void SetIdentity4x4(Matrix4d* m) {
  *m = Matrix4d{};
  for (int i = 0; i < 4; ++i) m->at(i, i) = 1.0;
}

void MatrixFromAxes(Matrix4d* m, const Vector3d* a, const Vector3d* b, const Vector3d* c) {
  const Vector3d* rows[3] = {a, b, c};
  for (int r = 0; r < 3; ++r) {
    m->at(r, 0) = rows[r]->x;
    m->at(r, 1) = rows[r]->y;
    m->at(r, 2) = rows[r]->z;
  }
}

void SetScale4x4(Matrix4d* m, double sx, double sy, double sz) {
  m->at(0, 0) = sx;
  m->at(1, 1) = sy;
  m->at(2, 2) = sz;
}

void MatrixMultiply(const Matrix4d* a, const Matrix4d* b, MatrixShape shapeA, MatrixShape shapeB, Matrix4d* out) {
  auto fits = [](MatrixShape s) { return s.rows >= 0 && s.rows <= 4 && s.cols >= 0 && s.cols <= 4; };
  if (shapeA.cols != shapeB.rows || !fits(shapeA) || !fits(shapeB)) return;
  // Built aside and copied in, so that out may be one of the operands.
  Matrix4d product = *out;
  for (int i = 0; i < shapeA.rows; ++i) {
    for (int j = 0; j < shapeB.cols; ++j) {
      double sum = 0.0;
      for (int k = 0; k < shapeA.cols; ++k) sum += a->at(i, k) * b->at(k, j);
      product.at(i, j) = sum;
    }
  }
  *out = product;
}

void TransformPoint4x4(const Vector3d* p, const Matrix4d* m, Vector3d* out) {
  const double* e = m->m;
  const Vector3d q{p->x * e[0] + p->y * e[4] + p->z * e[8] + e[12],
                   p->x * e[1] + p->y * e[5] + p->z * e[9] + e[13],
                   p->x * e[2] + p->y * e[6] + p->z * e[10] + e[14]};
  *out = q;
}

void MatrixFromNormal(Vector3d* normal, Matrix4d* m) {
  SetIdentity4x4(m);
  Vector3d v, u;
  AxesFromNormal(normal, &v, &u);
  MatrixFromAxes(m, &v, &u, normal);
}

void AxesFromNormal(Vector3d* normal, Vector3d* v, Vector3d* u) {
  *normal = geom::UnitOf(*normal);
  const double components[3] = {normal->x, normal->y, normal->z};
  int k = 0;
  double smallest = 2.0;
  for (int i = 0; i < 3; ++i) {
    if (std::fabs(components[i]) < smallest) {
      smallest = std::fabs(components[i]);
      k = i;
    }
  }
  const Vector3d e{k == 0 ? 1.0 : 0.0, k == 1 ? 1.0 : 0.0, k == 2 ? 1.0 : 0.0};
  VectorCross(&e, normal, u);
  *u = geom::UnitOf(*u);
  VectorCross(normal, u, v);
}

void TransposeMatrix4x4(Matrix4d* m) {
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) std::swap(m->at(i, j), m->at(j, i));
}

void FrameMatrices(const Vector3d* x, const Vector3d* y, const Vector3d* z, const Vector3d* o, Matrix4d* toFrame,
                   Matrix4d* fromFrame) {
  Matrix4d toOrigin, fromOrigin, asColumns, asRows;
  SetIdentity4x4(&toOrigin);
  SetIdentity4x4(&fromOrigin);
  SetIdentity4x4(&asRows);
  toOrigin.at(3, 0) = -o->x;
  toOrigin.at(3, 1) = -o->y;
  toOrigin.at(3, 2) = -o->z;
  fromOrigin.at(3, 0) = o->x;
  fromOrigin.at(3, 1) = o->y;
  fromOrigin.at(3, 2) = o->z;
  MatrixFromAxes(&asRows, x, y, z);
  asColumns = asRows;
  TransposeMatrix4x4(&asColumns);
  MatrixMultiply(&toOrigin, &asColumns, MatrixShape{}, MatrixShape{}, toFrame);
  MatrixMultiply(&asRows, &fromOrigin, MatrixShape{}, MatrixShape{}, fromFrame);
}
