// The drawing tools' presses in the pane: a drag tool's task tracks the mouse and, when it drew
// something, becomes the document's one undoable step; the polyline tool keeps one task across
// the clicks of its outline.
#include <new>

#include "COpeningDrawingTask.h"
#include "CPolyLineDrawingTask.h"
#include "LongCoordinates.h"
#include "TaskSupport.h"
#include "Unwinding.h"
#include "VL3DDrawingTask.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLPolyline.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"

namespace {

enum : SInt16 { kDrawingGroup = 1, kOpeningGroup = 5 };
enum : SInt16 { kBlockTool = 0, kCylinderTool = 1, kRectangleTool = 2, kPolylineTool = 3, kLineTool = 4, kArcTool = 5 };
enum : SInt16 { kRectangularOpeningTool = 0 };
// A pane point no mouse can be at: the task's first locate always runs.
constexpr SInt16 kNoPanePoint = -9999;

VL3DDrawingTask* NewToolTask(SInt16 group, SInt16 tool) {
  if (group == kOpeningGroup)
    return tool == kRectangularOpeningTool ? new (std::nothrow) CRectangularOpeningTask : nullptr;
  if (group != kDrawingGroup) return nullptr;
  switch (tool) {
    case kBlockTool:
      return new (std::nothrow) VLBlockDrawingTask;
    case kCylinderTool:
      return new (std::nothrow) CCylinderDrawingTask;
    case kRectangleTool:
      return new (std::nothrow) CRectangleDrawingTask;
    case kPolylineTool:
      return new (std::nothrow) CPolyLineDrawingTask;
    case kLineTool:
      return new (std::nothrow) CLineDrawingTask;
    case kArcTool:
      return new (std::nothrow) CArcDrawingTask;
    default:
      return nullptr;
  }
}

}  // namespace

VL3DDrawingTask* (*gNewDrawingTask)(SInt16 group, SInt16 tool) = NewToolTask;

void VLViewPane::DrawWithTool(Point hitPt, SInt16 tool, UInt32 when) {
  switch (tool) {
    case kPolylineTool:
      DrawPolylineClick(hitPt, when);
      break;
    case kBlockTool:
    case kCylinderTool:
    case kRectangleTool:
    case kLineTool:
    case kArcTool:
      DrawWithTask(hitPt, kDrawingGroup, tool);
      break;
    default:
      RefusePress();
      break;
  }
}

void VLViewPane::TrackDrawingTask(VL3DDrawingTask* task, Point hitPt) {
  LongPt start;
  QDToLongPt(hitPt, &start);
  LongRect pin;
  GetFrame(&pin);
  lastUpdate.left = kNoPanePoint;
  if (crosshair) crosshair->lastPanePoint.h = kNoPanePoint;
  // The task's release clears it.
  gTrackingDrag = 1;
  TrackMouse(task, &start, &pin);
}

void VLViewPane::DrawWithTask(Point hitPt, SInt16 group, SInt16 tool) {
  VLArray* objects = document->GetObjectList();
  const long before = objects->GetNumItems();
  Owned<VL3DDrawingTask> task(gNewDrawingTask(group, tool));
  // A task that cannot be had ends the press with nothing changed.
  if (!task) return;
  task->IDrawingTask(VL3DDrawingTask::kDrawingName, viewTransform);
  bool drew = false;
  if (group == kOpeningGroup) {
    // The opening follows the face the crosshair first meets, on the selected solid.
    Prepare();
    if (crosshair) {
      crosshair->taskTracking = 1;
      crosshair->LockToFirstFace();
    }
    TrackDrawingTask(task.get(), hitPt);
    if (crosshair) {
      crosshair->UnlockFace();
      crosshair->taskTracking = 0;
    }
    auto* opening = dynamic_cast<COpeningDrawingTask*>(task.get());
    drew = opening && opening->GetOpening();
  } else {
    if (tool == kLineTool) EraseFeedback();
    TrackDrawingTask(task.get(), hitPt);
    drew = objects->GetNumItems() > before;
  }
  // A press that drew nothing (a click without a drag, an object that could not be made) leaves
  // the previous undoable step in place.
  if (drew) {
    Notify(task.release());
    if (group == kDrawingGroup)
      document->ExtendModelBounds(static_cast<VLUser3DObject*>(objects->PointerAt(objects->GetNumItems())));
  }
  if (group == kDrawingGroup && (tool == kCylinderTool || tool == kRectangleTool || tool == kArcTool))
    ReturnToSelectTool();
  if (shadowMode) LeaveShadowMode();
}

void VLViewPane::DrawPolylineClick(Point hitPt, UInt32 when) {
  const bool doubleClick = IsDoubleClick(hitPt, when);
  lastUpdate = Rect{};
  auto* task = static_cast<CPolyLineDrawingTask*>(polylineTask);
  if (!task || !document->GetDrawingInProgress()) {
    Owned<VL3DDrawingTask> made(gNewDrawingTask(kDrawingGroup, kPolylineTool));
    if (!made) return;
    made->IDrawingTask(VL3DDrawingTask::kDrawingName, viewTransform);
    TrackDrawingTask(made.get(), hitPt);
    // An outline that could not be started leaves everything as it was.
    if (!made->IsCreated()) return;
    polylineTask = made.get();
    Notify(made.release());
    document->SetDrawingInProgress(1);
    return;
  }
  if (!doubleClick) {
    TrackDrawingTask(task, hitPt);
    return;
  }
  // The double click's point ends the outline.
  auto* polyline = task->GetPolyline();
  Vector3d point = currentPoint;
  pointLocated = LocatePoint(hitPt, &point, gSnapToVertices, polyline, false);
  polyline->BuildGeometry(viewTransform, 1, &point, -1, this);
  if (crosshair) crosshair->SetAnchor(&point);
  polyline->MarkChanged();
  Prepare();
  if (polyline->vertexCount < 2) {
    ClosePolylineUnderConstruction();
    ReturnToSelectTool();
  } else {
    task->FinishPolyline();
  }
}
