#include "TextLines.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <type_traits>

#include "DETException.h"
#include "Measurement.h"
#include "NameToUnitTable.h"
#include "PString.h"
#include "Refusal.h"
#include "Resources.h"
#include "UnitToNameTable.h"

namespace vltext {

namespace {

constexpr const char* kEndsEarly = "the text ends before the value";
constexpr int kEof = std::char_traits<char>::eof();

// ---- Reading straight from the stream's buffer ----
// The stream's own >>, std::ws, peek and get build a sentry and go through the locale for
// every character or number; a document holds hundreds of thousands of them. These read the
// buffer itself and leave the stream's state and position exactly as those calls would.

// White space as the classic locale has it.
bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// Skips white space as a formatted read does; at the end the stream is failed and at its end.
// `consumed` counts the characters taken.
bool SkipSpace(std::istream& in, std::size_t* consumed) {
  std::streambuf* buf = in.rdbuf();
  for (int c = buf->sgetc();; c = buf->snextc(), ++*consumed) {
    if (c == kEof) {
      in.setstate(std::ios::eofbit | std::ios::failbit);
      return false;
    }
    if (!IsSpace(c)) return true;
  }
}

// The characters of one number: on the stack, and in a string only for a number longer than
// any a file writes.
class NumberText {
 public:
  void push_back(char c) {
    if (size_ < kShort) {
      short_[size_++] = c;
      return;
    }
    if (size_ == kShort) long_.assign(short_, kShort);
    long_.push_back(c);
    ++size_;
  }
  const char* data() const { return size_ <= kShort ? short_ : long_.data(); }
  std::size_t size() const { return size_; }
  std::string str() const { return std::string(data(), size_); }

 private:
  static constexpr std::size_t kShort = 64;
  char short_[kShort];
  std::size_t size_ = 0;
  std::string long_;
};

// The text of a floating-point number as the classic locale's number reader takes it: a sign,
// digits with one decimal point, and after a digit an exponent with its own sign and digits.
// Everything taken is consumed, also when it makes no number.
bool TakeFloatText(std::streambuf* buf, NumberText* text) {
  int c = buf->sgetc();
  if (c == '+' || c == '-') {
    text->push_back(char(c));
    c = buf->snextc();
  }
  bool point = false, exponent = false, digits = false;
  for (;; c = buf->snextc()) {
    if (c == kEof) return true;
    if (IsDigit(c)) {
      digits = true;
    } else if (c == '.' && !point && !exponent) {
      point = true;
    } else if ((c == 'e' || c == 'E') && !exponent && digits) {
      exponent = true;
      text->push_back('e');
      c = buf->snextc();
      if (c == kEof) return true;
      if (c != '+' && c != '-') {
        if (!IsDigit(c)) return false;
        text->push_back(char(c));
        continue;
      }
    } else {
      return false;
    }
    text->push_back(char(c));
  }
}

// Converts the whole text; a leading plus is the reader's, not from_chars'.
bool Convert(const NumberText& text, double* value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  if (first == last || *first == '+') return false;
  const auto [end, error] = std::from_chars(first, last, *value);
  if (error == std::errc::result_out_of_range) {
    // Too small to be held comes out as zero or a tiny number, as the stream's reader gives it.
    const double slow = std::strtod(text.str().c_str(), nullptr);
    if (std::isinf(slow)) return false;
    *value = slow;
    return true;
  }
  return error == std::errc() && end == last;
}

// A whole number as the classic locale's number reader takes it: a sign and decimal digits,
// added up as they are taken. Everything taken is consumed, also when it makes no number; true
// when the input ended there.
bool TakeInteger(std::streambuf* buf, long* value, bool* ok, std::size_t* consumed) {
  int c = buf->sgetc();
  const bool negative = c == '-';
  if (c == '+' || c == '-') {
    ++*consumed;
    c = buf->snextc();
  }
  // The smallest long has one more in its magnitude than the largest.
  const unsigned long limit = negative ? (unsigned long)(LONG_MAX) + 1 : (unsigned long)(LONG_MAX);
  unsigned long magnitude = 0;
  bool digits = false, overflow = false;
  for (; IsDigit(c); c = buf->snextc(), ++*consumed) {
    digits = true;
    const unsigned long digit = (unsigned long)(c - '0');
    if (magnitude > (limit - digit) / 10)
      overflow = true;
    else
      magnitude = magnitude * 10 + digit;
  }
  *ok = digits && !overflow;
  if (*ok) *value = negative ? long(0UL - magnitude) : long(magnitude);
  return c == kEof;
}

// `in >> *value` for a whole or floating-point number. `consumed` counts the characters taken,
// so that a caller can go back before them.
template <typename Number>
bool Extract(std::istream& in, Number* value, std::size_t* consumed) {
  if (!in.good()) {
    in.setstate(std::ios::failbit);
    return false;
  }
  if (!SkipSpace(in, consumed)) return false;
  bool ok = false, atEnd = false;
  if constexpr (std::is_floating_point_v<Number>) {
    NumberText text;
    atEnd = TakeFloatText(in.rdbuf(), &text);
    *consumed += text.size();
    ok = Convert(text, value);
  } else {
    atEnd = TakeInteger(in.rdbuf(), value, &ok, consumed);
  }
  std::ios::iostate state = atEnd ? std::ios::eofbit : std::ios::goodbit;
  if (!ok) state |= std::ios::failbit;
  if (state != std::ios::goodbit) in.setstate(state);
  return ok;
}

// Back before the characters a failed read took, failing the stream with the reason.
void FailBefore(std::istream& in, std::size_t consumed, const char* reason) {
  in.clear();
  FailAt(in, in.tellg() - std::streamoff(consumed), reason);
}

}  // namespace

bool Take(std::istream& in, double* value) {
  std::size_t consumed = 0;
  return Extract(in, value, &consumed);
}

void FailAt(std::istream& in, std::streampos position, const char* reason) {
  vlcore::NoteRefusal(reason);
  in.clear();
  if (position != std::streampos(-1)) in.seekg(position);
  in.setstate(std::ios::failbit);
}

void SkipBlanks(std::istream& in) {
  if (!in.good()) {
    in.setstate(std::ios::failbit);
    return;
  }
  std::streambuf* buf = in.rdbuf();
  int c = buf->sgetc();
  while (c == ' ' || c == '\t') c = buf->snextc();
  if (c == kEof) in.setstate(std::ios::eofbit | std::ios::failbit);
}

bool ReadRestOfLine(std::istream& in, char delimiter, std::string* out, LongLine longLine) {
  out->clear();
  if (!in.good()) {
    vlcore::NoteRefusal(kEndsEarly);
    in.setstate(std::ios::failbit);
    return false;
  }
  SkipBlanks(in);
  if (!in.good()) return vlcore::Refuse(false, kEndsEarly);
  const std::streampos start = in.tellg();
  std::streambuf* buf = in.rdbuf();
  bool any = false;
  for (;;) {
    const int c = buf->sbumpc();
    if (c == kEof) {
      // The end of the input ends the last line; with nothing read there is no line.
      if (!any) {
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return vlcore::Refuse(false, kEndsEarly);
      }
      in.setstate(std::ios::eofbit);
      return true;
    }
    any = true;
    if (c == '\r') {
      const int next = buf->sgetc();
      if (next == '\n') buf->sbumpc();
      if (next == kEof) in.setstate(std::ios::eofbit);
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
  std::streambuf* buf = in.rdbuf();
  int c = buf->sgetc();
  while (IsSpace(c)) c = buf->snextc();
  // Running into the end of the input after a word is no failure of that word.
  if (c == kEof) in.setstate(std::ios::eofbit);
  for (; c != kEof && !IsSpace(c); c = buf->snextc())
    if (int(word.size()) < kMaxLineLength) word.push_back(char(c));
  return word;
}

bool ReadInteger(std::istream& in, long low, long high, long* out) {
  if (!in.good()) {
    vlcore::NoteRefusal(kEndsEarly);
    in.setstate(std::ios::failbit);
    return false;
  }
  std::size_t consumed = 0;
  long value = 0;
  if (!Extract(in, &value, &consumed)) {
    FailBefore(in, consumed, "a whole number is missing");
    return false;
  }
  if (value < low || value > high) {
    FailBefore(in, consumed, "a number is out of its range");
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
  std::size_t consumed = 0;
  double value = 0.0;
  if (!Extract(in, &value, &consumed)) {
    FailBefore(in, consumed, "a number is missing");
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

std::string ShowMeasurement(double value, const UnitBase& modelUnit, const Format& format) {
  char buffer[256];
  try {
    Measurement::ToString(Measurement(value, modelUnit), buffer, sizeof buffer, format, gShortNameTable);
    return buffer;
  } catch (Measurement::Error) {
  } catch (Format::Error) {
  } catch (UnitBase::Error) {
  }
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
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
