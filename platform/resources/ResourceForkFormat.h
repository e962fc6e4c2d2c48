// The numbers of the two containers a file's resources are kept in on disk, shared by their
// readers and writers (ResourceFork.cpp, ForkFile.cpp). Every value is big-endian.
#pragma once

#include <cstddef>

#include "MacTypes.h"

namespace vlres::format {

// ---- The classic resource fork ----
// A 16-byte header (offsets and lengths of the data and the map), the data (each resource a
// 32-bit length and its bytes) and the map: a copy of the header, reserved fields, the offsets
// of the type list and the name list, the type list (count - 1, then per type its code, count - 1
// of its references and the offset of its reference list from the type list), the reference
// lists (per resource its id, name offset, attributes, 24-bit data offset and a reserved word) and
// the names (length-prefixed).
constexpr std::size_t kForkHeaderSize = 16;
constexpr std::size_t kDataStart = 256;           // the header plus the reserved system and application areas
constexpr std::size_t kMapHeaderSize = 28;        // header copy, next map, file ref, attributes, two offsets
constexpr std::size_t kMapTypeListOffsetAt = 24;  // where the map keeps its type list's offset
constexpr std::size_t kMapNameListOffsetAt = 26;  // and its name list's
constexpr std::size_t kTypeEntrySize = 8;
constexpr std::size_t kRefEntrySize = 12;
constexpr std::size_t kDataLengthSize = 4;        // before each resource's bytes
constexpr std::size_t kMaxDataOffset = 0xFFFFFF;  // data offsets are 24 bits
constexpr UInt16 kNoName = 0xFFFF;                // the name offset of a resource without a name
constexpr std::size_t kMaxNameListSize = 0xFFFF;  // name offsets are 16 bits
constexpr std::size_t kMaxMapOffset = 0xFFFF;     // list offsets in the map are 16 bits

// ---- AppleDouble ----
// A 26-byte header (magic, version, 16 bytes of filler, entry count), then the entries (id,
// offset from the start of the file, length), then their data.
constexpr UInt32 kAppleDoubleMagic = 0x00051607;
constexpr UInt32 kAppleDoubleVersion = 0x00020000;
constexpr std::size_t kAppleDoubleFillerSize = 16;
constexpr std::size_t kAppleDoubleHeaderSize = 26;
constexpr std::size_t kAppleDoubleEntrySize = 12;
constexpr UInt32 kResourceForkEntry = 2;

}  // namespace vlres::format
