// The undoable scale of the selection by three factors (the task's point: x, y and z), each
// object about its own reference point. Every selected object is replaced by a scaled copy; of
// an owner whose opening is selected only that opening is, on the same owner. Undo and Redo are
// the replacement's exchange.
#pragma once

#include "CObjectReplacementTask.h"

class VLUser3DObject;

class CScaleTask : public CObjectReplacementTask {
  VL_REGISTERED_CLASS(CScaleTask, CObjectReplacementTask)

 public:
  static constexpr SInt16 kScaleName = 7;

  CScaleTask() = default;

  // Takes the selection out and puts a scaled copy of each object in its place, appended to the
  // object list and selected, the last object first. An object of which no copy can be made
  // (a kind that makes none) goes back to the end of the list, selected, and the task does not
  // keep it. When a copy raises, everything done is undone, the selection is as it was (each
  // object at the end of the list) and the error passes on.
  void Do() override;

 private:
  // The scaled replacement of `replaced`'s item, appended to `replacing`; false when no copy
  // could be made.
  Boolean ReplaceItem(long index);
  // The item of `replaced` back in the document, selected, and out of `replaced`.
  void PutBack(long index);
};
