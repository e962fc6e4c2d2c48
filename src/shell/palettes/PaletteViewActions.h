// What the palette's clicks ask of the current view pane. Each answers false, changing nothing,
// where the view pane cannot do it yet: the click is then refused with a beep, never faked.
#pragma once

#include "MacTypes.h"

class VLViewPane;

namespace vlpalettes {

// Tool groups.
enum : SInt16 { kSelectionGroup = 0, kDrawingGroup = 1, kViewGroup = 2, kOpeningGroup = 5 };
// The view tool that a click on the zoom field chooses.
constexpr SInt16 kZoomViewTool = 4;

// The group, then the group's tool; with redraw the view is put on the screen at once.
Boolean ChooseTool(VLViewPane* pane, SInt16 group, SInt16 tool, Boolean redraw = false);
// Tool 0 of the selection group, without switching the group.
Boolean SelectSelectionTool(VLViewPane* pane, SInt16 tool);
// Back to the selection tool (group 0, tool 0).
Boolean ReturnToSelection(VLViewPane* pane, Boolean redraw);
// Working-plane mode 0 to 5: the pane's mode, the locator at the origin, the document's choice,
// and a redraw.
Boolean ChooseWorkingPlane(VLViewPane* pane, SInt16 mode);
// The working-plane mode the document holds; -1 when it cannot be told.
SInt16 CurrentWorkingPlaneMode(VLViewPane* pane);
// Whether the working plane lies flat (its normal along z).
Boolean IsWorkingPlaneHorizontal(VLViewPane* pane);
// Whether drawing is bound to the working plane.
Boolean IsWorkingPlaneActive(VLViewPane* pane);
// Fits the view to the model's box (or centres it on the box) with view tool 0 (or 1).
Boolean FitView(VLViewPane* pane, Boolean centreOnly);
// Zooms the view by the factor; it broadcasts the new zoom factor.
Boolean ZoomView(VLViewPane* pane, double factor);
// Erases the sketch overlay as an undoable task (nothing without an overlay).
Boolean EraseSketch(VLViewPane* pane);
// Gives every selected model object the colour as an undoable change; with choose, the first
// object's colour dialog chooses it (and it becomes gDefaultObjectColor).
Boolean RecolourSelection(VLViewPane* pane, Boolean choose);
// Deselects every selected object and chooses selection tool 0, redrawn.
Boolean DeselectEverything(VLViewPane* pane);

// What the pane's document allows: a selected object with a free face (trimming), a selected
// object that can hold openings, any model object at all.
Boolean HasSelectedFreeFace(VLViewPane* pane);
Boolean HasOpeningHost(VLViewPane* pane);
Boolean HasModelObject(VLViewPane* pane);
// The document's tool group and the tool of that group (-1 none).
void GetCurrentTool(VLViewPane* pane, SInt16* group, SInt16* tool);

}  // namespace vlpalettes
