#include "PolygonOverlap.h"

#include "GeometryInternal.h"
#include "GeometryKernel.h"

namespace {

using geom::LoopPoints;

constexpr double kProbeDistance = 0.0001;

bool IsLoopPoint(const Vector3d& point, LoopPoints loop) {
  for (int i = 0; i < loop.n; ++i)
    if (PointsEqualWithin(&point, &loop[i], kGeomCoincidence)) return true;
  return false;
}

bool OnLoopEdge(const Vector3d& point, LoopPoints loop) {
  for (int i = 0; i < loop.n; ++i) {
    const Vector3d& a = loop[i];
    const Vector3d& b = loop[(i + 1) % loop.n];
    if (!geom::ZeroEdge(a, b) && geom::PointOnEdge(point, a, b)) return true;
  }
  return false;
}

bool OnLoopBoundary(const Vector3d& point, LoopPoints loop) { return IsLoopPoint(point, loop) || OnLoopEdge(point, loop); }

// A point a short way from vertex i of `loop` along the edge toward `toward` lies inside `other`.
bool ProbeInside(LoopPoints loop, int i, int toward, LoopPoints other) {
  const Vector3d& from = loop[i];
  const Vector3d& to = loop[toward];
  if (geom::ZeroEdge(from, to)) return false;
  const Vector3d dir = geom::UnitOf(geom::Minus(to, from));
  const Vector3d probe{from.x + kProbeDistance * dir.x, from.y + kProbeDistance * dir.y,
                       from.z + kProbeDistance * dir.z};
  return geom::PointInLoop(probe, other);
}

bool ProbesInside(LoopPoints loop, int i, LoopPoints other) {
  const int n = loop.n;
  return ProbeInside(loop, i, (i + 1) % n, other) || ProbeInside(loop, i, (i + n - 1) % n, other);
}

// Stages 3 and 5: vertices of `loop` on the boundary of `other` probe along their edges into
// it. *allShared (when given) tells whether every vertex was a vertex of `other`.
bool TouchingVerticesProbe(LoopPoints loop, LoopPoints other, bool* allShared) {
  for (int i = 0; i < loop.n; ++i) {
    const Vector3d& v = loop[i];
    if (IsLoopPoint(v, other)) {
      if (ProbesInside(loop, i, other)) return true;
      continue;
    }
    if (allShared) *allShared = false;
    if (OnLoopEdge(v, other) && ProbesInside(loop, i, other)) return true;
  }
  return false;
}

// Every vertex and every edge middle of `loop` lies on the boundary of `other`.
bool TracesBoundaryOf(LoopPoints loop, LoopPoints other) {
  for (int i = 0; i < loop.n; ++i) {
    const Vector3d& a = loop[i];
    const Vector3d& b = loop[(i + 1) % loop.n];
    const Vector3d middle{(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5};
    if (!OnLoopBoundary(a, other) || !OnLoopBoundary(middle, other)) return false;
  }
  return true;
}

}  // namespace

bool IntersectPolygons(Handle loopA, SInt16 countA, Handle loopB, SInt16 countB) {
  const LoopPoints a = geom::ReadLoop(loopA, countA);
  const LoopPoints b = geom::ReadLoop(loopB, countB);
  // A loop without area shares none.
  if (geom::IsZero(geom::LoopNormal(a)) || geom::IsZero(geom::LoopNormal(b))) return false;

  // 1. Edges that cross inside both.
  for (int i = 0; i < a.n; ++i) {
    const Vector3d& a0 = a[i];
    const Vector3d& a1 = a[(i + 1) % a.n];
    if (geom::ZeroEdge(a0, a1)) continue;
    for (int j = 0; j < b.n; ++j) {
      const Vector3d& b0 = b[j];
      const Vector3d& b1 = b[(j + 1) % b.n];
      if (!geom::ZeroEdge(b0, b1) && SegmentsCross(&a0, &a1, &b0, &b1)) return true;
    }
  }
  // 2. A vertex strictly inside the other loop.
  for (int i = 0; i < a.n; ++i)
    if (geom::PointInLoop(a[i], b)) return true;
  for (int j = 0; j < b.n; ++j)
    if (geom::PointInLoop(b[j], a)) return true;
  // 3. Vertices of A on B's boundary probe into B.
  bool allShared = true;
  if (TouchingVerticesProbe(a, b, &allShared)) return true;
  // 4. The same points in another order or from another start.
  if (allShared && a.n == b.n) return true;
  // 5. Vertices of B on A's boundary probe into A.
  if (TouchingVerticesProbe(b, a, nullptr)) return true;
  // 6. The same outline drawn with other points (a point added inside an edge, the first point
  // repeated at the end): every probe above fell on the shared boundary.
  return TracesBoundaryOf(a, b) && TracesBoundaryOf(b, a);
}
