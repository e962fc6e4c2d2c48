// Shared pieces of the shell application tests: the program's resources, a screen, an alert
// log with scripted answers, and one initialised VLApplication per test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AlertSink.h"
#include "AppResources.h"
#include "CClipboard.h"
#include "CMenuManager.h"
#include "Events.h"
#include "FileTypes.h"
#include "Resources.h"
#include "Screen.h"
#include "StandardFile.h"
#include "ShellStartup.h"
#include "VLApplication.h"

class ShellAppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    vlalert::ClearLog();
    vlalert::SetAnswerer([this](const vlalert::Record& r) { return NextAnswer(r); });
    vlui::ResetEvents();
    vlui::SetEventSource(nullptr);
    vlui::InitScreen();
    PortSetFileTypes(gFileTypeTable, nullptr);
  }
  void TearDown() override {
    delete app;
    app = nullptr;
    vlui::ShutdownScreen();
    vlalert::SetAnswerer(nullptr);
    vlalert::ClearLog();
    vlui::ResetEvents();
    vlres::ResetResourceChain();
    EXPECT_EQ(gApplication, nullptr);
    EXPECT_EQ(gClipboard, nullptr);
    EXPECT_EQ(gMenuManager, nullptr);
  }

  VLApplication* MakeApp() {
    app = new VLApplication;
    app->IVLApplication();
    return app;
  }

  int NextAnswer(const vlalert::Record&) {
    if (answers.empty()) return 1;
    int a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  std::vector<int> AlertIds() const {
    std::vector<int> ids;
    for (const auto& r : vlalert::Log())
      if (r.kind == "alert") ids.push_back(r.id);
    return ids;
  }
  // The open dialog's reply for a path, as a launch or a drop gives it.
  static SFReply ReplyFor(const std::string& path) {
    SFReply reply;
    EXPECT_TRUE(vlui::FillOpenReply(path, &reply)) << path;
    return reply;
  }

  VLApplication* app = nullptr;
  std::vector<int> answers;  // answers to the next alerts, in order (then 1)
};
