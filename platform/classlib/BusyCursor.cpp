#include "BusyCursor.h"

#include "Cursors.h"

namespace {
Boolean gBusy = false;
}

Boolean SetCursorBusy(Boolean busy) {
  Boolean previous = gBusy;
  gBusy = busy;
  if (busy) {
    CursHandle watch = PortGetCursor(watchCursor);
    if (watch)
      PortSetCursor(*watch);
    else
      PortSetArrowCursor();
  } else {
    PortSetArrowCursor();
  }
  return previous;
}

Boolean IsCursorBusy() { return gBusy; }
