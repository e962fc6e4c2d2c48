// Length-prefixed strings: one length byte and at most N characters (Mac Roman bytes).
#pragma once

#include <string>
#include <string_view>

#include "MacTypes.h"

template <int N>
struct PString {
  static_assert(N > 0 && N <= 255);
  unsigned char s[N + 1] = {};

  PString() = default;
  PString(const char* text) { Assign(text ? std::string_view(text) : std::string_view()); }
  PString(std::string_view text) { Assign(text); }
  PString(ConstStringPtr p) {
    int n = p ? p[0] : 0;
    if (n > N) n = N;
    s[0] = static_cast<unsigned char>(n);
    for (int i = 1; i <= n; ++i) s[i] = p[i];
  }

  void Assign(std::string_view text) {
    std::size_t n = text.size() > std::size_t(N) ? std::size_t(N) : text.size();
    s[0] = static_cast<unsigned char>(n);
    for (std::size_t i = 0; i < n; ++i) s[i + 1] = static_cast<unsigned char>(text[i]);
  }

  operator StringPtr() { return s; }
  operator ConstStringPtr() const { return s; }
  int Length() const { return s[0]; }
  static constexpr int Capacity() { return N; }
  // The characters as a byte string (no conversion).
  std::string Std() const { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }
};

using Str255 = PString<255>;
using Str63 = PString<63>;
using Str32 = PString<32>;
using Str31 = PString<31>;
using Str15 = PString<15>;

// Copies src into dst, keeping at most capacity characters.
void PStrCopy(StringPtr dst, ConstStringPtr src, int capacity = 255);
// Appends src to dst, keeping at most capacity characters in all; never writes past capacity.
void PStrConcat(StringPtr dst, ConstStringPtr src, int capacity = 255);
// Unsigned byte-wise ordering: negative, 0 or positive.
int PStrOrder(ConstStringPtr a, ConstStringPtr b);
bool PStrEqual(ConstStringPtr a, ConstStringPtr b);
// Fills dst from a byte string, truncated to capacity.
void PStrFromStd(std::string_view text, StringPtr dst, int capacity = 255);
std::string PStrToStd(ConstStringPtr p);

// The platform's string equality: 0 when equal (ignoring ASCII case), 1 otherwise.
int PortEqualString(ConstStringPtr a, ConstStringPtr b);
// Ordering that ignores ASCII case: -1, 0 or 1.
int PortCompareStrings(ConstStringPtr a, ConstStringPtr b);
int PortCompareString(ConstStringPtr a, ConstStringPtr b);
// Decimal text of a number.
void PortNumToString(long value, StringPtr dst);
// Reads a leading optional sign and decimal digits; stops at the first other character.
void PortStringToNum(ConstStringPtr src, long* value);
// Converts a length-prefixed string in place to a zero-terminated one and returns it.
char* PortPascalToC(StringPtr p);
// Converts a zero-terminated string in place to a length-prefixed one (at most 255 characters).
StringPtr PortCToPascal(char* c);

// Text conversion where Mac Roman meets the screen, the clipboard and file names.
std::string MacRomanToUtf8(std::string_view macRoman);
// Characters without a Mac Roman form become '?'.
std::string Utf8ToMacRoman(std::string_view utf8);
