// Process-wide drawing flags of the view layer. The view pane writes them (the document sets
// the printing flag, the drawing tools the tracking flag); the painting code of the depth
// sorter, the view adornments and the model objects' own drawing read them. Beside them, the
// grid snapping switch, which the crosshair locator reads.
#pragma once

#include "MacTypes.h"

extern UInt8 gWireframeMode;      // the current pane's display mode: wireframe,
extern UInt8 gHiddenLineMode;     // hidden lines,
extern UInt8 gShadedMode;         // shaded faces (always with hidden lines),
extern UInt8 gShadowMode;         // or shadows
extern UInt8 gTrackingDrawing;    // a drawing task is tracking the mouse: objects project unclipped
extern UInt8 gPrintingView;       // the document is printing
extern UInt8 gInteractiveDrawing; // the window is moved or sized, or a navigation drag runs:
                                  // objects project afresh at every draw
// The current pane draws at another scale than its own (printing, pictures): stored regions
// of the depth sorter's records are then not used. The pane keeps it here.
extern UInt8 gScaledDrawing;
// This drawing pass draws the objects' edges straight into the offscreen world; clear, they
// hand their faces to the depth sorter. Set at start (and for every wireframe pass).
extern UInt8 gDirectDrawing;
// The pane scrolled since its last full draw: objects keep their view-space points and only
// map them to the pane again.
extern UInt8 gViewScrolled;
// A handle of the selection is being dragged: the selected object shows its edge handles
// while the drag redraws.
extern UInt8 gHandleDrag;
// Faces turned away from the viewer are left out of depth-sorted drawing; clear, they are
// submitted painted black. The pane sets it after every depth-sorted drawing, the section plane
// clears it once submitted, so that the inside of a cut solid shows. Starts set.
extern UInt8 gCullBackFaces;
// The crosshair locator snaps points to its snap grid. The document's command 4000 and the tool
// palette's grid switch toggle it; initially on.
extern UInt8 gSnapToGrid;

// Whether the command changes the model, so that shadow display is left before it runs: revert,
// cut, paste, clear, the edits 2100 to 2103, 3000 to 3005 and 3008, the backdrop 2301 and 2302,
// the object commands 5000 to 5004, 5009 to 5011 and 5021 to 5026. The projection commands
// 5012 to 5020 keep the shadows.
bool CommandLeavesShadowDisplay(long command);
