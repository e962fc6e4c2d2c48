// Storage objects and the file and view classes. Private to the library.
#pragma once

#include "internal/Core.h"

namespace q3d {

struct StorageObject : OpaqueTQ3Object {
  using OpaqueTQ3Object::OpaqueTQ3Object;
  virtual bool ReadAll(std::vector<TQ3Uns8>& out) = 0;
  virtual bool WriteAll(const std::vector<TQ3Uns8>& data) = 0;
  virtual bool Size(size_t& size) = 0;
  virtual bool Get(size_t offset, size_t size, TQ3Uns8* dst, size_t& got) = 0;
  virtual bool Set(size_t offset, size_t size, const TQ3Uns8* src) = 0;
  bool inUse = false;  // a file has it open
};

void RegisterFileClasses();

}  // namespace q3d
