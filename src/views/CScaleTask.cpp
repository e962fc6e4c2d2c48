#include "CScaleTask.h"

#include "ObjectList.h"
#include "TaskSupport.h"
#include "Unwinding.h"
#include "VLArray.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"
#include "VLUser3DObject.h"

namespace {

VLOpening* AsOpening(VLUser3DObject* object) {
  auto* opening = object->typeCode == kObjectTypeOpening ? dynamic_cast<VLOpening*>(object) : nullptr;
  return opening && opening->owner ? opening : nullptr;
}

}  // namespace

void CScaleTask::Do() {
  MakeLists();
  bool replacingItems = false;
  long index = 0;
  long replacingBefore = 0;
  CatchFailures(
      [&] {
        TakeSelectionOut(true);
        replacingItems = true;
        for (index = replaced->GetNumItems(); index >= 1; --index) {
          replacingBefore = replacing->GetNumItems();
          if (!ReplaceItem(index)) PutBack(index);
        }
      },
      [&](std::exception_ptr failure) {
        // An item whose copy joined `replacing` is the exchange's to take back; those not
        // reached go back as they were. The exchange then leaves the document as before and the
        // copies to the task, which disposes of them.
        if (!replacingItems)
          index = replaced->GetNumItems();
        else if (replacing->GetNumItems() > replacingBefore)
          --index;
        for (; index >= 1; --index) PutBack(index);
        Undo();
        std::rethrow_exception(failure);
      });
  if (replaced->GetNumItems() == 0) {
    delete replaced;
    replaced = nullptr;
  }
}

// Once a copy is in `replacing` the item counts as replaced, whatever fails after.
Boolean CScaleTask::ReplaceItem(long index) {
  auto* object = static_cast<VLUser3DObject*>(replaced->PointerAt(index));
  VLOpening* opening = AsOpening(object);
  VLUser3DObject* made = nullptr;
  const Vector3d inPlace{0, 0, 0};
  if (opening)
    made = opening->MakeCopy(nullptr);
  else
    object->DuplicateMoved(&made, &inPlace);
  if (!made) return false;
  Owned<VLUser3DObject> copy(made);
  copy->Deselect();
  replacing->AppendPointer(made);
  copy.release();
  if (opening) {
    opening->owner->RemoveOpening(opening);
    opening->owner->AddOpening(static_cast<VLOpening*>(made));
  } else {
    gCurrentObjectList->AppendPointer(made);
    vltasks::RefreshObjectCount();
  }
  Vector3d reference;
  made->GetReferencePoint(&reference);
  made->ScaleAbout(&reference, &point);
  made->Select();
  return true;
}

void CScaleTask::PutBack(long index) {
  auto* object = static_cast<VLUser3DObject*>(replaced->PointerAt(index));
  replaced->DeleteItem(index);
  if (!object) return;
  // An opening never left its owner.
  if (!AsOpening(object)) {
    gCurrentObjectList->AppendPointer(object);
    vltasks::RefreshObjectCount();
  }
  object->Select();
}
