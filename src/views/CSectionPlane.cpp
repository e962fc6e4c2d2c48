#include "CSectionPlane.h"

#include "DrawingPlane.h"
#include "VLDepthBuffer.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

// A point given by roles: a into gAxisX, b into gAxisY, c into gAxisZ.
Vector3d ByRole(double a, double b, double c) {
  Vector3d p;
  VectorComponent(p, AxisRole(gAxisX)) = a;
  VectorComponent(p, AxisRole(gAxisY)) = b;
  VectorComponent(p, AxisRole(gAxisZ)) = c;
  return p;
}

bool SortedView() { return gShadedMode || gHiddenLineMode; }

}  // namespace

void CSectionPlane::InitPlane(SInt16, SInt16, SInt16, SInt16) {
  COrientationDefiner::InitPlane(6, 6, 3, 6);
  BuildGeometry({ByRole(0, -15, 4), ByRole(0, 15, 4), ByRole(15, 0, 4), ByRole(-15, 0, 4), ByRole(0, 0, -11),
                 ByRole(0, 0, 19)},
                {{0, 1}, {2, 3}, {4, 5}},
                {{0, 2, 1, 3}, {0, 3, 1, 2}, {0, 5, 1, 4}, {0, 4, 1, 5}, {5, 3, 4, 2}, {5, 2, 4, 3}});
  cutting = 0;
}

void CSectionPlane::Show(Boolean flag) {
  COrientationDefiner::Show(flag);
  if (flag) cutting = 1;
}

void CSectionPlane::GetCentre(Vector3d* out) {
  SetArrayPointers();
  if (vertexCount < 6) return;
  *out = {(vertices[2].x + vertices[3].x) / 2, (vertices[0].y + vertices[1].y) / 2,
          (vertices[4].z + vertices[5].z) / 2};
}

Boolean CSectionPlane::IsVisible() { return SortedView() ? cutting : shown; }

void CSectionPlane::Draw(VLViewTransform* view, Rect* updateRect) {
  if (!shown && !(SortedView() && cutting)) return;
  COrientationDefiner::Draw(view, updateRect);
}

void CSectionPlane::DrawSelected(VLViewTransform* view) {
  if (shown && !SortedView()) COrientationDefiner::DrawSelected(view);
}

void CSectionPlane::DrawHidden(VLViewTransform* view) {
  gCullBackFaces = 1;
  const Vector3d direction = view->planeNormal;
  SetArrayPointers();
  SInt16 chosen = -1;
  double best = -1.0;
  for (SInt16 f = 0; f < faceCount; ++f) {
    const Vector3d n{faces[f].a, faces[f].b, faces[f].c};
    const double along = VectorDot(&n, &direction);
    if (along > best) {
      best = along;
      chosen = f;
    }
  }
  for (SInt16 f = 0; f < faceCount; ++f) faces[f].degenerate = f == chosen ? 0 : 1;
  COrientationDefiner::DrawHidden(view);
  gCullBackFaces = 0;
}

void CSectionPlane::ClipViewPolygons(double, SInt16 face, const Vector3d* normal) {
  COrientationDefiner::ClipViewPolygons(kShadeSectionRecord, face, normal);
}
