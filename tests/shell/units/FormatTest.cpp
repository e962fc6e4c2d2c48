#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Format.h"
#include "NameToUnitTable.h"
#include "UnitToNameTable.h"
#include "UnitToNameTableScope.h"

namespace {

// The error a description throws, or none.
std::optional<int> ParseError(const char* text, const NameToUnitTable& names = gLengthNameTable) {
  try {
    Format f(text, names);
  } catch (Format::Error e) {
    return int(e);
  }
  return std::nullopt;
}

std::string Described(const Format& f, const UnitToNameTable& names = gDisplayNameTable) {
  UnitToNameTableScope scope(names);
  std::ostringstream out;
  out << f;
  return out.str();
}

// The formats the application offers.
std::vector<Format> ApplicationFormats() {
  return {
      Format({gMiles}, Format::kDecimals, 3),
      Format({gFeet}, Format::kDecimals, 3),
      Format({gFeet, gInches}, Format::kDecimals, 2),
      Format({gFeet, gInches}, Format::kFractions, 32),
      Format({gInches}, Format::kDecimals, 2),
      Format({gInches}, Format::kFractions, 32),
      Format({gKilometers}, Format::kDecimals, 3),
      Format({gMeters}, Format::kDecimals, 3),
      Format({gCentimeters}, Format::kDecimals, 1),
      Format({gMillimeters}, Format::kDecimals, 0),
      Format({gDegrees}, Format::kDecimals, 2),
      Format({gDegrees, gMinutes}, Format::kDecimals, 0),
      Format({gDegrees, gMinutes, gSeconds}, Format::kDecimals, 0),
  };
}

}  // namespace

TEST(Format, DefaultAndBuilt) {
  Format f;
  EXPECT_EQ(f.unitCount, 0);
  EXPECT_EQ(f.style, 0);
  EXPECT_EQ(f.precision, 0);
  EXPECT_EQ(f.reductionDivisor, 2);
  for (const UnitBase& u : f.units) EXPECT_EQ(u, gInvalidUnit);
  EXPECT_THROW(Format({gFeet, gFeet, gFeet, gFeet}, 0, 0), Format::Error);
}

TEST(Format, ParsesDescriptions) {
  Format fi("Feet Inches/16", gLengthNameTable);
  EXPECT_EQ(fi.unitCount, 2);
  EXPECT_EQ(fi.units[0], gFeet);
  EXPECT_EQ(fi.units[1], gInches);
  EXPECT_EQ(fi.units[2], gInvalidUnit);
  EXPECT_EQ(fi.style, Format::kFractions);
  EXPECT_EQ(fi.precision, 16);
  EXPECT_EQ(fi.reductionDivisor, 2);

  Format m("  meters .  3 ", gLengthNameTable);
  EXPECT_EQ(m, Format({gMeters}, Format::kDecimals, 3));
  EXPECT_EQ(m.precision, 3);
  EXPECT_EQ(Format("Feet.2.9", gLengthNameTable).precision, 2);  // truncated toward zero
  EXPECT_EQ(Format("' \"/8", gLengthNameTable), Format({gFeet, gInches}, Format::kFractions, 8));
  EXPECT_EQ(Format("Degrees Minutes Seconds.0", gAngleNameTable).unitCount, 3);
  // Units of different kinds are not checked against each other.
  EXPECT_EQ(Format("Feet m.1", gLengthNameTable).unitCount, 2);
}

TEST(Format, DescriptionErrors) {
  struct Case {
    const char* text;
    std::optional<int> error;
  } cases[] = {
      {"Feet/16", std::nullopt},
      {"/16", 1},  // no unit
      {"", 1},     // nothing at all
      {"   ", 1},
      {"Parsecs/16", 1},                 // an unknown first word
      {"Feet Inches Feet Inches.2", 2},  // a fourth unit
      {"Feet 16", 3},                    // a number where the mark belongs
      {"Feet Parsecs/16", 3},            // an unknown word after a unit
      {"Feet", 3},
      {"Feet.", 4},  // nothing after the mark
      {"Feet./", 4},
      {"Feet.-2", 4},         // no signs in a description
      {"Feet.1e99", 4},       // no precision of int range
      {"Feet.1e999", 4},      // beyond a double
      {"Feet/16 Inches", 0},  // text after a complete description
      {"Feet/16 Parsecs", 0},
      {"Feet/16/", 0},
      {"Feet.2 3", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseError(c.text), c.error) << c.text;
  // The short table does not know full names.
  EXPECT_EQ(ParseError("Feet/16", gShortLengthNameTable), 1);
  EXPECT_EQ(ParseError(nullptr), 1);
  EXPECT_EQ(ParseError(std::string(5000, '9').c_str()), 1);
}

TEST(Format, ParsingRestoresTheCurrentTable) {
  EXPECT_EQ(gCurrentNameToUnitTable, nullptr);
  EXPECT_EQ(ParseError("Feet Inches Feet Inches.2"), 2);
  EXPECT_EQ(gCurrentNameToUnitTable, nullptr);
}

TEST(Format, WritesDescriptionsThatReadBack) {
  EXPECT_EQ(Described(Format({gFeet, gInches}, Format::kFractions, 16)), "Feet Inches/16");
  EXPECT_EQ(Described(Format({gMeters}, Format::kDecimals, 3)), "Meters.3");
  EXPECT_EQ(Described(Format({gFeet, gInches}, Format::kFractions, 16), gShortNameTable), "' \"/16");
  for (const Format& f : ApplicationFormats()) {
    std::string text = Described(f);
    const NameToUnitTable& names =
        f.units[0].kind == UnitBase::kAngleKind ? gAngleNameTable : gLengthNameTable;
    Format back(text, names);
    EXPECT_EQ(back, f) << text;
    EXPECT_EQ(back.precision, f.precision) << text;
  }
}

TEST(Format, ToStringFitsOrFails) {
  Format f({gFeet, gInches}, Format::kFractions, 16);
  char buffer[32];
  f.ToString(buffer, 15);  // "Feet Inches/16" and its zero
  EXPECT_STREQ(buffer, "Feet Inches/16");
  try {
    f.ToString(buffer, 14);
    FAIL();
  } catch (Format::Error e) {
    EXPECT_EQ(int(e), 5);
  }
  EXPECT_THROW(f.ToString(buffer, 0), Format::Error);
  EXPECT_THROW(f.ToString(nullptr, 32), Format::Error);
}

TEST(Format, EqualityCopiesAndReduction) {
  Format a({gFeet, gInches}, Format::kFractions, 16);
  Format b({gFeet, gInches}, Format::kFractions, 32);
  Format c({gFeet, gInches}, Format::kDecimals, 16);
  EXPECT_EQ(a, b);  // precision is not compared
  EXPECT_NE(a, c);  // style is
  EXPECT_NE(a, Format({gFeet}, Format::kFractions, 16));

  // A copy carries only the counted units.
  Format odd = a;
  odd.unitCount = 1;
  Format copy(odd);
  EXPECT_EQ(copy.units[0], gFeet);
  EXPECT_EQ(copy.units[1], gInvalidUnit);
  EXPECT_EQ(copy.precision, 16);
  Format assigned({gMeters, gCentimeters, gMillimeters}, 0, 1);
  assigned = odd;
  EXPECT_EQ(assigned.units[1], gInvalidUnit);
  EXPECT_EQ(assigned.units[2], gInvalidUnit);

  Format target;
  Format::CopyConstruct(&target, a);
  EXPECT_EQ(target, a);
  Format::CopyConstruct(nullptr, a);  // nothing happens

  Format area = a;
  area.ReduceToLastUnit(2);
  EXPECT_EQ(area.unitCount, 1);
  EXPECT_EQ(area.units[0], UnitBase(2, 0.0254 * 0.0254));
  EXPECT_DOUBLE_EQ(area.units[0].factor, 0.00064516);
  EXPECT_EQ(area.units[1], gInvalidUnit);
  EXPECT_EQ(area.style, Format::kFractions);
  EXPECT_EQ(area.precision, 16);
  Format empty;
  empty.ReduceToLastUnit(2);
  EXPECT_EQ(empty.unitCount, 0);
}
