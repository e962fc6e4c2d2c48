// Storage: memory, a file by its path, or an open file descriptor.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "internal/Classes.h"
#include "internal/Storage.h"

namespace q3d {
namespace {

// The largest storage the library reads or writes.
constexpr size_t kMaxStorage = size_t(0xFFFFFFFFu);

struct MemoryStorage : StorageObject {
  using StorageObject::StorageObject;
  std::vector<TQ3Uns8> bytes;
  Ref Clone() const override {
    Ref copy(new MemoryStorage(cls));
    static_cast<MemoryStorage*>(copy.get())->bytes = bytes;
    return copy;
  }
  bool ReadAll(std::vector<TQ3Uns8>& out) override {
    out = bytes;
    return true;
  }
  bool WriteAll(const std::vector<TQ3Uns8>& data) override {
    bytes = data;
    return true;
  }
  bool Size(size_t& size) override {
    size = bytes.size();
    return true;
  }
  bool Get(size_t offset, size_t size, TQ3Uns8* dst, size_t& got) override {
    got = offset < bytes.size() ? std::min(size, bytes.size() - offset) : 0;
    if (got) std::memcpy(dst, bytes.data() + offset, got);
    return true;
  }
  bool Set(size_t offset, size_t size, const TQ3Uns8* src) override {
    if (offset + size > bytes.size()) bytes.resize(offset + size);
    if (size) std::memcpy(bytes.data() + offset, src, size);
    return true;
  }
};

bool ReadFd(int fd, size_t offset, size_t size, TQ3Uns8* dst, size_t& got) {
  got = 0;
  while (got < size) {
    ssize_t n = pread(fd, dst + got, size - got, off_t(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += size_t(n);
  }
  return true;
}

bool WriteFd(int fd, size_t offset, size_t size, const TQ3Uns8* src) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = pwrite(fd, src + done, size - done, off_t(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

bool FdSize(int fd, size_t& size) {
  struct stat st;
  if (fstat(fd, &st) != 0 || st.st_size < 0) return false;
  size = size_t(st.st_size);
  return true;
}

bool ReadAllFd(int fd, std::vector<TQ3Uns8>& out) {
  size_t size = 0;
  if (!FdSize(fd, size)) return false;
  if (size > kMaxStorage) return false;
  out.resize(size);
  size_t got = 0;
  if (!ReadFd(fd, 0, size, out.data(), got)) return false;
  out.resize(got);
  return true;
}

struct FdStorage : StorageObject {
  using StorageObject::StorageObject;
  int fd = -1;
  Ref Clone() const override {
    Ref copy(new FdStorage(cls));
    static_cast<FdStorage*>(copy.get())->fd = fd;
    return copy;
  }
  bool ReadAll(std::vector<TQ3Uns8>& out) override { return ReadAllFd(fd, out); }
  bool WriteAll(const std::vector<TQ3Uns8>& data) override {
    return WriteFd(fd, 0, data.size(), data.data()) && ftruncate(fd, off_t(data.size())) == 0 && fsync(fd) == 0;
  }
  bool Size(size_t& size) override { return FdSize(fd, size); }
  bool Get(size_t offset, size_t size, TQ3Uns8* dst, size_t& got) override {
    return ReadFd(fd, offset, size, dst, got);
  }
  bool Set(size_t offset, size_t size, const TQ3Uns8* src) override { return WriteFd(fd, offset, size, src); }
};

struct PathStorage : StorageObject {
  using StorageObject::StorageObject;
  std::string path;
  Ref Clone() const override {
    Ref copy(new PathStorage(cls));
    static_cast<PathStorage*>(copy.get())->path = path;
    return copy;
  }
  template <class F>
  bool WithFd(int flags, F fn) {
    int fd = open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = fn(fd);
    return close(fd) == 0 && ok;
  }
  bool ReadAll(std::vector<TQ3Uns8>& out) override {
    return WithFd(O_RDONLY, [&](int fd) { return ReadAllFd(fd, out); });
  }
  // Written beside the file and renamed over it once complete and flushed.
  bool WriteAll(const std::vector<TQ3Uns8>& data) override {
    std::string temp = path + ".q3tmp";
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = WriteFd(fd, 0, data.size(), data.data()) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
  }
  bool Size(size_t& size) override {
    return WithFd(O_RDONLY, [&](int fd) { return FdSize(fd, size); });
  }
  bool Get(size_t offset, size_t size, TQ3Uns8* dst, size_t& got) override {
    return WithFd(O_RDONLY, [&](int fd) { return ReadFd(fd, offset, size, dst, got); });
  }
  bool Set(size_t offset, size_t size, const TQ3Uns8* src) override {
    return WithFd(O_WRONLY | O_CREAT, [&](int fd) { return WriteFd(fd, offset, size, src); });
  }
};

OpaqueTQ3Object* MakeMemory(ClassInfo* c) { return new MemoryStorage(c); }
OpaqueTQ3Object* MakePath(ClassInfo* c) { return new PathStorage(c); }
OpaqueTQ3Object* MakeFd(ClassInfo* c) { return new FdStorage(c); }

StorageObject* StorageOf(TQ3Object storage) { return As<StorageObject>(storage, kQ3SharedTypeStorage); }

}  // namespace

bool StorageBytes(TQ3Object storage, std::vector<TQ3Uns8>& out) {
  return storage->IsType(kQ3SharedTypeStorage) && static_cast<StorageObject*>(storage)->ReadAll(out);
}

Ref NewMemoryStorage(std::vector<TQ3Uns8> bytes) {
  Ref storage = NewObject(kQ3StorageTypeMemory);
  if (storage) static_cast<MemoryStorage*>(storage.get())->bytes = std::move(bytes);
  return storage;
}

void RegisterStorageClasses() {
  AddClass(kQ3ObjectTypeShared, kQ3SharedTypeStorage, "Storage", nullptr, nullptr, false);
  AddClass(kQ3SharedTypeStorage, kQ3StorageTypeMemory, "MemoryStorage", MakeMemory, nullptr, false);
  AddClass(kQ3SharedTypeStorage, kQ3StorageTypePath, "PathStorage", MakePath, nullptr, false);
  AddClass(kQ3SharedTypeStorage, kQ3StorageTypeWin32, "Win32Storage", MakeFd, nullptr, false);
  RegisterFileClasses();
}

}  // namespace q3d

using namespace q3d;

TQ3ObjectType Q3Storage_GetType(TQ3StorageObject storage) {
  if (!StorageOf(storage)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = storage->cls->Below(kQ3SharedTypeStorage);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3Status Q3Storage_GetSize(TQ3StorageObject storage, TQ3Uns32* size) {
  StorageObject* s = StorageOf(storage);
  if (!s || !CheckPointer(size)) return kQ3Failure;
  size_t n = 0;
  if (!s->Size(n) || n > kMaxStorage) {
    PostError(kQ3ErrorUnixError);
    return kQ3Failure;
  }
  *size = TQ3Uns32(n);
  return kQ3Success;
}

TQ3Status Q3Storage_GetData(TQ3StorageObject storage, TQ3Uns32 offset, TQ3Uns32 dataSize, unsigned char* data,
                            TQ3Uns32* sizeRead) {
  StorageObject* s = StorageOf(storage);
  if (!s || !CheckPointer(sizeRead) || (dataSize && !CheckPointer(data))) return kQ3Failure;
  size_t got = 0;
  if (!s->Get(offset, dataSize, data, got)) {
    *sizeRead = 0;
    PostError(kQ3ErrorUnixError);
    return kQ3Failure;
  }
  *sizeRead = TQ3Uns32(got);
  return kQ3Success;
}

TQ3Status Q3Storage_SetData(TQ3StorageObject storage, TQ3Uns32 offset, TQ3Uns32 dataSize, const unsigned char* data,
                            TQ3Uns32* sizeWritten) {
  StorageObject* s = StorageOf(storage);
  if (!s || !CheckPointer(sizeWritten) || (dataSize && !CheckPointer(data))) return kQ3Failure;
  if (s->inUse) {
    PostError(kQ3ErrorStorageInUse);
    return kQ3Failure;
  }
  if (!s->Set(offset, dataSize, data)) {
    *sizeWritten = 0;
    PostError(kQ3ErrorUnixError);
    return kQ3Failure;
  }
  *sizeWritten = dataSize;
  return kQ3Success;
}

TQ3StorageObject Q3MemoryStorage_New(const unsigned char* buffer, TQ3Uns32 validSize) {
  if (validSize && !CheckPointer(buffer)) return nullptr;
  std::vector<TQ3Uns8> bytes;
  if (validSize) bytes.assign(buffer, buffer + validSize);
  return NewMemoryStorage(std::move(bytes)).release();
}

TQ3Status Q3MemoryStorage_Set(TQ3StorageObject storage, const unsigned char* buffer, TQ3Uns32 validSize) {
  auto* s = As<MemoryStorage>(storage, kQ3StorageTypeMemory);
  if (!s || (validSize && !CheckPointer(buffer))) return kQ3Failure;
  if (s->inUse) {
    PostError(kQ3ErrorStorageInUse);
    return kQ3Failure;
  }
  s->bytes.assign(buffer, buffer + validSize);
  return kQ3Success;
}

TQ3Status Q3MemoryStorage_GetBuffer(TQ3StorageObject storage, unsigned char** buffer, TQ3Uns32* validSize,
                                    TQ3Uns32* bufferSize) {
  auto* s = As<MemoryStorage>(storage, kQ3StorageTypeMemory);
  if (!s) return kQ3Failure;
  if (buffer) *buffer = s->bytes.empty() ? nullptr : s->bytes.data();
  if (validSize) *validSize = TQ3Uns32(s->bytes.size());
  if (bufferSize) *bufferSize = TQ3Uns32(s->bytes.capacity());
  return kQ3Success;
}

TQ3StorageObject Q3PathStorage_New(const char* path) {
  if (!CheckPointer(path)) return nullptr;
  Ref storage = NewObject(kQ3StorageTypePath);
  if (storage) static_cast<PathStorage*>(storage.get())->path = path;
  return storage.release();
}

TQ3StorageObject Q3Win32Storage_New(TQ3Win32Handle handle) {
  if (handle < 0) {
    PostError(kQ3ErrorInvalidParameter);
    return nullptr;
  }
  Ref storage = NewObject(kQ3StorageTypeWin32);
  if (storage) static_cast<FdStorage*>(storage.get())->fd = handle;
  return storage.release();
}
