#include "PaletteViewActions.h"

#include <new>

#include "CObjectChangedTask.h"
#include "DETException.h"
#include "ObjectList.h"
#include "TaskSupport.h"
#include "Unwinding.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"

// The view pane's tool switching, navigation, working plane and sketch overlay come with the
// views layer's tools; until they do, those refuse.
namespace vlpalettes {

namespace {
constexpr long kFirstModelObject = 3;  // positions 1 and 2 hold the section and working planes
constexpr SInt16 kColourUndoName = 5;
}  // namespace

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

Boolean RecolourSelection(VLViewPane* pane, Boolean choose) {
  VLDocument* document = pane ? pane->document : nullptr;
  if (!document) return false;
  RGBColor colour = gDefaultObjectColor;
  // A double click asks for the colour before anything changes, on the first selected object's
  // colour, so that a cancelled dialog leaves the objects and the undo as they were.
  if (choose) {
    long position = kFirstModelObject;
    VLUser3DObject* first = vltasks::NextSelectedObject(&position);
    RGBColor from = gDefaultObjectColor;
    if (first) first->GetColor(&from);
    if (!AskObjectColor(from, &colour)) return true;
  }
  // The task keeps the objects' colours and the current colour before the change.
  Owned<CColorChangedTask> task(new (std::nothrow) CColorChangedTask);
  ThrowIfNil(task.get());
  task->IColorChangedTask(kColourUndoName);
  document->Notify(task.release());
  gDefaultObjectColor = colour;
  long position = kFirstModelObject;
  while (VLUser3DObject* object = vltasks::NextSelectedObject(&position)) {
    object->SetColor(&gDefaultObjectColor);
    ++position;
  }
  document->SetChanged(true);
  pane->Refresh();
  return true;
}

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
