#include "ViewDrawingFlags.h"

#include "Commands.h"

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
UInt8 gSnapToGrid = 1;

bool CommandLeavesShadowDisplay(long c) {
  return c == cmdRevert || c == cmdCut || c == cmdPaste || c == cmdClear || (c >= 2100 && c <= 2103) || c == 2301 ||
         c == 2302 || (c >= 3000 && c <= 3005) || c == 3008 || (c >= 5000 && c <= 5004) || (c >= 5009 && c <= 5011) ||
         (c >= 5021 && c <= 5026);
}
