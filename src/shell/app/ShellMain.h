// The program's start and end around the application: one instance at a time, the file types
// and menu keys handed to the platform layer, the help and INI paths, the frame placed from the
// INI file and written back when it goes, the companion program, the scene library, and the
// documents given on the command line.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "MacTypes.h"
#include "ShellStartup.h"

class CApplication;

// What the shell needs of the backend that shows the frame (the native window holding the
// virtual screen).
class ShellHost {
 public:
  virtual ~ShellHost() = default;
  // True for the user's own window: it takes part in the one-instance rule and its placement
  // is kept in the INI file. A run without a window the user sees (headless) does neither.
  virtual bool UserSession() const { return true; }
  // The screen area the frame may cover and the system's full-screen metrics.
  virtual ScreenMetrics Metrics() = 0;
  // Shows the frame (title, placement, show command) and runs the application makeApp makes
  // in it until the program ends; answers the program's exit status.
  virtual int Run(const std::string& title, const FramePlacement& placement, int showCommand,
                  const std::function<CApplication*()>& makeApp) = 0;
  // Where the frame is now (while it stands); false when there is none.
  virtual bool CurrentFrame(Rect* frame, Boolean* zoomed) = 0;
};

struct ShellArguments {
  std::vector<std::string> files;  // documents to open at start, in order
  int showCommand = kShowNormal;
};

// The start folder: the current folder when the program started.
extern std::string gStartFolder;

// Runs the program: in a user session, answers 0 at once (with a message on stderr) when
// another instance runs; otherwise the host's status.
int ShellMain(const ShellArguments& arguments, ShellHost& host);

// Files dropped on the program (or given at launch): the application comes to the front and
// opens each in turn, in the order given; a path no reply can name is skipped.
void OpenDroppedFiles(const std::vector<std::string>& paths);
