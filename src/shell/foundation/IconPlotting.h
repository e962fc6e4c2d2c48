// Drawing icons of the program's 'ICON' and 'SICN' list resources into the current port.
#pragma once

#include "MacTypes.h"

// Icon index (from 1) of the 'ICON' list, full size at pt (32 wide, 31 high), copy mode.
void PlotICON(SInt16 resourceId, SInt16 index, Point pt);
// The same icon shrunk: mode 0 black on white, 1 inverted, 2 grey.
void PlotICONShrunk(SInt16 resourceId, SInt16 index, Point pt, SInt16 mode);
// Small icon index of the 'SICN' list in the 16 by 16 square at pt with a transfer mode.
void PlotSICN(SInt16 resourceId, SInt16 index, Point pt, SInt16 transferMode);
// As PlotSICN, but a missing resource throws and the resource stays loaded.
void PlotSmallIcon(SInt16 resourceId, SInt16 index, Point pt, SInt16 transferMode);
