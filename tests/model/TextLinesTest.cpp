#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <sstream>
#include <string>

#include "TextLines.h"

namespace {

// The readers take numbers and words from the stream's buffer themselves, through pointers for
// text in memory and through the buffer's calls for any other; the stream's own calls are the
// oracle: the same values, the same state and the same position afterwards.
struct After {
  std::ios::iostate state;
  long position;  // -1 when the stream is failed
  std::string rest;
  bool operator==(const After&) const = default;
};

After Observe(std::istream& in) {
  After after{in.rdstate(), in.fail() ? -1L : long(in.tellg()), {}};
  in.clear();
  std::getline(in, after.rest, '\0');
  return after;
}

// The word reader as the stream's own calls give it.
std::string StreamWord(std::istream& in) {
  std::string word;
  if (!in.good()) return word;
  in >> std::ws;
  while (in.good()) {
    const int c = in.peek();
    if (c == std::char_traits<char>::eof() || std::isspace(c)) break;
    in.get();
    word.push_back(char(c));
  }
  if (!word.empty() && in.eof()) in.clear(in.rdstate() & ~std::ios::eofbit);
  return word;
}

std::string RandomText(std::mt19937& random) {
  static const char kAlphabet[] = "0123456789+-.eE \n\tx/";
  std::uniform_int_distribution<int> length(0, 12), pick(0, sizeof kAlphabet - 2);
  std::string text;
  for (int n = length(random); n > 0; --n) text.push_back(kAlphabet[pick(random)]);
  return text;
}

// The text through a string stream, or held in memory.
class Source {
 public:
  Source(const std::string& text, bool inMemory) : text_(text), memory_(text_), string_(text_), in_(&string_) {
    if (inMemory) in_.rdbuf(&memory_);
  }
  std::istream& in() { return in_; }

 private:
  std::string text_;
  vltext::MemoryTextBuffer memory_;
  std::stringbuf string_;
  std::istream in_;
};

void CompareNumbers(const std::string& text, bool inMemory) {
  SCOPED_TRACE("text \"" + text + (inMemory ? "\" in memory" : "\" in a string stream"));
  Source mine(text, inMemory);
  std::istringstream theirs(text);
  double value = -7.0, expected = -7.0;
  const bool took = vltext::Take(mine.in(), &value);
  const bool expectedTook = bool(theirs >> expected);
  EXPECT_EQ(took, expectedTook);
  if (took && expectedTook) {
    EXPECT_EQ(value, expected);
  }
  EXPECT_EQ(Observe(mine.in()), Observe(theirs));

  // A whole number: the stream's >> with the reader's range check and its going back.
  Source mineInt(text, inMemory);
  std::istringstream theirsInt(text);
  long number = 0, expectedNumber = 0;
  const bool read = vltext::ReadInteger(mineInt.in(), -1000, 1000, &number);
  const std::streampos start = theirsInt.tellg();
  bool expectedRead = bool(theirsInt >> expectedNumber) && expectedNumber >= -1000 && expectedNumber <= 1000;
  if (!expectedRead) {
    theirsInt.clear();
    theirsInt.seekg(start);
    theirsInt.setstate(std::ios::failbit);
  }
  EXPECT_EQ(read, expectedRead);
  if (read) {
    EXPECT_EQ(number, expectedNumber);
  }
  EXPECT_EQ(Observe(mineInt.in()), Observe(theirsInt));

  Source mineWord(text, inMemory);
  std::istringstream theirsWord(text);
  EXPECT_EQ(vltext::ReadWord(mineWord.in()), StreamWord(theirsWord));
  EXPECT_EQ(Observe(mineWord.in()), Observe(theirsWord));
}

TEST(TextLines, NumbersAndWordsAreTakenAsTheStreamTakesThem) {
  for (const char* text : {"", " ", "12", " 12 ", "-0", "+5", "+", "-", ".", "5.", ".5", "-.5e2", "1e", "1e+",
                           "1E-3x", "3else", "0x1p3", "inf", "nan", "1e400", "-1e400", "1e-400", "4.9e-324",
                           "99999999999999999999", "-9223372036854775808", "1.2.3", "12abc", "\n\t 7\r", "1 2"})
    for (bool inMemory : {false, true}) CompareNumbers(text, inMemory);
  std::mt19937 random(27);
  for (int i = 0; i < 20000; ++i) {
    const std::string text = RandomText(random);
    for (bool inMemory : {false, true}) CompareNumbers(text, inMemory);
  }
}

// Reading several values in one call gives what reading them one by one gives: the values, the
// count, the state and the position; a word taken only when it is the one asked for.
void CompareLists(const std::string& text, bool inMemory) {
  SCOPED_TRACE("text \"" + text + (inMemory ? "\" in memory" : "\" in a string stream"));
  Source mine(text, inMemory), theirs(text, inMemory);
  double values[3] = {}, expected[3] = {};
  int expectedCount = 0;
  while (expectedCount < 3 && vltext::Take(theirs.in(), &expected[expectedCount])) ++expectedCount;
  EXPECT_EQ(vltext::TakeNumbers(mine.in(), values, 3), expectedCount);
  for (int i = 0; i < expectedCount; ++i) EXPECT_EQ(values[i], expected[i]);
  EXPECT_EQ(Observe(mine.in()), Observe(theirs.in()));

  Source mineInt(text, inMemory), theirsInt(text, inMemory);
  SInt16 numbers[3] = {};
  long expectedNumbers[3] = {};
  expectedCount = 0;
  while (expectedCount < 3 && vltext::ReadInteger(theirsInt.in(), 0, 99, &expectedNumbers[expectedCount]))
    ++expectedCount;
  EXPECT_EQ(vltext::ReadIntegers(mineInt.in(), SInt16(0), SInt16(99), numbers, 3), expectedCount);
  for (int i = 0; i < expectedCount; ++i) EXPECT_EQ(numbers[i], expectedNumbers[i]);
  EXPECT_EQ(Observe(mineInt.in()), Observe(theirsInt.in()));

  for (const char* word : {"1", "12", "e"}) {
    Source mineWord(text, inMemory), theirsWord(text, inMemory);
    const std::streampos at = theirsWord.in().tellg();
    const bool expectedTaken = vltext::ReadWord(theirsWord.in()) == word;
    if (!expectedTaken) {
      theirsWord.in().clear();
      theirsWord.in().seekg(at);
    }
    EXPECT_EQ(vltext::TakeWord(mineWord.in(), word), expectedTaken) << word;
    EXPECT_EQ(Observe(mineWord.in()), Observe(theirsWord.in())) << word;
  }
}

TEST(TextLines, ListsAreReadAsTheirValuesOneByOne) {
  for (const char* text : {"", "1 2 3", "1 2", "1 2 ", "12 1e 3", "5 -1 7", "1 200 3", " 1\n2\t3 4", "e 1"})
    for (bool inMemory : {false, true}) CompareLists(text, inMemory);
  std::mt19937 random(2727);
  for (int i = 0; i < 5000; ++i) {
    const std::string text = RandomText(random) + " " + RandomText(random);
    for (bool inMemory : {false, true}) CompareLists(text, inMemory);
  }
}

// Words longer than a line are cut, in memory as through a stream.
TEST(TextLines, ALongWordIsCutToALine) {
  const std::string text = std::string(300, 'w') + " next";
  for (bool inMemory : {false, true}) {
    Source source(text, inMemory);
    EXPECT_EQ(vltext::ReadWord(source.in()), std::string(vltext::kMaxLineLength, 'w'));
    EXPECT_EQ(vltext::ReadWord(source.in()), "next");
  }
}

TEST(TextLines, ARestOfLineEndsAtAnyLineEndOrTheInput) {
  struct Case {
    const char* text;
    bool read;
    const char* line;
    std::ios::iostate state;
    const char* rest;
  } cases[] = {
      {"  name\rnext", true, "name", std::ios::goodbit, "next"},
      {"name\r\nnext", true, "name", std::ios::goodbit, "next"},
      {"name\r", true, "name", std::ios::eofbit, ""},
      {"name", true, "name", std::ios::eofbit, ""},
      {"\nnext", true, "", std::ios::goodbit, "next"},
      {"   ", false, "", std::ios::eofbit | std::ios::failbit, ""},
      {"", false, "", std::ios::eofbit | std::ios::failbit, ""},
  };
  for (const Case& c : cases) {
    for (bool inMemory : {false, true}) {
      SCOPED_TRACE(std::string(c.text) + (inMemory ? " in memory" : " in a string stream"));
      Source source(c.text, inMemory);
      std::istream& in = source.in();
      std::string line;
      EXPECT_EQ(vltext::ReadRestOfLine(in, '\r', &line, vltext::LongLine::kCut), c.read);
      EXPECT_EQ(line, c.line);
      EXPECT_EQ(in.rdstate(), c.state);
      in.clear();
      std::string rest;
      std::getline(in, rest, '\0');
      EXPECT_EQ(rest, c.rest);
    }
  }
}

// A settings line that is too long is refused where it starts, so that the alert quotes it; a
// seek outside text in memory fails as it does in a string stream.
TEST(TextLines, ALongLineFailsAtItsStartAndSeeksStayWithinTheText) {
  const std::string text = "key " + std::string(300, 'x') + "\nnext";
  for (bool inMemory : {false, true}) {
    SCOPED_TRACE(inMemory ? "in memory" : "in a string stream");
    Source source(text, inMemory);
    std::istream& in = source.in();
    EXPECT_EQ(vltext::ReadWord(in), "key");
    std::string line;
    EXPECT_FALSE(vltext::ReadRestOfLine(in, '\n', &line, vltext::LongLine::kFail));
    EXPECT_EQ(in.rdstate(), std::ios::failbit);
    in.clear();
    EXPECT_EQ(long(in.tellg()), 4L);
    in.seekg(std::streamoff(text.size()) + 1);
    EXPECT_TRUE(in.fail());
    in.clear();
    EXPECT_EQ(long(in.tellg()), 4L);
    in.seekg(-4, std::ios::end);
    EXPECT_EQ(vltext::ReadWord(in), "next");
    EXPECT_EQ(in.rdstate(), std::ios::goodbit);
  }
}

}  // namespace
