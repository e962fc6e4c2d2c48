#include "DrawingPlane.h"

UInt8 gWorkingPlaneOn = 0;
CWorkingPlaneTool* gWorkingPlane = nullptr;
SInt16 gAxisX = 0;
SInt16 gAxisY = 1;
SInt16 gAxisZ = 2;
VLViewTransform* gCurrentViewTransform = nullptr;

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

void TurnInDrawingPlane(Vector3d* p, const Vector3d* centre, double c, double s) {
  Vector3d at = *centre;
  const double ca = VectorComponent(at, gAxisX), cb = VectorComponent(at, gAxisY);
  const double da = VectorComponent(*p, gAxisX) - ca, db = VectorComponent(*p, gAxisY) - cb;
  VectorComponent(*p, gAxisX) = ca + c * da - s * db;
  VectorComponent(*p, gAxisY) = cb + s * da + c * db;
}

bool DrawingPlaneAxes(Vector3d* x, Vector3d* y, Vector3d* z) {
  if (!gWorkingPlaneOn || !gWorkingPlane || !gToPlane) return false;
  // The conversion is affine: the images of the world's unit points, less the image of the
  // origin, are the matrix's first three rows; its columns are the plane's axes.
  const Vector3d world[4] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  Vector3d image[4];
  for (int i = 0; i < 4; ++i) gToPlane(gWorkingPlane, &world[i], &image[i]);
  Vector3d row[3];
  for (int i = 0; i < 3; ++i) VectorSubtract(&image[i + 1], &image[0], &row[i]);
  *x = Vector3d{row[0].x, row[1].x, row[2].x};
  *y = Vector3d{row[0].y, row[1].y, row[2].y};
  *z = Vector3d{row[0].z, row[1].z, row[2].z};
  return true;
}
