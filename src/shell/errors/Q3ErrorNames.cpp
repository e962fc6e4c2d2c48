#include "DETException.h"

#include <utility>

#include "Q3Types.h"

namespace {

struct Q3ErrorNameRow {
  long scratch;
  std::int32_t code;
  const char* name;
};

// The 3D library's error names, sorted by code the first time a name is asked for; the row
// without a name ends the table.
Q3ErrorNameRow gQ3ErrorNames[] = {
    {0, kQ3ErrorNone, "kQ3ErrorNone"},
    {0, kQ3ErrorInternalError, "kQ3ErrorInternalError"},
    {0, kQ3ErrorNoRecovery, "kQ3ErrorNoRecovery"},
    {0, kQ3ErrorLastFatalError, "kQ3ErrorLastFatalError"},
    {0, kQ3ErrorNotInitialized, "kQ3ErrorNotInitialized"},
    {0, kQ3ErrorAlreadyInitialized, "kQ3ErrorAlreadyInitialized"},
    {0, kQ3ErrorUnimplemented, "kQ3ErrorUnimplemented"},
    {0, kQ3ErrorRegistrationFailed, "kQ3ErrorRegistrationFailed"},
    {0, kQ3ErrorUnixError, "kQ3ErrorUnixError"},
    {0, kQ3ErrorMemoryLeak, "kQ3ErrorMemoryLeak"},
    {0, kQ3ErrorOutOfMemory, "kQ3ErrorOutOfMemory"},
    {0, kQ3ErrorNULLParameter, "kQ3ErrorNULLParameter"},
    {0, kQ3ErrorParameterOutOfRange, "kQ3ErrorParameterOutOfRange"},
    {0, kQ3ErrorInvalidParameter, "kQ3ErrorInvalidParameter"},
    {0, kQ3ErrorInvalidData, "kQ3ErrorInvalidData"},
    {0, kQ3ErrorVector3DZeroLength, "kQ3ErrorVector3DZeroLength"},
    {0, kQ3ErrorInvalidObject, "kQ3ErrorInvalidObject"},
    {0, kQ3ErrorInvalidObjectClass, "kQ3ErrorInvalidObjectClass"},
    {0, kQ3ErrorInvalidObjectType, "kQ3ErrorInvalidObjectType"},
    {0, kQ3ErrorInvalidObjectName, "kQ3ErrorInvalidObjectName"},
    {0, kQ3ErrorObjectClassInUse, "kQ3ErrorObjectClassInUse"},
    {0, kQ3ErrorMetaHandlerRequired, "kQ3ErrorMetaHandlerRequired"},
    {0, kQ3ErrorNoSubClassType, "kQ3ErrorNoSubClassType"},
    {0, kQ3ErrorUnknownElementType, "kQ3ErrorUnknownElementType"},
    {0, kQ3ErrorNotSupported, "kQ3ErrorNotSupported"},
    {0, kQ3ErrorDegenerateGeometry, "kQ3ErrorDegenerateGeometry"},
    {0, kQ3ErrorGeometryInsufficientNumberOfPoints, "kQ3ErrorGeometryInsufficientNumberOfPoints"},
    {0, kQ3ErrorNoStorageSetForFile, "kQ3ErrorNoStorageSetForFile"},
    {0, kQ3ErrorEndOfFile, "kQ3ErrorEndOfFile"},
    {0, kQ3ErrorFileCancelled, "kQ3ErrorFileCancelled"},
    {0, kQ3ErrorInvalidMetafile, "kQ3ErrorInvalidMetafile"},
    {0, kQ3ErrorInvalidMetafilePrimitive, "kQ3ErrorInvalidMetafilePrimitive"},
    {0, kQ3ErrorInvalidMetafileLabel, "kQ3ErrorInvalidMetafileLabel"},
    {0, kQ3ErrorInvalidMetafileObject, "kQ3ErrorInvalidMetafileObject"},
    {0, kQ3ErrorInvalidMetafileSubObject, "kQ3ErrorInvalidMetafileSubObject"},
    {0, kQ3ErrorInvalidSubObjectForObject, "kQ3ErrorInvalidSubObjectForObject"},
    {0, kQ3ErrorUnresolvableReference, "kQ3ErrorUnresolvableReference"},
    {0, kQ3ErrorUnknownObject, "kQ3ErrorUnknownObject"},
    {0, kQ3ErrorStorageInUse, "kQ3ErrorStorageInUse"},
    {0, kQ3ErrorStorageAlreadyOpen, "kQ3ErrorStorageAlreadyOpen"},
    {0, kQ3ErrorStorageNotOpen, "kQ3ErrorStorageNotOpen"},
    {0, kQ3ErrorFileAlreadyOpen, "kQ3ErrorFileAlreadyOpen"},
    {0, kQ3ErrorFileNotOpen, "kQ3ErrorFileNotOpen"},
    {0, kQ3ErrorFileIsOpen, "kQ3ErrorFileIsOpen"},
    {0, kQ3ErrorBeginWriteAlreadyCalled, "kQ3ErrorBeginWriteAlreadyCalled"},
    {0, kQ3ErrorBeginWriteNotCalled, "kQ3ErrorBeginWriteNotCalled"},
    {0, kQ3ErrorReadStateInactive, "kQ3ErrorReadStateInactive"},
    {0, kQ3ErrorWriteStateInactive, "kQ3ErrorWriteStateInactive"},
    {0, kQ3ErrorFileModeRestriction, "kQ3ErrorFileModeRestriction"},
    {0, kQ3ErrorInvalidHexString, "kQ3ErrorInvalidHexString"},
    {0, kQ3ErrorWroteMoreThanSize, "kQ3ErrorWroteMoreThanSize"},
    {0, kQ3ErrorWroteLessThanSize, "kQ3ErrorWroteLessThanSize"},
    {0, kQ3ErrorReadLessThanSize, "kQ3ErrorReadLessThanSize"},
    {0, kQ3ErrorReadMoreThanSize, "kQ3ErrorReadMoreThanSize"},
    {0, kQ3ErrorNoBeginGroup, "kQ3ErrorNoBeginGroup"},
    {0, kQ3ErrorSizeMismatch, "kQ3ErrorSizeMismatch"},
    {0, kQ3ErrorStringExceedsMaximumLength, "kQ3ErrorStringExceedsMaximumLength"},
    {0, kQ3ErrorValueExceedsMaximumSize, "kQ3ErrorValueExceedsMaximumSize"},
    {0, kQ3ErrorNonUniqueLabel, "kQ3ErrorNonUniqueLabel"},
    {0, kQ3ErrorEndOfContainer, "kQ3ErrorEndOfContainer"},
    {0, kQ3ErrorUnmatchedEndGroup, "kQ3ErrorUnmatchedEndGroup"},
    {0, kQ3ErrorNestingTooDeep, "kQ3ErrorNestingTooDeep"},
    {0, kQ3ErrorViewNotStarted, "kQ3ErrorViewNotStarted"},
    {0, kQ3ErrorViewIsStarted, "kQ3ErrorViewIsStarted"},
    {0, kQ3ErrorNonInvertibleMatrix, "kQ3ErrorNonInvertibleMatrix"},
    {0, kQ3ErrorInvalidPositionForGroup, "kQ3ErrorInvalidPositionForGroup"},
    {0, kQ3ErrorInvalidObjectForGroup, "kQ3ErrorInvalidObjectForGroup"},
    {0, kQ3ErrorInvalidObjectForPosition, "kQ3ErrorInvalidObjectForPosition"},
    {0, kQ3ErrorScaleOfZero, "kQ3ErrorScaleOfZero"},
    {0, kQ3ErrorOutOfRange, "kQ3ErrorOutOfRange"},
    {0, kQ3ErrorInvalidMeshPart, "kQ3ErrorInvalidMeshPart"},
    {0, 0, nullptr},
};

bool gSorted = false;

void SortOnce() {
  if (gSorted) return;
  const int n = int(sizeof gQ3ErrorNames / sizeof gQ3ErrorNames[0]) - 1;
  bool exchanged = true;
  for (int pass = 0; exchanged && pass < n; ++pass) {
    exchanged = false;
    for (int i = 0; i + 1 < n - pass; ++i) {
      if (gQ3ErrorNames[i].code > gQ3ErrorNames[i + 1].code) {
        std::swap(gQ3ErrorNames[i], gQ3ErrorNames[i + 1]);
        exchanged = true;
      }
    }
  }
  gSorted = true;
}

}  // namespace

const char* GetQ3ErrorName(std::int32_t q3Error) {
  SortOnce();
  int lo = 0, hi = int(sizeof gQ3ErrorNames / sizeof gQ3ErrorNames[0]) - 2;
  while (lo <= hi) {
    int mid = lo + (hi - lo) / 2;
    if (gQ3ErrorNames[mid].code == q3Error) return gQ3ErrorNames[mid].name;
    if (gQ3ErrorNames[mid].code < q3Error)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  return nullptr;
}
