// Windows of the class library on the virtual screen: mouse tracking, dragging, growing,
// closing, activation, and menu choices through the switchboard.
#include <string>
#include <vector>

#include "CDesktop.h"
#include "CDirector.h"
#include "CMenuManager.h"
#include "CMouseTask.h"
#include "CPane.h"
#include "CSwitchboard.h"
#include "CWindow.h"
#include "Menus.h"
#include "ScreenTestSupport.h"

namespace {

std::string Pt(const LongPt& p) { return std::to_string(p.h) + "," + std::to_string(p.v); }

class RecordingMouseTask : public CMouseTask {
 public:
  void BeginTracking(LongPt* start) override { calls.push_back("begin " + Pt(*start)); }
  void KeepTracking(LongPt* curr, LongPt* prev, LongPt* start) override {
    calls.push_back("keep " + Pt(*curr) + " from " + Pt(*prev) + " start " + Pt(*start));
  }
  void EndTracking(LongPt* curr, LongPt* prev, LongPt*) override {
    calls.push_back("end " + Pt(*curr) + " from " + Pt(*prev));
  }
  std::vector<std::string> calls;
};

// A pane that tracks the mouse with a recording task on every press, pinned to its frame.
class TrackingPane : public CPane {
 public:
  void DoClick(Point hit, SInt16, long) override {
    LongPt start{hit.v, hit.h};
    LongRect pin = frame;
    TrackMouse(&task, &start, &pin);
  }
  RecordingMouseTask task;
};

class RecordingDirector : public CDirector {
 public:
  void DoCommand(long command) override {
    commands.push_back(command);
    CDirector::DoCommand(command);
  }
  std::vector<long> commands;
};

class WindowTest : public ScreenFixture {
 protected:
  // A document window with content (100, 100)-(400, 300) global and an elastic tracking pane
  // at (10, 20) of it; the window is shown and active.
  void MakeWindow() {
    MakeApp();
    director = new RecordingDirector;
    director->Init(app);
    window = new CWindow;
    Rect bounds{100, 100, 300, 400};
    window->InitFromParameters(&bounds, documentProc, true, Str255("Test"), false, gDesktop, director);
    pane = new TrackingPane;
    pane->Init(window, director, 200, 150, 10, 20, sizELASTIC, sizELASTIC);
    pane->SetWantsClicks(true);
    window->Reveal();
    Pump();
  }
  RecordingDirector* director = nullptr;
  CWindow* window = nullptr;
  TrackingPane* pane = nullptr;
};

TEST_F(WindowTest, ScriptedDragReachesTheTaskWithEveryPositionAndEndsOnRelease) {
  MakeWindow();
  ASSERT_TRUE(window->IsActive());
  // Pane (20, 20) is global (130, 140); ten steps to pane (120, 70).
  input.Drag(Point{140, 130}, Point{190, 230}, 10);
  Pump();
  std::vector<std::string> expected{"begin 20,20"};
  LongPt prev{20, 20};
  for (int i = 1; i <= 10; ++i) {
    LongPt curr{20 + 5 * i, 20 + 10 * i};
    expected.push_back("keep " + Pt(curr) + " from " + Pt(prev) + " start 20,20");
    prev = curr;
  }
  expected.push_back("end 120,70 from 120,70");
  EXPECT_EQ(pane->task.calls, expected);
}

TEST_F(WindowTest, TrackingPinsTheMouseToTheRectangle) {
  MakeWindow();
  // From pane (190, 140) far beyond the frame's bottom-right corner (200, 150).
  input.Drag(Point{260, 300}, Point{400, 500}, 2);
  Pump();
  ASSERT_EQ(pane->task.calls.size(), 4u);
  EXPECT_EQ(pane->task.calls[2], "keep 200,150 from 200,150 start 190,140");
  EXPECT_EQ(pane->task.calls[3], "end 200,150 from 200,150");
}

TEST_F(WindowTest, TitleBarDragMovesTheWindow) {
  MakeWindow();
  Rect title = vlui::TitleBarRect(window->GetMacWindow());
  Point grab{SInt16((title.top + title.bottom) / 2), SInt16(title.left + 40)};
  input.Drag(grab, Point{SInt16(grab.v + 30), SInt16(grab.h + 50)}, 5);
  Pump();
  Rect content;
  window->GetContentRect(&content);
  EXPECT_EQ(content.left, 150);
  EXPECT_EQ(content.top, 130);
  EXPECT_TRUE(pane->task.calls.empty());
}

TEST_F(WindowTest, GrowingTheWindowResizesItsElasticPanes) {
  MakeWindow();
  Rect grow = vlui::GrowBoxRect(window->GetMacWindow());
  Point grab{SInt16(grow.top + 5), SInt16(grow.left + 5)};
  input.Drag(grab, Point{SInt16(grab.v + 40), SInt16(grab.h + 60)}, 4);
  Pump();
  EXPECT_EQ(window->GetWidth(), 360);
  EXPECT_EQ(window->GetHeight(), 240);
  LongRect frame;
  pane->GetFrame(&frame);
  EXPECT_EQ(frame, (LongRect{0, 0, 190, 260}));
}

TEST_F(WindowTest, CloseBoxClosesTheDirectorAndItsWindow) {
  MakeWindow();
  Rect box = vlui::CloseBoxRect(window->GetMacWindow());
  WindowPtr mac = window->GetMacWindow();
  input.Click(Point{SInt16((box.top + box.bottom) / 2), SInt16((box.left + box.right) / 2)});
  Pump();
  EXPECT_EQ(app->CountDirectors(), 0);
  EXPECT_FALSE(PortIsWindow(mac));
  EXPECT_TRUE(gDesktop->GetWindows().empty());
}

TEST_F(WindowTest, ActivationMakesTheDirectorsTargetTheCommandTarget) {
  MakeWindow();
  EXPECT_EQ(gCommandTarget, director);
  auto* other = new CDirector;
  other->Init(app);
  auto* second = new CWindow;
  Rect bounds{150, 200, 350, 500};
  second->InitFromParameters(&bounds, documentProc, true, Str255("Second"), false, gDesktop, other);
  second->Reveal();
  Pump();
  EXPECT_TRUE(second->IsActive());
  EXPECT_FALSE(window->IsActive());
  EXPECT_EQ(gCommandTarget, other);
  EXPECT_EQ(gDesktop->GetActiveWindow(), second);
  // A click in the first window brings it back without acting on the pane.
  input.Click(Point{250, 120});
  Pump();
  EXPECT_TRUE(window->IsActive());
  EXPECT_EQ(gCommandTarget, director);
  EXPECT_TRUE(pane->task.calls.empty());
}

TEST_F(WindowTest, MenuChoicesByMouseAndByKeyReachTheTarget) {
  InstallResources(R"(resource 'MENU' 130 { title "Tools" item "Measure#3001" key "M" item "Other" })");
  MakeWindow();
  gMenuManager->AddMenu(130, 0);
  gMenuManager->SetDimOption(130, 0);
  gMenuManager->SyncMenus();
  Rect title;
  ASSERT_TRUE(vlui::MenuTitleRect(130, &title));
  SInt16 item = vlui::FindMenuItem(130, "Measure");
  ASSERT_EQ(item, 1);
  // Press on the title, move down onto the first item and let go there.
  Point press{SInt16((title.top + title.bottom) / 2), SInt16(title.left + 5)};
  input.Drag(press, Point{SInt16(title.bottom + 8), SInt16(title.left + 10)}, 3);
  input.Key('m', cmdKey);
  // The second item has no command: it answers to -(menu << 16 | item).
  input.Drag(press, Point{SInt16(title.bottom + 26), SInt16(title.left + 10)}, 3);
  Pump();
  EXPECT_EQ(director->commands, (std::vector<long>{3001, 3001, -((130L << 16) | 2)}));
  EXPECT_EQ(PortHighlightedMenu(), 0);
}

}  // namespace
