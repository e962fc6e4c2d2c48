#include "VL3DDrawingTask.h"

#include <cmath>
#include <cstring>
#include <new>

#include "CArc.h"
#include "CBureaucrat.h"
#include "CCrosshairLocator.h"
#include "CCylinder.h"
#include "CPreferences.h"
#include "CRectangle.h"
#include "DrawingPlane.h"
#include "Events.h"
#include "LongCoordinates.h"
#include "ObjectList.h"
#include "Selection.h"
#include "TaskSupport.h"
#include "Unwinding.h"
#include "VLCrosshairCursor.h"
#include "VLCube.h"
#include "VLDocument.h"
#include "VLPolyline.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"

VL3DDrawingTask* gTypedEntryTask = nullptr;

namespace {

// A snapped release point closer than this to the last located point reshapes nothing.
constexpr double kSamePoint = 0.0001;
// A pane point no mouse can be at: the next locate always runs.
constexpr SInt16 kNoPanePoint = -9999;
// The keys that start typed coordinates during a drag.
constexpr char kCoordinateKeys[] = "xXyYzZeEsSvV";

SInt16 CircleFaceting(VLViewPane* pane) {
  CPreferences* preferences = pane && pane->document ? pane->document->GetPreferences() : nullptr;
  return preferences ? preferences->GetCircleFaceting() : kMinCircleFaceting;
}

void ForgetTypedEntry() {
  if (!gTypedEntryTask) return;
  gTypedEntryTask->Dispose();
  gTypedEntryTask = nullptr;
}

}  // namespace

// ---- VL3DDrawingTask ----

Point VL3DDrawingTask::PanePoint(const LongPt* p) {
  Point q;
  LongToQDPt(p, &q);
  return q;
}

void VL3DDrawingTask::DeselectAll() {
  // The first item each time, as many times as the list had items.
  const long count = gCurrentSelection ? gCurrentSelection->GetNumItems() : 0;
  for (long i = 0; i < count && gCurrentSelection->GetNumItems() > 0; ++i)
    static_cast<VLUser3DObject*>(gCurrentSelection->PointerAt(1))->Deselect();
}

VL3DDrawingTask::~VL3DDrawingTask() {
  if (undoCopy) undoCopy->Dispose();
}

void VL3DDrawingTask::IDrawingTask(SInt16 nameIndex, VLViewTransform* view) {
  viewTransform = view;
  created = 0;
  undoCopy = nullptr;
  trackedObject = nullptr;
  objectIndex = 0;
  CMouseTask::Init(nameIndex);
}

Boolean VL3DDrawingTask::LocatePoint(Point panePoint, Vector3d* point, Boolean snapToVertices, VLUser3DObject* skip) {
  VLViewPane* pane = gCurrentViewPane;
  return pane && pane->LocateMousePoint(panePoint, point, snapToVertices, skip, false);
}

void VL3DDrawingTask::BeginTracking(LongPt* startPt) {
  VLViewPane* pane = gCurrentViewPane;
  if (pane) startPoint = pane->currentPoint;
  LocatePoint(PanePoint(startPt), &startPoint, gSnapToVertices, nullptr);
  if (pane && pane->crosshair) pane->crosshair->BroadcastPoint(&startPoint, true);
}

VLUser3DObject* VL3DDrawingTask::NewObject() { return nullptr; }

void VL3DDrawingTask::AppendObject(VLUser3DObject* object) {
  gCurrentObjectList->AppendPointer(object);
  trackedObject = object;
  vltasks::RefreshObjectCount();
  objectIndex = SInt16(gCurrentObjectList->GetNumItems());
}

void VL3DDrawingTask::RedrawPane() {
  VLViewPane* pane = gCurrentViewPane;
  if (!pane) return;
  pane->Refresh();
  if (pane->crosshair) pane->crosshair->DrawCrosshair();
}

void VL3DDrawingTask::TakeTypedEntry() {
  EventRecord event;
  if (!PortPeekEvent(everyEvent, &event) || event.what != keyDown) return;
  // The key is taken out of the queue: left there, every later poll would type it again.
  PortGetNextEvent(keyDownMask, &event);
  const char key = char(event.message & charCodeMask);
  if (!gTypedEntryTask && key != 0 && std::strchr(kCoordinateKeys, key)) {
    VL3DDrawingTask* entry = NewTypedEntryTask();
    if (entry) {
      entry->viewTransform = viewTransform;
      entry->trackedObject = trackedObject;
      entry->undoCopy = nullptr;
      entry->created = created;
    }
    gTypedEntryTask = entry;
  }
  if (gCommandTarget) gCommandTarget->DoKeyDown(key, UInt8((event.message & keyCodeMask) >> 8), &event);
}

Boolean VL3DDrawingTask::LocateDragPoint(LongPt* currPt, Vector3d* point) {
  VLViewPane* pane = gCurrentViewPane;
  if (!pane || !gCurrentObjectList) return false;
  TakeTypedEntry();
  LongPt mouse = *currPt;
  pane->AutoScroll(&mouse);
  return LocatePoint(PanePoint(currPt), point, false, nullptr);
}

void VL3DDrawingTask::DragStep(LongPt* currPt) {
  VLViewPane* pane = gCurrentViewPane;
  Vector3d point;
  if (!LocateDragPoint(currPt, &point)) return;
  if (!created) {
    // An object that cannot be made leaves everything as it was: the next poll tries again.
    Owned<VLUser3DObject> object(NewObject());
    if (!object) return;
    AppendObject(object.get());
    object.release();
    gTrackingDrawing = 1;
    pane->partialCopy = 1;
    trackedObject->BuildGeometry(viewTransform, 0, &startPoint, -1, pane);
    created = 1;
    trackedObject->tracking = 1;
  } else {
    trackedObject->BuildGeometry(viewTransform, 1, &point, -1, pane);
    reshaped = 1;
  }
  trackedObject->MarkChanged();
  RedrawPane();
}

void VL3DDrawingTask::EndTracking(LongPt* currPt, LongPt*, LongPt* startPt) {
  // A drag the program saw in one move (a fast hand on a busy machine: the release before any
  // poll, or every poll at the point of the first) still draws, from the press to the point
  // last located.
  if (!created && currPt && startPt && (currPt->h != startPt->h || currPt->v != startPt->v)) DragStep(currPt);
  if (created && !reshaped && trackedObject && gCurrentViewPane)
    trackedObject->BuildGeometry(viewTransform, 1, &gCurrentViewPane->currentPoint, -1, gCurrentViewPane);
  gTrackingDrag = 0;
  if (!created || !trackedObject) return;
  ForgetTypedEntry();
  VLViewPane* pane = gCurrentViewPane;
  if (gSnapToVertices && pane) {
    const Vector3d last = pane->currentPoint;
    Vector3d snapped = last;
    if (LocatePoint(PanePoint(currPt), &snapped, true, trackedObject) &&
        (std::fabs(snapped.x - last.x) > kSamePoint || std::fabs(snapped.y - last.y) > kSamePoint ||
         std::fabs(snapped.z - last.z) > kSamePoint))
      trackedObject->BuildGeometry(viewTransform, 1, &snapped, -1, pane);
  }
  FinishObject();
}

void VL3DDrawingTask::FinishObject() {
  VLViewPane* pane = gCurrentViewPane;
  gTrackingDrawing = 0;
  trackedObject->MarkChanged();
  trackedObject->tracking = 0;
  if (gWorkingPlaneOn) trackedObject->CreateFrame();
  if (pane) pane->partialCopy = 0;
  DeselectAll();
  vltasks::RefreshObjectCount();
  trackedObject->Select();
  if (pane) pane->Refresh();
  gTypedLock = gTypedLockX = gTypedLockY = gTypedLockZ = 0;
}

void VL3DDrawingTask::TrackToPoint(const Vector3d* point) {
  if (trackedObject) {
    trackedObject->BuildGeometry(viewTransform, 1, point, -1, gCurrentViewPane);
    trackedObject->MarkChanged();
  }
  RedrawPane();
}

void VL3DDrawingTask::TakeObjectOut() {
  VL3DDrawingTask::Undo();
  if (!trackedObject || !gCurrentObjectList) return;
  trackedObject->Deselect();
  // The object at its recorded place; should the list have changed since, the object itself.
  if (objectIndex >= 1 && objectIndex <= gCurrentObjectList->GetNumItems() &&
      gCurrentObjectList->PointerAt(objectIndex) == trackedObject)
    gCurrentObjectList->DeleteItem(objectIndex);
  else
    gCurrentObjectList->Remove(trackedObject);
  vltasks::RefreshObjectCount();
}

void VL3DDrawingTask::PutObjectBack() {
  VL3DDrawingTask::Redo();
  if (!trackedObject || !gCurrentObjectList) return;
  gCurrentObjectList->AppendPointer(trackedObject);
  trackedObject->Select();
  vltasks::RefreshObjectCount();
}

void VL3DDrawingTask::Undo() {
  CTask::Undo();
  undoCopy = trackedObject;
}

void VL3DDrawingTask::Redo() { undoCopy = nullptr; }

// ---- The drag tools ----

VLUser3DObject* VLBlockDrawingTask::NewObject() {
  Owned<VLCube> block(new (std::nothrow) VLCube);
  if (!block || !block->InitStorage()) return nullptr;
  return block.release();
}

VL3DDrawingTask* VLBlockDrawingTask::NewTypedEntryTask() { return new (std::nothrow) VLBlockDrawingTask; }

VLUser3DObject* CRectangleDrawingTask::NewObject() {
  Owned<CRectangle> rectangle(new (std::nothrow) CRectangle);
  if (!rectangle) return nullptr;
  rectangle->InitRectangle();
  return rectangle.release();
}

VL3DDrawingTask* CRectangleDrawingTask::NewTypedEntryTask() { return new (std::nothrow) CRectangleDrawingTask; }

VLUser3DObject* CCylinderDrawingTask::NewObject() {
  Owned<CCylinder> cylinder(new (std::nothrow) CCylinder);
  if (!cylinder) return nullptr;
  cylinder->InitCylinder(CircleFaceting(gCurrentViewPane));
  return cylinder.release();
}

VL3DDrawingTask* CCylinderDrawingTask::NewTypedEntryTask() { return new (std::nothrow) CCylinderDrawingTask; }

VLUser3DObject* CArcDrawingTask::NewObject() {
  Owned<CArc> arc(new (std::nothrow) CArc);
  if (!arc) return nullptr;
  arc->InitArc(CircleFaceting(gCurrentViewPane));
  return arc.release();
}

VL3DDrawingTask* CArcDrawingTask::NewTypedEntryTask() { return new (std::nothrow) CArcDrawingTask; }

void CArcDrawingTask::BeginTracking(LongPt* startPt) {
  VL3DDrawingTask::BeginTracking(startPt);
  if (gCurrentViewPane && gCurrentViewPane->crosshair) gCurrentViewPane->crosshair->SuspendShiftConstraint();
}

void CArcDrawingTask::EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) {
  VL3DDrawingTask::EndTracking(currPt, prevPt, startPt);
  if (gCurrentViewPane && gCurrentViewPane->crosshair) gCurrentViewPane->crosshair->ResumeShiftConstraint();
}

// ---- The line ----

VLUser3DObject* CLineDrawingTask::NewObject() {
  Owned<VLPolyline> polyline(new (std::nothrow) VLPolyline);
  if (!polyline) return nullptr;
  polyline->InitStorage();
  return polyline.release();
}

VL3DDrawingTask* CLineDrawingTask::NewTypedEntryTask() { return new (std::nothrow) CLineDrawingTask; }

VLUser3DObject* CLineDrawingTask::StartPolyline(bool withFirstVertex) {
  VLViewPane* pane = gCurrentViewPane;
  Owned<VLUser3DObject> polyline(NewObject());
  if (!polyline || !pane || !gCurrentObjectList) return nullptr;
  AppendObject(polyline.get());
  polyline.release();
  gTrackingDrawing = 1;
  pane->partialCopy = 1;
  if (pane->crosshair) pane->crosshair->lastPanePoint.h = kNoPanePoint;
  if (withFirstVertex) trackedObject->BuildGeometry(viewTransform, 0, &startPoint, -1, pane);
  created = 1;
  return trackedObject;
}

void CLineDrawingTask::KeepTracking(LongPt* currPt, LongPt*, LongPt*) {
  VLViewPane* pane = gCurrentViewPane;
  Vector3d point;
  if (!LocateDragPoint(currPt, &point)) return;
  const bool first = !created;
  if (first && !StartPolyline(true)) return;
  auto* polyline = static_cast<VLPolyline*>(trackedObject);
  if (first) polyline->Select();
  polyline->SetTrackPoint(&point);
  polyline->MarkChanged();
  if (first)
    pane->Refresh();
  else
    RedrawPane();
}

void CLineDrawingTask::EndTracking(LongPt* currPt, LongPt*, LongPt*) {
  gTrackingDrag = 0;
  if (!created || !trackedObject) return;
  ForgetTypedEntry();
  VLViewPane* pane = gCurrentViewPane;
  // The release point always ends the line; the pane's last located point stays as it was.
  const Vector3d last = pane ? pane->currentPoint : startPoint;
  Vector3d end = last;
  LocatePoint(PanePoint(currPt), &end, gSnapToVertices, trackedObject);
  if (pane) pane->currentPoint = last;
  trackedObject->BuildGeometry(viewTransform, 1, &end, -1, pane);
  trackedObject->BuildOutlineEdges(true);
  FinishObject();
}
