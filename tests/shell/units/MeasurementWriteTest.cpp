#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Format.h"
#include "Measurement.h"
#include "NameToUnitTable.h"
#include "UnitToNameTable.h"

namespace {

std::string Written(const Measurement& m, const Format& f, const UnitToNameTable& names = gShortNameTable) {
  std::ostringstream out;
  Measurement::Write(m, out, f, names);
  return out.str();
}

const Format kFeetInchesSixteenths({gFeet, gInches}, Format::kFractions, 16);

}  // namespace

TEST(MeasurementWrite, DecimalsFractionsAndUnits) {
  const Format inches2({gInches}, Format::kDecimals, 2);
  const Format meters2({gMeters}, Format::kDecimals, 2);
  const Format inches32({gInches}, Format::kFractions, 32);
  const Format dms({gDegrees, gMinutes, gSeconds}, Format::kDecimals, 0);
  Format squareInches = kFeetInchesSixteenths;
  squareInches.ReduceToLastUnit(2);
  struct Case {
    Measurement m;
    Format f;
    std::string expected;
  } cases[] = {
      {{5.2604, gFeet}, kFeetInchesSixteenths, "5'3 1/8\""},  // 2 sixteenths reduced to one eighth
      {{5.25, gFeet}, kFeetInchesSixteenths, "5'3\""},
      {{0.5, gInches}, kFeetInchesSixteenths, "0'1/2\""},
      {{5 + 11.99 / 12, gFeet},
       kFeetInchesSixteenths,
       "5'12\""},  // the last unit rounds on its own: no carry
      {{-(5 + 3.5 / 12), gFeet}, kFeetInchesSixteenths, "-5'3 1/2\""},
      {{0, gFeet}, kFeetInchesSixteenths, "0'0\""},
      {{12, gFeet}, kFeetInchesSixteenths, "12'0\""},
      {{2.5, gMeters}, meters2, "2.50m"},
      {{-0.5, gFeet}, inches2, "-6.00\""},
      {{-0.0, gMeters}, meters2, "0.00m"},
      {{-0.001, gMeters}, meters2, "-0.00m"},  // the sign is written before rounding
      {{1234.5678, gMillimeters}, Format({gMillimeters}, Format::kDecimals, 0), "1235mm"},
      {{1, gMiles}, Format({gFeet}, Format::kDecimals, 3), "5280.000'"},
      {{0.25, gInches}, inches32, "1/4\""},  // 8/32 reduced by twos
      {{1.96875, gInches}, inches32, "1 31/32\""},
      {{0.01, gInches}, inches32, "0\""},
      {{0.5, gInches}, Format({gInches}, Format::kFractions, 10), "5/10\""},  // reduced by two only
      {{0.5, gInches}, Format({gInches}, Format::kFractions, 12), "3/6\""},   // halved once: 3 is odd
      {{2.6, gInches}, Format({gInches}, Format::kFractions, 0), "3\""},      // no fractions: whole units
      {{30 + 15 / 60.0 + 20 / 3600.0, gDegrees},
       dms,
       "30\xA1"
       "15'20\""},
      {{90, gDegrees}, Format({gDegrees}, Format::kDecimals, 2), "90.00\xA1"},
      {{std::acos(-1.0), gRadians}, Format({gDegrees}, Format::kDecimals, 1), "180.0\xA1"},
      {{2, UnitBase(gFeet).Power(2)}, squareInches, "288"},  // area units have no name
      {{7, gKind5Unit}, Format({gKind5Unit}, Format::kDecimals, 1), "7.0"},
      {{5.25, gFeet}, Format({gFeet, gInches}, 7, 2), "5'\""},  // an unknown style writes no last number
      {{std::numeric_limits<double>::infinity(), gFeet}, kFeetInchesSixteenths, "inf'"},
      {{-std::numeric_limits<double>::infinity(), gFeet}, inches2, "-inf\""},
      {{std::nan(""), gFeet}, kFeetInchesSixteenths, "nan'"},
  };
  for (const Case& c : cases) EXPECT_EQ(Written(c.m, c.f), c.expected) << c.m.value;
  EXPECT_EQ(Written({2.5, gMeters}, meters2, gDisplayNameTable), "2.50Meters");
}

TEST(MeasurementWrite, OddFormatsAndValuesNeverCrash) {
  // Huge values are written whole, precision beyond reason is capped.
  std::string huge = Written({1e300, gFeet}, kFeetInchesSixteenths);
  EXPECT_EQ(huge.substr(0, 4), "1000");
  EXPECT_EQ(huge.substr(huge.size() - 3), "'0\"");
  EXPECT_EQ(huge.size(), 301u + 3u);
  std::string many = Written({1.0 / 3.0, gMeters}, Format({gMeters}, Format::kDecimals, 2000000000));
  EXPECT_EQ(many.size(), 2u + Measurement::kMaxDecimals + 1u);
  EXPECT_EQ(Written({0.5, gInches}, Format({gInches}, Format::kFractions, 2147483647)).substr(0, 11),
            "1073741824/");
  EXPECT_EQ(Written({1.5, gMeters}, Format({gMeters}, Format::kDecimals, -3)), "2m");

  EXPECT_THROW(Written({1, gFeet}, Format({gDegrees}, 0, 2)), UnitBase::Error);
  EXPECT_THROW(Written({1, gFeet}, Format()), UnitBase::Error);  // no units: a mismatch, not silence
  EXPECT_THROW(Written({1, gFeet}, Format({gFeet, gDegrees}, 0, 2)), UnitBase::Error);
  EXPECT_EQ(gCurrentUnitToNameTable, &gDisplayNameTable);  // put back after the throw
}

TEST(MeasurementWrite, LeavesTheStreamInFixedNotation) {
  std::ostringstream out;
  Measurement::Write({2.5, gMeters}, out, Format({gMeters}, Format::kDecimals, 3), gShortNameTable);
  out << ' ' << 1.5;
  EXPECT_EQ(out.str(), "2.500m 1.500");
  Measurement::Write({2.5, gMeters}, out, Format({gMeters}, Format::kDecimals, 0), gShortNameTable);
  out << ' ' << 1.0;
  EXPECT_EQ(out.str(), "2.500m 1.5002m 1");
}

TEST(MeasurementWrite, ToStringFitsOrFails) {
  char buffer[16];
  Measurement m(5.2604, gFeet);
  Measurement::ToString(m, buffer, 9, kFeetInchesSixteenths, gShortNameTable);  // 8 characters and a zero
  EXPECT_STREQ(buffer, "5'3 1/8\"");
  try {
    Measurement::ToString(m, buffer, 8, kFeetInchesSixteenths, gShortNameTable);
    FAIL();
  } catch (Measurement::Error e) {
    EXPECT_EQ(int(e), 5);
  }
  EXPECT_THROW(Measurement::ToString(m, nullptr, 16, kFeetInchesSixteenths, gShortNameTable),
               Measurement::Error);
  EXPECT_THROW(Measurement::ToString(m, buffer, 0, kFeetInchesSixteenths, gShortNameTable),
               Measurement::Error);
  // A 12-byte field holds at most 11 characters.
  Measurement::ToString({123.456, gMeters}, buffer, 12, Format({gMeters}, 0, 3), gShortNameTable);
  EXPECT_STREQ(buffer, "123.456m");
}

// Writing a value in each of the program's formats and reading the text back gives the value
// within the format's precision.
TEST(MeasurementWrite, WrittenValuesReadBack) {
  struct FormatCase {
    Format format;
    bool angle;
  } formats[] = {
      {Format({gMiles}, Format::kDecimals, 3), false},
      {Format({gFeet}, Format::kDecimals, 3), false},
      {Format({gFeet, gInches}, Format::kDecimals, 2), false},
      {Format({gFeet, gInches}, Format::kFractions, 32), false},
      {kFeetInchesSixteenths, false},
      {Format({gInches}, Format::kDecimals, 2), false},
      {Format({gInches}, Format::kFractions, 32), false},
      {Format({gKilometers}, Format::kDecimals, 3), false},
      {Format({gMeters}, Format::kDecimals, 3), false},
      {Format({gMeters, gCentimeters}, Format::kDecimals, 1), false},
      {Format({gCentimeters}, Format::kDecimals, 1), false},
      {Format({gMillimeters}, Format::kDecimals, 0), false},
      {Format({gDegrees}, Format::kDecimals, 2), true},
      {Format({gDegrees, gMinutes}, Format::kDecimals, 0), true},
      {Format({gDegrees, gMinutes, gSeconds}, Format::kDecimals, 0), true},
      {Format({gRadians}, Format::kDecimals, 4), true},
  };
  std::mt19937 random(20240611);
  std::uniform_real_distribution<double> small(-3.0, 3.0), large(-20000.0, 20000.0);
  std::vector<double> values = {0.0, 5.2604, 5 + 11.99 / 12, -0.5, 1.0 / 3.0, 359.999, 1e-9};
  for (int i = 0; i < 1000; ++i) values.push_back(i % 2 ? small(random) : large(random));

  for (const FormatCase& fc : formats) {
    const Format& f = fc.format;
    const UnitBase model = fc.angle ? gDegrees : gFeet;
    const NameToUnitTable& names = fc.angle ? gShortAngleNameTable : gShortLengthNameTable;
    const UnitBase& last = f.units[f.unitCount - 1];
    const double step = f.style == Format::kFractions ? 1.0 / f.precision : std::pow(10.0, -f.precision);
    const double tolerance = 0.5 * step * last.Ratio(model);
    for (double v : values) {
      char text[64];
      Measurement::ToString({v, model}, text, sizeof text, f, gShortNameTable);
      Measurement back = Measurement::Parse(text, names, f.units[0]);
      ASSERT_NEAR(back.ValueIn(model), v, tolerance * (1 + 1e-9) + 1e-12 * std::fabs(v))
          << "format " << f.unitCount << " units, text " << text;
    }
  }
}
