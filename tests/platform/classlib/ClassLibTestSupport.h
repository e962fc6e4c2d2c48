// Shared pieces of the class-library tests: a fresh application per test, the alert log and
// answers, and a task that records what was done to it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "AlertAnswers.h"
#include "AlertSink.h"
#include "Alerts.h"
#include "CApplication.h"
#include "CClipboard.h"
#include "CMenuManager.h"
#include "CTask.h"
#include "Events.h"
#include "Resources.h"

// An application made and initialised for one test; the globals are clean before and after.
class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    vlui::ResetEvents();
    vlui::SetEventSource(nullptr);
    gAlertsSuppressed = false;
  }
  void TearDown() override {
    if (app) app->Dispose();
    app = nullptr;
    vlui::ResetEvents();
    vlres::ResetResourceChain();
    EXPECT_EQ(gCommandTarget, nullptr);
    EXPECT_EQ(gMenuManager, nullptr);
    EXPECT_EQ(gClipboard, nullptr);
    EXPECT_EQ(gApplication, nullptr);
  }
  template <class App = CApplication>
  App* MakeApp() {
    auto* a = new App;
    a->IApplication(150, 45000, 40000, 20000);
    app = a;
    return a;
  }
  // Everything shown: alerts, dialogs and message boxes.
  std::vector<int> AlertIds() const { return alerts.Ids(); }

  vltest::AlertAnswers alerts;
  std::vector<int>& answers = alerts.answers;  // answers to the next alerts, in order (then 1)
  CApplication* app = nullptr;
};

// A task that logs its calls and its disposal.
class RecordingTask : public CTask {
 public:
  explicit RecordingTask(std::vector<std::string>* log, std::string name) : log(log), name(std::move(name)) {}
  ~RecordingTask() override { log->push_back(name + " disposed"); }
  void Do() override { log->push_back(name + " do"); }
  void Undo() override {
    CTask::Undo();
    log->push_back(name + " undo");
  }
  void Redo() override {
    CTask::Redo();
    log->back() = name + " redo";
  }

 private:
  std::vector<std::string>* log;
  std::string name;
};
