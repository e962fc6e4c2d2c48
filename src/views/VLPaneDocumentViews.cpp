#include "VLPaneDocumentViews.h"

#include <new>

#include "CGroupTask.h"
#include "CObjectChangedTask.h"
#include "CObjectDeleteTask.h"
#include "CScaleTask.h"
#include "COrientationDefiner.h"
#include "CPaneBorder.h"
#include "CRayTracer.h"
#include "CSectionPlane.h"
#include "CWorkingPlaneTool.h"
#include "DETException.h"
#include "LocationBar.h"
#include "ToolIconDisplay.h"
#include "Unwinding.h"
#include "VLDocument.h"
#include "VLGrid.h"
#include "VLNorthArrow.h"
#include "VLScrollPane.h"
#include "VLSubWindow.h"
#include "VLCrosshairCursor.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "VLWindow.h"

LocationBarMaker gLocationBarMaker = nullptr;

namespace {

VLDocumentViews* MakePaneDocumentViews(VLDocument* document) {
  return new (std::nothrow) VLPaneDocumentViews(document);
}

}  // namespace

void InstallPaneDocumentViews() {
  gDocumentViewsMaker = MakePaneDocumentViews;
  InstallWorkingPlaneConversions();
}

void VLPaneDocumentViews::Dispose() {
  if (grid) grid->Dispose();
  grid = nullptr;
  if (northArrow) northArrow->Dispose();
  northArrow = nullptr;
  VLStandInDocumentViews::Dispose();
}

void VLPaneDocumentViews::MakeBackgroundGrid(double* box) {
  Owned<VLGrid> made(new (std::nothrow) VLGrid);
  ThrowIfNil(made.get());
  made->IVLGrid();
  grid = made.release();
  grid->ExtendBounds(box);
}

void VLPaneDocumentViews::MakeNorthArrow(double size, double distance) {
  Owned<VLNorthArrow> made(new (std::nothrow) VLNorthArrow);
  ThrowIfNil(made.get());
  made->IVLNorthArrow(size, distance);
  northArrow = made.release();
}

VLUser3DObject* VLPaneDocumentViews::MakeWorkingPlane() {
  Owned<CWorkingPlaneTool> made(new (std::nothrow) CWorkingPlaneTool);
  ThrowIfNil(made.get());
  made->InitPlane(0, 0, 0, 0);
  workingPlane = made.release();
  return workingPlane;
}

VLUser3DObject* VLPaneDocumentViews::MakeSectionPlane() {
  Owned<CSectionPlane> made(new (std::nothrow) CSectionPlane);
  ThrowIfNil(made.get());
  made->InitPlane(0, 0, 0, 0);
  return made.release();
}

CPane* VLPaneDocumentViews::BuildPanes(CWindow* window) {
  pane = BuildViewPanes(window, document, document);
  return pane;
}

VLViewPane* BuildViewPanes(CWindow* window, CBureaucrat* supervisor, VLDocument* document) {
  // The text bar runs along the window's bottom; the scroll pane's last row is its first.
  const SInt16 barHeight = gLocationBarMaker ? SInt16(kLocationBarHeight - 1) : SInt16(0);
  auto* scrollPane = new (std::nothrow) VLScrollPane;
  ThrowIfNil(scrollPane);
  scrollPane->IScrollPane(window, supervisor, window->GetWidth(), SInt16(window->GetHeight() - barHeight), 0, 0,
                          sizELASTIC, sizELASTIC, true, true, true);
  LocationBar* bar = nullptr;
  if (gLocationBarMaker) {
    bar = gLocationBarMaker(window, supervisor);
    if (!bar) ThrowError(kDEErrorNotEnoughMemory, Str255("BuildViewPanes"));
  }
  SInt16 width = 0;
  SInt16 height = 0;
  scrollPane->GetInteriorLengths(&width, &height);
  Owned<VLViewPane> made(new (std::nothrow) VLViewPane);
  if (!made) ThrowError(kDEErrorNotEnoughMemory, Str255("BuildViewPanes"));
  made->IVLViewPane(scrollPane, supervisor, SInt16(width - 2), SInt16(height - 2), 1, 1, sizELASTIC, sizELASTIC,
                    document, bar);
  scrollPane->InstallPanorama(made.get());
  auto* border = new (std::nothrow) CPaneBorder(kBorderFrame);
  ThrowIfNil(border);
  made->SetBorder(border);
  return made.release();
}

void VLPaneDocumentViews::TakeModelBox(const double* box) {
  if (!pane || !pane->viewTransform) return;
  const Vector3d min{box[0], box[1], box[2]}, max{box[3], box[4], box[5]};
  pane->viewTransform->InitViewsForBox(&min, &max);
}

void VLPaneDocumentViews::RefreshView() {
  if (pane) pane->Refresh();
}

void VLPaneDocumentViews::RecomputeAndRedraw() {
  if (pane) pane->Refresh();
}

void VLPaneDocumentViews::DrawNow() {
  if (pane) pane->EraseFeedback();
}

void VLPaneDocumentViews::RestoreTool(SInt16 toolGroup, const SInt16* toolDefaults) {
  RestorePaneTool(pane, toolGroup, toolDefaults);
}

void RestorePaneTool(VLViewPane* pane, SInt16 toolGroup, const SInt16* toolDefaults) {
  if (!pane) return;
  switch (toolGroup) {
    case 0: pane->SelectEditTool(toolDefaults[0]); break;
    case 1: pane->SelectDrawingTool(toolDefaults[1]); break;
    case 2: pane->SelectViewTool(toolDefaults[2]); break;
    case 5: pane->SelectOpeningTool(toolDefaults[5]); break;
    case 6:
    case 7:
      if (gToolIconDisplay) {
        gToolIconDisplay->DeselectToolIcons();
        gToolIconDisplay->SelectToolIcon(0);
      }
      break;
    default:
      break;  // the drawing-plane groups restore nothing
  }
}

void VLPaneDocumentViews::SetViewFactors(double rotateFactor, double moveFactor) {
  if (pane) pane->SetNavigationFactors(rotateFactor, moveFactor);
}

void VLPaneDocumentViews::GetBackgroundGrid(double* halfSize, double* spacing) {
  if (!grid) return VLStandInDocumentViews::GetBackgroundGrid(halfSize, spacing);
  *halfSize = grid->GetHalfSize();
  *spacing = grid->GetSpacing();
}

void VLPaneDocumentViews::SetBackgroundGrid(double halfSize, double spacing) {
  if (!grid) return VLStandInDocumentViews::SetBackgroundGrid(halfSize, spacing);
  grid->SetSizeAndSpacing(halfSize, spacing);
  if (northArrow) northArrow->Resize(spacing, halfSize);
  if (pane && pane->crosshair) pane->crosshair->SetCrosshairExtent(halfSize);
  // Every pane's recorded grid lines are those of the grid before.
  for (VLViewPane* each : DocumentPanes()) each->InvalidateGrids();
}

void VLPaneDocumentViews::SetSnapGridSpacing(double spacing) {
  VLStandInDocumentViews::SetSnapGridSpacing(spacing);
  for (VLViewPane* each : DocumentPanes())
    if (each->crosshair) each->crosshair->SetSnapSpacing(spacing);
}

std::vector<VLViewPane*> VLPaneDocumentViews::DocumentPanes() const {
  std::vector<VLViewPane*> panes;
  if (pane) panes.push_back(pane);
  for (SInt16 slot = 1; slot <= VLDocument::kSubWindowSlots; ++slot) {
    auto* window = dynamic_cast<VLSubWindow*>(document->GetSubWindow(slot));
    if (window && window->GetPane()) panes.push_back(window->GetPane());
  }
  return panes;
}

void VLPaneDocumentViews::ExtendBoxByGrid(double* box) {
  if (!grid) return VLStandInDocumentViews::ExtendBoxByGrid(box);
  grid->ExtendBounds(box);
}

void VLPaneDocumentViews::GetGroundAndSky(RGBColor* ground, RGBColor* sky) {
  if (!pane || !pane->rayTracer) return VLStandInDocumentViews::GetGroundAndSky(ground, sky);
  *ground = pane->rayTracer->groundColor;
  *sky = pane->rayTracer->skyColor;
}

void VLPaneDocumentViews::SetGroundColor(const RGBColor& colour) {
  if (!pane || !pane->rayTracer) return VLStandInDocumentViews::SetGroundColor(colour);
  pane->rayTracer->groundColor = colour;
}

void VLPaneDocumentViews::SetSkyColor(const RGBColor& colour) {
  if (!pane || !pane->rayTracer) return VLStandInDocumentViews::SetSkyColor(colour);
  pane->rayTracer->skyColor = colour;
}

void VLPaneDocumentViews::SetGroundVisible(UInt8 visible) {
  if (pane && pane->rayTracer) pane->rayTracer->showGround = visible ? 1 : 0;
}

// ---- The editing commands' view ----

void VLPaneDocumentViews::ReformatLocation() {
  if (pane && pane->textBar) pane->textBar->ReformatFields();
}

void VLPaneDocumentViews::RefreshLocator() {
  if (!pane || !pane->crosshair || pane->crosshair->locateMode != 1) return;
  pane->crosshair->BuildFaceFrames(pane->crosshair->faceObject);
}

void VLPaneDocumentViews::Redraw() {
  if (pane) pane->Refresh();
}

void VLPaneDocumentViews::RedrawAfterEdit() {
  if (pane) pane->Refresh();
}

void VLPaneDocumentViews::LeaveShadowMode() {
  if (pane) pane->LeaveShadowMode();
}

void VLPaneDocumentViews::ReturnToSelectTool() {
  if (!pane) return;
  pane->SetToolGroup(0);
  pane->SelectEditTool(0);
}

void VLPaneDocumentViews::LeaveToolGroup(SInt16 group) {
  if (!pane) return;
  if (group == 1) pane->SelectDrawingTool(-1);
  if (group == 5) pane->SelectOpeningTool(-1);
}

void VLPaneDocumentViews::ActivatePlane(SInt16 group, Boolean active) {
  auto* plane = dynamic_cast<COrientationDefiner*>(group == 6 ? document->GetWorkingPlane() : document->GetSectionPlane());
  if (plane) plane->Show(active);
}

void VLPaneDocumentViews::DrawOnWorkingPlane() {
  if (pane) pane->SetWorkingPlaneMode(3);
}

PicHandle VLPaneDocumentViews::MakeSelectionPicture() {
  if (!pane) return nullptr;
  PicHandle picture = nullptr;
  pane->DrawPicture(&picture, true, 1.0f);
  return picture;
}

CTask* VLPaneDocumentViews::DoDeleteTask(SInt16 nameIndex, Boolean* removedOpening) {
  Owned<CObjectDeleteTask> task(new (std::nothrow) CObjectDeleteTask);
  if (!task) ThrowError(kDEErrorNotEnoughMemory, Str255("VLPaneDocumentViews::DoDeleteTask"));
  task->IObjectDeleteTask(nameIndex);
  task->Do();
  *removedOpening = task->HasDeletedOpening();
  return task.release();
}

CTask* VLPaneDocumentViews::DoGroupTask(SInt16 nameIndex) {
  Owned<CGroupTask> task(new (std::nothrow) CGroupTask);
  if (!task) ThrowError(kDEErrorNotEnoughMemory, Str255("VLPaneDocumentViews::DoGroupTask"));
  task->IGroupTask(nameIndex);
  task->Do();
  return task.release();
}

CTask* VLPaneDocumentViews::MakeFlipTask(SInt16 nameIndex) {
  Owned<CFlipTask> task(new (std::nothrow) CFlipTask);
  if (!task) ThrowError(kDEErrorNotEnoughMemory, Str255("VLPaneDocumentViews::MakeFlipTask"));
  task->IFlipTask(nameIndex);
  return task.release();
}


CTask* VLPaneDocumentViews::DoScaleTask(SInt16 nameIndex, const Vector3d& factors) {
  Owned<CScaleTask> task(new (std::nothrow) CScaleTask);
  if (!task) ThrowError(kDEErrorNotEnoughMemory, Str255("VLPaneDocumentViews::DoScaleTask"));
  task->Init(nameIndex);
  task->SetDuplicator(nullptr);
  task->SetPoint(factors);
  task->Do();
  return task.release();
}
