#include "PointLoopError.h"

const char* PointLoopError::what() const noexcept {
  return code_ == kPointLoopNotEnoughMemory ? "there is not enough memory for the point loop"
                                            : "a point loop's count does not match its block";
}
