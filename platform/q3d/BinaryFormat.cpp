// The binary form of 3DMF: four-byte type and size before every object's data,
// big-endian values, data padded to four bytes. Files written little-endian
// (magic 'FMD3') are read too.
#include <algorithm>

#include "internal/Classes.h"
#include "internal/Metafile.h"

namespace q3d {
namespace {

constexpr TQ3Uns32 Code(const char (&s)[5]) { return TQ3Uns32(Q3FourCC(s)); }
constexpr TQ3Uns32 kContainer = Code("cntr");
constexpr TQ3Uns32 kBeginGroup = Code("bgng");
constexpr TQ3Uns32 kEndGroup = Code("endg");
constexpr TQ3Uns32 kReference = Code("rfrn");
constexpr TQ3Uns32 kTableOfContents = Code("toc ");
constexpr TQ3Uns32 kTypeDecl = Code("type");
constexpr TQ3Uns32 kMagic = Code("3DMF");

size_t Pad(size_t n) { return (n + 3) & ~size_t(3); }

std::string FourCCName(TQ3Uns32 type) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = char((type >> shift) & 0xFF);
    s += (c >= 32 && c < 127) ? c : '?';
  }
  return s;
}

class BinaryReader final : public Reader {
 public:
  BinaryReader(std::vector<TQ3Uns8> bytes, bool swapped) : b_(std::move(bytes)), swap_(swapped) {}

  bool IsText() const override { return false; }
  size_t Length() const override { return b_.size(); }

  TQ3Uns32 At32(size_t p) const {
    const TQ3Uns8* q = b_.data() + p;
    if (swap_) return TQ3Uns32(q[0]) | (TQ3Uns32(q[1]) << 8) | (TQ3Uns32(q[2]) << 16) | (TQ3Uns32(q[3]) << 24);
    return (TQ3Uns32(q[0]) << 24) | (TQ3Uns32(q[1]) << 16) | (TQ3Uns32(q[2]) << 8) | TQ3Uns32(q[3]);
  }
  TQ3Uns16 At16(size_t p) const {
    const TQ3Uns8* q = b_.data() + p;
    return swap_ ? TQ3Uns16(q[0] | (q[1] << 8)) : TQ3Uns16((q[0] << 8) | q[1]);
  }

  void Need(size_t n) {
    if (pos_ > end_ || end_ - pos_ < n) FailRead(kQ3ErrorReadMoreThanSize);
  }

  TQ3Uns32 U32() override {
    Need(4);
    TQ3Uns32 v = At32(pos_);
    pos_ += 4;
    return v;
  }
  TQ3Int32 I32() override { return TQ3Int32(U32()); }
  TQ3Uns16 U16() override {
    Need(2);
    TQ3Uns16 v = At16(pos_);
    pos_ += 2;
    return v;
  }
  TQ3Int16 I16() override { return TQ3Int16(U16()); }
  TQ3Uns8 U8() override {
    Need(1);
    return b_[pos_++];
  }
  TQ3Int8 I8() override { return TQ3Int8(U8()); }
  float F32() override {
    TQ3Uns32 bits = U32();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
  double F64() override {
    TQ3Uns32 first = U32(), second = U32();
    std::uint64_t bits = swap_ ? (std::uint64_t(second) << 32) | first : (std::uint64_t(first) << 32) | second;
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
  }
  std::string String() override {
    Need(1);
    const void* nul = std::memchr(b_.data() + pos_, 0, end_ - pos_);
    if (!nul) FailRead(kQ3ErrorInvalidMetafilePrimitive);
    size_t len = size_t(static_cast<const TQ3Uns8*>(nul) - (b_.data() + pos_));
    std::string s(reinterpret_cast<const char*>(b_.data() + pos_), len);
    pos_ = std::min(end_, pos_ + Pad(len + 1));
    return s;
  }
  void Raw(TQ3Uns8* dst, size_t size) override {
    Need(size);
    if (size) std::memcpy(dst, b_.data() + pos_, size);
    pos_ = std::min(end_, pos_ + Pad(size));
  }
  TQ3Uns32 Enum(const EnumName*) override { return U32(); }
  TQ3Uns32 Flags(const EnumName*) override { return U32(); }
  TQ3Boolean Boolean() override { return U32() ? kQ3True : kQ3False; }
  bool AtEndOfData() override {
    if (pos_ >= end_) return true;
    if (end_ - pos_ >= 4) return false;
    for (size_t p = pos_; p < end_; ++p)
      if (b_[p]) return false;
    return true;  // only padding is left
  }
  std::string Word() override { FailRead(kQ3ErrorInvalidMetafilePrimitive); }
  size_t LabelPosition(const std::string&) const override { return std::string::npos; }
  std::string Slice(size_t begin, size_t end) const override {
    return std::string(reinterpret_cast<const char*>(b_.data() + begin), end - begin);
  }
  void CheckCount(TQ3Uns64 count, TQ3Uns32 binaryBytes, TQ3Uns32) override {
    size_t left = pos_ < end_ ? end_ - pos_ : 0;
    if (binaryBytes && count > left / binaryBytes) FailRead(kQ3ErrorInvalidMetafile);
  }
  void Floats(float* dst, size_t count) override {
    if (count > (size_t(1) << 60)) FailRead(kQ3ErrorInvalidMetafile);
    Need(count * 4);
    const TQ3Uns8* q = b_.data() + pos_;
    for (size_t i = 0; i < count; ++i, q += 4) {
      TQ3Uns32 bits = swap_ ? TQ3Uns32(q[0]) | (TQ3Uns32(q[1]) << 8) | (TQ3Uns32(q[2]) << 16) | (TQ3Uns32(q[3]) << 24)
                            : (TQ3Uns32(q[0]) << 24) | (TQ3Uns32(q[1]) << 16) | (TQ3Uns32(q[2]) << 8) | TQ3Uns32(q[3]);
      std::memcpy(dst + i, &bits, 4);
    }
    pos_ += count * 4;
  }
  void Indices(TQ3Uns32* dst, size_t count, unsigned width) override {
    if (count > (size_t(1) << 60)) FailRead(kQ3ErrorInvalidMetafile);
    Need(count * width);
    for (size_t i = 0; i < count; ++i) {
      TQ3Uns32 v;
      if (width == 1)
        v = b_[pos_] == 0xFF ? 0xFFFFFFFFu : b_[pos_];
      else if (width == 2)
        v = At16(pos_) == 0xFFFF ? 0xFFFFFFFFu : At16(pos_);
      else
        v = At32(pos_);
      dst[i] = v;
      pos_ += width;
    }
  }

  bool ParseEntry(size_t pos, size_t limit, Entry& e) override {
    if (pos >= limit) return false;
    if (limit - pos < 8) {
      for (size_t p = pos; p < limit; ++p)
        if (b_[p]) FailRead(kQ3ErrorInvalidMetafile);
      return false;
    }
    TQ3Uns32 type = At32(pos), size = At32(pos + 4);
    if (size > limit - pos - 8) FailRead(kQ3ErrorInvalidMetafile);
    e = Entry{};
    e.begin = pos;
    e.end = pos + 8 + size;
    e.dataBegin = pos + 8;
    e.dataEnd = e.end;
    e.fileType = TQ3ObjectType(type);
    switch (type) {
      case kContainer:
      case kBeginGroup: {
        Entry root;
        if (!ParseEntry(e.dataBegin, e.end, root) || root.kind != Entry::kObject || root.container)
          FailRead(kQ3ErrorInvalidMetafile);
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
      case kTypeDecl:
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
    if (b_.size() < 24 || At32(0) != kMagic) FailRead(kQ3ErrorInvalidMetafile);
    TQ3Uns32 size = At32(4);
    if (size < 16 || size > b_.size() - 8) FailRead(kQ3ErrorInvalidMetafile);
    major = At16(8);
    minor = At16(10);
    flags = At32(12);
    TQ3Uns32 hi = swap_ ? At32(20) : At32(16), lo = swap_ ? At32(16) : At32(20);
    tocLocation = hi == 0 ? lo : 0xFFFFFFFFu;  // checked where the table is read
    return 8 + size;
  }

 private:
  std::vector<TQ3Uns8> b_;
  bool swap_;
};

class BinaryWriter final : public Writer {
 public:
  explicit BinaryWriter(bool stream) : stream_(stream) {}

  bool IsText() const override { return false; }

  size_t BeginObject(TQ3ObjectType type, std::string_view) override {
    size_t pos = out_.size();
    Put32(TQ3Uns32(type));
    Put32(0);
    open_.push_back(pos);
    ++objects_;
    return pos;
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
    Put32(refID);
    Close();
  }
  size_t ObjectDataSize() const override { return open_.empty() ? 0 : out_.size() - open_.back() - 8; }
  int OpenObjects() const override { return objects_; }

  void U32(TQ3Uns32 v) override { Put32(v); }
  void I32(TQ3Int32 v) override { Put32(TQ3Uns32(v)); }
  void U16(TQ3Uns16 v) override {
    out_.push_back(TQ3Uns8(v >> 8));
    out_.push_back(TQ3Uns8(v));
  }
  void I16(TQ3Int16 v) override { U16(TQ3Uns16(v)); }
  void U8(TQ3Uns8 v) override { out_.push_back(v); }
  void I8(TQ3Int8 v) override { out_.push_back(TQ3Uns8(v)); }
  void F32(float v) override {
    TQ3Uns32 bits;
    std::memcpy(&bits, &v, 4);
    Put32(bits);
  }
  void F64(double v) override {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    Put32(TQ3Uns32(bits >> 32));
    Put32(TQ3Uns32(bits));
  }
  void String(std::string_view s) override {
    out_.insert(out_.end(), s.begin(), s.end());
    out_.push_back(0);
    out_.resize(out_.size() + Pad(s.size() + 1) - (s.size() + 1), 0);
  }
  void Raw(const TQ3Uns8* data, size_t size) override {
    out_.insert(out_.end(), data, data + size);
    out_.resize(out_.size() + Pad(size) - size, 0);
  }
  void Enum(TQ3Uns32 value, const EnumName*) override { Put32(value); }
  void Flags(TQ3Uns32 value, const EnumName*) override { Put32(value); }
  void Boolean(bool value) override { Put32(value ? 1 : 0); }
  void Comment(std::string_view) override {}
  void NewLine() override {}
  void Verbatim(std::string_view) override {}
  void Floats(const float* v, size_t count) override {
    size_t at = out_.size();
    out_.resize(at + count * 4);
    TQ3Uns8* q = out_.data() + at;
    for (size_t i = 0; i < count; ++i, q += 4) {
      TQ3Uns32 bits;
      std::memcpy(&bits, v + i, 4);
      q[0] = TQ3Uns8(bits >> 24);
      q[1] = TQ3Uns8(bits >> 16);
      q[2] = TQ3Uns8(bits >> 8);
      q[3] = TQ3Uns8(bits);
    }
  }
  void Indices(const TQ3Uns32* v, size_t count, unsigned width) override {
    for (size_t i = 0; i < count; ++i) {
      TQ3Uns32 x = v[i];
      if (width == 1) {
        out_.push_back(TQ3Uns8(x == 0xFFFFFFFFu ? 0xFF : x));
      } else if (width == 2) {
        U16(TQ3Uns16(x == 0xFFFFFFFFu ? 0xFFFF : x));
      } else {
        Put32(x);
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
      head.Open(kTypeDecl);
      head.Put32(TQ3Uns32(code));
      head.String(name);
      head.Close();
    }
    size_t bodyStart = 24 + head.out_.size();
    std::vector<TQ3Uns8> file;
    BinaryWriter header(stream_);
    header.Put32(kMagic);
    header.Put32(16);
    header.U16(1);
    header.U16(6);
    header.Put32(stream_ ? TQ3Uns32(kQ3FileModeStream) : 0);
    header.Put32(0);
    header.Put32(toc.empty() ? 0 : TQ3Uns32(bodyStart + out_.size()));
    file = std::move(header.out_);
    file.insert(file.end(), head.out_.begin(), head.out_.end());
    file.insert(file.end(), out_.begin(), out_.end());
    if (!toc.empty()) {
      BinaryWriter t(stream_);
      t.Open(kTableOfContents);
      t.Put32(0);
      t.Put32(0);
      TQ3Uns32 seed = 1;
      for (const TocItem& item : toc) seed = std::max(seed, item.refID + 1);
      t.Put32(seed);
      t.Put32(TQ3Uns32(-TQ3Int32(declarations_.size() + 1)));
      t.Put32(1);
      t.Put32(16);
      t.Put32(TQ3Uns32(toc.size()));
      for (const TocItem& item : toc) {
        t.Put32(item.refID);
        t.Put32(0);
        t.Put32(TQ3Uns32(bodyStart + item.position));
        t.Put32(TQ3Uns32(item.fileType));
      }
      t.Close();
      file.insert(file.end(), t.out_.begin(), t.out_.end());
    }
    return file;
  }

 private:
  void Put32(TQ3Uns32 v) {
    out_.push_back(TQ3Uns8(v >> 24));
    out_.push_back(TQ3Uns8(v >> 16));
    out_.push_back(TQ3Uns8(v >> 8));
    out_.push_back(TQ3Uns8(v));
  }
  size_t Open(TQ3Uns32 type) {
    size_t pos = out_.size();
    Put32(type);
    Put32(0);
    open_.push_back(pos);
    return pos;
  }
  void Close() {
    out_.resize(Pad(out_.size()), 0);
    size_t pos = open_.back();
    open_.pop_back();
    TQ3Uns32 size = TQ3Uns32(out_.size() - pos - 8);
    TQ3Uns8 b[4] = {TQ3Uns8(size >> 24), TQ3Uns8(size >> 16), TQ3Uns8(size >> 8), TQ3Uns8(size)};
    std::memcpy(out_.data() + pos + 4, b, 4);
  }

  std::vector<TQ3Uns8> out_;
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
