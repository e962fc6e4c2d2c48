// The menu manager's model of menus, items and commands.
#include <gtest/gtest.h>

#include "CMenuManager.h"
#include "Resources.h"

namespace {

class MenuManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    menus.IMenuManager(1);
    menus.AddMenu(1);
    menus.AddMenu(9);
    menus.AddCommandItem(256, Str255("About"), 1, 0);
    menus.AddCommandItem(1500, Str255("Info"), 1, 0);  // goes first
    menus.AddCommandItem(0, Str255("Plain"), 9, 99);
    menus.AddCommandItem(0, Str255("Bold"), 9, 99);
  }
  CMenuManager menus;
};

TEST_F(MenuManagerTest, ItemsAreFoundByCommandOrByMenuAndItem) {
  SInt16 menu = 0, item = 0;
  ASSERT_TRUE(menus.FindMenuItem(256, &menu, &item));
  EXPECT_EQ(menu, 1);
  EXPECT_EQ(item, 2);
  EXPECT_EQ(menus.FindCommand(1, 1), 1500);
  // Items without a command answer to -(menu << 16 | item), also for missing items.
  EXPECT_EQ(menus.FindCommand(9, 2), -(9L * 65536 + 2));
  EXPECT_EQ(menus.FindCommand(9, 7), -(9L * 65536 + 7));
  Str255 text;
  EXPECT_TRUE(menus.GetCommandText(-(9L * 65536 + 2), text));
  EXPECT_EQ(text.Std(), "Bold");
  EXPECT_FALSE(menus.GetCommandText(4242, text));
  EXPECT_EQ(text.Length(), 0);
}

TEST_F(MenuManagerTest, EnableCheckAndTextByCommand) {
  menus.PrepareUpdate();
  EXPECT_FALSE(menus.IsCommandEnabled(256));
  menus.EnableCommand(256);
  menus.EnableCommand(-(9L * 65536 + 1));
  menus.CheckCommand(-(9L * 65536 + 1), true);
  menus.SetCommandText(256, Str255("About Velmora"));
  menus.FinishUpdate();
  EXPECT_TRUE(menus.IsCommandEnabled(256));
  EXPECT_FALSE(menus.IsCommandEnabled(1500));
  EXPECT_TRUE(menus.IsCommandEnabled(-(9L * 65536 + 1)));
  EXPECT_TRUE(menus.IsCommandChecked(-(9L * 65536 + 1)));
  Str255 text;
  menus.GetCommandText(256, text);
  EXPECT_EQ(text.Std(), "About Velmora");
  // Unknown commands change nothing and are never enabled.
  menus.EnableCommand(4242);
  EXPECT_FALSE(menus.IsCommandEnabled(4242));
  EXPECT_FALSE(menus.HasCommand(4242));
}

TEST_F(MenuManagerTest, DimmingAndUncheckOptionsApplyBeforeEachUpdate) {
  menus.SetDimOption(9, 0);
  menus.SetUnCheckOption(9, true);
  menus.CheckCommand(-(9L * 65536 + 2), true);
  menus.CheckCommand(1500, true);
  menus.PrepareUpdate();
  EXPECT_TRUE(menus.IsCommandEnabled(-(9L * 65536 + 2)));  // no automatic dimming
  EXPECT_FALSE(menus.IsCommandChecked(-(9L * 65536 + 2)));
  EXPECT_TRUE(menus.IsCommandChecked(1500));  // menu 1 keeps its marks
  menus.FinishUpdate();
  EXPECT_FALSE(menus.GetMenuByID(1)->enabled);  // nothing enabled in it
  menus.GetMenuByID(1)->EnableAllItems();
  menus.FinishUpdate();
  EXPECT_TRUE(menus.GetMenuByID(1)->enabled);
}

TEST_F(MenuManagerTest, MenuBarOrderSubmenusAndRemoval) {
  menus.AddMenu(5, 9);  // before menu 9
  EXPECT_EQ(menus.MenuBarIds(), (std::vector<SInt16>{1, 5, 9}));
  menus.AddMenu(5);  // already there: stays
  EXPECT_EQ(menus.MenuBarIds(), (std::vector<SInt16>{1, 5, 9}));
  menus.GetMenuByID(9)->title = "Style";
  ASSERT_TRUE(menus.AddSubmenu(9, 29998, 1, 1));
  EXPECT_EQ(menus.CountItems(1), 3);
  Str255 text;
  menus.GetCommandText(29998, text);
  EXPECT_EQ(text.Std(), "Style");
  EXPECT_EQ(menus.GetMenuByID(1)->items[1].submenuId, 9);
  menus.AddMenu(144, -1);  // a submenu outside the bar
  EXPECT_FALSE(menus.IsInMenuBar(144));
  menus.RemoveCommandItem(1500);
  EXPECT_EQ(menus.FindCommand(1, 1), 29998);
  menus.RemoveMenu(5);
  EXPECT_EQ(menus.MenuBarIds(), (std::vector<SInt16>{1, 9}));
  EXPECT_EQ(menus.GetMenuByID(5), nullptr);
  EXPECT_FALSE(menus.AddCommandItem(1, Str255("x"), 5, 0));
}

TEST_F(MenuManagerTest, KeyEquivalentsIgnoreCase) {
  menus.GetMenuByID(1)->items[1].keyEquivalent = 'A';
  Boolean enabled = false;
  EXPECT_EQ(menus.FindKeyCommand('a', &enabled), 256);
  EXPECT_TRUE(enabled);
  menus.DisableCommand(256);
  EXPECT_EQ(menus.FindKeyCommand('A', &enabled), 256);
  EXPECT_FALSE(enabled);
  EXPECT_EQ(menus.FindKeyCommand('q', &enabled), 0);
}

}  // namespace
