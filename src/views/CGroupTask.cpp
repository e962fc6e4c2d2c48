#include "CGroupTask.h"

#include <memory>
#include <new>

#include "CGroup.h"
#include "DETException.h"
#include "ObjectList.h"
#include "PhaseRecord.h"
#include "Selection.h"
#include "TaskSupport.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"

namespace {

VLUser3DObject* ItemAt(VLArray* list, long i) { return static_cast<VLUser3DObject*>(list->PointerAt(i)); }

VLArray* NewPointerList() {
  auto* list = new (std::nothrow) VLArray(VLArray::kPointerSize);
  ThrowIfNil(list);
  return list;
}

// A group being made: should the making fail, it leaves the object list and lets go of its
// members (still the document's) before it goes.
struct GroupDissolver {
  void operator()(CGroup* group) const {
    if (gCurrentObjectList) gCurrentObjectList->Remove(group);
    VLArray* members = nullptr;
    group->TakeMembers(&members);
    delete members;
    group->Dispose();
  }
};

}  // namespace

CGroupTask::~CGroupTask() {
  DisposeRecords();
  delete groups;
}

void CGroupTask::DisposeRecords() {
  if (!groupRecords) return;
  for (long i = 1; i <= groupRecords->GetNumItems(); ++i) {
    GroupRecord record;
    groupRecords->GetItem(&record, i);
    delete record.members;
  }
  delete groupRecords;
  groupRecords = nullptr;
}

void CGroupTask::IGroupTask(SInt16 nameIndex) {
  CTask::Init(nameIndex);
  DisposeRecords();
  delete groups;
  groups = nullptr;
  if (nameIndex != kUngroupName) {
    ungroupMode = 0;
    groupRecords = new (std::nothrow) VLArray(long(sizeof(GroupRecord)));
    ThrowIfNil(groupRecords);
    std::unique_ptr<VLArray> members(NewPointerList());
    bool onePhase = true;
    SInt16 phase = 0;
    for (long i = 1; gCurrentSelection && i <= gCurrentSelection->GetNumItems(); ++i) {
      VLUser3DObject* object = ItemAt(gCurrentSelection, i);
      // The planes belong at their places in the list: they never join a group.
      if (!object || ListPositionOf(object) < VLDocument::kFirstModelObject) continue;
      object->ownedPartsShown = 0;
      members->AppendPointer(object);
      if (members->GetNumItems() == 1)
        phase = object->phase;
      else if (object->phase != phase)
        onePhase = false;
    }
    if (members->GetNumItems() == 0) return;
    GroupRecord record;
    record.phase = onePhase ? phase : gCurrentPhase;
    record.members = members.get();
    groupRecords->Append(&record);
    members.release();
  } else {
    ungroupMode = 1;
    groups = NewPointerList();
    for (long i = 1; gCurrentSelection && i <= gCurrentSelection->GetNumItems(); ++i)
      if (VLUser3DObject* object = ItemAt(gCurrentSelection, i); object && object->typeCode == kObjectTypeGroup)
        groups->AppendPointer(object);
  }
}

void CGroupTask::Do() {
  if (ungroupMode)
    DissolveGroups();
  else
    MakeGroups();
}

void CGroupTask::Undo() {
  ToggleUndone();
  Do();
}

void CGroupTask::MakeGroups() {
  delete groups;
  groups = NewPointerList();
  for (long r = 1; groupRecords && r <= groupRecords->GetNumItems(); ++r) {
    GroupRecord record;
    groupRecords->GetItem(&record, r);
    if (!record.members || record.members->GetNumItems() == 0) continue;
    std::unique_ptr<CGroup, GroupDissolver> group(new (std::nothrow) CGroup);
    ThrowIfNil(group.get());
    group->MakeFromObjects(record.members);
    // The group's own phase: its members keep theirs.
    group->VLUser3DObject::SetPhase(record.phase);
    gCurrentObjectList->AppendPointer(group.get());
    groups->AppendPointer(group.get());
    // In the document now: the group owns its members, which leave the list.
    CGroup* made = group.release();
    for (long i = 1; i <= record.members->GetNumItems(); ++i) gCurrentObjectList->Remove(record.members->PointerAt(i));
    vltasks::RefreshObjectCount();
    made->membersKeepSettings = 1;
    made->Select();
    delete record.members;
    record.members = nullptr;
    groupRecords->SetItem(&record, r);
  }
  DisposeRecords();
  ungroupMode = 1;
}

void CGroupTask::DissolveGroups() {
  DisposeRecords();
  groupRecords = new (std::nothrow) VLArray(long(sizeof(GroupRecord)));
  ThrowIfNil(groupRecords);
  for (long g = 1; groups && g <= groups->GetNumItems(); ++g) {
    auto* group = static_cast<CGroup*>(groups->PointerAt(g));
    if (!group) continue;
    gCurrentObjectList->Remove(group);
    group->Deselect();
    GroupRecord record;
    record.phase = group->phase;
    group->TakeMembers(&record.members);
    if (record.members) {
      // The record holds the members first, so that a failure below loses none of them.
      groupRecords->Append(&record);
      for (long i = 1; i <= record.members->GetNumItems(); ++i) {
        VLUser3DObject* member = ItemAt(record.members, i);
        gCurrentObjectList->AppendPointer(member);
        member->Select();
      }
    }
    const void* none = nullptr;
    groups->SetItem(&none, g);
    group->Dispose();
  }
  vltasks::RefreshObjectCount();
  delete groups;
  groups = nullptr;
  ungroupMode = 0;
}
