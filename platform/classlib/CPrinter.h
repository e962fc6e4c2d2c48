// A document's printer: the print record, page set-up and the print loop. The loop runs the
// print dialog, then asks the document for its pages (AboutToPrint), has it draw each one into
// the job's page (PrintPageOfDoc, every view preparing the page's port meanwhile) and ends with
// DonePrinting, whatever happened. A job that fails raises the print layer's error; a job the
// user cancelled or stopped does not.
#pragma once

#include "Printing.h"

class CDocument;

class CPrinter {
 public:
  CPrinter() = default;
  // Frees the print record.
  virtual ~CPrinter();
  CPrinter(const CPrinter&) = delete;
  CPrinter& operator=(const CPrinter&) = delete;

  // Takes the document and the print record (null: a record of the driver's defaults is made;
  // memFullErr is raised when it cannot be). True.
  virtual Boolean IPrinter(CDocument* document, THPrint record);

  // The page set-up dialog; true when the user confirmed it.
  virtual Boolean DoPageSetup();
  // The print dialog and, unless cancelled, the job.
  virtual void DoPrint();

  THPrint GetPrintRecord() const { return printRecord; }
  CDocument* GetDocument() const { return itsDocument; }

 protected:
  CDocument* itsDocument = nullptr;
  THPrint printRecord = nullptr;
};
