// The event queue: mouse, key, update, activate and command events as the backend delivers
// them, taken one at a time by the application's run loop. The backend posts events and keeps
// the input state (mouse position, button, modifier keys); an event source lets a backend
// deliver its input only when the program asks for the next event.
//
// Update and activate events are not queued: the window manager (Windows.h) makes them when
// the program asks for an event and the queue holds none of the kinds asked for. Activate
// events come first (deactivation before activation), then one update event per window whose
// update region is not empty, front to back. Their message names the window: PortEventWindow.
// Auto-key events are what the backend delivers while a key is held (it decides the repeat).
#pragma once

#include <cstddef>
#include <vector>

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

// Characters of the keys that are not letters, as a key message carries them.
enum : UInt8 {
  kHomeChar = 1,
  kEnterChar = 3,
  kEndChar = 4,
  kBackspaceChar = 8,  // the delete key
  kTabChar = 9,
  kPageUpChar = 11,
  kPageDownChar = 12,
  kReturnChar = 13,
  kEscapeChar = 27,  // also sent by the keypad's clear key
  kLeftArrowChar = 28,
  kRightArrowChar = 29,
  kUpArrowChar = 30,
  kDownArrowChar = 31,
  kSpaceChar = 32,
  kDeleteChar = 127,  // forward delete
};

// Key codes (the second byte of a key message) of those keys. The keypad's clear key sends
// kEscapeChar with kClearKeyCode, so only its key code tells it from the escape key.
enum : UInt8 {
  kReturnKeyCode = 0x24,
  kTabKeyCode = 0x30,
  kBackspaceKeyCode = 0x33,
  kEscapeKeyCode = 0x35,
  kClearKeyCode = 0x47,
  kEnterKeyCode = 0x4C,
  kHomeKeyCode = 0x73,
  kPageUpKeyCode = 0x74,
  kForwardDeleteKeyCode = 0x75,
  kEndKeyCode = 0x77,
  kPageDownKeyCode = 0x79,
  kLeftArrowKeyCode = 0x7B,
  kRightArrowKeyCode = 0x7C,
  kDownArrowKeyCode = 0x7D,
  kUpArrowKeyCode = 0x7E,
};

// A key message for a character: the character with the key code of its key (above; 0 for
// characters typed as text).
UInt32 PortKeyMessage(unsigned char character);
// Command-period, the key that asks to cancel or stop: the character '.' with the command key.
Boolean PortIsCommandPeriod(unsigned char character, UInt16 modifiers);

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
// The current mouse position in the current port's local coordinates (global for a port whose
// origin is the screen's).
void PortGetMouse(Point* where);
// True while the mouse button is held (the name some callers use).
Boolean PortMouseDown();
// True while the button is held and no mouse-up is pending since the press being handled: the
// test of a tracking loop. PortWaitMouseUp is the same but takes the pending mouse-up out.
Boolean PortStillDown();
Boolean PortWaitMouseUp();
// The double-click interval and the caret blink interval, in ticks.
UInt32 PortDoubleClickTicks();
UInt32 PortGetDblTime();
UInt32 PortGetCaretTime();
// The window an update or activate event is for; null for other events or a window that is
// gone.
struct WindowRecord;
WindowRecord* PortEventWindow(const EventRecord* event);
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

// What the program polls without taking an event.
enum class PollKind {
  kButton,  // the button state (PortButton, PortStillDown, ...)
  kMouse,   // the mouse position (PortGetMouse)
  kEvents,  // pending events (PortEventAvail, PortPeekEvent)
};

// A backend's input, pulled when the program asks for it.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // The program wants its next event and the queue holds none: post what comes next.
  virtual void Refill() = 0;
  // The program polls the input state (button, pending events) without taking an event.
  virtual void Poll() {}
  // The same, knowing what is polled; the default calls Poll().
  virtual void PollFor(PollKind) { Poll(); }
};
// Installs the source (null: none) and returns the previous one.
EventSource* SetEventSource(EventSource* source);
EventSource* CurrentEventSource();

// The commands the class library dispatches (menu choices, key equivalents, command events) are
// noted here in order, so that scripts and tests can check them.
void NoteCommand(long command);
const std::vector<long>& CommandLog();
void ClearCommandLog();

// The double-click interval in ticks (default 30).
void SetDoubleClickTicks(UInt32 ticks);

// What the window manager gives when the queue holds nothing asked for: an activate or update
// event (true) or nothing (false); remove is false when the event is only looked at. Installed
// by the window manager.
using EventGenerator = Boolean (*)(SInt16 mask, EventRecord* event, Boolean remove);
void SetEventGenerator(EventGenerator generator);

}  // namespace vlui
