#include "CObjectChangedTask.h"

#include <memory>
#include <new>
#include <utility>

#include "CDataKeeper.h"
#include "CGroup.h"
#include "DETException.h"
#include "ObjectList.h"
#include "TaskSupport.h"
#include "Unwinding.h"
#include "VLArray.h"
#include "VLOpeningOwner.h"
#include "VLUser3DObject.h"

namespace {

void DisposeKeepers(VLArray*& list) {
  if (!list) return;
  for (long i = 1; i <= list->GetNumItems(); ++i)
    if (auto* keeper = static_cast<CDataKeeper*>(list->PointerAt(i))) keeper->Dispose();
  delete list;
  list = nullptr;
}

// A keeper list that disposes of its keepers with itself.
struct KeeperListDisposer {
  void operator()(VLArray* list) const { DisposeKeepers(list); }
};
using KeeperList = std::unique_ptr<VLArray, KeeperListDisposer>;

// The openings earlier edits took off the object (and its members) belong to edits that can no
// longer be undone once a new task records it: they go, so that this task's undo gives back only
// what its own edit takes off.
void ForgetRemovedOpenings(VLUser3DObject* object) {
  if (auto* group = dynamic_cast<CGroup*>(object))
    for (VLUser3DObject* member : group->Members()) ForgetRemovedOpenings(member);
  if (auto* owner = dynamic_cast<VLOpeningOwner*>(object)) owner->DropRemovedOpenings();
}

}  // namespace

// ---- CObjectChangedTask ----

CObjectChangedTask::~CObjectChangedTask() { DisposeKeepers(keepers); }

void CObjectChangedTask::IObjectChangedTask(SInt16 nameIndex) {
  CMouseTask::Init(nameIndex);
  DisposeKeepers(keepers);
  keepers = new (std::nothrow) VLArray(VLArray::kPointerSize);
  ThrowIfNil(keepers);
}

long CObjectChangedTask::CountKeepers() const { return keepers ? keepers->GetNumItems() : 0; }

void CObjectChangedTask::KeepSelection(CDataKeeper* prototype) {
  if (!gCurrentObjectList || !keepers || !prototype) return;
  for (long i = 1; i <= gCurrentObjectList->GetNumItems(); ++i) {
    auto* object = static_cast<VLUser3DObject*>(gCurrentObjectList->PointerAt(i));
    if (!object || !object->selected) continue;
    Owned<CDataKeeper> keeper(prototype->NewChildKeeper());
    ThrowIfNil(keeper.get());
    keeper->Capture(object);
    keepers->AppendPointer(keeper.get());
    keeper.release();
  }
}

void CObjectChangedTask::RecordSelection(bool starting) {
  if (starting && gCurrentObjectList)
    for (long i = 1; i <= gCurrentObjectList->GetNumItems(); ++i)
      if (auto* object = static_cast<VLUser3DObject*>(gCurrentObjectList->PointerAt(i)); object && object->selected)
        ForgetRemovedOpenings(object);
  Owned<CDataKeeper> prototype(NewKeeper());
  ThrowIfNil(prototype.get());
  KeepSelection(prototype.get());
}

void CObjectChangedTask::Undo() {
  ToggleUndone();
  if (!keepers) return;
  for (long i = 1; i <= keepers->GetNumItems(); ++i) {
    auto* keeper = static_cast<CDataKeeper*>(keepers->PointerAt(i));
    if (!keeper) continue;
    // Out of the list first, so that a restore that raises leaves no keeper disposed twice.
    const void* none = nullptr;
    keepers->SetItem(&none, i);
    Owned<CDataKeeper> held(keeper);
    keeper->Restore();
  }
  keepers->DeleteAll();
}

void CObjectChangedTask::ExchangeWithSelection() {
  // The present state goes into a list of its own before the old record is written back.
  KeeperList present(new (std::nothrow) VLArray(VLArray::kPointerSize));
  ThrowIfNil(present.get());
  {
    // Whatever happens, the task's list is the old record again after the recording.
    struct Reinstate {
      VLArray*& list;
      VLArray* recorded;
      ~Reinstate() { list = recorded; }
    } reinstate{keepers, keepers};
    keepers = present.get();
    RecordSelection(false);
  }
  CObjectChangedTask::Undo();
  KeeperList emptied(keepers);
  keepers = present.release();
}

// ---- The concrete tasks ----

void CColorChangedTask::IColorChangedTask(SInt16 nameIndex) {
  IObjectChangedTask(nameIndex);
  RecordSelection(true);
  colour = gDefaultObjectColor;
}

void CColorChangedTask::Undo() {
  ExchangeWithSelection();
  std::swap(gDefaultObjectColor, colour);
  vltasks::RedrawPaletteItem(vltasks::kColorItem);
}

CDataKeeper* CColorChangedTask::NewKeeper() { return new (std::nothrow) CColorKeeper; }

void CFlipTask::IFlipTask(SInt16 nameIndex) {
  IObjectChangedTask(nameIndex);
  RecordSelection(true);
}

CDataKeeper* CFlipTask::NewKeeper() { return new (std::nothrow) CFlipKeeper; }

void CVertsChangedTask::IVertsChangedTask(SInt16 nameIndex) {
  IObjectChangedTask(nameIndex);
  RecordSelection(true);
}

CDataKeeper* CVertsChangedTask::NewKeeper() { return new (std::nothrow) CVertsKeeper; }

void CVertsAndTypeChangedTask::IVertsAndTypeChangedTask(SInt16 nameIndex) {
  IObjectChangedTask(nameIndex);
  RecordSelection(true);
}

CDataKeeper* CVertsAndTypeChangedTask::NewKeeper() { return new (std::nothrow) CVertsAndTypeKeeper; }
