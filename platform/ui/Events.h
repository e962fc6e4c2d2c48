// The event queue: mouse, key, update, activate and command events as the backend delivers
// them, taken one at a time by the application's run loop. The backend posts events and keeps
// the input state (mouse position, button, modifier keys); an event source lets a backend
// deliver its input only when the program asks for the next event.
#pragma once

#include <cstddef>

#include "MacTypes.h"

struct EventRecord {
  UInt16 what = 0;      // event kind, below
  UInt32 message = 0;   // keys: character | key code << 8; commands: the command number
  UInt32 when = 0;      // ticks
  Point where;          // mouse position, global coordinates
  UInt16 modifiers = 0; // modifier keys held
};

// Event kinds.
enum : UInt16 {
  nullEvent = 0,
  mouseDown = 1,
  mouseUp = 2,
  keyDown = 3,
  keyUp = 4,
  autoKey = 5,
  updateEvt = 6,
  activateEvt = 8,
  // A menu command chosen without tracking a menu (a backend's scripted choice, the frame's
  // command messages); message is the command number.
  commandEvt = 12,
};

// Event masks: bit (1 << kind).
enum : SInt16 {
  mDownMask = 1 << mouseDown,
  mUpMask = 1 << mouseUp,
  keyDownMask = 1 << keyDown,
  keyUpMask = 1 << keyUp,
  autoKeyMask = 1 << autoKey,
  updateMask = 1 << updateEvt,
  activMask = 1 << activateEvt,
  commandMask = 1 << commandEvt,
  everyEvent = -1,
};

// Modifier bits.
enum : UInt16 {
  activeFlag = 0x0001,  // activate events: the window becomes active
  cmdKey = 0x0100,
  shiftKey = 0x0200,
  alphaLock = 0x0400,
  optionKey = 0x0800,
  controlKey = 0x1000,
};

// Key messages.
constexpr UInt32 charCodeMask = 0x000000FF;
constexpr UInt32 keyCodeMask = 0x0000FF00;

// Takes the first pending event of the mask out of the queue. When none is pending the event
// source may deliver more input first; when there is still none, *event is a null event
// (current time, mouse and modifiers) and the answer is false.
Boolean PortGetNextEvent(SInt16 mask, EventRecord* event);
// Looks at the first pending event of the mask without taking it; false with a null event when
// there is none. The two names do the same.
Boolean PortEventAvail(SInt16 mask, EventRecord* event);
Boolean PortPeekEvent(SInt16 mask, EventRecord* event);
// Discards pending events of the mask, stopping at the first event of stopMask.
void PortFlushEvents(SInt16 mask, SInt16 stopMask);
// True while the mouse button is held. The two names do the same.
Boolean PortButton();
Boolean PortMouseButton();
// The current mouse position (global).
void PortGetMouse(Point* where);
// Ends the program from anywhere: the run loop does not catch it, and the program's entry
// returns the status.
[[noreturn]] void PortExitToShell(int status);

namespace vlui {

// What PortExitToShell throws.
struct ExitToShellSignal {
  int status;
};

// Appends an event (a zero time becomes the current ticks). A full queue drops its oldest event.
void PostEvent(const EventRecord& event);
void PostEvent(UInt16 what, UInt32 message, UInt16 modifiers);
void PostCommand(long command);
std::size_t PendingEventCount();
// Empties the queue and resets the input state (tests, start-up).
void ResetEvents();
constexpr std::size_t kEventQueueCapacity = 1024;

void SetMouse(Point where);
void SetButton(Boolean down);
void SetModifiers(UInt16 modifiers);
UInt16 CurrentModifiers();

// A backend's input, pulled when the program asks for it.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // The program wants its next event and the queue holds none: post what comes next.
  virtual void Refill() = 0;
  // The program polls the input state (button, pending events) without taking an event.
  virtual void Poll() {}
};
// Installs the source (null: none) and returns the previous one.
EventSource* SetEventSource(EventSource* source);

}  // namespace vlui
