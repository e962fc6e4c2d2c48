// The binary form of 3DMF: four-byte type and size before every object's data,
// big-endian values, data padded to four bytes. Files written little-endian
// (magic 'FMD3') are read too.
#include <algorithm>
#include <utility>

#include "ByteReader.h"
#include "internal/Classes.h"
#include "internal/Metafile.h"
#include "internal/MetafileFormat.h"

namespace q3d {
namespace {

using namespace format;
using vlcore::ByteOrder;
using vlcore::ByteReader;

size_t Pad(size_t n) { return (n + kPadUnit - 1) & ~(kPadUnit - 1); }

std::string FourCCName(TQ3Uns32 type) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = char((type >> shift) & 0xFF);
    s += (c >= 32 && c < 127) ? c : '?';
  }
  return s;
}

constexpr const char* kReasonDataEnds = "an object's data ends before a value";

class BinaryReader final : public Reader {
 public:
  BinaryReader(std::vector<TQ3Uns8> bytes, bool swapped)
      : b_(std::move(bytes)), order_(swapped ? ByteOrder::kLittleEndian : ByteOrder::kBigEndian) {}

  bool IsText() const override { return false; }
  size_t Length() const override { return b_.size(); }

  TQ3Uns32 U32() override {
    return Take([](ByteReader& in) { return in.U32(); });
  }
  TQ3Int32 I32() override { return TQ3Int32(U32()); }
  TQ3Uns16 U16() override {
    return Take([](ByteReader& in) { return in.U16(); });
  }
  TQ3Int16 I16() override { return TQ3Int16(U16()); }
  TQ3Uns8 U8() override {
    return Take([](ByteReader& in) { return in.U8(); });
  }
  TQ3Int8 I8() override { return TQ3Int8(U8()); }
  float F32() override {
    return Take([](ByteReader& in) { return in.F32(); });
  }
  double F64() override {
    return Take([](ByteReader& in) { return in.F64(); });
  }
  std::string String() override {
    ByteReader in = Data();
    if (in.AtEnd()) FailRead(kQ3ErrorReadMoreThanSize, kReasonDataEnds);
    std::string s = in.CString();
    if (!in.ok()) FailRead(kQ3ErrorInvalidMetafilePrimitive, "a string has no terminating zero");
    in.Skip(std::min(Pad(s.size() + 1) - (s.size() + 1), in.remaining()));
    pos_ = in.pos();
    return s;
  }
  void Raw(TQ3Uns8* dst, size_t size) override {
    ByteReader in = Data();
    if (!in.Read(dst, size)) FailRead(kQ3ErrorReadMoreThanSize, kReasonDataEnds);
    in.Skip(std::min(Pad(size) - size, in.remaining()));
    pos_ = in.pos();
  }
  TQ3Uns32 Enum(const EnumName*) override { return U32(); }
  TQ3Uns32 Flags(const EnumName*) override { return U32(); }
  TQ3Boolean Boolean() override { return U32() ? kQ3True : kQ3False; }
  bool AtEndOfData() override {
    ByteReader in = Data();
    if (in.AtEnd()) return true;
    if (in.remaining() >= kPadUnit) return false;
    while (!in.AtEnd())
      if (in.U8()) return false;
    return true;  // only padding is left
  }
  std::string Word() override { FailRead(kQ3ErrorInvalidMetafilePrimitive, "a binary file has no words"); }
  size_t LabelPosition(const std::string&) const override { return std::string::npos; }
  std::string Slice(size_t begin, size_t end) const override {
    return std::string(reinterpret_cast<const char*>(b_.data() + begin), end - begin);
  }
  void CheckCount(TQ3Uns64 count, TQ3Uns32 binaryBytes, TQ3Uns32) override {
    if (!Data().Fits(count, binaryBytes))
      FailRead(kQ3ErrorInvalidMetafile, "a count asks for more items than the object's data holds");
  }
  void Floats(float* dst, size_t count) override {
    if (count > (size_t(1) << 60)) FailRead(kQ3ErrorInvalidMetafile, "a count is out of range");
    ByteReader in = Data();
    if (!in.Fits(count, 4)) FailRead(kQ3ErrorReadMoreThanSize, kReasonDataEnds);
    for (size_t i = 0; i < count; ++i) dst[i] = in.F32();
    pos_ = in.pos();
  }
  void Indices(TQ3Uns32* dst, size_t count, unsigned width) override {
    if (count > (size_t(1) << 60)) FailRead(kQ3ErrorInvalidMetafile, "a count is out of range");
    ByteReader in = Data();
    if (!in.Fits(count, width)) FailRead(kQ3ErrorReadMoreThanSize, kReasonDataEnds);
    for (size_t i = 0; i < count; ++i) {
      // All ones means none, whatever the width.
      if (width == 1) {
        TQ3Uns8 v = in.U8();
        dst[i] = v == 0xFF ? 0xFFFFFFFFu : v;
      } else if (width == 2) {
        TQ3Uns16 v = in.U16();
        dst[i] = v == 0xFFFF ? 0xFFFFFFFFu : v;
      } else {
        dst[i] = in.U32();
      }
    }
    pos_ = in.pos();
  }

  bool ParseEntry(size_t pos, size_t limit, Entry& e) override {
    if (pos >= limit) return false;
    ByteReader in = Within(pos, limit);
    if (in.remaining() < kEntryHeadSize) {
      while (!in.AtEnd())
        if (in.U8()) FailRead(kQ3ErrorInvalidMetafile, "bytes after the last object are not padding");
      return false;
    }
    TQ3Uns32 type = in.U32(), size = in.U32();
    if (size > in.remaining()) FailRead(kQ3ErrorInvalidMetafile, "an object's size runs past its container");
    e = Entry{};
    e.begin = pos;
    e.end = pos + kEntryHeadSize + size;
    e.dataBegin = pos + kEntryHeadSize;
    e.dataEnd = e.end;
    e.fileType = TQ3ObjectType(type);
    switch (type) {
      case kContainer:
      case kBeginGroup: {
        Entry root;
        if (!ParseEntry(e.dataBegin, e.end, root) || root.kind != Entry::kObject || root.container)
          FailRead(kQ3ErrorInvalidMetafile, "a container or group does not start with its object");
        e.kind = type == kContainer ? Entry::kObject : Entry::kBeginGroup;
        e.container = true;
        e.cls = root.cls;
        e.fileType = root.fileType;
        e.name = root.name;
        e.dataBegin = root.dataBegin;
        e.dataEnd = root.dataEnd;
        e.subBegin = root.end;
        e.subEnd = e.end;
        return true;
      }
      case kEndGroup:
        e.kind = Entry::kEndGroup;
        return true;
      case kReference:
        e.kind = Entry::kReference;
        return true;
      case kTableOfContents:
        e.kind = Entry::kTableOfContents;
        return true;
      case kTypeDeclaration:
        e.kind = Entry::kTypeDeclaration;
        return true;
      case kMagic:
        e.kind = Entry::kHeader;
        return true;
      default:
        e.kind = Entry::kObject;
        e.cls = resolveType ? resolveType(TQ3ObjectType(type), e.name) : nullptr;
        if (e.name.empty()) e.name = e.cls ? e.cls->name : FourCCName(type);
        return true;
    }
  }

  size_t ParseHeader(TQ3Uns32& major, TQ3Uns32& minor, TQ3Uns32& flags, TQ3Uns32& tocLocation,
                     std::string&) override {
    ByteReader in = Within(0, b_.size());
    if (b_.size() < kHeaderSize || in.U32() != kMagic)
      FailRead(kQ3ErrorInvalidMetafile, "the file does not start with a 3DMF header");
    TQ3Uns32 size = in.U32();
    if (size < kHeaderRestSize || size > b_.size() - kEntryHeadSize)
      FailRead(kQ3ErrorInvalidMetafile, "the header's size is out of range");
    major = in.U16();
    minor = in.U16();
    flags = in.U32();
    std::uint64_t toc = in.U64();
    tocLocation = toc >> 32 == 0 ? TQ3Uns32(toc) : 0xFFFFFFFFu;  // checked where the table is read
    return kEntryHeadSize + size;
  }

 private:
  // The bytes from pos to limit.
  ByteReader Within(size_t pos, size_t limit) const {
    ByteReader in(b_.data(), std::min(limit, b_.size()), order_);
    in.Seek(pos);
    return in;
  }
  // The rest of the current data range.
  ByteReader Data() const { return Within(pos_, end_); }
  // One value of the current data range.
  template <class Read>
  auto Take(Read read) -> decltype(read(std::declval<ByteReader&>())) {
    ByteReader in = Data();
    auto v = read(in);
    if (!in.ok()) FailRead(kQ3ErrorReadMoreThanSize, kReasonDataEnds);
    pos_ = in.pos();
    return v;
  }

  std::vector<TQ3Uns8> b_;
  ByteOrder order_;
};

class BinaryWriter final : public Writer {
 public:
  explicit BinaryWriter(bool stream) : stream_(stream) {}

  bool IsText() const override { return false; }

  size_t BeginObject(TQ3ObjectType type, std::string_view) override {
    ++objects_;
    return Open(TQ3Uns32(type));
  }
  void EndObject() override {
    --objects_;
    Close();
  }
  size_t BeginContainer() override { return Open(kContainer); }
  void EndContainer() override { Close(); }
  size_t BeginGroup() override { return Open(kBeginGroup); }
  void EndGroupHead() override { Close(); }
  void EndGroup() override {
    Open(kEndGroup);
    Close();
  }
  void Reference(TQ3Uns32 refID) override {
    Open(kReference);
    out_.U32(refID);
    Close();
  }
  size_t ObjectDataSize() const override { return open_.empty() ? 0 : out_.size() - open_.back() - kEntryHeadSize; }
  int OpenObjects() const override { return objects_; }

  void U32(TQ3Uns32 v) override { out_.U32(v); }
  void I32(TQ3Int32 v) override { out_.U32(TQ3Uns32(v)); }
  void U16(TQ3Uns16 v) override { out_.U16(v); }
  void I16(TQ3Int16 v) override { out_.U16(TQ3Uns16(v)); }
  void U8(TQ3Uns8 v) override { out_.U8(v); }
  void I8(TQ3Int8 v) override { out_.U8(TQ3Uns8(v)); }
  void F32(float v) override { out_.F32(v); }
  void F64(double v) override { out_.F64(v); }
  void String(std::string_view s) override {
    out_.Bytes(s.data(), s.size());
    out_.U8(0);
    out_.Zeros(Pad(s.size() + 1) - (s.size() + 1));
  }
  void Raw(const TQ3Uns8* data, size_t size) override {
    out_.Bytes(data, size);
    out_.Zeros(Pad(size) - size);
  }
  void Enum(TQ3Uns32 value, const EnumName*) override { out_.U32(value); }
  void Flags(TQ3Uns32 value, const EnumName*) override { out_.U32(value); }
  void Boolean(bool value) override { out_.U32(value ? 1 : 0); }
  void Comment(std::string_view) override {}
  void NewLine() override {}
  void Verbatim(std::string_view) override {}
  void Floats(const float* v, size_t count) override {
    for (size_t i = 0; i < count; ++i) out_.F32(v[i]);
  }
  void Indices(const TQ3Uns32* v, size_t count, unsigned width) override {
    for (size_t i = 0; i < count; ++i) {
      TQ3Uns32 x = v[i];
      if (width == 1) {
        out_.U8(x == 0xFFFFFFFFu ? 0xFF : x);
      } else if (width == 2) {
        out_.U16(x == 0xFFFFFFFFu ? 0xFFFF : x);
      } else {
        out_.U32(x);
      }
    }
  }

  TQ3ObjectType TypeCode(const ClassInfo* cls) override {
    return cls->custom ? TypeCodeForName(0, cls->name) : cls->type;
  }
  TQ3ObjectType TypeCodeForName(TQ3ObjectType fileType, std::string_view name) override {
    if (fileType > 0) return fileType;
    auto it = declared_.find(std::string(name));
    if (it != declared_.end()) return it->second;
    TQ3ObjectType code = -TQ3ObjectType(declarations_.size() + 1);
    declared_[std::string(name)] = code;
    declarations_.emplace_back(code, std::string(name));
    return code;
  }

  std::vector<TQ3Uns8> Finish(const std::vector<TocItem>& toc) override {
    // Whatever was cut short by a failure is closed so the file stays well formed.
    while (!open_.empty()) Close();
    BinaryWriter head(stream_);
    for (const auto& [code, name] : declarations_) {
      head.Open(kTypeDeclaration);
      head.U32(TQ3Uns32(code));
      head.String(name);
      head.Close();
    }
    size_t bodyStart = kHeaderSize + head.out_.size();
    vlcore::ByteWriter file;
    file.U32(kMagic);
    file.U32(kHeaderRestSize);
    file.U16(kMajorVersion);
    file.U16(kMinorVersion);
    file.U32(stream_ ? TQ3Uns32(kQ3FileModeStream) : 0);
    file.U64(toc.empty() ? 0 : TQ3Uns32(bodyStart + out_.size()));
    file.Bytes(head.out_.bytes().data(), head.out_.size());
    file.Bytes(out_.bytes().data(), out_.size());
    if (!toc.empty()) {
      BinaryWriter t(stream_);
      t.Open(kTableOfContents);
      t.U32(0);  // the next table: none
      t.U32(0);
      TQ3Uns32 seed = 1;
      for (const TocItem& item : toc) seed = std::max(seed, item.refID + 1);
      t.U32(seed);
      t.U32(TQ3Uns32(-TQ3Int32(declarations_.size() + 1)));
      t.U32(kTocEntryType);
      t.U32(kTocEntrySize);
      t.U32(TQ3Uns32(toc.size()));
      for (const TocItem& item : toc) {
        t.U32(item.refID);
        t.U32(0);
        t.U32(TQ3Uns32(bodyStart + item.position));
        t.U32(TQ3Uns32(item.fileType));
      }
      t.Close();
      file.Bytes(t.out_.bytes().data(), t.out_.size());
    }
    return std::move(file.bytes());
  }

 private:
  size_t Open(TQ3Uns32 type) {
    size_t pos = out_.size();
    out_.U32(type);
    out_.U32(0);  // the size, set when the entry closes
    open_.push_back(pos);
    return pos;
  }
  void Close() {
    out_.Align(kPadUnit);
    size_t pos = open_.back();
    open_.pop_back();
    out_.Put32At(pos + 4, TQ3Uns32(out_.size() - pos - kEntryHeadSize));
  }

  vlcore::ByteWriter out_;
  std::vector<size_t> open_;
  int objects_ = 0;
  bool stream_;
  std::vector<std::pair<TQ3ObjectType, std::string>> declarations_;
  std::unordered_map<std::string, TQ3ObjectType> declared_;
};

}  // namespace

std::unique_ptr<Reader> NewBinaryReader(std::vector<TQ3Uns8> bytes, bool swapped) {
  return std::make_unique<BinaryReader>(std::move(bytes), swapped);
}

std::unique_ptr<Writer> NewBinaryWriter(bool stream) { return std::make_unique<BinaryWriter>(stream); }

}  // namespace q3d
