// One 3D view's camera, window and projection: everything that turns model coordinates into the
// pixels of a view pane and back. Each view pane owns one; tools, drawing tasks, the depth sorter,
// the objects' drawing code and the view adornments receive it. A sub-window copies it.
//
// Implemented in three files:
//   VLViewTransform.cpp            set-up, copies, the matrices, the screen axes
//   VLViewTransformProjection.cpp  projecting and clipping points, segments and faces
//   VLViewTransformNavigation.cpp  fitting, the view memories, moving the camera, the window,
//                                  picking, Radiance view options
//
// Model coordinates: x east, y south, z up, the ground at z = 0. The camera is that of the
// classic viewing pipeline: a view reference point (VRP), a unit view-plane normal (VPN) pointing
// from the look point toward the eye, an up vector (VUP), a projection reference point (PRP) in
// view-reference coordinates (u, v, n) whose n is the eye distance d, a window umin..umax,
// vmin..vmax on the view plane through the VRP, and front and back distances F and B. The eye is
// never stored: it is VRP + VPN * d.
//
// The view matrix takes model points to normalised view space (applied with TransformPoint3x4):
//   perspective: a visible point has hither <= z <= 1 and -z <= x, y <= z; z grows with the
//                distance from the eye, which lies at z = 0;
//   parallel:    a visible point has -1 <= x, y <= 1, z = 0 on the front plane and 1 at the back.
// Pane points are (h, v, depth): pixels from the pane's left and top, and a depth that grows with
// the distance from the eye (-1/z in perspective, 1000 z in parallel projection). Pane x grows
// along the screen-right vector and pane y along minus the screen-up vector, so the plan shows
// east to the right and north (-y) at the top.
//
// Invariants kept by every operation that moves the camera or changes the window: the VPN has
// unit length, the matrix matches the camera, the window and the perspective flag, and the
// screen axes match the VPN and the VUP. Code that writes the camera fields directly restores
// them with RebuildMatrix and UpdateScreenAxes. Single-threaded: the clipping scratch storage is
// shared by all transforms.
#pragma once

#include <cstdio>

#include "CCollaborator.h"
#include "MacTypes.h"
#include "Matrix4d.h"
#include "Vector3d.h"
#include "ViewConventions.h"

class CViewInfo;

// Set while the depth sorter's painting is on the screen (and by the section plane and the
// shadow caster while they draw); ClipPolygon then marks no front faces. The view pane owns it.
extern UInt8 gDepthSortPainted;

// A clip plane in normalised view space: inside where normal . p + offset >= 0.
struct ViewClipPlane {
  Vector3d normal;
  double offset = 0.0;
};

// A polygon block: a relocatable block holding one face outline, a 16-bit point count followed
// by the points (three doubles each) from kPolygonBlockPoints on.
constexpr Size kPolygonBlockPoints = 8;
// A block for count points with the count set and every point zero; null when memory runs out.
Handle NewPolygonBlock(SInt16 count);
// The count of a block, and its points (valid until the block is next resized).
SInt16 PolygonBlockCount(Handle block);
Vector3d* PolygonBlockPoints(Handle block);

class VLViewTransform : public CCollaborator {
  VL_REGISTERED_CLASS(VLViewTransform, CCollaborator)

 public:
  // Outcode bits of a view-space point (ClipOutcode).
  enum : UInt16 {
    kOutYHigh = 1,    // y above its upper bound (below the pane's bottom edge)
    kOutYLow = 2,     // y below its lower bound (above the pane's top edge)
    kOutXHigh = 4,    // x above its upper bound (right of the pane)
    kOutXLow = 8,     // x below its lower bound (left of the pane)
    kOutFar = 16,     // z above 1
    kOutHither = 32,  // z below the hither value
    kOutAll = 63,
  };
  // Clip planes, by number.
  enum : SInt16 { kClipLeft = 0, kClipRight = 1, kClipBottom = 2, kClipTop = 3, kClipHither = 4, kClipFar = 5 };

  // ---- Construction, set-up, copies (the view pane constructs, then calls IVLViewTransform) ----

  // Clears the flags, the kind, the pane size and every double of the window and the sub-window;
  // no view memories. The camera and the matrix stay unset until IVLViewTransform.
  VLViewTransform() = default;
  // The default view for a pane of that size: PRP (0, 0, 5), VRP (0, 60, 35), look point
  // (0, 0, 5), VUP z, window -3..3 both ways, full sub-window, perspective kind 0, B = 10000,
  // F = 4.5, hither (d - F) / (B - d), light (1, 1, 1) normalised. Reads the default look-point
  // height and the minimum eye distance (items 6 and 8 of string list 2700, 5 feet when they
  // cannot be read). The matrix, the screen axes and the view memories come with
  // InitViewsForBox. Raises kDEErrorAssertionViolated, changing nothing, for a width or a height
  // below 1: every window computation divides by the pane size.
  void IVLViewTransform(SInt16 width, SInt16 height);
  // Copies everything; each view memory is copied into a memory of the copy's own (null where
  // the source has none or the copy cannot be made). The copy has no dependents or providers.
  VLViewTransform(const VLViewTransform& other);
  VLViewTransform& operator=(const VLViewTransform&) = delete;
  // Frees the view memories.
  ~VLViewTransform() override;
  // A copy (as the copy constructor), or null when memory runs out.
  VLViewTransform* Clone() const override;

  // ---- Matrix, screen axes, light ----

  // Computes the perspective (or parallel) matrix of the current camera and window into out;
  // every caller passes viewMatrix. True when every element is finite: a degenerate camera
  // (a zero eye distance, an empty window) is not rejected and gives a non-finite matrix.
  Boolean BuildPerspectiveMatrix(Matrix4d* out);
  Boolean BuildParallelMatrix(Matrix4d* out);
  // Rebuilds viewMatrix with the perspective or the parallel build, as the perspective flag says.
  Boolean RebuildMatrix();
  // Recomputes screenUp (VUP without its VPN part, normalised) and screenRight (VPN x screenUp).
  // A VUP along the VPN counts as (0, -1, 0), as both matrix builds take it.
  void UpdateScreenAxes();
  // Stores the light direction as given (not normalised).
  void SetLightDirection(double x, double y, double z);
  // out = VRP + VPN * d; answers out.
  Vector3d* GetEyePoint(Vector3d* out) const;
  // VRP = eye - VPN * d. Does not rebuild the matrix.
  void SetReferenceFromEye(const Vector3d* eye);
  // The dot product of v with the light direction: for a face normal, its light cosine.
  double DistanceToViewPoint(const Vector3d* v) const;
  // The view-plane window's current half size: the half extent of its shorter side.
  double CurrentHalfSize() const;

  // ---- Projection and clipping (per frame: no allocation beyond the shared scratch) ----

  // The outcode of a view-space point against the bounds of the current projection and
  // sub-window. With sideTests 0 only kOutHither is computed. A point on a bound is inside.
  UInt16 ClipOutcode(const Vector3d* viewPoint, UInt8 sideTests) const;
  // The pane point of a model point, without clipping; answers out. In perspective a point on
  // the eye plane gives infinite coordinates and one behind the eye a mirrored point: convert
  // with PaneCoordinate, which refuses non-finite values.
  Vector3d* ProjectPoint(const Vector3d* modelPoint, Vector3d* out) const;
  // The pane points of n view-space points (nothing for n < 1); the same caveat.
  void ProjectPoints(SInt16 n, Vector3d* panePoints, const Vector3d* viewPoints) const;
  // Takes n model points into viewPoints (the caller's n points of scratch). Without clip, or in
  // parallel projection, projects them all into panePoints and answers true. With clip in
  // perspective: answers false (n < 1, or all points beyond one bound) having projected nothing;
  // when some point lies before the hither plane sets *anyBehindHither and answers true without
  // projecting (the caller then clips the face with ClipPolygon or ProjectFaceList).
  Boolean ProjectPolygon(const Vector3d* modelPoints, SInt16 n, Vector3d* panePoints, UInt8* anyBehindHither,
                         Vector3d* viewPoints, UInt8 clip) const;
  // Clips the face whose n corners are viewPoints[indices[i]] (indices: a block of n 16-bit
  // vertex indices, each below the caller's vertex count) against the view volume (the
  // sub-window's planes when the full-window flag is clear) and projects it into panePoints,
  // which holds capacity points, setting *count. ClippedPointBound(n) always suffices; a face
  // whose clipped outline would pass capacity is refused. Then orients the outline on the pane
  // (PolygonPlane) into *normal. Answers true when the face looks away from the viewer; false
  // when it is refused (n < 1, an index block shorter than n, all corners beyond one bound,
  // nothing left after clipping) or looks toward the viewer, which also sets *frontMarked unless
  // gDepthSortPainted is set. *anyBehindHither tells whether a corner lay before the hither plane.
  Boolean ClipPolygon(const Vector3d* viewPoints, SInt16 n, Handle indices, UInt8* anyBehindHither,
                      Vector3d* panePoints, UInt16 capacity, UInt16* count, UInt8* frontMarked, Vector3d* normal);
  // Enough room for the pane points ClipPolygon makes of a face of n corners: each of the six
  // planes can add half the points it is given.
  static UInt16 ClippedPointBound(SInt16 n);
  // Rewrites a polygon block in place: its points into view space; with clip, false when all lie
  // beyond one bound, and every point before the hither plane replaced by the crossings of its
  // two edges with that plane (the block grows by a point where both edges cross it); then every
  // point into pane coordinates. False when fewer than 3 points remain, or when the block is not
  // a polygon block that holds its count. Raises kDEErrorNotEnoughMemory when the block cannot
  // grow (or would pass 32767 points); the block keeps its lock state and its contents so far.
  Boolean ProjectFaceList(Handle block, UInt8 clip);
  // Orients the outline of n pane points (repeated and collinear points skipped) and writes its
  // unit normal, turned by the outline's winding on the pane, into *normal. True when the
  // normal's z is above 0: the outline runs clockwise on the pane, toward the viewer. False, with
  // *normal untouched, for fewer than 3 points.
  Boolean PolygonPlane(const Vector3d* panePoints, SInt16 n, Vector3d* normal) const;
  // Projects the model segment p-q into pane points. In perspective it is clipped (at all sides)
  // only when an end lies before the hither plane; in parallel projection it is never clipped
  // and both depths are 0. When visible: *visible = 1, each unchanged flag tells whether clipping
  // left that end where it was, and every h and v is clamped to +-kPaneCoordinateLimit. When not
  // visible (clipped away, or an end that is not finite): *visible = 0, both unchanged flags 0,
  // the outputs untouched.
  void ProjectSegment(const Vector3d* p, const Vector3d* q, Vector3d* paneP, Vector3d* paneQ, UInt8* visible,
                      UInt8* pUnchanged, UInt8* qUnchanged) const;
  // The same for ends already in view space, always clipped (at the sides only with the
  // full-window flag set), not clamped; when not visible the outputs and the unchanged flags
  // are left untouched.
  void ProjectViewSegment(const Vector3d* a, const Vector3d* b, Vector3d* paneA, Vector3d* paneB, UInt8* visible,
                          UInt8* aUnchanged, UInt8* bUnchanged) const;
  // The pane point of a view-space point.
  void MapToPane(const Vector3d* viewPoint, Vector3d* out) const;

  // ---- Views for a box and the view memories ----

  // Gives a new pane its views for the box: the default view (elevation 27.5, azimuth 60), the
  // seven view memories, the perspective matrix; the transform shows the perspective view.
  // Raises kDEErrorNotEnoughMemory, as CreateViewMemories does.
  void InitViewsForBox(const Vector3d* min, const Vector3d* max);
  // Look point over the box's centre at the default look-point height, VPN from the elevation
  // and azimuth (degrees, azimuth from +x toward +y), the box fitted, then the eye brought to 0.7
  // of its distance. Answers the matrix build's result.
  Boolean SetDefaultView(const Vector3d* min, const Vector3d* max, double elevation, double azimuth);
  // Moves the eye along the line through the look point in direction VPN until the box's corners
  // fit the window; the look point stays on that line and on or above the ground. Answers the
  // matrix build's result.
  Boolean FitBox(const Vector3d* min, const Vector3d* max);
  // Fills the seven memories: 0 the current camera, 1 the plan over the box, 2-5 the north,
  // south, east and west elevations, 6 the current camera as axonometric view. The window is
  // left as it was. Raises kDEErrorNotEnoughMemory, changing nothing, when a memory cannot be made.
  void CreateViewMemories(const Vector3d* min, const Vector3d* max);
  // To the perspective view: with restore 1 the one remembered in memory 0; otherwise, coming
  // from the axonometric view, a perspective camera made from it.
  void SwitchToPerspective(UInt8 restore);
  // To the axonometric view: with restore 1 the one remembered in memory 6; otherwise a window
  // fitted to the remembered perspective view.
  void SwitchToAxonometric(UInt8 restore);
  // Sets the window to the width the window's edge rays span at the look point's height (at its
  // distance when those rays are level); square.
  void FitAxonometricWindow();
  // The perspective half size that shows at the look point what an axonometric half size shows.
  double PerspectiveHalfSize(double axonometricHalfSize);
  // VUP z, parallel, kind 6, remembered in memory 6. Does not rebuild the matrix.
  void SetAxonometric();
  // To the plan view of memory 1 (remembering a perspective or axonometric view first).
  void UpdateForViewKind();
  // To the elevation of kCmdNorthElevation..kCmdWestElevation (memories 2-5), remembering a
  // perspective or axonometric view first. Other commands change nothing.
  void SetElevationView(SInt16 command);
  // Writes the current camera, kind and half size into the record.
  void SaveView(CViewInfo* record);
  // Shows the record's camera and kind, at the half size of memory 0 (perspective) or 1 (others).
  void RestoreView(CViewInfo* record);

  // ---- Moving the camera (angles in radians) ----

  // Moves the eye to p, keeping the look point (moved only to keep the eye distance d, on or
  // above the ground). p is written back when it is raised to the ground or moved.
  void SetEyePoint(Vector3d* p);
  // Moves the look point to p (raised to the ground, written back), keeping the eye where it
  // can stay at least d away.
  void SetLookPoint(Vector3d* p);
  // Looks at the box's centre (raised to the ground), as SetLookPoint.
  void LookAtBox(const Vector3d* min, const Vector3d* max);
  // Walks the eye s along VPN (negative s toward the look point). An eye that passes the look
  // point stops on it, and the look point is pushed the minimum distance ahead. False, changing
  // nothing, when the eye would go below the ground.
  Boolean MoveEye(double s);
  // Moves the look point s along VPN; false, changing nothing, when it would go below the ground.
  Boolean MoveLookPoint(double s);
  // Puts the eye on the sphere about the look point: polar angle from straight up, azimuth from
  // +y toward +x. False, changing nothing, when the eye would go below the ground.
  Boolean OrbitEye(double polar, double azimuth);
  // Turns the look point about the eye (polar from straight down); a look point below the
  // ground is brought up to it along the line of sight. True.
  Boolean TurnLook(double polar, double azimuth);

  // ---- Window, pane, sub-window ----

  // The window's shorter side gets half size s, the other follows the pane's aspect; updates the
  // screen axes (the caller rebuilds the matrix).
  void SetWindowHalfSize(double s);
  // Follows a new pane size, widening the window along the side that changed more; rebuilds.
  // False, changing nothing, for a width or a height below 1.
  Boolean ResizePane(SInt16 width, SInt16 height);
  // Zooms the sub-window into a pane rectangle, first widened or heightened (in place) around its
  // centre to the pane's aspect. False, changing nothing, for a rectangle without area.
  Boolean ZoomToRect(Rect* rect);
  // Scrolls the sub-window by dh, dv pixels.
  void ScrollSubWindow(SInt16 dh, SInt16 dv);
  // Recomputes the viewport mapping and the sub-window's clip planes; the full-window flag
  // clears unless the sub-window is exactly (0, 1, 0, 1).
  void UpdateSubWindow();
  // Back to the full window; false when it already was.
  Boolean ResetSubWindow();

  // ---- Picking ----

  // The point of the view plane under a pane point (v, h); an h or v above 9998 means the pane's
  // right or bottom edge and is written back as the width or height.
  void PanePointToViewPlane(Vector3d* out, Point* panePoint) const;
  // The ray under a pane point: from the eye in perspective, from the view plane's point moved d
  // toward the viewer in parallel projection; the direction is not normalised.
  void GetPickRay(Vector3d* origin, Vector3d* direction, Point panePoint) const;

  // ---- Radiance ----

  // Writes the view as Radiance view options ("-vtv -vp ... -vd ... -vu ... -vh 75 -vv 75
  // -vs 0 -vl 0", y negated). Raises kDEErrorErrorWritingFile with the I/O error -36 when a
  // write fails or the stream reports an error.
  void WriteRadianceView(std::FILE* file) const;

  // ---- Fields ----

  Matrix4d viewMatrix;
  Vector3d referencePoint;       // VRP
  Vector3d projectionReference;  // PRP (u, v, n); n is the eye distance d
  Vector3d planeNormal;          // VPN, unit, from the look point toward the eye
  Vector3d upVector;             // VUP
  Vector3d lookPoint;
  UInt8 perspective = 0;
  UInt8 principalView = 0;  // 1 for the plan and the elevations
  SInt16 viewKind = 0;
  SInt16 paneWidth = 0;
  SInt16 paneHeight = 0;
  // 1 when the sub-window is the whole window: the clip bounds are then the fixed ones. The
  // objects' drawing code sets it around ProjectFaceList to clip to the whole view.
  UInt8 fullWindow = 0;
  CViewInfo* viewMemories[kViewKindCount] = {};  // index = view kind; owned
  ViewClipPlane subWindowPlanes[4];              // left, right, bottom, top
  Vector3d screenRight;                          // world direction of increasing pane h
  Vector3d screenUp;                             // world direction of decreasing pane v
  Vector3d lightDirection;
  double halfPaneWidth = 0.0;
  double halfPaneHeight = 0.0;
  double umin = 0.0, umax = 0.0, vmin = 0.0, vmax = 0.0;  // the window on the view plane
  double x0 = 0.0, x1 = 0.0, y0 = 0.0, y1 = 0.0;          // the sub-window, fractions of the window
  double ox = 0.0, oy = 0.0, kx = 0.0, ky = 0.0;          // viewport mapping of the sub-window
  double hither = 0.0;                                    // near clipping value of view z
  double backDistance = 0.0;
  double frontDistance = 0.0;
  double defaultLookHeight = 0.0;   // of a new view
  double minimumEyeDistance = 0.0;  // between the eye and the look point when walking
  // Calls of the projecting operations (ProjectPoint, ProjectPoints, ProjectPolygon,
  // ProjectSegment, ProjectViewSegment), nested ones included: tests and benchmarks tell by it
  // whether a drawing projected anything.
  mutable UInt32 projectionCalls = 0;

 private:
  double EyeDistance() const { return projectionReference.z; }
  // The eye into *eye; answers its distance from the look point.
  double EyeAndDistance(Vector3d* eye) const;
  // The sub-window becomes the whole window (0, 1, 0, 1), with its mapping and flag.
  void SetWholeSubWindow();
  // The camera to or from a memory (or a record). Loading a null memory does nothing; loading
  // brings the screen axes up to date; both answer the half size.
  double LoadCamera(const CViewInfo* memory);
  void SaveCamera(CViewInfo* memory, SInt16 kind, double halfSize);
  // Saves into memory 0 or 6 when the transform shows a perspective or axonometric view.
  void RememberCurrentView();
  // Shows a parallel principal view from a memory.
  void ShowPrincipalView(SInt16 kind);
  // The memory of a kind, made when missing; raises kDEErrorNotEnoughMemory when it cannot be.
  CViewInfo* Memory(SInt16 kind);
  // Ends a camera move: moves the VRP to the eye, rebuilds, updates the screen axes.
  void FinishMove(const Vector3d* eye);
  // Keeps the eye where it is unless it is closer than d to the look point: then it goes back to
  // d along the VPN (onto the ground when that is below it). Ends the move.
  void PlaceEyeFromLook(Vector3d eye);

  // Clipping steps.
  bool InsidePlane(const Vector3d* p, SInt16 plane) const;
  void GetClipPlane(SInt16 plane, ViewClipPlane* out) const;
  void IntersectClipPlane(const Vector3d* a, const Vector3d* b, SInt16 plane, Vector3d* out) const;
  void ClipPolygonToPlane(SInt16 plane, const Vector3d* in, int n, Vector3d* out, int* count) const;
  // Liang-Barsky clipping of the segment a-b in place: ClipSegment at the sides (with the
  // full-window flag set), the hither plane and (with the flag set) the far plane;
  // ClipSegmentDepth at the hither and far planes. Not visible leaves both ends untouched.
  void ClipSegment(Vector3d* a, Vector3d* b, UInt8* visible) const;
  void ClipSegmentDepth(Vector3d* a, Vector3d* b, UInt8* visible) const;
  void ClipSegmentSteps(Vector3d* a, Vector3d* b, UInt8* visible, bool sides, bool far) const;
};
