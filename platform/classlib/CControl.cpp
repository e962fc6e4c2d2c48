#include "CControl.h"

#include <map>

#include "CWindow.h"

namespace {
// The window layer's controls and the panes that own them, for the tracking action.
std::map<ControlHandle, CControl*>& ControlOwners() {
  static std::map<ControlHandle, CControl*> owners;
  return owners;
}

SInt16 Clamp(SInt16 v, SInt16 lo, SInt16 hi) { return v < lo ? lo : v > hi ? hi : v; }
}  // namespace

CControl::~CControl() {
  if (macControl) {
    ControlOwners().erase(macControl);
    if (PortIsControl(macControl)) PortDisposeControl(macControl);
    macControl = nullptr;
  }
}

void CControl::IControl(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                        SizingOption hS, SizingOption vS, SInt16 kind, ConstStringPtr newTitle, SInt16 newValue,
                        SInt16 newMin, SInt16 newMax) {
  Init(enclosure, supervisor, w, h, hE, vE, hS, vS);
  wantsClicks = true;
  procID = kind;
  minValue = newMin;
  maxValue = newMax < newMin ? newMin : newMax;
  value = Clamp(newValue, minValue, maxValue);
  title = newTitle ? PStrToStd(newTitle) : std::string();
  CWindow* window = GetWindow();
  if (window && window->GetMacWindow()) {
    Rect r = WindowBounds();
    Str255 t(title);
    // Made hidden and shown with the next update, so it is drawn with the window's contents.
    macControl = PortNewControl(window->GetMacWindow(), &r, t, false, value, minValue, maxValue, procID, 0);
    if (macControl) {
      ControlOwners()[macControl] = this;
      SyncMacControl();
    }
  }
  Refresh();
}

void CControl::SetValue(SInt16 newValue) {
  newValue = Clamp(newValue, minValue, maxValue);
  if (newValue == value) return;
  value = newValue;
  if (macControl) PortSetControlValue(macControl, value);
  Refresh();
}

void CControl::SetMinValue(SInt16 newMin) {
  minValue = newMin;
  if (maxValue < minValue) maxValue = minValue;
  value = Clamp(value, minValue, maxValue);
  SyncMacControl();
  Refresh();
}

void CControl::SetMaxValue(SInt16 newMax) {
  maxValue = newMax < minValue ? minValue : newMax;
  value = Clamp(value, minValue, maxValue);
  SyncMacControl();
  Refresh();
}

void CControl::SetTitle(ConstStringPtr newTitle) {
  title = newTitle ? PStrToStd(newTitle) : std::string();
  if (macControl) {
    Str255 t(title);
    PortSetControlTitle(macControl, t);
  }
  Refresh();
}

void CControl::GetTitle(StringPtr out) const { PStrCopy(out, Str255(title)); }

void CControl::Activate() {
  if (activationDepth == 0) dimmed = false;
  CPane::Activate();
  SyncMacControl();
  Refresh();
}

void CControl::Deactivate() {
  if (activationDepth == 0) dimmed = true;
  CPane::Deactivate();
  SyncMacControl();
  Refresh();
}

void CControl::Show() {
  CPane::Show();
  SyncMacControl();
}

void CControl::Hide() {
  CPane::Hide();
  SyncMacControl();
}

void CControl::Hilite(SInt16 part) {
  if (!macControl) return;
  PrepareWindowCoordinates();
  PortHiliteControl(macControl, part);
}

void CControl::DoClick(Point hitPt, SInt16, long) {
  if (dimmed || !ReallyVisible()) return;
  if (!macControl) {
    DoGoodClick(procID == scrollBarProc ? kControlIndicatorPart : kControlButtonPart);
    return;
  }
  PrepareWindowCoordinates();
  Point where{SInt16(hitPt.v - vOrigin), SInt16(hitPt.h - hOrigin)};
  SInt16 part = PortTrackControl(macControl, where, procID == scrollBarProc ? &CControl::TrackAction : nullptr);
  if (part != kControlNoPart) DoGoodClick(part);
}

void CControl::TrackAction(ControlHandle control, SInt16 part) {
  auto it = ControlOwners().find(control);
  if (it != ControlOwners().end() && part != kControlNoPart) it->second->DoTrackAction(part);
}

void CControl::DoTrackAction(SInt16) {}

void CControl::DoGoodClick(SInt16) { SendClickCommand(); }

void CControl::SendClickCommand() {
  if (clickCmd != 0 && itsSupervisor) itsSupervisor->DoCommand(clickCmd);
}

void CControl::Draw(const Rect*) {
  if (!macControl) return;
  PrepareWindowCoordinates();
  PortDraw1Control(macControl);
  Prepare();
}

void CControl::CalcAperture() {
  CPane::CalcAperture();
  if (macControl) {
    Rect r = WindowBounds();
    Rect old;
    PortGetControlBounds(macControl, &old);
    if (old != r) {
      // Moving and sizing a control draws it; keep that off the screen until the next update.
      Boolean shown = (*macControl)->visible;
      (*macControl)->visible = false;
      PortMoveControl(macControl, r.left, r.top);
      PortSizeControl(macControl, SInt16(r.right - r.left), SInt16(r.bottom - r.top));
      (*macControl)->visible = shown;
    }
  }
}

void CControl::PrepareWindowCoordinates() {
  if (!macPort) return;
  PortSetPort(macPort);
  PortSetOrigin(0, 0);
  LongRect a = aperture;
  FrameToWindR(&a);
  Rect clip;
  LongToQDRect(&a, &clip);
  PortClipRect(&clip);
}

Rect CControl::WindowBounds() const {
  LongRect f = frame;
  FrameToWindR(&f);
  Rect r;
  LongToQDRect(&f, &r);
  return r;
}

void CControl::SyncMacControl() {
  if (!macControl) return;
  ControlRecord* c = *macControl;
  c->minimum = minValue;
  c->maximum = maxValue;
  c->value = value;
  c->visible = ReallyVisible();
  c->hilite = UInt8((dimmed || !active) ? kControlInactive : 0);
}
