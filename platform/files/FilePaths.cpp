#include "FilePaths.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "PString.h"
#include "Refusal.h"

namespace fs = std::filesystem;

namespace vlfiles {
namespace {

constexpr int kMaxNameLength = 63;
// Folder references count down from here; volume numbers stay above it.
constexpr int kFirstFolderRef = -1000;
constexpr int kLastFolderRef = -32000;
constexpr SInt32 kFirstAssignedDirID = 16;

struct FolderTable {
  std::map<std::string, SInt32> idsByPath;
  std::vector<std::string> pathsById;  // index: dirID - kFirstAssignedDirID
  std::map<SInt32, SInt16> refsById;
  std::vector<SInt32> idsByRef;        // index: kFirstFolderRef - ref
  std::string defaultFolder;           // empty: the current directory
};

FolderTable& Table() {
  static FolderTable table;
  return table;
}

bool IsVolume(SInt16 vRefNum) { return vRefNum == kVolumeRef || vRefNum == 0 || vRefNum == kOnSystemDisk; }

std::string CurrentFolder() {
  std::error_code ec;
  fs::path p = fs::current_path(ec);
  return ec ? std::string("/") : NormalizedPath(p.string());
}

std::string Join(const std::string& folder, const std::string& leaf) {
  return folder == "/" ? "/" + leaf : folder + "/" + leaf;
}

OSErr CopyOut(const std::string& path, char* out, long outSize) {
  if (!out || outSize <= 0) return paramErr;
  if (path.size() + 1 > std::size_t(outSize)) {
    out[0] = 0;
    return bdNamErr;
  }
  std::memcpy(out, path.c_str(), path.size() + 1);
  return noErr;
}

}  // namespace

std::string NormalizedPath(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(path), ec);
  if (ec) p = fs::path(path);
  std::string s = p.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

std::string ParentFolder(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string LeafName(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool NameToDisk(std::string_view macName, std::string* diskName) {
  if (macName.empty() || macName == "." || macName == "..")
    return vlcore::Refuse(false, "a file name is empty or names a folder link");
  if (macName.size() > std::size_t(kMaxNameLength))
    return vlcore::Refuse(false, "a file name is longer than 63 characters");
  std::string swapped(macName);
  for (char& c : swapped) {
    if (c == 0 || c == ':') return vlcore::Refuse(false, "a file name holds a colon or a zero byte");
    if (c == '/') c = ':';
  }
  *diskName = MacRomanToUtf8(swapped);
  return true;
}

bool NameFromDisk(std::string_view diskName, std::string* macName) {
  if (diskName.empty() || diskName == "." || diskName == "..")
    return vlcore::Refuse(false, "a file name is empty or names a folder link");
  std::string mac = Utf8ToMacRoman(diskName);
  // Characters without a Mac Roman form would come back as another name.
  if (MacRomanToUtf8(mac) != diskName) return vlcore::Refuse(false, "a file name has characters Mac Roman cannot hold");
  if (mac.size() > std::size_t(kMaxNameLength))
    return vlcore::Refuse(false, "a file name is longer than 63 characters");
  for (char& c : mac) {
    if (c == 0) return vlcore::Refuse(false, "a file name holds a zero byte");
    if (c == ':') c = '/';
  }
  *macName = std::move(mac);
  return true;
}

SInt32 FolderIdForPath(const std::string& folder) {
  std::string path = NormalizedPath(folder);
  if (path == "/") return kRootDirID;
  FolderTable& t = Table();
  auto it = t.idsByPath.find(path);
  if (it != t.idsByPath.end()) return it->second;
  SInt32 id = kFirstAssignedDirID + SInt32(t.pathsById.size());
  t.pathsById.push_back(path);
  t.idsByPath.emplace(path, id);
  return id;
}

std::string FolderPathForId(SInt32 dirID) {
  if (dirID == kRootDirID) return "/";
  const FolderTable& t = Table();
  if (dirID < kFirstAssignedDirID || std::size_t(dirID - kFirstAssignedDirID) >= t.pathsById.size()) return {};
  return t.pathsById[std::size_t(dirID - kFirstAssignedDirID)];
}

SInt16 FolderRef(SInt32 dirID) {
  FolderTable& t = Table();
  auto it = t.refsById.find(dirID);
  if (it != t.refsById.end()) return it->second;
  int ref = kFirstFolderRef - int(t.idsByRef.size());
  if (ref < kLastFolderRef) return 0;
  t.idsByRef.push_back(dirID);
  t.refsById.emplace(dirID, SInt16(ref));
  return SInt16(ref);
}

OSErr ResolveFolder(SInt16 vRefNum, SInt32 dirID, std::string* folder) {
  const FolderTable& t = Table();
  SInt32 refDir = 0;
  if (!IsVolume(vRefNum)) {
    int index = kFirstFolderRef - vRefNum;
    if (vRefNum > kFirstFolderRef || std::size_t(index) >= t.idsByRef.size()) return nsvErr;
    refDir = t.idsByRef[std::size_t(index)];
  }
  if (dirID == 0) {
    if (refDir != 0) {
      dirID = refDir;
    } else {
      *folder = t.defaultFolder.empty() ? CurrentFolder() : t.defaultFolder;
      return noErr;
    }
  }
  if (dirID == kRootParID) {
    // The root folder's parent holds only the root; callers ask for it by the volume name.
    *folder = {};
    return dirNFErr;
  }
  std::string path = FolderPathForId(dirID);
  if (path.empty()) return dirNFErr;
  *folder = std::move(path);
  return noErr;
}

OSErr ResolvePath(SInt16 vRefNum, SInt32 dirID, ConstStringPtr name, std::string* path) {
  if (!name) return bdNamErr;
  std::string disk;
  if (!NameToDisk(PStrToStd(name), &disk)) return bdNamErr;
  std::string folder;
  if (OSErr err = ResolveFolder(vRefNum, dirID, &folder)) return err;
  *path = Join(folder, disk);
  return noErr;
}

std::string PathFromSpec(const FSSpec& spec) {
  if (spec.parID == kRootParID && IsVolume(spec.vRefNum)) return "/";
  std::string path;
  return ResolvePath(spec.vRefNum, spec.parID, spec.name, &path) == noErr ? path : std::string();
}

bool SpecFromPath(const std::string& path, FSSpec* out) {
  if (path.empty()) return false;
  std::string full = NormalizedPath(path);
  FSSpec spec;
  spec.vRefNum = kVolumeRef;
  if (full == "/") {
    spec.parID = kRootParID;
    PStrFromStd(kVolumeName, spec.name, kMaxNameLength);
    *out = spec;
    return true;
  }
  std::size_t slash = full.rfind('/');
  std::string mac;
  if (!NameFromDisk(full.substr(slash + 1), &mac)) return false;
  spec.parID = FolderIdForPath(slash == 0 ? std::string("/") : full.substr(0, slash));
  PStrFromStd(mac, spec.name, kMaxNameLength);
  *out = spec;
  return true;
}

std::string MacPathFromPath(const std::string& path) {
  std::string full = NormalizedPath(path);
  std::string out = kVolumeName;
  out += ':';
  if (full == "/") return out;
  std::size_t start = 1;
  while (start <= full.size()) {
    std::size_t end = full.find('/', start);
    if (end == std::string::npos) end = full.size();
    std::string mac;
    if (!NameFromDisk(full.substr(start, end - start), &mac)) return {};
    out += mac;
    if (end < full.size()) out += ':';
    start = end + 1;
  }
  return out;
}

std::string PathFromMacPath(std::string_view macPath) {
  std::size_t colon = macPath.find(':');
  if (colon == std::string_view::npos || macPath.substr(0, colon) != kVolumeName) return {};
  std::string out;
  std::size_t start = colon + 1;
  while (start < macPath.size()) {
    std::size_t end = macPath.find(':', start);
    if (end == std::string_view::npos) end = macPath.size();
    std::string disk;
    if (!NameToDisk(macPath.substr(start, end - start), &disk)) return {};
    out += '/';
    out += disk;
    start = end + 1;
  }
  return out.empty() ? std::string("/") : out;
}

OSErr ErrFromErrno(int err) {
  switch (err) {
    case 0: return noErr;
    case ENOENT: return fnfErr;
    case ENOTDIR: return dirNFErr;
    case EEXIST: return dupFNErr;
    case EACCES:
    case EPERM: return permErr;
    case EROFS: return wPrErr;
    case ENOSPC:
    case EDQUOT: return dskFulErr;
    case ENAMETOOLONG:
    case EINVAL: return bdNamErr;
    case EISDIR: return notAFileErr;
    case EBUSY:
    case ENOTEMPTY: return fBsyErr;
    case EBADF: return rfNumErr;
    case ENOMEM: return memFullErr;
    default: return ioErr;
  }
}

void ResetFolderTable() { Table() = FolderTable(); }

}  // namespace vlfiles

OSErr PortSetVol(ConstStringPtr, SInt16 vRefNum) {
  using namespace vlfiles;
  if (vRefNum == kVolumeRef || vRefNum == 0 || vRefNum == kOnSystemDisk) return noErr;
  std::string folder;
  if (OSErr err = ResolveFolder(vRefNum, 0, &folder)) return err;
  Table().defaultFolder = folder;
  return noErr;
}

OSErr PortGetVol(StringPtr name, SInt16* vRefNum) {
  using namespace vlfiles;
  std::string folder;
  ResolveFolder(kVolumeRef, 0, &folder);
  if (name) PStrFromStd(kVolumeName, name, 255);
  if (vRefNum) *vRefNum = FolderRef(FolderIdForPath(folder));
  return noErr;
}

OSErr PortMakeFileSpec(SInt16 vRefNum, SInt32 dirID, ConstStringPtr name, char* path, long pathSize) {
  std::string full;
  if (OSErr err = vlfiles::ResolvePath(vRefNum, dirID, name, &full)) {
    if (path && pathSize > 0) path[0] = 0;
    return err;
  }
  return vlfiles::CopyOut(full, path, pathSize);
}

OSErr PortFullPathName(SInt16 vRefNum, ConstStringPtr name, char* path, long pathSize) {
  return PortMakeFileSpec(vRefNum, 0, name, path, pathSize);
}

OSErr PortPathToFileSpec(const char* path, FSSpec* spec) {
  if (!spec) return paramErr;
  if (path && vlfiles::SpecFromPath(path, spec)) return noErr;
  *spec = FSSpec();
  spec->vRefNum = vlfiles::kVolumeRef;
  return bdNamErr;
}
