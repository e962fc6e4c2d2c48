// The classic resource-fork layout: written and read back, and damaged forks refused.
#include <functional>

#include "ByteReader.h"
#include "ForkFile.h"
#include "Refusal.h"
#include "ResourceTestSupport.h"

using namespace restest;

namespace {

std::vector<vlres::ResourceData> Sample() {
  std::vector<vlres::ResourceData> r;
  r.push_back(Resource(FourCC("STR#"), 128, StringList({"one", "two"}), "Texts"));
  r.push_back(Resource(FourCC("TEXT"), 270, "line 1\rline 2"));
  r.push_back(Resource(FourCC("STR#"), -3, StringList({}), ""));
  r.push_back(Resource(FourCC("sect"), 7, std::string(300, '\x7f'), "A longer name"));
  r.push_back(Resource(FourCC("alis"), 7, ""));
  r[3].attributes = resPurgeable;
  return r;
}

Bytes Fork(const std::vector<vlres::ResourceData>& resources) {
  Bytes out;
  EXPECT_EQ(vlres::WriteResourceFork(resources, &out), noErr);
  return out;
}

std::vector<vlres::ResourceData> Read(const Bytes& fork, OSErr* err) {
  std::vector<vlres::ResourceData> out;
  *err = vlres::ReadResourceFork(fork.data(), fork.size(), &out);
  return out;
}

void Put32(Bytes& b, std::size_t at, UInt32 v) {
  for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = static_cast<unsigned char>(v >> (24 - 8 * i));
}
void Put16(Bytes& b, std::size_t at, UInt16 v) {
  b[at] = static_cast<unsigned char>(v >> 8);
  b[at + 1] = static_cast<unsigned char>(v);
}
UInt32 Get32(const Bytes& b, std::size_t at) {
  return (UInt32(b[at]) << 24) | (UInt32(b[at + 1]) << 16) | (UInt32(b[at + 2]) << 8) | b[at + 3];
}
UInt16 Get16(const Bytes& b, std::size_t at) { return UInt16((b[at] << 8) | b[at + 1]); }

}  // namespace

TEST(ResourceFork, WrittenForkReadsBackEveryResource) {
  auto sample = Sample();
  OSErr err;
  auto back = Read(Fork(sample), &err);
  ASSERT_EQ(err, noErr);
  ASSERT_EQ(back.size(), sample.size());
  // Resources come back grouped by type, in order within each type.
  std::vector<std::pair<ResType, SInt16>> order;
  for (auto& r : back) order.push_back({r.type, r.id});
  std::vector<std::pair<ResType, SInt16>> expected = {{FourCC("STR#"), 128},
                                                      {FourCC("STR#"), -3},
                                                      {FourCC("TEXT"), 270},
                                                      {FourCC("sect"), 7},
                                                      {FourCC("alis"), 7}};
  EXPECT_EQ(order, expected);
  for (const auto& want : sample) {
    bool found = false;
    for (const auto& got : back) {
      if (got.type != want.type || got.id != want.id) continue;
      found = true;
      EXPECT_EQ(got.name, want.name);
      EXPECT_EQ(got.bytes, want.bytes);
      EXPECT_EQ(got.attributes, want.attributes);
    }
    EXPECT_TRUE(found);
  }
}

TEST(ResourceFork, EmptyForkHasNoResources) {
  OSErr err;
  Bytes fork = Fork({});
  EXPECT_TRUE(Read(fork, &err).empty());
  EXPECT_EQ(err, noErr);
  EXPECT_EQ(Get16(fork, Get32(fork, 4) + 28), 0xFFFF);  // type count - 1 of an empty map
}

TEST(ResourceFork, NamesLongerThanAStringAreRefused) {
  Bytes out;
  EXPECT_EQ(vlres::WriteResourceFork({Resource(FourCC("TEXT"), 1, "", std::string(256, 'n'))}, &out),
            paramErr);
}

TEST(ResourceFork, EveryTruncationIsRefused) {
  Bytes fork = Fork(Sample());
  for (std::size_t n = 0; n < fork.size(); ++n) {
    Bytes cut(fork.begin(), fork.begin() + std::ptrdiff_t(n));
    OSErr err;
    auto back = Read(cut, &err);
    EXPECT_EQ(err, mapReadErr) << "length " << n;
    EXPECT_TRUE(back.empty());
  }
}

TEST(ResourceFork, CorruptedCountsAndOffsetsAreRefused) {
  const Bytes good = Fork(Sample());
  const std::size_t map = Get32(good, 4);
  const std::size_t typeList = map + Get16(good, map + 24);
  const std::size_t firstRef = typeList + Get16(good, typeList + 2 + 6);
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
  } cases[] = {
      {"data offset past the end", [](Bytes& b) { Put32(b, 0, 0xFFFFFF00u); }},
      {"map offset past the end", [](Bytes& b) { Put32(b, 4, UInt32(b.size())); }},
      {"data length past the end", [](Bytes& b) { Put32(b, 8, 0x7FFFFFFFu); }},
      {"map length too short", [](Bytes& b) { Put32(b, 12, 10); }},
      {"type list offset past the map", [&](Bytes& b) { Put16(b, map + 24, 0xFFF0); }},
      {"type count beyond the map", [&](Bytes& b) { Put16(b, typeList, 0x7000); }},
      {"reference count beyond the map", [&](Bytes& b) { Put16(b, typeList + 2 + 4, 0xFFFE); }},
      {"reference list offset past the map", [&](Bytes& b) { Put16(b, typeList + 2 + 6, 0xFFF0); }},
      {"name offset past the map", [&](Bytes& b) { Put16(b, firstRef + 2, 0x7FF0); }},
      {"data offset past the data", [&](Bytes& b) { b[firstRef + 5] = 0x7F; }},
      {"resource length past the data", [&](Bytes& b) { Put32(b, 256, 0x40000000u); }},
  };
  for (const Case& c : cases) {
    Bytes bad = good;
    c.damage(bad);
    OSErr err;
    auto back = Read(bad, &err);
    EXPECT_EQ(err, mapReadErr) << c.what;
    EXPECT_TRUE(back.empty()) << c.what;
  }
}

TEST(ResourceFork, ArbitraryDamageNeverReadsOutside) {
  // Flipping bytes anywhere gives either a clean refusal or resources that lie inside the fork.
  const Bytes good = Fork(Sample());
  for (std::size_t at = 0; at < good.size(); ++at) {
    for (unsigned char value : {0x00, 0x7F, 0xFF}) {
      Bytes bad = good;
      bad[at] = value;
      OSErr err;
      auto back = Read(bad, &err);
      std::size_t total = 0;
      for (auto& r : back) total += r.bytes.size() + r.name.size();
      EXPECT_LE(total, bad.size());
      if (err != noErr) {
        EXPECT_TRUE(back.empty());
      }
    }
  }
}

namespace {

// A fork whose types all point at one reference list, whose references all point at one
// resource's data: every count and offset lies inside the file, yet reading it would copy the
// data types x references times.
Bytes SharingFork(unsigned types, unsigned refs, std::size_t dataLength) {
  vlcore::ByteWriter data;
  data.U32(dataLength);
  data.Zeros(dataLength);
  vlcore::ByteWriter map;
  map.Zeros(24);
  map.U16(28);  // the type list right after the map's header
  map.U16(0);
  map.U16(types - 1);
  for (unsigned t = 0; t < types; ++t) {
    map.U32(FourCC("DATA") + t);
    map.U16(refs - 1);
    map.U16(2 + 8 * types);  // the one reference list, after the type list
  }
  for (unsigned r = 0; r < refs; ++r) {
    map.U16(r);
    map.U16(0xFFFF);
    map.U8(0);
    map.U24(0);  // the one resource's data
    map.U32(0);
  }
  vlcore::ByteWriter fork;
  fork.U32(16);
  fork.U32(16 + data.size());
  fork.U32(data.size());
  fork.U32(map.size());
  fork.Bytes(data.bytes().data(), data.size());
  fork.Bytes(map.bytes().data(), map.size());
  return fork.bytes();
}

}  // namespace

TEST(ResourceFork, SharedListsAndDataCannotMultiplyTheFile) {
  struct Case {
    unsigned types, refs;
    const char* reason;
  } cases[] = {
      {64, 64, "the types share their reference lists"},  // would copy 4096 x 64 KB
      {1, 4096, "the resources share their data"},        // would copy 4096 x 64 KB
  };
  for (const Case& c : cases) {
    vlcore::ClearRefusal();
    OSErr err;
    auto back = Read(SharingFork(c.types, c.refs, 65536), &err);
    EXPECT_EQ(err, mapReadErr) << c.reason;
    EXPECT_TRUE(back.empty());
    EXPECT_STREQ(vlcore::LastRefusal(), c.reason);
  }
  // Each resource its own list entry and its own data: read as it stands.
  OSErr err;
  EXPECT_EQ(Read(SharingFork(1, 1, 65536), &err).size(), 1u);
  EXPECT_EQ(err, noErr);
}

TEST(ResourceFork, AppleDoubleEntriesSharingTheirBytesAreRefused) {
  // 4096 entries that each name the whole 49 KB file: rewriting it would copy 200 MB.
  vlcore::ByteWriter file;
  const unsigned count = 4096;
  const std::size_t size = 26 + 12 * count;
  file.U32(0x00051607);
  file.U32(0x00020000);
  file.Zeros(16);
  file.U16(count);
  for (unsigned i = 0; i < count; ++i) {
    file.U32(9);  // a Finder-information entry
    file.U32(0);
    file.U32(size);
  }
  const Bytes& bytes = file.bytes();
  Bytes fork;
  vlcore::ClearRefusal();
  EXPECT_EQ(vlres::fork::ForkFromAppleDouble(bytes, &fork), mapReadErr);
  EXPECT_STREQ(vlcore::LastRefusal(), "AppleDouble entries share their bytes");
  // Rewritten, the damaged entries are dropped: the new file holds the fork and its header.
  const Bytes newFork = Fork(Sample());
  EXPECT_EQ(vlres::fork::AppleDoubleWithFork(bytes, newFork).size(), 26 + 12 + newFork.size());
}
