// The pane's 3D crosshair: the one concrete locator (CCrosshairLocator). It rounds located points
// to its snap spacing, draws the crosshair by inversion (the line along the working plane's
// normal in a second colour, in face mode the two lines across the face), and announces the
// start points of drags. It switches the locator's mode (0 the working plane, 1 the faces of the
// selection, 2 a plane object) and builds the face frames that face mode locates through.
#pragma once

#include "CCrosshairLocator.h"


class VLCrosshairCursor : public CCrosshairLocator {
  VL_REGISTERED_CLASS(VLCrosshairCursor, CCrosshairLocator)

 public:
  VLCrosshairCursor() = default;
  // Keeps its collaborators (none owned), the extent -25..25 across and 0..50 up, the spacing
  // 0.5, mode 0, and makes its two pen patterns. The located point starts at the origin.
  void IVLCrosshairCursor(VLViewTransform* view, VLGWorldOS* world, const Rect* paneRect, GrafPtr port, CView* pane);
  // Releases the patterns and the face frames.
  void Dispose() override;
  // Rounds each coordinate (with Option down only the normal one) to the snap spacing.
  Boolean SnapToGrid(Vector3d* p) override;
  // Inverts the lines, ground arms and outline in the pane's port.
  void DrawCrosshair() override;
  // The extent becomes -v, -v, 0, v, v, 2v (whole units).
  void SetCrosshairExtent(double v);
  // A spacing that is not a finite value above 0 is refused (false, nothing changes): the
  // rounding divides by it.
  Boolean SetSnapSpacing(double spacing);
  // Sends the start point of a drag (a model point, sent in the frame of the mode): 5002 with
  // now set, else 5003.
  void BroadcastPoint(const Vector3d* p, Boolean now);
  // Enters mode 0, 1 (on the faces of the selection, the object the one under the mouse) or 2
  // (on the plane of the working-plane tool given as the object): nothing, false, when mode and
  // object are already those. Mode 0 releases the face frames. With redraw the crosshair is taken
  // off the pane and located afresh at the mouse from point (in and out); answers whether it
  // moved and was drawn.
  Boolean SetLocateMode(SInt16 mode, VLUser3DObject* object, Boolean redraw, Vector3d* point);
  // Face mode: the frames of every face of every selected object for the current view, the
  // object kept as the one under the mouse. Raises kDEErrorNotEnoughMemory when a frame block
  // cannot be had; the frames made so far stay.
  void BuildFaceFrames(VLUser3DObject* object);
  // Keeps the plane object, enters mode 2, forces the next locate and sends kPlaneEntered.
  void SetPlaneObject(CWorkingPlaneTool* object);
  // Copies the whole locate state into another cursor, the face frames duplicated; when a
  // duplicate cannot be had the other cursor keeps no frames.
  void CopyStateTo(VLCrosshairCursor* other) const;
  // The face lock's rectangle in model coordinates; answers the locked face's index.
  SInt16 GetFaceOutline(Vector3d corners[4]) const;
  // The face lock: later locates stay on the first face hit.
  void LockToFirstFace() {
    stayOnFirstFace = 1;
    firstFaceRecorded = 0;
  }
  void UnlockFace() { stayOnFirstFace = firstFaceRecorded = 0; }
  // The object under the mouse in face mode, with the locked face's index.
  VLUser3DObject* GetCurrentFace(SInt16* face) const {
    *face = lockedFaceIndex;
    return faceObject;
  }
  // Places the Shift anchor (a model point; kept in the plane's frame in mode 2).
  void SetAnchor(const Vector3d* p);
  // The pane has painted over the crosshair: the next locate does not erase it.
  void SkipNextErase() { skipErase = 1; }
  // The pane was resized.
  void SetPaneRect(const Rect* rect) { paneRect = *rect; }
  // Notes where the mouse is now (the pane's last pane point).
  void RecordMouse(Point where) { lastMouse = where; }

  Rect paneRect{};
  UInt8 scrolled = 0;
  UInt8 taskTracking = 0;  // a click-by-click task of the pane tracks the mouse  // the pane scrolled the view while a drawing task tracked the mouse
  Vector3d point;  // the point last located for the pane
  Point lastMouse{};
  PixPatHandle crosshairPattern = nullptr;
  PixPatHandle normalPattern = nullptr;

 private:
  // Frees every face-frame block and empties both lists.
  void ReleaseFaceFrames();
};
