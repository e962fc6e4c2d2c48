// Whether two closed coplanar point loops share interior area.
#pragma once

#include "MacTypes.h"

// True when the loops overlap in area; false when they are disjoint, touch only along their
// boundaries, or either has no area (fewer than three points, all collinear, a non-finite
// coordinate). The loops are read, never changed; nothing is allocated.
bool IntersectPolygons(Handle loopA, SInt16 countA, Handle loopB, SInt16 countB);
