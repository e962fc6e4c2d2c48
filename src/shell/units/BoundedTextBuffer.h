// A stream buffer over a caller's fixed byte buffer, for the ToString operations: it never
// allocates, never writes past the buffer, and keeps one byte for the closing zero.
#pragma once

#include <cstddef>
#include <streambuf>

class BoundedTextBuffer : public std::streambuf {
 public:
  BoundedTextBuffer(char* buffer, std::size_t size);
  // Writes the closing zero after the text; false when the text and its zero did not fit.
  bool Finish();

 protected:
  int_type overflow(int_type c) override;

 private:
  bool fFits;
};
