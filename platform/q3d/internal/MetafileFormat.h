// The numbers and words of the 3DMF format, shared by its binary and text readers and writers
// (BinaryFormat.cpp, TextFormat.cpp) and by opening a file (File.cpp).
#pragma once

#include <cstddef>

#include "Q3Types.h"

namespace q3d::format {

// ---- Binary ----
// A header (magic, the size of the rest, version, flags, a 64-bit table of contents offset), then
// entries: a four-byte type and size before every object's data, the data padded to four bytes.
// Files written little-endian start with the swapped magic.
constexpr TQ3Uns32 Code(const char (&s)[5]) { return TQ3Uns32(Q3FourCC(s)); }
constexpr TQ3Uns32 kMagic = Code("3DMF");
constexpr TQ3Uns32 kSwappedMagic = Code("FMD3");  // the magic as a big-endian reader sees a little-endian file
constexpr TQ3Uns32 kContainer = Code("cntr");
constexpr TQ3Uns32 kBeginGroup = Code("bgng");
constexpr TQ3Uns32 kEndGroup = Code("endg");
constexpr TQ3Uns32 kReference = Code("rfrn");
constexpr TQ3Uns32 kTableOfContents = Code("toc ");
constexpr TQ3Uns32 kTypeDeclaration = Code("type");
constexpr std::size_t kHeaderSize = 24;
constexpr TQ3Uns32 kHeaderRestSize = 16;   // what the header's size field counts
constexpr std::size_t kEntryHeadSize = 8;  // type and size
constexpr std::size_t kPadUnit = 4;
constexpr TQ3Uns32 kTocEntrySize = 16;       // reference id, a reserved word, offset and type
constexpr TQ3Uns32 kTocShortEntrySize = 12;  // without the type
constexpr TQ3Uns32 kTocEntryType = 1;        // the entries carry their type

// ---- Text ----
constexpr char kTextHeader[] = "3DMetafile";
constexpr char kTextContainer[] = "Container";
constexpr char kTextBeginGroup[] = "BeginGroup";
constexpr char kTextEndGroup[] = "EndGroup";
constexpr char kTextReference[] = "Reference";
constexpr char kTextTableOfContents[] = "TableOfContents";
constexpr char kTextTypeDeclaration[] = "Type";

// ---- Both ----
constexpr TQ3Uns32 kMajorVersion = 1;
constexpr TQ3Uns32 kMinorVersion = 6;

}  // namespace q3d::format
