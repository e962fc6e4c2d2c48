// Reshaping one object: dragging a vertex or an edge, moving, offsetting and tilting faces, and
// the vertex copies that undo keeps.
#include <cmath>
#include <cstring>
#include <vector>

#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "Memory.h"
#include "VLUser3DObject.h"

namespace {

// The tilt converts degrees with a factor of its own, a few digits longer than the rotation's.
constexpr double kTiltDegreesToRadians = 0.0174532925;
// A tilted plane this close to standing on edge to the old normal would throw the face's
// vertices out by 1 / cosine: such a tilt is refused.
constexpr double kEdgeOnCosine = kEqualNormalTolerance;

// The view's roles as component indices: x and y span the plane the mouse moves in, z is the
// depth. Roles that do not name three different components fall back to x, y, z.
struct Roles {
  int x = 0, y = 1, z = 2;
};

Roles CurrentRoles() {
  const Roles r{AxisRole(gAxisX), AxisRole(gAxisY), AxisRole(gAxisZ)};
  if (r.x == r.y || r.y == r.z || r.x == r.z) return Roles{};
  return r;
}

Vector3d ToRoles(const Vector3d& v, Roles r) {
  return Vector3d{VectorComponent(v, r.x), VectorComponent(v, r.y), VectorComponent(v, r.z)};
}

Vector3d FromRoles(const Vector3d& v, Roles r) {
  Vector3d w;
  VectorComponent(w, r.x) = v.x;
  VectorComponent(w, r.y) = v.y;
  VectorComponent(w, r.z) = v.z;
  return w;
}

// How a drag that lands off the plane first comes back in depth: the vertex drag along the
// depth role (only when the plane is not upright in the view), the edge drag along the plane's
// own normal.
enum class DepthStep { kAlongDepthRole, kAlongNormal };

// Corrects offset o so that p + o stays on the plane (n, d) through p, everything in role order.
// The branches are chosen by exact zeros, so that no step divides by zero.
void KeepOnPlane(const Vector3d& p, Vector3d* o, const Vector3d& n, double d, DepthStep step) {
  if (o->x == 0.0 && o->y == 0.0) {
    // A depth-only drag: keep the new depth and slide to the nearest point of the plane there.
    if (n.x == 0.0 && n.y == 0.0) {
      *o = Vector3d{};
      return;
    }
    const double level = n.z * (p.z + o->z) + d;
    double x = 0.0, y = 0.0;
    if (n.y == 0.0) {
      y = p.y;
      x = -level / n.x;
    } else {
      const double y0 = -level / n.y;
      const double t = (p.y - y0) * -n.x + p.x * n.y;
      const double s = n.x * n.x + n.y * n.y;
      x = n.y * t / s;
      y = y0 - n.x * t / s;
    }
    o->x = x - p.x;
    o->y = y - p.y;
    return;
  }
  Vector3d target;
  VectorAdd(&p, o, &target);
  if (PlaneEvaluate(&target, &n, d) == 0.0) return;
  const Vector3d depth{0.0, 0.0, 1.0};
  Vector3d hit;
  const bool stepInDepth = step == DepthStep::kAlongNormal || n.z != 0.0;
  if (stepInDepth && IntersectLinePlane(&target, step == DepthStep::kAlongNormal ? &n : &depth, &n, d, &hit)) {
    o->z += hit.z - target.z;
    target.z = hit.z;
  }
  if (PlaneEvaluate(&target, &n, d) != 0.0 && IntersectLinePlane(&target, &n, &n, d, &hit)) {
    o->x += hit.x - target.x;
    o->y += hit.y - target.y;
    o->z += hit.z - target.z;
  }
}

}  // namespace

// ---- Vertex and edge drags ----

void VLUser3DObject::MoveVertex(SInt16 vertex, const Vector3d* position, long) {
  SetArrayPointers();
  if (vertex < 0 || vertex >= vertexCount) return;
  if (!HasCurrentFace()) {
    vertices[vertex] = *position;
  } else {
    const FaceRecord& face = faces[currentFace];
    const Vector3d normal{face.a, face.b, face.c};
    const Vector3d at = vertices[vertex];
    Vector3d offset;
    VectorSubtract(position, &at, &offset);
    const Roles roles = CurrentRoles();
    Vector3d o = ToRoles(offset, roles);
    KeepOnPlane(ToRoles(at, roles), &o, ToRoles(normal, roles), -VectorDot(&normal, &at), DepthStep::kAlongDepthRole);
    offset = FromRoles(o, roles);
    VectorAdd(&at, &offset, &vertices[vertex]);
  }
  CalcFacePlanes();
}

void VLUser3DObject::MoveEdge(SInt16 edge, Vector3d* offset, long) {
  SetArrayPointers();
  if (edge < 0 || edge >= edgeCount) return;
  const SInt16 a = edges[edge].a, b = edges[edge].b;
  if (a < 0 || a >= vertexCount || b < 0 || b >= vertexCount) return;
  const Vector3d start = vertices[a], end = vertices[b];
  // An edge whose ends coincide has no direction to move across.
  if (PointsEqualWithin(&start, &end, kCoincidentTolerance)) {
    *offset = Vector3d{};
    return;
  }
  Vector3d along, middle, u;
  VectorSubtract(&end, &start, &along);
  VectorDivide(&along, VectorLength(&along), &u);
  VectorScale(&along, 0.5, &middle);
  VectorAdd(&start, &middle, &middle);
  if (!HasCurrentFace()) {
    // Across the plane through the midpoint perpendicular to the edge.
    const Roles roles = CurrentRoles();
    Vector3d o = ToRoles(*offset, roles);
    KeepOnPlane(ToRoles(middle, roles), &o, ToRoles(u, roles), -VectorDot(&u, &middle), DepthStep::kAlongNormal);
    *offset = FromRoles(o, roles);
  } else {
    // Within the current face, across the edge: w has unit length for an edge of that face.
    const FaceRecord& face = faces[currentFace];
    const Vector3d normal{face.a, face.b, face.c};
    Vector3d w;
    VectorCross(&normal, &u, &w);
    VectorScale(&w, VectorDot(&w, offset), offset);
  }
  VectorAdd(&vertices[a], offset, &vertices[a]);
  VectorAdd(&vertices[b], offset, &vertices[b]);
}

// ---- Faces ----

void VLUser3DObject::OffsetFace(SInt16 sourceFace, SInt16 targetFace, double distance) {
  SetArrayPointers();
  if (sourceFace < 0 || sourceFace >= faceCount || targetFace < 0 || targetFace >= faceCount) return;
  const SInt16 n = faces[sourceFace].loopCount;
  const SInt16* source = LoopEntries(faces[sourceFace]);
  const SInt16* target = LoopEntries(faces[targetFace]);
  // The target takes one vertex per source position: a shorter target loop has no room.
  if (!source || !target || n <= 0 || faces[targetFace].loopCount < n) return;
  for (SInt16 k = 0; k < n; ++k)
    if (source[k] < 0 || source[k] >= vertexCount || target[k] < 0 || target[k] >= vertexCount) return;

  double a = 0, b = 0, c = 0, d = 0;
  CalcFacePlane(sourceFace, &a, &b, &c, &d);
  SetArrayPointers();
  source = LoopEntries(faces[sourceFace]);
  target = LoopEntries(faces[targetFace]);
  // Taken before any write, in case the two loops share vertices.
  std::vector<Vector3d> moved(std::size_t(n), Vector3d{});
  for (SInt16 k = 0; k < n; ++k) {
    moved[std::size_t(k)] = Vector3d{vertices[source[k]].x - a * distance, vertices[source[k]].y - b * distance,
                                     vertices[source[k]].z - c * distance};
  }
  for (SInt16 k = 0; k < n; ++k) vertices[target[(n + 1 - k) % n]] = moved[std::size_t(k)];
  CalcFacePlanes();
}

void VLUser3DObject::PushFace(const Vector3d* offset, SInt16* trackedVertex) {
  CalcFacePlanes();
  if (faceCount <= 0) return;
  double best = 0.0;
  SInt16 chosen = 0;
  for (SInt16 f = 0; f < faceCount; ++f) {
    if (faces[f].degenerate) continue;
    const Vector3d normal{faces[f].a, faces[f].b, faces[f].c};
    const double facing = VectorDot(&normal, offset);
    if (facing >= best) {
      best = facing;
      chosen = f;
    }
  }
  const std::vector<SInt16> moved = DistinctLoopVertices(faces[chosen], vertexCount);
  for (SInt16 v : moved) VectorAdd(&vertices[v], offset, &vertices[v]);
  CalcFacePlanes();

  // A tracked handle off the moved face follows to the face's vertex that now lies where the
  // handle would have gone.
  if (!trackedVertex || *trackedVertex < 0 || *trackedVertex >= vertexCount) return;
  for (SInt16 v : moved)
    if (v == *trackedVertex) return;
  Vector3d wanted;
  VectorAdd(&vertices[*trackedVertex], offset, &wanted);
  for (SInt16 v : moved) {
    if (vertices[v] == wanted) {
      *trackedVertex = v;
      return;
    }
  }
}

void VLUser3DObject::TiltFace(double angle, CObjectTransformer* frameForTilt) {
  SetArrayPointers();
  if (!frameForTilt || !frameForTilt->HasMatrices() || currentFace < 0 || currentFace >= faceCount) return;
  const FaceRecord& face = faces[currentFace];
  const SInt16* loop = LoopEntries(face);
  const SInt16 n = loop ? face.loopCount : 0;
  for (SInt16 k = 0; k < n; ++k)
    if (loop[k] < 0 || loop[k] >= vertexCount) return;

  // Three points that span the face: the first, the next distinct one, and the next that is
  // distinct from both and not in line with them.
  SInt16 i1 = 1;
  while (i1 < n && PointsEqualWithin(&vertices[loop[i1]], &vertices[loop[0]], kCoincidentTolerance)) ++i1;
  SInt16 i2 = SInt16(i1 + 1);
  while (i2 < n && (PointsEqualWithin(&vertices[loop[i2]], &vertices[loop[0]], kCoincidentTolerance) ||
                    PointsEqualWithin(&vertices[loop[i2]], &vertices[loop[i1]], kCoincidentTolerance) ||
                    PointsCollinear(vertices, loop[0], loop[i1], loop[i2])))
    ++i2;
  if (i2 >= n) return;

  const double r = angle * kTiltDegreesToRadians;
  const double c = std::cos(r), s = std::sin(r);
  Vector3d turned[3] = {vertices[loop[0]], vertices[loop[i1]], vertices[loop[i2]]};
  for (Vector3d& q : turned) {
    frameForTilt->ToLocal(&q, &q);
    const double x = c * q.x - s * q.y, y = s * q.x + c * q.y;
    q.x = x;
    q.y = y;
    frameForTilt->ToWorld(&q, &q);
  }
  Vector3d normal;
  double offset = 0.0;
  PlaneFromThreePoints(&turned[0], &turned[1], &turned[2], &normal, &offset);
  const Vector3d oldNormal{face.a, face.b, face.c};
  if (!(std::fabs(VectorDot(&normal, &oldNormal)) >= kEdgeOnCosine)) return;

  for (SInt16 v : DistinctLoopVertices(face, vertexCount))
    IntersectLinePlane(&vertices[v], &oldNormal, &normal, offset, &vertices[v]);
  MarkChanged();
}

void VLUser3DObject::GeometryChanged() {
  CalcFacePlanes();
  MarkChanged();
}

// ---- Vertex copies for undo ----

Handle VLUser3DObject::CopyVertices() {
  const SInt16 count = vertexCount > 0 ? vertexCount : 0;
  Handle copy = PortAllocHandle(Size(count) * Size(sizeof(Vector3d)));
  if (!copy) return nullptr;
  SetArrayPointers();
  if (count > 0) std::memcpy(*copy, vertices, std::size_t(count) * sizeof(Vector3d));
  return copy;
}

void VLUser3DObject::SetVertices(Handle copy) {
  if (!copy) return;
  SetArrayPointers();
  // A copy from before the vertex count changed restores only what both hold.
  long count = long(PortHandleSize(copy) / Size(sizeof(Vector3d)));
  if (count > vertexCount) count = vertexCount;
  if (count > 0) std::memcpy(vertices, *copy, std::size_t(count) * sizeof(Vector3d));
  MarkChanged();
}

void VLUser3DObject::SetFaceVertices(SInt16 face, const Vector3d* points) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return;
  const SInt16* loop = LoopEntries(faces[face]);
  for (SInt16 k = 0; loop && k < faces[face].loopCount; ++k)
    if (loop[k] >= 0 && loop[k] < vertexCount) vertices[loop[k]] = points[k];
  MarkChanged();
}
