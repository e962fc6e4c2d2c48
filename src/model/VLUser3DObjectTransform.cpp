// Moving, rotating, scaling, stretching, mirroring and matrix transforms of a model object, its
// own frame, and the palette's notices that move, turn and resize it.
#include <cmath>
#include <new>
#include <vector>

#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "ObjectInfoRecord.h"
#include "VLUser3DObject.h"

namespace {

constexpr double kFlatExtent = 1e-5;  // anchor and handle this close along an axis: the object is flat there
constexpr double kNoVolume = 1e-9;    // unit axes whose parallelepiped is this thin span no volume

// The vertices an operation marked "face mode" acts on: the current face's, or every vertex.
std::vector<SInt16> ActedVertices(VLUser3DObject* object) {
  object->SetArrayPointers();
  if (object->HasCurrentFace()) return DistinctLoopVertices(object->faces[object->currentFace], object->vertexCount);
  std::vector<SInt16> all(std::size_t(object->vertexCount > 0 ? object->vertexCount : 0));
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = SInt16(i);
  return all;
}

// Scales each component whose factor is not exactly 1 about the anchor.
void ScaleComponents(Vector3d* p, Vector3d anchor, Vector3d factors) {
  for (int i = 0; i < 3; ++i) {
    const double f = VectorComponent(factors, i);
    if (f != 1.0)
      VectorComponent(*p, i) = VectorComponent(*p, i) * f - VectorComponent(anchor, i) * f + VectorComponent(anchor, i);
  }
}

Vector3d AlongAxis(int i, double length) {
  Vector3d v;
  VectorComponent(v, i) = length;
  return v;
}

Vector3d UnitFromTo(const Vector3d& from, const Vector3d& to) {
  Vector3d d;
  VectorSubtract(&to, &from, &d);
  VectorDivide(&d, VectorLength(&d), &d);
  return d;
}

// Scales every vertex about the reference point along the three axes: into the point's
// components along them, scale, and back. The components come from the inverse of the axes,
// which is their transpose while they are orthonormal; for the edges of a sheared object the
// transpose would not give the components back, and typing the size shown would bend the
// object. Axes that span no volume give no components: the object is left alone.
void ScaleAlongAxes(VLUser3DObject* object, const Vector3d& reference, const Vector3d axes[3],
                    const Vector3d& factors) {
  const double volume = Determinant3(&axes[0], &axes[1], &axes[2]);
  if (!(std::fabs(volume) > kNoVolume)) return;
  Vector3d dual[3];
  for (int i = 0; i < 3; ++i) {
    VectorCross(&axes[(i + 1) % 3], &axes[(i + 2) % 3], &dual[i]);
    VectorDivide(&dual[i], volume, &dual[i]);
  }
  Matrix4d toAxes, fromAxes, unused, scale, t;
  FrameMatrices(&dual[0], &dual[1], &dual[2], &reference, &toAxes, &unused);
  FrameMatrices(&axes[0], &axes[1], &axes[2], &reference, &unused, &fromAxes);
  SetIdentity4x4(&scale);
  SetScale4x4(&scale, factors.x, factors.y, factors.z);
  MatrixMultiply(&toAxes, &scale, MatrixShape{}, MatrixShape{}, &t);
  MatrixMultiply(&t, &fromAxes, MatrixShape{}, MatrixShape{}, &t);
  object->SetArrayPointers();
  for (SInt16 i = 0; i < object->vertexCount; ++i) TransformPoint4x4(&object->vertices[i], &t, &object->vertices[i]);
  object->MarkChanged();
}

}  // namespace

// ---- The palette's notices ----

void VLUser3DObject::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  const auto* typed = static_cast<const ObjectInfoRecord*>(info);
  if (!typed || (reason != kInfoMoved && reason != kInfoRotated && reason != kInfoResized)) {
    VL3DObject::ProviderChanged(provider, reason, info);
    return;
  }
  Vector3d reference;
  GetReferencePoint(&reference);
  if (reason == kInfoMoved) {
    Vector3d offset;
    VectorSubtract(&typed->position, &reference, &offset);
    Move(&offset);
    return;
  }
  if (reason == kInfoRotated) {
    Rotate(typed->angle - rotationAngle, &reference);
    return;
  }

  Vector3d size, axes[3];
  GetSize(&size, &axes[0], &axes[1], &axes[2]);
  Vector3d factors;
  Vector3d wanted = typed->size;
  for (int i = 0; i < 3; ++i) {
    // No extent to scale along this axis: the typed size thickens the object instead.
    if (VectorComponent(size, i) == 0.0) {
      const Vector3d push = AlongAxis(i, VectorComponent(wanted, i));
      PushFace(&push, nullptr);
      VectorComponent(factors, i) = 1.0;
    } else {
      VectorComponent(factors, i) = VectorComponent(wanted, i) / VectorComponent(size, i);
    }
  }
  if (rotationAngle == 0.0)
    ScaleAbout(&reference, &factors);
  else
    ScaleAlongAxes(this, reference, axes, factors);
  CalcFacePlanes();
  OrientFaces();
}

// ---- Moves, turns and scaling ----

void VLUser3DObject::ScaleAbout(const Vector3d* centre, const Vector3d* factors) {
  const std::vector<SInt16> acted = ActedVertices(this);
  for (SInt16 v : acted) ScalePointAbout(&vertices[v], centre, factors);
  CalcFacePlanes();
  MarkChanged();
}

void VLUser3DObject::Rotate(double angle, const Vector3d* centre) {
  if (!frame) CreateFrame();
  const double r = angle * kDegreesToRadians;
  const double c = std::cos(r), s = std::sin(r);
  changed = 1;
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) {
    Vector3d p;
    WorldToDrawingPlane(&vertices[i], &p);
    TurnInDrawingPlane(&p, centre, c, s);
    DrawingPlaneToWorld(&p, &vertices[i]);
  }
  needsRedraw = 1;
  changed = 1;
  if (frame) {
    frame->RotateAxes(angle, centre);
    UpdateFrame();
  }
  // One correction from each side: the angle stays in [0, 360) while every single turn is
  // less than a full one.
  rotationAngle += angle;
  if (rotationAngle < 0.0) rotationAngle += 360.0;
  if (rotationAngle >= 360.0) rotationAngle -= 360.0;
  NotifyInfoBox(kInfoRotated);
  CalcFacePlanes();
}

void VLUser3DObject::Transform(const Matrix4d* matrix) {
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) TransformPoint3x4(matrix, &vertices[i], &vertices[i]);
  MarkChanged();
}

void VLUser3DObject::Move(const Vector3d* offset) {
  if (HasCurrentFace()) {
    MoveFace(currentFace, offset);
    return;
  }
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) VectorAdd(&vertices[i], offset, &vertices[i]);
  needsRedraw = 1;
  CalcFacePlanes();
  NotifyInfoBox(kInfoMoved);
  changed = 1;
}

void VLUser3DObject::Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle) {
  const Vector3d anchor0 = *anchor, factors0 = *factors, handle0 = *handle;
  if (HasCurrentFace()) {
    const std::vector<SInt16> acted = ActedVertices(this);
    for (SInt16 v : acted) {
      Vector3d p;
      WorldToDrawingPlane(&vertices[v], &p);
      ScaleComponents(&p, anchor0, factors0);
      DrawingPlaneToWorld(&p, &vertices[v]);
    }
  } else {
    // With a frame the factors apply along the object's own axes. A frame whose matrices
    // cannot be built leaves the stretch in world axes.
    UpdateFrame();
    const CObjectTransformer* axes = frame && frame->HasMatrices() ? frame : nullptr;
    Vector3d a = anchor0, f = factors0, h = handle0;
    if (axes) {
      // Where the handle goes in world terms, seen in the frame, gives the frame factors.
      Vector3d travel, moved;
      VectorSubtract(&handle0, &anchor0, &travel);
      VectorMultiply(&factors0, &travel, &travel);
      VectorAdd(&anchor0, &travel, &moved);
      axes->ToLocal(&a, &a);
      axes->ToLocal(&h, &h);
      axes->ToLocal(&moved, &moved);
      for (int i = 0; i < 3; ++i) {
        const double was = VectorComponent(h, i) - VectorComponent(a, i),
                     now = VectorComponent(moved, i) - VectorComponent(a, i);
        VectorComponent(f, i) = std::fabs(was) <= kFlatExtent ? now : now / was;
      }
    }
    for (int i = 0; i < 3; ++i) {
      if (std::fabs(VectorComponent(h, i) - VectorComponent(a, i)) <= kFlatExtent && VectorComponent(f, i) != 0.0) {
        const Vector3d push = AlongAxis(i, VectorComponent(f, i));
        PushFace(&push, nullptr);
        VectorComponent(f, i) = 1.0;
      }
    }
    SetArrayPointers();
    for (SInt16 i = 0; i < vertexCount; ++i) {
      Vector3d p = vertices[i];
      if (axes) axes->ToLocal(&p, &p);
      ScaleComponents(&p, a, f);
      if (axes)
        axes->ToWorld(&p, &vertices[i]);
      else
        vertices[i] = p;
    }
  }
  *anchor = anchor0;
  *factors = factors0;
  *handle = handle0;
  CalcFacePlanes();
  MarkChanged();
}

void VLUser3DObject::TransformVertices(const Matrix4d* matrix) {
  const std::vector<SInt16> acted = ActedVertices(this);
  for (SInt16 v : acted) TransformPoint4x4(&vertices[v], matrix, &vertices[v]);
  CalcFacePlanes();
  MarkChanged();
}

void VLUser3DObject::Nudge(const Vector3d* offset) { Move(offset); }

void VLUser3DObject::MoveFace(SInt16 face, const Vector3d* offset) {
  SetArrayPointers();
  if (face < 0 || face >= faceCount) return;
  for (SInt16 v : DistinctLoopVertices(faces[face], vertexCount)) VectorAdd(&vertices[v], offset, &vertices[v]);
  needsRedraw = 1;
  CalcFacePlanes();
  OrientFaces();
  // Every dependent hears of it, not only the palette; only the position is filled in.
  ObjectInfoRecord info;
  GetReferencePoint(&info.position);
  NotifyDependents(kInfoMoved, &info);
  changed = 1;
}

void VLUser3DObject::Flip(SInt16 axisCode, double planeOffset, double shift) {
  const SInt16 k = axisCode == 1 ? 0 : axisCode == 2 ? 2 : 1;
  Vector3d normal;
  VectorComponent(normal, k) = -1.0;
  Vector3d reference;
  GetReferencePoint(&reference);
  SetArrayPointers();
  // The mirror image through the signed plane value: a vertex below the plane lands above it
  // as one above lands below (the flip commands pass the lower end, so all lie above).
  for (SInt16 i = 0; i < vertexCount; ++i)
    VectorComponent(vertices[i], k) -=
        2.0 * PlaneEvaluate(&vertices[i], &normal, planeOffset) * VectorComponent(normal, k);
  for (SInt16 i = 0; i < vertexCount; ++i) VectorComponent(vertices[i], k) += shift;
  if (frame) {
    frame->MirrorAxes(&normal, planeOffset, &reference, shift, k);
    frame->UpdateMatrices(&reference);
  }
  MarkChanged();
  CalcFacePlanes();
  OrientFaces();
}

// ---- The object's frame ----

Boolean VLUser3DObject::UpdateFrame() {
  if (!frame) return true;
  // A copy: building the matrices allocates, and the store may move meanwhile.
  Vector3d origin;
  GetReferencePoint(&origin);
  frame->UpdateMatrices(&origin);
  return true;
}

void VLUser3DObject::CreateFrame() {
  if (frame) return;
  Vector3d x, y, z;
  if (!DrawingPlaneAxes(&x, &y, &z)) {
    x = y = z = Vector3d{};
    VectorComponent(x, gAxisX) = 1.0;
    VectorComponent(y, gAxisY) = 1.0;
    VectorComponent(z, gAxisZ) = 1.0;
  }
  frame = new (std::nothrow) CObjectTransformer;
  if (frame) frame->SetAxes(&x, &y, &z);
}

void VLUser3DObject::CreateDefaultFrame() {
  if (frame) return;
  const Vector3d x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
  frame = new (std::nothrow) CObjectTransformer;
  if (frame) frame->SetAxes(&x, &y, &z);
}

void VLUser3DObject::SetFrame(CObjectTransformer* newFrame) {
  if (frame && frame != newFrame) frame->Dispose();
  frame = newFrame;
}

void VLUser3DObject::GetFrame(CObjectTransformer** out) {
  UpdateFrame();
  *out = frame;
}

// ---- Reference point and size ----

void VLUser3DObject::GetReferencePoint(Vector3d* out) {
  SetArrayPointers();
  *out = referenceVertex >= 0 && referenceVertex < vertexCount ? vertices[referenceVertex] : Vector3d{};
}

void VLUser3DObject::GetSize(Vector3d* size, Vector3d* xAxis, Vector3d* yAxis, Vector3d* zAxis) {
  SetArrayPointers();
  *size = Vector3d{};
  if (vertexCount <= 0) return;
  const SInt16 ref = referenceVertex >= 0 && referenceVertex < vertexCount ? referenceVertex : 0;
  const Vector3d r = vertices[ref];
  if (rotationAngle == 0.0) {
    Vector3d lo = r, hi = r;
    for (SInt16 i = 0; i < vertexCount; ++i) {
      for (int c = 0; c < 3; ++c) {
        Vector3d& p = vertices[i];
        if (VectorComponent(p, c) < VectorComponent(lo, c)) VectorComponent(lo, c) = VectorComponent(p, c);
        if (VectorComponent(p, c) > VectorComponent(hi, c)) VectorComponent(hi, c) = VectorComponent(p, c);
      }
    }
    VectorSubtract(&hi, &lo, size);
    return;
  }

  auto farEnd = [&](SInt16 e) -> SInt16 {
    if (edges[e].a < 0 || edges[e].a >= vertexCount || edges[e].b < 0 || edges[e].b >= vertexCount) return -1;
    if (edges[e].a == ref) return edges[e].b;
    if (edges[e].b == ref) return edges[e].a;
    return -1;
  };
  // Height: the edge at the reference vertex that rises most.
  SInt16 heightEdge = -1, heightEnd = 0;
  double rise = -1.0;
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const SInt16 end = farEnd(e);
    if (end < 0) continue;
    const double dz = std::fabs(vertices[end].z - r.z);
    if (dz > rise) {
      rise = dz;
      heightEdge = e;
      heightEnd = end;
    }
  }
  // Width and depth: the two longest of the others.
  SInt16 widthEnd = -1, depthEnd = -1;
  double longest = 0.0, second = 0.0;
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const SInt16 end = farEnd(e);
    if (end < 0 || e == heightEdge) continue;
    const double length = VectorDistance(&vertices[end], &r);
    if (length > longest) {
      second = longest;
      depthEnd = widthEnd;
      longest = length;
      widthEnd = end;
    } else if (length > second) {
      second = length;
      depthEnd = end;
    }
  }
  const Vector3d towardsFirst = UnitFromTo(r, vertices[0]);
  size->x = longest;
  size->y = second;
  size->z = VectorDistance(&vertices[heightEnd], &r);
  if (xAxis) *xAxis = widthEnd >= 0 ? UnitFromTo(r, vertices[widthEnd]) : towardsFirst;
  if (yAxis) *yAxis = depthEnd >= 0 ? UnitFromTo(r, vertices[depthEnd]) : towardsFirst;
  if (zAxis) *zAxis = UnitFromTo(r, vertices[heightEnd]);
}
