#include <initializer_list>

#include "CCrosshairLocator.h"
#include "CMenuManager.h"
#include "CViewInfo.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLViewPane.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"

namespace {

enum : long {
  cmdSnapToGrid = 4000,
  cmdWireframe = 6006,
  cmdSorted = 6007,
  cmdShadows = 6009,
  cmdShaded = 6013,
  cmdFirstSavedView = 6500,
  cmdWorkingViewItem = 6501,
};

}  // namespace

void VLViewPane::UpdateMenus() {
  CPanorama::UpdateMenus();
  UpdateMenuChecks();
}

void VLViewPane::UpdateMenuChecks() {
  if (!gMenuManager) return;
  for (long command : {long(kPlanCommand), long(kCmdNorthElevation), long(kCmdSouthElevation), long(kCmdEastElevation),
                       long(kCmdWestElevation), long(kAxonometricCommand), long(kPerspectiveCommand),
                       long(cmdWorkingViewItem)})
    gMenuManager->CheckCommand(command, false);
  // The first view answers to 6500 here: 6501 is the working view's item, never a view's mark.
  VLArray* views = document ? document->GetSavedViews() : nullptr;
  for (long i = 1; views && i <= views->GetNumItems(); ++i) {
    auto* view = dynamic_cast<CViewInfo*>(static_cast<CCollaborator*>(views->PointerAt(i)));
    const long command = i == 1 ? cmdFirstSavedView : cmdFirstSavedView + i;
    gMenuManager->CheckCommand(command, showingSavedView && view && view->current);
  }
  gMenuManager->CheckCommand(viewToolCommand, true);
  gMenuManager->CheckCommand(cmdShaded, gShadedMode != 0);
  gMenuManager->CheckCommand(cmdSorted, gHiddenLineMode != 0);
  gMenuManager->CheckCommand(cmdWireframe, gWireframeMode != 0);
  gMenuManager->CheckCommand(cmdShadows, gShadowMode != 0);
  gMenuManager->CheckCommand(cmdSnapToGrid, gSnapToGrid != 0);
}
