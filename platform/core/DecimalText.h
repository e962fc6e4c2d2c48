// Decimal text conversion: a number read from text into a decimal record (sign, significant
// digits, power of ten), and the record converted to a double. Reading never fails: it takes the
// longest prefix that is a number and says whether the text stopped being one before its end.
#pragma once

#include "MacTypes.h"

// A decimal number: (-1)^sign * digits * 10^exponent. The digits are "0" for zero, "N" when no
// number was read (it converts to a NaN) and "I" for a value too large to hold (an infinity).
struct Decimal {
  static constexpr int kMaxDigits = 20;  // further significant digits only raise the exponent
  SInt8 sign = 0;                        // 0 positive, 1 negative
  SInt16 exponent = 0;
  struct {
    UInt8 length = 0;
    char text[kMaxDigits] = {};
  } digits;
};

// Reads a number from the length-prefixed text at *index (from 1): leading blanks and tabs, an
// optional sign, digits with at most one decimal point (at least one digit), and an optional
// exponent ("e" or "E", a sign, digits). *index moves past what was read (past the blanks only
// when no number was read, and then the record holds "N"). *validPrefix is true when the text
// from the old index to its end is all a number or the beginning of one.
void PortStringToDecimal(ConstStringPtr text, SInt16* index, Decimal* result, Boolean* validPrefix);
// The double nearest the record: a NaN for "N", an infinity for "I", zero below the smallest.
double PortDecimalToNumber(const Decimal* decimal);
