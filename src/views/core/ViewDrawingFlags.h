// Process-wide drawing flags of the view layer. The view pane writes them (the document sets
// the printing flag); the painting code of the depth sorter and the view adornments reads them.
#pragma once

#include "MacTypes.h"

extern UInt8 gWireframeMode;      // the current pane's display mode: wireframe,
extern UInt8 gHiddenLineMode;     // hidden lines,
extern UInt8 gShadedMode;         // shaded faces (always with hidden lines),
extern UInt8 gShadowMode;         // or shadows
extern UInt8 gTrackingDrawing;    // a drawing task is tracking the mouse
extern UInt8 gPrintingView;       // the document is printing
extern UInt8 gInteractiveDrawing; // the window is moved or sized, or a navigation drag runs
// The current view pane draws at another scale than its own (printing, pictures): stored regions
// of the depth sorter's records are then not used. The pane keeps it here.
extern UInt8 gScaledDrawing;
