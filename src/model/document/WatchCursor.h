// The watch cursor for the length of a document command; the cursor before it comes back after.
#pragma once

#include "BusyCursor.h"

class WatchCursor {
 public:
  WatchCursor() : wasBusy(SetCursorBusy(true)) {}
  ~WatchCursor() { SetCursorBusy(wasBusy); }
  WatchCursor(const WatchCursor&) = delete;
  WatchCursor& operator=(const WatchCursor&) = delete;

 private:
  Boolean wasBusy;
};
