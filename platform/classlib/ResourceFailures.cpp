#include "ResourceFailures.h"

#include "CException.h"
#include "Resources.h"

void FailResError() { FailOSErr(PortResError()); }

void FailNILRes(const void* resource) {
  if (resource) return;
  OSErr error = PortResError();
  Failure(error != noErr ? error : OSErr(resNotFound), 0);
}
