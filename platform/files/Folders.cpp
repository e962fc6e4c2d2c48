#include "Folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "FilePaths.h"

namespace fs = std::filesystem;

#ifndef VL_BUILD_DIR
#define VL_BUILD_DIR ""
#endif

namespace vlfiles {
namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

std::string HomeDir() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return {};
}

UInt32 NextSerial() {
  static UInt32 serial = UInt32(std::time(nullptr)) ^ (UInt32(getpid()) << 16);
  return ++serial;
}

}  // namespace

// The running binary does not change while it runs: it is looked up once.
std::string ExecutablePath() {
  static const std::string path = [] {
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
  }();
  return path;
}

std::string DataDir() {
  std::string env = Env("VELMORA_DATA_DIR");
  if (!env.empty()) return fs::absolute(env).lexically_normal().string();
  std::string exe = ExecutablePath();
  std::string build = VL_BUILD_DIR;
  if (!build.empty() && exe.compare(0, build.size() + 1, build + "/") == 0) return build + "/share/velmora";
  if (exe.empty()) return "share/velmora";
  return ParentFolder(ParentFolder(exe)) + "/share/velmora";
}

std::string ProgramPath() {
  std::string exe = ExecutablePath();
  return DataDir() + "/" + (exe.empty() ? std::string("velmora") : LeafName(exe));
}

std::string ConfigDir(bool create) {
  std::string base = Env("XDG_CONFIG_HOME");
  // Relative values are to be ignored.
  if (base.empty() || base[0] != '/') {
    std::string home = HomeDir();
    if (home.empty()) return {};
    base = home + "/.config";
  }
  std::string dir = base + "/velmora";
  if (create) MakeFolders(dir);
  return dir;
}

bool MakeFolders(const std::string& folder) {
  if (folder.empty()) return false;
  std::error_code ec;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}

std::string TemporaryPathBeside(const std::string& target) {
  std::string leaf = LeafName(target);
  // Leave room for the suffix within the file system's name limit, cutting on a character.
  std::size_t keep = std::min<std::size_t>(leaf.size(), 100);
  while (keep > 0 && keep < leaf.size() && (static_cast<unsigned char>(leaf[keep]) & 0xC0) == 0x80) --keep;
  std::string stem = ParentFolder(target) + "/." + leaf.substr(0, keep) + ".tmp-" + std::to_string(getpid()) + "-";
  for (;;) {
    std::string candidate = stem + std::to_string(NextSerial());
    if (!Exists(candidate)) return candidate;
  }
}

UInt32 TemporaryNumber(SInt16 vRefNum, SInt32 dirID, std::string_view prefix) {
  std::string folder;
  bool known = ResolveFolder(vRefNum, dirID, &folder) == noErr;
  for (;;) {
    UInt32 n = NextSerial();
    std::string mac = std::string(prefix) + std::to_string(n);
    std::string disk;
    if (!known || !NameToDisk(mac, &disk) || !Exists(folder + "/" + disk)) return n;
  }
}

}  // namespace vlfiles

OSErr PortFindSystemFolder(SInt16, OSType folderType, Boolean create, SInt16* foundVRefNum, SInt32* foundDirID) {
  using namespace vlfiles;
  std::string folder;
  switch (folderType) {
    case kExtensionFolderType:
    case kPreferencesFolderType: {
      folder = ConfigDir();
      if (folder.empty()) return fnfErr;
      if (folderType == kExtensionFolderType) folder += "/Extensions";
      break;
    }
    case kTemporaryFolderType: {
      folder = Env("TMPDIR");
      if (folder.empty() || folder[0] != '/') folder = "/tmp";
      break;
    }
    default: return fnfErr;
  }
  std::error_code ec;
  if (!fs::is_directory(folder, ec) && !(create && MakeFolders(folder))) return fnfErr;
  if (foundVRefNum) *foundVRefNum = kVolumeRef;
  if (foundDirID) *foundDirID = FolderIdForPath(folder);
  return noErr;
}
