// An ordered map from units (ordered by UnitBase::operator<) to their names; used for writing.
#pragma once

#include <string_view>

#include "FixedSortedMap.h"
#include "UnitBase.h"

class UnitToNameTable : public FixedSortedMap<UnitBase, std::string_view, 16> {
 public:
  using FixedSortedMap::FixedSortedMap;

  // The unit's name; empty when the unit has none here.
  std::string_view NameOf(const UnitBase& unit) const {
    const std::string_view* name = Find(unit);
    return name ? *name : std::string_view();
  }
};

// Names for format descriptions ("Feet", "Meters") and short names for shown measurements.
extern const UnitToNameTable gDisplayNameTable;
extern const UnitToNameTable gShortNameTable;

// The table unit names are written from; gDisplayNameTable at start (UnitToNameTableScope changes it).
extern const UnitToNameTable* gCurrentUnitToNameTable;
