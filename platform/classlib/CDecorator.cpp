#include "CDecorator.h"

#include "CWindow.h"
#include "Screen.h"

namespace {
constexpr SInt16 kFirstLeft = 8;
constexpr SInt16 kStaggerH = 8;
constexpr SInt16 kStaggerV = 16;
constexpr SInt16 kStaggerSteps = 5;
}  // namespace

CDecorator::~CDecorator() {
  if (gDecorator == this) gDecorator = nullptr;
}

void CDecorator::IDecorator() { ResetStagger(); }

void CDecorator::ResetStagger() {
  Rect client = vlui::ClientRect();
  staggerStep = 1;
  nextLeft = SInt16(client.left + kFirstLeft);
  nextTop = SInt16(client.top + kTitleBarHeight + 2);
  defaultWidth = SInt16(client.right - nextLeft - (kStaggerSteps - 1) * kStaggerH - 8);
  defaultHeight = SInt16(client.bottom - nextTop - (kStaggerSteps - 1) * kStaggerV - 8);
  if (defaultWidth < kMinWindowWidth) defaultWidth = kMinWindowWidth;
  if (defaultHeight < kMinWindowHeight) defaultHeight = kMinWindowHeight;
}

void CDecorator::PlaceNewWindow(CWindow* window, Boolean useDefaultSize) {
  if (!window) return;
  Rect client = vlui::ClientRect();
  SInt16 w = useDefaultSize ? defaultWidth : window->GetWidth();
  SInt16 h = useDefaultSize ? defaultHeight : window->GetHeight();
  Boolean cut = false;
  if (nextLeft + w > client.right) {
    w = SInt16(client.right - nextLeft);
    cut = true;
  }
  if (nextTop + h > client.bottom) {
    h = SInt16(client.bottom - nextTop);
    cut = true;
  }
  StaggerWindow(window);
  if (useDefaultSize || cut) window->SetSize(w, h);
}

void CDecorator::StaggerWindow(CWindow* window) {
  if (!window) return;
  window->MoveTo(nextLeft, nextTop);
  window->SetDecorated(true);
  ++openWindows;
  if (staggerStep >= kStaggerSteps) {
    ResetStagger();
  } else {
    nextLeft = SInt16(nextLeft + kStaggerH);
    nextTop = SInt16(nextTop + kStaggerV);
    ++staggerStep;
  }
}

void CDecorator::CenterWindow(CWindow* window) {
  if (!window) return;
  Rect client = vlui::ClientRect();
  SInt16 w = window->GetWidth(), h = window->GetHeight();
  SInt16 left = SInt16(client.left + (client.right - client.left - w) / 2);
  SInt16 top = SInt16(client.top + (client.bottom - client.top - h) / 3);
  if (top < client.top + kTitleBarHeight) top = SInt16(client.top + kTitleBarHeight);
  window->MoveTo(left, top);
}

void CDecorator::WindowClosed(CWindow*) {
  if (openWindows > 0) --openWindows;
  if (openWindows == 0) ResetStagger();
}
