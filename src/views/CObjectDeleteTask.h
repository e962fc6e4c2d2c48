// The undoable delete (cut and clear): the selected model objects leave the document, or, of a
// selected opening owner with a current opening, only that opening leaves its owner. The task
// holds what it took; Undo gives it back selected, Redo takes it again, and the task frees it
// only when disposed while it is out of the document.
#pragma once

#include "CTask.h"
#include "MacTypes.h"

class VLArray;

class CObjectDeleteTask : public CTask {
  VL_REGISTERED_CLASS(CObjectDeleteTask, CTask)

 public:
  CObjectDeleteTask() = default;
  // When not undone, disposes of what it took; then of the list.
  ~CObjectDeleteTask() override;

  void IObjectDeleteTask(SInt16 nameIndex);
  // Walks the model objects (never the planes at positions 1 and 2). Raises kDEErrorNilPointer
  // when the list cannot be made; an item that cannot be recorded stays in the document.
  void Do() override;
  // Deselects everything, then puts every item back, selected: an object at the end of the
  // object list, an opening on its owner with the opening select tool.
  void Undo() override;
  // Takes every item out again; an opening brings back the object select tool.
  void Redo() override;
  // Whether an opening (rather than a whole object) was taken.
  virtual Boolean HasDeletedOpening() const { return openingDeleted; }

  VLArray* GetDeleted() const { return deleted; }

 protected:
  VLArray* deleted = nullptr;
  UInt8 openingDeleted = 0;
};
