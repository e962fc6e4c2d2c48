// The document's views until the views layer brings its own: plane objects that only keep a
// reference point, a window with a scroll pane and a placeholder pane where the 3D view will
// be, saved views that keep their name, number and index, and the values of the grids, the snap
// spacing and the wall thickness, with the defaults of string list 2700.
#pragma once

#include "VLDocumentViews.h"

class VLStandInDocumentViews : public VLDocumentViews {
 public:
  using VLDocumentViews::VLDocumentViews;

  void MakeBackgroundGrid(double* modelBox) override;
  void MakeNorthArrow(double size, double distance) override;
  VLUser3DObject* MakeWorkingPlane() override;
  VLUser3DObject* MakeSectionPlane() override;
  CWorkingPlaneTool* GetWorkingPlaneTool() override;
  void MakeSpiderGrid() override;
  void MakeDuplicator() override;

  CWindow* MakeWindow() override;
  CPane* BuildPanes(CWindow* window) override;
  VLViewPane* GetViewPane() override;

  CCollaborator* MakeWorkingView(SInt16 number) override;
  void NameWorkingView(CCollaborator* view, ConstStringPtr name) override;
  CCollaborator* CopyView(CCollaborator* view) override;
  void GetViewName(CCollaborator* view, StringPtr name) override;
  SInt16 GetViewIndex(CCollaborator* view) override;
  void GetViewRecord(CCollaborator* view, SavedViewRecord* record) override;
  CCollaborator* MakeView(const SavedViewRecord& record, SInt16 index) override;

  void TakeModelBox(const double* modelBox) override;
  void RefreshView() override;
  void RestoreTool(SInt16 toolGroup, const SInt16* toolDefaults) override;
  void RecomputeAndRedraw() override;
  void DrawNow() override;
  void SetViewFactors(double rotateFactor, double moveFactor) override;
  void AttachToolWindows() override;
  void DetachToolWindows() override;

  void GetBackgroundGrid(double* halfSize, double* spacing) override;
  void SetBackgroundGrid(double halfSize, double spacing) override;
  void ExtendBoxByGrid(double* modelBox) override;
  double GetSnapGridSpacing() override;
  void SetSnapGridSpacing(double spacing) override;
  Vector3d GetDuplicateOffset() override { return duplicateOffset; }
  void SetDuplicateOffset(double distance) override;
  double GetWallThickness() override;
  void SetWallThickness(double thickness) override;
  void GetGroundAndSky(RGBColor* ground, RGBColor* sky) override;
  void SetGroundColor(const RGBColor& colour) override;
  void SetSkyColor(const RGBColor& colour) override;
  void SetGroundVisible(UInt8) override {}

 private:
  double halfSize = 0.0;
  double spacing = 0.0;
  double snapSpacing = 0.0;
  double wallThickness = 0.0;
  // The duplicate engine's, until the views layer has one.
  Vector3d duplicateOffset{1.0, 1.0, 0.0};
  RGBColor groundColor{26214, 39321, 26214};
  RGBColor skyColor{39321, 52428, 65535};
};
