#include "VLSubWindow.h"

#include <exception>
#include <string>

#include "CDecorator.h"
#include "CWindow.h"
#include "D3TMaterialList.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "Unwinding.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLPaneDocumentViews.h"
#include "VLPolyline.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "VLWindow.h"
#include "ViewDrawingFlags.h"

namespace {

// The scroll pane's size when no window size is given.
constexpr SInt16 kDefaultWidth = 402, kDefaultHeight = 280;

}  // namespace

void VLSubWindow::Init(VLDocument* doc, VLViewPane* source, SInt16 width, SInt16 height, SInt16 inSlot,
                       SInt16 inNumber) {
  CDirector::Init(doc);
  number = inNumber;
  slot = inSlot;
  document = doc;
  needsRefresh = 0;
  // A window half made goes, slot and all, and the failure passes on.
  CatchFailures(
      [&] {
        MakeWindow(width > 0 ? width : kDefaultWidth, height > 0 ? height : kDefaultHeight);
        if (source) CopyView(source);
        SetTitle();
        if (gDecorator) gDecorator->PlaceNewWindow(itsWindow, false);
        itsWindow->Show();
        itsWindow->Select();
      },
      [this](std::exception_ptr failure) {
        Dispose();
        std::rethrow_exception(failure);
      });
}

void VLSubWindow::MakeWindow(SInt16 width, SInt16 height) {
  SetWindow(VLWindow::Make(kWindowResource, this));
  itsWindow->SetSize(width, height);
  pane = BuildViewPanes(itsWindow, this, document);
  SetFirstTarget(pane);
  gCurrentViewPane = pane;
  if (document->GetWorkingPlaneInUse() && document->GetViews()) {
    gWorkingPlane = document->GetViews()->GetWorkingPlaneTool();
    gWorkingPlaneOn = 1;
  }
}

void VLSubWindow::CopyView(VLViewPane* source) {
  if (!source->viewTransform || !pane->viewTransform) return;
  VLViewTransform* copy = source->viewTransform->Clone();
  if (!copy) ThrowError(kDEErrorNotEnoughMemory, Str255("VLSubWindow::CopyView"));
  copy->ResizePane(pane->paneRect.right, pane->paneRect.bottom);
  VLViewTransform* old = pane->viewTransform;
  pane->viewTransform = copy;
  if (pane->crosshair) pane->crosshair->viewTransform = copy;
  if (gCurrentViewTransform == old) gCurrentViewTransform = copy;
  old->Dispose();

  pane->wireframe = source->wireframe;
  pane->hiddenLine = source->hiddenLine;
  pane->shaded = source->shaded;
  pane->viewToolCommand = source->viewToolCommand;
  pane->perspectiveActive = source->perspectiveActive;
  pane->currentPoint = source->currentPoint;
  if (pane->crosshair) pane->crosshair->MoveTo(source->currentPoint.x, source->currentPoint.y, source->currentPoint.z);
  pane->SyncOrbitAngles();
  pane->redrawNeeded = 1;
}

void VLSubWindow::SetTitle() {
  Str255 title;
  document->GetName(title);
  Str255 viewName;
  document->GetActiveViewName(viewName);
  PStrConcat(title, Str255(" - "));
  PStrConcat(title, viewName);
  PStrConcat(title, Str255(" - "));
  PStrConcat(title, Str255(std::to_string(number)));
  itsWindow->SetTitle(title);
}

void VLSubWindow::Dispose() {
  if (document) {
    document->RefreshSubWindows();
    document->RemoveSubWindow(number, slot, itsWindow);
    document = nullptr;
  }
  if (gCurrentViewPane == pane) gCurrentViewPane = nullptr;
  CDirector::Dispose();
}

void VLSubWindow::ActivateWindow() {
  if (document && pane) {
    gCurrentViewPane = pane;
    gCurrentViewTransform = pane->viewTransform;
    document->BuildViewsMenu();
    gCurrentObjectList = document->GetObjectList();
    gCurrentSelection = document->GetSelectionList();
    gObjectCount = gCurrentObjectList ? SInt32(gCurrentObjectList->GetNumItems()) : 0;
    gCurrentMaterials = document->GetMaterialList();
    document->RebuildPhaseList();
    document->PublishUnits();
    if (!document->IsClosing()) {
      document->NotifyDependents(VLDocument::kSavedViewsChanged, document->GetSavedViews());
      document->NotifyDependents(VLDocument::kWalkthroughChanged, document->GetWalkthroughViews());
      RestorePaneTool(pane, document->GetToolGroup(), document->GetToolGroupDefaults());
    }
    document->SetCurrentSubWindow(slot);
    if (needsRefresh) {
      needsRefresh = 0;
      pane->MarkObjectsChanged();
      pane->Refresh();
    }
  }
  CDirector::ActivateWindow();
}

void VLSubWindow::DeactivateWindow() {
  gWorkingPlaneOn = 0;
  gVertexEditMode = 0;
  gWorkingPlane = nullptr;
  if (document) {
    document->ClearViewsMenu();
    document->ClearCurrentSubWindow();
  }
  CDirector::DeactivateWindow();
}
