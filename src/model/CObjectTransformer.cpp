#include "CObjectTransformer.h"

#include <cmath>
#include <new>

#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "Memory.h"

namespace {

constexpr double kUnrotatedTolerance = 1e-5;

const Matrix4d* MatrixIn(Handle block) { return block ? reinterpret_cast<const Matrix4d*>(*block) : nullptr; }

void FreeAndClear(Handle* block) {
  PortFreeHandle(*block);
  *block = nullptr;
}

// A copy of a matrix block; null when there is none or it cannot be copied.
Handle CopyOf(Handle block) {
  if (!block) return nullptr;
  Handle copy = block;
  PortDuplicateHandle(&copy);
  return copy == block ? nullptr : copy;
}

}  // namespace

CObjectTransformer::~CObjectTransformer() { ForgetMatrices(); }

CObjectTransformer* CObjectTransformer::Clone() const {
  CObjectTransformer* copy = new (std::nothrow) CObjectTransformer;
  if (!copy) return nullptr;
  copy->SetAxes(&xAxis_, &yAxis_, &zAxis_);
  copy->forwardMatrix_ = CopyOf(forwardMatrix_);
  copy->inverseMatrix_ = CopyOf(inverseMatrix_);
  return copy;
}

void CObjectTransformer::Dispose() {
  ForgetMatrices();
  CCollaborator::Dispose();
}

void CObjectTransformer::SetAxes(const Vector3d* x, const Vector3d* y, const Vector3d* z) {
  xAxis_ = *x;
  yAxis_ = *y;
  zAxis_ = *z;
  forwardMatrix_ = nullptr;
  inverseMatrix_ = nullptr;
}

CObjectTransformer* CObjectTransformer::ReplaceCopy(CObjectTransformer* old) {
  if (old) old->Dispose();
  return Clone();
}

void CObjectTransformer::GetAxes(Vector3d* x, Vector3d* y, Vector3d* z) const {
  *x = xAxis_;
  *y = yAxis_;
  *z = zAxis_;
}

void CObjectTransformer::GetMatrix(Matrix4d* out, Boolean inverse) const {
  const Matrix4d* m = MatrixIn(inverse ? inverseMatrix_ : forwardMatrix_);
  if (m) *out = *m;
}

void CObjectTransformer::RotateVector(const Vector3d* v, Vector3d* out) const {
  const Matrix4d* m = MatrixIn(forwardMatrix_);
  if (!m) return;
  const Vector3d turned{v->x * m->at(0, 0) + v->y * m->at(1, 0) + v->z * m->at(2, 0),
                        v->x * m->at(0, 1) + v->y * m->at(1, 1) + v->z * m->at(2, 1),
                        v->x * m->at(0, 2) + v->y * m->at(1, 2) + v->z * m->at(2, 2)};
  *out = turned;
}

void CObjectTransformer::ToLocal(const Vector3d* p, Vector3d* out) const {
  if (const Matrix4d* m = MatrixIn(forwardMatrix_)) TransformPoint4x4(p, m, out);
}

void CObjectTransformer::ToWorld(const Vector3d* p, Vector3d* out) const {
  if (const Matrix4d* m = MatrixIn(inverseMatrix_)) TransformPoint4x4(p, m, out);
}

void CObjectTransformer::UpdateMatrices(const Vector3d* origin) {
  FreeAndClear(&forwardMatrix_);
  Handle forward = PortAllocHandle(Size(sizeof(Matrix4d)));
  if (!forward) return;
  FreeAndClear(&inverseMatrix_);
  Handle inverse = PortAllocHandle(Size(sizeof(Matrix4d)));
  if (!inverse) {
    PortFreeHandle(forward);
    return;
  }
  // FrameMatrices allocates nothing, so the blocks stay put while it writes.
  FrameMatrices(&xAxis_, &yAxis_, &zAxis_, origin, reinterpret_cast<Matrix4d*>(*forward),
                reinterpret_cast<Matrix4d*>(*inverse));
  forwardMatrix_ = forward;
  inverseMatrix_ = inverse;
}

void CObjectTransformer::ForgetMatrices() {
  FreeAndClear(&forwardMatrix_);
  FreeAndClear(&inverseMatrix_);
}

void CObjectTransformer::RotateAxes(double angle, const Vector3d* centre) {
  Vector3d* axes[3] = {&xAxis_, &yAxis_, &zAxis_};
  Vector3d centreInPlane;
  WorldToDrawingPlane(centre, &centreInPlane);
  const double r = angle * kDegreesToRadians;
  const double c = std::cos(r), s = std::sin(r);
  for (Vector3d* axis : axes) {
    Vector3d end;
    VectorAdd(centre, axis, &end);
    WorldToDrawingPlane(&end, &end);
    TurnInDrawingPlane(&end, &centreInPlane, c, s);
    DrawingPlaneToWorld(&end, &end);
    VectorSubtract(&end, centre, axis);
  }
}

void CObjectTransformer::MirrorAxes(const Vector3d* n, double d, Vector3d* reference, double shift, SInt16 k) {
  const double nn = VectorDot(n, n);
  const double nk = VectorComponent(*n, k);
  // The signed plane value, so that a point on either side of the plane lands on its mirror
  // image (an unsigned distance would throw points below the plane further down).
  auto mirror = [&](Vector3d* p) {
    const double side = nn > 0.0 ? PlaneEvaluate(p, n, d) / nn : 0.0;
    VectorComponent(*p, k) += -2.0 * side * nk - nk * shift;
  };
  Vector3d* axes[3] = {&xAxis_, &yAxis_, &zAxis_};
  Vector3d ends[3];
  for (int i = 0; i < 3; ++i) {
    VectorAdd(reference, axes[i], &ends[i]);
    mirror(&ends[i]);
  }
  mirror(reference);
  for (int i = 0; i < 3; ++i) VectorSubtract(&ends[i], reference, axes[i]);
}

Boolean CObjectTransformer::IsUnrotated() const {
  return std::fabs(xAxis_.x - 1.0) <= kUnrotatedTolerance && std::fabs(yAxis_.y - 1.0) <= kUnrotatedTolerance &&
         std::fabs(zAxis_.z - 1.0) <= kUnrotatedTolerance;
}
