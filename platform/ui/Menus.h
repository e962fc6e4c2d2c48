// Menus: the menu bar along the top of the screen, its pull-down menus, submenus (hierarchical
// menus) and popup menus, drawn on the virtual screen and tracked with the mouse.
//
// A menu is a list of items with texts (Mac Roman; "-" is a separator line), enable states,
// marks (check marks), key equivalents (with the command key), styles, submenu ids and a 32-bit
// command number of the program's own (0: none). Menus are known by id once inserted: into the
// bar (PortInsertMenu with a beforeID of 0 or an id in the bar) or into the submenu list
// (kInsertHierarchicalMenu), where submenu items and popup menus find them.
//
// Item numbers start at 1; item 0 stands for the whole menu in the enable calls.
#pragma once

#include <string>
#include <vector>

#include "MacTypes.h"

struct MenuItemInfo {
  std::string text;          // Mac Roman; "-" is a separator
  UInt8 keyEquivalent = 0;   // with the command key; 0 none
  UInt8 mark = 0;            // kCheckMark or another character; 0 none
  UInt8 style = 0;           // bold 1, italic 2, underline 4, outline 8, shadow 16, condense 32, extend 64
  UInt8 icon = 0;
  Boolean enabled = true;
  SInt16 submenuId = 0;      // a submenu shown from this item; 0 none
  SInt32 command = 0;        // the program's command for this item; 0 none
};

struct MenuInfo {
  SInt16 menuID = 0;
  std::string title;         // Mac Roman
  Boolean enabled = true;
  std::vector<MenuItemInfo> items;
  UInt8 markChar = 0;        // popup menus: the mark of the current item (0: the check mark)
};
using MenuHandle = MenuInfo*;
using MenuRef = MenuInfo*;

constexpr UInt8 kCheckMark = 0x12;          // drawn as a check mark
constexpr UInt8 kBulletMark = 0xA5;         // Mac Roman bullet
constexpr SInt16 kInsertHierarchicalMenu = -1;
constexpr SInt16 kMenuBarHeight = 20;

// Making and releasing.
MenuHandle PortNewMenu(SInt16 menuID, ConstStringPtr title);
// From 'MENU' resource resourceID (its items, enable states, marks, keys and styles); null when
// missing or damaged. The menu is not inserted.
MenuHandle PortGetMenu(SInt16 resourceID);
// Takes the menu out of the bar or submenu list when it is in one, then frees it.
void PortDisposeMenu(MenuHandle menu);

// The menu bar and the submenu list. beforeID: 0 appends to the bar, an id in the bar inserts
// before it, kInsertHierarchicalMenu puts the menu in the submenu list. A menu id already
// inserted is not inserted twice.
void PortInsertMenu(MenuHandle menu, SInt16 beforeID);
void PortDeleteMenu(SInt16 menuID);
void PortClearMenuBar();
void PortDrawMenuBar();
void PortInvalMenuBar();
// The inserted menu with this id (bar or submenu list); null when none.
MenuHandle PortGetMenuHandle(SInt16 menuID);
// The bar's menus, left to right.
std::vector<SInt16> PortMenuBarIds();
SInt16 PortMenuBarHeight();

// Items. PortAppendMenu appends one item whose text is the string as it stands (no
// metacharacters: ';', '(', '/' and the like are ordinary characters, so a window title or a
// font name never turns into several items). A text of "-" is a separator.
void PortAppendMenu(MenuHandle menu, ConstStringPtr text);
void PortAppendMenuItemText(MenuHandle menu, ConstStringPtr text);
// Inserts after item afterItem (0: first; past the end: last).
void PortInsertMenuItem(MenuHandle menu, ConstStringPtr text, SInt16 afterItem);
void PortDeleteMenuItem(MenuHandle menu, SInt16 item);
// Appends the names of every resource of the type (sorted, no duplicates, nameless ones left out).
void PortAppendResMenu(MenuHandle menu, ResType type);
void PortAppendResourceMenu(MenuHandle menu, ResType type);
SInt16 PortCountMenuItems(MenuHandle menu);
SInt16 PortMenuOp236(MenuHandle menu);  // the same count
// The width in pixels of the menu's frame as it opens (at least 60); 0 for no menu.
SInt16 PortGetMenuWidth(MenuHandle menu);

void PortGetMenuItemText(MenuHandle menu, SInt16 item, StringPtr text);
void PortMenuItemText(MenuHandle menu, SInt16 item, StringPtr text);  // the same
void PortSetMenuItemText(MenuHandle menu, SInt16 item, ConstStringPtr text);
// Item 0 enables or disables the whole menu (its title dims).
void PortEnableMenuItem(MenuHandle menu, SInt16 item);
void PortDisableMenuItem(MenuHandle menu, SInt16 item);
Boolean PortIsMenuItemEnabled(MenuHandle menu, SInt16 item);
void PortCheckMenuItem(MenuHandle menu, SInt16 item, Boolean checked);
void PortSetItemMark(MenuHandle menu, SInt16 item, UInt8 mark);
UInt8 PortGetItemMark(MenuHandle menu, SInt16 item);
void PortSetItemCmd(MenuHandle menu, SInt16 item, UInt8 key);
UInt8 PortGetItemCmd(MenuHandle menu, SInt16 item);
void PortSetItemStyle(MenuHandle menu, SInt16 item, UInt8 style);
void PortSetMenuItemHierarchicalID(MenuHandle menu, SInt16 item, SInt16 submenuId);
SInt16 PortGetMenuItemHierarchicalID(MenuHandle menu, SInt16 item);
void PortSetMenuItemCommandID(MenuHandle menu, SInt16 item, SInt32 command);
SInt32 PortGetMenuItemCommandID(MenuHandle menu, SInt16 item);

// Choosing. The result is (menuID << 16) | item, 0 when nothing was chosen (released outside,
// on a disabled item, a separator or an item with a submenu). The chosen menu's title stays
// highlighted until PortHighlightMenu(0).
// Tracks the mouse from a press in the menu bar until release: menus open under the title the
// mouse is over, submenus beside their item.
SInt32 PortMenuSelect(Point startPt);
// The enabled item of the bar's menus (and their submenus) with this key equivalent (letters in
// either case); its title is highlighted. 0 when none.
SInt32 PortMenuKey(UInt8 key);
// Shows the menu with item popUpItem at (top, left) global and tracks the mouse until release.
SInt32 PortPopUpMenuSelect(MenuHandle menu, SInt16 top, SInt16 left, SInt16 popUpItem);

// The highlighted title of the bar (0: none).
void PortHighlightMenu(SInt16 menuID);
SInt16 PortHighlightedMenu();

namespace vlui {

// Where things are on the screen, for scripts and tests (global coordinates; false when not
// there). Titles and item texts are UTF-8 and compared exactly.
bool MenuTitleRect(SInt16 menuID, Rect* r);
SInt16 FindMenuByTitle(const std::string& utf8Title);  // in the bar; 0 when none
// The item with this text in an inserted menu; 0 when none.
SInt16 FindMenuItem(SInt16 menuID, const std::string& utf8Text);
// While a menu is open (inside PortMenuSelect or PortPopUpMenuSelect): the open menu's id that
// holds the item text, and the item's rectangle; false when no open menu has it.
bool OpenMenuItemRect(const std::string& utf8Text, SInt16* menuID, SInt16* item, Rect* r);
// The ids of the menus open right now, outermost first.
std::vector<SInt16> OpenMenus();

// Inverts the menu bar's pixels on the screen (a second call puts them back): how a beep is
// seen where it cannot be heard.
void InvertMenuBar();

// Forgets every menu (tests).
void ResetMenus();

}  // namespace vlui
