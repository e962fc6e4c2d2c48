// An opening's box, its place on its owner's faces, the outlines it gives the owner and the
// view, its selection and palette record, and copies.
#include "VLOpening.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "BoxLayout.h"
#include "CShadowCaster.h"
#include "DETException.h"
#include "GeometryKernel.h"
#include "Memory.h"
#include "ObjectInfoRecord.h"
#include "ObjectList.h"
#include "QuickDraw.h"
#include "Selection.h"
#include "Unwinding.h"
#include "VLOpeningOwner.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr SInt16 kBoxVertices = 8;
constexpr SInt16 kBoxEdges = 12;
constexpr SInt16 kBoxSides = 4;
// Imported box records give their points in this order: vertex i takes point kImportedOrder[i].
constexpr int kImportedOrder[kBoxVertices] = {1, 0, 4, 5, 2, 3, 7, 6};
constexpr double kUnsetMaximum = -kGeomSearchStart;

void FreeLoop(FaceRecord* record) {
  PortFreeHandle(record->loop);
  record->loop = nullptr;
  record->loopCount = 0;
}

// A copy of an outline record with a loop block of its own.
void CopyOutline(const FaceRecord& from, FaceRecord* to) {
  FreeLoop(to);
  *to = from;
  to->loop = nullptr;
  to->loopCount = 0;
  if (const SInt16* entries = LoopEntries(from)) {
    std::vector<SInt16> indices(entries, entries + from.loopCount);
    to->loop = boxlayout::NewLoopBlock(indices.data(), SInt16(indices.size()));
    to->loopCount = from.loopCount;
  }
}

void ReverseLoop(FaceRecord* record) {
  SInt16* loop = record->loop ? reinterpret_cast<SInt16*>(*record->loop) : nullptr;
  const SInt16 n = loop ? record->loopCount : 0;
  for (SInt16 i = 0; i < n / 2; ++i) std::swap(loop[i], loop[n - 1 - i]);
}

// Grows (or makes, when null) a block of items of the given size to count items; raises
// kDEErrorNotEnoughMemory.
Handle GrowBlock(Handle block, long count, Size itemSize) {
  const Size size = Size(count) * itemSize;
  if (!block) {
    block = PortAllocHandle(size);
    if (!block) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
    return block;
  }
  PortResizeHandle(block, size);
  ThrowIfMemError(kDEErrorNotEnoughMemory);
  return block;
}

bool PanePoint(const Vector3d& projected, Point* out) { return PanePointFromProjected(&projected, out); }

}  // namespace

VLOpening::VLOpening() { typeCode = kObjectTypeOpening; }

VLOpening::~VLOpening() {
  FreeLoop(&frontOutline);
  FreeLoop(&backOutline);
}

// ---- Helpers ----

bool VLOpening::OutlineRange(SInt16 face, SInt16* first) const {
  if (face == frontFace) {
    *first = 0;
    return true;
  }
  if (face == backFace) {
    *first = SideCount();
    return true;
  }
  return false;
}

void VLOpening::TakeOwnerLook() {
  color = owner->color;
  drawColor = RGBColor{UInt16(color.red >> 1), UInt16(color.green >> 1), UInt16(color.blue >> 1)};
  phase = owner->phase;
}

void VLOpening::RestoreVertices(Handle copy) {
  VLUser3DObject::SetVertices(copy);
  CalcFacePlanes();
}

SInt16 VLOpening::FaceTowardView(VLViewTransform* view) {
  Vector3d normal;
  owner->GetFaceNormal(frontFace, &normal);
  return VectorDot(&view->planeNormal, &normal) >= 0.0 ? frontFace : backFace;
}

// ---- The box ----

Boolean VLOpening::InitBoxStorage() {
  // Should the topology fail, the loops made so far and the store go with the exception.
  struct Unmade {
    VLOpening* opening;
    ~Unmade() {
      if (!opening) return;
      opening->SetArrayPointers();
      opening->ReleaseFaceLoops(0, opening->faceCapacity);
      opening->faceCount = 0;
      FreeLoop(&opening->frontOutline);
      FreeLoop(&opening->backOutline);
      PortFreeHandle(opening->storage);
      opening->storage = nullptr;
      opening->vertexCount = opening->edgeCount = opening->screenPointCount = 0;
      opening->SetArrayPointers();
    }
  } unmade{this};
  AllocateStorage(kBoxVertices, kBoxVertices, kBoxEdges, kBoxSides);
  vertexCount = kBoxVertices;
  screenPointCount = kBoxVertices;
  edgeCount = kBoxEdges;
  faceCount = kBoxSides;
  SetArrayPointers();
  BuildBoxTopology();
  unmade.opening = nullptr;
  if (!storage) return false;
  hasOwnedParts = 0;
  edgeHandlesShown = 0;
  referenceVertex = 0;
  return true;
}

void VLOpening::BuildBoxTopology() {
  SetArrayPointers();
  edgeCount = kBoxEdges;
  faceCount = kBoxSides;
  typeCode = kObjectTypeOpening;
  for (SInt16 e = 0; e < kBoxEdges; ++e) edges[e] = boxlayout::kEdgeList[e];

  const SInt16 k = SideCount();
  std::vector<SInt16> front(std::size_t(k > 0 ? k : 0)), back(front.size());
  for (SInt16 i = 0; i < k; ++i) {
    front[std::size_t(i)] = i;
    back[std::size_t(i)] = SInt16(k + i);
  }
  FreeLoop(&frontOutline);
  FreeLoop(&backOutline);
  frontOutline.loop = boxlayout::NewLoopBlock(front.data(), k);
  frontOutline.loopCount = k;
  frontOutline.degenerate = 0;
  backOutline.loop = boxlayout::NewLoopBlock(back.data(), k);
  backOutline.loopCount = k;
  backOutline.degenerate = 0;

  ReleaseFaceLoops(0, faceCapacity);
  // The sides are the box layout's faces 1 to 4.
  for (SInt16 f = 0; f < kBoxSides; ++f) {
    Handle loop = boxlayout::NewLoopBlock(boxlayout::kFaceLoops[f + 1], 4);
    SetArrayPointers();
    faces[f].loop = loop;
    faces[f].loopCount = 4;
    // A side without area: every vertex shares at least two coordinates with the first.
    const Vector3d& p0 = vertices[boxlayout::kFaceLoops[f + 1][0]];
    bool flat = true;
    for (SInt16 v : boxlayout::kFaceLoops[f + 1]) {
      const Vector3d& p = vertices[v];
      flat = flat && (p.x == p0.x) + (p.y == p0.y) + (p.z == p0.z) >= 2;
    }
    faces[f].degenerate = flat ? 1 : 0;
  }
}

Boolean VLOpening::SaveCorners() {
  SetArrayPointers();
  if (vertexCount >= kBoxVertices) {
    firstFrontCorner = vertices[0];
    oppositeFrontCorner = vertices[2];
    firstBackCorner = vertices[4];
    oppositeBackCorner = vertices[6];
  }
  return true;
}

void VLOpening::SetBoxFromCorners() {
  SetArrayPointers();
  if (vertexCount < kBoxVertices) return;
  const Vector3d& P = oppositeFrontCorner;
  const Vector3d& F = oppositeBackCorner;
  vertices[1] = Vector3d{P.x, P.y, vertices[1].z};
  vertices[2] = P;
  vertices[3] = Vector3d{vertices[3].x, vertices[3].y, P.z};
  vertices[5] = Vector3d{F.x, F.y, vertices[5].z};
  vertices[6] = F;
  vertices[7] = Vector3d{vertices[7].x, vertices[7].y, F.z};
}

Boolean VLOpening::IsPolylineOpening() { return false; }

// ---- Placing the opening on its owner ----

Boolean VLOpening::CreateOnFace(UInt8 mode, const Vector3d* points, SInt16 face, VLOpeningOwner* newOwner) {
  if (mode == 0) {
    if (!newOwner || !InitBoxStorage()) return false;
    owner = newOwner;
    TakeOwnerLook();
    frontFace = face;
    Vector3d behind = points[0];
    backFace = owner->FindOppositeFace(&points[0], frontFace, &behind);
    SetArrayPointers();
    const SInt16 k = SideCount();
    for (SInt16 i = 0; i < k; ++i) {
      vertices[i] = points[0];
      vertices[k + i] = behind;
    }
    if (backFace < 0) return false;
    owner->AddOpening(this);
    return true;
  }
  if (!owner || !storage) return false;
  Vector3d behind[kBoxSides];
  for (SInt16 i = 0; i < kBoxSides; ++i)
    if (owner->FindOppositeFace(&points[i], frontFace, &behind[i]) != backFace) return false;
  SetArrayPointers();
  for (SInt16 i = 0; i < kBoxSides; ++i) {
    vertices[i] = points[i];
    vertices[kBoxSides + i] = behind[i];
  }
  CalcFacePlanes();
  return true;
}

void VLOpening::DetachFromOwner() {
  if (owner) owner->RemoveOpening(this);
}

void VLOpening::AttachToOwner() {
  if (owner) owner->AddOpening(this);
}

Boolean VLOpening::FitsOwnerFaces() {
  if (!owner) return false;
  SetArrayPointers();
  const SInt16 k = SideCount();
  for (SInt16 i = 0; i < k; ++i) {
    const Vector3d front = vertices[i], back = vertices[k + i];
    if (!owner->PointInFace(frontFace, &front, 0) || !owner->PointInFace(backFace, &back, 0)) return false;
    SetArrayPointers();
  }
  return true;
}

Boolean VLOpening::AttachByGeometry(VLOpeningOwner* candidate) {
  if (!candidate) return false;
  SetArrayPointers();
  const SInt16 k = SideCount();
  const std::vector<Vector3d> points(vertices, vertices + 2 * k);
  // The first face holding every point of [first, first + k), other than the one to skip.
  const auto faceHolding = [&](SInt16 first, SInt16 skip) -> SInt16 {
    for (SInt16 f = 0; f < candidate->faceCount; ++f) {
      if (f == skip) continue;
      bool all = true;
      for (SInt16 i = 0; i < k && all; ++i) all = candidate->PointInFace(f, &points[std::size_t(first + i)], 0);
      if (all) return f;
    }
    return -1;
  };
  const SInt16 front = faceHolding(0, -1);
  if (front < 0) return false;
  const SInt16 back = faceHolding(k, front);
  if (back < 0) return false;
  owner = candidate;
  frontFace = front;
  backFace = back;
  TakeOwnerLook();
  owner->AddOpening(this);
  return true;
}

Boolean VLOpening::RefitToFace(SInt16 face) {
  if (!owner) return false;
  const SInt16 k = SideCount();
  if (face == frontFace) {
    for (SInt16 i = 0; i < k; ++i) {
      SetArrayPointers();
      const Vector3d at = vertices[i];
      Vector3d foot;
      if (!owner->ProjectOntoFace(&at, frontFace, &foot)) return false;
      SetArrayPointers();
      vertices[i] = foot;
    }
  }
  if (face == backFace) {
    for (SInt16 i = 0; i < k; ++i) {
      SetArrayPointers();
      const Vector3d at = vertices[i];
      Vector3d behind;
      if (owner->FindOppositeFace(&at, frontFace, &behind) != backFace) return false;
      SetArrayPointers();
      vertices[k + i] = behind;
    }
  }
  CalcFacePlanes();
  return true;
}

void VLOpening::SetOutline(const Vector3d* boxPoints, SInt16 newFrontFace, SInt32 ownerPosition) {
  auto* found = dynamic_cast<VLOpeningOwner*>(ObjectAtListPosition(ownerPosition));
  // Without an owner there the opening would be cut through nothing: it stays unmade.
  if (!found || !InitBoxStorage()) return;
  SetArrayPointers();
  for (int i = 0; i < kBoxVertices; ++i) vertices[i] = boxPoints[kImportedOrder[i]];
  owner = found;
  TakeOwnerLook();
  frontFace = newFrontFace;
  if (newFrontFace >= 0 && newFrontFace < 6) backFace = boxlayout::OppositeFace(newFrontFace);
  SaveCorners();
  CalcFacePlanes();
}

// ---- Extent in the wall ----

Boolean VLOpening::GetWallExtent(VLViewTransform* view, double* height, double* width, double* depth,
                                 Vector3d* reference, Vector3d* normal) {
  if (!owner) return false;
  Vector3d eye, n, back;
  view->GetEyePoint(&eye);
  owner->GetFaceNormal(frontFace, &n);
  owner->GetFaceNormal(backFace, &back);
  Boolean facing = true;
  // The eye is taken as a vector from the origin, as the wall's side is told everywhere.
  if (std::fabs(n.z) < 1.0 && VectorDot(&eye, &n) < 0.0 && !(VectorDot(&eye, &back) < 0.0)) {
    VectorScale(&n, -1.0, &n);
    facing = false;
  }
  *normal = n;

  // Into the wall's frame: n onto +x, the wall's length onto y, the vertical onto z.
  double a = 0.0;
  Matrix4d turn;
  SetIdentity4x4(&turn);
  if (std::fabs(n.z) < 1.0) {
    a = std::atan2(n.y, n.x);
    const double e = std::asin(n.z);
    Matrix4d Y, Z;
    SetIdentity4x4(&Y);
    SetIdentity4x4(&Z);
    Y.at(0, 0) = std::cos(e);
    Y.at(0, 2) = std::sin(e);
    Y.at(2, 0) = -std::sin(e);
    Y.at(2, 2) = std::cos(e);
    Z.at(0, 0) = std::cos(a);
    Z.at(0, 1) = std::sin(a);
    Z.at(1, 0) = -std::sin(a);
    Z.at(1, 1) = std::cos(a);
    MatrixMultiply(&Z, &Y, MatrixShape{3, 3}, MatrixShape{3, 3}, &turn);
  }
  double lo[3] = {kGeomSearchStart, kGeomSearchStart, kGeomSearchStart};
  double hi[3] = {kUnsetMaximum, kUnsetMaximum, kUnsetMaximum};
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) {
    Vector3d p;
    TransformPoint3x4(&turn, &vertices[i], &p);
    for (int c = 0; c < 3; ++c) {
      lo[c] = std::fmin(lo[c], VectorComponent(p, c));
      hi[c] = std::fmax(hi[c], VectorComponent(p, c));
    }
  }
  // The middle of the bottom edge, turned back about z only.
  const double mx = (lo[0] + hi[0]) / 2, my = (lo[1] + hi[1]) / 2;
  *reference = Vector3d{std::cos(a) * mx - std::sin(a) * my, std::sin(a) * mx + std::cos(a) * my, lo[2]};
  *height = hi[2] - lo[2];
  *width = hi[1] - lo[1];
  *depth = hi[0] - lo[0];
  return facing;
}

// ---- Outlines for the owner and the view ----

Boolean VLOpening::AppendHoleOutline(SInt16 face, Handle* points) {
  SInt16 first = 0;
  if (!OutlineRange(face, &first)) return false;
  const SInt16 k = SideCount();
  const long had = *points ? long(PortHandleSize(*points) / Size(sizeof(Vector3d))) : 0;
  const long count = had + k + 2;
  *points = GrowBlock(*points, count, Size(sizeof(Vector3d)));
  SetArrayPointers();
  auto* out = reinterpret_cast<Vector3d*>(**points);
  for (SInt16 i = 0; i < k; ++i) out[count - k - 2 + i] = vertices[first + i];
  out[count - 2] = vertices[first];
  return true;
}

Handle VLOpening::OutlineOnFace(SInt16 face, UInt8 asHole, SInt16* pointCount, Handle points, UInt8* closeFlag,
                                SInt16* edgeCount, Handle* edgeBlock) {
  *closeFlag = 0;
  SetArrayPointers();
  if (!asHole) {
    for (SInt16 e = 0; e < this->edgeCount; ++e) {
      if (clippedEdges && !edgeVisible[e]) continue;
      Point a, b;
      if (!PanePoint(screenPoints[edges[e].a], &a) || !PanePoint(screenPoints[edges[e].b], &b)) continue;
      PortPenMove(a.h, a.v);
      PortPenLine(b.h, b.v);
    }
    return points;
  }
  SInt16 first = 0;
  if (!OutlineRange(face, &first)) return points;
  *closeFlag = 1;
  const SInt16 k = SideCount();
  const long count = long(*pointCount) + k + 2;
  if (count > 32767) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  points = GrowBlock(points, count, Size(sizeof(Vector3d)));
  const long start = count - k - 2;
  if (gHiddenLineMode) {
    const long pairs = long(*edgeCount) + k;
    if (pairs > 32767) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
    *edgeBlock = GrowBlock(*edgeBlock, pairs, Size(sizeof(EdgeRecord)));
    auto* out = reinterpret_cast<EdgeRecord*>(**edgeBlock);
    for (SInt16 i = 0; i < k; ++i) out[*edgeCount + i] = EdgeRecord{SInt16(start + i), SInt16(start + i + 1)};
    *edgeCount = SInt16(pairs);
  }
  SetArrayPointers();
  auto* out = reinterpret_cast<Vector3d*>(*points);
  for (SInt16 i = 0; i < k; ++i) out[start + i] = screenPoints[first + i];
  out[count - 2] = screenPoints[first];
  *pointCount = SInt16(count);
  return points;
}

Handle VLOpening::ViewOutlineOnFace(SInt16 face) {
  SInt16 first = 0;
  if (!OutlineRange(face, &first)) return nullptr;
  const SInt16 k = SideCount();
  Handle loop = NewShadowLoop(k);
  if (!loop) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  SetArrayPointers();
  std::copy_n(viewPoints + first, k, ShadowLoopPoints(loop));
  return loop;
}

// ---- Drawing ----

Boolean VLOpening::FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16*,
                              Boolean checkModel, VLViewTransform*) {
  *handle = FindVertexHandle(modelPoint, panePoint, checkModel);
  return *handle >= 0;
}

void VLOpening::ProjectEdges(VLViewTransform* view, Boolean flag) {
  SetArrayPointers();
  if (flag) {
    for (SInt16 i = 0; i < vertexCount; ++i) {
      const Vector3d p = vertices[i];
      Vector3d projected;
      view->ProjectPoint(&p, &projected);
      SetArrayPointers();
      screenPoints[i] = projected;
    }
    return;
  }
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const Vector3d from = vertices[edges[e].a], to = vertices[edges[e].b];
    Vector3d a, b;
    UInt8 visible = 0, aKept = 0, bKept = 0;
    view->ProjectSegment(&from, &to, &a, &b, &visible, &aKept, &bKept);
    Point pa, pb;
    if (visible && PanePoint(a, &pa) && PanePoint(b, &pb)) {
      PortPenMove(pa.h, pa.v);
      PortPenLine(pb.h, pb.v);
    }
  }
}

void VLOpening::DrawSelected(VLViewTransform* view) {
  SetArrayPointers();
  if (!owner || !storage || vertexCount <= 0) return;
  Vector3d eye, centre, normal;
  view->GetEyePoint(&eye);
  // The side of the opening the eye is on: seen from the box's middle.
  for (SInt16 i = 0; i < vertexCount; ++i) VectorAdd(&centre, &vertices[i], &centre);
  VectorDivide(&centre, double(vertexCount), &centre);
  Vector3d toEye;
  VectorSubtract(&eye, &centre, &toEye);
  owner->GetFaceNormal(frontFace, &normal);
  SetArrayPointers();
  UInt8 clipped = 0;
  if (!view->ProjectPolygon(vertices, vertexCount, screenPoints, &clipped, viewPoints, 1)) return;
  clippedEdges = clipped;
  const SInt16 k = SideCount();
  const SInt16 first = VectorDot(&toEye, &normal) >= 0.0 ? 0 : k;
  for (SInt16 i = first; i < first + k; ++i) {
    if (clipped && !vertexUnclipped[i]) continue;
    const Vector3d& p = screenPoints[i];
    SInt16 top, left, bottom, right;
    if (!PaneCoordinate(p.y - 2, &top) || !PaneCoordinate(p.x - 2, &left) || !PaneCoordinate(p.y + 3, &bottom) ||
        !PaneCoordinate(p.x + 3, &right))
      continue;
    const Rect handle{top, left, bottom, right};
    PortPaintRect(&handle);
  }
}

Boolean VLOpening::PointInScreenBounds(Point panePoint) {
  return panePoint.v >= screenBounds.top && panePoint.v <= screenBounds.bottom && panePoint.h >= screenBounds.left &&
         panePoint.h <= screenBounds.right;
}

// ---- Selection and the palette ----

void VLOpening::Select() {
  if (!owner) return;
  owner->RefreshOpenings(this);
  owner->Select();
}

void VLOpening::Deselect() {
  if (!gObjectInfoBox) return;
  NotifyDependents(kInfoDeselected, nullptr);
  DisconnectInfoBox();
}

void VLOpening::NotifyInfoBox(SInt32 reason) {
  if (!gObjectInfoBox) return;
  ObjectInfoRecord info;
  FillInfoRecord(&info);
  // Where the opening sits in its wall.
  Vector3d ownerReference;
  if (owner) owner->GetReferencePoint(&ownerReference);
  VectorSubtract(&info.position, &ownerReference, &info.position);
  NotifyDependents(reason, &info);
}

Boolean VLOpening::MarkChanged() {
  const Boolean visible = VLUser3DObject::MarkChanged();
  // The owner's faces show the opening: they are drawn again.
  if (owner) owner->changed = 1;
  return visible;
}

void VLOpening::SetPhase(SInt16 newPhase) {
  if (owner)
    owner->SetPhase(newPhase);
  else
    VLUser3DObject::SetPhase(newPhase);
}

void VLOpening::SetVertices(Handle copy) {
  VLUser3DObject::SetVertices(copy);
  if (owner && owner->GetCurrentOpening() == this) NotifyInfoBox(kInfoChanged);
}

Boolean VLOpening::FaceHasVertex(SInt16 face, SInt16 vertex) {
  if (face < kFrontOutlineFace) return VLUser3DObject::FaceHasVertex(face, vertex);
  const FaceRecord* outline = face == kFrontOutlineFace ? &frontOutline : face == kBackOutlineFace ? &backOutline : nullptr;
  const SInt16* loop = outline ? LoopEntries(*outline) : nullptr;
  for (SInt16 k = 0; loop && k < outline->loopCount; ++k)
    if (loop[k] == vertex) return true;
  return false;
}

void VLOpening::OrientFaces() {
  SetArrayPointers();
  const SInt16 k = SideCount();
  SInt16* loop = frontOutline.loop ? reinterpret_cast<SInt16*>(*frontOutline.loop) : nullptr;
  if (owner && loop && frontOutline.loopCount == k && k >= 3) {
    // The front outline turns as the owner's front face does, seen in that face's frame.
    Vector3d normal;
    owner->GetFaceNormal(frontFace, &normal);
    Matrix4d frame;
    MatrixFromNormal(&normal, &frame);
    std::vector<Vector3d> inFrame(static_cast<std::size_t>(k));
    SInt16 top = 0;
    double highest = kUnsetMaximum;
    for (SInt16 i = 0; i < k; ++i) {
      TransformPoint3x4(&frame, &vertices[loop[i]], &inFrame[std::size_t(i)]);
      if (inFrame[std::size_t(i)].y > highest) {
        highest = inFrame[std::size_t(i)].y;
        top = i;
      }
    }
    Vector3d u, w;
    VectorSubtract(&inFrame[std::size_t((top + k - 1) % k)], &inFrame[std::size_t(top)], &u);
    VectorSubtract(&inFrame[std::size_t((top + 1) % k)], &inFrame[std::size_t(top)], &w);
    if (u.x * w.y - u.y * w.x < 0.0) ReverseLoop(&frontOutline);
    // The reveals turn with the front outline.
    for (SInt16 f = 0; f < faceCount; ++f) {
      SetArrayPointers();
      if (CompareFaceOrientation(&frontOutline, &faces[f]) == 1) ReverseFace(f);
    }
  }
  CalcFacePlanes();
}

// ---- Copies ----

VLUser3DObject* VLOpening::MakeCopy(VLUser3DObject* target) {
  if (!target) {
    target = new (std::nothrow) VLOpening;
    if (!target) return nullptr;
  }
  if (target == this) return target;
  auto* copy = static_cast<VLOpening*>(VLUser3DObject::MakeCopy(target));
  if (!copy) return nullptr;
  Owned<VLOpening> held(copy);
  copy->firstFrontCorner = firstFrontCorner;
  copy->oppositeFrontCorner = oppositeFrontCorner;
  copy->firstBackCorner = firstBackCorner;
  copy->oppositeBackCorner = oppositeBackCorner;
  copy->owner = owner;
  copy->frontFace = frontFace;
  copy->backFace = backFace;
  copy->backPlaneNormal = backPlaneNormal;
  copy->backPlaneOffset = backPlaneOffset;
  copy->backDistance = backDistance;
  CopyOutline(frontOutline, &copy->frontOutline);
  CopyOutline(backOutline, &copy->backOutline);
  copy->MarkChanged();
  copy->currentOpening = -1;
  if (copy->faceCount > 0) copy->CalcFacePlanes();
  return held.release();
}
