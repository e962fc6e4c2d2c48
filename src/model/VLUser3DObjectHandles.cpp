// What lies under the mouse or near a model point: vertex and edge handles, the vertex a point
// snaps to, where a ray in a face leaves it, the face behind a point, and the current face's
// centre and farthest edge. Screen tests read the pane positions the last drawing left in
// screenPoints; model tests compare each coordinate on its own.
#include <cmath>

#include "GeometryKernel.h"
#include "VLUser3DObject.h"
#include "VLViewTransform.h"

namespace {

constexpr double kHandlePixels = 3.0;    // a handle is hit less than this far both ways
constexpr double kHandleModel = 5.0;     // and, checking the model point, this near on each axis
constexpr double kRayMinimum = 0.0001;   // a face behind a point lies farther than this
constexpr double kFaceEdgeMinimum = 0.001;
constexpr double kRaySearchStart = 9999.0;

Vector3d NormalOf(const FaceRecord& face) { return Vector3d{face.a, face.b, face.c}; }

bool WithinEachAxis(const Vector3d& a, const Vector3d& b, double tolerance) {
  return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

double SquaredPaneDistance(const Vector3d& projected, Point panePoint) {
  const double dh = projected.x - panePoint.h, dv = projected.y - panePoint.v;
  return dh * dh + dv * dv;
}

bool NearOnPane(const Vector3d& projected, Point panePoint) {
  return std::fabs(projected.x - panePoint.h) < kHandlePixels && std::fabs(projected.y - panePoint.v) < kHandlePixels;
}

}  // namespace

void VLUser3DObject::EdgeMidpoint(SInt16 edge, Vector3d* out) {
  SetArrayPointers();
  const Vector3d& a = vertices[edges[edge].a];
  const Vector3d& b = vertices[edges[edge].b];
  Vector3d half;
  VectorSubtract(&b, &a, &half);
  VectorScale(&half, -0.5, &half);
  VectorSubtract(&a, &half, out);
}

// ---- The current face ----

Boolean VLUser3DObject::HasCurrentFace() { return faceMode && currentFace >= 0 && currentFace < faceCount; }

void VLUser3DObject::GetFaceCentre(Vector3d* centre, Vector3d* normal) {
  SetArrayPointers();
  if (currentFace < 0 || currentFace >= faceCount) return;
  const FaceRecord& face = faces[currentFace];
  const SInt16* loop = LoopEntries(face);
  const SInt16 n = loop ? face.loopCount : 0;
  Vector3d sum;
  for (SInt16 k = 0; k < n; ++k) VectorAdd(&sum, &vertices[loop[k]], &sum);
  VectorDivide(&sum, double(n), centre);
  *normal = NormalOf(face);
}

Boolean VLUser3DObject::FaceHasVertex(SInt16 face, SInt16 vertex) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return false;
  const SInt16* loop = LoopEntries(faces[face]);
  for (SInt16 k = 0; loop && k < faces[face].loopCount; ++k)
    if (loop[k] == vertex) return true;
  return false;
}

Boolean VLUser3DObject::PickFaceEdge(VLViewTransform*, Point panePoint, Vector3d* planeNormal, double* planeOffset,
                                     Vector3d* point) {
  SetArrayPointers();
  if (edgeCount <= 0) return false;
  // The side of the current face farthest from the mouse: the one whose nearer end is farthest.
  SInt16 chosen = 0;
  double best = -1.0;
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const EdgeRecord edge = edges[e];
    if (!FaceHasVertex(currentFace, edge.a) || !FaceHasVertex(currentFace, edge.b)) continue;
    const double nearer =
        std::fmin(SquaredPaneDistance(screenPoints[edge.a], panePoint), SquaredPaneDistance(screenPoints[edge.b], panePoint));
    if (nearer > best) {
      best = nearer;
      chosen = e;
    }
  }
  Vector3d middle, along;
  EdgeMidpoint(chosen, &middle);
  VectorSubtract(&vertices[edges[chosen].b], &vertices[edges[chosen].a], &along);
  VectorDivide(&along, VectorLength(&along), &along);
  *planeNormal = along;
  *planeOffset = -VectorDot(&along, &middle);
  *point = middle;
  return true;
}

// ---- Handles ----

SInt16 VLUser3DObject::FindVertexHandle(const Vector3d* modelPoint, Point panePoint, Boolean checkModel) {
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) {
    if (checkModel) {
      const Vector3d& v = vertices[i];
      if (!(std::fabs(v.x - modelPoint->x) < kHandleModel && std::fabs(v.y - modelPoint->y) < kHandleModel &&
            std::fabs(v.z - modelPoint->z) < kHandleModel))
        continue;
    }
    if (NearOnPane(screenPoints[i], panePoint)) return i;
  }
  return -1;
}

SInt16 VLUser3DObject::FindEdgeHandle(const Vector3d* modelPoint, Point panePoint, Boolean checkModel,
                                      VLViewTransform* view) {
  if (!edgeHandlesShown || !view) return -1;
  SetArrayPointers();
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const EdgeRecord edge = edges[e];
    if (clippedEdges && !(edgeVisible[e] && vertexUnclipped[edge.a] && vertexUnclipped[edge.b])) continue;
    Vector3d middle, projected;
    EdgeMidpoint(e, &middle);
    if (checkModel && !WithinEachAxis(middle, *modelPoint, kHandleModel)) continue;
    view->ProjectPoint(&middle, &projected);
    if (NearOnPane(projected, panePoint)) return e;
  }
  return -1;
}

void VLUser3DObject::GetHandlePoint(Vector3d* out, SInt16 index, Boolean isVertex) {
  SetArrayPointers();
  if (isVertex) {
    if (index >= 0 && index < vertexCount) *out = vertices[index];
  } else if (index >= 0 && index < edgeCount) {
    EdgeMidpoint(index, out);
  }
}

// ---- Extent, nearby vertices, snapping ----

void VLUser3DObject::GetBounds(double* minX, double* minY, double* minZ, double* maxX, double* maxY, double* maxZ) {
  SetArrayPointers();
  *minX = *minY = *minZ = kGeomSearchStart;
  *maxX = *maxY = *maxZ = -kGeomSearchStart;
  for (SInt16 i = 0; i < vertexCount; ++i) {
    const Vector3d& p = vertices[i];
    *minX = std::fmin(*minX, p.x);
    *minY = std::fmin(*minY, p.y);
    *minZ = std::fmin(*minZ, p.z);
    *maxX = std::fmax(*maxX, p.x);
    *maxY = std::fmax(*maxY, p.y);
    *maxZ = std::fmax(*maxZ, p.z);
  }
}

Boolean VLUser3DObject::FindVertexNear(const Vector3d* modelPoint, SInt16* vertex, double tolerance) {
  SetArrayPointers();
  bool found = false;
  double best = 0.0;
  for (SInt16 i = 0; i < vertexCount; ++i) {
    if (!WithinEachAxis(vertices[i], *modelPoint, tolerance)) continue;
    const double distance = VectorDistance(&vertices[i], modelPoint);
    if (!found || distance < best) {
      found = true;
      best = distance;
      *vertex = i;
    }
  }
  return found;
}

Boolean VLUser3DObject::SnapToVertex(const Vector3d* point, Vector3d* position, double* bestDistance,
                                     Boolean* found, double tolerance) {
  if (!IsVisible()) return false;
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) {
    const Vector3d& v = vertices[i];
    if (!WithinEachAxis(v, *point, tolerance)) continue;
    // The point is a vertex already: nothing nearer can be found.
    if (v == *point) return true;
    const double distance = VectorDistance(&v, point);
    if (distance < *bestDistance) {
      *position = v;
      *bestDistance = distance;
      *found = true;
    }
  }
  return false;
}

// ---- Rays and planes across faces ----

Boolean VLUser3DObject::RayToFaceEdge(const Vector3d* origin, SInt16 face, const Vector3d* direction, Vector3d* out) {
  SetArrayPointers();
  *out = *origin;
  if (face < 0 || face >= faceCount) return false;
  const FaceRecord& record = faces[face];
  const SInt16* loop = LoopEntries(record);
  const SInt16 n = loop ? record.loopCount : 0;
  // Worked in the two axes that the face's normal leans on least.
  const double nx = std::fabs(record.a), ny = std::fabs(record.b), nz = std::fabs(record.c);
  int i, j;
  if (nx <= ny) {
    i = 0;
    j = ny > nz ? 2 : 1;
  } else {
    i = 1;
    j = nx > nz ? 2 : 0;
  }
  const Vector3d& P = *origin;
  const Vector3d& D = *direction;
  double best = kRaySearchStart;
  for (SInt16 k = 0; k < n; ++k) {
    const Vector3d& A = vertices[loop[k]];
    const Vector3d& B = vertices[loop[(k + 1) % n]];
    Vector3d e;
    VectorSubtract(&B, &A, &e);
    const double ei = VectorComponent(e, i), ej = VectorComponent(e, j);
    const double q = VectorComponent(D, j) * ei - VectorComponent(D, i) * ej;
    if (q == 0.0) continue;
    const double t = ((VectorComponent(A, j) - VectorComponent(P, j)) * ei -
                      (VectorComponent(A, i) - VectorComponent(P, i)) * ej) /
                     q;
    if (!(t >= kFaceEdgeMinimum && t < best)) continue;
    // On the side, ends included, measured along the axis in which the side is longer.
    const int along = std::fabs(ej) > std::fabs(ei) ? j : i;
    const double c = VectorComponent(P, along) + VectorComponent(D, along) * t;
    const double a = VectorComponent(A, along), b = VectorComponent(B, along);
    if (std::fmin(a, b) <= c && c <= std::fmax(a, b)) best = t;
  }
  if (!(best < kRaySearchStart - 1.0)) return false;
  VectorScale(direction, best, out);
  VectorAdd(origin, out, out);
  return true;
}

SInt16 VLUser3DObject::FindOppositeFace(const Vector3d* point, SInt16 face, Vector3d* out) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return -1;
  const Vector3d nf = NormalOf(faces[face]);
  SInt16 found = -1;
  double best = kRaySearchStart;
  Vector3d hitFound;
  for (SInt16 g = 0; g < faceCount; ++g) {
    if (g == face || faces[g].degenerate) continue;
    const Vector3d ng = NormalOf(faces[g]);
    const double s = -VectorDot(&nf, &ng);
    const double t = s > 0.0 ? -(VectorDot(&ng, point) + faces[g].d) / s : -1.0;
    if (!(t > kRayMinimum && t < best)) continue;
    Vector3d hit;
    VectorScale(&nf, -t, &hit);
    VectorAdd(point, &hit, &hit);
    if (!PointInFace(g, &hit, false)) continue;
    SetArrayPointers();
    best = t;
    found = g;
    hitFound = hit;
  }
  if (found >= 0) *out = hitFound;
  return found;
}

Boolean VLUser3DObject::ProjectOntoFace(const Vector3d* point, SInt16 face, Vector3d* out) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount || faces[face].degenerate) return false;
  const Vector3d n = NormalOf(faces[face]);
  const double squared = VectorDot(&n, &n);
  if (squared == 0.0) return false;
  Vector3d foot;
  VectorScale(&n, -(VectorDot(&n, point) + faces[face].d) / squared, &foot);
  VectorAdd(point, &foot, &foot);
  if (!PointInFace(face, &foot, false)) return false;
  *out = foot;
  return true;
}

Boolean VLUser3DObject::EdgePlane(const Vector3d* first, const Vector3d* second, SInt16 face, Vector3d* normal,
                                  double* offset) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return false;
  const Vector3d nFace = NormalOf(faces[face]);
  Vector3d along, n;
  VectorSubtract(second, first, &along);
  VectorCross(&nFace, &along, &n);
  VectorDivide(&n, VectorLength(&n), normal);
  *offset = -VectorDot(normal, first);
  return true;
}
