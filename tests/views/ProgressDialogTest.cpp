// The progress dialog on a screen of its own: when a job shows it, when the bar is redrawn, how
// Stop and command-period reach the job through the continue flags, and what the bar shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AlertSink.h"
#include "AppResources.h"
#include "CProgressDialog.h"
#include "Events.h"
#include "Resources.h"
#include "Screen.h"
#include "Ticks.h"
#include "ToolboxUtilities.h"
#include "Windows.h"
#include "headless/HeadlessBackend.h"

namespace {

// A dialog that notes the count of its job and the fraction at every bar drawing.
class WatchedDialog : public CProgressDialog {
 public:
  struct Drawing {
    SInt32 count;
    double fraction;
  };
  std::vector<Drawing> drawings;
  Boolean Update(double fraction) override {
    drawings.push_back({wireActive ? wireCount : submitActive ? submitCount : sortActive ? sortCount : paintCount,
                        fraction});
    return CProgressDialog::Update(fraction);
  }
  std::vector<SInt32> Counts() const {
    std::vector<SInt32> counts;
    for (const Drawing& d : drawings) counts.push_back(d.count);
    return counts;
  }
};

class ProgressDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlclock::UseVirtualClock(true);
    vlclock::SetTicks(1000);
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    vlui::ResetEvents();
    vlui::SetEventSource(nullptr);
    vlalert::ClearLog();
    vlui::InitScreen(640, 480);
    progress.OpenDialog();
  }
  void TearDown() override {
    if (progress.dialog) PortCloseDialog(progress.dialog);
    progress.dialog = nullptr;
    vlui::ShutdownScreen();
    vlui::ResetEvents();
    vlalert::ClearLog();
    vlres::ResetResourceChain();
    gProgressContinue = gWireframeContinue = 1;
  }

  bool Visible() { return progress.dialog && PortIsWindowVisible(progress.dialog); }
  std::string Message() { return vlui::DialogItemTextUtf8(progress.dialog, kProgressMessageItem); }
  Rect GlobalItem(SInt16 item) {
    Rect r{};
    EXPECT_TRUE(vlui::DialogItemGlobalRect(progress.dialog, item, &r));
    return r;
  }
  void PressAt(const Rect& r) {
    EventRecord press;
    press.what = mouseDown;
    press.where = Point{SInt16((r.top + r.bottom) / 2), SInt16((r.left + r.right) / 2)};
    vlui::PostEvent(press);
  }
  static UInt32 ScreenPixel(int h, int v) {
    const PixMap* pm = vlui::ScreenPixMap();
    return reinterpret_cast<const UInt32*>(pm->baseAddr + v * pm->rowBytes)[h] & 0xFFFFFF;
  }
  // The columns of the bar's inside holding a black pixel.
  std::vector<int> FilledColumns() {
    const Rect bar = GlobalItem(kProgressBarItem);
    std::vector<int> columns;
    for (int h = bar.left + 1; h < bar.right - 1; ++h)
      for (int v = bar.top + 1; v < bar.bottom - 1; ++v)
        if (ScreenPixel(h, v) == 0) {
          columns.push_back(h - bar.left);
          break;
        }
    return columns;
  }

  WatchedDialog progress;
};

TEST_F(ProgressDialogTest, IsMadeHiddenFromItsResource) {
  ASSERT_NE(progress.dialog, nullptr);
  EXPECT_FALSE(Visible());
  EXPECT_FALSE(progress.IsOpen());
  EXPECT_TRUE(vlalert::Log().empty());
  EXPECT_EQ(gProgressContinue, 1);
  EXPECT_EQ(gWireframeContinue, 1);
}

TEST_F(ProgressDialogTest, AJobShorterThanItsDelayNeverShowsIt) {
  progress.BeginWireframeJob(20, 240, SInt32(PortTickCount()));
  progress.SetWireframeTotal(150);
  for (int i = 0; i < 100; ++i) {
    vlclock::Advance(2);
    progress.StepWireframeObject();
  }
  EXPECT_FALSE(Visible());
  EXPECT_TRUE(progress.drawings.empty());
  EXPECT_TRUE(vlalert::Log().empty());
  // Past the delay the next count shows it with the job's message and the bar where it stands.
  for (int i = 0; i < 21; ++i) {
    vlclock::Advance(2);
    progress.StepWireframeObject();
  }
  EXPECT_TRUE(Visible());
  EXPECT_TRUE(progress.wireShown);
  ASSERT_EQ(progress.Counts(), (std::vector<SInt32>{120}));
  EXPECT_DOUBLE_EQ(progress.drawings[0].fraction, 120.0 / 150.0);
  ASSERT_EQ(vlalert::Log().size(), 1u);
  EXPECT_EQ(vlalert::Log()[0].id, kProgressDialogId);
  EXPECT_EQ(vlalert::Log()[0].texts, (std::vector<std::string>{"Drawing the model\u2026"}));
  progress.EndWireframeJob();
  EXPECT_FALSE(Visible());
  EXPECT_FALSE(progress.IsOpen());
}

TEST_F(ProgressDialogTest, AShownJobRedrawsTheBarAtItsModulusAndItsTotal) {
  struct Case {
    SInt32 modulus;
    SInt32 total;
    std::vector<SInt32> redrawn;
  };
  // A modulus below 1 would divide by zero: every count redraws.
  const Case cases[] = {{20, 25, {20, 25}}, {20, 40, {20, 40}}, {0, 3, {1, 2, 3}}, {-5, 2, {1, 2}}};
  for (const Case& c : cases) {
    progress.drawings.clear();
    progress.BeginWireframeJob(c.modulus, 240, SInt32(PortTickCount()));
    progress.SetWireframeTotal(c.total);
    progress.Show();
    for (SInt32 i = 0; i < c.total; ++i) progress.StepWireframeObject();
    EXPECT_EQ(progress.Counts(), c.redrawn) << "modulus " << c.modulus << ", total " << c.total;
    EXPECT_DOUBLE_EQ(progress.drawings.back().fraction, 1.0);
    progress.EndWireframeJob();
  }
}

TEST_F(ProgressDialogTest, StopAndCommandPeriodClearTheContinueFlagUntilTheNextJob) {
  for (bool byKey : {false, true}) {
    progress.BeginWireframeJob(20, 0, SInt32(PortTickCount()));
    progress.SetWireframeTotal(40);
    progress.StepWireframeObject();  // shows it: the delay has passed
    ASSERT_TRUE(Visible());
    if (byKey) {
      vlui::PostEvent(keyDown, PortKeyMessage('.'), cmdKey);
    } else {
      PressAt(GlobalItem(kProgressStopItem));
    }
    const UInt32 before = PortTickCount();
    while (progress.wireCount < 19) progress.StepWireframeObject();
    EXPECT_EQ(gWireframeContinue, 1) << "the request waits for the next redraw";
    progress.StepWireframeObject();
    EXPECT_EQ(gWireframeContinue, 0) << (byKey ? "command-period" : "Stop");
    EXPECT_GE(PortTickCount() - before, 8u) << "Stop flashes for 8 ticks";
    progress.EndWireframeJob();
    EXPECT_EQ(gWireframeContinue, 1);
    EXPECT_FALSE(Visible());
    EXPECT_EQ(vlui::PendingEventCount(), 0u) << "hiding discards what the user did meanwhile";
    progress.BeginWireframeJob(20, 0, SInt32(PortTickCount()));
    EXPECT_EQ(gWireframeContinue, 1);
    progress.EndWireframeJob();
  }
}

// A user's click or command-period reaches a job that polls the queue while it works: the
// headless backend hands the script's next input line to such a poll.
TEST_F(ProgressDialogTest, AScriptedStopReachesAJobAsItWorks) {
  progress.BeginWireframeJob(1, 0, SInt32(PortTickCount()));
  progress.SetWireframeTotal(100);
  progress.StepWireframeObject();
  ASSERT_TRUE(Visible());
  const Rect stop = GlobalItem(kProgressStopItem);
  const std::string click =
      "click " + std::to_string((stop.left + stop.right) / 2) + " " + std::to_string((stop.top + stop.bottom) / 2);
  for (const std::string& line : {click, std::string("key . cmd")}) {
    progress.BeginWireframeJob(1, 0, SInt32(PortTickCount()));
    progress.SetWireframeTotal(100);
    progress.Show();
    vlheadless::Script script;
    std::string error;
    ASSERT_TRUE(vlheadless::ParseScript(line + "\n", "stop", &script, &error)) << error;
    vlheadless::HeadlessBackend backend(script);
    backend.Install();
    while (gWireframeContinue && progress.wireCount < 100) progress.StepWireframeObject();
    backend.Uninstall();
    EXPECT_LT(progress.wireCount, 20) << line;
    EXPECT_EQ(gWireframeContinue, 0) << line;
    progress.EndWireframeJob();
  }
}

TEST_F(ProgressDialogTest, StopDuringPaintingStopsTheSortJob) {
  progress.BeginSortJob(20, 0, SInt32(PortTickCount()));
  progress.SetSubmissionTotal(5);
  for (int i = 0; i < 5; ++i) progress.StepFaceSubmission();
  progress.StartFirstPhase(40, 20);
  for (int i = 0; i < 40; ++i) progress.Step();
  progress.StartSecondPhase(40);
  PressAt(GlobalItem(kProgressStopItem));
  for (int i = 0; i < 20; ++i) progress.StepSecondPhase();
  EXPECT_EQ(gProgressContinue, 0);
  EXPECT_EQ(gWireframeContinue, 1);
  progress.EndSortJob();
  EXPECT_EQ(gProgressContinue, 1);
  EXPECT_FALSE(Visible());
}

TEST_F(ProgressDialogTest, APressOutsideStopGoesOnAndStaysQueued) {
  progress.BeginWireframeJob(1, 0, SInt32(PortTickCount()));
  progress.SetWireframeTotal(10);
  progress.StepWireframeObject();
  PressAt(GlobalItem(kProgressBarItem));
  vlui::PostEvent(keyDown, PortKeyMessage('a'), 0);
  progress.StepWireframeObject();
  EXPECT_EQ(gWireframeContinue, 1);
  EXPECT_EQ(vlui::PendingEventCount(), 1u) << "the key is taken, the press stays";
  progress.EndWireframeJob();
}

TEST_F(ProgressDialogTest, ASortJobShowsItsThreeMessagesAndTheBarNeverMovesBack) {
  progress.BeginSortJob(20, 0, SInt32(PortTickCount()));
  progress.SetSubmissionTotal(30);
  std::vector<std::string> messages;
  for (int i = 0; i < 30; ++i) progress.StepFaceSubmission();
  messages.push_back(Message());
  EXPECT_TRUE(progress.sortShown);
  progress.StartFirstPhase(50, 20);
  messages.push_back(Message());
  for (int i = 0; i < 60; ++i) progress.Step();  // a count past the total stays at the band's end
  progress.StartSecondPhase(45);
  messages.push_back(Message());
  for (int i = 0; i < 45; ++i) progress.StepSecondPhase();
  EXPECT_EQ(messages, (std::vector<std::string>{"Sorting the faces\u2026", "Sorting Polygons \u2026",
                                                "Painting the faces\u2026"}));
  for (std::size_t i = 1; i < progress.drawings.size(); ++i)
    EXPECT_GE(progress.drawings[i].fraction, progress.drawings[i - 1].fraction) << "drawing " << i;
  EXPECT_NEAR(progress.drawings.front().fraction, 0.33 / 30, 1e-12);
  EXPECT_DOUBLE_EQ(progress.drawings.back().fraction, 1.0);
  progress.EndSortJob();
  EXPECT_FALSE(Visible());
}

TEST_F(ProgressDialogTest, TheBarFillsWithTheFractionAndAFractionAboveOneFillsIt) {
  progress.Show();
  const Rect bar = GlobalItem(kProgressBarItem);
  const int inside = bar.right - bar.left - 2;
  progress.Update(0.5);
  std::vector<int> half = FilledColumns();
  ASSERT_FALSE(half.empty());
  EXPECT_EQ(half.front(), 1);
  EXPECT_EQ(half.back(), (bar.right - bar.left) / 2 - 1);
  progress.Update(1.5);
  EXPECT_EQ(FilledColumns().size(), std::size_t(inside));
  for (int v = bar.top; v < bar.bottom; ++v) EXPECT_EQ(ScreenPixel(bar.right - 1, v), 0u) << "the frame stays whole";
  progress.Hide();
}

TEST_F(ProgressDialogTest, WithoutADialogJobsStillCount) {
  CProgressDialog bare;
  vlres::ResetResourceChain();
  bare.OpenDialog();
  EXPECT_EQ(bare.dialog, nullptr);
  bare.BeginWireframeJob(20, 0, SInt32(PortTickCount()));
  bare.SetWireframeTotal(30);
  for (int i = 0; i < 30; ++i) bare.StepWireframeObject();
  EXPECT_EQ(bare.wireCount, 30);
  EXPECT_FALSE(bare.IsOpen());
  EXPECT_FALSE(bare.Update(0.5));
  EXPECT_EQ(gWireframeContinue, 1);
  bare.EndWireframeJob();
}

TEST_F(ProgressDialogTest, CommandPeriodPendingTakesTheKeysAndLeavesTheRest) {
  vlui::PostEvent(keyDown, PortKeyMessage('x'), 0);
  EventRecord press;
  press.what = mouseDown;
  vlui::PostEvent(press);
  EXPECT_FALSE(CommandPeriodPending());
  vlui::PostEvent(keyDown, PortKeyMessage('.'), cmdKey);
  vlui::PostEvent(keyUp, PortKeyMessage('.'), cmdKey);
  EXPECT_TRUE(CommandPeriodPending());
  EXPECT_EQ(vlui::PendingEventCount(), 1u);
  vlui::PostEvent(keyDown, PortKeyMessage('.'), 0);
  EXPECT_FALSE(CommandPeriodPending()) << "a period alone is typing";
}

}  // namespace
