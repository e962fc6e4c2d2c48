// The program's window placement: new document windows go down a staggered series of five
// places from 64 pixels left and 22 below the menu bar, 8 right and 16 down each time, at 687
// by 550 (less on small screens), cut to the client area.
#pragma once

#include "CDecorator.h"

class VLDecorator : public CDecorator {
  VL_REGISTERED_CLASS(VLDecorator, CDecorator)

 public:
  static constexpr SInt16 kFirstLeft = 64;
  static constexpr SInt16 kTopBelowMenuBar = 22;
  static constexpr SInt16 kDefaultWidth = 687;
  static constexpr SInt16 kDefaultHeight = 550;
  static constexpr SInt16 kLargeScreenHeight = 576;

  VLDecorator() = default;

  // The first place, and the default size for the main screen.
  void IVLDecorator();

  // Nothing while the active document window is zoomed; otherwise the next place at the default
  // size or the window's own, cut so that it stays within the client area.
  void PlaceNewWindow(CWindow* window, Boolean useDefaultSize) override;
  // Moves the window to the next place; after the fifth the series starts again.
  void StaggerWindow(CWindow* window) override;
  // When the last window closes the series starts again.
  void WindowClosed(CWindow* window) override;
  void ResetStagger() override;
};
