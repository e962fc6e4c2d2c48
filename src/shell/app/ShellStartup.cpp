#include "ShellStartup.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "Folders.h"
#include "Memory.h"
#include "ModulePath.h"
#include "Profile.h"
#include "Resources.h"

extern char** environ;

UInt32 gShellFlags = kShellFlagsInitial;
char gHelpFilePath[kShellPathSize] = {};
char gIniFilePath[kShellPathSize] = {};

const FileTypeRecord gFileTypeTable[kFileTypeRows + 1] = {
    {FourCC("TEXT"), "vl", "Velmora (*.vl)"},
    {FourCC("3DMF"), "3dmf", "QuickDraw 3D (*.3dmf)"},
    {FourCC("3DTX"), "3dmf", "QuickDraw 3D ASCII (*.3dmf)"},
    {FourCC("\0DXF"), "dxf", "AutoCAD DXF (*.dxf)"},
    {FourCC("\0DWG"), "dwg", "AutoCAD DWG (*.dwg)"},
    {FourCC("PICT"), "pict", "Apple PICT (*.pict)"},
    {FourCC("\0BMP"), "bmp", "Windows Bitmap (*.bmp)"},
    {FourCC("JPEG"), "jpg", "JPEG (*.jpg)"},
    {FourCC("\0GIF"), "gif", "Graphic Interchange Format(*.gif)"},
    {FourCC("\0PCX"), "pcx", "Paint Brush (*.pcx)"},
    {FourCC("\0PNG"), "png", "Portable Network Graphics (*.png)"},
    {FourCC("TIFF"), "tif", "Tag Image File Format (*.tif)"},
    {FourCC("VRML"), "wrl", "VRML (*.wrl)"},
    {FourCC("\0TXT"), "txt", "Text File (*.txt)"},
    {FourCC("\0ADX"), "adx", "ADX file (*.adx)"},
    {FourCC("MooV"), "mov", "QuickTime Movie (*.mov)"},
    {0, "???", ""},
};

std::string LoadShellString(SInt16 id, std::size_t maxChars) {
  Handle h = PortLoadResource(FourCC("STR "), id);
  if (!h || !*h) return {};
  std::string text = vlres::ReadShortString(h);
  if (text.size() > maxChars) text.resize(maxChars);
  return text;
}

std::vector<MenuKeyRecord> LoadMenuKeyTable() {
  std::vector<MenuKeyRecord> table(2);
  MenuKeyRecord& record = table[0];
  record.words[0] = 512;
  record.words[1] = 1;
  record.words[2] = 1;
  std::string key = LoadShellString(kFirstMenuKeyString, 4);
  record.key = key.empty() ? 0 : key[0];
  std::string text = LoadShellString(kFirstMenuKeyString + 1, sizeof record.text - 1);
  std::memcpy(record.text, text.c_str(), text.size() + 1);
  table[1].words[0] = 0x8000;
  return table;
}

namespace {

bool CopyBounded(char* out, std::size_t size, const std::string& text) {
  if (size == 0) return false;
  std::size_t n = text.size() < size ? text.size() : size - 1;
  std::memcpy(out, text.data(), n);
  out[n] = 0;
  return n == text.size();
}

}  // namespace

bool BuildHelpFilePath(const char* name, const char* modulePath, char* out, std::size_t size) {
  std::string leaf = name ? name : "";
  if (!leaf.empty() && leaf[0] == '/') return CopyBounded(out, size, leaf);
  std::string folder = modulePath ? modulePath : "";
  std::size_t cut = folder.find_last_of('/');
  folder = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
  // A folder too long for a name of 8.3 characters gets "?" in place of the name.
  if (folder.size() + 13 >= kShellPathSize) return CopyBounded(out, size, folder + "?");
  return CopyBounded(out, size, folder + leaf);
}

void IniPathFromHelpPath(char* path) {
  std::size_t length = std::strlen(path);
  std::size_t from = length < 3 ? 0 : length - 3;
  std::memcpy(path + from, "INI", 3);
  path[from + 3] = 0;
}

void SetUpShellPaths() {
  std::string name = LoadShellString(kHelpFileString);
  char module[kShellPathSize];
  GetModuleFileNameA(nullptr, module, sizeof module);
  BuildHelpFilePath(name.c_str(), module, gHelpFilePath, sizeof gHelpFilePath);
  std::memcpy(gIniFilePath, gHelpFilePath, sizeof gIniFilePath);
  IniPathFromHelpPath(gIniFilePath);
}

UInt32 ReadShellFlags(const char* iniPath, UInt32 flags) {
  if (GetPrivateProfileIntA("MDI", "3D", 1, iniPath) != 0) return flags | kShellFlag3D;
  return flags & ~kShellFlag3D;
}

FramePlacement ReadFramePlacement(const char* iniPath, const ScreenMetrics& screen) {
  const Rect& area = screen.area;
  // Values come back as unsigned words; a stored negative number is negative again here.
  auto read = [iniPath](const char* key, int fallback) {
    return static_cast<int>(GetPrivateProfileIntA("FRAME", key, fallback, iniPath));
  };
  int left = read("left", area.left);
  int top = read("top", area.top);
  int right = read("right", area.left + screen.fullScreenWidth);
  int bottom = read("bottom", area.top + screen.fullScreenHeight + screen.captionHeight);
  FramePlacement placement;
  placement.maximized = GetPrivateProfileIntA("FRAME", "Maximized", 0, iniPath) != 0;
  // Within the screen area on every side, and not turned inside out.
  if (left >= area.left && top >= area.top && right <= area.right && bottom <= area.bottom && right > left &&
      bottom > top) {
    placement.stored = true;
    PortSetRect(&placement.bounds, left, top, right, bottom);
  }
  return placement;
}

bool WriteFramePlacement(const char* iniPath, const Rect& frame, Boolean zoomed) {
  bool ok = WritePrivateProfileStringA("FRAME", "Maximized", zoomed ? "1" : "0", iniPath) != FALSE;
  const std::pair<const char*, int> edges[] = {
      {"left", frame.left}, {"top", frame.top}, {"right", frame.right}, {"bottom", frame.bottom}};
  for (const auto& [key, value] : edges) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    ok = WritePrivateProfileStringA("FRAME", key, text, iniPath) != FALSE && ok;
  }
  return ok;
}

int FrameShowCommand(int showCommand, Boolean maximized) {
  return showCommand == kShowNormal && maximized ? kShowMaximized : showCommand;
}

SInt16 InitializationErrorString(int code) {
  switch (code) {
    case 1: return 2049;
    case 2: return 2050;
    case 3: return 2051;
    case 100: return 2052;
    case 101: return 2053;
    case 102: return 2054;
    default: return 2056;
  }
}

// --- One instance --------------------------------------------------------------------------

InstanceLock::~InstanceLock() { Release(); }

std::string InstanceLock::LockPath() {
  std::string folder = vlfiles::ConfigDir(true);
  return folder.empty() ? std::string() : folder + "/velmora.lock";
}

bool InstanceLock::Acquire() {
  if (fd >= 0) return true;
  std::string path = LockPath();
  if (path.empty()) return true;
  int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (file < 0) return true;
  // A lock of the open file, not of the process, so that a second lock from this process is
  // refused too; it goes with the process, however that ends.
  struct flock lock{};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (::fcntl(file, F_OFD_SETLK, &lock) == 0) {
    fd = file;
    return true;
  }
  int err = errno;
  ::close(file);
  return !(err == EAGAIN || err == EACCES);
}

void InstanceLock::Release() {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// --- The companion program -----------------------------------------------------------------

std::string CompanionProgram::PathIn(const std::string& folder) { return folder + "/" + kName; }

bool CompanionProgram::IsRunning() {
  DIR* proc = ::opendir("/proc");
  if (!proc) return false;
  bool found = false;
  uid_t me = ::getuid();
  while (dirent* entry = ::readdir(proc)) {
    const char* name = entry->d_name;
    if (name[0] < '0' || name[0] > '9') continue;
    std::string base = std::string("/proc/") + name;
    struct stat info{};
    if (::stat(base.c_str(), &info) != 0 || info.st_uid != me) continue;
    std::ifstream comm(base + "/comm");
    std::string command;
    if (std::getline(comm, command) && command == kName) {
      // A companion that ended but was not reaped yet does not count.
      std::ifstream stat(base + "/stat");
      std::string line;
      std::getline(stat, line);
      std::size_t paren = line.rfind(')');
      if (paren != std::string::npos && paren + 2 < line.size() && line[paren + 2] == 'Z') continue;
      found = true;
      break;
    }
  }
  ::closedir(proc);
  return found;
}

bool CompanionProgram::Start(const std::string& folder) {
  if (pid > 0) return false;
  std::string path = PathIn(folder);
  if (::access(path.c_str(), X_OK) != 0 || IsRunning()) return false;
  char* argv[] = {const_cast<char*>(kName), nullptr};
  pid_t child = -1;
  if (::posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
  // It runs at idle priority.
  ::setpriority(PRIO_PROCESS, id_t(child), 19);
  pid = child;
  return true;
}

void CompanionProgram::Close() {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  // Reap it when it ends soon; one that takes longer is left to end on its own.
  for (int i = 0; i < 100; ++i) {
    if (::waitpid(pid, nullptr, WNOHANG) != 0) break;
    ::usleep(10000);
  }
  pid = -1;
}
