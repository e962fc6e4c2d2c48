#include "GeometryKernel.h"

#include <algorithm>
#include <cmath>

#include "GeometryInternal.h"

namespace {

using geom::IsFinite;
using geom::Minus;

// Two directions whose angle has a sine below this are parallel: their crossing is lost in
// rounding, and a line computed across them would land anywhere.
constexpr double kParallelSine = 1e-12;

// The ray parameter of x from origin o along d, taken in d's largest coordinate so that a
// direction with a tiny stray component in another axis still measures true; false when d is
// zero or x is off the line by more than the coincidence tolerance in any coordinate.
bool LineParameter(const Vector3d& x, const Vector3d& o, const Vector3d& d, double* t) {
  const double dc[3] = {d.x, d.y, d.z};
  const double oc[3] = {o.x, o.y, o.z};
  const double xc[3] = {x.x, x.y, x.z};
  int axis = 0;
  for (int i = 1; i < 3; ++i)
    if (std::fabs(dc[i]) > std::fabs(dc[axis])) axis = i;
  if (!(std::fabs(dc[axis]) > 0.0) || !std::isfinite(dc[axis])) return false;
  const double s = (xc[axis] - oc[axis]) / dc[axis];
  for (int i = 0; i < 3; ++i)
    if (!(std::fabs(s * dc[i] + oc[i] - xc[i]) <= kGeomCoincidence)) return false;
  *t = s;
  return true;
}

}  // namespace

void ScalePointAbout(Vector3d* p, const Vector3d* centre, const Vector3d* factors) {
  p->x = factors->x * p->x - factors->x * centre->x + centre->x;
  p->y = factors->y * p->y - factors->y * centre->y + centre->y;
  p->z = factors->z * p->z - factors->z * centre->z + centre->z;
}

double PointPlaneDistance(const Vector3d* p, const Vector3d* n, double d) {
  const double length = VectorLength(n);
  if (!(length > 0.0) || !std::isfinite(length)) return 0.0;
  return std::fabs(PlaneEvaluate(p, n, d)) / length;
}

void PlaneFromThreePoints(const Vector3d* p0, const Vector3d* p1, const Vector3d* p2, Vector3d* normal,
                          double* offset) {
  const Vector3d n = geom::UnitOf(geom::Cross(Minus(*p1, *p0), Minus(*p1, *p2)));
  *normal = n;
  *offset = geom::IsZero(n) ? 0.0 : -VectorDot(&n, p0);
}

bool IntersectLinePlaneParam(const Vector3d* p, const Vector3d* dir, const Vector3d* n, double d, Vector3d* out,
                             double* t) {
  const double denominator = VectorDot(n, dir);
  if (denominator == 0.0) return false;
  const double s = -PlaneEvaluate(p, n, d) / denominator;
  const Vector3d hit{p->x + s * dir->x, p->y + s * dir->y, p->z + s * dir->z};
  if (!std::isfinite(s) || !IsFinite(hit)) return false;
  *out = hit;
  *t = s;
  return true;
}

bool IntersectLinePlane(const Vector3d* p, const Vector3d* dir, const Vector3d* n, double d, Vector3d* out) {
  double t;
  return IntersectLinePlaneParam(p, dir, n, d, out, &t);
}

void IntersectSegmentPlane(const Vector3d* a, const Vector3d* b, const Vector3d* n, double d, Vector3d* out) {
  const Vector3d ab = Minus(*b, *a);
  const double denominator = VectorDot(n, &ab);
  double t = kGeomNoValue;
  if (denominator != 0.0) t = -PlaneEvaluate(a, n, d) / denominator;
  const Vector3d hit{a->x + t * ab.x, a->y + t * ab.y, a->z + t * ab.z};
  if (t == kGeomNoValue || !IsFinite(hit)) {
    *out = *a;
    return;
  }
  *out = hit;
}

bool IntersectTwoPlanes(Vector3d nA, double dA, Vector3d nB, double dB, Vector3d* point, Vector3d* direction) {
  nA = geom::UnitOf(nA);
  nB = geom::UnitOf(nB);
  const Vector3d dir = geom::Cross(nA, nB);
  if (!(VectorLength(&dir) > kParallelSine)) return false;
  const double det = Determinant3(&nA, &nB, &dir);
  if (det == 0.0) return false;
  const Vector3d qA{-dA * nA.x, -dA * nA.y, -dA * nA.z};
  const Vector3d qB{-dB * nB.x, -dB * nB.y, -dB * nB.z};
  const double hA = VectorDot(&qA, &nA);
  const double hB = VectorDot(&qB, &nB);
  const Vector3d bd = geom::Cross(nB, dir);
  const Vector3d da = geom::Cross(dir, nA);
  const Vector3d p{(hA * bd.x + hB * da.x) / det, (hA * bd.y + hB * da.y) / det, (hA * bd.z + hB * da.z) / det};
  if (!IsFinite(p) || !IsFinite(dir)) return false;
  *point = p;
  *direction = dir;
  return true;
}

bool IntersectLines2D(const Vector3d* p0, const Vector3d* p1, const Vector3d* q0, const Vector3d* q1, double* tP,
                      double* sQ) {
  *sQ = kGeomNoValue;
  const double dpx = p1->x - p0->x, dpy = p1->y - p0->y;
  const double dqx = q1->x - q0->x, dqy = q1->y - q0->y;
  const double denominator = dqx * dpy - dqy * dpx;
  if (!(std::fabs(denominator) > kParallelSine * std::hypot(dpx, dpy) * std::hypot(dqx, dqy))) return false;
  const double s = ((p0->x - q0->x) * dpy - (p0->y - q0->y) * dpx) / denominator;
  double t;
  if (dpx != 0.0)
    t = (dqx * s + q0->x - p0->x) / dpx;
  else
    t = (dqy * s + q0->y - p0->y) / dpy;
  // A crossing that cannot be expressed (non-finite input or overflow) is no crossing.
  if (!std::isfinite(s) || !std::isfinite(t) || s == kGeomNoValue) return false;
  *sQ = s;
  *tP = t;
  return true;
}

bool IntersectLines3D(const Vector3d* pA, const Vector3d* dirA, const Vector3d* pB, const Vector3d* dirB,
                      Vector3d* point) {
  const Vector3d c = geom::Cross(*dirA, *dirB);
  const double c2 = VectorDot(&c, &c);
  const double bound = kParallelSine * kParallelSine * VectorDot(dirA, dirA) * VectorDot(dirB, dirB);
  if (!(c2 > 0.0) || !(c2 > bound) || !std::isfinite(c2)) return false;
  const Vector3d w = Minus(*pB, *pA);
  const double tA = Determinant3(&w, dirB, &c) / c2;
  const double tB = Determinant3(&w, dirA, &c) / c2;
  const Vector3d onA{pA->x + tA * dirA->x, pA->y + tA * dirA->y, pA->z + tA * dirA->z};
  const Vector3d onB{pB->x + tB * dirB->x, pB->y + tB * dirB->y, pB->z + tB * dirB->z};
  if (!IsFinite(onA)) return false;
  *point = onA;
  return PointsEqualWithin(&onB, &onA, kGeomCoincidence);
}

bool PointsCollinear(const Vector3d* points, SInt16 i, SInt16 j, SInt16 k) {
  const Vector3d u = geom::UnitOf(Minus(points[i], points[j]));
  const Vector3d v = geom::UnitOf(Minus(points[k], points[j]));
  return 1.0 - std::fabs(VectorDot(&u, &v)) < kGeomCollinear;
}

bool PointOnRay(const Vector3d* point, const Vector3d* origin, const Vector3d* direction) {
  double t;
  return LineParameter(*point, *origin, *direction, &t) && t >= 0.0;
}

bool PointInsideSegment(const Vector3d* point, const Vector3d* s0, const Vector3d* s1) {
  double t;
  return LineParameter(*point, *s0, Minus(*s1, *s0), &t) && t > 0.0 && t < 1.0;
}

bool SegmentsCross(const Vector3d* a0, const Vector3d* a1, const Vector3d* b0, const Vector3d* b1) {
  const Vector3d dirA = geom::UnitOf(Minus(*a1, *a0));
  const Vector3d dirB = geom::UnitOf(Minus(*b1, *b0));
  Vector3d x;
  if (!IntersectLines3D(a0, &dirA, b0, &dirB, &x)) return false;
  for (const Vector3d* end : {a0, a1, b0, b1})
    if (PointsEqualWithin(&x, end, kGeomCoincidence)) return false;
  return PointInsideSegment(&x, a0, a1) && PointInsideSegment(&x, b0, b1);
}
