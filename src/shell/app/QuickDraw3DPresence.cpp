#include "QuickDraw3DPresence.h"

// The scene library is not part of the program yet.
bool QuickDraw3DLoaded() { return false; }

bool QuickDraw3DRelease(UInt32* release) {
  if (release) *release = 0;
  return false;
}
