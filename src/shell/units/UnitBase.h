// A unit of measure: a kind (the dimension) and the size of one unit in the kind's base unit
// (meters for lengths, radians for angles). Also the fixed unit constants and the units in force.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <numbers>
#include <string_view>

#include "MacTypes.h"

class NameToUnitTable;
class UnitToNameTable;

class UnitBase {
 public:
  // Thrown as the bare value, not wrapped in a program exception.
  enum class Error : SInt32 {
    kKindMismatch = 0,    // a ratio between units of different kinds
    kBufferTooSmall = 1,  // a unit name and its zero byte do not fit the caller's buffer
  };

  enum : SInt32 {
    kInvalidKind = -1,
    kNoUnitKind = 0,
    kLengthKind = 1,
    kAreaKind = 2,
    kVolumeKind = 3,
    kAngleKind = 4,
    kUnnamedKind = 5,
  };

  constexpr UnitBase() = default;
  constexpr UnitBase(SInt32 kind, double factor) : kind(kind), factor(factor) {}
  // The unit of that name in gCurrentNameToUnitTable; the invalid unit when no table is
  // installed or the name is not in it.
  explicit UnitBase(std::string_view name);

  // The unit of that name in the table, capitals A to Z taken as small letters; the invalid
  // unit when absent.
  static UnitBase Lookup(std::string_view name, const NameToUnitTable& table);

  // Raises a length to the power n (1, 2 or 3) in place; anything else becomes the invalid unit.
  UnitBase& Power(int n);
  // How many of the other unit make one of this; throws Error::kKindMismatch across kinds.
  double Ratio(const UnitBase& other) const;

  // Writes the unit's name from the given table (installed for the call).
  void Write(std::ostream& stream, const UnitToNameTable& table) const;
  // The name from gCurrentUnitToNameTable and a zero byte; Error::kBufferTooSmall when they do not fit.
  void ToString(char* buffer, std::size_t size) const;

  friend constexpr bool operator==(const UnitBase&, const UnitBase&) = default;
  friend constexpr bool operator<(const UnitBase& a, const UnitBase& b) {
    return a.kind != b.kind ? a.kind < b.kind : a.factor < b.factor;
  }

  SInt32 kind = kInvalidKind;
  double factor = 1.0;
};

// The unit's name from gCurrentUnitToNameTable; nothing when no table is installed or the unit
// has no name there.
std::ostream& operator<<(std::ostream& stream, const UnitBase& unit);

inline constexpr UnitBase gInvalidUnit{UnitBase::kInvalidKind, 1.0};
inline constexpr UnitBase gNoUnit{UnitBase::kNoUnitKind, 1.0};
inline constexpr UnitBase gMiles{UnitBase::kLengthKind, 1609.344};
inline constexpr UnitBase gFeet{UnitBase::kLengthKind, 0.3048};
inline constexpr UnitBase gInches{UnitBase::kLengthKind, 0.0254};
inline constexpr UnitBase gKilometers{UnitBase::kLengthKind, 1000.0};
inline constexpr UnitBase gMeters{UnitBase::kLengthKind, 1.0};
inline constexpr UnitBase gCentimeters{UnitBase::kLengthKind, 0.01};
inline constexpr UnitBase gMillimeters{UnitBase::kLengthKind, 0.001};
inline constexpr UnitBase gRadians{UnitBase::kAngleKind, 1.0};
inline constexpr UnitBase gDegrees{UnitBase::kAngleKind, std::numbers::pi / 180.0};
inline constexpr UnitBase gMinutes{UnitBase::kAngleKind, std::numbers::pi / 10800.0};
inline constexpr UnitBase gSeconds{UnitBase::kAngleKind, std::numbers::pi / 648000.0};
inline constexpr UnitBase gKind5Unit{UnitBase::kUnnamedKind, 1.0};

// The units in which the model keeps lengths and angles (set by the application at start-up),
// and the units in which a bare typed number is taken (set by the active document).
extern UnitBase gModelLengthUnit;
extern UnitBase gModelAngleUnit;
extern UnitBase gLengthEntryUnit;
extern UnitBase gAngleEntryUnit;
