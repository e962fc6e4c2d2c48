#include "ForkFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "ByteReader.h"
#include "Resources.h"

namespace vlres::fork {

namespace {

constexpr UInt32 kAppleDoubleMagic = 0x00051607;
constexpr UInt32 kAppleDoubleVersion = 0x00020000;
constexpr UInt32 kResourceForkEntry = 2;
constexpr std::size_t kAppleDoubleHeaderSize = 26;
constexpr std::size_t kEntrySize = 12;

struct Entry {
  UInt32 id;
  UInt32 offset;
  UInt32 length;
};

// The entries of an AppleDouble file, each checked to lie inside it; false when damaged.
bool ReadEntries(const std::vector<unsigned char>& file, std::vector<Entry>* entries) {
  ByteReader in(file.data(), file.size());
  if (in.U32() != kAppleDoubleMagic || !in.ok()) return false;
  in.Skip(4 + 16);  // version, filler
  const std::size_t count = in.U16();
  if (!in.ok() || count * kEntrySize > in.remaining()) return false;
  for (std::size_t i = 0; i < count; ++i) {
    Entry e{in.U32(), in.U32(), in.U32()};
    if (std::uint64_t(e.offset) + e.length > file.size()) return false;
    entries->push_back(e);
  }
  return in.ok();
}

}  // namespace

bool LooksLikeFork(const unsigned char* head, std::size_t headSize, std::uint64_t size) {
  ByteReader in(head, headSize);
  const std::uint64_t dataOffset = in.U32(), mapOffset = in.U32();
  const std::uint64_t dataLength = in.U32(), mapLength = in.U32();
  return in.ok() && dataOffset >= 16 && mapOffset >= 16 && dataOffset + dataLength <= size &&
         mapOffset + mapLength <= size && mapLength >= 28;
}

OSErr ForkFromAppleDouble(const std::vector<unsigned char>& file, std::vector<unsigned char>* fork) {
  std::vector<Entry> entries;
  if (!ReadEntries(file, &entries)) return mapReadErr;
  for (const Entry& e : entries) {
    if (e.id != kResourceForkEntry) continue;
    if (e.length == 0) return eofErr;
    fork->assign(file.begin() + e.offset, file.begin() + e.offset + e.length);
    return noErr;
  }
  return eofErr;
}

std::vector<unsigned char> AppleDoubleWithFork(const std::vector<unsigned char>& previous,
                                               const std::vector<unsigned char>& fork) {
  std::vector<Entry> kept;
  std::vector<Entry> old;
  if (ReadEntries(previous, &old))
    for (const Entry& e : old)
      if (e.id != kResourceForkEntry) kept.push_back(e);

  ByteWriter out;
  out.U32(kAppleDoubleMagic);
  out.U32(kAppleDoubleVersion);
  for (int i = 0; i < 16; ++i) out.U8(0);
  out.U16(unsigned(kept.size() + 1));
  std::size_t offset = kAppleDoubleHeaderSize + (kept.size() + 1) * kEntrySize;
  for (const Entry& e : kept) {
    out.U32(e.id);
    out.U32(offset);
    out.U32(e.length);
    offset += e.length;
  }
  out.U32(kResourceForkEntry);
  out.U32(offset);
  out.U32(fork.size());
  for (const Entry& e : kept) out.Bytes(previous.data() + e.offset, e.length);
  out.Bytes(fork.data(), fork.size());
  return std::move(out.bytes());
}

OSErr ReadFile(const std::string& path, std::size_t limit, std::vector<unsigned char>* out) {
  out->clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return errno == ENOENT || errno == ENOTDIR ? fnfErr : ioErr;
  struct stat st {};
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(f);
    return fnfErr;
  }
  if (std::uint64_t(st.st_size) > limit) {
    std::fclose(f);
    return memFullErr;
  }
  out->resize(std::size_t(st.st_size));
  std::size_t got = out->empty() ? 0 : std::fread(out->data(), 1, out->size(), f);
  bool failed = got != out->size() || std::ferror(f);
  std::fclose(f);
  if (failed) {
    out->clear();
    return ioErr;
  }
  return noErr;
}

}  // namespace vlres::fork
