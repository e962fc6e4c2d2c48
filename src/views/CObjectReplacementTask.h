// Undoable edits that take objects out of the document and put others in their place (arrays of
// copies, scaled copies, walls made from lines). The task keeps both lists; each Undo or Redo
// takes one set out of the document, puts the other back, and exchanges the lists, so that
// `replaced` always holds the objects that are out of the document.
#pragma once

#include "CTask.h"
#include "Vector3d.h"

class CDuplicator;
class VLArray;

class CObjectReplacementTask : public CTask {
  VL_REGISTERED_CLASS(CObjectReplacementTask, CTask)

 public:
  CObjectReplacementTask() = default;
  // Disposes of the objects out of the document (those of `replaced`), then of both lists.
  ~CObjectReplacementTask() override;

  // Makes both lists (empty). Raises kDEErrorNilPointer when one cannot be made.
  virtual void MakeLists();
  // The exchange, for Undo and Redo alike: every object of `replacing` leaves the document (an
  // opening its owner), every object of `replaced` comes back (appended to the object list and
  // selected; an opening put back on its owner and selected with the opening select tool), and
  // the lists exchange. The undone flag is not touched.
  void Undo() override;
  virtual void SetDuplicator(CDuplicator* duplicator) { itsDuplicator = duplicator; }
  // The centre of a circular array, or the three scale factors.
  virtual void SetPoint(const Vector3d& value) { point = value; }

  VLArray* GetReplaced() const { return replaced; }
  VLArray* GetReplacing() const { return replacing; }

 protected:
  // Takes every selected model object out of the document into `replaced` (deselected); the
  // section and working planes at positions 1 and 2 are never taken. With openingsAlone, an
  // owner with a current opening stays in the document, deselected, and its current opening
  // (still on the owner) is what `replaced` takes.
  void TakeSelectionOut(Boolean openingsAlone = false);

  VLArray* replaced = nullptr;
  VLArray* replacing = nullptr;
  CDuplicator* itsDuplicator = nullptr;
  Vector3d point;
};
