// The views layer's side of a native document (VLDocumentViews): its ground grid and north
// arrow, its section and working planes, a window whose scroll pane holds the 3D view pane, the
// saved views (CViewInfo) and the sub-windows. The gauge and the duplicate engine are still the
// stand-ins' (VLStandInDocumentViews).
// InstallPaneDocumentViews makes every new document take these.
//
// Implemented in VLPaneDocumentViews.cpp (objects, window, editing commands, settings) and
// VLPaneDocumentViewCommands.cpp (saved views, the view and display commands, sub-windows).
#pragma once

#include <vector>

#include "VLStandInDocumentViews.h"

class CBureaucrat;
class VLGrid;
class VLNorthArrow;

class VLPaneDocumentViews : public VLStandInDocumentViews {
 public:
  using VLStandInDocumentViews::VLStandInDocumentViews;

  // Disposes of the grid and the north arrow.
  void Dispose() override;

  // The ground grid (IVLGrid, not shown) widening the model box.
  void MakeBackgroundGrid(double* modelBox) override;
  void MakeNorthArrow(double size, double distance) override;
  // The planes, initialised; the document puts them in its object list and disposes of them.
  VLUser3DObject* MakeWorkingPlane() override;
  VLUser3DObject* MakeSectionPlane() override;
  CWorkingPlaneTool* GetWorkingPlaneTool() override { return workingPlane; }
  // A scroll pane filling the window with a view pane inside it, 1 pixel in. A pane that cannot
  // be made is disposed of, and the failure passes on.
  CPane* BuildPanes(CWindow* window) override;
  VLViewPane* GetViewPane() override { return pane; }

  // The pane's view transform takes its views for the box (minimum then maximum corner).
  void TakeModelBox(const double* modelBox) override;
  void RefreshView() override;
  void RecomputeAndRedraw() override;
  void DrawNow() override;
  void SetViewFactors(double rotateFactor, double moveFactor) override;
  // The pane's select operation of the group takes the group's stored tool; the plane groups
  // show the palette's first tool icon.
  void RestoreTool(SInt16 toolGroup, const SInt16* toolDefaults) override;

  // The editing commands' view: a locator on the selection's faces takes their frames again;
  // both redraws draw the view afresh; the tasks are the views layer's undoable tasks.
  void RefreshLocator() override;
  void ReformatLocation() override;
  void Redraw() override;
  void RedrawAfterEdit() override;
  void LeaveShadowMode() override;
  void ReturnToSelectTool() override;
  // Group 1: the drawing tool none; group 5: the opening tool none.
  void LeaveToolGroup(SInt16 group) override;
  void ActivatePlane(SInt16 group, Boolean active) override;
  // Drawing plane 3 (the ground plane's axes on the working plane).
  void DrawOnWorkingPlane() override;
  PicHandle MakeSelectionPicture() override;
  CTask* DoDeleteTask(SInt16 nameIndex, Boolean* removedOpening) override;
  CTask* DoGroupTask(SInt16 nameIndex) override;
  CTask* MakeFlipTask(SInt16 nameIndex) override;
  CTask* DoScaleTask(SInt16 nameIndex, const Vector3d& factors) override;

  // ---- Saved views: CViewInfo records of the pane's camera ----
  CCollaborator* MakeWorkingView(SInt16 number) override;
  void NameWorkingView(CCollaborator* view, ConstStringPtr name) override;
  void GetViewName(CCollaborator* view, StringPtr name) override;
  SInt16 GetViewIndex(CCollaborator* view) override;
  // The file keeps the type, the eye and the look point; a view made from a record without
  // them takes the pane's current camera.
  void GetViewRecord(CCollaborator* view, SavedViewRecord* record) override;
  CCollaborator* MakeView(const SavedViewRecord& record, SInt16 index) override;
  SInt16 GetViewType(CCollaborator* view) override;
  UInt8 IsViewActive(CCollaborator* view) override;
  void SetViewActive(CCollaborator* view, UInt8 active) override;
  CCollaborator* MakeSavedView(ConstStringPtr name, SInt16 number, SInt16 index) override;

  // ---- The view and display commands, on the current pane of the document ----
  SInt16 GetViewCommand() override;
  UInt8 InPerspective() override;
  UInt8 ShowsSavedView() override;
  void SetShowsSavedView(UInt8 shown) override;
  void SwitchProjection(SInt16 command) override;
  void ShowView(CCollaborator* view, SInt16 viewCommand, UInt8 perspective) override;
  void CaptureView(CCollaborator* view) override;
  void TakeDisplayMode(Boolean resetOffscreen) override;
  void UpdateMenuChecks() override;
  SInt16 GetViewKind() override;
  Boolean HasPendingTask() override;
  Boolean IsSectionCutting() override;
  Boolean IsGridShown() override;

  // ---- Sub-windows (VLSubWindow) ----
  CCollaborator* MakeSubWindow() override;
  void InitSubWindow(CCollaborator* window, CCollaborator* source, SInt16 slot, SInt16 number) override;
  void SetSubWindowNeedsRefresh(CCollaborator* window) override;

  // The pane the commands act on: the current pane when it shows this document (a sub-window's
  // while it is active), else the main pane.
  VLViewPane* CommandPane() const;

  void GetBackgroundGrid(double* halfSize, double* spacing) override;
  // Also the north arrow at the grid's corner, as large as a spacing, the main pane's crosshair
  // reaching to the grid's edge, and the grid lines of every pane drawn afresh.
  void SetBackgroundGrid(double halfSize, double spacing) override;
  // Also the locators of the main pane and of each sub-window's pane.
  void SetSnapGridSpacing(double spacing) override;
  // The main pane, then the pane of each sub-window in slot order.
  std::vector<VLViewPane*> DocumentPanes() const;
  void ExtendBoxByGrid(double* modelBox) override;
  // The colours and the ground switch are the pane's ray tracer's.
  void GetGroundAndSky(RGBColor* ground, RGBColor* sky) override;
  void SetGroundColor(const RGBColor& colour) override;
  void SetSkyColor(const RGBColor& colour) override;
  void SetGroundVisible(UInt8 visible) override;

  VLGrid* grid = nullptr;
  VLNorthArrow* northArrow = nullptr;
  VLViewPane* pane = nullptr;
  CWorkingPlaneTool* workingPlane = nullptr;  // the document's (not owned)
};

// A scroll pane filling the window with a view pane of the document inside it, 1 pixel in, both
// under the supervisor. A pane that cannot be made is disposed of, and the failure passes on.
VLViewPane* BuildViewPanes(CWindow* window, CBureaucrat* supervisor, VLDocument* document);

// The pane's select operation of the group takes the group's stored tool (of seven); the plane
// groups show the palette's first tool icon. Nothing without a pane.
void RestorePaneTool(VLViewPane* pane, SInt16 toolGroup, const SInt16* toolDefaults);

// Every document made from now on takes VLPaneDocumentViews; the model's plane-bound operations
// convert through the working plane.
void InstallPaneDocumentViews();
