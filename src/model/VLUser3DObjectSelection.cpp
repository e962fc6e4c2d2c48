// Selecting and deselecting a model object, its link with the object info palette, and hiding
// and showing it.
#include "ObjectInfoRecord.h"
#include "Selection.h"
#include "VLUser3DObject.h"

VLArray* gCurrentSelection = nullptr;
ObjectInfoPalette* gObjectInfoBox = nullptr;

namespace {

VLUser3DObject* SelectedAt(long index) { return static_cast<VLUser3DObject*>(gCurrentSelection->PointerAt(index)); }

}  // namespace

void VLUser3DObject::Select() {
  if (selected || hidden || !IsSelectable() || !gCurrentSelection) return;
  // Listed first: when the list cannot grow the object stays unselected.
  gCurrentSelection->AppendPointer(this);
  faceMode = 0;
  selected = 1;
  if (!gObjectInfoBox) return;
  const long count = gCurrentSelection->GetNumItems();
  if (count == 1) {
    ConnectInfoBox();
  } else if (count == 2) {
    // The palette showed the first object; now it shows that there are several.
    VLUser3DObject* first = SelectedAt(1);
    first->NotifyDependents(kInfoDeselected, nullptr);
    first->DisconnectInfoBox();
    gObjectInfoBox->ShowMultipleSelection();
  }
}

void VLUser3DObject::SelectFace(SInt16 face) {
  if (hidden || !IsSelectable()) return;
  Select();
  // Face mode belongs to a selected object only: without a selection list nothing was selected.
  if (!selected) return;
  faceMode = 1;
  currentFace = face;
}

void VLUser3DObject::SelectHit(const Vector3d*, const Vector3d*, double, SInt16) { Select(); }

void VLUser3DObject::ToggleSelection() {
  if (hidden || !IsSelectable()) return;
  if (selected)
    Deselect();
  else
    Select();
}

void VLUser3DObject::ConnectInfoBox() {
  if (!gObjectInfoBox) return;
  CCollaborator* palette = gObjectInfoBox->PaletteCollaborator();
  palette->AttachToProvider(this);
  AttachToProvider(palette);
  NotifyInfoBox(kInfoShowMe);
}

void VLUser3DObject::DisconnectInfoBox() {
  if (!gObjectInfoBox) return;
  CCollaborator* palette = gObjectInfoBox->PaletteCollaborator();
  DetachFromProvider(palette);
  palette->DetachFromProvider(this);
}

void VLUser3DObject::Deselect() {
  if (!selected) return;
  selected = 0;
  faceMode = 0;
  if (gCurrentSelection) gCurrentSelection->Remove(this);
  // An object with a current opening left the palette to that opening.
  if (currentOpening != -1 || !gObjectInfoBox || !gCurrentSelection) return;
  const long remaining = gCurrentSelection->GetNumItems();
  if (remaining == 0) {
    NotifyDependents(kInfoDeselected, nullptr);
    DisconnectInfoBox();
  } else if (remaining == 1) {
    SelectedAt(1)->ConnectInfoBox();
  }
}

void VLUser3DObject::ForceDeselect() {
  if (!selected) return;
  selected = 0;
  faceMode = 0;
  if (gCurrentSelection) gCurrentSelection->Remove(this);
  NotifyDependents(kInfoDeselected, nullptr);
  DisconnectInfoBox();
}

void VLUser3DObject::NotifyInfoBox(SInt32 reason) {
  SetArrayPointers();
  if (!gObjectInfoBox) return;
  ObjectInfoRecord info;
  FillInfoRecord(&info);
  NotifyDependents(reason, &info);
}

void VLUser3DObject::FillInfoRecord(ObjectInfoRecord* info) {
  GetReferencePoint(&info->position);
  GetSize(&info->size, nullptr, nullptr, nullptr);
  info->angle = rotationAngle;
  info->name = name ? name : "";
  info->phase = phase;
  info->materialId = GetMaterialIndex();
}

void VLUser3DObject::Hide() {
  hidden = 1;
  Deselect();
}

void VLUser3DObject::Show() {
  if (!hidden) return;
  hidden = 0;
  MarkChanged();
}
