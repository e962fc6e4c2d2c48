#include "PString.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

void PStrCopy(StringPtr dst, ConstStringPtr src, int capacity) {
  int n = std::min<int>(src ? src[0] : 0, capacity);
  std::memmove(dst + 1, src + 1, std::size_t(n));
  dst[0] = static_cast<unsigned char>(n);
}

void PStrConcat(StringPtr dst, ConstStringPtr src, int capacity) {
  int have = std::min<int>(dst[0], capacity);
  int add = std::min<int>(src ? src[0] : 0, capacity - have);
  std::memmove(dst + 1 + have, src + 1, std::size_t(std::max(add, 0)));
  dst[0] = static_cast<unsigned char>(have + std::max(add, 0));
}

int PStrOrder(ConstStringPtr a, ConstStringPtr b) {
  int n = std::min(a[0], b[0]);
  int c = std::memcmp(a + 1, b + 1, std::size_t(n));
  if (c != 0) return c;
  return int(a[0]) - int(b[0]);
}

bool PStrEqual(ConstStringPtr a, ConstStringPtr b) { return PStrOrder(a, b) == 0; }

void PStrFromStd(std::string_view text, StringPtr dst, int capacity) {
  std::size_t n = std::min<std::size_t>(text.size(), std::size_t(capacity));
  std::memcpy(dst + 1, text.data(), n);
  dst[0] = static_cast<unsigned char>(n);
}

std::string PStrToStd(ConstStringPtr p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

static int FoldCompare(ConstStringPtr a, ConstStringPtr b) {
  int n = std::min(a[0], b[0]);
  for (int i = 1; i <= n; ++i) {
    int ca = a[i] < 128 ? std::tolower(a[i]) : a[i];
    int cb = b[i] < 128 ? std::tolower(b[i]) : b[i];
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a[0] == b[0]) return 0;
  return a[0] < b[0] ? -1 : 1;
}

int PortEqualString(ConstStringPtr a, ConstStringPtr b) { return FoldCompare(a, b) == 0 ? 0 : 1; }
int PortCompareStrings(ConstStringPtr a, ConstStringPtr b) { return FoldCompare(a, b); }
int PortCompareString(ConstStringPtr a, ConstStringPtr b) { return FoldCompare(a, b); }

void PortNumToString(long value, StringPtr dst) {
  char buf[32];
  int n = std::snprintf(buf, sizeof buf, "%ld", value);
  PStrFromStd(std::string_view(buf, std::size_t(n)), dst);
}

void PortStringToNum(ConstStringPtr src, long* value) {
  int i = 1, n = src[0];
  bool neg = false;
  if (i <= n && (src[i] == '-' || src[i] == '+')) neg = src[i++] == '-';
  unsigned long v = 0;
  for (; i <= n && src[i] >= '0' && src[i] <= '9'; ++i) v = v * 10 + (src[i] - '0');
  *value = neg ? -long(v) : long(v);
}

char* PortPascalToC(StringPtr p) {
  int n = p[0];
  std::memmove(p, p + 1, std::size_t(n));
  p[n] = 0;
  return reinterpret_cast<char*>(p);
}

StringPtr PortCToPascal(char* c) {
  std::size_t n = std::min<std::size_t>(std::strlen(c), 255);
  std::memmove(c + 1, c, n);
  c[0] = static_cast<char>(n);
  return reinterpret_cast<StringPtr>(c);
}

// Unicode code points of Mac Roman 0x80..0xFF.
static const char16_t kMacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
    0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
    0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
    0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
    0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
    0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
    0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

std::string MacRomanToUtf8(std::string_view macRoman) {
  std::string out;
  out.reserve(macRoman.size());
  for (unsigned char c : macRoman) {
    char32_t u = c < 0x80 ? c : kMacRomanHigh[c - 0x80];
    if (u < 0x80) {
      out += char(u);
    } else if (u < 0x800) {
      out += char(0xC0 | (u >> 6));
      out += char(0x80 | (u & 0x3F));
    } else {
      out += char(0xE0 | (u >> 12));
      out += char(0x80 | ((u >> 6) & 0x3F));
      out += char(0x80 | (u & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToMacRoman(std::string_view utf8) {
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    char32_t u;
    int len;
    if (c < 0x80) {
      u = c, len = 1;
    } else if ((c & 0xE0) == 0xC0) {
      u = c & 0x1F, len = 2;
    } else if ((c & 0xF0) == 0xE0) {
      u = c & 0x0F, len = 3;
    } else if ((c & 0xF8) == 0xF0) {
      u = c & 0x07, len = 4;
    } else {
      out += '?';
      ++i;
      continue;
    }
    if (i + std::size_t(len) > utf8.size()) {
      out += '?';
      break;
    }
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(utf8[i + std::size_t(k)]);
      if ((cc & 0xC0) != 0x80) ok = false;
      u = (u << 6) | (cc & 0x3F);
    }
    i += ok ? std::size_t(len) : 1;
    if (!ok) {
      out += '?';
      continue;
    }
    if (u < 0x80) {
      out += char(u);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 128; ++k)
      if (kMacRomanHigh[k] == u) {
        mapped = char(0x80 + k);
        break;
      }
    out += mapped;
  }
  return out;
}
