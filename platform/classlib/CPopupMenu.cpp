#include "CPopupMenu.h"

#include "CException.h"
#include "PString.h"

CPopupMenu::~CPopupMenu() {
  if (macMenu) PortDisposeMenu(macMenu);
  macMenu = nullptr;
}

void CPopupMenu::IPopupMenu(SInt16 id, CBureaucrat* supervisor, Boolean multipleSelection) {
  IBureaucrat(supervisor);
  menuID = id;
  multiple = multipleSelection;
  macMenu = PortGetMenu(id);
  if (!macMenu) macMenu = PortNewMenu(id, Str255(""));
  FailNIL(macMenu);
  currentItem = 0;
  for (SInt16 i = 1; i <= CountItems(); ++i) PortSetItemMark(macMenu, i, 0);
  if (CountItems() > 0) SelectItem(1, kPopupCheck);
}

SInt16 CPopupMenu::CountItems() const { return macMenu ? PortCountMenuItems(macMenu) : 0; }

void CPopupMenu::GetItemText(SInt16 item, StringPtr text) const {
  text[0] = 0;
  if (macMenu && item >= 1 && item <= CountItems()) PortGetMenuItemText(macMenu, item, text);
}

void CPopupMenu::GetTitle(StringPtr title) const {
  PStrFromStd(macMenu ? macMenu->title : std::string(), title, 255);
}

void CPopupMenu::SetMarkChar(UInt8 mark, UInt8 second) {
  markChar = mark;
  secondChar = second;
  if (!macMenu) return;
  macMenu->markChar = mark;
  for (SInt16 i = 1; i <= CountItems(); ++i)
    if (PortGetItemMark(macMenu, i) != 0) PortSetItemMark(macMenu, i, mark);
}

void CPopupMenu::SelectItem(SInt16 item, SInt16 mode) {
  if (!macMenu || item < 1 || item > CountItems()) return;
  if (multiple) {
    Boolean marked = PortGetItemMark(macMenu, item) != 0;
    Boolean want = mode == kPopupToggle ? !marked : mode == kPopupCheck;
    PortSetItemMark(macMenu, item, want ? markChar : 0);
    currentItem = 0;
    for (SInt16 i = 1; i <= CountItems(); ++i) {
      if (PortGetItemMark(macMenu, i) != 0) {
        currentItem = i;
        break;
      }
    }
    return;
  }
  if (mode == kPopupUncheck) return;
  if (currentItem >= 1 && currentItem <= CountItems()) PortSetItemMark(macMenu, currentItem, 0);
  PortSetItemMark(macMenu, item, markChar);
  currentItem = item;
}

void CPopupMenu::ItemChosen(SInt16 item) {
  SelectItem(item, multiple ? kPopupToggle : kPopupCheck);
  SInt16 chosen = item;
  NotifyDependents(kPopupChoice, &chosen);
}

void CPopupMenu::AppendItem(ConstStringPtr text) {
  if (!macMenu) return;
  PortAppendMenu(macMenu, text);
  if (currentItem == 0 && !multiple) SelectItem(CountItems(), kPopupCheck);
}

void CPopupMenu::DeleteItem(SInt16 item) {
  if (!macMenu || item < 1 || item > CountItems()) return;
  PortDeleteMenuItem(macMenu, item);
  if (currentItem == item) {
    currentItem = 0;
    if (!multiple && CountItems() > 0) SelectItem(item > CountItems() ? CountItems() : item, kPopupCheck);
  } else if (currentItem > item) {
    --currentItem;
  }
}
