// What the undoable tasks share: the document's object count they keep up to date, and what they
// ask of the parts of the window that show the editing state: the active view pane's selection
// tools and the tool palette's colour item. Each goes through a hook: the select tool's reaches
// the active pane (none in tests without a window), the palette's is installed by the palette
// when it is made. Without them nothing is shown, and the tasks do their edits all the same.
#pragma once

#include "LongCoordinates.h"
#include "MacTypes.h"

class CCollaborator;
class VLUser3DObject;
struct Vector3d;

// The active view pane goes to tool group 0 with this select tool (0 objects, 3 openings); tests
// put their own in its place.
using SelectToolRequest = void (*)(SInt16 tool);
extern SelectToolRequest gSelectToolRequest;
// The tool palette redraws one of its items (803: the current object colour).
using PaletteItemRedraw = void (*)(SInt16 item);
extern PaletteItemRedraw gPaletteItemRedraw;
// The text bar's angle field takes a text, selected or not; installed by the text bar.
using AngleTextDisplay = void (*)(const char* text, Boolean select);
extern AngleTextDisplay gAngleTextDisplay;

// Located points are pulled onto nearby vertices of the model (a document command toggles it).
extern UInt8 gSnapToVertices;
// Set by the pane around the drag of a tool; the tasks' release clears it.
extern UInt8 gTrackingDrag;

namespace vltasks {

// The select tools of group 0 and the palette's colour item.
constexpr SInt16 kSelectObjectsTool = 0;
constexpr SInt16 kSelectOpeningsTool = 3;
constexpr SInt16 kColorItem = 803;

// gObjectCount from the active document's object list (0 without one).
void RefreshObjectCount();
// The first selected object of the active document's object list at or after *position, which
// takes its place; null when there is none. Walks start at the first model object, so that the
// planes at positions 1 and 2 stay in their places whether selected or not.
VLUser3DObject* NextSelectedObject(long* position);
// Through the hooks, when installed.
void ShowSelectTool(SInt16 tool);
void RedrawPaletteItem(SInt16 item);
// A tracked mouse point as a pane point.
Point PanePoint(const LongPt* p);
// The active pane draws the model and its crosshair again (nothing without one).
void RedrawActivePane();
// Keeps the text as the angle field's (AngleText) and shows it through the hook when installed.
void ShowAngleText(const char* text, Boolean select);
// What the angle field was last given, whether or not a text bar shows it.
struct AngleText {
  char text[64] = "";
  Boolean selected = false;
};
const AngleText& LastAngleText();

}  // namespace vltasks
