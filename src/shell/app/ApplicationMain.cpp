#include "ApplicationMain.h"

#include <cstring>
#include <memory>
#include <new>

#include "Alerts.h"
#include "DETException.h"
#include "Events.h"
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
  VLApplication* app = MakeApplication();
  if (!app) return nullptr;
  try {
    app->IVLApplication();
  } catch (const vlui::ExitToShellSignal&) {
    delete app;
    throw;
  } catch (CException& e) {
    // Deleted also when the report of a fatal code ends the program.
    std::unique_ptr<VLApplication> failed(app);
    ReportException(e);
    return nullptr;
  } catch (const std::bad_alloc&) {
    PortAlert(kNoMemoryAtStartAlert);
    delete app;
    return nullptr;
  }

  gPointWorkBuffer = PortAllocBlock(kPointWorkBufferSize);
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
  VLApplication* app = StartApplication();
  if (!app) return;
  try {
    app->Run();
  } catch (...) {
    FinishApplication(app);
    throw;
  }
  FinishApplication(app);
}
