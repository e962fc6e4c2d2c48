#include "Format.h"

#include <charconv>
#include <cmath>
#include <new>
#include <ostream>

#include "BoundedTextBuffer.h"
#include "FormatToken.h"
#include "NameToUnitTableScope.h"
#include "Refusal.h"
#include "TokenStream.h"

namespace {

// Notes why the text is refused and throws the error.
[[noreturn]] void Refuse(Format::Error error, const char* reason) {
  vlcore::NoteRefusal(reason);
  throw error;
}

}  // namespace

constinit Format gLengthFormat;
constinit Format gAngleFormat;

Format::Format(std::initializer_list<UnitBase> list, SInt32 style, SInt32 precision)
    : style(style), precision(precision) {
  if (list.size() > std::size_t(kMaxUnits)) throw Error::kTooManyUnits;
  for (const UnitBase& unit : list) units[unitCount++] = unit;
}

Format::Format(const char* text, const NameToUnitTable& names)
    : Format(text ? std::string_view(text) : std::string_view(), names) {}

Format::Format(std::string_view text, const NameToUnitTable& names) {
  NameToUnitTableScope scope(names);
  TokenStream<FormatToken> tokens(text);

  while (tokens.Current().kind == FormatToken::kUnit) {
    if (unitCount == kMaxUnits) Refuse(Error::kTooManyUnits, "a format names more than three units");
    units[unitCount++] = tokens.Current().unit;
    tokens.Next();
  }
  if (unitCount == 0) Refuse(Error::kNoUnit, "a format names no unit");

  if (tokens.Current().kind == FormatToken::kPoint)
    style = kDecimals;
  else if (tokens.Current().kind == FormatToken::kSlash)
    style = kFractions;
  else
    Refuse(Error::kNoStyleMark, "a format has neither a point nor a slash");
  tokens.Next();

  if (tokens.Current().kind != FormatToken::kNumber) Refuse(Error::kNoPrecision, "a format has no precision");
  // Truncated toward zero; a precision beyond a 32-bit count is no usable precision.
  double p = std::trunc(tokens.Current().number);
  if (!(p <= 2147483647.0)) Refuse(Error::kNoPrecision, "a format's precision is out of range");
  precision = SInt32(p);
  tokens.Next();

  if (!tokens.AtEnd()) Refuse(Error::kTextLeft, "text is left after the format");
}

Format::Format(const Format& other)
    : unitCount(other.unitCount),
      style(other.style),
      precision(other.precision),
      reductionDivisor(other.reductionDivisor) {
  for (int i = 0; i < other.UsedUnits(); ++i) units[i] = other.units[i];
}

Format& Format::operator=(const Format& other) {
  if (this != &other) CopyConstruct(this, other);
  return *this;
}

void Format::CopyConstruct(Format* storage, const Format& source) {
  if (storage) ::new (static_cast<void*>(storage)) Format(source);
}

bool Format::operator==(const Format& other) const {
  if (unitCount != other.unitCount || style != other.style) return false;
  for (int i = 0; i < UsedUnits(); ++i)
    if (units[i] != other.units[i]) return false;
  return true;
}

void Format::ReduceToLastUnit(int n) {
  if (unitCount < 1) return;
  UnitBase last = units[UsedUnits() - 1];
  last.Power(n);
  units[0] = last;
  for (int i = 1; i < kMaxUnits; ++i) units[i] = gInvalidUnit;
  unitCount = 1;
}

std::ostream& operator<<(std::ostream& stream, const Format& format) {
  for (int i = 0; i < format.UsedUnits(); ++i) {
    if (i > 0) stream << ' ';
    stream << format.units[i];
  }
  if (format.style == Format::kDecimals)
    stream << '.';
  else if (format.style == Format::kFractions)
    stream << '/';
  char digits[16];
  auto end = std::to_chars(digits, digits + sizeof digits, format.precision).ptr;
  stream.write(digits, end - digits);
  return stream;
}

void Format::ToString(char* buffer, std::size_t size) const {
  BoundedTextBuffer text(buffer, size);
  std::ostream stream(&text);
  stream << *this;
  if (!text.Finish()) throw Error::kBufferTooSmall;
}
