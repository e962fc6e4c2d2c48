// The pane's 3D crosshair: the one concrete locator (CCrosshairLocator). It rounds located points
// to its snap spacing, draws the crosshair by inversion (the line along the working plane's
// normal in a second colour), and announces the start points of drags. Its mode (0 the working
// plane, 1 the faces of the selection, 2 a plane object) is kept here; locating in modes 1 and 2,
// with their frames, is not built yet (Locate answers false there).
#pragma once

#include "CCrosshairLocator.h"

class COrientationDefiner;
class VLUser3DObject;

class VLCrosshairCursor : public CCrosshairLocator {
  VL_REGISTERED_CLASS(VLCrosshairCursor, CCrosshairLocator)

 public:
  VLCrosshairCursor() = default;
  // Keeps its collaborators (none owned), the extent -25..25 across and 0..50 up, the spacing
  // 0.5, mode 0, and makes its two pen patterns. The located point starts at the origin.
  void IVLCrosshairCursor(VLViewTransform* view, VLGWorldOS* world, const Rect* paneRect, GrafPtr port, CView* pane);
  // Releases the patterns.
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
  // Sends the start point of a drag: 5002 with now set, else 5003.
  void BroadcastPoint(const Vector3d* p, Boolean now);
  // Enters mode 0, 1 (on the faces of the selection, the object the one under the mouse) or 2
  // (on the plane of the object, which must then be a plane object): nothing, false, when mode
  // and object are already those. With redraw the crosshair is taken off the pane and located
  // afresh at the mouse from point (in and out); answers whether it moved and was drawn.
  Boolean SetLocateMode(SInt16 mode, VLUser3DObject* object, Boolean redraw, Vector3d* point);
  // Keeps the plane object, enters mode 2, forces the next locate and sends kPlaneEntered.
  void SetPlaneObject(COrientationDefiner* object);
  // Places the Shift anchor.
  void SetAnchor(const Vector3d* p) { anchor = *p; }
  // The pane has painted over the crosshair: the next locate does not erase it.
  void SkipNextErase() { skipErase = 1; }
  // The pane was resized.
  void SetPaneRect(const Rect* rect) { paneRect = *rect; }
  // Notes where the mouse is now (the pane's last pane point).
  void RecordMouse(Point where) { lastMouse = where; }

  Rect paneRect{};
  VLUser3DObject* faceObject = nullptr;      // mode 1 (not owned)
  COrientationDefiner* planeObject = nullptr;  // mode 2 (not owned)
  Vector3d point;  // the point last located for the pane
  Point lastMouse{};
  PixPatHandle crosshairPattern = nullptr;
  PixPatHandle normalPattern = nullptr;
};
