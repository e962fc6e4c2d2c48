#include "SafeReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "FileOps.h"
#include "FilePaths.h"
#include "FileTypes.h"
#include "Folders.h"

namespace vlfiles {
namespace {

struct Fault {
  std::size_t afterBytes;
  int err;
};
std::optional<Fault> gNextFault;

// The temporary file's stream: plain writes to the descriptor, counting bytes, keeping the first
// error and failing on purpose when a fault is armed.
struct Sink {
  int fd = -1;
  std::size_t written = 0;
  std::optional<Fault> fault;
  int err = 0;
};

ssize_t SinkWrite(void* cookie, const char* data, std::size_t size) {
  Sink* s = static_cast<Sink*>(cookie);
  std::size_t done = 0;
  while (done < size) {
    std::size_t chunk = size - done;
    if (s->fault) {
      if (s->written >= s->fault->afterBytes) {
        s->err = s->fault->err;
        errno = s->err;
        return done > 0 ? ssize_t(done) : -1;
      }
      chunk = std::min(chunk, s->fault->afterBytes - s->written);
    }
    ssize_t n = write(s->fd, data + done, chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      s->err = n < 0 ? errno : EIO;
      errno = s->err;
      return done > 0 ? ssize_t(done) : -1;
    }
    done += std::size_t(n);
    s->written += std::size_t(n);
  }
  return ssize_t(done);
}

int SinkClose(void*) { return 0; }  // the descriptor is closed by ReplaceFile after fsync

std::string RealTarget(const std::string& target) {
  struct stat st;
  if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
  std::error_code ec;
  std::filesystem::path real = std::filesystem::weakly_canonical(target, ec);
  return ec ? target : real.string();
}

void SyncFolderOf(const std::string& path) {
  int fd = open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

// Removes the temporary file unless the replacement went through.
struct TempGuard {
  std::string path;
  int fd = -1;
  std::FILE* stream = nullptr;
  bool keep = false;
  ~TempGuard() {
    if (stream) std::fclose(stream);
    if (fd >= 0) close(fd);
    if (!keep) unlink(path.c_str());
  }
};

}  // namespace

void FailNextReplaceAfter(std::size_t afterBytes, int errnoValue) { gNextFault = Fault{afterBytes, errnoValue}; }

OSErr ReplaceFile(const std::string& target, const std::function<OSErr(std::FILE*)>& writer) {
  std::optional<Fault> fault;
  fault.swap(gNextFault);
  if (target.empty() || !writer) return paramErr;
  std::string real = RealTarget(target);

  struct stat original;
  bool exists = stat(real.c_str(), &original) == 0;
  if (exists && S_ISDIR(original.st_mode)) return notAFileErr;

  TempGuard temp;
  temp.path = TemporaryPathBeside(real);
  temp.fd = open(temp.path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  if (temp.fd < 0) {
    int err = errno;
    struct stat folder;
    return err == ENOENT && stat(ParentFolder(real).c_str(), &folder) != 0 ? OSErr(dirNFErr) : ErrFromErrno(err);
  }
  if (exists) fchmod(temp.fd, original.st_mode & 07777);

  Sink sink;
  sink.fd = temp.fd;
  sink.fault = fault;
  temp.stream = fopencookie(&sink, "w", cookie_io_functions_t{nullptr, SinkWrite, nullptr, SinkClose});
  if (!temp.stream) return memFullErr;

  OSErr err = writer(temp.stream);
  if (std::fflush(temp.stream) != 0 && err == noErr) err = ioErr;
  if (std::ferror(temp.stream) && err == noErr) err = ioErr;
  if (err == ioErr && sink.err != 0) err = ErrFromErrno(sink.err);
  std::fclose(temp.stream);
  temp.stream = nullptr;
  if (err != noErr) return err;

  if (fsync(temp.fd) != 0) return ErrFromErrno(errno);
  int rc = close(temp.fd);
  temp.fd = -1;
  if (rc != 0) return ErrFromErrno(errno);

  if (exists) CopyTypeAndCreator(real, temp.path);
  if (std::rename(temp.path.c_str(), real.c_str()) != 0) return ErrFromErrno(errno);
  temp.keep = true;
  SyncFolderOf(real);
  return noErr;
}

OSErr ReplaceWith(const std::string& target, const std::string& finished) {
  if (target.empty() || finished.empty()) return paramErr;
  std::string real = RealTarget(target);
  struct stat st;
  if (stat(finished.c_str(), &st) != 0) return ErrFromErrno(errno);
  if (S_ISDIR(st.st_mode)) return notAFileErr;
  int fd = open(finished.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ErrFromErrno(errno);
  int rc = fsync(fd);
  int syncErr = errno;
  close(fd);
  if (rc != 0) return ErrFromErrno(syncErr);

  struct stat original;
  if (stat(real.c_str(), &original) == 0) {
    if (S_ISDIR(original.st_mode)) return notAFileErr;
    chmod(finished.c_str(), original.st_mode & 07777);
  }
  if (std::rename(finished.c_str(), real.c_str()) != 0) return ErrFromErrno(errno);
  if (stat(SidecarPath(finished).c_str(), &st) == 0) std::rename(SidecarPath(finished).c_str(), SidecarPath(real).c_str());
  SyncFolderOf(real);
  return noErr;
}

OSErr ReplaceFileBytes(const std::string& target, std::string_view bytes) {
  return ReplaceFile(target, [&](std::FILE* f) -> OSErr {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) return ioErr;
    return noErr;
  });
}

}  // namespace vlfiles
