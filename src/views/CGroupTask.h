// The undoable group and ungroup. The task alternates between two states: records of member
// lists (the members free in the document) and groups (the members inside groups in the
// document). Each Do turns one state into the other, so Undo (and Redo through it) runs Do again;
// a group made again is a new group of the same members.
#pragma once

#include "CTask.h"
#include "MacTypes.h"

class VLArray;

class CGroupTask : public CTask {
  VL_REGISTERED_CLASS(CGroupTask, CTask)

 public:
  // The name indexes of the two commands.
  static constexpr SInt16 kGroupName = 11;
  static constexpr SInt16 kUngroupName = 12;

  // One group to be made: its phase and its members.
  struct GroupRecord {
    SInt16 phase = 0;
    VLArray* members = nullptr;
  };

  CGroupTask() = default;
  // Disposes of the records' member lists and the record list, and of the group list without
  // its groups: the groups and members are always in the document.
  ~CGroupTask() override;

  // With kGroupName: one record of the selected model objects in selection order, with their
  // common phase (the current phase when they differ). With kUngroupName: the selected groups.
  // Raises kDEErrorNilPointer when a list cannot be made.
  void IGroupTask(SInt16 nameIndex);
  // Grouping: a new group of each record's members takes their place at the end of the object
  // list, selected. Ungrouping: each group leaves the list and its members are appended in its
  // place, selected; the group is disposed of.
  void Do() override;
  void Undo() override;

  Boolean IsUngrouping() const { return ungroupMode; }
  VLArray* GetGroups() const { return groups; }

 protected:
  void MakeGroups();
  void DissolveGroups();
  void DisposeRecords();

  VLArray* groupRecords = nullptr;
  VLArray* groups = nullptr;
  UInt8 ungroupMode = 0;
};
