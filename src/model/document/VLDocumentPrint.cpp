// Printing a native document: its own printer, and the program-wide flag the views draw for
// the printer by while a job runs.
#include <new>

#include "DETException.h"
#include "Ticks.h"
#include "VLDocument.h"
#include "VLPrinter.h"
#include "ViewDrawingFlags.h"

namespace {
constexpr UInt32 kAbortPause = 120;  // ticks: two seconds
}  // namespace

void VLDocument::CreatePrinter() {
  auto* printer = new (std::nothrow) VLPrinter;
  if (!printer) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  delete itsPrinter;
  itsPrinter = printer;
  itsPrinter->IPrinter(this, nullptr);
}

void VLDocument::AboutToPrint(long* firstPage, long* lastPage) {
  VLAbstractDocument::AboutToPrint(firstPage, lastPage);
  gPrintingView = 1;
}

void VLDocument::DonePrinting() {
  if (PortPrError() == iPrAbort) {
    UInt32 ignored = 0;
    PortDelay(kAbortPause, &ignored);
  }
  VLAbstractDocument::DonePrinting();
  gPrintingView = 0;
}
