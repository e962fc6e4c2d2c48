// Small readers and writers of the text lines of native model files, shared by the model
// objects, the document and its preferences.
//
// Readers never throw: a value that cannot be read, or that is out of its range, leaves the
// stream failed at the position before the value, so that the document's reader stops there and
// can show where, and notes why (vlcore::LastRefusal). Writers throw the OS error -36 with a context code when a write
// fails.
#pragma once

#include <cstdint>
#include <cstdio>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>

#include "MacTypes.h"
#include "UnitBase.h"

class Format;
class NameToUnitTable;

namespace vltext {

// Characters a line-oriented read keeps at most.
constexpr int kMaxLineLength = 255;

// A stream buffer over text held in memory (the whole of a file, read at once). The readers
// below take characters straight from it through plain pointers, which is several times faster
// than through a stream buffer's calls; from any other buffer they read the same text the same
// way. The text must outlive the buffer; seeking stays within it.
class MemoryTextBuffer final : public std::streambuf {
 public:
  explicit MemoryTextBuffer(std::string_view text);
  // The buffer of the stream when it is a MemoryTextBuffer, else null.
  static MemoryTextBuffer* Of(std::istream& in);
  const char* Next() const { return gptr(); }
  const char* End() const { return egptr(); }
  // Goes on from a position within the text.
  void MoveTo(const char* next) { setg(eback(), const_cast<char*>(next), egptr()); }
  long Position() const { return long(gptr() - eback()); }

 protected:
  pos_type seekoff(off_type offset, std::ios_base::seekdir way, std::ios_base::openmode which) override;
  pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
};

// The stream's position, as in.tellg() gives it (-1 when the stream is failed), without its
// sentry and calls for a MemoryTextBuffer.
std::streampos Tell(std::istream& in);

// Goes back to a remembered position and sets the fail state, noting the reason (null: the
// reason the failed check noted stands).
void FailAt(std::istream& in, std::streampos position, const char* reason);

// Skips blanks and tabs, not line ends.
void SkipBlanks(std::istream& in);

// What a line of more than kMaxLineLength characters does: fail the read (a settings line), or
// keep its first kMaxLineLength characters and pass over the rest (an object's name).
enum class LongLine { kFail, kCut };

// The rest of the line: up to the delimiter, or a CR LF pair or either line-end character (a
// CR LF pair is one line end on every platform). Leading blanks and tabs are skipped. False,
// with the stream failed, when nothing is left to read, and for a long line with kFail; the end
// of the input also ends a line.
bool ReadRestOfLine(std::istream& in, char delimiter, std::string* out, LongLine longLine = LongLine::kFail);

// A decimal integer within [low, high] (blank-separated); out of range, or no integer, fails the
// stream at the position before the value.
bool ReadInteger(std::istream& in, long low, long high, long* out);
// Up to count whole numbers within [low, high], each read as ReadInteger reads it, up to the
// first that cannot be; the number read.
int ReadIntegers(std::istream& in, long low, long high, long* out, int count);
int ReadIntegers(std::istream& in, SInt16 low, SInt16 high, SInt16* out, int count);
bool ReadShort(std::istream& in, SInt16* out);
// The same with a range check on top of the 16-bit one.
bool ReadShortInRange(std::istream& in, SInt16 low, SInt16 high, SInt16* out);
// A double (blank-separated); no number fails the stream.
bool ReadDouble(std::istream& in, double* out);
// A number exactly as `in >> *value` takes it (the same text accepted, the same state and
// position after), read from the stream's buffer without the locale's machinery.
bool Take(std::istream& in, double* value);
// Up to count numbers, each taken as Take takes it, up to the first that cannot be; the number
// taken.
int TakeNumbers(std::istream& in, double* values, int count);
// Skips white space and takes the character when it is c.
void TakeIfNext(std::istream& in, char c);

// A measurement as a user or a file gives it (a bare number in the bare unit), as a value in the
// model unit; false when it does not parse or is not a finite number.
bool ParseMeasurement(std::string_view text, const NameToUnitTable& names, const UnitBase& bareUnit,
                      const UnitBase& modelUnit, double* out);
// A value in the model unit as a user reads it: in the format, with the short unit names
// (gShortNameTable). A format that cannot show it gives the bare number ("%g").
std::string ShowMeasurement(double value, const UnitBase& modelUnit, const Format& format);
// A positive length of the defaults string list 2700 in feet (a bare number in feet), or the
// fallback when the item is missing or gives none.
double DefaultLength(SInt16 item, double fallback);

// A coordinate field of an object record: "1000.0 " for a magnitude above 1e7, "0.0 " for one
// below zeroBelow (and a NaN, which could not be read back), else the value times the factor in
// "%g " form. The thresholds apply to the value before the factor.
void WriteCoordinate(std::FILE* file, double value, double factor, double zeroBelow, std::int32_t context);

// One blank-separated word after white space; empty at the end of the input, where the stream is
// left at its end but not failed (a word just before the end leaves the stream good). Only the
// first 255 characters of a longer word are kept.
std::string ReadWord(std::istream& in);
// Takes the next word when it is this one (a whole word, of at most kMaxLineLength characters),
// as ReadWord would; otherwise leaves the stream where it was, good. False on a stream that is
// not good.
bool TakeWord(std::istream& in, std::string_view word);

// A formatted write: a negative result throws -36 with the context.
void CheckPrint(int result, std::int32_t context);
// The stream's error state throws -36 with the context.
void CheckStream(std::FILE* file, std::int32_t context);

}  // namespace vltext
