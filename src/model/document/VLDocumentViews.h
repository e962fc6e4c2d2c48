// What a native document asks of the views layer: the objects of that layer it owns (the
// background grid, the north arrow, the working-plane gauge, the duplicate engine, the section
// and working planes, the saved views) and the window with its panes (scroll pane, text bar,
// the 3D view pane with its border).
//
// Each document makes one VLDocumentViews through gDocumentViewsMaker at set-up and disposes of
// it with itself. The views layer installs its own maker; until then the stand-ins below give
// the document placeholder planes, a window with a placeholder pane, and keep the values the
// settings lines write and read (grid size and spacing, snap spacing, wall thickness).
#pragma once

#include "CCollaborator.h"
#include "MacTypes.h"
#include "PString.h"
#include "QuickDraw.h"
#include "Vector3d.h"

class CPane;
class CTask;
class CWindow;
class CWorkingPlaneTool;
class VLDocument;
class VLUser3DObject;
class VLViewPane;

// A saved view as the native file holds it: name, number, type (0 perspective .. 6
// axonometric), eye and look points in feet, whether both points were given, and the
// walk-through flag.
struct SavedViewRecord {
  Str255 name;
  SInt16 number = 0;
  SInt16 type = 0;
  Vector3d eye;
  Vector3d look;
  bool hasPoints = false;
  UInt8 script = 0;
};

class VLDocumentViews {
 public:
  explicit VLDocumentViews(VLDocument* document) : document(document) {}
  virtual ~VLDocumentViews() = default;
  VLDocumentViews(const VLDocumentViews&) = delete;
  VLDocumentViews& operator=(const VLDocumentViews&) = delete;

  // Releases the grids, the north arrow, the gauge and the duplicate engine. The planes are in
  // the object list and the panes in the window; the document disposes of those.
  virtual void Dispose() { delete this; }

  // ---- Set-up, in the document's order ----

  // The background grid with its defaults; it widens the model box (minimum x, y, z, then
  // maximum x, y, z) by its extent and marks itself changed.
  virtual void MakeBackgroundGrid(double* modelBox) = 0;
  // The north arrow (size, distance), then given the grid's spacing and half-size.
  virtual void MakeNorthArrow(double size, double distance) = 0;
  // The planes: editable objects with storage of all capacities 0. The document puts them at
  // positions 1 (section plane) and 2 (working plane) of its object list and disposes of them
  // with the list.
  virtual VLUser3DObject* MakeWorkingPlane() = 0;
  virtual VLUser3DObject* MakeSectionPlane() = 0;
  // The working plane as the program-wide drawing state knows it (null for a stand-in).
  virtual CWorkingPlaneTool* GetWorkingPlaneTool() = 0;
  // The working-plane gauge, laid out by the background grid around the model origin.
  virtual void MakeSpiderGrid() = 0;
  // The duplicate engine, with the document as its supervisor.
  virtual void MakeDuplicator() = 0;

  // ---- The window ----

  // The document's window (window resource 500, not floating, on the desktop, the document as
  // supervisor).
  virtual CWindow* MakeWindow() = 0;
  // The window's panes; answers the main pane, which becomes the document's first command
  // target. A view pane is published as gCurrentViewPane.
  virtual CPane* BuildPanes(CWindow* window) = 0;
  // The 3D view pane (null for a stand-in).
  virtual VLViewPane* GetViewPane() = 0;

  // ---- Saved views ----

  // The working view: the pane's current view with the number, index 1, the pane's
  // published-view flag set. Owned by the caller (disposed through Dispose).
  virtual CCollaborator* MakeWorkingView(SInt16 number) = 0;
  // Names the working view and marks it active.
  virtual void NameWorkingView(CCollaborator* view, ConstStringPtr name) = 0;
  // A copy of a view (null when memory runs out).
  virtual CCollaborator* CopyView(CCollaborator* view) = 0;
  virtual void GetViewName(CCollaborator* view, StringPtr name) = 0;
  virtual SInt16 GetViewIndex(CCollaborator* view) = 0;
  // What the file keeps of a view, and a new view (owned by the caller, null when memory runs
  // out) from such a record at the view list's position index.
  virtual void GetViewRecord(CCollaborator* view, SavedViewRecord* record) = 0;
  virtual CCollaborator* MakeView(const SavedViewRecord& record, SInt16 index) = 0;

  // ---- New document and activation ----

  // The view pane takes the document's model box into its view transform.
  virtual void TakeModelBox(const double* modelBox) = 0;
  // The view pane's view object refreshes.
  virtual void RefreshView() = 0;
  // Restores the tool of the tool group in the view pane from the tool-group defaults (seven).
  virtual void RestoreTool(SInt16 toolGroup, const SInt16* toolDefaults) = 0;
  // After every object was marked changed: the pane recomputes and redraws.
  virtual void RecomputeAndRedraw() = 0;
  // The view pane puts the view on the screen at once.
  virtual void DrawNow() = 0;
  // The main pane and the pane of each sub-window take the view navigation factors.
  virtual void SetViewFactors(double rotateFactor, double moveFactor) = 0;
  // The open tool windows (phases window, views editor and the third one) become dependents and
  // providers of the document, and stop being so.
  virtual void AttachToolWindows() = 0;
  virtual void DetachToolWindows() = 0;

  // ---- What the document's editing commands ask of the view ----
  // Without the views layer's pane each does nothing, and each task answers null: the command
  // then changes nothing.

  // The crosshair locator refreshes; the view redraws; it redraws after an edit of the model.
  virtual void RefreshLocator() {}
  // The window's text bar shows its coordinates again in the units just published.
  virtual void ReformatLocation() {}
  virtual void Redraw() {}
  virtual void RedrawAfterEdit() {}
  // The pane leaves shadow display for shaded, sorted display.
  virtual void LeaveShadowMode() {}
  // The pane goes to tool group 0 (the document's switch) and its select tool 0.
  virtual void ReturnToSelectTool() {}
  // Leaving tool group 1 or 5: the pane finishes or drops what the group's tool left open (an
  // unfinished polyline or block chain, an opening outline, the opening edit, a face selection).
  virtual void LeaveToolGroup(SInt16) {}
  // The working plane (group 6) or the section plane (group 7) shown and active, or not.
  virtual void ActivatePlane(SInt16, Boolean) {}
  // The pane draws on the working plane.
  virtual void DrawOnWorkingPlane() {}
  // A picture of the selected objects as the view shows them (the caller's; null without a pane).
  virtual PicHandle MakeSelectionPicture() { return nullptr; }
  // The undoable delete of the selection with the undo name, done; *removedOpening tells
  // whether it took an opening rather than whole objects.
  virtual CTask* DoDeleteTask(SInt16, Boolean* removedOpening) {
    *removedOpening = false;
    return nullptr;
  }
  // The undoable group (undo name 11) or ungroup (12) of the selection, done.
  virtual CTask* DoGroupTask(SInt16) { return nullptr; }
  // The flip task: it records the selected objects' vertices and frame axes before the command
  // changes them.
  virtual CTask* MakeFlipTask(SInt16) { return nullptr; }
  // The undoable scale of the selection (undo name 7) by the factors along x, y and z, done.
  virtual CTask* DoScaleTask(SInt16, const Vector3d&) { return nullptr; }

  // ---- What the view, display and saved-view commands ask of the view ----
  // They act on the document's pane that is current (a sub-window's while it is active, else the
  // main pane). Without the views layer's pane there is none: each does nothing and the
  // queries answer 0.

  // The pane's view command (6000, 6003, 6004, 6100-6103) and its perspective flag.
  virtual SInt16 GetViewCommand() { return 0; }
  virtual UInt8 InPerspective() { return 0; }
  // Whether the pane shows a saved view rather than a view of its own.
  virtual UInt8 ShowsSavedView() { return 0; }
  virtual void SetShowsSavedView(UInt8) {}
  // The pane switches to the projection of a view command (6000 plan, 6003 perspective, 6004
  // axonometric, 6100-6103 the elevations) and redraws; its view command becomes the command.
  virtual void SwitchProjection(SInt16) {}
  // The pane takes a saved view's camera, then the view command and perspective flag given,
  // with the drawing plane of that command, and redraws.
  virtual void ShowView(CCollaborator*, SInt16, UInt8) {}
  // The saved view takes the pane's current camera.
  virtual void CaptureView(CCollaborator*) {}
  // The pane's display flags take the display globals (ViewDrawingFlags.h); with resetOffscreen
  // its offscreen image is dropped; the shadow caster goes. Then it redraws.
  virtual void TakeDisplayMode(Boolean) {}
  // Check marks of the pane's view, display and saved-view commands, set by the pane itself
  // unless it is the command target (whose own menu update sets them after the document's).
  virtual void UpdateMenuChecks() {}
  // What the document's menu update asks of the pane: the kind of its view (0 perspective, 1
  // plan, 2-5 elevations, 6 axonometric; -1 without a pane), whether a mouse task of it is
  // pending (a polyline opening drawn click by click), whether the section plane cuts and
  // whether the ground grid is shown.
  virtual SInt16 GetViewKind() { return -1; }
  virtual Boolean HasPendingTask() { return false; }
  virtual Boolean IsSectionCutting() { return false; }
  virtual Boolean IsGridShown() { return false; }

  // ---- Saved views ----
  // The view type (0 perspective .. 6 axonometric) and the active flag of a saved view.
  virtual SInt16 GetViewType(CCollaborator* view) {
    SavedViewRecord record;
    GetViewRecord(view, &record);
    return record.type;
  }
  virtual UInt8 IsViewActive(CCollaborator*) { return 0; }
  virtual void SetViewActive(CCollaborator*, UInt8) {}
  // A new saved view of the pane's current view, named and numbered, active, at the view list's
  // position index (null when memory runs out; the caller's).
  virtual CCollaborator* MakeSavedView(ConstStringPtr, SInt16, SInt16) { return nullptr; }

  // ---- Sub-windows ----
  // A second window on the document with a pane of its own (VLSubWindow), not set up yet; null
  // when the views layer has no panes.
  virtual CCollaborator* MakeSubWindow() { return nullptr; }
  // Sets the sub-window up in its slot (1-5; 0 when it has none) with its number, its view a
  // copy of the source sub-window's (null: the main pane's) at that window's size, and shows
  // it. A failure disposes of it (it gives up its slot) and passes on.
  virtual void InitSubWindow(CCollaborator*, CCollaborator* /*source*/, SInt16 /*slot*/, SInt16 /*number*/) {}
  // The sub-window redraws with new projections when it is next activated.
  virtual void SetSubWindowNeedsRefresh(CCollaborator*) {}

  // ---- Values the settings lines write and read ----

  virtual void GetBackgroundGrid(double* halfSize, double* spacing) = 0;
  // The grid, the view pane's half-size and the north arrow (placed at the grid's corner, as
  // large as a spacing).
  virtual void SetBackgroundGrid(double halfSize, double spacing) = 0;
  // Widens a model box by the background grid's extent.
  virtual void ExtendBoxByGrid(double* modelBox) = 0;
  // The snap spacing of the crosshair locators of all the document's panes.
  virtual double GetSnapGridSpacing() = 0;
  virtual void SetSnapGridSpacing(double spacing) = 0;
  // The duplicate engine's move of a single duplicate (feet); SetDuplicateOffset sets its x and
  // y to the distance, z stays.
  virtual Vector3d GetDuplicateOffset() = 0;
  virtual void SetDuplicateOffset(double distance) = 0;
  virtual double GetWallThickness() = 0;
  virtual void SetWallThickness(double thickness) = 0;
  // The view pane's ground and sky colours and its ground object's visibility.
  virtual void GetGroundAndSky(RGBColor* ground, RGBColor* sky) = 0;
  virtual void SetGroundColor(const RGBColor& colour) = 0;
  virtual void SetSkyColor(const RGBColor& colour) = 0;
  virtual void SetGroundVisible(UInt8 visible) = 0;

 protected:
  VLDocument* document;
};

using DocumentViewsMaker = VLDocumentViews* (*)(VLDocument* document);
// The maker every new document calls; the views layer installs its own.
extern DocumentViewsMaker gDocumentViewsMaker;
// The stand-in views (the default maker).
VLDocumentViews* MakeStandInDocumentViews(VLDocument* document);
