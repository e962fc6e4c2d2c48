// Menus: items, key equivalents, tracking with the mouse, popups and the title highlight.
#include <gtest/gtest.h>

#include "PString.h"
#include "UiTestSupport.h"

namespace {

using uitest::Pt;

class MenuTest : public uitest::ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    file = PortNewMenu(128, Str255("File"));
    for (const char* item : {"New", "Open", "-", "Recent", "Quit"}) PortAppendMenu(file, Str255(item));
    PortSetItemCmd(file, 1, 'N');
    PortSetItemCmd(file, 5, 'q');
    PortSetMenuItemHierarchicalID(file, 4, 140);
    edit = PortNewMenu(129, Str255("Edit"));
    for (const char* item : {"Undo", "Copy"}) PortAppendMenu(edit, Str255(item));
    PortSetItemCmd(edit, 2, 'C');
    recent = PortNewMenu(140, Str255("Recent"));
    PortAppendMenu(recent, Str255("plan.vl"));
    PortSetItemCmd(recent, 1, 'R');
    PortInsertMenu(file, 0);
    PortInsertMenu(edit, 0);
    PortInsertMenu(recent, kInsertHierarchicalMenu);
    vlui::SetEventSource(&motion);
  }
  Point TitleCentre(SInt16 id) {
    Rect r;
    EXPECT_TRUE(vlui::MenuTitleRect(id, &r));
    return Pt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  // Item rectangles of the File menu as it opens under its title.
  Point ItemCentre(SInt16 item) {
    Rect title;
    vlui::MenuTitleRect(128, &title);
    int v = kMenuBarHeight + 1;
    const int heights[] = {18, 18, 8, 18, 18};
    for (int i = 1; i < item; ++i) v += heights[i - 1];
    return Pt(title.left + 30, v + heights[item - 1] / 2);
  }
  MenuHandle file = nullptr, edit = nullptr, recent = nullptr;
};

TEST_F(MenuTest, ItemsKeepTheirTextsStatesAndCommands) {
  EXPECT_EQ(PortMenuBarIds(), (std::vector<SInt16>{128, 129}));
  EXPECT_EQ(PortGetMenuHandle(140), recent);
  EXPECT_EQ(PortMenuOp236(file), 5);
  // Texts stand as they are: no metacharacters.
  PortAppendMenu(edit, Str255("Size (12);Bold/B"));
  Str255 text;
  PortMenuItemText(edit, 3, text);
  EXPECT_EQ(PStrToStd(text), "Size (12);Bold/B");
  EXPECT_EQ(PortCountMenuItems(edit), 3);
  PortInsertMenuItem(edit, Str255("First"), 0);
  PortGetMenuItemText(edit, 1, text);
  EXPECT_EQ(PStrToStd(text), "First");
  PortDeleteMenuItem(edit, 1);
  PortCheckMenuItem(edit, 1, true);
  EXPECT_EQ(PortGetItemMark(edit, 1), kCheckMark);
  PortSetMenuItemCommandID(edit, 2, 19);
  EXPECT_EQ(PortGetMenuItemCommandID(edit, 2), 19);
  PortGetMenuItemText(edit, 99, text);  // no such item
  EXPECT_EQ(text[0], 0);
  EXPECT_FALSE(PortIsMenuItemEnabled(file, 3));  // a separator
  PortDeleteMenu(129);
  EXPECT_EQ(PortMenuBarIds(), (std::vector<SInt16>{128}));
  PortDisposeMenu(edit);
  edit = nullptr;
}

TEST_F(MenuTest, KeyEquivalentsFindEnabledItemsInEitherCase) {
  EXPECT_EQ(PortMenuKey('n'), (128 << 16) | 1);
  EXPECT_EQ(PortHighlightedMenu(), 128);
  PortHighlightMenu(0);
  EXPECT_EQ(PortMenuKey('Q'), (128 << 16) | 5);
  EXPECT_EQ(PortMenuKey('r'), (140 << 16) | 1);  // in a submenu
  EXPECT_EQ(PortMenuKey('z'), 0);
  PortDisableMenuItem(file, 1);
  EXPECT_EQ(PortMenuKey('n'), 0);
  PortEnableMenuItem(file, 1);
  PortDisableMenuItem(edit, 0);  // the whole menu
  EXPECT_EQ(PortMenuKey('c'), 0);
  PortDisableMenuItem(file, 4);  // the item leading to the submenu
  EXPECT_EQ(PortMenuKey('r'), 0);
}

TEST_F(MenuTest, TrackingChoosesTheItemReleasedOn) {
  Point title = TitleCentre(128);
  motion.Press(title, {ItemCentre(1), ItemCentre(2)});
  EXPECT_EQ(PortMenuSelect(title), (128 << 16) | 2);
  EXPECT_EQ(PortHighlightedMenu(), 128);
  PortHighlightMenu(0);
  EXPECT_TRUE(vlui::OpenMenus().empty());
  struct Case {
    std::vector<Point> path;
    SInt32 result;
  };
  Rect editTitle;
  vlui::MenuTitleRect(129, &editTitle);
  const Case cases[] = {
      {{ItemCentre(3)}, 0},                              // a separator
      {{ItemCentre(2), Pt(600, 400)}, 0},                // released outside
      {{}, 0},                                           // released on the title
      {{Pt(editTitle.left + 5, 10), Pt(editTitle.left + 30, kMenuBarHeight + 28)}, (129 << 16) | 2},  // across to Edit
  };
  for (const Case& c : cases) {
    motion.Press(title, c.path);
    EXPECT_EQ(PortMenuSelect(title), c.result);
    PortHighlightMenu(0);
  }
  PortDisableMenuItem(file, 2);
  motion.Press(title, {ItemCentre(2)});
  EXPECT_EQ(PortMenuSelect(title), 0);
  EXPECT_EQ(PortHighlightedMenu(), 0);
}

TEST_F(MenuTest, SubmenusOpenBesideTheirItem) {
  Point title = TitleCentre(128);
  Point parent = ItemCentre(4);
  // Moving onto the parent item opens the submenu; then into it.
  motion.Press(title, {parent});
  motion.steps.pop_back();  // keep the button down after the move
  motion.steps.push_back({parent, false});
  motion.steps.push_back({parent, false});
  // Find where the submenu opened once it is open, from inside the tracking loop.
  struct Probe : vlui::EventSource {
    uitest::MotionSource* inner;
    bool moved = false;
    void Refill() override { inner->Refill(); }
    void PollFor(vlui::PollKind kind) override {
      if (!moved && kind == vlui::PollKind::kButton && vlui::OpenMenus().size() == 2) {
        Rect r;
        ASSERT_TRUE(vlui::OpenMenuItemRect("plan.vl", nullptr, nullptr, &r));
        inner->steps.clear();
        inner->steps.push_back({Pt(r.left + 5, (r.top + r.bottom) / 2), false});
        inner->steps.push_back({Pt(r.left + 5, (r.top + r.bottom) / 2), true});
        moved = true;
      }
      inner->PollFor(kind);
    }
  } probe;
  probe.inner = &motion;
  vlui::SetEventSource(&probe);
  EXPECT_EQ(PortMenuSelect(title), (140 << 16) | 1);
  EXPECT_TRUE(probe.moved);
  // Releasing on the parent item itself chooses nothing.
  vlui::SetEventSource(&motion);
  motion.Press(title, {parent});
  EXPECT_EQ(PortMenuSelect(title), 0);
}

TEST_F(MenuTest, APopupShowsItsCurrentItemAtThePlaceGiven) {
  MenuHandle sizes = PortNewMenu(200, Str255("Size"));
  for (const char* item : {"9", "10", "12", "14"}) PortAppendMenu(sizes, Str255(item));
  // Item 3 opens at v 200: released right there, it is chosen again.
  motion.Press(Pt(310, 209), {Pt(310, 209)});
  EXPECT_EQ(PortPopUpMenuSelect(sizes, 200, 300, 3), (200 << 16) | 3);
  motion.Press(Pt(310, 209), {Pt(310, 209 + 18)});
  EXPECT_EQ(PortPopUpMenuSelect(sizes, 200, 300, 3), (200 << 16) | 4);
  PortDisposeMenu(sizes);
}

TEST_F(MenuTest, ResourceNamesFillAMenuSortedAndOnce) {
  std::vector<unsigned char> data = {0};
  const unsigned char zeta[] = "\x04Zeta", alpha[] = "\x05" "Alpha";
  std::vector<vlres::CompiledResource> table = {{FourCC("FONT"), 1, zeta, data.data(), 1},
                                                {FourCC("FONT"), 2, alpha, data.data(), 1},
                                                {FourCC("FONT"), 3, zeta, data.data(), 1},
                                                {FourCC("FONT"), 4, nullptr, data.data(), 1}};
  vlres::InstallResourceTable(table.data(), table.size());
  MenuHandle fonts = PortNewMenu(50, Str255("Font"));
  PortAppendResourceMenu(fonts, FourCC("FONT"));
  ASSERT_EQ(PortCountMenuItems(fonts), 2);
  Str255 text;
  PortMenuItemText(fonts, 1, text);
  EXPECT_EQ(PStrToStd(text), "Alpha");
  PortDisposeMenu(fonts);
}

}  // namespace
