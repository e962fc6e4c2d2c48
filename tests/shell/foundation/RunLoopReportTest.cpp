#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "AlertSink.h"
#include "AppResources.h"
#include "CApplication.h"
#include "DETException.h"
#include "ExceptionReporting.h"
#include "TempFolder.h"
#include "headless/HeadlessBackend.h"

namespace {

// An application whose event steps report failures the way the program does.
struct ReportingApp : CApplication {
  static inline int worked = 0;
  void DoCommand(long command) override {
    if (command == 500) ThrowIfNil(nullptr);
    if (command == 502) ThrowError(kDEErrorErrorWritingMaterialPrefFile, Str255("VL Material Prefs"));
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

// Runs the reporting application on a script; answers the run's status.
int RunReporting(const std::string& name, const std::string& script) {
  vlres::InstallApplicationResources();
  vltest::TempFolder temp;
  const std::string path = temp.Write(name + ".vls", script);
  ReportingApp::worked = 0;
  return vlheadless::RunScript(path, [] {
    auto* app = new ReportingApp;
    app->IApplication(150, 45000, 40000, 20000);
    return app;
  });
}

}  // namespace

TEST(RunLoop, AFailingCommandIsReportedAndTheNextOneRuns) {
  EXPECT_EQ(RunReporting("failing_then_working", "command 500\nexpect alert 4003\ncommand 501\n"),
            vlheadless::kStatusOk);
  EXPECT_EQ(ReportingApp::worked, 1);
}

TEST(RunLoop, AFatalErrorEndsTheProgramAfterItsAlert) {
  vlalert::ClearLog();
  EXPECT_EQ(RunReporting("fatal_then_working", "command 502\ncommand 501\n"), kFatalErrorExitStatus);
  EXPECT_EQ(ReportingApp::worked, 0);
  ASSERT_FALSE(vlalert::Log().empty());
  EXPECT_EQ(vlalert::Log().back().id, 4003) << "the alert comes first";
}
