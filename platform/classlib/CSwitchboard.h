// The switchboard: the application's event step. It lets the desktop set the cursor for the
// mouse, takes the next event and hands it to the application; mouse-downs, updates and
// activations come back here for the windows. A press in the menu bar tracks the menus and
// gives the chosen item's command to the application; other presses go to the desktop, which
// finds the window. A window's update draws it; an activate event activates or deactivates it.
#pragma once

#include "CCollaborator.h"
#include "Events.h"

class CSwitchboard : public CCollaborator {
  VL_REGISTERED_CLASS(CSwitchboard, CCollaborator)

 public:
  CSwitchboard() = default;
  ~CSwitchboard() override;

  void ISwitchboard();

  // One event step.
  virtual void ProcessEvent();
  // Mouse, update and activate events (the application passes them on).
  virtual void DispatchWindowEvent(EventRecord* event);
  virtual void DoMouseDown(EventRecord* event);
  virtual void DoMouseUp(EventRecord* event);
  virtual void DoUpdate(EventRecord* event);
  virtual void DoActivate(EventRecord* event);
  // Tracks the menus from a press in the menu bar and dispatches the chosen command.
  virtual void DoMenuBarClick(EventRecord* event);
};

// The presses in a row of the mouse-down being handled: 1 for a first click, 2 when it follows
// the previous mouse-down within the double-click time and 5 pixels of it, and so on. A press
// that a double-click wait took out of the queue is not counted.
extern SInt16 gClickCount;
