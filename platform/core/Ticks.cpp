#include "Ticks.h"

#include <chrono>
#include <thread>

namespace {
bool gVirtual = false;
UInt32 gVirtualTicks = 0;
const auto gStart = std::chrono::steady_clock::now();
}  // namespace

UInt32 PortTickCount() {
  if (gVirtual) return gVirtualTicks;
  auto elapsed = std::chrono::steady_clock::now() - gStart;
  return UInt32(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * 60 / 1000000);
}

void PortDelay(UInt32 ticks, UInt32* finalTicks) {
  if (gVirtual) {
    gVirtualTicks += ticks;
  } else {
    std::this_thread::sleep_for(std::chrono::microseconds(std::int64_t(ticks) * 1000000 / 60));
  }
  if (finalTicks) *finalTicks = PortTickCount();
}

namespace vlclock {
void UseVirtualClock(bool on) {
  if (on && !gVirtual) gVirtualTicks = 0;
  gVirtual = on;
}
bool IsVirtual() { return gVirtual; }
void Advance(UInt32 ticks) {
  if (gVirtual) gVirtualTicks += ticks;
}
void SetTicks(UInt32 ticks) {
  if (gVirtual) gVirtualTicks = ticks;
}
}  // namespace vlclock
