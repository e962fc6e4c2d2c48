// Groups: the operations passed on to the members, the group's attributes and the writers.
#include <new>
#include <string>

#include "CGroup.h"
#include "DETException.h"
#include "Memory.h"
#include "ObjectInfoRecord.h"
#include "PString.h"
#include "Resources.h"
#include "TextLines.h"
#include "Unwinding.h"

namespace {

// The objects of a list that the caller disposes of with the list, unless handed on.
struct ObjectListDisposer {
  void operator()(VLArray* list) const {
    for (long i = 1; i <= list->GetNumItems(); ++i)
      if (auto* object = static_cast<VLUser3DObject*>(list->PointerAt(i))) object->Dispose();
    delete list;
  }
};
using OwnedObjectList = std::unique_ptr<VLArray, ObjectListDisposer>;

}  // namespace

// ---- Edits ----

void CGroup::ScaleAbout(const Vector3d* centre, const Vector3d* factors) {
  for (VLUser3DObject* member : Members()) member->ScaleAbout(centre, factors);
  VLObjectOwner::ScaleAbout(centre, factors);
}

void CGroup::Rotate(double angle, const Vector3d* centre) {
  VLObjectOwner::Rotate(angle, centre);
  for (VLUser3DObject* member : Members()) member->Rotate(angle, centre);
}

void CGroup::Transform(const Matrix4d* matrix) {
  for (VLUser3DObject* member : Members()) member->Transform(matrix);
  VLObjectOwner::Transform(matrix);
}

void CGroup::Move(const Vector3d* offset) {
  VLObjectOwner::Move(offset);
  for (VLUser3DObject* member : Members()) member->Move(offset);
  needsRedraw = 1;
}

void CGroup::Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle) {
  for (VLUser3DObject* member : Members()) member->Stretch(anchor, factors, handle);
  VLObjectOwner::Stretch(anchor, factors, handle);
}

void CGroup::TransformVertices(const Matrix4d* matrix) {
  VLObjectOwner::TransformVertices(matrix);
  for (VLUser3DObject* member : Members()) member->TransformVertices(matrix);
}

void CGroup::Extrude(double height) {
  for (VLUser3DObject* member : Members())
    if (member->typeCode == kObjectTypePolyline || member->typeCode == kObjectTypeGroup) member->Extrude(height);
}

void CGroup::ExtrudeAlong(const Vector3d* vector) {
  for (VLUser3DObject* member : Members())
    if (member->typeCode == kObjectTypePolyline || member->typeCode == kObjectTypeGroup) member->ExtrudeAlong(vector);
  SyncAttachedTransformer();
  RecalcBox();
}

void CGroup::CalcFacePlanes() {
  VLObjectOwner::CalcFacePlanes();
  for (VLUser3DObject* member : Members()) member->CalcFacePlanes();
}

void CGroup::OrientFaces() {
  VLObjectOwner::OrientFaces();
  for (VLUser3DObject* member : Members()) member->OrientFaces();
}

void CGroup::ProjectVertices(VLViewTransform* transform) {
  for (VLUser3DObject* member : Members()) member->ProjectVertices(transform);
}

Boolean CGroup::IsCrossedBy(CTrimmer* trimmer) {
  for (VLUser3DObject* member : Members())
    if (member->IsCrossedBy(trimmer)) return true;
  return false;
}

Boolean CGroup::TrimWith(CTrimmer* trimmer, VLArray* frontList, VLArray* backList) {
  if (!IsCrossedBy(trimmer)) return false;
  OwnedObjectList front(new VLArray(VLArray::kPointerSize)), back(new VLArray(VLArray::kPointerSize));
  for (VLUser3DObject* member : Members()) {
    if (member->TrimWith(trimmer, front.get(), back.get())) continue;
    VLUser3DObject* copy = member->MakeCopy(nullptr);
    if (!copy) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
    Owned<VLUser3DObject> held(copy);
    (member->LiesInFrontOf(trimmer) ? front : back)->AppendPointer(copy);
    held.release();
  }
  for (const auto& [pieces, out] : {std::pair{&front, frontList}, std::pair{&back, backList}}) {
    const long count = (*pieces)->GetNumItems();
    if (count == 0) continue;
    if (count == 1) {
      auto* only = static_cast<VLUser3DObject*>((*pieces)->PointerAt(1));
      only->Deselect();
      out->AppendPointer(only);
      (*pieces)->Remove(only);
      continue;
    }
    auto* made = new (std::nothrow) CGroup;
    if (!made) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
    Owned<CGroup> group(made);
    group->MakeFromObjects(pieces->get());
    // The group holds them now.
    while ((*pieces)->GetNumItems() > 0) (*pieces)->Remove((*pieces)->PointerAt(1));
    out->AppendPointer(group.release());
  }
  return true;
}

// ---- Attributes ----

RGBColor* CGroup::GetColor(RGBColor* out) {
  const std::vector<VLUser3DObject*> all = Members();
  if (!colourTaken && !all.empty()) {
    all.front()->GetColor(&color);
    drawColor = RGBColor{UInt16(color.red >> 1), UInt16(color.green >> 1), UInt16(color.blue >> 1)};
    colourTaken = 1;
  }
  *out = color;
  return out;
}

Boolean CGroup::ChooseColor() {
  RGBColor current;
  GetColor(&current);
  if (!VLObjectOwner::ChooseColor()) return false;
  for (VLUser3DObject* member : Members()) member->SetColor(&color);
  return true;
}

void CGroup::SetColor(const RGBColor* colour) {
  VLObjectOwner::SetColor(colour);
  for (VLUser3DObject* member : Members()) member->SetColor(&color);
}

Boolean CGroup::MarkChanged() {
  const Boolean visible = VLObjectOwner::MarkChanged();
  for (VLUser3DObject* member : Members()) member->MarkChanged();
  return visible;
}

void CGroup::SetPhase(SInt16 newPhase) {
  VLObjectOwner::SetPhase(newPhase);
  for (VLUser3DObject* member : Members()) member->SetPhase(newPhase);
}

void CGroup::SetMaterialIndex(SInt32 id) {
  for (VLUser3DObject* member : Members()) member->SetMaterialIndex(id);
}

SInt32 CGroup::GetMaterialIndex() {
  const std::vector<VLUser3DObject*> all = Members();
  if (all.empty()) return 0;
  const SInt32 first = all.front()->GetMaterialIndex();
  for (VLUser3DObject* member : all)
    if (member->GetMaterialIndex() != first) return 0;
  return first;
}

void CGroup::CreateMaterialObject(D3TMaterialList* materials) {
  for (VLUser3DObject* member : Members()) member->CreateMaterialObject(materials);
}

void CGroup::UpdateMaterialObject(D3TMaterialList* materials) {
  for (VLUser3DObject* member : Members()) member->UpdateMaterialObject(materials);
}

void CGroup::FreeLitPatches() {
  for (VLUser3DObject* member : Members()) member->FreeLitPatches();
}

SInt32 CGroup::CountObjects() {
  SInt32 count = 1;
  for (VLUser3DObject* member : Members()) count += member->CountObjects();
  return count;
}

SInt32 CGroup::CountLeafObjects() {
  SInt32 count = 0;
  for (VLUser3DObject* member : Members()) count += member->CountLeafObjects();
  return count;
}

// ---- Writers ----

void CGroup::WriteText(std::FILE* file, double factor) {
  const std::vector<VLUser3DObject*> all = Members();
  for (auto it = all.rbegin(); it != all.rend(); ++it) (*it)->WriteText(file, factor);
  vltext::CheckPrint(std::fprintf(file, "\nGroup:\nPrevious %d objects\nName: %s\n", int(memberCount), name ? name : ""),
                     kDEErrorErrorWritingModelFile);
  ThrowIfFileError(file, kDEErrorErrorWritingModelFile);
}

void CGroup::WriteDXFEdges(std::FILE* file) {
  for (VLUser3DObject* member : Members()) member->WriteDXFEdges(file);
}

void CGroup::WriteDrawingFaces(DXFExporter* exporter) {
  for (VLUser3DObject* member : Members()) member->WriteDrawingFaces(exporter);
}

void CGroup::WriteDXFFaces(std::FILE* file) {
  for (VLUser3DObject* member : Members()) member->WriteDXFFaces(file);
}

void CGroup::WriteDXFOutline(std::FILE* file) {
  for (VLUser3DObject* member : Members()) member->WriteDXFOutline(file);
}

SInt16 CGroup::WriteClarisLines(CDataFile* writer, double dh, double dv) {
  SInt32 count = 0;
  for (VLUser3DObject* member : Members()) count += member->WriteClarisLines(writer, dh, dv);
  return SInt16(count);
}

void CGroup::WriteRadiance(std::FILE* scene, std::FILE* materialFile, VLArray* names, SInt32* nameCount,
                           const char* objectName, D3TMaterialList* materials) {
  if (!IsVisible()) return;
  int number = 0;
  for (VLUser3DObject* member : Members()) {
    const std::string memberName = std::string(objectName ? objectName : "") + "_" + std::to_string(++number);
    member->WriteRadiance(scene, materialFile, names, nameCount, memberName.c_str(), materials);
  }
}
