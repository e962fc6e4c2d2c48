#include "ClipboardConversion.h"

#include <cstring>
#include <limits>

#include "ByteReader.h"
#include "PString.h"
#include "PackedBitmapFormat.h"
#include "Refusal.h"

UInt32 gMacPictFormat = 0;

namespace {

using namespace packedbitmap;
using vlcore::ByteOrder;

// Pictures are kept in memory blocks; larger ones are refused rather than wrapped.
constexpr long kMaxPictureSize = 1L << 30;

void PutPictureHeader(vlcore::ByteWriter& out, std::size_t totalSize, SInt32 width, SInt32 height) {
  out.U16(UInt32(totalSize & 0xFFFF));
  out.U16(0);
  out.U16(0);
  out.U16(UInt32(height));
  out.U16(UInt32(width));
}

bool IsTextFormat(UInt32 format) { return format == CF_TEXT || format == CF_OEMTEXT || format == CF_DSPTEXT; }

// What a packed bitmap's header says about its layout; false when the block cannot hold it.
struct PackedLayout {
  SInt32 width = 0;
  SInt32 height = 0;
  std::size_t headerSize = 0;
  std::size_t tableSize = 0;
  std::size_t imageSize = 0;
};

bool ReadPackedLayout(const unsigned char* block, std::size_t blockSize, PackedLayout* out) {
  if (!block) return vlcore::Refuse(false, "there is no bitmap");
  vlcore::ByteReader in(block, blockSize, ByteOrder::kLittleEndian);
  const UInt32 headerSize = in.U32();
  const auto width = in.S32();
  const auto height = in.S32();
  in.U16();  // planes
  const UInt32 bitCount = in.U16();
  const UInt32 compression = in.U32();
  const UInt32 imageSize = in.U32();
  in.Skip(8);  // resolution
  const UInt32 colorsUsed = in.U32();
  if (!in.ok()) return vlcore::Refuse(false, "a bitmap is shorter than its header");
  if (headerSize < kInfoHeaderSize || headerSize > blockSize)
    return vlcore::Refuse(false, "a bitmap's header size is out of range");
  if (width <= 0 || height == 0 || height == std::numeric_limits<SInt32>::min())
    return vlcore::Refuse(false, "a bitmap's size is out of range");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return vlcore::Refuse(false, "a bitmap's depth is not one of 1, 4, 8, 16, 24 and 32");
  std::size_t colors = colorsUsed;
  if (colors == 0 && bitCount <= 8) colors = std::size_t(1) << bitCount;
  if (colors > kMaxColors) return vlcore::Refuse(false, "a bitmap's colour table has more than 256 entries");
  std::size_t table = colors * kColorEntrySize;
  if (compression == kCompressionBitFields && headerSize == kInfoHeaderSize) table += kBitFieldMasksSize;
  std::size_t image = imageSize;
  if (image == 0) {
    // Uncompressed bitmaps may leave the image size out: rows of 32-bit units.
    if (compression != kCompressionNone && compression != kCompressionBitFields)
      return vlcore::Refuse(false, "a compressed bitmap does not give its image size");
    std::size_t rows = std::size_t(height < 0 ? -std::int64_t(height) : height);
    std::size_t rowBytes = ((std::size_t(width) * bitCount + 31) / 32) * 4;
    if (rows > std::size_t(kMaxPictureSize) / rowBytes) return vlcore::Refuse(false, "a bitmap is too large");
    image = rowBytes * rows;
  }
  if (headerSize + table > blockSize || image > blockSize - headerSize - table)
    return vlcore::Refuse(false, "a bitmap's colours and pixels run past the end of its block");
  *out = {width, height, headerSize, table, image};
  return true;
}

}  // namespace

long CountCarriageReturns(const char* text, std::size_t length) {
  long count = 0;
  for (std::size_t i = 0; i < length; ++i)
    if (text[i] == '\r') ++count;
  return count;
}

std::vector<unsigned char> ScrapTextToClipboard(const char* text, std::size_t length) {
  std::string utf8 = MacRomanToUtf8(std::string_view(text ? text : "", text ? length : 0));
  std::vector<unsigned char> out;
  out.reserve(utf8.size() + std::size_t(CountCarriageReturns(utf8.data(), utf8.size())) + 1);
  for (char c : utf8) {
    out.push_back(static_cast<unsigned char>(c));
    if (c == '\r') out.push_back('\n');
  }
  out.push_back(0);
  return out;
}

std::string ClipboardTextToScrap(const unsigned char* block, std::size_t blockSize) {
  if (!block) return {};
  // The text ends at its terminator; a block without one ends at its own end.
  const void* zero = std::memchr(block, 0, blockSize);
  std::size_t length = zero ? std::size_t(static_cast<const unsigned char*>(zero) - block) : blockSize;
  std::string lines;
  lines.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    if (block[i] == '\r' && i + 1 < length && block[i + 1] == '\n') {
      lines.push_back('\r');
      ++i;
    } else {
      lines.push_back(char(block[i]));
    }
  }
  return Utf8ToMacRoman(lines);
}

long BitmapRowSize(SInt32 width) {
  if (width <= 0 || width > (kMaxPictureSize - 3) / 3) return 0;
  return (3 * (long(width) + 1)) & ~3L;
}

long BitmapPictureSize(SInt32 width, SInt32 height) {
  long row = BitmapRowSize(width);
  const long head = long(kPictureHeaderSize + kInfoHeaderSize);
  if (row == 0 || height <= 0 || height > (kMaxPictureSize - head) / row) return 0;
  return row * height + head;
}

bool BitmapToScrapPicture(const ClipboardBitmap& bitmap, std::vector<unsigned char>* picture) {
  long total = BitmapPictureSize(bitmap.width, bitmap.height);
  if (total == 0 || !bitmap.pixels) return false;
  std::size_t row = std::size_t(BitmapRowSize(bitmap.width));
  std::size_t pixelBytes = std::size_t(bitmap.width) * 3;
  if (bitmap.rowBytes < pixelBytes) return false;
  vlcore::ByteWriter out(ByteOrder::kLittleEndian);
  PutPictureHeader(out, std::size_t(total), bitmap.width, bitmap.height);
  out.U32(kInfoHeaderSize);
  out.U32(UInt32(bitmap.width));
  out.U32(UInt32(bitmap.height));
  out.U16(kPlanes);
  out.U16(kBitsOfPictures);
  out.U32(kCompressionNone);
  out.U32(UInt32(row * std::size_t(bitmap.height)));
  out.U32(kPixelsPerMeter);
  out.U32(kPixelsPerMeter);
  out.Zeros(std::size_t(total) - out.size());
  *picture = std::move(out.bytes());
  unsigned char* p = picture->data();
  for (SInt32 y = 0; y < bitmap.height; ++y)
    std::memcpy(p + kPictureHeaderSize + kInfoHeaderSize + std::size_t(y) * row,
                bitmap.pixels + std::size_t(y) * bitmap.rowBytes, pixelBytes);
  return true;
}

long PackedBitmapPictureSize(const unsigned char* block, std::size_t blockSize) {
  PackedLayout layout;
  if (!ReadPackedLayout(block, blockSize, &layout)) return 0;
  return long(layout.headerSize + layout.tableSize + layout.imageSize + kPictureHeaderSize);
}

bool PackedBitmapToScrapPicture(const unsigned char* block, std::size_t blockSize,
                                std::vector<unsigned char>* picture) {
  PackedLayout layout;
  if (!ReadPackedLayout(block, blockSize, &layout)) return false;
  std::size_t packed = layout.headerSize + layout.tableSize + layout.imageSize;
  vlcore::ByteWriter out(ByteOrder::kLittleEndian);
  SInt32 rows = layout.height < 0 ? -layout.height : layout.height;
  PutPictureHeader(out, kPictureHeaderSize + packed, layout.width, rows);
  out.Bytes(block, packed);
  *picture = std::move(out.bytes());
  return true;
}

bool ImportClipboardData(UInt32 format, const std::vector<unsigned char>* bytes, const ClipboardBitmap* bitmap,
                         OSType wanted, std::vector<unsigned char>* scrap, long* result) {
  auto fail = [result] {
    if (result) *result = noTypeErr;
    return false;
  };
  OSType produced = FourCC("PICT");
  std::vector<unsigned char> data;
  if (IsTextFormat(format) && bytes) {
    produced = FourCC("TEXT");
    std::string text = ClipboardTextToScrap(bytes->data(), bytes->size());
    data.assign(text.begin(), text.end());
  } else if (format == CF_BITMAP && bitmap) {
    if (!BitmapToScrapPicture(*bitmap, &data)) return fail();
  } else if (format == CF_DIB && bytes) {
    if (!PackedBitmapToScrapPicture(bytes->data(), bytes->size(), &data)) return fail();
  } else if (gMacPictFormat != 0 && format == gMacPictFormat && bytes) {
    data = *bytes;
  } else {
    return fail();
  }
  if (produced != wanted) return fail();
  if (result) *result = long(data.size());
  if (scrap) *scrap = std::move(data);
  return true;
}

bool ExportClipboardData(OSType type, const unsigned char* data, std::size_t size, std::vector<ClipboardBlock>* out) {
  if (type == FourCC("TEXT")) {
    out->push_back({CF_TEXT, ScrapTextToClipboard(reinterpret_cast<const char*>(data), data ? size : 0)});
    return true;
  }
  if (type == FourCC("PICT")) {
    if (gMacPictFormat == 0) gMacPictFormat = kMacPictFormatNumber;
    ClipboardBlock block{gMacPictFormat, {}};
    if (data) block.bytes.assign(data, data + size);
    out->push_back(std::move(block));
    return true;
  }
  return false;
}

bool MeasureClipboardData(UInt32 format, const std::vector<unsigned char>* bytes, const ClipboardBitmap* bitmap,
                          ScrapRecord* record) {
  long size = 0;
  bool present = false;
  if (IsTextFormat(format) || format == CF_METAFILEPICT) {
    present = bytes != nullptr;
    if (present) size = long(bytes->size());
  } else if (format == CF_BITMAP) {
    present = bitmap != nullptr;
    if (present) size = BitmapPictureSize(bitmap->width, bitmap->height);
  } else if (format == CF_DIB) {
    present = bytes != nullptr;
    if (present) size = PackedBitmapPictureSize(bytes->data(), bytes->size());
  } else {
    return false;
  }
  if (present && record) {
    record->size = SInt32(size);
    record->handleWord = 1;
    record->state = 1;
    ++record->changeCount;
  }
  return true;
}
