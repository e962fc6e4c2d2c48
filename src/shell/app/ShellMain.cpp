#include "ShellMain.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "ApplicationMain.h"
#include "CApplication.h"
#include "FilePaths.h"
#include "Folders.h"
#include "MessageBox.h"
#include "PString.h"
#include "Q3Core.h"
#include "Shell.h"
#include "StandardFile.h"
#include "VLApplication.h"

std::string gStartFolder;

namespace {

constexpr std::size_t kTitleLength = 82;

constexpr int kReplyNameLength = 63;

// A reply for each path. A path no reply can name (a name too long, or without an exact Mac
// Roman form) gets a reply that is not good, holding what fits of its name, so that the
// application reports it rather than passing over it.
std::vector<SFReply> RepliesFor(const std::vector<std::string>& paths) {
  std::vector<SFReply> replies;
  for (const std::string& path : paths) {
    SFReply reply;
    if (vlui::FillOpenReply(path, &reply) && reply.fName.Length() > 0) {
      replies.push_back(reply);
      continue;
    }
    reply = SFReply{};
    std::string name = Utf8ToMacRoman(vlfiles::LeafName(path));
    if (name.empty()) name = Utf8ToMacRoman(path);
    if (name.size() > std::size_t(kReplyNameLength)) name = name.substr(0, kReplyNameLength - 1) + "\xC9";  // …
    PStrFromStd(name, reply.fName, kReplyNameLength);
    replies.push_back(reply);
  }
  return replies;
}

// The platform layer's start-up failure as the user sees it; false when it failed.
bool InitToolboxGlobals() {
  long code = PortInitToolbox(nullptr);
  if (code == 0) return PortToolboxReady() != 0;
  std::string title = LoadShellString(kInitErrorTitleString);
  std::string text = LoadShellString(InitializationErrorString(int(code)));
  MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_ICONHAND);
  return false;
}

}  // namespace

void OpenDroppedFiles(const std::vector<std::string>& paths) {
  if (paths.empty() || !gApplication) return;
  gApplication->BecomeActive();
  std::vector<SFReply> replies = RepliesFor(paths);
  gApplication->OpenDocuments(replies);
}

int ShellMain(const ShellArguments& arguments, ShellHost& host) {
  char folder[kShellPathSize] = {};
  if (::getcwd(folder, sizeof folder)) gStartFolder = folder;

  InstanceLock instance;
  const bool session = host.UserSession();
  if (session && !instance.Acquire()) {
    std::fprintf(stderr, "velmora: another Velmora is running\n");
    return 0;
  }

  // What the platform layer needs: the file types, the menu keys and the frame's title.
  std::vector<MenuKeyRecord> menuKeys = LoadMenuKeyTable();
  PortSetFileTypes(gFileTypeTable, menuKeys.data());
  std::string title = LoadShellString(kFrameTitleString, kTitleLength);

  // The frame, placed from the INI file.
  SetUpShellPaths();
  gShellFlags = ReadShellFlags(gIniFilePath, gShellFlags);
  FramePlacement placement = session ? ReadFramePlacement(gIniFilePath, host.Metrics()) : FramePlacement{};
  PortStartup(nullptr);
  PortSetHelpFile(gHelpFilePath, LoadShellString(kHelpFileString).c_str());
  PortCall154(1, 12, 5);
  PortCall154(1, 35, 1);
  int show = FrameShowCommand(arguments.showCommand, placement.maximized);

  // The frame's placement is taken while the application goes and written when the frame is gone.
  Rect lastFrame{};
  Boolean lastZoomed = false;
  bool framed = false;
  gApplicationEndHook = [&] { framed = host.CurrentFrame(&lastFrame, &lastZoomed); };

  CompanionProgram companion;
  bool sceneLibrary = false;
  int status = host.Run(title, placement, show, [&]() -> CApplication* {
    if (!InitToolboxGlobals()) return nullptr;
    // A start-up that fails from here still leaves the frame's placement to write.
    framed = host.CurrentFrame(&lastFrame, &lastZoomed);
    companion.Start(vlfiles::DataDir());
    sceneLibrary = Q3Initialize() == kQ3Success;
    VLApplication* app = StartApplication();
    if (app) app->SetLaunchFiles(RepliesFor(arguments.files));
    return app;
  });
  gApplicationEndHook = nullptr;
  FreeWorkBlocks();
  // The scene layer's application leaves the scene library itself once it exists; until then
  // the shell does.
  if (sceneLibrary) Q3Exit();
  companion.Close();

  if (framed && session) WriteFramePlacement(gIniFilePath, lastFrame, lastZoomed);
  return status;
}
