#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "AlertSink.h"
#include "Alerts.h"
#include "AppResources.h"
#include "CApplication.h"
#include "DETException.h"
#include "ExceptionReporting.h"
#include "Memory.h"
#include "MenuHighlight.h"
#include "Q3Types.h"

namespace {

struct QuitCounter : CApplication {
  int quits = 0;
  void Quit() override { ++quits; }
};

class Exceptions : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::InstallApplicationResources();
    vlalert::ClearLog();
    vlui::ResetBeepCount();
    gAlertsSuppressed = false;
  }
  void TearDown() override { gAlertsSuppressed = false; }

  // Runs body, catches what it throws as an event step does, and reports it.
  template <class F>
  void ThrowAndReport(F body) {
    try {
      body();
      FAIL() << "nothing was thrown";
    } catch (CException& e) {
      ReportException(e);
    }
  }

  QuitCounter app;
};

}  // namespace

TEST_F(Exceptions, AlertTextsByCode) {
  struct Case {
    const char* name;
    std::function<void()> body;
    int alert;
    std::string t0, t1, t2;
  } cases[] = {
      {"nil pointer", [] { ThrowIfNil(nullptr); }, 4003, "of an internal programming error", "",
       "an unknown error occured"},
      {"file system", [] { ThrowIfOSErr(-43, kDEErrorFileSystemError); }, 4003, "because of a file system error", "",
       "the file could not be found"},
      {"-5000 as -45", [] { ThrowIfOSErr(-5000, kDEErrorErrorReadingFile); }, 4003,
       "Velmora was unable to read the file", "", "the file is locked"},
      {"-50 unknown", [] { ThrowIfOSErr(-50, kDEErrorErrorWritingFile); }, 4003,
       "Velmora was unable to write the file", "", "an unknown error occured"},
      {"texture", [] { ThrowError(kDEErrorErrorReadingTextureFile, Str255("t.pct")); }, 4003,
       "there was an error while reading a texture file", "t.pct", "an unknown error occured"},
      {"material resource", [] { ThrowError(kDEErrorErrorWritingMaterialResource, Str255("")); }, 4003,
       "Velmora could not write the Material Resource", "", "an unknown error occured"},
      {"no row", [] { ThrowError(-9980, Str255("")); }, 4003, "of an unspecified error", "", "an unknown error occured"},
      {"file stream", [] {
         std::FILE* f = std::tmpfile();
         std::fgetc(f);  // end of file
         try {
           ThrowIfFileError(f, kDEErrorErrorReadingModelFile);
         } catch (...) {
           std::fclose(f);
           throw;
         }
       },
       4003, "Velmora was unable to read the file", "", "of an input or output error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    vlalert::ClearLog();
    ThrowAndReport(c.body);
    ASSERT_EQ(vlalert::Log().size(), 1u);
    EXPECT_EQ(vlalert::Log()[0].id, c.alert);
    EXPECT_EQ(vlui::AlertText(0), c.t0);
    EXPECT_EQ(vlui::AlertText(1), c.t1);
    EXPECT_EQ(vlui::AlertText(2), c.t2);
  }
}

TEST_F(Exceptions, CodesWithAlertsOfTheirOwnAndSilentCodes) {
  struct Case {
    std::int32_t code;
    int alert;  // 0: none
  } cases[] = {{kDEErrorQD3DInternal, 4016}, {kDEErrorNotAValidVelmoraFile, 4010}, {-9972, 4018}, {-9971, 4019},
               {kDEErrorNone, 0},           {kDEErrorUnspecified, 0},           {kDEErrorSilent, 0}, {kDEErrorLastError, 0}};
  for (auto c : cases) {
    SCOPED_TRACE(c.code);
    vlalert::ClearLog();
    ThrowAndReport([&] { ThrowError(c.code, Str255("why")); });
    if (c.alert == 0) {
      EXPECT_TRUE(vlalert::Log().empty());
    } else {
      ASSERT_EQ(vlalert::Log().size(), 1u);
      EXPECT_EQ(vlalert::Log()[0].id, c.alert);
    }
  }
  EXPECT_EQ(vlui::AlertText(0), "why");  // -9971 shows the message as its first text
  EXPECT_EQ(app.quits, 0);
}

TEST_F(Exceptions, FatalCodesQuitAndEndTheProgramEvenInTheBackground) {
  // Reports as an event step does; answers the status the program ended with, or -1.
  auto report = [this](std::int32_t code) {
    try {
      ThrowAndReport([code] { ThrowError(code, Str255("")); });
    } catch (const vlui::ExitToShellSignal& exit) {
      return exit.status;
    }
    return -1;
  };
  EXPECT_EQ(report(kDEErrorReadingApplicationResource), kFatalErrorExitStatus);
  EXPECT_EQ(vlalert::Log().size(), 1u);  // the alert comes first
  EXPECT_EQ(app.quits, 1);
  EXPECT_EQ(report(kDEErrorErrorWritingMaterialPrefFile), kFatalErrorExitStatus);
  EXPECT_EQ(app.quits, 2);
  gAlertsSuppressed = true;
  vlalert::ClearLog();
  EXPECT_EQ(report(kDEErrorInitializationFailed), kFatalErrorExitStatus);
  EXPECT_TRUE(vlalert::Log().empty());
  EXPECT_EQ(vlui::BeepCount(), 1);
  EXPECT_EQ(app.quits, 3);
  EXPECT_EQ(report(kDEErrorErrorReadingFile), -1);
  EXPECT_EQ(app.quits, 3);
}

TEST_F(Exceptions, ShowAlertNeverEndsTheProgram) {
  try {
    ThrowError(kDEErrorErrorWritingMaterialPrefFile, Str255("why"));
  } catch (DETException& e) {
    e.ShowAlert();
  }
  ASSERT_EQ(vlalert::Log().size(), 1u);
  EXPECT_EQ(vlalert::Log()[0].id, 4003);
  EXPECT_EQ(vlui::AlertText(1), "why");
  EXPECT_EQ(app.quits, 0);
}

TEST_F(Exceptions, RethrowKeepsMessageAndOSErrorButTakesTheContext) {
  try {
    try {
      ThrowIfOSErr(-39, kDEErrorErrorReadingFile);
    } catch (CException& e) {
      RethrowAsDETException(e, kDEErrorErrorReadingModelFile);
    }
  } catch (DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorErrorReadingModelFile);
    EXPECT_EQ(e.GetOSError(), -39);
  }
  try {
    try {
      Failure(-36, 0);
    } catch (CException& e) {
      RethrowAsDETException(e, kDEErrorErrorWritingFile);
    }
  } catch (DETException& e) {
    EXPECT_EQ(e.BedVirtualGetClassInfo(), DETException::ClassInfo());
    EXPECT_EQ(e.GetCode(), kDEErrorErrorWritingFile);
    EXPECT_EQ(e.GetOSError(), -36);
  }
  try {
    try {
      ThrowQD3DException(-28490, Str255("q"));
    } catch (CException& e) {
      RethrowAsDETException(e, kDEErrorErrorReadingFile);
    }
  } catch (DETQ3Exception& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorErrorReadingFile);
  }
}

TEST_F(Exceptions, ReportShowsOneMessageBoxPerException) {
  DETException e(kDEErrorErrorWritingModelFile, Str255("x"));
  e.Report("/src/model/VLDocument.cpp", 42);
  e.Report("/src/model/VLDocument.cpp", 42);
  ASSERT_EQ(vlalert::Log().size(), 1u);
  const auto& box = vlalert::Log()[0];
  EXPECT_EQ(box.kind, "messagebox");
  EXPECT_EQ(box.title, "Velmora Error");
  ASSERT_EQ(box.texts.size(), 1u);
  EXPECT_EQ(box.texts[0],
            "VL Exception in File: VLDocument.cpp Line: 42\nError = 0xFFFFD8FD\n"
            "Possible low resource problem, save work and exit");

  DETQ3Exception q(kQ3ErrorOutOfMemory, Str255(""));
  q.Report("a/b.cpp", 7);
  EXPECT_EQ(vlalert::Log()[1].title, "QD3D Error");
  EXPECT_NE(vlalert::Log()[1].texts[0].find("Error = -28491 - kQ3ErrorOutOfMemory"), std::string::npos);
  Str255 name;
  EXPECT_TRUE(q.GetErrorText(name));
  DETQ3Exception unknown(12345, Str255(""));
  EXPECT_FALSE(unknown.GetErrorText(name));
  EXPECT_EQ(GetQ3ErrorName(12345), nullptr);
  EXPECT_STREQ(GetQ3ErrorName(kQ3ErrorNone), "kQ3ErrorNone");
}

TEST_F(Exceptions, PlainClassLibraryExceptionsGoToTheApplicationsAlert) {
  PortHighlightMenu(5);
  ThrowAndReport([] { Failure(-108, 0); });
  EXPECT_EQ(PortHighlightedMenu(), 0);
  EXPECT_EQ(vlalert::Log().size(), 1u);
  vlalert::ClearLog();
  ThrowAndReport([] { Failure(1, 0); });  // error 1 is silent
  EXPECT_TRUE(vlalert::Log().empty());
}

TEST_F(Exceptions, QD3DErrorHandlerThrows) {
  EXPECT_THROW(DEErrorHandler(kQ3ErrorInternalError, kQ3ErrorInternalError, 0), DETQ3Exception);
  ThrowAndReport([] { DEErrorHandler(kQ3ErrorInternalError, 0, 0); });
  EXPECT_EQ(vlalert::Log().back().id, 4016);
}
