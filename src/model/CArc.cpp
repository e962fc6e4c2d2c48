#include "CArc.h"

#include <algorithm>
#include <cmath>

#include "CircleFaceting.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "ToolboxUtilities.h"

namespace {

constexpr double kQuarterTurn = 1.570796326794895;

}  // namespace

void CArc::InitArc(SInt16 n) {
  InitStorage();
  segmentCount = std::clamp(n, kMinCircleFaceting, kMaxCircleFaceting);
  const SInt16 count = SInt16(segmentCount + 2);
  if (!EnsureCapacity(count, count, 0)) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  faceCount = 0;
  closed = 1;
  vertexCount = screenPointCount = count;
  edgeCount = count;
}

Boolean CArc::BuildGeometry(VLViewTransform*, SInt16 continuing, const Vector3d* point, SInt16, VLViewPane*) {
  return TrackDraggedShape(continuing, point);
}

void CArc::LayOutShape(const Vector3d& c, const Vector3d& p) {
  const int H = AxisRole(gAxisX), V = AxisRole(gAxisY), D = AxisRole(gAxisZ);
  const double alongH = VectorComponent(p, H) - VectorComponent(c, H);
  const double alongV = VectorComponent(p, V) - VectorComponent(c, V);
  double dx = std::fabs(alongH), dy = std::fabs(alongV);
  if (IsShiftKeyDown()) dx = dy = std::min(dx, dy);
  Vector3d u, w;
  VectorComponent(u, H) = alongH > 0 ? 1.0 : alongH < 0 ? -1.0 : 0.0;
  VectorComponent(w, V) = alongV > 0 ? 1.0 : alongV < 0 ? -1.0 : 0.0;
  const double step = (1.0 / segmentCount) * kQuarterTurn;
  SetArrayPointers();
  for (SInt16 i = 0; i <= segmentCount && i < vertexCount; ++i) {
    const double a = i * step;
    Vector3d v = c;
    VectorComponent(v, H) += VectorComponent(u, H) * dx * std::cos(a);
    VectorComponent(v, V) += VectorComponent(w, V) * dy * std::sin(a);
    VectorComponent(v, D) = VectorComponent(c, D);
    vertices[i] = v;
  }
  if (segmentCount + 1 < vertexCount) vertices[segmentCount + 1] = c;
}
