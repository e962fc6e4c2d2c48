#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "AppResources.h"
#include "CApplication.h"
#include "CDocument.h"
#include "Events.h"
#include "Profile.h"
#include "Resources.h"
#include "Screen.h"
#include "ShellMain.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

struct QuitSource : vlui::EventSource {
  QuitSource(CApplication* app, std::vector<std::string>* documents) : app(app), documents(documents) {}
  void Refill() override {
    if (quitting) return;
    quitting = true;
    for (long i = 1; i <= app->CountDirectors(); ++i) {
      if (auto* document = dynamic_cast<CDocument*>(app->GetDirector(i))) {
        Str255 name;
        document->GetName(name);
        documents->push_back(name.Std());
      }
    }
    vlui::PostCommand(1);
  }
  CApplication* app;
  std::vector<std::string>* documents;
  bool quitting = false;
};

// A backend stand-in: the frame is a screen of the placement's size (or 640 by 480), the run
// opens the launch documents and quits at once.
class FakeHost : public ShellHost {
 public:
  ScreenMetrics Metrics() override {
    ScreenMetrics m;
    PortSetRect(&m.area, 0, 0, 1000, 800);
    m.fullScreenWidth = 1000;
    m.fullScreenHeight = 780;
    m.captionHeight = 20;
    return m;
  }
  int Run(const std::string& runTitle, const FramePlacement& runPlacement, int showCommand,
          const std::function<CApplication*()>& makeApp) override {
    ++runs;
    title = runTitle;
    placement = runPlacement;
    show = showCommand;
    if (placement.stored)
      vlui::InitScreen(placement.bounds.right - placement.bounds.left, placement.bounds.bottom - placement.bounds.top);
    else
      vlui::InitScreen(640, 480);
    if (resizeTo.h) vlui::ResizeScreen(resizeTo.h, resizeTo.v);
    CApplication* app = makeApp();
    if (!app) return 4;
    // The first time the program asks for input: note its documents, then quit.
    QuitSource source(app, &documents);
    vlui::EventSource* previous = vlui::SetEventSource(&source);
    app->Run();
    vlui::SetEventSource(previous);
    delete app;
    vlui::ShutdownScreen();
    return 0;
  }
  bool CurrentFrame(Rect* frame, Boolean* zoomed) override {
    if (!vlui::ScreenReady()) return false;
    PortSetRect(frame, 0, 0, vlui::ScreenWidth(), vlui::ScreenHeight());
    *zoomed = false;
    return true;
  }

  int runs = 0;
  std::string title;
  FramePlacement placement;
  int show = 0;
  Point resizeTo;  // (h = width, v = height) when set
  std::vector<std::string> documents;
};

class ShellMainFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    vlalert::ClearLog();
    vlui::ResetEvents();
  }
  void TearDown() override {
    vlres::ResetResourceChain();
    vlalert::ClearLog();
  }
  std::string File(const std::string& name) { return work.Write(name, "x"); }
  int Ini(const char* key, int fallback) {
    return int(GetPrivateProfileIntA("FRAME", key, fallback, gIniFilePath));
  }

  vltest::TempFolder work;
  const std::string home = work.UseAsConfigHome();
  const fs::path& folder = work.Root();
};

}  // namespace

TEST_F(ShellMainFixture, FirstStartWritesThePlacementTheNextStartReads) {
  FakeHost first;
  first.resizeTo = Point{500, 700};  // the user made the frame 700 by 500
  EXPECT_EQ(ShellMain({}, first), 0);
  EXPECT_EQ(first.title, "Velmora");
  // No [FRAME] section: the full screen below the caption.
  EXPECT_TRUE(first.placement.stored);
  EXPECT_EQ(first.placement.bounds, (Rect{0, 0, 800, 1000}));
  EXPECT_EQ(first.show, kShowNormal);
  // The run made one untitled document; the frame was written when it went.
  EXPECT_EQ(first.documents, std::vector<std::string>{"Untitled"});
  EXPECT_EQ(Ini("right", -1), 700);
  EXPECT_EQ(Ini("bottom", -1), 500);
  EXPECT_EQ(Ini("Maximized", -1), 0);

  FakeHost second;
  ASSERT_TRUE(WritePrivateProfileStringA("FRAME", "Maximized", "1", gIniFilePath));
  EXPECT_EQ(ShellMain({}, second), 0);
  EXPECT_TRUE(second.placement.stored);
  EXPECT_EQ(second.placement.bounds, (Rect{0, 0, 500, 700}));
  EXPECT_EQ(second.show, kShowMaximized);
}

TEST_F(ShellMainFixture, APlacementOnePixelOutsideTheScreenIsIgnored) {
  FakeHost first;
  ShellMain({}, first);
  ASSERT_TRUE(WritePrivateProfileStringA("FRAME", "right", "1001", gIniFilePath));
  FakeHost second;
  ShellMain({}, second);
  EXPECT_FALSE(second.placement.stored);
  // The window layer placed it (640 by 480 here), and that is what is written.
  EXPECT_EQ(Ini("right", -1), 640);
}

TEST_F(ShellMainFixture, CommandLineDocumentsOpenInOrder) {
  FakeHost host;
  ShellArguments arguments;
  arguments.files = {File("second.vl"), File("first.vl"), (folder / "not-a-name\xff.vl").string()};
  EXPECT_EQ(ShellMain(arguments, host), 0);
  EXPECT_EQ(host.documents, (std::vector<std::string>{"second.vl", "first.vl"}));
}

TEST_F(ShellMainFixture, ASecondInstanceIsRefusedWithoutAFrame) {
  InstanceLock running;
  ASSERT_TRUE(running.Acquire());
  FakeHost host;
  EXPECT_EQ(ShellMain({}, host), 0);
  EXPECT_EQ(host.runs, 0);
  running.Release();
  EXPECT_EQ(ShellMain({}, host), 0);
  EXPECT_EQ(host.runs, 1);
}
