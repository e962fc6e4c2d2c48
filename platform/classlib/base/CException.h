// The class library's exception and the failure helpers that raise it.
//
// A CException carries a toolbox error code and a message word (a number naming a message, 0
// for none). Every failure helper records its error as the last error (gLastError) before it
// throws, so that catch sites can ask what the last failure was.
#pragma once

#include "ClassRegistry.h"
#include "MacTypes.h"

class CException {
  VL_REGISTERED_ROOT_CLASS(CException)

 public:
  explicit CException(OSErr error = noErr, long message = 0) : error(error), message(message) {}
  CException(const CException&) = default;
  CException& operator=(const CException&) = default;
  virtual ~CException() = default;

  OSErr GetError() const { return error; }
  long GetMessage() const { return message; }
  void SetError(OSErr newError) { error = newError; }
  void SetMessage(long newMessage) { message = newMessage; }

 protected:
  OSErr error;
  long message;
};

// The error of the last failure raised through the helpers below (noErr before any).
extern OSErr gLastError;

// Throws CException(error, message) after recording the error as gLastError.
[[noreturn]] void Failure(OSErr error, long message);
// Out of memory (memFullErr) when the pointer is null.
void FailNIL(const void* pointer);
// Fails with the error when it is not noErr.
void FailOSErr(OSErr error);
// The same for a 16-bit result of a porting-layer call.
void FailIfError16(SInt16 error);
// Fails with the last memory error (PortMemError) when there is one.
void FailMemError();
// FailResError and FailNILRes, which read the resource layer's error, are in ResourceFailures.h.
