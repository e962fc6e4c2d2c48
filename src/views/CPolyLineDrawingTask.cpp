#include "CPolyLineDrawingTask.h"

#include <new>

#include "CApplication.h"
#include "DrawingPlane.h"
#include "LongCoordinates.h"
#include "ObjectList.h"
#include "Selection.h"
#include "TaskSupport.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLPolyline.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"

namespace {

VLCrosshairCursor* Cursor() { return gCurrentViewPane ? gCurrentViewPane->crosshair : nullptr; }

}  // namespace

VLPolyline* CPolyLineDrawingTask::GetPolyline() const { return static_cast<VLPolyline*>(trackedObject); }

bool CPolyLineDrawingTask::InProgress() const { return GetPolyline() && GetPolyline()->underConstruction; }

VL3DDrawingTask* CPolyLineDrawingTask::NewTypedEntryTask() { return new (std::nothrow) CLineDrawingTask; }

void CPolyLineDrawingTask::ShowChange() {
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) return;
  pane->Prepare();
  RedrawPane();
}

void CPolyLineDrawingTask::BeginTracking(LongPt* startPt) {
  if (!created) VL3DDrawingTask::BeginTracking(startPt);
}

void CPolyLineDrawingTask::KeepTracking(LongPt* currPt, LongPt*, LongPt*) {
  VLViewPane* pane = gCurrentViewPane;
  Vector3d point;
  if (!LocateDragPoint(currPt, &point)) return;
  if (!created && !StartPolyline(true)) return;
  pane->polylineUnderConstruction = trackedObject;
  GetPolyline()->SetTrackPoint(&point);
  trackedObject->MarkChanged();
  ShowChange();
}

void CPolyLineDrawingTask::EndTracking(LongPt* currPt, LongPt*, LongPt*) {
  gTrackingDrag = 0;
  VLViewPane* pane = gCurrentViewPane;
  VLCrosshairCursor* cursor = Cursor();
  if (!created) {
    // A click without a located drag starts the outline at its point.
    if (!StartPolyline(true)) return;
    if (pane) pane->polylineUnderConstruction = trackedObject;
    if (cursor) cursor->SetAnchor(&startPoint);
  } else {
    Vector3d point = pane ? pane->currentPoint : startPoint;
    LocatePoint(PanePoint(currPt), &point, gSnapToVertices, nullptr);
    trackedObject->BuildGeometry(viewTransform, 1, &point, -1, pane);
    if (cursor) {
      cursor->BroadcastPoint(&point, true);
      cursor->SetAnchor(&point);
    }
  }
  trackedObject->MarkChanged();
  if (pane) pane->Prepare();
  if (GetPolyline()->closed) {
    FinishPolyline();
  } else if (pane) {
    pane->partialCopy = 0;
    pane->Refresh();
    pane->partialCopy = 1;
  }
  // The next Undo command undoes the vertex just added.
  undone = false;
  if (gApplication) gApplication->ClearUndone();
}

void CPolyLineDrawingTask::TrackToPoint(const Vector3d* point) {
  if (VLCrosshairCursor* cursor = Cursor()) cursor->BroadcastPoint(point, true);
  if (!created && !StartPolyline(false)) return;
  VL3DDrawingTask::TrackToPoint(point);
  if (GetPolyline()->closed) FinishPolyline();
}

void CPolyLineDrawingTask::FinishPolyline() {
  VLPolyline* polyline = GetPolyline();
  if (!polyline) return;
  polyline->BuildOutlineEdges(true);
  if (gTypedEntryTask) {
    gTypedEntryTask->Dispose();
    gTypedEntryTask = nullptr;
  }
  polyline->MarkChanged();
  polyline->tracking = 0;
  if (gWorkingPlaneOn) polyline->CreateFrame();
  DeselectAll();
  vltasks::RefreshObjectCount();
  polyline->Select();
  VLViewPane* pane = gCurrentViewPane;
  if (pane && pane->document) pane->document->SetDrawingInProgress(0);
  if (pane) pane->EndConstruction();
  // The next Undo takes the whole polyline out, even after an undone vertex: redoing the vertex
  // of a finished outline would put the polyline in the list a second time.
  undone = false;
  if (gApplication) gApplication->ClearUndone();
  polyline->MarkChanged();
  if (pane && pane->document) pane->document->RecomputeModelBounds();
  vltasks::ShowSelectTool(vltasks::kSelectObjectsTool);
}

void CPolyLineDrawingTask::Undo() {
  if (InProgress()) {
    CTask::Undo();
    VLPolyline* polyline = GetPolyline();
    polyline->PopVertex(&removedVertex);
    Vector3d last;
    polyline->GetLastVertex(&last);
    if (VLCrosshairCursor* cursor = Cursor()) cursor->BroadcastPoint(&last, true);
    polyline->SetTrackPoint(&last);
    polyline->MarkChanged();
  } else {
    TakeObjectOut();
  }
  ShowChange();
}

void CPolyLineDrawingTask::Redo() {
  if (InProgress()) {
    trackedObject->BuildGeometry(viewTransform, 1, &removedVertex, -1, gCurrentViewPane);
    trackedObject->MarkChanged();
    undone = false;
  } else {
    PutObjectBack();
  }
  ShowChange();
}
