#include "ResourceErrors.h"

#include "DETException.h"
#include "Resources.h"

void ThrowIfResError(std::int32_t context) {
  OSErr err = PortResError();
  if (err != noErr) throw DETException(context, err);
}
