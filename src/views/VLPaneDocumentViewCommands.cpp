// The views layer's side of the document's view commands: the saved views as records of the
// pane's camera, the projection and display switches of the current pane, and the sub-windows.
#include <cmath>
#include <new>

#include "CMenuManager.h"
#include "CSectionPlane.h"
#include "CShadowCaster.h"
#include "CViewInfo.h"
#include "CWindow.h"
#include "DETException.h"
#include "Unwinding.h"
#include "VLDocument.h"
#include "VLGWorld.h"
#include "VLGrid.h"
#include "VLPaneDocumentViews.h"
#include "VLSubWindow.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"

namespace {

CViewInfo* AsView(CCollaborator* view) { return dynamic_cast<CViewInfo*>(view); }

// A record of the pane's current camera (null when memory runs out).
CViewInfo* CaptureCamera(VLViewPane* pane) {
  auto* view = new (std::nothrow) CViewInfo;
  if (view && pane && pane->viewTransform) pane->SaveCurrentView(view);
  return view;
}

// The eye a saved view's camera looks from.
Vector3d EyeOf(const CViewInfo& view) {
  const double d = view.viewValues.z;
  return {view.centre.x + view.direction.x * d, view.centre.y + view.direction.y * d,
          view.centre.z + view.direction.z * d};
}

}  // namespace

VLViewPane* VLPaneDocumentViews::CommandPane() const {
  if (gCurrentViewPane && gCurrentViewPane->document == document) return gCurrentViewPane;
  return pane;
}

// ---- Saved views ----

CCollaborator* VLPaneDocumentViews::MakeWorkingView(SInt16 number) {
  CViewInfo* view = CaptureCamera(pane);
  ThrowIfNil(view);
  view->SetViewNumber(number);
  view->menuNumber = 1;
  view->scriptView = 0;
  if (pane) pane->showingSavedView = 1;
  return view;
}

void VLPaneDocumentViews::NameWorkingView(CCollaborator* view, ConstStringPtr name) {
  if (CViewInfo* info = AsView(view)) {
    info->SetName(name);
    info->current = 1;
  }
}

void VLPaneDocumentViews::GetViewName(CCollaborator* view, StringPtr name) {
  name[0] = 0;
  if (CViewInfo* info = AsView(view)) info->GetName(name);
}

SInt16 VLPaneDocumentViews::GetViewIndex(CCollaborator* view) {
  CViewInfo* info = AsView(view);
  return info ? info->menuNumber : SInt16(0);
}

void VLPaneDocumentViews::GetViewRecord(CCollaborator* view, SavedViewRecord* record) {
  CViewInfo* info = AsView(view);
  if (!info) return;
  info->GetName(record->name);
  record->number = info->GetViewNumber();
  record->type = info->GetViewType();
  record->eye = EyeOf(*info);
  record->look = info->lookPoint;
  record->hasPoints = true;
  record->script = info->scriptView;
}

CCollaborator* VLPaneDocumentViews::MakeView(const SavedViewRecord& record, SInt16 index) {
  CViewInfo* view = CaptureCamera(pane);
  if (!view) return nullptr;
  const Vector3d line{record.eye.x - record.look.x, record.eye.y - record.look.y, record.eye.z - record.look.z};
  const double length = std::sqrt(line.x * line.x + line.y * line.y + line.z * line.z);
  // The camera looks from the eye at the look point at the pane's eye distance; a record without
  // two distinct points keeps the pane's camera.
  if (record.hasPoints && length > 0.0) {
    view->direction = {line.x / length, line.y / length, line.z / length};
    view->lookPoint = record.look;
    const double d = view->viewValues.z;
    view->centre = {record.eye.x - view->direction.x * d, record.eye.y - view->direction.y * d,
                    record.eye.z - view->direction.z * d};
    // Looking straight down or up, the up vector cannot be z.
    view->upVector = std::fabs(view->direction.z) > 0.99999 ? Vector3d{0.0, 1.0, 0.0} : Vector3d{0.0, 0.0, 1.0};
  }
  view->SetName(record.name);
  view->SetViewNumber(record.number);
  view->SetViewType(record.type >= 0 && record.type < kViewKindCount ? record.type : SInt16(kPerspectiveView));
  view->scriptView = record.script;
  view->menuNumber = index;
  return view;
}

SInt16 VLPaneDocumentViews::GetViewType(CCollaborator* view) {
  CViewInfo* info = AsView(view);
  return info ? info->GetViewType() : SInt16(kPerspectiveView);
}

UInt8 VLPaneDocumentViews::IsViewActive(CCollaborator* view) {
  CViewInfo* info = AsView(view);
  return info ? info->current : UInt8(0);
}

void VLPaneDocumentViews::SetViewActive(CCollaborator* view, UInt8 active) {
  if (CViewInfo* info = AsView(view)) info->current = active ? 1 : 0;
}

CCollaborator* VLPaneDocumentViews::MakeSavedView(ConstStringPtr name, SInt16 number, SInt16 index) {
  CViewInfo* view = CaptureCamera(CommandPane());
  if (!view) return nullptr;
  view->SetName(name);
  view->SetViewNumber(number);
  view->menuNumber = index;
  view->current = 1;
  return view;
}

// ---- View and display commands ----

SInt16 VLPaneDocumentViews::GetViewCommand() {
  VLViewPane* current = CommandPane();
  return current ? current->viewToolCommand : SInt16(0);
}

UInt8 VLPaneDocumentViews::InPerspective() {
  VLViewPane* current = CommandPane();
  return current ? current->perspectiveActive : UInt8(0);
}

UInt8 VLPaneDocumentViews::ShowsSavedView() {
  VLViewPane* current = CommandPane();
  return current ? current->showingSavedView : UInt8(0);
}

void VLPaneDocumentViews::SetShowsSavedView(UInt8 shown) {
  if (VLViewPane* current = CommandPane()) current->showingSavedView = shown ? 1 : 0;
}

void VLPaneDocumentViews::SwitchProjection(SInt16 command) {
  VLViewPane* current = CommandPane();
  if (!current) return;
  switch (command) {
    case VLViewPane::kPlanCommand: current->SetPlanView(); break;
    case VLViewPane::kPerspectiveCommand: current->SetPerspectiveView(1); break;
    case VLViewPane::kAxonometricCommand: current->SetAxonometricView(); break;
    default: current->SetElevationView(command); break;
  }
  current->Refresh();
  current->viewToolCommand = command;
}

void VLPaneDocumentViews::ShowView(CCollaborator* view, SInt16 viewCommand, UInt8 perspective) {
  VLViewPane* current = CommandPane();
  CViewInfo* info = AsView(view);
  if (!current || !info) return;
  current->RestoreSavedView(info);
  current->viewToolCommand = viewCommand;
  current->perspectiveActive = perspective ? 1 : 0;
  current->SyncDrawingPlane();
  current->Refresh();
}

void VLPaneDocumentViews::CaptureView(CCollaborator* view) {
  CViewInfo* info = AsView(view);
  VLViewPane* current = CommandPane();
  if (!info || !current) return;
  // The camera only: the view keeps its name, numbers and flags.
  const CViewInfo kept(*info);
  current->SaveCurrentView(info);
  info->SetName(kept.name);
  info->menuNumber = kept.menuNumber;
  info->scriptView = kept.scriptView;
  info->current = kept.current;
  info->interpolated = kept.interpolated;
  info->markedForRemoval = kept.markedForRemoval;
}

void VLPaneDocumentViews::TakeDisplayMode(Boolean resetOffscreen) {
  VLViewPane* current = CommandPane();
  if (!current) return;
  current->wireframe = gWireframeMode;
  current->hiddenLine = gHiddenLineMode;
  current->shaded = gShadedMode;
  current->shadowMode = gShadowMode;
  if (!gShadowMode && current->shadowCaster) {
    current->shadowCaster->Dispose();
    current->shadowCaster = nullptr;
  }
  if (resetOffscreen && current->offscreen) current->ClearOffscreen();
  current->Refresh();
}

void VLPaneDocumentViews::UpdateMenuChecks() {
  VLViewPane* current = CommandPane();
  if (current && current != gCommandTarget) current->UpdateMenuChecks();
}

SInt16 VLPaneDocumentViews::GetViewKind() {
  VLViewPane* current = CommandPane();
  return current && current->viewTransform ? current->viewTransform->viewKind : SInt16(-1);
}

Boolean VLPaneDocumentViews::HasPendingTask() {
  VLViewPane* current = CommandPane();
  return current && current->openingTask;
}

Boolean VLPaneDocumentViews::IsSectionCutting() {
  auto* section = dynamic_cast<CSectionPlane*>(document->GetSectionPlane());
  return section && section->IsCutting();
}

Boolean VLPaneDocumentViews::IsGridShown() { return grid && grid->visible; }

// ---- Sub-windows ----

CCollaborator* VLPaneDocumentViews::MakeSubWindow() { return new (std::nothrow) VLSubWindow; }

void VLPaneDocumentViews::InitSubWindow(CCollaborator* window, CCollaborator* source, SInt16 slot, SInt16 number) {
  auto* subWindow = dynamic_cast<VLSubWindow*>(window);
  if (!subWindow) return;
  auto* from = dynamic_cast<VLSubWindow*>(source);
  VLViewPane* sourcePane = from && from->GetPane() ? from->GetPane() : pane;
  CWindow* sourceWindow = from && from->GetWindow() ? from->GetWindow() : document->GetWindow();
  const SInt16 width = sourceWindow ? sourceWindow->GetWidth() : SInt16(0);
  const SInt16 height = sourceWindow ? sourceWindow->GetHeight() : SInt16(0);
  subWindow->Init(document, sourcePane, width, height, slot, number);
}

void VLPaneDocumentViews::SetSubWindowNeedsRefresh(CCollaborator* window) {
  if (auto* subWindow = dynamic_cast<VLSubWindow*>(window)) subWindow->SetNeedsRefresh(1);
}
