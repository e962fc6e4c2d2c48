// 4 x 4 double matrices: frames and point transforms.
#pragma once

#include "MacTypes.h"
#include "Vector3d.h"

// 16 doubles, row-major: element (row r, column c) is m[4 * r + c].
struct Matrix4d {
  double m[16] = {};
  double& at(int r, int c) { return m[4 * r + c]; }
  double at(int r, int c) const { return m[4 * r + c]; }
};

// Shape of a matrix operand of MatrixMultiply. Rows are stored four doubles apart whatever
// the column count, so both counts range over 0 to 4.
struct MatrixShape {
  SInt16 rows = 4;
  SInt16 cols = 4;
};

void SetIdentity4x4(Matrix4d* m);
// Rows 0, 1 and 2 (columns 0-2) become a, b and c; every other element is kept.
void MatrixFromAxes(Matrix4d* m, const Vector3d* a, const Vector3d* b, const Vector3d* c);
// The first three diagonal elements become sx, sy, sz; every other element is kept.
void SetScale4x4(Matrix4d* m, double sx, double sy, double sz);
// out = a . b. Nothing is written when a's column count differs from b's row count or a
// shape lies outside 0..4. out may be a or b.
void MatrixMultiply(const Matrix4d* a, const Matrix4d* b, MatrixShape shapeA, MatrixShape shapeB, Matrix4d* out);
// Rows 0-2 are the frame's axes, the translation stands in column 3. out may be p. Inline: it
// runs for every point of every face transformed into a frame.
inline void TransformPoint3x4(const Matrix4d* m, const Vector3d* p, Vector3d* out) {
  const double* e = m->m;
  const Vector3d q{e[0] * p->x + e[1] * p->y + e[2] * p->z + e[3], e[4] * p->x + e[5] * p->y + e[6] * p->z + e[7],
                   e[8] * p->x + e[9] * p->y + e[10] * p->z + e[11]};
  *out = q;
}
// The point is a row vector, the translation stands in row 3. out may be p.
void TransformPoint4x4(const Vector3d* p, const Matrix4d* m, Vector3d* out);
// A frame whose third row is the normal: normalises the normal in place (a zero or
// non-finite normal becomes the zero vector) and writes rows v, u, normal with
// u = unit(e x normal), v = normal x u, e the axis of the normal's smallest component.
void MatrixFromNormal(Vector3d* normal, Matrix4d* m);
// The same frame as its axes alone: normalises the normal in place and gives v and u.
void AxesFromNormal(Vector3d* normal, Vector3d* v, Vector3d* u);
// A point's coordinate along one axis of such a frame, exactly as TransformPoint3x4 gives it
// (the frame's translation is zero).
inline double FrameCoordinate(const Vector3d& axis, const Vector3d& p) {
  return axis.x * p.x + axis.y * p.y + axis.z * p.z + 0.0;
}
void TransposeMatrix4x4(Matrix4d* m);
// The two matrices of a frame with these axes and its origin at o, for points as rows:
// toFrame gives ((p - o) . x, (p - o) . y, (p - o) . z), the translation by -o times the axes as
// columns; fromFrame gives o + a x + b y + c z, the axes as rows times the translation by +o.
// They are inverse to each other only for orthonormal axes.
void FrameMatrices(const Vector3d* x, const Vector3d* y, const Vector3d* z, const Vector3d* o, Matrix4d* toFrame,
                   Matrix4d* fromFrame);
