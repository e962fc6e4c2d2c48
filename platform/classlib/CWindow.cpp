#include "CWindow.h"

#include "CDecorator.h"
#include "CDesktop.h"
#include "CDirector.h"
#include "CException.h"
#include "CPane.h"
#include "Commands.h"
#include "Cursors.h"
#include "PString.h"
#include "Resources.h"

CWindow::~CWindow() { CloseMacWindow(); }

void CWindow::CloseMacWindow() {
  // The panes go first: their controls belong to the window.
  while (!itsSubviews.empty()) {
    CView* sub = itsSubviews.back();
    sub->Dispose();
    if (!itsSubviews.empty() && itsSubviews.back() == sub) itsSubviews.pop_back();
  }
  if (decorated && gDecorator) gDecorator->WindowClosed(this);
  decorated = false;
  if (CDirector* director = GetDirector(); director && director->GetWindow() == this) director->SetWindow(nullptr);
  if (macWindow) {
    WindowPtr w = macWindow;
    macWindow = nullptr;
    if (PortIsWindow(w)) {
      PortSetWindowObject(w, nullptr);
      PortDisposeWindow(w);
    }
  }
}

void CWindow::Init(SInt16 windowID, Boolean isFloating, CDesktop* enclosure, CBureaucrat* supervisor) {
  Handle h = PortLoadResource(FourCC("WIND"), windowID);
  vlres::WindowTemplate t;
  if (!h || !vlres::ParseWindow(h, &t)) Failure(resNotFound, 0);
  Str255 title(t.title);
  WindowPtr w = PortNewWindow(nullptr, &t.bounds, title, false, t.procId, kFirstWindowOfClass, t.goAway, t.refCon);
  if (!w) Failure(memFullErr, 0);
  AdoptMacWindow(w, isFloating, enclosure, supervisor);
}

void CWindow::InitFromParameters(const Rect* bounds, SInt16 procID, Boolean goAway, ConstStringPtr title,
                                 Boolean isFloating, CDesktop* enclosure, CBureaucrat* supervisor) {
  WindowPtr w = PortNewWindow(nullptr, bounds, title, false, procID, kFirstWindowOfClass, goAway, 0);
  if (!w) Failure(memFullErr, 0);
  AdoptMacWindow(w, isFloating, enclosure, supervisor);
}

void CWindow::AdoptMacWindow(WindowPtr w, Boolean isFloating, CDesktop* enclosure, CBureaucrat* supervisor) {
  macWindow = w;
  floating = isFloating;
  if (floating && w->layer != WindowLayer::kFloating) PortSetWindowLayer(w, WindowLayer::kFloating);
  PortSetWindowObject(w, this);
  IView(enclosure, supervisor);
  SetMacPort(w);
  visible = PortIsWindowVisible(w);
  active = false;
  hOrigin = vOrigin = 0;
  SetLongRect(&aperture, 0, 0, GetWidth(), GetHeight());
  if (CDirector* director = GetDirector()) director->SetWindow(this);
}

CWindow* CWindow::GetWindow() const { return const_cast<CWindow*>(this); }

CDirector* CWindow::GetDirector() const { return dynamic_cast<CDirector*>(itsSupervisor); }

void CWindow::SetTitle(ConstStringPtr title) {
  if (macWindow) PortSetWTitle(macWindow, title);
}

void CWindow::GetTitle(StringPtr title) const {
  if (macWindow)
    PortGetWTitle(macWindow, title);
  else
    title[0] = 0;
}

void CWindow::MoveTo(SInt16 h, SInt16 v) {
  if (macWindow) PortMoveWindow(macWindow, h, v, false);
}

void CWindow::SetPendingLocation(SInt16 h, SInt16 v) {
  pendingPlace = Point{v, h};
  pendingLocation = true;
}

void CWindow::ApplyPendingLocation() {
  if (pendingLocation) MoveTo(pendingPlace.h, pendingPlace.v);
  pendingLocation = false;
  Show();
}

void CWindow::SetSize(SInt16 w, SInt16 h) {
  if (!macWindow) return;
  SInt16 oldW = GetWidth(), oldH = GetHeight();
  PortSizeWindow(macWindow, w, h, true);
  ContentResized(oldW, oldH);
}

void CWindow::GetFrameRect(Rect* r) const {
  if (macWindow)
    PortGetWindowStructureRect(macWindow, r);
  else
    *r = Rect{};
}

void CWindow::GetContentRect(Rect* r) const {
  if (macWindow)
    PortGetWindowContentRect(macWindow, r);
  else
    *r = Rect{};
}

SInt16 CWindow::GetWidth() const {
  return macWindow ? SInt16(macWindow->content.right - macWindow->content.left) : 0;
}

SInt16 CWindow::GetHeight() const {
  return macWindow ? SInt16(macWindow->content.bottom - macWindow->content.top) : 0;
}

void CWindow::Show() {
  if (!macWindow) return;
  visible = true;
  if (!PortIsWindowVisible(macWindow)) PortShowWindow(macWindow);
}

void CWindow::Hide() {
  if (!macWindow) return;
  visible = false;
  if (PortIsWindowVisible(macWindow)) PortHideWindow(macWindow);
}

void CWindow::Reveal() {
  Show();
  Select();
}

void CWindow::Select() {
  if (macWindow) PortSelectWindow(macWindow);
}

Boolean CWindow::IsFrontWindow() const {
  return macWindow && (floating ? PortFrontWindow() == macWindow : PortActiveWindow() == macWindow);
}

void CWindow::Activate() {
  CView::Activate();
  if (CDirector* director = GetDirector()) director->ActivateWindow();
}

void CWindow::Deactivate() {
  CView::Deactivate();
  if (CDirector* director = GetDirector()) director->DeactivateWindow();
}

void CWindow::DispatchMouseDown(SInt16 part, const EventRecord* event) {
  if (!macWindow) return;
  switch (part) {
    case inContent: {
      if (!floating && PortActiveWindow() != macWindow) {
        Select();
        if (!actionClick) return;
      }
      EventRecord local = *event;
      GlobalToWindow(&local.where);
      DispatchClick(&local);
      break;
    }
    case inDrag:
      Drag(event);
      break;
    case inGrow:
      Grow(event);
      break;
    case inGoAway:
      if (PortTrackGoAway(macWindow, event->where)) Close(false);
      break;
    case inZoomIn:
    case inZoomOut:
      if (PortTrackBox(macWindow, event->where, part)) Zoom(part);
      break;
    default:
      break;
  }
}

void CWindow::Drag(const EventRecord* event) { PortDragWindow(macWindow, event->where, nullptr); }

void CWindow::Grow(const EventRecord* event) {
  SInt16 oldW = GetWidth(), oldH = GetHeight();
  SInt32 size = PortGrowWindow(macWindow, event->where, &sizeRect);
  if (size == 0) return;
  PortSizeWindow(macWindow, SInt16(size & 0xFFFF), SInt16((size >> 16) & 0xFFFF), true);
  ContentResized(oldW, oldH);
}

void CWindow::Zoom(SInt16 part) {
  SInt16 oldW = GetWidth(), oldH = GetHeight();
  PortZoomWindow(macWindow, part, false);
  ContentResized(oldW, oldH);
}

void CWindow::ContentResized(SInt16 oldW, SInt16 oldH) {
  SInt16 w = GetWidth(), h = GetHeight();
  SetLongRect(&aperture, 0, 0, w, h);
  if (w == oldW && h == oldH) return;
  Rect delta{0, 0, SInt16(h - oldH), SInt16(w - oldW)};
  for (CView* sub : std::vector<CView*>(itsSubviews)) {
    if (auto* pane = dynamic_cast<CPane*>(sub))
      pane->AdjustToEnclosure(&delta);
    else
      sub->CalcAperture();
  }
  // Panes that follow the size change are drawn again as a whole.
  Refresh();
}

Boolean CWindow::Close(Boolean quitting) {
  if (CDirector* director = GetDirector()) return director->Close(quitting);
  Dispose();
  return true;
}

void CWindow::Update() {
  if (!macWindow) return;
  PortSetPort(macWindow);
  PortSetOrigin(0, 0);
  Rect area{};
  if (macWindow->updateRgn) {
    area = (*macWindow->updateRgn)->rgnBBox;
    PortOffsetRect(&area, -macWindow->content.left, -macWindow->content.top);
  }
  PortBeginUpdate(macWindow);
  if (!PortEmptyRect(&area)) DrawAll(&area);
  // The window layer restores the visible region in the window's own coordinates.
  PortSetPort(macWindow);
  PortSetOrigin(0, 0);
  PortEndUpdate(macWindow);
}

void CWindow::Prepare() {
  if (!macWindow) return;
  PortSetPort(macWindow);
  PortSetOrigin(0, 0);
  Rect clip;
  LongToQDRect(&aperture, &clip);
  PortClipRect(&clip);
}

void CWindow::DrawAll(const Rect* area) {
  if (!macWindow) return;
  CView::DrawAll(area);
  if (macWindow->hasGrow) {
    Prepare();
    PortDrawGrowIcon(macWindow);
  }
}

void CWindow::Draw(const Rect* area) { PortEraseRect(area); }

void CWindow::InvalidateArea(const Rect* area) {
  if (!macWindow || !area) return;
  // The window layer takes local coordinates of the port's present origin.
  Rect local = *area;
  PortOffsetRect(&local, macWindow->portRect.left, macWindow->portRect.top);
  PortInvalRect(macWindow, &local);
}

void CWindow::Refresh() {
  Rect all;
  LongToQDRect(&aperture, &all);
  InvalidateArea(&all);
}

void CWindow::AdjustCursor(Point where, RgnHandle mouseRgn) {
  CView* view = FindSubview(where);
  if (view != gLastViewHit) {
    if (gLastViewHit) {
      LongPt p;
      QDToLongPt(where, &p);
      gLastViewHit->WindToFrame(&p);
      Point local;
      LongToQDPt(&p, &local);
      gLastViewHit->MouseExited(local);
    }
    gLastViewHit = view;
  }
  if (!view) {
    PortSetArrowCursor();
    return;
  }
  LongPt p;
  QDToLongPt(where, &p);
  view->WindToFrame(&p);
  Point local;
  LongToQDPt(&p, &local);
  view->AdjustCursor(local, mouseRgn);
}

void CWindow::GlobalToWindow(Point* p) const {
  if (!macWindow) return;
  p->h = SInt16(p->h - macWindow->content.left);
  p->v = SInt16(p->v - macWindow->content.top);
}

void CWindow::WindowToGlobal(Point* p) const {
  if (!macWindow) return;
  p->h = SInt16(p->h + macWindow->content.left);
  p->v = SInt16(p->v + macWindow->content.top);
}
