// Basic toolbox-style types shared by the whole program.
#pragma once

#include <cstdint>

using SInt8 = std::int8_t;
using UInt8 = std::uint8_t;
using SInt16 = std::int16_t;
using UInt16 = std::uint16_t;
using SInt32 = std::int32_t;
using UInt32 = std::uint32_t;
using Boolean = bool;
using OSErr = std::int16_t;
using OSStatus = std::int32_t;
using OSType = std::uint32_t;
using ResType = OSType;
using Fixed = std::int32_t;
using Size = long;
using Ptr = char*;
using Handle = char**;
using StringPtr = unsigned char*;
using ConstStringPtr = const unsigned char*;

// Toolbox error codes the platform layer reports.
enum : OSErr {
  noErr = 0,
  paramErr = -50,
  ioErr = -36,
  eofErr = -39,
  fnfErr = -43,
  dupFNErr = -48,
  opWrErr = -49,
  wrPermErr = -61,
  dskFulErr = -34,
  bdNamErr = -37,
  memFullErr = -108,
  nilHandleErr = -109,
  memWZErr = -111,
  resNotFound = -192,
  resFNotFound = -193,
  userCanceledErr = -128,
};

struct Point {
  SInt16 v = 0;
  SInt16 h = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  SInt16 top = 0;
  SInt16 left = 0;
  SInt16 bottom = 0;
  SInt16 right = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct RGBColor {
  UInt16 red = 0;
  UInt16 green = 0;
  UInt16 blue = 0;
  friend bool operator==(const RGBColor&, const RGBColor&) = default;
};

// Four-character code from a literal such as FourCC("TEXT").
constexpr OSType FourCC(const char (&s)[5]) {
  return (OSType(UInt8(s[0])) << 24) | (OSType(UInt8(s[1])) << 16) | (OSType(UInt8(s[2])) << 8) |
         OSType(UInt8(s[3]));
}

constexpr Fixed IntToFixed(int v) { return Fixed(v * 65536); }
constexpr double FixedToDouble(Fixed f) { return f / 65536.0; }
inline Fixed DoubleToFixed(double d) { return Fixed(d * 65536.0 + (d < 0 ? -0.5 : 0.5)); }

// Rectangle helpers.
inline void PortSetRect(Rect* r, int left, int top, int right, int bottom) {
  r->left = SInt16(left);
  r->top = SInt16(top);
  r->right = SInt16(right);
  r->bottom = SInt16(bottom);
}
// Intersection of a and b into dst; true when it is not empty (an empty result is all zero).
bool PortSectRect(const Rect* a, const Rect* b, Rect* dst);
// True when the point lies inside r (bottom and right edges excluded).
bool PortPtInRect(Point pt, const Rect* r);
bool PortPointInRect(Point pt, const Rect* r);
bool PortEmptyRect(const Rect* r);
void PortUnionRect(const Rect* a, const Rect* b, Rect* dst);
void PortOffsetRect(Rect* r, int dh, int dv);
void PortInsetRect(Rect* r, int dh, int dv);

// An FSSpec: volume, folder id and leaf name (Mac Roman, at most 63 characters).
// platform/files maps folder ids to real folders.
struct FSSpec {
  SInt16 vRefNum = 0;
  SInt32 parID = 0;
  unsigned char name[64] = {};
};
