// The view pane's drawing: the normal draw into the offscreen world (grids, adornments, objects
// directly or through the depth sorter, with progress and cancel), the save-under copy with the
// selection marks, partial copies, and following the frame when the window is resized.
#include <cstdint>
#include <functional>

#include "CProgressDialog.h"
#include "CShadowCaster.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "LocationBar.h"
#include "ObjectList.h"
#include "Selection.h"
#include "Ticks.h"
#include "Unwinding.h"
#include "VLCrosshairCursor.h"
#include "VLDepthBuffer.h"
#include "VLDocument.h"
#include "VLGWorld.h"
#include "VLGrid.h"
#include "VLHorizonLine.h"
#include "VLNorthArrow.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"
#include "CWindow.h"
#include "Windows.h"

namespace {

// The report sites of the pane's drawing (the source the structured-exception report names).
constexpr const char* kReportSource = "VLViewPane1";
enum : int {
  kMouseExitedLine = 1231,
  kShadowViewLine = 1476,
  kDrawLine = 1828,
  kCopyLine = 1866,
  kClearLine = 2327,
  kDrawAllLine = 3135,
  kEraseLine = 3945,
};

constexpr SInt32 kProgressModulus = 20;
constexpr SInt16 kProgressDelay = 240;
constexpr SInt16 kPaintModulus = 50;

// Runs a drawing step: a structured exception is reported with the site's line and then,
// as rethrow says, raised again or dropped; any other failure is dropped.
void Guarded(int line, const std::function<void()>& step, bool rethrowStructured = false) {
  CatchFailures(step, [&](std::exception_ptr failure) {
    try {
      std::rethrow_exception(failure);
    } catch (SE_Exception& e) {
      e.Report(kReportSource, line);
      if (rethrowStructured) throw;
    } catch (...) {
      if (rethrowStructured) throw;
    }
  });
}

bool SameRect(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

bool Meets(VLUser3DObject* object, const Rect& area) {
  Rect bounds;
  if (!object->GetScreenBounds(&bounds)) return false;
  Rect common;
  return PortSectRect(&bounds, &area, &common);
}

VLArray* ObjectsOf(VLDocument* document) {
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  gCurrentObjectList = objects ? objects : gCurrentObjectList;
  return objects;
}

}  // namespace

// ---- Entries ----

void VLViewPane::Draw(const Rect* area) {
  if (gPrintingView) {
    DrawForPrinting(area);
    return;
  }
  if (drawingIntoPicture) {
    DrawIntoPicture(area);
    return;
  }
  if (gShadowMode) {
    DrawShadowView(area);
    return;
  }
  DrawNormally(area);
}

void VLViewPane::DrawNormally(const Rect* area) {
  Rect L = lastUpdate;
  Guarded(kDrawLine, [&] {
    if (!redrawNeeded && !gWindowResized) {
      if (quickCopyAllowed) CopyOffscreenToWindow();
      return;
    }
    if (gWindowResized) MarkObjectsChanged();
    const auto ticks = SInt32(PortTickCount());
    if (gProgressDialog) gProgressDialog->SetBusy();
    Prepare();
    partialRedraw = SameRect(*area, paneRect) ? 0 : 1;
    offscreen->SetDrawRect(area, partialRedraw);
    gDirectDrawing = ChooseDirectDrawing() ? 1 : 0;
    BeginDrawingProgress(area, ticks, gDirectDrawing);
    offscreen->BeginDrawing();
    DrawBackgroundImage();
    DrawGrids(&L);
    DrawAdornments(&L);
    if (DrawObjects(area, &L)) {
      if (!gDirectDrawing) {
        if (gProgressDialog && gDepthBuffer)
          gProgressDialog->StartFirstPhase(SInt32(gDepthBuffer->Count()), kPaintModulus);
        PaintDepthBuffer();
      }
    } else {
      ResetDepthBuffer();
    }
    EndDrawingProgress(gDirectDrawing);
    offscreen->EndDrawing();
    offscreen->SetDrawRect(area, 0);
    offscreen->SaveImage();
    DrawSelectionOverlay(&L);
    Prepare();
    offscreen->CopySavedToCurrentPort(partialCopy, &L);
    gViewScrolled = 0;
    redrawNeeded = 0;
    gWindowResized = 0;
  });
  lastUpdate = L;
}

Boolean VLViewPane::ChooseDirectDrawing() const {
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  if (gInteractiveDrawing && objects && objects->GetNumItems() > kInteractiveSortLimit) return true;
  return !gShadedMode && !gHiddenLineMode;
}

void VLViewPane::DrawAll(const Rect* area) {
  CPanorama::DrawAll(area);
  Guarded(kDrawAllLine, [&] {
    LongRect frame;
    GetFrame(&frame);
    if (frame.right != savedFrame.right || frame.bottom != savedFrame.bottom) {
      const auto width = SInt16(frame.right - frame.left), height = SInt16(frame.bottom - frame.top);
      if (width > 0 && height > 0) {
        paneRect = Rect{0, 0, height, width};
        offscreen->Resize(&paneRect);
        viewTransform->ResizePane(width, height);
        if (crosshair) crosshair->SetPaneRect(&paneRect);
        savedFrame = frame;
        InvalidateGrids();
        MarkObjectsChanged();
        if (textBar) textBar->AsCollaborator()->NotifyDependents(0, nullptr);
        redrawNeeded = 1;
      }
    }
    // The bounds follow the frame; calibrating the scroll bars again only when they change keeps
    // the update that redraws them from asking for another.
    LongRect now;
    GetBounds(&now);
    if (now.left != frame.left || now.top != frame.top || now.right != frame.right || now.bottom != frame.bottom)
      SetBounds(&frame);
  });
}

void VLViewPane::Refresh() {
  redrawNeeded = 1;
  InvalidateGrids();
  Draw(&paneRect);
}

void VLViewPane::RefreshWithoutCopy() {
  quickCopyAllowed = 0;
  Refresh();
  quickCopyAllowed = 1;
}

void VLViewPane::InvalidateGrids() { gridsStale = 1; }

void VLViewPane::PrepareDrawingPort() { Prepare(); }

// ---- Copies to the window ----

void VLViewPane::CopyOffscreenToWindow() {
  Rect L = lastUpdate;
  Guarded(
      kCopyLine,
      [&] {
        Prepare();
        CWindow* window = GetWindow();
        if (window && window->GetMacWindow() && PortIsWindowVisible(window->GetMacWindow())) {
          offscreen->SaveImage();
          DrawSelectionOverlay(&L);
          Prepare();
          offscreen->CopySavedToCurrentPort(partialCopy, &L);
        } else {
          offscreen->CopyToCurrentPort(partialCopy, &L);
        }
        windowShowsOffscreen = 1;
      },
      true);
}

void VLViewPane::EraseFeedback() {
  Guarded(kEraseLine, [&] {
    PrepareDrawingPort();
    CopyOffscreenToWindow();
    windowShowsOffscreen = 1;
  });
}

void VLViewPane::ClearOffscreen() {
  Guarded(kClearLine, [&] {
    offscreen->BeginDrawing();
    offscreen->EndDrawing();
  });
}

// ---- Progress ----

void VLViewPane::BeginDrawingProgress(const Rect* area, SInt32 startTicks, UInt8 direct) {
  VLArray* objects = ObjectsOf(document);
  if (!gProgressDialog) return;
  if (direct)
    gProgressDialog->BeginWireframeJob(kProgressModulus, kProgressDelay, startTicks);
  else
    gProgressDialog->BeginSortJob(kProgressModulus, kProgressDelay, startTicks);
  SInt32 total = 0;
  for (long i = 1; objects && i <= objects->GetNumItems(); ++i) {
    auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i));
    if (!object || (partialRedraw && !Meets(object, *area)) || (selectedOnly && !object->selected)) continue;
    total += object->CountObjects();
  }
  if (direct)
    gProgressDialog->SetWireframeTotal(total);
  else
    gProgressDialog->SetSubmissionTotal(total);
}

void VLViewPane::EndDrawingProgress(UInt8 direct) {
  if (!gProgressDialog) return;
  if (direct)
    gProgressDialog->EndWireframeJob();
  else
    gProgressDialog->EndSortJob();
  gProgressDialog->ClearBusy();
}

// ---- Layers ----

void VLViewPane::DrawBackgroundImage() {
  // The background picture comes with the pane's pictures; none is shown before.
  if (!backgroundShown || !backgroundPicture) return;
  PortDrawPicture(backgroundPicture, &backgroundRect);
}

void VLViewPane::DrawGrids(Rect* L) {
  VLGrid* grid = DocumentGrid();
  if (!grid || !grid->visible || selectedOnly) return;
  if (gridsStale)
    grid->Draw(viewTransform, L);
  else
    grid->Redraw();
  gridsStale = 0;
}

void VLViewPane::DrawAdornments(Rect* L) {
  if (selectedOnly) return;
  if (horizonLine) horizonLine->Draw(viewTransform, L);
  if (VLNorthArrow* arrow = DocumentNorthArrow()) arrow->Draw(viewTransform, L);
}

Boolean VLViewPane::DrawObjects(const Rect* area, Rect* L) {
  VLArray* objects = ObjectsOf(document);
  const bool sorted = gShadedMode || gHiddenLineMode;
  if (!gDirectDrawing && gDepthBuffer) {
    gDepthBuffer->ResetList();
    gDepthBuffer->SetActiveView(viewTransform, document ? document->GetGroundPlaneVisible() : 0);
  }
  for (long i = 1; objects && i <= objects->GetNumItems(); ++i) {
    auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i));
    if (object && !(partialRedraw && !Meets(object, *area)) && !(selectedOnly && !object->selected))
      object->Draw(viewTransform, L);
    if (sorted && !gProgressContinue) return false;
    if (!gWireframeContinue) return false;
  }
  return true;
}

void VLViewPane::DrawSelectedObjects(Rect* L, SInt16 which) {
  VLArray* selection = document ? document->GetSelectionList() : nullptr;
  if (which != 0 && which != 1) return;
  for (long i = 1; selection && i <= selection->GetNumItems(); ++i) {
    auto* object = static_cast<VLUser3DObject*>(selection->PointerAt(i));
    if (object && (which == 0 || object->faceMode)) object->Draw(viewTransform, L);
  }
}

void VLViewPane::PaintDepthBuffer() {
  if (!gDepthBuffer) return;
  gCurrentViewPane = this;
  gDepthBuffer->SetActiveView(viewTransform, document ? document->GetGroundPlaneVisible() : 0);
  gDepthBuffer->DrawAll();
  gDepthSortPainted = 1;
  gDepthBuffer->ResetList();
  gCullBackFaces = 1;
}

void VLViewPane::ResetDepthBuffer() {
  if (gDepthBuffer) gDepthBuffer->ResetList();
  gCullBackFaces = 1;
}

void VLViewPane::DrawSelectionOverlay(Rect*) {
  Prepare();
  offscreen->BeginDrawingSaved();
  VLArray* objects = ObjectsOf(document);
  VLArray* selection = document ? document->GetSelectionList() : gCurrentSelection;
  if (selection && selection->GetNumItems() > 0)
    for (long i = 1; objects && i <= objects->GetNumItems(); ++i) {
      auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i));
      if (object && object->selected) object->DrawSelected(viewTransform);
    }
  offscreen->EndDrawingSaved();
  if (!partialCopy) windowShowsOffscreen = 1;
}

void VLViewPane::DrawShadowView(const Rect* area) {
  // The shadow caster's own drawing comes with it; until then shadow mode shows the image last
  // drawn.
  Guarded(kShadowViewLine, [&] {
    if (quickCopyAllowed) CopyOffscreenToWindow();
    windowShowsOffscreen = 1;
    gViewScrolled = 0;
    redrawNeeded = 0;
  });
}
