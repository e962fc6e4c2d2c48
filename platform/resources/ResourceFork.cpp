// The classic resource-fork layout: a 16-byte header, the data (each resource a 32-bit length
// and its bytes), and the map (header copy, type list, reference lists, name list).
#include <algorithm>
#include <map>

#include "ByteReader.h"
#include "Refusal.h"
#include "ResourceForkFormat.h"
#include "Resources.h"

namespace vlres {

using namespace format;
using vlcore::ByteReader;
using vlcore::ByteWriter;

namespace {

OSErr Refuse(const char* reason) { return vlcore::Refuse(OSErr(mapReadErr), reason); }

}  // namespace

// Each reference copies its resource's data, and type entries may share a reference list and
// references one data offset: a small file could ask for gigabytes. In a sound fork no two
// references share their entry or their data, so the reference entries taken together must fit
// the map, and the data they copy together must fit the data area.
OSErr ReadResourceFork(const unsigned char* data, std::size_t size, std::vector<ResourceData>* out) {
  out->clear();
  ByteReader file(data, size);
  const std::uint64_t dataOffset = file.U32();
  const std::uint64_t mapOffset = file.U32();
  const std::uint64_t dataLength = file.U32();
  const std::uint64_t mapLength = file.U32();
  if (!file.ok()) return Refuse("the fork is shorter than its header");
  if (dataOffset + dataLength > size || mapOffset + mapLength > size)
    return Refuse("the header places the data or the map past the end of the file");
  if (mapLength < kMapHeaderSize) return Refuse("the map is shorter than its header");

  const unsigned char* mapBase = data + mapOffset;
  ByteReader map(mapBase, std::size_t(mapLength));
  map.Seek(kMapTypeListOffsetAt);
  const std::size_t typeListOffset = map.U16();
  const std::size_t nameListOffset = map.U16();
  if (!map.Seek(typeListOffset)) return Refuse("the type list starts past the end of the map");
  const std::size_t typeCount = (std::size_t(map.U16()) + 1) & 0xFFFF;  // stored as count - 1
  if (!map.Fits(typeCount, kTypeEntrySize)) return Refuse("the type list runs past the end of the map");

  // The reference lists first, before anything is copied.
  std::uint64_t refBytes = 0;
  for (std::size_t t = 0; t < typeCount; ++t) {
    map.Seek(typeListOffset + 2 + t * kTypeEntrySize + 4);
    const std::size_t refCount = std::size_t(map.U16()) + 1;
    const std::size_t refListOffset = typeListOffset + map.U16();
    if (!map.Seek(refListOffset) || !map.Fits(refCount, kRefEntrySize))
      return Refuse("a reference list runs past the end of the map");
    refBytes += refCount * kRefEntrySize;
  }
  if (refBytes > mapLength) return Refuse("the types share their reference lists");

  ByteReader dataArea(data + dataOffset, std::size_t(dataLength));
  std::uint64_t dataBytes = 0;
  std::vector<ResourceData> result;
  for (std::size_t t = 0; t < typeCount; ++t) {
    map.Seek(typeListOffset + 2 + t * kTypeEntrySize);
    const ResType type = map.U32();
    const std::size_t refCount = std::size_t(map.U16()) + 1;
    const std::size_t refListOffset = typeListOffset + map.U16();
    for (std::size_t r = 0; r < refCount; ++r) {
      map.Seek(refListOffset + r * kRefEntrySize);
      ResourceData res;
      res.type = type;
      res.id = map.S16();
      const UInt16 nameOffset = map.U16();
      res.attributes = map.U8();
      const std::size_t offset = map.U24();
      if (!map.ok()) return Refuse("a reference runs past the end of the map");
      if (nameOffset != kNoName) {
        ByteReader names(mapBase, std::size_t(mapLength));
        if (!names.Seek(nameListOffset + std::size_t(nameOffset))) return Refuse("a name lies past the end of the map");
        res.name = names.PString();
        if (!names.ok()) return Refuse("a name runs past the end of the map");
      }
      if (!dataArea.Seek(offset)) return Refuse("a resource's data lies past the end of the data area");
      const std::size_t length = dataArea.U32();
      const unsigned char* bytes = dataArea.Take(length);
      if (!bytes) return Refuse("a resource's data runs past the end of the data area");
      dataBytes += kDataLengthSize + length;
      if (dataBytes > dataLength) return Refuse("the resources share their data");
      res.bytes.assign(bytes, bytes + length);
      result.push_back(std::move(res));
    }
  }
  *out = std::move(result);
  return noErr;
}

OSErr WriteResourceFork(const std::vector<ResourceData>& resources, std::vector<unsigned char>* out) {
  out->clear();
  // Group by type, keeping the order of first appearance of each type and of resources in it.
  std::vector<ResType> types;
  std::map<ResType, std::vector<const ResourceData*>> byType;
  for (const ResourceData& r : resources) {
    if (r.name.size() > 255) return paramErr;
    auto& list = byType[r.type];
    if (list.empty()) types.push_back(r.type);
    list.push_back(&r);
  }
  if (types.size() > 0x10000) return paramErr;
  for (auto& [type, list] : byType)
    if (list.size() > 0x10000) return paramErr;

  ByteWriter data;
  std::vector<std::size_t> dataOffsets;
  for (const ResourceData& r : resources) {
    if (data.size() > kMaxDataOffset || r.bytes.size() > 0xFFFFFFFFu) return paramErr;
    dataOffsets.push_back(data.size());
    data.U32(r.bytes.size());
    data.Bytes(r.bytes.data(), r.bytes.size());
  }

  // Map: header, type list, reference lists, names.
  const std::size_t typeListSize = 2 + types.size() * kTypeEntrySize;
  const std::size_t refListsSize = resources.size() * kRefEntrySize;
  const std::size_t nameListOffset = kMapHeaderSize + typeListSize + refListsSize;
  if (nameListOffset > kMaxMapOffset) return paramErr;
  ByteWriter map;
  map.Zeros(kMapHeaderSize);
  map.Put16At(kMapTypeListOffsetAt, unsigned(kMapHeaderSize));
  map.Put16At(kMapNameListOffsetAt, unsigned(nameListOffset));
  map.U16(unsigned((types.size() + 0xFFFF) & 0xFFFF));  // count - 1; an empty map stores 0xFFFF
  std::size_t refListOffset = typeListSize;
  for (ResType type : types) {
    map.U32(type);
    map.U16(unsigned(byType[type].size() - 1));
    map.U16(unsigned(refListOffset));
    refListOffset += byType[type].size() * kRefEntrySize;
  }
  ByteWriter names;
  for (ResType type : types) {
    for (const ResourceData* r : byType[type]) {
      map.U16(UInt16(r->id));
      if (r->name.empty()) {
        map.U16(kNoName);
      } else {
        if (names.size() > kMaxNameListSize) return paramErr;
        map.U16(unsigned(names.size()));
        names.PString(r->name);
      }
      map.U8(r->attributes & ~unsigned(resChanged));
      map.U24(dataOffsets[std::size_t(r - resources.data())]);
      map.U32(0);
    }
  }
  map.Bytes(names.bytes().data(), names.size());

  const std::size_t dataLength = data.size();
  const std::size_t mapOffset = kDataStart + dataLength;
  const std::size_t mapLength = map.size();
  if (std::uint64_t(mapOffset) + mapLength > 0xFFFFFFFFu) return paramErr;

  ByteWriter file;
  file.U32(kDataStart);
  file.U32(mapOffset);
  file.U32(dataLength);
  file.U32(mapLength);
  file.Zeros(kDataStart - kForkHeaderSize);
  file.Bytes(data.bytes().data(), dataLength);
  for (std::size_t i = 0; i < kForkHeaderSize; ++i) map.bytes()[i] = file.bytes()[i];
  file.Bytes(map.bytes().data(), mapLength);
  *out = std::move(file.bytes());
  return noErr;
}

}  // namespace vlres
