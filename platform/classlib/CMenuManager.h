// The menu manager: the menus of the menu bar (and their submenus) as a model of items with
// command numbers, enable states, check marks and texts. Commands name items; an item without
// a command of its own answers to -(menu << 16 | item). Drawing the menus is the window layer's.
//
// Before every menu update the manager dims the items of each menu whose dimming option is on
// (the default) and unchecks the items of each menu whose un-check option is on; the chain of
// command then enables and checks what applies.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "CCollaborator.h"
#include "MacTypes.h"
#include "PString.h"

struct MenuInfo;

struct MenuItemRecord {
  std::string text;        // Mac Roman; "-" is a separator line
  long command = 0;        // 0: none (the item answers to its negative command)
  UInt8 keyEquivalent = 0; // with the command key
  Boolean enabled = true;
  Boolean checked = false;
  SInt16 submenuId = 0;    // a submenu shown from this item, 0 when none
};

struct MenuRecord {
  SInt16 menuId = 0;
  std::string title;       // Mac Roman
  Boolean enabled = true;
  Boolean inMenuBar = false;
  SInt16 dimOption = 1;    // 0: no automatic dimming before an update
  Boolean unDimmed = false;  // the menu itself stays enabled whatever its items
  Boolean unCheck = false;   // every item is unchecked before an update
  std::vector<MenuItemRecord> items;

  // Enables every item (the item-enable mask set to all ones).
  void EnableAllItems();
  SInt16 CountItems() const { return SInt16(items.size()); }
};

class CMenuManager : public CCollaborator {
  VL_REGISTERED_CLASS(CMenuManager, CCollaborator)

 public:
  CMenuManager() = default;
  ~CMenuManager() override;

  // The option is kept for the window layer; menus are added by the application's set-up.
  void IMenuManager(SInt16 option);
  SInt16 GetOption() const { return option; }

  // Adds a menu: from its 'MENU' resource when there is one (an item text ending in "#N" names
  // command N, see SplitCommandSuffix), else empty with no title. In the
  // menu bar before menu beforeId (0: at the end), or, with beforeId -1, as a submenu outside
  // the bar. A menu already present is left where it is. Answers the menu.
  MenuRecord* AddMenu(SInt16 menuId, SInt16 beforeId = 0);
  void RemoveMenu(SInt16 menuId);
  MenuRecord* GetMenuByID(SInt16 menuId);
  MenuRecord* GetMenu(SInt16 menuId) { return GetMenuByID(menuId); }
  Boolean IsInMenuBar(SInt16 menuId) const;
  // The menu bar's menus, left to right.
  std::vector<SInt16> MenuBarIds() const;
  SInt16 CountItems(SInt16 menuId);

  // Inserts an item with a command after item afterItem of the menu (0: first; past the end:
  // last). False when the menu is not there.
  Boolean AddCommandItem(long command, ConstStringPtr text, SInt16 menuId, SInt16 afterItem);
  // Takes out every item of the command.
  void RemoveCommandItem(long command);
  // Puts submenu submenuId behind an item with the command, after item afterItem of the parent;
  // the item's text is the submenu's title. The submenu is added outside the bar when missing.
  Boolean AddSubmenu(SInt16 submenuId, long command, SInt16 parentId, SInt16 afterItem);

  void EnableCommand(long command);
  void DisableCommand(long command);
  void CheckCommand(long command, Boolean checked);
  void SetCommandText(long command, ConstStringPtr text);
  // The text of the command's item (the first when several); false and empty when none.
  Boolean GetCommandText(long command, StringPtr text) const;
  Boolean IsCommandEnabled(long command) const;
  Boolean IsCommandChecked(long command) const;
  // True when some item answers to the command.
  Boolean HasCommand(long command) const;

  // The command of a menu's item: its own, or -(menu << 16 | item) when it has none (also for
  // an item or menu that does not exist).
  long FindCommand(SInt16 menuId, SInt16 item) const;
  // The menu and item of a command's first item; false when none.
  Boolean FindMenuItem(long command, SInt16* menuId, SInt16* item) const;
  // The command of the menu bar's item with this key equivalent (letters in either case); 0
  // when none. *enabled tells whether that item and its menu are enabled.
  long FindKeyCommand(char key, Boolean* enabled) const;

  void EnableMenu(SInt16 menuId);
  void DisableMenu(SInt16 menuId);
  void SetDimOption(SInt16 menuId, SInt16 value);
  void SetUnDimmed(SInt16 menuId, Boolean unDimmed);
  void SetUnCheckOption(SInt16 menuId, Boolean unCheck);

  // The two halves around the chain's menu update.
  void PrepareUpdate();
  void FinishUpdate();

  // Brings the screen's menu bar and submenus (Menus.h) in step with the model.
  void SyncMenus();


 private:
  struct Place {
    MenuRecord* menu;
    std::size_t index;
  };
  std::vector<Place> Locate(long command) const;
  MenuRecord* Find(SInt16 menuId) const;

  SInt16 option = 0;
  std::map<SInt16, MenuInfo*> screenMenus;  // the screen's menus made from the model
  std::vector<MenuRecord*> menus;   // every menu, bar menus and submenus
  std::vector<SInt16> bar;          // menu ids of the bar, in order
};

// The application's menu manager.
extern CMenuManager* gMenuManager;

// A 'MENU' item text ending in "#" and a number names that command: the suffix is taken off
// the text and the number becomes the item's command.
void SplitCommandSuffix(std::string* text, long* command);
