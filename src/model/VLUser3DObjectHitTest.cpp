// Geometric questions about one model object that change nothing: whether a pane rectangle or
// point touches it, where a ray first meets it, whether a point lies in a face, the frame of a
// face as the pane shows it, and the object's extent in its own axes.
#include <cmath>

#include "DETException.h"
#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "Memory.h"
#include "QuickDraw.h"
#include "VLUser3DObject.h"
#include "VLViewTransform.h"

namespace {

constexpr double kRayMinimum = 0.0001;    // a hit must lie farther along the ray than this
constexpr double kSlabStart = 99999.0;    // the entering and leaving distances start at -+ this
constexpr double kNoDistance = -1.0;
constexpr double kOnPlane = 1e-5;         // a point this near a face's plane lies in it
constexpr double kOnEdge = 1e-5;          // and this near an edge lies on it
constexpr double kFlatAxisShare = 1e-5;   // an extent below this share of the largest is flat

Vector3d NormalOf(const FaceRecord& face) { return Vector3d{face.a, face.b, face.c}; }

Vector3d PointAlong(const Vector3d& origin, const Vector3d& direction, double t) {
  Vector3d p;
  VectorScale(&direction, t, &p);
  VectorAdd(&origin, &p, &p);
  return p;
}

// Objects that may be concave are tried face by face; the others count as convex and are
// tried as the space between their face planes.
bool TestsFaceByFace(const VLUser3DObject* object) {
  return object->typeCode == kObjectTypeExtrusion || object->typeCode == kObjectTypeOpening ||
         object->typeCode == kObjectTypePolyhedron || object->nonConvex;
}

// The nearest face whose plane the ray crosses inside the face, nearer than *t. With frontOnly
// only faces turned toward the ray's origin count.
bool RayFaceByFace(VLUser3DObject* object, const Vector3d& origin, const Vector3d& direction, double* t,
                   SInt16* face, Vector3d* normal, bool frontOnly) {
  *face = -1;
  object->SetArrayPointers();
  for (SInt16 i = 0; i < object->faceCount; ++i) {
    const FaceRecord record = object->faces[i];
    if (record.degenerate) continue;
    const Vector3d n = NormalOf(record);
    const double den = VectorDot(&direction, &n);
    if (den == 0.0 || (frontOnly && den > 0.0)) continue;
    const double s = -(VectorDot(&origin, &n) + record.d) / den;
    if (s > kRayMinimum && s < *t) {
      const Vector3d hit = PointAlong(origin, direction, s);
      if (object->PointInFace(i, &hit, false)) {
        *face = i;
        *t = s;
        if (normal) *normal = n;
      }
    }
  }
  return *face >= 0;
}

// The ray against the intersection of the half-spaces behind every face plane: the distance at
// which it enters (or, from inside, leaves) the solid, nearer than *t. On a hit *face takes the
// plane that decided it; when no plane did, the caller's value stands.
bool RaySlabs(VLUser3DObject* object, const Vector3d& origin, const Vector3d& direction, double* t, SInt16* face,
              Vector3d* normal, bool skipDegenerate, bool touchingCounts) {
  double entering = -kSlabStart, leaving = kSlabStart;
  SInt16 deciding = *face;
  object->SetArrayPointers();
  for (SInt16 i = 0; i < object->faceCount; ++i) {
    const FaceRecord& record = object->faces[i];
    if (skipDegenerate && record.degenerate) continue;
    const Vector3d n = NormalOf(record);
    const double den = VectorDot(&direction, &n);
    const double num = VectorDot(&origin, &n) + record.d;
    if (den == 0.0) {
      // Parallel to this plane and in front of it: the ray never gets inside.
      if (num > 0.0) entering = leaving + 1.0;
    } else if (den > 0.0) {
      const double s = -num / den;
      if (s < leaving) {
        leaving = s;
        if (entering < kRayMinimum) deciding = i;
      }
    } else {
      const double s = -num / den;
      if (s > entering) {
        entering = s;
        if (s > kRayMinimum) deciding = i;
      }
    }
  }
  const double hit = entering > kRayMinimum ? entering : leaving > kRayMinimum ? leaving : kNoDistance;
  const bool apart = touchingCounts ? entering <= leaving : entering < leaving;
  if (!apart || !(hit < *t) || !(hit > kRayMinimum)) return false;
  *t = hit;
  *face = deciding;
  if (normal && *face >= 0 && *face < object->faceCount) *normal = NormalOf(object->faces[*face]);
  return true;
}

// Coordinates of a point in the plane of a face, the face's steepest normal component dropped:
// u and v, the ray of the crossing test running toward +v.
struct FaceAxes {
  int u;
  int v;
};

FaceAxes AxesAcross(const FaceRecord& face) {
  const double A = std::fabs(face.a), B = std::fabs(face.b), C = std::fabs(face.c);
  if (A > B) return A > C ? FaceAxes{2, 1} : FaceAxes{0, 1};
  return B > C ? FaceAxes{2, 0} : FaceAxes{1, 0};
}

// The frame of a face seen from the pane: its origin the loop vertex drawn nearest the pane
// point, x along the loop to the next vertex, z the face's normal.
void FrameOfFace(VLUser3DObject* object, Point panePoint, SInt16 face, Matrix4d* toFrame, Matrix4d* fromFrame) {
  object->SetArrayPointers();
  const FaceRecord& record = object->faces[face];
  const SInt16* loop = LoopEntries(record);
  const SInt16 n = loop ? record.loopCount : 0;
  SInt16 nearest = 0;
  double best = kGeomSearchStart;
  for (SInt16 k = 0; k < n; ++k) {
    const Vector3d& s = object->screenPoints[loop[k]];
    const double dh = s.x - panePoint.h, dv = s.y - panePoint.v;
    const double distance = std::sqrt(dh * dh + dv * dv);
    if (distance < best) {
      best = distance;
      nearest = k;
    }
  }
  const auto vertexAt = [&](SInt16 index) { return index < object->vertexCount ? object->vertices[index] : Vector3d{}; };
  const Vector3d origin = n > 0 ? object->vertices[loop[nearest]] : vertexAt(0);
  const Vector3d next = n > 0 ? object->vertices[loop[(nearest + 1) % n]] : vertexAt(1);
  Vector3d x, z = NormalOf(record), y;
  VectorSubtract(&next, &origin, &x);
  VectorDivide(&x, VectorLength(&x), &x);
  VectorDivide(&z, VectorLength(&z), &z);
  VectorCross(&x, &z, &y);
  FrameMatrices(&x, &y, &z, &origin, toFrame, fromFrame);
}

// The frame the local extent uses in face mode: taken from the bottom-left corner of the port
// being drawn in.
void CurrentFaceFrame(VLUser3DObject* object, Matrix4d* toFrame, Matrix4d* fromFrame) {
  GrafPtr port = nullptr;
  PortGetPort(&port);
  const Point corner{port ? port->portRect.bottom : SInt16(0), 0};
  object->GetFaceFrame(corner, object->currentFace, toFrame, fromFrame);
}

// The object's own axes, when it has a frame that can convert points.
const CObjectTransformer* OwnAxes(const VLUser3DObject* object) {
  return object->frame && object->frame->HasMatrices() ? object->frame : nullptr;
}

void Widen(double* box, const Vector3d& p) {
  for (int i = 0; i < 3; ++i) {
    const double c = VectorComponent(p, i);
    if (c < box[i]) box[i] = c;
    if (c > box[i + 3]) box[i + 3] = c;
  }
}

// A point as the farthest-point searches compare it: in the object's own axes, else in the
// working plane's while it is on.
Vector3d Compared(const VLUser3DObject* object, const Vector3d& p) {
  Vector3d out;
  if (const CObjectTransformer* axes = OwnAxes(object))
    axes->ToLocal(&p, &out);
  else
    WorldToDrawingPlane(&p, &out);
  return out;
}

// The candidate farthest from a point so far, compared as Compared takes them; a candidate
// farther than all before it is copied out unconverted.
class FarthestSearch {
 public:
  FarthestSearch(VLUser3DObject* object, const Vector3d& point) : object_(object) {
    object->SetArrayPointers();
    from_ = Compared(object, point);
  }
  void Offer(const Vector3d& candidate, Vector3d* out) {
    const Vector3d compared = Compared(object_, candidate);
    const double distance = VectorDistance(&compared, &from_);
    if (distance > best_) {
      best_ = distance;
      *out = candidate;
    }
  }

 private:
  VLUser3DObject* object_;
  Vector3d from_;
  double best_ = kNoDistance;
};

}  // namespace

// ---- Screen bounds ----

Boolean VLUser3DObject::HitScreenBounds(const Rect* rect) {
  if (hidden || !IsVisible()) return false;
  Rect common;
  return PortSectRect(rect, &screenBounds, &common);
}

Boolean VLUser3DObject::PointInScreenBounds(Point panePoint) {
  if (!IsVisible() || !IsSelectable()) return false;
  return PortPointInRect(panePoint, &screenBounds);
}

// ---- Rays ----

Boolean VLUser3DObject::IntersectRay(SInt16* face, double* distance, const Vector3d* origin,
                                     const Vector3d* direction, Vector3d* normal) {
  if (TestsFaceByFace(this)) return RayFaceByFace(this, *origin, *direction, distance, face, normal, false);
  return RaySlabs(this, *origin, *direction, distance, face, normal, false, false);
}

Boolean VLUser3DObject::HitByRay(Point panePoint, const Vector3d* origin, const Vector3d* direction,
                                 double* distance, RGBColor* colour, Vector3d* normal, UInt8 shadowRay) {
  if (hidden || !IsVisible()) return false;
  // A primary ray is the ray of one pixel: an object not drawn there cannot be hit.
  if (!shadowRay && !PointInScreenBounds(panePoint)) return false;
  SInt16 face = -1;
  if (!IntersectRay(&face, distance, origin, direction, normal) || face < 0) return false;
  if (!shadowRay) *colour = color;
  return true;
}

Boolean VLUser3DObject::PickFace(Point panePoint, const Vector3d* origin, const Vector3d* direction,
                                 double* distance, SInt16* face) {
  SetArrayPointers();
  if (hidden || !IsVisible() || !PointInScreenBounds(panePoint)) return false;
  // Only what faces the eye can be picked.
  if (TestsFaceByFace(this)) return RayFaceByFace(this, *origin, *direction, distance, face, nullptr, true);
  return RaySlabs(this, *origin, *direction, distance, face, nullptr, true, true);
}

// ---- Points in faces ----

Boolean VLUser3DObject::PointInFace(SInt16 face, const Vector3d* point, UInt8 onEdgeCounts) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return false;
  const FaceRecord& record = faces[face];
  const SInt16* loop = LoopEntries(record);
  if (record.degenerate || !loop) return false;
  if (std::fabs(record.a * point->x + record.b * point->y + record.c * point->z + record.d) > kOnPlane) return false;

  const FaceAxes axes = AxesAcross(record);
  const double xu = VectorComponent(*point, axes.u), xv = VectorComponent(*point, axes.v);
  const SInt16 n = record.loopCount;
  int crossings = 0, edgesUnder = 0;
  for (SInt16 k = 0; k < n; ++k) {
    const Vector3d& P = vertices[loop[k]];
    const Vector3d& Q = vertices[loop[(k + 1) % n]];
    const double pu = VectorComponent(P, axes.u), pv = VectorComponent(P, axes.v);
    const double qu = VectorComponent(Q, axes.u), qv = VectorComponent(Q, axes.v);
    const double du = qu - pu, dv = qv - pv;
    if (du == 0.0 && dv == 0.0) continue;
    const double e = std::fabs((xu - pu) * dv - (xv - pv) * du) /
                     (std::fabs(du) + std::fabs(dv) - 0.5 * std::fmin(std::fabs(du), std::fabs(dv)));
    if (e < kOnEdge && std::fmin(pu, qu) <= xu && xu <= std::fmax(pu, qu) && std::fmin(pv, qv) <= xv &&
        xv <= std::fmax(pv, qv)) {
      ++edgesUnder;
      continue;
    }
    // Each side is taken as reaching up to one end in u and not the other, so that a test ray
    // through a corner counts the boundary once where it passes through and never at a tip.
    if ((pu > xu) == (qu > xu)) continue;
    const double s = (xu - pu) / du;
    if (pv + s * dv - xv >= kOnEdge) ++crossings;
  }
  if (edgesUnder > 0 && !onEdgeCounts) return true;
  return (crossings + edgesUnder) % 2 == 1;
}

// ---- Face frames ----

void VLUser3DObject::GetFaceFrame(Point panePoint, SInt16 face, Matrix4d* toFrame, Matrix4d* fromFrame) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return;
  FrameOfFace(this, panePoint, face, toFrame, fromFrame);
}

Boolean VLUser3DObject::BuildFaceFrames(VLViewTransform* view, Handle* toFrames, Handle* fromFrames) {
  *toFrames = nullptr;
  *fromFrames = nullptr;
  const Size size = Size(faceCount > 0 ? faceCount : 0) * Size(sizeof(Matrix4d));
  Handle to = PortAllocHandle(size);
  if (!to) ThrowIfOSErr(PortMemError() != noErr ? PortMemError() : OSErr(memFullErr), kDEErrorNotEnoughMemory);
  Handle from = PortAllocHandle(size);
  if (!from) {
    const OSErr err = PortMemError() != noErr ? PortMemError() : OSErr(memFullErr);
    PortFreeHandle(to);
    ThrowIfOSErr(err, kDEErrorNotEnoughMemory);
  }
  // The frames the crosshair works in start at the middle of the pane's left edge.
  const Point leftMiddle{SInt16(view->halfPaneHeight), 0};
  SetArrayPointers();
  for (SInt16 i = 0; i < faceCount; ++i) {
    if (faces[i].degenerate) continue;
    GetFaceFrame(leftMiddle, i, reinterpret_cast<Matrix4d*>(*to) + i, reinterpret_cast<Matrix4d*>(*from) + i);
    SetArrayPointers();
  }
  *toFrames = to;
  *fromFrames = from;
  return true;
}

// ---- Local extents and farthest points ----

void VLUser3DObject::GetLocalBounds(double* box) {
  SetArrayPointers();
  for (int i = 0; i < 3; ++i) {
    box[i] = kGeomSearchStart;
    box[i + 3] = -kGeomSearchStart;
  }
  if (HasCurrentFace()) {
    Matrix4d toFrame, fromFrame;
    CurrentFaceFrame(this, &toFrame, &fromFrame);
    SetArrayPointers();
    for (SInt16 v : DistinctLoopVertices(faces[currentFace], vertexCount)) {
      Vector3d p;
      TransformPoint4x4(&vertices[v], &toFrame, &p);
      Widen(box, p);
    }
    return;
  }
  const CObjectTransformer* axes = OwnAxes(this);
  for (SInt16 i = 0; i < vertexCount; ++i) {
    Vector3d p = vertices[i];
    if (axes) axes->ToLocal(&p, &p);
    Widen(box, p);
  }
}

void VLUser3DObject::FarthestCorner(const Vector3d* point, Vector3d* corner, Vector3d* flatAxis) {
  double box[6];
  GetLocalBounds(box);
  const auto farthestOf = [&](const Vector3d* candidates, int count, const Vector3d& from) {
    double best = kNoDistance;
    Vector3d chosen = candidates[0];
    for (int k = 0; k < count; ++k) {
      const double distance = VectorDistance(&candidates[k], &from);
      if (distance > best) {
        best = distance;
        chosen = candidates[k];
      }
    }
    return chosen;
  };
  const double lx = box[0], ly = box[1], lz = box[2], hx = box[3], hy = box[4], hz = box[5];

  if (HasCurrentFace()) {
    Matrix4d toFrame, fromFrame;
    CurrentFaceFrame(this, &toFrame, &fromFrame);
    Vector3d local;
    TransformPoint4x4(point, &toFrame, &local);
    const Vector3d corners[4] = {{lx, ly, 0}, {lx, hy, 0}, {hx, ly, 0}, {hx, hy, 0}};
    const Vector3d chosen = farthestOf(corners, 4, local);
    TransformPoint4x4(&chosen, &fromFrame, corner);
    return;
  }

  const CObjectTransformer* axes = OwnAxes(this);
  Vector3d local = *point;
  if (axes) axes->ToLocal(&local, &local);
  const Vector3d corners[8] = {{lx, ly, lz}, {lx, ly, hz}, {lx, hy, lz}, {lx, hy, hz},
                               {hx, ly, lz}, {hx, ly, hz}, {hx, hy, lz}, {hx, hy, hz}};
  *corner = farthestOf(corners, 8, local);
  if (axes) axes->ToWorld(corner, corner);

  // An axis along which the object has (next to) no extent: the object is flat across it.
  const double extents[3] = {hx - lx, hy - ly, hz - lz};
  double largest = 0.0;
  for (double e : extents)
    if (e > largest) largest = e;
  *flatAxis = Vector3d{};
  for (int k = 0; k < 3; ++k) {
    if (!(extents[k] < largest * kFlatAxisShare)) continue;
    if (axes) {
      Vector3d frameAxes[3];
      axes->GetAxes(&frameAxes[0], &frameAxes[1], &frameAxes[2]);
      *flatAxis = frameAxes[k];
    } else {
      VectorComponent(*flatAxis, k) = 1.0;
    }
    break;
  }
}

void VLUser3DObject::FarthestVertex(const Vector3d* point, Vector3d* out) {
  FarthestSearch search(this, *point);
  const bool faceOnly = HasCurrentFace();
  for (SInt16 i = 0; i < vertexCount; ++i) {
    if (faceOnly && !FaceHasVertex(currentFace, i)) continue;
    SetArrayPointers();
    search.Offer(vertices[i], out);
  }
}

void VLUser3DObject::FarthestEdgeMidpoint(const Vector3d* point, Vector3d* out) {
  FarthestSearch search(this, *point);
  const bool faceOnly = HasCurrentFace();
  for (SInt16 e = 0; e < edgeCount; ++e) {
    SetArrayPointers();
    const EdgeRecord edge = edges[e];
    if (faceOnly && !(FaceHasVertex(currentFace, edge.a) && FaceHasVertex(currentFace, edge.b))) continue;
    Vector3d candidate;
    EdgeMidpoint(e, &candidate);
    search.Offer(candidate, out);
  }
}
