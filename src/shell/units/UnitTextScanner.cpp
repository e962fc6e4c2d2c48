#include "UnitTextScanner.h"

#include <charconv>

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

bool UnitTextScanner::Get(char& c) {
  while (fPos < fText.size() && IsBlank(fText[fPos])) ++fPos;
  if (fFailed || fPos >= fText.size()) {
    fFailed = true;
    return false;
  }
  c = fText[fPos++];
  return true;
}

bool UnitTextScanner::ReadNumber(double& value) {
  const std::size_t start = fPos;
  bool digits = false, point = false, exponent = false;
  while (fPos < fText.size()) {
    char c = fText[fPos];
    if (IsDigit(c)) {
      digits = true;
    } else if (c == '.' && !point && !exponent) {
      point = true;
    } else if ((c == 'e' || c == 'E') && digits && !exponent) {
      exponent = true;
      if (fPos + 1 < fText.size() && (fText[fPos + 1] == '+' || fText[fPos + 1] == '-')) ++fPos;
    } else {
      break;
    }
    ++fPos;
  }
  const char* first = fText.data() + start;
  const char* last = fText.data() + fPos;
  auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last;
}

UnitBase UnitTextScanner::ReadWord(char first) {
  constexpr std::size_t kKept = 15;
  char word[kKept];
  std::size_t length = 0;
  word[length++] = first;
  if (IsLetter(first)) {
    while (fPos < fText.size() && IsLetter(fText[fPos])) {
      if (length < kKept) word[length++] = fText[fPos];
      ++fPos;
    }
  }
  return UnitBase(std::string_view(word, length));
}
