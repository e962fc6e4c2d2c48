// The numbers of a packed device-independent bitmap and of the picture the clipboard makes of it,
// shared by the reader and the writers in ClipboardConversion.cpp. Every value is little-endian.
#pragma once

#include <cstddef>

#include "MacTypes.h"

namespace packedbitmap {

// The picture: total size modulo 65536, top, left, bottom (the height) and right (the width), each
// 16 bits, then the info header, the colour table and the pixel rows.
constexpr std::size_t kPictureHeaderSize = 10;

// The info header: its size, width, height (negative: top row first), planes, bits a pixel,
// compression, image size, horizontal and vertical resolution, colours used and colours needed.
constexpr std::size_t kInfoHeaderSize = 40;
constexpr UInt32 kCompressionNone = 0;
constexpr UInt32 kCompressionBitFields = 3;
constexpr std::size_t kBitFieldMasksSize = 12;  // three colour masks after a 40-byte header
constexpr std::size_t kColorEntrySize = 4;
constexpr std::size_t kMaxColors = 256;
constexpr SInt32 kPixelsPerMeter = 2800;
constexpr UInt16 kPlanes = 1;
constexpr UInt16 kBitsOfPictures = 24;  // the depth of the pictures made from bitmaps

}  // namespace packedbitmap
