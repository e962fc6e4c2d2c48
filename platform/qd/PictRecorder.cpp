// Recording pictures: a port's drawing as PICT version 2 opcodes (PictFormat.h), each state
// change recorded only when the next drawing needs it.
#include <algorithm>
#include <cstring>

#include "ByteReader.h"
#include "Memory.h"
#include "PString.h"
#include "PictFormat.h"
#include "QDInternal.h"

using namespace qdimpl;
using namespace qdimpl::pict;

namespace {

Pattern BlackPat() { return qd.black; }
Pattern WhitePat() { return qd.white; }

void PutRGB(vlcore::ByteWriter& d, const RGBColor& c) {
  d.U16(c.red);
  d.U16(c.green);
  d.U16(c.blue);
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
  auto same = [src](std::size_t a, std::size_t b) {
    return src[2 * a] == src[2 * b] && src[2 * a + 1] == src[2 * b + 1];
  };
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

// A packed row: its byte count (a byte, or a word for wide rows) and its bytes.
void PutPackedRow(vlcore::ByteWriter& d, long rowBytes, const std::vector<UInt8>& packed) {
  if (rowBytes > kMaxByteCountedRowBytes)
    d.U16(UInt16(packed.size()));
  else
    d.U8(UInt8(packed.size()));
  d.Bytes(packed.data(), packed.size());
}

}  // namespace

namespace qdimpl {

class PictWriter {
 public:
  PicHandle handle = nullptr;
  Rect frame;
  vlcore::ByteWriter d;

  explicit PictWriter(const Rect& f) : frame(f) {
    d.U16(0);  // the size, set when the picture is complete
    d.WriteRect(frame);
    d.U16(kOpVersion);
    d.U16(kVersion2);
    d.U16(kOpHeader);
    d.U16(kExtendedHeader);
    d.U16(0);
    d.U32(kResolution72);
    d.U32(kResolution72);
    d.WriteRect(frame);
    d.U32(0);
    Op(kOpDefHilite);
  }

  void Op(UInt16 op) {
    d.AlignEven();
    d.U16(op);
  }

  // Brings the recorded state up to what the next operation needs.
  void Sync(GrafPort* port, const RGBColor& fg, const RGBColor& bg) {
    SyncClip(port);
    if (!fgKnown_ || !(fg_ == fg)) {
      Op(kOpRGBFgCol);
      PutRGB(d, fg);
      fg_ = fg;
      fgKnown_ = true;
    }
    if (!bgKnown_ || !(bg_ == bg)) {
      Op(kOpRGBBkCol);
      PutRGB(d, bg);
      bg_ = bg;
      bgKnown_ = true;
    }
  }

  void SyncPen(GrafPort* port) {
    Sync(port, port->pnColorPat ? port->pnColor : port->rgbFgColor, port->rgbBkColor);
    if (!penKnown_ || !(pnSize_ == port->pnSize)) {
      Op(kOpPnSize);
      d.WritePoint(port->pnSize);
      pnSize_ = port->pnSize;
    }
    if (!penKnown_ || pnMode_ != port->pnMode) {
      Op(kOpPnMode);
      d.U16(UInt16(port->pnMode));
      pnMode_ = port->pnMode;
    }
    Pattern pat = port->pnColorPat ? BlackPat() : port->pnPat;
    if (!penKnown_ || !(pnPat_ == pat)) {
      Op(kOpPnPat);
      d.Bytes(pat.pat, sizeof pat.pat);
      pnPat_ = pat;
    }
    penKnown_ = true;
  }

  void SyncFill(GrafPort* port) {
    PortPrivate* pv = Priv(port);
    Sync(port, pv->fillColorActive ? pv->fillColor : port->rgbFgColor, port->rgbBkColor);
    Pattern pat = pv->fillColorActive ? BlackPat() : port->fillPat;
    if (!fillKnown_ || !(fillPat_ == pat)) {
      Op(kOpFillPat);
      d.Bytes(pat.pat, sizeof pat.pat);
      fillPat_ = pat;
      fillKnown_ = true;
    }
  }

  void SyncBack(GrafPort* port) {
    Sync(port, port->rgbFgColor, port->bkColorPat ? port->bkColor : port->rgbBkColor);
    Pattern pat = port->bkColorPat ? WhitePat() : port->bkPat;
    if (!bkKnown_ || !(bkPat_ == pat)) {
      Op(kOpBkPat);
      d.Bytes(pat.pat, sizeof pat.pat);
      bkPat_ = pat;
      bkKnown_ = true;
    }
  }

  void SyncForVerb(GrafPort* port, GrafVerb verb) {
    switch (verb) {
      case kFrameVerb:
      case kPaintVerb:
        SyncPen(port);
        break;
      case kEraseVerb:
        SyncBack(port);
        break;
      case kFillVerb:
        SyncFill(port);
        break;
      default:
        Sync(port, port->rgbFgColor, port->rgbBkColor);
        break;
    }
  }

  void SyncText(GrafPort* port) {
    Sync(port, port->rgbFgColor, port->rgbBkColor);
    if (!textKnown_ || txFont_ != port->txFont) {
      Str255 name;
      PortGetFontName(port->txFont, name);
      if (name.Length() > 0) {
        Op(kOpFontName);
        d.U16(UInt16(3 + name.Length()));
        d.U16(UInt16(port->txFont));
        d.Bytes(name.s, std::size_t(1 + name.Length()));
      }
      Op(kOpTxFont);
      d.U16(UInt16(port->txFont));
      txFont_ = port->txFont;
    }
    if (!textKnown_ || txFace_ != port->txFace) {
      Op(kOpTxFace);
      d.U8(port->txFace);
      txFace_ = port->txFace;
    }
    if (!textKnown_ || txSize_ != port->txSize) {
      Op(kOpTxSize);
      d.U16(UInt16(port->txSize));
      txSize_ = port->txSize;
    }
    if (!textKnown_ || txMode_ != port->txMode) {
      Op(kOpTxMode);
      d.U16(UInt16(port->txMode));
      txMode_ = port->txMode;
    }
    textKnown_ = true;
  }

  void SyncOvalSize(SInt16 w, SInt16 h) {
    Point ov{h, w};
    if (!ovKnown_ || !(ov_ == ov)) {
      Op(kOpOvSize);
      d.WritePoint(ov);
      ov_ = ov;
      ovKnown_ = true;
    }
  }

  void RegionData(const Region& r) {
    std::vector<UInt8> data = RegionToPictData(r);
    d.Bytes(data.data(), data.size());
  }

  // Records a region drawing, split into row bands when its data would not fit a size field.
  void RegionOp(GrafVerb verb, const Region& r) {
    std::vector<UInt8> data = RegionToPictData(r);
    if (data.size() <= kMaxRegionBytes) {
      Op(UInt16(kOpRgn + verb));
      d.Bytes(data.data(), data.size());
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
    Op(kOpEndPic);
    d.Put16At(0, unsigned(d.size() & 0xFFFF));
  }

 private:
  void SyncClip(GrafPort* port) {
    Region clip;
    if (port->clipRgn) RegionCopy(**port->clipRgn, clip);
    SInt32 l, t, r, b;
    bool wide =
        !RegionBounds(clip, &l, &t, &r, &b) || (l <= kMinCoord && t <= kMinCoord && r >= kMaxCoord && b >= kMaxCoord);
    if (wide) RegionSetRect(clip, frame.left, frame.top, frame.right, frame.bottom);
    if (clipKnown_ && clip_.bands == clip.bands) return;
    std::vector<UInt8> data = RegionToPictData(clip);
    if (data.size() > kMaxRegionBytes) {
      Region box;
      RegionSetRect(box, clip.rgnBBox.left, clip.rgnBBox.top, clip.rgnBBox.right, clip.rgnBBox.bottom);
      data = RegionToPictData(box);
    }
    Op(kOpClip);
    d.Bytes(data.data(), data.size());
    RegionCopy(clip, clip_);
    clipKnown_ = true;
  }

  bool clipKnown_ = false, fgKnown_ = false, bgKnown_ = false, penKnown_ = false, fillKnown_ = false, bkKnown_ = false,
       textKnown_ = false, ovKnown_ = false;
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
  w->Op(kOpLine);
  w->d.WritePoint(from);
  w->d.WritePoint(to);
}

void PicRecordRect(GrafPort* port, GrafVerb verb, const Rect& r) {
  PictWriter* w = Writer(port);
  if (!w) return;
  w->SyncForVerb(port, verb);
  w->Op(UInt16(kOpRect + verb));
  w->d.WriteRect(r);
}

void PicRecordRRect(GrafPort* port, GrafVerb verb, const Rect& r, SInt16 ow, SInt16 oh) {
  PictWriter* w = Writer(port);
  if (!w) return;
  w->SyncForVerb(port, verb);
  w->SyncOvalSize(ow, oh);
  w->Op(UInt16(kOpRRect + verb));
  w->d.WriteRect(r);
}

void PicRecordOval(GrafPort* port, GrafVerb verb, const Rect& r) {
  PictWriter* w = Writer(port);
  if (!w) return;
  w->SyncForVerb(port, verb);
  w->Op(UInt16(kOpOval + verb));
  w->d.WriteRect(r);
}

void PicRecordArc(GrafPort* port, GrafVerb verb, const Rect& r, SInt16 start, SInt16 arc) {
  PictWriter* w = Writer(port);
  if (!w) return;
  w->SyncForVerb(port, verb);
  w->Op(UInt16(kOpArc + verb));
  w->d.WriteRect(r);
  w->d.U16(UInt16(start));
  w->d.U16(UInt16(arc));
}

void PicRecordPoly(GrafPort* port, GrafVerb verb, PolyHandle poly) {
  PictWriter* w = Writer(port);
  int n = PortPolygonPointCount(poly);
  if (!w || n == 0) return;
  w->SyncForVerb(port, verb);
  w->Op(UInt16(kOpPoly + verb));
  // The polygon's block holds native values.
  const char* p = reinterpret_cast<const char*>(*poly);
  Rect box;
  std::memcpy(&box, p + 2, 8);
  w->d.U16(UInt16(kPolyHeaderSize + 4 * std::size_t(n)));
  w->d.WriteRect(box);
  for (int i = 0; i < n; ++i) {
    Point q;
    std::memcpy(&q, p + kPolyHeaderSize + 4 * std::size_t(i), 4);
    w->d.WritePoint(q);
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
    w->Op(kOpLongText);
    w->d.WritePoint(Point{port->pnLoc.v, Clamp16(port->pnLoc.h + offset)});
    w->d.U8(UInt8(n));
    w->d.Bytes(t + at, std::size_t(n));
    offset += MeasureTextScaled(port, t + at, n, numer, denom, nullptr, nullptr);
  }
}

void PicRecordComment(GrafPort* port, SInt16 kind, SInt16 size, Handle data) {
  PictWriter* w = Writer(port);
  if (!w) return;
  Size have = data ? PortHandleSize(data) : 0;
  if (size <= 0 || !data || !*data) {
    w->Op(kOpShortComment);
    w->d.U16(UInt16(kind));
    return;
  }
  SInt16 n = SInt16(std::min<Size>(size, have));
  w->Op(kOpLongComment);
  w->d.U16(UInt16(kind));
  w->d.U16(UInt16(n));
  w->d.Bytes(*data, std::size_t(n));
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
  vlcore::ByteWriter& d = w->d;
  std::vector<UInt8> row;
  if (depth == 1) {
    long rb = ((width + 15) / 16) * 2;
    bool packed = rb >= 8;
    w->Op(UInt16((packed ? kOpPackBitsRect : kOpBitsRect) + (withMask ? kMaskFlag : 0)));
    d.U16(UInt16(rb));
    d.WriteRect(srcRect);
    d.WriteRect(srcRect);
    d.WriteRect(dstRect);
    d.U16(UInt16(mode));
    if (withMask) w->RegionData(**mask);
    for (long y = srcRect.top; y < srcRect.bottom; ++y) {
      row.assign(std::size_t(rb), 0);
      for (long x = 0; x < width; ++x)
        if (pixel(srcRect.left + x, y)) row[std::size_t(x >> 3)] |= UInt8(0x80 >> (x & 7));
      if (!packed) {
        d.Bytes(row.data(), row.size());
        continue;
      }
      std::vector<UInt8> packedRow;
      PackBytes(row.data(), row.size(), packedRow);
      PutPackedRow(d, rb, packedRow);
    }
    return;
  }
  const bool wide = depth == 32;
  long rb = wide ? width * 4 : ((width * 2 + 3) / 4) * 4;
  if (rb > kMaxPixMapRowBytes) return;  // wider than a pixel map's row-bytes field allows
  SInt16 packType = rb < kMinPackedRowBytes ? kPackNone : (wide ? kPackComponents : kPackWords);
  w->Op(UInt16(kOpDirectBitsRect + (withMask ? kMaskFlag : 0)));
  d.U32(kDirectBaseAddress);
  d.U16(UInt16(rb | kPixMapFlag));
  d.WriteRect(srcRect);
  d.U16(0);  // version
  d.U16(UInt16(packType));
  d.U32(0);  // packed size
  d.U32(kResolution72);
  d.U32(kResolution72);
  d.U16(UInt16(kDirectPixelType));
  d.U16(UInt16(depth));
  d.U16(3);  // components
  d.U16(wide ? 8 : 5);
  d.U32(0);
  d.U32(0);
  d.U32(0);
  d.WriteRect(srcRect);
  d.WriteRect(dstRect);
  d.U16(UInt16(mode));
  if (withMask) w->RegionData(**mask);
  std::vector<UInt8> packedRow;
  for (long y = srcRect.top; y < srcRect.bottom; ++y) {
    row.clear();
    if (packType == kPackNone) {
      vlcore::ByteWriter plain;
      for (long x = 0; x < width; ++x) {
        UInt32 p = pixel(srcRect.left + x, y);
        if (wide)
          plain.U32(p & 0xFFFFFF);
        else
          plain.U16(p & 0x7FFF);
      }
      plain.Zeros(std::size_t(rb) - plain.size());
      d.Bytes(plain.bytes().data(), plain.size());
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
      vlcore::ByteWriter words;
      for (long x = 0; x < width; ++x) words.U16(pixel(srcRect.left + x, y) & 0x7FFF);
      words.Zeros(std::size_t(rb) - words.size());
      PackWords(words.bytes().data(), words.size() / 2, packedRow);
    }
    PutPackedRow(d, rb, packedRow);
  }
}

void PicEndRecording(GrafPort* port) {
  if (!port->priv || !port->priv->picture) return;
  std::unique_ptr<PictWriter> w = std::move(port->priv->picture);
  w->Finish();
  const std::vector<UInt8>& bytes = w->d.bytes();
  Handle h = reinterpret_cast<Handle>(w->handle);
  if (PortIsHandle(h)) {
    PortResizeHandle(h, Size(bytes.size()));
    if (PortMemError() == noErr)
      std::memcpy(*h, bytes.data(), bytes.size());
    else
      SetError(memFullErr);
  }
  // A replacement for the picture-data procedure gets the whole picture.
  if (port->grafProcs && port->grafProcs->putPicProc && port->grafProcs->putPicProc != PortStdPutPic) {
    for (std::size_t at = 0; at < bytes.size(); at += kMaxDataChunk) {
      std::size_t n = std::min(kMaxDataChunk, bytes.size() - at);
      port->grafProcs->putPicProc(bytes.data() + at, SInt16(n));
    }
  }
}

}  // namespace qdimpl

PicHandle PortOpenPicture(const Rect* frame) {
  if (!frame) return nullptr;
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if (pv->picture) PortClosePicture();
  Handle h = PortAllocHandle(Size(kPictHeaderSize));
  if (!h) {
    SetError(memFullErr);
    return nullptr;
  }
  pv->picture = std::make_unique<PictWriter>(*frame);
  pv->picture->handle = reinterpret_cast<PicHandle>(h);
  std::memcpy(*h, pv->picture->d.bytes().data(), kPictHeaderSize);
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
  if (port->grafProcs && port->grafProcs->commentProc)
    port->grafProcs->commentProc(kind, dataSize, dataHandle);
  else
    PortStdComment(kind, dataSize, dataHandle);
}

void PortStdComment(SInt16 kind, SInt16 dataSize, Handle dataHandle) {
  PicRecordComment(Current(), kind, dataSize, dataHandle);
}

void PortStdPutPic(const void* dataPtr, SInt16 byteCount) {
  PictWriter* w = Writer(Current());
  if (!w || !dataPtr || byteCount <= 0) return;
  w->d.Bytes(dataPtr, std::size_t(byteCount));
}
