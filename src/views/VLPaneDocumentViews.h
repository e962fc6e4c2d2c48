// The views layer's side of a native document (VLDocumentViews): its ground grid and north
// arrow, its section and working planes, and a window whose scroll pane holds the 3D view pane.
// The gauge, the duplicate engine and the saved views are still the stand-ins'
// (VLStandInDocumentViews).
// InstallPaneDocumentViews makes every new document take these.
#pragma once

#include "VLStandInDocumentViews.h"

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

  void GetBackgroundGrid(double* halfSize, double* spacing) override;
  void SetBackgroundGrid(double halfSize, double spacing) override;
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

// Every document made from now on takes VLPaneDocumentViews; the model's plane-bound operations
// convert through the working plane.
void InstallPaneDocumentViews();
