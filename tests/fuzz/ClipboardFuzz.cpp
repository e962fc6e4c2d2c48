// Blocks of the system clipboard, as another program leaves them.
#include <vector>

#include "ClipboardConversion.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"

namespace vlfuzz {

Outcome ReadClipboard(const std::uint8_t* data, std::size_t size) {
  const std::vector<unsigned char> block(data, data + size);
  const bool registered = gMacPictFormat != 0;
  if (!registered) gMacPictFormat = kMacPictFormatNumber;
  bool refused = false;
  for (const UInt32 format :
       {UInt32(CF_TEXT), UInt32(CF_OEMTEXT), UInt32(CF_DIB), UInt32(CF_METAFILEPICT), kMacPictFormatNumber}) {
    for (const OSType wanted : {FourCC("TEXT"), FourCC("PICT")}) {
      std::vector<unsigned char> scrap;
      long result = 0;
      ImportClipboardData(format, &block, nullptr, wanted, &scrap, &result);
    }
    ScrapRecord record;
    MeasureClipboardData(format, &block, nullptr, &record);
  }
  // A packed bitmap that does not fit its block is refused.
  std::vector<unsigned char> picture;
  if (!PackedBitmapToScrapPicture(block.data(), block.size(), &picture)) refused = true;
  // A bitmap of the size the first two bytes give, over the rest.
  if (size >= 2) {
    ClipboardBitmap bitmap;
    bitmap.width = data[0] % 64;
    bitmap.height = data[1] % 64;
    bitmap.rowBytes = std::size_t(bitmap.width) * 3;
    bitmap.pixels = data + 2;
    if (bitmap.rowBytes * std::size_t(bitmap.height) <= size - 2) BitmapToScrapPicture(bitmap, &picture);
  }
  // The scrap's own data goes back out.
  std::vector<ClipboardBlock> out;
  ExportClipboardData(FourCC("TEXT"), data, size, &out);
  ExportClipboardData(FourCC("PICT"), data, size, &out);
  if (!registered) gMacPictFormat = 0;
  return refused ? Refused() : Accepted();
}

}  // namespace vlfuzz
