// The drags that edit what is in the model: moving the selection, a vertex or an edge of one
// object, reshaping it through the scaling task, turning the selection, and moving the working
// and section planes. Each hands its undo record to the document before anything moves.
#include <cmath>
#include <new>

#include "CObjectChangedTask.h"
#include "CScalingTask.h"
#include "Events.h"
#include "GeometryKernel.h"
#include "ObjectInfoRecord.h"
#include "TaskSupport.h"
#include "Ticks.h"
#include "Unwinding.h"
#include "VL3DRotateTask.h"
#include "VL3DToolVertsChangedTask.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"

namespace {

// The undo names of a move, a reshape or vertex drag, and an edge drag.
constexpr SInt16 kMoveName = 1;
constexpr SInt16 kReshapeName = 2;
constexpr SInt16 kEdgeName = 3;
// The plane tools and the rotate tool tell a click from a drag after this many ticks.
constexpr UInt32 kClickTicks = 10;
// A snapped release moves the selection only when the snap moved the point further than this.
constexpr double kSnapMoved = 0.0001;
constexpr double kUnset = 105600.0;
constexpr SInt16 kDrawingPlaneGroup = 3;

bool IsFinite(const Vector3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

bool DiffersFrom(const Vector3d& a, const Vector3d& b) {
  return std::fabs(a.x - b.x) > kSnapMoved || std::fabs(a.y - b.y) > kSnapMoved || std::fabs(a.z - b.z) > kSnapMoved;
}

VLUser3DObject* ObjectAt(VLArray* list, long i) { return static_cast<VLUser3DObject*>(list->PointerAt(i)); }

long MousePoint(Point mouse) { return (long(mouse.v) << 16) | UInt16(mouse.h); }

// A change record of the selection, made and initialised; null when memory runs out (the drag
// then runs without one).
template <class Task, void (Task::*Init)(SInt16)>
Task* NewSelectionRecord(SInt16 name) {
  Owned<Task> task(new (std::nothrow) Task);
  if (!task) return nullptr;
  (task.get()->*Init)(name);
  return task.release();
}

// The handle of a selected object under the press: a vertex handle, else an edge handle (-1
// each when none), with the handle's model point.
struct HandleHit {
  SInt16 vertex = -1;
  SInt16 edge = -1;
  Vector3d point;
  bool Hit() const { return vertex >= 0 || edge >= 0; }
};

HandleHit FindHandleAt(VLUser3DObject* object, const Vector3d& located, Point hitPt, VLViewTransform* view) {
  HandleHit hit;
  hit.vertex = object->FindVertexHandle(&located, hitPt, false);
  if (hit.vertex < 0) hit.edge = object->FindEdgeHandle(&located, hitPt, false, view);
  if (hit.vertex >= 0)
    object->GetHandlePoint(&hit.point, hit.vertex, true);
  else if (hit.edge >= 0)
    object->GetHandlePoint(&hit.point, hit.edge, false);
  return hit;
}

// What an edited object does when its drag ends: its frame follows the moved vertices and the
// info palette shows the result.
void FinishEdit(VLUser3DObject* object) {
  object->UpdateFrame();
  object->NotifyInfoBox(kInfoChanged);
}

}  // namespace

// ---- The loop ----

Boolean VLViewPane::PressIsHeld(UInt32 when) {
  while (PortStillDown() && PortTickCount() - when < kClickTicks) {
  }
  return PortStillDown();
}

template <class Step>
void VLViewPane::FollowMouse(Step& step) {
  const Vector3d previous = currentPoint;
  Prepare();
  Point mouse;
  PortGetMouse(&mouse);
  AutoScrollToPoint(mouse);
  Vector3d located = currentPoint;
  pointLocated = crosshair->Locate(mouse, &located);
  // A ray along the drawing plane locates nowhere: the objects stay where they are.
  if (!pointLocated || !IsFinite(located)) return;
  currentPoint = located;
  Vector3d offset;
  VectorSubtract(&currentPoint, &previous, &offset);
  step(offset, mouse);
  Refresh();
  crosshair->DrawCrosshair();
}

template <class Step>
void VLViewPane::TrackEdit(Step step) {
  gTrackingDrag = 1;
  while (PortStillDown()) {
    gTrackingDrawing = 1;
    FollowMouse(step);
  }
  // The mouse may have moved on between the last poll and the release: the edit ends where the
  // button was let go.
  FollowMouse(step);
  gTrackingDrag = 0;
  gTrackingDrawing = 0;
}

// ---- The select tool ----

void VLViewPane::DragSelection(Point hitPt, UInt16 modifiers, UInt32 when) {
  VLArray* selection = document->GetSelectionList();
  if (!selection || selection->GetNumItems() == 0 || !crosshair) {
    SelectByRectangle(hitPt, modifiers, when);
    return;
  }
  Prepare();
  crosshair->forceLocate = 1;
  if (Vector3d p = currentPoint; crosshair->Locate(hitPt, &p) && IsFinite(p)) currentPoint = p;

  // The object under the press: the only selected one with its handles, else the first selected
  // one there (in the order of selection) without.
  VLUser3DObject* dragged = nullptr;
  HandleHit handle;
  const long count = selection->GetNumItems();
  for (long i = 1; i <= count && !dragged; ++i) {
    VLUser3DObject* object = ObjectAt(selection, i);
    if (!object || !object->PointInScreenBounds(hitPt)) continue;
    dragged = object;
    if (count == 1) handle = FindHandleAt(object, currentPoint, hitPt, viewTransform);
  }
  if (!dragged) {
    SelectByRectangle(hitPt, modifiers, when);
    return;
  }
  bool snapped = false;
  if (!handle.Hit() && gSnapToVertices) {
    Vector3d vertex{-kUnset, -kUnset, -kUnset};
    double distance = kUnset;
    Boolean found = false;
    if (dragged->SnapToVertex(&currentPoint, &vertex, &distance, &found, SnapDistance())) {
      vertex = currentPoint;
      found = true;
    }
    if (found) {
      currentPoint = vertex;
      snapped = true;
    }
  }
  PlaceCrosshair(currentPoint, true);

  bool scaled = false;
  if (handle.vertex >= 0 && (modifiers & cmdKey)) {
    document->Notify(NewSelectionRecord<CVertsChangedTask, &CVertsChangedTask::IVertsChangedTask>(kReshapeName));
    TrackEdit([&](const Vector3d&, Point mouse) {
      dragged->MoveVertex(handle.vertex, &currentPoint, MousePoint(mouse));
      dragged->MarkChanged();
    });
  } else if (handle.vertex >= 0) {
    TrackScaling(dragged, hitPt);
    scaled = true;
  } else if (handle.edge >= 0) {
    document->Notify(NewSelectionRecord<CVertsChangedTask, &CVertsChangedTask::IVertsChangedTask>(kEdgeName));
    TrackEdit([&](const Vector3d& offset, Point mouse) {
      Vector3d moved = offset;
      dragged->MoveEdge(handle.edge, &moved, MousePoint(mouse));
      dragged->GeometryChanged();
    });
  } else {
    document->Notify(NewSelectionRecord<CVertsChangedTask, &CVertsChangedTask::IVertsChangedTask>(kMoveName));
    const auto moveSelection = [&](const Vector3d& offset) {
      long position = VLDocument::kFirstModelObject;
      while (VLUser3DObject* object = vltasks::NextSelectedObject(&position)) {
        object->Move(&offset);
        ++position;
      }
    };
    TrackEdit([&](const Vector3d& offset, Point) { moveSelection(offset); });
    if (snapped) {
      // The vertex carried along lands on another object's vertex near the release.
      Point mouse;
      PortGetMouse(&mouse);
      crosshair->forceLocate = 1;
      const Vector3d current = currentPoint;
      Vector3d final = current;
      LocatePoint(mouse, &final, true, dragged, false);
      currentPoint = current;
      if (IsFinite(final) && DiffersFrom(final, current)) {
        Vector3d offset;
        VectorSubtract(&final, &current, &offset);
        moveSelection(offset);
        PlaceCrosshair(final, false);
        Refresh();
        crosshair->DrawCrosshair();
      }
    }
  }
  FinishSelectionEdit(scaled);
  if (!IsCommandTarget()) BecomeCommandTarget(true);
}

void VLViewPane::TrackScaling(VLUser3DObject* object, Point hitPt) {
  Owned<CScalingTask> task(new (std::nothrow) CScalingTask);
  if (!task) return;
  task->IScalingTask(CScalingTask::kScalingName, viewTransform);
  task->SetObject(object);
  // A polyline or group may become an extrusion: its record keeps the kind too.
  if (object->typeCode == kObjectTypeGroup || object->typeCode == kObjectTypePolyline)
    document->Notify(NewSelectionRecord<CVertsAndTypeChangedTask, &CVertsAndTypeChangedTask::IVertsAndTypeChangedTask>(
        kReshapeName));
  else
    document->Notify(NewSelectionRecord<CVertsChangedTask, &CVertsChangedTask::IVertsChangedTask>(kReshapeName));
  Prepare();
  LongPt start;
  QDToLongPt(hitPt, &start);
  LongRect pin;
  GetFrame(&pin);
  gTrackingDrag = 1;
  TrackMouse(task.get(), &start, &pin);
}

void VLViewPane::FinishSelectionEdit(bool scaled) {
  long position = VLDocument::kFirstModelObject;
  while (VLUser3DObject* object = vltasks::NextSelectedObject(&position)) {
    FinishEdit(object);
    ++position;
  }
  if (shadowMode)
    LeaveShadowMode();
  else if (!scaled)
    Refresh();
  position = VLDocument::kFirstModelObject;
  while (VLUser3DObject* object = vltasks::NextSelectedObject(&position)) {
    document->ExtendModelBounds(object);
    ++position;
  }
  document->InvalidateOtherViews();
}

// ---- The opening-edit tool ----

void VLViewPane::EditCurrentOpening(Point hitPt, UInt16 modifiers, UInt32 when) {
  auto* owner = dynamic_cast<VLOpeningOwner*>(static_cast<VLUser3DObject*>(openingOwner));
  VLOpening* opening = owner ? owner->GetCurrentOpening() : nullptr;
  if (!PressIsHeld(when)) {
    // A click that leaves the owner unselected lets it go.
    if (!ClickSelection(hitPt, modifiers) && openingOwner && !static_cast<VLUser3DObject*>(openingOwner)->selected)
      ForgetOpeningOwner();
    return;
  }
  if (!owner || !opening || !crosshair || !owner->PointInScreenBounds(hitPt)) {
    if (openingOwner) ForgetOpeningOwner();
    SelectByRectangle(hitPt, modifiers, when);
    return;
  }
  Prepare();
  crosshair->forceLocate = 1;
  if (Vector3d p = currentPoint; crosshair->Locate(hitPt, &p) && IsFinite(p)) currentPoint = p;
  // The owner shows the handles of its current opening: those are the ones to hit.
  const HandleHit handle = FindHandleAt(opening, currentPoint, hitPt, viewTransform);
  if (handle.vertex < 0 && !opening->PointInScreenBounds(hitPt)) {
    while (PortStillDown()) {
    }
    return;
  }
  PlaceCrosshair(currentPoint, true);
  bool scaled = false;
  if (handle.vertex >= 0 && gOpeningEditMode) {
    document->Notify(NewSelectionRecord<CVertsChangedTask, &CVertsChangedTask::IVertsChangedTask>(kReshapeName));
    TrackEdit([&](const Vector3d&, Point mouse) {
      opening->MoveVertex(handle.vertex, &currentPoint, MousePoint(mouse));
      owner->MarkChanged();
    });
  } else if (handle.vertex >= 0) {
    TrackScaling(opening, hitPt);
    scaled = true;
  } else {
    // The owner moves only its current opening.
    document->Notify(NewSelectionRecord<CVertsChangedTask, &CVertsChangedTask::IVertsChangedTask>(kMoveName));
    TrackEdit([&](const Vector3d& offset, Point) { owner->Move(&offset); });
  }
  FinishEdit(owner);
  if (shadowMode)
    LeaveShadowMode();
  else if (!scaled)
    Refresh();
  document->InvalidateOtherViews();
}

void VLViewPane::ForgetOpeningOwner() {
  if (auto* owner = static_cast<VLUser3DObject*>(openingOwner); owner->selected) owner->Deselect();
  document->InvalidateOtherViews();
  openingOwner = nullptr;
  if (gOpeningEditMode) {
    SelectDrawingPlane(document->GetGroupTool(kDrawingPlaneGroup));
    locationBarMode = 1;
  } else {
    SelectEditTool(0);
  }
}

// ---- The rotate tool ----

void VLViewPane::RotateSelection(Point hitPt, UInt16 modifiers, UInt32 when) {
  if (!PressIsHeld(when)) {
    ClickSelection(hitPt, modifiers);
    return;
  }
  VLArray* selection = document->GetSelectionList();
  if (!selection || selection->GetNumItems() == 0 || !crosshair) {
    SelectByRectangle(hitPt, modifiers, when);
    return;
  }
  Prepare();
  crosshair->forceLocate = 1;
  Vector3d start = currentPoint;
  LocatePoint(hitPt, &start, gSnapToVertices, nullptr, false);
  if (!IsFinite(start)) start = currentPoint;

  // The centre of the turn is the plan centre of the object under the press; a handle there
  // turns the selection by its direction from the centre.
  const long count = selection->GetNumItems();
  VLUser3DObject* found = nullptr;
  bool onHandle = false;
  for (long i = 1; i <= count && !found; ++i) {
    VLUser3DObject* object = ObjectAt(selection, i);
    if (!object || !object->PointInScreenBounds(hitPt)) continue;
    const HandleHit handle = FindHandleAt(object, start, hitPt, viewTransform);
    // With several objects selected only an edge handle turns by its direction.
    if (handle.vertex >= 0 && count > 1) continue;
    if (handle.Hit()) {
      start = handle.point;
      onHandle = true;
    }
    found = object;
  }
  if (!found) {
    SelectByRectangle(hitPt, modifiers, when);
    return;
  }
  Vector3d centre{-kUnset, -kUnset, -kUnset};
  found->GetPlanCentre(&centre);

  PlaceCrosshair(start, true);
  Owned<VL3DRotateTask> task(new (std::nothrow) VL3DRotateTask);
  if (task) {
    task->IRotateTask(VL3DRotateTask::kRotateName, viewTransform);
    task->SetRotation(&start, &centre, onHandle);
    VL3DRotateTask* turn = task.release();
    document->Notify(turn);
    LongPt startPt;
    QDToLongPt(hitPt, &startPt);
    LongRect pin;
    GetFrame(&pin);
    gTrackingDrag = 1;
    TrackMouse(turn, &startPt, &pin);
  } else {
    document->Notify(nullptr);
  }
  if (shadowMode) LeaveShadowMode();
}

// ---- The plane tools ----

void VLViewPane::DragWorkingPlane(Point hitPt, UInt16, UInt32 when) {
  DragPlane(document->GetWorkingPlane(), hitPt, when);
}

void VLViewPane::DragSectionPlane(Point hitPt, UInt16, UInt32 when) {
  DragPlane(document->GetSectionPlane(), hitPt, when);
}

void VLViewPane::DragPlane(VLUser3DObject* plane, Point hitPt, UInt32 when) {
  if (!PressIsHeld(when) || !plane || !crosshair || !plane->PointInScreenBounds(hitPt)) {
    // A click, or a press beside the plane, ends the tool.
    ReturnToSelectTool();
    Refresh();
    if (!IsCommandTarget()) BecomeCommandTarget(true);
    return;
  }
  Prepare();
  crosshair->forceLocate = 1;
  if (Vector3d p = currentPoint; crosshair->Locate(hitPt, &p) && IsFinite(p)) currentPoint = p;
  const HandleHit handle = FindHandleAt(plane, currentPoint, hitPt, viewTransform);
  PlaceCrosshair(currentPoint, true);
  if (handle.Hit()) {
    // A handle of the plane is not for dragging: nothing moves and the tool stays.
    while (PortStillDown()) {
    }
  } else {
    Owned<VL3DToolVertsChangedTask> record(new (std::nothrow) VL3DToolVertsChangedTask);
    if (record) {
      record->IToolVertsChangedTask(kMoveName);
      record->SetObject(plane);
    }
    document->Notify(record.release());
    TrackEdit([&](const Vector3d& offset, Point) { plane->Move(&offset); });
  }
  FinishEdit(plane);
  Refresh();
  document->InvalidateOtherViews();
  if (!IsCommandTarget()) BecomeCommandTarget(true);
}

// ---- Snapping ----

Boolean VLViewPane::FindSnapPoint(const Vector3d& point, Vector3d* outPoint, VLUser3DObject** outObject,
                                  VLUser3DObject* excluded) {
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  if (!objects) return false;
  const double tolerance = SnapDistance();
  Vector3d best{-kUnset, -kUnset, -kUnset};
  double distance = kUnset;
  VLUser3DObject* nearest = nullptr;
  for (long i = VLDocument::kFirstModelObject; i <= objects->GetNumItems(); ++i) {
    VLUser3DObject* object = ObjectAt(objects, i);
    if (!object || object == excluded) continue;
    Boolean improved = false;
    if (object->SnapToVertex(&point, &best, &distance, &improved, tolerance)) {
      *outPoint = point;
      *outObject = object;
      return true;
    }
    if (improved) nearest = object;
  }
  if (!nearest) return false;
  *outPoint = best;
  *outObject = nearest;
  return true;
}
