// The program's exception: a class-library exception that also carries one of the program's
// error codes. Its message is not kept in the object but in the one global buffer gErrorMessage,
// which the alerts read.
//
// The types and the throw helpers link nothing that shows anything, so that pure libraries
// (geometry, units, the drawing-file toolkit) throw them freely. Showing an exception to the
// user (the alerts of TellUser, the message boxes of Report, the OS error texts of the
// resources) goes through the reporter the shell installs (ExceptionReporting.h).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "CException.h"
#include "DEErrors.h"
#include "PString.h"

extern Str255 gErrorMessage;

// The program's exit status after a fatal error's alert.
constexpr int kFatalErrorExitStatus = 5;

class DETException;

// What shows exceptions to the user and finds the texts that takes. Until one is installed,
// TellUser and Report show nothing and GetErrorText finds no OS error text.
class DEExceptionReporter {
 public:
  virtual ~DEExceptionReporter() = default;
  // The alert chosen by the exception's code (DETException::ShowAlert).
  virtual void ShowAlert(DETException& exception) = 0;
  // After a fatal code's alert: the application quits and the program ends (unwinding to the
  // shell with kFatalErrorExitStatus).
  virtual void EndAfterFatalError() = 0;
  // A message box over the frame window, with the information icon.
  virtual void ShowMessageBox(const std::string& text, const char* title) = 0;
  // Item index of string list listId; empty when there is none.
  virtual void GetListString(SInt16 listId, SInt16 index, StringPtr text) = 0;
};
// Installs the reporter (null: none) and answers the previous one.
DEExceptionReporter* SetExceptionReporter(DEExceptionReporter* reporter);

class DETException : public CException {
  VL_REGISTERED_CLASS(DETException, CException)

 public:
  DETException();
  DETException(std::int32_t code, ConstStringPtr message);
  DETException(std::int32_t context, OSErr osError);

  // Through the reporter: the alert of the code (a beep while the application is in the
  // background). After the fatal codes (-9997, -9995, -9976) the application quits and the
  // program ends: it unwinds to the shell (PortExitToShell) with kFatalErrorExitStatus.
  virtual void TellUser();
  // The same alert for a caller that knows the program can go on: it never ends the program.
  void ShowAlert();
  // Through the reporter: a message box with the file, the line and the code, once.
  virtual void Report(const char* sourcePath, int line);
  // True when it found a text for the OS error; the buffer holds "an unknown error occured" otherwise.
  virtual bool GetErrorText(StringPtr buffer);
  virtual void SetContext(std::int32_t context) { code = context; }

  std::int32_t GetCode() const { return code; }
  OSErr GetOSError() const { return error; }
  bool WasReported() const { return reported; }

 protected:
  // The message box of a catch site: shown once per exception object, when there is a reporter.
  void ShowReport(const char* sourcePath, int line, const char* beginning, const char* errorLine, const char* title);

  std::int32_t code = kDEErrorNone;
  bool reported = false;
};

// Thrown when the 3D library reports an error; its code is always kDEErrorQD3DInternal.
class DETQ3Exception : public DETException {
  VL_REGISTERED_CLASS(DETQ3Exception, DETException)

 public:
  DETQ3Exception(std::int32_t q3Error, ConstStringPtr message);

  void TellUser() override;
  void Report(const char* sourcePath, int line) override;
  bool GetErrorText(StringPtr buffer) override;

  std::int32_t GetQ3Error() const { return q3Error; }

 private:
  std::int32_t q3Error;
  [[maybe_unused]] std::int32_t secondError = 0;
  [[maybe_unused]] bool secondErrorSet = false;  // never set
};

// A system-level exception code carried as an exception.
class SE_Exception {
 public:
  explicit SE_Exception(std::uint32_t seCode) : seCode(seCode) {}
  void Report(const char* sourcePath, int line);
  std::uint32_t GetCode() const { return seCode; }
  bool WasReported() const { return reported; }

 private:
  std::uint32_t seCode;
  bool reported = false;
};

[[noreturn]] void ThrowError(std::int32_t code, ConstStringPtr message);
[[noreturn]] void ThrowQD3DException(std::int32_t q3Error, ConstStringPtr message);
void ThrowIfZero(long value, ConstStringPtr message);
void ThrowIfFalse(bool condition, ConstStringPtr message);
void ThrowIfNilWithMessage(const void* pointer, ConstStringPtr message);
void ThrowIfNil(const void* pointer);
void ThrowIfMemError(std::int32_t context);
void ThrowIfOSErr(OSErr error, std::int32_t context);
void ThrowIfFileError(std::FILE* stream, std::int32_t context);
// Inside a catch of a class-library exception: the context replaces the code.
[[noreturn]] void RethrowAsDETException(const CException& caught, std::int32_t context);
[[noreturn]] void TranslateStructuredException(std::uint32_t seCode, void* exceptionPointers);
// ThrowIfResError, which reads the resource layer's error, is in ResourceErrors.h; ReportException
// in ExceptionReporting.h.

// The 3D library's error callback: throws a DETQ3Exception carrying the first error.
[[noreturn]] void DEErrorHandler(std::int32_t firstError, std::int32_t lastError, long reference);

// Name of a 3D library error code, or null when the table has none.
const char* GetQ3ErrorName(std::int32_t q3Error);
