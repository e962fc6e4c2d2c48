#include "QuickDraw3DPresence.h"

#include "Q3Core.h"

// The scene library is linked into the program, so it is always there.
bool QuickDraw3DLoaded() { return true; }

bool QuickDraw3DRelease(UInt32* release) {
  TQ3Uns32 value = 0;
  if (Q3GetReleaseVersion(&value) != kQ3Success) return false;
  if (release) *release = value;
  return true;
}
