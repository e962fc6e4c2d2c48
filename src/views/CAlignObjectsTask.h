// The undoable alignment of the selection. The task keeps a copy of every selected object with
// its place in the object list, made before the objects move; each Undo or Redo exchanges the
// objects at those places with the kept ones, so the task always holds the set that is out of
// the document, and frees it when disposed.
#pragma once

#include "CTask.h"
#include "MacTypes.h"

class VLArray;
class VLUser3DObject;

class CAlignObjectsTask : public CTask {
  VL_REGISTERED_CLASS(CAlignObjectsTask, CTask)

 public:
  static constexpr SInt16 kAlignName = 1;

  // A kept object and its 1-based place in the object list.
  struct AlignRecord {
    VLUser3DObject* object = nullptr;
    SInt32 position = 0;
  };

  CAlignObjectsTask() = default;
  // Disposes of every kept object, then of the list.
  ~CAlignObjectsTask() override;

  // The task's init with name 1, and a copy of each selected object of the object list.
  // Raises kDEErrorNilPointer when the list or a copy cannot be made (kDEErrorNotEnoughMemory
  // when a copy's geometry cannot).
  void IAlignObjectsTask();
  // The exchange, for Undo and Redo alike: the object at each kept place is marked changed,
  // deselected and kept; the kept one takes its place, selected.
  void Undo() override;

  VLArray* GetRecords() const { return alignRecords; }

 protected:
  VLArray* alignRecords = nullptr;
};
