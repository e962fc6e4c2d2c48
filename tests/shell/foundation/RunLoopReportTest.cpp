#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "AppResources.h"
#include "CApplication.h"
#include "DETException.h"
#include "headless/HeadlessBackend.h"

namespace {

// An application whose event steps report failures the way the program does.
struct ReportingApp : CApplication {
  static inline int worked = 0;
  void DoCommand(long command) override {
    if (command == 500) ThrowIfNil(nullptr);
    if (command == 501) {
      ++worked;
      return;
    }
    CApplication::DoCommand(command);
  }
  void ReportFailure(std::exception_ptr failure) override {
    try {
      std::rethrow_exception(failure);
    } catch (CException& e) {
      ReportException(e);
    } catch (...) {
      CApplication::ReportFailure(std::current_exception());
    }
  }
  void StartUpAction(SInt16) override {}  // no new document
};

}  // namespace

TEST(RunLoop, AFailingCommandIsReportedAndTheNextOneRuns) {
  vlres::InstallApplicationResources();
  std::string path = testing::TempDir() + "failing_then_working.vls";
  std::ofstream(path) << "command 500\nexpect alert 4003\ncommand 501\n";
  ReportingApp::worked = 0;
  int status = vlheadless::RunScript(path, [] {
    auto* app = new ReportingApp;
    app->IApplication(150, 45000, 40000, 20000);
    return app;
  });
  EXPECT_EQ(status, vlheadless::kStatusOk);
  EXPECT_EQ(ReportingApp::worked, 1);
  std::remove(path.c_str());
}
