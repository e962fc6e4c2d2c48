// The busy (watch) cursor of long operations.
#pragma once

#include "MacTypes.h"

// Shows the watch cursor (busy) or the arrow (not busy) and answers the previous state, so
// that a caller can put it back: Boolean was = SetCursorBusy(true); ...; SetCursorBusy(was);
Boolean SetCursorBusy(Boolean busy);
Boolean IsCursorBusy();
