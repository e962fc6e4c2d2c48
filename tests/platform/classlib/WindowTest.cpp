// Windows of the class library on the virtual screen: mouse tracking, dragging, growing,
// closing, activation, and menu choices through the switchboard.
#include <string>
#include <vector>

#include "CDecorator.h"
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
  void AdjustCursor(Point where, RgnHandle) override {
    cursorCalls.push_back("over " + std::to_string(where.h) + "," + std::to_string(where.v));
  }
  void MouseExited(Point) override { cursorCalls.push_back("exited"); }
  std::vector<std::string> cursorCalls;
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

TEST_F(WindowTest, TheViewUnderTheMouseSetsTheCursorAndHearsWhenTheMouseLeaves) {
  MakeWindow();
  pane->cursorCalls.clear();
  for (Point p : {Point{125, 115}, Point{130, 120}, Point{20, 20}}) input.Then([p] { vlui::SetMouse(p); });
  // The cursor follows the mouse at the start of the event step after each move.
  Pump(1);
  EXPECT_EQ(pane->cursorCalls, (std::vector<std::string>{"over 5,5", "over 10,10", "exited"}));
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

TEST_F(WindowTest, TheScreensMenusFollowTheMenuManager) {
  InstallResources(R"(resource 'MENU' 130 { title "Tools" item "Measure#3001" key "M" item "Other" })");
  MakeWindow();
  MenuHandle foreign = PortNewMenu(140, Str255("Mine"));
  PortInsertMenu(foreign, 0);
  gMenuManager->AddMenu(130, 0);
  gMenuManager->DisableCommand(3001);
  gMenuManager->SyncMenus();
  MenuHandle shown = PortGetMenuHandle(130);
  ASSERT_NE(shown, nullptr);
  EXPECT_FALSE(PortIsMenuItemEnabled(shown, 1));
  EXPECT_EQ(PortGetMenuItemCommandID(shown, 1), 3001);
  Str255 text;
  PortGetMenuItemText(shown, 1, text);
  EXPECT_EQ(text.Std(), "Measure");
  // A disabled item chosen with the mouse gives nothing.
  Rect title;
  ASSERT_TRUE(vlui::MenuTitleRect(130, &title));
  Point press{SInt16((title.top + title.bottom) / 2), SInt16(title.left + 5)};
  input.Drag(press, Point{SInt16(title.bottom + 8), SInt16(title.left + 10)}, 3);
  Pump();
  EXPECT_TRUE(director->commands.empty());
  gMenuManager->RemoveMenu(130);
  gMenuManager->SyncMenus();
  EXPECT_EQ(PortGetMenuHandle(130), nullptr);
  EXPECT_EQ(PortMenuBarIds(), std::vector<SInt16>{140});
  PortDisposeMenu(foreign);
}

}  // namespace

namespace {

class DecoratorTest : public ScreenFixture {};

TEST_F(DecoratorTest, NewWindowsStaggerFivePlacesAndStartAgainWhenAllClosed) {
  InstallResources(R"(resource 'WIND' 128 { bounds 50 50 250 350 proc 0 goaway title "Doc" })");
  MakeApp();
  std::vector<CDirector*> directors;
  std::vector<Point> places;
  for (int i = 0; i < 6; ++i) {
    auto* d = new CDirector;
    d->Init(app);
    auto* w = new CWindow;
    w->Init(128, false, gDesktop, d);
    gDecorator->PlaceNewWindow(w, false);
    Rect content;
    w->GetContentRect(&content);
    places.push_back(Point{content.top, content.left});
    EXPECT_EQ(w->GetWidth(), 300);
    directors.push_back(d);
  }
  for (int i = 1; i < 5; ++i) {
    EXPECT_EQ(places[i].h - places[i - 1].h, 8);
    EXPECT_EQ(places[i].v - places[i - 1].v, 16);
  }
  EXPECT_EQ(places[5], places[0]);
  EXPECT_EQ(gDecorator->openWindows, 6);
  for (CDirector* d : directors) d->Close(false);
  EXPECT_EQ(gDecorator->openWindows, 0);
  EXPECT_EQ(gDecorator->staggerStep, 1);
  // A window placed at the default size is cut to the client area when it would pass it.
  auto* d = new CDirector;
  d->Init(app);
  auto* w = new CWindow;
  w->Init(128, false, gDesktop, d);
  gDecorator->defaultWidth = 5000;
  gDecorator->PlaceNewWindow(w, true);
  Rect content;
  w->GetContentRect(&content);
  EXPECT_EQ(content.right, vlui::ClientRect().right);
  EXPECT_EQ(w->GetHeight(), gDecorator->defaultHeight);
}

TEST_F(DecoratorTest, APendingLocationMovesAndShowsTheWindowWhenApplied) {
  MakeApp();
  auto* d = new CDirector;
  d->Init(app);
  auto* w = new CWindow;
  Rect bounds{100, 100, 200, 200};
  w->InitFromParameters(&bounds, kFloatProc, false, Str255("Palette"), true, gDesktop, d);
  EXPECT_FALSE(w->IsVisible());
  EXPECT_EQ(w->GetMacWindow()->layer, WindowLayer::kFloating);
  w->SetPendingLocation(300, 250);
  w->ApplyPendingLocation();
  Rect content;
  w->GetContentRect(&content);
  EXPECT_EQ(content.left, 300);
  EXPECT_EQ(content.top, 250);
  EXPECT_TRUE(w->IsVisible());
  EXPECT_TRUE(PortIsWindowVisible(w->GetMacWindow()));
  EXPECT_FALSE(w->HasPendingLocation());
  Str255 title;
  w->GetTitle(title);
  EXPECT_EQ(title.Std(), "Palette");
}

TEST_F(DecoratorTest, AMissingWindowResourceFails) {
  MakeApp();
  auto* d = new CDirector;
  d->Init(app);
  auto* w = new CWindow;
  try {
    w->Init(999, false, gDesktop, d);
    ADD_FAILURE();
  } catch (const CException& e) {
    EXPECT_EQ(e.GetError(), resNotFound);
  }
  w->Dispose();
  EXPECT_EQ(d->GetWindow(), nullptr);
}

}  // namespace
