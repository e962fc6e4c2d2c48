#include "PaletteViewActions.h"

#include <new>

#include "CObjectChangedTask.h"
#include "Cursors.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "ObjectList.h"
#include "Selection.h"
#include "TaskSupport.h"
#include "Unwinding.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"

namespace vlpalettes {

namespace {
constexpr long kFirstModelObject = 3;  // positions 1 and 2 hold the section and working planes
constexpr SInt16 kColourUndoName = 5;
constexpr SInt16 kPlaneGroup = 3;  // the drawing plane: the working-plane mode
}  // namespace

Boolean ChooseTool(VLViewPane* pane, SInt16 group, SInt16 tool, Boolean redraw) {
  if (!pane) return false;
  pane->SetToolGroup(group);
  switch (group) {
    case kSelectionGroup:
      pane->SelectEditTool(tool);
      break;
    case kDrawingGroup:
      pane->SelectDrawingTool(tool);
      break;
    case kViewGroup:
      pane->SelectViewTool(tool);
      break;
    case kOpeningGroup:
      pane->SelectOpeningTool(tool);
      break;
    default:
      return false;
  }
  if (redraw) pane->DrawNow();
  return true;
}

Boolean SelectSelectionTool(VLViewPane* pane, SInt16 tool) {
  if (!pane) return false;
  pane->SelectEditTool(tool);
  return true;
}

Boolean ReturnToSelection(VLViewPane* pane, Boolean redraw) { return ChooseTool(pane, kSelectionGroup, 0, redraw); }

Boolean ChooseWorkingPlane(VLViewPane* pane, SInt16 mode) {
  if (!pane) return false;
  // The pane keeps the mode in the document as its drawing plane and takes the axes from it.
  pane->SelectDrawingPlane(mode);
  pane->PlaceCrosshair(Vector3d{0.0, 0.0, 0.0}, false);
  pane->Refresh();
  return true;
}

SInt16 CurrentWorkingPlaneMode(VLViewPane* pane) {
  return pane && pane->document ? pane->document->GetGroupTool(kPlaneGroup) : SInt16(-1);
}

Boolean IsWorkingPlaneHorizontal(VLViewPane* pane) { return pane && pane->WorkingPlaneIsHorizontal(); }

Boolean IsWorkingPlaneActive(VLViewPane*) { return gWorkingPlaneOn != 0; }

Boolean FitView(VLViewPane* pane, Boolean centreOnly) {
  if (!pane) return false;
  PortSetArrowCursor();
  if (!ChooseTool(pane, kViewGroup, centreOnly ? 1 : 0)) return false;
  if (centreOnly)
    pane->LookAtModel();
  else
    pane->FitViewToModel();
  pane->MarkObjectsChanged();
  pane->Refresh();
  return true;
}

Boolean ZoomView(VLViewPane* pane, double factor) {
  if (!pane) return false;
  pane->ZoomBy(factor);
  return true;
}

// The view pane has no sketch overlay yet.
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

Boolean DeselectEverything(VLViewPane* pane) {
  if (!pane) return false;
  // Deselecting takes the object out of the selection, so the first item is always the next.
  for (long count = gCurrentSelection ? gCurrentSelection->GetNumItems() : 0; count > 0; --count)
    if (auto* object = static_cast<VLUser3DObject*>(gCurrentSelection->PointerAt(1))) object->Deselect();
  pane->SelectEditTool(0);
  pane->Refresh();
  return true;
}

Boolean HasSelectedFreeFace(VLViewPane*) {
  long position = kFirstModelObject;
  while (VLUser3DObject* object = vltasks::NextSelectedObject(&position)) {
    object->SetArrayPointers();
    for (SInt16 i = 0; i < object->faceCount; ++i)
      if (!object->faces[i].degenerate) return true;
    ++position;
  }
  return false;
}

Boolean HasOpeningHost(VLViewPane* pane) {
  VLUser3DObject* host = nullptr;
  return pane && pane->GetSelectedSolid(&host);
}

Boolean HasModelObject(VLViewPane* pane) {
  VLUser3DObject* first = nullptr;
  return pane && pane->GetFirstModelObject(&first);
}

void GetCurrentTool(VLViewPane* pane, SInt16* group, SInt16* tool) {
  *group = -1;
  *tool = -1;
  if (!pane || !pane->document) return;
  *group = pane->document->GetToolGroup();
  *tool = pane->document->GetGroupTool(*group);
}

}  // namespace vlpalettes
