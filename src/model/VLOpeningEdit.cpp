// Edits of an opening: moves of the whole opening or of one side, scaling, vertex and corner
// drags, the drawing tool's corner snap, nudges within the wall, the palette's edits and
// duplicates. Every edit keeps the front outline on the owner's front face and the back outline
// on its back face, or undoes itself.
#include <cmath>
#include <memory>
#include <vector>

#include "Alerts.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "Memory.h"
#include "ObjectInfoRecord.h"
#include "Selection.h"
#include "Unwinding.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"
#include "VLViewTransform.h"

namespace {

constexpr SInt16 kBeep = 1;

// A copy of the vertices, released on every way out.
struct HandleFreer {
  void operator()(Handle h) const { PortFreeHandle(h); }
};
using VertexCopy = std::unique_ptr<char*, HandleFreer>;

VertexCopy CopyOfVertices(VLUser3DObject* object) {
  VertexCopy copy(object->CopyVertices());
  if (!copy) ThrowIfOSErr(PortMemError() != noErr ? PortMemError() : OSErr(memFullErr), kDEErrorNotEnoughMemory);
  return copy;
}

// The two face-frame blocks of an owner for a view, released on every way out.
struct FaceFrames {
  VertexCopy to;
  VertexCopy from;
  bool Made(VLUser3DObject* owner, VLViewTransform* view) {
    Handle toFrames = nullptr, fromFrames = nullptr;
    const bool made = view && owner->BuildFaceFrames(view, &toFrames, &fromFrames);
    to.reset(toFrames);
    from.reset(fromFrames);
    return made && to && from;
  }
  const Matrix4d* To(SInt16 face) const { return reinterpret_cast<const Matrix4d*>(*to) + face; }
  const Matrix4d* From(SInt16 face) const { return reinterpret_cast<const Matrix4d*>(*from) + face; }
};

// The state of one corner drag, kept from its first step to its last (one drag at a time).
struct CornerDrag {
  UInt8 backOutline = 0;
  SInt16 next = 0;
  SInt16 nextButOne = 0;
  SInt16 previous = 0;
  SInt16 previousButOne = 0;
  int firstAxis = 0;
  int secondAxis = 1;
};
CornerDrag gCornerDrag;

// The two model axes spanning a plane: the normal's dominant axis left out.
void AxesAcross(const FaceRecord& plane, int* first, int* second) {
  const double a = std::fabs(plane.a), b = std::fabs(plane.b), c = std::fabs(plane.c);
  if (a > b) {
    *first = a > c ? 2 : 0;
    *second = 1;
  } else {
    *first = b > c ? 2 : 1;
    *second = 0;
  }
}

Vector3d InPlane(const Vector3d& p, int first, int second) {
  return Vector3d{VectorComponent(p, first), VectorComponent(p, second), 0.0};
}

// along + t (to - along) in all three coordinates.
Vector3d Along(const Vector3d& from, const Vector3d& to, double t) {
  Vector3d d;
  VectorSubtract(&to, &from, &d);
  VectorScale(&d, t, &d);
  VectorAdd(&from, &d, &d);
  return d;
}

}  // namespace

// ---- Moving the opening or one side ----

void VLOpening::Move(const Vector3d* offset) {
  VertexCopy before = CopyOfVertices(this);
  VLUser3DObject::Move(offset);
  if (owner && (std::fabs(frontOutline.a) != std::fabs(backOutline.a) ||
                std::fabs(frontOutline.b) != std::fabs(backOutline.b) ||
                std::fabs(frontOutline.c) != std::fabs(backOutline.c))) {
    // The wall's two faces are not parallel: the outlines are laid onto them again.
    const SInt16 k = SideCount();
    for (SInt16 i = 0; i < k; ++i) {
      SetArrayPointers();
      Vector3d at = vertices[i], behind;
      if (!owner->ProjectOntoFace(&at, frontFace, &at)) break;
      SetArrayPointers();
      vertices[i] = at;
      if (owner->FindOppositeFace(&at, frontFace, &behind) != backFace) break;
      SetArrayPointers();
      vertices[k + i] = behind;
    }
    CalcFacePlanes();
  }
  if (FitsOwnerFaces()) {
    MarkChanged();
    return;
  }
  // Back where it was, exactly, also after the outlines were laid on again.
  RestoreVertices(before.get());
  PortBeep(kBeep);
}

void VLOpening::MoveUnchecked(const Vector3d* offset) { VLUser3DObject::Move(offset); }

void VLOpening::MoveAll(const Vector3d* offset) {
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) VectorAdd(&vertices[i], offset, &vertices[i]);
  needsRedraw = 1;
  CalcFacePlanes();
  changed = 1;
}

void VLOpening::MoveSide(SInt16 face, const Vector3d* offset) {
  SInt16 first = 0;
  if (!OutlineRange(face, &first)) return;
  SetArrayPointers();
  for (SInt16 i = first; i < first + SideCount(); ++i) VectorAdd(&vertices[i], offset, &vertices[i]);
  needsRedraw = 1;
  CalcFacePlanes();
  OrientFaces();
  changed = 1;
}

void VLOpening::ScaleSide(SInt16 face, const Vector3d* centre, const Vector3d* factors) {
  SInt16 first = 0;
  if (!OutlineRange(face, &first)) return;
  SetArrayPointers();
  for (SInt16 i = first; i < first + SideCount(); ++i) ScalePointAbout(&vertices[i], centre, factors);
  CalcFacePlanes();
  MarkChanged();
}

void VLOpening::MoveFace(SInt16 face, const Vector3d* offset) {
  SInt16 first = 0;
  if (!OutlineRange(face, &first)) return;
  MoveSide(face, offset);
  ObjectInfoRecord info;
  GetReferencePoint(&info.position);
  NotifyDependents(kInfoMoved, &info);
}

// ---- Scaling and stretching ----

void VLOpening::ScaleAbout(const Vector3d* centre, const Vector3d* factors) {
  VertexCopy before = CopyOfVertices(this);
  VLUser3DObject::ScaleAbout(centre, factors);
  RefitToFace(frontFace);
  RefitToFace(backFace);
  if (FitsOwnerFaces()) return;
  RestoreVertices(before.get());
  PortBeep(kBeep);
}

void VLOpening::Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle) {
  VertexCopy before = CopyOfVertices(this);
  VLUser3DObject::Stretch(anchor, factors, handle);
  RefitToFace(frontFace);
  RefitToFace(backFace);
  if (!FitsOwnerFaces()) RestoreVertices(before.get());
}

// ---- Vertex and corner drags ----

void VLOpening::MoveVertex(SInt16 vertex, const Vector3d* position, long) {
  SetArrayPointers();
  const SInt16 k = SideCount();
  if (!owner || vertex < 0 || vertex >= 2 * k) return;
  const bool front = vertex < k;
  const SInt16 partner = front ? SInt16(vertex + k) : SInt16(vertex - k);
  const SInt16 ownFace = front ? frontFace : backFace;
  const SInt16 targetFace = front ? backFace : frontFace;
  const Vector3d wasVertex = vertices[vertex], wasPartner = vertices[partner];
  vertices[vertex] = *position;
  Vector3d across;
  if (owner->FindOppositeFace(position, ownFace, &across) == targetFace) {
    SetArrayPointers();
    vertices[partner] = across;
  }
  CalcFacePlanes();
  RefitToFace(frontFace);
  RefitToFace(backFace);
  if (FitsOwnerFaces()) {
    MarkChanged();
    return;
  }
  SetArrayPointers();
  vertices[vertex] = wasVertex;
  vertices[partner] = wasPartner;
  CalcFacePlanes();
}

void VLOpening::StretchToHandle(SInt16* corner, const Vector3d* mousePoint, VLViewTransform*, Boolean continuing) {
  const SInt16 d = *corner;
  const SInt16 k = SideCount();
  if (!owner || d < 0 || d >= 2 * k || k < 3) return;
  VertexCopy before = CopyOfVertices(this);
  CornerDrag& drag = gCornerDrag;
  if (!continuing) {
    drag.backOutline = FaceHasVertex(kFrontOutlineFace, d) ? 0 : 1;
    const FaceRecord& outline = drag.backOutline ? backOutline : frontOutline;
    const SInt16* loop = LoopEntries(outline);
    if (!loop || outline.loopCount != k) return;
    SInt16 p = 0;
    while (p < k && loop[p] != d) ++p;
    if (p == k) return;
    drag.next = loop[(p + 1) % k];
    drag.nextButOne = loop[(p + 2) % k];
    drag.previous = loop[(p + k - 1) % k];
    drag.previousButOne = loop[(p + k - 2) % k];
    AxesAcross(outline, &drag.firstAxis, &drag.secondAxis);
  }
  SetArrayPointers();
  const Vector3d P = *mousePoint, D = vertices[d];
  const Vector3d N = vertices[drag.next], Q = vertices[drag.nextButOne];
  const Vector3d V = vertices[drag.previous], R = vertices[drag.previousButOne];
  Vector3d moved;
  VectorSubtract(&P, &D, &moved);
  // Where the side through P, parallel to the dragged corner's side, meets the far side.
  const auto crossing = [&](const Vector3d& side, const Vector3d& farEnd) {
    Vector3d shifted;
    VectorAdd(&side, &moved, &shifted);
    const Vector3d p0 = InPlane(P, drag.firstAxis, drag.secondAxis);
    const Vector3d p1 = InPlane(shifted, drag.firstAxis, drag.secondAxis);
    const Vector3d q0 = InPlane(farEnd, drag.firstAxis, drag.secondAxis);
    const Vector3d q1 = InPlane(side, drag.firstAxis, drag.secondAxis);
    double tP = 0.0, sQ = kGeomNoValue;
    IntersectLines2D(&p0, &p1, &q0, &q1, &tP, &sQ);
    return sQ;
  };
  const double t = crossing(N, Q), tPrevious = crossing(V, R);
  vertices[d] = P;
  vertices[drag.next] = Along(Q, N, t);
  vertices[drag.previous] = Along(R, V, tPrevious);

  // The other outline follows through the owner.
  const SInt16 first = drag.backOutline ? k : 0;
  std::vector<Vector3d> found(static_cast<std::size_t>(k));
  bool placed = true;
  for (SInt16 i = 0; i < k && placed; ++i) {
    SetArrayPointers();
    const Vector3d at = vertices[first + i];
    placed = drag.backOutline ? bool(owner->ProjectOntoFace(&at, frontFace, &found[std::size_t(i)]))
                              : owner->FindOppositeFace(&at, frontFace, &found[std::size_t(i)]) == backFace;
  }
  if (placed) {
    SetArrayPointers();
    const SInt16 other = drag.backOutline ? 0 : k;
    for (SInt16 i = 0; i < k; ++i) vertices[other + i] = found[std::size_t(i)];
    if (FitsOwnerFaces()) {
      CalcFacePlanes();
      MarkChanged();
      return;
    }
  }
  RestoreVertices(before.get());
}

Boolean VLOpening::BuildGeometry(VLViewTransform*, SInt16 mode, const Vector3d* modelPoint, SInt16, VLViewPane*) {
  if (!mode || !owner || backFace < 0 || backFace >= owner->faceCount) return false;
  // The corner is dropped onto the plane of the owner's back face.
  owner->SetArrayPointers();
  const FaceRecord& back = owner->faces[backFace];
  const Vector3d n{back.a, back.b, back.c};
  const double squared = VectorDot(&n, &n);
  if (!(squared > 0.0)) return false;
  backPlaneNormal = n;
  backPlaneOffset = back.d;
  oppositeFrontCorner = *modelPoint;
  backDistance = VectorDot(&n, modelPoint) + backPlaneOffset;
  Vector3d drop;
  VectorScale(&n, backDistance / squared, &drop);
  VectorSubtract(modelPoint, &drop, &oppositeBackCorner);
  MarkChanged();
  SetBoxFromCorners();
  CalcFacePlanes();
  return true;
}

// ---- Nudges and duplicates in the wall's frame ----

void VLOpening::Nudge(const Vector3d* offset) {
  VLViewTransform* view = gCurrentViewTransform;
  FaceFrames frames;
  if (!owner || !view || !frames.Made(owner, view)) return;
  const SInt16 face = FaceTowardView(view);
  if (face < 0 || face >= owner->faceCount) return;
  SetArrayPointers();
  const Vector3d start = vertices[0];
  Vector3d p;
  TransformPoint4x4(&start, frames.To(face), &p);
  p.x += offset->x;
  if (offset->y != 0.0)
    p.y -= offset->y;
  else
    p.y += offset->z;
  TransformPoint4x4(&p, frames.From(face), &p);
  Vector3d move;
  VectorSubtract(&p, &start, &move);
  Move(&move);
}

void VLOpening::DuplicateMoved(VLUser3DObject** copy, const Vector3d* offset) {
  *copy = nullptr;
  VLViewTransform* view = gCurrentViewTransform;
  Owned<VLUser3DObject> made(MakeCopy(nullptr));
  FaceFrames frames;
  if (!made || !owner || !view || !frames.Made(owner, view)) return;
  auto* duplicate = static_cast<VLOpening*>(made.get());
  const SInt16 face = FaceTowardView(view);
  if (face < 0 || face >= owner->faceCount) return;

  // The width: the longest step across the face between consecutive front corners.
  SetArrayPointers();
  const SInt16 k = SideCount();
  std::vector<Vector3d> corners(vertices, vertices + k);
  double width = 0.0;
  for (SInt16 i = 0; i < k; ++i) {
    Vector3d a, b;
    TransformPoint4x4(&corners[std::size_t(i)], frames.To(face), &a);
    TransformPoint4x4(&corners[std::size_t((i + 1) % k)], frames.To(face), &b);
    width = std::fmax(width, std::fabs(b.x - a.x));
  }
  const bool besideIt = std::fabs(offset->x) < width;
  const double stepX = besideIt ? width : offset->x, stepY = besideIt ? 0.0 : offset->y;
  Vector3d p;
  TransformPoint4x4(&corners[0], frames.To(face), &p);
  p.x += stepX;
  p.y += stepY;
  TransformPoint4x4(&p, frames.From(face), &p);
  Vector3d move;
  VectorSubtract(&p, &corners[0], &move);

  const auto fits = [duplicate] {
    return duplicate->RefitToFace(duplicate->frontFace) && duplicate->RefitToFace(duplicate->backFace);
  };
  duplicate->MoveUnchecked(&move);
  if (!fits()) {
    // No room there: the other side of the opening.
    VectorScale(&move, -1.0, &move);
    duplicate->MoveUnchecked(&move);
    duplicate->MoveUnchecked(&move);
  }
  if (!fits()) duplicate->Move(&move);
  // A copy that fits on neither side would sit off its wall (its move beeped): no duplicate.
  if (!duplicate->FitsOwnerFaces()) return;
  *copy = made.release();
}

// ---- The palette's edits ----

void VLOpening::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  const auto* typed = static_cast<const ObjectInfoRecord*>(info);
  if (reason != kInfoMoved && reason != kInfoResized && reason != kInfoRotated) {
    VLUser3DObject::ProviderChanged(provider, reason, info);
    return;
  }
  if (typed && reason == kInfoMoved) {
    VertexCopy before = CopyOfVertices(this);
    Vector3d at, ownerAt, offset;
    GetReferencePoint(&at);
    if (owner) owner->GetReferencePoint(&ownerAt);
    // The typed position is relative to the owner: the move is the wanted less the present.
    VectorSubtract(&at, &ownerAt, &at);
    VectorSubtract(&typed->position, &at, &offset);
    Move(&offset);
    if (!FitsOwnerFaces()) RestoreVertices(before.get());
  } else if (typed && reason == kInfoResized) {
    VertexCopy before = CopyOfVertices(this);
    Vector3d size, axes[3];
    GetSize(&size, &axes[0], &axes[1], &axes[2]);
    Vector3d factors;
    for (int i = 0; i < 3; ++i) {
      if (VectorComponent(size, i) == 0.0) {
        // No extent along this axis: the typed size pushes a face out instead.
        Vector3d push;
        VectorComponent(push, i) = VectorComponent(typed->size, i);
        PushFace(&push, nullptr);
        VectorComponent(factors, i) = 1.0;
      } else {
        VectorComponent(factors, i) = VectorComponent(typed->size, i) / VectorComponent(size, i);
      }
    }
    Vector3d centre;
    GetReferencePoint(&centre);
    if (rotationAngle == 0.0) {
      ScaleAbout(&centre, &factors);
    } else {
      // Along the opening's own axes: c + R S R^T (p - c) for every vertex but the reference.
      SetArrayPointers();
      for (SInt16 v = 0; v < vertexCount; ++v) {
        if (v == referenceVertex) continue;
        Vector3d d, out = centre;
        VectorSubtract(&vertices[v], &centre, &d);
        for (int i = 0; i < 3; ++i) {
          Vector3d along;
          VectorScale(&axes[i], VectorDot(&axes[i], &d) * VectorComponent(factors, i), &along);
          VectorAdd(&out, &along, &out);
        }
        vertices[v] = out;
      }
      MarkChanged();
    }
    if (!FitsOwnerFaces()) RestoreVertices(before.get());
  }
  if (gObjectInfoBox && provider == gObjectInfoBox->PaletteCollaborator()) NotifyInfoBox(kInfoChanged);
}
