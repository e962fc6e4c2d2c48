#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "DecimalText.h"
#include "PString.h"

namespace {

struct Reading {
  double value;
  SInt16 index;
  Boolean validPrefix;
};

Reading Read(const std::string& text, SInt16 from = 1) {
  Decimal decimal;
  Boolean valid = false;
  SInt16 index = from;
  PortStringToDecimal(Str255(text), &index, &decimal, &valid);
  return {PortDecimalToNumber(&decimal), index, valid};
}

}  // namespace

TEST(DecimalText, ReadsTheLongestNumberPrefix) {
  struct Case {
    const char* text;
    double value;
    SInt16 index;  // one past what was read
    bool validPrefix;
  };
  const Case cases[] = {
      {"12.5", 12.5, 5, true},  {"12.5 ", 12.5, 5, false},  // the field's trailing blank
      {"  -3", -3.0, 5, true},  {"+.25", 0.25, 5, true},   {"7.", 7.0, 3, true},
      {"1-2", 1.0, 2, false},   {"1.2.3", 1.2, 4, false},  {"2e3", 2000.0, 4, true},
      {"2e", 2.0, 2, true},  // the start of an exponent
      {"2e-", 2.0, 2, true},    {"2ex", 2.0, 2, false},    {"0.000125", 0.000125, 9, true},
      {"00042", 42.0, 6, true}, {"-0", -0.0, 3, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Reading r = Read(c.text);
    EXPECT_DOUBLE_EQ(r.value, c.value);
    EXPECT_EQ(r.index, c.index);
    EXPECT_EQ(bool(r.validPrefix), c.validPrefix);
  }
}

TEST(DecimalText, TextWithoutANumberReadsAsNaN) {
  for (const char* text : {"", " ", "-", ".", "-.", "abc"}) {
    SCOPED_TRACE(text);
    Reading r = Read(text);
    EXPECT_TRUE(std::isnan(r.value));
  }
  EXPECT_TRUE(Read("-").validPrefix);  // could still become a number
  EXPECT_FALSE(Read("abc").validPrefix);
  EXPECT_EQ(Read("  x").index, 3);  // only the blanks were read
}

TEST(DecimalText, StartsAtTheIndexAndKeepsExtremesBounded) {
  EXPECT_DOUBLE_EQ(Read("ab 9.5", 3).value, 9.5);
  EXPECT_DOUBLE_EQ(Read("5", 0).value, 5.0);  // an index below 1 starts at the first character
  // Many digits keep their size; the digits past the kept ones are dropped.
  EXPECT_DOUBLE_EQ(Read(std::string(40, '9')).value, 1e40);
  EXPECT_DOUBLE_EQ(Read("0." + std::string(30, '0') + "3").value, 3e-31);
  EXPECT_TRUE(std::isinf(Read("1e999999999999").value));
  EXPECT_EQ(Read("-1e999").value, -HUGE_VAL);
  EXPECT_EQ(Read("1e-999").value, 0.0);
}
