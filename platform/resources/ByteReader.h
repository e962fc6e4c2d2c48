// Bounded big-endian reading and writing of resource data. A reader never reads past its end:
// once a read would, it fails and stays failed, and every later read gives zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "MacTypes.h"

namespace vlres {

class ByteReader {
 public:
  ByteReader(const unsigned char* data, std::size_t size) : data_(data), size_(data ? size : 0) {}

  bool ok() const { return ok_; }
  std::size_t pos() const { return pos_; }
  std::size_t remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ >= size_; }

  bool Seek(std::size_t pos) {
    if (pos > size_) return Fail();
    pos_ = pos;
    return true;
  }
  bool Skip(std::size_t n) { return n <= remaining() ? (pos_ += n, true) : Fail(); }

  UInt8 U8() { return Need(1) ? data_[pos_++] : 0; }
  UInt16 U16() {
    if (!Need(2)) return 0;
    UInt16 v = UInt16((data_[pos_] << 8) | data_[pos_ + 1]);
    pos_ += 2;
    return v;
  }
  SInt16 S16() { return SInt16(U16()); }
  UInt32 U24() {
    if (!Need(3)) return 0;
    UInt32 v = (UInt32(data_[pos_]) << 16) | (UInt32(data_[pos_ + 1]) << 8) | data_[pos_ + 2];
    pos_ += 3;
    return v;
  }
  UInt32 U32() {
    if (!Need(4)) return 0;
    UInt32 v = (UInt32(data_[pos_]) << 24) | (UInt32(data_[pos_ + 1]) << 16) |
               (UInt32(data_[pos_ + 2]) << 8) | data_[pos_ + 3];
    pos_ += 4;
    return v;
  }
  SInt32 S32() { return SInt32(U32()); }
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
    std::size_t n = U8();
    if (!Need(n)) return std::string();
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  // Skips a pad byte after odd-length data; a missing pad at the very end is no failure.
  void AlignEven() {
    if ((pos_ & 1) && remaining() > 0) ++pos_;
  }

 private:
  bool Need(std::size_t n) { return ok_ && n <= remaining() ? true : Fail(); }
  bool Fail() {
    ok_ = false;
    pos_ = size_;
    return false;
  }

  const unsigned char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  std::vector<unsigned char>& bytes() { return out_; }
  std::size_t size() const { return out_.size(); }

  void U8(unsigned v) { out_.push_back(static_cast<unsigned char>(v)); }
  void U16(unsigned v) {
    U8(v >> 8);
    U8(v);
  }
  void U24(unsigned long v) {
    U8(unsigned(v >> 16));
    U8(unsigned(v >> 8));
    U8(unsigned(v));
  }
  void U32(unsigned long v) {
    U16(unsigned((v >> 16) & 0xFFFF));
    U16(unsigned(v & 0xFFFF));
  }
  void WriteRect(const Rect& r) {
    U16(UInt16(r.top));
    U16(UInt16(r.left));
    U16(UInt16(r.bottom));
    U16(UInt16(r.right));
  }
  // Length byte and characters; the caller keeps s within 255 characters.
  void PString(const std::string& s) {
    std::size_t n = s.size() > 255 ? 255 : s.size();
    U8(unsigned(n));
    out_.insert(out_.end(), s.begin(), s.begin() + std::ptrdiff_t(n));
  }
  void Bytes(const void* p, std::size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    out_.insert(out_.end(), b, b + n);
  }
  void AlignEven() {
    if (out_.size() & 1) U8(0);
  }
  void Put16At(std::size_t at, unsigned v) {
    out_[at] = static_cast<unsigned char>(v >> 8);
    out_[at + 1] = static_cast<unsigned char>(v);
  }
  void Put32At(std::size_t at, unsigned long v) {
    Put16At(at, unsigned((v >> 16) & 0xFFFF));
    Put16At(at + 2, unsigned(v & 0xFFFF));
  }

 private:
  std::vector<unsigned char> out_;
};

}  // namespace vlres
