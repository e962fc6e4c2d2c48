// The native document's editing commands: undo, cut, copy, paste (also into an opening), clear
// and select all; scale (VLDocumentScale.cpp), flip, group and ungroup, hide and show, edge
// projections; and the commands whose work is not in the program yet, which are refused with a
// beep.
//
// Sections: dispatch; edit commands; paste; object commands.
#include <cmath>
#include <memory>
#include <new>

#include "Alerts.h"
#include "CClipboard.h"
#include "CMenuManager.h"
#include "CPreferences.h"
#include "CTask.h"
#include "Commands.h"
#include "Controls.h"
#include "QuickDraw.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "SettingsDialog.h"
#include "ToolIconDisplay.h"
#include "Unwinding.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLOpening.h"
#include "VLOpeningOwner.h"
#include "VLUser3DObject.h"
#include "ViewDrawingFlags.h"
#include "WatchCursor.h"

namespace {

enum : long {
  cmdDuplicate = 3000,
  cmdLinearArray = 3001,
  cmdCircularArray = 3002,
  cmdScale = 3003,
  cmdWallify = 3005,
  cmdCircularArray2 = 3008,
  cmdOpenFirst = 3200,
  cmdOpenLast = 3202,
  cmdFlipFirst = 5002,
  cmdFlipLast = 5004,
  cmdGroup = 5005,
  cmdUngroup = 5006,
  cmdHide = 5009,
  cmdShowAll = 5010,
  cmdSwapHidden = 5011,
  cmdShowProjections = 5012,
  cmdHideProjections = 5013,
  cmdVertexFirst = 5021,
  cmdVertexLast = 5026,
};

constexpr SInt16 kPasteIntoOpeningDialog = 3002;

// Undo names of the document's tasks.
constexpr SInt16 kDeleteName = 4;
constexpr SInt16 kFlipName = 22;
constexpr SInt16 kGroupName = 11;
constexpr SInt16 kUngroupName = 12;

// The drawing tool whose unfinished drawing Clear must not break into.
constexpr SInt16 kDrawingGroup = 1;
constexpr SInt16 kChainTool = 6;
constexpr SInt16 kWorkingPlaneGroup = 6;
constexpr SInt16 kSectionPlaneGroup = 7;

constexpr double kNoMinimum = 105600.0;
constexpr double kNoMaximum = -105600.0;
constexpr double kDegreesPerRadian = 57.29577951;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;

// The work of these commands is not in the program yet.
bool IsRefused(long c) {
  return c == cmdDuplicate || c == cmdLinearArray || c == cmdCircularArray || c == cmdWallify || c == cmdCircularArray2 ||
         (c >= cmdVertexFirst && c <= cmdVertexLast);
}

VLUser3DObject* ObjectAt(VLArray* list, long i) { return static_cast<VLUser3DObject*>(list->PointerAt(i)); }

// An array of object pointers the caller owns (the objects it holds are not disposed of).
struct ArrayDeleter {
  void operator()(VLArray* array) const { delete array; }
};
using OwnedArray = std::unique_ptr<VLArray, ArrayDeleter>;

// The palette's icons follow the new tool group at once, not only after the next event.
void RefreshToolPalette() {
  if (gToolIconDisplay) gToolIconDisplay->UpdateIcons();
}

// A task handed on only when made: the views layer may have none.
void Handed(VLDocument* document, CTask* task) {
  if (task) document->Notify(task);
}

}  // namespace

// ---- Dispatch ----

Boolean VLDocument::DoModelCommand(long command) {
  PublishObjectLists();
  if (gShadowMode && itsViews && itsViews->GetViewPane() && CommandLeavesShadowDisplay(command))
    itsViews->LeaveShadowMode();
  if (IsRefused(command)) {
    PortBeep(1);
    return true;
  }
  if (command >= cmdOpenFirst && command <= cmdOpenLast) {
    VLAbstractDocument::DoCommand(cmdOpen);
    return true;
  }
  if (command >= cmdFlipFirst && command <= cmdFlipLast) {
    FlipSelection(SInt16(command - cmdFlipFirst));
    return true;
  }
  switch (command) {
    case cmdUndo: UndoLastTask(); break;
    case cmdCut:
      CopySelection();
      ClearSelection();
      break;
    case cmdCopy: CopySelection(); break;
    case cmdPaste: {
      WatchCursor watch;
      Paste();
      break;
    }
    case cmdClear: ClearSelection(); break;
    case cmdSelectAll: SelectAll(); break;
    case cmdScale: ScaleSelection(); break;
    case cmdGroup: GroupSelection(true); break;
    case cmdUngroup: GroupSelection(false); break;
    case cmdHide:
    case cmdShowAll:
    case cmdSwapHidden: HideOrShow(command); break;
    case cmdShowProjections:
    case cmdHideProjections: ShowProjections(command == cmdShowProjections); break;
    default: return false;
  }
  return true;
}

void VLDocument::EditRefresh() {
  if (itsViews) {
    itsViews->RefreshLocator();
    itsViews->Redraw();
  }
  SetChanged(true);
  InvalidateOtherViews();
}

Boolean VLDocument::HasSelection() const {
  VLArray* selection = GetSelectionList();
  return selection && selection->GetNumItems() > 0;
}

// ---- Tool groups ----

void VLDocument::SetToolGroup(SInt16 group) {
  if (group == currentToolGroup || group < 0 || group > kLastToolGroup) return;
  LeaveToolGroup();
  currentToolGroup = group;
  for (SInt16 reset : {0, 1, 2, 5}) toolGroupDefaults[reset] = -1;
  EnterToolGroup();
}

void VLDocument::LeaveToolGroup() {
  switch (currentToolGroup) {
    case 0: {
      // The whole object is selected again rather than its opening.
      VLArray* selection = GetSelectionList();
      if (!selection || selection->GetNumItems() != 1) break;
      VLUser3DObject* object = ObjectAt(selection, 1);
      if (!object || object->currentOpening < 0 || object->openingCount <= 0) break;
      object->Deselect();
      object->Select();
      if (itsViews) itsViews->RedrawAfterEdit();
      break;
    }
    case kDrawingGroup:
    case 5:
      if (itsViews) itsViews->LeaveToolGroup(currentToolGroup);
      if (currentToolGroup == kDrawingGroup) {
        drawingInProgress = 0;
        RefreshToolPalette();
      }
      break;
    case kWorkingPlaneGroup:
    case kSectionPlaneGroup:
      Notify(nullptr);
      if (itsViews) {
        itsViews->ActivatePlane(currentToolGroup, false);
        itsViews->RedrawAfterEdit();
      }
      break;
    default:
      break;
  }
}

void VLDocument::EnterToolGroup() {
  switch (currentToolGroup) {
    case 0:
      RefreshToolPalette();
      break;
    case kDrawingGroup:
    case 5:
      drawingInProgress = 0;
      break;
    case kWorkingPlaneGroup:
    case kSectionPlaneGroup: {
      if (VLArray* selection = GetSelectionList())
        for (long i = selection->GetNumItems(); i >= 1; --i)
          if (VLUser3DObject* object = ObjectAt(selection, i)) object->Deselect();
      RefreshToolPalette();
      if (!itsViews) break;
      itsViews->ActivatePlane(currentToolGroup, true);
      if (currentToolGroup == kWorkingPlaneGroup) {
        itsViews->DrawOnWorkingPlane();
        toolGroupDefaults[kWorkingPlaneGroup] = 3;
      }
      itsViews->Redraw();
      break;
    }
    default:
      break;
  }
}

// ---- Menus ----

void VLDocument::UpdateMenus() {
  VLAbstractDocument::UpdateMenus();
  if (!gMenuManager) return;
  auto enable = [](long command, bool on) {
    if (on)
      gMenuManager->EnableCommand(command);
    else
      gMenuManager->DisableCommand(command);
  };
  // An unfinished click-by-click drawing keeps the selection and the clipboard out of reach.
  const bool busy = currentToolGroup == kDrawingGroup &&
                    (toolGroupDefaults[kDrawingGroup] == 3 || toolGroupDefaults[kDrawingGroup] == kChainTool) &&
                    drawingInProgress;
  VLArray* objects = GetObjectList();
  const bool hasModelObjects = objects && objects->GetNumItems() >= kFirstModelObject;
  const bool selected = HasSelection();
  enable(cmdSelectAll, hasModelObjects && !busy);
  enable(cmdPaste, gClipboard && gClipboard->DataSize(FourCC("DOCC")) > 0 && !busy);
  enable(cmdCut, selected && !busy);
  enable(cmdCopy, selected && !busy);
  enable(cmdClear, selected);
  for (long command : {long(cmdGroup), long(cmdHide), 5002L, 5003L, 5004L}) enable(command, selected);
  enable(cmdScale, selected && !busy);
  bool anyShowing = false, anyNotShowing = false, anyGroup = false, anyHidden = false;
  if (objects)
    for (long i = kFirstModelObject; i <= objects->GetNumItems(); ++i) {
      VLUser3DObject* object = ObjectAt(objects, i);
      if (!object) continue;
      anyHidden = anyHidden || object->hidden;
      if (!object->selected) continue;
      (object->ownedPartsShown ? anyShowing : anyNotShowing) = true;
      anyGroup = anyGroup || object->typeCode == kObjectTypeGroup;
    }
  enable(cmdShowProjections, anyNotShowing);
  enable(cmdHideProjections, anyShowing);
  enable(cmdUngroup, anyGroup);
  enable(cmdShowAll, anyHidden);
  enable(cmdSwapHidden, hasModelObjects);
  for (long command = cmdDuplicate; command <= cmdCircularArray2; ++command)
    if (IsRefused(command)) gMenuManager->DisableCommand(command);
  for (long command = cmdVertexFirst; command <= cmdVertexLast; ++command) gMenuManager->DisableCommand(command);
  gMenuManager->EnableCommand(cmdUnitsAndGrids);
  UpdateViewMenus();
}

// ---- Edit commands ----

void VLDocument::UndoLastTask() {
  WatchCursor watch;
  VLAbstractDocument::DoCommand(cmdUndo);
  if (viewUndo) {
    viewUndo = 0;
    if (itsViews) itsViews->Redraw();
    SetChanged(true);
    InvalidateOtherViews();
  } else {
    EditRefresh();
  }
}

void VLDocument::CopySelection() {
  VLArray* objects = GetObjectList();
  if (!HasSelection() || !objects || !gClipboard) return;
  WatchCursor watch;
  Owned<VLArray> copies(new (std::nothrow) VLArray(VLArray::kPointerSize));
  if (!copies) ThrowError(kDEErrorNotEnoughMemory, Str255("VLDocument::CopySelection"));
  // The copies go with the array when a later copy fails.
  struct CopiesGuard {
    VLArray* array;
    ~CopiesGuard() {
      if (!array) return;
      for (long i = 1; i <= array->GetNumItems(); ++i)
        if (auto* copy = ObjectAt(array, i)) copy->Dispose();
    }
  } guard{copies.get()};
  for (long i = kFirstModelObject; i <= objects->GetNumItems(); ++i) {
    VLUser3DObject* object = ObjectAt(objects, i);
    if (!object || !object->selected) continue;
    object->CreateMaterialObject(GetMaterialList());
    VLUser3DObject* copy = object->MakeCopy(nullptr);
    if (!copy) ThrowError(kDEErrorNotEnoughMemory, Str255("VLDocument::CopySelection"));
    Owned<VLUser3DObject> ownedCopy(copy);
    copies->AppendPointer(copy);
    ownedCopy.release();
  }
  guard.array = nullptr;
  gClipboard->EmptyScrap();
  gClipboard->PutData(FourCC("DOCC"), copies.release());
  // Beside the objects, the view's picture of them for other programs.
  if (PicHandle picture = itsViews ? itsViews->MakeSelectionPicture() : nullptr) {
    struct PictureKiller {
      PicHandle picture;
      ~PictureKiller() { PortKillPicture(picture); }
    } release{picture};
    gClipboard->PutData(FourCC("PICT"), reinterpret_cast<Handle>(picture));
  }
}

void VLDocument::ClearSelection() {
  if (currentToolGroup == kDrawingGroup && toolGroupDefaults[kDrawingGroup] == kChainTool && drawingInProgress) return;
  if (!HasSelection() || !itsViews) return;
  WatchCursor watch;
  Boolean removedOpening = false;
  CTask* task = itsViews->DoDeleteTask(kDeleteName, &removedOpening);
  if (!task) return;
  Notify(task);
  PublishObjectLists();
  if (!HasSelection() || removedOpening) itsViews->ReturnToSelectTool();
  itsViews->RefreshLocator();
  itsViews->RedrawAfterEdit();
  InvalidateOtherViews();
  SetChanged(true);
}

void VLDocument::SelectAll() {
  VLArray* objects = GetObjectList();
  if (!objects) return;
  const bool fromPlane = currentToolGroup == kWorkingPlaneGroup || currentToolGroup == kSectionPlaneGroup;
  if (fromPlane) {
    SetToolGroup(0);
    SetGroupTool(0, 0);
  }
  bool selectedAny = false;
  for (long i = kFirstModelObject; i <= objects->GetNumItems(); ++i) {
    VLUser3DObject* object = ObjectAt(objects, i);
    if (!object || object->selected) continue;
    object->Select();
    selectedAny = selectedAny || object->selected;
  }
  if (fromPlane || selectedAny) InvalidateOtherViews();
  if (itsViews) {
    itsViews->RefreshLocator();
    itsViews->Redraw();
  }
}

// ---- Paste ----

void VLDocument::Paste() {
  VLArray* held = nullptr;
  if (!gClipboard || !gClipboard->GetData(FourCC("DOCC"), reinterpret_cast<void**>(&held)) || !held) return;
  OwnedArray clipboard(held);
  PublishObjectLists();
  VLArray* objects = GetObjectList();
  VLArray* selection = GetSelectionList();
  if (!objects || !selection) return;

  if (selection->GetNumItems() == 1) {
    auto* owner = dynamic_cast<VLOpeningOwner*>(ObjectAt(selection, 1));
    if (owner && owner->currentOpening >= 0 && owner->GetCurrentOpening()) {
      PasteIntoOpening(owner, clipboard.get());
      return;
    }
  }
  for (long i = selection->GetNumItems(); i >= 1; --i)
    if (VLUser3DObject* object = ObjectAt(selection, i)) object->Deselect();
  while (clipboard->GetNumItems() > 0) {
    VLUser3DObject* source = ObjectAt(clipboard.get(), 1);
    clipboard->DeleteItem(1);
    AppendPastedCopy(source);
  }
  FinishPaste();
}

VLUser3DObject* VLDocument::AppendPastedCopy(VLUser3DObject* source) {
  source->UpdateMaterialObject(GetMaterialList());
  VLUser3DObject* copy = source->MakeCopy(nullptr);
  if (!copy) ThrowError(kDEErrorNotEnoughMemory, Str255("VLDocument::Paste"));
  Owned<VLUser3DObject> owned(copy);
  GetObjectList()->AppendPointer(copy);
  owned.release();
  copy->Select();
  copy->SetPhase(gCurrentPhase);
  return copy;
}

void VLDocument::FinishPaste() {
  if (itsViews) itsViews->ReturnToSelectTool();
  PublishObjectLists();
  if (itsObjectHolder) itsObjectHolder->objectCount = gObjectCount;
  if (itsViews) itsViews->Redraw();
  SetChanged(true);
  InvalidateOtherViews();
  Notify(nullptr);
}

void VLDocument::PasteIntoOpening(VLOpeningOwner* owner, VLArray* clipboard) {
  double height = 0.0, width = 0.0, depth = 0.0;
  Vector3d centre, normal;
  // The opening is measured as the current view sees its wall; without a view nothing is pasted.
  if (!gCurrentViewTransform) return;
  owner->GetCurrentOpening()->GetWallExtent(gCurrentViewTransform, &height, &width, &depth, &centre, &normal);
  if (owner->selected) owner->Deselect();
  if (!RunPasteIntoOpeningDialog()) {
    if (itsViews) itsViews->ReturnToSelectTool();
    return;
  }

  double minimum[3] = {kNoMinimum, kNoMinimum, kNoMinimum};
  double maximum[3] = {kNoMaximum, kNoMaximum, kNoMaximum};
  for (long i = 1; i <= clipboard->GetNumItems(); ++i) {
    double box[6];
    ObjectAt(clipboard, i)->GetBounds(&box[0], &box[1], &box[2], &box[3], &box[4], &box[5]);
    for (int axis = 0; axis < 3; ++axis) {
      minimum[axis] = std::min(minimum[axis], box[axis]);
      maximum[axis] = std::max(maximum[axis], box[axis + 3]);
    }
  }
  double extent[3];
  for (int axis = 0; axis < 3; ++axis) extent[axis] = maximum[axis] - minimum[axis];
  // The thinner horizontal axis fits the wall's depth, the other its width.
  const int thin = extent[1] < extent[0] ? 1 : 0;
  const int wide = 1 - thin;

  // A flat clipboard (no extent along an axis) keeps its size along that axis.
  auto fit = [](bool wanted, double target, double size) { return wanted && size > 0.0 ? target / size : 1.0; };
  double factors[3];
  factors[wide] = fit(pasteFit[1], width, extent[wide]);
  factors[thin] = fit(pasteFit[2], depth, extent[thin]);
  factors[2] = fit(pasteFit[0], height, extent[2]);
  Vector3d placement;
  if (!pasteFit[2] && pastePlacement != 0) {
    const double half = (depth - extent[thin]) / 2.0 * (pastePlacement == 1 ? 1.0 : -1.0);
    placement = Vector3d{normal.x * half, normal.y * half, normal.z * half};
  }

  double angle = std::atan2(normal.y, normal.x) - (thin == 1 ? kHalfPi : 0.0);
  if (angle < -kHalfPi) angle += kPi;
  if (angle > kHalfPi) angle -= kPi;
  const Vector3d reference{(minimum[0] + maximum[0]) / 2.0, (minimum[1] + maximum[1]) / 2.0, minimum[2]};
  const Vector3d offset{centre.x - reference.x, centre.y - reference.y, centre.z - reference.z};
  const Vector3d scale{factors[0], factors[1], factors[2]};

  while (clipboard->GetNumItems() > 0) {
    VLUser3DObject* source = ObjectAt(clipboard, 1);
    clipboard->DeleteItem(1);
    VLUser3DObject* copy = AppendPastedCopy(source);
    copy->ScaleAbout(&reference, &scale);
    copy->Move(&offset);
    copy->Rotate(angle * kDegreesPerRadian, &centre);
    copy->Move(&placement);
  }
  FinishPaste();
}

// ---- Object commands ----

void VLDocument::FlipSelection(SInt16 axis) {
  VLArray* objects = GetObjectList();
  if (!HasSelection() || !objects || !itsViews) return;
  WatchCursor watch;
  CTask* task = itsViews->MakeFlipTask(kFlipName);
  if (!task) return;
  Notify(task);
  // Axis 0 mirrors y, 1 x, 2 z; each object within its own bounds.
  const int coordinate = axis == 0 ? 1 : axis == 1 ? 0 : 2;
  for (long i = kFirstModelObject; i <= objects->GetNumItems(); ++i) {
    VLUser3DObject* object = ObjectAt(objects, i);
    if (!object || !object->selected) continue;
    double box[6];
    object->GetBounds(&box[0], &box[1], &box[2], &box[3], &box[4], &box[5]);
    object->Flip(axis, box[coordinate], box[coordinate + 3] - box[coordinate]);
  }
  EditRefresh();
}

void VLDocument::GroupSelection(bool group) {
  VLArray* selection = GetSelectionList();
  if (!HasSelection() || !itsViews) return;
  bool confirmed = true;
  if (group) {
    const SInt16 firstPhase = ObjectAt(selection, 1)->phase;
    bool onePhase = true;
    for (long i = 2; i <= selection->GetNumItems(); ++i) onePhase = onePhase && ObjectAt(selection, i)->phase == firstPhase;
    if (!onePhase && itsPreferences) confirmed = itsPreferences->ConfirmGrouping() == 1;
  }
  if (confirmed) {
    WatchCursor watch;
    Handed(this, itsViews->DoGroupTask(group ? kGroupName : kUngroupName));
    PublishObjectLists();
    EditRefresh();
  }
  SetChanged(true);
}

void VLDocument::HideOrShow(long command) {
  VLArray* objects = GetObjectList();
  if (!objects) return;
  if (command == 5009) {
    if (!HasSelection()) return;
    WatchCursor watch;
    InvalidateOtherViews();
  }
  for (long i = kFirstModelObject; i <= objects->GetNumItems(); ++i) {
    VLUser3DObject* object = ObjectAt(objects, i);
    if (!object) continue;
    if (command == 5009 && object->selected)
      object->Hide();
    else if (command == 5010 || (command == 5011 && object->hidden))
      object->Show();
    else if (command == 5011)
      object->Hide();
  }
  Notify(nullptr);
  if (itsViews) {
    itsViews->RefreshLocator();
    itsViews->Redraw();
  }
  SetChanged(true);
}

void VLDocument::ShowProjections(bool show) {
  VLArray* objects = GetObjectList();
  if (!HasSelection() || !objects) return;
  WatchCursor watch;
  for (long i = kFirstModelObject; i <= objects->GetNumItems(); ++i) {
    VLUser3DObject* object = ObjectAt(objects, i);
    if (!object || !object->selected) continue;
    object->ownedPartsShown = show ? 1 : 0;
    if (show) object->MarkChanged();
  }
  if (itsViews) itsViews->Redraw();
}

// ---- The paste-into-opening dialog ----

Boolean VLDocument::RunPasteIntoOpeningDialog() {
  enum : SInt16 { kPasteItem = 1, kCancelItem = 2, kFirstFitBox = 7, kFirstPlacement = 10, kLastPlacement = 12 };
  SettingsDialog frame(kPasteIntoOpeningDialog);
  DialogPtr dialog = frame.Get();
  if (!dialog) return false;
  UInt8 fit[3] = {pasteFit[0], pasteFit[1], pasteFit[2]};
  SInt16 placement = pastePlacement >= 0 && pastePlacement <= 2 ? pastePlacement : SInt16(0);
  auto show = [&] {
    ControlHandle control = nullptr;
    for (SInt16 box = 0; box < 3; ++box)
      if (PortGetDialogItemAsControl(dialog, SInt16(kFirstFitBox + box), &control) && control)
        PortSetControlValue(control, fit[box]);
    for (SInt16 item = kFirstPlacement; item <= kLastPlacement; ++item)
      if (PortGetDialogItemAsControl(dialog, item, &control) && control)
        PortSetControlValue(control, item - kFirstPlacement == placement);
  };
  show();
  frame.Show();
  for (;;) {
    const SInt16 hit = frame.Run();
    if (hit == kCancelItem) return false;
    if (hit == kPasteItem) {
      for (int box = 0; box < 3; ++box) pasteFit[box] = fit[box];
      pastePlacement = placement;
      return true;
    }
    if (hit >= kFirstFitBox && hit < kFirstFitBox + 3) fit[hit - kFirstFitBox] = fit[hit - kFirstFitBox] ? 0 : 1;
    if (hit >= kFirstPlacement && hit <= kLastPlacement) placement = SInt16(hit - kFirstPlacement);
    show();
  }
}
