// Turns the mouse position in a view pane into a model point: in mode 0 on the working plane (the
// plane of constant gAxisZ component through the previous point), in mode 1 on a face of the
// selection, in mode 2 on the plane of a plane object (the working-plane tool) in its own frame;
// snapped to the grid, held by the Shift constraint and by typed coordinates. It tells its
// dependents (the text bar) where it is: in modes 1 and 2 in the face's or the plane's frame. It
// also keeps the crosshair's lines through the point and their pane projections; the cursor
// (VLCrosshairCursor) rounds and draws them and builds the face frames, the locator's own hooks
// do neither.
#pragma once

#include <vector>

#include "CCollaborator.h"
#include "MacTypes.h"
#include "QuickDraw.h"
#include "Vector3d.h"
#include "ViewDrawingFlags.h"

class CView;
class CWorkingPlaneTool;
class VLGWorldOS;
class VLUser3DObject;
class VLViewTransform;
struct Matrix4d;

// Notices sent to the dependents; the info is a Vector3d* except for kPlaneEntered (null).
constexpr long kPointLocatedWhileDown = 5000;
constexpr long kPointLocated = 5001;
constexpr long kStartPointNow = 5002;
constexpr long kStartPoint = 5003;
constexpr long kPlaneEntered = 5005;

// The coordinates typed into the location bar: while gTypedLock is set each flagged coordinate
// keeps its previous value. Grid snapping (gSnapToGrid) is among the view flags.
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
  // Mode 2: the point on the plane object's plane through the previous point, worked out in its
  // frame. Answers whether the point changed (by more than 1e-5 in the frame).
  virtual Boolean LocateOnPlaneObject(Point panePoint, Vector3d* point);
  // Mode 1: the point where the mouse ray meets the nearest face of the selected objects, with
  // the crosshair as two lines across that face. Answers whether a face was hit; with the face
  // lock on, a hit on another face answers false and changes nothing drawn or sent.
  virtual Boolean LocateOnFace(Point panePoint, Vector3d* point);
  // The point for panePoint; point is the previous point on entry, the new one on exit. Answers
  // true when the point changed: then it is sent (5000 while the button is down, else 5001) and
  // the crosshair passes through it. An unchanged pane point returns at once unless a force flag
  // is set; a plane behind the eye or along the ray answers false and keeps the point.
  virtual Boolean Locate(Point panePoint, Vector3d* point);
  // Recomputes the crosshair lines through p (their ends within extent, reaching p) and their
  // pane projections and visibility.
  virtual void UpdateCrosshair(const Vector3d* p);
  // Puts the crosshair on a model point and redraws it (MoveTo: without drawing); sends 5001
  // with the point as given.
  // Three values of -999.0 mean no point and do nothing.
  void SetPosition(double x, double y, double z);
  void MoveTo(double x, double y, double z);
  void SuspendShiftConstraint() { shiftSuspended = 1; }
  void ResumeShiftConstraint() { shiftSuspended = 0; }
  void ClearAnchor() { anchorSet = 0; }

  VLGWorldOS* offscreenWorld = nullptr;
  VLUser3DObject* faceObject = nullptr;        // mode 1: the object under the mouse (not owned)
  VLUser3DObject* lockedFaceObject = nullptr;  // with the face lock: the object hit first
  CWorkingPlaneTool* planeObject = nullptr;    // mode 2 (not owned)
  // Mode 1: per selected object (in selection order) a block of one matrix per face into the
  // face's frame, and one back. Owned.
  std::vector<Handle> worldToFaceFrames, faceToWorldFrames;
  VLViewTransform* viewTransform = nullptr;
  CView* pane = nullptr;
  GrafPtr panePort = nullptr;
  // Line ends: starts of the y, x and vertical lines, then their ends; then the ground arm along
  // x (two ends), then the ground arm along y.
  Vector3d crosshairPoints[10];
  Vector3d outline[4];         // the working-plane outline's corners
  Vector3d projected[6 + 4 + 8];  // the same line ends in the pane, then the outline edges' starts and ends
  Vector3d anchor;              // in mode 2 in the plane object's frame
  Vector3d faceAnchor;          // the anchor in the current face's frame
  Vector3d faceOutline[4];      // the face lock's rectangle, in face coordinates
  Vector3d faceOutlineInModel[4];
  Vector3d rayOrigin, rayVector;
  Point lastPanePoint{};
  SInt16 locateMode = 0;
  SInt16 lockedFaceIndex = 0;
  SInt16 faceIndex = -1;
  SInt16 currentFaceIndex = -1;
  long faceObjectIndex = 0;  // 1-based in the selection
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
  UInt8 stayOnFirstFace = 0;
  UInt8 firstFaceRecorded = 0;
  // Set by the pane when it has painted over the crosshair: the next erase is skipped.
  UInt8 skipErase = 0;

 protected:
  // The crosshair through p: line ends and ground arms (both arms re-centred when allArms).
  void PlacePoint(const Vector3d* p, bool allArms);
  void EraseCrosshair();
  // Has the view pane prepare its port for drawing.
  void PreparePane();
  // The matrices of a face of the object at a 1-based selection position; null when no frames
  // were built for it or the face is not in its block.
  const Matrix4d* FaceFrame(const std::vector<Handle>& frames, long objectIndex, SInt16 face) const;

 private:
  // The new point p (in and out) on the plane of constant normal component through p, for the
  // view-plane point q and the ray o + t r, all in one frame; u is the unit view direction. With
  // option only the normal component moves, by the view kind. False when the plane is not
  // ahead along the ray.
  static bool PointOnPlane(const Vector3d& q, const Vector3d& o, const Vector3d& r, const Vector3d& u, SInt16 kind,
                           bool option, Vector3d* p);
  // The model direction of the view, of unit length (zero for a zero normal).
  Vector3d UnitViewDirection() const;
  // The end of modes 0 and 2 for a changed point p (in their frame): erase, Shift, typed
  // locks, the notice, the crosshair lines and the outline.
  void Relocate(Point panePoint, Vector3d* p, const Vector3d& old);
  void ApplyShift(Vector3d* p, const Vector3d& old);
  void UpdateOutline();
  // In mode 2 a point of the plane object's frame in model coordinates, in place.
  void FrameToModel(Vector3d* p) const;
  void ModelToFrame(Vector3d* p) const;
  // The crosshair's two lines through the face point across the face (model point at).
  void PlaceFaceLines(const Vector3d& facePoint, const Vector3d& at, const Matrix4d& fromFace);
};
