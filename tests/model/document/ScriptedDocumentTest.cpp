// The native document driven by headless scripts as a user drives it: new documents, their
// windows and titles, the settings commands and their dialogs, and the save question that a
// changed setting brings at the end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "AlertSink.h"
#include "AppResources.h"
#include "ApplicationMain.h"
#include "FileTypes.h"
#include "Resources.h"
#include "ShellStartup.h"
#include "StandardFile.h"
#include "VLApplication.h"
#include "VLDocument.h"
#include "headless/HeadlessBackend.h"

namespace fs = std::filesystem;

namespace {

class ScriptedDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::path(testing::TempDir()) / ("scripted-document-" + std::to_string(::getpid()) + "-" +
                                             testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    PortSetFileTypes(gFileTypeTable, nullptr);
    savedMaker = gNativeDocumentMaker;
    InstallNativeDocument();
  }
  void TearDown() override {
    gNativeDocumentMaker = savedMaker;
    vlres::ResetResourceChain();
    vlalert::ClearLog();
    fs::remove_all(folder);
    EXPECT_EQ(gCurrentObjectList, nullptr);
    EXPECT_EQ(gCurrentSelection, nullptr);
    EXPECT_EQ(gCurrentPhases, nullptr);
  }

  int Run(const std::string& script, const std::vector<std::string>& files = {}) {
    fs::path path = folder / "script.vls";
    std::ofstream(path) << script;
    std::vector<SFReply> replies;
    for (const std::string& file : files) {
      SFReply reply;
      if (vlui::FillOpenReply(file, &reply)) replies.push_back(reply);
    }
    int status = vlheadless::RunScript(path.string(), [&]() -> CApplication* {
      VLApplication* app = StartApplication();
      if (app) app->SetLaunchFiles(replies);
      return app;
    });
    FreeWorkBlocks();
    return status;
  }
  std::string File(const std::string& name) {
    std::ofstream(folder / name) << "4\n//\n";
    return (folder / name).string();
  }
  static std::vector<int> Alerts() {
    std::vector<int> ids;
    for (const auto& r : vlalert::Log())
      if (r.kind == "alert") ids.push_back(r.id);
    return ids;
  }

  fs::path folder;
  DocumentMaker savedMaker = nullptr;
};

}  // namespace

TEST_F(ScriptedDocument, NewDocumentsAreTitledWithTheirNumberAndFirstPhase) {
  EXPECT_EQ(Run("expect front \"Untitled - Existing\"\n"
                "command 2\n"
                "command 2\n"
                "expect front \"Untitled 3 - Existing\"\n"
                "expect window \"Untitled 2 - Existing\"\n"
                "command 4\n"
                "expect no window \"Untitled 3 - Existing\"\n"
                "expect front \"Untitled 2 - Existing\"\n"),
            vlheadless::kStatusOk);
  // Nothing changed: quitting asks nothing.
  EXPECT_EQ(Alerts(), std::vector<int>{});
}

TEST_F(ScriptedDocument, CircleFacetingThroughItsCommand) {
  EXPECT_EQ(Run("command 4104\n"
                "expect dialog 1080\n"
                "expect item 3 \"Number of facets in a circle:\"\n"
                "expect item 4 \"16\"\n"
                "key a cmd\n"
                "type 12.9\n"
                "key return\n"
                "command 4104\n"
                "expect dialog 1080\n"
                "expect item 4 \"12\"\n"
                "key escape\n"
                // The document changed: quitting asks whether to save it; Don't Save.
                "answer alert 151 2\n"
                "command 1\n"
                "expect alert 151\n"),
            vlheadless::kStatusOk);
}

TEST_F(ScriptedDocument, CancelledAndUnchangedSettingsLeaveTheDocumentUnchanged) {
  EXPECT_EQ(Run("command 4102\n"
                "expect dialog 1080\n"
                "expect item 4 \"2'0.00\\\"\"\n"
                "key escape\n"
                "command 4103\n"
                "expect dialog 3000\n"
                "key return\n"
                "command 4106\n"
                "expect dialog 1036\n"
                "key escape\n"
                "command 4101\n"
                "command 4100\n"
                "expect dialog 1032\n"
                "expect item 5 \"20.00°\"\n"
                "key return\n"),
            vlheadless::kStatusOk);
  EXPECT_EQ(Alerts(), std::vector<int>{});
}

TEST_F(ScriptedDocument, PerspectiveLinkChosenWithTheMouse) {
  EXPECT_EQ(Run("command 4106\n"
                "expect dialog 1036\n"
                "click item 3\n"
                "key return\n"
                "answer alert 151 2\n"
                "command 1\n"
                "expect alert 151\n"),
            vlheadless::kStatusOk);
}

TEST_F(ScriptedDocument, AnOpenedDocumentIsNamedAfterItsFile) {
  const std::string gone = (folder / "gone.vl").string();
  EXPECT_EQ(Run("expect front \"plan.vl - Existing\"\n"
                "expect no window \"Untitled - Existing\"\n"
                "command 4\n"
                "expect no window \"plan.vl - Existing\"\n",
                {gone, File("plan.vl")}),
            vlheadless::kStatusOk);
  // The file that is not there is reported; the other opens.
  EXPECT_EQ(Alerts(), std::vector<int>{4003});
}
