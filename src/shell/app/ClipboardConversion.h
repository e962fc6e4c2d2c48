// Moving clipboard data between the system clipboard and the toolbox scrap.
//
// The system clipboard holds blocks under Windows-style format numbers: text (zero-terminated,
// UTF-8 here, lines ending in CR LF), bitmaps, packed device-independent bitmaps and the
// program's private picture format "Mac-PICT". The scrap holds 'TEXT' (Mac Roman, lines ending
// in CR, no terminator) and 'PICT'. A 'PICT' made from a bitmap or a packed bitmap is a 10-byte
// picture header (u16 total size modulo 65536, u16 top 0, u16 left 0, u16 bottom = height, u16
// right = width), a 40-byte bitmap info header and the pixel rows from byte 50; every integer is
// little-endian. The "Mac-PICT" bytes pass unchanged both ways.
//
// Every length comes from the block it describes and is checked against it: text stops at its
// terminator or at the end of the block, whichever comes first, and bitmap headers whose sizes
// do not fit their block are refused.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "MacTypes.h"

// Clipboard format numbers.
enum : UInt32 {
  CF_TEXT = 1,
  CF_BITMAP = 2,
  CF_METAFILEPICT = 3,
  CF_OEMTEXT = 7,
  CF_DIB = 8,
  CF_DSPTEXT = 0x81,
};

// The number of the private format "Mac-PICT"; 0 until the first export of a picture registers it.
extern UInt32 gMacPictFormat;
constexpr UInt32 kMacPictFormatNumber = 0xC000;
inline constexpr const char* kMacPictFormatName = "Mac-PICT";

// "No data of that type", as the scrap reports it.
constexpr OSErr noTypeErr = -102;

// One block of the system clipboard.
struct ClipboardBlock {
  UInt32 format = 0;
  std::vector<unsigned char> bytes;
};

// A bitmap on the system clipboard, as rows of 24-bit pixels the way a device-independent
// bitmap keeps them (bottom row first, blue, green, red); rowBytes apart.
struct ClipboardBitmap {
  SInt32 width = 0;
  SInt32 height = 0;
  const unsigned char* pixels = nullptr;
  std::size_t rowBytes = 0;
};

// The scrap record of the toolbox globals.
struct ScrapRecord {
  SInt32 size = 0;
  SInt16 handleWord = 0;
  SInt16 changeCount = 0;
  SInt16 state = 0;
};

// Number of CR bytes in the text.
long CountCarriageReturns(const char* text, std::size_t length);

// Scrap 'TEXT' (Mac Roman, CR line ends) as clipboard text: UTF-8 with CR LF line ends and a
// terminating zero. Empty text gives the empty string (the zero alone).
std::vector<unsigned char> ScrapTextToClipboard(const char* text, std::size_t length);
// Clipboard text of blockSize bytes as scrap 'TEXT': the characters up to the first zero (or the
// whole block when it has none), CR LF turned into CR (a lone LF stays), UTF-8 into Mac Roman.
std::string ClipboardTextToScrap(const unsigned char* block, std::size_t blockSize);

// Row size of a 24-bit bitmap row in a picture made from a bitmap: 3 x width rounded up to a
// multiple of 4. The size of the whole picture: rows x height + 50. Both 0 for a bitmap that has
// no pixels or whose picture would not fit in memory.
long BitmapRowSize(SInt32 width);
long BitmapPictureSize(SInt32 width, SInt32 height);

// Scrap 'PICT' from a bitmap; false (nothing made) for a bitmap without pixels or one too large.
bool BitmapToScrapPicture(const ClipboardBitmap& bitmap, std::vector<unsigned char>* picture);
// Scrap 'PICT' from a packed device-independent bitmap (info header, colour table, pixels): the
// picture header followed by the packed bitmap. False for a block whose header is short or names
// more data than the block holds.
bool PackedBitmapToScrapPicture(const unsigned char* block, std::size_t blockSize,
                                std::vector<unsigned char>* picture);
// The size the packed bitmap's picture will have: the info header, the colour table and the image
// size the header gives, plus 10; 0 for a header that cannot be read.
long PackedBitmapPictureSize(const unsigned char* block, std::size_t blockSize);

// Windows to scrap: the scrap data made from the clipboard's data of a format (bytes for the
// block formats, bitmap for CF_BITMAP; null when the clipboard has none). With scrap null only
// the size is computed. True when data of the wanted type ('TEXT' or 'PICT') was produced, with
// its size in *result; otherwise *result is noTypeErr.
bool ImportClipboardData(UInt32 format, const std::vector<unsigned char>* bytes, const ClipboardBitmap* bitmap,
                         OSType wanted, std::vector<unsigned char>* scrap, long* result);

// Scrap to Windows: the blocks the scrap data of the type puts on the clipboard ('TEXT': the
// text; 'PICT': the private format, registered on first use). False, with nothing put, for any
// other type.
bool ExportClipboardData(OSType type, const unsigned char* data, std::size_t size, std::vector<ClipboardBlock>* out);

// The size of the data of a format for the scrap record: text and metafile blocks by their block
// size, bitmaps and packed bitmaps by the picture they make. True for the formats it knows (also
// without data); with data present the record takes the size, its handle word and state become 1
// and its change count grows by one.
bool MeasureClipboardData(UInt32 format, const std::vector<unsigned char>* bytes, const ClipboardBitmap* bitmap,
                          ScrapRecord* record);
