// Windows-style modal dialogs over the ui layer's dialogs. A template item becomes the dialog
// item of the same position: buttons, radio buttons, edit and static texts are the ui layer's
// own; a drop-down list is a popup control with a menu of its entries; up-down controls and
// group boxes are user items drawn here. The dialog procedure hears of the user's actions through
// the modal loop's filter (clicks on up-down controls and lists, keys in numbers-only fields) and
// through the items the loop reports.
//
// The drop-down lists are WinLists.cpp's, the template WinTemplate.cpp's. Sections: Handles, Drawing, Messages, The modal
// loop, Calls.
#include "WinDialogs.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Alerts.h"
#include "Controls.h"
#include "Dialogs.h"
#include "Memory.h"
#include "Menus.h"
#include "PString.h"
#include "QuickDraw.h"
#include "ResourceLayouts.h"
#include "Resources.h"
#include "Screen.h"
#include "internal/WinControls.h"
#include "internal/WinTemplate.h"

namespace L = vlres::layout;
using namespace vlwinshell::internal;


namespace {

// ---- Handles ----

struct Running {
  HWND__ self;
  Template layout;
  std::vector<std::unique_ptr<HWND__>> controls;  // in item order
  DLGPROC proc = nullptr;
  bool ended = false;
  INT_PTR result = 0;
};

std::vector<Running*> gRunning;  // innermost last

Running* RunningOf(DialogPtr d) {
  for (Running* r : gRunning)
    if (r->self.dialog == d) return r;
  return nullptr;
}

Running* RunningOf(HWND w) {
  for (Running* r : gRunning) {
    if (&r->self == w) return r;
    for (const auto& c : r->controls)
      if (c.get() == w) return r;
  }
  return nullptr;
}

HWND__* Control(Running* r, int id) {
  if (!r) return nullptr;
  for (const auto& c : r->controls)
    if (c->id == id) return c.get();
  return nullptr;
}

HWND__* ControlAtItem(Running* r, SInt16 item) {
  return r && item >= 1 && std::size_t(item) <= r->controls.size() ? r->controls[std::size_t(item - 1)].get()
                                                                    : nullptr;
}

bool IsControl(HWND w) { return w && RunningOf(w) && w->item > 0; }

Rect BoxOf(const HWND__* c) {
  Rect box{};
  PortGetDialogItem(c->dialog, c->item, nullptr, nullptr, &box);
  return box;
}

bool Enabled(const HWND__* c) {
  SInt16 kind = 0;
  PortGetDialogItem(c->dialog, c->item, &kind, nullptr, nullptr);
  return (kind & itemDisable) == 0;
}

ControlHandle ControlOf(const HWND__* c) {
  ControlHandle h = nullptr;
  return PortGetDialogItemAsControl(c->dialog, c->item, &h) ? h : nullptr;
}

std::string TextOf(const HWND__* c) {
  Handle h = nullptr;
  PortGetDialogItem(c->dialog, c->item, nullptr, &h, nullptr);
  if (c->kind == L::kWinStaticText || c->kind == L::kWinNumberEdit) {
    Str255 text;
    PortGetDialogItemText(h, text);
    return PStrToStd(text);
  }
  if (ControlHandle ctl = ControlOf(c)) {
    Str255 title;
    PortGetControlTitle(ctl, title);
    return PStrToStd(title);
  }
  return std::string();
}


// ---- Drawing ----

void SetInk(bool enabled) {
  RGBColor ink = enabled ? RGBColor{0, 0, 0} : RGBColor{0x8C8C, 0x8C8C, 0x8C8C};
  PortRGBForeColor(&ink);
}

void DrawGroupBox(DialogPtr d, SInt16 item) {
  HWND__* c = ControlAtItem(RunningOf(d), item);
  if (!c) return;
  Rect box = BoxOf(c);
  FontInfo font;
  PortGetFontInfo(&font);
  Rect frame = box;
  frame.top = SInt16(box.top + (font.ascent + font.descent) / 2);
  SetInk(true);
  PortFrameRect(&frame);
  Str255 title{std::string_view(RunningOf(d)->layout.items[std::size_t(item - 1)].text)};
  if (title[0] == 0) return;
  Rect behind{box.top, SInt16(box.left + 6), SInt16(box.top + font.ascent + font.descent),
              SInt16(box.left + 10 + PortStringWidth(title))};
  PortEraseRect(&behind);
  PortPenMove(SInt16(box.left + 8), SInt16(box.top + font.ascent));
  PortDrawString(title);
}

void DrawArrow(const Rect& half, bool up) {
  PortFrameRect(&half);
  SInt16 cx = SInt16((half.left + half.right) / 2), cy = SInt16((half.top + half.bottom) / 2);
  PolyHandle p = PortOpenPolygon();
  PortPenMove(SInt16(cx - 3), SInt16(up ? cy + 2 : cy - 1));
  PortPenLine(SInt16(cx + 3), SInt16(up ? cy + 2 : cy - 1));
  PortPenLine(cx, SInt16(up ? cy - 1 : cy + 2));
  PortPenLine(SInt16(cx - 3), SInt16(up ? cy + 2 : cy - 1));
  PortClosePolygon();
  PortPaintPolygon(p);
  PortFreePolygon(p);
}

void DrawUpDown(DialogPtr d, SInt16 item) {
  HWND__* c = ControlAtItem(RunningOf(d), item);
  if (!c) return;
  Rect box = BoxOf(c);
  PortEraseRect(&box);
  SetInk(Enabled(c));
  SInt16 middle = SInt16((box.top + box.bottom) / 2);
  DrawArrow(Rect{box.top, box.left, SInt16(middle + 1), box.right}, true);
  DrawArrow(Rect{middle, box.left, box.bottom, box.right}, false);
  SetInk(true);
}

void Redraw(const HWND__* c) {
  if (!c->dialog->visible) return;
  OwnerPort port(c->dialog);
  if (c->kind == L::kWinUpDown) DrawUpDown(c->dialog, c->item);
  else if (ControlHandle ctl = ControlOf(c)) PortDraw1Control(ctl);
}

// ---- Messages ----

INT_PTR Send(Running* r, UINT message, WPARAM wParam, LPARAM lParam) {
  return r->proc ? r->proc(&r->self, message, wParam, lParam) : 0;
}

void Notify(Running* r, HWND__* c, WORD code) {
  Send(r, WM_COMMAND, MAKEWPARAM(WORD(c->id), code), reinterpret_cast<LPARAM>(c));
}

void SetText(HWND__* c, const std::string& text) {
  Handle h = nullptr;
  PortGetDialogItem(c->dialog, c->item, nullptr, &h, nullptr);
  Str255 value{std::string_view(text)};
  if (c->kind == L::kWinStaticText || c->kind == L::kWinNumberEdit) PortSetDialogItemText(h, value);
  else if (ControlHandle ctl = ControlOf(c)) PortSetControlTitle(ctl, value);
}

LRESULT ControlMessage(HWND__* c, UINT message, WPARAM wParam, LPARAM lParam) {
  if (c->kind == L::kWinDropDownList) return ListMessage(c, message, wParam, lParam);
  if (c->kind == L::kWinAutoRadio || c->kind == L::kWinDefaultButton || c->kind == L::kWinPushButton) {
    ControlHandle ctl = ControlOf(c);
    if (message == BM_GETCHECK) return ctl ? PortGetControlValue(ctl) : 0;
    if (message == BM_SETCHECK && ctl) PortSetControlValue(ctl, wParam == BST_CHECKED ? 1 : 0);
  }
  return 0;
}

// The radio buttons next to each other in the template form a group.
void CheckInRun(Running* r, HWND__* chosen) {
  std::size_t at = std::size_t(chosen->item - 1), first = at, last = at;
  while (first > 0 && r->controls[first - 1]->kind == L::kWinAutoRadio) --first;
  while (last + 1 < r->controls.size() && r->controls[last + 1]->kind == L::kWinAutoRadio) ++last;
  for (std::size_t i = first; i <= last; ++i)
    if (ControlHandle ctl = ControlOf(r->controls[i].get())) PortSetControlValue(ctl, i == at ? 1 : 0);
}

// ---- The modal loop ----

std::vector<HWND__*> EnabledEdits(Running* r) {
  std::vector<HWND__*> edits;
  for (const auto& c : r->controls)
    if (c->kind == L::kWinNumberEdit && Enabled(c.get())) edits.push_back(c.get());
  return edits;
}

void Focus(HWND__* c) { PortSelectDialogItemText(c->dialog, c->item, 0, 32767); }

// Tab moves among the enabled fields only.
bool Tab(Running* r, bool back) {
  std::vector<HWND__*> edits = EnabledEdits(r);
  if (edits.empty()) return true;
  HWND__* focus = ControlAtItem(r, PortGetDialogKeyboardFocusItem(r->self.dialog));
  auto at = std::find(edits.begin(), edits.end(), focus);
  std::size_t i = 0;
  if (at != edits.end())
    i = back ? (std::size_t(at - edits.begin()) + edits.size() - 1) % edits.size()
             : (std::size_t(at - edits.begin()) + 1) % edits.size();
  Focus(edits[i]);
  return true;
}

// True when the key may not reach the current field: a disabled field takes nothing, a
// numbers-only field takes digits up to its length and the editing keys.
bool RefuseKey(Running* r, const EventRecord& e) {
  HWND__* focus = ControlAtItem(r, PortGetDialogKeyboardFocusItem(r->self.dialog));
  if (!focus || (e.modifiers & cmdKey)) return false;
  const UInt8 ch = UInt8(e.message & charCodeMask);
  if (ch == kReturnChar || ch == kEnterChar || ch == kEscapeChar || ch == kTabChar) return false;
  if (!Enabled(focus)) return true;
  if (ch < 0x20 || ch == 0x7F) return false;  // deletion and arrows
  if (!std::isdigit(ch)) return true;
  return TextOf(focus).size() >= std::size_t(kNumberFieldLength);
}

void UpDownClick(Running* r, HWND__* c, Point local) {
  Rect box = BoxOf(c);
  NMUPDOWN change{{c, UINT_PTR(c->id), UDN_DELTAPOS}, c->position, local.v < (box.top + box.bottom) / 2 ? 1 : -1};
  if (Send(r, WM_NOTIFY, WPARAM(c->id), reinterpret_cast<LPARAM>(&change)) == 0)
    c->position = std::clamp(c->position + std::clamp(change.iDelta, -32767, 32767), -32767, 32767);
}

// Clicks on up-down controls, lists and disabled fields are handled here; the event then goes
// on as a null event.
bool Click(Running* r, const EventRecord& e) {
  WindowPtr hit = nullptr;
  if (PortFindWindow(e.where, &hit) != inContent || hit != r->self.dialog) return false;
  Point local = e.where;
  {
    OwnerPort port(r->self.dialog);
    PortGlobalToLocal(&local);
  }
  for (const auto& c : r->controls) {
    Rect box = BoxOf(c.get());
    if (c->kind == L::kWinNumberEdit) PortInsetRect(&box, -3, -3);
    if (!PortPtInRect(local, &box)) continue;
    if (c->kind == L::kWinNumberEdit) return !Enabled(c.get());
    if (c->kind != L::kWinUpDown && c->kind != L::kWinDropDownList) return false;
    if (!Enabled(c.get())) return true;
    if (c->kind == L::kWinUpDown) UpDownClick(r, c.get(), local);
    else ListClick(c.get(), local, [r, list = c.get()](WORD code) { Notify(r, list, code); });
    return true;
  }
  return false;
}

Boolean Filter(DialogPtr dialog, EventRecord* event, SInt16*) {
  Running* r = RunningOf(dialog);
  if (!r) return false;
  bool taken = false;
  if (event->what == mouseDown) {
    taken = Click(r, *event);
  } else if (event->what == keyDown || event->what == autoKey) {
    const vlui::DialogKey key =
        vlui::ClassifyDialogKey(UInt8(event->message & charCodeMask), UInt8((event->message & keyCodeMask) >> 8),
                                event->modifiers);
    if (key == vlui::DialogKey::kNextText || key == vlui::DialogKey::kPreviousText)
      taken = Tab(r, key == vlui::DialogKey::kPreviousText);
    else if (key == vlui::DialogKey::kText && RefuseKey(r, *event)) {
      PortBeep(1);
      taken = true;
    }
  }
  if (taken) event->what = nullEvent;
  return false;
}

void EditChanged(Running* r, HWND__* c) {
  std::string now = TextOf(c);
  if (now == c->accepted) return;
  if (now.size() > std::size_t(kNumberFieldLength)) {  // a paste too long for the field
    PortBeep(1);
    SetText(c, c->accepted);
    PortSelectDialogItemText(c->dialog, c->item, 32767, 32767);
    return;
  }
  c->accepted = now;
  Notify(r, c, EN_CHANGE);
}

void ItemHit(Running* r, SInt16 item) {
  HWND__* c = ControlAtItem(r, item);
  if (!c) return;
  switch (c->kind) {
    case L::kWinDefaultButton:
    case L::kWinPushButton:
      Notify(r, c, BN_CLICKED);
      break;
    case L::kWinAutoRadio:
      CheckInRun(r, c);
      Notify(r, c, BN_CLICKED);
      break;
    case L::kWinNumberEdit:
      EditChanged(r, c);
      break;
    default:
      break;
  }
}

Rect Centered(SInt16 width, SInt16 height) {
  Rect client = vlui::ClientRect();
  SInt16 left = SInt16(client.left + (client.right - client.left - width) / 2);
  SInt16 top = SInt16(client.top + std::max(8, (client.bottom - client.top - height) / 3));
  return Rect{top, left, SInt16(top + height), SInt16(left + width)};
}

bool MakeControls(Running* r) {
  DialogPtr d = r->self.dialog;
  for (std::size_t i = 0; i < r->layout.items.size(); ++i) {
    const TemplateItem& t = r->layout.items[i];
    auto c = std::make_unique<HWND__>();
    c->dialog = d;
    c->owner = d;
    c->item = SInt16(i + 1);
    c->id = t.id;
    c->kind = t.kind;
    c->buddy = t.buddy;
    if (t.kind == L::kWinUpDown) PortSetDialogItemProc(d, c->item, DrawUpDown);
    if (t.kind == L::kWinGroupBox) PortSetDialogItemProc(d, c->item, DrawGroupBox);
    if (t.kind == L::kWinDefaultButton) PortSetDialogDefaultItem(d, c->item);
    if (t.id == IDCANCEL && t.kind == L::kWinPushButton) PortSetDialogCancelItem(d, c->item);
    if (t.kind == L::kWinDropDownList) {
      ControlHandle ctl = NewListControl(d, ItemBox(t));
      if (!ctl) return false;
      c->popup = ctl;
      DialogItemRecord& record = d->items[i];
      record.kind = SInt16(ctrlItem + resCtrl);
      record.handle = reinterpret_cast<Handle>(ctl);
    }
    r->controls.push_back(std::move(c));
  }
  return true;
}

// Makes the dialog off the screen; null when the template is missing or damaged.
DialogPtr MakeDialog(SInt16 id, Running* r) {
  if (!vlui::ScreenReady() || !ParseTemplate(PortLoadResource(FourCC("WDLG"), id), &r->layout)) return nullptr;
  Handle items = ItemList(r->layout);
  if (!items) return nullptr;
  Rect bounds = Centered(PixelsAcross(r->layout.width), PixelsDown(r->layout.height));
  Str255 title{std::string_view(r->layout.title)};
  DialogPtr d = PortNewDialogWithItems(nullptr, &bounds, title, false, movableDBoxProc, kFirstWindowOfClass, false, 0,
                                       items);
  PortFreeHandle(items);
  if (!d) return nullptr;
  d->resourceId = id;
  d->fromResource = true;
  r->self.dialog = d;
  r->self.owner = d;
  r->self.role = HWND__::Role::kDialog;
  if (!MakeControls(r)) {
    PortDisposeDialog(d);
    return nullptr;
  }
  return d;
}

class RunningEntry {
 public:
  explicit RunningEntry(Running* r) : r_(r) { gRunning.push_back(r); }
  ~RunningEntry() {
    gRunning.erase(std::remove(gRunning.begin(), gRunning.end(), r_), gRunning.end());
    if (r_->self.dialog) PortDisposeDialog(r_->self.dialog);
  }
  RunningEntry(const RunningEntry&) = delete;
  RunningEntry& operator=(const RunningEntry&) = delete;

 private:
  Running* r_;
};

}  // namespace

// ---- Calls ----

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND, DLGPROC proc, LPARAM initParam) {
  const auto number = reinterpret_cast<std::uintptr_t>(templateName);
  if (number > 0x7FFF || !proc) return -1;  // templates are named by number only
  Running running;
  running.proc = proc;
  if (!MakeDialog(SInt16(number), &running)) return -1;
  RunningEntry entry(&running);
  for (const auto& c : running.controls)
    if (c->kind == L::kWinNumberEdit) c->accepted = TextOf(c.get());
  Send(&running, WM_INITDIALOG, 0, initParam);
  if (!running.ended) {
    PortShowWindow(running.self.dialog);
    PortSelectWindow(running.self.dialog);
    PortDrawDialog(running.self.dialog);
  }
  while (!running.ended) {
    SInt16 hit = 0;
    PortModalDialog(Filter, &hit);
    if (!running.ended && hit > 0) ItemHit(&running, hit);
  }
  return running.result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  Running* r = RunningOf(dialog);
  if (!r || &r->self != dialog) return FALSE;
  r->ended = true;
  r->result = result;
  return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
  Running* r = RunningOf(dialog);
  return r && &r->self == dialog ? Control(r, id) : nullptr;
}

int GetDlgCtrlID(HWND control) { return IsControl(control) ? control->id : 0; }

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND__* c = GetDlgItem(dialog, id);
  if (!c) return FALSE;
  std::string value = text ? text : "";
  if (c->kind == L::kWinNumberEdit) {
    value.resize(std::min(value.size(), std::size_t(kNumberFieldLength)));
    SetText(c, value);
    if (value != c->accepted) {
      c->accepted = value;
      Notify(RunningOf(dialog), c, EN_CHANGE);
    }
    return TRUE;
  }
  SetText(c, value);
  return TRUE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size) {
  HWND__* c = GetDlgItem(dialog, id);
  if (!text || size <= 0) return 0;
  std::string value = c ? TextOf(c) : std::string();
  std::size_t n = std::min(value.size(), std::size_t(size - 1));
  std::memcpy(text, value.data(), n);
  text[n] = '\0';
  return UINT(n);
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
  Running* r = RunningOf(dialog);
  if (!r || &r->self != dialog) return FALSE;
  for (const auto& c : r->controls)
    if (c->kind == L::kWinAutoRadio && c->id >= first && c->id <= last)
      if (ControlHandle ctl = ControlOf(c.get())) PortSetControlValue(ctl, c->id == check ? 1 : 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND__* c = GetDlgItem(dialog, id);
  return c ? UINT(ControlMessage(c, BM_GETCHECK, 0, 0)) : BST_UNCHECKED;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  if (HWND__* child = ChildWindow(window)) {
    if (!child->popup) return FALSE;
    const BOOL wasDisabled = (*child->popup)->hilite == kControlInactive;
    OwnerPort port(child->owner);
    PortHiliteControl(child->popup, enable ? 0 : kControlInactive);
    return wasDisabled;
  }
  if (!IsControl(window)) return FALSE;
  const BOOL wasDisabled = !Enabled(window);
  PortSetDialogItemEnabled(window->dialog, window->item, enable != 0);
  Redraw(window);
  // A field that loses its input passes the focus on to the first enabled one.
  if (!enable && window->kind == L::kWinNumberEdit &&
      PortGetDialogKeyboardFocusItem(window->dialog) == window->item) {
    std::vector<HWND__*> edits = EnabledEdits(RunningOf(window));
    if (!edits.empty()) Focus(edits.front());
  }
  if (enable && window->kind == L::kWinNumberEdit) {
    HWND__* focus = ControlAtItem(RunningOf(window), PortGetDialogKeyboardFocusItem(window->dialog));
    if (!focus || !Enabled(focus)) Focus(window);
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) { return IsControl(window) ? Enabled(window) : RunningOf(window) != nullptr; }

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HWND__* child = ChildWindow(window)) return CallWindowProcA(child->proc, child, message, wParam, lParam);
  if (!IsControl(window)) return 0;
  return ControlMessage(window, message, wParam, lParam);
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND__* c = GetDlgItem(dialog, id);
  return c ? ControlMessage(c, message, wParam, lParam) : 0;
}

HWND GetActiveWindow() { return gRunning.empty() ? nullptr : &gRunning.back()->self; }

HDC GetDC(HWND window) { return RunningOf(window) || ChildWindow(window) ? reinterpret_cast<HDC>(window) : nullptr; }

int ReleaseDC(HWND, HDC dc) { return dc ? 1 : 0; }

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size) {
  auto* window = reinterpret_cast<HWND>(dc);
  if (HWND__* child = ChildWindow(window)) return TextExtent(child->owner, text, length, size);
  Running* r = RunningOf(window);
  return r ? TextExtent(r->self.dialog, text, length, size) : FALSE;
}
