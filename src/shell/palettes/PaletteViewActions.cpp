#include "PaletteViewActions.h"

#include "ObjectList.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLViewPane.h"

// The view pane's tool switching, navigation, working plane and undoable tasks come with the views
// layer's tools; until they do, each of these refuses.
namespace vlpalettes {

Boolean ChooseTool(VLViewPane*, SInt16, SInt16, Boolean) { return false; }

Boolean SelectSelectionTool(VLViewPane*, SInt16) { return false; }

Boolean ReturnToSelection(VLViewPane*, Boolean) { return false; }

Boolean ChooseWorkingPlane(VLViewPane*, SInt16) { return false; }

SInt16 CurrentWorkingPlaneMode(VLViewPane*) { return -1; }

Boolean IsWorkingPlaneHorizontal(VLViewPane*) { return true; }

Boolean IsWorkingPlaneActive(VLViewPane*) { return false; }

Boolean FitView(VLViewPane*, Boolean) { return false; }

Boolean ZoomView(VLViewPane*, double) { return false; }

Boolean EraseSketch(VLViewPane*) { return false; }

Boolean RecolourSelection(VLViewPane*, Boolean) { return false; }

Boolean DeselectEverything(VLViewPane*) { return false; }

Boolean HasSelectedFreeFace(VLViewPane*) { return false; }

Boolean HasOpeningHost(VLViewPane*) { return false; }

// Positions 1 and 2 of the object list hold the section and working planes.
Boolean HasModelObject(VLViewPane*) { return gCurrentObjectList && gCurrentObjectList->GetNumItems() > 2; }

void GetCurrentTool(VLViewPane* pane, SInt16* group, SInt16* tool) {
  *group = -1;
  *tool = -1;
  if (!pane || !pane->document) return;
  *group = pane->document->GetToolGroup();
  if (*group >= 0 && *group < VLDocument::kToolGroups) *tool = pane->document->GetToolGroupDefaults()[*group];
}

}  // namespace vlpalettes
