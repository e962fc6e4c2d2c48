#include "CCylinder.h"

#include <algorithm>
#include <cmath>

#include "CircleFaceting.h"
#include "DETException.h"
#include "DrawingPlane.h"

namespace {

constexpr double kDegrees = 0.0174532925;

}  // namespace

void CCylinder::InitCylinder(SInt16 n) {
  InitStorage();
  segmentCount = std::clamp(n, kMinCircleFaceting, kMaxCircleFaceting);
  if (!EnsureCapacity(segmentCount, segmentCount, 0)) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  faceCount = 0;
  vertexCount = screenPointCount = segmentCount;
  edgeCount = segmentCount;
  closed = 1;
}

Boolean CCylinder::BuildGeometry(VLViewTransform*, SInt16 continuing, const Vector3d* point, SInt16, VLViewPane*) {
  return TrackDraggedShape(continuing, point);
}

void CCylinder::LayOutShape(const Vector3d& a, const Vector3d& p) {
  const int H = AxisRole(gAxisX), V = AxisRole(gAxisY), D = AxisRole(gAxisZ);
  // The square from the anchor with the side of the smaller drag distance.
  const double dx = std::fabs(VectorComponent(p, H) - VectorComponent(a, H));
  const double dy = std::fabs(VectorComponent(p, V) - VectorComponent(a, V));
  Vector3d q = p;
  if (dx < dy)
    VectorComponent(q, V) = VectorComponent(p, V) < VectorComponent(a, V) ? VectorComponent(a, V) - dx : VectorComponent(a, V) + dx;
  else if (dx > dy)
    VectorComponent(q, H) = VectorComponent(p, H) < VectorComponent(a, H) ? VectorComponent(a, H) - dy : VectorComponent(a, H) + dy;
  Vector3d m;
  for (int k = 0; k < 3; ++k) VectorComponent(m, k) = VectorComponent(a, k) + (VectorComponent(q, k) - VectorComponent(a, k)) * 0.5;
  const double h = (VectorComponent(q, V) - VectorComponent(a, V)) * 0.5;
  const double s = (360.0 / segmentCount) * kDegrees, t = (180.0 / segmentCount) * kDegrees;
  double ph = VectorComponent(m, H) + h * std::tan(t), pv = VectorComponent(m, V) - h;
  const double c = std::cos(s), sn = std::sin(s);
  SetArrayPointers();
  for (SInt16 i = 0; i < segmentCount && i < vertexCount; ++i) {
    const double rh = ph - VectorComponent(m, H), rv = pv - VectorComponent(m, V);
    ph = VectorComponent(m, H) + rh * c - rv * sn;
    pv = VectorComponent(m, V) + rv * c + rh * sn;
    Vector3d v;
    VectorComponent(v, H) = ph;
    VectorComponent(v, V) = pv;
    VectorComponent(v, D) = VectorComponent(a, D);
    vertices[i] = v;
  }
}
