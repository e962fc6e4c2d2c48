#include "CMenuManager.h"

#include <algorithm>
#include <cctype>

#include "Menus.h"
#include "PString.h"
#include "Resources.h"

CMenuManager* gMenuManager = nullptr;

void SplitCommandSuffix(std::string* text, long* command) {
  std::size_t hash = text->rfind('#');
  if (hash == std::string::npos || hash + 1 >= text->size()) return;
  std::size_t digits = hash + 1;
  if ((*text)[digits] == '-') ++digits;
  if (digits >= text->size()) return;
  long value = 0;
  for (std::size_t i = digits; i < text->size(); ++i) {
    char c = (*text)[i];
    if (c < '0' || c > '9' || value > 99999999L) return;
    value = value * 10 + (c - '0');
  }
  *command = (*text)[hash + 1] == '-' ? -value : value;
  text->resize(hash);
}

void MenuRecord::EnableAllItems() {
  for (auto& item : items) item.enabled = true;
}

void CMenuManager::IMenuManager(SInt16 newOption) { option = newOption; }

CMenuManager::~CMenuManager() {
  for (auto& shown : screenMenus) PortDisposeMenu(shown.second);
  screenMenus.clear();
  for (MenuRecord* menu : menus) delete menu;
  if (gMenuManager == this) gMenuManager = nullptr;
}

MenuRecord* CMenuManager::Find(SInt16 menuId) const {
  for (MenuRecord* menu : menus)
    if (menu->menuId == menuId) return menu;
  return nullptr;
}

MenuRecord* CMenuManager::AddMenu(SInt16 menuId, SInt16 beforeId) {
  MenuRecord* menu = Find(menuId);
  if (!menu) {
    menu = new MenuRecord;
    menu->menuId = menuId;
    if (Handle h = PortLoadResource(FourCC("MENU"), menuId)) {
      vlres::MenuTemplate parsed;
      if (vlres::ParseMenu(h, &parsed)) {
        menu->title = parsed.title;
        menu->enabled = parsed.enabled;
        for (const auto& data : parsed.items) {
          MenuItemRecord item;
          item.text = data.text;
          SplitCommandSuffix(&item.text, &item.command);
          item.keyEquivalent = data.keyEquivalent;
          item.enabled = data.enabled;
          item.checked = data.mark != 0;
          menu->items.push_back(item);
        }
      }
    }
    menus.push_back(menu);
  }
  if (beforeId != -1 && !menu->inMenuBar) {
    auto at = beforeId == 0 ? bar.end() : std::find(bar.begin(), bar.end(), beforeId);
    bar.insert(at, menuId);
    menu->inMenuBar = true;
  }
  return menu;
}

void CMenuManager::RemoveMenu(SInt16 menuId) {
  bar.erase(std::remove(bar.begin(), bar.end(), menuId), bar.end());
  auto it = std::find_if(menus.begin(), menus.end(), [&](MenuRecord* m) { return m->menuId == menuId; });
  if (it == menus.end()) return;
  delete *it;
  menus.erase(it);
}

MenuRecord* CMenuManager::GetMenuByID(SInt16 menuId) { return Find(menuId); }

Boolean CMenuManager::IsInMenuBar(SInt16 menuId) const {
  return std::find(bar.begin(), bar.end(), menuId) != bar.end();
}

std::vector<SInt16> CMenuManager::MenuBarIds() const { return bar; }

SInt16 CMenuManager::CountItems(SInt16 menuId) {
  MenuRecord* menu = Find(menuId);
  return menu ? menu->CountItems() : 0;
}

Boolean CMenuManager::AddCommandItem(long command, ConstStringPtr text, SInt16 menuId, SInt16 afterItem) {
  MenuRecord* menu = Find(menuId);
  if (!menu) return false;
  MenuItemRecord item;
  item.text = PStrToStd(text);
  item.command = command;
  std::size_t at = afterItem < 0 ? 0 : std::min<std::size_t>(std::size_t(afterItem), menu->items.size());
  menu->items.insert(menu->items.begin() + long(at), item);
  return true;
}

void CMenuManager::RemoveCommandItem(long command) {
  if (command == 0) return;
  for (MenuRecord* menu : menus) {
    if (command > 0) {
      auto& items = menu->items;
      items.erase(std::remove_if(items.begin(), items.end(),
                                 [&](const MenuItemRecord& i) { return i.command == command; }),
                  items.end());
    }
  }
  if (command < 0) {
    auto places = Locate(command);
    for (const Place& p : places) p.menu->items.erase(p.menu->items.begin() + long(p.index));
  }
}

Boolean CMenuManager::AddSubmenu(SInt16 submenuId, long command, SInt16 parentId, SInt16 afterItem) {
  MenuRecord* parent = Find(parentId);
  if (!parent) return false;
  MenuRecord* submenu = AddMenu(submenuId, -1);
  Str255 title(std::string_view(submenu->title));
  AddCommandItem(command, title, parentId, afterItem);
  std::size_t at = afterItem < 0 ? 0 : std::min<std::size_t>(std::size_t(afterItem), parent->items.size() - 1);
  parent->items[at].submenuId = submenuId;
  return true;
}

std::vector<CMenuManager::Place> CMenuManager::Locate(long command) const {
  std::vector<Place> places;
  if (command < 0) {
    long code = -command;
    SInt16 menuId = SInt16(code >> 16);
    long item = code & 0xFFFF;
    MenuRecord* menu = Find(menuId);
    if (menu && item >= 1 && item <= long(menu->items.size()) && menu->items[std::size_t(item - 1)].command == 0)
      places.push_back({menu, std::size_t(item - 1)});
    return places;
  }
  if (command == 0) return places;
  for (MenuRecord* menu : menus)
    for (std::size_t i = 0; i < menu->items.size(); ++i)
      if (menu->items[i].command == command) places.push_back({menu, i});
  return places;
}

void CMenuManager::EnableCommand(long command) {
  for (const Place& p : Locate(command)) p.menu->items[p.index].enabled = true;
}

void CMenuManager::DisableCommand(long command) {
  for (const Place& p : Locate(command)) p.menu->items[p.index].enabled = false;
}

void CMenuManager::CheckCommand(long command, Boolean checked) {
  for (const Place& p : Locate(command)) p.menu->items[p.index].checked = checked;
}

void CMenuManager::SetCommandText(long command, ConstStringPtr text) {
  for (const Place& p : Locate(command)) p.menu->items[p.index].text = PStrToStd(text);
}

Boolean CMenuManager::GetCommandText(long command, StringPtr text) const {
  auto places = Locate(command);
  if (places.empty()) {
    if (text) text[0] = 0;
    return false;
  }
  if (text) PStrFromStd(places.front().menu->items[places.front().index].text, text);
  return true;
}

Boolean CMenuManager::IsCommandEnabled(long command) const {
  for (const Place& p : Locate(command))
    if (p.menu->items[p.index].enabled && p.menu->enabled) return true;
  return false;
}

Boolean CMenuManager::IsCommandChecked(long command) const {
  auto places = Locate(command);
  return !places.empty() && places.front().menu->items[places.front().index].checked;
}

Boolean CMenuManager::HasCommand(long command) const { return !Locate(command).empty(); }

long CMenuManager::FindCommand(SInt16 menuId, SInt16 item) const {
  MenuRecord* menu = Find(menuId);
  if (menu && item >= 1 && item <= menu->CountItems() && menu->items[std::size_t(item - 1)].command != 0)
    return menu->items[std::size_t(item - 1)].command;
  return -((long(UInt16(menuId)) << 16) | long(UInt16(item)));
}

Boolean CMenuManager::FindMenuItem(long command, SInt16* menuId, SInt16* item) const {
  auto places = Locate(command);
  if (places.empty()) return false;
  if (menuId) *menuId = places.front().menu->menuId;
  if (item) *item = SInt16(places.front().index + 1);
  return true;
}

long CMenuManager::FindKeyCommand(char key, Boolean* enabled) const {
  int wanted = std::toupper(static_cast<unsigned char>(key));
  for (SInt16 id : bar) {
    MenuRecord* menu = Find(id);
    if (!menu) continue;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
      const MenuItemRecord& item = menu->items[i];
      if (item.keyEquivalent == 0 || std::toupper(item.keyEquivalent) != wanted) continue;
      if (enabled) *enabled = item.enabled && menu->enabled;
      return FindCommand(menu->menuId, SInt16(i + 1));
    }
  }
  if (enabled) *enabled = false;
  return 0;
}

void CMenuManager::EnableMenu(SInt16 menuId) {
  if (MenuRecord* menu = Find(menuId)) menu->enabled = true;
}

void CMenuManager::DisableMenu(SInt16 menuId) {
  if (MenuRecord* menu = Find(menuId)) menu->enabled = false;
}

void CMenuManager::SetDimOption(SInt16 menuId, SInt16 value) {
  if (MenuRecord* menu = Find(menuId)) menu->dimOption = value;
}

void CMenuManager::SetUnDimmed(SInt16 menuId, Boolean unDimmed) {
  if (MenuRecord* menu = Find(menuId)) menu->unDimmed = unDimmed;
}

void CMenuManager::SetUnCheckOption(SInt16 menuId, Boolean unCheck) {
  if (MenuRecord* menu = Find(menuId)) menu->unCheck = unCheck;
}

void CMenuManager::PrepareUpdate() {
  for (MenuRecord* menu : menus) {
    for (auto& item : menu->items) {
      if (menu->dimOption != 0) item.enabled = false;
      if (menu->unCheck) item.checked = false;
    }
  }
}

void CMenuManager::FinishUpdate() {
  // A menu that dims automatically is enabled exactly when one of its items is.
  for (MenuRecord* menu : menus) {
    if (menu->dimOption == 0 || menu->unDimmed) continue;
    menu->enabled = std::any_of(menu->items.begin(), menu->items.end(),
                                [](const MenuItemRecord& i) { return i.enabled; });
  }
}

void CMenuManager::SyncMenus() {
  Boolean changed = false;
  // Menus the model no longer has leave the screen.
  for (auto it = screenMenus.begin(); it != screenMenus.end();) {
    if (!Find(it->first)) {
      PortDisposeMenu(it->second);
      it = screenMenus.erase(it);
      changed = true;
    } else {
      ++it;
    }
  }
  // Only the model's menus count: the bar may hold menus the program inserted itself.
  std::vector<SInt16> shownBar;
  for (SInt16 id : PortMenuBarIds())
    if (std::find(bar.begin(), bar.end(), id) != bar.end()) shownBar.push_back(id);
  Boolean orderChanged = shownBar != bar;
  auto update = [&changed](auto& field, const auto& value) {
    if (field == value) return;
    field = value;
    changed = true;
  };
  for (MenuRecord* menu : menus) {
    MenuHandle& m = screenMenus[menu->menuId];
    if (!m) {
      Str255 title(menu->title);
      m = PortNewMenu(menu->menuId, title);
      if (!m) continue;
      orderChanged = true;
    }
    update(m->title, menu->title);
    update(m->enabled, menu->enabled);
    if (m->items.size() != menu->items.size()) {
      m->items.resize(menu->items.size());
      changed = true;
    }
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
      const MenuItemRecord& from = menu->items[i];
      MenuItemInfo& to = m->items[i];
      update(to.text, from.text);
      update(to.keyEquivalent, from.keyEquivalent);
      update(to.enabled, from.enabled);
      update(to.mark, UInt8(from.checked ? kCheckMark : 0));
      update(to.submenuId, from.submenuId);
      update(to.command, SInt32(from.command > 0 ? from.command : 0));
    }
  }
  if (orderChanged) {
    for (auto& shown : screenMenus) PortDeleteMenu(shown.first);
    for (SInt16 id : bar)
      if (MenuHandle m = screenMenus[id]) PortInsertMenu(m, 0);
    for (MenuRecord* menu : menus)
      if (!menu->inMenuBar)
        if (MenuHandle m = screenMenus[menu->menuId]) PortInsertMenu(m, kInsertHierarchicalMenu);
    changed = true;
  }
  if (changed) PortInvalMenuBar();
}
