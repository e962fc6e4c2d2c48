// The 3D drawing tools: one mouse drag draws a new object in the active view pane. The task makes
// its object on the first poll that locates a point, appends it to the document's object list at
// once, reshapes it from every later located point (a release before any poll makes and reshapes
// it at once, so that a drag seen in one move still draws), and finishes and selects it on release. Undo
// takes the object out of the list (the task then owns it), Redo appends it again; the object is
// freed only when the task goes while undone.
//
// The drag tools: VLBlockDrawingTask (a block), CRectangleDrawingTask, CCylinderDrawingTask,
// CArcDrawingTask and CLineDrawingTask (a straight two-point polyline). All are implemented in
// VL3DDrawingTask.cpp; the click-by-click polyline rests on the line tool (CPolyLineDrawingTask).
#pragma once

#include "CMouseTask.h"
#include "TaskSupport.h"
#include "QuickDraw.h"
#include "Vector3d.h"

class VLUser3DObject;
class VLViewPane;
class VLViewTransform;

class VL3DDrawingTask : public CMouseTask {
  VL_REGISTERED_CLASS(VL3DDrawingTask, CMouseTask)

 public:
  // The undo name of every drawing tool.
  static constexpr SInt16 kDrawingName = 13;

  VL3DDrawingTask() = default;
  // An undone task frees the object it took out of the document.
  ~VL3DDrawingTask() override;

  // Keeps the view transform and starts empty, then the task's init with the name index.
  virtual void IDrawingTask(SInt16 nameIndex, VLViewTransform* view);
  // Locates the start point (vertex snapping as gSnapToVertices says) and announces it.
  void BeginTracking(LongPt* startPt) override;
  // The release: nothing when no object was made; otherwise the typed-entry task goes, a
  // snapped release point reshapes the object once more, the object is finished (its frame on
  // the working plane), selected alone, and the typed coordinates are forgotten.
  void EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;
  // Reshapes the object to a typed point and redraws.
  virtual void TrackToPoint(const Vector3d* point);
  // Flips undone; the object becomes the task's (the tools take it out of the document).
  void Undo() override;
  // The object is the document's again (the tools put it back); the undone flag stays.
  void Redo() override;

  Boolean IsCreated() const { return created; }
  VLUser3DObject* GetTrackedObject() const { return trackedObject; }
  const Vector3d& GetStartPoint() const { return startPoint; }

 protected:
  // A new object of the tool's kind, set up for drawing; null when memory runs out.
  virtual VLUser3DObject* NewObject();
  // A new task of the tool's own class for typed coordinates.
  virtual VL3DDrawingTask* NewTypedEntryTask() = 0;
  // The start of every drag poll: typed keys taken, the pane scrolled toward the mouse, the
  // mouse located (no vertex snapping); false when no point is located.
  Boolean LocateDragPoint(LongPt* currPt, Vector3d* point);
  // The drag step of the block, rectangle, cylinder and arc tools.
  void DragStep(LongPt* currPt);
  // A key waiting in the queue during the drag: a coordinate key makes gTypedEntryTask; every
  // key goes to the command target (the location bar).
  void TakeTypedEntry();
  // The model point under the pane point through the active pane (pulled onto the nearest vertex
  // of the objects but skip when snapping); false when no new point is located.
  static Boolean LocatePoint(Point panePoint, Vector3d* point, Boolean snapToVertices, VLUser3DObject* skip);
  // Appends the object as the task's, at the end of the object list.
  void AppendObject(VLUser3DObject* object);
  // Undo and Redo of the tools whose object is in the object list: it leaves the list at its
  // position (Undo) or comes back at its end, selected (Redo).
  void TakeObjectOut();
  void PutObjectBack();
  static Point PanePoint(const LongPt* p);
  // Every selected object deselected.
  static void DeselectAll();
  // The pane draws the model and the crosshair again.
  static void RedrawPane();
  // The end of the release: the object finished (its frame on the working plane), selected
  // alone, the pane redrawn and the typed coordinates forgotten.
  void FinishObject();

  UInt8 created = 0;
  // Set once a poll after the first reshaped the object.
  UInt8 reshaped = 0;
  Vector3d startPoint;
  SInt16 objectIndex = 0;
  VLViewTransform* viewTransform = nullptr;
  VLUser3DObject* trackedObject = nullptr;
  VLUser3DObject* undoCopy = nullptr;
};

// The drawing task that takes typed coordinates while a drag runs; never notified or undone.
extern VL3DDrawingTask* gTypedEntryTask;

// The tools whose object stays in the object list while it is drawn: each drag poll reshapes
// it, Undo takes it out of the list and Redo puts it back.
class VLListedDrawingTask : public VL3DDrawingTask {
  VL_REGISTERED_CLASS(VLListedDrawingTask, VL3DDrawingTask)

 public:
  void KeepTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override { DragStep(currPt); }
  void Undo() override { TakeObjectOut(); }
  void Redo() override { PutObjectBack(); }
};

class VLBlockDrawingTask : public VLListedDrawingTask {
  VL_REGISTERED_CLASS(VLBlockDrawingTask, VLListedDrawingTask)

 protected:
  VLUser3DObject* NewObject() override;
  VL3DDrawingTask* NewTypedEntryTask() override;
};

class CRectangleDrawingTask : public VLListedDrawingTask {
  VL_REGISTERED_CLASS(CRectangleDrawingTask, VLListedDrawingTask)

 protected:
  VLUser3DObject* NewObject() override;
  VL3DDrawingTask* NewTypedEntryTask() override;
};

class CCylinderDrawingTask : public VLListedDrawingTask {
  VL_REGISTERED_CLASS(CCylinderDrawingTask, VLListedDrawingTask)

 protected:
  VLUser3DObject* NewObject() override;
  VL3DDrawingTask* NewTypedEntryTask() override;
};

// The arc tool drags without the Shift constraint.
class CArcDrawingTask : public VLListedDrawingTask {
  VL_REGISTERED_CLASS(CArcDrawingTask, VLListedDrawingTask)

 public:
  void BeginTracking(LongPt* startPt) override;
  void EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;

 protected:
  VLUser3DObject* NewObject() override;
  VL3DDrawingTask* NewTypedEntryTask() override;
};

// A straight line: a polyline from the start point whose free end follows the mouse; the
// release point becomes its second vertex.
class CLineDrawingTask : public VLListedDrawingTask {
  VL_REGISTERED_CLASS(CLineDrawingTask, VLListedDrawingTask)

 public:
  void KeepTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;
  void EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;

 protected:
  VLUser3DObject* NewObject() override;
  VL3DDrawingTask* NewTypedEntryTask() override;
  // The polyline made on the first located poll (or at a click's release), its first vertex at
  // the start point; null when memory runs out.
  VLUser3DObject* StartPolyline(bool withFirstVertex);
};
