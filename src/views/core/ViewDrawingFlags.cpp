#include "ViewDrawingFlags.h"

UInt8 gWireframeMode = 1;
UInt8 gHiddenLineMode = 0;
UInt8 gShadedMode = 0;
UInt8 gShadowMode = 0;
UInt8 gTrackingDrawing = 0;
UInt8 gPrintingView = 0;
UInt8 gInteractiveDrawing = 0;
UInt8 gScaledDrawing = 0;
UInt8 gDirectDrawing = 1;
UInt8 gViewScrolled = 0;
UInt8 gHandleDrag = 0;
UInt8 gCullBackFaces = 1;
