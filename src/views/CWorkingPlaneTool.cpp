#include "CWorkingPlaneTool.h"

#include <cmath>

#include "DrawingPlane.h"
#include "Selection.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr double kAxisLength = 15.0;
constexpr double kInitialTurn = 45.0;
constexpr double kNearOrigin = 0.01;

Vector3d UnitAxis(const Vector3d& end, const Vector3d& origin) {
  Vector3d axis;
  VectorSubtract(&end, &origin, &axis);
  VectorDivide(&axis, VectorLength(&axis), &axis);
  return axis;
}

}  // namespace

void InstallWorkingPlaneConversions() {
  SetWorkingPlaneConversions(
      [](CWorkingPlaneTool* plane, const Vector3d* in, Vector3d* out) { plane->WorldToPlane(in, out); },
      [](CWorkingPlaneTool* plane, const Vector3d* in, Vector3d* out) { plane->PlaneToWorld(in, out); });
}

void CWorkingPlaneTool::InitPlane(SInt16, SInt16, SInt16, SInt16) {
  COrientationDefiner::InitPlane(4, 4, 3, 6);
  BuildGeometry({{0, 0, 0}, {0, kAxisLength, 0}, {kAxisLength, 0, 0}, {0, 0, kAxisLength}},
                {{0, 1}, {0, 2}, {0, 3}}, {{0, 1, 2}, {0, 2, 1}, {0, 1, 3}, {0, 3, 1}, {0, 2, 3}, {0, 3, 2}});
  const Vector3d origin{};
  Rotate(kInitialTurn, &origin);
  SetIdentity4x4(&worldToPlane);
  SetIdentity4x4(&planeToWorld);
  active = 0;
}

void CWorkingPlaneTool::WriteInitialFrame() {
  SetArrayPointers();
  if (vertexCount < 4) return;
  vertices[0] = {0, 0, 0};
  vertices[1] = {0, kAxisLength, 0};
  vertices[2] = {kAxisLength, 0, 0};
  vertices[3] = {0, 0, kAxisLength};
}

void CWorkingPlaneTool::ResetFrame() {
  WriteInitialFrame();
  const Vector3d origin{};
  Rotate(kInitialTurn, &origin);
}

void CWorkingPlaneTool::GetPlaneEquation(double* equation) {
  SetArrayPointers();
  if (faceCount < 1) return;
  equation[0] = faces[0].a;
  equation[1] = faces[0].b;
  equation[2] = faces[0].c;
  equation[3] = faces[0].d;
}

void CWorkingPlaneTool::ComputeMatrices() {
  SetArrayPointers();
  if (vertexCount < 4) return;
  const Vector3d o = vertices[0];
  const Vector3d u = UnitAxis(vertices[2], o), v = UnitAxis(vertices[1], o), w = UnitAxis(vertices[3], o);
  Matrix4d t1, t2, r1, r2;
  SetIdentity4x4(&t1);
  SetIdentity4x4(&t2);
  SetIdentity4x4(&r1);
  SetIdentity4x4(&r2);
  t1.at(3, 0) = -o.x, t1.at(3, 1) = -o.y, t1.at(3, 2) = -o.z;
  t2.at(3, 0) = o.x, t2.at(3, 1) = o.y, t2.at(3, 2) = o.z;
  const Vector3d axes[3] = {u, v, w};
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < 3; ++i) {
      r1.at(i, k) = VectorComponent(axes[k], i);  // the axes as columns
      r2.at(k, i) = VectorComponent(axes[k], i);  // and as rows
    }
  MatrixMultiply(&t1, &r1, MatrixShape{}, MatrixShape{}, &worldToPlane);
  MatrixMultiply(&r2, &t2, MatrixShape{}, MatrixShape{}, &planeToWorld);
  active = 1;
}

void CWorkingPlaneTool::WorldToPlane(const Vector3d* world, Vector3d* out) const {
  TransformPoint4x4(world, &worldToPlane, out);
}

void CWorkingPlaneTool::PlaneToWorld(const Vector3d* plane, Vector3d* out) const {
  TransformPoint4x4(plane, &planeToWorld, out);
}

void CWorkingPlaneTool::Deactivate() {
  active = 0;
  if (selected) Deselect();
}

void CWorkingPlaneTool::Draw(VLViewTransform* view, Rect* updateRect) {
  if (!shown || gShadedMode || gHiddenLineMode) return;
  COrientationDefiner::Draw(view, updateRect);
}

void CWorkingPlaneTool::FarthestVertex(const Vector3d* point, Vector3d* out) {
  SetArrayPointers();
  if (vertexCount < 2) return;
  const Vector3d& o = vertices[0];
  const bool atOrigin = std::fabs(point->x - o.x) < kNearOrigin && std::fabs(point->y - o.y) < kNearOrigin &&
                        std::fabs(point->z - o.z) < kNearOrigin;
  *out = atOrigin ? vertices[1] : o;
}
