// The program's entry. Without --headless the program runs in a window (the SDL2 backend); with
// --headless SCRIPT it runs without a screen a user sees, its input taken from the script
// (platform/backend/headless/README.md), and alerts are echoed to stderr. Any further arguments
// name documents to open at start, in order. The shell (ShellMain) does the rest: one instance,
// the frame placed from the INI file, the application and its documents.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "AppResources.h"
#include "PString.h"
#include "Resources.h"
#include "Screen.h"
#include "ShellMain.h"
#include "VLDocument.h"
#include "VLPaneDocumentViews.h"
#include "VLTextBar.h"
#include "VLToolPalette.h"
#include "headless/HeadlessBackend.h"
#if VL_HAVE_SDL
#include <SDL.h>

#include "sdl/SdlBackend.h"
#endif

namespace {

void Usage(std::FILE* out) {
  std::fprintf(out,
               "usage: velmora [--size WIDTHxHEIGHT] [--snapshot-after TICKS FILE.png] [--] [DOCUMENT...]\n"
               "       velmora --headless SCRIPT [--] [DOCUMENT...]\n"
               "       velmora --version\n"
               "Without a display SDL's offscreen and dummy video drivers are refused; name one in\n"
               "SDL_VIDEODRIVER to run the window without a screen on purpose.\n");
}

// The program's version, as its version resource gives it.
void PrintVersion() {
  vlres::InstallApplicationResources();
  vlres::VersionRecord version;
  Handle h = PortLoadResource(FourCC("vers"), 1);
  if (h && vlres::ParseVersion(h, &version))
    std::printf("velmora %s\n", MacRomanToUtf8(version.shortVersion).c_str());
  else
    std::printf("velmora\n");
}

// A whole decimal number from min to max; false for anything else ("abc", "12x", "").
bool ParseNumber(const char* text, long min, long max, long* out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text, &end, 10);
  if (errno != 0 || !end || *end != 0 || value < min || value > max) return false;
  *out = value;
  return true;
}

bool ParseSize(const char* text, int* width, int* height) {
  const char* x = std::strchr(text, 'x');
  if (!x) return false;
  std::string first(text, x);
  long w = 0, h = 0;
  if (!ParseNumber(first.c_str(), 1, 8192, &w) || !ParseNumber(x + 1, 1, 8192, &h)) return false;
  *width = int(w);
  *height = int(h);
  return true;
}

// Headless, the frame is the virtual screen at its documented size (1024 by 768). A headless
// run is no session of the user's: it neither takes part in the one-instance rule nor reads or
// writes the frame's placement, so that it never stands in the way of the user's window and a
// script always runs on the same screen.
class HeadlessHost : public ShellHost {
 public:
  explicit HeadlessHost(std::string script) : script(std::move(script)) {}

  bool UserSession() const override { return false; }
  ScreenMetrics Metrics() override {
    ScreenMetrics metrics;
    PortSetRect(&metrics.area, 0, 0, vlui::kDefaultScreenWidth, vlui::kDefaultScreenHeight);
    metrics.fullScreenWidth = vlui::kDefaultScreenWidth;
    metrics.fullScreenHeight = vlui::kDefaultScreenHeight;
    return metrics;
  }
  int Run(const std::string&, const FramePlacement&, int, const std::function<CApplication*()>& makeApp) override {
    vlui::InitScreen(vlui::kDefaultScreenWidth, vlui::kDefaultScreenHeight);
    int status = vlheadless::RunScript(script, makeApp);
    vlui::ShutdownScreen();
    return status;
  }
  bool CurrentFrame(Rect*, Boolean*) override { return false; }

 private:
  std::string script;
};

#if VL_HAVE_SDL
// In a window, the frame is the native window on the main display: its place is the window's,
// its size the screen's, and files dropped on it are opened.
class WindowHost : public ShellHost {
 public:
  explicit WindowHost(const vlsdl::Options& options, bool sizeGiven) : options(options), sizeGiven(sizeGiven) {
    this->options.dropFiles = OpenDroppedFiles;
  }

  ScreenMetrics Metrics() override {
    ScreenMetrics metrics;
    SDL_Rect usable{0, 0, vlui::kDefaultScreenWidth, vlui::kDefaultScreenHeight};
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
      SDL_GetDisplayUsableBounds(0, &usable);
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    PortSetRect(&metrics.area, usable.x, usable.y, usable.x + usable.w, usable.y + usable.h);
    metrics.fullScreenWidth = SInt16(usable.w);
    metrics.fullScreenHeight = SInt16(usable.h);
    return metrics;
  }
  int Run(const std::string&, const FramePlacement& placement, int showCommand,
          const std::function<CApplication*()>& makeApp) override {
    // The placement is the frame's, title bar and borders included, as it is written back.
    if (placement.stored) {
      options.x = placement.bounds.left;
      options.y = placement.bounds.top;
      if (!sizeGiven) {
        options.width = placement.bounds.right - placement.bounds.left;
        options.height = placement.bounds.bottom - placement.bounds.top;
        options.sizeIsFrame = true;
      }
    }
    options.maximized = showCommand == kShowMaximized;
    options.minimized = showCommand == kShowMinimized;
    return vlsdl::RunInWindow(backend, options, makeApp);
  }
  bool CurrentFrame(Rect* frame, Boolean* zoomed) override {
    vlsdl::Placement now;
    if (!backend.CurrentPlacement(&now)) return false;
    PortSetRect(frame, now.x, now.y, now.x + now.width, now.y + now.height);
    *zoomed = now.maximized;
    return true;
  }

 private:
  vlsdl::Options options;
  bool sizeGiven;
  vlsdl::SdlBackend backend;
};
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    Usage(stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    PrintVersion();
    return 0;
  }
  ShellArguments arguments;
  // The application makes the model's native documents, each with its 3D view and text bar, and
  // the tool palette.
  InstallNativeDocument();
  InstallPaneDocumentViews();
  InstallTextBar();
  InstallToolPalette();
  if (argc >= 3 && std::strcmp(argv[1], "--headless") == 0) {
    // Every further argument names a document; a first "--" only ends the options.
    int first = std::strcmp(argv[2], "--") == 0 ? 2 : 3;
    if (first == 2) {
      Usage(stderr);
      return 2;
    }
    if (first < argc && std::strcmp(argv[first], "--") == 0) ++first;
    for (int i = first; i < argc; ++i) arguments.files.push_back(argv[i]);
    vlres::InstallApplicationResources();
    vlalert::SetEcho(stderr);
    HeadlessHost host(argv[2]);
    return ShellMain(arguments, host);
  }
#if VL_HAVE_SDL
  vlsdl::Options options;
  bool sizeGiven = false;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (optionsEnded || arg[0] != '-') {
      arguments.files.push_back(arg);
    } else if (std::strcmp(arg, "--") == 0) {
      optionsEnded = true;
    } else if (std::strcmp(arg, "--size") == 0 && i + 1 < argc &&
               ParseSize(argv[i + 1], &options.width, &options.height)) {
      sizeGiven = true;
      ++i;
    } else if (long ticks = 0; std::strcmp(arg, "--snapshot-after") == 0 && i + 2 < argc &&
                               ParseNumber(argv[i + 1], 0, 0x7FFFFFFF, &ticks)) {
      options.snapshotAfterTicks = ticks;
      options.snapshotPath = argv[i + 2];
      i += 2;
    } else {
      Usage(stderr);
      return 2;
    }
  }
  vlres::InstallApplicationResources();
  WindowHost host(options, sizeGiven);
  return ShellMain(arguments, host);
#else
  if (argc == 1) {
    std::fprintf(stderr, "velmora: built without SDL2; run it with --headless SCRIPT\n");
    return 1;
  }
  Usage(stderr);
  return 2;
#endif
}
