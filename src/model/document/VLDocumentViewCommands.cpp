// The native document's commands that change how the model is seen: the projections, the
// display modes, the saved views and the sub-windows. The commands whose editors, sun, movie,
// backdrop, phases window and scenes are not in the program yet are refused with the others
// (VLDocumentMenus.cpp).
//
// Sections: dispatch; projections and saved views; display modes; saving a view; sub-windows.
#include <new>
#include <string>

#include "CDecorator.h"
#include "CWindow.h"
#include "DETException.h"
#include "Resources.h"
#include "Unwinding.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLUser3DObject.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"
#include "WatchCursor.h"

namespace {

enum : long {
  cmdPlan = 6000,
  cmdPerspective = 6003,
  cmdAxonometric = 6004,
  cmdWireframe = 6006,
  cmdSorted = 6007,
  cmdShaded = 6013,
  cmdLastSavedView = 6550,
  cmdSubWindow = 8000,
};

constexpr SInt16 kNewViewName = 3;

bool IsProjection(long c) {
  return c == cmdPlan || c == cmdPerspective || c == cmdAxonometric || (c >= kCmdNorthElevation && c <= kCmdWestElevation);
}

// The view command that shows a saved view's type, and whether it is in perspective.
SInt16 ViewCommandOfType(SInt16 type, UInt8* perspective) {
  *perspective = 0;
  switch (type) {
    case kPlanView: return cmdPlan;
    case kNorthElevationView:
    case kSouthElevationView:
    case kEastElevationView:
    case kWestElevationView: return SInt16(kCmdNorthElevation + type - kNorthElevationView);
    case kAxonometricView: return cmdAxonometric;
    default: *perspective = 1; return cmdPerspective;
  }
}

}  // namespace

// ---- Dispatch ----

Boolean VLDocument::DoViewCommand(long command) {
  if (IsProjection(command)) {
    SwitchProjection(SInt16(command));
    return true;
  }
  if (command >= cmdSavedViewBase && command <= cmdLastSavedView) {
    GoToSavedView(command);
    return true;
  }
  switch (command) {
    case cmdObjectInfo: return true;  // the info palette is not in the program yet
    case cmdWireframe:
    case cmdSorted:
    case cmdShaded: SwitchDisplayMode(command); return true;
    case cmdSubWindow: OpenSubWindow(); return true;
    default: return false;
  }
}

void VLDocument::MarkAllObjectsChanged() {
  VLArray* objects = GetObjectList();
  for (long i = 1; objects && i <= objects->GetNumItems(); ++i)
    if (auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i))) object->MarkChanged();
}

// ---- Projections and saved views ----

void VLDocument::SwitchProjection(SInt16 command) {
  if (!itsViews || !itsViews->GetViewPane()) return;
  if (command == cmdPerspective && itsViews->InPerspective()) return;
  // Axonometric is refused only while it is shown: the plan and the elevations clear the
  // perspective flag too, and the axonometric view must still be reachable from them.
  if (command == cmdAxonometric && !itsViews->InPerspective() && itsViews->GetViewCommand() == cmdAxonometric)
    return;
  MarkAllObjectsChanged();
  itsViews->SwitchProjection(command);
  itsViews->SetShowsSavedView(0);
  // The view tool's location bar shows the eye or look point of the view: it comes with the
  // pane's text bar, which document windows do not have yet.
}

void VLDocument::GoToSavedView(long command) {
  if (!itsViews || !itsViews->GetViewPane() || !itsSavedViews) return;
  const long k = command == cmdSavedViewBase ? 1 : command - cmdSavedViewBase;
  if (k < 1 || k > itsSavedViews->GetNumItems()) return;
  WatchCursor watch;
  if (CCollaborator* active = GetActiveView()) itsViews->SetViewActive(active, 0);
  auto* view = static_cast<CCollaborator*>(itsSavedViews->PointerAt(k));
  itsViews->SetViewActive(view, 1);
  MarkAllObjectsChanged();
  UInt8 perspective = 0;
  const SInt16 viewCommand = ViewCommandOfType(itsViews->GetViewType(view), &perspective);
  itsViews->ShowView(view, viewCommand, perspective);
  itsViews->SetShowsSavedView(1);
}

CCollaborator* VLDocument::GetActiveView() const {
  if (!itsSavedViews || !itsViews) return nullptr;
  for (long i = 1; i <= itsSavedViews->GetNumItems(); ++i) {
    auto* view = static_cast<CCollaborator*>(itsSavedViews->PointerAt(i));
    if (view && itsViews->IsViewActive(view)) return view;
  }
  return nullptr;
}

void VLDocument::GetActiveViewName(StringPtr viewName) const {
  viewName[0] = 0;
  if (CCollaborator* view = GetActiveView()) itsViews->GetViewName(view, viewName);
}

// ---- Display modes ----

void VLDocument::SwitchDisplayMode(long command) {
  if (!itsViews || !itsViews->GetViewPane()) return;
  // The flags are the current pane's: it publishes them when it becomes current.
  Boolean resetOffscreen = false;
  switch (command) {
    case cmdWireframe:
      if (gWireframeMode) return;
      gWireframeMode = 1;
      if (gShadedMode) {
        gShadedMode = 0;
        resetOffscreen = true;
      } else {
        gShadowMode = 0;
      }
      gHiddenLineMode = 0;
      MarkAllObjectsChanged();
      break;
    case cmdSorted:
      if (!gHiddenLineMode) {
        gHiddenLineMode = 1;
        gWireframeMode = 0;
        gShadowMode = 0;
      } else {
        gHiddenLineMode = 0;
        if (!gShadedMode) gWireframeMode = 1;
      }
      break;
    case cmdShaded:
      if (!gShadedMode) {
        gShadedMode = gHiddenLineMode = 1;
        gWireframeMode = gShadowMode = 0;
        MarkAllObjectsChanged();
      } else {
        gShadedMode = 0;
        // Shaded display is always sorted: without it the display falls back to wire frames.
        gHiddenLineMode = 0;
        gWireframeMode = 1;
      }
      break;
    default:
      return;
  }
  itsViews->TakeDisplayMode(resetOffscreen);
}

// ---- Saving a view ----

Boolean VLDocument::ProposeSavedView(StringPtr viewName, Boolean* replace, SInt16* number) const {
  viewName[0] = 0;
  *replace = false;
  *number = 0;
  if (!itsViews || !itsViews->GetViewPane() || !itsSavedViews || itsSavedViews->GetNumItems() >= kMaxViews)
    return false;
  const long count = itsSavedViews->GetNumItems();
  long n = 1;
  // The views keep their menu numbers in order; a gap left by a view taken out is filled first.
  while (n <= count && itsViews->GetViewIndex(static_cast<CCollaborator*>(itsSavedViews->PointerAt(n))) == n) ++n;
  *number = SInt16(n);
  if (itsViews->ShowsSavedView())
    for (long i = 2; i <= count; ++i) {
      auto* view = static_cast<CCollaborator*>(itsSavedViews->PointerAt(i));
      if (!view || !itsViews->IsViewActive(view)) continue;
      itsViews->GetViewName(view, viewName);
      *replace = true;
      return true;
    }
  Str255 proposed;
  PortGetListString(proposed, kViewStrings, kNewViewName);
  PStrConcat(proposed, Str255(std::to_string(n)));
  PStrCopy(viewName, proposed, 255);
  return true;
}

void VLDocument::SaveCurrentView(ConstStringPtr viewName, Boolean replace) {
  Str255 unused;
  Boolean proposedReplace = false;
  SInt16 number = 0;
  if (!ProposeSavedView(unused, &proposedReplace, &number)) return;
  CCollaborator* active = GetActiveView();
  if (replace && active) {
    itsViews->CaptureView(active);
    SetChanged(true);
    return;
  }
  // Made before anything changes, so that running out of memory leaves the lists as they were.
  Owned<CCollaborator> view(itsViews->MakeSavedView(viewName, viewNumberCounter, number));
  if (!view.get()) ThrowError(kDEErrorNotEnoughMemory, Str255("VLDocument::SaveCurrentView"));
  Owned<CCollaborator> copy(itsViews->CopyView(view.get()));
  if (!copy.get()) ThrowError(kDEErrorNotEnoughMemory, Str255("VLDocument::SaveCurrentView"));
  ClearViewsMenu();
  if (active) itsViews->SetViewActive(active, 0);
  viewNumberCounter = SInt16(viewNumberCounter + 1);
  itsViews->SetShowsSavedView(1);
  itsWalkthroughViews->AppendPointer(copy.get());
  copy.release();
  CCollaborator* kept = view.get();
  itsSavedViews->InsertAtIndex(&kept, number);
  view.release();
  BuildViewsMenu();
  SetChanged(true);
}

// ---- Sub-windows ----

void VLDocument::OpenSubWindow() {
  if (!itsViews || !itsViews->GetViewPane()) return;
  CCollaborator* window = itsViews->MakeSubWindow();
  if (!window) ThrowError(kDEErrorNotEnoughMemory, Str255("VLDocument::OpenSubWindow"));
  SInt16 number = 0, slot = 0;
  AddSubWindow(window, &number, &slot);
  itsViews->InitSubWindow(window, itsCurrentSubWindow, slot, number);
  window->AttachToProvider(this);
}

void VLDocument::AddSubWindow(CCollaborator* window, SInt16* number, SInt16* slot) {
  *slot = 0;
  for (SInt16 i = 0; i < kSubWindowSlots; ++i)
    if (!itsSubWindows[i]) {
      itsSubWindows[i] = window;
      *slot = SInt16(i + 1);
      break;
    }
  ++subWindowCount;
  *number = subWindowSerial;
  subWindowSerial = SInt16(subWindowSerial + 1);
}

void VLDocument::RemoveSubWindow(SInt16, SInt16 slot, CWindow* window) {
  ClearViewsMenu();
  --subWindowCount;
  itsCurrentSubWindow = nullptr;
  if (slot >= 1 && slot <= kSubWindowSlots) itsSubWindows[slot - 1] = nullptr;
  if (gDecorator && window) gDecorator->WindowClosed(window);
}

void VLDocument::SetCurrentSubWindow(SInt16 slot) {
  itsCurrentSubWindow = GetSubWindow(slot);
  // The info palette, which would show the new window's selection, is not in the program yet.
}

void VLDocument::RefreshSubWindows() {
  if (subWindowCount == 0 && !itsCurrentSubWindow) return;
  if (itsCurrentSubWindow) refreshOnActivation = 1;
  if (!itsViews) return;
  for (CCollaborator* window : itsSubWindows)
    if (window && window != itsCurrentSubWindow) itsViews->SetSubWindowNeedsRefresh(window);
}
