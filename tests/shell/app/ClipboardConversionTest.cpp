#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ClipboardConversion.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

UInt32 U16At(const std::vector<unsigned char>& b, std::size_t at) { return UInt32(b[at]) | UInt32(b[at + 1]) << 8; }
UInt32 U32At(const std::vector<unsigned char>& b, std::size_t at) { return U16At(b, at) | U16At(b, at + 2) << 16; }

// A packed 24-bit bitmap: info header and rows of 4-byte multiples.
std::vector<unsigned char> PackedBitmap(SInt32 width, SInt32 height, UInt32 imageSizeField, std::size_t rowsPresent) {
  std::vector<unsigned char> b(40, 0);
  auto put32 = [&b](std::size_t at, UInt32 v) {
    for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = static_cast<unsigned char>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, UInt32(width));
  put32(8, UInt32(height));
  b[12] = 1;
  b[14] = 24;
  put32(20, imageSizeField);
  std::size_t row = ((std::size_t(width) * 24 + 31) / 32) * 4;
  for (std::size_t i = 0; i < row * rowsPresent; ++i) b.push_back(static_cast<unsigned char>(i));
  return b;
}

}  // namespace

TEST(ClipboardText, LineEndsAndCharactersBothWays) {
  struct Case {
    const char* clipboard;  // UTF-8 as the system has it
    const char* scrap;      // Mac Roman with CR line ends
  } cases[] = {
      {"one\r\ntwo\r\n", "one\rtwo\r"},
      {"lone\nfeed", "lone\nfeed"},
      {"", ""},
      {"caf\xC3\xA9", "caf\x8E"},  // e acute
  };
  for (const Case& c : cases) {
    std::string clipboard = c.clipboard;
    EXPECT_EQ(ClipboardTextToScrap(reinterpret_cast<const unsigned char*>(clipboard.c_str()), clipboard.size() + 1),
              c.scrap)
        << c.clipboard;
  }
  // Scrap to clipboard: CR becomes CR LF, a lone LF stays, and the block ends in a zero.
  std::string scrap = "a\rb\nc\x8E";
  std::vector<unsigned char> out = ScrapTextToClipboard(scrap.data(), scrap.size());
  EXPECT_EQ(std::string(out.begin(), out.end()), std::string("a\r\nb\nc\xC3\xA9", 8) + '\0');
  EXPECT_EQ(ScrapTextToClipboard(nullptr, 0), std::vector<unsigned char>{0});
  EXPECT_EQ(CountCarriageReturns("a\rb\r\r", 5), 3);
}

TEST(ClipboardText, LargeBlockStopsAtItsTerminatorAndNeverReadsPastTheBlock) {
  // A 40000-byte block whose text ends early: the bytes after the zero are not pasted.
  std::vector<unsigned char> block(40000, 'x');
  std::memcpy(block.data(), "short text", 10);
  block[10] = 0;
  std::vector<unsigned char> scrap;
  long result = 0;
  ASSERT_TRUE(ImportClipboardData(CF_TEXT, &block, nullptr, FourCC("TEXT"), &scrap, &result));
  EXPECT_EQ(std::string(scrap.begin(), scrap.end()), "short text");
  EXPECT_EQ(result, 10);
  // The same for the display-text format.
  ASSERT_TRUE(ImportClipboardData(CF_DSPTEXT, &block, nullptr, FourCC("TEXT"), &scrap, &result));
  EXPECT_EQ(result, 10);
  // A block without a terminator ends at its own end (the sanitizer checks nothing past it).
  std::vector<unsigned char> unterminated(33000, 'y');
  ASSERT_TRUE(ImportClipboardData(CF_OEMTEXT, &unterminated, nullptr, FourCC("TEXT"), nullptr, &result));
  EXPECT_EQ(result, 33000);
}

TEST(ClipboardBitmap, RowsAreTheTwentyFourBitRowRoundedUpToFourBytes) {
  struct Case {
    SInt32 width;
    long row;
  } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {640, 1920}};
  for (const Case& c : cases) EXPECT_EQ(BitmapRowSize(c.width), c.row) << c.width;
  EXPECT_EQ(BitmapPictureSize(4, 3), 12 * 3 + 50);
  // No pixels, or more than memory holds: no picture.
  EXPECT_EQ(BitmapPictureSize(0, 5), 0);
  EXPECT_EQ(BitmapPictureSize(5, -1), 0);
  EXPECT_EQ(BitmapPictureSize(0x7FFFFFFF, 0x7FFFFFFF), 0);
  EXPECT_EQ(BitmapPictureSize(100000, 100000), 0);
}

TEST(ClipboardBitmap, PictureHoldsHeaderInfoAndRows) {
  // 2 by 2 pixels, rows of 6 bytes given 7 apart.
  const unsigned char pixels[] = {1, 2, 3, 4, 5, 6, 99, 7, 8, 9, 10, 11, 12, 99};
  ClipboardBitmap bitmap{2, 2, pixels, 7};
  std::vector<unsigned char> scrap;
  long size = 0;
  ASSERT_TRUE(ImportClipboardData(CF_BITMAP, nullptr, &bitmap, FourCC("PICT"), &scrap, &size));
  ASSERT_EQ(size, 8 * 2 + 50);
  ASSERT_EQ(scrap.size(), std::size_t(size));
  // Picture header: size, top, left, bottom = height, right = width.
  EXPECT_EQ(U16At(scrap, 0), UInt32(size));
  EXPECT_EQ(U16At(scrap, 2), 0u);
  EXPECT_EQ(U16At(scrap, 4), 0u);
  EXPECT_EQ(U16At(scrap, 6), 2u);
  EXPECT_EQ(U16At(scrap, 8), 2u);
  // Info header at 10.
  EXPECT_EQ(U32At(scrap, 10), 40u);
  EXPECT_EQ(U32At(scrap, 14), 2u);
  EXPECT_EQ(U32At(scrap, 18), 2u);
  EXPECT_EQ(U16At(scrap, 22), 1u);
  EXPECT_EQ(U16At(scrap, 24), 24u);
  EXPECT_EQ(U32At(scrap, 26), 0u);
  EXPECT_EQ(U32At(scrap, 30), 16u);
  EXPECT_EQ(U32At(scrap, 34), 2800u);
  EXPECT_EQ(U32At(scrap, 38), 2800u);
  EXPECT_EQ(U32At(scrap, 42), 0u);
  // Rows from 50, padded with zeros.
  const std::vector<unsigned char> rows(scrap.begin() + 50, scrap.end());
  EXPECT_EQ(rows, (std::vector<unsigned char>{1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}));
  // Asked for text, a bitmap gives nothing.
  EXPECT_FALSE(ImportClipboardData(CF_BITMAP, nullptr, &bitmap, FourCC("TEXT"), &scrap, &size));
  EXPECT_EQ(size, noTypeErr);
}

TEST(ClipboardBitmap, PackedBitmapsAreCheckedAgainstTheirBlock) {
  std::vector<unsigned char> scrap;
  long size = 0;
  // A whole 3 by 2 bitmap (rows of 12 bytes): picture header + the packed bitmap.
  std::vector<unsigned char> good = PackedBitmap(3, 2, 0, 2);
  ASSERT_TRUE(ImportClipboardData(CF_DIB, &good, nullptr, FourCC("PICT"), &scrap, &size));
  EXPECT_EQ(size, long(good.size()) + 10);
  EXPECT_EQ(U16At(scrap, 6), 2u);
  EXPECT_EQ(U16At(scrap, 8), 3u);
  EXPECT_TRUE(std::equal(good.begin(), good.end(), scrap.begin() + 10));
  ScrapRecord record;
  ASSERT_TRUE(MeasureClipboardData(CF_DIB, &good, nullptr, &record));
  EXPECT_EQ(record.size, SInt32(good.size() + 10));

  // Damaged blocks: each refused with "no data of that type" and nothing read past them.
  std::vector<unsigned char> shortHeader(20, 0);
  std::vector<unsigned char> missingRow = PackedBitmap(3, 2, 0, 1);
  std::vector<unsigned char> lyingSize = PackedBitmap(3, 2, 1000000, 2);
  std::vector<unsigned char> hugeHeader = PackedBitmap(3, 2, 0, 2);
  hugeHeader[0] = 0xFF;
  hugeHeader[3] = 0x7F;
  std::vector<unsigned char> noWidth = PackedBitmap(0, 2, 0, 2);
  for (const auto* block : {&shortHeader, &missingRow, &lyingSize, &hugeHeader, &noWidth}) {
    EXPECT_FALSE(ImportClipboardData(CF_DIB, block, nullptr, FourCC("PICT"), &scrap, &size));
    EXPECT_EQ(size, noTypeErr);
    EXPECT_EQ(PackedBitmapPictureSize(block->data(), block->size()), 0);
  }
}

TEST(ClipboardPrivatePicture, ExportRegistersTheFormatAndBytesPassUnchanged) {
  gMacPictFormat = 0;
  std::vector<unsigned char> picture = Bytes(std::string("\x00\x0A\x00\x00\x00\x00\x00\x10\x00\x10PICT", 14));
  long size = 0;
  // Before the first export the private format is not known.
  EXPECT_FALSE(ImportClipboardData(kMacPictFormatNumber, &picture, nullptr, FourCC("PICT"), nullptr, &size));

  std::vector<ClipboardBlock> put;
  ASSERT_TRUE(ExportClipboardData(FourCC("PICT"), picture.data(), picture.size(), &put));
  ASSERT_EQ(put.size(), 1u);
  EXPECT_EQ(gMacPictFormat, kMacPictFormatNumber);
  EXPECT_EQ(put[0].format, gMacPictFormat);
  EXPECT_EQ(put[0].bytes, picture);

  std::vector<unsigned char> scrap;
  ASSERT_TRUE(ImportClipboardData(gMacPictFormat, &put[0].bytes, nullptr, FourCC("PICT"), &scrap, &size));
  EXPECT_EQ(scrap, picture);

  // Text goes out as CF_TEXT; other types are not put at all.
  put.clear();
  ASSERT_TRUE(ExportClipboardData(FourCC("TEXT"), reinterpret_cast<const unsigned char*>("a\rb"), 3, &put));
  EXPECT_EQ(put[0].format, UInt32(CF_TEXT));
  EXPECT_EQ(std::string(put[0].bytes.begin(), put[0].bytes.end()), std::string("a\r\nb", 4) + '\0');
  put.clear();
  EXPECT_FALSE(ExportClipboardData(FourCC("snd "), picture.data(), picture.size(), &put));
  EXPECT_TRUE(put.empty());
}

TEST(ClipboardMeasure, KnownFormatsCountEvenWithoutDataAndBumpTheRecordWithIt) {
  ScrapRecord record;
  std::vector<unsigned char> text = Bytes("hello");
  text.push_back(0);
  ASSERT_TRUE(MeasureClipboardData(CF_TEXT, &text, nullptr, &record));
  EXPECT_EQ(record.size, 6);
  EXPECT_EQ(record.handleWord, 1);
  EXPECT_EQ(record.state, 1);
  EXPECT_EQ(record.changeCount, 1);

  ClipboardBitmap bitmap{4, 3, nullptr, 12};
  ASSERT_TRUE(MeasureClipboardData(CF_BITMAP, nullptr, &bitmap, &record));
  EXPECT_EQ(record.size, 12 * 3 + 50);
  EXPECT_EQ(record.changeCount, 2);

  // No data: known, record untouched. Unknown format: not known.
  EXPECT_TRUE(MeasureClipboardData(CF_METAFILEPICT, nullptr, nullptr, &record));
  EXPECT_EQ(record.changeCount, 2);
  EXPECT_FALSE(MeasureClipboardData(0x1234, &text, nullptr, &record));
  // Import of a format without data.
  long size = 0;
  EXPECT_FALSE(ImportClipboardData(CF_TEXT, nullptr, nullptr, FourCC("TEXT"), nullptr, &size));
  EXPECT_EQ(size, noTypeErr);
}
