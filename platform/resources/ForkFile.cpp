#include "ForkFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "ByteReader.h"
#include "Refusal.h"
#include "ResourceForkFormat.h"
#include "Resources.h"

namespace vlres::fork {

using namespace format;
using vlcore::ByteReader;

namespace {

struct Entry {
  UInt32 id;
  UInt32 offset;
  UInt32 length;
};

// The entries of an AppleDouble file, each checked to lie inside it; false (with the reason
// noted) when damaged. Rewriting copies every entry, so entries that would together copy more
// than the file holds (several naming the same bytes) are damage too.
bool ReadEntries(const std::vector<unsigned char>& file, std::vector<Entry>* entries) {
  ByteReader in(file.data(), file.size());
  if (in.U32() != kAppleDoubleMagic) return vlcore::Refuse(false, "the file is not an AppleDouble file");
  in.Skip(4 + kAppleDoubleFillerSize);  // version, filler
  const std::size_t count = in.U16();
  if (!in.Fits(count, kAppleDoubleEntrySize))
    return vlcore::Refuse(false, "the AppleDouble entry list runs past the end of the file");
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < count; ++i) {
    Entry e{in.U32(), in.U32(), in.U32()};
    if (std::uint64_t(e.offset) + e.length > file.size())
      return vlcore::Refuse(false, "an AppleDouble entry runs past the end of the file");
    total += e.length;
    if (total > file.size()) return vlcore::Refuse(false, "AppleDouble entries share their bytes");
    entries->push_back(e);
  }
  return in.ok();
}

}  // namespace

bool LooksLikeFork(const unsigned char* head, std::size_t headSize, std::uint64_t size) {
  ByteReader in(head, headSize);
  const std::uint64_t dataOffset = in.U32(), mapOffset = in.U32();
  const std::uint64_t dataLength = in.U32(), mapLength = in.U32();
  return in.ok() && dataOffset >= kForkHeaderSize && mapOffset >= kForkHeaderSize && dataOffset + dataLength <= size &&
         mapOffset + mapLength <= size && mapLength >= kMapHeaderSize;
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
  if (!previous.empty() && ReadEntries(previous, &old))
    for (const Entry& e : old)
      if (e.id != kResourceForkEntry) kept.push_back(e);

  vlcore::ByteWriter out;
  out.U32(kAppleDoubleMagic);
  out.U32(kAppleDoubleVersion);
  out.Zeros(kAppleDoubleFillerSize);
  out.U16(unsigned(kept.size() + 1));
  std::size_t offset = kAppleDoubleHeaderSize + (kept.size() + 1) * kAppleDoubleEntrySize;
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
