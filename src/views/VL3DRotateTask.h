// The rotate tool's drag: turns the selection about a centre while the mouse moves, and is the
// undo record of the turn. Made by the view pane, it records every selected object (vertices,
// accumulated rotation angle and frame) when initialised, before anything turns, so that Undo
// right after the drag puts the objects back where they were; Undo and Redo then exchange the
// turned and recorded states.
//
// Two ways of turning, chosen by where the drag started. Free (not on a handle): the angle
// follows the horizontal mouse travel at the document's rotation precision (degrees per pixel).
// On a handle: the angle is that between the handle's direction from the centre and the mouse's,
// in the plane of the view (the drawing plane's gAxisX and gAxisY roles), in half degrees. With
// Shift down either way snaps the whole angle turned to steps of the document's rotation
// constraint. The angle turned so far is shown in the text bar's angle field.
#pragma once

#include "CObjectChangedTask.h"
#include "Vector3d.h"

class VLViewPane;
class VLViewTransform;

class VL3DRotateTask : public CObjectChangedTask {
  VL_REGISTERED_CLASS(VL3DRotateTask, CObjectChangedTask)

 public:
  // The undo name of a rotation.
  static constexpr SInt16 kRotateName = 17;

  VL3DRotateTask() = default;

  // Keeps the view transform, runs the changed task's init and records every selected object
  // with a rotation keeper; sets gTrackingDrawing; nothing turned yet. Raises as
  // CObjectChangedTask::KeepSelection.
  virtual void IRotateTask(SInt16 nameIndex, VLViewTransform* view);
  // The point the drag started on, the centre of the turn and whether the start was a handle.
  virtual void SetRotation(const Vector3d* handle, const Vector3d* centre, Boolean onHandle);

  // Shows the angle 0; on a handle, the handle's direction from the centre in the plane of the
  // view becomes the start and present direction; the crosshair's Shift constraint is
  // suspended (the task constrains the angle itself).
  void BeginTracking(LongPt* startPt) override;
  // Locates the mouse (no vertex snapping) and turns the selection by the change in angle;
  // redraws the pane. On a handle a mouse that cannot be located, or that lies on the centre
  // (no direction), turns nothing.
  void KeepTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;
  // Clears the drag flags and the angle field, recomputes the selection's pane rectangles,
  // resumes the Shift constraint and redraws; a drag that turned marks the document changed
  // and has its other views redraw.
  void EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;
  // Exchanges the recorded and present states: vertices, angle and frame.
  void Undo() override { ExchangeWithSelection(); }

  // Degrees turned so far, in [0, 360).
  double GetAccumulatedAngle() const { return accumulatedAngle; }

 protected:
  CDataKeeper* NewKeeper() override;

 private:
  // Turns every selected object by the angle about the centre and redraws.
  void TurnSelection(double angle);
  // The accumulated angle plus the angle, brought back into [0, 360).
  void AddToAngle(double angle);
  // The start direction turned by the angle in the plane of the view.
  void TurnStartDirection(double angle);
  // The free and handle ways of one poll.
  void FreeStep(const LongPt* curr, const LongPt* prev, const LongPt* start, Boolean located);
  void HandleStep(Vector3d located);
  // The angle turned so far into the text bar's angle field, selected.
  void ShowAngle(double angle) const;

  VLViewTransform* viewTransform = nullptr;
  Vector3d handlePoint;
  Vector3d rotationCentre;
  Vector3d startDirection;
  Vector3d currentDirection;
  Vector3d workDirection;
  double accumulatedAngle = 0.0;
  UInt8 onHandle = 0;
};
