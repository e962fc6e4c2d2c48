// The throw helper that reads the resource layer's error; apart from the others (DETException.h)
// because the error types link no resources.
#pragma once

#include <cstdint>

// Throws DETException(context, the error) when the resource layer's last error is not noErr.
void ThrowIfResError(std::int32_t context);
