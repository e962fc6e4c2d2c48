#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

#include "Measurement.h"
#include "NameToUnitTable.h"

namespace {

// What a parse gives: a measurement, or the error value it threw.
using Outcome = std::variant<Measurement, Measurement::Error, UnitBase::Error>;

Outcome ParseOutcome(const std::string& text, const NameToUnitTable& names, const UnitBase& defaultUnit) {
  try {
    return Measurement::Parse(text.c_str(), names, defaultUnit);
  } catch (Measurement::Error e) {
    return e;
  } catch (UnitBase::Error e) {
    return e;
  }
}

std::string Describe(const Outcome& o) {
  if (auto* m = std::get_if<Measurement>(&o))
    return std::to_string(m->value) + " in (" + std::to_string(m->unit.kind) + ", " +
           std::to_string(m->unit.factor) + ")";
  if (auto* e = std::get_if<Measurement::Error>(&o)) return "Measurement::Error " + std::to_string(int(*e));
  return "UnitBase::Error " + std::to_string(int(std::get<UnitBase::Error>(o)));
}

const Measurement::Error kTextLeft = Measurement::Error::kTextLeft;
const Measurement::Error kNumberExpected = Measurement::Error::kNumberExpected;
const Measurement::Error kNoUnitToFollow = Measurement::Error::kNoUnitToFollow;
const Measurement::Error kSlashMissing = Measurement::Error::kSlashMissing;
const Measurement::Error kZeroDenominator = Measurement::Error::kZeroDenominator;
const UnitBase::Error kKindMismatch = UnitBase::Error::kKindMismatch;

struct Case {
  std::string text;
  Outcome expected;
  const NameToUnitTable* names = &gShortLengthNameTable;
  UnitBase defaultUnit = gFeet;
};

void Check(const Case& c) {
  Outcome got = ParseOutcome(c.text, *c.names, c.defaultUnit);
  SCOPED_TRACE("text: \"" + c.text + "\" gave " + Describe(got) + ", expected " + Describe(c.expected));
  ASSERT_EQ(got.index(), c.expected.index());
  if (auto* m = std::get_if<Measurement>(&got)) {
    const Measurement& want = std::get<Measurement>(c.expected);
    EXPECT_EQ(m->unit, want.unit);
    EXPECT_NEAR(m->value, want.value, 1e-12 * std::fmax(1.0, std::fabs(want.value)));
  } else if (auto* e = std::get_if<Measurement::Error>(&got)) {
    EXPECT_EQ(*e, std::get<Measurement::Error>(c.expected));
  } else {
    EXPECT_EQ(std::get<UnitBase::Error>(got), std::get<UnitBase::Error>(c.expected));
  }
  EXPECT_EQ(gCurrentNameToUnitTable, nullptr);  // put back on every exit
}

}  // namespace

TEST(MeasurementParse, LengthsAndAngles) {
  const Case cases[] = {
      {"12", Measurement(12, gFeet)},
      {"12", Measurement(12, gInches), &gShortLengthNameTable, gInches},
      {"5'3", Measurement(5.25, gFeet)},  // the bare 3 takes inches
      {"5'3 1/2\"", Measurement(5 + 3.5 / 12.000000000000002, gFeet)},
      {" 5 ' 3  1 / 2 \" ", Measurement(5 + 3.5 / 12.000000000000002, gFeet)},
      {"3/4", Measurement(0.75, gFeet)},
      {".5", Measurement(0.5, gFeet)},
      {"2.", Measurement(2, gFeet)},
      {"1e3mm", Measurement(1000, gMillimeters)},
      {"1.5E-1 m", Measurement(0.15, gMeters)},
      {"2m30cm", Measurement(2.3, gMeters)},
      {"2 m 30 cm", Measurement(2.3, gMeters)},
      {"3 IN", Measurement(3, gInches)},
      {"5-1/2", Measurement(4.5, gFeet)},
      {"--3", Measurement(3, gFeet)},
      {"-+-3", Measurement(3, gFeet)},
      {"-5'3", Measurement(-5.25, gFeet)},
      {"5 - -3", Measurement(8, gFeet)},
      {"1' + 6\" - 2\"", Measurement(1 + 4 / 12.000000000000002, gFeet)},
      {"6\" + 1'", Measurement(18, gInches)},        // the sum keeps the first term's unit
      {"1m + 1", Measurement(1 + 0.3048, gMeters)},  // a bare term takes the default unit
      {"1mi", Measurement(1, gMiles)},
      {"0.5km", Measurement(0.5, gKilometers)},
      {"30\xA1"
       "15'20",
       Measurement(30 + 15 / 60.0 + 20 / 3600.0, gDegrees), &gShortAngleNameTable, gDegrees},
      {"30deg 15min 20sec", Measurement(30 + 15 / 60.0 + 20 / 3600.0, gDegrees), &gShortAngleNameTable,
       gDegrees},
      {"45", Measurement(45, gDegrees), &gShortAngleNameTable, gDegrees},
      {"1.5 rad", Measurement(1.5, gRadians), &gShortAngleNameTable, gDegrees},
      {"10'30", Measurement(10.5, gMinutes), &gShortAngleNameTable, gDegrees},  // seconds follow minutes
      {"Feet", Measurement::Error::kNumberExpected, &gLengthNameTable},
      {"5 feet 3 inches", Measurement(5.25, gFeet), &gLengthNameTable},
  };
  for (const Case& c : cases) Check(c);
}

TEST(MeasurementParse, Errors) {
  const Case cases[] = {
      {"5'3\"1/2", kKindMismatch},  // the bare half after inches keeps no unit
      {"2m 30", kKindMismatch},     // no smaller unit after meters
      {"30\xA1"
       "15'20\" 5",
       kKindMismatch, &gShortAngleNameTable, gDegrees},
      {"1/2 3", kNoUnitToFollow},
      {"1/2 3'", kKindMismatch},  // a part with a unit after a bare one meets no unit
      {"5 3'", kSlashMissing},
      {"5 3", kSlashMissing},
      {"5'3 4", kSlashMissing},
      {"30\xA1"
       "15 20",
       kSlashMissing, &gShortAngleNameTable, gDegrees},
      {"3/0", kZeroDenominator},
      {"3/0.0e5", kZeroDenominator},
      {"1 1/0", kZeroDenominator},
      {"", kNumberExpected},
      {"   \t\n ", kNumberExpected},
      {"-", kNumberExpected},
      {"5 +", kNumberExpected},
      {"3/", kNumberExpected},
      {"3/'", kNumberExpected},
      {"1 1/", kNumberExpected},
      {"'", kNumberExpected},
      {"feet", kNumberExpected},  // not a unit in the short table, and no number
      {"12 feet", kTextLeft},
      {"12 ft ,", kTextLeft},
      {"1/2/3", kTextLeft},
      {"5 '' ", kTextLeft},
      {"5x", kTextLeft},
      {"0x10", kTextLeft},
      {"5\xA1", kTextLeft},  // an angle mark is no length unit
      {"30 ft", kTextLeft, &gShortAngleNameTable, gDegrees},
      {"2 in", kTextLeft, &gShortAngleNameTable, gDegrees},
      {"1m + 1\xA1", kTextLeft},
      {"1m + 1rad", kTextLeft},
      {"12\0 ft", Measurement(12, gFeet)},  // the text ends at its zero byte
  };
  for (const Case& c : cases) Check(c);
}

TEST(MeasurementParse, MalformedAndHugeNumbers) {
  const std::string thousandDigits(3000, '7');
  const Case cases[] = {
      {".", kNumberExpected},   // a lone point is no number
      {"5e", kNumberExpected},  // an exponent without digits
      {"5e+ ft", kNumberExpected},
      {"1e999", kNumberExpected},  // beyond a double
      {"1e-999", kNumberExpected},
      {"1e99999999999999999999999", kNumberExpected},
      {thousandDigits, kNumberExpected},
      {"0." + thousandDigits, Measurement(0.7777777777777778, gFeet)},
      {"1" + std::string(300, '0') + "/1" + std::string(300, '0'), Measurement(1, gFeet)},
      {"1e308 + 1e308", kNumberExpected},  // a sum beyond a double
      {"1e300 / 1e-300", kNumberExpected},
      {"1e308 km", Measurement(1e308, gKilometers)},
      {"5 ' .", kTextLeft},
      {"1.2.3", kSlashMissing},  // 1.2 then .3: a number after a number
  };
  for (const Case& c : cases) Check(c);
}

TEST(MeasurementParse, LongInputsEndQuickly) {
  // Thousands of signs, units and parts: read in one pass, no deep recursion.
  Check({std::string(100000, '-') + "3", Measurement(3, gFeet)});
  Check({std::string(100001, '-') + "3", Measurement(-3, gFeet)});
  std::string sum = "0";
  for (int i = 0; i < 20000; ++i) sum += " + 1/2\"";
  Check({sum, Measurement(10000 / 12.000000000000002, gFeet)});
  Check({"1 " + std::string(50000, '\''), kTextLeft});
  Check({std::string(50000, 'a'), kNumberExpected});
  Check({"1 " + std::string(50000, 'm'), kTextLeft});  // only 15 letters of a word are kept
}

TEST(MeasurementParse, NullTextAndConversions) {
  EXPECT_THROW(Measurement::Parse(static_cast<const char*>(nullptr), gShortLengthNameTable, gFeet),
               Measurement::Error);
  Measurement m = Measurement::Parse("5'3 1/2\"", gShortLengthNameTable, gLengthEntryUnit);
  EXPECT_EQ(m.unit, gFeet);
  EXPECT_NEAR(m.ValueIn(gInches), 63.5, 1e-12);
  EXPECT_NEAR(m.ValueIn(gMeters), 1.6129, 1e-12);  // GNU Units: 5 ft + 3.5 in = 1.6129 m
  EXPECT_EQ(m.ValueIn(gFeet), m.value);            // the same unit gives the value itself
  EXPECT_THROW(m.ValueIn(gDegrees), UnitBase::Error);
  // A bare number in a document whose units are not set yet stays in the invalid unit.
  EXPECT_EQ(Measurement::Parse("3", gShortLengthNameTable, gInvalidUnit).unit, gInvalidUnit);
  EXPECT_EQ(Measurement().unit, gInvalidUnit);
  EXPECT_EQ(Measurement().value, 0.0);
}
