#include "Measurement.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "BoundedTextBuffer.h"
#include "MeasurementToken.h"
#include "NameToUnitTableScope.h"
#include "Refusal.h"
#include "TokenStream.h"
#include "UnitToNameTableScope.h"

namespace {

// The unit a bare number takes after a part written in `unit`.
UnitBase NextSmallerUnit(const UnitBase& unit) {
  if (unit == gFeet) return gInches;
  if (unit == gDegrees) return gMinutes;
  if (unit == gMinutes) return gSeconds;
  return gNoUnit;
}

// A non-negative number in fixed notation with the given decimals.
void WriteFixed(std::ostream& stream, double v, int decimals) {
  // Room for the integer digits of the largest double, the point and kMaxDecimals decimals.
  char digits[320 + Measurement::kMaxDecimals];
  auto end = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, decimals).ptr;
  stream.write(digits, end - digits);
}

void WriteInteger(std::ostream& stream, long long n) {
  char digits[24];
  auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
  stream.write(digits, end - digits);
}

// Notes why the text is refused and throws the error.
[[noreturn]] void Refuse(Measurement::Error error, const char* reason) {
  vlcore::NoteRefusal(reason);
  throw error;
}

}  // namespace

Measurement Measurement::Parse(const char* text, const NameToUnitTable& names, const UnitBase& defaultUnit) {
  return Parse(text ? std::string_view(text) : std::string_view(), names, defaultUnit);
}

Measurement Measurement::Parse(std::string_view text, const NameToUnitTable& names,
                               const UnitBase& defaultUnit) {
  NameToUnitTableScope scope(names);
  Tokens tokens(text);
  Measurement result = ParseSum(tokens, defaultUnit);
  if (!tokens.AtEnd()) Refuse(Error::kTextLeft, "text is left after the measurement");
  // Each number is in range, but sums, quotients and conversions can still leave it.
  if (!std::isfinite(result.value)) Refuse(Error::kNumberExpected, "the measurement is too large");
  return result;
}

Measurement Measurement::ParseSum(Tokens& tokens, const UnitBase& defaultUnit) {
  Measurement result = ParseSignedTerm(tokens, defaultUnit);
  for (;;) {
    SInt32 op = tokens.Current().kind;
    if (op != MeasurementToken::kPlus && op != MeasurementToken::kMinus) break;
    tokens.Next();
    double term = ParseSignedTerm(tokens, defaultUnit).ValueIn(result.unit);
    result.value += op == MeasurementToken::kPlus ? term : -term;
  }
  return result;
}

Measurement Measurement::ParseSignedTerm(Tokens& tokens, const UnitBase& defaultUnit) {
  bool negative = false;
  for (;;) {
    SInt32 kind = tokens.Current().kind;
    if (kind == MeasurementToken::kMinus)
      negative = !negative;
    else if (kind != MeasurementToken::kPlus)
      break;
    tokens.Next();
  }
  Measurement result = ParseCompound(tokens, defaultUnit);
  if (negative) result.value = -result.value;
  return result;
}

Measurement Measurement::ParseCompound(Tokens& tokens, const UnitBase& defaultUnit) {
  Measurement result(0.0, gNoUnit);
  ParsePart(tokens, result);
  UnitBase previous = result.unit;
  while (tokens.Current().kind == MeasurementToken::kNumber) {
    Measurement part(0.0, gNoUnit);
    ParsePart(tokens, part);
    const UnitBase written = part.unit;
    if (written == gNoUnit) {
      if (previous == gNoUnit) Refuse(Error::kNoUnitToFollow, "a bare number follows a bare number");
      part.unit = NextSmallerUnit(previous);
    }
    previous = written;
    result.value += part.ValueIn(result.unit);
  }
  if (result.unit == gNoUnit) result.unit = defaultUnit;
  return result;
}

void Measurement::ParsePart(Tokens& tokens, Measurement& part) {
  part.value = ParseNumber(tokens);
  if (tokens.Current().kind == MeasurementToken::kUnit) {
    part.unit = tokens.Current().unit;
    tokens.Next();
  }
}

double Measurement::ParseNumber(Tokens& tokens) {
  if (tokens.Current().kind != MeasurementToken::kNumber)
    Refuse(Error::kNumberExpected, "a number is missing or out of range");
  double value = tokens.Current().number;
  tokens.Next();
  if (tokens.Current().kind == MeasurementToken::kNumber) {
    value += ParseFraction(tokens);
  } else if (tokens.Current().kind == MeasurementToken::kSlash) {
    tokens.Next();
    value = ParseDenominator(tokens, value);
  }
  return value;
}

double Measurement::ParseFraction(Tokens& tokens) {
  double numerator = tokens.Current().number;
  tokens.Next();
  if (tokens.Current().kind != MeasurementToken::kSlash) Refuse(Error::kSlashMissing, "a fraction has no slash");
  tokens.Next();
  return ParseDenominator(tokens, numerator);
}

double Measurement::ParseDenominator(Tokens& tokens, double value) {
  if (tokens.Current().kind != MeasurementToken::kNumber)
    Refuse(Error::kNumberExpected, "a fraction has no denominator");
  double denominator = tokens.Current().number;
  if (denominator == 0.0) Refuse(Error::kZeroDenominator, "a denominator is zero");
  tokens.Next();
  return value / denominator;
}

double Measurement::ValueIn(const UnitBase& target) const {
  if (unit == target) return value;
  return value * unit.Ratio(target);
}

void Measurement::WriteInFormat(std::ostream& stream, const Measurement& measurement, const Format& format) {
  // A format without units still has its first unit slot, the invalid unit: values of real
  // kinds then fail with the kind mismatch instead of writing nothing.
  const int count = format.UsedUnits() > 0 ? format.UsedUnits() : 1;
  const UnitBase* units = format.units;

  double v = measurement.ValueIn(units[0]);
  if (v < 0.0) {
    stream << '-';
    v = -v;
  } else {
    v = std::fabs(v);  // no sign for -0.0
  }
  if (!std::isfinite(v)) {
    // Nothing to split into units or round into fractions.
    stream << (std::isnan(v) ? "nan" : "inf") << units[0];
    return;
  }

  for (int i = 0; i + 1 < count; ++i) {
    double whole = std::floor(v);
    WriteFixed(stream, whole, 0);
    stream << units[i];
    v = Measurement(v - whole, units[i]).ValueIn(units[i + 1]);
  }

  const UnitBase& last = units[count - 1];
  if (format.style == Format::kDecimals) {
    int decimals = format.precision < 0              ? 0
                   : format.precision > kMaxDecimals ? kMaxDecimals
                                                     : int(format.precision);
    stream.setf(std::ios_base::fixed, std::ios_base::floatfield);
    stream.precision(decimals);
    if (decimals > 0)
      stream.setf(std::ios_base::showpoint);
    else
      stream.unsetf(std::ios_base::showpoint);
    WriteFixed(stream, v, decimals);
  } else if (format.style == Format::kFractions) {
    // A precision below 1 has no fractions to show: whole units, rounded.
    const long long p = format.precision < 1 ? 1 : format.precision;
    const long long r = format.reductionDivisor;
    double whole = std::floor(v + 0.5 / double(p));
    long long n = (long long)std::floor((v - whole) * double(p) + 0.5);
    if (n < 0) n = 0;  // only from rounding just below a whole unit
    long long d = p;
    if (r > 1 && n % r == 0) {
      while (d % r == 0) {
        n /= r;
        d /= r;
        if (n % r != 0) break;
      }
    }
    if (whole != 0.0 || n == 0) WriteFixed(stream, whole, 0);
    if (whole != 0.0 && n != 0) stream << ' ';
    if (n != 0) {
      WriteInteger(stream, n);
      stream << '/';
      WriteInteger(stream, d);
    }
  }
  stream << last;
}

void Measurement::Write(const Measurement& measurement, std::ostream& stream, const Format& format,
                        const UnitToNameTable& names) {
  UnitToNameTableScope scope(names);
  WriteInFormat(stream, measurement, format);
}

void Measurement::ToString(const Measurement& measurement, char* buffer, std::size_t size,
                           const Format& format, const UnitToNameTable& names) {
  BoundedTextBuffer text(buffer, size);
  std::ostream stream(&text);
  Write(measurement, stream, format, names);
  if (!text.Finish()) throw Error::kBufferTooSmall;
}
