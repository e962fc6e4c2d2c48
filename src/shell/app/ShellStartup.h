// The pieces of the program's start and end that do not need a window: one instance at a time,
// the file-type and menu-key tables, the help and INI file paths, the start-up flags, the frame
// placement kept in the INI file, and the optional companion program "fastload".
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "FileTypes.h"
#include "MacTypes.h"

// Start-up flags: bit 0 MDI mode (always on), kShellFlag3D from [MDI] "3D".
extern UInt32 gShellFlags;
enum : UInt32 { kShellFlagsInitial = 0x29, kShellFlagMDI = 0x1, kShellFlag3D = 0x100000 };

constexpr std::size_t kShellPathSize = 256;
// The help file beside the program, and the INI file: the help file's path with its last three
// characters replaced by "INI".
extern char gHelpFilePath[kShellPathSize];
extern char gIniFilePath[kShellPathSize];

// String resources the start-up loads.
enum : SInt16 {
  kFrameTitleString = 2176,   // the frame's title
  kHelpFileString = 2177,     // the help file's name
  kFirstMenuKeyString = 1282, // key of menu-key record 1; 1283 its text; 1284, 1285 the next...
  kInitErrorTitleString = 2048,
};

// The file types of the open and save dialogs, in order, ending with a record of type 0.
constexpr int kFileTypeRows = 16;
extern const FileTypeRecord gFileTypeTable[kFileTypeRows + 1];

// The text of 'STR ' resource id, cut to maxChars characters; empty when there is none.
std::string LoadShellString(SInt16 id, std::size_t maxChars = 255);

// The menu-key table: one record (words 512, 1, 1; key from string 1282, text from 1283) and
// the end record.
std::vector<MenuKeyRecord> LoadMenuKeyTable();

// The help file's path: an absolute name as it stands; otherwise the folder of modulePath with
// the name appended, or "?" in place of the name when the folder leaves no room for it. False
// when the result does not fit the buffer (then it holds what fits).
bool BuildHelpFilePath(const char* name, const char* modulePath, char* out, std::size_t size);
// Replaces the last three characters of the path by "INI" (the whole path when it is shorter).
void IniPathFromHelpPath(char* path);
// Fills gHelpFilePath and gIniFilePath from string 2177 and the program's path.
void SetUpShellPaths();

// gShellFlags with bit kShellFlag3D set or cleared from [MDI] "3D" (default 1).
UInt32 ReadShellFlags(const char* iniPath, UInt32 flags);

// Where the frame may go: the screen area (the desktop's client rectangle) and the system's
// full-screen width and height and caption height.
struct ScreenMetrics {
  Rect area;
  SInt16 fullScreenWidth = 0;
  SInt16 fullScreenHeight = 0;
  SInt16 captionHeight = 0;
};

// The frame's placement from the INI file's [FRAME] section. A stored rectangle is taken only
// when it lies wholly within the screen area and is not empty; otherwise the window layer
// chooses the place (stored false).
struct FramePlacement {
  Boolean stored = false;
  Rect bounds;
  Boolean maximized = false;
};
FramePlacement ReadFramePlacement(const char* iniPath, const ScreenMetrics& screen);
// Writes [FRAME] "Maximized" and the four edges. False when the file could not be written.
bool WriteFramePlacement(const char* iniPath, const Rect& frame, Boolean zoomed);

// Show commands.
enum : int { kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3 };
// A normal show becomes a maximized one when the placement asks for it; others stay.
int FrameShowCommand(int showCommand, Boolean maximized);

// The message (string resource) shown for a start-up failure code of the window layer.
SInt16 InitializationErrorString(int code);

// One running program per user: a lock on a file in the configuration folder, held while the
// object lives. A second program finds the lock taken.
class InstanceLock {
 public:
  InstanceLock() = default;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock();
  // True when this is the only instance (the lock is now held). A folder that cannot be made
  // or a file that cannot be opened lets the program run.
  bool Acquire();
  void Release();
  static std::string LockPath();

 private:
  int fd = -1;
};

// The optional companion program "fastload" in the program's folder: started at idle priority
// when it exists and no companion runs yet, and closed at the end only when this program
// started it.
class CompanionProgram {
 public:
  static inline constexpr const char* kName = "fastload";

  CompanionProgram() = default;
  CompanionProgram(const CompanionProgram&) = delete;
  CompanionProgram& operator=(const CompanionProgram&) = delete;
  ~CompanionProgram() = default;

  // Path of the companion in folder.
  static std::string PathIn(const std::string& folder);
  // True when a process of this user runs the companion.
  static bool IsRunning();
  // Starts it from folder when it is there and none runs; true when it was started.
  bool Start(const std::string& folder);
  // Asks the started companion to end (and reaps it); nothing when it was not started here.
  void Close();
  bool Started() const { return pid > 0; }

 private:
  pid_t pid = -1;
};
