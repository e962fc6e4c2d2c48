// Dialogs: items from 'DITL', drawing, the edit texts, and the modal loop with its keyboard.
#include "Dialogs.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>

#include "AlertSink.h"
#include "Alerts.h"
#include "Memory.h"
#include "PString.h"
#include "Resources.h"
#include "Screen.h"
#include "Ticks.h"
#include "UiInternal.h"

namespace {

using namespace vlui::internal;

std::vector<DialogPtr> gDialogs;
vlui::UpdateHook gUpdateHook = nullptr;

bool Known(DialogPtr d) { return d && std::find(gDialogs.begin(), gDialogs.end(), d) != gDialogs.end(); }

SInt16 BaseKind(SInt16 kind) { return SInt16(kind & 127); }
bool IsControlKind(SInt16 kind) { return (BaseKind(kind) & ctrlItem) == ctrlItem && BaseKind(kind) < statText; }
bool IsTextKind(SInt16 kind) { return BaseKind(kind) == statText || BaseKind(kind) == editText; }
bool Enabled(const DialogItemRecord& item) { return (item.kind & itemDisable) == 0; }

DialogItemRecord* Item(DialogPtr d, SInt16 item) {
  if (!Known(d) || item < 1 || item > SInt16(d->items.size())) return nullptr;
  return &d->items[std::size_t(item - 1)];
}

ControlHandle ControlOf(const DialogItemRecord& item) {
  return IsControlKind(item.kind) ? reinterpret_cast<ControlHandle>(item.handle) : nullptr;
}

std::string TextOf(Handle h) {
  if (!h || !PortIsHandle(h)) return std::string();
  return std::string(*h, std::size_t(PortHandleSize(h)));
}

void SetTextOf(Handle h, const std::string& text) {
  if (!h || !PortIsHandle(h)) return;
  PortResizeHandle(h, Size(text.size()));
  if (PortMemError() == noErr && !text.empty()) std::memcpy(*h, text.data(), text.size());
}

// The dialog and item that a text handle belongs to.
bool FindHandle(Handle h, DialogPtr* dialog, SInt16* item) {
  for (DialogPtr d : gDialogs) {
    for (std::size_t i = 0; i < d->items.size(); ++i) {
      if (d->items[i].handle != h) continue;
      *dialog = d;
      *item = SInt16(i + 1);
      return true;
    }
  }
  return false;
}

// The current edit text's text goes back into its item.
void SyncEditText(DialogPtr d) {
  if (!d->textH || d->editField < 0) return;
  SetTextOf(d->items[std::size_t(d->editField)].handle, PortTETextString(d->textH));
}

Rect EditFrame(const Rect& box) {
  Rect r = box;
  PortInsetRect(&r, -3, -3);
  return r;
}

void DrawItem(DialogPtr d, SInt16 index) {
  DialogItemRecord& item = d->items[std::size_t(index - 1)];
  if (item.hidden) return;
  PortKeeper keep;
  PortSetPort(d);
  PortPenNormal();
  UseFont(kSystemSize);
  switch (BaseKind(item.kind)) {
    case statText: {
      std::string text = vlui::SubstituteAlertTexts(TextOf(item.handle));
      FillRect(item.box, kWhite);
      PortTETextBox(text.data(), SInt32(text.size()), &item.box, teFlushDefault);
      break;
    }
    case editText: {
      Rect frame = EditFrame(item.box);
      FillRect(frame, kWhite);
      FrameRect(frame, Enabled(item) ? kBlack : kDimTextColor);
      if (d->editField == index - 1 && d->textH) {
        PortTEUpdate(&item.box, d->textH);
      } else {
        std::string text = TextOf(item.handle);
        PortTETextBox(text.data(), SInt32(text.size()), &item.box, teFlushDefault);
      }
      break;
    }
    case iconItem:
      FillRect(item.box, kWhite);
      if (!DrawIconResource(item.resourceId, item.box)) DrawBuiltInIcon(item.resourceId, item.box);
      break;
    case picItem: {
      Handle pic = PortLoadResource(FourCC("PICT"), item.resourceId);
      if (pic) PortDrawPicture(reinterpret_cast<PicHandle>(pic), &item.box);
      break;
    }
    case userItem:
      if (item.proc) item.proc(d, index);
      break;
    default:
      if (ControlHandle c = ControlOf(item)) PortDraw1Control(c);
      break;
  }
  vlui::NoteScreenChanged();
}

void DrawDefaultOutline(DialogPtr d) {
  DialogItemRecord* item = Item(d, d->defaultItem);
  if (!item || item->hidden || BaseKind(item->kind) != ctrlItem + btnCtrl) return;
  PortFrameDefaultButton(d, d->defaultItem);
}

void SetEditField(DialogPtr d, SInt16 index, SInt16 selStart, SInt16 selEnd) {
  if (d->editField == index && d->textH) {
    PortTESetSelect(selStart, selEnd, d->textH);
    return;
  }
  PortKeeper keep;
  PortSetPort(d);
  UseFont(kSystemSize);
  if (d->textH) {
    SyncEditText(d);
    PortTEDispose(d->textH);
    d->textH = nullptr;
    SInt16 old = SInt16(d->editField + 1);
    d->editField = -1;
    if (d->visible) DrawItem(d, old);
  }
  if (index < 0) return;
  DialogItemRecord& item = d->items[std::size_t(index)];
  d->textH = PortTENew(&item.box, &item.box);
  std::string text = TextOf(item.handle);
  PortTESetText(text.data(), SInt32(text.size()), d->textH);
  d->editField = index;
  PortTESetSelect(selStart, selEnd, d->textH);
  PortTEActivate(d->textH);
  if (d->visible) DrawItem(d, SInt16(index + 1));
}

std::vector<SInt16> EditItems(DialogPtr d) {
  std::vector<SInt16> edits;
  for (std::size_t i = 0; i < d->items.size(); ++i)
    if (BaseKind(d->items[i].kind) == editText && !d->items[i].hidden) edits.push_back(SInt16(i));
  return edits;
}

void Flash(DialogPtr d, SInt16 item) {
  DialogItemRecord* rec = Item(d, item);
  ControlHandle c = rec ? ControlOf(*rec) : nullptr;
  if (!c) return;
  PortHiliteControl(c, kControlButtonPart);
  UInt32 final;
  PortDelay(8, &final);
  PortHiliteControl(c, 0);
}

bool ControlActive(const DialogItemRecord& rec) {
  ControlHandle c = ControlOf(rec);
  return c && (*c)->hilite != kControlInactive;
}

// An item a key may press: there, shown, enabled, and when a control, not dimmed.
bool Pressable(DialogPtr d, SInt16 item) {
  DialogItemRecord* rec = Item(d, item);
  if (!rec || rec->hidden || !Enabled(*rec)) return false;
  return !ControlOf(*rec) || ControlActive(*rec);
}

// The standard handling of one event for a dialog; true with *itemHit when an item was hit.
bool HandleEvent(DialogPtr d, EventRecord* e, SInt16* itemHit) {
  switch (e->what) {
    case nullEvent:
      if (d->textH) PortTEIdle(d->textH);
      return false;
    case updateEvt: {
      WindowPtr w = PortEventWindow(e);
      DialogPtr other = PortWindowDialog(w);
      if (other) {
        PortBeginUpdate(other);
        PortDrawDialog(other);
        PortEndUpdate(other);
      } else if (w && gUpdateHook) {
        gUpdateHook(w, e);
      }
      return false;
    }
    case activateEvt: {
      DialogPtr other = PortWindowDialog(PortEventWindow(e));
      if (other && other->textH) {
        if (e->modifiers & activeFlag) PortTEActivate(other->textH);
        else PortTEDeactivate(other->textH);
      }
      return false;
    }
    case keyDown:
    case autoKey: {
      UInt8 ch = UInt8(e->message & charCodeMask);
      bool command = (e->modifiers & cmdKey) != 0;
      const vlui::DialogKey key = vlui::ClassifyDialogKey(ch, UInt8((e->message & keyCodeMask) >> 8), e->modifiers);
      if (e->what == keyDown && key == vlui::DialogKey::kDefault) {
        if (Pressable(d, d->defaultItem)) {
          Flash(d, d->defaultItem);
          *itemHit = d->defaultItem;
          return true;
        }
        if (ch == kEnterChar || !d->textH) return false;
      }
      if (e->what == keyDown && key == vlui::DialogKey::kCancel) {
        if (Pressable(d, d->cancelItem)) {
          Flash(d, d->cancelItem);
          *itemHit = d->cancelItem;
          return true;
        }
        PortBeep(1);
        return false;
      }
      if (key == vlui::DialogKey::kNextText || key == vlui::DialogKey::kPreviousText) {
        std::vector<SInt16> edits = EditItems(d);
        if (edits.empty()) return false;
        auto at = std::find(edits.begin(), edits.end(), d->editField);
        std::size_t i = at == edits.end() ? 0 : std::size_t(at - edits.begin());
        bool back = key == vlui::DialogKey::kPreviousText;
        if (at != edits.end()) i = back ? (i + edits.size() - 1) % edits.size() : (i + 1) % edits.size();
        SetEditField(d, edits[i], 0, 32767);
        return false;
      }
      if (command) {
        switch (std::tolower(ch)) {
          case 'x': PortDialogCut(d); break;
          case 'c': PortDialogCopy(d); break;
          case 'v': PortDialogPaste(d); break;
          case 'a':
            if (d->textH) PortTESetSelect(0, 32767, d->textH);
            break;
          default: return false;
        }
        if (std::tolower(ch) == 'c' || std::tolower(ch) == 'a' || d->editField < 0) return false;
        *itemHit = SInt16(d->editField + 1);
        return Enabled(d->items[std::size_t(d->editField)]);
      }
      if (!d->textH) return false;
      if (ch == kEscapeChar && UInt8((e->message & keyCodeMask) >> 8) == kClearKeyCode)
        PortTEDelete(d->textH);  // the keypad's clear key
      else
        PortTEKeyWithModifiers(ch, e->modifiers, d->textH);
      SyncEditText(d);
      *itemHit = SInt16(d->editField + 1);
      return Enabled(d->items[std::size_t(d->editField)]);
    }
    case mouseDown: {
      WindowPtr w = nullptr;
      SInt16 part = PortFindWindow(e->where, &w);
      if (w == d && part == inDrag) {
        PortDragWindow(d, e->where, nullptr);
        return false;
      }
      if (w != d || part != inContent) {
        PortBeep(1);
        return false;
      }
      Point local = e->where;
      {
        PortKeeper keep;
        PortSetPort(d);
        PortGlobalToLocal(&local);
      }
      for (SInt16 i = 1; i <= SInt16(d->items.size()); ++i) {
        DialogItemRecord& item = d->items[std::size_t(i - 1)];
        Rect hitBox = BaseKind(item.kind) == editText ? EditFrame(item.box) : item.box;
        if (item.hidden || !PortPtInRect(local, &hitBox)) continue;
        if (BaseKind(item.kind) == editText) {
          if (d->editField != i - 1) SetEditField(d, SInt16(i - 1), 0, 0);
          PortKeeper keep;
          PortSetPort(d);
          PortTEClick(local, (e->modifiers & shiftKey) != 0, d->textH);
          if (!Enabled(item)) return false;
          *itemHit = i;
          return true;
        }
        if (ControlHandle c = ControlOf(item)) {
          if (!ControlActive(item)) return false;
          PortKeeper keep;
          PortSetPort(d);
          SInt16 hit = PortTrackControl(c, local, nullptr);
          if (!Known(d)) return false;
          if (hit == kControlNoPart || !Enabled(item)) return false;
          *itemHit = i;
          return true;
        }
        if (!Enabled(item)) return false;
        *itemHit = i;
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

DialogPtr FrontMost() {
  for (WindowPtr w : Windows()) {
    if (!w->visible) continue;
    if (DialogPtr d = PortWindowDialog(w)) return d;
    if (w->layer != WindowLayer::kModal) return nullptr;
  }
  return nullptr;
}

DialogPtr Build(void* storage, const Rect& bounds, const std::string& title, Boolean visible, SInt16 procID,
                WindowPtr behind, Boolean goAway, SInt32 refCon, const std::vector<vlres::DialogItem>& items) {
  if (!vlui::ScreenReady()) return nullptr;
  DialogPtr d = storage ? new (storage) DialogRecord() : new (std::nothrow) DialogRecord();
  if (!d) return nullptr;
  d->ownedStorage = storage ? nullptr : d;
  d->windowKind = dialogKind;
  gDialogs.push_back(d);
  PortKeeper keep;
  SetUpWindow(d, &bounds, title, false, procID, behind, goAway, refCon);
  d->windowKind = dialogKind;
  PortSetPort(d);
  UseFont(kSystemSize);
  for (const vlres::DialogItem& src : items) {
    DialogItemRecord item;
    item.kind = SInt16(src.kind & 127);
    if (!src.enabled || (src.kind & vlres::kItemDisableBit)) item.kind = SInt16(item.kind | itemDisable);
    item.box = src.bounds;
    item.resourceId = src.resourceId;
    Str255 text{std::string_view(src.text)};
    switch (BaseKind(item.kind)) {
      case ctrlItem + btnCtrl:
      case ctrlItem + chkCtrl:
      case ctrlItem + radCtrl:
        item.handle = reinterpret_cast<Handle>(
            PortNewControl(d, &item.box, text, true, 0, 0, 1, SInt16(BaseKind(item.kind) - ctrlItem), 0));
        break;
      case ctrlItem + resCtrl: {
        ControlHandle c = PortGetNewControl(src.resourceId, d);
        if (c) {
          PortMoveControl(c, item.box.left, item.box.top);
          PortSizeControl(c, SInt16(item.box.right - item.box.left), SInt16(item.box.bottom - item.box.top));
        }
        item.handle = reinterpret_cast<Handle>(c);
        break;
      }
      case statText:
      case editText:
        item.handle = PortHandleFromBytes(src.text.data(), Size(src.text.size()));
        break;
      default:
        break;
    }
    d->items.push_back(item);
  }
  // Default: item 1 when it is a button; cancel: item 2 when it is a button titled "Cancel".
  d->defaultItem = !d->items.empty() && BaseKind(d->items[0].kind) == ctrlItem + btnCtrl ? 1 : 0;
  d->cancelItem = 0;
  if (d->items.size() >= 2 && BaseKind(d->items[1].kind) == ctrlItem + btnCtrl) {
    Str255 t;
    PortGetControlTitle(ControlOf(d->items[1]), t);
    std::string s = PStrToStd(t);
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (s == "cancel") d->cancelItem = 2;
  }
  std::vector<SInt16> edits = EditItems(d);
  if (!edits.empty()) SetEditField(d, edits.front(), 0, 32767);
  if (visible) {
    PortShowWindow(d);
    PortDrawDialog(d);
    PortValidRect(d, &d->portRect);
  }
  return d;
}

void Dispose(DialogPtr d) {
  if (!Known(d)) return;
  if (d->textH) {
    PortTEDispose(d->textH);
    d->textH = nullptr;
  }
  for (DialogItemRecord& item : d->items)
    if (IsTextKind(item.kind) && item.handle) PortFreeHandle(item.handle);
  d->items.clear();
  PortCloseWindow(d);  // its controls go with it
  gDialogs.erase(std::remove(gDialogs.begin(), gDialogs.end(), d), gDialogs.end());
  if (d->ownedStorage) delete d;
  else d->~DialogRecord();
}

}  // namespace

namespace vlui {

void SetModalUpdateHook(UpdateHook hook) { gUpdateHook = hook; }

DialogPtr FrontDialog() { return FrontMost(); }

DialogKey ClassifyDialogKey(UInt8 character, UInt8 keyCode, UInt16 modifiers) {
  switch (character) {
    case kReturnChar:
    case kEnterChar:
      return DialogKey::kDefault;
    case kEscapeChar:
      return keyCode == kClearKeyCode ? DialogKey::kText : DialogKey::kCancel;
    case kTabChar:
      return (modifiers & shiftKey) ? DialogKey::kPreviousText : DialogKey::kNextText;
    case '.':
      return PortIsCommandPeriod(character, modifiers) ? DialogKey::kCancel : DialogKey::kText;
    default:
      return DialogKey::kText;
  }
}

bool DialogItemGlobalRect(DialogPtr dialog, SInt16 item, Rect* r) {
  DialogItemRecord* rec = Item(dialog, item);
  if (!rec) return false;
  Rect box = rec->box;
  SInt16 dh = SInt16(dialog->content.left - dialog->portRect.left), dv = SInt16(dialog->content.top - dialog->portRect.top);
  PortOffsetRect(&box, dh, dv);
  if (r) *r = box;
  return true;
}

std::vector<std::string> DialogTexts(DialogPtr dialog) {
  std::vector<std::string> texts;
  if (!Known(dialog)) return texts;
  SyncEditText(dialog);
  for (const DialogItemRecord& item : dialog->items)
    if (IsTextKind(item.kind)) texts.push_back(MacRomanToUtf8(SubstituteAlertTexts(TextOf(item.handle))));
  return texts;
}

std::string DialogItemTextUtf8(DialogPtr dialog, SInt16 item) {
  DialogItemRecord* rec = Item(dialog, item);
  if (!rec) return std::string();
  SyncEditText(dialog);
  if (IsTextKind(rec->kind)) return MacRomanToUtf8(TextOf(rec->handle));
  if (ControlHandle c = ControlOf(*rec)) {
    Str255 t;
    PortGetControlTitle(c, t);
    return MacRomanToUtf8(PStrToStd(t));
  }
  return std::string();
}

}  // namespace vlui

namespace vlui::internal {

bool DisposeIfDialog(WindowPtr window) {
  DialogPtr d = PortWindowDialog(window);
  if (!d) return false;
  Dispose(d);
  return true;
}

DialogPtr MakeDialog(const Rect& bounds, const std::string& title, SInt16 procID, const std::vector<ItemSpec>& specs) {
  std::vector<vlres::DialogItem> items;
  for (const ItemSpec& s : specs) {
    vlres::DialogItem item;
    item.bounds = s.box;
    item.kind = UInt8(s.kind & 127);
    item.enabled = (s.kind & itemDisable) == 0;
    item.text = s.text;
    item.resourceId = s.resourceId;
    items.push_back(item);
  }
  return Build(nullptr, bounds, title, true, procID, kFirstWindowOfClass, false, 0, items);
}

bool ContentClick(WindowPtr window, const EventRecord& event, Point* local) {
  if (event.what != mouseDown) return false;
  WindowPtr hit = nullptr;
  if (PortFindWindow(event.where, &hit) != inContent || hit != window) return false;
  *local = event.where;
  PortKeeper keep;
  PortSetPort(window);
  PortGlobalToLocal(local);
  return true;
}

SInt16 RunModalUntil(DialogPtr dialog, ModalFilterProcPtr filter, const std::vector<SInt16>& ends) {
  for (;;) {
    SInt16 hit = 0;
    PortModalDialog(filter, &hit);
    if (!Known(dialog)) return 0;
    if (hit <= 0) return hit;
    if (ends.empty() || std::find(ends.begin(), ends.end(), hit) != ends.end()) return hit;
  }
}

Rect CenteredRect(SInt16 width, SInt16 height) {
  Rect client = vlui::ClientRect();
  SInt16 left = SInt16(client.left + (client.right - client.left - width) / 2);
  SInt16 top = SInt16(client.top + std::max(8, (client.bottom - client.top - height) / 3));
  return Rect{top, left, SInt16(top + height), SInt16(left + width)};
}

int LogRecord(const std::string& kind, int id, const std::string& title, const std::vector<std::string>& texts,
              int answer) {
  vlalert::Record r;
  r.kind = kind;
  r.id = id;
  r.title = title;
  r.texts = texts;
  // The answer is already known: log it without asking anybody.
  vlalert::Answerer saved = vlalert::SetAnswerer(nullptr);
  int result = vlalert::Report(r, answer);
  vlalert::SetAnswerer(std::move(saved));
  return result;
}

bool DrawIconResource(SInt16 iconId, const Rect& box) {
  Handle h = PortLoadResource(FourCC("ICON"), iconId);
  if (!h || PortHandleSize(h) < 128) return false;
  PixMap bits;
  bits.baseAddr = *h;
  bits.rowBytes = 4;
  bits.bounds = Rect{0, 0, 32, 32};
  bits.pixelSize = 1;
  Rect src{0, 0, 32, 32};
  PortCopyBits(&bits, PortPortBits(PortCurrentPort()), &src, &box, srcCopy, nullptr);
  return true;
}

void DrawBuiltInIcon(SInt16 iconId, const Rect& box) {
  Rect r = box;
  UInt32 ink = iconId == 0 ? 0xC03020 : iconId == 2 ? 0xD0A000 : 0x3060C0;
  SetFore(ink);
  if (iconId == 2) {
    // A triangle for caution.
    PolyHandle p = PortOpenPolygon();
    PortPenMove(SInt16((r.left + r.right) / 2), r.top);
    PortPenLine(SInt16(r.right - 1), SInt16(r.bottom - 1));
    PortPenLine(r.left, SInt16(r.bottom - 1));
    PortPenLine(SInt16((r.left + r.right) / 2), r.top);
    PortClosePolygon();
    PortPaintPolygon(p);
    PortFreePolygon(p);
  } else {
    PortPaintOval(&r);
  }
  SInt16 cx = SInt16((r.left + r.right) / 2);
  FillRect(Rect{SInt16(r.top + 8), SInt16(cx - 2), SInt16(r.bottom - 12), SInt16(cx + 2)}, kWhite);
  FillRect(Rect{SInt16(r.bottom - 9), SInt16(cx - 2), SInt16(r.bottom - 5), SInt16(cx + 2)}, kWhite);
  SetFore(kBlack);
}

void NoteWindowShown(WindowPtr window) {
  DialogPtr d = PortWindowDialog(window);
  if (!d || !d->fromResource) return;
  LogRecord("dialog", d->resourceId, MacRomanToUtf8(d->title), vlui::DialogTexts(d), 0);
}

}  // namespace vlui::internal

// ---- Making and releasing -----------------------------------------------------------------------

DialogPtr PortNewDialog(SInt16 dialogID, void* storage, WindowPtr behind) {
  Handle dlog = PortLoadResource(FourCC("DLOG"), dialogID);
  vlres::DialogTemplate t;
  if (!dlog || !vlres::ParseDialog(dlog, &t)) return nullptr;
  Handle ditl = PortLoadResource(FourCC("DITL"), t.itemListId);
  std::vector<vlres::DialogItem> items;
  if (!ditl || !vlres::ParseItemList(ditl, &items)) return nullptr;
  DialogPtr d = Build(storage, t.bounds, t.title, t.visible, t.procId, behind, t.goAway, t.refCon, items);
  if (!d) return nullptr;
  d->resourceId = dialogID;
  d->fromResource = true;
  if (d->visible) vlui::internal::NoteWindowShown(d);
  return d;
}

DialogPtr PortGetNewDialog(SInt16 dialogID, void* storage, WindowPtr behind) {
  return PortNewDialog(dialogID, storage, behind);
}

DialogPtr PortNewDialogWithItems(void* storage, const Rect* bounds, ConstStringPtr title, Boolean visible,
                                 SInt16 procID, WindowPtr behind, Boolean goAwayFlag, SInt32 refCon, Handle items) {
  if (!bounds) return nullptr;
  std::vector<vlres::DialogItem> list;
  if (items && !vlres::ParseItemList(items, &list)) return nullptr;
  return Build(storage, *bounds, title ? PStrToStd(title) : std::string(), visible, procID, behind, goAwayFlag, refCon,
               list);
}

void PortCloseDialog(DialogPtr dialog) { Dispose(dialog); }
void PortDisposeDialog(DialogPtr dialog) { Dispose(dialog); }

WindowPtr PortGetDialogWindow(DialogPtr dialog) { return Known(dialog) ? dialog : nullptr; }

DialogPtr PortWindowDialog(WindowPtr window) {
  for (DialogPtr d : gDialogs)
    if (d == window) return d;
  return nullptr;
}

// ---- Drawing ------------------------------------------------------------------------------------

void PortDrawDialog(DialogPtr dialog) {
  if (!Known(dialog) || !dialog->visible) return;
  for (SInt16 i = 1; i <= SInt16(dialog->items.size()); ++i) DrawItem(dialog, i);
  DrawDefaultOutline(dialog);
}

void PortUpdateDialog(DialogPtr dialog, RgnHandle) { PortDrawDialog(dialog); }

void PortFrameDefaultButton(DialogPtr dialog, SInt16 item) {
  DialogItemRecord* rec = Item(dialog, item);
  if (!rec || rec->hidden) return;
  PortKeeper keep;
  PortSetPort(dialog);
  Rect r = rec->box;
  PortInsetRect(&r, -4, -4);
  PortPenNormal();
  PortPenSize(3, 3);
  ControlHandle c = ControlOf(*rec);
  SetFore(c && (*c)->hilite == kControlInactive ? kDimTextColor : kBlack);
  SInt16 corner = SInt16((r.bottom - r.top) / 2);
  PortFrameRoundRect(&r, corner, corner);
  vlui::NoteScreenChanged();
}

// ---- Items --------------------------------------------------------------------------------------

SInt16 PortCountDialogItems(DialogPtr dialog) { return Known(dialog) ? SInt16(dialog->items.size()) : 0; }

void PortGetDialogItem(DialogPtr dialog, SInt16 item, SInt16* kind, Handle* itemHandle, Rect* box) {
  DialogItemRecord* rec = Item(dialog, item);
  if (kind) *kind = rec ? rec->kind : 0;
  if (itemHandle) *itemHandle = rec ? (BaseKind(rec->kind) == userItem ? reinterpret_cast<Handle>(rec->proc) : rec->handle) : nullptr;
  if (box) *box = rec ? rec->box : Rect{};
}

void PortSetDialogItem(DialogPtr dialog, SInt16 item, SInt16 kind, Handle itemHandle, const Rect* box) {
  DialogItemRecord* rec = Item(dialog, item);
  if (!rec) return;
  // The kind may change its enable bit; a text item stays text and a control stays a control.
  if (BaseKind(kind) == BaseKind(rec->kind)) rec->kind = kind;
  if (box) rec->box = *box;
  if (BaseKind(rec->kind) == userItem && itemHandle) rec->proc = reinterpret_cast<UserItemProcPtr>(itemHandle);
}

void PortSetDialogItemProc(DialogPtr dialog, SInt16 item, UserItemProcPtr proc) {
  if (DialogItemRecord* rec = Item(dialog, item)) rec->proc = proc;
}

void PortGetDialogItemText(Handle itemHandle, StringPtr text) {
  if (!text) return;
  DialogPtr d = nullptr;
  SInt16 item = 0;
  if (FindHandle(itemHandle, &d, &item)) SyncEditText(d);
  PStrFromStd(TextOf(itemHandle), text);
}

void PortSetDialogItemText(Handle itemHandle, ConstStringPtr text) {
  std::string value = text ? PStrToStd(text) : std::string();
  DialogPtr d = nullptr;
  SInt16 item = 0;
  if (!FindHandle(itemHandle, &d, &item)) {
    SetTextOf(itemHandle, value);
    return;
  }
  SetTextOf(itemHandle, value);
  if (d->editField == item - 1 && d->textH) {
    PortKeeper keep;
    PortSetPort(d);
    PortTESetText(value.data(), SInt32(value.size()), d->textH);
  }
  if (d->visible) DrawItem(d, item);
}

void PortSelectDialogItemText(DialogPtr dialog, SInt16 item, SInt16 selStart, SInt16 selEnd) {
  DialogItemRecord* rec = Item(dialog, item);
  if (!rec || BaseKind(rec->kind) != editText) return;
  SetEditField(dialog, SInt16(item - 1), selStart, selEnd);
}

SInt16 PortGetDialogKeyboardFocusItem(DialogPtr dialog) {
  return Known(dialog) && dialog->editField >= 0 ? SInt16(dialog->editField + 1) : 0;
}

void PortHideDialogItem(DialogPtr dialog, SInt16 item) {
  DialogItemRecord* rec = Item(dialog, item);
  if (!rec || rec->hidden) return;
  if (ControlHandle c = ControlOf(*rec)) PortHideControl(c);
  if (dialog->editField == item - 1) {
    SetEditField(dialog, -1, 0, 0);
    std::vector<SInt16> edits = EditItems(dialog);
    rec->hidden = true;
    edits = EditItems(dialog);
    if (!edits.empty()) SetEditField(dialog, edits.front(), 0, 32767);
  }
  rec->hidden = true;
  PortKeeper keep;
  PortSetPort(dialog);
  Rect r = BaseKind(rec->kind) == editText ? EditFrame(rec->box) : rec->box;
  PortEraseRect(&r);
}

void PortShowDialogItem(DialogPtr dialog, SInt16 item) {
  DialogItemRecord* rec = Item(dialog, item);
  if (!rec || !rec->hidden) return;
  rec->hidden = false;
  if (ControlHandle c = ControlOf(*rec)) PortShowControl(c);
  if (dialog->visible) DrawItem(dialog, item);
}

Boolean PortGetDialogItemAsControl(DialogPtr dialog, SInt16 item, ControlHandle* control) {
  DialogItemRecord* rec = Item(dialog, item);
  ControlHandle c = rec ? ControlOf(*rec) : nullptr;
  if (control) *control = c;
  return c != nullptr;
}

void PortSetDialogDefaultItem(DialogPtr dialog, SInt16 item) {
  if (!Known(dialog)) return;
  dialog->defaultItem = item;
  if (dialog->visible) PortDrawDialog(dialog);
}

void PortSetDialogCancelItem(DialogPtr dialog, SInt16 item) {
  if (Known(dialog)) dialog->cancelItem = item;
}

void PortSetDialogItemEnabled(DialogPtr dialog, SInt16 item, Boolean enabled) {
  DialogItemRecord* rec = Item(dialog, item);
  if (!rec) return;
  rec->kind = enabled ? SInt16(rec->kind & ~itemDisable) : SInt16(rec->kind | itemDisable);
  if (ControlHandle c = ControlOf(*rec)) PortHiliteControl(c, enabled ? 0 : kControlInactive);
  else if (dialog->visible) DrawItem(dialog, item);
  if (item == dialog->defaultItem && dialog->visible) DrawDefaultOutline(dialog);
}

void PortDialogCut(DialogPtr dialog) {
  if (!Known(dialog) || !dialog->textH) return;
  PortTECut(dialog->textH);
  SyncEditText(dialog);
}

void PortDialogCopy(DialogPtr dialog) {
  if (Known(dialog) && dialog->textH) PortTECopy(dialog->textH);
}

void PortDialogPaste(DialogPtr dialog) {
  if (!Known(dialog) || !dialog->textH) return;
  PortTEPaste(dialog->textH);
  SyncEditText(dialog);
}

void PortDialogDelete(DialogPtr dialog) {
  if (!Known(dialog) || !dialog->textH) return;
  PortTEDelete(dialog->textH);
  SyncEditText(dialog);
}

// ---- The loops ----------------------------------------------------------------------------------

void PortModalDialog(ModalFilterProcPtr filter, SInt16* itemHit) {
  SInt16 hit = 0;
  DialogPtr d = FrontMost();
  if (!d) {
    if (itemHit) *itemHit = 0;
    return;
  }
  RestrictUpdatesToModal(gUpdateHook == nullptr);
  for (;;) {
    EventRecord e;
    bool got = PortGetNextEvent(everyEvent, &e);
    if (!got && !vlui::CurrentEventSource()) {
      // Nobody can ever answer: the cancel item, else the default item.
      hit = d->cancelItem > 0 ? d->cancelItem : d->defaultItem;
      break;
    }
    if (filter) {
      SInt16 filtered = 0;
      if (filter(d, &e, &filtered)) {
        hit = filtered;
        break;
      }
      if (!Known(d)) break;
    }
    if (HandleEvent(d, &e, &hit)) break;
    if (!Known(d)) break;
    // A dialog in front of this one (opened by a filter or a user item) takes over.
    DialogPtr front = FrontMost();
    if (front && front != d) d = front;
  }
  RestrictUpdatesToModal(false);
  if (itemHit) *itemHit = hit;
}

Boolean PortIsDialogEvent(const EventRecord* event) {
  if (!event) return false;
  if (event->what == updateEvt || event->what == activateEvt) return PortWindowDialog(PortEventWindow(event)) != nullptr;
  if (event->what == mouseDown) {
    WindowPtr w = nullptr;
    PortFindWindow(event->where, &w);
    return PortWindowDialog(w) != nullptr;
  }
  if (event->what == keyDown || event->what == autoKey || event->what == nullEvent)
    return PortWindowDialog(PortActiveWindow()) != nullptr;
  return false;
}

Boolean PortDialogSelect(const EventRecord* event, DialogPtr* dialog, SInt16* itemHit) {
  if (dialog) *dialog = nullptr;
  if (itemHit) *itemHit = 0;
  if (!PortIsDialogEvent(event)) return false;
  EventRecord e = *event;
  DialogPtr d = nullptr;
  if (e.what == updateEvt || e.what == activateEvt) {
    d = PortWindowDialog(PortEventWindow(&e));
  } else if (e.what == mouseDown) {
    WindowPtr w = nullptr;
    PortFindWindow(e.where, &w);
    d = PortWindowDialog(w);
  } else {
    d = PortWindowDialog(PortActiveWindow());
  }
  if (!d) return false;
  if (dialog) *dialog = d;
  SInt16 hit = 0;
  bool result = HandleEvent(d, &e, &hit);
  if (itemHit) *itemHit = hit;
  return result;
}

Boolean PortStdFilterProc(DialogPtr dialog, EventRecord* event, SInt16* itemHit) {
  if (!Known(dialog) || !event) return false;
  SInt16 hit = 0;
  bool result = HandleEvent(dialog, event, &hit);
  if (itemHit) *itemHit = hit;
  return result;
}
