// The openings of an owner: the two lists, the edits the openings follow, selection and picking
// through an opening, and copies.
#include "VLOpeningOwner.h"

#include <memory>
#include <new>

#include "CRectangularOpening.h"
#include "DETException.h"
#include "GeometryKernel.h"
#include "ObjectInfoRecord.h"
#include "ObjectList.h"
#include "Selection.h"
#include "Unwinding.h"
#include "VLOpening.h"
#include "ViewDrawingFlags.h"

namespace {

// The imported box records put an opening's front outline on face 4 of a block.
constexpr SInt16 kImportedFrontFace = 4;
// At most this many faces hold both ends of an edge.
constexpr std::size_t kEdgeFaces = 4;

VLArray* NewPointerList() {
  auto* list = new (std::nothrow) VLArray(VLArray::kPointerSize);
  if (!list) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  return list;
}

std::vector<VLOpening*> ListedOpenings(const VLArray* list) {
  std::vector<VLOpening*> found;
  if (!list) return found;
  for (long i = 1; i <= list->GetNumItems(); ++i)
    if (auto* opening = static_cast<VLOpening*>(list->PointerAt(i))) found.push_back(opening);
  return found;
}

// A list of openings that disposes of its openings with itself, while it is the caller's.
struct OpeningListDisposer {
  void operator()(VLArray* list) const {
    for (VLOpening* opening : ListedOpenings(list)) opening->Dispose();
    delete list;
  }
};
using OwnedOpeningList = std::unique_ptr<VLArray, OpeningListDisposer>;

bool OnFace(const VLOpening* opening, SInt16 face) { return opening->frontFace == face || opening->backFace == face; }

// Whether a point of the owner's face lies inside the opening's outline on that face.
bool Contains(VLOpening* opening, SInt16 face, Vector3d point) {
  return (opening->frontFace == face && opening->ValidateOutline(true, &point)) ||
         (opening->backFace == face && opening->ValidateOutline(false, &point));
}

}  // namespace

VLOpeningOwner::VLOpeningOwner() { currentOpening = -1; }

VLOpeningOwner::~VLOpeningOwner() {
  DisposeOpenings();
  OwnedOpeningList(removedOpenings).reset();
  removedOpenings = nullptr;
}

// ---- The lists ----

void VLOpeningOwner::DisposeOpenings() {
  OwnedOpeningList(openings).reset();
  openings = nullptr;
  openingCount = 0;
  currentOpening = -1;
}

void VLOpeningOwner::DropRemovedOpenings() {
  for (VLOpening* opening : RemovedOpenings()) opening->Dispose();
  if (removedOpenings) removedOpenings->DeleteAll();
}

std::vector<VLOpening*> VLOpeningOwner::Openings() const { return ListedOpenings(openings); }

std::vector<VLOpening*> VLOpeningOwner::RemovedOpenings() const { return ListedOpenings(removedOpenings); }

VLOpening* VLOpeningOwner::OpeningAt(SInt16 position) const {
  if (!openings || position < 0 || position >= openings->GetNumItems()) return nullptr;
  return static_cast<VLOpening*>(openings->PointerAt(position + 1));
}

void VLOpeningOwner::AddOpening(VLOpening* opening) {
  if (!openings) openings = NewPointerList();
  openings->AppendPointer(opening);
}

VLOpening* VLOpeningOwner::GetCurrentOpening() { return currentOpening < 0 ? nullptr : OpeningAt(currentOpening); }

Boolean VLOpeningOwner::HasCurrentOpening() {
  return openings && openings->GetNumItems() > 0 && currentOpening >= 0;
}

VLOpening* VLOpeningOwner::DetachCurrentOpening() {
  VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr;
  if (opening) RemoveOpening(opening);
  return opening;
}

void VLOpeningOwner::RemoveOpening(VLOpening* opening) {
  if (!openings) return;
  openings->Remove(opening);
  currentOpening = -1;
  MarkChanged();
}

void VLOpeningOwner::RefreshOpenings(VLOpening* opening) {
  if (!openings) {
    openingCount = 0;
    currentOpening = -1;
    return;
  }
  openingCount = SInt16(openings->GetNumItems());
  const long index = opening ? openings->IndexOfPointer(opening) : 0;
  if (index <= 0 || index - 1 == currentOpening) return;
  // The palette shows one opening of a selected owner: the one current until now lets go.
  if (VLOpening* previous = selected && gObjectInfoBox ? GetCurrentOpening() : nullptr) previous->Deselect();
  currentOpening = SInt16(index - 1);
}

void VLOpeningOwner::KeepRemoved(VLOpening* opening) {
  Owned<VLOpening> held(opening);
  if (!removedOpenings) removedOpenings = NewPointerList();
  removedOpenings->AppendPointer(opening);
  held.release();
}

void VLOpeningOwner::RestoreRemovedOpenings() {
  while (removedOpenings && removedOpenings->GetNumItems() > 0) {
    const long last = removedOpenings->GetNumItems();
    auto* opening = static_cast<VLOpening*>(removedOpenings->PointerAt(last));
    if (opening) AddOpening(opening);
    removedOpenings->DeleteItem(last);
  }
  RefreshOpenings(nullptr);
  MarkChanged();
}

// ---- Drawing, shadows, projection ----

void VLOpeningOwner::CalcScreenBounds() {
  VLObjectOwner::CalcScreenBounds();
  for (VLOpening* opening : Openings()) opening->CalcScreenBounds();
}

void VLOpeningOwner::DrawSelected(VLViewTransform* view) {
  if (!projectedVisible) return;
  if (HasCurrentOpening()) {
    // The owner shows the opening's handles, not its own; none while the view itself moves.
    if (VLOpening* opening = GetCurrentOpening(); opening && !gInteractiveDrawing) opening->DrawSelected(view);
    return;
  }
  VLObjectOwner::DrawSelected(view);
}

void VLOpeningOwner::DrawCachedEdges(VLViewTransform* view, Rect* rect) {
  VLObjectOwner::DrawCachedEdges(view, rect);
  for (VLOpening* opening : Openings()) opening->DrawCachedEdges(view, rect);
}

void VLOpeningOwner::DrawGroundShadows(VLViewTransform* view) {
  VLObjectOwner::DrawGroundShadows(view);
  for (VLOpening* opening : Openings()) opening->DrawGroundShadows(view);
}

void VLOpeningOwner::TransformToView(const Matrix4d* matrix, CShadowCaster* caster) {
  for (VLOpening* opening : Openings()) opening->TransformToView(matrix, caster);
  VLObjectOwner::TransformToView(matrix, caster);
}

void VLOpeningOwner::FreeLitPatches() {
  VLObjectOwner::FreeLitPatches();
  for (VLOpening* opening : Openings()) opening->FreeLitPatches();
}

void VLOpeningOwner::ProjectVertices(VLViewTransform* transform) {
  VLObjectOwner::ProjectVertices(transform);
  for (VLOpening* opening : Openings()) opening->ProjectVertices(transform);
}

// ---- Edits the openings follow ----

void VLOpeningOwner::ScaleAbout(const Vector3d* centre, const Vector3d* factors) {
  const bool faceOnly = HasCurrentFace();
  VLObjectOwner::ScaleAbout(centre, factors);
  for (VLOpening* opening : Openings()) {
    if (!faceOnly) {
      opening->ScaleAbout(centre, factors);
    } else if (OnFace(opening, currentFace)) {
      opening->ScaleSide(currentFace, centre, factors);
    } else {
      for (SInt16 f = 0; f < faceCount; ++f) opening->RefitToFace(f);
    }
  }
}

void VLOpeningOwner::Rotate(double angle, const Vector3d* centre) {
  VLObjectOwner::Rotate(angle, centre);
  for (VLOpening* opening : Openings()) opening->Rotate(angle, centre);
  CalcFacePlanes();
}

void VLOpeningOwner::Transform(const Matrix4d* matrix) {
  VLObjectOwner::Transform(matrix);
  for (VLOpening* opening : Openings()) opening->Transform(matrix);
}

void VLOpeningOwner::Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle) {
  const bool faceOnly = HasCurrentFace();
  VLObjectOwner::Stretch(anchor, factors, handle);
  if (openings && openings->GetNumItems() > 0) CalcFacePlanes();
  for (VLOpening* opening : Openings()) {
    if (!faceOnly) {
      opening->Stretch(anchor, factors, handle);
    } else if (OnFace(opening, currentFace)) {
      opening->ScaleSide(currentFace, anchor, factors);
    } else {
      for (SInt16 f = 0; f < faceCount; ++f) opening->RefitToFace(f);
    }
  }
}

void VLOpeningOwner::TransformVertices(const Matrix4d* matrix) {
  const bool faceOnly = HasCurrentFace();
  VLObjectOwner::TransformVertices(matrix);
  if (faceOnly) return;
  for (VLOpening* opening : Openings()) opening->TransformVertices(matrix);
}

void VLOpeningOwner::Flip(SInt16 axisCode, double planeOffset, double shift) {
  VLObjectOwner::Flip(axisCode, planeOffset, shift);
  for (VLOpening* opening : Openings()) opening->Flip(axisCode, planeOffset, shift);
}

void VLOpeningOwner::Move(const Vector3d* offset) {
  if (HasCurrentOpening()) {
    // The user moves the opening over its owner's faces; the owner stays.
    if (VLOpening* opening = GetCurrentOpening()) opening->Move(offset);
    return;
  }
  const bool faceOnly = HasCurrentFace();
  VLObjectOwner::Move(offset);
  for (VLOpening* opening : Openings()) {
    if (!faceOnly) {
      opening->MoveAll(offset);
    } else if (OnFace(opening, currentFace)) {
      opening->MoveSide(currentFace, offset);
      opening->MarkChanged();
    }
  }
}

void VLOpeningOwner::Nudge(const Vector3d* offset) {
  if (VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr)
    opening->Nudge(offset);
  else
    VLObjectOwner::Nudge(offset);
}

void VLOpeningOwner::MoveVertex(SInt16 vertex, const Vector3d* position, long unused) {
  changed = 1;
  VLObjectOwner::MoveVertex(vertex, position, unused);
}

void VLOpeningOwner::MoveEdge(SInt16 edge, Vector3d* offset, long unused) {
  VLObjectOwner::MoveEdge(edge, offset, unused);
  if (!openings || openings->GetNumItems() == 0) return;
  CalcFacePlanes();
  SetArrayPointers();
  if (edge < 0 || edge >= edgeCount) return;
  const EdgeRecord ends = edges[edge];
  std::vector<SInt16> touched;
  for (SInt16 f = 0; f < faceCount && touched.size() < kEdgeFaces; ++f)
    if (FaceHasVertex(f, ends.a) && FaceHasVertex(f, ends.b)) touched.push_back(f);
  for (long i = openings->GetNumItems(); i >= 1; --i) {
    auto* opening = static_cast<VLOpening*>(openings->PointerAt(i));
    if (!opening) continue;
    for (SInt16 f : touched) {
      if (!OnFace(opening, f) || opening->RefitToFace(f)) continue;
      // Kept, not disposed: undoing the drag gives it back.
      RemoveOpening(opening);
      KeepRemoved(opening);
      break;
    }
  }
}

void VLOpeningOwner::GeometryChanged() {
  VLObjectOwner::GeometryChanged();
  if (!openings || openings->GetNumItems() == 0) return;
  for (long i = openings->GetNumItems(); i >= 1; --i) {
    auto* opening = static_cast<VLOpening*>(openings->PointerAt(i));
    if (!opening) continue;
    if (opening->RefitToFace(opening->frontFace) && opening->RefitToFace(opening->backFace)) continue;
    // Every opening that no longer fits waits in the record, so that the edit's undo gives all
    // of them back, not only one.
    RemoveOpening(opening);
    KeepRemoved(opening);
  }
}

void VLOpeningOwner::CalcFacePlanes() {
  VLObjectOwner::CalcFacePlanes();
  for (VLOpening* opening : Openings()) opening->CalcFacePlanes();
}

void VLOpeningOwner::OrientFaces() {
  VLObjectOwner::OrientFaces();
  for (VLOpening* opening : Openings()) opening->OrientFaces();
}

void VLOpeningOwner::SetVertices(Handle copy) {
  VLObjectOwner::SetVertices(copy);
  // A current opening sends its own record.
  if (!HasCurrentOpening()) NotifyInfoBox(kInfoChanged);
}

// ---- The current opening's handles and parts ----

Boolean VLOpeningOwner::FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused,
                                   Boolean checkModel, VLViewTransform* view) {
  if (VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr)
    return opening->FindHandle(modelPoint, panePoint, handle, unused, checkModel, view);
  return VLObjectOwner::FindHandle(modelPoint, panePoint, handle, unused, checkModel, view);
}

void VLOpeningOwner::StretchToHandle(SInt16* corner, const Vector3d* mousePoint, VLViewTransform* view,
                                     Boolean continuing) {
  if (VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr)
    opening->StretchToHandle(corner, mousePoint, view, continuing);
  else
    VLObjectOwner::StretchToHandle(corner, mousePoint, view, continuing);
}

void VLOpeningOwner::GetHandlePoint(Vector3d* out, SInt16 index, Boolean isVertex) {
  if (VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr)
    opening->GetHandlePoint(out, index, isVertex);
  else
    VLObjectOwner::GetHandlePoint(out, index, isVertex);
}

void VLOpeningOwner::CreateOpening(const Vector3d* boxPoints) {
  auto* made = new (std::nothrow) CRectangularOpening;
  if (!made) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  Owned<CRectangularOpening> opening(made);
  // The importer appends the owner before its openings: its position finds it again.
  opening->SetOutline(boxPoints, kImportedFrontFace, ListPositionOf(this));
  // An opening that found no owner (this one) there is not kept.
  if (opening->owner != this) return;
  AddOpening(opening.get());
  opening.release();
}

Boolean VLOpeningOwner::DeleteCurrentOpening() {
  VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr;
  if (!opening) return false;
  openings->DeleteItem(currentOpening + 1);
  opening->Dispose();
  currentOpening = -1;
  return true;
}

VLArray* VLOpeningOwner::CopyOpenings() {
  const std::vector<VLOpening*> all = Openings();
  if (all.empty()) return nullptr;
  OwnedOpeningList copies(NewPointerList());
  for (VLOpening* opening : all) {
    VLUser3DObject* copy = opening->MakeCopy(nullptr);
    if (!copy) return nullptr;
    Owned<VLUser3DObject> held(copy);
    copies->AppendPointer(copy);
    held.release();
  }
  return copies.release();
}

// ---- Colour, phase, copies ----

Boolean VLOpeningOwner::ChooseColor() {
  if (!VLObjectOwner::ChooseColor()) return false;
  for (VLOpening* opening : Openings()) opening->SetColor(&color);
  return true;
}

void VLOpeningOwner::SetColor(const RGBColor* colour) {
  VLObjectOwner::SetColor(colour);
  for (VLOpening* opening : Openings()) opening->SetColor(colour);
}

Boolean VLOpeningOwner::MarkChanged() {
  const Boolean visible = VLObjectOwner::MarkChanged();
  if (visible) {
    for (VLOpening* opening : Openings()) opening->MarkChanged();
    needsRedraw = 1;
  }
  return visible;
}

void VLOpeningOwner::SetPhase(SInt16 newPhase) {
  VLObjectOwner::SetPhase(newPhase);
  // Directly: an opening's own SetPhase would come back here.
  for (VLOpening* opening : Openings()) opening->phase = newPhase;
}

VLUser3DObject* VLOpeningOwner::MakeCopy(VLUser3DObject* target) {
  if (!target) {
    target = new (std::nothrow) VLOpeningOwner;
    if (!target) return nullptr;
  }
  if (target == this) return target;
  // The target's openings make way for copies of these; its removed record stays its own.
  OwnedOpeningList(target->openings).reset();
  target->openings = nullptr;
  // The base copy clears the record; held here meanwhile, and disposed of should the copy fail.
  OwnedOpeningList targetRemoved(target->removedOpenings);
  target->removedOpenings = nullptr;

  VLUser3DObject* copy = VLObjectOwner::MakeCopy(target);
  if (!copy) return nullptr;
  copy->removedOpenings = targetRemoved.release();
  Owned<VLUser3DObject> held(copy);
  // Recording the owner's state begins a new edit: what earlier edits took off is gone for good.
  DropRemovedOpenings();
  for (VLOpening* opening : Openings()) {
    auto* openingCopy = static_cast<VLOpening*>(opening->MakeCopy(nullptr));
    if (!openingCopy) return nullptr;
    Owned<VLOpening> heldOpening(openingCopy);
    openingCopy->owner = static_cast<VLOpeningOwner*>(copy);
    static_cast<VLOpeningOwner*>(copy)->AddOpening(openingCopy);
    heldOpening.release();
  }
  copy->openingCount = openingCount;
  return held.release();
}

void VLOpeningOwner::DuplicateMoved(VLUser3DObject** copy, const Vector3d* offset) {
  if (VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr) {
    opening->DuplicateMoved(copy, offset);
    if (!*copy) return;
    Owned<VLUser3DObject> held(*copy);
    AddOpening(static_cast<VLOpening*>(*copy));
    held.release();
    changed = 1;
    needsRedraw = 1;
    return;
  }
  *copy = MakeCopy(nullptr);
  if (!*copy) return;
  (*copy)->Select();
  (*copy)->Move(offset);
}

Boolean VLOpeningOwner::SnapToVertex(const Vector3d* point, Vector3d* position, double* bestDistance,
                                     Boolean* found, double tolerance) {
  if (VLObjectOwner::SnapToVertex(point, position, bestDistance, found, tolerance)) return true;
  RefreshOpenings(nullptr);
  Boolean exact = false;
  for (VLOpening* opening : Openings())
    if (opening->SnapToVertex(point, position, bestDistance, found, tolerance)) exact = true;
  return exact;
}

// ---- Selection and picking ----

void VLOpeningOwner::SelectHit(const Vector3d* origin, const Vector3d* direction, double t, SInt16 face) {
  if (origin && direction && openings && openings->GetNumItems() > 0) {
    Vector3d hit;
    VectorScale(direction, t, &hit);
    VectorAdd(origin, &hit, &hit);
    for (VLOpening* opening : Openings()) {
      if (Contains(opening, face, hit)) {
        RefreshOpenings(opening);
        break;
      }
    }
  }
  Select();
}

Boolean VLOpeningOwner::IntersectRay(SInt16* face, double* distance, const Vector3d* origin,
                                     const Vector3d* direction, Vector3d* normal) {
  double t = *distance;
  if (!VLObjectOwner::IntersectRay(face, &t, origin, direction, normal)) return false;
  Vector3d hit;
  VectorScale(direction, t, &hit);
  VectorAdd(origin, &hit, &hit);
  for (VLOpening* opening : Openings()) {
    if (!Contains(opening, *face, hit)) continue;
    // Through the hole: only the reveals can be met.
    *face = -1;
    opening->IntersectRay(face, distance, origin, direction, normal);
    return *face != -1;
  }
  *distance = t;
  return true;
}

Boolean VLOpeningOwner::PointInScreenBounds(Point panePoint) {
  RefreshOpenings(nullptr);
  if (hidden) return false;
  return VLObjectOwner::PointInScreenBounds(panePoint);
}

void VLOpeningOwner::Select() {
  VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr;
  // Not yet selected: the base selects, and ConnectInfoBox below shows the opening.
  if (!opening || !selected) {
    VLObjectOwner::Select();
    return;
  }
  // Already selected: the palette moves from the owner to the opening.
  if (!gObjectInfoBox || !gCurrentSelection) return;
  if (gCurrentSelection->GetNumItems() == 1) {
    NotifyDependents(kInfoDeselected, nullptr);
    DisconnectInfoBox();
    opening->ConnectInfoBox();
  } else {
    gObjectInfoBox->ShowMultipleSelection();
  }
}

void VLOpeningOwner::ConnectInfoBox() {
  if (VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr)
    opening->ConnectInfoBox();
  else
    VLObjectOwner::ConnectInfoBox();
}

void VLOpeningOwner::Deselect() {
  if (VLOpening* opening = HasCurrentOpening() ? GetCurrentOpening() : nullptr; opening && gObjectInfoBox)
    opening->Deselect();
  VLObjectOwner::Deselect();
  currentOpening = -1;
}
