// The 3D view of a native document: the panorama inside the document window's scroll pane that
// shows the model through its view transform, drawn double-buffered into an offscreen world
// (grids, horizon and north arrow, then the objects, directly or through the depth sorter),
// then copied to the window with the selection marks over a save-under copy.
//
// The pane owns its view transform, offscreen world, horizon line, crosshair and ray tracer
// (and the shadow caster while shadow mode is on). While it is active it is gCurrentViewPane and
// publishes its display mode and view transform to the drawing code of the objects.
//
// Implemented in VLViewPane.cpp (life cycle, activation, display mode, construction state),
// VLViewPaneDraw.cpp (drawing, copying to the window, progress, resizing),
// VLViewPaneNavigation.cpp (orbit angles, view switches, the orbit drag, key steps),
// VLViewPaneTools.cpp (tool groups, tools and drawing planes), VLViewPaneZoom.cpp (zoom and
// scrolling), VLViewPanePicking.cpp (picking, the rubber band, locating, the crosshair's
// placement, alignment), VLViewPaneClick.cpp (the mouse-down and its tools), with
// VLViewPaneChain.cpp (the chain of blocks) and VLViewPaneDrawingTools.cpp (the other drawing
// tools), and VLViewPaneDrag.cpp (the drags that edit the model: moving, reshaping, rotating,
// the planes).
#pragma once

#include "CPanorama.h"
#include "LongCoordinates.h"
#include "MacTypes.h"
#include "QuickDraw.h"
#include "Vector3d.h"

class CRayTracer;
class CShadowCaster;
class CViewInfo;
class CWorkingPlaneTool;
class LocationBar;
struct Matrix4d;
class VLCrosshairCursor;
class VLCube;
class VL3DDrawingTask;
class VLDocument;
class VLGWorldOS;
class VLGrid;
class VLHorizonLine;
class VLNorthArrow;
class VLOutlineTask;
class VLUser3DObject;
class VLViewTransform;

// Set by the frame window when a move or size loop ended with a size change: the next draw
// projects every object afresh.
extern UInt8 gWindowResized;
// On exactly while opening tool 3 (opening edit) is chosen.
extern UInt8 gOpeningEditMode;
// Where the last click selection was made (pane coordinates): a click within 3 pixels of it
// reaches past the object picked then.
extern Point gLastClickPoint;
// Makes the blocks of a chain of blocks: a new block with its storage, null when memory runs
// out. Tests put their own in its place.
extern VLCube* (*gNewChainBlock)();
// Makes the task of a drawing tool (group 1) or an opening tool (group 5) for a press; null when
// memory runs out or the tool has none. Tests put their own in its place.
extern VL3DDrawingTask* (*gNewDrawingTask)(SInt16 group, SInt16 tool);
// The orbit and look-around tools show the crosshair's point in the text bar (the command key
// is held); clear, they show their eye or look point.
extern UInt8 gCrosshairShown;

class VLViewPane : public CPanorama {
  VL_REGISTERED_CLASS(VLViewPane, CPanorama)

 public:
  // The view-tool commands the pane keeps.
  enum : SInt16 { kPlanCommand = 6000, kPerspectiveCommand = 6003, kAxonometricCommand = 6004 };
  // More objects than this (the planes included) draw without sorting while the view moves.
  static constexpr long kInteractiveSortLimit = 10;

  // Every added field cleared.
  VLViewPane() = default;
  // Clears gCurrentViewPane when it is this pane.
  ~VLViewPane() override;

  // ---- Life cycle ----

  // Initialises the panorama in its enclosure and makes the pane's own objects: the view
  // transform for the pane's size, the offscreen world at the pane's rectangle (screen depth,
  // cleared), the crosshair, the ray tracer and the horizon line (set up from the document's
  // ground switch and the ray tracer's colours). Display: wireframe; view tool: perspective;
  // redraw needed. The text bar may be null. A member that cannot be made fails the whole
  // initialisation with kDEErrorNotEnoughMemory, leaving none of the pane's objects behind.
  void IVLViewPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                   SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, VLDocument* doc,
                   LocationBar* bar);
  // Disposes of the pane's own objects, then of the pane.
  void Dispose() override;

  // Publishes the pane: gCurrentViewPane, the document's lists, the display mode, the view
  // transform; then shows the offscreen image.
  void Activate() override;
  // Forgets the working plane mode and gCurrentViewPane; remembers the drawing plane of the
  // perspective and axonometric views; erases feedback.
  void Deactivate() override;
  // Copies the offscreen image to the window, which erases the crosshair.
  void MouseExited(Point where) override;

  // Ends a click-by-click construction and redraws.
  virtual void EndConstruction();
  // Ends shadow mode: the caster goes; shaded and hidden-line on; redraws.
  virtual void LeaveShadowMode();
  virtual void SetNavigationFactors(double rotate, double move);
  virtual void GetNavigationFactors(double* rotate, double* move) const;
  // ---- Navigation (VLViewPaneNavigation.cpp) ----
  // The eye and look angles from the view transform's eye and look point.
  virtual void SyncOrbitAngles();
  // One pass of the orbit drag for a mouse movement of dh, dv pixels: altitude (held to 1..179)
  // and azimuth move by rotate steps; an orbit the transform refuses keeps the previous
  // altitude with the new azimuth. Answers whether the eye moved.
  Boolean OrbitBy(SInt16 dh, SInt16 dv);
  // The view switches: each sets the view-tool command, takes the drawing plane that goes with
  // it (SyncDrawingPlane) and changes the view transform. The perspective switch does nothing
  // while the perspective view is active; with keepCrosshair, coming from an elevation, the
  // crosshair goes to the ground below the current point. The plan and elevation switches
  // leave the working-plane and section tool groups and put the crosshair at the origin.
  virtual void SetPerspectiveView(UInt8 keepCrosshair);
  virtual void SetAxonometricView();
  virtual void SetPlanView();
  // Commands 6100 to 6103; another command keeps the current one but still switches.
  virtual void SetElevationView(SInt16 command);
  // The drawing plane of the current view-tool command: the remembered one (group 4) for the
  // perspective and axonometric views, the ground or the horizontal working plane for the plan,
  // (z, x) or (y, z) for the elevations.
  virtual void SyncDrawingPlane();
  // The views for the document's model box, lit from the sun's direction.
  virtual void ResetViewToModel();
  // Aim at, or fit, the model box; the caller redraws.
  virtual void LookAtModel();
  virtual void FitViewToModel();
  virtual void RestoreSavedView(CViewInfo* record);
  virtual void SaveCurrentView(CViewInfo* record);
  // The orbit tool's press: with the command bit the eye jumps to the current point when it is
  // not below the ground; otherwise the eye orbits with the mouse while the button is down
  // (with the option bit in perspective it walks along the line of sight instead). A plan or
  // elevation becomes the axonometric view.
  virtual void OrbitDrag(Point hit, UInt16 modifiers, UInt32 when);
  // One key step of the orbit (view tool 0) or look-around (1) tool along axis 0 (turn), 1
  // (tilt) or 2 (walk, perspective only) in direction 0 or 1. False outside view tools 0 and 1.
  virtual Boolean NavigateByKey(UInt16 axis, UInt8 direction);
  // The look-around tool's press: with the command bit the look point jumps to the current
  // point when it is not below the ground; otherwise the line of sight turns about the eye with
  // the mouse (polar angle kept off the poles), or with the option bit in perspective the look
  // point walks along it. A plan or elevation becomes the axonometric view.
  virtual void LookAround(Point hit, UInt16 modifiers, UInt32 when);
  // A dragged look-around polar angle folded into -180..180 and kept 0.1 off the poles.
  static double HeldPolarAngle(double polar);
  // The zoom tool's press: a dragged rectangle of 5 by 5 pixels or more fills the pane and the
  // tool returns to select; a smaller one is a click that zooms by 2 about the point.
  virtual void ZoomDrag(Point hit);
  // ---- Zoom and scrolling (VLViewPaneZoom.cpp) ----
  // Each zoom broadcasts kZoomChanged with the zoom ratio (a double: the bounds' width over the
  // pane's) to the dependents.
  // Shows the middle 1/factor of the view (factor above 1 enlarges), kept within the bounds;
  // the bounds grow to the zoomed extent. A factor that is not above 0 does nothing.
  virtual void ZoomBy(double factor);
  // Zooms to the union of the objects' screen rectangles grown by a tenth. A union without
  // width or height, or none, leaves the view; the ratio is broadcast in every case.
  virtual void ZoomToFitObjects();
  // Back to the whole window; nothing, and nothing broadcast, when it shows it already.
  virtual void ZoomReset();
  // The pane keeps its coordinates: scrolling moves the view's sub-window and the bounds.
  void Scroll(long h, long v, Boolean redraw) override;
  // Nothing while printing; otherwise the panorama's scroll with the sub-window following.
  void ScrollTo(const LongPt* newPosition, Boolean redraw) override;
  // The class library's automatic scrolling never moves this pane: false.
  Boolean AutoScroll(LongPt* mouse) override;
  // While zoomed, a point outside the frame scrolls the view by its overshoot (the crosshair
  // notes whether it scrolled).
  virtual void AutoScrollToPoint(Point p);
  // The bounds' width over the pane's width.
  double ZoomRatio() const;

  // ---- Locating ----
  // LocatePoint, under the name the drawing tasks call.
  Boolean LocateMousePoint(Point panePoint, Vector3d* point, Boolean snapToVertices, VLUser3DObject* skip,
                           Boolean includeSkipped) {
    return LocatePoint(panePoint, point, snapToVertices, skip, includeSkipped);
  }
  // The document's snap-to-handle distance (model units); 0 without a document.
  double SnapDistance() const;
  // ---- Picking, selection and alignment (VLViewPanePicking.cpp) ----
  // The click selection: the object whose face the pick ray through the point meets first,
  // beyond the last pick depth when the click is within 3 pixels of the last one and something
  // is selected (so repeated clicks reach further back, then nothing, then the front again).
  // Without shift every selected object is deselected first and the object picked selects
  // itself by its hit; with shift its selection toggles. With the face-selection tool (opening
  // tool 5) the face hit is selected. *picked is the object (null for none); the answer whether
  // there was one.
  virtual Boolean SelectAtPoint(Point point, UInt16 modifiers, VLUser3DObject** picked);
  // Whether the pick ray through the point meets a selected object.
  virtual Boolean HitsSelection(Point point);
  // The rubber band from start while the button is held, framed in dark grey over the offscreen
  // image; then (without shift, first deselecting everything) every object drawn where the band
  // lies is selected, and the offscreen image is shown again.
  virtual void SelectByRectangle(Point start, UInt16 modifiers, UInt32 when);
  // The model point under the mouse, located by the crosshair from the current point, into
  // *point; with snapToObjects pulled onto the nearest vertex within the snapping distance of an
  // object (exclude left out unless includeExcluded), unless the point lies on a vertex already.
  // The current point stays the crosshair's own location. Answers whether the location changed.
  virtual Boolean LocatePoint(Point mouse, Vector3d* point, Boolean snapToObjects, VLUser3DObject* exclude,
                              Boolean includeExcluded);
  // The current point and the crosshair at (x, y, z), in the working plane's coordinates while
  // the plane is on; with draw the crosshair is drawn there, else only moved.
  virtual void SetCrosshairPoint(double x, double y, double z, Boolean draw);
  // The current point's coordinate along the drawing plane's normal (in the working plane's
  // frame while the crosshair is on it) becomes amount or grows by it; the crosshair is drawn
  // there and *point takes the new point.
  virtual void StepCrosshairHeight(SInt16 amount, Boolean additive, Vector3d* point);
  // Modes 0 to 6: tops, bottoms, north sides, south sides, east sides, west sides or centres
  // of the selected objects level with the selection's box (z maximum, z minimum, y minimum,
  // y maximum, x maximum, x minimum, z middle). An alignment task keeps the objects as they
  // were and goes to the document first, so that each alignment is one undoable step, even of
  // an empty selection. Raises kDEErrorNotEnoughMemory, nothing moved, without a task.
  virtual void AlignSelection(SInt16 mode);
  // Flags every object of the document for re-projection.
  virtual void MarkObjectsChanged();
  // Publishes the pane's display mode into the process-wide bytes.
  void PublishDisplayMode() const;

  // ---- Menus (VLViewPaneMenus.cpp) ----
  // The supervisor chain's menu update, then the pane's check marks.
  void UpdateMenus() override;
  // Checks the view command, the saved view shown (6500 for the first view, 6500 + i for the
  // i-th after it), and the display modes and grid snapping that are on; the other view
  // commands and 6501 are unchecked.
  virtual void UpdateMenuChecks();

  // ---- Tool selection (VLViewPaneTools.cpp) ----
  // Each first finishes or cancels what the group's previous tool left open, stores the new
  // tool (-1 none) in the document, shows it in the tool palette (gToolIconDisplay) and puts the
  // crosshair and the location bar in the mode the tool needs.

  // The document's tool-group switch.
  virtual void SetToolGroup(SInt16 group);
  // Group 0. With exactly one selected object that has a current opening the tool becomes 3
  // (opening edit), whatever was asked, and that object the opening owner being edited.
  virtual void SelectEditTool(SInt16 tool);
  // Group 1. Leaving the polyline (3) closes the polyline under construction (one of fewer than
  // two vertices goes, leaving nothing to undo); leaving the block chain (6) abandons it.
  virtual void SelectDrawingTool(SInt16 tool);
  // Group 2. Tools 3 to 5 act at once (zoom out by half, zoom back to the full window, zoom to
  // fit every object) and return to the select tool.
  virtual void SelectViewTool(SInt16 tool);
  // Group 3: plane 0 the ground plane (x, y), 1 (y, z), 2 (z, x), 3 to 5 those planes on the
  // working plane. Sets the axis roles and the working-plane state; planes outside 0..5 are
  // ignored.
  virtual void SelectDrawingPlane(SInt16 plane);
  // The drawing plane's axes, icons and working-plane state alone, without leaving the working
  // plane's tool group (which choosing plane 0, 3, 4 or 5 there does).
  virtual void SetWorkingPlaneMode(SInt16 plane);
  // Group 5.
  virtual void SelectOpeningTool(SInt16 tool);
  // Selection queries (each sets *object to null when it answers false): the object at
  // position 3; the first selected solid (a block, a polyhedron, an extrusion of more than 2
  // faces); the one selected object when it has a current opening.
  Boolean GetFirstModelObject(VLUser3DObject** object) const;
  Boolean GetSelectedSolid(VLUser3DObject** object) const;
  Boolean GetSelectedOpeningOwner(VLUser3DObject** object) const;
  // The current point and the crosshair at p (drawn or only moved).
  void PlaceCrosshair(const Vector3d& p, bool draw);
  // Whether the working plane's normal runs along z (within 1e-05).
  bool WorkingPlaneIsHorizontal() const;

  // ---- Commands and menus (VLViewPaneCommands.cpp) ----
  // The pane's own commands: 4001 the ground grid on or off (redrawn at once in wireframe only),
  // 4014 and 4200 the section-plane and working-plane tools, 4201 to 4204 the working plane
  // onto the selected face, onto the selected object's frame, back to its start, onto the
  // selection, 6001 the section cut on or off, 6601 to 6607 the alignments 0 to 6. In shadow
  // display a command that changes the model leaves it first. The rest goes to the supervisor.
  void DoCommand(long command) override;
  // The working plane takes the frame (frame to world, points as rows) with the axes (0, 1, 2)
  // and drawing goes onto it (plane 3), the crosshair at its origin. In plan view a frame that
  // is not horizontal is refused with a beep, the plane and the axes left as they were; false.
  Boolean SetWorkingPlaneFromFrame(const Matrix4d* frame);

  // ---- Keys and cursor (VLViewPaneKeys.cpp) ----
  // The cursor of the document's tool group and tool; the crosshair follows the mouse where the
  // tool locates points (a polyline or opening outline under construction stretches to it); the
  // orbit and look-around tools show the crosshair's point in the text bar while the command
  // key is held, their eye or look point otherwise.
  void AdjustCursor(Point where, RgnHandle mouseRgn) override;
  // With the orbit or look-around tool: x y z e (tab) s v select the text bar's fields, the
  // arrows step the view; the zoom-rectangle tool swallows every key. With the other tools:
  // < and > step the crosshair along the drawing plane's normal, a digit sets it there,
  // backspace, delete and clear clear the selection, space snaps the crosshair to a handle, the
  // arrows nudge (option: along z) or with command send the elevations (6100 to 6103), with
  // command-shift align (modes 2 to 5) and with command-option the vertex commands 5023 to
  // 5026 to the document. Other keys go to the supervisor.
  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;
  // Index 0 to 2: that field of the text bar's first group; 3 and more: field index - 3 of the
  // second. Nothing for a negative index or without a text bar.
  virtual void SelectTextBarField(SInt16 index);
  // Keyboard operations on the selection and the crosshair that are not in the program yet:
  // each refuses with a beep.
  virtual void NudgeSelection(SInt16 axis, UInt8 positive);
  virtual void SnapCrosshairToHandle();

  // ---- The mouse-down (VLViewPaneClick.cpp) ----
  // A press in the pane: the document's tool group and tool choose what it does; the pane
  // becomes the command target, and typed coordinates are forgotten after it. Groups 3 and 4
  // do nothing; tools the pane cannot run yet refuse the press (RefusePress).
  void DoClick(Point hitPt, SInt16 modifiers, long when) override;
  // The select tool: a press that stays within 3 pixels is a click selection (an object with a
  // current opening becomes the opening owner being edited); a drag is DragSelection.
  virtual void EditSelection(Point hitPt, UInt16 modifiers, UInt32 when);
  // The chain of blocks (VLViewPaneChain.cpp). The first press drags the first block (a press
  // without a drag draws none); each later press adds the next block of the wall toward the
  // point, joined to the last and kept on the chain's side of its start height; a double click
  // ends the chain and returns to the select tool. Each press drops the last undoable task;
  // one whose block cannot be made changes nothing.
  virtual void DrawBlockChain(Point hitPt, UInt32 when);
  // The other drawing tools (VLViewPaneDrawingTools.cpp); the sketch tools refuse the press.
  virtual void DrawWithTool(Point hitPt, SInt16 tool, UInt32 when);
  // A drag tool's press (drawing tools 0, 1, 2, 4 and 5, opening tool 0 on the face the crosshair
  // first meets): the tool's task tracks the mouse; when it drew something it goes up to the
  // document as the one undoable step, otherwise it is disposed of and the previous step stays.
  // Drawing tools 1, 2 and 5 then return to the select tool. A task that cannot be made ends the
  // press with nothing changed.
  virtual void DrawWithTask(Point hitPt, SInt16 group, SInt16 tool);
  // The polyline tool's press. The first click starts the outline with one task, which goes up
  // to the document at once; a later click adds a vertex (Undo and Redo take it off and put it
  // back while the outline is open); a click on the first vertex closes the outline; a double
  // click places the last vertex and ends it, and one of fewer than two vertices goes, leaving
  // nothing to undo. Ending returns to the select tool.
  virtual void DrawPolylineClick(Point hitPt, UInt32 when);
  // The colour of the nearest model object under the point becomes the colour of new objects,
  // and the palette shows it. No undo.
  virtual void PickUpColour(Point hitPt);

  // ---- Editing drags (VLViewPaneDrag.cpp) ----
  //
  // Each drag hands its undo record to the document before anything changes, so that one drag
  // is one undoable step, then follows the mouse through the crosshair, redrawing at every
  // located point. A located point that is not finite is passed over: no drag leaves an object
  // with coordinates that are not finite.

  // The select tool's drag. From a selected object under the press: with the command key a
  // vertex handle follows the mouse; without it a vertex handle reshapes the object (the scaling
  // task); an edge handle moves the edge across itself; elsewhere every selected object moves
  // with the mouse, and when the press snapped onto a vertex (vertex snapping on) the release
  // snaps that vertex onto another object's. From anywhere else a rubber band selects.
  virtual void DragSelection(Point hitPt, UInt16 modifiers, UInt32 when);
  // The opening-edit tool (edit tool 3, opening tool 3), on the current opening of the pane's
  // opening owner. A press held for 10 ticks on one of the opening's handles drags that vertex
  // (in opening-edit mode) or reshapes the opening (the scaling task); on the opening itself
  // moves it within its owner; elsewhere on the owner does nothing. A press beside the owner
  // lets it go (back to the drawing plane in opening-edit mode, else to the select tool) and
  // selects by rectangle. A shorter press is the select tool's click, and one on nothing lets
  // the owner go as well.
  virtual void EditCurrentOpening(Point hitPt, UInt16 modifiers, UInt32 when);
  // The rotate tool (opening tool 2): a press held for 10 ticks on a selected object turns the
  // selection with the mouse (VL3DRotateTask) about the object's plan centre, by the handle's
  // direction when the press is on a handle; elsewhere a rubber band. A shorter press is the
  // select tool's click.
  virtual void RotateSelection(Point hitPt, UInt16 modifiers, UInt32 when);
  // The working-plane and section-plane tools (groups 6 and 7): a press held for 10 ticks on the
  // plane (not on a handle) moves it with the mouse as one undoable step; a handle changes
  // nothing and keeps the tool; a click, or a press beside the plane, returns to the select
  // tool.
  virtual void DragWorkingPlane(Point hitPt, UInt16 modifiers, UInt32 when);
  virtual void DragSectionPlane(Point hitPt, UInt16 modifiers, UInt32 when);
  // The nearest vertex within the snapping distance of the model objects other than the
  // excluded one: true with the vertex and its object; a point on a vertex already answers
  // itself. False, outputs untouched, when none is near.
  virtual Boolean FindSnapPoint(const Vector3d& point, Vector3d* outPoint, VLUser3DObject** outObject,
                                VLUser3DObject* excluded);

  // ---- Drawing (VLViewPaneDraw.cpp) ----

  // The class library's draw entry (area in pane coordinates): the printed page while
  // printing, the picture while drawing one, the shadow view in shadow mode, else the normal
  // draw. Tracking draws come with their tasks.
  void Draw(const Rect* area) override;
  // The class library's DrawAll, then follows a changed frame: pane rectangle, offscreen world,
  // view transform, crosshair; objects re-project, the next draw redraws.
  void DrawAll(const Rect* area) override;
  // Full redraw now: redraw needed, grids stale, Draw of the pane rectangle.
  void Refresh() override;
  virtual void RefreshWithoutCopy();
  virtual void InvalidateGrids();
  virtual void PrepareDrawingPort();
  // Shows the offscreen image with the selection marks (through the save-under world while the
  // window is visible).
  virtual void CopyOffscreenToWindow();
  virtual void EraseFeedback();
  virtual void ClearOffscreen();
  virtual void BeginDrawingProgress(const Rect* area, SInt32 startTicks, UInt8 direct);
  virtual void EndDrawingProgress(UInt8 direct);
  virtual void DrawBackgroundImage();
  virtual void DrawGrids(Rect* lastUpdate);
  virtual void DrawAdornments(Rect* lastUpdate);
  // Draws the objects of gObjectList (1 to its count), skipping those outside the area in a
  // partial redraw and unselected ones when drawing selected only; false when the user stopped.
  virtual Boolean DrawObjects(const Rect* area, Rect* lastUpdate);
  virtual void DrawSelectedObjects(Rect* lastUpdate, SInt16 which);
  // Paints and empties the depth sorter (with this pane's view and ground switch).
  virtual void PaintDepthBuffer();
  virtual void ResetDepthBuffer();
  virtual void DrawSelectionOverlay(Rect* lastUpdate);
  virtual void DrawShadowView(const Rect* area);
  // Whether the next normal draw goes directly (true) or through the sorter.
  Boolean ChooseDirectDrawing() const;

  // ---- Printing and pictures (VLViewPanePrint.cpp) ----

  // The view at the page's size into the current (printer) port, with the printed caption; the
  // pane's own size comes back afterwards. Draw calls it while gPrintingView is set.
  virtual void DrawForPrinting(const Rect* page);
  // A picture of the view at scale times the pane's size (only the selected objects, without
  // grid, horizon and north arrow, when selected is true), returned through picture: the
  // caller owns it. A failure raises kDEErrorErrorWritingFile with the pane restored.
  virtual void DrawPicture(PicHandle* picture, Boolean selected, float scale);
  // The draw DrawPicture reaches through Draw: records the picture into recordedPicture.
  virtual void DrawIntoPicture(const Rect* area);
  // The objects of the document in order (only selected ones when selectedOnly is set), until
  // the user presses command-period; then the depth sorter paints when drawing sorted.
  void DrawObjectsUntilStopped(Rect* lastUpdate);

  // ---- Fields ----

  VLHorizonLine* horizonLine = nullptr;
  VLViewTransform* viewTransform = nullptr;
  VLDocument* document = nullptr;
  VLGWorldOS* offscreen = nullptr;
  CRayTracer* rayTracer = nullptr;
  LocationBar* textBar = nullptr;  // the window's; may be null
  CShadowCaster* shadowCaster = nullptr;
  VLCrosshairCursor* crosshair = nullptr;
  void* polylineUnderConstruction = nullptr;
  void* lastChainBlock = nullptr;
  void* polylineTask = nullptr;
  VLOutlineTask* openingTask = nullptr;  // a polyline opening in progress
  void* openingOwner = nullptr;
  double eyeAltitude = 0.0, eyeAzimuth = 0.0;
  double lookAltitude = 0.0, lookAzimuth = 0.0;
  double lastPickDepth = -1.0;
  // The chain of blocks: the height it started at, whether it grows upward from there, and the
  // end face it continues from once it has a second block.
  double chainStartHeight = 0.0;
  UInt8 chainGrowsUp = 0;
  UInt8 chainHasContinuation = 0;
  SInt16 chainEdge = 0;
  double rotateFactor = 0.0, moveFactor = 0.0;
  double rotateStep = 0.0, moveStep = 0.0;
  Vector3d currentPoint;
  LongRect savedFrame;
  Rect paneRect;
  Rect backgroundRect;
  Rect lastUpdate;
  PicHandle backgroundPicture = nullptr;
  PicHandle recordedPicture = nullptr;
  SInt16 viewToolCommand = kPerspectiveCommand;
  UInt8 perspectiveActive = 0;
  UInt8 pointLocated = 0;
  UInt8 wireframe = 0, shaded = 0, hiddenLine = 0, shadowMode = 0;
  UInt8 zoomed = 0;
  UInt8 backgroundShown = 0;
  UInt8 redrawNeeded = 0;
  UInt8 drawingIntoPicture = 0;
  UInt8 selectedOnly = 0;
  UInt8 viewFlag = 0;
  UInt8 showingSavedView = 0;
  UInt8 sketchShown = 0;
  UInt8 quickCopyAllowed = 0;
  UInt8 gridsStale = 0;
  UInt8 windowShowsOffscreen = 0;
  UInt8 partialCopy = 0;
  UInt8 partialRedraw = 0;
  float pictureScale = 1.0f;
  // The location bar's mode the tools ask for (1 coordinates, 2 the eye or look point of the
  // view) and, in mode 2, whether it shows the look point; kept here for a pane without a bar.
  SInt16 locationBarMode = 0;
  UInt8 locationBarShowsLook = 0;

 protected:
  // The document's ground grid and north arrow (null without the views layer's objects).
  VLGrid* DocumentGrid() const;
  VLNorthArrow* DocumentNorthArrow() const;
  // The normal draw of Draw.
  void DrawNormally(const Rect* area);

 private:
  // Deselecting and selecting again drops an opening or face selection: the whole object is
  // selected.
  static void Reselect(VLUser3DObject* object);
  // The commands' steps (VLViewPaneCommands.cpp).
  void ToggleGroundGrid();
  CWorkingPlaneTool* DocumentWorkingPlane() const;
  VLUser3DObject* FirstSelectedObject() const;
  void WorkingPlaneOntoFace();
  void WorkingPlaneOntoObjectFrame();
  void ResetWorkingPlane();
  void WorkingPlaneOntoSelection();
  // 6010: the current view kept as a saved view under a name the user gives, or put into the
  // saved view shown when the user keeps its name. Nothing with the list full.
  void SaveViewUnderName();
  // The crosshair follows the mouse (VLViewPaneKeys.cpp); true when it moved.
  Boolean TrackCrosshair();
  // The orbit (tool 0) or look-around (1) tool's crosshair and text bar while the mouse moves.
  void TrackViewTool(SInt16 tool);
  // The view tools' keys; the other tools' keys.
  void ViewToolKey(char theChar, UInt8 keyCode, EventRecord* event);
  void ModelKey(char theChar, UInt8 keyCode, EventRecord* event);
  // A beep, then waits for the release: nothing changes.
  void RefusePress();
  // Tracks a drawing task from the press, pinned to the frame, its first locate forced.
  void TrackDrawingTask(VL3DDrawingTask* task, Point hitPt);
  // Polls until the release: true as soon as the mouse goes more than 3 pixels from the press.
  Boolean PressBecomesDrag(Point hitPt);
  // Waits 10 ticks from the press: whether the button is still held then.
  Boolean PressIsHeld(UInt32 when);
  // The select tool's click: the click selection, the opening owner being edited, the
  // offscreen image shown. Whether the click picked an object.
  Boolean ClickSelection(Point hitPt, UInt16 modifiers);
  // The opening owner being edited is deselected and forgotten; the tool goes back to the
  // drawing plane in opening-edit mode, else to the select tool.
  void ForgetOpeningOwner();
  // The editing drags' loop (VLViewPaneDrag.cpp): until the release, and once more at the
  // release, each mouse position the crosshair locates (finite) becomes the current point, step
  // gets the offset from the point before, and the pane redraws.
  template <class Step>
  void TrackEdit(Step step);
  // One mouse position of TrackEdit, applied when the crosshair locates it.
  template <class Step>
  void FollowMouse(Step& step);
  // After a drag of the selection: every selected object finishes its edit, the pane redraws
  // (not after a scaling drag, which redrew) and the model box takes the selection in.
  void FinishSelectionEdit(bool scaled);
  // The scaling drag of the object from the press, with its undo record handed over first.
  void TrackScaling(VLUser3DObject* object, Point hitPt);
  // The plane tools' press.
  void DragPlane(VLUser3DObject* plane, Point hitPt, UInt32 when);
  // Whether a press at the pane point is the first of a double click (WaitForDoubleClick).
  Boolean IsDoubleClick(Point hitPt, UInt32 when);
  // The two kinds of chain press; false when no block could be made.
  Boolean StartBlockChain(Point hitPt);
  Boolean ContinueBlockChain(Point hitPt, UInt32 when);
  // The point's coordinate along the drawing plane's normal, in the working plane's frame
  // while drawing is bound to it.
  double HeightInDrawingPlane(const Vector3d& p) const;
  // Appends a block to the object list as the chain's last.
  void AppendChainBlock(VLCube* block);
  // Back to group 0 and the select tool.
  void ReturnToSelectTool();
  // Closes the polyline under construction as a double click does.
  void ClosePolylineUnderConstruction();
  // Ends the polyline opening in progress: passed up with 3 points or more, else disposed of
  // with nothing left to undo; the pane forgets it.
  void FinishOpeningTask();
  // The crosshair on the working plane while it is in use, else free.
  void FreeOrPlaneCrosshair();
  // The working plane while drawing is bound to it; null otherwise.
  CWorkingPlaneTool* WorkingPlaneInUse() const;
  // The location bar's mode (kept, and given to the bar when there is one); in mode 2 the bar
  // gets the view transform and shows the eye point, or the look point when showLook is set.
  void SetLocationBarMode(SInt16 mode, UInt8 showLook = 0);
  void BroadcastZoom(double ratio);
  // Zooms the view into a pane rectangle (widened to the pane's proportions, written back); the
  // bounds follow, zoomed on, the ratio broadcast.
  void ZoomIntoRect(Rect* r);
  // Moves the rectangle, keeping its size, back inside the bounds.
  void KeepInsideBounds(Rect* r) const;
  // Scroll steps and overlaps a tenth of the width; the scroll bars follow the bounds.
  void CalibrateScrolling();
  // Restore 1 unless the document links the perspective with the axonometric view.
  UInt8 RestoreRememberedView() const;
  // The end of a navigation that moved the view: a plan or elevation becomes axonometric.
  void FinishNavigation();
};
