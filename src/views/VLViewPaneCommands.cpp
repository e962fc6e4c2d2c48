// The pane as the first command target of a document window: the ground grid, the plane tools,
// the working plane onto a face, a frame or the selection, the section cut and the alignments;
// saving the view under a name; shadow display left before a command that changes the model.
#include <cmath>

#include "Alerts.h"
#include "CMenuManager.h"
#include "COrientationDefiner.h"
#include "CSectionPlane.h"
#include "CViewInfo.h"
#include "CWorkingPlaneTool.h"
#include "DialogUtilities.h"
#include "DrawingPlane.h"
#include "Matrix4d.h"
#include "PString.h"
#include "QuickDraw.h"
#include "VLArray.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLGrid.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"

namespace {

enum : long {
  cmdSaveView = 6010,
};

constexpr SInt16 kOpeningGroup = 5;
constexpr SInt16 kFaceSelectionTool = 5;
constexpr SInt16 kWorkingPlaneGroup = 6;
constexpr SInt16 kSectionPlaneGroup = 7;
constexpr SInt16 kAxonometricPlaneGroup = 4;
constexpr SInt16 kPlaneOnWorkingPlane = 3;
constexpr SInt16 kSelectOneObjectAlert = 2010;
constexpr SInt16 kRefusalBeep = 10;

// The working plane's frame as it was, to be put back when a new one is refused.
struct KeptPlane {
  explicit KeptPlane(CWorkingPlaneTool* plane) : plane(plane) {
    plane->SetArrayPointers();
    for (SInt16 i = 0; i < kKept && i < plane->vertexCount; ++i) vertices[i] = plane->vertices[i];
  }
  void Restore() const {
    plane->SetArrayPointers();
    for (SInt16 i = 0; i < kKept && i < plane->vertexCount; ++i) plane->vertices[i] = vertices[i];
    plane->CalcFacePlanes();
    plane->ComputeMatrices();
    plane->MarkChanged();
  }
  static constexpr SInt16 kKept = 4;
  CWorkingPlaneTool* plane;
  Vector3d vertices[kKept];
  SInt16 axes[3] = {gAxisX, gAxisY, gAxisZ};
};

void SetPlaneAxes(SInt16 x, SInt16 y, SInt16 z) {
  gAxisX = x;
  gAxisY = y;
  gAxisZ = z;
}

}  // namespace

// ---- Dispatch ----

void VLViewPane::DoCommand(long command) {
  if (gShadowMode && CommandLeavesShadowDisplay(command)) LeaveShadowMode();
  if (!document) {
    CPanorama::DoCommand(command);
    return;
  }
  if (command >= kCmdFirstAlignment && command <= kCmdLastAlignment) {
    AlignSelection(SInt16(command - kCmdFirstAlignment));
    return;
  }
  switch (command) {
    case kCmdGroundGrid:
      ToggleGroundGrid();
      break;
    case kCmdSectionTool:
      SetToolGroup(kSectionPlaneGroup);
      break;
    case kCmdWorkingPlaneTool:
      SetToolGroup(kWorkingPlaneGroup);
      break;
    case kCmdPlaneOntoFace:
      WorkingPlaneOntoFace();
      break;
    case kCmdPlaneOntoFrame:
      WorkingPlaneOntoObjectFrame();
      break;
    case kCmdResetPlane:
      ResetWorkingPlane();
      break;
    case kCmdPlaneOntoSelection:
      WorkingPlaneOntoSelection();
      break;
    case cmdSaveView:
      SaveViewUnderName();
      break;
    case kCmdSectionCut:
      if (auto* section = dynamic_cast<CSectionPlane*>(document->GetSectionPlane())) {
        section->SetCutting(!section->IsCutting());
        section->MarkChanged();
      }
      MarkObjectsChanged();
      Refresh();
      break;
    default:
      CPanorama::DoCommand(command);
      break;
  }
}

void VLViewPane::ToggleGroundGrid() {
  VLGrid* grid = DocumentGrid();
  if (!grid) return;
  if (grid->visible)
    grid->visible = 0;
  else
    grid->Show();
  InvalidateGrids();
  // The sorted displays show the change at their next redraw.
  if (!gShadedMode && !gHiddenLineMode && !gShadowMode) Refresh();
}

// ---- The working plane ----

CWorkingPlaneTool* VLViewPane::DocumentWorkingPlane() const {
  return document && document->GetViews() ? document->GetViews()->GetWorkingPlaneTool() : nullptr;
}

VLUser3DObject* VLViewPane::FirstSelectedObject() const {
  VLArray* selection = document ? document->GetSelectionList() : nullptr;
  return selection && selection->GetNumItems() > 0 ? static_cast<VLUser3DObject*>(selection->PointerAt(1)) : nullptr;
}

Boolean VLViewPane::SetWorkingPlaneFromFrame(const Matrix4d* frame) {
  CWorkingPlaneTool* plane = DocumentWorkingPlane();
  if (!plane) return false;
  const KeptPlane kept(plane);
  SetPlaneAxes(0, 1, 2);
  plane->SetFrame(frame);
  plane->CalcFacePlanes();
  plane->ComputeMatrices();
  plane->MarkChanged();
  // Plan view draws on a horizontal working plane only.
  if (viewToolCommand == kPlanCommand && !WorkingPlaneIsHorizontal()) {
    kept.Restore();
    SetPlaneAxes(kept.axes[0], kept.axes[1], kept.axes[2]);
    PortBeep(kRefusalBeep);
    return false;
  }
  SelectDrawingPlane(kPlaneOnWorkingPlane);
  SetCrosshairPoint(0.0, 0.0, 0.0, false);
  document->SetGroupTool(kAxonometricPlaneGroup, kPlaneOnWorkingPlane);
  Refresh();
  return true;
}

void VLViewPane::WorkingPlaneOntoFace() {
  VLUser3DObject* object = FirstSelectedObject();
  if (!object) return;
  if (!object->HasCurrentFace()) {
    WorkingPlaneOntoObjectFrame();
    return;
  }
  // The face's frame takes its origin at the loop vertex drawn nearest the middle of the pane's
  // left edge, as the crosshair's face frames do.
  const Point leftMiddle{SInt16((paneRect.top + paneRect.bottom) / 2), paneRect.left};
  Matrix4d toFace, fromFace;
  SetIdentity4x4(&toFace);
  SetIdentity4x4(&fromFace);
  object->GetFaceFrame(leftMiddle, object->currentFace, &toFace, &fromFace);
  SetWorkingPlaneFromFrame(&fromFace);
}

void VLViewPane::WorkingPlaneOntoObjectFrame() {
  VLUser3DObject* object = FirstSelectedObject();
  if (!object) return;
  const bool made = object->frame == nullptr;
  if (made) object->CreateFrame();
  CObjectTransformer* frame = nullptr;
  object->GetFrame(&frame);
  if (!frame) return;  // no memory for a frame: nothing changes
  Matrix4d toWorld;
  SetIdentity4x4(&toWorld);
  frame->GetMatrix(&toWorld, true);
  SetWorkingPlaneFromFrame(&toWorld);
  // Plan view keeps a frame made here with its object.
  if (made && viewToolCommand != kPlanCommand) object->SetFrame(static_cast<CObjectTransformer*>(nullptr));
}

void VLViewPane::ResetWorkingPlane() {
  SetPlaneAxes(0, 1, 2);
  gWorkingPlaneOn = 0;
  if (CWorkingPlaneTool* plane = DocumentWorkingPlane()) {
    plane->ResetFrame();
    plane->MarkChanged();
  }
  if (document->GetToolGroup() == kWorkingPlaneGroup) document->ClearToolGroup();
  SetCrosshairPoint(0.0, 0.0, 0.0, false);
  SetToolGroup(kWorkingPlaneGroup);
}

void VLViewPane::WorkingPlaneOntoSelection() {
  VLArray* selection = document->GetSelectionList();
  const long selected = selection ? selection->GetNumItems() : 0;
  if (selected > 1) {
    EraseFeedback();
    ShowPositionedAlert(kSelectOneObjectAlert);
    return;
  }
  if (selected == 1) {
    if (document->GetToolGroup() == kOpeningGroup && document->GetGroupTool(kOpeningGroup) == kFaceSelectionTool)
      WorkingPlaneOntoFace();
    else
      WorkingPlaneOntoObjectFrame();
    return;
  }
  if (viewToolCommand == kPlanCommand && !WorkingPlaneIsHorizontal()) {
    PortBeep(kRefusalBeep);
    return;
  }
  SetCrosshairPoint(0.0, 0.0, 0.0, false);
  SetToolGroup(kWorkingPlaneGroup);
}

// ---- Saving the view ----

void VLViewPane::SaveViewUnderName() {
  Str255 name;
  Boolean proposedReplace = false;
  SInt16 number = 0;
  if (!document->ProposeSavedView(name, &proposedReplace, &number)) return;
  UInt8 replace = proposedReplace ? 1 : 0;
  if (!document->RunNameDialog(&name, &replace)) return;
  document->SaveCurrentView(name, replace != 0);
}
