// The class library driven by the headless backend's script language, as a user would: a
// program built on CApplication with a document window, a tracking pane, menus from resources
// and a dialog from resources.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CApplication.h"
#include "CDLOGDirector.h"
#include "CDialog.h"
#include "CDesktop.h"
#include "CDialogText.h"
#include "CDirector.h"
#include "CMenuManager.h"
#include "CMouseTask.h"
#include "CPane.h"
#include "CWindow.h"
#include "Commands.h"
#include "Compiler.h"
#include "headless/HeadlessBackend.h"

namespace {

std::vector<std::string> gLog;

std::string Pt(const LongPt& p) { return std::to_string(p.h) + "," + std::to_string(p.v); }

class LoggingTask : public CMouseTask {
 public:
  void BeginTracking(LongPt* start) override { gLog.push_back("begin " + Pt(*start)); }
  void KeepTracking(LongPt* curr, LongPt* prev, LongPt*) override {
    gLog.push_back("keep " + Pt(*curr) + " from " + Pt(*prev));
  }
  void EndTracking(LongPt* curr, LongPt*, LongPt*) override { gLog.push_back("end " + Pt(*curr)); }
};

class DrawingPane : public CPane {
 public:
  void DoClick(Point hit, SInt16, long) override {
    LoggingTask task;
    LongPt start{hit.v, hit.h};
    LongRect pin = frame;
    TrackMouse(&task, &start, &pin);
  }
};

// The document window logs what happens to it.
class DrawingWindow : public CWindow {
 public:
  void Activate() override {
    gLog.push_back("activate");
    CWindow::Activate();
  }
  void Drag(const EventRecord* event) override {
    CWindow::Drag(event);
    Rect r;
    GetContentRect(&r);
    gLog.push_back("moved to " + std::to_string(r.left) + "," + std::to_string(r.top));
  }
  void Grow(const EventRecord* event) override {
    CWindow::Grow(event);
    LongRect f;
    static_cast<CPane*>(GetSubviews().front())->GetFrame(&f);
    gLog.push_back("resized to " + std::to_string(GetWidth()) + "," + std::to_string(GetHeight()) + " pane " +
                   std::to_string(f.right) + "," + std::to_string(f.bottom));
  }
};

class ScriptApp : public CApplication {
 public:
  void SetUpMenus() override {
    gMenuManager->AddMenu(128);
    gMenuManager->AddMenu(130);
  }
  void UpdateMenus() override {
    CApplication::UpdateMenus();
    gMenuManager->EnableCommand(500);
    gMenuManager->EnableCommand(501);
  }
  void CreateDocument() override {
    auto* director = new CDirector;
    director->Init(this);
    auto* window = new DrawingWindow;
    window->Init(128, false, gDesktop, director);
    auto* pane = new DrawingPane;
    pane->Init(window, director, 280, 180, 10, 10, sizELASTIC, sizELASTIC);
    pane->SetWantsClicks(true);
    window->Reveal();
  }
  void DoCommand(long command) override {
    gLog.push_back("command " + std::to_string(command));
    if (command == 500) {
      auto* settings = new CDLOGDirector(600, this);
      long ended = settings->DoModalDialog(cmdOK);
      Str255 name;
      static_cast<CDialogText*>(settings->GetDialog()->FindItem(3))->GetTextString(name);
      gLog.push_back("dialog " + std::to_string(ended) + " " + name.Std());
      settings->Dispose();
      return;
    }
    if (command == 501) return;
    CApplication::DoCommand(command);
  }
};

TEST(ClassLibScriptTest, WindowsMenusDialogsAndTrackingAsAUserDrivesThem) {
  const std::string dir = std::string(VL_SOURCE_DIR) + "/tests/e2e/classlib/";
  std::vector<vlres::ResourceData> resources;
  std::string error;
  ASSERT_TRUE(rescomp::CompileFiles({dir + "classlib_app.vlr"}, &resources, &error)) << error;
  std::vector<vlres::CompiledResource> table;
  for (const auto& r : resources) table.push_back({r.type, r.id, nullptr, r.bytes.data(), UInt32(r.bytes.size())});
  vlres::InstallResourceTable(table.data(), table.size());
  gLog.clear();
  int status = vlheadless::RunScript(dir + "acceptance.vls", [] {
    auto* app = new ScriptApp;
    app->IApplication(150, 45000, 40000, 20000);
    return static_cast<CApplication*>(app);
  });
  vlres::ResetResourceChain();
  EXPECT_EQ(status, 0);  // the screen at the end matched its golden image too
  std::vector<std::string> expected{"command 2",          "activate",
                                    "moved to 140,110",   "resized to 350,220 pane 330,200",
                                    "command 501",        "command 501",
                                    "command 500",        "dialog 100 Hello",
                                    "activate",           "begin 10,10"};
  LongPt prev{10, 10};
  for (int i = 1; i <= 10; ++i) {
    LongPt curr{10 + 5 * i, 10 + 10 * i};
    expected.push_back("keep " + Pt(curr) + " from " + Pt(prev));
    prev = curr;
  }
  expected.push_back("end 110,60");
  expected.push_back("command 1");
  EXPECT_EQ(gLog, expected);
}

}  // namespace
