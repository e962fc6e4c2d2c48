// A measured quantity: a value and its unit, read from what the user types and written in a
// display format.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string_view>

#include "Format.h"
#include "UnitBase.h"

class NameToUnitTable;
class UnitToNameTable;
struct MeasurementToken;
template <class Token>
class TokenStream;

class Measurement {
 public:
  // Thrown as the bare value, not wrapped in a program exception. UnitBase::Error::kKindMismatch
  // also leaves the parser and the writer when units of different kinds meet.
  enum class Error : SInt32 {
    kTextLeft = 0,         // tokens are left after a complete expression
    kNumberExpected = 1,   // no number where one must stand, or a number out of range
    kNoUnitToFollow = 2,   // a bare number follows a bare part in one compound quantity
    kSlashMissing = 3,     // a whole number and a numerator without the "/" between them
    kZeroDenominator = 4,  // a denominator is zero
    kBufferTooSmall = 5,   // a written measurement and its zero byte do not fit the buffer
  };

  constexpr Measurement() = default;
  constexpr Measurement(double value, const UnitBase& unit) : value(value), unit(unit) {}

  // Reads a text such as 5'3 1/2" or 30°15'20" with the table installed for the parse; a
  // quantity that names no unit is taken in defaultUnit. A null text reads as an empty one.
  static Measurement Parse(std::string_view text, const NameToUnitTable& names, const UnitBase& defaultUnit);
  static Measurement Parse(const char* text, const NameToUnitTable& names, const UnitBase& defaultUnit);

  // The value expressed in the unit; UnitBase::Error::kKindMismatch across kinds.
  double ValueIn(const UnitBase& target) const;

  // Writes the measurement in the format, unit names from gCurrentUnitToNameTable. Leaves the
  // stream in fixed notation with the format's decimals.
  static void WriteInFormat(std::ostream& stream, const Measurement& measurement, const Format& format);
  // The same with the table installed for the call.
  static void Write(const Measurement& measurement, std::ostream& stream, const Format& format,
                    const UnitToNameTable& names);
  // The same into the buffer, then a zero byte; Error::kBufferTooSmall when they do not fit.
  static void ToString(const Measurement& measurement, char* buffer, std::size_t size, const Format& format,
                       const UnitToNameTable& names);

  // Decimals written at most; a larger precision is written with this many.
  static constexpr int kMaxDecimals = 100;

  double value = 0.0;
  UnitBase unit = gInvalidUnit;

 private:
  using Tokens = TokenStream<MeasurementToken>;
  static Measurement ParseSum(Tokens& tokens, const UnitBase& defaultUnit);
  static Measurement ParseSignedTerm(Tokens& tokens, const UnitBase& defaultUnit);
  static Measurement ParseCompound(Tokens& tokens, const UnitBase& defaultUnit);
  static void ParsePart(Tokens& tokens, Measurement& part);
  static double ParseNumber(Tokens& tokens);
  static double ParseFraction(Tokens& tokens);
  static double ParseDenominator(Tokens& tokens, double value);
};
