#include "DrawingPlane.h"

UInt8 gWorkingPlaneOn = 0;
CWorkingPlaneTool* gWorkingPlane = nullptr;
SInt16 gAxisX = 0;
SInt16 gAxisY = 1;
SInt16 gAxisZ = 2;

namespace {
PlanePointConversion gToPlane = nullptr;
PlanePointConversion gToWorld = nullptr;

void Convert(PlanePointConversion conversion, const Vector3d* in, Vector3d* out) {
  if (gWorkingPlaneOn && gWorkingPlane && conversion)
    conversion(gWorkingPlane, in, out);
  else
    *out = *in;
}
}  // namespace

void SetWorkingPlaneConversions(PlanePointConversion worldToPlane, PlanePointConversion planeToWorld) {
  gToPlane = worldToPlane;
  gToWorld = planeToWorld;
}

void WorldToDrawingPlane(const Vector3d* world, Vector3d* out) { Convert(gToPlane, world, out); }

void DrawingPlaneToWorld(const Vector3d* plane, Vector3d* out) { Convert(gToWorld, plane, out); }

SInt16 AxisRole(SInt16 axis) { return axis >= 0 && axis <= 2 ? axis : 0; }
