#include "PointLoop.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "GeometryInternal.h"
#include "Matrix4d.h"
#include "Memory.h"
#include "DETException.h"

Ptr gPointWorkBuffer = nullptr;

namespace {

constexpr Size kPointSize = Size(sizeof(Vector3d));

using geom::LoopPoints;
using geom::Minus;

[[noreturn]] void ThrowMemoryError() {
  const OSErr err = PortMemError();
  throw DETException(kDEErrorNotEnoughMemory, err != noErr ? err : OSErr(memFullErr));
}

// The count of a loop the edits are about to copy; the block must hold that many points.
int CheckedCount(Handle loop, SInt16 count) {
  if (count < 0 || (count > 0 && PortHandleSize(loop) < count * kPointSize))
    throw DETException(kDEErrorAssertionViolated, OSErr(paramErr));
  return count;
}

Handle NewLoopBlock(int count) {
  Handle h = PortAllocHandle(count * kPointSize);
  if (!h) ThrowMemoryError();
  return h;
}

Vector3d* PointsOf(Handle h) { return reinterpret_cast<Vector3d*>(*h); }

}  // namespace

namespace geom {

LoopPoints ReadLoop(Handle loop, SInt16 count) {
  if (!loop || count <= 0) return {};
  const Size held = PortHandleSize(loop) / kPointSize;
  if (held <= 0) return {};
  return {reinterpret_cast<const Vector3d*>(*loop), int(count < held ? count : held)};
}

bool ZeroEdge(const Vector3d& a, const Vector3d& b) { return PointsEqualWithin(&a, &b, kGeomCoincidence); }

bool PointOnEdge(const Vector3d& point, const Vector3d& a, const Vector3d& b) {
  const Vector3d dir = UnitOf(Minus(b, a));
  return PointOnRay(&point, &a, &dir) && PointInsideSegment(&point, &a, &b);
}

bool PointInLoop(const Vector3d& point, LoopPoints loop) {
  const int n = loop.n;
  if (n == 0 || !IsFinite(point)) return false;
  for (int i = 0; i < n; ++i)
    if (PointsEqualWithin(&point, &loop[i], kGeomCoincidence)) return false;
  for (int i = 0; i < n; ++i) {
    const Vector3d& a = loop[i];
    const Vector3d& b = loop[(i + 1) % n];
    if (!ZeroEdge(a, b) && PointOnEdge(point, a, b)) return false;
  }
  // A ray toward the middle of some edge that passes through no loop point.
  Vector3d ray;
  bool haveRay = false;
  for (int i = 0; i < n && !haveRay; ++i) {
    const Vector3d& a = loop[i];
    const Vector3d& b = loop[(i + 1) % n];
    const Vector3d middle{(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5};
    ray = UnitOf(Minus(middle, point));
    haveRay = true;
    for (int j = 0; j < n && haveRay; ++j)
      if (PointOnRay(&loop[j], &point, &ray)) haveRay = false;
  }
  if (!haveRay) return false;
  int crossings = 0;
  for (int i = 0; i < n; ++i) {
    const Vector3d& a = loop[i];
    const Vector3d& b = loop[(i + 1) % n];
    if (ZeroEdge(a, b)) continue;
    const Vector3d edge = UnitOf(Minus(b, a));
    // The nearest point is written for skew lines too; the ray test below rejects it.
    Vector3d x{std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0};
    IntersectLines3D(&a, &edge, &point, &ray, &x);
    if (IsFinite(x) && PointOnRay(&x, &point, &ray) && PointInsideSegment(&x, &a, &b)) ++crossings;
  }
  return crossings % 2 == 1;
}

Vector3d LoopNormal(LoopPoints loop) {
  const int n = loop.n;
  if (n < 3) return {};
  for (int i = 0; i < n; ++i)
    if (!IsFinite(loop[i])) return {};
  const Vector3d* p = loop.p;
  const int s = PointsEqualWithin(&p[0], &p[n - 1], kGeomRepeatedPoint) ? 1 : 0;
  int t = PointsEqualWithin(&p[(s + 1) % n], &p[s], kGeomRepeatedPoint) ? s + 2 : s + 1;
  t %= n;
  // Walk to the first corner that is not collinear. Points that coincide with their
  // predecessor (zero-length edges) form no corner of their own: a corner is taken at the first
  // point of such a run, with the first point after the run as its next. When every corner is
  // collinear within the tolerance (a finely faceted curve, a thin sliver), the corner that
  // turns the most still gives the plane, unless even that one is straight but for rounding.
  constexpr double kStraightButForRounding = 1e-12;  // sine of the turn
  int previous = n - 1, middle = s, next = t;
  Vector3d best{};
  double bestSine = kStraightButForRounding;
  for (;;) {
    if (!ZeroEdge(p[previous], p[middle])) {
      int after = next;
      while (after != middle && ZeroEdge(p[middle], p[after])) after = (after + 1) % n;
      if (after == middle) break;  // every other point coincides with this one
      const Vector3d in = Minus(p[middle], p[previous]), out = Minus(p[middle], p[after]);
      const Vector3d cross = Cross(in, out);
      if (!PointsCollinear(p, SInt16(previous), SInt16(middle), SInt16(after))) {
        best = cross;
        break;
      }
      const double sine = VectorLength(&cross) / (VectorLength(&in) * VectorLength(&out));
      if (sine > bestSine) {
        bestSine = sine;
        best = cross;
      }
    }
    if (next == 0) break;
    previous = middle;
    middle = next;
    next = (next + 1) % n;
  }
  Vector3d normal = UnitOf(best);
  if (IsZero(normal)) return {};

  // Orientation: in the frame of the normal, the loop's extreme point in the second frame
  // coordinate is a convex corner; the turn there tells the winding. Only that point and its
  // neighbours are needed, so no transformed copy of the loop is kept.
  Vector3d axis = normal;
  Matrix4d frame;
  MatrixFromNormal(&axis, &frame);
  auto toFrame = [&frame](const Vector3d& q) {
    Vector3d r;
    TransformPoint3x4(&frame, &q, &r);
    return r;
  };
  int k = 0;
  double highest = toFrame(p[0]).y;
  for (int i = 1; i < n; ++i) {
    const double y = toFrame(p[i]).y;
    if (y > highest) {
      highest = y;
      k = i;
    }
  }
  // Neighbours that coincide with the extreme point (a repeated point) would give no turn.
  int before = (k + n - 1) % n;
  while (before != k && ZeroEdge(p[before], p[k])) before = (before + n - 1) % n;
  int after = (k + 1) % n;
  while (after != k && ZeroEdge(p[after], p[k])) after = (after + 1) % n;
  const Vector3d fk = toFrame(p[k]);
  const Vector3d a = Minus(toFrame(p[before]), fk);
  const Vector3d b = Minus(toFrame(p[after]), fk);
  if (a.x * b.y - a.y * b.x > 0.0) VectorNegate(&normal);
  return normal;
}

}  // namespace geom

bool PointInPolygon(const Vector3d* point, Handle loop, SInt16 count) {
  return geom::PointInLoop(*point, geom::ReadLoop(loop, count));
}

void PolygonNormal(Handle loop, SInt16 count, Vector3d* normal) { *normal = geom::LoopNormal(geom::ReadLoop(loop, count)); }

bool AlignPointLoops(Handle loopA, SInt16 countA, Handle* loopB, SInt16 countB) {
  if (countB < 0) return false;
  const Vector3d target = geom::LoopNormal(geom::ReadLoop(loopA, countA));
  if (geom::IsZero(target)) return false;
  int rotations = 0;
  bool reversed = false;
  for (;;) {
    const Vector3d normal = geom::LoopNormal(geom::ReadLoop(*loopB, countB));
    if (PointsEqualWithin(&normal, &target, kGeomCoincidence)) return true;
    ReversePointLoop(loopB, countB);
    if (!reversed) {
      reversed = true;
      continue;
    }
    reversed = false;
    RotatePointLoop(loopB, countB);
    if (++rotations > countB) return false;
  }
}

void SplitPolygonByPlane(const Vector3d* n, double d, const Vector3d* points, SInt16 count, Handle* result,
                         SInt16* resultCount) {
  *resultCount = 0;
  *result = nullptr;
  if (count <= 0 || !points) return;
  // One pass counts what the clip emits, a second fills a block of exactly that size.
  auto clip = [&](auto&& emit) {
    int onPlane = 0;
    const Vector3d* previous = &points[count - 1];
    double sp = PlaneEvaluate(previous, n, d);
    for (int i = 0; i < count; ++i) {
      const Vector3d* current = &points[i];
      const double sc = PlaneEvaluate(current, n, d);
      if (sc == 0.0) ++onPlane;
      if (sc >= 0.0 && sp < 0.0) {
        Vector3d x;
        IntersectSegmentPlane(previous, current, n, d, &x);
        emit(x);
        emit(*current);
      } else if (sc >= 0.0 && sp >= 0.0) {
        emit(*current);
      } else if (sc < 0.0 && sp >= 0.0) {
        Vector3d x;
        IntersectSegmentPlane(previous, current, n, d, &x);
        emit(x);
      }
      previous = current;
      sp = sc;
    }
    return onPlane;
  };
  long total = 0;
  const int onPlane = clip([&total](const Vector3d&) { ++total; });
  if (onPlane == count || total == 0) return;
  if (total > kMaxLoopPoints) throw DETException(kDEErrorNotEnoughMemory, OSErr(memFullErr));
  Handle block = NewLoopBlock(int(total));
  Vector3d* out = PointsOf(block);
  clip([&out](const Vector3d& q) { *out++ = q; });
  *result = block;
  *resultCount = SInt16(total);
}

void AppendPointToLoop(const Vector3d* point, SInt16* count, Handle* loop) {
  const int n = CheckedCount(*loop, *count);
  if (n >= kMaxLoopPoints) throw DETException(kDEErrorNotEnoughMemory, OSErr(memFullErr));
  const Vector3d added = *point;  // the point may lie in the block released below
  Handle grown = NewLoopBlock(n + 1);
  if (n > 0) {
    std::memcpy(*grown, **loop, std::size_t(n * kPointSize));
    PortFreeHandle(*loop);
  }
  *loop = grown;
  *count = SInt16(n + 1);
  PointsOf(grown)[n] = added;
}

void ReversePointLoop(Handle* loop, SInt16 count) {
  const int n = CheckedCount(*loop, count);
  Handle fresh = NewLoopBlock(n);
  const Vector3d* from = n > 0 ? PointsOf(*loop) : nullptr;
  Vector3d* to = PointsOf(fresh);
  for (int i = 0; i < n; ++i) to[i] = from[n - 1 - i];
  PortFreeHandle(*loop);
  *loop = fresh;
}

void RotatePointLoop(Handle* loop, SInt16 count) {
  const int n = CheckedCount(*loop, count);
  Handle fresh = NewLoopBlock(n);
  const Vector3d* from = n > 0 ? PointsOf(*loop) : nullptr;
  Vector3d* to = PointsOf(fresh);
  for (int i = 0; i < n; ++i) to[i] = from[(i + 1) % n];
  PortFreeHandle(*loop);
  *loop = fresh;
}

namespace {
BusyCursorHook gBusyCursor = nullptr;
}  // namespace

void SetBusyCursorHook(BusyCursorHook hook) { gBusyCursor = hook; }

Handle RunWithBusyCursor(Size byteSize) {
  const Boolean wasBusy = gBusyCursor ? gBusyCursor(true) : false;
  Handle block = PortAllocHandleAlt(byteSize);
  if (gBusyCursor) gBusyCursor(wasBusy);
  return block;
}

Vector3d* ReservePointWorkBuffer(long count) {
  if (count < 0 || count > kMaxBlockSize / kPointSize) return nullptr;
  const Size needed = count * kPointSize;
  if (!gPointWorkBuffer || PortBlockSize(gPointWorkBuffer) < needed) {
    Ptr larger = PortAllocBlock(needed > kPointWorkBufferSize ? needed : kPointWorkBufferSize);
    if (!larger) return nullptr;
    if (gPointWorkBuffer) PortFreeBlock(gPointWorkBuffer);
    gPointWorkBuffer = larger;
  }
  return reinterpret_cast<Vector3d*>(gPointWorkBuffer);
}
