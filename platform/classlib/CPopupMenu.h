// A popup menu: a 'MENU' resource shown from a popup pane, with a current item that carries
// the menu's mark. In a single-selection menu exactly one item (the current one) is marked; in
// a multiple-selection menu each item is marked on its own and the current item is the first
// marked one. A choice broadcasts 'POP0' with a pointer to the chosen item (a short).
#pragma once

#include "CBureaucrat.h"
#include "Menus.h"

// Modes of SelectItem.
enum : SInt16 { kPopupCheck = 0, kPopupToggle = 1, kPopupUncheck = 2 };

class CPopupMenu : public CBureaucrat {
  VL_REGISTERED_CLASS(CPopupMenu, CBureaucrat)

 public:
  CPopupMenu() = default;
  ~CPopupMenu() override;

  // Loads 'MENU' menuID (an empty menu when there is none) under the supervisor (the pane that
  // shows it). The first item is current and marked.
  void IPopupMenu(SInt16 menuID, CBureaucrat* supervisor, Boolean multipleSelection);

  MenuHandle GetMacMenu() const { return macMenu; }
  SInt16 GetMenuID() const { return menuID; }
  Boolean IsMultipleSelection() const { return multiple; }
  SInt16 CountItems() const;
  void GetItemText(SInt16 item, StringPtr text) const;
  void GetTitle(StringPtr title) const;
  SInt16 GetCurrentItem() const { return currentItem; }
  // The mark of marked items (kCheckMark unless set) and a second character of the menu's own.
  void SetMarkChar(UInt8 mark, UInt8 second = ' ');
  UInt8 GetMarkChar() const { return markChar; }

  // Items 1 to the count: kPopupCheck, kPopupToggle, kPopupUncheck as described above.
  virtual void SelectItem(SInt16 item, SInt16 mode);
  // The user chose an item: it is selected and the choice broadcast.
  virtual void ItemChosen(SInt16 item);

  // Items appended or deleted (the current item stays within the count).
  void AppendItem(ConstStringPtr text);
  void DeleteItem(SInt16 item);

 protected:
  MenuHandle macMenu = nullptr;
  SInt16 menuID = 0;
  SInt16 currentItem = 0;
  Boolean multiple = false;
  UInt8 markChar = kCheckMark;
  UInt8 secondChar = ' ';
};

constexpr long kPopupChoice = FourCharReason("POP0");
