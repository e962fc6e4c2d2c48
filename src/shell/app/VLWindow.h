// The program's windows: activation highlights the title and tells the director; sizing keeps
// growth limits of at least 100 by 100.
#pragma once

#include "CWindow.h"

class VLWindow : public CWindow {
  VL_REGISTERED_CLASS(VLWindow, CWindow)

 public:
  static constexpr SInt16 kMinSize = 100;

  VLWindow() = default;

  // A hidden window from 'WIND' windowID on the desktop, belonging to the director; nothing is
  // left behind when it cannot be made.
  static VLWindow* Make(SInt16 windowID, CDirector* director);

  // Only when not active yet: the highlight, the class library's activation, the director.
  void Activate() override;
  // Only when active.
  void Deactivate() override;
  // The growth limits become at least 100 by 100 and at most the larger of the size and the
  // client area's right and bottom edges; then the window takes the size.
  void SetSize(SInt16 width, SInt16 height) override;
};
