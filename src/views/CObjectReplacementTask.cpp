#include "CObjectReplacementTask.h"

#include <new>
#include <utility>

#include "DETException.h"
#include "ObjectList.h"
#include "TaskSupport.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"
#include "VLUser3DObject.h"

namespace {

VLUser3DObject* ItemAt(VLArray* list, long i) { return static_cast<VLUser3DObject*>(list->PointerAt(i)); }

VLOpeningOwner* OwnerOf(VLUser3DObject* object) {
  auto* opening = object->typeCode == kObjectTypeOpening ? dynamic_cast<VLOpening*>(object) : nullptr;
  return opening ? opening->owner : nullptr;
}

}  // namespace

CObjectReplacementTask::~CObjectReplacementTask() {
  // The objects of `replaced` are out of the document: nothing else will free them.
  if (replaced)
    for (long i = 1; i <= replaced->GetNumItems(); ++i)
      if (VLUser3DObject* object = ItemAt(replaced, i)) object->Dispose();
  delete replaced;
  delete replacing;
}

void CObjectReplacementTask::MakeLists() {
  delete replaced;
  delete replacing;
  replaced = replacing = nullptr;
  replaced = new (std::nothrow) VLArray(VLArray::kPointerSize);
  ThrowIfNil(replaced);
  replacing = new (std::nothrow) VLArray(VLArray::kPointerSize);
  ThrowIfNil(replacing);
}

void CObjectReplacementTask::TakeSelectionOut(Boolean openingsAlone) {
  if (!gCurrentObjectList || !replaced) return;
  long position = VLDocument::kFirstModelObject;
  while (VLUser3DObject* object = vltasks::NextSelectedObject(&position)) {
    auto* owner = openingsAlone ? dynamic_cast<VLOpeningOwner*>(object) : nullptr;
    if (VLOpening* opening = owner && owner->HasCurrentOpening() ? owner->GetCurrentOpening() : nullptr) {
      replaced->AppendPointer(opening);
      owner->Deselect();
      ++position;
      continue;
    }
    // Recorded first, so that a failure leaves the object in the document.
    replaced->AppendPointer(object);
    object->Deselect();
    gCurrentObjectList->DeleteItem(position);
    vltasks::RefreshObjectCount();
  }
}

void CObjectReplacementTask::Undo() {
  if (!replaced || !replacing || !gCurrentObjectList) return;
  for (long i = 1; i <= replacing->GetNumItems(); ++i) {
    VLUser3DObject* object = ItemAt(replacing, i);
    if (!object) continue;
    if (VLOpeningOwner* owner = OwnerOf(object)) {
      owner->Deselect();
      owner->RemoveOpening(static_cast<VLOpening*>(object));
    } else {
      object->Deselect();
      gCurrentObjectList->Remove(object);
      vltasks::RefreshObjectCount();
    }
  }
  for (long i = 1; i <= replaced->GetNumItems(); ++i) {
    VLUser3DObject* object = ItemAt(replaced, i);
    if (!object) continue;
    if (VLOpeningOwner* owner = OwnerOf(object)) {
      owner->AddOpening(static_cast<VLOpening*>(object));
      object->Select();
      vltasks::ShowSelectTool(vltasks::kSelectOpeningsTool);
    } else {
      object->MarkChanged();
      gCurrentObjectList->AppendPointer(object);
      vltasks::RefreshObjectCount();
      object->Select();
    }
  }
  std::swap(replaced, replacing);
}
