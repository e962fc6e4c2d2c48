// The application driven by headless scripts as a user drives it, with the shell's stand-in
// native document: a document changes when the user types into it, so quitting has something
// to ask about, and documents given at start show their names.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
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
#include "headless/HeadlessBackend.h"

namespace fs = std::filesystem;

namespace {

class ScriptedShell : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    PortSetFileTypes(gFileTypeTable, nullptr);
  }
  void TearDown() override {
    vlres::ResetResourceChain();
    vlalert::ClearLog();
  }

  // Runs the script on a new application that opens the files at start; the run's status.
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
  std::string File(const std::string& name) { return work.Write(name, "x"); }
  // The documents named by the save questions (between curly quotes), in the order asked.
  static std::vector<std::string> SaveQuestions() {
    std::vector<std::string> names;
    for (const auto& r : vlalert::Log()) {
      if (r.kind != "alert" || r.id != 151 || r.texts.empty()) continue;
      const std::string& text = r.texts.front();
      std::size_t open = text.find("\xE2\x80\x9C"), close = text.find("\xE2\x80\x9D");
      if (open != std::string::npos && close != std::string::npos && close > open)
        names.push_back(text.substr(open + 3, close - open - 3));
    }
    return names;
  }

  vltest::TempFolder work;
  const fs::path& folder = work.Root();
};

}  // namespace

TEST_F(ScriptedShell, StartingKeepsAPointBufferAlreadyGrown) {
  Vector3d* grown = ReservePointWorkBuffer(2000);
  ASSERT_NE(grown, nullptr);
  VLApplication* app = StartApplication();
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(reinterpret_cast<Ptr>(grown), gPointWorkBuffer);
  FinishApplication(app);
  EXPECT_EQ(gPointWorkBuffer, nullptr);
}

TEST_F(ScriptedShell, QuitAsksEachChangedDocumentAndARefusalStopsIt) {
  int status = Run(
      "command 2\n"
      "type a\n"
      "command 8001\n"
      "expect front \"Untitled\"\n"
      "type b\n"
      // The first question is refused: nothing closes, and the program goes on.
      "answer alert 151 3\n"
      "command 1\n"
      "expect alert 151\n"
      "expect window \"Untitled\"\n"
      "expect window \"Untitled 2\"\n"
      "command 2\n"
      "expect front \"Untitled 3\"\n"
      // Then each changed document is asked about, the newest first, and the program ends.
      "answer alert 151 2\n"
      "answer alert 151 2\n"
      "command 1\n");
  EXPECT_EQ(status, vlheadless::kStatusOk);
  EXPECT_EQ(SaveQuestions(), (std::vector<std::string>{"Untitled 2", "Untitled 2", "Untitled"}));
}

TEST_F(ScriptedShell, DocumentsGivenAtStartOpenInOrderWithoutAnUntitledOne) {
  int status = Run(
      "expect front \"south.vl\"\n"
      "expect window \"north.vl\"\n"
      "expect no window \"Untitled\"\n"
      "command 4\n"
      "expect front \"north.vl\"\n"
      "command 2\n"
      "expect front \"Untitled\"\n",
      {File("north.vl"), File("south.vl")});
  EXPECT_EQ(status, vlheadless::kStatusOk);
}

TEST_F(ScriptedShell, ADocumentThatCannotBeReadIsReportedAndTheOthersOpen) {
  std::string gone = (folder / "gone.vl").string();
  int status = Run(
      "expect alert 4003\n"
      "expect front \"here.vl\"\n"
      "expect no window \"gone.vl\"\n",
      {gone, File("here.vl")});
  EXPECT_EQ(status, vlheadless::kStatusOk);
}
