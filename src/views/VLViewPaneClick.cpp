// The pane's mouse-down: the document's current tool group and tool choose what a press does.
// Tools whose work is not in the program yet refuse the press with a beep and change nothing.
#include <cstdlib>

#include "Alerts.h"
#include "CCrosshairLocator.h"
#include "Events.h"
#include "LocationBar.h"
#include "TaskSupport.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"

namespace {

enum : SInt16 { kEditGroup = 0, kDrawingGroup = 1, kViewGroup = 2, kOpeningGroup = 5, kWorkingPlaneGroup = 6,
                kSectionPlaneGroup = 7 };
enum : SInt16 { kSelectTool = 0, kColourPickTool = 1, kOpeningEditTool = 3, kOrbitTool = 0, kLookAroundTool = 1,
                kZoomTool = 2, kRotateTool = 2, kFaceSelectionTool = 5, kPolylineTool = 3, kBlockChainTool = 6,
                kRectangularOpeningTool = 0 };
// A press of the select tool becomes a drag once the mouse is this far from it on either axis.
constexpr SInt16 kDragSlop = 3;
constexpr double kNoDistance = 105600.0;
constexpr SInt16 kRefusalBeep = 1;

// The typed coordinates of the location bar hold for one press only.
void ForgetTypedValues() {
  if (!gTypedLock) return;
  gTypedLock = gTypedLockX = gTypedLockY = gTypedLockZ = 0;
}

}  // namespace

void VLViewPane::DoClick(Point hitPt, SInt16 modifiers, long when) {
  if (!document) return;
  if (!IsCommandTarget()) BecomeCommandTarget(true);
  const SInt16 group = document->GetToolGroup();
  const SInt16 tool = document->GetGroupTool(group);
  const UInt16 keys = UInt16(modifiers);
  switch (group) {
    case kEditGroup:
      if (tool == kSelectTool)
        EditSelection(hitPt, keys, UInt32(when));
      else if (tool == kColourPickTool)
        PickUpColour(hitPt);
      else if (tool == kOpeningEditTool)
        EditCurrentOpening(hitPt, keys, UInt32(when));
      break;
    case kViewGroup:
      if (tool == kOrbitTool)
        OrbitDrag(hitPt, keys, UInt32(when));
      else if (tool == kLookAroundTool)
        LookAround(hitPt, keys, UInt32(when));
      else if (tool == kZoomTool)
        ZoomDrag(hitPt);
      break;
    case kOpeningGroup:
      if (tool == kFaceSelectionTool) {
        EditSelection(hitPt, keys, UInt32(when));
      } else if (tool == kRectangularOpeningTool) {
        ForgetTypedValues();
        DrawWithTask(hitPt, group, tool);
      } else if (tool == kRotateTool) {
        RotateSelection(hitPt, keys, UInt32(when));
      } else if (tool == kOpeningEditTool && openingOwner) {
        EditCurrentOpening(hitPt, keys, UInt32(when));
      } else if (tool == kOpeningEditTool) {
        EditSelection(hitPt, keys, UInt32(when));
      } else {
        RefusePress();
      }
      break;
    case 3:
    case 4:
      // The drawing-plane groups do not act in the pane.
      break;
    case kDrawingGroup:
      // The drag tools start without the typed coordinates of an earlier press.
      if (tool != kPolylineTool) ForgetTypedValues();
      if (tool == kBlockChainTool)
        DrawBlockChain(hitPt, UInt32(when));
      else
        DrawWithTool(hitPt, tool, UInt32(when));
      break;
    case kWorkingPlaneGroup:
      DragWorkingPlane(hitPt, keys, UInt32(when));
      break;
    case kSectionPlaneGroup:
      DragSectionPlane(hitPt, keys, UInt32(when));
      break;
    default:
      break;
  }
  ForgetTypedValues();
}

void VLViewPane::RefusePress() {
  PortBeep(kRefusalBeep);
  // The press ends with its release; nothing follows the mouse.
  while (PortStillDown()) {
  }
}

// ---- The select tool ----

Boolean VLViewPane::PressBecomesDrag(Point hitPt) {
  while (PortStillDown()) {
    Prepare();
    Point mouse;
    PortGetMouse(&mouse);
    if (std::abs(mouse.h - hitPt.h) > kDragSlop || std::abs(mouse.v - hitPt.v) > kDragSlop) return true;
  }
  return false;
}

void VLViewPane::EditSelection(Point hitPt, UInt16 modifiers, UInt32 when) {
  if (PressBecomesDrag(hitPt))
    DragSelection(hitPt, modifiers, when);
  else
    ClickSelection(hitPt, modifiers);
}

Boolean VLViewPane::ClickSelection(Point hitPt, UInt16 modifiers) {
  VLUser3DObject* picked = nullptr;
  const Boolean hit = SelectAtPoint(hitPt, modifiers, &picked);
  if (hit && picked->openingCount > 0 && picked->currentOpening >= 0) {
    openingOwner = picked;
    if (gOpeningEditMode) {
      SetLocationBarMode(LocationBar::kModePoint);
      EraseFeedback();
      if (crosshair) pointLocated = crosshair->SetLocateMode(1, picked, false, &currentPoint);
    } else {
      SelectEditTool(3);
    }
  }
  CopyOffscreenToWindow();
  return hit;
}

// ---- Colour pick-up ----

void VLViewPane::PickUpColour(Point hitPt) {
  VLArray* objects = document->GetObjectList();
  Vector3d origin, direction;
  viewTransform->GetPickRay(&origin, &direction, hitPt);
  double distance = kNoDistance;
  RGBColor colour{}, picked{};
  bool found = false;
  for (long i = VLDocument::kFirstModelObject; i <= objects->GetNumItems(); ++i) {
    auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i));
    Vector3d normal;
    if (object && object->HitByRay(hitPt, &origin, &direction, &distance, &colour, &normal, 0)) {
      picked = colour;
      found = true;
    }
  }
  if (!found) return;
  gDefaultObjectColor = picked;
  vltasks::RedrawPaletteItem(vltasks::kColorItem);
}
