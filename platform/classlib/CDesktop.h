// The desktop: the view that holds every window of the class library. The screen's window
// layer keeps their order (front to back, floating palettes above document windows, modal
// dialogs above all); the desktop finds the class-library window of a screen window, lists
// them, brings pending updates to the screen and passes mouse-downs and cursor updates on.
#pragma once

#include <vector>

#include "CView.h"
#include "Windows.h"

class CWindow;

class CDesktop : public CView {
  VL_REGISTERED_CLASS(CDesktop, CView)

 public:
  CDesktop() = default;
  ~CDesktop() override;

  void IDesktop(CBureaucrat* supervisor);

  // The class-library window of a screen window; null when it has none (or is not ours).
  static CWindow* FindWindowObject(WindowPtr window);
  // The class-library windows, front to back.
  std::vector<CWindow*> GetWindows() const;
  long CountWindows() const { return long(GetWindows().size()); }
  // The frontmost visible window (any layer) / the active window (the one the user works in,
  // never a palette); null when none is ours.
  CWindow* GetTopWindow() const;
  CWindow* GetActiveWindow() const;
  void SelectWindow(CWindow* window);

  // The event step's preparation before the cursor is adjusted; the base does nothing.
  void Prepare() override;
  // Draws every class-library window that has something to update, now.
  virtual void UpdateWindows();
  // A mouse-down on the screen outside the menu bar (global point). While a modal dialog is in
  // front, a press outside it only beeps.
  Boolean DispatchClick(const EventRecord* event) override;
  // The mouse is at the global point: the window and view under it set the cursor.
  void AdjustCursor(Point globalWhere, RgnHandle mouseRgn) override;
  // After an event step: each window's EventHandled, then its port origin back to the window's
  // own coordinates with a wide-open clip, as the window layer expects between events.
  void ResetWindowOrigins();
};
