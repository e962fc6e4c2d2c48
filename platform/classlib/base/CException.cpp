#include "CException.h"

#include "Memory.h"

OSErr gLastError = noErr;

void Failure(OSErr error, long message) {
  gLastError = error;
  throw CException(error, message);
}

void FailNIL(const void* pointer) {
  if (!pointer) Failure(memFullErr, 0);
}

void FailOSErr(OSErr error) {
  if (error != noErr) Failure(error, 0);
}

void FailIfError16(SInt16 error) { FailOSErr(OSErr(error)); }

void FailMemError() { FailOSErr(PortMemError()); }

