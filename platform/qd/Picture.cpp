// Pictures: recording a port's drawing as PICT version 2 opcodes, playing pictures (versions 1
// and 2) back through a port's drawing procedures, and PICT files. Every count and length read
// from picture data is checked against the data; damaged data stops playback with an error.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "Memory.h"
#include "PString.h"
#include "QDInternal.h"

using namespace qdimpl;

namespace {

constexpr std::size_t kMaxRegionBytes = 32000;  // a region's size field is 16 bits
constexpr long kMaxImageSide = 16384;
constexpr long long kMaxImagePixels = 64LL << 20;

Pattern BlackPat() { return qd.black; }
Pattern WhitePat() { return qd.white; }

void PutRect(std::vector<UInt8>& d, const Rect& r) {
  PutU16(d, UInt16(r.top));
  PutU16(d, UInt16(r.left));
  PutU16(d, UInt16(r.bottom));
  PutU16(d, UInt16(r.right));
}

void PutPoint(std::vector<UInt8>& d, Point p) {
  PutU16(d, UInt16(p.v));
  PutU16(d, UInt16(p.h));
}

void PutRGB(std::vector<UInt8>& d, const RGBColor& c) {
  PutU16(d, c.red);
  PutU16(d, c.green);
  PutU16(d, c.blue);
}

// PackBits of one row.
void PackBytes(const UInt8* src, std::size_t n, std::vector<UInt8>& out) {
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = 1;
    while (i + run < n && run < 128 && src[i + run] == src[i]) ++run;
    if (run >= 3) {
      out.push_back(UInt8(257 - run));
      out.push_back(src[i]);
      i += run;
      continue;
    }
    std::size_t start = i, lit = 0;
    while (i < n && lit < 128) {
      if (i + 2 < n && src[i] == src[i + 1] && src[i] == src[i + 2]) break;
      ++i;
      ++lit;
    }
    out.push_back(UInt8(lit - 1));
    out.insert(out.end(), src + start, src + start + lit);
  }
}

// PackBits over 16-bit words.
void PackWords(const UInt8* src, std::size_t words, std::vector<UInt8>& out) {
  auto same = [src](std::size_t a, std::size_t b) { return src[2 * a] == src[2 * b] && src[2 * a + 1] == src[2 * b + 1]; };
  std::size_t i = 0;
  while (i < words) {
    std::size_t run = 1;
    while (i + run < words && run < 128 && same(i + run, i)) ++run;
    if (run >= 2) {
      out.push_back(UInt8(257 - run));
      out.push_back(src[2 * i]);
      out.push_back(src[2 * i + 1]);
      i += run;
      continue;
    }
    std::size_t start = i, lit = 0;
    while (i < words && lit < 128) {
      if (i + 1 < words && same(i, i + 1)) break;
      ++i;
      ++lit;
    }
    out.push_back(UInt8(lit - 1));
    out.insert(out.end(), src + 2 * start, src + 2 * (start + lit));
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Recording

namespace qdimpl {

class PictWriter {
 public:
  PicHandle handle = nullptr;
  Rect frame;
  std::vector<UInt8> d;

  explicit PictWriter(const Rect& f) : frame(f) {
    PutU16(d, 0);
    PutRect(d, frame);
    PutU16(d, 0x0011);
    PutU16(d, 0x02FF);
    PutU16(d, 0x0C00);
    PutU16(d, 0xFFFE);
    PutU16(d, 0);
    PutU32(d, 0x00480000);
    PutU32(d, 0x00480000);
    PutRect(d, frame);
    PutU32(d, 0);
    Op(0x001E);
  }

  void Op(UInt16 op) {
    if (d.size() & 1) d.push_back(0);
    PutU16(d, op);
  }

  // Brings the recorded state up to what the next operation needs.
  void Sync(GrafPort* port, const RGBColor& fg, const RGBColor& bg) {
    SyncClip(port);
    if (!fgKnown_ || !(fg_ == fg)) {
      Op(0x001A);
      PutRGB(d, fg);
      fg_ = fg;
      fgKnown_ = true;
    }
    if (!bgKnown_ || !(bg_ == bg)) {
      Op(0x001B);
      PutRGB(d, bg);
      bg_ = bg;
      bgKnown_ = true;
    }
  }

  void SyncPen(GrafPort* port) {
    Sync(port, port->pnColorPat ? port->pnColor : port->rgbFgColor, port->rgbBkColor);
    if (!penKnown_ || !(pnSize_ == port->pnSize)) {
      Op(0x0007);
      PutPoint(d, port->pnSize);
      pnSize_ = port->pnSize;
    }
    if (!penKnown_ || pnMode_ != port->pnMode) {
      Op(0x0008);
      PutU16(d, UInt16(port->pnMode));
      pnMode_ = port->pnMode;
    }
    Pattern pat = port->pnColorPat ? BlackPat() : port->pnPat;
    if (!penKnown_ || !(pnPat_ == pat)) {
      Op(0x0009);
      d.insert(d.end(), pat.pat, pat.pat + 8);
      pnPat_ = pat;
    }
    penKnown_ = true;
  }

  void SyncFill(GrafPort* port) {
    PortPrivate* pv = Priv(port);
    Sync(port, pv->fillColorActive ? pv->fillColor : port->rgbFgColor, port->rgbBkColor);
    Pattern pat = pv->fillColorActive ? BlackPat() : port->fillPat;
    if (!fillKnown_ || !(fillPat_ == pat)) {
      Op(0x000A);
      d.insert(d.end(), pat.pat, pat.pat + 8);
      fillPat_ = pat;
      fillKnown_ = true;
    }
  }

  void SyncBack(GrafPort* port) {
    Sync(port, port->rgbFgColor, port->bkColorPat ? port->bkColor : port->rgbBkColor);
    Pattern pat = port->bkColorPat ? WhitePat() : port->bkPat;
    if (!bkKnown_ || !(bkPat_ == pat)) {
      Op(0x0002);
      d.insert(d.end(), pat.pat, pat.pat + 8);
      bkPat_ = pat;
      bkKnown_ = true;
    }
  }

  void SyncForVerb(GrafPort* port, GrafVerb verb) {
    switch (verb) {
      case kFrameVerb:
      case kPaintVerb: SyncPen(port); break;
      case kEraseVerb: SyncBack(port); break;
      case kFillVerb: SyncFill(port); break;
      default: Sync(port, port->rgbFgColor, port->rgbBkColor); break;
    }
  }

  void SyncText(GrafPort* port) {
    Sync(port, port->rgbFgColor, port->rgbBkColor);
    if (!textKnown_ || txFont_ != port->txFont) {
      Str255 name;
      PortGetFontName(port->txFont, name);
      if (name.Length() > 0) {
        Op(0x002C);
        PutU16(d, UInt16(3 + name.Length()));
        PutU16(d, UInt16(port->txFont));
        d.insert(d.end(), name.s, name.s + 1 + name.Length());
      }
      Op(0x0003);
      PutU16(d, UInt16(port->txFont));
      txFont_ = port->txFont;
    }
    if (!textKnown_ || txFace_ != port->txFace) {
      Op(0x0004);
      d.push_back(port->txFace);
      txFace_ = port->txFace;
    }
    if (!textKnown_ || txSize_ != port->txSize) {
      Op(0x000D);
      PutU16(d, UInt16(port->txSize));
      txSize_ = port->txSize;
    }
    if (!textKnown_ || txMode_ != port->txMode) {
      Op(0x0005);
      PutU16(d, UInt16(port->txMode));
      txMode_ = port->txMode;
    }
    textKnown_ = true;
  }

  void SyncOvalSize(SInt16 w, SInt16 h) {
    Point ov{h, w};
    if (!ovKnown_ || !(ov_ == ov)) {
      Op(0x000B);
      PutPoint(d, ov);
      ov_ = ov;
      ovKnown_ = true;
    }
  }

  void RegionData(const Region& r) {
    std::vector<UInt8> data = RegionToPictData(r);
    d.insert(d.end(), data.begin(), data.end());
  }

  // Records a region drawing, split into row bands when its data would not fit a size field.
  void RegionOp(GrafVerb verb, const Region& r) {
    std::vector<UInt8> data = RegionToPictData(r);
    if (data.size() <= kMaxRegionBytes) {
      Op(UInt16(0x0080 + verb));
      d.insert(d.end(), data.begin(), data.end());
      return;
    }
    SInt32 l, t, rr, b;
    if (!RegionBounds(r, &l, &t, &rr, &b) || b - t < 2) return;
    SInt32 mid = t + (b - t) / 2;
    Region half, box;
    RegionSetRect(box, l, t, rr, mid);
    RegionCombine(r, box, half, RegionOp::Sect);
    RegionOp(verb, half);
    RegionSetRect(box, l, mid, rr, b);
    RegionCombine(r, box, half, RegionOp::Sect);
    RegionOp(verb, half);
  }

  void Finish() {
    Op(0x00FF);
    std::size_t size = d.size();
    d[0] = UInt8(size >> 8);
    d[1] = UInt8(size);
  }

 private:
  void SyncClip(GrafPort* port) {
    Region clip;
    if (port->clipRgn) RegionCopy(**port->clipRgn, clip);
    SInt32 l, t, r, b;
    bool wide = !RegionBounds(clip, &l, &t, &r, &b) || (l <= kMinCoord && t <= kMinCoord && r >= kMaxCoord && b >= kMaxCoord);
    if (wide) RegionSetRect(clip, frame.left, frame.top, frame.right, frame.bottom);
    if (clipKnown_ && clip_.bands == clip.bands) return;
    std::vector<UInt8> data = RegionToPictData(clip);
    if (data.size() > kMaxRegionBytes) {
      Region box;
      RegionSetRect(box, clip.rgnBBox.left, clip.rgnBBox.top, clip.rgnBBox.right, clip.rgnBBox.bottom);
      data = RegionToPictData(box);
    }
    Op(0x0001);
    d.insert(d.end(), data.begin(), data.end());
    RegionCopy(clip, clip_);
    clipKnown_ = true;
  }

  bool clipKnown_ = false, fgKnown_ = false, bgKnown_ = false, penKnown_ = false, fillKnown_ = false,
       bkKnown_ = false, textKnown_ = false, ovKnown_ = false;
  Region clip_;
  RGBColor fg_, bg_;
  Point pnSize_;
  SInt16 pnMode_ = 0;
  Pattern pnPat_, fillPat_, bkPat_;
  SInt16 txFont_ = 0, txSize_ = 0, txMode_ = 0;
  Style txFace_ = 0;
  Point ov_;
};

PortPrivate::PortPrivate() = default;
PortPrivate::~PortPrivate() = default;

static PictWriter* Writer(GrafPort* port) { return port->priv ? port->priv->picture.get() : nullptr; }

void PicRecordLine(GrafPort* port, Point from, Point to) {
  PictWriter* w = Writer(port);
  if (!w) return;
  w->SyncPen(port);
  w->Op(0x0020);
  PutPoint(w->d, from);
  PutPoint(w->d, to);
}

void PicRecordRect(GrafPort* port, GrafVerb verb, const Rect& r) {
  PictWriter* w = Writer(port);
  if (!w) return;
  w->SyncForVerb(port, verb);
  w->Op(UInt16(0x0030 + verb));
  PutRect(w->d, r);
}

void PicRecordRRect(GrafPort* port, GrafVerb verb, const Rect& r, SInt16 ow, SInt16 oh) {
  PictWriter* w = Writer(port);
  if (!w) return;
  w->SyncForVerb(port, verb);
  w->SyncOvalSize(ow, oh);
  w->Op(UInt16(0x0040 + verb));
  PutRect(w->d, r);
}

void PicRecordOval(GrafPort* port, GrafVerb verb, const Rect& r) {
  PictWriter* w = Writer(port);
  if (!w) return;
  w->SyncForVerb(port, verb);
  w->Op(UInt16(0x0050 + verb));
  PutRect(w->d, r);
}

void PicRecordArc(GrafPort* port, GrafVerb verb, const Rect& r, SInt16 start, SInt16 arc) {
  PictWriter* w = Writer(port);
  if (!w) return;
  w->SyncForVerb(port, verb);
  w->Op(UInt16(0x0060 + verb));
  PutRect(w->d, r);
  PutU16(w->d, UInt16(start));
  PutU16(w->d, UInt16(arc));
}

void PicRecordPoly(GrafPort* port, GrafVerb verb, PolyHandle poly) {
  PictWriter* w = Writer(port);
  int n = PortPolygonPointCount(poly);
  if (!w || n == 0) return;
  w->SyncForVerb(port, verb);
  w->Op(UInt16(0x0070 + verb));
  const char* p = reinterpret_cast<const char*>(*poly);
  Rect box;
  std::memcpy(&box, p + 2, 8);
  PutU16(w->d, UInt16(10 + 4 * n));
  PutRect(w->d, box);
  for (int i = 0; i < n; ++i) {
    Point q;
    std::memcpy(&q, p + 10 + 4 * i, 4);
    PutPoint(w->d, q);
  }
}

void PicRecordRgn(GrafPort* port, GrafVerb verb, RgnHandle rgn) {
  PictWriter* w = Writer(port);
  if (!w || !rgn || !*rgn) return;
  w->SyncForVerb(port, verb);
  if (verb == kFrameVerb && RegionToPictData(**rgn).size() > kMaxRegionBytes) {
    // Too large for one opcode: record the frame's pixels as painted pieces.
    Region inner, band;
    RegionCopy(**rgn, inner);
    RegionInset(inner, port->pnSize.h, port->pnSize.v);
    RegionCombine(**rgn, inner, band, RegionOp::Diff);
    w->RegionOp(kPaintVerb, band);
    return;
  }
  w->RegionOp(verb, **rgn);
}

void PicRecordText(GrafPort* port, const void* text, SInt16 count, Point numer, Point denom) {
  PictWriter* w = Writer(port);
  if (!w || count <= 0) return;
  w->SyncText(port);
  const UInt8* t = static_cast<const UInt8*>(text);
  SInt32 offset = 0;
  for (SInt32 at = 0; at < count; at += 255) {
    SInt32 n = std::min<SInt32>(255, count - at);
    w->Op(0x0028);
    PutPoint(w->d, Point{port->pnLoc.v, Clamp16(port->pnLoc.h + offset)});
    w->d.push_back(UInt8(n));
    w->d.insert(w->d.end(), t + at, t + at + n);
    offset += MeasureTextScaled(port, t + at, n, numer, denom, nullptr, nullptr);
  }
}

void PicRecordComment(GrafPort* port, SInt16 kind, SInt16 size, Handle data) {
  PictWriter* w = Writer(port);
  if (!w) return;
  Size have = data ? PortHandleSize(data) : 0;
  if (size <= 0 || !data || !*data) {
    w->Op(0x00A0);
    PutU16(w->d, UInt16(kind));
    return;
  }
  SInt16 n = SInt16(std::min<Size>(size, have));
  w->Op(0x00A1);
  PutU16(w->d, UInt16(kind));
  PutU16(w->d, UInt16(n));
  w->d.insert(w->d.end(), reinterpret_cast<UInt8*>(*data), reinterpret_cast<UInt8*>(*data) + n);
}

void PicRecordBits(GrafPort* port, const PixMap* src, const Rect& srcRect, const Rect& dstRect, SInt16 mode,
                   RgnHandle mask) {
  PictWriter* w = Writer(port);
  if (!w || !src || !src->baseAddr) return;
  long width = long(srcRect.right) - srcRect.left, height = long(srcRect.bottom) - srcRect.top;
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return;
  w->Sync(port, port->rgbFgColor, port->rgbBkColor);
  const int depth = src->pixelSize;
  const bool withMask = mask && *mask;
  // Pixels outside the source's bounds are recorded as white.
  auto pixel = [&](long x, long y) -> UInt32 {
    Point p{SInt16(y), SInt16(x)};
    if (!PortPtInRect(p, &src->bounds)) return depth == 1 ? 0 : InvertMask(depth);
    return ReadPixel(*src, SInt32(x), SInt32(y));
  };
  std::vector<UInt8>& d = w->d;
  std::vector<UInt8> row;
  if (depth == 1) {
    long rb = ((width + 15) / 16) * 2;
    bool packed = rb >= 8;
    w->Op(UInt16((packed ? 0x0098 : 0x0090) + (withMask ? 1 : 0)));
    PutU16(d, UInt16(rb));
    PutRect(d, srcRect);
    PutRect(d, srcRect);
    PutRect(d, dstRect);
    PutU16(d, UInt16(mode));
    if (withMask) w->RegionData(**mask);
    for (long y = srcRect.top; y < srcRect.bottom; ++y) {
      row.assign(std::size_t(rb), 0);
      for (long x = 0; x < width; ++x)
        if (pixel(srcRect.left + x, y)) row[std::size_t(x >> 3)] |= UInt8(0x80 >> (x & 7));
      if (!packed) {
        d.insert(d.end(), row.begin(), row.end());
        continue;
      }
      std::vector<UInt8> packedRow;
      PackBytes(row.data(), row.size(), packedRow);
      if (rb > 250) PutU16(d, UInt16(packedRow.size()));
      else d.push_back(UInt8(packedRow.size()));
      d.insert(d.end(), packedRow.begin(), packedRow.end());
    }
    return;
  }
  const bool wide = depth == 32;
  long rb = wide ? width * 4 : ((width * 2 + 3) / 4) * 4;
  if (rb > 0x3FFF) return;  // wider than a pixel map's row-bytes field allows
  SInt16 packType = rb < 8 ? 1 : (wide ? 4 : 3);
  w->Op(UInt16(0x009A + (withMask ? 1 : 0)));
  PutU32(d, 0x000000FF);
  PutU16(d, UInt16(rb | 0x8000));
  PutRect(d, srcRect);
  PutU16(d, 0);                 // version
  PutU16(d, UInt16(packType));
  PutU32(d, 0);                 // packed size
  PutU32(d, 0x00480000);
  PutU32(d, 0x00480000);
  PutU16(d, 16);                // direct pixels
  PutU16(d, UInt16(depth));
  PutU16(d, 3);
  PutU16(d, wide ? 8 : 5);
  PutU32(d, 0);
  PutU32(d, 0);
  PutU32(d, 0);
  PutRect(d, srcRect);
  PutRect(d, dstRect);
  PutU16(d, UInt16(mode));
  if (withMask) w->RegionData(**mask);
  std::vector<UInt8> packedRow;
  for (long y = srcRect.top; y < srcRect.bottom; ++y) {
    row.clear();
    if (packType == 1) {
      for (long x = 0; x < width; ++x) {
        UInt32 p = pixel(srcRect.left + x, y);
        if (wide) PutU32(row, p & 0xFFFFFF);
        else PutU16(row, p & 0x7FFF);
      }
      row.resize(std::size_t(rb), 0);
      d.insert(d.end(), row.begin(), row.end());
      continue;
    }
    packedRow.clear();
    if (wide) {
      row.resize(std::size_t(width * 3));
      for (long x = 0; x < width; ++x) {
        UInt32 p = pixel(srcRect.left + x, y);
        row[std::size_t(x)] = UInt8(p >> 16);
        row[std::size_t(width + x)] = UInt8(p >> 8);
        row[std::size_t(2 * width + x)] = UInt8(p);
      }
      PackBytes(row.data(), row.size(), packedRow);
    } else {
      for (long x = 0; x < width; ++x) PutU16(row, pixel(srcRect.left + x, y) & 0x7FFF);
      row.resize(std::size_t(rb), 0);
      PackWords(row.data(), row.size() / 2, packedRow);
    }
    if (rb > 250) PutU16(d, UInt16(packedRow.size()));
    else d.push_back(UInt8(packedRow.size()));
    d.insert(d.end(), packedRow.begin(), packedRow.end());
  }
}

void PicEndRecording(GrafPort* port) {
  if (!port->priv || !port->priv->picture) return;
  std::unique_ptr<PictWriter> w = std::move(port->priv->picture);
  w->Finish();
  Handle h = reinterpret_cast<Handle>(w->handle);
  if (PortIsHandle(h)) {
    PortResizeHandle(h, Size(w->d.size()));
    if (PortMemError() == noErr) std::memcpy(*h, w->d.data(), w->d.size());
    else SetError(memFullErr);
  }
  // A replacement for the picture-data procedure gets the whole picture.
  if (port->grafProcs && port->grafProcs->putPicProc && port->grafProcs->putPicProc != PortStdPutPic) {
    for (std::size_t at = 0; at < w->d.size(); at += 32766) {
      std::size_t n = std::min<std::size_t>(32766, w->d.size() - at);
      port->grafProcs->putPicProc(w->d.data() + at, SInt16(n));
    }
  }
}

}  // namespace qdimpl

PicHandle PortOpenPicture(const Rect* frame) {
  if (!frame) return nullptr;
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if (pv->picture) PortClosePicture();
  Handle h = PortAllocHandle(10);
  if (!h) {
    SetError(memFullErr);
    return nullptr;
  }
  pv->picture = std::make_unique<PictWriter>(*frame);
  pv->picture->handle = reinterpret_cast<PicHandle>(h);
  std::memcpy(*h, pv->picture->d.data(), 10);
  PortHidePen();
  SetError(noErr);
  return pv->picture->handle;
}

void PortClosePicture() {
  GrafPort* port = Current();
  if (!port->priv || !port->priv->picture) return;
  PicEndRecording(port);
  PortShowPen();
}

void PortKillPicture(PicHandle pic) {
  if (!pic) return;
  GrafPort* port = Current();
  if (port->priv && port->priv->picture && port->priv->picture->handle == pic) {
    port->priv->picture.reset();
    PortShowPen();
  }
  PortFreeHandle(reinterpret_cast<Handle>(pic));
}

void PortPicComment(SInt16 kind, SInt16 dataSize, Handle dataHandle) {
  GrafPort* port = Current();
  if (port->grafProcs && port->grafProcs->commentProc) port->grafProcs->commentProc(kind, dataSize, dataHandle);
  else PortStdComment(kind, dataSize, dataHandle);
}

void PortStdComment(SInt16 kind, SInt16 dataSize, Handle dataHandle) {
  PicRecordComment(Current(), kind, dataSize, dataHandle);
}

void PortStdPutPic(const void* dataPtr, SInt16 byteCount) {
  PictWriter* w = Writer(Current());
  if (!w || !dataPtr || byteCount <= 0) return;
  const UInt8* p = static_cast<const UInt8*>(dataPtr);
  w->d.insert(w->d.end(), p, p + byteCount);
}

UInt32 PortDoubleToCommentFixed(double value) {
  UInt32 f = UInt32(DoubleToFixed(value));
  UInt8 bytes[4] = {UInt8(f >> 24), UInt8(f >> 16), UInt8(f >> 8), UInt8(f)};
  UInt32 out;
  std::memcpy(&out, bytes, 4);
  return out;
}

double PortCommentFixedToDouble(UInt32 value) {
  UInt8 bytes[4];
  std::memcpy(bytes, &value, 4);
  return FixedToDouble(Fixed(GetU32(bytes)));
}

// ---------------------------------------------------------------------------------------------
// Playback

namespace {

// The data being played; the standard picture-data procedure reads from the innermost one.
struct Source {
  const UInt8* data = nullptr;
  std::size_t size = 0;
  std::size_t pos = 0;
  bool failed = false;
  Source* outer = nullptr;
};
Source* gSource = nullptr;

void RawRead(void* dst, std::size_t n) {
  if (n == 0) return;
  Source* s = gSource;
  if (!s || s->failed || n > s->size - s->pos) {
    if (s) s->failed = true;
    std::memset(dst, 0, n);
    return;
  }
  std::memcpy(dst, s->data + s->pos, n);
  s->pos += n;
}

class Player {
 public:
  Player(GrafPort* port, Source& src, const Rect& frame, const Rect& dst) : port_(port), src_(src), frame_(frame), dst_(dst) {
    const QDProcs* p = port->grafProcs;
    customGet_ = p && p->getPicProc && p->getPicProc != PortStdGetPic ? p->getPicProc : nullptr;
  }

  bool Run();

 private:
  // Reading, through a replacement picture-data procedure when the port has one.
  void Read(void* dst, std::size_t n) {
    if (!customGet_) {
      RawRead(dst, n);
      return;
    }
    UInt8* p = static_cast<UInt8*>(dst);
    while (n > 0) {
      std::size_t k = std::min<std::size_t>(n, 32766);
      customGet_(p, SInt16(k));
      p += k;
      n -= k;
    }
  }
  bool Bad() const { return src_.failed; }
  std::size_t Left() const { return src_.size - src_.pos; }
  UInt8 U8() {
    UInt8 b = 0;
    Read(&b, 1);
    return b;
  }
  UInt16 U16() {
    UInt8 b[2];
    Read(b, 2);
    return GetU16(b);
  }
  UInt32 U32() {
    UInt8 b[4];
    Read(b, 4);
    return GetU32(b);
  }
  SInt16 S16() { return SInt16(U16()); }
  Point Pt() {
    Point p;
    p.v = S16();
    p.h = S16();
    return p;
  }
  Rect R() {
    Rect r;
    r.top = S16();
    r.left = S16();
    r.bottom = S16();
    r.right = S16();
    return r;
  }
  void Skip(std::size_t n) {
    if (n > Left()) {
      src_.failed = true;
      return;
    }
    UInt8 buf[256];
    while (n > 0 && !Bad()) {
      std::size_t k = std::min<std::size_t>(n, sizeof buf);
      Read(buf, k);
      n -= k;
    }
  }
  void Fail() { src_.failed = true; }

  // Coordinates from the picture's frame onto the destination.
  SInt16 MapH(SInt32 x) const { return Map(x - originH_, frame_.left, frame_.right, dst_.left, dst_.right); }
  SInt16 MapV(SInt32 y) const { return Map(y - originV_, frame_.top, frame_.bottom, dst_.top, dst_.bottom); }
  static SInt16 Map(SInt32 v, SInt32 f0, SInt32 f1, SInt32 t0, SInt32 t1) {
    long long fs = f1 - f0, ts = t1 - t0;
    if (fs <= 0 || fs == ts) return Clamp16((long long)v - f0 + t0);
    long long num = (long long)(v - f0) * ts, q = num / fs;
    if (num % fs != 0 && num < 0) --q;
    return Clamp16(q + t0);
  }
  Point MapPt(Point p) const { return Point{MapV(p.v), MapH(p.h)}; }
  Rect MapRect(const Rect& r) const { return Rect{MapV(r.top), MapH(r.left), MapV(r.bottom), MapH(r.right)}; }
  SInt16 ScaleH(SInt32 v) const { return ScaleLen(v, frame_.right - frame_.left, dst_.right - dst_.left); }
  SInt16 ScaleV(SInt32 v) const { return ScaleLen(v, frame_.bottom - frame_.top, dst_.bottom - dst_.top); }
  static SInt16 ScaleLen(SInt32 v, SInt32 from, SInt32 to) {
    if (from <= 0 || from == to) return SInt16(v);
    long long s = (long long)v * to / from;
    if (v > 0 && s == 0) s = 1;
    return Clamp16(s);
  }
  bool Scaled() const {
    return frame_.right - frame_.left != dst_.right - dst_.left || frame_.bottom - frame_.top != dst_.bottom - dst_.top;
  }

  bool ReadRegion(Region& r) {
    if (Left() < 2) return Fail(), false;
    UInt16 size = U16();
    if (size < 10 || size - 2u > Left()) return Fail(), false;
    std::vector<UInt8> data(size);
    data[0] = UInt8(size >> 8);
    data[1] = UInt8(size);
    Read(data.data() + 2, size - 2u);
    if (Bad() || !RegionFromPictData(r, data.data(), data.size())) return Fail(), false;
    if (originH_ || originV_) RegionOffset(r, -originH_, -originV_);
    if (Scaled() || !(frame_.left == dst_.left && frame_.top == dst_.top)) RegionMap(r, frame_, dst_);
    return true;
  }

  bool ReadPoly(PolyHandle* out) {
    if (Left() < 10) return Fail(), false;
    UInt16 size = U16();
    if (size < 10 || size - 2u > Left()) return Fail(), false;
    std::size_t n = (size - 10u) / 4;
    R();  // the box is recomputed from the mapped points
    Handle h = PortAllocHandle(Size(10 + 4 * n));
    if (!h) return Fail(), false;
    Rect box{};
    for (std::size_t i = 0; i < n; ++i) {
      Point p = MapPt(Pt());
      if (i == 0) box = Rect{p.v, p.h, p.v, p.h};
      box.top = std::min(box.top, p.v);
      box.left = std::min(box.left, p.h);
      box.bottom = std::max(box.bottom, p.v);
      box.right = std::max(box.right, p.h);
      std::memcpy(*h + 10 + 4 * i, &p, 4);
    }
    Skip(size - 10u - 4 * n);
    SInt16 s16 = SInt16(10 + 4 * n);
    std::memcpy(*h, &s16, 2);
    std::memcpy(*h + 2, &box, 8);
    *out = reinterpret_cast<PolyHandle>(h);
    return !Bad();
  }

  bool ReadPixPat(bool* isColor, RGBColor* rgb, Pattern* pat);
  bool ReadBits(UInt16 op);
  bool SkipByRule(UInt16 op);

  void CallLine(Point to) {
    const QDProcs* p = port_->grafProcs;
    if (p && p->lineProc) p->lineProc(to);
    else PortStdLine(to);
    port_->pnLoc = to;
  }
  void CallText(const UInt8* text, SInt16 n) {
    Point numer{ScaleV(txNumer_.v * 64), ScaleH(txNumer_.h * 64)};
    Point denom{SInt16(txDenom_.v * 64), SInt16(txDenom_.h * 64)};
    if (txDenom_.v <= 0 || txDenom_.h <= 0 || txNumer_.v <= 0 || txNumer_.h <= 0) {
      numer = Point{ScaleV(64), ScaleH(64)};
      denom = Point{64, 64};
    }
    const QDProcs* p = port_->grafProcs;
    if (p && p->textProc) p->textProc(n, text, numer, denom);
    else PortStdText(n, text, numer, denom);
  }
  void Shape(int kind, GrafVerb verb);

  GrafPort* port_;
  Source& src_;
  Rect frame_, dst_;
  bool v1_ = false;
  void (*customGet_)(void*, SInt16) = nullptr;
  Rect lastRect_{};
  SInt16 ovW_ = 0, ovH_ = 0;
  SInt16 lastStart_ = 0, lastArc_ = 0;
  PolyHandle lastPoly_ = nullptr;
  Region lastRgn_;
  bool haveRgn_ = false;
  Point textLoc_{};
  Point lineEnd_{};
  Point txNumer_{1, 1}, txDenom_{1, 1};
  SInt32 originH_ = 0, originV_ = 0;
  RgnHandle portClip_ = nullptr;  // the port's clip before playback
  std::vector<std::pair<SInt16, SInt16>> fontMap_;

 public:
  void SetPortClip(RgnHandle c) { portClip_ = c; }
  ~Player() {
    if (lastPoly_) PortFreeHandle(reinterpret_cast<Handle>(lastPoly_));
  }
};

void Player::Shape(int kind, GrafVerb verb) {
  const QDProcs* p = port_->grafProcs;
  Rect r = MapRect(lastRect_);
  switch (kind) {
    case 3:
      if (p && p->rectProc) p->rectProc(verb, &r);
      else PortStdRect(verb, &r);
      break;
    case 4: {
      SInt16 w = ScaleH(ovW_), h = ScaleV(ovH_);
      if (p && p->rRectProc) p->rRectProc(verb, &r, w, h);
      else PortStdRRect(verb, &r, w, h);
      break;
    }
    case 5:
      if (p && p->ovalProc) p->ovalProc(verb, &r);
      else PortStdOval(verb, &r);
      break;
    default:
      if (p && p->arcProc) p->arcProc(verb, &r, lastStart_, lastArc_);
      else PortStdArc(verb, &r, lastStart_, lastArc_);
      break;
  }
}

bool Player::ReadPixPat(bool* isColor, RGBColor* rgb, Pattern* pat) {
  UInt16 type = U16();
  Read(pat->pat, 8);
  *isColor = false;
  if (type == 2) {
    rgb->red = U16();
    rgb->green = U16();
    rgb->blue = U16();
    *isColor = true;
    return !Bad();
  }
  if (type != 1) return Fail(), false;
  // A pixel pattern: skip its pixel map, colour table and pixels; the black-and-white
  // pattern stands in for it.
  UInt16 rowBytes = U16() & 0x3FFF;
  Rect bounds = R();
  Skip(2 + 2 + 4 + 4 + 4 + 2);
  UInt16 pixelSize = U16();
  Skip(2 + 2 + 4 + 4 + 4);
  U32();
  U16();
  UInt16 ctSize = U16();
  if (ctSize > 255) return Fail(), false;
  Skip(8u * (ctSize + 1u));
  long height = long(bounds.bottom) - bounds.top;
  if (height < 0 || height > kMaxImageSide || pixelSize > 32) return Fail(), false;
  for (long y = 0; y < height && !Bad(); ++y) {
    if (rowBytes < 8) {
      Skip(rowBytes);
    } else {
      std::size_t n = rowBytes > 250 ? U16() : U8();
      Skip(n);
    }
  }
  return !Bad();
}

bool Player::SkipByRule(UInt16 op) {
  if ((op >= 0x0024 && op <= 0x0027) || (op >= 0x002D && op <= 0x002F) || (op >= 0x0092 && op <= 0x0097) ||
      (op >= 0x009C && op <= 0x009F) || (op >= 0x00A2 && op <= 0x00AF)) {
    Skip(U16());
  } else if ((op >= 0x0035 && op <= 0x0037) || (op >= 0x0045 && op <= 0x0047) || (op >= 0x0055 && op <= 0x0057)) {
    Skip(8);
  } else if (op >= 0x0065 && op <= 0x0067) {
    Skip(12);
  } else if (op >= 0x006D && op <= 0x006F) {
    Skip(4);
  } else if ((op >= 0x0075 && op <= 0x0077) || (op >= 0x0085 && op <= 0x0087)) {
    UInt16 size = U16();
    if (size < 2) return Fail(), false;
    Skip(size - 2u);
  } else if ((op >= 0x0017 && op <= 0x0019) || (op >= 0x003D && op <= 0x003F) || (op >= 0x004D && op <= 0x004F) ||
             (op >= 0x005D && op <= 0x005F) || (op >= 0x007D && op <= 0x007F) || (op >= 0x008D && op <= 0x008F) ||
             (op >= 0x00B0 && op <= 0x00CF) || (op >= 0x8000 && op <= 0x80FF)) {
    // no data
  } else if ((op >= 0x00D0 && op <= 0x00FE) || op >= 0x8100) {
    UInt32 n = U32();
    if (n > Left()) return Fail(), false;
    Skip(n);
  } else if (op >= 0x0100 && op <= 0x7FFF) {
    Skip(std::size_t(op >> 8) * 2);
  } else {
    return Fail(), false;
  }
  return !Bad();
}

// Unpacks PackBits data of exactly n input bytes into out (unit bytes a unit); output beyond
// the row is dropped.
bool UnpackBits(const UInt8* in, std::size_t n, std::size_t unit, UInt8* out, std::size_t outSize) {
  std::size_t i = 0, o = 0;
  while (i < n) {
    SInt8 flag = SInt8(in[i++]);
    if (flag >= 0) {
      std::size_t count = std::size_t(flag + 1) * unit;
      if (count > n - i) return false;
      std::size_t k = std::min(count, outSize - std::min(o, outSize));
      std::memcpy(out + o, in + i, k);
      o += count;
      i += count;
    } else if (flag != -128) {
      std::size_t count = std::size_t(1 - flag);
      if (unit > n - i) return false;
      for (std::size_t r = 0; r < count; ++r) {
        for (std::size_t b = 0; b < unit; ++b)
          if (o + b < outSize) out[o + b] = in[i + b];
        o += unit;
      }
      i += unit;
    }
  }
  return true;
}

bool Player::ReadBits(UInt16 op) {
  const bool direct = op == 0x009A || op == 0x009B;
  const bool withMask = op & 1;
  const bool neverPacked = op == 0x0090 || op == 0x0091;
  if (direct) U32();  // base address
  UInt16 rbField = U16();
  const bool isPixMap = direct || (rbField & 0x8000);
  const long rowBytes = rbField & 0x3FFF;
  Rect bounds = R();
  SInt16 packType = 0, pixelSize = 1, cmpCount = 1;
  std::vector<RGBColor> ctab;
  if (isPixMap) {
    U16();
    packType = S16();
    U32();
    U32();
    U32();
    U16();
    pixelSize = S16();
    cmpCount = S16();
    U16();
    U32();
    U32();
    U32();
    if (!direct) {
      U32();
      U16();
      UInt16 ctSize = U16();
      if (ctSize > 255) return Fail(), false;
      ctab.assign(256, RGBColor{0, 0, 0});
      for (UInt32 k = 0; k <= ctSize && !Bad(); ++k) {
        UInt16 value = U16();
        RGBColor c;
        c.red = U16();
        c.green = U16();
        c.blue = U16();
        // Device tables number their entries in order; others give each entry's index.
        ctab[(value <= 255 ? value : k) & 0xFF] = c;
      }
    }
  }
  Rect srcRect = R(), dstRect = R();
  SInt16 mode = S16();
  Region mask;
  bool haveMask = false;
  if (withMask) {
    if (!ReadRegion(mask)) return false;
    haveMask = true;
  }
  if (Bad()) return false;
  const long width = long(bounds.right) - bounds.left, height = long(bounds.bottom) - bounds.top;
  const bool okDepth = pixelSize == 1 || pixelSize == 2 || pixelSize == 4 || pixelSize == 8 || pixelSize == 16 ||
                       pixelSize == 32;
  if (!okDepth || width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
      (long long)width * height > kMaxImagePixels || (direct && pixelSize < 16) || (!direct && pixelSize > 8) ||
      cmpCount < 1 || cmpCount > 4)
    return Fail(), false;
  const long needBytes = (width * pixelSize + 7) / 8;
  if (rowBytes < needBytes) return Fail(), false;

  // Decode into a pixel map of depth 1 (plain bit maps), 16 or 32.
  const int outDepth = (!isPixMap && pixelSize == 1) ? 1 : (pixelSize == 16 ? 16 : 32);
  PixMap pm;
  pm.bounds = bounds;
  pm.pixelSize = SInt16(outDepth);
  pm.rowBytes = SInt32(((width * outDepth + 31) / 32) * 4);
  std::vector<UInt8> pixels(std::size_t(pm.rowBytes) * std::size_t(height), 0);
  pm.baseAddr = reinterpret_cast<Ptr>(pixels.data());
  std::vector<UInt8> row, packed;
  for (long y = 0; y < height; ++y) {
    std::size_t rowLen = std::size_t(rowBytes);
    if (pixelSize == 32 && packType == 2) rowLen = std::size_t(width * 3);
    row.assign(std::max<std::size_t>(rowLen, std::size_t(cmpCount) * std::size_t(width)), 0);
    bool unpacked = rowBytes < 8 || neverPacked || packType == 1 || packType == 2;
    if (unpacked) {
      if (rowLen > Left()) return Fail(), false;
      Read(row.data(), rowLen);
    } else {
      std::size_t n = rowBytes > 250 ? U16() : U8();
      if (n > Left()) return Fail(), false;
      packed.resize(n);
      Read(packed.data(), n);
      std::size_t unit = (pixelSize == 16 && (packType == 0 || packType == 3)) ? 2 : 1;
      if (Bad() || !UnpackBits(packed.data(), n, unit, row.data(), row.size())) return Fail(), false;
    }
    if (Bad()) return false;
    SInt32 py = SInt32(bounds.top + y);
    for (long x = 0; x < width; ++x) {
      SInt32 px = SInt32(bounds.left + x);
      UInt32 v;
      if (pixelSize == 32) {
        UInt8 r, g, b;
        if (packType == 2) {
          r = row[std::size_t(3 * x)];
          g = row[std::size_t(3 * x + 1)];
          b = row[std::size_t(3 * x + 2)];
        } else if (rowBytes < 8 || neverPacked || packType == 1) {
          r = row[std::size_t(4 * x + 1)];
          g = row[std::size_t(4 * x + 2)];
          b = row[std::size_t(4 * x + 3)];
        } else {
          std::size_t plane = cmpCount == 4 ? std::size_t(width) : 0;  // skip the alpha plane
          r = row[plane + std::size_t(x)];
          g = row[plane + std::size_t(width + x)];
          b = row[plane + std::size_t(2 * width + x)];
        }
        v = (UInt32(r) << 16) | (UInt32(g) << 8) | b;
      } else if (pixelSize == 16) {
        v = GetU16(&row[std::size_t(2 * x)]) & 0x7FFF;
      } else {
        long bit = x * pixelSize;
        UInt32 idx = (row[std::size_t(bit >> 3)] >> (8 - pixelSize - (bit & 7))) & ((1u << pixelSize) - 1);
        if (outDepth == 1) v = idx;
        else v = ColorToPixel(ctab.empty() ? (idx ? RGBColor{0, 0, 0} : RGBColor{65535, 65535, 65535}) : ctab[idx], 32);
      }
      WritePixel(pm, px, py, v);
    }
  }
  Rect to = MapRect(dstRect);
  RgnHandle maskHandle = nullptr;
  Region* maskBody = nullptr;
  if (haveMask) {
    maskBody = &mask;
    maskHandle = &maskBody;
  }
  const QDProcs* p = port_->grafProcs;
  if (p && p->bitsProc) p->bitsProc(&pm, &srcRect, &to, mode, maskHandle);
  else PortStdBits(&pm, &srcRect, &to, mode, maskHandle);
  return !Bad();
}

bool Player::Run() {
  // Header: size, frame, then the version.
  Skip(10);
  if (Left() < 2) return Fail(), false;
  UInt8 b0 = U8(), b1 = U8();
  if (b0 == 0x11 && b1 == 0x01) {
    v1_ = true;
  } else if (b0 == 0x00 && b1 == 0x11) {
    if (U16() != 0x02FF) return Fail(), false;
  } else {
    return Fail(), false;
  }
  const QDProcs* procs = port_->grafProcs;
  while (!Bad()) {
    if (!v1_ && (src_.pos & 1)) U8();
    if (Left() == 0) return Fail(), false;  // no end opcode
    UInt16 op = v1_ ? U8() : U16();
    if (Bad()) break;
    if (op == 0x00FF) return true;
    switch (op) {
      case 0x0000: break;
      case 0x0001: {
        Region clip;
        if (!ReadRegion(clip)) break;
        if (portClip_ && *portClip_) RegionCombine(clip, **portClip_, clip, RegionOp::Sect);
        if (port_->clipRgn) RegionCopy(clip, **port_->clipRgn);
        break;
      }
      case 0x0002: {
        Pattern pat;
        Read(pat.pat, 8);
        PortBackPattern(&pat);
        break;
      }
      case 0x0003: {
        SInt16 id = S16(), num = id;
        for (auto& m : fontMap_)
          if (m.first == id) num = m.second;
        port_->txFont = num;
        break;
      }
      case 0x0004: port_->txFace = U8(); break;
      case 0x0005: port_->txMode = S16(); break;
      case 0x0006: U32(); break;
      case 0x0007: {
        Point p = Pt();
        port_->pnSize = Point{ScaleV(p.v), ScaleH(p.h)};
        break;
      }
      case 0x0008: port_->pnMode = S16(); break;
      case 0x0009: {
        Pattern pat;
        Read(pat.pat, 8);
        PortPenPattern(&pat);
        break;
      }
      case 0x000A: {
        Read(port_->fillPat.pat, 8);
        Priv(port_)->fillColorActive = false;
        break;
      }
      case 0x000B: {
        Point p = Pt();
        ovH_ = p.v;
        ovW_ = p.h;
        break;
      }
      case 0x000C:
        originH_ += S16();
        originV_ += S16();
        break;
      case 0x000D: port_->txSize = S16(); break;
      case 0x000E: PortForeColor(SInt32(U32())); break;
      case 0x000F: PortBackColor(SInt32(U32())); break;
      case 0x0010:
        txNumer_ = Pt();
        txDenom_ = Pt();
        break;
      case 0x0011:
        if (v1_) U8();
        else U16();
        break;
      case 0x0012:
      case 0x0013:
      case 0x0014: {
        bool isColor;
        RGBColor rgb;
        Pattern pat;
        if (!ReadPixPat(&isColor, &rgb, &pat)) break;
        if (op == 0x0012) {
          port_->bkColorPat = isColor;
          port_->bkColor = rgb;
          if (!isColor) port_->bkPat = pat;
        } else if (op == 0x0013) {
          port_->pnColorPat = isColor;
          port_->pnColor = rgb;
          if (!isColor) port_->pnPat = pat;
        } else {
          Priv(port_)->fillColorActive = isColor;
          Priv(port_)->fillColor = rgb;
          if (!isColor) port_->fillPat = pat;
        }
        break;
      }
      case 0x0015:
      case 0x0016: U16(); break;
      case 0x001A: {
        RGBColor c;
        c.red = U16();
        c.green = U16();
        c.blue = U16();
        port_->rgbFgColor = c;
        break;
      }
      case 0x001B: {
        RGBColor c;
        c.red = U16();
        c.green = U16();
        c.blue = U16();
        port_->rgbBkColor = c;
        break;
      }
      case 0x001C:
      case 0x001E: break;
      case 0x001D:
      case 0x001F: Skip(6); break;
      case 0x0020: {
        Point a = Pt(), b = Pt();
        if (Bad()) break;
        port_->pnLoc = MapPt(a);
        lineEnd_ = b;
        CallLine(MapPt(b));
        break;
      }
      case 0x0021: {
        Point b = Pt();
        if (Bad()) break;
        lineEnd_ = b;
        CallLine(MapPt(b));
        break;
      }
      case 0x0022: {
        Point a = Pt();
        SInt8 dh = SInt8(U8()), dv = SInt8(U8());
        if (Bad()) break;
        port_->pnLoc = MapPt(a);
        lineEnd_ = Point{Clamp16(a.v + dv), Clamp16(a.h + dh)};
        CallLine(MapPt(lineEnd_));
        break;
      }
      case 0x0023: {
        SInt8 dh = SInt8(U8()), dv = SInt8(U8());
        if (Bad()) break;
        lineEnd_ = Point{Clamp16(lineEnd_.v + dv), Clamp16(lineEnd_.h + dh)};
        CallLine(MapPt(lineEnd_));
        break;
      }
      case 0x0028:
      case 0x0029:
      case 0x002A:
      case 0x002B: {
        if (op == 0x0028) {
          textLoc_ = Pt();
        } else if (op == 0x0029) {
          textLoc_.h = Clamp16(textLoc_.h + U8());
        } else if (op == 0x002A) {
          textLoc_.v = Clamp16(textLoc_.v + U8());
        } else {
          textLoc_.h = Clamp16(textLoc_.h + U8());
          textLoc_.v = Clamp16(textLoc_.v + U8());
        }
        UInt8 n = U8();
        UInt8 text[256];
        Read(text, n);
        if (Bad()) break;
        port_->pnLoc = MapPt(textLoc_);
        CallText(text, n);
        break;
      }
      case 0x002C: {
        UInt16 len = U16();
        if (len < 3 || len > Left()) {
          Fail();
          break;
        }
        SInt16 id = S16();
        UInt8 nameLen = U8();
        if (nameLen > len - 3) {
          Fail();
          break;
        }
        Str255 name;
        name.s[0] = nameLen;
        Read(name.s + 1, nameLen);
        Skip(len - 3u - nameLen);
        SInt16 num = 0;
        PortFontNumber(name, &num);
        if (num != 0 || PortEqualString(name, Str255("Chicago")) == 0) fontMap_.emplace_back(id, num);
        break;
      }
      case 0x00A0: {
        SInt16 kind = S16();
        if (Bad()) break;
        if (procs && procs->commentProc) procs->commentProc(kind, 0, nullptr);
        else PortStdComment(kind, 0, nullptr);
        break;
      }
      case 0x00A1: {
        SInt16 kind = S16();
        UInt16 size = U16();
        if (size > Left()) {
          Fail();
          break;
        }
        Handle h = PortAllocHandle(size);
        if (!h) {
          Fail();
          break;
        }
        Read(*h, size);
        if (!Bad()) {
          if (procs && procs->commentProc) procs->commentProc(kind, SInt16(size), h);
          else PortStdComment(kind, SInt16(size), h);
        }
        PortFreeHandle(h);
        break;
      }
      case 0x0090:
      case 0x0091:
      case 0x0098:
      case 0x0099:
      case 0x009A:
      case 0x009B: ReadBits(op); break;
      default:
        if (op >= 0x0030 && op <= 0x0064 && (op & 0x0F) <= 4 && (op & 0x08) == 0) {
          // rect, round rect, oval and arc with their rectangle
          lastRect_ = R();
          int kind = op >> 4;
          if (kind == 6) {
            lastStart_ = S16();
            lastArc_ = S16();
          }
          if (!Bad()) Shape(kind, GrafVerb(op & 0x07));
        } else if (op >= 0x0038 && op <= 0x006C && (op & 0x0F) >= 8 && (op & 0x0F) <= 0x0C) {
          // the same rectangle again
          int kind = op >> 4;
          if (kind == 6) {
            lastStart_ = S16();
            lastArc_ = S16();
          }
          if (!Bad()) Shape(kind, GrafVerb(op & 0x07));
        } else if (op >= 0x0070 && op <= 0x0074) {
          PolyHandle poly = nullptr;
          if (!ReadPoly(&poly)) break;
          if (lastPoly_) PortFreeHandle(reinterpret_cast<Handle>(lastPoly_));
          lastPoly_ = poly;
          if (procs && procs->polyProc) procs->polyProc(GrafVerb(op & 7), poly);
          else PortStdPoly(GrafVerb(op & 7), poly);
        } else if (op >= 0x0078 && op <= 0x007C) {
          if (!lastPoly_) break;
          if (procs && procs->polyProc) procs->polyProc(GrafVerb(op & 7), lastPoly_);
          else PortStdPoly(GrafVerb(op & 7), lastPoly_);
        } else if (op >= 0x0080 && op <= 0x0084) {
          if (!ReadRegion(lastRgn_)) break;
          haveRgn_ = true;
          Region* body = &lastRgn_;
          if (procs && procs->rgnProc) procs->rgnProc(GrafVerb(op & 7), &body);
          else PortStdRgn(GrafVerb(op & 7), &body);
        } else if (op >= 0x0088 && op <= 0x008C) {
          if (!haveRgn_) break;
          Region* body = &lastRgn_;
          if (procs && procs->rgnProc) procs->rgnProc(GrafVerb(op & 7), &body);
          else PortStdRgn(GrafVerb(op & 7), &body);
        } else {
          SkipByRule(op);
        }
        break;
    }
  }
  return false;
}

// The port's state that playback changes, put back afterwards.
struct SavedState {
  PenState pen;
  bool pnColorPat, bkColorPat;
  RGBColor pnColor, bkColor, fg, bg;
  Pattern bkPat, fillPat;
  SInt16 txFont, txMode, txSize;
  Style txFace;
  RgnHandle clip;

  explicit SavedState(GrafPort* p) {
    PortGetPenState(&pen);
    pnColorPat = p->pnColorPat;
    bkColorPat = p->bkColorPat;
    pnColor = p->pnColor;
    bkColor = p->bkColor;
    fg = p->rgbFgColor;
    bg = p->rgbBkColor;
    bkPat = p->bkPat;
    fillPat = p->fillPat;
    txFont = p->txFont;
    txMode = p->txMode;
    txSize = p->txSize;
    txFace = p->txFace;
    clip = PortNewRegion();
    PortGetClip(clip);
  }
  void Restore(GrafPort* p) {
    PortSetPenState(&pen);
    p->pnColorPat = pnColorPat;
    p->bkColorPat = bkColorPat;
    p->pnColor = pnColor;
    p->bkColor = bkColor;
    p->rgbFgColor = fg;
    p->rgbBkColor = bg;
    p->bkPat = bkPat;
    p->fillPat = fillPat;
    p->txFont = txFont;
    p->txMode = txMode;
    p->txSize = txSize;
    p->txFace = txFace;
    Priv(p)->fillColorActive = false;
    PortSetClip(clip);
    PortFreeRegion(clip);
  }
};

}  // namespace

void PortStdGetPic(void* dataPtr, SInt16 byteCount) {
  if (!dataPtr || byteCount <= 0) return;
  RawRead(dataPtr, std::size_t(byteCount));
}

Rect PortPictureFrame(PicHandle pic) {
  Handle h = reinterpret_cast<Handle>(pic);
  if (!pic || !*pic || PortHandleSize(h) < 10) return Rect{};
  const UInt8* p = reinterpret_cast<const UInt8*>(*h);
  return Rect{SInt16(GetU16(p + 2)), SInt16(GetU16(p + 4)), SInt16(GetU16(p + 6)), SInt16(GetU16(p + 8))};
}

void PortDrawPicture(PicHandle pic, const Rect* dst) {
  Handle h = reinterpret_cast<Handle>(pic);
  if (!pic || !*pic || !dst) {
    SetError(paramErr);
    return;
  }
  Size size = PortHandleSize(h);
  if (size < 12) {
    SetError(kPictureDataErr);
    return;
  }
  GrafPort* port = Current();
  // Play from a copy: a procedure may move or free the picture's block meanwhile.
  std::vector<UInt8> bytes(reinterpret_cast<const UInt8*>(*h), reinterpret_cast<const UInt8*>(*h) + size);
  Source src;
  src.data = bytes.data();
  src.size = bytes.size();
  src.outer = gSource;
  gSource = &src;
  SavedState saved(port);
  PortPenNormal();
  port->rgbFgColor = RGBColor{0, 0, 0};
  port->rgbBkColor = RGBColor{65535, 65535, 65535};
  port->bkPat = qd.white;
  port->bkColorPat = false;
  port->fillPat = qd.black;
  port->txFont = 0;
  port->txFace = 0;
  port->txSize = 0;
  port->txMode = srcOr;
  bool ok;
  {
    Player player(port, src, PortPictureFrame(pic), *dst);
    player.SetPortClip(saved.clip);
    ok = player.Run();
  }
  saved.Restore(port);
  gSource = src.outer;
  SetError(ok ? OSErr(noErr) : OSErr(kPictureDataErr));
}

OSErr PortCheckPicture(PicHandle pic) {
  GrafPtr saved = Current();
  GrafPort probe;
  PortOpenPort(&probe);
  Rect frame = PortPictureFrame(pic);
  PortDrawPicture(pic, &frame);
  OSErr e = PortQDError();
  PortClosePort(&probe);
  PortSetPort(saved);
  return e;
}

PicHandle PortPictureFromBytes(const void* data, Size size) {
  if (!data || size < 12) {
    SetError(kPictureDataErr);
    return nullptr;
  }
  Handle h = PortHandleFromBytes(data, size);
  if (!h) {
    SetError(memFullErr);
    return nullptr;
  }
  return reinterpret_cast<PicHandle>(h);
}

OSErr PortWritePictFile(PicHandle pic, const std::string& path) {
  Handle h = reinterpret_cast<Handle>(pic);
  if (!pic || !PortIsHandle(h)) return paramErr;
  std::string tmp = path + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return ioErr;
  static const UInt8 header[512] = {};
  Size size = PortHandleSize(h);
  bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header &&
            std::fwrite(*h, 1, std::size_t(size), f) == std::size_t(size) && std::fflush(f) == 0 &&
            ::fsync(fileno(f)) == 0;
  ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return ioErr;
  }
  return noErr;
}

OSErr PortReadPictFile(const std::string& path, PicHandle* pic) {
  if (!pic) return paramErr;
  *pic = nullptr;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return fnfErr;
  std::vector<UInt8> bytes;
  UInt8 buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    bytes.insert(bytes.end(), buf, buf + n);
    if (bytes.size() > std::size_t(kMaxBlockSize)) break;
  }
  bool readErr = std::ferror(f) != 0;
  std::fclose(f);
  if (readErr) return ioErr;
  if (bytes.size() > std::size_t(kMaxBlockSize)) return memFullErr;
  if (bytes.size() < 512 + 12) return kPictureDataErr;
  PicHandle p = PortPictureFromBytes(bytes.data() + 512, Size(bytes.size() - 512));
  if (!p) return PortQDError();
  OSErr e = PortCheckPicture(p);
  if (e != noErr) {
    PortKillPicture(p);
    return e;
  }
  *pic = p;
  return noErr;
}
