// The views layer's side of a native document (VLDocumentViews): its ground grid and north
// arrow, and a window whose scroll pane holds the 3D view pane. The planes, the gauge, the
// duplicate engine and the saved views are still the stand-ins' (VLStandInDocumentViews).
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

  void GetBackgroundGrid(double* halfSize, double* spacing) override;
  void SetBackgroundGrid(double halfSize, double spacing) override;
  void ExtendBoxByGrid(double* modelBox) override;

  VLGrid* grid = nullptr;
  VLNorthArrow* northArrow = nullptr;
  VLViewPane* pane = nullptr;
};

// Every document made from now on takes VLPaneDocumentViews.
void InstallPaneDocumentViews();
