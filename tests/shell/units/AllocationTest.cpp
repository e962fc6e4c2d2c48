// Reading measurements is done for every keystroke-confirmed field and every settings line, so
// it must not allocate; this program counts the allocations made while it parses.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "Format.h"
#include "Measurement.h"
#include "NameToUnitTable.h"
#include "UnitToNameTable.h"

namespace {
std::atomic<long> gAllocations{0};
}

[[gnu::noinline]] void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(UnitsAllocation, ParsingAndBoundedWritingDoNotAllocate) {
  const std::vector<std::string> lengths = {"5'3 1/2\"",       "2m30cm", "12",
                                            "-3/4 + 1' - 2\"", ".5 mm",  "1e3 km"};
  const std::vector<std::string> angles = {
      "30\xA1"
      "15'20\"",
      "45", "1.5 rad", "-10 deg 30 min"};
  const Format feetInches({gFeet, gInches}, Format::kFractions, 16);
  const Format degrees({gDegrees, gMinutes, gSeconds}, Format::kDecimals, 0);
  char text[64];
  double sum = 0.0;

  long before = gAllocations.load();
  for (int round = 0; round < 100; ++round) {
    for (const std::string& s : lengths) {
      Measurement m = Measurement::Parse(s.c_str(), gShortLengthNameTable, gFeet);
      sum += m.ValueIn(gFeet);
      Measurement::ToString(m, text, sizeof text, feetInches, gShortNameTable);
    }
    for (const std::string& s : angles) {
      Measurement m = Measurement::Parse(s.c_str(), gShortAngleNameTable, gDegrees);
      sum += m.ValueIn(gDegrees);
      Measurement::ToString(m, text, sizeof text, degrees, gShortNameTable);
    }
    Format f("Feet Inches/16", gLengthNameTable);
    f.ToString(text, sizeof text);
  }
  long after = gAllocations.load();
  EXPECT_EQ(after - before, 0);
  EXPECT_NE(sum, 0.0);

  // The counter does see allocations.
  std::vector<char> block(1000, 'x');
  EXPECT_GT(gAllocations.load(), after);
  EXPECT_EQ(block[999], 'x');
}
