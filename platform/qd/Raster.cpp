// Pixels, colours, inks and the span rasteriser every drawing call ends in.
#include <algorithm>
#include <cstring>

#include "QDInternal.h"

namespace qdimpl {

UInt32 ColorToPixel(const RGBColor& c, int depth) {
  switch (depth) {
    case 32: return (UInt32(c.red >> 8) << 16) | (UInt32(c.green >> 8) << 8) | UInt32(c.blue >> 8);
    case 16: return (UInt32(c.red >> 11) << 10) | (UInt32(c.green >> 11) << 5) | UInt32(c.blue >> 11);
    default: {
      // One bit: dark colours are black.
      UInt32 lum = (UInt32(c.red) * 30 + UInt32(c.green) * 59 + UInt32(c.blue) * 11) / 100;
      return lum < 0x8000 ? 1 : 0;
    }
  }
}

RGBColor PixelToColor(UInt32 p, int depth) {
  switch (depth) {
    case 32: {
      auto ch = [](UInt32 v) { return UInt16(v * 257); };
      return RGBColor{ch((p >> 16) & 0xFF), ch((p >> 8) & 0xFF), ch(p & 0xFF)};
    }
    case 16: {
      auto ch = [](UInt32 v) { return UInt16((v << 11) | (v << 6) | (v << 1) | (v >> 4)); };
      return RGBColor{ch((p >> 10) & 31), ch((p >> 5) & 31), ch(p & 31)};
    }
    default: return (p & 1) ? RGBColor{0, 0, 0} : RGBColor{65535, 65535, 65535};
  }
}

UInt32 InvertMask(int depth) {
  switch (depth) {
    case 32: return 0xFFFFFF;
    case 16: return 0x7FFF;
    default: return 1;
  }
}

UInt32 XorMask(const RGBColor& c, int depth) {
  // XOR with black inverts; with another colour it turns white into that colour.
  if (depth == 1) return ColorToPixel(c, 1);
  return ~ColorToPixel(c, depth) & InvertMask(depth);
}

UInt32 ReadPixel(const PixMap& pm, SInt32 x, SInt32 y) {
  const UInt8* row = reinterpret_cast<const UInt8*>(pm.baseAddr) + std::ptrdiff_t(y - pm.bounds.top) * pm.rowBytes;
  SInt32 col = x - pm.bounds.left;
  switch (pm.pixelSize) {
    case 32: return reinterpret_cast<const UInt32*>(row)[col];
    case 16: return reinterpret_cast<const UInt16*>(row)[col];
    default: return (row[col >> 3] >> (7 - (col & 7))) & 1;
  }
}

void WritePixel(const PixMap& pm, SInt32 x, SInt32 y, UInt32 value) {
  UInt8* row = reinterpret_cast<UInt8*>(pm.baseAddr) + std::ptrdiff_t(y - pm.bounds.top) * pm.rowBytes;
  SInt32 col = x - pm.bounds.left;
  switch (pm.pixelSize) {
    case 32: reinterpret_cast<UInt32*>(row)[col] = value & 0xFFFFFF; break;
    case 16: reinterpret_cast<UInt16*>(row)[col] = UInt16(value & 0x7FFF); break;
    default: {
      UInt8 bit = UInt8(0x80 >> (col & 7));
      if (value & 1) row[col >> 3] |= bit;
      else row[col >> 3] &= UInt8(~bit);
    }
  }
}

Ink MakeInk(const Pattern& pat, SInt16 mode, const RGBColor& fore, const RGBColor& back, int depth) {
  int m = mode;
  if (m >= patCopy && m <= notPatBic) m -= patCopy;
  else if (m < 0 || m > notSrcBic) m = srcCopy;
  PixOp inkOp = PixOp::Set, otherOp = PixOp::None;
  UInt32 inkVal = 0, otherVal = 0;
  switch (m & 3) {
    case 0:  // copy
      inkVal = ColorToPixel(fore, depth);
      otherOp = PixOp::Set;
      otherVal = ColorToPixel(back, depth);
      break;
    case 1:  // or
      inkVal = ColorToPixel(fore, depth);
      break;
    case 2:  // xor
      inkOp = PixOp::Xor;
      inkVal = XorMask(fore, depth);
      break;
    default:  // bic
      inkVal = ColorToPixel(back, depth);
      break;
  }
  Ink ink;
  std::memcpy(ink.rows, pat.pat, 8);
  if (m & 4) {  // the "not" modes use the 0 bits as ink
    ink.op1 = otherOp;
    ink.v1 = otherVal;
    ink.op0 = inkOp;
    ink.v0 = inkVal;
  } else {
    ink.op1 = inkOp;
    ink.v1 = inkVal;
    ink.op0 = otherOp;
    ink.v0 = otherVal;
  }
  return ink;
}

static int DepthOf(const GrafPort* port) { return port->portPixMap.baseAddr ? port->portPixMap.pixelSize : 32; }

Ink PenInk(const GrafPort* port) {
  if (port->pnColorPat) return MakeInk(qd.black, port->pnMode, port->pnColor, port->rgbBkColor, DepthOf(port));
  return MakeInk(port->pnPat, port->pnMode, port->rgbFgColor, port->rgbBkColor, DepthOf(port));
}

Ink EraseInk(const GrafPort* port) {
  if (port->bkColorPat) return ColorFillInk(port, port->bkColor);
  return MakeInk(port->bkPat, patCopy, port->rgbFgColor, port->rgbBkColor, DepthOf(port));
}

Ink InvertInk(const GrafPort* port) {
  Ink ink;
  ink.op1 = PixOp::Xor;
  ink.v1 = InvertMask(DepthOf(port));
  return ink;
}

Ink FillInk(const GrafPort* port, const Pattern& pat) {
  return MakeInk(pat, patCopy, port->rgbFgColor, port->rgbBkColor, DepthOf(port));
}

Ink ColorFillInk(const GrafPort* port, const RGBColor& c) {
  Ink ink;
  ink.op1 = PixOp::Set;
  ink.v1 = ColorToPixel(c, DepthOf(port));
  return ink;
}

namespace {

template <class T>
inline void Apply(T& px, PixOp op, UInt32 v) {
  if (op == PixOp::Set) px = T(v);
  else if (op == PixOp::Xor) px = T(px ^ v);
}

// One run [x0, x1) of row y; bit(x) answers the source bit of pixel x.
template <class T, class Bit>
void RunWide(T* p, SInt32 x0, SInt32 x1, const Ink& ink, Bit bit) {
  for (SInt32 x = x0; x < x1; ++x, ++p) {
    if (bit(x)) Apply(*p, ink.op1, ink.v1);
    else Apply(*p, ink.op0, ink.v0);
  }
}

template <class T>
void RunSolid(T* p, SInt32 n, PixOp op, UInt32 v) {
  if (op == PixOp::Set) std::fill_n(p, n, T(v));
  else if (op == PixOp::Xor)
    for (SInt32 i = 0; i < n; ++i) p[i] = T(p[i] ^ v);
}

template <class Bit>
void RunBits(UInt8* row, SInt32 col0, SInt32 x0, SInt32 x1, const Ink& ink, Bit bit) {
  SInt32 col = col0;
  for (SInt32 x = x0; x < x1; ++x, ++col) {
    PixOp op = bit(x) ? ink.op1 : ink.op0;
    UInt32 v = bit(x) ? ink.v1 : ink.v0;
    if (op == PixOp::None) continue;
    UInt8 m = UInt8(0x80 >> (col & 7));
    UInt8& b = row[col >> 3];
    if (op == PixOp::Set) b = (v & 1) ? UInt8(b | m) : UInt8(b & ~m);
    else if (v & 1) b ^= m;
  }
}

void RunSolidBits(UInt8* row, SInt32 col0, SInt32 n, PixOp op, UInt32 v) {
  if (op == PixOp::None || (op == PixOp::Xor && !(v & 1))) return;
  SInt32 col = col0, end = col0 + n;
  while (col < end && (col & 7)) {
    UInt8 m = UInt8(0x80 >> (col & 7));
    if (op == PixOp::Set) row[col >> 3] = (v & 1) ? UInt8(row[col >> 3] | m) : UInt8(row[col >> 3] & ~m);
    else row[col >> 3] ^= m;
    ++col;
  }
  while (col + 8 <= end) {
    if (op == PixOp::Set) row[col >> 3] = (v & 1) ? 0xFF : 0x00;
    else row[col >> 3] ^= 0xFF;
    col += 8;
  }
  while (col < end) {
    UInt8 m = UInt8(0x80 >> (col & 7));
    if (op == PixOp::Set) row[col >> 3] = (v & 1) ? UInt8(row[col >> 3] | m) : UInt8(row[col >> 3] & ~m);
    else row[col >> 3] ^= m;
    ++col;
  }
}

// Rasterises [x0, x1) of row y (already clipped) with the ink's pattern.
void RunPattern(const PixMap& pm, SInt32 y, SInt32 x0, SInt32 x1, const Ink& ink) {
  UInt8* row = reinterpret_cast<UInt8*>(pm.baseAddr) + std::ptrdiff_t(y - pm.bounds.top) * pm.rowBytes;
  SInt32 col0 = x0 - pm.bounds.left;
  UInt8 pr = ink.rows[y & 7];
  if (pr == 0xFF || pr == 0x00) {
    PixOp op = pr ? ink.op1 : ink.op0;
    UInt32 v = pr ? ink.v1 : ink.v0;
    switch (pm.pixelSize) {
      case 32: RunSolid(reinterpret_cast<UInt32*>(row) + col0, x1 - x0, op, v); break;
      case 16: RunSolid(reinterpret_cast<UInt16*>(row) + col0, x1 - x0, op, v); break;
      default: RunSolidBits(row, col0, x1 - x0, op, v);
    }
    return;
  }
  auto bit = [pr](SInt32 x) { return (pr >> (7 - (x & 7))) & 1; };
  switch (pm.pixelSize) {
    case 32: RunWide(reinterpret_cast<UInt32*>(row) + col0, x0, x1, ink, bit); break;
    case 16: RunWide(reinterpret_cast<UInt16*>(row) + col0, x0, x1, ink, bit); break;
    default: RunBits(row, col0, x0, x1, ink, bit);
  }
}

void RunMask(const PixMap& pm, SInt32 y, SInt32 x0, SInt32 x1, const Ink& ink, const UInt8* mask, SInt32 maskLeft) {
  UInt8* row = reinterpret_cast<UInt8*>(pm.baseAddr) + std::ptrdiff_t(y - pm.bounds.top) * pm.rowBytes;
  SInt32 col0 = x0 - pm.bounds.left;
  auto bit = [mask, maskLeft](SInt32 x) { return mask[x - maskLeft] != 0; };
  switch (pm.pixelSize) {
    case 32: RunWide(reinterpret_cast<UInt32*>(row) + col0, x0, x1, ink, bit); break;
    case 16: RunWide(reinterpret_cast<UInt16*>(row) + col0, x0, x1, ink, bit); break;
    default: RunBits(row, col0, x0, x1, ink, bit);
  }
}

// Calls f(y, a, b) for each part of [x0, x1) on row y inside the clip (and extra clip).
template <class F>
void ForClipped(RegionRowCursor& clip, RegionRowCursor* extra, SInt32 y, SInt32 x0, SInt32 x1, F f) {
  SInt32 n;
  const SInt32* xs = clip.Row(y, &n);
  SInt32 ne = 0;
  const SInt32* es = nullptr;
  if (extra) {
    es = extra->Row(y, &ne);
    if (ne == 0) return;
  }
  for (SInt32 k = 0; k < n; ++k) {
    SInt32 a = std::max(x0, xs[2 * k]), b = std::min(x1, xs[2 * k + 1]);
    if (a >= b) {
      if (xs[2 * k] >= x1) break;
      continue;
    }
    if (!extra) {
      f(y, a, b);
      continue;
    }
    for (SInt32 j = 0; j < ne; ++j) {
      SInt32 c = std::max(a, es[2 * j]), d = std::min(b, es[2 * j + 1]);
      if (c < d) f(y, c, d);
    }
  }
}

}  // namespace

const Region* EffectiveClip(GrafPort* port) {
  const PixMap& pm = port->portPixMap;
  if (!pm.baseAddr) return nullptr;
  PortPrivate* pv = Priv(port);
  const Region* vis = port->visRgn ? *port->visRgn : nullptr;
  const Region* clip = port->clipRgn ? *port->clipRgn : nullptr;
  if (pv->clipValid && pv->clipVisSrc == vis && pv->clipClipSrc == clip && (!vis || vis->generation == pv->clipVisGen) &&
      (!clip || clip->generation == pv->clipClipGen) && pv->clipPixels.bounds == pm.bounds &&
      pv->clipPixels.baseAddr == pm.baseAddr) {
    return &pv->effClip;
  }
  RegionSetRect(pv->effClip, pm.bounds.left, pm.bounds.top, pm.bounds.right, pm.bounds.bottom);
  if (vis) RegionCombine(pv->effClip, *vis, pv->effClip, RegionOp::Sect);
  if (clip) RegionCombine(pv->effClip, *clip, pv->effClip, RegionOp::Sect);
  pv->clipValid = true;
  pv->clipVisSrc = vis;
  pv->clipVisGen = vis ? vis->generation : 0;
  pv->clipClipSrc = clip;
  pv->clipClipGen = clip ? clip->generation : 0;
  pv->clipPixels = pm;
  return &pv->effClip;
}

void ClipRows(GrafPort* port, SInt32* yMin, SInt32* yMax) {
  const Region* c = EffectiveClip(port);
  SInt32 l, t, r, b;
  if (!c || !RegionBounds(*c, &l, &t, &r, &b)) {
    *yMin = 0;
    *yMax = 0;
    return;
  }
  *yMin = t;
  *yMax = b;
}

void DrawSpans(GrafPort* port, const SpanList& spans, const Ink& ink, const Region* extraClip) {
  const Region* clip = EffectiveClip(port);
  if (!clip || spans.empty()) return;
  if (ink.op1 == PixOp::None && ink.op0 == PixOp::None) return;
  const PixMap& pm = port->portPixMap;
  RegionRowCursor cur(*clip);
  RegionRowCursor extra(extraClip ? *extraClip : *clip);
  for (const Span& s : spans) {
    ForClipped(cur, extraClip ? &extra : nullptr, s.y, s.x0, s.x1,
               [&](SInt32 y, SInt32 a, SInt32 b) { RunPattern(pm, y, a, b, ink); });
  }
}

void DrawMask(GrafPort* port, const UInt8* mask, SInt32 width, SInt32 height, SInt32 left, SInt32 top,
              const Ink& ink) {
  const Region* clip = EffectiveClip(port);
  if (!clip || width <= 0 || height <= 0) return;
  const PixMap& pm = port->portPixMap;
  RegionRowCursor cur(*clip);
  for (SInt32 r = 0; r < height; ++r) {
    const UInt8* m = mask + std::ptrdiff_t(r) * width;
    ForClipped(cur, nullptr, top + r, left, left + width,
               [&](SInt32 y, SInt32 a, SInt32 b) { RunMask(pm, y, a, b, ink, m, left); });
  }
}

}  // namespace qdimpl
