// Whether the 3D scene library is there, and its release.
#pragma once

#include "MacTypes.h"

// True when the library is part of the program.
bool QuickDraw3DLoaded();
// The library's release word (0x01518000 is release 1.5.1); false when it cannot be asked.
bool QuickDraw3DRelease(UInt32* release);
