// Turns the mouse position in a view pane into a model point: on the working plane (the plane of
// constant gAxisZ component through the previous point), snapped to the grid, held by the Shift
// constraint and by typed coordinates, and tells its dependents (the text bar) where it is. It
// also keeps the crosshair's lines through the point and their pane projections; the cursor
// (VLCrosshairCursor) rounds and draws them, the locator's own hooks do neither.
//
// Face mode (1) and plane-object mode (2) answer false here until the selection's face frames
// and the plane-object conversions come with the cursor's modes.
#pragma once

#include "CCollaborator.h"
#include "MacTypes.h"
#include "QuickDraw.h"
#include "Vector3d.h"

class VLGWorldOS;
class VLViewTransform;
class CView;

// Notices sent to the dependents; the info is a Vector3d* except for kPlaneEntered (null).
constexpr long kPointLocatedWhileDown = 5000;
constexpr long kPointLocated = 5001;
constexpr long kStartPointNow = 5002;
constexpr long kStartPoint = 5003;
constexpr long kPlaneEntered = 5005;

// Grid snapping (a document command toggles it; initially on) and the coordinates typed into the
// location bar: while gTypedLock is set each flagged coordinate keeps its previous value.
extern UInt8 gSnapToGrid;
extern UInt8 gTypedLock;
extern UInt8 gTypedLockX;
extern UInt8 gTypedLockY;
extern UInt8 gTypedLockZ;
// Set by tools that place the Shift anchor themselves (SetAnchor); the locator then keeps it.
extern UInt8 gAnchorHeld;

// Rounds each coordinate selected by mask (bit i for component i) to the nearest multiple of
// spacing, an exact half toward zero; answers whether any coordinate was off the grid. A spacing
// that is not above 0 (or not finite) leaves the point alone and answers false.
bool RoundToGrid(Vector3d* p, double spacing, unsigned mask);

class CCrosshairLocator : public CCollaborator {
  VL_REGISTERED_CLASS(CCrosshairLocator, CCollaborator)

 public:
  enum { kYLine, kXLine, kZLine };
  static constexpr int kLineCount = 3;

  CCrosshairLocator() = default;

  // Rounds a model point in place; answers whether it changed. This one does nothing: true.
  virtual Boolean SnapToGrid(Vector3d* p);
  // Inverts the crosshair in the pane; empty here.
  virtual void DrawCrosshair() {}
  // The point for panePoint; point is the previous point on entry, the new one on exit. Answers
  // true when the point changed: then it is sent (5000 while the button is down, else 5001) and
  // the crosshair passes through it. An unchanged pane point returns at once unless a force flag
  // is set; a plane behind the eye or along the ray answers false and keeps the point.
  virtual Boolean Locate(Point panePoint, Vector3d* point);
  // Recomputes the crosshair lines through p (their ends within extent, reaching p) and their
  // pane projections and visibility.
  virtual void UpdateCrosshair(const Vector3d* p);
  // Puts the crosshair on a model point and redraws it (MoveTo: without drawing); sends 5001.
  // Three values of -999.0 mean no point and do nothing.
  void SetPosition(double x, double y, double z);
  void MoveTo(double x, double y, double z);
  void SuspendShiftConstraint() { shiftSuspended = 1; }
  void ResumeShiftConstraint() { shiftSuspended = 0; }
  void ClearAnchor() { anchorSet = 0; }

  VLGWorldOS* offscreenWorld = nullptr;
  VLViewTransform* viewTransform = nullptr;
  CView* pane = nullptr;
  GrafPtr panePort = nullptr;
  // Line ends: starts of the y, x and vertical lines, then their ends; then the ground arm along
  // x (two ends), then the ground arm along y.
  Vector3d crosshairPoints[10];
  Vector3d outline[4];         // the working-plane outline's corners
  Vector3d projected[6 + 4 + 8];  // the same line ends in the pane, then the outline edges' starts and ends
  Vector3d anchor;
  Vector3d rayOrigin, rayVector;
  Point lastPanePoint{};
  SInt16 locateMode = 0;
  SInt16 extent[6] = {-25, -25, 0, 25, 25, 50};  // x, y, z minimum, then maximum
  double snapSpacing = 0.5;
  UInt8 lineShown[kLineCount] = {};
  UInt8 groundArmShown[2] = {};
  UInt8 outlineEdgeShown[4] = {};
  UInt8 groundCrossShown = 0;
  UInt8 outlineShown = 0;
  UInt8 forceLocate = 0;
  UInt8 forceLocateByPane = 0;
  UInt8 anchorSet = 0;
  UInt8 shiftSuspended = 0;
  // Set by the pane when it has painted over the crosshair: the next erase is skipped.
  UInt8 skipErase = 0;

 protected:
  // The crosshair through p: line ends and ground arms (both arms re-centred when allArms).
  void PlacePoint(const Vector3d* p, bool allArms);
  void EraseCrosshair();

 private:
  bool PointOnWorkingPlane(Point panePoint, Vector3d* p, bool option);
  void ApplyShift(Vector3d* p, const Vector3d& old);
  void UpdateOutline();
};
