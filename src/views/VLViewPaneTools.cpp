// The pane's side of the tool palette: the document keeps one tool per tool group, the pane
// changes them, finishing what the previous tool left open, and shows the choice.
#include <initializer_list>

#include "CWorkingPlaneTool.h"
#include "DrawingPlane.h"
#include "GeometryStore.h"
#include "LocationBar.h"
#include "ToolIconDisplay.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLOutlineTask.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"

UInt8 gOpeningEditMode = 0;

namespace {

enum : SInt16 { kEditGroup = 0, kDrawingGroup = 1, kViewGroup = 2, kPlaneGroup = 3, kOpeningGroup = 5,
                kWorkingPlaneGroup = 6 };
constexpr SInt16 kNoIcon = -1;
constexpr SInt16 kPolylineTool = 3, kBlockChainTool = 6;
constexpr SInt16 kPolylineOpeningTool = 1, kOpeningEditTool = 3, kFaceSelectionTool = 5;
// An opening outline of fewer points makes nothing.
constexpr SInt16 kLeastOpeningPoints = 3;

// Main tool icons, by tool.
constexpr SInt16 kEditIcons[] = {0, 13, kNoIcon, 0};
constexpr SInt16 kDrawingIcons[] = {7, 4, 2, 5, 1, 3, 8, 6, 9, 10};
constexpr SInt16 kViewIcons[] = {23, 24, 25, kNoIcon, kNoIcon, kNoIcon};
constexpr SInt16 kOpeningIcons[] = {11, 12, 15, 19, 17, 21};

template <std::size_t N>
SInt16 IconOf(const SInt16 (&icons)[N], SInt16 tool) {
  return tool >= 0 && std::size_t(tool) < N ? icons[tool] : kNoIcon;
}

// The palette shows one main tool icon (none for kNoIcon); nothing without a palette.
void ShowToolIcon(SInt16 icon) {
  if (!gToolIconDisplay) return;
  gToolIconDisplay->DeselectToolIcons();
  if (icon != kNoIcon) gToolIconDisplay->SelectToolIcon(icon);
}

// Drawing planes: plane icons (the second -1 for one), in-plane axes and normal axis.
struct DrawingPlaneRow {
  SInt16 icons[2];
  SInt16 axes[3];
  bool onWorkingPlane;
};
constexpr DrawingPlaneRow kDrawingPlanes[] = {
    {{16, -1}, {0, 1, 2}, false}, {{18, -1}, {1, 2, 0}, false}, {{20, -1}, {2, 0, 1}, false},
    {{22, -1}, {0, 1, 2}, true},  {{18, 22}, {1, 2, 0}, true},  {{20, 22}, {2, 0, 1}, true},
};
constexpr SInt16 kDrawingPlaneCount = SInt16(sizeof kDrawingPlanes / sizeof kDrawingPlanes[0]);

VLUser3DObject* SelectedAt(VLArray* selection, long i) {
  return static_cast<VLUser3DObject*>(selection->PointerAt(i));
}

// The one selected object when exactly one is selected and it has a current opening.
VLUser3DObject* OneSelectedWithOpening(VLDocument* document) {
  VLArray* selection = document ? document->GetSelectionList() : nullptr;
  if (!selection || selection->GetNumItems() != 1) return nullptr;
  VLUser3DObject* object = SelectedAt(selection, 1);
  return object && object->openingCount > 0 && object->currentOpening >= 0 ? object : nullptr;
}

}  // namespace

void VLViewPane::Reselect(VLUser3DObject* object) {
  object->Deselect();
  object->Select();
}

// ---- Selection queries ----

Boolean VLViewPane::GetFirstModelObject(VLUser3DObject** object) const {
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  *object = objects && objects->GetNumItems() >= VLDocument::kFirstModelObject
                ? static_cast<VLUser3DObject*>(objects->PointerAt(VLDocument::kFirstModelObject))
                : nullptr;
  return *object != nullptr;
}

Boolean VLViewPane::GetSelectedSolid(VLUser3DObject** object) const {
  VLUser3DObject* first;
  VLArray* selection = document ? document->GetSelectionList() : nullptr;
  *object = nullptr;
  if (!GetFirstModelObject(&first) || !selection) return false;
  for (long i = 1; i <= selection->GetNumItems(); ++i) {
    VLUser3DObject* candidate = SelectedAt(selection, i);
    if (!candidate) continue;
    const SInt16 type = candidate->typeCode;
    if (type == kObjectTypeBlock || type == kObjectTypePolyhedron ||
        (type == kObjectTypeExtrusion && candidate->faceCount > 2)) {
      *object = candidate;
      return true;
    }
  }
  return false;
}

Boolean VLViewPane::GetSelectedOpeningOwner(VLUser3DObject** object) const {
  VLUser3DObject* first;
  *object = GetFirstModelObject(&first) ? OneSelectedWithOpening(document) : nullptr;
  return *object != nullptr;
}

// ---- Tool groups and tools ----

void VLViewPane::SetToolGroup(SInt16 group) {
  if (document) document->SetToolGroup(group);
}

void VLViewPane::ReturnToSelectTool() {
  SetToolGroup(kEditGroup);
  SelectEditTool(0);
}

void VLViewPane::SetLocationBarMode(SInt16 mode, UInt8 showLook) {
  locationBarMode = mode;
  locationBarShowsLook = showLook;
  if (!textBar) return;
  if (mode == LocationBar::kModeView && viewTransform) {
    textBar->SetViewTransform(viewTransform);
    textBar->SetMode(LocationBar::kModeView);
    Vector3d shown = viewTransform->lookPoint;
    if (!showLook) viewTransform->GetEyePoint(&shown);
    textBar->SetReference(shown, true);
    textBar->ShowPoint(shown, true);
    return;
  }
  textBar->SetMode(UInt16(mode));
}

void VLViewPane::FreeOrPlaneCrosshair() {
  CWorkingPlaneTool* plane = document && document->GetViews() ? document->GetViews()->GetWorkingPlaneTool() : nullptr;
  if (!crosshair) return;
  if (document && document->GetWorkingPlaneInUse() && plane)
    crosshair->SetPlaneObject(plane);
  else
    crosshair->SetLocateMode(0, nullptr, false, &currentPoint);
}

void VLViewPane::SelectEditTool(SInt16 tool) {
  if (!document) return;
  if (VLUser3DObject* owner = OneSelectedWithOpening(document)) {
    tool = 3;
    openingOwner = owner;
  }
  document->SetGroupTool(kEditGroup, tool);
  ShowToolIcon(IconOf(kEditIcons, tool));
  switch (tool) {
    case 0:
      openingOwner = nullptr;
      SetLocationBarMode(LocationBar::kModePoint);
      SelectDrawingPlane(document->GetGroupTool(kPlaneGroup));
      break;
    case 1:
      openingOwner = nullptr;
      EraseFeedback();
      break;
    case 2:
      openingOwner = nullptr;
      break;
    case 3:
      SetLocationBarMode(LocationBar::kModePoint);
      EraseFeedback();
      if (crosshair) crosshair->SetLocateMode(1, static_cast<VLUser3DObject*>(openingOwner), false, &currentPoint);
      break;
    default:
      break;
  }
}

void VLViewPane::ClosePolylineUnderConstruction() {
  auto* polyline = static_cast<VLUser3DObject*>(polylineUnderConstruction);
  VLArray* objects = document->GetObjectList();
  document->SetDrawingInProgress(0);
  if (polyline->vertexCount < 2) {
    // Nothing was drawn: the object goes and nothing remains to undo.
    const long at = objects->IndexOfPointer(polyline);
    if (at > 0) objects->DeleteItem(at);
    gObjectCount = SInt32(objects->GetNumItems());
    polyline->Dispose();
    polylineUnderConstruction = polylineTask = nullptr;
    partialCopy = 0;
    document->Notify(nullptr);
    Refresh();
    return;
  }
  polyline->BuildOutlineEdges(true);
  VLArray* selection = document->GetSelectionList();
  for (long i = selection->GetNumItems(); i >= 1; --i)
    if (VLUser3DObject* selected = SelectedAt(selection, i); selected != polyline) selected->Deselect();
  if (!polyline->selected) polyline->Select();
  polyline->MarkChanged();
  document->RecomputeModelBounds();
  EndConstruction();
}

void VLViewPane::FinishOpeningTask() {
  VLOutlineTask* task = openingTask;
  if (!task) return;
  openingTask = nullptr;
  LongPt none{};
  task->EndTracking(&none, &none, &none);
  if (crosshair) crosshair->taskTracking = 0;
  if (task->CountPoints() >= kLeastOpeningPoints) {
    Notify(task);
  } else {
    task->Dispose();
    Notify(nullptr);
  }
}

void VLViewPane::SelectDrawingTool(SInt16 tool) {
  if (!document) return;
  const SInt16 previous = document->GetGroupTool(kDrawingGroup);
  if (previous == kPolylineTool && polylineUnderConstruction) ClosePolylineUnderConstruction();
  if (previous == kBlockChainTool && document->GetDrawingInProgress()) {
    // The blocks made so far stay.
    document->SetDrawingInProgress(0);
    lastChainBlock = nullptr;
  }
  document->SetGroupTool(kDrawingGroup, tool);
  ShowToolIcon(IconOf(kDrawingIcons, tool));
  if (tool >= 0 && tool <= 6) {
    if (tool != 2) SetLocationBarMode(LocationBar::kModePoint);
    SelectDrawingPlane(document->GetGroupTool(kPlaneGroup));
  } else if (tool >= 7 && tool <= 9) {
    EraseFeedback();
  }
}

void VLViewPane::SelectViewTool(SInt16 tool) {
  if (!document) return;
  document->SetGroupTool(kViewGroup, tool);
  ShowToolIcon(IconOf(kViewIcons, tool));
  switch (tool) {
    case 0:
    case 1:
      EraseFeedback();
      SetLocationBarMode(LocationBar::kModeView, tool == 1);
      break;
    case 2:
      EraseFeedback();
      break;
    case 3:
      ZoomBy(0.5);
      ReturnToSelectTool();
      break;
    case 4:
      ZoomReset();
      ReturnToSelectTool();
      break;
    case 5:
      if (gCurrentViewPane) gCurrentViewPane->ZoomToFitObjects();
      ReturnToSelectTool();
      break;
    default:
      break;
  }
}

void VLViewPane::SelectOpeningTool(SInt16 tool) {
  if (!document) return;
  const SInt16 previous = document->GetGroupTool(kOpeningGroup);
  if (previous == kPolylineOpeningTool) {
    FinishOpeningTask();
  } else if (previous == kOpeningEditTool) {
    gOpeningEditMode = 0;
    RefreshWithoutCopy();
  } else if (previous == kFaceSelectionTool) {
    VLArray* selection = document->GetSelectionList();
    for (long i = 1; i <= selection->GetNumItems(); ++i) {
      VLUser3DObject* object = SelectedAt(selection, i);
      if (object && object->faceMode && object->currentFace >= 0 && object->currentFace < object->faceCount) {
        Reselect(object);
        RefreshWithoutCopy();
        break;
      }
    }
  }
  document->SetGroupTool(kOpeningGroup, tool);
  ShowToolIcon(IconOf(kOpeningIcons, tool));
  if (tool < 0 || tool > 5) return;
  SetLocationBarMode(LocationBar::kModePoint);
  VLUser3DObject* object = nullptr;
  switch (tool) {
    case 0:
    case 1:
      EraseFeedback();
      if (GetSelectedSolid(&object) && crosshair) crosshair->SetLocateMode(1, object, false, &currentPoint);
      break;
    case 2:
      EraseFeedback();
      FreeOrPlaneCrosshair();
      break;
    case 3: {
      if (GetSelectedOpeningOwner(&object) && crosshair)
        crosshair->SetLocateMode(1, object, false, &currentPoint);
      else
        FreeOrPlaneCrosshair();
      gOpeningEditMode = 1;
      VLArray* selection = document->GetSelectionList();
      if (selection->GetNumItems() == 1)
        Refresh();
      else
        CopyOffscreenToWindow();
      break;
    }
    case 4:
      // Trimming constrains the crosshair to an object with a hidden face, which faces do not
      // record yet: the crosshair stays as it is.
      EraseFeedback();
      break;
    case 5:
      if (GetSelectedOpeningOwner(&object)) {
        Reselect(object);
        RefreshWithoutCopy();
      }
      EraseFeedback();
      FreeOrPlaneCrosshair();
      break;
    default:
      break;
  }
}

void VLViewPane::SelectDrawingPlane(SInt16 plane) {
  if (!document || plane < 0 || plane >= kDrawingPlaneCount) return;
  document->SetGroupTool(kPlaneGroup, plane);
  const SInt16 openingTool = document->GetGroupTool(kOpeningGroup);
  VLUser3DObject* owner = nullptr;
  if (openingTask) {
    FinishOpeningTask();
    document->SetGroupTool(kOpeningGroup, -1);
    ReturnToSelectTool();
  } else if (openingTool == 0 || openingTool == 1 || openingTool == 4) {
    // The opening tool is left before the select tool asks for the drawing plane again.
    document->SetGroupTool(kOpeningGroup, -1);
    ReturnToSelectTool();
  } else if ((openingTool == kOpeningEditTool && GetSelectedOpeningOwner(&owner)) ||
             (owner = OneSelectedWithOpening(document)) != nullptr) {
    Reselect(owner);
    document->SetGroupTool(kOpeningGroup, -1);
    ReturnToSelectTool();
  }

  if (document->GetToolGroup() == kWorkingPlaneGroup && plane != 1 && plane != 2) ReturnToSelectTool();
  SetWorkingPlaneMode(plane);
}

void VLViewPane::SetWorkingPlaneMode(SInt16 plane) {
  if (!document || plane < 0 || plane >= kDrawingPlaneCount) return;
  document->SetGroupTool(kPlaneGroup, plane);
  const DrawingPlaneRow& row = kDrawingPlanes[plane];
  if (gToolIconDisplay) {
    gToolIconDisplay->DeselectPlaneIcons();
    for (SInt16 icon : row.icons)
      if (icon >= 0) gToolIconDisplay->SelectPlaneIcon(icon);
  }
  gAxisX = row.axes[0];
  gAxisY = row.axes[1];
  gAxisZ = row.axes[2];

  CWorkingPlaneTool* workingPlane = document->GetViews() ? document->GetViews()->GetWorkingPlaneTool() : nullptr;
  if (!row.onWorkingPlane || !workingPlane) {
    gWorkingPlaneOn = 0;
    gWorkingPlane = nullptr;
    document->SetWorkingPlaneInUse(0);
    if (crosshair) pointLocated = crosshair->SetLocateMode(0, nullptr, true, &currentPoint);
    return;
  }
  workingPlane->Activate();
  gWorkingPlaneOn = 1;
  gWorkingPlane = workingPlane;
  document->SetWorkingPlaneInUse(1);
  workingPlane->ComputeMatrices();
  if (VLUser3DObject* shown = document->GetWorkingPlane()) shown->MarkChanged();
  if (crosshair) crosshair->SetPlaneObject(workingPlane);
}
