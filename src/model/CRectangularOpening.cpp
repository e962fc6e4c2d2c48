#include "CRectangularOpening.h"

#include <new>

Boolean CRectangularOpening::ValidateOutline(Boolean front, const Vector3d* point) {
  SetArrayPointers();
  const SInt16 k = SideCount();
  if (k < 1) return false;
  const SInt16 first = front ? 0 : k;
  for (SInt16 i = 0; i < k; ++i) {
    const Vector3d& v = vertices[first + i];
    const Vector3d& w = vertices[first + (i + 1) % k];
    Vector3d toPoint, side;
    VectorSubtract(point, &v, &toPoint);
    VectorSubtract(&w, &v, &side);
    if (VectorDot(&toPoint, &side) < 0.0) return false;
  }
  return true;
}

void CRectangularOpening::CalcFacePlanes() {
  VLOpening::CalcFacePlanes();
  SetArrayPointers();
  // Opposite reveals face each other: the side faces' normals point into the hole. Faces
  // without area have no side yet.
  if (faceCount > 2 && !faces[0].degenerate && !faces[2].degenerate && !FacePlaneInFront(0, 2, false)) {
    for (SInt16 f = 0; f < faceCount; ++f) ReverseFace(f);
    VLOpening::CalcFacePlanes();
  }
  if (frontOutline.loopCount <= 0 || faceCount <= 0) return;
  // Each outline's plane, computed in the place of the first face.
  for (FaceRecord* outline : {&frontOutline, &backOutline}) {
    SetArrayPointers();
    const FaceRecord first = faces[0];
    faces[0] = *outline;
    double a = outline->a, b = outline->b, c = outline->c, d = outline->d;
    CalcFacePlane(0, &a, &b, &c, &d);
    SetArrayPointers();
    faces[0] = first;
    outline->a = a;
    outline->b = b;
    outline->c = c;
    outline->d = d;
  }
}

VLUser3DObject* CRectangularOpening::MakeCopy(VLUser3DObject* target) {
  if (!target) {
    target = new (std::nothrow) CRectangularOpening;
    if (!target) return nullptr;
  }
  return VLOpening::MakeCopy(target);
}
