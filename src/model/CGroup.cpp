// Groups: membership, the box around the members, drawing, corner drags, flips and copies.
#include "CGroup.h"

#include <cmath>
#include <new>

#include "BoxLayout.h"
#include "CProgressDialog.h"
#include "D3TMaterialList.h"
#include "DETException.h"
#include "GeometryKernel.h"
#include "ObjectInfoRecord.h"
#include "PhaseRecord.h"
#include "QuickDraw.h"
#include "Selection.h"
#include "Unwinding.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

// Frames are the same when every axis component agrees within this.
constexpr double kSameFrameTolerance = 1e-5;
// The group's pane rectangle reaches this far beyond its members'.
constexpr SInt16 kMemberBoundsMargin = 3;

VLArray* NewMemberList() {
  auto* list = new (std::nothrow) VLArray(VLArray::kPointerSize);
  if (!list) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  return list;
}

// Whether the drawing job was stopped through the progress dialog.
bool DrawingStopped() { return (!gShadedMode && !gHiddenLineMode) ? !gWireframeContinue : !gProgressContinue; }

}  // namespace

CGroup::~CGroup() {
  for (VLUser3DObject* member : Members()) member->Dispose();
  delete members;
  members = nullptr;
  if (selected) ForceDeselect();
}

std::vector<VLUser3DObject*> CGroup::Members() const {
  std::vector<VLUser3DObject*> found;
  if (!members) return found;
  for (long i = 1; i <= members->GetNumItems(); ++i)
    if (auto* member = static_cast<VLUser3DObject*>(members->PointerAt(i))) found.push_back(member);
  return found;
}

// ---- Membership and the box ----

void CGroup::IGroup() {
  typeCode = kObjectTypeGroup;
  memberCount = 0;
  currentOpening = -1;
  delete members;
  members = nullptr;
  members = NewMemberList();
  ReleaseFaceLoops(0, faceCount);
  faceCount = 0;
  boxlayout::BuildBox(this);
  phase = gCurrentPhase;
  VectorSet(&boxMinimum, kGeomSearchStart, kGeomSearchStart, kGeomSearchStart);
  VectorSet(&boxMaximum, -kGeomSearchStart, -kGeomSearchStart, -kGeomSearchStart);
  SetBoxVertices();
  boundsFromMembers = 1;
  hidden = 0;
  needsRedraw = 1;
  referenceVertex = 0;
  hasOwnedParts = 1;
  colourTaken = 0;
}

void CGroup::SetBoxVertices() {
  SetArrayPointers();
  if (vertexCount < boxlayout::kCorners) return;
  boxlayout::CornersOfExtent(boxMinimum, boxMaximum, vertices);
}

void CGroup::SyncAttachedTransformer() {
  const std::vector<VLUser3DObject*> all = Members();
  if (all.empty()) return;
  Vector3d first[3];
  for (std::size_t i = 0; i < all.size(); ++i) {
    CObjectTransformer* memberFrame = nullptr;
    all[i]->GetFrame(&memberFrame);
    if (!memberFrame) return;
    Vector3d axes[3];
    memberFrame->GetAxes(&axes[0], &axes[1], &axes[2]);
    if (i == 0) {
      for (int k = 0; k < 3; ++k) first[k] = axes[k];
      continue;
    }
    for (int k = 0; k < 3; ++k)
      for (int c = 0; c < 3; ++c)
        if (std::fabs(VectorComponent(axes[k], c) - VectorComponent(first[k], c)) > kSameFrameTolerance) return;
  }
  auto* made = new (std::nothrow) CObjectTransformer;
  if (!made) return;
  made->SetAxes(&first[0], &first[1], &first[2]);
  all[0]->SetArrayPointers();
  Vector3d origin;
  if (referenceVertex >= 0 && referenceVertex < all[0]->vertexCount) origin = all[0]->vertices[referenceVertex];
  made->UpdateMatrices(&origin);
  SetFrame(made);
}

void CGroup::MakeFromObjects(VLArray* objects) {
  IGroup();
  for (long i = 1; objects && i <= objects->GetNumItems(); ++i)
    if (auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i))) AddMember(object);
  SyncAttachedTransformer();
  RecalcBox();
  CalcScreenBounds();
  CalcFacePlanes();
  OrientFaces();
}

void CGroup::TakeMembers(VLArray** out) {
  if (memberCount == 0 || !members) {
    *out = nullptr;
    return;
  }
  VLArray* fresh = NewMemberList();
  *out = members;
  members = fresh;
  memberCount = 0;
}

void CGroup::RecalcBox() {
  VectorSet(&boxMinimum, kGeomSearchStart, kGeomSearchStart, kGeomSearchStart);
  VectorSet(&boxMaximum, -kGeomSearchStart, -kGeomSearchStart, -kGeomSearchStart);
  const bool inFrame = frame && frame->HasMatrices();
  for (VLUser3DObject* member : Members()) {
    member->SetArrayPointers();
    for (SInt16 i = 0; i < member->vertexCount; ++i) {
      Vector3d p = member->vertices[i];
      if (inFrame) frame->ToLocal(&p, &p);
      for (int k = 0; k < 3; ++k) {
        VectorComponent(boxMinimum, k) = std::min(VectorComponent(boxMinimum, k), VectorComponent(p, k));
        VectorComponent(boxMaximum, k) = std::max(VectorComponent(boxMaximum, k), VectorComponent(p, k));
      }
    }
  }
  SetBoxVertices();
  if (inFrame) {
    SetArrayPointers();
    for (SInt16 i = 0; i < vertexCount; ++i) frame->ToWorld(&vertices[i], &vertices[i]);
  }
}

void CGroup::AddMember(VLUser3DObject* object) {
  if (!members) members = NewMemberList();
  members->AppendPointer(object);
  ++memberCount;
  object->SetArrayPointers();
  for (SInt16 i = 0; i < object->vertexCount; ++i) {
    const Vector3d& p = object->vertices[i];
    for (int k = 0; k < 3; ++k) {
      VectorComponent(boxMinimum, k) = std::min(VectorComponent(boxMinimum, k), VectorComponent(p, k));
      VectorComponent(boxMaximum, k) = std::max(VectorComponent(boxMaximum, k), VectorComponent(p, k));
    }
  }
  object->ForceDeselect();
}

void CGroup::AddObject(VLUser3DObject* object) { AddMember(object); }

Boolean CGroup::RemoveLastMember(VLUser3DObject** out) {
  if (memberCount == 0 || !members || members->GetNumItems() == 0) return false;
  const long last = members->GetNumItems();
  *out = static_cast<VLUser3DObject*>(members->PointerAt(last));
  members->Remove(*out);
  --memberCount;
  return true;
}

SInt16 CGroup::CalcBoundsFromMembers() {
  const std::vector<VLUser3DObject*> all = Members();
  screenBounds = Rect{0, 0, 0, 0};
  if (all.empty()) return kMemberBoundsMargin;
  bool any = false;
  for (VLUser3DObject* member : all) {
    Rect bounds;
    if (!member->tracking || !member->GetScreenBounds(&bounds)) continue;
    if (!any)
      screenBounds = bounds;
    else
      PortUnionRect(&screenBounds, &bounds, &screenBounds);
    any = true;
  }
  screenBounds.top = SInt16(screenBounds.top - kMemberBoundsMargin);
  screenBounds.left = SInt16(screenBounds.left - kMemberBoundsMargin);
  screenBounds.bottom = SInt16(screenBounds.bottom + kMemberBoundsMargin);
  screenBounds.right = SInt16(screenBounds.right + kMemberBoundsMargin);
  return kMemberBoundsMargin;
}

SInt16 CGroup::OppositeCorner(SInt16 corner) { return boxlayout::OppositeCorner(corner); }

void CGroup::FlipIfInsideOut() {
  SetArrayPointers();
  bool insideOut = faceCount > 0;
  for (SInt16 f = 0; f < faceCount && insideOut; ++f) {
    if (faces[f].degenerate) continue;
    bool inFront = false;
    for (SInt16 g = 0; g < faceCount && !inFront; ++g)
      if (g != f && !faces[g].degenerate && FacePlaneInFront(f, g, false)) inFront = true;
    insideOut = inFront;
  }
  if (!insideOut) return;
  for (SInt16 f = 0; f < faceCount; ++f) ReverseFace(f);
  VLObjectOwner::CalcFacePlanes();
}

void CGroup::MarkUsedMaterials(D3TMaterialList* materials) {
  for (VLUser3DObject* member : Members()) {
    if (member->typeCode == kObjectTypeGroup)
      static_cast<CGroup*>(member)->MarkUsedMaterials(materials);
    else
      materials->MarkMaterial(member->materialId);
  }
}

// ---- Drawing and picking ----

void CGroup::Draw(VLViewTransform* view, Rect* updateRect) {
  if (hidden || !IsVisible()) return;
  if (OutlinesShown()) {
    ProjectOutlines(view);
    DrawMarkedEdges(updateRect);
  }
  const bool dragging = gInteractiveDrawing || gTrackingDrawing;
  if (!dragging) {
    projectedVisible = 0;
    for (VLUser3DObject* member : Members()) {
      if (needsRedraw) member->needsRedraw = 1;
      member->Draw(view, updateRect);
      if (DrawingStopped()) return;
      if (member->projectedVisible) projectedVisible = 1;
    }
  }
  // While dragging a group shows only its frame; otherwise it keeps its box projected.
  if (dragging || needsRedraw || changed || gViewScrolled) {
    PortPenPattern(&qd.dkGray);
    SetArrayPointers();
    for (SInt16 e = 0; e < edgeCount; ++e) {
      const EdgeRecord edge = edges[e];
      Vector3d p, q;
      UInt8 visible = 0, pSame = 0, qSame = 0;
      view->ProjectSegment(&vertices[edge.a], &vertices[edge.b], &p, &q, &visible, &pSame, &qSame);
      SetArrayPointers();
      if (dragging && visible) {
        PortPenMove(SInt16(std::trunc(p.x)), SInt16(std::trunc(p.y)));
        PortPenLine(SInt16(std::trunc(q.x)), SInt16(std::trunc(q.y)));
      }
    }
    changed = 0;
    PortPenPattern(&qd.black);
  }
  if (changed || gViewScrolled) {
    ProjectEdges(view, true);
    changed = 0;
  }
  if (needsRedraw) {
    if (boundsFromMembers)
      CalcBoundsFromMembers();
    else
      CalcScreenBounds();
    needsRedraw = 0;
    boundsFromMembers = 0;
  }
}

void CGroup::CalcScreenBounds() {
  for (VLUser3DObject* member : Members()) member->CalcScreenBounds();
  if (selected)
    VLObjectOwner::CalcScreenBounds();
  else
    CalcBoundsFromMembers();
}

void CGroup::ProjectEdges(VLViewTransform* view, Boolean) {
  if (!view) return;
  SetArrayPointers();
  projectedVisible = 0;
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const EdgeRecord edge = edges[e];
    Vector3d p, q;
    UInt8 visible = 0, pSame = 0, qSame = 0;
    view->ProjectSegment(&vertices[edge.a], &vertices[edge.b], &p, &q, &visible, &pSame, &qSame);
    SetArrayPointers();
    edgeVisible[e] = visible;
    if (!visible) continue;
    projectedVisible = 1;
    screenPoints[edge.a] = p;
    screenPoints[edge.b] = q;
    vertexUnclipped[edge.a] = pSame;
    vertexUnclipped[edge.b] = qSame;
  }
}

void CGroup::DrawSelected(VLViewTransform* view) {
  if (!projectedVisible || !view) return;
  SetArrayPointers();
  UInt8 behind = 0;
  view->ProjectPolygon(vertices, vertexCount, screenPoints, &behind, viewPoints, 0);
  SetArrayPointers();
  for (SInt16 e = 0; e < edgeCount; ++e) {
    if (!edgeVisible[e]) continue;
    const Vector3d& p = screenPoints[edges[e].a];
    const Vector3d& q = screenPoints[edges[e].b];
    PortPenMove(SInt16(std::trunc(p.x)), SInt16(std::trunc(p.y)));
    PortPenLine(SInt16(std::trunc(q.x)), SInt16(std::trunc(q.y)));
  }
  VLObjectOwner::DrawSelected(view);
}

void CGroup::DrawHidden(VLViewTransform* view) {
  if (hidden || !IsVisible()) return;
  for (VLUser3DObject* member : Members()) member->DrawHidden(view);
}

void CGroup::DrawGroundShadows(VLViewTransform* view) {
  if (hidden || !IsVisible()) return;
  for (VLUser3DObject* member : Members()) member->DrawGroundShadows(view);
}

Boolean CGroup::FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16*, Boolean checkModel,
                           VLViewTransform*) {
  *handle = FindVertexHandle(modelPoint, panePoint, checkModel);
  return *handle >= 0;
}

Boolean CGroup::HitByRay(Point panePoint, const Vector3d* origin, const Vector3d* direction, double* distance,
                         RGBColor* colour, Vector3d* normal, UInt8 shadowRay) {
  double boxDistance = *distance;
  Vector3d boxNormal;
  RGBColor boxColour;
  if (!VLObjectOwner::HitByRay(panePoint, origin, direction, &boxDistance, &boxColour, &boxNormal, shadowRay))
    return false;
  Boolean hit = false;
  for (VLUser3DObject* member : Members())
    if (member->HitByRay(panePoint, origin, direction, distance, colour, normal, shadowRay)) hit = true;
  return hit;
}

Boolean CGroup::SnapToVertex(const Vector3d* point, Vector3d* position, double* bestDistance, Boolean* found,
                             double tolerance) {
  for (VLUser3DObject* member : Members())
    if (member->SnapToVertex(point, position, bestDistance, found, tolerance)) return true;
  return false;
}

// ---- Corner drags and flips ----

void CGroup::StretchToHandle(SInt16* corner, const Vector3d* point, VLViewTransform*, Boolean continuing) {
  SetArrayPointers();
  const SInt16 d = *corner;
  if (d < 0 || d >= vertexCount) return;
  if (!continuing) {
    const SInt16 opposite = OppositeCorner(d);
    if (opposite < 0) return;
    DragAnchor() = vertices[opposite];
    VectorSubtract(&vertices[d], &DragAnchor(), &DragExtent());
  }
  Vector3d factors{1, 1, 1};
  const Vector3d anchor = DragAnchor();
  for (int k = 0; k < 3; ++k) {
    const double along = VectorComponent(*point, k) - VectorComponent(anchor, k);
    const double extent = VectorComponent(DragExtent(), k);
    if (extent == 0) {
      // A flat group has nothing to scale along this axis: its members are pushed out instead.
      if (along != 0) {
        Vector3d push;
        VectorComponent(push, k) = along;
        SInt16 none = -1;
        PushFace(&push, &none);
      }
    } else {
      VectorComponent(factors, k) = along / extent;
    }
  }
  ScaleAbout(&anchor, &factors);
  SetArrayPointers();
  VectorSubtract(&vertices[d], &anchor, &DragExtent());
  needsRedraw = 1;
}

void CGroup::PushFace(const Vector3d* offset, SInt16*) {
  double distance = 1.0;
  for (int k = 0; k < 3; ++k) {
    if (VectorComponent(*offset, k) != 0) {
      distance = VectorComponent(*offset, k);
      break;
    }
  }
  Extrude(distance);
  RecalcBox();
}

void CGroup::Flip(SInt16 axisCode, double planeOffset, double shift) {
  for (VLUser3DObject* member : Members()) member->Flip(axisCode, planeOffset, shift);
  const SInt16 k = axisCode == 1 ? 0 : axisCode == 2 ? 2 : 1;
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) {
    double& c = VectorComponent(vertices[i], k);
    c = c - 2.0 * std::fabs(c - planeOffset) + shift;
  }
  if (frame) {
    Vector3d normal;
    VectorComponent(normal, k) = -1.0;
    Vector3d reference;
    GetReferencePoint(&reference);
    frame->MirrorAxes(&normal, planeOffset, &reference, shift, k);
    frame->UpdateMatrices(&reference);
  }
  VLObjectOwner::MarkChanged();
  VLObjectOwner::CalcFacePlanes();
  FlipIfInsideOut();
  NotifyInfoBox(kInfoChanged);
}

// ---- Copies ----

VLUser3DObject* CGroup::MakeCopy(VLUser3DObject* target) {
  if (!target) {
    auto* made = new (std::nothrow) CGroup;
    if (!made) return nullptr;
    Owned<CGroup> fresh(made);
    const bool ready = CatchFailures([&] { made->IGroup(); }, [](std::exception_ptr) {});
    if (!ready) return nullptr;
    target = fresh.release();
  }
  auto* copy = static_cast<CGroup*>(VLObjectOwner::MakeCopy(target));
  if (!copy) return nullptr;
  Owned<CGroup> held(copy);
  if (!copy->members) copy->members = NewMemberList();
  for (VLUser3DObject* member : Members()) {
    VLUser3DObject* memberCopy = member->MakeCopy(nullptr);
    if (!memberCopy) return nullptr;
    Owned<VLUser3DObject> heldMember(memberCopy);
    copy->AddMember(memberCopy);
    heldMember.release();
  }
  if (frame) {
    CObjectTransformer* clone = frame->Clone();
    if (!clone) return nullptr;
    copy->SetFrame(clone);
  } else {
    copy->SyncAttachedTransformer();
  }
  SetArrayPointers();
  copy->SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount && i < copy->vertexCount; ++i) copy->vertices[i] = vertices[i];
  copy->boxMinimum = boxMinimum;
  copy->boxMaximum = boxMaximum;
  copy->screenBounds = screenBounds;
  copy->color = color;
  copy->drawColor = drawColor;
  copy->typeCode = typeCode;
  copy->hasOwnedParts = hasOwnedParts;
  copy->phase = phase;
  copy->hidden = 0;
  copy->needsRedraw = 1;
  copy->VLObjectOwner::MarkChanged();
  copy->currentOpening = -1;
  if (faceCount > 0) copy->VLObjectOwner::CalcFacePlanes();
  return held.release();
}

void CGroup::DuplicateMoved(VLUser3DObject** copy, const Vector3d* offset) {
  *copy = MakeCopy(nullptr);
  if (!*copy) return;
  (*copy)->Select();
  (*copy)->Move(offset);
}
