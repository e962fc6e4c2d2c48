// The numbers of the PICT format, shared by the recorder (PictRecorder.cpp), the player
// (PictPlayer.cpp), picture files (Picture.cpp) and the region data pictures carry (Region.cpp).
// Every value is big-endian. Version 2 opcodes are 16-bit words at even offsets; version 1
// opcodes are single bytes.
#pragma once

#include <cstddef>

#include "MacTypes.h"

namespace qdimpl::pict {

// ---- Opcodes ----
constexpr UInt16 kOpNop = 0x0000;
constexpr UInt16 kOpClip = 0x0001;    // region
constexpr UInt16 kOpBkPat = 0x0002;   // 8-byte pattern
constexpr UInt16 kOpTxFont = 0x0003;  // font number
constexpr UInt16 kOpTxFace = 0x0004;  // style byte
constexpr UInt16 kOpTxMode = 0x0005;
constexpr UInt16 kOpSpExtra = 0x0006;  // fixed
constexpr UInt16 kOpPnSize = 0x0007;   // point
constexpr UInt16 kOpPnMode = 0x0008;
constexpr UInt16 kOpPnPat = 0x0009;    // 8-byte pattern
constexpr UInt16 kOpFillPat = 0x000A;  // 8-byte pattern
constexpr UInt16 kOpOvSize = 0x000B;   // point
constexpr UInt16 kOpOrigin = 0x000C;   // dh, dv
constexpr UInt16 kOpTxSize = 0x000D;
constexpr UInt16 kOpFgColor = 0x000E;  // classic colour, 32 bits
constexpr UInt16 kOpBkColor = 0x000F;
constexpr UInt16 kOpTxRatio = 0x0010;  // numerator and denominator points
constexpr UInt16 kOpVersion = 0x0011;
constexpr UInt16 kOpBkPixPat = 0x0012;  // pixel patterns
constexpr UInt16 kOpPnPixPat = 0x0013;
constexpr UInt16 kOpFillPixPat = 0x0014;
constexpr UInt16 kOpPnLocHFrac = 0x0015;
constexpr UInt16 kOpChExtra = 0x0016;
constexpr UInt16 kOpRGBFgCol = 0x001A;  // red, green, blue words
constexpr UInt16 kOpRGBBkCol = 0x001B;
constexpr UInt16 kOpHiliteMode = 0x001C;
constexpr UInt16 kOpHiliteColor = 0x001D;  // RGB colour
constexpr UInt16 kOpDefHilite = 0x001E;
constexpr UInt16 kOpOpColor = 0x001F;    // RGB colour
constexpr UInt16 kOpLine = 0x0020;       // from, to
constexpr UInt16 kOpLineFrom = 0x0021;   // to
constexpr UInt16 kOpShortLine = 0x0022;  // from, dh, dv
constexpr UInt16 kOpShortLineFrom = 0x0023;
constexpr UInt16 kOpLongText = 0x0028;  // location, count, text
constexpr UInt16 kOpDHText = 0x0029;    // dh, count, text
constexpr UInt16 kOpDVText = 0x002A;
constexpr UInt16 kOpDHDVText = 0x002B;
constexpr UInt16 kOpFontName = 0x002C;  // length, font number, name
constexpr UInt16 kOpRect = 0x0030;      // the shapes: kind + verb (frame, paint, erase, invert, fill)
constexpr UInt16 kOpSameRect = 0x0038;  // the same shape again: + 8
constexpr UInt16 kOpRRect = 0x0040;
constexpr UInt16 kOpOval = 0x0050;
constexpr UInt16 kOpArc = 0x0060;   // rectangle, start and arc angles
constexpr UInt16 kOpPoly = 0x0070;  // polygon data
constexpr UInt16 kOpSamePoly = 0x0078;
constexpr UInt16 kOpRgn = 0x0080;  // region data
constexpr UInt16 kOpSameRgn = 0x0088;
constexpr UInt16 kOpBitsRect = 0x0090;
constexpr UInt16 kOpBitsRgn = 0x0091;
constexpr UInt16 kOpPackBitsRect = 0x0098;
constexpr UInt16 kOpPackBitsRgn = 0x0099;
constexpr UInt16 kOpDirectBitsRect = 0x009A;
constexpr UInt16 kOpDirectBitsRgn = 0x009B;
constexpr UInt16 kOpShortComment = 0x00A0;  // kind
constexpr UInt16 kOpLongComment = 0x00A1;   // kind, size, data
constexpr UInt16 kOpEndPic = 0x00FF;
constexpr UInt16 kOpHeader = 0x0C00;   // the version 2 header record follows
constexpr UInt16 kSameShape = 0x0008;  // added to a shape's opcode: its last rectangle again
constexpr UInt16 kMaskFlag = 0x0001;   // added to a bits opcode: a mask region follows
constexpr int kShapeKindRect = 3;      // opcode >> 4 of the shapes
constexpr int kShapeKindRRect = 4;
constexpr int kShapeKindOval = 5;
constexpr int kShapeKindArc = 6;

// What follows an opcode the player does not act on, so that it can be stepped over.
enum class OpcodeData {
  kNone,
  kWordCount,      // a 16-bit count of bytes
  kLongCount,      // a 32-bit count of bytes
  kSelfSized,      // a 16-bit size that counts itself (polygons, regions)
  kFixed,          // a fixed number of bytes (FixedOpcodeSize)
  kReservedWords,  // 2 x (opcode >> 8) bytes
  kInvalid,
};
constexpr OpcodeData DataOfOpcode(UInt16 op) {
  if ((op >= 0x0024 && op <= 0x0027) || (op >= 0x002D && op <= 0x002F) || (op >= 0x0092 && op <= 0x0097) ||
      (op >= 0x009C && op <= 0x009F) || (op >= 0x00A2 && op <= 0x00AF))
    return OpcodeData::kWordCount;
  if ((op >= 0x0035 && op <= 0x0037) || (op >= 0x0045 && op <= 0x0047) || (op >= 0x0055 && op <= 0x0057) ||
      (op >= 0x0065 && op <= 0x0067) || (op >= 0x006D && op <= 0x006F))
    return OpcodeData::kFixed;
  if ((op >= 0x0075 && op <= 0x0077) || (op >= 0x0085 && op <= 0x0087)) return OpcodeData::kSelfSized;
  if ((op >= 0x0017 && op <= 0x0019) || (op >= 0x003D && op <= 0x003F) || (op >= 0x004D && op <= 0x004F) ||
      (op >= 0x005D && op <= 0x005F) || (op >= 0x007D && op <= 0x007F) || (op >= 0x008D && op <= 0x008F) ||
      (op >= 0x00B0 && op <= 0x00CF) || (op >= 0x8000 && op <= 0x80FF))
    return OpcodeData::kNone;
  if ((op >= 0x00D0 && op <= 0x00FE) || op >= 0x8100) return OpcodeData::kLongCount;
  if (op >= 0x0100 && op <= 0x7FFF) return OpcodeData::kReservedWords;
  return OpcodeData::kInvalid;
}
// The data size of the reserved opcodes of kind kFixed.
constexpr std::size_t FixedOpcodeSize(UInt16 op) { return op >= 0x0065 && op <= 0x0067 ? 12 : op >= 0x006D ? 4 : 8; }

// ---- The picture header ----
// A 16-bit size (the total modulo 65536) and the frame, then the version: the byte opcode 0x11
// and 0x01 (version 1), or the word opcode 0x0011 and 0x02FF (version 2) followed by a header
// record: kOpHeader, -2 (extended), a reserved word, the horizontal and vertical resolution, the
// source rectangle and a reserved long.
constexpr std::size_t kPictHeaderSize = 10;  // size and frame
constexpr std::size_t kMinPictSize = kPictHeaderSize + 2;
constexpr UInt8 kVersion1 = 0x01;     // after the byte opcode 0x11
constexpr UInt16 kVersion2 = 0x02FF;  // after the word opcode 0x0011
constexpr UInt16 kExtendedHeader = 0xFFFE;
constexpr UInt32 kResolution72 = 0x00480000;      // 72 dots an inch, fixed point
constexpr std::size_t kPictFileHeaderSize = 512;  // zero bytes before the picture in a file

// ---- Regions ----
// A 16-bit size (counting itself), the bounding box, then for a region that is not a rectangle
// rows of inversion points: y, the x coordinates, kRegionEnd; a last kRegionEnd closes the list.
constexpr std::size_t kRegionHeaderSize = 10;
constexpr UInt16 kRegionEnd = 0x7FFF;
constexpr std::size_t kMaxRegionBytes = 32000;  // a region's size field is 16 bits

// ---- Polygons ----
// A 16-bit size (counting itself), the bounding box, then the points.
constexpr std::size_t kPolyHeaderSize = 10;

// ---- Pixel and bit maps ----
constexpr UInt16 kPixMapFlag = 0x8000;  // in the row-bytes field: a pixel map follows
constexpr UInt16 kRowBytesMask = 0x3FFF;
constexpr UInt32 kDirectBaseAddress = 0x000000FF;
constexpr SInt16 kDirectPixelType = 16;  // RGB direct pixels
constexpr SInt16 kPackDefault = 0;
constexpr SInt16 kPackNone = 1;
constexpr SInt16 kPackDropAlpha = 2;           // 32-bit pixels without their alpha byte
constexpr SInt16 kPackWords = 3;               // run-length over 16-bit words
constexpr SInt16 kPackComponents = 4;          // run-length over component planes
constexpr long kMinPackedRowBytes = 8;         // narrower rows are stored unpacked
constexpr long kMaxByteCountedRowBytes = 250;  // wider packed rows give 16-bit byte counts
constexpr UInt16 kMaxColorTableIndex = 255;
constexpr long kMaxImageSide = 16384;
constexpr long long kMaxImagePixels = 64LL << 20;
constexpr long kMaxPixMapRowBytes = 0x3FFF;

// ---- Pixel patterns ----
constexpr UInt16 kPatternBits = 0;
constexpr UInt16 kPatternPixels = 1;
constexpr UInt16 kPatternRGB = 2;

// Picture data passes through the picture-data procedures in pieces of at most this size.
constexpr std::size_t kMaxDataChunk = 32766;

}  // namespace qdimpl::pict
