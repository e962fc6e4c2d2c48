#include "BoundedTextBuffer.h"

BoundedTextBuffer::BoundedTextBuffer(char* buffer, std::size_t size) : fFits(buffer != nullptr && size > 0) {
  if (fFits) setp(buffer, buffer + (size - 1));
}

BoundedTextBuffer::int_type BoundedTextBuffer::overflow(int_type c) {
  if (!traits_type::eq_int_type(c, traits_type::eof())) fFits = false;
  return traits_type::eof();
}

bool BoundedTextBuffer::Finish() {
  if (!fFits) return false;
  *pptr() = '\0';
  return true;
}
