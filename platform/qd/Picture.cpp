// Pictures as blocks and files: the frame of a picture, pictures from bytes and PICT files, and
// the fixed-point numbers of picture comments. Recording is in PictRecorder.cpp and playing in
// PictPlayer.cpp.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ByteReader.h"
#include "Memory.h"
#include "PictFormat.h"
#include "QDInternal.h"
#include "Refusal.h"

using namespace qdimpl;
using namespace qdimpl::pict;

Rect PortPictureFrame(PicHandle pic) {
  Handle h = reinterpret_cast<Handle>(pic);
  if (!pic || !*pic) return Rect{};
  vlcore::ByteReader in(*h, std::size_t(PortHandleSize(h)));
  in.U16();  // the size
  Rect frame = in.ReadRect();
  return in.ok() ? frame : Rect{};
}

UInt32 PortDoubleToCommentFixed(double value) {
  vlcore::ByteWriter bytes;
  bytes.U32(UInt32(DoubleToFixed(value)));
  UInt32 out;
  std::memcpy(&out, bytes.bytes().data(), sizeof out);
  return out;
}

double PortCommentFixedToDouble(UInt32 value) {
  return FixedToDouble(Fixed(vlcore::ByteReader(&value, sizeof value).U32()));
}

PicHandle PortPictureFromBytes(const void* data, Size size) {
  if (!data || size < Size(kMinPictSize)) {
    vlcore::NoteRefusal("the picture is shorter than its header");
    SetError(kPictureDataErr);
    return nullptr;
  }
  Handle h = PortHandleFromBytes(data, size);
  if (!h) {
    SetError(memFullErr);
    return nullptr;
  }
  return reinterpret_cast<PicHandle>(h);
}

OSErr PortWritePictFile(PicHandle pic, const std::string& path) {
  Handle h = reinterpret_cast<Handle>(pic);
  if (!pic || !PortIsHandle(h)) return paramErr;
  std::string tmp = path + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return ioErr;
  static const UInt8 header[kPictFileHeaderSize] = {};
  Size size = PortHandleSize(h);
  bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header &&
            std::fwrite(*h, 1, std::size_t(size), f) == std::size_t(size) && std::fflush(f) == 0 &&
            ::fsync(fileno(f)) == 0;
  ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return ioErr;
  }
  return noErr;
}

OSErr PortReadPictFile(const std::string& path, PicHandle* pic) {
  if (!pic) return paramErr;
  *pic = nullptr;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return fnfErr;
  std::vector<UInt8> bytes;
  UInt8 buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    bytes.insert(bytes.end(), buf, buf + n);
    if (bytes.size() > std::size_t(kMaxBlockSize)) break;
  }
  bool readErr = std::ferror(f) != 0;
  std::fclose(f);
  if (readErr) return ioErr;
  if (bytes.size() > std::size_t(kMaxBlockSize))
    return vlcore::Refuse(OSErr(memFullErr), "the picture file is too large");
  if (bytes.size() < kPictFileHeaderSize + kMinPictSize)
    return vlcore::Refuse(OSErr(kPictureDataErr), "the picture file is shorter than its headers");
  PicHandle p = PortPictureFromBytes(bytes.data() + kPictFileHeaderSize, Size(bytes.size() - kPictFileHeaderSize));
  if (!p) return PortQDError();
  OSErr e = PortCheckPicture(p);
  if (e != noErr) {
    PortKillPicture(p);
    return e;
  }
  *pic = p;
  return noErr;
}
