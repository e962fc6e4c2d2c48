// Pixel copies between pixel maps of any depth, with stretching, transfer modes and a mask.
#include <algorithm>
#include <cstring>

#include "QDInternal.h"

using namespace qdimpl;

namespace {

bool EmptyRect(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

RGBColor Colourise(const RGBColor& c, const RGBColor& fore, const RGBColor& back) {
  auto ch = [](UInt16 s, UInt16 f, UInt16 b) { return UInt16((s & b) | (~s & f)); };
  return RGBColor{ch(c.red, fore.red, back.red), ch(c.green, fore.green, back.green), ch(c.blue, fore.blue, back.blue)};
}

RGBColor Inverse(const RGBColor& c) { return RGBColor{UInt16(~c.red), UInt16(~c.green), UInt16(~c.blue)}; }

// A private copy of the source rows when source and destination share pixels.
struct SourceCopy {
  std::vector<UInt8> bytes;
  PixMap pm;
};

SourceCopy& Scratch() {
  static SourceCopy s;
  return s;
}

void CopyRaw(const PixMap* src, const PixMap* dst, const Rect& srcRect, const Rect& dstRect, SInt16 mode,
             const Region* mask, const Region* clip, const RGBColor& fore, const RGBColor& back) {
  if (!src || !dst || !src->baseAddr || !dst->baseAddr) return;
  if (EmptyRect(srcRect) || EmptyRect(dstRect)) return;
  if (mode == ditherCopy) mode = srcCopy;

  // Where the copy lands: the destination rectangle inside the destination's pixels, the clip
  // and the mask.
  Region area;
  RegionSetRect(area, dstRect.left, dstRect.top, dstRect.right, dstRect.bottom);
  Region bounds;
  RegionSetRect(bounds, dst->bounds.left, dst->bounds.top, dst->bounds.right, dst->bounds.bottom);
  RegionCombine(area, bounds, area, RegionOp::Sect);
  if (clip) RegionCombine(area, *clip, area, RegionOp::Sect);
  if (mask) RegionCombine(area, *mask, area, RegionOp::Sect);
  if (RegionIsEmpty(area)) return;

  const PixMap* s = src;
  if (src->baseAddr == dst->baseAddr) {
    SourceCopy& sc = Scratch();
    std::size_t n = std::size_t(src->rowBytes) * std::size_t(src->bounds.bottom - src->bounds.top);
    sc.bytes.assign(reinterpret_cast<const UInt8*>(src->baseAddr), reinterpret_cast<const UInt8*>(src->baseAddr) + n);
    sc.pm = *src;
    sc.pm.baseAddr = reinterpret_cast<Ptr>(sc.bytes.data());
    s = &sc.pm;
  }

  const int sd = s->pixelSize, dd = dst->pixelSize;
  const long sw = srcRect.right - srcRect.left, sh = srcRect.bottom - srcRect.top;
  const long dw = dstRect.right - dstRect.left, dh = dstRect.bottom - dstRect.top;
  const bool blackOnWhite = fore == RGBColor{0, 0, 0} && back == RGBColor{65535, 65535, 65535};
  const bool plain = mode == srcCopy && sd == dd && sw == dw && sh == dh && blackOnWhite;
  const bool convertOnly = mode == srcCopy && blackOnWhite;
  const UInt32 backPix = ColorToPixel(back, dd);
  const UInt32 whiteSrc = sd == 1 ? 0 : InvertMask(sd);
  Ink bitInk = MakeInk(qd.black, mode == transparent ? SInt16(srcOr) : mode, fore, back, dd);

  SpanList& spans = ScratchSpans(5);
  spans.clear();
  RegionToSpans(area, spans);
  for (const Span& sp : spans) {
    SInt32 sy = SInt32(srcRect.top + (long(sp.y) - dstRect.top) * sh / dh);
    if (sy < s->bounds.top || sy >= s->bounds.bottom) continue;
    if (plain && sd != 1) {
      SInt32 a = std::max<SInt32>(sp.x0, s->bounds.left + (dstRect.left - srcRect.left));
      SInt32 b = std::min<SInt32>(sp.x1, s->bounds.right + (dstRect.left - srcRect.left));
      if (a >= b) continue;
      SInt32 sx = a - dstRect.left + srcRect.left;
      int bpp = sd / 8;
      const UInt8* from = reinterpret_cast<const UInt8*>(s->baseAddr) + std::ptrdiff_t(sy - s->bounds.top) * s->rowBytes +
                          std::ptrdiff_t(sx - s->bounds.left) * bpp;
      UInt8* to = reinterpret_cast<UInt8*>(dst->baseAddr) + std::ptrdiff_t(sp.y - dst->bounds.top) * dst->rowBytes +
                  std::ptrdiff_t(a - dst->bounds.left) * bpp;
      std::memmove(to, from, std::size_t(b - a) * std::size_t(bpp));
      if (dd == 32) {
        // Painted pixels keep a zero top byte.
        UInt32* p = reinterpret_cast<UInt32*>(to);
        for (SInt32 i = 0; i < b - a; ++i) p[i] &= 0xFFFFFF;
      }
      continue;
    }
    if (sw == dw && dd != 1 && (sd == 1 || (convertOnly && sd != dd))) {
      // Unstretched rows into deep pixels: one-bit sources through the ink, or a plain change
      // of depth, without going through colours pixel by pixel.
      SInt32 a = std::max<SInt32>(sp.x0, s->bounds.left + (dstRect.left - srcRect.left));
      SInt32 b = std::min<SInt32>(sp.x1, s->bounds.right + (dstRect.left - srcRect.left));
      if (a >= b) continue;
      SInt32 col = a - dstRect.left + srcRect.left - s->bounds.left;
      const UInt8* from = reinterpret_cast<const UInt8*>(s->baseAddr) + std::ptrdiff_t(sy - s->bounds.top) * s->rowBytes;
      UInt8* to = reinterpret_cast<UInt8*>(dst->baseAddr) + std::ptrdiff_t(sp.y - dst->bounds.top) * dst->rowBytes;
      SInt32 dcol = a - dst->bounds.left;
      for (SInt32 i = 0; i < b - a; ++i, ++col, ++dcol) {
        UInt32 v;
        PixOp op = PixOp::Set;
        if (sd == 1) {
          bool bit = (from[col >> 3] >> (7 - (col & 7))) & 1;
          op = bit ? bitInk.op1 : bitInk.op0;
          v = bit ? bitInk.v1 : bitInk.v0;
          if (op == PixOp::None) continue;
        } else if (sd == 16) {
          UInt32 p = reinterpret_cast<const UInt16*>(from)[col];
          auto ch = [](UInt32 c5) { return (c5 << 3) | (c5 >> 2); };
          v = (ch((p >> 10) & 31) << 16) | (ch((p >> 5) & 31) << 8) | ch(p & 31);
        } else {
          UInt32 p = reinterpret_cast<const UInt32*>(from)[col];
          v = (((p >> 19) & 31) << 10) | (((p >> 11) & 31) << 5) | ((p >> 3) & 31);
        }
        if (dd == 32) {
          UInt32& px = reinterpret_cast<UInt32*>(to)[dcol];
          px = op == PixOp::Xor ? px ^ v : v;
        } else {
          UInt16& px = reinterpret_cast<UInt16*>(to)[dcol];
          px = UInt16(op == PixOp::Xor ? px ^ v : v);
        }
      }
      continue;
    }
    for (SInt32 x = sp.x0; x < sp.x1; ++x) {
      SInt32 sx = SInt32(srcRect.left + (long(x) - dstRect.left) * sw / dw);
      if (sx < s->bounds.left || sx >= s->bounds.right) continue;
      UInt32 sp32 = ReadPixel(*s, sx, sy);
      if (sd == 1) {
        PixOp op = sp32 ? bitInk.op1 : bitInk.op0;
        UInt32 v = sp32 ? bitInk.v1 : bitInk.v0;
        if (op == PixOp::Set) WritePixel(*dst, x, sp.y, v);
        else if (op == PixOp::Xor) WritePixel(*dst, x, sp.y, ReadPixel(*dst, x, sp.y) ^ v);
        continue;
      }
      RGBColor c = PixelToColor(sp32, sd);
      bool isWhite = sp32 == whiteSrc, isBlack = sp32 == 0;
      switch (mode) {
        case srcCopy: WritePixel(*dst, x, sp.y, ColorToPixel(Colourise(c, fore, back), dd)); break;
        case srcOr:
          if (!isWhite) WritePixel(*dst, x, sp.y, ColorToPixel(Colourise(c, fore, back), dd));
          break;
        case srcXor:
          if (!isWhite) WritePixel(*dst, x, sp.y, ReadPixel(*dst, x, sp.y) ^ XorMask(Colourise(c, fore, back), dd));
          break;
        case srcBic:
          if (!isWhite) WritePixel(*dst, x, sp.y, backPix);
          break;
        case notSrcCopy: WritePixel(*dst, x, sp.y, ColorToPixel(Colourise(Inverse(c), fore, back), dd)); break;
        case notSrcOr:
          if (!isBlack) WritePixel(*dst, x, sp.y, ColorToPixel(Colourise(Inverse(c), fore, back), dd));
          break;
        case notSrcXor:
          if (!isBlack)
            WritePixel(*dst, x, sp.y, ReadPixel(*dst, x, sp.y) ^ XorMask(Colourise(Inverse(c), fore, back), dd));
          break;
        case notSrcBic:
          if (!isBlack) WritePixel(*dst, x, sp.y, backPix);
          break;
        case transparent: {
          UInt32 v = ColorToPixel(c, dd);
          if (v != backPix) WritePixel(*dst, x, sp.y, v);
          break;
        }
        default: WritePixel(*dst, x, sp.y, ColorToPixel(c, dd)); break;
      }
    }
  }
}

bool IsPortBits(GrafPort* port, const PixMap* dst) {
  if (dst == &port->portPixMap) return true;
  return dst->baseAddr && dst->baseAddr == port->portPixMap.baseAddr && dst->rowBytes == port->portPixMap.rowBytes &&
         dst->bounds == port->portPixMap.bounds;
}

}  // namespace

void PortStdBits(const PixMap* srcBits, const Rect* srcRect, const Rect* dstRect, SInt16 mode, RgnHandle maskRgn) {
  if (!srcBits || !srcRect || !dstRect) return;
  GrafPort* port = Current();
  PicRecordBits(port, srcBits, *srcRect, *dstRect, mode, maskRgn);
  CopyRaw(srcBits, &port->portPixMap, *srcRect, *dstRect, mode, maskRgn ? *maskRgn : nullptr, EffectiveClip(port),
          port->rgbFgColor, port->rgbBkColor);
}

void PortCopyBits(const PixMap* src, const PixMap* dst, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
                  RgnHandle maskRgn) {
  if (!src || !dst || !srcRect || !dstRect) return;
  GrafPort* port = Current();
  if (IsPortBits(port, dst)) {
    if (port->grafProcs && port->grafProcs->bitsProc) port->grafProcs->bitsProc(src, srcRect, dstRect, mode, maskRgn);
    else PortStdBits(src, srcRect, dstRect, mode, maskRgn);
    return;
  }
  CopyRaw(src, dst, *srcRect, *dstRect, mode, maskRgn ? *maskRgn : nullptr, nullptr, port->rgbFgColor,
          port->rgbBkColor);
}

void PortCopyPixels(const PixMap* src, const PixMap* dst, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
                    RgnHandle maskRgn) {
  PortCopyBits(src, dst, srcRect, dstRect, mode, maskRgn);
}
