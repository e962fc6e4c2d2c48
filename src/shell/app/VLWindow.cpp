#include "VLWindow.h"

#include <new>

#include "CApplication.h"
#include "CDirector.h"
#include "CException.h"
#include "Screen.h"
#include "Unwinding.h"

void VLWindow::Activate() {
  if (active) return;
  if (macWindow) PortHiliteWindow(macWindow, true);
  CWindow::Activate();
}

void VLWindow::Deactivate() {
  if (!active) return;
  if (macWindow) PortHiliteWindow(macWindow, false);
  CWindow::Deactivate();
}

void VLWindow::SetSize(SInt16 width, SInt16 height) {
  Rect client = vlui::ClientRect();
  Rect limits{kMinSize, kMinSize, height > client.bottom ? height : client.bottom,
              width > client.right ? width : client.right};
  SetSizeRect(&limits);
  CWindow::SetSize(width, height);
}

VLWindow* VLWindow::Make(SInt16 windowID, CDirector* director) {
  Owned<VLWindow> window(new (std::nothrow) VLWindow);
  FailNIL(window.get());
  window->Init(windowID, false, gDesktop, director);
  return window.release();
}
