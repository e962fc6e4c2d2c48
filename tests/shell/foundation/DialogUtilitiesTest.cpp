#include <gtest/gtest.h>

#include "AlertSink.h"
#include "AppResources.h"
#include "Controls.h"
#include "DialogUtilities.h"
#include "Events.h"
#include "Memory.h"
#include "PString.h"
#include "QuickDraw.h"
#include "Resources.h"
#include "Screen.h"
#include "Ticks.h"
#include "Windows.h"

namespace {

// Time passes while the program polls, as it does under a backend.
struct TickingSource : vlui::EventSource {
  void Refill() override { vlclock::Advance(1); }
  void Poll() override { vlclock::Advance(1); }
};

class DialogUtilities : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::InstallApplicationResources();
    vlclock::UseVirtualClock(true);
    vlui::ResetEvents();
    vlui::InitScreen(640, 480);
    vlalert::ClearLog();
    previous = vlui::SetEventSource(&ticking);
  }
  void TearDown() override {
    vlui::SetEventSource(previous);
    vlui::ShutdownScreen();
    vlui::ResetEvents();
    vlclock::UseVirtualClock(false);
  }
  void PostClick(UInt16 what, SInt16 v, SInt16 h) {
    EventRecord e;
    e.what = what;
    e.where = Point{v, h};
    e.when = PortTickCount();
    vlui::PostEvent(e);
  }
  TickingSource ticking;
  vlui::EventSource* previous = nullptr;
};

}  // namespace

TEST_F(DialogUtilities, DoubleClickNeedsTheSecondClickNearTheFirst) {
  struct Case {
    SInt16 dv, dh;
    bool doubleClick;
  } cases[] = {{0, 0, true}, {3, -4, true}, {0, 6, false}, {-6, 0, false}};
  for (auto c : cases) {
    SCOPED_TRACE(testing::Message() << c.dv << "," << c.dh);
    vlui::ResetEvents();
    PostClick(mouseUp, 100, 100);
    PostClick(mouseDown, SInt16(100 + c.dv), SInt16(100 + c.dh));
    EXPECT_EQ(WaitForDoubleClick(PortTickCount(), Point{100, 100}, nullptr), c.doubleClick);
    EXPECT_EQ(vlui::PendingEventCount(), c.doubleClick ? 0u : 2u);
  }
}

TEST_F(DialogUtilities, DoubleClickTimesOut) {
  PostClick(mouseUp, 100, 100);  // no second click comes
  EXPECT_FALSE(WaitForDoubleClick(PortTickCount(), Point{100, 100}, nullptr));
  Rect wide{0, 0, 480, 640};
  vlui::ResetEvents();
  PostClick(mouseUp, 100, 100);
  PostClick(mouseDown, 100, 300);  // far, but inside the given rectangle
  EXPECT_TRUE(WaitForDoubleClick(PortTickCount(), Point{100, 100}, &wide));
}

TEST_F(DialogUtilities, PositionedAlertIsPlacedBelowTheMenuBar) {
  EXPECT_EQ(ShowPositionedAlert(4003), 1);
  ASSERT_EQ(vlalert::Log().size(), 1u);
  EXPECT_EQ(vlalert::Log()[0].id, 4003);
  Handle alert = PortLoadResource(FourCC("ALRT"), 4003);
  ASSERT_NE(alert, nullptr);
  auto* b = reinterpret_cast<unsigned char*>(*alert);
  int top = (b[0] << 8) | b[1], left = (b[2] << 8) | b[3], bottom = (b[4] << 8) | b[5], right = (b[6] << 8) | b[7];
  int h = bottom - top, w = right - left;
  EXPECT_EQ(left, (640 - w) / 2);
  EXPECT_EQ(top, (480 - h - 20) / 3 + 20);
}

TEST_F(DialogUtilities, DefaultButtonOutlineFollowsTheHighlight) {
  Rect bounds{60, 60, 260, 360};
  WindowPtr window = PortNewCWindow(nullptr, &bounds, Str255("w"), true, 0, nullptr, false, 0);
  ASSERT_NE(window, nullptr);
  Rect buttonRect{100, 100, 120, 180};
  ControlHandle button = PortNewControl(window, &buttonRect, Str255("OK"), true, 0, 0, 1, 0, 0);
  ASSERT_NE(button, nullptr);
  PortSetPort(window);
  DrawDefaultButtonOutline(button);
  // The frame's left edge, 4 pixels outside the button and 3 wide, at mid height.
  EXPECT_TRUE(PortGetPixel(96, 110));
  EXPECT_TRUE(PortGetPixel(98, 110));
  PortHiliteControl(button, 255);
  Rect erase{90, 90, 130, 190};
  PortEraseRect(&erase);
  DrawDefaultButtonOutline(button);
  int dark = 0;
  for (SInt16 v = 104; v < 116; ++v) dark += PortGetPixel(97, v) ? 1 : 0;
  EXPECT_GT(dark, 0);
  EXPECT_LT(dark, 12);  // grey pattern: some pixels, not all
  PortDisposeControl(button);
  PortDisposeWindow(window);
}
