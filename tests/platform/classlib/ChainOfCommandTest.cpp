// Commands, keys, menu updates and tasks travel pane, director, document, application.
#include <memory>

#include "CDirector.h"
#include "CDocument.h"
#include "CMenuManager.h"
#include "ClassLibTestSupport.h"
#include "Commands.h"

namespace {

std::vector<std::string> gPath;

// Each link handles the commands in its set, records every command that reaches it, and
// enables its own commands in the menu update.
template <class Base>
class Link : public Base {
 public:
  std::string name;
  std::vector<long> handles;
  void DoCommand(long command) override {
    gPath.push_back(name);
    for (long c : handles)
      if (c == command) return;
    Base::DoCommand(command);
  }
  void UpdateMenus() override {
    gPath.push_back(name);
    Base::UpdateMenus();
    for (long c : handles) gMenuManager->EnableCommand(c);
  }
  void DoKeyDown(char c, UInt8 code, EventRecord* e) override {
    gPath.push_back(name + ":" + c);
    if (c == name[0]) return;
    Base::DoKeyDown(c, code, e);
  }
};

class TestApp : public Link<CApplication> {};
class TestDocument : public Link<CDocument> {};
class TestDirector : public Link<CDirector> {};
class TestPane : public Link<CBureaucrat> {};

class ChainTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    gPath.clear();
    auto* a = MakeApp<TestApp>();
    a->name = "application";
    a->handles = {900};
    document = new TestDocument;
    document->IDocument(a, true);
    document->name = "document";
    document->handles = {700};
    director = new TestDirector;
    director->Init(document);
    director->name = "director";
    director->handles = {600};
    pane = new TestPane;
    pane->IBureaucrat(director);
    pane->name = "pane";
    pane->handles = {500};
    pane->BecomeCommandTarget(true);
    gMenuManager->AddMenu(5);
    for (long c : {500L, 600L, 700L, 900L, 1000L}) gMenuManager->AddCommandItem(c, Str255("item"), 5, 99);
  }
  void TearDown() override {
    pane->Dispose();
    AppFixture::TearDown();
  }
  TestDocument* document = nullptr;
  TestDirector* director = nullptr;
  TestPane* pane = nullptr;
};

TEST_F(ChainTest, CommandTravelsUpUntilHandled) {
  struct Case {
    long command;
    std::vector<std::string> path;
  };
  const Case cases[] = {
      {500, {"pane"}},
      {600, {"pane", "director"}},
      {700, {"pane", "director", "document"}},
      {900, {"pane", "director", "document", "application"}},
      // Unhandled: it stops at the application, the last link.
      {12345, {"pane", "director", "document", "application"}},
  };
  for (const Case& c : cases) {
    gPath.clear();
    gCommandTarget->DoCommand(c.command);
    EXPECT_EQ(gPath, c.path) << "command " << c.command;
  }
}

TEST_F(ChainTest, MenusAreEnabledAlongTheSameChain) {
  app->UpdateAllMenus();
  EXPECT_EQ(gPath, (std::vector<std::string>{"pane", "director", "document", "application"}));
  for (long c : {500L, 600L, 700L, 900L}) EXPECT_TRUE(gMenuManager->IsCommandEnabled(c)) << c;
  EXPECT_FALSE(gMenuManager->IsCommandEnabled(1000));
  // A target higher up the chain no longer enables what only the pane handles.
  director->BecomeCommandTarget(true);
  app->UpdateAllMenus();
  EXPECT_FALSE(gMenuManager->IsCommandEnabled(500));
  EXPECT_TRUE(gMenuManager->IsCommandEnabled(600));
}

TEST_F(ChainTest, DisabledMenuCommandIsNotDispatched) {
  gPath.clear();
  EXPECT_FALSE(app->DispatchCommand(1000));  // an item nobody enables
  EXPECT_EQ(std::count(gPath.begin(), gPath.end(), "application"), 1);  // only the menu update
  gPath.clear();
  EXPECT_TRUE(app->DispatchCommand(700));
  EXPECT_EQ(gPath.back(), "document");
  // A command without a menu item (sent by code) is always given.
  gPath.clear();
  EXPECT_TRUE(app->DispatchCommand(4242));
  EXPECT_EQ(gPath.back(), "application");
}

TEST_F(ChainTest, KeysTravelUpTheChain) {
  EventRecord event;
  event.what = keyDown;
  event.message = 'd';
  gPath.clear();
  app->DispatchEvent(&event);
  EXPECT_EQ(gPath, (std::vector<std::string>{"pane:d", "director:d"}));
  event.message = 'x';
  gPath.clear();
  app->DispatchEvent(&event);
  EXPECT_EQ(gPath, (std::vector<std::string>{"pane:x", "director:x", "document:x", "application:x"}));
}

TEST_F(ChainTest, CommandKeyChoosesTheEnabledMenuItem) {
  MenuRecord* menu = gMenuManager->GetMenuByID(5);
  menu->items[1].keyEquivalent = 'D';  // command 600
  menu->items[4].keyEquivalent = 'Z';  // command 1000, never enabled
  EventRecord event;
  event.what = keyDown;
  event.modifiers = cmdKey;
  event.message = 'd';
  gPath.clear();
  app->DispatchEvent(&event);
  EXPECT_EQ(gPath.back(), "director");
  event.message = 'z';
  gPath.clear();
  app->DispatchEvent(&event);
  EXPECT_EQ(std::count(gPath.begin(), gPath.end(), "pane:z"), 0) << "a disabled key command is not typed";
}

TEST_F(ChainTest, TaskTravelsToTheApplicationAndMarksTheDocumentChanged) {
  std::vector<std::string> log;
  auto* first = new RecordingTask(&log, "first");
  first->Init(13);
  pane->Notify(first);
  EXPECT_EQ(app->GetLastTask(), first);
  EXPECT_TRUE(director->IsChanged());
  EXPECT_TRUE(document->IsChanged());
  // The next task replaces and disposes of the previous one; null clears it.
  auto* second = new RecordingTask(&log, "second");
  pane->Notify(second);
  EXPECT_EQ(log, (std::vector<std::string>{"first disposed"}));
  EXPECT_EQ(app->GetLastTask(), second);
  pane->Notify(second);  // the same task again stays alive
  EXPECT_EQ(app->GetLastTask(), second);
  pane->Notify(nullptr);
  EXPECT_EQ(app->GetLastTask(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"first disposed", "second disposed"}));
}

TEST_F(ChainTest, UndoAlternatesUndoAndRedo) {
  std::vector<std::string> log;
  auto* task = new RecordingTask(&log, "t");
  task->Init(13);
  pane->Notify(task);
  for (int i = 0; i < 3; ++i) gCommandTarget->DoCommand(cmdUndo);
  EXPECT_EQ(log, (std::vector<std::string>{"t undo", "t redo", "t undo"}));
  EXPECT_TRUE(app->IsUndone());
  EXPECT_TRUE(task->IsUndone());
  pane->Notify(nullptr);  // the task goes while its log exists
}

TEST_F(ChainTest, ClosingTheDocumentMovesTheTargetUp) {
  document->dirty = false;
  pane->SetSupervisor(nullptr);  // the pane outlives its window in this test
  pane->BecomeCommandTarget(false);
  director->BecomeCommandTarget(true);
  gCommandTarget->DoCommand(cmdClose);  // the director closes
  EXPECT_EQ(document->CountDirectors(), 0);
  EXPECT_EQ(gCommandTarget, document);
  document->Close(false);
  EXPECT_EQ(app->CountDirectors(), 0);
  EXPECT_EQ(gCommandTarget, app);
}

}  // namespace
