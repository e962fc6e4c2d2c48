// The tick clock (sixtieths of a second). The backend drives it: a real window lets it follow
// the wall clock, the headless backend keeps it virtual so runs are repeatable.
#pragma once

#include "MacTypes.h"

UInt32 PortTickCount();
// Waits the given ticks (on the virtual clock it only advances) and returns the final count.
void PortDelay(UInt32 ticks, UInt32* finalTicks);

namespace vlclock {
void UseVirtualClock(bool on);
bool IsVirtual();
void Advance(UInt32 ticks);  // virtual clock only
void SetTicks(UInt32 ticks);  // virtual clock only
}  // namespace vlclock
