#include "DETException.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "Memory.h"

Str255 gErrorMessage;

namespace {

DEExceptionReporter* gReporter = nullptr;

constexpr SInt16 kOSErrorTextList = 135;
constexpr OSErr kOSErrorWordMade = 17;  // error and word of an exception made from a code and a message

const Str255 kUnknownErrorText("an unknown error occured");

void SetGlobalMessage(ConstStringPtr message) {
  if (message)
    PStrCopy(gErrorMessage, message);
  else
    gErrorMessage.s[0] = 0;
}

std::string FileNameOf(const char* path) {
  std::string p = path ? path : "";
  auto slash = p.find_last_of("/\\");
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace

DETException::DETException() : CException(noErr, 0) { SetGlobalMessage(nullptr); }

DETException::DETException(std::int32_t code, ConstStringPtr message)
    : CException(kOSErrorWordMade, kOSErrorWordMade), code(code) {
  SetGlobalMessage(message);
}

DETException::DETException(std::int32_t context, OSErr osError) : CException(osError, 0), code(context) {
  SetGlobalMessage(nullptr);
}

DEExceptionReporter* SetExceptionReporter(DEExceptionReporter* reporter) {
  DEExceptionReporter* previous = gReporter;
  gReporter = reporter;
  return previous;
}

bool DETException::GetErrorText(StringPtr buffer) {
  PStrCopy(buffer, kUnknownErrorText);
  OSErr err = error == -5000 ? OSErr(-45) : error;
  if (err < -49 || err > -33) return false;
  Str255 text;
  if (gReporter) gReporter->GetListString(kOSErrorTextList, SInt16(-32 - err), text);
  if (text.Length() > 0) PStrCopy(buffer, text);
  return true;
}

namespace {

bool IsFatalCode(std::int32_t code) {
  return code == kDEErrorInitializationFailed || code == kDEErrorReadingApplicationResource ||
         code == kDEErrorErrorWritingMaterialPrefFile;
}

}  // namespace

void DETException::TellUser() {
  ShowAlert();
  // The program cannot go on after these codes: it ends here, unwinding to the shell.
  if (IsFatalCode(code) && gReporter) gReporter->EndAfterFatalError();
}

void DETException::ShowAlert() {
  if (gReporter) gReporter->ShowAlert(*this);
}

void DETException::ShowReport(const char* sourcePath, int line, const char* beginning, const char* errorLine,
                              const char* title) {
  if (reported || !gReporter) return;
  std::string text = std::string(beginning) + FileNameOf(sourcePath) + " Line: " + std::to_string(line) + "\n" +
                     errorLine + "\nPossible low resource problem, save work and exit";
  gReporter->ShowMessageBox(text, title);
  reported = true;
}

void DETException::Report(const char* sourcePath, int line) {
  char errorLine[64];
  std::snprintf(errorLine, sizeof errorLine, "Error = 0x%X", unsigned(code));
  ShowReport(sourcePath, line, "VL Exception in File: ", errorLine, "Velmora Error");
}

DETQ3Exception::DETQ3Exception(std::int32_t q3Error, ConstStringPtr message)
    : DETException(kDEErrorQD3DInternal, message), q3Error(q3Error) {
  error = noErr;
  this->message = 0;
}

void DETQ3Exception::TellUser() { DETException::TellUser(); }

void DETQ3Exception::Report(const char* sourcePath, int line) {
  const char* name = GetQ3ErrorName(q3Error);
  std::string errorLine = "Error = " + std::to_string(q3Error) + " - " + (name ? name : "Unknown error");
  ShowReport(sourcePath, line, "QD3D Exception in File: ", errorLine.c_str(), "QD3D Error");
}

bool DETQ3Exception::GetErrorText(StringPtr buffer) {
  const char* name = GetQ3ErrorName(q3Error);
  if (!name) return false;
  PStrFromStd(name, buffer);
  return true;
}

void SE_Exception::Report(const char* sourcePath, int line) {
  if (reported || !gReporter) return;
  char errorLine[64];
  std::snprintf(errorLine, sizeof errorLine, "SE error = 0x%X", unsigned(seCode));
  std::string text = std::string("Systems Exception File: ") + FileNameOf(sourcePath) +
                     " Line: " + std::to_string(line) + "\n" + errorLine +
                     "\nPossible low resource problem, save work and exit";
  gReporter->ShowMessageBox(text, "System Error");
  reported = true;
}

void ThrowError(std::int32_t code, ConstStringPtr message) { throw DETException(code, message); }

void ThrowQD3DException(std::int32_t q3Error, ConstStringPtr message) { throw DETQ3Exception(q3Error, message); }

void ThrowIfZero(long value, ConstStringPtr message) {
  if (value == 0) ThrowError(kDEErrorAssertionViolated, message);
}

void ThrowIfFalse(bool condition, ConstStringPtr message) {
  if (!condition) ThrowError(kDEErrorAssertionViolated, message);
}

void ThrowIfNilWithMessage(const void* pointer, ConstStringPtr message) {
  if (!pointer) ThrowError(kDEErrorNilPointer, message);
}

void ThrowIfNil(const void* pointer) {
  if (!pointer) ThrowError(kDEErrorNilPointer, Str255(""));
}

void ThrowIfMemError(std::int32_t context) {
  OSErr err = PortMemError();
  if (err != noErr) throw DETException(context, err);
}

void ThrowIfOSErr(OSErr error, std::int32_t context) {
  if (error != noErr) throw DETException(context, error);
}

void ThrowIfFileError(std::FILE* stream, std::int32_t context) {
  if (!stream || std::ferror(stream) || std::feof(stream)) throw DETException(context, OSErr(ioErr));
}

void RethrowAsDETException(const CException& caught, std::int32_t context) {
  const CClassInfo* info = caught.BedVirtualGetClassInfo();
  if (info == DETException::ClassInfo()) {
    DETException copy = static_cast<const DETException&>(caught);
    copy.SetContext(context);
    throw copy;
  }
  if (info == DETQ3Exception::ClassInfo()) {
    DETQ3Exception copy = static_cast<const DETQ3Exception&>(caught);
    copy.SetContext(context);
    throw copy;
  }
  throw DETException(context, caught.GetError());
}

void TranslateStructuredException(std::uint32_t seCode, void*) { throw SE_Exception(seCode); }

void DEErrorHandler(std::int32_t firstError, std::int32_t, long) {
  ThrowQD3DException(firstError, Str255("DEErrorHandler"));
}
