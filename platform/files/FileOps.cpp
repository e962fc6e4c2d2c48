#include "FileOps.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <vector>

#include "DateTime.h"
#include "FileTypes.h"
#include "Folders.h"
#include "PString.h"

namespace vlfiles {
namespace {

constexpr SInt16 kApplicationRef = 1000;
constexpr SInt16 kFirstRefNum = 1001;

struct OpenFile {
  int fd = -1;
  std::string path;
  bool canWrite = false;
};

std::map<SInt16, OpenFile>& Files() {
  static std::map<SInt16, OpenFile> files;
  return files;
}
SInt16 gExtraApplicationRef = 0;

OpenFile* Find(SInt16 refNum) {
  auto it = Files().find(refNum);
  return it == Files().end() ? nullptr : &it->second;
}

SInt16 NewRefNum() {
  static SInt16 next = kFirstRefNum;
  for (int tries = 0; tries < 32767; ++tries) {
    SInt16 candidate = next;
    next = next == 32767 ? kFirstRefNum : SInt16(next + 1);
    if (!Files().count(candidate)) return candidate;
  }
  return 0;
}

// The error for a failed call on path: a missing folder is told apart from a missing file.
OSErr PathErr(const std::string& path, int err) {
  if (err == ENOENT) {
    struct stat st;
    if (stat(ParentFolder(path).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return dirNFErr;
  }
  return ErrFromErrno(err);
}

OSErr SpecPath(const FSSpec* spec, std::string* path) {
  if (!spec) return paramErr;
  if (spec->parID == kRootParID) return bdNamErr;  // the root folder itself
  return ResolvePath(spec->vRefNum, spec->parID, spec->name, path);
}

// The path of an existing file (not a folder) a spec names.
OSErr ExistingFilePath(const FSSpec* spec, std::string* path) {
  if (OSErr err = SpecPath(spec, path)) return err;
  struct stat st;
  if (stat(path->c_str(), &st) != 0) return PathErr(*path, errno);
  return S_ISDIR(st.st_mode) ? OSErr(notAFileErr) : OSErr(noErr);
}

bool IsOpen(const std::string& path) {
  for (const auto& [ref, file] : Files())
    if (file.path == path) return true;
  return false;
}

OSErr DeletePath(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return PathErr(path, errno);
  if (S_ISDIR(st.st_mode)) return rmdir(path.c_str()) == 0 ? OSErr(noErr) : ErrFromErrno(errno);
  if (IsOpen(path)) return fBsyErr;
  if (unlink(path.c_str()) != 0) return ErrFromErrno(errno);
  unlink(SidecarPath(path).c_str());
  return noErr;
}

// Renames without replacing an existing file.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) return EEXIST;
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

struct Entry {
  std::string mac;
  std::string disk;
};

std::vector<Entry> ListFolder(const std::string& folder) {
  std::vector<Entry> entries;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return entries;
  while (const dirent* d = readdir(dir)) {
    std::string disk = d->d_name;
    std::string mac;
    if (disk.empty() || disk[0] == '.' || !NameFromDisk(disk, &mac)) continue;
    entries.push_back({std::move(mac), std::move(disk)});
  }
  closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    Str255 pa(a.mac), pb(b.mac);
    int order = PortCompareStrings(pa, pb);
    return order != 0 ? order < 0 : a.mac < b.mac;
  });
  return entries;
}

OSErr FillEntry(const std::string& path, const std::string& mac, CatalogInfo* info) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 && lstat(path.c_str(), &st) != 0) return PathErr(path, errno);
  bool folder = S_ISDIR(st.st_mode);
  info->attributes = folder ? kFolderAttribute : 0;
  info->entryDirID = folder ? FolderIdForPath(path) : 0;
  info->parID = path == "/" ? kRootParID : FolderIdForPath(ParentFolder(path));
  info->fileType = info->creator = 0;
  if (!folder) GetTypeAndCreator(path, &info->fileType, &info->creator);
  info->dataLength = folder ? 0 : long(st.st_size);
  info->modDate = MacSecondsFromUnix(static_cast<long long>(st.st_mtime));
  if (info->name) PStrFromStd(mac, info->name, 63);
  return noErr;
}

}  // namespace

SInt16 ApplicationFileRef() { return kApplicationRef; }
void SetApplicationFileRef(SInt16 refNum) { gExtraApplicationRef = refNum; }

std::string SidecarPath(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "._" + path;
  return path.substr(0, slash + 1) + "._" + path.substr(slash + 1);
}

void CloseAllFiles() {
  for (auto& [ref, file] : Files()) close(file.fd);
  Files().clear();
}

}  // namespace vlfiles

using namespace vlfiles;

OSErr PortFSpCreate(const FSSpec* spec, OSType creator, OSType fileType, SInt16) {
  std::string path;
  if (OSErr err = SpecPath(spec, &path)) return err;
  int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return PathErr(path, errno);
  close(fd);
  SetTypeAndCreator(path, fileType, creator);
  return noErr;
}

OSErr PortFSpDelete(const FSSpec* spec) {
  std::string path;
  if (OSErr err = SpecPath(spec, &path)) return err;
  return DeletePath(path);
}

OSErr PortHDelete(SInt16 vRefNum, SInt32 dirID, ConstStringPtr name) {
  std::string path;
  if (OSErr err = ResolvePath(vRefNum, dirID, name, &path)) return err;
  return DeletePath(path);
}

OSErr PortFSpRename(const FSSpec* spec, ConstStringPtr newName) {
  std::string from;
  if (OSErr err = SpecPath(spec, &from)) return err;
  std::string disk;
  if (!newName || !NameToDisk(PStrToStd(newName), &disk)) return bdNamErr;
  std::string folder = ParentFolder(from);
  std::string to = folder == "/" ? "/" + disk : folder + "/" + disk;
  if (to == from) return noErr;
  struct stat st;
  if (lstat(from.c_str(), &st) != 0) return PathErr(from, errno);
  if (int err = RenameNoReplace(from, to)) return ErrFromErrno(err);
  if (lstat(SidecarPath(from).c_str(), &st) == 0) std::rename(SidecarPath(from).c_str(), SidecarPath(to).c_str());
  for (auto& [ref, file] : Files())
    if (file.path == from) file.path = to;
  return noErr;
}

OSErr PortFSpGetFInfo(const FSSpec* spec, FInfo* info) {
  std::string path;
  if (!info) return paramErr;
  if (OSErr err = ExistingFilePath(spec, &path)) return err;
  *info = FInfo();
  GetTypeAndCreator(path, &info->fdType, &info->fdCreator);
  return noErr;
}

OSErr PortFSpSetFInfo(const FSSpec* spec, const FInfo* info) {
  std::string path;
  if (!info) return paramErr;
  if (OSErr err = ExistingFilePath(spec, &path)) return err;
  return SetTypeAndCreator(path, info->fdType, info->fdCreator) ? noErr : fnfErr;
}

OSErr PortFSpOpenDF(const FSSpec* spec, SInt8 permission, SInt16* refNum) {
  if (!refNum) return paramErr;
  *refNum = 0;
  std::string path;
  if (OSErr err = SpecPath(spec, &path)) return err;
  bool wantsWrite = permission == fsWrPerm || permission == fsRdWrPerm;
  bool mayWrite = wantsWrite || permission == fsCurPerm || permission == fsRdWrShPerm;
  if (permission < fsCurPerm || permission > fsRdWrShPerm) return paramErr;
  if (permission != fsRdWrShPerm) {
    for (const auto& [ref, file] : Files()) {
      if (file.path != path || !file.canWrite) continue;
      if (wantsWrite) {
        *refNum = ref;
        return opWrErr;
      }
      mayWrite = false;  // another opening writes it; this one only reads
    }
  }
  int fd = -1;
  bool canWrite = false;
  if (mayWrite) {
    fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    canWrite = fd >= 0;
    if (fd < 0 && (wantsWrite || (errno != EACCES && errno != EROFS && errno != EPERM)))
      return errno == EISDIR ? OSErr(notAFileErr) : PathErr(path, errno);
  }
  if (fd < 0) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return PathErr(path, errno);
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    return notAFileErr;
  }
  SInt16 ref = NewRefNum();
  if (ref == 0) {
    close(fd);
    return tmfoErr;
  }
  Files()[ref] = OpenFile{fd, path, canWrite};
  *refNum = ref;
  return noErr;
}

OSErr PortFSRead(SInt16 refNum, long* count, void* buffer) {
  OpenFile* f = Find(refNum);
  if (!f) return rfNumErr;
  if (!count || *count < 0 || (*count > 0 && !buffer)) return paramErr;
  long want = *count, got = 0;
  while (got < want) {
    ssize_t n = read(f->fd, static_cast<char*>(buffer) + got, std::size_t(want - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *count = got;
      return ioErr;
    }
    if (n == 0) break;
    got += long(n);
  }
  *count = got;
  return got < want ? eofErr : noErr;
}

OSErr PortFSWrite(SInt16 refNum, long* count, const void* buffer) {
  OpenFile* f = Find(refNum);
  if (!f) return rfNumErr;
  if (!count || *count < 0 || (*count > 0 && !buffer)) return paramErr;
  if (!f->canWrite) {
    *count = 0;
    return wrPermErr;
  }
  long want = *count, done = 0;
  while (done < want) {
    ssize_t n = write(f->fd, static_cast<const char*>(buffer) + done, std::size_t(want - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      *count = done;
      return n < 0 ? ErrFromErrno(errno) : OSErr(ioErr);
    }
    done += long(n);
  }
  *count = done;
  return noErr;
}

OSErr PortFSClose(SInt16 refNum) {
  auto it = Files().find(refNum);
  if (it == Files().end()) return rfNumErr;
  int rc = close(it->second.fd);
  Files().erase(it);
  return rc == 0 ? noErr : ioErr;
}

OSErr PortGetEOF(SInt16 refNum, long* logicalEOF) {
  OpenFile* f = Find(refNum);
  if (!f) return rfNumErr;
  if (!logicalEOF) return paramErr;
  struct stat st;
  if (fstat(f->fd, &st) != 0) return ioErr;
  *logicalEOF = long(st.st_size);
  return noErr;
}

OSErr PortSetEOF(SInt16 refNum, long logicalEOF) {
  OpenFile* f = Find(refNum);
  if (!f) return rfNumErr;
  if (logicalEOF < 0) return posErr;
  if (!f->canWrite) return wrPermErr;
  if (ftruncate(f->fd, off_t(logicalEOF)) != 0) return ErrFromErrno(errno);
  if (lseek(f->fd, 0, SEEK_CUR) > off_t(logicalEOF)) lseek(f->fd, off_t(logicalEOF), SEEK_SET);
  return noErr;
}

OSErr PortGetFPos(SInt16 refNum, long* position) {
  OpenFile* f = Find(refNum);
  if (!f) return rfNumErr;
  if (!position) return paramErr;
  off_t at = lseek(f->fd, 0, SEEK_CUR);
  if (at < 0) return ioErr;
  *position = long(at);
  return noErr;
}

OSErr PortSetFPos(SInt16 refNum, SInt16 posMode, long offset) {
  OpenFile* f = Find(refNum);
  if (!f) return rfNumErr;
  struct stat st;
  off_t mark = lseek(f->fd, 0, SEEK_CUR);
  if (fstat(f->fd, &st) != 0 || mark < 0) return ioErr;
  long long target;
  switch (posMode) {
    case fsAtMark: return noErr;
    case fsFromStart: target = offset; break;
    case fsFromLEOF: target = static_cast<long long>(st.st_size) + offset; break;
    case fsFromMark: target = static_cast<long long>(mark) + offset; break;
    default: return paramErr;
  }
  if (target < 0) return posErr;
  if (target > static_cast<long long>(st.st_size)) {
    lseek(f->fd, 0, SEEK_END);
    return eofErr;
  }
  lseek(f->fd, off_t(target), SEEK_SET);
  return noErr;
}

OSErr PortFileParamCall(CatalogInfo* info, Boolean) {
  if (!info) return paramErr;
  std::string folder;
  if (info->index < 0) {
    if (OSErr err = ResolveFolder(info->vRefNum, info->dirID, &folder)) return err;
    struct stat st;
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return dirNFErr;
    std::string mac = kVolumeName;
    if (folder != "/" && !NameFromDisk(folder.substr(folder.rfind('/') + 1), &mac)) return bdNamErr;
    return FillEntry(folder, mac, info);
  }
  if (info->index == 0) {
    std::string path;
    if (OSErr err = ResolvePath(info->vRefNum, info->dirID, info->name, &path)) return err;
    return FillEntry(path, PStrToStd(info->name), info);
  }
  if (OSErr err = ResolveFolder(info->vRefNum, info->dirID, &folder)) return err;
  std::vector<Entry> entries = ListFolder(folder);
  if (std::size_t(info->index) > entries.size()) return fnfErr;
  const Entry& e = entries[std::size_t(info->index - 1)];
  return FillEntry(folder == "/" ? "/" + e.disk : folder + "/" + e.disk, e.mac, info);
}

OSErr PortFileOp806(SInt16 refNum, SInt16 index, SInt16* vRefNum, SInt32* parID, StringPtr name) {
  if (index != 0) return paramErr;
  std::string path;
  if (refNum == kApplicationRef || (refNum != 0 && refNum == gExtraApplicationRef)) {
    path = ProgramPath();
  } else if (const OpenFile* f = Find(refNum)) {
    path = f->path;
  } else {
    return rfNumErr;
  }
  FSSpec spec;
  if (!SpecFromPath(path, &spec)) return bdNamErr;
  if (vRefNum) *vRefNum = spec.vRefNum;
  if (parID) *parID = spec.parID;
  if (name) PStrCopy(name, spec.name, 63);
  return noErr;
}
