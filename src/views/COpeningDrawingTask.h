// The opening tools: a drag on a face of an opening owner cuts a rectangular opening through it.
// The crosshair locks onto the face under it and hands the tool the rubber-band rectangle on that
// face, from which the opening places and reshapes itself. The opening lives in its owner's
// opening list, not in the object list: Undo takes it off its owner (the task then owns it) and
// Redo puts it back.
//
// COpeningDrawingTask places a plain opening; CRectangularOpeningTask, the one the pane makes, a
// rectangular one. Both are implemented in COpeningDrawingTask.cpp.
#pragma once

#include "VL3DDrawingTask.h"

class VLOpening;
class VLOpeningOwner;

class COpeningDrawingTask : public VL3DDrawingTask {
  VL_REGISTERED_CLASS(COpeningDrawingTask, VL3DDrawingTask)

 public:
  // The first located poll finds the owner under the locator and places the opening on its
  // face; later polls reshape it. Nothing while no face is under the locator, and nothing (the
  // next poll tries again) when the opening cannot be made or placed.
  void KeepTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;
  // The release: a snapped release point reshapes the opening once more; the palette hears of
  // it; the typed coordinates are forgotten. Nothing when no opening was made.
  void EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;
  // The opening leaves its owner (and becomes the task's) or comes back to it.
  void Undo() override;
  void Redo() override;

  VLOpening* GetOpening() const;

 protected:
  VL3DDrawingTask* NewTypedEntryTask() override;
  // A new opening of the tool's kind; null when memory runs out.
  virtual VLOpening* NewOpening();
  // The opening owner whose face is under the locator (null for none or another kind of
  // object), and the face lock's rectangle on that face with the face's index.
  virtual VLOpeningOwner* FaceUnderLocator();
  virtual Boolean LockedFaceOutline(Vector3d points[4], SInt16* face);
  // The owner of the drag running now (one drag at a time, as the tool's own variable).
  virtual VLOpeningOwner*& DragOwner();
};

class CRectangularOpeningTask : public COpeningDrawingTask {
  VL_REGISTERED_CLASS(CRectangularOpeningTask, COpeningDrawingTask)

 protected:
  VL3DDrawingTask* NewTypedEntryTask() override;
  VLOpening* NewOpening() override;
  VLOpeningOwner*& DragOwner() override;
};
