// An ordered map from unit names (byte strings, compared byte by byte) to units; used for reading.
#pragma once

#include <string_view>

#include "FixedSortedMap.h"
#include "UnitBase.h"

class NameToUnitTable : public FixedSortedMap<std::string_view, UnitBase, 24> {
 public:
  using FixedSortedMap::FixedSortedMap;
};

// Full and short names of lengths and angles. The apostrophe is feet among lengths and minutes
// among angles; the double quote is inches and seconds; byte 0xA1 is the degree sign.
extern const NameToUnitTable gLengthNameTable;
extern const NameToUnitTable gShortLengthNameTable;
extern const NameToUnitTable gAngleNameTable;
extern const NameToUnitTable gShortAngleNameTable;

// The table unit words are read with; none until a scope installs one (NameToUnitTableScope).
extern const NameToUnitTable* gCurrentNameToUnitTable;
