#include "VLDecorator.h"

#include "CWindow.h"
#include "Menus.h"
#include "Screen.h"

namespace {
constexpr SInt16 kStaggerH = 8;
constexpr SInt16 kStaggerV = 16;
constexpr SInt16 kStaggerSteps = 5;
}  // namespace

void VLDecorator::IVLDecorator() {
  ResetStagger();
  Rect screen;
  PortGetScreenBounds(&screen);
  if (screen.bottom - screen.top >= kLargeScreenHeight) {
    defaultWidth = kDefaultWidth;
    defaultHeight = kDefaultHeight;
  } else {
    defaultWidth = SInt16(screen.right - screen.left - 96);
    defaultHeight = SInt16(screen.bottom - nextTop - screen.top - 6);
  }
}

void VLDecorator::ResetStagger() {
  staggerStep = 1;
  nextLeft = kFirstLeft;
  nextTop = SInt16(PortMenuBarHeight() + kTopBelowMenuBar);
}

void VLDecorator::PlaceNewWindow(CWindow* window, Boolean useDefaultSize) {
  if (!window) return;
  WindowPtr active = PortActiveWindow();
  if (active && active->layer == WindowLayer::kDocument && PortIsWindowZoomed(active)) return;
  Rect client = vlui::ClientRect();
  SInt16 width = useDefaultSize ? defaultWidth : window->GetWidth();
  SInt16 height = useDefaultSize ? defaultHeight : window->GetHeight();
  Boolean cut = false;
  if (nextLeft + width > client.right) {
    width = SInt16(client.right - (staggerStep % kStaggerSteps) * kStaggerH - nextLeft);
    cut = true;
  }
  if (nextTop + height > client.bottom) {
    height = SInt16(client.bottom - nextTop);
    cut = true;
  }
  StaggerWindow(window);
  if (useDefaultSize || cut) window->SetSize(width, height);
}

void VLDecorator::StaggerWindow(CWindow* window) {
  if (!window) return;
  window->MoveTo(nextLeft, nextTop);
  window->SetDecorated(true);
  ++openWindows;
  if (staggerStep == kStaggerSteps) {
    ResetStagger();
  } else {
    nextLeft = SInt16(nextLeft + kStaggerH);
    nextTop = SInt16(nextTop + kStaggerV);
    ++staggerStep;
  }
}

void VLDecorator::WindowClosed(CWindow*) {
  if (openWindows > 0) --openWindows;
  if (openWindows == 0) ResetStagger();
}
