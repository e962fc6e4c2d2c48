// What the program shows while a user holds a menu open or reads an alert, compared with golden
// images: the looks that a script cannot stop to compare (a menu is open only while the button is
// held; headless alerts are answered without being shown).
#include <gtest/gtest.h>

#include <functional>

#include "DETException.h"
#include "Events.h"
#include "ExceptionReporting.h"
#include "GoldenTest.h"
#include "Menus.h"
#include "ShellAppTestSupport.h"
#include "Ticks.h"

namespace {

// The user's hand: each time the program polls the button or asks for an event, the next step
// runs; with no step left the button is let go.
class Hand : public vlui::EventSource {
 public:
  explicit Hand(std::function<void()> look) : look_(std::move(look)) {}
  void Refill() override { Next(); }
  void PollFor(vlui::PollKind kind) override {
    vlclock::Advance(1);
    if (kind == vlui::PollKind::kButton) Next();
  }

 private:
  void Next() {
    if (!look_) return;
    auto look = std::move(look_);
    look_ = nullptr;
    look();
  }
  std::function<void()> look_;
};

Point Centre(const Rect& r) { return Point{SInt16((r.top + r.bottom) / 2), SInt16((r.left + r.right) / 2)}; }

class ScreenLooks : public ShellAppFixture {
 protected:
  void SetUp() override {
    ShellAppFixture::SetUp();
    vlclock::UseVirtualClock(true);
    MakeApp();
    ASSERT_TRUE(app->CloseDirectors(true));  // the start-up screen goes: the menu bar alone
    app->ProcessOneEvent();
  }
  void TearDown() override {
    vlui::SetEventSource(nullptr);
    vlui::SetInteractive(false);
    vlclock::UseVirtualClock(false);
    ShellAppFixture::TearDown();
  }
};

TEST_F(ScreenLooks, TheMenuBarWithTheFileMenuOpen) {
  Rect title;
  ASSERT_TRUE(vlui::MenuTitleRect(vlui::FindMenuByTitle("File"), &title));
  testing::AssertionResult looks = testing::AssertionFailure() << "the menu was never open";
  Hand hand([&] {
    looks = vltest::ScreenMatches(VL_GOLDEN("file-menu-open.png"));
    // Let go on the desktop, far from the menu: nothing is chosen.
    vlui::SetMouse(Point{700, 900});
    vlui::SetButton(false);
    vlui::PostEvent(mouseUp, 0, 0);
  });
  vlui::SetEventSource(&hand);
  vlui::SetMouse(Centre(title));
  vlui::SetButton(true);
  vlui::PostEvent(mouseDown, 0, 0);
  app->ProcessOneEvent();
  EXPECT_TRUE(looks);
  EXPECT_EQ(app->CountDirectors(), 0);
}

TEST_F(ScreenLooks, AnErrorAlertOnTheScreen) {
  testing::AssertionResult looks = testing::AssertionFailure() << "no alert was shown";
  Hand hand([&] {
    looks = vltest::WindowMatches(PortGetDialogWindow(vlui::FrontDialog()), VL_GOLDEN("file-system-error-alert.png"));
    vlui::PostEvent(keyDown, PortKeyMessage(kReturnChar), 0);
  });
  vlui::SetEventSource(&hand);
  vlui::SetInteractive(true);
  try {
    ThrowIfOSErr(-43, kDEErrorFileSystemError);
  } catch (DETException& e) {
    ReportException(e);
  }
  EXPECT_TRUE(looks);
  EXPECT_EQ(AlertIds(), std::vector<int>{4003});
}

}  // namespace
