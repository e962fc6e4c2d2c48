// The scripts of tests/e2e/document driven through the application with the native document,
// as a user drives the program: each runs on a new application in a folder of its own. Lines
// at the top of a script set the run up, as for the program's own script runs:
//   # exit status: N     the status expected (default 0)
//   # files: NAME...      files made in the folder and given at start, in order
//   # args: NAME...       further names given at start, as they are (made or not)
//   # config: NAME...     files made in the configuration folder (paths below it)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
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
#include "TempFolder.h"
#include "VLApplication.h"
#include "VLDocument.h"
#include "headless/HeadlessBackend.h"

namespace fs = std::filesystem;

namespace {

const fs::path kScripts = fs::path(VL_SOURCE_DIR) / "tests" / "e2e" / "document";

std::vector<std::string> ScriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kScripts))
    if (entry.path().extension() == ".vls") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ScriptedDocument : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    folder = fs::path(testing::TempDir()) / ("scripted-document-" + std::to_string(::getpid()) + "-" + GetParam());
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
    // Every document is gone, and nothing it published is left behind.
    EXPECT_EQ(gCurrentObjectList, nullptr);
    EXPECT_EQ(gCurrentSelection, nullptr);
    EXPECT_EQ(gCurrentPhases, nullptr);
    EXPECT_EQ(gCurrentViewPane, nullptr);
  }

  fs::path folder;
  vltest::TempFolder config;
  const std::string configHome = config.UseAsConfigHome();
  DocumentMaker savedMaker = nullptr;
};

}  // namespace

TEST_P(ScriptedDocument, RunsAsExpected) {
  const fs::path script = kScripts / (GetParam() + ".vls");
  std::ifstream in(script);
  int expectedStatus = vlheadless::kStatusOk;
  std::vector<SFReply> launch;
  for (std::string line; std::getline(in, line) && line.rfind("# ", 0) == 0;) {
    std::istringstream words(line.substr(2));
    std::string kind;
    words >> kind;
    if (kind == "exit") {
      std::string statusWord;
      words >> statusWord >> expectedStatus;
    } else if (kind == "config:") {
      for (std::string name; words >> name;) {
        fs::create_directories((config.Root() / name).parent_path());
        std::ofstream(config.Root() / name);
      }
    } else if (kind == "files:" || kind == "args:") {
      for (std::string name; words >> name;) {
        const fs::path path = folder / name;
        if (kind == "files:") std::ofstream(path) << "4\n//\n";
        SFReply reply;
        if (vlui::FillOpenReply(path.string(), &reply)) launch.push_back(reply);
      }
    }
  }
  const int status = vlheadless::RunScript(script.string(), [&]() -> CApplication* {
    VLApplication* app = StartApplication();
    if (app) app->SetLaunchFiles(launch);
    return app;
  });
  FreeWorkBlocks();
  EXPECT_EQ(status, expectedStatus) << script;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptedDocument, ::testing::ValuesIn(ScriptNames()),
                         [](const testing::TestParamInfo<std::string>& script) { return script.param; });
