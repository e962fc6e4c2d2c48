// The labelled popup pane in a dialog: its size from its label and menu, its items changed at
// run time, the notice a choice sends, and what it shows.
#include <string>
#include <vector>

#include "CDLOGDialog.h"
#include "CDLOGDirector.h"
#include "GoldenTest.h"
#include "Menus.h"
#include "PString.h"
#include "QuickDraw.h"
#include "ScreenTestSupport.h"
#include "VLPopupPane.h"

namespace {

constexpr const char* kSource = R"(
resource 'MENU' 600 {
  title "Units:"
  item "Feet and Inches"
  item "Meters"
  item "Millimeters"
}
resource 'DLOG' 601 {
  bounds 100 100 200 400
  items {
    button 60 200 80 280 "OK"
  }
  proc 5 title "Popup"
}
)";

// A pane that logs its redraws into the log its dependent writes too.
class LoggingPopupPane : public VLPopupPane {
 public:
  explicit LoggingPopupPane(std::vector<std::string>* log) : log(log) {}
  void Refresh() override {
    log->push_back("refresh");
    VLPopupPane::Refresh();
  }
  std::vector<std::string>* log;
};

class ChoiceListener : public CCollaborator {
 public:
  explicit ChoiceListener(std::vector<std::string>* log) : log(log) {}
  void ProviderChanged(CCollaborator*, long reason, void* info) override {
    if (reason == kPopupPaneChoice) log->push_back("BUR2 " + std::to_string(*static_cast<SInt16*>(info)));
  }
  std::vector<std::string>* log;
};

class PopupPaneTest : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    InstallResources(kSource);
    MakeApp();
    director = new CDLOGDirector(601, app);
    dialog = director->GetDialog();
  }
  void TearDown() override {
    director->Dispose();
    ScreenFixture::TearDown();
  }
  template <class Pane = VLPopupPane, class... Args>
  Pane* MakePane(SInt16 width, SInt16 height, Args... args) {
    auto* pane = new Pane(args...);
    pane->IVLPopupPaneFromMenu(600, dialog, dialog, width, height, 10, 10);
    return pane;
  }
  CDLOGDirector* director = nullptr;
  CDialog* dialog = nullptr;
};

TEST_F(PopupPaneTest, APaneWithoutASizeTakesItFromItsLabelAndMenu) {
  VLPopupPane* pane = MakePane(0, 0);
  pane->Prepare();
  FontInfo info;
  PortGetFontInfo(&info);
  const SInt16 label = PortStringWidth(Str255("Units:"));
  EXPECT_EQ(pane->GetLabelWidth(), label);
  EXPECT_EQ(pane->GetBaseline(), info.ascent + 1);
  EXPECT_EQ(pane->GetWidth(), PortGetMenuWidth(pane->GetPopupMenu()->GetMacMenu()) + label + 6);
  EXPECT_EQ(pane->GetHeight(), std::max(info.ascent + info.descent + info.leading, 21));
  Rect box;
  pane->GetPopupRect(&box);
  EXPECT_EQ(box.left, label + 6);
  EXPECT_EQ(box.top, 1);
  EXPECT_EQ(box.bottom, info.ascent + info.descent + info.leading + 1);
  // A size given is kept.
  VLPopupPane* sized = MakePane(150, 30);
  EXPECT_EQ(sized->GetWidth(), 150);
  EXPECT_EQ(sized->GetHeight(), 30);
}

TEST_F(PopupPaneTest, ItemsAreClearedAndAppendedAndTheCurrentOneCarriesABullet) {
  VLPopupPane* pane = MakePane(0, 0);
  CPopupMenu* menu = pane->GetPopupMenu();
  EXPECT_EQ(menu->CountItems(), 3);
  EXPECT_EQ(PortGetItemMark(menu->GetMacMenu(), 1), kBulletMark);
  pane->DeleteAllItems();
  EXPECT_EQ(menu->CountItems(), 0);
  EXPECT_EQ(pane->GetValue(), 0);
  for (const char* text : {"1/2", "1/4", "1/8"}) pane->AppendItem(Str255(text));
  EXPECT_EQ(menu->CountItems(), 3);
  Str255 text;
  menu->GetItemText(3, text);
  EXPECT_EQ(text.Std(), "1/8");
  pane->SetValue(2);
  EXPECT_EQ(PortGetItemMark(menu->GetMacMenu(), 2), kBulletMark);
  EXPECT_EQ(PortGetItemMark(menu->GetMacMenu(), 1), 0);
}

TEST_F(PopupPaneTest, AChoiceReachesTheDependentsBeforeThePaneRedraws) {
  std::vector<std::string> log;
  auto* pane = MakePane<LoggingPopupPane>(0, 0, &log);
  ChoiceListener listener(&log);
  pane->AddDependent(&listener);
  pane->GetPopupMenu()->ItemChosen(3);
  EXPECT_EQ(log, (std::vector<std::string>{"BUR2 3", "refresh"}));
  EXPECT_EQ(pane->GetValue(), 3);
  pane->RemoveDependent(&listener);
}

TEST_F(PopupPaneTest, ShowsItsLabelAndTheCurrentItem) {
  VLPopupPane* pane = MakePane(0, 0);
  pane->SetValue(2);
  dialog->Reveal();
  dialog->Update();
  EXPECT_TRUE(vltest::WindowMatches(dialog->GetMacWindow(), VL_GOLDEN("popup-pane.png")));
}

}  // namespace
