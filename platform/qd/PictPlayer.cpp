// Playing pictures (versions 1 and 2, PictFormat.h) back through a port's drawing procedures.
// Every count and length read from picture data is checked against the data; damaged data stops
// playback with kPictureDataErr and the reason noted (vlcore::LastRefusal).
//
// Sections: the data, the player, patterns and skipped opcodes, images, the opcodes (the port's
// state; lines and text; shapes, comments and images), playing a picture.
#include <algorithm>
#include <cstring>
#include <string>

#include "ByteReader.h"
#include "Memory.h"
#include "PString.h"
#include "PictFormat.h"
#include "QDInternal.h"
#include "Refusal.h"

using namespace qdimpl;
using namespace qdimpl::pict;

namespace {

// ---- The data ----

// The data being played; the standard picture-data procedure reads from the innermost one.
struct Source {
  vlcore::ByteReader in;
  Source* outer = nullptr;
};
Source* gSource = nullptr;

void RawRead(void* dst, std::size_t n) {
  if (gSource)
    gSource->in.Read(dst, n);
  else if (n)
    std::memset(dst, 0, n);
}

// ---- The player ----

class Player {
 public:
  Player(GrafPort* port, Source& src, const Rect& frame, const Rect& dst)
      : port_(port), src_(src), frame_(frame), dst_(dst) {
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
      std::size_t k = std::min(n, kMaxDataChunk);
      customGet_(p, SInt16(k));
      p += k;
      n -= k;
    }
  }
  bool Bad() const { return !src_.in.ok(); }
  std::size_t Left() const { return src_.in.remaining(); }
  // The next bytes through the procedure, for the shared reader to take values from.
  template <std::size_t N>
  vlcore::ByteReader Next(UInt8 (&bytes)[N]) {
    Read(bytes, N);
    return vlcore::ByteReader(bytes, N);
  }
  UInt8 U8() {
    UInt8 b[1];
    return Next(b).U8();
  }
  UInt16 U16() {
    UInt8 b[2];
    return Next(b).U16();
  }
  UInt32 U32() {
    UInt8 b[4];
    return Next(b).U32();
  }
  SInt16 S16() { return SInt16(U16()); }
  Point Pt() {
    UInt8 b[4];
    return Next(b).ReadPoint();
  }
  Rect R() {
    UInt8 b[8];
    return Next(b).ReadRect();
  }
  void Skip(std::size_t n) {
    if (n > Left()) {
      Fail("an opcode's data runs past the end of the picture");
      return;
    }
    UInt8 buf[256];
    while (n > 0 && !Bad()) {
      std::size_t k = std::min<std::size_t>(n, sizeof buf);
      Read(buf, k);
      n -= k;
    }
  }
  // Stops playback; the first reason is kept.
  bool Fail(const char* reason) { return src_.in.Fail(reason); }

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
    if (Left() < 2) return Fail("a region runs past the end of the picture");
    UInt16 size = U16();
    if (size < kRegionHeaderSize) return Fail("a region is shorter than its header");
    if (size - 2u > Left()) return Fail("a region runs past the end of the picture");
    vlcore::ByteWriter data;
    data.U16(size);
    data.Zeros(size - 2u);
    Read(data.bytes().data() + 2, size - 2u);
    if (Bad()) return false;
    if (!RegionFromPictData(r, data.bytes().data(), data.size()))
      return Fail("a region's rows are out of order or open");
    if (originH_ || originV_) RegionOffset(r, -originH_, -originV_);
    if (Scaled() || !(frame_.left == dst_.left && frame_.top == dst_.top)) RegionMap(r, frame_, dst_);
    return true;
  }

  bool ReadPoly(PolyHandle* out) {
    if (Left() < kPolyHeaderSize) return Fail("a polygon runs past the end of the picture");
    UInt16 size = U16();
    if (size < kPolyHeaderSize) return Fail("a polygon is shorter than its header");
    if (size - 2u > Left()) return Fail("a polygon runs past the end of the picture");
    std::size_t n = (size - kPolyHeaderSize) / 4;
    R();  // the box is recomputed from the mapped points
    Handle h = PortAllocHandle(Size(kPolyHeaderSize + 4 * n));
    if (!h) return Fail("no memory for a polygon");
    Rect box{};
    for (std::size_t i = 0; i < n; ++i) {
      Point p = MapPt(Pt());
      if (i == 0) box = Rect{p.v, p.h, p.v, p.h};
      box.top = std::min(box.top, p.v);
      box.left = std::min(box.left, p.h);
      box.bottom = std::max(box.bottom, p.v);
      box.right = std::max(box.right, p.h);
      std::memcpy(*h + kPolyHeaderSize + 4 * i, &p, 4);  // the block holds native values
    }
    Skip(size - kPolyHeaderSize - 4 * n);
    SInt16 s16 = SInt16(kPolyHeaderSize + 4 * n);
    std::memcpy(*h, &s16, 2);
    std::memcpy(*h + 2, &box, 8);
    *out = reinterpret_cast<PolyHandle>(h);
    return !Bad();
  }

  bool ReadPixPat(bool* isColor, RGBColor* rgb, Pattern* pat);
  bool ReadBits(UInt16 op);
  bool SkipByRule(UInt16 op);
  // The opcodes, by kind.
  void StateOpcode(UInt16 op);
  void LineOrTextOpcode(UInt16 op);
  void DrawingOpcode(UInt16 op);

  void CallLine(Point to) {
    const QDProcs* p = port_->grafProcs;
    if (p && p->lineProc)
      p->lineProc(to);
    else
      PortStdLine(to);
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
    if (p && p->textProc)
      p->textProc(n, text, numer, denom);
    else
      PortStdText(n, text, numer, denom);
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
    case kShapeKindRect:
      if (p && p->rectProc)
        p->rectProc(verb, &r);
      else
        PortStdRect(verb, &r);
      break;
    case kShapeKindRRect: {
      SInt16 w = ScaleH(ovW_), h = ScaleV(ovH_);
      if (p && p->rRectProc)
        p->rRectProc(verb, &r, w, h);
      else
        PortStdRRect(verb, &r, w, h);
      break;
    }
    case kShapeKindOval:
      if (p && p->ovalProc)
        p->ovalProc(verb, &r);
      else
        PortStdOval(verb, &r);
      break;
    default:
      if (p && p->arcProc)
        p->arcProc(verb, &r, lastStart_, lastArc_);
      else
        PortStdArc(verb, &r, lastStart_, lastArc_);
      break;
  }
}

// ---- Patterns and skipped opcodes ----

bool Player::ReadPixPat(bool* isColor, RGBColor* rgb, Pattern* pat) {
  UInt16 type = U16();
  Read(pat->pat, 8);
  *isColor = false;
  if (type == kPatternRGB) {
    rgb->red = U16();
    rgb->green = U16();
    rgb->blue = U16();
    *isColor = true;
    return !Bad();
  }
  if (type != kPatternPixels) return Fail("a pixel pattern has an unknown type");
  // A pixel pattern: skip its pixel map, colour table and pixels; the black-and-white
  // pattern stands in for it.
  UInt16 rowBytes = U16() & kRowBytesMask;
  Rect bounds = R();
  Skip(2 + 2 + 4 + 4 + 4 + 2);
  UInt16 pixelSize = U16();
  Skip(2 + 2 + 4 + 4 + 4);
  U32();
  U16();
  UInt16 ctSize = U16();
  if (ctSize > kMaxColorTableIndex) return Fail("a pixel pattern's colour table has more than 256 entries");
  Skip(8u * (ctSize + 1u));
  long height = long(bounds.bottom) - bounds.top;
  if (height < 0 || height > kMaxImageSide) return Fail("a pixel pattern's height is out of range");
  if (pixelSize > 32) return Fail("a pixel pattern's depth is out of range");
  for (long y = 0; y < height && !Bad(); ++y) {
    if (rowBytes < kMinPackedRowBytes) {
      Skip(rowBytes);
    } else {
      std::size_t n = rowBytes > kMaxByteCountedRowBytes ? U16() : U8();
      Skip(n);
    }
  }
  return !Bad();
}

bool Player::SkipByRule(UInt16 op) {
  switch (DataOfOpcode(op)) {
    case OpcodeData::kNone:
      break;
    case OpcodeData::kWordCount:
      Skip(U16());
      break;
    case OpcodeData::kLongCount: {
      UInt32 n = U32();
      if (n > Left()) return Fail("an opcode's data runs past the end of the picture");
      Skip(n);
      break;
    }
    case OpcodeData::kSelfSized: {
      UInt16 size = U16();
      if (size < 2) return Fail("an opcode's size is shorter than itself");
      Skip(size - 2u);
      break;
    }
    case OpcodeData::kFixed:
      Skip(FixedOpcodeSize(op));
      break;
    case OpcodeData::kReservedWords:
      Skip(std::size_t(op >> 8) * 2);
      break;
    case OpcodeData::kInvalid:
      return Fail("an opcode is unknown");
  }
  return !Bad();
}

// ---- Images ----

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
  const bool direct = op == kOpDirectBitsRect || op == kOpDirectBitsRgn;
  const bool withMask = op & kMaskFlag;
  const bool neverPacked = op == kOpBitsRect || op == kOpBitsRgn;
  if (direct) U32();  // base address
  UInt16 rbField = U16();
  const bool isPixMap = direct || (rbField & kPixMapFlag);
  const long rowBytes = rbField & kRowBytesMask;
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
      if (ctSize > kMaxColorTableIndex) return Fail("a colour table has more than 256 entries");
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
  const bool okDepth =
      pixelSize == 1 || pixelSize == 2 || pixelSize == 4 || pixelSize == 8 || pixelSize == 16 || pixelSize == 32;
  if (!okDepth || (direct && pixelSize < 16) || (!direct && pixelSize > 8))
    return Fail("an image's pixel depth is not one its opcode allows");
  if (cmpCount < 1 || cmpCount > 4) return Fail("an image's component count is out of range");
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
      (long long)width * height > kMaxImagePixels)
    return Fail("an image's size is out of range");
  const long needBytes = (width * pixelSize + 7) / 8;
  if (rowBytes < needBytes) return Fail("an image's rows are narrower than its pixels");

  // Every row comes from data of its own, and packed data can fill at most 128 units from a count
  // byte and one unit: a height the data cannot fill is refused before room is made for the pixels.
  const std::size_t rowLen =
      pixelSize == 32 && packType == kPackDropAlpha ? std::size_t(width * 3) : std::size_t(rowBytes);
  const bool unpacked =
      rowBytes < kMinPackedRowBytes || neverPacked || packType == kPackNone || packType == kPackDropAlpha;
  const std::size_t unit = (pixelSize == 16 && (packType == kPackDefault || packType == kPackWords)) ? 2 : 1;
  const std::size_t countBytes = rowBytes > kMaxByteCountedRowBytes ? 2 : 1;
  const std::size_t leastRowData =
      unpacked ? rowLen : countBytes + (rowLen + 128 * unit - 1) / (128 * unit) * (1 + unit);
  if (leastRowData > 0 && std::size_t(height) > Left() / leastRowData)
    return Fail("an image has more rows than its data can fill");

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
    row.assign(std::max<std::size_t>(rowLen, std::size_t(cmpCount) * std::size_t(width)), 0);
    if (unpacked) {
      if (rowLen > Left()) return Fail("an image's rows run past the end of the picture");
      Read(row.data(), rowLen);
    } else {
      std::size_t n = rowBytes > kMaxByteCountedRowBytes ? U16() : U8();
      if (n > Left()) return Fail("an image's packed row runs past the end of the picture");
      packed.resize(n);
      Read(packed.data(), n);
      if (Bad()) return false;
      if (!UnpackBits(packed.data(), n, unit, row.data(), row.size()))
        return Fail("an image's packed row ends in the middle of a run");
    }
    if (Bad()) return false;
    SInt32 py = SInt32(bounds.top + y);
    for (long x = 0; x < width; ++x) {
      SInt32 px = SInt32(bounds.left + x);
      UInt32 v;
      if (pixelSize == 32) {
        UInt8 r, g, b;
        if (packType == kPackDropAlpha) {
          r = row[std::size_t(3 * x)];
          g = row[std::size_t(3 * x + 1)];
          b = row[std::size_t(3 * x + 2)];
        } else if (rowBytes < kMinPackedRowBytes || neverPacked || packType == kPackNone) {
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
        v = vlcore::ByteReader(&row[std::size_t(2 * x)], 2).U16() & 0x7FFF;
      } else {
        long bit = x * pixelSize;
        UInt32 idx = (row[std::size_t(bit >> 3)] >> (8 - pixelSize - (bit & 7))) & ((1u << pixelSize) - 1);
        if (outDepth == 1)
          v = idx;
        else
          v = ColorToPixel(ctab.empty() ? (idx ? RGBColor{0, 0, 0} : RGBColor{65535, 65535, 65535}) : ctab[idx], 32);
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
  if (p && p->bitsProc)
    p->bitsProc(&pm, &srcRect, &to, mode, maskHandle);
  else
    PortStdBits(&pm, &srcRect, &to, mode, maskHandle);
  return !Bad();
}

// ---- The opcodes ----

bool Player::Run() {
  // Header: size, frame, then the version.
  Skip(kPictHeaderSize);
  if (Left() < 2) return Fail("the picture ends before its version");
  UInt8 b0 = U8(), b1 = U8();
  if (b0 == kOpVersion && b1 == kVersion1) {
    v1_ = true;
  } else if (b0 == (kOpVersion >> 8) && b1 == (kOpVersion & 0xFF)) {
    if (U16() != kVersion2) return Fail("the picture's version is neither 1 nor 2");
  } else {
    return Fail("the picture has no version opcode");
  }
  while (!Bad()) {
    if (!v1_ && (src_.in.pos() & 1)) U8();
    if (Left() == 0) return Fail("the picture ends without its end opcode");
    UInt16 op = v1_ ? U8() : U16();
    if (Bad()) break;
    if (op == kOpEndPic) return true;
    if (op < kOpLine)
      StateOpcode(op);
    else if (op < kOpRect)
      LineOrTextOpcode(op);
    else
      DrawingOpcode(op);
  }
  return false;
}

// The port's state: clip, patterns, pen, text, colours, origin.
void Player::StateOpcode(UInt16 op) {
  switch (op) {
    case kOpNop:
      break;
    case kOpClip: {
      Region clip;
      if (!ReadRegion(clip)) break;
      if (portClip_ && *portClip_) RegionCombine(clip, **portClip_, clip, RegionOp::Sect);
      if (port_->clipRgn) RegionCopy(clip, **port_->clipRgn);
      break;
    }
    case kOpBkPat: {
      Pattern pat;
      Read(pat.pat, 8);
      PortBackPattern(&pat);
      break;
    }
    case kOpTxFont: {
      SInt16 id = S16(), num = id;
      for (auto& m : fontMap_)
        if (m.first == id) num = m.second;
      port_->txFont = num;
      break;
    }
    case kOpTxFace:
      port_->txFace = U8();
      break;
    case kOpTxMode:
      port_->txMode = S16();
      break;
    case kOpSpExtra:
      U32();
      break;
    case kOpPnSize: {
      Point p = Pt();
      port_->pnSize = Point{ScaleV(p.v), ScaleH(p.h)};
      break;
    }
    case kOpPnMode:
      port_->pnMode = S16();
      break;
    case kOpPnPat: {
      Pattern pat;
      Read(pat.pat, 8);
      PortPenPattern(&pat);
      break;
    }
    case kOpFillPat: {
      Read(port_->fillPat.pat, 8);
      Priv(port_)->fillColorActive = false;
      break;
    }
    case kOpOvSize: {
      Point p = Pt();
      ovH_ = p.v;
      ovW_ = p.h;
      break;
    }
    case kOpOrigin:
      originH_ += S16();
      originV_ += S16();
      break;
    case kOpTxSize:
      port_->txSize = S16();
      break;
    case kOpFgColor:
      PortForeColor(SInt32(U32()));
      break;
    case kOpBkColor:
      PortBackColor(SInt32(U32()));
      break;
    case kOpTxRatio:
      txNumer_ = Pt();
      txDenom_ = Pt();
      break;
    case kOpVersion:
      if (v1_)
        U8();
      else
        U16();
      break;
    case kOpBkPixPat:
    case kOpPnPixPat:
    case kOpFillPixPat: {
      bool isColor;
      RGBColor rgb;
      Pattern pat;
      if (!ReadPixPat(&isColor, &rgb, &pat)) break;
      if (op == kOpBkPixPat) {
        port_->bkColorPat = isColor;
        port_->bkColor = rgb;
        if (!isColor) port_->bkPat = pat;
      } else if (op == kOpPnPixPat) {
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
    case kOpPnLocHFrac:
    case kOpChExtra:
      U16();
      break;
    case kOpRGBFgCol: {
      RGBColor c;
      c.red = U16();
      c.green = U16();
      c.blue = U16();
      port_->rgbFgColor = c;
      break;
    }
    case kOpRGBBkCol: {
      RGBColor c;
      c.red = U16();
      c.green = U16();
      c.blue = U16();
      port_->rgbBkColor = c;
      break;
    }
    case kOpHiliteMode:
    case kOpDefHilite:
      break;
    case kOpHiliteColor:
    case kOpOpColor:
      Skip(6);
      break;
    default:
      SkipByRule(op);
      break;
  }
}

// ---- Lines and text ----

void Player::LineOrTextOpcode(UInt16 op) {
  switch (op) {
    case kOpLine: {
      Point a = Pt(), b = Pt();
      if (Bad()) break;
      port_->pnLoc = MapPt(a);
      lineEnd_ = b;
      CallLine(MapPt(b));
      break;
    }
    case kOpLineFrom: {
      Point b = Pt();
      if (Bad()) break;
      lineEnd_ = b;
      CallLine(MapPt(b));
      break;
    }
    case kOpShortLine: {
      Point a = Pt();
      SInt8 dh = SInt8(U8()), dv = SInt8(U8());
      if (Bad()) break;
      port_->pnLoc = MapPt(a);
      lineEnd_ = Point{Clamp16(a.v + dv), Clamp16(a.h + dh)};
      CallLine(MapPt(lineEnd_));
      break;
    }
    case kOpShortLineFrom: {
      SInt8 dh = SInt8(U8()), dv = SInt8(U8());
      if (Bad()) break;
      lineEnd_ = Point{Clamp16(lineEnd_.v + dv), Clamp16(lineEnd_.h + dh)};
      CallLine(MapPt(lineEnd_));
      break;
    }
    case kOpLongText:
    case kOpDHText:
    case kOpDVText:
    case kOpDHDVText: {
      if (op == kOpLongText) {
        textLoc_ = Pt();
      } else if (op == kOpDHText) {
        textLoc_.h = Clamp16(textLoc_.h + U8());
      } else if (op == kOpDVText) {
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
    case kOpFontName: {
      UInt16 len = U16();
      if (len < 3 || len > Left()) {
        Fail("a font name's record runs past the end of the picture");
        break;
      }
      SInt16 id = S16();
      UInt8 nameLen = U8();
      if (nameLen > len - 3) {
        Fail("a font name is longer than its record");
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
    default:
      SkipByRule(op);
      break;
  }
}

// ---- Shapes, comments and images ----

void Player::DrawingOpcode(UInt16 op) {
  const QDProcs* procs = port_->grafProcs;
  switch (op) {
    case kOpShortComment: {
      SInt16 kind = S16();
      if (Bad()) break;
      if (procs && procs->commentProc)
        procs->commentProc(kind, 0, nullptr);
      else
        PortStdComment(kind, 0, nullptr);
      break;
    }
    case kOpLongComment: {
      SInt16 kind = S16();
      UInt16 size = U16();
      if (size > Left()) {
        Fail("a comment runs past the end of the picture");
        break;
      }
      Handle h = PortAllocHandle(size);
      if (!h) {
        Fail("no memory for a comment");
        break;
      }
      Read(*h, size);
      if (!Bad()) {
        if (procs && procs->commentProc)
          procs->commentProc(kind, SInt16(size), h);
        else
          PortStdComment(kind, SInt16(size), h);
      }
      PortFreeHandle(h);
      break;
    }
    case kOpBitsRect:
    case kOpBitsRgn:
    case kOpPackBitsRect:
    case kOpPackBitsRgn:
    case kOpDirectBitsRect:
    case kOpDirectBitsRgn:
      ReadBits(op);
      break;
    default:
      if (op >= kOpRect && op <= kOpArc + 4 && (op & 0x0F) <= 4 && (op & kSameShape) == 0) {
        // rect, round rect, oval and arc with their rectangle
        lastRect_ = R();
        int kind = op >> 4;
        if (kind == kShapeKindArc) {
          lastStart_ = S16();
          lastArc_ = S16();
        }
        if (!Bad()) Shape(kind, GrafVerb(op & 0x07));
      } else if (op >= kOpSameRect && op <= kOpArc + kSameShape + 4 && (op & 0x0F) >= 8 && (op & 0x0F) <= 0x0C) {
        // the same rectangle again
        int kind = op >> 4;
        if (kind == kShapeKindArc) {
          lastStart_ = S16();
          lastArc_ = S16();
        }
        if (!Bad()) Shape(kind, GrafVerb(op & 0x07));
      } else if (op >= kOpPoly && op <= kOpPoly + 4) {
        PolyHandle poly = nullptr;
        if (!ReadPoly(&poly)) break;
        if (lastPoly_) PortFreeHandle(reinterpret_cast<Handle>(lastPoly_));
        lastPoly_ = poly;
        if (procs && procs->polyProc)
          procs->polyProc(GrafVerb(op & 7), poly);
        else
          PortStdPoly(GrafVerb(op & 7), poly);
      } else if (op >= kOpSamePoly && op <= kOpSamePoly + 4) {
        if (!lastPoly_) break;
        if (procs && procs->polyProc)
          procs->polyProc(GrafVerb(op & 7), lastPoly_);
        else
          PortStdPoly(GrafVerb(op & 7), lastPoly_);
      } else if (op >= kOpRgn && op <= kOpRgn + 4) {
        if (!ReadRegion(lastRgn_)) break;
        haveRgn_ = true;
        Region* body = &lastRgn_;
        if (procs && procs->rgnProc)
          procs->rgnProc(GrafVerb(op & 7), &body);
        else
          PortStdRgn(GrafVerb(op & 7), &body);
      } else if (op >= kOpSameRgn && op <= kOpSameRgn + 4) {
        if (!haveRgn_) break;
        Region* body = &lastRgn_;
        if (procs && procs->rgnProc)
          procs->rgnProc(GrafVerb(op & 7), &body);
        else
          PortStdRgn(GrafVerb(op & 7), &body);
      } else {
        SkipByRule(op);
      }
      break;
  }
}

// ---- Playing a picture ----

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

void PortDrawPicture(PicHandle pic, const Rect* dst) {
  Handle h = reinterpret_cast<Handle>(pic);
  if (!pic || !*pic || !dst) {
    SetError(paramErr);
    return;
  }
  Size size = PortHandleSize(h);
  if (size < Size(kMinPictSize)) {
    vlcore::NoteRefusal("the picture is shorter than its header");
    SetError(kPictureDataErr);
    return;
  }
  GrafPort* port = Current();
  // Play from a copy: a procedure may move or free the picture's block meanwhile.
  std::vector<UInt8> bytes(reinterpret_cast<const UInt8*>(*h), reinterpret_cast<const UInt8*>(*h) + size);
  Source src;
  src.in = vlcore::ByteReader(bytes.data(), bytes.size());
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
  if (!ok) vlcore::NoteRefusal(src.in.failure() ? src.in.failure() : "the picture data is damaged");
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
