// Controls: push buttons, check boxes, radio buttons, scroll bars and popup menus.
#include "Controls.h"

#include <algorithm>
#include <map>
#include <set>

#include "Memory.h"
#include "PString.h"
#include "Resources.h"
#include "Screen.h"
#include "UiInternal.h"

namespace {

using namespace vlui::internal;

std::map<ControlHandle, ControlRecord*> gControls;
std::map<WindowPtr, ControlRecord*> gFirst;

ControlRecord* Rec(ControlHandle c) {
  auto it = gControls.find(c);
  return it == gControls.end() ? nullptr : it->second;
}

bool IsScrollBar(const ControlRecord* c) { return (c->procID & ~15) == scrollBarProc; }
bool IsPopup(const ControlRecord* c) { return (c->procID & ~15) == popupMenuProc; }
SInt16 Kind(const ControlRecord* c) { return IsScrollBar(c) || IsPopup(c) ? c->procID & ~15 : c->procID & 7; }
bool Active(const ControlRecord* c) { return c->hilite != kControlInactive; }

// Scroll bar geometry.
struct BarParts {
  bool vertical;
  Rect up, down, track, thumb;
  bool hasThumb;
};

BarParts Parts(const ControlRecord* c) {
  BarParts p{};
  const Rect& b = c->bounds;
  p.vertical = (b.bottom - b.top) >= (b.right - b.left);
  SInt16 length = p.vertical ? SInt16(b.bottom - b.top) : SInt16(b.right - b.left);
  SInt16 arrow = std::min<SInt16>(kScrollBarWidth, SInt16(length / 3));
  if (p.vertical) {
    p.up = Rect{b.top, b.left, SInt16(b.top + arrow), b.right};
    p.down = Rect{SInt16(b.bottom - arrow), b.left, b.bottom, b.right};
    p.track = Rect{p.up.bottom, b.left, p.down.top, b.right};
  } else {
    p.up = Rect{b.top, b.left, b.bottom, SInt16(b.left + arrow)};
    p.down = Rect{b.top, SInt16(b.right - arrow), b.bottom, b.right};
    p.track = Rect{b.top, p.up.right, b.bottom, p.down.left};
  }
  SInt16 trackLen = p.vertical ? SInt16(p.track.bottom - p.track.top) : SInt16(p.track.right - p.track.left);
  SInt16 thumbLen = std::min<SInt16>(kScrollBarWidth, trackLen);
  p.hasThumb = Active(c) && c->maximum > c->minimum && trackLen >= thumbLen && thumbLen > 4;
  if (p.hasThumb) {
    long range = long(c->maximum) - c->minimum;
    SInt16 offset = SInt16((long(c->value) - c->minimum) * (trackLen - thumbLen) / range);
    if (p.vertical)
      p.thumb = Rect{SInt16(p.track.top + offset), b.left, SInt16(p.track.top + offset + thumbLen), b.right};
    else
      p.thumb = Rect{b.top, SInt16(p.track.left + offset), b.bottom, SInt16(p.track.left + offset + thumbLen)};
  }
  return p;
}

void Triangle(const Rect& box, int direction, UInt32 ink) {
  // direction: 0 up, 1 down, 2 left, 3 right
  SInt16 cx = SInt16((box.left + box.right) / 2), cy = SInt16((box.top + box.bottom) / 2);
  for (SInt16 i = 0; i < 4; ++i) {
    switch (direction) {
      case 0: FillRect(Rect{SInt16(cy - 2 + i), SInt16(cx - i), SInt16(cy - 1 + i), SInt16(cx + i + 1)}, ink); break;
      case 1: FillRect(Rect{SInt16(cy + 1 - i), SInt16(cx - i), SInt16(cy + 2 - i), SInt16(cx + i + 1)}, ink); break;
      case 2: FillRect(Rect{SInt16(cy - i), SInt16(cx - 2 + i), SInt16(cy + i + 1), SInt16(cx - 1 + i)}, ink); break;
      default: FillRect(Rect{SInt16(cy - i), SInt16(cx + 1 - i), SInt16(cy + i + 1), SInt16(cx + 2 - i)}, ink); break;
    }
  }
}

SInt16 Baseline(const Rect& r) {
  FontInfo fi;
  PortGetFontInfo(&fi);
  return SInt16(r.top + (r.bottom - r.top + fi.ascent - fi.descent) / 2);
}

void DrawButton(const ControlRecord* c) {
  Rect r = c->bounds;
  bool pressed = c->hilite == kControlButtonPart;
  SetFore(pressed ? kSelectColor : kWhite);
  PortPaintRoundRect(&r, 12, 12);
  SetFore(Active(c) ? kBlack : kDimTextColor);
  PortFrameRoundRect(&r, 12, 12);
  SInt16 w = TextWidth(c->title);
  DrawText(c->title, SInt16(r.left + (r.right - r.left - w) / 2), Baseline(r),
           pressed ? kSelectTextColor : Active(c) ? kBlack : kDimTextColor);
}

void DrawCheck(const ControlRecord* c, bool radio) {
  const Rect& r = c->bounds;
  SInt16 top = SInt16(r.top + (r.bottom - r.top - 12) / 2);
  Rect box{top, SInt16(r.left + 2), SInt16(top + 12), SInt16(r.left + 14)};
  FillRect(r, kWhite);
  UInt32 ink = Active(c) ? kBlack : kDimTextColor;
  bool pressed = c->hilite == kControlCheckBoxPart || c->hilite == kControlButtonPart;
  if (radio) {
    SetFore(ink);
    PortFrameOval(&box);
    if (pressed) {
      Rect in = box;
      PortInsetRect(&in, 1, 1);
      PortFrameOval(&in);
    }
    if (c->value) {
      Rect dot = box;
      PortInsetRect(&dot, 3, 3);
      PortPaintOval(&dot);
    }
  } else {
    FrameRect(box, ink);
    if (pressed) {
      Rect in = box;
      PortInsetRect(&in, 1, 1);
      FrameRect(in, ink);
    }
    if (c->value == 1) {
      SetFore(ink);
      PortPenSize(1, 1);
      PortPenMove(SInt16(box.left + 2), SInt16(box.top + 2));
      PortPenLine(SInt16(box.right - 3), SInt16(box.bottom - 3));
      PortPenMove(SInt16(box.right - 3), SInt16(box.top + 2));
      PortPenLine(SInt16(box.left + 2), SInt16(box.bottom - 3));
    } else if (c->value == 2) {  // mixed
      FillRect(Rect{SInt16(box.top + 5), SInt16(box.left + 3), SInt16(box.top + 7), SInt16(box.right - 3)}, ink);
    }
  }
  DrawText(c->title, SInt16(box.right + 5), Baseline(r), ink);
}

void DrawScrollBar(const ControlRecord* c) {
  BarParts p = Parts(c);
  FillRect(c->bounds, kWhite);
  FrameRect(c->bounds, kBlack);
  if (!Active(c) || c->maximum <= c->minimum) return;
  for (const Rect* arrow : {&p.up, &p.down}) {
    bool pressed = (arrow == &p.up && c->hilite == kControlUpButtonPart) ||
                   (arrow == &p.down && c->hilite == kControlDownButtonPart);
    FillRect(*arrow, pressed ? kSelectColor : kFaceColor);
    FrameRect(*arrow, kBlack);
    int dir = p.vertical ? (arrow == &p.up ? 0 : 1) : (arrow == &p.up ? 2 : 3);
    Triangle(*arrow, dir, pressed ? kWhite : kBlack);
  }
  Rect track = p.track;
  if (p.vertical) PortInsetRect(&track, 1, 0);
  else PortInsetRect(&track, 0, 1);
  PortFillRect(&track, &qd.ltGray);
  if (p.hasThumb) {
    FillRect(p.thumb, kFaceColor);
    FrameRect(p.thumb, kBlack);
  }
}

Rect PopupBox(const ControlRecord* c) {
  Rect box = c->bounds;
  if (c->maximum > 0 && !c->title.empty()) box.left = SInt16(std::min<int>(box.right - 20, box.left + c->maximum));
  box.right = SInt16(box.right - 1);
  box.bottom = SInt16(box.bottom - 1);
  return box;
}

void DrawPopup(const ControlRecord* c) {
  FillRect(c->bounds, kWhite);
  UInt32 ink = Active(c) ? kBlack : kDimTextColor;
  Rect box = PopupBox(c);
  if (!c->title.empty()) DrawText(FitText(c->title, SInt16(box.left - c->bounds.left - 4)), c->bounds.left, Baseline(box), ink);
  FrameRect(box, ink);
  FillRect(Rect{SInt16(box.top + 2), box.right, SInt16(box.bottom + 1), SInt16(box.right + 1)}, ink);
  FillRect(Rect{box.bottom, SInt16(box.left + 2), SInt16(box.bottom + 1), SInt16(box.right + 1)}, ink);
  Str255 text;
  text[0] = 0;
  if (c->popupMenu) PortGetMenuItemText(c->popupMenu, c->value, text);
  Rect arrow{box.top, SInt16(box.right - 18), box.bottom, box.right};
  DrawText(FitText(PStrToStd(text), SInt16(arrow.left - box.left - 8)), SInt16(box.left + 6), Baseline(box), ink);
  Triangle(arrow, 1, ink);
}

void Draw(ControlRecord* c) {
  if (!c->visible || !PortIsWindow(c->owner) || !c->owner->visible) return;
  PortKeeper keep;
  PortSetPort(c->owner);
  PortPenNormal();
  UseFont(kSystemSize);
  switch (Kind(c)) {
    case pushButProc: DrawButton(c); break;
    case checkBoxProc: DrawCheck(c, false); break;
    case radioButProc: DrawCheck(c, true); break;
    case scrollBarProc: DrawScrollBar(c); break;
    case popupMenuProc: DrawPopup(c); break;
    default: DrawButton(c); break;
  }
  vlui::NoteScreenChanged();
}

SInt16 Test(const ControlRecord* c, Point pt) {
  if (!c->visible || !Active(c) || !PortPtInRect(pt, &c->bounds)) return kControlNoPart;
  switch (Kind(c)) {
    case checkBoxProc:
    case radioButProc: return kControlCheckBoxPart;
    case scrollBarProc: {
      if (c->maximum <= c->minimum) return kControlNoPart;
      BarParts p = Parts(c);
      if (PortPtInRect(pt, &p.up)) return kControlUpButtonPart;
      if (PortPtInRect(pt, &p.down)) return kControlDownButtonPart;
      if (p.hasThumb && PortPtInRect(pt, &p.thumb)) return kControlIndicatorPart;
      if (!p.hasThumb) return kControlNoPart;
      bool before = p.vertical ? pt.v < p.thumb.top : pt.h < p.thumb.left;
      return before ? kControlPageUpPart : kControlPageDownPart;
    }
    default: return kControlButtonPart;
  }
}

Point LocalMouse(WindowPtr w) {
  PortKeeper keep;
  PortSetPort(w);
  Point p;
  PortGetMouse(&p);
  return p;
}

void SetHilite(ControlRecord* c, UInt8 h) {
  if (c->hilite == h) return;
  c->hilite = h;
  Draw(c);
}

void ApplyMenu(ControlRecord* c) {
  if (!IsPopup(c)) return;
  if (c->ownsPopupMenu && c->popupMenu) PortDisposeMenu(c->popupMenu);
  c->popupMenu = nullptr;
  c->ownsPopupMenu = false;
  c->popupMenu = FindAnyMenu(c->minimum);
  if (!c->popupMenu) {
    c->popupMenu = PortGetMenu(c->minimum);
    c->ownsPopupMenu = c->popupMenu != nullptr;
  }
  // The value is the current item; the range is the menu's items.
  c->minimum = c->popupMenu ? c->popupMenu->menuID : c->minimum;
  if (c->value < 1) c->value = 1;
}

}  // namespace

namespace vlui::internal {

void KillControlsOf(WindowPtr window) { PortKillControls(window); }

}  // namespace vlui::internal

ControlHandle PortNewControl(WindowPtr window, const Rect* bounds, ConstStringPtr title, Boolean visible, SInt16 value,
                             SInt16 minimum, SInt16 maximum, SInt16 procID, SInt32 refCon) {
  if (!PortIsWindow(window) || !bounds) return nullptr;
  auto* c = new ControlRecord;
  c->master = c;
  c->owner = window;
  c->bounds = *bounds;
  c->visible = visible;
  c->procID = procID;
  c->refCon = refCon;
  c->title = title ? PStrToStd(title) : std::string();
  c->minimum = minimum;
  c->maximum = maximum;
  c->value = value;
  gControls[&c->master] = c;
  if (IsPopup(c)) {
    ApplyMenu(c);
  } else {
    if (c->maximum < c->minimum) c->maximum = c->minimum;
    c->value = std::clamp(c->value, c->minimum, c->maximum);
  }
  // Appended to the window's list.
  ControlRecord*& first = gFirst[window];
  if (!first) {
    first = c;
  } else {
    ControlRecord* last = first;
    while (last->nextControl) last = last->nextControl;
    last->nextControl = c;
  }
  Draw(c);
  return &c->master;
}

ControlHandle PortGetNewControl(SInt16 resourceID, WindowPtr window) {
  Handle h = PortLoadResource(FourCC("CNTL"), resourceID);
  if (!h) return nullptr;
  vlres::ControlTemplate t;
  if (!vlres::ParseControl(h, &t)) return nullptr;
  Str255 title(t.title);
  return PortNewControl(window, &t.bounds, title, t.visible, t.value, t.minimum, t.maximum, t.procId, t.refCon);
}

void PortDisposeControl(ControlHandle control) {
  ControlRecord* c = Rec(control);
  if (!c) return;
  if (PortIsWindow(c->owner) && c->visible) {
    PortKeeper keep;
    PortSetPort(c->owner);
    Rect r = c->bounds;
    if (IsPopup(c)) {
      r.right = SInt16(r.right + 1);
      r.bottom = SInt16(r.bottom + 1);
    }
    PortEraseRect(&r);
    PortInvalRect(c->owner, &r);
  }
  auto it = gFirst.find(c->owner);
  if (it != gFirst.end()) {
    if (it->second == c) {
      it->second = c->nextControl;
      if (!it->second) gFirst.erase(it);
    } else {
      for (ControlRecord* o = it->second; o; o = o->nextControl) {
        if (o->nextControl == c) {
          o->nextControl = c->nextControl;
          break;
        }
      }
    }
  }
  if (c->ownsPopupMenu && c->popupMenu) PortDisposeMenu(c->popupMenu);
  gControls.erase(&c->master);
  delete c;
}

void PortKillControls(WindowPtr window) {
  auto it = gFirst.find(window);
  while (it != gFirst.end()) {
    ControlRecord* c = it->second;
    c->visible = false;  // nothing to erase: the window goes
    PortDisposeControl(&c->master);
    it = gFirst.find(window);
  }
}

ControlHandle PortGetFirstControl(WindowPtr window) {
  auto it = gFirst.find(window);
  return it == gFirst.end() ? nullptr : &it->second->master;
}

ControlHandle PortGetNextControl(ControlHandle control) {
  ControlRecord* c = Rec(control);
  return c && c->nextControl ? &c->nextControl->master : nullptr;
}

Boolean PortIsControl(ControlHandle control) { return Rec(control) != nullptr; }

void PortDrawControls(WindowPtr window) {
  auto it = gFirst.find(window);
  if (it == gFirst.end()) return;
  for (ControlRecord* c = it->second; c; c = c->nextControl) Draw(c);
}

void PortDraw1Control(ControlHandle control) {
  if (ControlRecord* c = Rec(control)) Draw(c);
}

void PortShowControl(ControlHandle control) {
  ControlRecord* c = Rec(control);
  if (!c || c->visible) return;
  c->visible = true;
  Draw(c);
}

void PortHideControl(ControlHandle control) {
  ControlRecord* c = Rec(control);
  if (!c || !c->visible) return;
  if (PortIsWindow(c->owner)) {
    PortKeeper keep;
    PortSetPort(c->owner);
    Rect r = c->bounds;
    PortEraseRect(&r);
    PortInvalRect(c->owner, &r);
  }
  c->visible = false;
}

void PortHiliteControl(ControlHandle control, SInt16 state) {
  if (ControlRecord* c = Rec(control)) SetHilite(c, UInt8(std::clamp<SInt16>(state, 0, 255)));
}

void PortMoveControl(ControlHandle control, SInt16 h, SInt16 v) {
  ControlRecord* c = Rec(control);
  if (!c) return;
  bool shown = c->visible;
  PortHideControl(control);
  PortOffsetRect(&c->bounds, h - c->bounds.left, v - c->bounds.top);
  if (shown) PortShowControl(control);
}

void PortSizeControl(ControlHandle control, SInt16 width, SInt16 height) {
  ControlRecord* c = Rec(control);
  if (!c) return;
  bool shown = c->visible;
  PortHideControl(control);
  c->bounds.right = SInt16(c->bounds.left + std::max<SInt16>(width, 0));
  c->bounds.bottom = SInt16(c->bounds.top + std::max<SInt16>(height, 0));
  if (shown) PortShowControl(control);
}

void PortGetControlBounds(ControlHandle control, Rect* bounds) {
  ControlRecord* c = Rec(control);
  if (bounds) *bounds = c ? c->bounds : Rect{};
}

void PortSetControlValue(ControlHandle control, SInt16 value) {
  ControlRecord* c = Rec(control);
  if (!c) return;
  if (IsPopup(c)) value = std::clamp<SInt16>(value, 1, std::max<SInt16>(1, PortCountMenuItems(c->popupMenu)));
  else value = std::clamp(value, c->minimum, c->maximum);
  if (value == c->value) return;
  c->value = value;
  Draw(c);
}

SInt16 PortGetControlValue(ControlHandle control) {
  ControlRecord* c = Rec(control);
  return c ? c->value : 0;
}

// A new range; the value stays inside it. A popup's maximum is its title width, its range is
// its menu's items, so only the maximum is kept.
static void SetRange(ControlHandle control, const SInt16* minimum, const SInt16* maximum) {
  ControlRecord* c = Rec(control);
  if (!c) return;
  if (IsPopup(c)) {
    if (maximum) c->maximum = *maximum;
  } else {
    if (minimum) c->minimum = *minimum;
    if (maximum) c->maximum = *maximum;
    c->maximum = std::max(c->maximum, c->minimum);
    c->value = std::clamp(c->value, c->minimum, c->maximum);
  }
  Draw(c);
}

void PortSetControlMinimum(ControlHandle control, SInt16 minimum) { SetRange(control, &minimum, nullptr); }
void PortSetControlMaximum(ControlHandle control, SInt16 maximum) { SetRange(control, nullptr, &maximum); }

SInt16 PortGetControlMinimum(ControlHandle control) {
  ControlRecord* c = Rec(control);
  return c ? c->minimum : 0;
}

SInt16 PortGetControlMaximum(ControlHandle control) {
  ControlRecord* c = Rec(control);
  return c ? c->maximum : 0;
}

void PortSetControlTitle(ControlHandle control, ConstStringPtr title) {
  ControlRecord* c = Rec(control);
  if (!c) return;
  c->title = title ? PStrToStd(title) : std::string();
  Draw(c);
}

void PortGetControlTitle(ControlHandle control, StringPtr title) {
  if (!title) return;
  ControlRecord* c = Rec(control);
  if (!c) {
    title[0] = 0;
    return;
  }
  PStrFromStd(c->title, title);
}

void PortSetControlReference(ControlHandle control, SInt32 refCon) {
  if (ControlRecord* c = Rec(control)) c->refCon = refCon;
}

SInt32 PortGetControlReference(ControlHandle control) {
  ControlRecord* c = Rec(control);
  return c ? c->refCon : 0;
}

void PortSetControlAction(ControlHandle control, ControlActionProcPtr action) {
  if (ControlRecord* c = Rec(control)) c->action = action;
}

ControlActionProcPtr PortGetControlAction(ControlHandle control) {
  ControlRecord* c = Rec(control);
  return c ? c->action : nullptr;
}

MenuHandle PortGetControlPopupMenu(ControlHandle control) {
  ControlRecord* c = Rec(control);
  return c ? c->popupMenu : nullptr;
}

SInt16 PortFindControl(Point where, WindowPtr window, ControlHandle* control) {
  if (control) *control = nullptr;
  auto it = gFirst.find(window);
  if (it == gFirst.end()) return kControlNoPart;
  // The last made lies on top.
  SInt16 found = kControlNoPart;
  for (ControlRecord* c = it->second; c; c = c->nextControl) {
    SInt16 part = Test(c, where);
    if (part == kControlNoPart) continue;
    found = part;
    if (control) *control = &c->master;
  }
  return found;
}

SInt16 PortTestControl(ControlHandle control, Point where) {
  ControlRecord* c = Rec(control);
  return c ? Test(c, where) : SInt16(kControlNoPart);
}

SInt16 PortTrackControl(ControlHandle control, Point where, ControlActionProcPtr action) {
  ControlRecord* c = Rec(control);
  if (!c) return kControlNoPart;
  SInt16 part = Test(c, where);
  if (part == kControlNoPart) return kControlNoPart;
  if (!action) action = c->action;
  WindowPtr owner = c->owner;

  if (IsPopup(c)) {
    Rect box = PopupBox(c);
    Point topLeft{box.top, box.left};
    {
      PortKeeper keep;
      PortSetPort(owner);
      PortLocalToGlobal(&topLeft);
    }
    Rect global{topLeft.v, topLeft.h, SInt16(topLeft.v + box.bottom - box.top), SInt16(topLeft.h + box.right - box.left)};
    SInt16 chosen = PopUpAt(c->popupMenu, global, c->value);
    if (!Rec(control)) return kControlNoPart;
    if (chosen == 0) return SInt16(kControlNoPart);
    PortSetControlValue(control, chosen);
    return part;
  }

  if (part == kControlIndicatorPart) {
    BarParts p = Parts(c);
    SInt16 grab = p.vertical ? SInt16(where.v - p.thumb.top) : SInt16(where.h - p.thumb.left);
    SInt16 trackLen = p.vertical ? SInt16(p.track.bottom - p.track.top) : SInt16(p.track.right - p.track.left);
    SInt16 thumbLen = p.vertical ? SInt16(p.thumb.bottom - p.thumb.top) : SInt16(p.thumb.right - p.thumb.left);
    SInt16 span = SInt16(std::max(1, trackLen - thumbLen));
    auto valueAt = [&](Point pt) {
      SInt16 offset = p.vertical ? SInt16(pt.v - grab - p.track.top) : SInt16(pt.h - grab - p.track.left);
      offset = std::clamp<SInt16>(offset, 0, span);
      long range = long(c->maximum) - c->minimum;
      return SInt16(c->minimum + (long(offset) * range + span / 2) / span);
    };
    Point pt = where;
    while (PortButton()) {
      pt = LocalMouse(owner);
      if (!Rec(control)) return kControlNoPart;
      SInt16 v = valueAt(pt);
      if (v != c->value) {
        c->value = v;
        Draw(c);
      }
    }
    return part;
  }

  bool inside = true;
  SetHilite(c, UInt8(part));
  if (action && IsScrollBar(c)) action(control, part);
  while (PortButton()) {
    Point pt = LocalMouse(owner);
    if (!Rec(control)) return kControlNoPart;
    SInt16 now = Test(c, pt);
    // Page areas follow the thumb: they stay pressed only while the mouse is in the same part.
    inside = now == part;
    SetHilite(c, inside ? UInt8(part) : 0);
    if (action && IsScrollBar(c)) {
      action(control, inside ? part : SInt16(0));
      if (!Rec(control)) return kControlNoPart;
    }
  }
  Point last = LocalMouse(owner);
  if (!Rec(control)) return kControlNoPart;
  inside = Test(c, last) == part || (IsScrollBar(c) && inside);
  SetHilite(c, 0);
  return inside ? part : SInt16(kControlNoPart);
}
