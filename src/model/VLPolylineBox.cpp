// Polylines: the handle box, handle editing, the info palette, pick rays and cuts across the
// height of an extrusion.
#include <cmath>
#include <functional>
#include <new>
#include <vector>

#include "CBoundingBox.h"
#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "ObjectInfoRecord.h"
#include "Selection.h"
#include "Unwinding.h"
#include "VLOpening.h"
#include "VLPolyline.h"
#include "VLViewTransform.h"

TrimmerPlane gTrimmerPlane = nullptr;

namespace {

// The anchor corner of the box-corner drag running now.
SInt16 gPolylineAnchorCorner = 0;

bool LoneSelection() { return gCurrentSelection && gCurrentSelection->GetNumItems() == 1; }

// The box rule: which objects show a handle box.
bool Qualifies(const VLPolyline& p) {
  if (p.extruded) return p.faceCount >= 7;
  return p.closed ? p.vertexCount >= 5 : p.vertexCount >= 4;
}

Vector3d Minus(const Vector3d& a, const Vector3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// The extent of the vertices in the box's coordinates: min x, y, z, then max x, y, z.
void BoxExtent(const VLPolyline& p, const std::function<void(const Vector3d*, Vector3d*)>& toBox, double extent[6]) {
  for (int k = 0; k < 3; ++k) {
    extent[k] = kGeomSearchStart;
    extent[3 + k] = -kGeomSearchStart;
  }
  for (SInt16 i = 0; i < p.vertexCount; ++i) {
    Vector3d q;
    toBox(&p.vertices[i], &q);
    for (int k = 0; k < 3; ++k) {
      extent[k] = std::min(extent[k], VectorComponent(q, k));
      extent[3 + k] = std::max(extent[3 + k], VectorComponent(q, k));
    }
  }
}

// A new box of the extent for an object that has none; false, and no box, when none can be made.
bool MakeBoxIfNone(VLPolyline& p, const double extent[6]) {
  if (p.box) return true;
  auto* made = new (std::nothrow) CBoundingBox;
  if (!made) return false;
  Owned<CBoundingBox> held(made);
  if (!CatchFailures([&] { made->IBoundingBox(extent); }, [](std::exception_ptr) {})) return false;
  made->phase = p.phase;
  p.box = held.release();
  p.ownsBox = 1;
  return true;
}

// The box's handle faces stand for the caps of an extrusion whose caps face apart.
void ChooseCapHandles(VLPolyline& p) {
  const SInt16 n = p.faceCount;
  if (p.typeCode != kObjectTypeExtrusion || n < 2 || p.faces[n - 1].loopCount != p.faces[n - 2].loopCount) return;
  const Vector3d last{p.faces[n - 1].a, p.faces[n - 1].b, p.faces[n - 1].c};
  const Vector3d before{p.faces[n - 2].a, p.faces[n - 2].b, p.faces[n - 2].c};
  if (VectorDot(&last, &before) >= 0) return;
  p.box->ChooseHandleFaces(&last, &before);
  p.bottomCap = SInt16(n - 1);
  p.topCap = SInt16(n - 2);
}

}  // namespace

bool VLPolyline::BoxEditing() const { return box && !faceMode && !(gVertexEditMode && LoneSelection()); }

// ---- Box maintenance ----

void VLPolyline::UpdateBoundingBox() {
  if (!Qualifies(*this)) {
    if (box) {
      if (box->frame) {
        SetFrame(box->frame);
        box->frame = nullptr;
      }
      if (ownsBox) box->Dispose();
      box = nullptr;
      ownsBox = 0;
    }
    return;
  }
  if (box && box->frame) {
    Vector3d u, v, w;
    box->frame->GetAxes(&u, &v, &w);
    UpdateBoundingBoxInFrame(&u, &v, &w);
    return;
  }
  SetArrayPointers();
  double extent[6];
  BoxExtent(*this, [](const Vector3d* world, Vector3d* q) { WorldToDrawingPlane(world, q); }, extent);
  const bool hadBox = box != nullptr;
  if (!MakeBoxIfNone(*this, extent)) return;
  if (hadBox) box->SetBox(extent);
  box->CalcFacePlanes();
  SetArrayPointers();
  ChooseCapHandles(*this);
  box->needsRedraw = 1;
  if (gCurrentViewTransform) box->ProjectEdges(gCurrentViewTransform, false);
}

void VLPolyline::UpdateBoundingBoxInFrame(const Vector3d* u, const Vector3d* v, const Vector3d* w) {
  auto* made = new (std::nothrow) CObjectTransformer;
  if (!made) return;
  Owned<CObjectTransformer> transformer(made);
  made->SetAxes(u, v, w);
  SetArrayPointers();
  Vector3d origin;
  if (referenceVertex >= 0 && referenceVertex < vertexCount) origin = vertices[referenceVertex];
  made->UpdateMatrices(&origin);
  double extent[6];
  SetArrayPointers();
  BoxExtent(*this, [&](const Vector3d* world, Vector3d* q) { made->ToLocal(world, q); }, extent);
  if (!MakeBoxIfNone(*this, extent)) return;
  box->SetBoxWithTransformer(extent, transformer.release());
  box->CalcFacePlanes();
  SetArrayPointers();
  ChooseCapHandles(*this);
  box->needsRedraw = 1;
}

// ---- Caps ----

Boolean VLPolyline::PickCapHandle(const Vector3d* point) {
  return typeCode == kObjectTypeExtrusion && box && box->GrabEdgeHandle(point);
}

Boolean VLPolyline::DragCapFace(SInt16 edge, const Vector3d* direction) {
  if (typeCode != kObjectTypeExtrusion || !box) return false;
  SInt16 active = -1;
  Vector3d n, m;
  double d = 0;
  if (!box->EdgeDragPlane(edge, direction, &active, &n, &d, &m)) return false;
  const SInt16 cap = active == 0 ? bottomCap : topCap;
  SetArrayPointers();
  if (cap < 0 || cap >= faceCount) return false;
  for (SInt16 v : DistinctLoopVertices(faces[cap], vertexCount)) {
    Vector3d moved;
    // A vertex whose line runs along the new plane keeps its place.
    if (IntersectLinePlane(&vertices[v], &m, &n, d, &moved)) vertices[v] = moved;
  }
  MarkChanged();
  return true;
}

void VLPolyline::FindCapPartner(SInt16 which, SInt16 vertex, SInt16* out) {
  SetArrayPointers();
  const SInt16 cap = which == 0 ? topCap : bottomCap;
  if (cap < 0 || cap >= faceCount) return;
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const EdgeRecord edge = edges[e];
    const SInt16 other = edge.a == vertex ? edge.b : edge.b == vertex ? edge.a : SInt16(-1);
    if (other >= 0 && FaceHasVertex(cap, other)) {
      *out = other;
      return;
    }
  }
}

// ---- The box takes part ----

Boolean VLPolyline::GetScreenBounds(Rect* out) {
  return box ? box->GetScreenBounds(out) : VLOpeningOwner::GetScreenBounds(out);
}

void VLPolyline::CalcScreenBounds() {
  if (box) {
    box->CalcScreenBounds();
    screenBounds = box->screenBounds;
  } else {
    VLOpeningOwner::CalcScreenBounds();
  }
}

void VLPolyline::ScaleAbout(const Vector3d* centre, const Vector3d* factors) {
  VLOpeningOwner::ScaleAbout(centre, factors);
  if (box) box->ScaleAbout(centre, factors);
}

void VLPolyline::Rotate(double angle, const Vector3d* centre) {
  VLOpeningOwner::Rotate(angle, centre);
  if (box) box->Rotate(angle, centre);
}

void VLPolyline::TransformVertices(const Matrix4d* matrix) {
  VLOpeningOwner::TransformVertices(matrix);
  if (box) box->TransformVertices(matrix);
}

void VLPolyline::Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle) {
  if (!box) {
    VLOpeningOwner::Stretch(anchor, factors, handle);
    return;
  }
  // The box's frame is lent to the object while it stretches.
  CObjectTransformer* own = frame;
  frame = box->frame;
  VLOpeningOwner::Stretch(anchor, factors, handle);
  frame = own;
  box->Stretch(anchor, factors, handle);
}

void VLPolyline::PushFace(const Vector3d* offset, SInt16* trackedVertex) {
  if (extruded) VLUser3DObject::PushFace(offset, trackedVertex);
}

void VLPolyline::Flip(SInt16 axisCode, double planeOffset, double shift) {
  if (box) {
    box->Flip(axisCode, planeOffset, shift);
    CBoundingBox* held = box;
    box = nullptr;
    VLOpeningOwner::Flip(axisCode, planeOffset, shift);
    box = held;
  } else {
    VLOpeningOwner::Flip(axisCode, planeOffset, shift);
  }
  NotifyInfoBox(kInfoChanged);
}

void VLPolyline::GeometryChanged() {
  UpdateBoundingBox();
  VLOpeningOwner::GeometryChanged();
}

void VLPolyline::Select() {
  if (selected || hidden || !IsSelectable()) return;
  VLOpeningOwner::Select();
  if (box) box->faceMode = 0;
}

void VLPolyline::SelectFace(SInt16 face) {
  if (hidden || !IsSelectable()) return;
  Select();
  if (!selected) return;
  faceMode = 1;
  if (box) box->faceMode = 1;
  currentFace = face;
}

void VLPolyline::Deselect() {
  if (!selected) return;
  VLOpeningOwner::Deselect();
  if (box) box->faceMode = 0;
}

void VLPolyline::CalcFacePlanes() {
  if (box) box->CalcFacePlanes();
  VLOpeningOwner::CalcFacePlanes();
}

void VLPolyline::SetPhase(SInt16 newPhase) {
  VLOpeningOwner::SetPhase(newPhase);
  if (box) box->SetPhase(newPhase);
}

// ---- Handles ----

Boolean VLPolyline::FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused,
                               Boolean checkModel, VLViewTransform* view) {
  if (HasCurrentOpening()) return VLOpeningOwner::FindHandle(modelPoint, panePoint, handle, unused, checkModel, view);
  if (BoxEditing() && selected) {
    if (!box->FindHandle(modelPoint, panePoint, handle, unused, checkModel, view)) return false;
    if (*handle < 0) box->GrabEdgeHandle(modelPoint);
    return true;
  }
  *handle = FindVertexHandle(modelPoint, panePoint, checkModel);
  if (*handle >= 0) return true;
  const SInt16 edge = FindEdgeHandle(modelPoint, panePoint, checkModel, view);
  if (unused) *unused = edge;
  return edge >= 0;
}

void VLPolyline::MoveVertex(SInt16 vertex, const Vector3d* position, long unused) {
  if (box && !(gVertexEditMode && LoneSelection())) return;
  changed = 1;
  VLOpeningOwner::MoveVertex(vertex, position, unused);
  UpdateBoundingBox();
  CalcFacePlanes();
}

void VLPolyline::MoveEdge(SInt16 edge, Vector3d* offset, long unused) {
  if (BoxEditing()) {
    box->MoveEdge(edge, offset, unused);
    DragCapFace(edge, offset);
    return;
  }
  MarkChanged();
  VLOpeningOwner::MoveEdge(edge, offset, unused);
  UpdateBoundingBox();
  CalcFacePlanes();
}

void VLPolyline::Move(const Vector3d* offset) {
  if (HasCurrentFace()) {
    VLOpeningOwner::Move(offset);
    changed = 1;
    UpdateBoundingBox();
    return;
  }
  if (HasCurrentOpening()) {
    VLOpeningOwner::Move(offset);
    return;
  }
  if (box) box->Move(offset);
  VLOpeningOwner::Move(offset);
  changed = 1;
}

void VLPolyline::StretchToHandle(SInt16* corner, const Vector3d* point, VLViewTransform* view, Boolean continuing) {
  if (gVertexEditMode || !box) return;
  const SInt16 depth = AxisRole(gAxisZ);
  Vector3d mouse;
  WorldToDrawingPlane(point, &mouse);
  const auto boxCorner = [&](SInt16 c) {
    box->SetArrayPointers();
    Vector3d at;
    WorldToDrawingPlane(&box->vertices[c], &at);
    return at;
  };
  if (*corner < 0 || *corner >= 8) return;
  Vector3d c = boxCorner(*corner);
  // Pulling a flat outline off its plane makes it a solid.
  if (!extruded && VectorComponent(mouse, depth) != VectorComponent(c, depth)) {
    const bool beyond = VectorComponent(mouse, depth) > VectorComponent(c, depth);
    static constexpr SInt16 kUpZ[8] = {4, 5, 6, 7, 4, 5, 6, 7}, kDownZ[8] = {0, 1, 2, 3, 0, 1, 2, 3};
    static constexpr SInt16 kUpY[8] = {3, 2, 2, 3, 7, 6, 6, 7}, kDownY[8] = {0, 1, 1, 0, 4, 5, 5, 4};
    static constexpr SInt16 kUpX[8] = {1, 1, 2, 2, 5, 5, 6, 6}, kDownX[8] = {0, 0, 3, 3, 4, 4, 7, 7};
    const SInt16* table = depth == 2 ? (beyond ? kUpZ : kDownZ) : depth == 1 ? (beyond ? kUpY : kDownY) : (beyond ? kUpX : kDownX);
    *corner = table[*corner];
    c = boxCorner(*corner);
    Extrude(VectorComponent(mouse, depth) - VectorComponent(c, depth));
    UpdateBoundingBox();
    if (!box) return;
  }
  Vector3d& anchor = stretchPoints[0];
  Vector3d& extent = stretchPoints[1];
  if (!continuing) {
    gPolylineAnchorCorner = box->OppositeCorner(*corner);
    box->StretchToHandle(corner, point, view, false);
    anchor = box->anchor;
    c = boxCorner(*corner);
    extent = Minus(c, anchor);
  }
  box->StretchToHandle(corner, point, view, true);
  c = boxCorner(*corner);
  // Axes on which the box has collapsed are pushed out instead of scaled.
  const Vector3d fixed = boxCorner(gPolylineAnchorCorner);
  Vector3d delta;
  bool any = false;
  for (int k = 0; k < 3; ++k) {
    if (VectorComponent(fixed, k) == VectorComponent(c, k) && VectorComponent(mouse, k) != VectorComponent(c, k)) {
      VectorComponent(delta, k) = VectorComponent(mouse, k) - VectorComponent(c, k);
      any = true;
    }
  }
  if (any) {
    const Vector3d origin{};
    Vector3d worldDelta, worldOrigin;
    DrawingPlaneToWorld(&delta, &worldDelta);
    DrawingPlaneToWorld(&origin, &worldOrigin);
    worldDelta = Minus(worldDelta, worldOrigin);
    box->PushFace(&worldDelta, corner);
    SInt16 none = -1;
    VLUser3DObject::PushFace(&worldDelta, &none);
    gPolylineAnchorCorner = box->OppositeCorner(*corner);
  }
  Vector3d factors{1, 1, 1};
  for (int k = 0; k < 3; ++k)
    if (VectorComponent(extent, k) != 0)
      VectorComponent(factors, k) = (VectorComponent(mouse, k) - VectorComponent(anchor, k)) / VectorComponent(extent, k);
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) WorldToDrawingPlane(&vertices[i], &vertices[i]);
  VLOpeningOwner::ScaleAbout(&anchor, &factors);
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) DrawingPlaneToWorld(&vertices[i], &vertices[i]);
  VLOpeningOwner::CalcFacePlanes();
  extent = Minus(c, anchor);
  changed = 1;
  if (extruded) OrientExtrusion();
  MarkChanged();
}

// ---- Picking ----

Boolean VLPolyline::PickFace(Point panePoint, const Vector3d* origin, const Vector3d* direction, double* distance,
                             SInt16* face) {
  if (!extruded || hidden) return false;
  if (box) {
    double boxDistance = *distance;
    SInt16 boxFace = -1;
    if (!box->PickFace(panePoint, origin, direction, &boxDistance, &boxFace)) return false;
  }
  return VLOpeningOwner::PickFace(panePoint, origin, direction, distance, face);
}

Boolean VLPolyline::IntersectRay(SInt16* face, double* distance, const Vector3d* origin, const Vector3d* direction,
                                 Vector3d* normal) {
  if (box) {
    double boxDistance = *distance;
    SInt16 boxFace = -1;
    Vector3d boxNormal;
    if (!box->IntersectRay(&boxFace, &boxDistance, origin, direction, &boxNormal)) return false;
  }
  if (extruded) return VLOpeningOwner::IntersectRay(face, distance, origin, direction, normal);
  SetArrayPointers();
  Boolean hit = false;
  const SInt16 segments = SInt16(closed ? vertexCount : vertexCount - 1);
  for (SInt16 i = 0; i < segments; ++i) {
    const Vector3d& a = vertices[i];
    const Vector3d& b = vertices[(i + 1) % vertexCount];
    const Vector3d U = Minus(b, a), W = Minus(a, *origin);
    const double uu = VectorDot(&U, &U), ud = VectorDot(&U, direction), uw = VectorDot(&U, &W);
    const double dd = VectorDot(direction, direction), dw = VectorDot(direction, &W);
    if (uu == 0) continue;
    const double denominator = dd - ud * ud / uu;
    if (denominator == 0) continue;  // along the ray
    const double t = (dw - ud * uw / uu) / denominator;
    const double s = (t * ud - uw) / uu;
    if (s < 0 || s > 1 || t <= 0.0001 || t >= *distance) continue;
    *distance = t;
    *face = -1;
    hit = true;
  }
  return hit;
}

// ---- The info palette ----

void VLPolyline::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  SetArrayPointers();
  const auto* typed = static_cast<const ObjectInfoRecord*>(info);
  if (reason == kInfoMoved && typed) {
    Vector3d at;
    if (box && ownsBox)
      box->GetReferencePoint(&at);
    else
      GetReferencePoint(&at);
    const Vector3d offset = Minus(typed->position, at);
    Move(&offset);
    if (ownsBox) UpdateBoundingBox();
    return;
  }
  if (reason == kInfoResized && typed && !extruded) {
    // A flat outline has no extent across its plane: a size typed there pulls it up.
    double lo[3], hi[3];
    GetBounds(&lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
    for (int k = 0; k < 3 && !extruded; ++k) {
      if (hi[k] - lo[k] != 0 || VectorComponent(typed->size, k) == 0) continue;
      Extrude(VectorComponent(typed->size, k));
      UpdateBoundingBox();
      NotifyInfoBox(kInfoChanged);
    }
  }
  VLOpeningOwner::ProviderChanged(provider, reason, info);
  if ((reason == kInfoRotated || reason == kInfoResized) && ownsBox) UpdateBoundingBox();
}

// ---- Cuts ----

Boolean VLPolyline::TrimWith(CTrimmer* trimmer, VLArray* frontList, VLArray* backList) {
  Vector3d normal;
  double offset = 0;
  if (gTrimmerPlane && gTrimmerPlane(trimmer, &normal, &offset) && SplitAcross(&normal, offset, frontList, backList))
    return true;
  return VLOpeningOwner::TrimWith(trimmer, frontList, backList);
}

Boolean VLPolyline::SplitAcross(const Vector3d* normal, double offset, VLArray* frontList, VLArray* backList) {
  SetArrayPointers();
  if (typeCode != kObjectTypeExtrusion || bottomCap == 0 || topCap == 0 || bottomCap >= faceCount || topCap >= faceCount)
    return false;
  // Each cap on one side, and the plane between them.
  const auto side = [&](SInt16 cap, bool* negative) {
    SetArrayPointers();
    const std::vector<SInt16> loop = DistinctLoopVertices(faces[cap], vertexCount);
    if (loop.empty()) return false;
    *negative = PlaneEvaluate(&vertices[loop[0]], normal, offset) < 0;
    for (SInt16 v : loop)
      if ((PlaneEvaluate(&vertices[v], normal, offset) < 0) != *negative) return false;
    return true;
  };
  bool bottomNegative = false, topNegative = false;
  if (!side(bottomCap, &bottomNegative) || !side(topCap, &topNegative) || bottomNegative == topNegative) return false;

  Owned<VLUser3DObject> madeA(MakeCopy(nullptr));
  if (!madeA) return false;
  Owned<VLUser3DObject> madeB(MakeCopy(nullptr));
  if (!madeB) return false;
  auto* a = static_cast<VLPolyline*>(madeA.get());
  auto* b = static_cast<VLPolyline*>(madeB.get());
  a->DisposeOpenings();
  // B's copies of the openings go to whichever piece holds them.
  std::vector<VLOpening*> offered = b->Openings();
  for (VLOpening* opening : offered) b->RemoveOpening(opening);
  std::vector<Owned<VLOpening>> held;
  for (VLOpening* opening : offered) held.emplace_back(opening);

  SetArrayPointers();
  const std::vector<SInt16> bottom = DistinctLoopVertices(faces[bottomCap], vertexCount);
  for (SInt16 v : bottom) {
    SInt16 partner = -1;
    FindCapPartner(0, v, &partner);
    if (partner < 0) continue;
    SetArrayPointers();
    Vector3d h;
    IntersectSegmentPlane(&vertices[v], &vertices[partner], normal, offset, &h);
    VLPolyline* keepsBottom = bottomNegative ? a : b;
    VLPolyline* keepsTop = bottomNegative ? b : a;
    keepsBottom->SetArrayPointers();
    keepsBottom->vertices[partner] = h;
    keepsTop->SetArrayPointers();
    keepsTop->vertices[v] = h;
  }
  for (VLPolyline* piece : {a, b}) {
    piece->changed = 1;
    piece->VLOpeningOwner::CalcFacePlanes();
    piece->UpdateBoundingBox();
  }
  for (Owned<VLOpening>& opening : held) {
    if (opening->AttachByGeometry(a) || opening->AttachByGeometry(b)) opening.release();
  }
  frontList->AppendPointer(madeA.release());
  backList->AppendPointer(madeB.release());
  return true;
}
