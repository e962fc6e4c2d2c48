#include "TextLines.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <type_traits>
#include <typeinfo>

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

// ---- Reading straight from the buffer ----
// The stream's own >>, std::ws, peek and get build a sentry and go through the locale for
// every character or number; a document holds hundreds of thousands of them. These readers
// take the characters themselves, through a cursor: plain pointers over a MemoryTextBuffer, or
// the calls of any other stream buffer. They leave the stream's state and position exactly as
// the stream's own calls would.

// White space as the classic locale has it.
bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// Characters from text held in memory. The position goes back into the buffer only when the
// reader is done (Commit), so that the loops keep it in a register.
class MemoryCursor {
 public:
  using Mark = const char*;
  explicit MemoryCursor(MemoryTextBuffer* buffer) : buffer_(buffer), next_(buffer->Next()), end_(buffer->End()) {}
  int Get() const { return next_ < end_ ? int((unsigned char)(*next_)) : kEof; }
  // Passes over the current character and answers the next one.
  int Skip() {
    if (next_ < end_) ++next_;
    return Get();
  }
  // Takes the current character into the value's text and answers the next one.
  int Take() { return Skip(); }
  void BeginText() { text_ = next_; }
  std::string_view Text() const { return std::string_view(text_, std::size_t(next_ - text_)); }
  Mark Here() const { return next_; }
  // Goes back to a mark and fails the stream there, noting the reason.
  void FailAt(std::istream& in, Mark mark, const char* reason) {
    vlcore::NoteRefusal(reason);
    next_ = mark;
    in.clear();
    in.setstate(std::ios::failbit);
  }
  void Commit() { buffer_->MoveTo(next_); }

  // White space and then a whole number of plain digits (no sign, fewer than 18 digits, so that
  // it cannot overflow), taken as the stream's rules take it. False, with nothing taken, for
  // anything else.
  bool TakePlainInteger(long* value, bool* atEnd) {
    const char* p = next_;
    while (p < end_ && IsSpace((unsigned char)(*p))) ++p;
    const char* first = p;
    long number = 0;
    for (; p < end_ && IsDigit(*p) && p - first < 17; ++p) number = number * 10 + (*p - '0');
    if (p == first || (p < end_ && IsDigit(*p))) return false;
    *value = number;
    *atEnd = p == end_;
    next_ = p;
    return true;
  }

  // A number that std::from_chars takes whole, up to white space or the end of the text: the
  // stream's rules take exactly those characters to the same value, so they need not be
  // gathered first. False, with nothing taken, for any other text (a plus sign, a word, a value
  // out of range, a character after the number that the rules must look at).
  bool TakePlainNumber(double* value, bool* atEnd) {
    const char* digits = next_ < end_ && *next_ == '-' ? next_ + 1 : next_;
    if (digits == end_ || !(IsDigit(*digits) || *digits == '.')) return false;  // also "inf" and "nan"
    double number = 0.0;
    const auto [stop, error] = std::from_chars(next_, end_, number);
    if (error != std::errc() || (stop < end_ && !IsSpace((unsigned char)(*stop)))) return false;
    *value = number;
    *atEnd = stop == end_;
    next_ = stop;
    return true;
  }

 private:
  MemoryTextBuffer* buffer_;
  const char* next_;
  const char* end_;
  const char* text_ = nullptr;
};

// Characters through a stream buffer's calls. A number's text is gathered on the stack, and in
// a string only when longer than any a file writes.
class BufferCursor {
 public:
  using Mark = std::size_t;  // characters taken before it
  explicit BufferCursor(std::streambuf* buffer) : buffer_(buffer) {}
  int Get() const { return buffer_->sgetc(); }
  int Skip() {
    const int c = buffer_->snextc();
    ++taken_;
    return c;
  }
  int Take() {
    const int c = buffer_->sgetc();
    if (c == kEof) return c;
    if (size_ < kShort) {
      short_[size_] = char(c);
    } else {
      if (size_ == kShort) long_.assign(short_, kShort);
      long_.push_back(char(c));
    }
    ++size_;
    return Skip();
  }
  void BeginText() { size_ = 0; }
  std::string_view Text() const { return std::string_view(size_ <= kShort ? short_ : long_.data(), size_); }
  Mark Here() const { return taken_; }
  void FailAt(std::istream& in, Mark mark, const char* reason) {
    in.clear();
    vltext::FailAt(in, in.tellg() - std::streamoff(taken_ - mark), reason);
  }
  void Commit() {}

 private:
  static constexpr std::size_t kShort = 64;
  std::streambuf* buffer_;
  std::size_t taken_ = 0;
  char short_[kShort];
  std::size_t size_ = 0;
  std::string long_;
};

// Runs a reader over the cursor that fits the stream's buffer.
template <typename Reader>
auto WithCursor(std::istream& in, Reader read) {
  if (MemoryTextBuffer* buffer = MemoryTextBuffer::Of(in)) {
    MemoryCursor cursor(buffer);
    const auto result = read(cursor);
    cursor.Commit();
    return result;
  }
  BufferCursor cursor(in.rdbuf());
  return read(cursor);
}

// Skips white space as a formatted read does; at the end the stream is failed and at its end.
template <typename Cursor>
bool SkipSpace(std::istream& in, Cursor& cursor) {
  for (int c = cursor.Get();; c = cursor.Skip()) {
    if (c == kEof) {
      in.setstate(std::ios::eofbit | std::ios::failbit);
      return false;
    }
    if (!IsSpace(c)) return true;
  }
}

// The text of a floating-point number as the classic locale's number reader takes it: a sign,
// digits with one decimal point, and after a digit an exponent with its own sign and digits.
// Everything taken is consumed, also when it makes no number; true when the input ended there.
template <typename Cursor>
bool TakeFloatText(Cursor& cursor) {
  int c = cursor.Get();
  if (c == '+' || c == '-') c = cursor.Take();
  bool point = false, exponent = false, digits = false;
  for (;;) {
    if (c == kEof) return true;
    if (IsDigit(c)) {
      digits = true;
    } else if (c == '.' && !point && !exponent) {
      point = true;
    } else if ((c == 'e' || c == 'E') && !exponent && digits) {
      exponent = true;
      c = cursor.Take();
      if (c == kEof) return true;
      if (c != '+' && c != '-') {
        if (!IsDigit(c)) return false;
        c = cursor.Take();
        continue;
      }
    } else {
      return false;
    }
    c = cursor.Take();
  }
}

// Converts the whole text; a leading plus is the reader's, not from_chars'.
bool Convert(std::string_view text, double* value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  if (first == last || *first == '+') return false;
  const auto [end, error] = std::from_chars(first, last, *value);
  if (error == std::errc::result_out_of_range) {
    // Too small to be held comes out as zero or a tiny number, as the stream's reader gives it.
    const double slow = std::strtod(std::string(text).c_str(), nullptr);
    if (std::isinf(slow)) return false;
    *value = slow;
    return true;
  }
  return error == std::errc() && end == last;
}

// A whole number as the classic locale's number reader takes it: a sign and decimal digits,
// added up as they are taken. Everything taken is consumed, also when it makes no number; true
// when the input ended there.
template <typename Cursor>
bool TakeInteger(Cursor& cursor, long* value, bool* ok) {
  int c = cursor.Get();
  const bool negative = c == '-';
  if (c == '+' || c == '-') c = cursor.Skip();
  // The smallest long has one more in its magnitude than the largest.
  const unsigned long limit = negative ? (unsigned long)(LONG_MAX) + 1 : (unsigned long)(LONG_MAX);
  unsigned long magnitude = 0;
  bool digits = false, overflow = false;
  for (; IsDigit(c); c = cursor.Skip()) {
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

// `in >> *value` for a whole or floating-point number.
template <typename Number, typename Cursor>
bool Extract(std::istream& in, Cursor& cursor, Number* value) {
  if (!in.good()) {
    in.setstate(std::ios::failbit);
    return false;
  }
  if (!SkipSpace(in, cursor)) return false;
  bool ok = false, atEnd = false;
  if constexpr (std::is_floating_point_v<Number>) {
    if constexpr (std::is_same_v<Cursor, MemoryCursor>) ok = cursor.TakePlainNumber(value, &atEnd);
    if (!ok) {
      cursor.BeginText();
      atEnd = TakeFloatText(cursor);
      ok = Convert(cursor.Text(), value);
    }
  } else {
    atEnd = TakeInteger(cursor, value, &ok);
  }
  std::ios::iostate state = atEnd ? std::ios::eofbit : std::ios::goodbit;
  if (!ok) state |= std::ios::failbit;
  if (state != std::ios::goodbit) in.setstate(state);
  return ok;
}

// Fails a read that finds the stream already failed or at its end.
bool EndsEarly(std::istream& in) {
  vlcore::NoteRefusal(kEndsEarly);
  in.setstate(std::ios::failbit);
  return false;
}

// Whole numbers within [low, high] one after the other on one cursor, up to the first that
// cannot be read, which fails the stream before it; the number read.
template <typename Cursor, typename Integer>
int ReadIntegersWith(std::istream& in, Cursor& cursor, long low, long high, Integer* out, int count) {
  for (int i = 0; i < count; ++i) {
    if (!in.good()) {
      EndsEarly(in);
      return i;
    }
    const auto start = cursor.Here();
    long value = 0;
    bool plain = false, atEnd = false;
    if constexpr (std::is_same_v<Cursor, MemoryCursor>) plain = cursor.TakePlainInteger(&value, &atEnd);
    if (plain) {
      if (atEnd) in.setstate(std::ios::eofbit);
    } else if (!Extract(in, cursor, &value)) {
      cursor.FailAt(in, start, "a whole number is missing");
      return i;
    }
    if (value < low || value > high) {
      cursor.FailAt(in, start, "a number is out of its range");
      return i;
    }
    out[i] = Integer(value);
  }
  return count;
}

}  // namespace

MemoryTextBuffer::MemoryTextBuffer(std::string_view text) {
  char* first = const_cast<char*>(text.data());
  setg(first, first, first + text.size());
}

MemoryTextBuffer* MemoryTextBuffer::Of(std::istream& in) {
  std::streambuf* buffer = in.rdbuf();
  return buffer && typeid(*buffer) == typeid(MemoryTextBuffer) ? static_cast<MemoryTextBuffer*>(buffer) : nullptr;
}

MemoryTextBuffer::pos_type MemoryTextBuffer::seekoff(off_type offset, std::ios_base::seekdir way,
                                                     std::ios_base::openmode which) {
  if (!(which & std::ios_base::in)) return pos_type(off_type(-1));
  const off_type from = way == std::ios_base::beg ? 0 : way == std::ios_base::cur ? gptr() - eback() : egptr() - eback();
  if (offset < -from || offset > (egptr() - eback()) - from) return pos_type(off_type(-1));
  MoveTo(eback() + from + offset);
  return pos_type(from + offset);
}

MemoryTextBuffer::pos_type MemoryTextBuffer::seekpos(pos_type position, std::ios_base::openmode which) {
  return seekoff(off_type(position), std::ios_base::beg, which);
}

std::streampos Tell(std::istream& in) {
  if (in.fail()) return std::streampos(-1);
  if (const MemoryTextBuffer* buffer = MemoryTextBuffer::Of(in)) return std::streampos(buffer->Position());
  return in.tellg();
}

bool Take(std::istream& in, double* value) { return TakeNumbers(in, value, 1) == 1; }

int TakeNumbers(std::istream& in, double* values, int count) {
  return WithCursor(in, [&](auto& cursor) {
    int taken = 0;
    while (taken < count && Extract(in, cursor, &values[taken])) ++taken;
    return taken;
  });
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
  WithCursor(in, [&](auto& cursor) {
    int c = cursor.Get();
    while (c == ' ' || c == '\t') c = cursor.Skip();
    if (c == kEof) in.setstate(std::ios::eofbit | std::ios::failbit);
    return true;
  });
}

bool ReadRestOfLine(std::istream& in, char delimiter, std::string* out, LongLine longLine) {
  out->clear();
  if (!in.good()) return EndsEarly(in);
  SkipBlanks(in);
  if (!in.good()) return vlcore::Refuse(false, kEndsEarly);
  return WithCursor(in, [&](auto& cursor) {
    const auto start = cursor.Here();
    for (int c = cursor.Get();; c = cursor.Get()) {
      if (c == kEof) {
        // The end of the input ends the last line; with nothing read there is no line.
        if (cursor.Here() == start) {
          in.setstate(std::ios::eofbit | std::ios::failbit);
          return vlcore::Refuse(false, kEndsEarly);
        }
        in.setstate(std::ios::eofbit);
        return true;
      }
      const int next = cursor.Skip();
      if (c == '\r') {
        if (next == '\n') cursor.Skip();
        else if (next == kEof) in.setstate(std::ios::eofbit);
        return true;
      }
      if (c == delimiter || c == '\n') return true;
      if (int(out->size()) < kMaxLineLength) {
        out->push_back(char(c));
      } else if (longLine == LongLine::kFail) {
        cursor.FailAt(in, start, "a line is longer than 255 characters");
        out->clear();
        return false;
      }
    }
  });
}

std::string ReadWord(std::istream& in) {
  std::string word;
  if (!in.good()) return word;
  WithCursor(in, [&](auto& cursor) {
    int c = cursor.Get();
    while (IsSpace(c)) c = cursor.Skip();
    // Running into the end of the input after a word is no failure of that word.
    if (c == kEof) in.setstate(std::ios::eofbit);
    if constexpr (std::is_same_v<std::decay_t<decltype(cursor)>, MemoryCursor>) {
      // In memory the word is kept at once.
      cursor.BeginText();
      for (; c != kEof && !IsSpace(c); c = cursor.Skip()) {
      }
      word.assign(cursor.Text().substr(0, kMaxLineLength));
    } else {
      for (; c != kEof && !IsSpace(c); c = cursor.Skip())
        if (int(word.size()) < kMaxLineLength) word.push_back(char(c));
    }
    return true;
  });
  return word;
}

bool TakeWord(std::istream& in, std::string_view word) {
  if (!in.good()) return false;
  if (MemoryTextBuffer* buffer = MemoryTextBuffer::Of(in)) {
    const char* next = buffer->Next();
    const char* end = buffer->End();
    while (next < end && IsSpace((unsigned char)(*next))) ++next;
    const std::size_t left = std::size_t(end - next);
    if (left < word.size() || std::string_view(next, word.size()) != word) return false;
    next += word.size();
    if (next < end && !IsSpace((unsigned char)(*next))) return false;
    buffer->MoveTo(next);
    return true;
  }
  const std::streampos at = Tell(in);
  if (ReadWord(in) == word) return true;
  in.clear();
  in.seekg(at);
  return false;
}

bool ReadInteger(std::istream& in, long low, long high, long* out) {
  return ReadIntegers(in, low, high, out, 1) == 1;
}

int ReadIntegers(std::istream& in, long low, long high, long* out, int count) {
  return WithCursor(in, [&](auto& cursor) { return ReadIntegersWith(in, cursor, low, high, out, count); });
}

int ReadIntegers(std::istream& in, SInt16 low, SInt16 high, SInt16* out, int count) {
  return WithCursor(in, [&](auto& cursor) { return ReadIntegersWith(in, cursor, low, high, out, count); });
}

bool ReadShort(std::istream& in, SInt16* out) { return ReadShortInRange(in, -32768, 32767, out); }

bool ReadShortInRange(std::istream& in, SInt16 low, SInt16 high, SInt16* out) {
  return ReadIntegers(in, low, high, out, 1) == 1;
}

bool ReadDouble(std::istream& in, double* out) {
  if (!in.good()) return EndsEarly(in);
  return WithCursor(in, [&](auto& cursor) {
    const auto start = cursor.Here();
    double value = 0.0;
    if (!Extract(in, cursor, &value)) {
      cursor.FailAt(in, start, "a number is missing");
      return false;
    }
    *out = value;
    return true;
  });
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
