#include "CRectangle.h"

#include "DrawingPlane.h"

void CRectangle::InitRectangle() {
  InitStorage();
  faceCount = 0;
  vertexCount = screenPointCount = 4;
  edgeCount = 4;
  closed = 1;
}

Boolean CRectangle::BuildGeometry(VLViewTransform*, SInt16 continuing, const Vector3d* point, SInt16, VLViewPane*) {
  return TrackDraggedShape(continuing, point);
}

void CRectangle::LayOutShape(const Vector3d& a, const Vector3d& c) {
  const int H = AxisRole(gAxisX), V = AxisRole(gAxisY);
  SetArrayPointers();
  if (vertexCount < 4) return;
  const auto corner = [&](const Vector3d& alongH, const Vector3d& alongV) {
    Vector3d v = a;
    VectorComponent(v, H) = VectorComponent(alongH, H);
    VectorComponent(v, V) = VectorComponent(alongV, V);
    return v;
  };
  vertices[0] = a;
  vertices[1] = corner(c, a);
  vertices[2] = corner(c, c);
  vertices[3] = corner(a, c);
}
