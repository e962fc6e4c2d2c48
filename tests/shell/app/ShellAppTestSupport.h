// Shared pieces of the shell application tests: the program's resources, a screen, an alert
// log with scripted answers, and one initialised VLApplication per test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AlertAnswers.h"
#include "AlertSink.h"
#include "AppResources.h"
#include "CClipboard.h"
#include "CMenuManager.h"
#include "Events.h"
#include "FileTypes.h"
#include "Resources.h"
#include "Screen.h"
#include "StandardFile.h"
#include "TempFolder.h"
#include "ShellStartup.h"
#include "VLApplication.h"

class ShellAppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    vlui::ResetEvents();
    vlui::SetEventSource(nullptr);
    vlui::InitScreen();
    PortSetFileTypes(gFileTypeTable, nullptr);
  }
  void TearDown() override {
    delete app;
    app = nullptr;
    vlui::ShutdownScreen();
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

  std::vector<int> AlertIds() const { return alerts.Ids("alert"); }
  // A file of the test's own folder holding the contents; its path.
  std::string TestFile(const std::string& name, const std::string& contents = "x") { return temp.Write(name, contents); }
  // The open dialog's reply for a path, as a launch or a drop gives it.
  static SFReply ReplyFor(const std::string& path) {
    SFReply reply;
    EXPECT_TRUE(vlui::FillOpenReply(path, &reply)) << path;
    return reply;
  }

  vltest::TempFolder temp;
  vltest::AlertAnswers alerts;
  std::vector<int>& answers = alerts.answers;  // answers to the next alerts, in order (then 1)
  VLApplication* app = nullptr;
};
