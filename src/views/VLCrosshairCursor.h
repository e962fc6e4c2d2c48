// The pane's 3D crosshair as far as the view needs it today: the view, the offscreen world, the
// pane and the point it last located, and its drawing extent. Locating points, snapping and
// drawing the cross come with the crosshair; until then it keeps what the pane gives it and
// draws nothing.
#pragma once

#include "CCollaborator.h"
#include "MacTypes.h"
#include "QuickDraw.h"
#include "Vector3d.h"

class VLGWorldOS;
class VLViewTransform;
class CView;

class VLCrosshairCursor : public CCollaborator {
  VL_REGISTERED_CLASS(VLCrosshairCursor, CCollaborator)

 public:
  VLCrosshairCursor() = default;
  // Keeps its collaborators (none owned); the point at the origin.
  void IVLCrosshairCursor(VLViewTransform* view, VLGWorldOS* world, const Rect* paneRect, GrafPtr port, CView* pane);
  // The pane was resized.
  void SetPaneRect(const Rect* rect) { paneRect = *rect; }
  void SetExtent(double length) { extent = length; }
  // Notes where the mouse is now (the pane's last pane point).
  void RecordMouse(Point where) { lastMouse = where; }

  VLViewTransform* view = nullptr;
  VLGWorldOS* world = nullptr;
  Rect paneRect;
  GrafPtr port = nullptr;
  CView* pane = nullptr;
  Vector3d point;
  double extent = 0.0;
  Point lastMouse{};
};
