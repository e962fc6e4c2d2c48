// A control pane: a push button, check box, radio button or scroll bar with a value within a
// range, a title and a click command. In a window on the screen the control is drawn and
// tracked by the window layer's control (Controls.h); without one (a pane outside any window)
// it keeps its state all the same, and a click counts as a click inside it.
//
// A control can be deactivated by the program (drawn dimmed, taking no clicks); that state
// lasts until the program activates it again, whatever happens to its window meanwhile. A
// control in an inactive window is drawn dimmed too.
#pragma once

#include <string>

#include "CPane.h"
#include "Controls.h"
#include "PString.h"

class CControl : public CPane {
  VL_REGISTERED_CLASS(CControl, CPane)

 public:
  CControl() = default;
  ~CControl() override;

  void IControl(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
                SizingOption hSizing, SizingOption vSizing, SInt16 procID, ConstStringPtr title, SInt16 value,
                SInt16 minValue, SInt16 maxValue);

  ControlHandle GetMacControl() const { return macControl; }
  SInt16 GetProcID() const { return procID; }

  // The value stays within [minimum, maximum]; setting the range clamps it.
  virtual void SetValue(SInt16 value);
  SInt16 GetValue() const { return value; }
  virtual void SetMinValue(SInt16 minValue);
  SInt16 GetMinValue() const { return minValue; }
  virtual void SetMaxValue(SInt16 maxValue);
  SInt16 GetMaxValue() const { return maxValue; }
  virtual void SetTitle(ConstStringPtr title);
  void GetTitle(StringPtr title) const;

  // The command a good click sends to the supervisor (0: none).
  void SetClickCmd(long command) { clickCmd = command; }
  long GetClickCmd() const { return clickCmd; }

  void Activate() override;
  void Deactivate() override;
  // Whether the program left the control active (see above).
  Boolean IsControlActive() const { return !dimmed; }
  void Show() override;
  void Hide() override;
  // Shows the control pressed (part) or not (0).
  void Hilite(SInt16 part);

  void DoClick(Point hitPt, SInt16 modifiers, long when) override;
  // A click released inside the control, in the part: sends the click command.
  virtual void DoGoodClick(SInt16 part);
  // Sends the click command to the supervisor.
  virtual void SendClickCommand();

  void Draw(const Rect* area) override;
  void CalcAperture() override;

 protected:
  // Makes the port current with the window's own coordinates (the control's are those), clipped
  // to the aperture.
  void PrepareWindowCoordinates();
  // The control's rectangle in window coordinates.
  Rect WindowBounds() const;
  // Called while a part other than the thumb is held; scroll bars act on it.
  virtual void DoTrackAction(SInt16 part);
  // Mirrors the pane's state into the window layer's control.
  void SyncMacControl();

  ControlHandle macControl = nullptr;
  SInt16 procID = 0;
  SInt16 value = 0;
  SInt16 minValue = 0;
  SInt16 maxValue = 1;
  std::string title;  // Mac Roman
  long clickCmd = 0;
  Boolean dimmed = false;  // deactivated by the program

 private:
  static void TrackAction(ControlHandle control, SInt16 part);
};
