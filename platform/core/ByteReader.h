// Bounded reading and writing of binary data, big-endian or little-endian. Every reader of binary
// input reads through ByteReader, so that no caller counts bytes by hand.
//
// A reader never reads past its end: once a read would, it fails and stays failed, every later
// read gives zero (or an empty string), and it keeps the reason of its first failure, a short
// sentence a refusing reader passes on (see Refusal.h). Before allocating room for items a count
// in the data asks for, a reader asks Fits(count, itemSize): a count the bytes left cannot hold
// fails the reader instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "MacTypes.h"

namespace vlcore {

enum class ByteOrder { kBigEndian, kLittleEndian };

// The reasons the reader gives for its own failures.
inline constexpr const char* kReasonDataEnds = "the data ends in the middle of a value";
inline constexpr const char* kReasonSeekOutside = "an offset points outside the data";
inline constexpr const char* kReasonCountTooLarge = "a count asks for more items than the data holds";
inline constexpr const char* kReasonNoTerminator = "a string has no terminating zero";
inline constexpr const char* kReasonDamaged = "the data is damaged";

class ByteReader {
 public:
  ByteReader() = default;
  ByteReader(const void* data, std::size_t size, ByteOrder order = ByteOrder::kBigEndian)
      : data_(static_cast<const unsigned char*>(data)), size_(data ? size : 0), order_(order) {}

  bool ok() const { return failure_ == nullptr; }
  // The reason of the first failure; null while the reader is ok.
  const char* failure() const { return failure_; }
  ByteOrder order() const { return order_; }
  void SetOrder(ByteOrder order) { order_ = order; }
  std::size_t pos() const { return pos_; }
  std::size_t size() const { return size_; }
  std::size_t remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ >= size_; }

  // Fails the reader with a reason of the format's own (the first reason is kept); answers false.
  bool Fail(const char* reason) {
    if (!failure_) failure_ = reason ? reason : kReasonDamaged;
    pos_ = size_;
    return false;
  }
  // Fails with the reason unless the condition holds; answers the condition.
  bool Require(bool condition, const char* reason) { return condition || Fail(reason); }
  // True when count items of itemSize bytes each fit in what is left (a zero size fits any
  // count); otherwise fails. Asked before allocating for a count read from the data.
  bool Fits(std::uint64_t count, std::uint64_t itemSize, const char* reason = kReasonCountTooLarge) {
    if (!ok()) return false;
    return itemSize == 0 || count <= remaining() / itemSize || Fail(reason);
  }

  bool Seek(std::size_t pos) { return ok() && pos <= size_ ? (pos_ = pos, true) : Fail(kReasonSeekOutside); }
  bool Skip(std::size_t n) { return Need(n) ? (pos_ += n, true) : false; }
  // Skips padding up to a multiple of unit from the start; missing padding at the very end is
  // no failure.
  void Align(std::size_t unit) {
    std::size_t pad = (unit - pos_ % unit) % unit;
    pos_ = pad <= remaining() ? pos_ + pad : size_;
  }
  void AlignEven() { Align(2); }

  UInt8 U8() { return Need(1) ? data_[pos_++] : 0; }
  SInt8 S8() { return SInt8(U8()); }
  UInt16 U16() { return UInt16(Unsigned(2)); }
  SInt16 S16() { return SInt16(U16()); }
  UInt32 U24() { return UInt32(Unsigned(3)); }
  UInt32 U32() { return UInt32(Unsigned(4)); }
  SInt32 S32() { return SInt32(U32()); }
  std::uint64_t U64() { return Unsigned(8); }
  std::int64_t S64() { return std::int64_t(U64()); }
  float F32() {
    const UInt32 bits = U32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  double F64() {
    const std::uint64_t bits = U64();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  Point ReadPoint() {
    Point p;
    p.v = S16();
    p.h = S16();
    return p;
  }
  Rect ReadRect() {
    Rect r;
    r.top = S16();
    r.left = S16();
    r.bottom = S16();
    r.right = S16();
    return r;
  }
  // A length-prefixed string; fails when its characters run past the end.
  std::string PString() {
    const std::size_t n = U8();
    const unsigned char* p = Take(n);
    return p ? std::string(reinterpret_cast<const char*>(p), n) : std::string();
  }
  // The characters up to the next zero byte, the reader moving past the zero; fails when there is
  // no zero before the end.
  std::string CString() {
    const void* zero = ok() && remaining() > 0 ? std::memchr(data_ + pos_, 0, remaining()) : nullptr;
    if (!zero) return Fail(kReasonNoTerminator), std::string();
    const std::size_t n = std::size_t(static_cast<const unsigned char*>(zero) - (data_ + pos_));
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n + 1;
    return s;
  }
  // The next n bytes in place, the reader moving past them; null when they are not all there.
  const unsigned char* Take(std::size_t n) {
    static constexpr unsigned char kNothing = 0;
    if (!Need(n)) return nullptr;
    if (!data_) return &kNothing;  // no bytes, and none asked for
    const unsigned char* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  // Copies the next n bytes; zeros when they are not all there.
  bool Read(void* dst, std::size_t n) {
    if (n == 0) return ok();
    const unsigned char* p = Take(n);
    if (p)
      std::memcpy(dst, p, n);
    else
      std::memset(dst, 0, n);
    return p != nullptr;
  }
  // A reader of the same order over the next n bytes; this one moves past them. An empty,
  // failed reader when they are not all there.
  ByteReader Sub(std::size_t n) {
    const unsigned char* p = Take(n);
    ByteReader sub(p, p ? n : 0, order_);
    if (!p) sub.Fail(failure_);
    return sub;
  }
  // A reader over the bytes from pos to the end, this one untouched.
  ByteReader From(std::size_t pos) const {
    ByteReader r(*this);
    r.failure_ = nullptr;
    r.Seek(pos);
    return r;
  }

 private:
  bool Need(std::size_t n) { return ok() && (n <= remaining() || Fail(kReasonDataEnds)); }
  std::uint64_t Unsigned(std::size_t n) {
    if (!Need(n)) return 0;
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v = (v << 8) | data_[pos_ + (order_ == ByteOrder::kBigEndian ? i : n - 1 - i)];
    pos_ += n;
    return v;
  }

  const unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t pos_ = 0;
  ByteOrder order_ = ByteOrder::kBigEndian;
  const char* failure_ = nullptr;
};

class ByteWriter {
 public:
  explicit ByteWriter(ByteOrder order = ByteOrder::kBigEndian) : order_(order) {}

  std::vector<unsigned char>& bytes() { return out_; }
  const std::vector<unsigned char>& bytes() const { return out_; }
  std::size_t size() const { return out_.size(); }

  void U8(unsigned v) { out_.push_back(static_cast<unsigned char>(v)); }
  void U16(unsigned v) { Unsigned(v, 2); }
  void U24(unsigned long v) { Unsigned(v, 3); }
  void U32(unsigned long v) { Unsigned(v, 4); }
  void U64(std::uint64_t v) { Unsigned(v, 8); }
  void F32(float f) {
    UInt32 bits;
    std::memcpy(&bits, &f, sizeof bits);
    U32(bits);
  }
  void F64(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    U64(bits);
  }
  void WritePoint(Point p) {
    U16(UInt16(p.v));
    U16(UInt16(p.h));
  }
  void WriteRect(const Rect& r) {
    U16(UInt16(r.top));
    U16(UInt16(r.left));
    U16(UInt16(r.bottom));
    U16(UInt16(r.right));
  }
  // Length byte and characters; a longer string is cut to 255 characters.
  void PString(const std::string& s) {
    const std::size_t n = s.size() > 255 ? 255 : s.size();
    U8(unsigned(n));
    out_.insert(out_.end(), s.begin(), s.begin() + std::ptrdiff_t(n));
  }
  void Bytes(const void* p, std::size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    if (n) out_.insert(out_.end(), b, b + n);
  }
  void Zeros(std::size_t n) { out_.resize(out_.size() + n, 0); }
  // Pads with zeros up to a multiple of unit.
  void Align(std::size_t unit) { Zeros((unit - out_.size() % unit) % unit); }
  void AlignEven() { Align(2); }
  // Overwrites a value written before (a size or offset known only later).
  void Put16At(std::size_t at, unsigned v) { PutAt(at, v, 2); }
  void Put32At(std::size_t at, unsigned long v) { PutAt(at, v, 4); }

 private:
  // Byte by byte: growing the vector first and then writing into it trips GCC's bounds warning
  // in optimised builds.
  void Unsigned(std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t shift = order_ == ByteOrder::kBigEndian ? n - 1 - i : i;
      out_.push_back(static_cast<unsigned char>(v >> (8 * shift)));
    }
  }
  void PutAt(std::size_t at, std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t k = order_ == ByteOrder::kBigEndian ? n - 1 - i : i;
      out_[at + k] = static_cast<unsigned char>(v >> (8 * i));
    }
  }

  ByteOrder order_;
  std::vector<unsigned char> out_;
};

}  // namespace vlcore
