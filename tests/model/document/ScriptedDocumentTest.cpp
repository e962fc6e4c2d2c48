// The scripts of tests/e2e/document driven through the application with the native document,
// as a user drives the program: each runs on a new application in a folder of its own, set up
// by the script's set-up lines as the program's own script runs are (HeadlessScript.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

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
    // Every document is gone, and nothing it published is left behind.
    EXPECT_EQ(gCurrentObjectList, nullptr);
    EXPECT_EQ(gCurrentSelection, nullptr);
    EXPECT_EQ(gCurrentPhases, nullptr);
    EXPECT_EQ(gCurrentViewPane, nullptr);
  }

  vltest::TempFolder temp;
  const fs::path folder = temp.Root();
  vltest::TempFolder config;
  const std::string configHome = config.UseAsConfigHome();
  DocumentMaker savedMaker = nullptr;
};

}  // namespace

TEST_P(ScriptedDocument, RunsAsExpected) {
  const fs::path script = kScripts / (GetParam() + ".vls");
  vlheadless::ScriptSetup setup;
  std::string error;
  ASSERT_TRUE(vlheadless::LoadScriptSetup(script.string(), &setup, &error)) << error;
  for (const std::string& name : setup.make) temp.Write(name, "");
  for (const std::string& name : setup.folders) fs::create_directories(folder / name);
  for (const std::string& name : setup.copies)
    fs::copy_file(script.parent_path() / name, folder / name, fs::copy_options::overwrite_existing);
  for (const std::string& name : setup.config) config.Write(name, "");
  std::vector<SFReply> launch;
  for (const std::string& name : setup.arguments) {
    SFReply reply;
    if (vlui::FillOpenReply((folder / name).string(), &reply)) launch.push_back(reply);
  }
  const int status = vlheadless::RunScript(script.string(), [&]() -> CApplication* {
    VLApplication* app = StartApplication();
    if (app) app->SetLaunchFiles(launch);
    return app;
  });
  FreeWorkBlocks();
  EXPECT_EQ(status, setup.exitStatus) << script;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptedDocument, ::testing::ValuesIn(ScriptNames()),
                         [](const testing::TestParamInfo<std::string>& script) { return script.param; });
