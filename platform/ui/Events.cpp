#include "Events.h"

#include <deque>

#include "Ticks.h"

namespace {
std::deque<EventRecord> gQueue;
Point gMouse;
Boolean gButton = false;
UInt16 gModifiers = 0;
vlui::EventSource* gSource = nullptr;

bool Matches(const EventRecord& e, SInt16 mask) {
  return e.what < 16 && (UInt16(mask) & (1u << e.what)) != 0;
}

void MakeNull(EventRecord* event) {
  if (!event) return;
  *event = EventRecord{};
  event->what = nullEvent;
  event->when = PortTickCount();
  event->where = gMouse;
  event->modifiers = gModifiers;
}

std::deque<EventRecord>::iterator FindFirst(SInt16 mask) {
  for (auto it = gQueue.begin(); it != gQueue.end(); ++it)
    if (Matches(*it, mask)) return it;
  return gQueue.end();
}

Boolean Look(SInt16 mask, EventRecord* event) {
  if (gSource) gSource->Poll();
  auto it = FindFirst(mask);
  if (it == gQueue.end()) {
    MakeNull(event);
    return false;
  }
  if (event) *event = *it;
  return true;
}
}  // namespace

Boolean PortGetNextEvent(SInt16 mask, EventRecord* event) {
  auto it = FindFirst(mask);
  if (it == gQueue.end() && gSource) {
    gSource->Refill();
    it = FindFirst(mask);
  }
  if (it == gQueue.end()) {
    MakeNull(event);
    return false;
  }
  if (event) *event = *it;
  gQueue.erase(it);
  return true;
}

Boolean PortEventAvail(SInt16 mask, EventRecord* event) { return Look(mask, event); }

Boolean PortPeekEvent(SInt16 mask, EventRecord* event) { return Look(mask, event); }

void PortFlushEvents(SInt16 mask, SInt16 stopMask) {
  for (auto it = gQueue.begin(); it != gQueue.end();) {
    if (Matches(*it, stopMask)) break;
    if (Matches(*it, mask))
      it = gQueue.erase(it);
    else
      ++it;
  }
}

Boolean PortButton() {
  if (gSource) gSource->Poll();
  return gButton;
}

Boolean PortMouseButton() { return PortButton(); }

void PortGetMouse(Point* where) {
  if (gSource) gSource->Poll();
  if (where) *where = gMouse;
}

void PortExitToShell(int status) { throw vlui::ExitToShellSignal{status}; }

namespace vlui {

void PostEvent(const EventRecord& event) {
  if (gQueue.size() >= kEventQueueCapacity) gQueue.pop_front();
  gQueue.push_back(event);
  if (gQueue.back().when == 0) gQueue.back().when = PortTickCount();
}

void PostEvent(UInt16 what, UInt32 message, UInt16 modifiers) {
  EventRecord e;
  e.what = what;
  e.message = message;
  e.where = gMouse;
  e.modifiers = modifiers;
  PostEvent(e);
}

void PostCommand(long command) { PostEvent(commandEvt, UInt32(command), gModifiers); }

std::size_t PendingEventCount() { return gQueue.size(); }

void ResetEvents() {
  gQueue.clear();
  gMouse = Point{};
  gButton = false;
  gModifiers = 0;
}

void SetMouse(Point where) { gMouse = where; }
void SetButton(Boolean down) { gButton = down; }
void SetModifiers(UInt16 modifiers) { gModifiers = modifiers; }
UInt16 CurrentModifiers() { return gModifiers; }

EventSource* SetEventSource(EventSource* source) {
  EventSource* old = gSource;
  gSource = source;
  return old;
}

}  // namespace vlui
