// The native document's menu update, step by step in the order the chain of command expects,
// and the commands whose work is not in the program yet.
//
// Sections: refused commands; the update; the pane's view; the selection.
#include <initializer_list>

#include "CClipboard.h"
#include "CMenuManager.h"
#include "Commands.h"
#include "Selection.h"
#include "VLApplication.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLUser3DObject.h"
#include "ViewConventions.h"

namespace {

enum : long {
  cmdDuplicate = 3000,
  cmdLinearArray = 3001,
  cmdCircularArray = 3002,
  cmdScale = 3003,
  cmdWallify = 3005,
  cmdCircularArray2 = 3008,
  cmdSubWindow = 8000,
};

// The menus whose items all start enabled: settings, objects, views.
constexpr SInt16 kSettingsMenu = 4;
constexpr SInt16 kObjectsMenu = 5;

constexpr SInt16 kDrawingGroup = 1;
constexpr SInt16 kPolylineTool = 3;
constexpr SInt16 kChainTool = 6;
constexpr SInt16 kSectionPlaneGroup = 7;

struct CommandRange {
  long first;
  long last;
};

// The work of these commands is not in the program yet: the duplicate engine (Duplicate, the
// arrays, Wallify), the vertex operations, the importers and exporters with the picture files,
// the backdrop, publishing a view, the phases window, the sun and its study, the walkthrough
// editor and movie, the saved-views editor and the scene windows. Shadow display waits for the
// shadow caster's pass: until it comes, the mode would only show the image drawn before.
constexpr CommandRange kRefused[] = {
    {2100, 2103}, {2201, 2205}, {2207, 2208}, {2301, 2302}, {3000, 3002}, {3005, 3005}, {3008, 3008},
    {3100, 3101}, {4013, 4013}, {5015, 5016}, {5021, 5026}, {6009, 6009}, {6011, 6012}, {6015, 6015},
    {10003, 10003},
};

void Enable(std::initializer_list<long> commands) {
  for (long command : commands) gMenuManager->EnableCommand(command);
}

void Disable(std::initializer_list<long> commands) {
  for (long command : commands) gMenuManager->DisableCommand(command);
}

void EnableRange(long first, long last) {
  for (long command = first; command <= last; ++command) gMenuManager->EnableCommand(command);
}

void DisableRange(long first, long last) {
  for (long command = first; command <= last; ++command) gMenuManager->DisableCommand(command);
}

// Enabled when on, else disabled.
void EnableIf(long command, bool on) {
  if (on)
    gMenuManager->EnableCommand(command);
  else
    gMenuManager->DisableCommand(command);
}

VLUser3DObject* ObjectAt(VLArray* list, long i) { return static_cast<VLUser3DObject*>(list->PointerAt(i)); }

}  // namespace

// ---- Refused commands ----

Boolean VLDocument::RefusesCommand(long command) {
  for (const CommandRange& range : kRefused)
    if (command >= range.first && command <= range.last) return true;
  return false;
}

Boolean VLDocument::IsBusy() const {
  const SInt16 tool = toolGroupDefaults[kDrawingGroup];
  if (currentToolGroup == kDrawingGroup && (tool == kPolylineTool || tool == kChainTool) && drawingInProgress)
    return true;
  return itsViews && itsViews->GetViewPane() && itsViews->HasPendingTask();
}

// ---- The update ----

void VLDocument::UpdateMenus() {
  if (!gMenuManager) {
    VLAbstractDocument::UpdateMenus();
    return;
  }
  const bool busy = IsBusy();
  const bool hasPane = itsViews && itsViews->GetViewPane();
  VLArray* objects = GetObjectList();
  const bool hasModelObjects = objects && objects->GetNumItems() >= kFirstModelObject;

  for (SInt16 menuId : {kSettingsMenu, kObjectsMenu, SInt16(kViewsMenu)})
    if (MenuRecord* menu = gMenuManager->GetMenuByID(menuId)) menu->EnableAllItems();
  VLAbstractDocument::UpdateMenus();
  Enable({2000, 2100, 2101, 2102, 2103, 2202, 2205, 2201, cmdSubWindow, 6100, 6102, 6101, 6103, 6000, 6003, 6004,
          13700, cmdStopBrowsingMaterials, cmdRemoveUnusedMaterials});
  if (hasPane) UpdateWorkingPlaneMenus();
  EnableIf(cmdSelectAll, hasModelObjects && !busy);
  if (gClipboard && gClipboard->DataSize(FourCC("DOCC")) > 0 && !busy) Enable({cmdPaste});
  UpdateSelectionMenus(busy);

  bool anyHidden = false;
  for (long i = kFirstModelObject; objects && i <= objects->GetNumItems() && !anyHidden; ++i)
    anyHidden = ObjectAt(objects, i) && ObjectAt(objects, i)->hidden;
  EnableIf(5010, anyHidden);
  EnableIf(5011, hasModelObjects);

  Enable({3006, 3007, 3100, 3101, 2001, 2002, 2204, 2208, 2203});
  if (hasPane && !itsViews->InPerspective()) Enable({2207});
  Enable({4011});
  EnableIf(cmdObjectInfo, gObjectInfoBox == nullptr);
  // The phases window (4013) is not in the program yet: it is never open.
  Disable({5016, 6015});
  Enable({6013, cmdViewFactors});
  Disable({cmdReservedSetting});
  Enable({cmdSnapToHandleDistance, cmdRotation, cmdCircleFaceting, cmdPerspectiveLink, 2005});

  gMenuManager->CheckCommand(kCmdSectionCut, hasPane && itsViews->IsSectionCutting());
  gMenuManager->CheckCommand(kCmdSectionTool, currentToolGroup == kSectionPlaneGroup);
  gMenuManager->CheckCommand(kCmdGroundGrid, hasPane && itsViews->IsGridShown());
  EnableIf(cmdSubWindow, hasPane && subWindowCount < kSubWindowSlots);
  // The pane sets its own checks here unless it is the command target, whose update sets them
  // after this one.
  if (hasPane) itsViews->UpdateMenuChecks();
  Disable({13500, 16000, 16100, 14600, 14700, 16300, 16200, 29998, cmdWorkingView});
  GetMaterialList()->UpdateMenus();
  // Saving the materials as the defaults has no other place to be enabled: without it the
  // command could not be chosen at all.
  Enable({cmdSaveDefaultMaterials});
  Enable({2002, 2001, 2000});

  // Whatever the steps above said, what is not in the program yet cannot be chosen; nor can
  // the info palette, which is not either.
  for (SInt16 menuId : gMenuManager->MenuBarIds())
    if (MenuRecord* menu = gMenuManager->GetMenuByID(menuId))
      for (MenuItemRecord& item : menu->items)
        if (RefusesCommand(item.command) || item.command == cmdObjectInfo) item.enabled = false;
}

// ---- The pane's view ----

void VLDocument::UpdateWorkingPlaneMenus() {
  Enable({2300});
  // The pane never has a backdrop while loading one is not in the program (2301 is refused).
  Enable({2301});
  const SInt16 kind = itsViews->GetViewKind();
  if (kind == kPerspectiveView || kind == kPlanView || kind == kAxonometricView) {
    Enable({kCmdWorkingPlaneTool});
    VLArray* selection = GetSelectionList();
    if (selection && selection->GetNumItems() == 1) {
      VLUser3DObject* object = ObjectAt(selection, 1);
      if (object && object->HasCurrentFace()) Enable({kCmdPlaneOntoFace});
      Enable({kCmdPlaneOntoFrame});
    } else {
      Disable({kCmdPlaneOntoFace, kCmdPlaneOntoFrame});
    }
    Enable({kCmdResetPlane, kCmdPlaneOntoSelection});
  } else if (kind >= kNorthElevationView && kind <= kWestElevationView) {
    Disable({kCmdWorkingPlaneTool, kCmdResetPlane, kCmdPlaneOntoFace, kCmdPlaneOntoFrame});
  }
  const auto* application = dynamic_cast<const VLApplication*>(gApplication);
  EnableIf(cmdSceneWindow, application && application->HasQuickDraw3D());
}

// ---- The selection ----

void VLDocument::UpdateSelectionMenus(bool busy) {
  VLArray* selection = GetSelectionList();
  const long count = selection ? selection->GetNumItems() : 0;
  if (count == 0) {
    Disable({5009, 5005, 5006, 5002, 5003, 5004, 5012, 5013, 5000});
    DisableRange(5020, 5026);
    // The last alignment (centres) keeps the state the steps before gave it.
    DisableRange(kCmdFirstAlignment, kCmdLastAlignment - 1);
    return;
  }
  if (!busy) {
    VLUser3DObject* first = ObjectAt(selection, 1);
    if (count == 1 && first && first->currentOpening >= 0 && first->openingCount > 0) {
      // An opening of the object is selected: it can be duplicated and scaled, no more.
      Enable({cmdDuplicate, cmdScale});
      Disable({cmdLinearArray, cmdCircularArray, cmdCircularArray2, cmdWallify});
    } else {
      Enable({cmdDuplicate, cmdLinearArray, cmdCircularArray, cmdCircularArray2, cmdScale, cmdWallify, 5000, 5001});
      EnableRange(kCmdFirstAlignment, kCmdLastAlignment);
    }
    // Clear goes with Cut and Copy: nothing else enables it.
    Enable({cmdCut, cmdCopy, cmdClear});
  }
  Enable({5005, 5009, 5002, 5003, 5004});
  bool anyShowing = false, anyNotShowing = false, anyGroup = false;
  for (long i = 1; i <= count; ++i) {
    VLUser3DObject* object = ObjectAt(selection, i);
    if (!object) continue;
    (object->ownedPartsShown ? anyShowing : anyNotShowing) = true;
    anyGroup = anyGroup || object->typeCode == kObjectTypeGroup;
  }
  EnableIf(5013, anyShowing);
  EnableIf(5012, anyNotShowing);
  EnableIf(5006, anyGroup);
  EnableRange(5020, 5026);
}
