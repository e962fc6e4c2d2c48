#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "Measurement.h"
#include "NameToUnitTable.h"
#include "NameToUnitTableScope.h"
#include "UnitBase.h"
#include "UnitToNameTable.h"
#include "UnitToNameTableScope.h"

namespace {

std::string NameIn(const UnitBase& unit, const UnitToNameTable& table) {
  std::ostringstream out;
  unit.Write(out, table);
  return out.str();
}

}  // namespace

TEST(UnitBase, ConstantsAndDefault) {
  EXPECT_EQ(UnitBase(), gInvalidUnit);
  EXPECT_EQ(gInvalidUnit.kind, -1);
  EXPECT_EQ(gInvalidUnit.factor, 1.0);
  // The angle factors as the program shows them, computed from pi in double precision.
  EXPECT_EQ(gDegrees.factor, 0.017453292519943295);
  EXPECT_EQ(gMinutes.factor, 0.0002908882086657216);
  EXPECT_EQ(gSeconds.factor, 4.84813681109536e-06);
  EXPECT_EQ(gKind5Unit, UnitBase(5, 1.0));
  EXPECT_EQ(gModelLengthUnit, gInvalidUnit);  // until the application sets it
}

// Conversions checked once by hand with GNU Units 2.22 (`units -t -d 15 FROM TO`); the results
// are recorded here so the test does not need the program.
TEST(UnitBase, ConversionsAgreeWithAnIndependentTable) {
  struct Case {
    const char* what;
    Measurement from;
    UnitBase to;
    double expected;
  } cases[] = {
      {"foot inch", {1, gFeet}, gInches, 12},
      {"mile m", {1, gMiles}, gMeters, 1609.344},
      {"mile ft", {1, gMiles}, gFeet, 5280},
      {"mile km", {1, gMiles}, gKilometers, 1.609344},
      {"km mile", {1, gKilometers}, gMiles, 0.621371192237334},
      {"km ft", {1, gKilometers}, gFeet, 3280.83989501312},
      {"meter foot", {1, gMeters}, gFeet, 3.28083989501312},
      {"cm inch", {1, gCentimeters}, gInches, 0.393700787401575},
      {"100 mm inch", {100, gMillimeters}, gInches, 3.93700787401575},
      {"degree radian", {1, gDegrees}, gRadians, 0.0174532925199433},
      {"45 deg radian", {45, gDegrees}, gRadians, 0.785398163397448},
      {"radian degree", {1, gRadians}, gDegrees, 57.2957795130823},
      {"arcmin radian", {1, gMinutes}, gRadians, 0.000290888208665722},
      {"arcsec radian", {1, gSeconds}, gRadians, 4.84813681109536e-06},
      {"degree arcsec", {1, gDegrees}, gSeconds, 3600},
      {"ft^2 m^2", {1, UnitBase(gFeet).Power(2)}, UnitBase(gMeters).Power(2), 0.09290304},
      {"in^2 m^2", {1, UnitBase(gInches).Power(2)}, UnitBase(gMeters).Power(2), 0.00064516},
      {"mm^3 m^3", {1, UnitBase(gMillimeters).Power(3)}, UnitBase(gMeters).Power(3), 1e-09},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(c.from.ValueIn(c.to), c.expected, std::fabs(c.expected) * 1e-14) << c.what;
  }
}

TEST(UnitBase, Ratio) {
  EXPECT_EQ(gFeet.Ratio(gInches), 0.3048 / 0.0254);
  EXPECT_EQ(gFeet.Ratio(gInches), 12.000000000000002);
  EXPECT_EQ(gInches.Ratio(gInches), 1.0);
  EXPECT_EQ(UnitBase(1, 0.1).Ratio(UnitBase(1, 0.1)), 1.0);  // equal factors give exactly 1
  EXPECT_THROW(gFeet.Ratio(gDegrees), UnitBase::Error);
  try {
    gFeet.Ratio(gNoUnit);
    FAIL();
  } catch (UnitBase::Error e) {
    EXPECT_EQ(e, UnitBase::Error::kKindMismatch);
    EXPECT_EQ(int(e), 0);
  }
}

TEST(UnitBase, Power) {
  struct Case {
    UnitBase unit;
    int n;
    UnitBase expected;
  } cases[] = {
      {gFeet, 1, gFeet},
      {gFeet, 2, UnitBase(2, 0.3048 * 0.3048)},
      {gMillimeters, 3, UnitBase(3, 0.001 * 0.001 * 0.001)},
      {gDegrees, 2, gInvalidUnit},
      {gDegrees, 1, gInvalidUnit},  // only lengths can be raised
      {gFeet, 4, gInvalidUnit},
      {gFeet, 0, gInvalidUnit},
      {gNoUnit, 2, gInvalidUnit},
  };
  for (const Case& c : cases) {
    UnitBase u = c.unit;
    EXPECT_EQ(&u.Power(c.n), &u);
    EXPECT_EQ(u, c.expected) << c.unit.kind << " " << c.unit.factor << " ^" << c.n;
  }
  EXPECT_DOUBLE_EQ(UnitBase(gFeet).Power(2).factor, 0.09290304);
  EXPECT_DOUBLE_EQ(UnitBase(gMillimeters).Power(3).factor, 1e-09);
}

TEST(UnitBase, OrderIsKindThenFactor) {
  EXPECT_LT(gInvalidUnit, gNoUnit);
  EXPECT_LT(gMillimeters, gFeet);
  EXPECT_LT(gMiles, gRadians);  // kind first
  EXPECT_FALSE(gFeet < gFeet);
  EXPECT_NE(gMeters, gRadians);  // same factor, other kind
}

TEST(NameTables, Lookup) {
  struct Case {
    const char* name;
    const NameToUnitTable* table;
    UnitBase expected;
  } cases[] = {
      {"FT", &gShortLengthNameTable, gFeet},
      {"feet", &gShortLengthNameTable, gInvalidUnit},
      {"feet", &gLengthNameTable, gFeet},
      {"FeEt", &gLengthNameTable, gFeet},
      {"MM", &gShortLengthNameTable, gMillimeters},
      {"'", &gLengthNameTable, gFeet},
      {"\"", &gShortLengthNameTable, gInches},
      {"'", &gAngleNameTable, gMinutes},
      {"\"", &gShortAngleNameTable, gSeconds},
      {"\xA1", &gShortAngleNameTable, gDegrees},
      {"\xA1", &gLengthNameTable, gInvalidUnit},
      {"Degrees", &gAngleNameTable, gDegrees},
      {"degrees", &gShortAngleNameTable, gInvalidUnit},
      {"", &gLengthNameTable, gInvalidUnit},
      {"fee", &gLengthNameTable, gInvalidUnit},
      {"feets", &gLengthNameTable, gInvalidUnit},
  };
  for (const Case& c : cases) EXPECT_EQ(UnitBase::Lookup(c.name, *c.table), c.expected) << c.name;

  // Only A to Z are folded: a Mac Roman capital is not the small letter.
  EXPECT_EQ(UnitBase::Lookup("\x80", gLengthNameTable), gInvalidUnit);
  EXPECT_EQ(UnitBase::Lookup(std::string(300, 'm'), gLengthNameTable), gInvalidUnit);
}

TEST(NameTables, ContentsAndCounts) {
  EXPECT_EQ(gLengthNameTable.Count(), 16);
  EXPECT_EQ(gShortLengthNameTable.Count(), 9);
  EXPECT_EQ(gAngleNameTable.Count(), 11);
  EXPECT_EQ(gShortAngleNameTable.Count(), 7);
  EXPECT_EQ(gDisplayNameTable.Count(), 11);
  EXPECT_EQ(gShortNameTable.Count(), 11);
  // Every written name reads back as its unit in the table of full names.
  for (const auto& e : gDisplayNameTable) {
    const NameToUnitTable& names = e.key.kind == UnitBase::kAngleKind ? gAngleNameTable : gLengthNameTable;
    EXPECT_EQ(UnitBase::Lookup(e.value, names), e.key) << e.value;
  }
  for (const auto& e : gShortNameTable) {
    const NameToUnitTable& names =
        e.key.kind == UnitBase::kAngleKind ? gShortAngleNameTable : gShortLengthNameTable;
    EXPECT_EQ(UnitBase::Lookup(e.value, names), e.key) << e.value;
  }
}

TEST(NameTables, WritingUnits) {
  EXPECT_EQ(NameIn(gFeet, gShortNameTable), "'");
  EXPECT_EQ(NameIn(gMinutes, gShortNameTable), "'");
  EXPECT_EQ(NameIn(gDegrees, gShortNameTable), "\xA1");
  EXPECT_EQ(NameIn(gFeet, gDisplayNameTable), "Feet");
  EXPECT_EQ(NameIn(UnitBase(gFeet).Power(2), gShortNameTable), "");  // area units have no name
  EXPECT_EQ(NameIn(gKind5Unit, gDisplayNameTable), "");
  EXPECT_EQ(NameIn(gNoUnit, gDisplayNameTable), "");

  // The current table at start is the display table, and Write puts it back.
  EXPECT_EQ(gCurrentUnitToNameTable, &gDisplayNameTable);
  std::ostringstream plain;
  plain << gInches;
  EXPECT_EQ(plain.str(), "Inches");
}

TEST(NameTables, UnitToStringFitsOrFails) {
  char buffer[16];
  gCentimeters.ToString(buffer, 12);  // "Centimeters" and its zero
  EXPECT_STREQ(buffer, "Centimeters");
  EXPECT_THROW(gCentimeters.ToString(buffer, 11), UnitBase::Error);
  EXPECT_THROW(gCentimeters.ToString(nullptr, 16), UnitBase::Error);
  UnitBase(gFeet).Power(3).ToString(buffer, 1);  // no name: just the zero
  EXPECT_STREQ(buffer, "");
  try {
    gFeet.ToString(buffer, 0);
    FAIL();
  } catch (UnitBase::Error e) {
    EXPECT_EQ(int(e), 1);
  }
  {
    UnitToNameTableScope scope(gShortNameTable);
    gInches.ToString(buffer, 2);
    EXPECT_STREQ(buffer, "\"");
  }
}

TEST(NameTables, ScopesNestAndRestoreOnErrors) {
  EXPECT_EQ(gCurrentNameToUnitTable, nullptr);
  EXPECT_EQ(UnitBase("ft"), gInvalidUnit);  // no table installed
  {
    NameToUnitTableScope outer(gLengthNameTable);
    EXPECT_EQ(UnitBase("Feet"), gFeet);
    {
      NameToUnitTableScope inner(gShortAngleNameTable);
      EXPECT_EQ(UnitBase("'"), gMinutes);
    }
    EXPECT_EQ(UnitBase("'"), gFeet);
    try {
      UnitToNameTableScope names(gShortNameTable);
      NameToUnitTableScope angles(gAngleNameTable);
      throw 1;
    } catch (int) {
    }
    EXPECT_EQ(gCurrentNameToUnitTable, &gLengthNameTable);
    EXPECT_EQ(gCurrentUnitToNameTable, &gDisplayNameTable);
  }
  EXPECT_EQ(gCurrentNameToUnitTable, nullptr);
}
