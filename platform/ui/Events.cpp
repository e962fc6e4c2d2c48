#include "Events.h"

#include <deque>

#include "QuickDraw.h"
#include "Ticks.h"
#include "Windows.h"

namespace {
std::deque<EventRecord> gQueue;
Point gMouse;
Boolean gButton = false;
UInt16 gModifiers = 0;
vlui::EventSource* gSource = nullptr;
vlui::EventGenerator gGenerator = nullptr;
UInt32 gDoubleClickTicks = 30;
std::vector<long> gCommands;

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

void Poll(vlui::PollKind kind) {
  if (gSource) gSource->PollFor(kind);
}

// The window manager's activate and update events, made when the queue has nothing asked for.
Boolean Generate(SInt16 mask, EventRecord* event, Boolean remove) {
  if (!gGenerator) return false;
  EventRecord e;
  if (!gGenerator(mask, &e, remove)) return false;
  e.when = PortTickCount();
  e.where = gMouse;
  if (e.what != activateEvt) e.modifiers = gModifiers;
  if (event) *event = e;
  return true;
}

Boolean Look(SInt16 mask, EventRecord* event) {
  Poll(vlui::PollKind::kEvents);
  auto it = FindFirst(mask);
  if (it == gQueue.end()) {
    if (Generate(mask, event, false)) return true;
    MakeNull(event);
    return false;
  }
  if (event) *event = *it;
  return true;
}
}  // namespace

Boolean PortGetNextEvent(SInt16 mask, EventRecord* event) {
  auto it = FindFirst(mask);
  if (it == gQueue.end() && Generate(mask, event, true)) return true;
  if (it == gQueue.end() && gSource) {
    gSource->Refill();
    it = FindFirst(mask);
    if (it == gQueue.end() && Generate(mask, event, true)) return true;
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
  Poll(vlui::PollKind::kButton);
  return gButton;
}

Boolean PortMouseButton() { return PortButton(); }
Boolean PortMouseDown() { return PortButton(); }

Boolean PortStillDown() {
  if (!PortButton()) return false;
  return FindFirst(mUpMask) == gQueue.end();
}

Boolean PortWaitMouseUp() {
  Boolean down = PortButton();
  auto up = FindFirst(mUpMask);
  if (up != gQueue.end()) {
    gQueue.erase(up);
    return false;
  }
  return down;
}

UInt32 PortDoubleClickTicks() { return gDoubleClickTicks; }
UInt32 PortGetDblTime() { return gDoubleClickTicks; }
UInt32 PortGetCaretTime() { return 32; }

WindowRecord* PortEventWindow(const EventRecord* event) {
  if (!event || (event->what != updateEvt && event->what != activateEvt)) return nullptr;
  return vlui::WindowFromId(event->message);
}

void PortGetMouse(Point* where) {
  Poll(vlui::PollKind::kMouse);
  if (!where) return;
  *where = gMouse;
  // The mouse in the current port's local coordinates, as tracking loops expect.
  PortGlobalToLocal(where);
}

UInt32 PortKeyMessage(unsigned char c) {
  UInt32 code = 0;
  switch (c) {
    case kReturnChar:
      code = kReturnKeyCode;
      break;
    case kEnterChar:
      code = kEnterKeyCode;
      break;
    case kTabChar:
      code = kTabKeyCode;
      break;
    case kEscapeChar:
      code = kEscapeKeyCode;
      break;
    case kBackspaceChar:
      code = kBackspaceKeyCode;
      break;
    case kDeleteChar:
      code = kForwardDeleteKeyCode;
      break;
    case kLeftArrowChar:
      code = kLeftArrowKeyCode;
      break;
    case kRightArrowChar:
      code = kRightArrowKeyCode;
      break;
    case kUpArrowChar:
      code = kUpArrowKeyCode;
      break;
    case kDownArrowChar:
      code = kDownArrowKeyCode;
      break;
    case kHomeChar:
      code = kHomeKeyCode;
      break;
    case kEndChar:
      code = kEndKeyCode;
      break;
    case kPageUpChar:
      code = kPageUpKeyCode;
      break;
    case kPageDownChar:
      code = kPageDownKeyCode;
      break;
    default: break;
  }
  return UInt32(c) | (code << 8);
}

Boolean PortIsCommandPeriod(unsigned char character, UInt16 modifiers) {
  return character == '.' && (modifiers & cmdKey) != 0;
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

EventSource* CurrentEventSource() { return gSource; }

void NoteCommand(long command) { gCommands.push_back(command); }
const std::vector<long>& CommandLog() { return gCommands; }
void ClearCommandLog() { gCommands.clear(); }

void SetDoubleClickTicks(UInt32 ticks) { gDoubleClickTicks = ticks; }

void SetEventGenerator(EventGenerator generator) { gGenerator = generator; }

}  // namespace vlui
