// The scaling drag on a handle of a selected object: resizes the object in its own frame, so that
// a turned block stretches along its own edges, about the corner of its own box farthest from
// where the drag started. In face mode it moves the current face's plane outwards or inwards
// (never through the opposite side: the face flattens there). A flat polyline or group dragged
// roughly along its depth (within 80 degrees) is extruded along the drag instead, and the drag
// may switch between the two.
//
// Every step starts from the object as it was before the drag: the task keeps step records of
// the vertices (and, for an extrusion, of the kind) and undoes the previous step first, so steps
// never accumulate rounding. The task is not the undo record of the drag: the view pane makes
// that (a CVertsChangedTask, or a CVertsAndTypeChangedTask for a polyline or a group) and hands
// it to the document before tracking, and disposes of the task after the drag.
#pragma once

#include "CMouseTask.h"
#include "Matrix4d.h"
#include "Vector3d.h"

class CVertsAndTypeChangedTask;
class CVertsChangedTask;
class VLUser3DObject;
class VLViewTransform;

class CScalingTask : public CMouseTask {
  VL_REGISTERED_CLASS(CScalingTask, CMouseTask)

 public:
  // The undo name of a scaling drag.
  static constexpr SInt16 kScalingName = 2;

  CScalingTask() = default;
  // Disposes of both step records.
  ~CScalingTask() override;

  // Keeps the view transform, no object yet, the task's init; nothing to extrude, no records.
  virtual void IScalingTask(SInt16 nameIndex, VLViewTransform* view);
  // The object scaled: a selected object, or the current opening of a selected owner (the step
  // records record the selection).
  virtual void SetObject(VLUser3DObject* object);

  // Locates the start point (no vertex snapping) and announces it; rebuilds the object's frame
  // and chooses the anchor and the direction; sets gTrackingDrawing.
  void BeginTracking(LongPt* startPt) override;
  // When the mouse moved and the pane locates it: ScaleTo that point and redraw the pane.
  void KeepTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;
  // Clears the drag flags; with vertex snapping a release near another object's vertex makes one
  // last step to it; the object keeps its last shape; the palette hears of the change; redraws.
  void EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;

  // Outside face mode the anchor is the corner of the object's own box farthest from the start
  // point and the direction its flat axis (zero when it is not flat); in face mode the current
  // face's centre and normal. Extruding is allowed outside face mode for a polyline or a group
  // with a flat axis.
  virtual void ChooseAnchor();
  // One step to the model point: an extrusion along the drag since the last scaling when the
  // drag runs along the direction, else a scaling from the start point to it. A point that is
  // not finite, or a scaling that would not give finite coordinates, changes nothing.
  virtual void ScaleTo(const Vector3d* point);
  // Whether extruding is allowed and the drag from the last scaled point to the point runs
  // within 80 degrees of the direction (either way); *offset is that drag.
  virtual Boolean IsAlongDirection(const Vector3d* point, Vector3d* offset);

  const Vector3d& GetAnchor() const { return anchor; }
  const Vector3d& GetDirection() const { return direction; }
  Boolean CanExtrude() const { return extrudeAllowed; }

 private:
  // The matrix that scales the object from the start point to the point (world in, world out);
  // false when it, or a vertex it moves, would not be finite.
  bool ScalingMatrix(Vector3d point, Matrix4d* m);
  // Undoes and disposes of a step record.
  template <class Record>
  static void TakeBack(Record*& record);
  template <class Record>
  static void Forget(Record*& record);

  VLViewTransform* viewTransform = nullptr;
  VLUser3DObject* object = nullptr;
  Vector3d startPoint;
  Vector3d anchor;
  Vector3d lastPoint;
  UInt8 extrudeAllowed = 0;
  Vector3d direction;
  CVertsChangedTask* scaleStep = nullptr;
  CVertsAndTypeChangedTask* extrudeStep = nullptr;
};
