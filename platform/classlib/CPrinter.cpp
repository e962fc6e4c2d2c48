#include "CPrinter.h"

#include "CDocument.h"
#include "CException.h"
#include "CView.h"
#include "Memory.h"

namespace {

// Ends the job and tells the document, also when a page's drawing raises.
class JobEnd {
 public:
  JobEnd(CDocument* document, GrafPtr port) : document_(document), port_(port) {}
  ~JobEnd() {
    CView::printingPort = nullptr;
    if (port_) PortPrCloseDoc(port_);
    document_->DonePrinting();
    PortPrClose();
  }
  JobEnd(const JobEnd&) = delete;
  JobEnd& operator=(const JobEnd&) = delete;

 private:
  CDocument* document_;
  GrafPtr port_;
};

}  // namespace

CPrinter::~CPrinter() {
  if (printRecord) PortFreeHandle(reinterpret_cast<Handle>(printRecord));
}

Boolean CPrinter::IPrinter(CDocument* document, THPrint record) {
  itsDocument = document;
  if (!record) {
    Handle block = PortAllocHandle(kPrintRecordSize);
    if (!block) Failure(memFullErr, 0);
    record = reinterpret_cast<THPrint>(block);
    PortPrintDefault(record);
  }
  if (printRecord && printRecord != record) PortFreeHandle(reinterpret_cast<Handle>(printRecord));
  printRecord = record;
  return true;
}

Boolean CPrinter::DoPageSetup() {
  if (!printRecord) return false;
  PortPrOpen();
  const Boolean confirmed = PortPrStlDialog(printRecord);
  PortPrClose();
  return confirmed;
}

void CPrinter::DoPrint() {
  if (!printRecord || !itsDocument) return;
  PortPrOpen();
  if (!PortPrJobDialog(printRecord)) {
    PortPrClose();
    return;
  }
  long first = 1, last = 1;
  itsDocument->AboutToPrint(&first, &last);
  OSErr error = noErr;
  {
    GrafPtr port = PortPrOpenDoc(printRecord);
    JobEnd end(itsDocument, port);
    const SInt16 copies = (*printRecord)->copies;
    for (SInt16 copy = 0; port && copy < copies && PortPrError() == noErr; ++copy)
      for (long page = first; page <= last && PortPrError() == noErr; ++page) {
        PortPrOpenPage(port);
        CView::printingPort = port;
        itsDocument->PrintPageOfDoc(SInt16(page));
        CView::printingPort = nullptr;
        PortPrClosePage(port);
      }
    // The file is complete only once the job has ended.
    if (port) PortPrCloseDoc(port);
    error = PortPrError();
  }
  if (error != noErr && error != iPrAbort) Failure(error, 0);
}
