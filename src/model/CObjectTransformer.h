// An object's own frame: three axis vectors (world directions, not normalised here) and, once
// built at an origin, the pair of 4 x 4 matrices that take points into the frame and back.
//
// Points are rows: ToLocal(p) = ((p - o).x, (p - o).y, (p - o).z) and ToWorld(a, b, c) =
// o + a x + b y + c z. The two are inverse only for orthonormal axes, which is not checked.
// Turning or mirroring the axes leaves the matrices stale until the next UpdateMatrices.
//
// Construction clears both matrices; SetAxes gives the axes. The frame is released through
// Dispose, which frees both matrix blocks first.
#pragma once

#include "CCollaborator.h"
#include "MacTypes.h"
#include "Matrix4d.h"
#include "Vector3d.h"

class CObjectTransformer : public CCollaborator {
  VL_REGISTERED_CLASS(CObjectTransformer, CCollaborator)

 public:
  CObjectTransformer() = default;
  ~CObjectTransformer() override;

  // A new frame with these axes and its own copy of each matrix that exists; null when the
  // frame cannot be allocated. A matrix whose block cannot be copied is left out of the copy
  // (the copy then works as a frame whose matrices were never built).
  CObjectTransformer* Clone() const override;
  void Dispose() override;

  // Copies the axes and forgets both matrix handles without freeing them: for fresh frames.
  virtual void SetAxes(const Vector3d* x, const Vector3d* y, const Vector3d* z);
  // Disposes of old (null is ignored) and answers a copy of this frame, as Clone makes it.
  virtual CObjectTransformer* ReplaceCopy(CObjectTransformer* old);
  virtual void GetAxes(Vector3d* x, Vector3d* y, Vector3d* z) const;
  // Copies the inverse (frame to world) or the forward (world to frame) matrix; out is left
  // untouched when that matrix has not been built.
  virtual void GetMatrix(Matrix4d* out, Boolean inverse) const;
  // The vector through the forward matrix's upper-left 3 x 3 part (no translation); out is left
  // untouched without a forward matrix.
  virtual void RotateVector(const Vector3d* v, Vector3d* out) const;
  // A world point in frame coordinates; out (which may be p) is left untouched without a
  // forward matrix.
  virtual void ToLocal(const Vector3d* p, Vector3d* out) const;
  // A frame point in world coordinates; out is left untouched without an inverse matrix.
  virtual void ToWorld(const Vector3d* p, Vector3d* out) const;
  // Builds both matrices with the frame's origin at origin. When a block cannot be had the frame
  // is left without a forward matrix (and without either when the second block fails).
  virtual void UpdateMatrices(const Vector3d* origin);
  // Frees both matrix blocks.
  virtual void ForgetMatrices();
  // Turns the axes through the angle (degrees) in the plane of the gAxisX and gAxisY roles,
  // in working-plane coordinates while the working plane is on; the gAxisZ role stays. The
  // centre says nothing about the result: the axes are directions.
  virtual void RotateAxes(double angle, const Vector3d* centre);
  // Mirrors the three axis end points (reference + axis) and the reference point across the
  // plane n . p + d = 0 and moves them by -n[k] * shift; only component k changes. The caller
  // sees the new reference point; the axes become the mirrored end points minus it.
  virtual void MirrorAxes(const Vector3d* n, double d, Vector3d* reference, double shift, SInt16 k);
  // Each axis has its own component within 1e-5 of 1.0; the others are not looked at.
  virtual Boolean IsUnrotated() const;

  // Whether UpdateMatrices has built both matrices (they may be stale after a turn or mirror).
  bool HasMatrices() const { return forwardMatrix_ && inverseMatrix_; }

 private:
  Vector3d xAxis_;
  Vector3d yAxis_;
  Vector3d zAxis_;
  Handle forwardMatrix_ = nullptr;  // one Matrix4d, world to frame
  Handle inverseMatrix_ = nullptr;  // one Matrix4d, frame to world
};
