// Free functions on points, lines and planes shared by the model, the views and the exchange code.
//
// A plane is a normal n and an offset d: p lies on it when n . p + d = 0, and n . p + d is the
// point's plane value. Routines that decide or construct (intersections, predicates, normals)
// answer their no-value result for degenerate or non-finite input: false, the zero vector, or
// kGeomNoValue; they never hand on a NaN. Plain arithmetic (dot products, plane values) follows
// IEEE rules. Lines, and planes, count as parallel when the sine of the angle between them is
// below 1e-12: a crossing computed across such directions would be rounding noise.
#pragma once

#include <cmath>

#include "MacTypes.h"
#include "Matrix4d.h"
#include "Vector3d.h"

constexpr double kGeomNoValue = -999.0;           // "no value" of the line and plane routines
constexpr double kGeomCoincidence = 1e-5;         // two points coincide, per coordinate, inclusive
constexpr double kGeomRepeatedPoint = 0.001;      // a repeated closing point of a loop
constexpr double kGeomCollinear = 0.0001;         // 1 - |cos| below this is collinear
constexpr double kGeomSearchStart = 105600.0;     // start of minimum (and, negated, maximum) searches

// Angles are kept in degrees and converted with these (not with pi).
constexpr double kDegreesToRadians = 0.017453292;
constexpr double kRadiansToDegrees = 57.29577951;

// Inline: orienting and testing the faces of every solid read from a file evaluates it for each
// vertex against each face.
inline double PlaneEvaluate(const Vector3d* p, const Vector3d* n, double d) { return VectorDot(n, p) + d; }
// Scales the point about the centre per axis: each component x becomes f x - f c + c.
void ScalePointAbout(Vector3d* p, const Vector3d* centre, const Vector3d* factors);
// |n . p + d| / |n|; 0 for a zero or non-finite normal, which has no plane.
double PointPlaneDistance(const Vector3d* p, const Vector3d* n, double d);
// Unit normal of (p1 - p0) x (p1 - p2) and offset -(normal . p0); collinear or non-finite
// points give the zero normal and offset 0.
void PlaneFromThreePoints(const Vector3d* p0, const Vector3d* p1, const Vector3d* p2, Vector3d* normal, double* offset);
// The point p + t * dir on the plane; false, out untouched, when n . dir is 0 or the result is not finite.
bool IntersectLinePlane(const Vector3d* p, const Vector3d* dir, const Vector3d* n, double d, Vector3d* out);
bool IntersectLinePlaneParam(const Vector3d* p, const Vector3d* dir, const Vector3d* n, double d, Vector3d* out,
                             double* t);
// Where the line through a and b meets the plane (t not limited to 0..1); out = a when the
// line is parallel to the plane or t is not finite.
void IntersectSegmentPlane(const Vector3d* a, const Vector3d* b, const Vector3d* n, double d, Vector3d* out);
// The line where two planes meet: direction nA x nB (normals made unit), point the line's point
// nearest the origin. False, nothing written, for parallel planes.
bool IntersectTwoPlanes(Vector3d nA, double dA, Vector3d nB, double dB, Vector3d* point, Vector3d* direction);
// Lines p0-p1 and q0-q1 in x and y: sQ the crossing's parameter along q (0 at q0, 1 at q1),
// tP along p. sQ is set to kGeomNoValue first; parallel lines write nothing else and give false.
bool IntersectLines2D(const Vector3d* p0, const Vector3d* p1, const Vector3d* q0, const Vector3d* q1, double* tP,
                      double* sQ);
// Point of line A nearest line B, written whenever the lines are not parallel; true when the
// lines meet there (within kGeomCoincidence), false for skew or parallel lines.
bool IntersectLines3D(const Vector3d* pA, const Vector3d* dirA, const Vector3d* pB, const Vector3d* dirB,
                      Vector3d* point);

// Written so that a NaN anywhere makes the points differ.
inline bool PointsEqualWithin(const Vector3d* a, const Vector3d* b, double tol) {
  return std::fabs(a->x - b->x) <= tol && std::fabs(a->y - b->y) <= tol && std::fabs(a->z - b->z) <= tol;
}
// The edges from points[j] to points[i] and to points[k] are parallel; a zero edge is not.
bool PointsCollinear(const Vector3d* points, SInt16 i, SInt16 j, SInt16 k);
bool PointOnRay(const Vector3d* point, const Vector3d* origin, const Vector3d* direction);
bool PointInsideSegment(const Vector3d* point, const Vector3d* s0, const Vector3d* s1);  // ends excluded
bool SegmentsCross(const Vector3d* a0, const Vector3d* a1, const Vector3d* b0, const Vector3d* b1);
