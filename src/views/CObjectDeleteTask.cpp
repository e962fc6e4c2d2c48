#include "CObjectDeleteTask.h"

#include <new>

#include "DETException.h"
#include "ObjectList.h"
#include "Selection.h"
#include "TaskSupport.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"
#include "VLUser3DObject.h"

namespace {

VLUser3DObject* ItemAt(VLArray* list, long i) { return static_cast<VLUser3DObject*>(list->PointerAt(i)); }

VLOpening* AsOpening(VLUser3DObject* item) {
  return item->typeCode == kObjectTypeOpening ? dynamic_cast<VLOpening*>(item) : nullptr;
}

}  // namespace

CObjectDeleteTask::~CObjectDeleteTask() {
  if (deleted && !undone)
    for (long i = 1; i <= deleted->GetNumItems(); ++i)
      if (VLUser3DObject* item = ItemAt(deleted, i)) item->Dispose();
  delete deleted;
}

void CObjectDeleteTask::IObjectDeleteTask(SInt16 nameIndex) {
  CTask::Init(nameIndex);
  delete deleted;
  deleted = nullptr;
  openingDeleted = 0;
}

void CObjectDeleteTask::Do() {
  delete deleted;
  deleted = new (std::nothrow) VLArray(VLArray::kPointerSize);
  ThrowIfNil(deleted);
  // The planes at positions 1 and 2 stay where the document keeps them, selected or not.
  long position = VLDocument::kFirstModelObject;
  while (VLUser3DObject* object = vltasks::NextSelectedObject(&position)) {
    auto* owner = dynamic_cast<VLOpeningOwner*>(object);
    VLOpening* opening = owner ? owner->GetCurrentOpening() : nullptr;
    if (opening) {
      deleted->AppendPointer(opening);
      owner->Deselect();
      owner->RemoveOpening(opening);
      ++position;
      owner->needsRedraw = 1;
      openingDeleted = 1;
    } else {
      deleted->AppendPointer(object);
      object->Deselect();
      gCurrentObjectList->DeleteItem(position);
    }
  }
  vltasks::RefreshObjectCount();
}

void CObjectDeleteTask::Undo() {
  ToggleUndone();
  if (!deleted || !gCurrentObjectList) return;
  if (gCurrentSelection && gCurrentSelection->GetNumItems() > 0)
    for (long i = 1; i <= gCurrentObjectList->GetNumItems(); ++i)
      if (VLUser3DObject* object = ItemAt(gCurrentObjectList, i); object && object->selected) object->Deselect();
  for (long i = 1; i <= deleted->GetNumItems(); ++i) {
    VLUser3DObject* item = ItemAt(deleted, i);
    if (!item) continue;
    if (VLOpening* opening = AsOpening(item); opening && opening->owner) {
      opening->owner->AddOpening(opening);
      opening->Select();
      vltasks::ShowSelectTool(vltasks::kSelectOpeningsTool);
    } else {
      gCurrentObjectList->AppendPointer(item);
      item->Select();
    }
  }
  vltasks::RefreshObjectCount();
}

void CObjectDeleteTask::Redo() {
  ToggleUndone();
  if (!deleted || !gCurrentObjectList) return;
  for (long i = 1; i <= deleted->GetNumItems(); ++i) {
    VLUser3DObject* item = ItemAt(deleted, i);
    if (!item) continue;
    if (VLOpening* opening = AsOpening(item); opening && opening->owner) {
      VLOpeningOwner* owner = opening->owner;
      owner->Deselect();
      owner->needsRedraw = 1;
      owner->RemoveOpening(opening);
      vltasks::ShowSelectTool(vltasks::kSelectObjectsTool);
    } else {
      item->Deselect();
      gCurrentObjectList->Remove(item);
    }
  }
  vltasks::RefreshObjectCount();
}
