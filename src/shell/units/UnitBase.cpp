#include "UnitBase.h"

#include <cstring>
#include <ostream>

#include "NameToUnitTable.h"
#include "Refusal.h"
#include "UnitToNameTable.h"
#include "UnitToNameTableScope.h"

constinit UnitBase gModelLengthUnit = gInvalidUnit;
constinit UnitBase gModelAngleUnit = gInvalidUnit;
constinit UnitBase gLengthEntryUnit = gInvalidUnit;
constinit UnitBase gAngleEntryUnit = gInvalidUnit;

UnitBase::UnitBase(std::string_view name) {
  if (gCurrentNameToUnitTable) *this = Lookup(name, *gCurrentNameToUnitTable);
}

UnitBase UnitBase::Lookup(std::string_view name, const NameToUnitTable& table) {
  // No name in a table is longer than this, so a longer one is simply not there.
  constexpr std::size_t kMaxName = 255;
  if (name.size() > kMaxName) return gInvalidUnit;
  char lower[kMaxName];
  for (std::size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    lower[i] = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  }
  const UnitBase* found = table.Find(std::string_view(lower, name.size()));
  return found ? *found : gInvalidUnit;
}

UnitBase& UnitBase::Power(int n) {
  if (kind == kLengthKind && n == 2) {
    *this = UnitBase(kAreaKind, factor * factor);
  } else if (kind == kLengthKind && n == 3) {
    *this = UnitBase(kVolumeKind, factor * factor * factor);
  } else if (kind != kLengthKind || n != 1) {
    *this = gInvalidUnit;
  }
  return *this;
}

double UnitBase::Ratio(const UnitBase& other) const {
  if (kind != other.kind) {
    vlcore::NoteRefusal("units of different kinds meet");
    throw Error::kKindMismatch;
  }
  if (factor == other.factor) return 1.0;
  return factor / other.factor;
}

std::ostream& operator<<(std::ostream& stream, const UnitBase& unit) {
  if (gCurrentUnitToNameTable) {
    std::string_view name = gCurrentUnitToNameTable->NameOf(unit);
    if (!name.empty()) stream.write(name.data(), std::streamsize(name.size()));
  }
  return stream;
}

void UnitBase::Write(std::ostream& stream, const UnitToNameTable& table) const {
  UnitToNameTableScope scope(table);
  stream << *this;
}

void UnitBase::ToString(char* buffer, std::size_t size) const {
  std::string_view name =
      gCurrentUnitToNameTable ? gCurrentUnitToNameTable->NameOf(*this) : std::string_view();
  if (buffer == nullptr || name.size() >= size) throw Error::kBufferTooSmall;
  if (!name.empty()) std::memcpy(buffer, name.data(), name.size());
  buffer[name.size()] = '\0';
}
