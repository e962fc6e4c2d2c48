// Drop-down lists, in dialogs and as child windows: a popup control whose menu holds the
// entries. The popup shows the selected entry; with no selection it shows none.
#include <algorithm>
#include <cstring>
#include <string>

#include "Controls.h"
#include "Menus.h"
#include "PString.h"
#include "QuickDraw.h"
#include "Resources.h"
#include "WinDialogs.h"
#include "internal/WinControls.h"

namespace vlwinshell::internal {

namespace {

// A menu id no menu has, for a list's entries.
SInt16 FreeMenuId() {
  static SInt16 next = 32000;
  for (int tries = 0; tries < 700; ++tries) {
    SInt16 id = next;
    next = next >= 32700 ? SInt16(32000) : SInt16(next + 1);
    if (!PortGetMenuHandle(id) && !PortLoadResource(FourCC("MENU"), id)) return id;
  }
  return 0;
}

MenuHandle ListMenu(const HWND__* c) { return c->popup ? PortGetControlPopupMenu(c->popup) : nullptr; }

int ListCount(const HWND__* c) {
  MenuHandle m = ListMenu(c);
  return m ? PortCountMenuItems(m) : 0;
}

Rect ListBox(const HWND__* c) {
  Rect box{};
  if (c->popup) PortGetControlBounds(c->popup, &box);
  return box;
}

void ShowSelection(HWND__* c) {
  if (!c->popup) return;
  // The popup shows item `value`; 0 shows none, which the list's empty selection is.
  (*c->popup)->value = SInt16(c->selected + 1);
  DrawList(c);
}

}  // namespace

OwnerPort::OwnerPort(WindowPtr owner) {
  PortGetPort(&saved_);
  PortSetPort(owner);
}

OwnerPort::~OwnerPort() { PortSetPort(saved_); }

ControlHandle NewListControl(WindowPtr owner, const Rect& box) {
  SInt16 menuId = FreeMenuId();
  MenuHandle menu = menuId ? PortNewMenu(menuId, Str255{std::string_view("")}) : nullptr;
  ControlHandle ctl =
      menu ? PortNewControl(owner, &box, Str255{std::string_view("")}, true, 0, menuId, 0, popupMenuProc, 0) : nullptr;
  if (!ctl) {
    if (menu) PortDisposeMenu(menu);
    return nullptr;
  }
  if ((*ctl)->ownsPopupMenu && (*ctl)->popupMenu) PortDisposeMenu((*ctl)->popupMenu);
  (*ctl)->popupMenu = menu;
  (*ctl)->ownsPopupMenu = true;
  (*ctl)->value = 0;
  return ctl;
}

void DrawList(const HWND__* c) {
  if (!c->popup || !c->owner || !c->owner->visible) return;
  OwnerPort port(c->owner);
  PortDraw1Control(c->popup);
}

BOOL TextExtent(WindowPtr owner, LPCSTR text, int length, SIZE* size) {
  if (!owner || !size || length < 0 || (length > 0 && !text)) return FALSE;
  OwnerPort port(owner);
  FontInfo font;
  PortGetFontInfo(&font);
  size->cx = length > 0 ? PortTextWidth(text, 0, SInt16(std::min(length, 32767))) : 0;
  size->cy = font.ascent + font.descent + font.leading;
  return TRUE;
}

LRESULT ListMessage(HWND__* c, UINT message, WPARAM wParam, LPARAM lParam) {
  MenuHandle menu = ListMenu(c);
  const int count = ListCount(c);
  switch (message) {
    case CB_ADDSTRING: {
      if (!menu || count >= 32767) return CB_ERR;
      const char* text = reinterpret_cast<const char*>(lParam);
      PortAppendMenuItemText(menu, Str255{std::string_view(text ? text : "")});
      return ListCount(c) - 1;
    }
    case CB_RESETCONTENT:
      while (menu && PortCountMenuItems(menu) > 0) PortDeleteMenuItem(menu, PortCountMenuItems(menu));
      c->selected = -1;
      ShowSelection(c);
      return 0;
    case CB_GETCOUNT:
      return count;
    case CB_SETCURSEL: {
      const auto index = static_cast<std::intptr_t>(wParam);
      c->selected = index >= 0 && index < count ? int(index) : -1;
      ShowSelection(c);
      return c->selected == -1 ? CB_ERR : c->selected;
    }
    case CB_GETCURSEL:
      return c->selected >= 0 ? c->selected : CB_ERR;
    case CB_GETLBTEXTLEN:
    case CB_GETLBTEXT: {
      if (wParam >= WPARAM(count) || !menu) return CB_ERR;
      Str255 text;
      PortGetMenuItemText(menu, SInt16(wParam + 1), text);
      std::string s = PStrToStd(text);
      if (message == CB_GETLBTEXT && lParam) std::memcpy(reinterpret_cast<char*>(lParam), s.c_str(), s.size() + 1);
      return LRESULT(s.size());
    }
    case CB_SETHORIZONTALEXTENT:
      c->horizontalExtent = int(std::min<WPARAM>(wParam, 32767));
      return 0;
    case CB_GETHORIZONTALEXTENT:
      return c->horizontalExtent;
    case CB_SETDROPPEDWIDTH:
      c->droppedWidth = int(std::min<WPARAM>(wParam, 32767));
      return c->droppedWidth;
    case CB_GETDROPPEDWIDTH:
      return std::max(c->droppedWidth, int(ListBox(c).right - ListBox(c).left));
    case CB_GETDROPPEDCONTROLRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out || !c->owner) return 0;
      Rect box = ListBox(c);
      SIZE line{0, 0};
      TextExtent(c->owner, "", 0, &line);
      *out = RECT{box.left, box.top, box.left + std::max(c->droppedWidth, int(box.right - box.left)),
                  box.bottom + std::min(count, 32) * (line.cy + 4)};
      return 1;
    }
    default:
      return 0;
  }
}

void ListClick(HWND__* c, Point local, const std::function<void(WORD)>& notify) {
  notify(CBN_DROPDOWN);
  if (!c->popup) return;
  const int before = c->selected;
  SInt16 part = kControlNoPart;
  {
    OwnerPort port(c->owner);
    part = PortTrackControl(c->popup, local, nullptr);
  }
  const int chosen = (*c->popup)->value - 1;
  if (part != kControlNoPart && chosen >= 0 && chosen < ListCount(c)) {
    c->selected = chosen;
    notify(CBN_SELENDOK);
    notify(CBN_CLOSEUP);
    if (c->selected != before) notify(CBN_SELCHANGE);
  } else {
    ShowSelection(c);
    notify(CBN_SELENDCANCEL);
    notify(CBN_CLOSEUP);
  }
}

}  // namespace vlwinshell::internal
