#include "ApplicationMain.h"

#include <cstring>
#include <memory>
#include <new>

#include "Alerts.h"
#include "DETException.h"
#include "ExceptionReporting.h"
#include "Memory.h"
#include "PointLoop.h"
#include "VLApplication.h"

Ptr gTextToolText = nullptr;
SInt16 gTextToolTextLength = 0;

namespace {
constexpr char kInitialToolText[] = "Type text here.";
}  // namespace

void FreeWorkBlocks() {
  PortFreeBlock(gPointWorkBuffer);
  gPointWorkBuffer = nullptr;
  PortFreeBlock(gTextToolText);
  gTextToolText = nullptr;
  gTextToolTextLength = 0;
}

VLApplication* MakeApplication() { return new (std::nothrow) VLApplication; }

VLApplication* StartApplication() {
  std::unique_ptr<VLApplication> made(MakeApplication());
  if (!made) return nullptr;
  try {
    made->IVLApplication();
  } catch (CException& e) {
    // The application goes also when the report of a fatal code ends the program.
    ReportException(e);
    return nullptr;
  } catch (const std::bad_alloc&) {
    PortAlert(kNoMemoryAtStartAlert);
    return nullptr;
  }
  VLApplication* app = made.release();

  // A buffer that geometry code already grew is kept, not lost.
  ReservePointWorkBuffer(0);
  gTextToolText = PortAllocBlock(kTextToolTextSize);
  if (gTextToolText) {
    std::memcpy(gTextToolText, kInitialToolText, sizeof kInitialToolText - 1);
    gTextToolTextLength = SInt16(sizeof kInitialToolText - 1);
  }
  if (!gPointWorkBuffer || !gTextToolText) {
    PortAlert(kNoMemoryAtStartAlert);
    FinishApplication(app);
    return nullptr;
  }
  // The movie services are not part of the program yet.
  gQuickTimePresent = false;
  return app;
}

void FinishApplication(VLApplication* app) {
  delete app;
  FreeWorkBlocks();
}

void ApplicationMain() {
  // The application is finished however its run ends, the exit to the shell included.
  std::unique_ptr<VLApplication, void (*)(VLApplication*)> app(StartApplication(), FinishApplication);
  if (app) app->Run();
}
