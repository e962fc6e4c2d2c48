// The failure the point-loop edits throw: an error code of the program's table (-9994, not
// enough memory; -9992, an internal programming error) and the platform error behind it.
#pragma once

#include <new>

#include "MacTypes.h"

class PointLoopError : public std::bad_alloc {
 public:
  PointLoopError(SInt32 code, OSErr error) : code_(code), error_(error) {}
  SInt32 code() const { return code_; }
  OSErr error() const { return error_; }
  const char* what() const noexcept override;

 private:
  SInt32 code_;
  OSErr error_;
};

constexpr SInt32 kPointLoopNotEnoughMemory = -9994;
constexpr SInt32 kPointLoopBadCount = -9992;
