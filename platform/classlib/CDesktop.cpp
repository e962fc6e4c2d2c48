#include "CDesktop.h"

#include "Alerts.h"
#include "CApplication.h"
#include "CWindow.h"
#include "Cursors.h"

CDesktop::~CDesktop() {
  if (gDesktop == this) gDesktop = nullptr;
}

void CDesktop::IDesktop(CBureaucrat* supervisor) {
  IView(nullptr, supervisor);
  active = true;
}

CWindow* CDesktop::FindWindowObject(WindowPtr window) {
  if (!window || !PortIsWindow(window)) return nullptr;
  auto* view = static_cast<CView*>(PortFindWindowObject(window));
  return dynamic_cast<CWindow*>(view);
}

std::vector<CWindow*> CDesktop::GetWindows() const {
  std::vector<CWindow*> windows;
  for (WindowPtr w = PortGetWindowList(); w; w = PortGetNextWindow(w)) {
    CWindow* object = FindWindowObject(w);
    if (object && object->GetEnclosure() == this) windows.push_back(object);
  }
  return windows;
}

CWindow* CDesktop::GetTopWindow() const {
  for (WindowPtr w = PortGetWindowList(); w; w = PortGetNextWindow(w))
    if (PortIsWindowVisible(w)) return FindWindowObject(w);
  return nullptr;
}

CWindow* CDesktop::GetActiveWindow() const { return FindWindowObject(PortActiveWindow()); }

void CDesktop::SelectWindow(CWindow* window) {
  if (window) window->Select();
}

void CDesktop::Prepare() {}

void CDesktop::UpdateWindows() {
  for (CWindow* window : GetWindows()) {
    WindowPtr w = window->GetMacWindow();
    if (w && w->updateRgn && !PortEmptyRegion(w->updateRgn)) window->Update();
  }
}

Boolean CDesktop::DispatchClick(const EventRecord* event) {
  WindowPtr hit = nullptr;
  SInt16 part = PortFindWindow(event->where, &hit);
  if (!hit) return false;
  WindowPtr front = PortFrontWindow();
  if (front && front != hit && front->layer == WindowLayer::kModal) {
    PortBeep(1);
    return true;
  }
  CWindow* window = FindWindowObject(hit);
  if (!window) return false;
  window->DispatchMouseDown(part, event);
  return true;
}

void CDesktop::AdjustCursor(Point globalWhere, RgnHandle mouseRgn) {
  WindowPtr hit = nullptr;
  SInt16 part = PortFindWindow(globalWhere, &hit);
  CWindow* window = part == inContent ? FindWindowObject(hit) : nullptr;
  if (!window) {
    if (gLastViewHit) {
      CView* left = gLastViewHit;
      gLastViewHit = nullptr;
      Point where = globalWhere;
      if (CWindow* its = left->GetWindow()) its->GlobalToWindow(&where);
      LongPt p;
      QDToLongPt(where, &p);
      left->WindToFrame(&p);
      LongToQDPt(&p, &where);
      left->MouseExited(where);
    }
    PortSetArrowCursor();
    return;
  }
  Point where = globalWhere;
  window->GlobalToWindow(&where);
  window->AdjustCursor(where, mouseRgn);
}

void CDesktop::ResetWindowOrigins() {
  GrafPtr saved = PortCurrentPort();
  for (CWindow* window : GetWindows()) {
    if (!window->GetMacWindow()) continue;
    window->EventHandled();
    PortSetPort(window->GetMacWindow());
    PortSetOrigin(0, 0);
    Rect open{-32768, -32768, 32767, 32767};
    PortClipRect(&open);
  }
  PortSetPort(saved);
}
