// How measurements are shown and read: up to three units, largest first (feet, then inches),
// decimals or fractions, and a precision (digits after the point, or the fractions' denominator).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <string_view>

#include "UnitBase.h"

class NameToUnitTable;

class Format {
 public:
  // Thrown as the bare value, not wrapped in a program exception.
  enum class Error : SInt32 {
    kTextLeft = 0,        // text is left after a complete description
    kNoUnit = 1,          // the description names no unit
    kTooManyUnits = 2,    // the description names a fourth unit
    kNoStyleMark = 3,     // neither "." nor "/" follows the units
    kNoPrecision = 4,     // no number (of int range) follows the "." or "/"
    kBufferTooSmall = 5,  // a description and its zero byte do not fit the caller's buffer
  };
  enum : SInt32 { kDecimals = 0, kFractions = 1 };
  static constexpr SInt32 kMaxUnits = 3;

  constexpr Format() = default;
  // A format made in code, such as the application's list of formats; more than three units
  // throw Error::kTooManyUnits.
  Format(std::initializer_list<UnitBase> units, SInt32 style, SInt32 precision);
  // Parses a description such as "Feet Inches/16" with the table installed for the parse.
  Format(std::string_view text, const NameToUnitTable& names);
  Format(const char* text, const NameToUnitTable& names);
  // Copies the counted units only; the others are the invalid unit.
  Format(const Format& other);
  Format& operator=(const Format& other);
  // Copy-constructs into the storage; nothing when it is null.
  static void CopyConstruct(Format* storage, const Format& source);

  // Equal unit counts, styles and counted units; precision and divisor are not compared.
  bool operator==(const Format& other) const;

  // Keeps only the last unit, raised to the power n (UnitBase::Power): with 2 a feet-and-inches
  // format becomes one for square inches.
  void ReduceToLastUnit(int n);

  // The description and a zero byte; Error::kBufferTooSmall when they do not fit.
  void ToString(char* buffer, std::size_t size) const;

  // The unit count clamped to what the units array holds.
  int UsedUnits() const { return unitCount < 0 ? 0 : unitCount > kMaxUnits ? kMaxUnits : int(unitCount); }

  SInt32 unitCount = 0;
  UnitBase units[kMaxUnits];
  SInt32 style = kDecimals;
  SInt32 precision = 0;
  SInt32 reductionDivisor = 2;
};

// Writes the description: the unit names from gCurrentUnitToNameTable with a blank between
// two, "." (decimals) or "/" (fractions), then the precision: "Feet Inches/16", "Meters.3".
std::ostream& operator<<(std::ostream& stream, const Format& format);

// The formats in which lengths and angles are shown; the active document sets them.
extern Format gLengthFormat;
extern Format gAngleFormat;
