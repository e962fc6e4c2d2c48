#include "TextLines.h"

#include <cctype>
#include <cmath>

#include "DETException.h"
#include "Measurement.h"
#include "NameToUnitTable.h"
#include "PString.h"
#include "Refusal.h"
#include "Resources.h"

namespace vltext {

namespace {
constexpr const char* kEndsEarly = "the text ends before the value";
}  // namespace

void FailAt(std::istream& in, std::streampos position, const char* reason) {
  vlcore::NoteRefusal(reason);
  in.clear();
  if (position != std::streampos(-1)) in.seekg(position);
  in.setstate(std::ios::failbit);
}

void SkipBlanks(std::istream& in) {
  while (in.peek() == ' ' || in.peek() == '\t') in.get();
}

bool ReadRestOfLine(std::istream& in, char delimiter, std::string* out, LongLine longLine) {
  out->clear();
  if (!in.good()) {
    vlcore::NoteRefusal(kEndsEarly);
    in.setstate(std::ios::failbit);
    return false;
  }
  SkipBlanks(in);
  const std::streampos start = in.tellg();
  bool any = false;
  for (;;) {
    const int c = in.get();
    if (c == std::char_traits<char>::eof()) {
      // The end of the input ends the last line; with nothing read there is no line.
      if (!any) return vlcore::Refuse(false, kEndsEarly);
      in.clear(in.rdstate() & ~std::ios::failbit);
      return true;
    }
    any = true;
    if (c == '\r') {
      if (in.peek() == '\n') in.get();
      return true;
    }
    if (c == delimiter || c == '\n') return true;
    if (int(out->size()) < kMaxLineLength) {
      out->push_back(char(c));
    } else if (longLine == LongLine::kFail) {
      FailAt(in, start, "a line is longer than 255 characters");
      out->clear();
      return false;
    }
  }
}

std::string ReadWord(std::istream& in) {
  std::string word;
  if (!in.good()) return word;
  in >> std::ws;
  while (in.good()) {
    const int c = in.peek();
    if (c == std::char_traits<char>::eof() || std::isspace(c)) break;
    in.get();
    if (int(word.size()) < kMaxLineLength) word.push_back(char(c));
  }
  // Running into the end of the input after a word is no failure of that word.
  if (!word.empty() && in.eof()) in.clear(in.rdstate() & ~std::ios::eofbit);
  return word;
}

bool ReadInteger(std::istream& in, long low, long high, long* out) {
  if (!in.good()) {
    vlcore::NoteRefusal(kEndsEarly);
    in.setstate(std::ios::failbit);
    return false;
  }
  const std::streampos start = in.tellg();
  long value = 0;
  if (!(in >> value)) {
    FailAt(in, start, "a whole number is missing");
    return false;
  }
  if (value < low || value > high) {
    FailAt(in, start, "a number is out of its range");
    return false;
  }
  *out = value;
  return true;
}

bool ReadShort(std::istream& in, SInt16* out) { return ReadShortInRange(in, -32768, 32767, out); }

bool ReadShortInRange(std::istream& in, SInt16 low, SInt16 high, SInt16* out) {
  long value = 0;
  if (!ReadInteger(in, low, high, &value)) return false;
  *out = SInt16(value);
  return true;
}

bool ReadDouble(std::istream& in, double* out) {
  if (!in.good()) {
    vlcore::NoteRefusal(kEndsEarly);
    in.setstate(std::ios::failbit);
    return false;
  }
  const std::streampos start = in.tellg();
  double value = 0.0;
  if (!(in >> value)) {
    FailAt(in, start, "a number is missing");
    return false;
  }
  *out = value;
  return true;
}

void TakeIfNext(std::istream& in, char c) {
  if (!in.good()) return;
  in >> std::ws;
  if (in.peek() == c) in.get();
}

bool ParseMeasurement(std::string_view text, const NameToUnitTable& names, const UnitBase& bareUnit,
                      const UnitBase& modelUnit, double* out) {
  try {
    const double value = Measurement::Parse(text, names, bareUnit).ValueIn(modelUnit);
    if (!std::isfinite(value)) return vlcore::Refuse(false, "the measurement is too large");
    *out = value;
    return true;
  } catch (Measurement::Error) {
  } catch (UnitBase::Error) {
  }
  return false;
}

double DefaultLength(SInt16 item, double fallback) {
  constexpr SInt16 kDefaultStrings = 2700;
  Str255 text;
  PortGetListString(text, kDefaultStrings, item);
  if (PortResError() != noErr) return fallback;
  double value = 0.0;
  if (!ParseMeasurement(PStrToStd(text), gShortLengthNameTable, gFeet, gFeet, &value) || value <= 0.0) return fallback;
  return value;
}

void WriteCoordinate(std::FILE* file, double value, double factor, double zeroBelow, std::int32_t context) {
  if (std::fabs(value) < zeroBelow || std::isnan(value))
    CheckPrint(std::fputs("0.0 ", file), context);
  else if (std::fabs(value) > 10000000.0)
    CheckPrint(std::fputs("1000.0 ", file), context);
  else
    CheckPrint(std::fprintf(file, "%g ", factor * value), context);
}

void CheckPrint(int result, std::int32_t context) {
  if (result < 0) ThrowIfOSErr(ioErr, context);
}

void CheckStream(std::FILE* file, std::int32_t context) {
  if (!file || std::ferror(file)) ThrowIfOSErr(ioErr, context);
}

}  // namespace vltext
