// A scanner over a text and the token last read from it.
#pragma once

#include <string_view>

#include "UnitTextScanner.h"

// A scanner and the token last read from it; Token is FormatToken or MeasurementToken, each
// with its own reading operator.
template <class Token>
class TokenStream {
 public:
  explicit TokenStream(std::string_view text) : fScanner(text) { Next(); }
  const Token& Current() const { return fCurrent; }
  void Next() { fScanner >> fCurrent; }
  // True once reading a token found nothing but blanks.
  bool AtEnd() const { return fScanner.Failed(); }

 private:
  UnitTextScanner fScanner;
  Token fCurrent;
};
