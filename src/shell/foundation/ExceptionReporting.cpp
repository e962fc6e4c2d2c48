#include "ExceptionReporting.h"

#include "Alerts.h"
#include "CApplication.h"
#include "DETException.h"
#include "Events.h"
#include "MenuHighlight.h"
#include "MessageBox.h"
#include "Resources.h"

namespace {

constexpr SInt16 kDEErrorAlert = 4003;
constexpr SInt16 kNotVelmoraFileAlert = 4010;
constexpr SInt16 kQD3DErrorAlert = 4016;
constexpr SInt16 kAlert9972 = 4018;
constexpr SInt16 kAlert9971 = 4019;

class ShellReporter : public DEExceptionReporter {
 public:
  void ShowAlert(DETException& exception) override {
    if (gAlertsSuppressed) {
      PortBeep(3);
      return;
    }
    const std::int32_t code = exception.GetCode();
    switch (code) {
      case kDEErrorNone:
      case kDEErrorUnspecified:
      case kDEErrorSilent:
      case kDEErrorLastError:
        break;
      case kDEErrorQD3DInternal:
        PortAlertVariant(kQD3DErrorAlert);
        break;
      case kDEErrorNotAValidVelmoraFile:
        PortAlertVariant(kNotVelmoraFileAlert);
        break;
      case -9972:
        PortAlertVariant(kAlert9972);
        break;
      case -9971:
        PortSetAlertTexts(gErrorMessage, nullptr, nullptr, nullptr);
        PortAlertVariant(kAlert9971);
        break;
      default: {
        Str255 osText;
        exception.GetErrorText(osText);  // "an unknown error occured" when it answers false
        PortSetAlertTexts(DEErrorMessage(code), gErrorMessage, osText, nullptr);
        PortAlertVariant(kDEErrorAlert);
        break;
      }
    }
  }

  void EndAfterFatalError() override {
    // The application's quit only cleans up; the program cannot go on.
    if (gApplication) gApplication->Quit();
    PortExitToShell(kFatalErrorExitStatus);
  }

  void ShowMessageBox(const std::string& text, const char* title) override {
    MessageBoxA(nullptr, text.c_str(), title, MB_OK | MB_ICONINFORMATION);
  }

  void GetListString(SInt16 listId, SInt16 index, StringPtr text) override { PortGetListString(text, listId, index); }
};

ShellReporter gShellReporter;

}  // namespace

// Installed while the program starts, before anything can throw. The build names this symbol to
// every program that links the foundation, so that the installation is always linked in.
extern "C" const bool VlExceptionReportingInstalled = (SetExceptionReporter(&gShellReporter), true);

void ReportException(CException& exception) {
  const CClassInfo* info = exception.BedVirtualGetClassInfo();
  if (info == DETException::ClassInfo() || info == DETQ3Exception::ClassInfo()) {
    static_cast<DETException&>(exception).TellUser();
    return;
  }
  if (exception.GetError() != 1 && gApplication)
    gApplication->ReportError(exception.GetError(), exception.GetMessage());
  PortHighlightMenu(0);
}
