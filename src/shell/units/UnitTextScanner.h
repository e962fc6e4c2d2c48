// Reads the characters, numbers and unit words of format descriptions and measurement texts from
// a text held elsewhere (no copy, no allocation), the way a text input stream would.
#pragma once

#include <string_view>

#include "UnitBase.h"

class UnitTextScanner {
 public:
  explicit UnitTextScanner(std::string_view text) : fText(text) {}

  // Skips blanks and takes the next character. When only blanks are left the scanner fails,
  // as a stream does at its end, and stays failed.
  bool Get(char& c);
  // Puts back the character Get took.
  void PutBack() { --fPos; }
  bool Failed() const { return fFailed; }

  // Reads the characters a stream's extraction of a double would take from here (digits, one
  // point, an exponent with its sign) and converts them. False when they make no number or one
  // beyond the range of a double; the characters are consumed either way.
  bool ReadNumber(double& value);

  // Reads the rest of a word that began with `first`: for a letter the following letters (15
  // kept, more are read and dropped), otherwise `first` alone. Returns the unit the word names
  // in gCurrentNameToUnitTable, or the invalid unit.
  UnitBase ReadWord(char first);

  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

 private:
  std::string_view fText;
  std::size_t fPos = 0;
  bool fFailed = false;
};

// Reads one token into a FormatToken or MeasurementToken: a character of `marks` is a token of
// its own, a digit (or a point, when `pointStartsNumber`) starts a number, anything else a
// word. An unknown word, or characters that make no number, give kNone and leave the scanner
// after them; nothing but blanks left gives kNone and fails the scanner.
template <class Token>
UnitTextScanner& ReadUnitTextToken(UnitTextScanner& scanner, Token& token, std::string_view marks,
                                   bool pointStartsNumber) {
  token = Token();
  char c;
  if (!scanner.Get(c)) return scanner;
  if (marks.find(c) != std::string_view::npos) {
    token.kind = c;
  } else if (UnitTextScanner::IsDigit(c) || (pointStartsNumber && c == '.')) {
    scanner.PutBack();
    if (scanner.ReadNumber(token.number)) token.kind = Token::kNumber;
  } else {
    token.unit = scanner.ReadWord(c);
    if (token.unit != gInvalidUnit) token.kind = Token::kUnit;
  }
  return scanner;
}
