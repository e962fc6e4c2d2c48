// Projecting model geometry to pane points: points, segments and faces, with clipping against the
// normalised view volume and, in perspective, special care for what reaches behind the eye.
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "DETException.h"
#include "GeometryKernel.h"
#include "Memory.h"
#include "VLViewTransform.h"
#include "internal/ViewMath.h"

namespace {

using namespace vlviews;

constexpr SInt16 kMaxBlockPoints = 32767;
constexpr double kNoPlaneValue = -999.0;

// The two polygons the face clipper works between. They grow to the largest face clipped so far
// and stay, so that clipping does not allocate frame after frame.
struct ClipScratch {
  std::vector<Vector3d> from;
  std::vector<Vector3d> to;
};

ClipScratch& Scratch() {
  static ClipScratch scratch;
  return scratch;
}

void EnsureSize(std::vector<Vector3d>* points, std::size_t size) {
  if (points->size() < size) points->resize(size);
}

// One Liang-Barsky step: the part of the segment where den * t >= num.
bool ClipSegmentParameter(double den, double num, double* tEnter, double* tLeave) {
  if (den > 0.0) {
    const double t = num / den;
    if (t > *tLeave) return false;
    if (t > *tEnter) *tEnter = t;
  } else if (den < 0.0) {
    const double t = num / den;
    if (t < *tEnter) return false;
    if (t < *tLeave) *tLeave = t;
  } else if (num > 0.0) {
    return false;
  }
  return true;
}

bool FinitePane(const Vector3d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The points of a polygon block when it is one: its size holds the header and its count.
bool ReadPolygonBlock(Handle block, SInt16* count) {
  if (!block || !PortIsHandle(block)) return false;
  const Size size = PortHandleSize(block);
  if (size < kPolygonBlockPoints) return false;
  *count = PolygonBlockCount(block);
  return *count >= 0 && size >= kPolygonBlockPoints + Size(*count) * Size(sizeof(Vector3d));
}

void SetPolygonBlockCount(Handle block, SInt16 count) { *reinterpret_cast<SInt16*>(*block) = count; }

// Room for one more point. The block's lock state is kept across the resize, which may move it.
void GrowPolygonBlock(Handle block, SInt16 count) {
  if (count >= kMaxBlockPoints) throw DETException(kDEErrorNotEnoughMemory, memFullErr);
  const SInt8 state = PortGetHandleState(block);
  PortUnlockHandle(block);
  PortResizeHandle(block, kPolygonBlockPoints + Size(count + 1) * Size(sizeof(Vector3d)));
  const OSErr error = PortMemError();
  PortSetHandleState(block, state);
  ThrowIfOSErr(error, kDEErrorNotEnoughMemory);
}

}  // namespace

// ---- Points ----

void VLViewTransform::MapToPane(const Vector3d* p, Vector3d* out) const {
  const double w = paneWidth;
  const double h = paneHeight;
  Vector3d q;
  if (perspective) {
    q.x = (p->x + ox * p->z) * w / (kx * p->z);
    q.y = (p->y + oy * p->z) * h / (ky * p->z);
    q.z = -1.0 / p->z;
  } else {
    q.x = (p->x + ox) * w / kx;
    q.y = (p->y + oy) * h / ky;
    q.z = 1000.0 * p->z;
  }
  *out = q;
}

UInt16 VLViewTransform::ClipOutcode(const Vector3d* p, UInt8 sideTests) const {
  UInt16 code = 0;
  if (sideTests) {
    double xmin = -1.0, xmax = 1.0, ymin = -1.0, ymax = 1.0;
    if (!fullWindow) {
      xmin = (2 * x0 - 1) * p->z;
      xmax = (2 * x1 - 1) * p->z;
      ymin = (2 * y0 - 1) * p->z;
      ymax = (2 * y1 - 1) * p->z;
    } else if (perspective) {
      xmin = ymin = -p->z;
      xmax = ymax = p->z;
    }
    if (p->y > ymax)
      code |= kOutYHigh;
    else if (p->y < ymin)
      code |= kOutYLow;
    if (p->x > xmax)
      code |= kOutXHigh;
    else if (p->x < xmin)
      code |= kOutXLow;
    if (p->z > 1.0) code |= kOutFar;
  }
  if (p->z < hither) code |= kOutHither;
  return code;
}

Vector3d* VLViewTransform::ProjectPoint(const Vector3d* modelPoint, Vector3d* out) const {
  ++projectionCalls;
  Vector3d view;
  TransformPoint3x4(&viewMatrix, modelPoint, &view);
  MapToPane(&view, out);
  return out;
}

void VLViewTransform::ProjectPoints(SInt16 n, Vector3d* panePoints, const Vector3d* viewPoints) const {
  ++projectionCalls;
  for (int i = 0; i < n; ++i) MapToPane(&viewPoints[i], &panePoints[i]);
}

Boolean VLViewTransform::ProjectPolygon(const Vector3d* modelPoints, SInt16 n, Vector3d* panePoints,
                                        UInt8* anyBehindHither, Vector3d* viewPoints, UInt8 clip) const {
  ++projectionCalls;
  *anyBehindHither = 0;
  for (int i = 0; i < n; ++i) TransformPoint3x4(&viewMatrix, &modelPoints[i], &viewPoints[i]);
  if (clip && perspective) {
    if (n < 1) return false;
    UInt16 all = kOutAll;
    for (int i = 0; i < n; ++i) {
      const UInt16 code = ClipOutcode(&viewPoints[i], 1);
      all &= code;
      if (code & kOutHither) *anyBehindHither = 1;
    }
    if (all) return false;
    if (*anyBehindHither) return true;
  }
  ProjectPoints(n, panePoints, viewPoints);
  return true;
}

// ---- Clip planes ----

void VLViewTransform::GetClipPlane(SInt16 plane, ViewClipPlane* out) const {
  static const ViewClipPlane kWholeView[4] = {
      {{0.5, 0.0, 0.5}, 0.0}, {{-0.5, 0.0, 0.5}, 0.0}, {{0.0, 0.5, 0.5}, 0.0}, {{0.0, -0.5, 0.5}, 0.0}};
  switch (plane) {
    case kClipLeft:
    case kClipRight:
    case kClipBottom:
    case kClipTop:
      *out = fullWindow ? kWholeView[plane] : subWindowPlanes[plane];
      return;
    case kClipHither:
      *out = {{0.0, 0.0, 1.0}, -hither};
      return;
    case kClipFar:
      *out = {{0.0, 0.0, -1.0}, 1.0};
      return;
    default:
      *out = {{kNoPlaneValue, kNoPlaneValue, kNoPlaneValue}, kNoPlaneValue};
  }
}

bool VLViewTransform::InsidePlane(const Vector3d* p, SInt16 plane) const {
  ViewClipPlane clip;
  GetClipPlane(plane, &clip);
  return Dot(clip.normal, *p) + clip.offset >= 0.0;
}

void VLViewTransform::IntersectClipPlane(const Vector3d* a, const Vector3d* b, SInt16 plane, Vector3d* out) const {
  ViewClipPlane clip;
  GetClipPlane(plane, &clip);
  const Vector3d d = Minus(*b, *a);
  const double den = Dot(clip.normal, d);
  const double t = den != 0.0 ? -(Dot(clip.normal, *a) + clip.offset) / den : kNoPlaneValue;
  *out = t == kNoPlaneValue ? *a : Plus(*a, Scaled(d, t));
}

// Sutherland-Hodgman against one plane. out must hold 2 n points (each input point adds two at
// the most; in fact at most 3 n / 2 in all).
void VLViewTransform::ClipPolygonToPlane(SInt16 plane, const Vector3d* in, int n, Vector3d* out, int* count) const {
  int kept = 0;
  const Vector3d* s = &in[n - 1];
  bool sInside = InsidePlane(s, plane);
  for (int i = 0; i < n; ++i) {
    const Vector3d* p = &in[i];
    const bool pInside = InsidePlane(p, plane);
    if (pInside) {
      if (!sInside) IntersectClipPlane(s, p, plane, &out[kept++]);
      out[kept++] = *p;
    } else if (sInside) {
      IntersectClipPlane(s, p, plane, &out[kept++]);
    }
    s = p;
    sInside = pInside;
  }
  *count = kept;
}

// ---- Faces ----

UInt16 VLViewTransform::ClippedPointBound(SInt16 n) {
  long bound = n < 0 ? 0 : n;
  for (int plane = 0; plane < 6 && bound <= kMaxBlockPoints; ++plane) bound += bound / 2 + 1;
  return UInt16(bound < kMaxBlockPoints ? bound : kMaxBlockPoints);
}

Boolean VLViewTransform::ClipPolygon(const Vector3d* viewPoints, SInt16 n, Handle indices, UInt8* anyBehindHither,
                                     Vector3d* panePoints, UInt16 capacity, UInt16* count, UInt8* frontMarked,
                                     Vector3d* normal) {
  *anyBehindHither = 0;
  *count = 0;
  if (n < 1 || !indices || PortHandleSize(indices) < Size(n) * Size(sizeof(SInt16))) return false;
  const auto* index = reinterpret_cast<const SInt16*>(*indices);
  UInt16 all = kOutAll;
  for (int i = 0; i < n; ++i) {
    if (index[i] < 0) return false;
    const UInt16 code = ClipOutcode(&viewPoints[index[i]], fullWindow);
    all &= code;
    if (code & kOutHither) *anyBehindHither = 1;
  }
  if (all) return false;
  const int room = capacity < kMaxBlockPoints ? capacity : kMaxBlockPoints;
  int kept = n;
  if (!*anyBehindHither) {
    if (kept > room) return false;
    for (int i = 0; i < n; ++i) MapToPane(&viewPoints[index[i]], &panePoints[i]);
  } else {
    ClipScratch& scratch = Scratch();
    EnsureSize(&scratch.from, std::size_t(n));
    for (int i = 0; i < n; ++i) scratch.from[i] = viewPoints[index[i]];
    for (SInt16 plane = kClipLeft; plane <= kClipFar; ++plane) {
      if (kept < 2) return false;
      EnsureSize(&scratch.to, 2 * std::size_t(kept));
      ClipPolygonToPlane(plane, scratch.from.data(), kept, scratch.to.data(), &kept);
      if (kept < 2) return false;
      std::swap(scratch.from, scratch.to);
    }
    if (kept > room) return false;
    for (int i = 0; i < kept; ++i) MapToPane(&scratch.from[i], &panePoints[i]);
  }
  *count = UInt16(kept);
  const bool front = PolygonPlane(panePoints, SInt16(kept), normal);
  if (front && !gDepthSortPainted) *frontMarked = 1;
  return !front;
}

Boolean VLViewTransform::ProjectFaceList(Handle block, UInt8 clip) {
  SInt16 count = 0;
  if (!ReadPolygonBlock(block, &count)) return false;
  Vector3d* points = PolygonBlockPoints(block);
  for (int i = 0; i < count; ++i) TransformPoint3x4(&viewMatrix, &points[i], &points[i]);
  bool reachesBehind = false;
  if (clip) {
    UInt16 all = kOutAll;
    for (int i = 0; i < count; ++i) {
      const UInt16 code = ClipOutcode(&points[i], 1);
      all &= code;
      if (code & kOutHither) reachesBehind = true;
    }
    if (all) return false;
  }
  // Each point before the hither plane gives way to the crossings of its two edges with it.
  for (int i = 0; reachesBehind && i < count; ++i) {
    points = PolygonBlockPoints(block);
    if (!(points[i].z < hither)) continue;
    Vector3d inStart = points[(i + count - 1) % count], inEnd = points[i];
    Vector3d outStart = points[i], outEnd = points[(i + 1) % count];
    UInt8 inVisible = 0, outVisible = 0;
    ClipSegmentDepth(&inStart, &inEnd, &inVisible);
    ClipSegmentDepth(&outStart, &outEnd, &outVisible);
    if (inVisible && outVisible) {
      GrowPolygonBlock(block, count);
      points = PolygonBlockPoints(block);
      std::memmove(&points[i + 2], &points[i + 1], std::size_t(count - i - 1) * sizeof(Vector3d));
      points[i] = inEnd;
      points[i + 1] = outStart;
      SetPolygonBlockCount(block, ++count);
      ++i;
    } else if (inVisible) {
      points[i] = inEnd;
    } else if (outVisible) {
      points[i] = outStart;
    } else {
      std::memmove(&points[i], &points[i + 1], std::size_t(count - i - 1) * sizeof(Vector3d));
      SetPolygonBlockCount(block, --count);
      --i;
    }
  }
  if (count < 3) return false;
  points = PolygonBlockPoints(block);
  for (int i = 0; i < count; ++i) MapToPane(&points[i], &points[i]);
  return true;
}

Boolean VLViewTransform::PolygonPlane(const Vector3d* p, SInt16 n, Vector3d* normal) const {
  if (n < 3) return false;
  const auto samePanePoint = [p](int i, int j) { return p[i].x == p[j].x && p[i].y == p[j].y; };
  const int i0 = samePanePoint(0, n - 1) && n != 3 ? 1 : 0;
  const int i1 = n == 3 ? i0 + 1 : samePanePoint(i0 + 1, i0) ? i0 + 2 : i0 + 1;
  int a = n - 1, b = i0, c = i1;
  while (PointsCollinear(p, SInt16(a), SInt16(b), SInt16(c))) {
    a = b;
    b = c;
    c = (c + 1) % n;
    if (c == 0) break;
  }
  Vector3d nrm = Cross(Minus(p[b], p[a]), Minus(p[b], p[c]));
  VectorDivide(&nrm, -Length(nrm), &nrm);
  // The winding at the outline's extreme point along the frame's second axis, a convex corner,
  // decides the side the normal points to.
  Vector3d axis = nrm;
  Matrix4d frame;
  MatrixFromNormal(&axis, &frame);
  int e = 0;
  double highest = -999999999.0;
  for (int i = 0; i < n; ++i) {
    Vector3d t;
    TransformPoint3x4(&frame, &p[i], &t);
    if (t.y > highest) {
      highest = t.y;
      e = i;
    }
  }
  Vector3d before, corner, after;
  TransformPoint3x4(&frame, &p[(e - 1 + n) % n], &before);
  TransformPoint3x4(&frame, &p[e], &corner);
  TransformPoint3x4(&frame, &p[(e + 1) % n], &after);
  const Vector3d ea = Minus(before, corner), eb = Minus(after, corner);
  if (ea.x * eb.y - ea.y * eb.x < 0.0) VectorNegate(&nrm);
  *normal = nrm;
  return nrm.z > 0.0;
}

// ---- Segments ----

void VLViewTransform::ClipSegmentSteps(Vector3d* a, Vector3d* b, UInt8* visible, bool sides, bool far) const {
  const Vector3d first = *a;
  const Vector3d d = Minus(*b, first);
  double tEnter = 0.0, tLeave = 1.0;
  const auto step = [&](double den, double num) { return ClipSegmentParameter(den, num, &tEnter, &tLeave); };
  *visible = 0;
  if (sides && !(step(d.x + d.z, -first.x - first.z) && step(d.z - d.x, first.x - first.z) &&
                 step(d.z - d.y, first.y - first.z) && step(d.z + d.y, -first.y - first.z)))
    return;
  if (!step(d.z, hither - first.z)) return;
  if (far && !step(-d.z, first.z - 1.0)) return;
  *visible = 1;
  if (tLeave < 1.0) *b = Plus(first, Scaled(d, tLeave));
  if (tEnter > 0.0) *a = Plus(first, Scaled(d, tEnter));
}

void VLViewTransform::ClipSegment(Vector3d* a, Vector3d* b, UInt8* visible) const {
  ClipSegmentSteps(a, b, visible, fullWindow != 0, fullWindow != 0);
}

void VLViewTransform::ClipSegmentDepth(Vector3d* a, Vector3d* b, UInt8* visible) const {
  ClipSegmentSteps(a, b, visible, false, true);
}

void VLViewTransform::ProjectSegment(const Vector3d* p, const Vector3d* q, Vector3d* paneP, Vector3d* paneQ,
                                     UInt8* visible, UInt8* pUnchanged, UInt8* qUnchanged) const {
  ++projectionCalls;
  Vector3d a, b;
  TransformPoint3x4(&viewMatrix, p, &a);
  TransformPoint3x4(&viewMatrix, q, &b);
  const Vector3d aBefore = a, bBefore = b;
  UInt8 shown = 1;
  if (perspective && !(a.z >= hither && b.z >= hither)) ClipSegment(&a, &b, &shown);
  Vector3d outP, outQ;
  if (shown) {
    MapToPane(&a, &outP);
    MapToPane(&b, &outQ);
    shown = FinitePane(outP) && FinitePane(outQ);
  }
  if (!shown) {
    *visible = 0;
    *pUnchanged = 0;
    *qUnchanged = 0;
    return;
  }
  if (!perspective) outP.z = outQ.z = 0.0;
  for (Vector3d* end : {&outP, &outQ}) {
    end->x = ClampPaneCoordinate(end->x);
    end->y = ClampPaneCoordinate(end->y);
  }
  *visible = 1;
  *pUnchanged = a == aBefore;
  *qUnchanged = b == bBefore;
  *paneP = outP;
  *paneQ = outQ;
}

void VLViewTransform::ProjectViewSegment(const Vector3d* va, const Vector3d* vb, Vector3d* paneA, Vector3d* paneB,
                                         UInt8* visible, UInt8* aUnchanged, UInt8* bUnchanged) const {
  ++projectionCalls;
  Vector3d a = *va, b = *vb;
  ClipSegment(&a, &b, visible);
  if (!*visible) return;
  *aUnchanged = a == *va;
  *bUnchanged = b == *vb;
  MapToPane(&a, paneA);
  MapToPane(&b, paneB);
  if (!perspective) paneA->z = paneB->z = 0.0;
}
