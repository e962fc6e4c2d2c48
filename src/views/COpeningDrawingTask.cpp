#include "COpeningDrawingTask.h"

#include <new>

#include "CCrosshairLocator.h"
#include "CRectangularOpening.h"
#include "ObjectInfoRecord.h"
#include "Unwinding.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"

namespace {

VLOpeningOwner* gOpeningOwner = nullptr;
VLOpeningOwner* gRectangularOpeningOwner = nullptr;

}  // namespace

VLOpening* COpeningDrawingTask::GetOpening() const { return static_cast<VLOpening*>(trackedObject); }

VL3DDrawingTask* COpeningDrawingTask::NewTypedEntryTask() { return new (std::nothrow) COpeningDrawingTask; }

VLOpening* COpeningDrawingTask::NewOpening() { return new (std::nothrow) VLOpening; }

VLOpeningOwner*& COpeningDrawingTask::DragOwner() { return gOpeningOwner; }

VLOpeningOwner* COpeningDrawingTask::FaceUnderLocator() {
  VLCrosshairCursor* cursor = gCurrentViewPane ? gCurrentViewPane->crosshair : nullptr;
  SInt16 face = -1;
  return cursor ? dynamic_cast<VLOpeningOwner*>(cursor->GetCurrentFace(&face)) : nullptr;
}

Boolean COpeningDrawingTask::LockedFaceOutline(Vector3d points[4], SInt16* face) {
  VLCrosshairCursor* cursor = gCurrentViewPane ? gCurrentViewPane->crosshair : nullptr;
  if (!cursor) return false;
  *face = cursor->GetFaceOutline(points);
  return *face >= 0;
}

void COpeningDrawingTask::KeepTracking(LongPt* currPt, LongPt*, LongPt*) {
  VLViewPane* pane = gCurrentViewPane;
  Vector3d point;
  if (!LocateDragPoint(currPt, &point)) return;
  Vector3d outline[4];
  SInt16 face = -1;
  if (!created) {
    VLOpeningOwner* owner = FaceUnderLocator();
    DragOwner() = owner;
    if (!owner || !LockedFaceOutline(outline, &face)) return;
    Owned<VLOpening> opening(NewOpening());
    if (!opening) return;
    // A refused placement leaves nothing behind: the next poll tries again.
    if (!opening->CreateOnFace(0, outline, face, owner)) return;
    if (!gShadedMode && !gHiddenLineMode) gTrackingDrawing = 1;
    pane->partialCopy = 1;
    trackedObject = opening.release();
    created = 1;
    trackedObject->MarkChanged();
    trackedObject->tracking = 1;
  } else if (LockedFaceOutline(outline, &face)) {
    GetOpening()->CreateOnFace(1, outline, face, DragOwner());
    trackedObject->MarkChanged();
    reshaped = 1;
  }
  RedrawPane();
}

void COpeningDrawingTask::EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) {
  // A drag the program saw in one move (the release before any poll, or every poll at the point
  // of the first) still cuts the opening from the press to the release.
  if (!created && currPt && startPt && (currPt->h != startPt->h || currPt->v != startPt->v))
    KeepTracking(currPt, prevPt, startPt);
  if (created && !reshaped) {
    // The mouse has not moved since that poll: the locate must run all the same.
    if (gCurrentViewPane && gCurrentViewPane->crosshair) gCurrentViewPane->crosshair->forceLocate = 1;
    KeepTracking(currPt, prevPt, startPt);
  }
  gTrackingDrag = 0;
  if (!created || !trackedObject) return;
  if (gTypedEntryTask) {
    gTypedEntryTask->Dispose();
    gTypedEntryTask = nullptr;
  }
  VLViewPane* pane = gCurrentViewPane;
  Vector3d snapped = pane ? pane->currentPoint : startPoint;
  if (gSnapToVertices && LocatePoint(PanePoint(currPt), &snapped, true, trackedObject))
    trackedObject->BuildGeometry(viewTransform, 1, &snapped, -1, pane);
  gTrackingDrawing = 0;
  trackedObject->MarkChanged();
  trackedObject->tracking = 0;
  trackedObject->NotifyInfoBox(kInfoChanged);
  if (pane) {
    pane->partialCopy = 0;
    pane->Refresh();
  }
  gTypedLock = gTypedLockX = gTypedLockY = gTypedLockZ = 0;
}

void COpeningDrawingTask::Undo() {
  VL3DDrawingTask::Undo();
  if (VLOpening* opening = GetOpening()) opening->DetachFromOwner();
}

void COpeningDrawingTask::Redo() {
  if (!undoCopy) return;
  static_cast<VLOpening*>(undoCopy)->AttachToOwner();
  undoCopy = nullptr;
}

// ---- CRectangularOpeningTask ----

VL3DDrawingTask* CRectangularOpeningTask::NewTypedEntryTask() { return new (std::nothrow) COpeningDrawingTask; }

VLOpening* CRectangularOpeningTask::NewOpening() { return new (std::nothrow) CRectangularOpening; }

VLOpeningOwner*& CRectangularOpeningTask::DragOwner() { return gRectangularOpeningOwner; }
