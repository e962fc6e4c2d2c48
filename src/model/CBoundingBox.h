// The handle box an extruded polyline shows around itself while selected: a model object of its
// own (type -1) in the box layout (BoxLayout.h), never in the document's list nor in a file. The
// polyline makes it, keeps its extent and phase in step, draws it and hands it its drags.
//
// Eight corner handles (filled squares) scale the box about the opposite corner. Edge handles
// (hollow squares at the midpoints of the edges of two opposite faces, the faces the polyline's
// caps face) show only while those faces are opposite and one object is selected; grabbing one
// makes its face the active face and the face's edge farthest from the grab the hinge, and edge
// drags are then reduced to the active face's normal.
#pragma once

#include "VLObjectOwner.h"

class CBoundingBox : public VLObjectOwner {
  VL_REGISTERED_CLASS(CBoundingBox, VLObjectOwner)

 public:
  CBoundingBox() = default;

  // Type -1, the box store and the box of the extent (min x, y, z, max x, y, z), no edge
  // handles, no handle faces. Raises kDEErrorNotEnoughMemory.
  virtual void IBoundingBox(const double extent[6]);
  // The box of the extent; while the working plane is on the extent is in its frame.
  virtual void SetBox(const double extent[6]);
  // Keeps the frame (owned; the old one goes) and sets the box of the extent in that frame.
  virtual void SetBoxWithTransformer(const double extent[6], CObjectTransformer* transformer);
  virtual SInt16 OppositeCorner(SInt16 corner);
  // Face A: the face whose normal goes most with direction A (the first of equals); face B the
  // same among the others for direction B. Opposite faces show the edge handles (the flag is
  // never cleared here).
  virtual void ChooseHandleFaces(const Vector3d* directionA, const Vector3d* directionB);
  // Whether the point lies within 1.0 on every axis of an edge handle of face A, then of face
  // B: that face becomes active and its edge farthest from the point the hinge. False (no
  // active face) when none does or the edge handles are not shown.
  virtual Boolean GrabEdgeHandle(const Vector3d* modelPoint);
  // The plane through the edge's midpoint and the hinge, with the active face's number and
  // normal; false without an active face or for a direction across the active face's normal.
  virtual Boolean EdgeDragPlane(SInt16 edge, const Vector3d* direction, SInt16* active, Vector3d* normal,
                                double* offset, Vector3d* faceNormal);
  // Dark grey: the projected edges.
  virtual void DrawHandles(VLViewTransform* view);

  // Projects and draws the edges in dark grey; the pane rectangle when modified.
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  // A corner, else an edge handle (in *unused).
  Boolean FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused, Boolean checkModel,
                     VLViewTransform* view) override;
  // Scales the box about the opposite corner (in the working plane's frame while it is on); a
  // flat axis stays unscaled.
  void StretchToHandle(SInt16* corner, const Vector3d* point, VLViewTransform* view, Boolean continuing) override;
  // The projection of Draw without drawing.
  void ProjectEdges(VLViewTransform* view, Boolean flag) override;
  // Corner squares and, with one object selected and edge handles shown, hollow squares at the
  // midpoints of the handle faces' edges (not while the view or a handle is dragged); then the
  // edges.
  void DrawSelected(VLViewTransform* view) override;
  void MoveVertex(SInt16 vertex, const Vector3d* position, long unused) override;
  // Only with an active face: the edge moves along that face's normal by the offset's part
  // along it.
  void MoveEdge(SInt16 edge, Vector3d* offset, long unused) override;
  // The first edge of the handle faces whose midpoint lies less than 3 pixels from the pane
  // point both ways (and, checking the model, within 5.0 on each axis); -1 when edge handles are
  // not shown.
  SInt16 FindEdgeHandle(const Vector3d* modelPoint, Point panePoint, Boolean checkModel,
                        VLViewTransform* view) override;

  Vector3d anchor;
  SInt16 faceA = 0;
  SInt16 faceB = 0;
  SInt16 activeFace = 0;  // 0 face A, 1 face B, -1 none
  Vector3d hingeStart;
  Vector3d hingeEnd;

 private:
  SInt16 ActiveFaceNumber() const { return activeFace == 0 ? faceA : activeFace == 1 ? faceB : SInt16(-1); }
  bool EdgeShown(SInt16 a, SInt16 b) const;
  bool GrabOnFace(SInt16 face, const Vector3d& point);
};
