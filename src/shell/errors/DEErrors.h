// The program's own error codes, with the names and the user messages that complete alert 4003.
#pragma once

#include <cstdint>

#include "PString.h"

enum : std::int32_t {
  kDEErrorNone = 0,
  kDEErrorUnspecified = -10000,
  kDEErrorSilent = -9999,
  kDEErrorQD3DInternal = -9998,
  kDEErrorInitializationFailed = -9997,
  kDEErrorQD3DInitializationFailed = -9996,
  kDEErrorReadingApplicationResource = -9995,
  kDEErrorNotEnoughMemory = -9994,
  kDEErrorNilPointer = -9993,
  kDEErrorAssertionViolated = -9992,
  kDEErrorFileSystemError = -9991,
  kDEErrorErrorReadingFile = -9990,
  kDEErrorErrorWritingFile = -9989,
  kDEErrorErrorReadingModelFile = -9988,
  kDEErrorErrorWritingModelFile = -9987,
  kDEErrorErrorReadingClarisFile = -9986,
  kDEErrorErrorWritingClarisFile = -9985,
  kDEErrorErrorReadingSectionFile = -9984,
  kDEErrorErrorWritingSectionFile = -9983,
  kDEErrorErrorWritingQTMovie = -9982,
  kDEErrorTextureFolderNotFound = -9981,
  kDEErrorErrorReadingTextureFile = -9979,
  kDEErrorErrorWritingTextureFile = -9978,
  kDEErrorErrorReadingMaterialPrefFile = -9977,
  kDEErrorErrorWritingMaterialPrefFile = -9976,
  kDEErrorErrorReadingMaterialResource = -9975,
  kDEErrorErrorWritingMaterialResource = -9974,
  kDEErrorNotAValidVelmoraFile = -9973,
  kDEErrorLastError = -9970,
};

struct DEErrorTableEntry {
  std::int32_t code;
  Str255 name;
  Str255 message;
};

constexpr int kDEErrorTableRows = 29;
extern const DEErrorTableEntry gDEErrorTable[kDEErrorTableRows];

// The row with this code, or null.
const DEErrorTableEntry* FindDEError(std::int32_t code);
// The message for alert 4003: the row's, or the unspecified one for a code without a row.
ConstStringPtr DEErrorMessage(std::int32_t code);
