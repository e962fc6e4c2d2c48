#include "DecimalText.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// Beyond these the value is an infinity or zero whatever the digits.
constexpr long kHugeExponent = 400;
constexpr long kExponentCap = 100000;  // stops the exponent's digits from overflowing

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

void SetMarker(Decimal* result, char which) {
  result->exponent = 0;
  result->digits.length = 1;
  result->digits.text[0] = which;
}

// The significant digits of a number as they are read, without leading or trailing zeros.
class DigitCollector {
 public:
  void Add(unsigned char c, bool afterPoint) {
    if (c == '0' && length_ == 0) {
      if (afterPoint) --exponent_;  // leading zeros of a fraction only shift the point
      return;
    }
    if (length_ < Decimal::kMaxDigits) {
      text_[length_++] = char(c);
      if (afterPoint) --exponent_;
    } else if (!afterPoint) {
      ++exponent_;  // digits past the kept ones still count for the size of the number
    }
  }

  void Store(Decimal* result, long powerOfTen) const {
    int length = length_;
    long exponent = exponent_ + powerOfTen;
    while (length > 0 && text_[length - 1] == '0') {
      --length;
      ++exponent;
    }
    if (length == 0 || exponent + length < -kHugeExponent) return SetMarker(result, '0');
    if (exponent + length > kHugeExponent) return SetMarker(result, 'I');
    result->exponent = SInt16(exponent);
    result->digits.length = UInt8(length);
    for (int i = 0; i < length; ++i) result->digits.text[i] = text_[i];
  }

 private:
  char text_[Decimal::kMaxDigits] = {};
  int length_ = 0;
  long exponent_ = 0;
};

}  // namespace

void PortStringToDecimal(ConstStringPtr text, SInt16* index, Decimal* result, Boolean* validPrefix) {
  *result = Decimal{};
  const int end = text ? text[0] + 1 : 1;  // one past the last character
  int i = *index < 1 ? 1 : *index;
  auto at = [&](int k) -> unsigned char { return k < end ? text[k] : 0; };

  while (at(i) == ' ' || at(i) == '\t') ++i;
  const int afterBlanks = i;
  if (at(i) == '+' || at(i) == '-') result->sign = at(i++) == '-' ? 1 : 0;
  DigitCollector digits;
  bool anyDigit = false, point = false;
  for (; i < end; ++i) {
    unsigned char c = at(i);
    if (IsDigit(c)) {
      digits.Add(c, point);
      anyDigit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  int scanned = i;  // how far the text still looked like a number
  if (!anyDigit) {
    SetMarker(result, 'N');
    result->sign = 0;
    *index = SInt16(afterBlanks);
    *validPrefix = scanned >= end;
    return;
  }
  int numberEnd = i;
  long powerOfTen = 0;
  if (at(i) == 'e' || at(i) == 'E') {
    int k = i + 1;
    bool negative = false;
    if (at(k) == '+' || at(k) == '-') negative = at(k++) == '-';
    bool expDigits = false;
    long value = 0;
    for (; IsDigit(at(k)); ++k) {
      expDigits = true;
      if (value < kExponentCap) value = value * 10 + (at(k) - '0');
    }
    scanned = k;
    if (expDigits) {
      numberEnd = k;
      powerOfTen = negative ? -value : value;
    }
  }
  digits.Store(result, powerOfTen);
  *index = SInt16(numberEnd);
  *validPrefix = scanned >= end;
}

double PortDecimalToNumber(const Decimal* decimal) {
  const double sign = decimal->sign ? -1.0 : 1.0;
  if (decimal->digits.length == 0) return std::numeric_limits<double>::quiet_NaN();
  switch (decimal->digits.text[0]) {
    case 'N':
      return std::numeric_limits<double>::quiet_NaN();
    case 'I':
      return sign * std::numeric_limits<double>::infinity();
    case '0':
      return sign * 0.0;
    default:
      break;
  }
  // Digits and a power of ten carry no decimal point, so the locale cannot change the reading.
  char text[Decimal::kMaxDigits + 16];
  int length = decimal->digits.length > Decimal::kMaxDigits ? Decimal::kMaxDigits : decimal->digits.length;
  std::snprintf(text, sizeof text, "%.*se%d", length, decimal->digits.text, int(decimal->exponent));
  return sign * std::strtod(text, nullptr);
}
