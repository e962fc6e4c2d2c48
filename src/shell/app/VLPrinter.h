// The native document's printer: the class library's printer, set up at the driver's finest
// resolution.
#pragma once

#include "CPrinter.h"

class VLPrinter : public CPrinter {
 public:
  VLPrinter() = default;
  ~VLPrinter() override = default;

  // Without a record one of the driver's defaults is made (kDEErrorNotEnoughMemory when it
  // cannot be); the class library's set-up; the record validated and set to the driver's
  // resolution with the largest horizontal value (the first of equal ones; without a list, the
  // largest of its ranges). False when the driver reported an error.
  Boolean IPrinter(CDocument* document, THPrint record) override;
};
