// Menus: the menu bar, pull-down menus, submenus and popup menus, drawn on the screen and
// tracked with the mouse.
#include "Menus.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <type_traits>

#include "PString.h"
#include "Resources.h"
#include "Screen.h"
#include "UiInternal.h"

namespace vlui {
namespace {

using namespace internal;

std::set<MenuHandle> gLive;
std::vector<MenuHandle> gBar;
std::vector<MenuHandle> gHier;
SInt16 gHighlighted = 0;

constexpr SInt16 kItemHeight = 18;
constexpr SInt16 kSeparatorHeight = 8;
constexpr SInt16 kTitlePad = 10;
constexpr SInt16 kMarkColumn = 18;
constexpr SInt16 kBarLeft = 8;

bool Live(MenuHandle m) { return m && gLive.count(m) != 0; }

bool ValidItem(MenuHandle m, SInt16 item) { return Live(m) && item >= 1 && item <= SInt16(m->items.size()); }

MenuItemInfo* ItemOf(MenuHandle m, SInt16 item) { return ValidItem(m, item) ? &m->items[std::size_t(item - 1)] : nullptr; }

bool IsSeparator(const MenuItemInfo& item) { return item.text == "-" || (!item.text.empty() && item.text[0] == '-' && item.text.find_first_not_of('-') == std::string::npos); }

// The shortcut shown right of an item: "Ctrl+K".
std::string KeyText(const MenuItemInfo& item) {
  if (!item.keyEquivalent) return std::string();
  char key = char(std::toupper(item.keyEquivalent));
  return std::string("Ctrl+") + key;
}

// ---- Geometry ---------------------------------------------------------------------------------

void MeasureFont() { UseFont(kSystemSize); }

std::vector<Rect> TitleRects() {
  std::vector<Rect> rects;
  PortKeeper keep;
  UseScreenPort();
  MeasureFont();
  SInt16 x = kBarLeft;
  for (MenuHandle m : gBar) {
    SInt16 w = SInt16(TextWidth(m->title) + 2 * kTitlePad);
    rects.push_back(Rect{0, x, kMenuBarHeight, SInt16(x + w)});
    x = SInt16(x + w);
  }
  return rects;
}

SInt16 ItemHeight(const MenuItemInfo& item) { return IsSeparator(item) ? kSeparatorHeight : kItemHeight; }

// The size of a menu's frame (without its shadow).
Point MenuSize(MenuHandle m) {
  PortKeeper keep;
  UseScreenPort();
  MeasureFont();
  SInt16 textW = 0, keyW = 0, height = 0;
  bool arrows = false;
  for (const MenuItemInfo& item : m->items) {
    height = SInt16(height + ItemHeight(item));
    if (IsSeparator(item)) continue;
    textW = std::max<SInt16>(textW, TextWidth(item.text));
    keyW = std::max<SInt16>(keyW, TextWidth(KeyText(item)));
    arrows = arrows || item.submenuId != 0;
  }
  SInt16 width = SInt16(kMarkColumn + textW + (keyW ? keyW + 24 : 0) + (arrows ? 18 : 0) + 14);
  width = std::max<SInt16>(width, 60);
  height = std::max<SInt16>(height, 4);
  return Point{SInt16(height + 2), width};
}

Rect ItemRectIn(const Rect& frame, MenuHandle m, SInt16 item) {
  SInt16 y = SInt16(frame.top + 1);
  for (SInt16 i = 1; i <= SInt16(m->items.size()); ++i) {
    SInt16 h = ItemHeight(m->items[std::size_t(i - 1)]);
    if (i == item) return Rect{y, SInt16(frame.left + 1), SInt16(y + h), SInt16(frame.right - 1)};
    y = SInt16(y + h);
  }
  return Rect{};
}

SInt16 ItemAt(const Rect& frame, MenuHandle m, Point pt) {
  if (!PortPtInRect(pt, &frame)) return 0;
  for (SInt16 i = 1; i <= SInt16(m->items.size()); ++i) {
    Rect r = ItemRectIn(frame, m, i);
    if (PortPtInRect(pt, &r)) return i;
  }
  return 0;
}

// Keeps a menu frame on the screen below the menu bar.
Rect OnScreen(Rect r) {
  Rect all = ScreenBounds();
  if (r.right + 2 > all.right) PortOffsetRect(&r, all.right - 2 - r.right, 0);
  if (r.left < all.left) PortOffsetRect(&r, all.left - r.left, 0);
  if (r.bottom + 2 > all.bottom) PortOffsetRect(&r, 0, all.bottom - 2 - r.bottom);
  if (r.top < kMenuBarHeight) PortOffsetRect(&r, 0, kMenuBarHeight - r.top);
  return r;
}

// ---- Drawing ----------------------------------------------------------------------------------

void DrawItem(MenuHandle m, const Rect& frame, SInt16 item, bool highlighted) {
  const MenuItemInfo& info = m->items[std::size_t(item - 1)];
  Rect r = ItemRectIn(frame, m, item);
  if (IsSeparator(info)) {
    FillRect(r, kWhite);
    SInt16 y = SInt16(r.top + kSeparatorHeight / 2);
    FillRect(Rect{y, SInt16(r.left + 2), SInt16(y + 1), SInt16(r.right - 2)}, kDimTextColor);
    return;
  }
  bool enabled = info.enabled && m->enabled;
  bool hl = highlighted && enabled;
  FillRect(r, hl ? kSelectColor : kWhite);
  UInt32 ink = hl ? kSelectTextColor : enabled ? kBlack : kDimTextColor;
  MeasureFont();
  PortTextFace(info.style & 0x7F);
  FontInfo fi;
  PortGetFontInfo(&fi);
  SInt16 base = SInt16(r.top + (r.bottom - r.top + fi.ascent - fi.descent) / 2);
  if (info.mark) {
    std::string mark = info.mark == kCheckMark ? std::string("\xC3") : std::string(1, char(info.mark));  // √ in Mac Roman
    DrawText(mark, SInt16(r.left + 4), base, ink);
  }
  DrawText(info.text, SInt16(r.left + kMarkColumn), base, ink);
  PortTextFace(0);
  std::string key = KeyText(info);
  SInt16 right = SInt16(r.right - 8);
  if (info.submenuId) {
    // A small triangle pointing right.
    SInt16 cy = SInt16((r.top + r.bottom) / 2);
    for (SInt16 i = 0; i < 5; ++i)
      FillRect(Rect{SInt16(cy - 4 + i), SInt16(right - 5 + i), SInt16(cy + 5 - i), SInt16(right - 4 + i)}, ink);
    right = SInt16(right - 16);
  }
  if (!key.empty()) DrawText(key, SInt16(right - TextWidth(key)), base, ink);
}

void DrawMenu(MenuHandle m, const Rect& frame, SInt16 highlighted) {
  PortKeeper keep;
  UseScreenPort();
  FillRect(frame, kWhite);
  FrameRect(frame, kBlack);
  FillRect(Rect{SInt16(frame.top + 2), frame.right, SInt16(frame.bottom + 2), SInt16(frame.right + 2)}, kBlack);
  FillRect(Rect{frame.bottom, SInt16(frame.left + 2), SInt16(frame.bottom + 2), SInt16(frame.right + 2)}, kBlack);
  for (SInt16 i = 1; i <= SInt16(m->items.size()); ++i) DrawItem(m, frame, i, i == highlighted);
  NoteScreenChanged();
}

void RedrawItem(MenuHandle m, const Rect& frame, SInt16 item, bool highlighted) {
  if (item < 1 || item > SInt16(m->items.size())) return;
  PortKeeper keep;
  UseScreenPort();
  DrawItem(m, frame, item, highlighted);
  NoteScreenChanged();
}

// ---- Tracking -----------------------------------------------------------------------------------

struct OpenMenu {
  MenuHandle menu;
  Rect frame;
  SavedBits under;
  SInt16 highlighted = 0;
};
std::vector<OpenMenu> gOpen;

void Open(MenuHandle m, Rect frame) {
  OpenMenu o;
  o.menu = m;
  o.frame = OnScreen(frame);
  Rect withShadow = o.frame;
  withShadow.right = SInt16(withShadow.right + 2);
  withShadow.bottom = SInt16(withShadow.bottom + 2);
  SaveBits(withShadow, &o.under);
  DrawMenu(m, o.frame, 0);
  gOpen.push_back(std::move(o));
}

void CloseFrom(std::size_t depth) {
  while (gOpen.size() > depth) {
    RestoreBits(gOpen.back().under);
    gOpen.pop_back();
  }
}

Point GlobalMouse() {
  PortKeeper keep;
  PortSetPort(ScreenPort());
  Point p;
  PortGetMouse(&p);
  return p;
}

void SetHighlight(std::size_t depth, SInt16 item) {
  OpenMenu& o = gOpen[depth];
  if (o.highlighted == item) return;
  RedrawItem(o.menu, o.frame, o.highlighted, false);
  o.highlighted = item;
  RedrawItem(o.menu, o.frame, item, true);
}

bool Choosable(MenuHandle m, SInt16 item) {
  const MenuItemInfo* info = ItemOf(m, item);
  return info && info->enabled && m->enabled && !IsSeparator(*info) && info->submenuId == 0;
}

// One step of tracking with the mouse at pt: highlights the item under it and opens or closes
// submenus. The open menus from index `fixed` on may be closed (0: all, for the bar's own).
void TrackStep(Point pt, std::size_t fixed) {
  // The deepest open menu under the mouse.
  for (std::size_t d = gOpen.size(); d-- > 0;) {
    OpenMenu& o = gOpen[d];
    SInt16 item = ItemAt(o.frame, o.menu, pt);
    if (!item) continue;
    const MenuItemInfo& info = o.menu->items[std::size_t(item - 1)];
    bool selectable = info.enabled && o.menu->enabled && !IsSeparator(info);
    MenuHandle sub = selectable && info.submenuId ? FindAnyMenu(info.submenuId) : nullptr;
    bool subOpen = sub && o.highlighted == item && gOpen.size() > d + 1 && gOpen[d + 1].menu == sub;
    if (!subOpen) CloseFrom(std::max(d + 1, fixed));
    SetHighlight(d, selectable ? item : 0);
    if (sub && !subOpen) {
      if (sub != o.menu && !sub->items.empty()) {
        Rect r = ItemRectIn(o.frame, o.menu, item);
        Point size = MenuSize(sub);
        Open(sub, Rect{SInt16(r.top - 1), SInt16(o.frame.right - 2), SInt16(r.top - 1 + size.v),
                       SInt16(o.frame.right - 2 + size.h)});
      }
    }
    return;
  }
  // Outside every menu: the deepest one loses its highlight unless it leads to an open submenu.
  if (!gOpen.empty()) {
    std::size_t d = gOpen.size() - 1;
    SetHighlight(d, 0);
  }
}

// The choice when the button is let go at pt.
SInt32 ChoiceAt(Point pt) {
  for (std::size_t d = gOpen.size(); d-- > 0;) {
    OpenMenu& o = gOpen[d];
    SInt16 item = ItemAt(o.frame, o.menu, pt);
    if (!item) continue;
    if (Choosable(o.menu, item)) return (SInt32(o.menu->menuID) << 16) | UInt16(item);
    return 0;
  }
  return 0;
}

Rect PullDownFrame(MenuHandle m, const Rect& title) {
  Point size = MenuSize(m);
  return Rect{kMenuBarHeight, title.left, SInt16(kMenuBarHeight + size.v), SInt16(title.left + size.h)};
}

void DrawBar() {
  if (!ScreenReady()) return;
  PortKeeper keep;
  Rect all = ScreenBounds();
  Rect bar{0, 0, std::min<SInt16>(kMenuBarHeight, all.bottom), all.right};
  UseScreenPortRect(bar);
  FillRect(bar, kWhite);
  FillRect(Rect{SInt16(bar.bottom - 1), 0, bar.bottom, all.right}, kBlack);
  std::vector<Rect> titles = TitleRects();
  MeasureFont();
  FontInfo fi;
  PortGetFontInfo(&fi);
  for (std::size_t i = 0; i < gBar.size(); ++i) {
    MenuHandle m = gBar[i];
    Rect r = titles[i];
    r.bottom = SInt16(r.bottom - 1);
    bool hl = m->menuID == gHighlighted;
    if (hl) FillRect(r, kSelectColor);
    SInt16 base = SInt16(r.top + (r.bottom - r.top + fi.ascent - fi.descent) / 2);
    DrawText(m->title, SInt16(r.left + kTitlePad), base, hl ? kSelectTextColor : m->enabled ? kBlack : kDimTextColor);
  }
  NoteScreenChanged();
}

MenuHandle FindIn(const std::vector<MenuHandle>& list, SInt16 id) {
  for (MenuHandle m : list)
    if (m->menuID == id) return m;
  return nullptr;
}

// Key equivalents in a menu and its submenus (each menu visited once).
SInt32 FindKey(MenuHandle m, int key, std::set<MenuHandle>* seen) {
  if (!m || !seen->insert(m).second || !m->enabled) return 0;
  for (SInt16 i = 1; i <= SInt16(m->items.size()); ++i) {
    const MenuItemInfo& info = m->items[std::size_t(i - 1)];
    if (info.submenuId) {
      if (!info.enabled) continue;
      if (SInt32 found = FindKey(FindAnyMenu(info.submenuId), key, seen)) return found;
      continue;
    }
    if (info.keyEquivalent && std::toupper(info.keyEquivalent) == key && info.enabled && !IsSeparator(info))
      return (SInt32(m->menuID) << 16) | UInt16(i);
  }
  return 0;
}

}  // namespace

namespace internal {

void DrawMenuBarNow() { DrawBar(); }

void ForgetMenusForScreen() { gOpen.clear(); }

MenuHandle FindAnyMenu(SInt16 menuID) {
  if (MenuHandle m = FindIn(gBar, menuID)) return m;
  return FindIn(gHier, menuID);
}

SInt16 PopUpAt(MenuHandle menu, const Rect& box, SInt16 current) {
  SInt32 choice = PortPopUpMenuSelect(menu, box.top, box.left, current);
  return choice ? SInt16(choice & 0xFFFF) : 0;
}

}  // namespace internal

bool MenuTitleRect(SInt16 menuID, Rect* r) {
  std::vector<Rect> titles = TitleRects();
  for (std::size_t i = 0; i < gBar.size(); ++i) {
    if (gBar[i]->menuID != menuID) continue;
    if (r) *r = titles[i];
    return true;
  }
  return false;
}

SInt16 FindMenuByTitle(const std::string& utf8Title) {
  for (MenuHandle m : gBar)
    if (MacRomanToUtf8(m->title) == utf8Title) return m->menuID;
  return 0;
}

SInt16 FindMenuItem(SInt16 menuID, const std::string& utf8Text) {
  MenuHandle m = FindAnyMenu(menuID);
  if (!m) return 0;
  for (SInt16 i = 1; i <= SInt16(m->items.size()); ++i)
    if (MacRomanToUtf8(m->items[std::size_t(i - 1)].text) == utf8Text) return i;
  return 0;
}

bool OpenMenuItemRect(const std::string& utf8Text, SInt16* menuID, SInt16* item, Rect* r) {
  for (std::size_t d = gOpen.size(); d-- > 0;) {
    const OpenMenu& o = gOpen[d];
    for (SInt16 i = 1; i <= SInt16(o.menu->items.size()); ++i) {
      if (MacRomanToUtf8(o.menu->items[std::size_t(i - 1)].text) != utf8Text) continue;
      if (menuID) *menuID = o.menu->menuID;
      if (item) *item = i;
      if (r) *r = ItemRectIn(o.frame, o.menu, i);
      return true;
    }
  }
  return false;
}

std::vector<SInt16> OpenMenus() {
  std::vector<SInt16> ids;
  for (const OpenMenu& o : gOpen) ids.push_back(o.menu->menuID);
  return ids;
}

void InvertMenuBar() {
  const PixMap* pm = ScreenPixMap();
  if (!pm || !pm->baseAddr) return;
  const int rows = std::min<int>(PortMenuBarHeight(), ScreenHeight());
  for (int y = 0; y < rows; ++y) {
    auto* row = reinterpret_cast<UInt32*>(pm->baseAddr + std::ptrdiff_t(y) * pm->rowBytes);
    for (int x = 0; x < ScreenWidth(); ++x) row[x] ^= 0x00FFFFFF;
  }
  NoteScreenChanged();
}

void ResetMenus() {
  CloseFrom(0);
  for (MenuHandle m : gLive) delete m;
  gLive.clear();
  gBar.clear();
  gHier.clear();
  gHighlighted = 0;
}

}  // namespace vlui

using namespace vlui;
using namespace vlui::internal;

// ---- Making -------------------------------------------------------------------------------------

MenuHandle PortNewMenu(SInt16 menuID, ConstStringPtr title) {
  auto* m = new MenuInfo;
  m->menuID = menuID;
  m->title = title ? PStrToStd(title) : std::string();
  gLive.insert(m);
  return m;
}

MenuHandle PortGetMenu(SInt16 resourceID) {
  Handle h = PortLoadResource(FourCC("MENU"), resourceID);
  vlres::MenuTemplate t;
  if (!h || !vlres::ParseMenu(h, &t)) return nullptr;
  MenuHandle m = PortNewMenu(t.menuId, nullptr);
  m->title = t.title;
  m->enabled = t.enabled;
  for (const vlres::MenuItemData& d : t.items) {
    MenuItemInfo item;
    item.text = d.text;
    item.keyEquivalent = d.keyEquivalent;
    item.mark = d.mark;
    item.style = d.style;
    item.icon = d.icon;
    item.enabled = d.enabled;
    m->items.push_back(item);
  }
  return m;
}

void PortDisposeMenu(MenuHandle menu) {
  if (!Live(menu)) return;
  for (std::size_t d = 0; d < gOpen.size(); ++d) {
    if (gOpen[d].menu == menu) {
      CloseFrom(d);
      break;
    }
  }
  bool inBar = std::find(gBar.begin(), gBar.end(), menu) != gBar.end();
  gBar.erase(std::remove(gBar.begin(), gBar.end(), menu), gBar.end());
  gHier.erase(std::remove(gHier.begin(), gHier.end(), menu), gHier.end());
  if (gHighlighted == menu->menuID && inBar) gHighlighted = 0;
  gLive.erase(menu);
  delete menu;
  if (inBar) DrawBar();
}

// ---- The bar ------------------------------------------------------------------------------------

void PortInsertMenu(MenuHandle menu, SInt16 beforeID) {
  if (!Live(menu) || FindAnyMenu(menu->menuID)) return;
  if (beforeID == kInsertHierarchicalMenu) {
    gHier.push_back(menu);
    return;
  }
  auto at = std::find_if(gBar.begin(), gBar.end(), [&](MenuHandle m) { return m->menuID == beforeID; });
  gBar.insert(beforeID == 0 ? gBar.end() : at, menu);
}

void PortDeleteMenu(SInt16 menuID) {
  MenuHandle m = FindAnyMenu(menuID);
  if (!m) return;
  gBar.erase(std::remove(gBar.begin(), gBar.end(), m), gBar.end());
  gHier.erase(std::remove(gHier.begin(), gHier.end(), m), gHier.end());
  if (gHighlighted == menuID) gHighlighted = 0;
}

void PortClearMenuBar() {
  gBar.clear();
  gHighlighted = 0;
}

void PortDrawMenuBar() { DrawBar(); }
void PortInvalMenuBar() { DrawBar(); }

MenuHandle PortGetMenuHandle(SInt16 menuID) { return FindAnyMenu(menuID); }

std::vector<SInt16> PortMenuBarIds() {
  std::vector<SInt16> ids;
  for (MenuHandle m : gBar) ids.push_back(m->menuID);
  return ids;
}

SInt16 PortMenuBarHeight() { return kMenuBarHeight; }

// ---- Items --------------------------------------------------------------------------------------

void PortAppendMenu(MenuHandle menu, ConstStringPtr text) {
  if (!Live(menu)) return;
  MenuItemInfo item;
  item.text = text ? PStrToStd(text) : std::string();
  if (IsSeparator(item)) item.enabled = false;
  menu->items.push_back(item);
}

void PortAppendMenuItemText(MenuHandle menu, ConstStringPtr text) { PortAppendMenu(menu, text); }

void PortInsertMenuItem(MenuHandle menu, ConstStringPtr text, SInt16 afterItem) {
  if (!Live(menu)) return;
  MenuItemInfo item;
  item.text = text ? PStrToStd(text) : std::string();
  if (IsSeparator(item)) item.enabled = false;
  std::size_t at = afterItem <= 0 ? 0 : std::min<std::size_t>(std::size_t(afterItem), menu->items.size());
  menu->items.insert(menu->items.begin() + long(at), item);
}

void PortDeleteMenuItem(MenuHandle menu, SInt16 item) {
  if (!ValidItem(menu, item)) return;
  menu->items.erase(menu->items.begin() + (item - 1));
}

void PortAppendResMenu(MenuHandle menu, ResType type) {
  if (!Live(menu)) return;
  std::set<std::string> names;
  SInt16 count = PortCountResources(type);
  for (SInt16 i = 1; i <= count; ++i) {
    Handle h = PortGetIndResource(type, i);
    if (!h) continue;
    Str255 name;
    SInt16 id;
    ResType t;
    PortGetResInfo(h, &id, &t, name);
    if (name[0] && name[1] != '.' && name[1] != '%') names.insert(PStrToStd(name));
  }
  for (const std::string& n : names) {
    MenuItemInfo item;
    item.text = n;
    menu->items.push_back(item);
  }
}

void PortAppendResourceMenu(MenuHandle menu, ResType type) { PortAppendResMenu(menu, type); }

SInt16 PortCountMenuItems(MenuHandle menu) { return Live(menu) ? SInt16(menu->items.size()) : 0; }

SInt16 PortGetMenuWidth(MenuHandle menu) { return Live(menu) ? MenuSize(menu).h : 0; }
SInt16 PortMenuOp236(MenuHandle menu) { return PortCountMenuItems(menu); }

void PortGetMenuItemText(MenuHandle menu, SInt16 item, StringPtr text) {
  if (!text) return;
  const MenuItemInfo* info = ItemOf(menu, item);
  if (!info) {
    text[0] = 0;
    return;
  }
  PStrFromStd(info->text, text);
}

void PortMenuItemText(MenuHandle menu, SInt16 item, StringPtr text) { PortGetMenuItemText(menu, item, text); }

void PortSetMenuItemText(MenuHandle menu, SInt16 item, ConstStringPtr text) {
  if (MenuItemInfo* info = ItemOf(menu, item)) info->text = text ? PStrToStd(text) : std::string();
}

static void SetItemEnabled(MenuHandle menu, SInt16 item, bool enabled) {
  if (!Live(menu)) return;
  if (item != 0) {
    if (MenuItemInfo* info = ItemOf(menu, item)) info->enabled = enabled;
    return;
  }
  // The whole menu: its title dims in the bar.
  if (menu->enabled == enabled) return;
  menu->enabled = enabled;
  if (std::find(gBar.begin(), gBar.end(), menu) != gBar.end()) DrawBar();
}

void PortEnableMenuItem(MenuHandle menu, SInt16 item) { SetItemEnabled(menu, item, true); }
void PortDisableMenuItem(MenuHandle menu, SInt16 item) { SetItemEnabled(menu, item, false); }

Boolean PortIsMenuItemEnabled(MenuHandle menu, SInt16 item) {
  if (!Live(menu)) return false;
  if (item == 0) return menu->enabled;
  const MenuItemInfo* info = ItemOf(menu, item);
  return info && info->enabled;
}

// One field of an item, set and read; a missing item reads as zero.
template <auto Field, class Value>
static void SetField(MenuHandle menu, SInt16 item, Value value) {
  if (MenuItemInfo* info = ItemOf(menu, item)) info->*Field = value;
}

template <auto Field>
static auto GetField(MenuHandle menu, SInt16 item) {
  const MenuItemInfo* info = ItemOf(menu, item);
  using Value = std::remove_cvref_t<decltype(info->*Field)>;
  return info ? info->*Field : Value{};
}

void PortCheckMenuItem(MenuHandle menu, SInt16 item, Boolean checked) {
  SetField<&MenuItemInfo::mark>(menu, item, checked ? kCheckMark : UInt8(0));
}
void PortSetItemMark(MenuHandle menu, SInt16 item, UInt8 mark) { SetField<&MenuItemInfo::mark>(menu, item, mark); }
UInt8 PortGetItemMark(MenuHandle menu, SInt16 item) { return GetField<&MenuItemInfo::mark>(menu, item); }
void PortSetItemCmd(MenuHandle menu, SInt16 item, UInt8 key) { SetField<&MenuItemInfo::keyEquivalent>(menu, item, key); }
UInt8 PortGetItemCmd(MenuHandle menu, SInt16 item) { return GetField<&MenuItemInfo::keyEquivalent>(menu, item); }
void PortSetItemStyle(MenuHandle menu, SInt16 item, UInt8 style) { SetField<&MenuItemInfo::style>(menu, item, style); }
void PortSetMenuItemHierarchicalID(MenuHandle menu, SInt16 item, SInt16 submenuId) {
  SetField<&MenuItemInfo::submenuId>(menu, item, submenuId);
}
SInt16 PortGetMenuItemHierarchicalID(MenuHandle menu, SInt16 item) {
  return GetField<&MenuItemInfo::submenuId>(menu, item);
}
void PortSetMenuItemCommandID(MenuHandle menu, SInt16 item, SInt32 command) {
  SetField<&MenuItemInfo::command>(menu, item, command);
}
SInt32 PortGetMenuItemCommandID(MenuHandle menu, SInt16 item) { return GetField<&MenuItemInfo::command>(menu, item); }

// ---- Choosing -----------------------------------------------------------------------------------

SInt32 PortMenuSelect(Point startPt) {
  if (!ScreenReady()) return 0;
  std::vector<Rect> titles = TitleRects();
  SInt16 openTitle = -1;
  Point pt = startPt;
  SInt32 choice = 0;
  for (;;) {
    // Which title is the mouse over?
    if (pt.v >= 0 && pt.v < kMenuBarHeight) {
      for (std::size_t i = 0; i < titles.size(); ++i) {
        if (!PortPtInRect(pt, &titles[i]) || SInt16(i) == openTitle) continue;
        CloseFrom(0);
        openTitle = SInt16(i);
        PortHighlightMenu(gBar[i]->menuID);
        if (!gBar[i]->items.empty()) Open(gBar[i], PullDownFrame(gBar[i], titles[i]));
        break;
      }
    } else {
      TrackStep(pt, 1);
    }
    if (!PortButton()) break;
    pt = GlobalMouse();
  }
  pt = GlobalMouse();
  choice = ChoiceAt(pt);
  CloseFrom(0);
  if (!choice) PortHighlightMenu(0);
  return choice;
}

SInt32 PortMenuKey(UInt8 key) {
  int wanted = std::toupper(key);
  std::set<MenuHandle> seen;
  for (MenuHandle m : gBar) {
    SInt32 found = FindKey(m, wanted, &seen);
    if (!found) continue;
    PortHighlightMenu(m->menuID);
    return found;
  }
  return 0;
}

SInt32 PortPopUpMenuSelect(MenuHandle menu, SInt16 top, SInt16 left, SInt16 popUpItem) {
  if (!Live(menu) || !ScreenReady() || menu->items.empty()) return 0;
  Point size = MenuSize(menu);
  Rect frame{top, left, SInt16(top + size.v), SInt16(left + size.h)};
  if (ValidItem(menu, popUpItem)) {
    Rect r = ItemRectIn(frame, menu, popUpItem);
    PortOffsetRect(&frame, 0, top - r.top);
  }
  std::size_t base = gOpen.size();
  Open(menu, frame);
  Point pt;
  do {
    pt = GlobalMouse();
    TrackStep(pt, base + 1);
  } while (PortButton());
  pt = GlobalMouse();
  SInt32 choice = ChoiceAt(pt);
  CloseFrom(base);
  return choice;
}

void PortHighlightMenu(SInt16 menuID) {
  if (gHighlighted == menuID) return;
  gHighlighted = menuID;
  DrawBar();
}

SInt16 PortHighlightedMenu() { return gHighlighted; }
