// The working-plane gauge: its store with the tick arrays, its layout and its drawing.
#include "CSpiderGrid.h"

#include <algorithm>
#include <cmath>

#include "DETException.h"
#include "DrawingPlane.h"
#include "Memory.h"
#include "QuickDraw.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr double kAxisPerSize = 0.25;
constexpr double kLongTick = -2.0;
constexpr double kShortTick = -0.6;
constexpr UInt16 kGaugeShade = 20000;

Size Aligned(Size offset) { return (offset + 7) & ~Size(7); }

// Offsets of the six tick arrays after the model object's arrays, and the whole size.
struct TickLayout {
  Size points, work, projected, segments, screen, flags, total;
};
TickLayout LayoutTicks(Size start, SInt16 pointCount, SInt16 segmentCount) {
  TickLayout t{};
  const Size points = Size(pointCount) * Size(sizeof(Vector3d));
  const Size segments = Size(segmentCount);
  t.points = Aligned(start);
  t.work = t.points + points;
  t.projected = t.work + points;
  t.segments = t.projected + points;
  t.screen = Aligned(t.segments + segments * Size(sizeof(EdgeRecord)));
  t.flags = t.screen + segments * Size(sizeof(EdgeSegment));
  t.total = t.flags + segments;
  return t;
}

SInt16 Trunc(double v) { return SInt16(std::trunc(std::clamp(v, -32768.0, 32767.0))); }

}  // namespace

void CSpiderGrid::SetArrayPointers() {
  VLObjectOwner::SetArrayPointers();
  if (!storage) {
    tickPoints = tickWorkPoints = tickProjectedPoints = nullptr;
    tickSegments = nullptr;
    tickScreenSegments = nullptr;
    tickFlags = nullptr;
    return;
  }
  const Size start = LayoutGeometryStore(vertexCapacity, screenPointCapacity, edgeCapacity, faceCapacity).total;
  const TickLayout t = LayoutTicks(start, tickPointCount, tickSegmentCount);
  char* base = *storage;
  tickPoints = reinterpret_cast<Vector3d*>(base + t.points);
  tickWorkPoints = reinterpret_cast<Vector3d*>(base + t.work);
  tickProjectedPoints = reinterpret_cast<Vector3d*>(base + t.projected);
  tickSegments = reinterpret_cast<EdgeRecord*>(base + t.segments);
  tickScreenSegments = reinterpret_cast<EdgeSegment*>(base + t.screen);
  tickFlags = reinterpret_cast<UInt8*>(base + t.flags);
}

void CSpiderGrid::ISpiderGrid(double period, double size, double unit, const Vector3d* point) {
  axisLength = size * kAxisPerSize;
  longTickPeriod = period;
  tickUnit = unit;
  // A tick per whole unit of the axis; a size that is not a number has none.
  const double wholeUnits = std::isfinite(axisLength) && axisLength >= 1 ? std::trunc(axisLength) : 0.0;
  if (wholeUnits > kMaxTicks) ThrowIfOSErr(paramErr, kDEErrorAssertionViolated);
  const SInt16 ticks = SInt16(wholeUnits);

  tickPointCount = tickSegmentCount = 0;
  AllocateStorage(6, 6, 3, 0);
  vertexCount = screenPointCount = 6;
  edgeCount = edgeSegmentCount = 3;
  faceCount = 0;
  ownedPartsShown = 1;
  hasOwnedParts = 1;

  const Size start = LayoutGeometryStore(vertexCapacity, screenPointCapacity, edgeCapacity, faceCapacity).total;
  const TickLayout t = LayoutTicks(start, SInt16(8 * ticks), SInt16(4 * ticks));
  PortResizeHandle(storage, t.total);
  ThrowIfMemError(kDEErrorNotEnoughMemory);
  tickPointCount = SInt16(8 * ticks);
  tickSegmentCount = SInt16(4 * ticks);
  BuildTickSegments();
  LayOut(point);
  changed = 1;
  drawColor = RGBColor{kGaugeShade, kGaugeShade, kGaugeShade};
}

void CSpiderGrid::BuildTickSegments() {
  SetArrayPointers();
  if (!storage) return;
  edges[0] = {0, 1};
  edges[1] = {2, 3};
  edges[2] = {4, 5};
  for (SInt16 j = 0; j < tickSegmentCount; ++j) tickSegments[j] = {SInt16(2 * j), SInt16(2 * j + 1)};
}

void CSpiderGrid::LayOut(const Vector3d* point) {
  SetArrayPointers();
  if (!storage || vertexCount < 6) return;
  Vector3d side;
  WorldToDrawingPlane(point, &side);
  const double L = axisLength;
  const auto signed_ = [L](double c) { return c >= 0 ? L : -L; };
  vertices[0] = vertices[2] = vertices[4] = Vector3d{};
  vertices[1] = {signed_(side.x), 0, 0};
  vertices[3] = {0, signed_(side.y), 0};
  vertices[5] = {0, 0, signed_(side.z)};
  const double period = std::isfinite(longTickPeriod) ? std::trunc(longTickPeriod) : 0.0;
  // A period below 1 has no long ticks.
  const SInt32 m = period >= 1 && period <= kMaxTicks ? SInt32(period) : 0;
  for (SInt16 k = 1; 8 * k <= tickPointCount; ++k) {
    const double t = (m > 0 && k % m == 0 ? kLongTick : kShortTick) * tickUnit;
    Vector3d* p = &tickPoints[8 * (k - 1)];
    p[0] = {double(k), 0, 0};
    p[1] = {double(k), t, 0};
    p[2] = {0, double(k), 0};
    p[3] = {t, double(k), 0};
    p[4] = {0, 0, double(k)};
    p[5] = {t, 0, double(k)};
    p[6] = {0, 0, double(k)};
    p[7] = {0, t, double(k)};
  }
}

Boolean CSpiderGrid::IsVisible() { return true; }

void CSpiderGrid::PointsToWorld(bool toWorld) {
  if (!gWorkingPlaneOn) return;
  SetArrayPointers();
  const auto convert = [toWorld](Vector3d* p) {
    if (toWorld)
      DrawingPlaneToWorld(p, p);
    else
      WorldToDrawingPlane(p, p);
  };
  for (SInt16 i = 0; i < vertexCount; ++i) convert(&vertices[i]);
  for (SInt16 i = 0; i < tickPointCount; ++i) convert(&tickPoints[i]);
}

void CSpiderGrid::ProjectTicks(VLViewTransform* view) {
  if (!gTrackingDrawing && clippedEdges) {
    SetArrayPointers();
    for (SInt16 j = 0; j < tickSegmentCount; ++j) {
      const EdgeRecord s = tickSegments[j];
      Vector3d a, b;
      UInt8 visible = 0, aSame = 0, bSame = 0;
      view->ProjectViewSegment(&tickWorkPoints[s.a], &tickWorkPoints[s.b], &a, &b, &visible, &aSame, &bSame);
      SetArrayPointers();
      tickFlags[j] = visible;
      if (visible) {
        tickProjectedPoints[s.a] = a;
        tickProjectedPoints[s.b] = b;
        tickScreenSegments[j] = EdgeSegment{Trunc(a.x), Trunc(a.y), Trunc(b.x), Trunc(b.y)};
      }
    }
  }
  DrawTicks();
}

void CSpiderGrid::DrawTicks() {
  if (!projectedVisible) return;
  SetArrayPointers();
  for (SInt16 j = 0; j < tickSegmentCount; ++j) {
    if (!clippedEdges) {
      const Vector3d& a = tickProjectedPoints[tickSegments[j].a];
      const Vector3d& b = tickProjectedPoints[tickSegments[j].b];
      PortPenMove(Trunc(a.x), Trunc(a.y));
      PortPenLine(Trunc(b.x), Trunc(b.y));
    } else if (tickFlags[j]) {
      const EdgeSegment& s = tickScreenSegments[j];
      PortPenMove(s.h1, s.v1);
      PortPenLine(s.h2, s.v2);
    }
  }
}

void CSpiderGrid::DrawCached(VLViewTransform* view, Rect* updateRect) {
  DrawCachedEdges(view, updateRect);
  DrawTicks();
  DrawMarkedEdges(updateRect);
}

void CSpiderGrid::Draw(VLViewTransform* view, Rect* updateRect) {
  if (!view) return;
  if (!changed && !gInteractiveDrawing && !gViewScrolled && gDirectDrawing) {
    DrawCached(view, updateRect);
    changed = 0;
    return;
  }
  PointsToWorld(true);
  DrawWithPlanOutline(view, updateRect);
  SetArrayPointers();
  if (!gViewScrolled) {
    projectedVisible = view->ProjectPolygon(tickPoints, tickPointCount, tickProjectedPoints, &clippedEdges,
                                            tickWorkPoints, gTrackingDrawing ? 0 : 1);
  } else if (projectedVisible) {
    view->ProjectPoints(tickPointCount, tickProjectedPoints, tickWorkPoints);
  }
  if (projectedVisible && gDirectDrawing) ProjectTicks(view);
  PointsToWorld(false);
  changed = 0;
}
