// The program's entry. Without --headless the program runs in a window (the SDL2 backend); with
// --headless SCRIPT it runs without a screen a user sees, its input taken from the script
// (platform/backend/headless/README.md), and alerts are echoed to stderr. Any further arguments
// name documents to open at start, in order. The shell (ShellMain) does the rest: one instance,
// the frame placed from the INI file, the application and its documents.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "AppResources.h"
#include "Screen.h"
#include "ShellMain.h"
#include "VLDocument.h"
#include "headless/HeadlessBackend.h"
#if VL_HAVE_SDL
#include <SDL.h>

#include "sdl/SdlBackend.h"
#endif

namespace {

void Usage(std::FILE* out) {
  std::fprintf(out,
               "usage: velmora [--size WIDTHxHEIGHT] [--snapshot-after TICKS FILE.png] [DOCUMENT...]\n"
               "       velmora --headless SCRIPT [DOCUMENT...]\n");
}

bool ParseSize(const char* text, int* width, int* height) {
  char* end = nullptr;
  long w = std::strtol(text, &end, 10);
  if (!end || *end != 'x') return false;
  long h = std::strtol(end + 1, &end, 10);
  if (!end || *end != 0 || w < 1 || h < 1 || w > 8192 || h > 8192) return false;
  *width = int(w);
  *height = int(h);
  return true;
}

// The frame's size from a placement; the default screen when the window layer places it.
void PlacementSize(const FramePlacement& placement, int* width, int* height) {
  if (!placement.stored) return;
  *width = placement.bounds.right - placement.bounds.left;
  *height = placement.bounds.bottom - placement.bounds.top;
}

// Headless, the frame is the virtual screen on a display of the default screen's size.
class HeadlessHost : public ShellHost {
 public:
  explicit HeadlessHost(std::string script) : script(std::move(script)) {}

  ScreenMetrics Metrics() override {
    ScreenMetrics metrics;
    PortSetRect(&metrics.area, 0, 0, vlui::kDefaultScreenWidth, vlui::kDefaultScreenHeight);
    metrics.fullScreenWidth = vlui::kDefaultScreenWidth;
    metrics.fullScreenHeight = vlui::kDefaultScreenHeight - kCaptionHeight;
    metrics.captionHeight = kCaptionHeight;
    return metrics;
  }
  int Run(const std::string&, const FramePlacement& placement, int,
          const std::function<CApplication*()>& makeApp) override {
    int width = vlui::kDefaultScreenWidth, height = vlui::kDefaultScreenHeight;
    PlacementSize(placement, &width, &height);
    origin = placement.stored ? Point{placement.bounds.top, placement.bounds.left} : Point{};
    vlui::InitScreen(width, height);
    int status = vlheadless::RunScript(script, makeApp);
    vlui::ShutdownScreen();
    return status;
  }
  bool CurrentFrame(Rect* frame, Boolean* zoomed) override {
    if (!vlui::ScreenReady()) return false;
    PortSetRect(frame, origin.h, origin.v, origin.h + vlui::ScreenWidth(), origin.v + vlui::ScreenHeight());
    *zoomed = false;
    return true;
  }

 private:
  static constexpr SInt16 kCaptionHeight = 20;
  std::string script;
  Point origin;
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
    if (placement.stored) {
      options.x = placement.bounds.left;
      options.y = placement.bounds.top;
      if (!sizeGiven) PlacementSize(placement, &options.width, &options.height);
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
  ShellArguments arguments;
  // The application makes the model's native documents.
  InstallNativeDocument();
  if (argc >= 3 && std::strcmp(argv[1], "--headless") == 0) {
    for (int i = 3; i < argc; ++i) arguments.files.push_back(argv[i]);
    vlres::InstallApplicationResources();
    vlalert::SetEcho(stderr);
    HeadlessHost host(argv[2]);
    return ShellMain(arguments, host);
  }
#if VL_HAVE_SDL
  vlsdl::Options options;
  bool sizeGiven = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc && ParseSize(argv[i + 1], &options.width, &options.height)) {
      sizeGiven = true;
      ++i;
    } else if (std::strcmp(argv[i], "--snapshot-after") == 0 && i + 2 < argc) {
      options.snapshotAfterTicks = std::strtol(argv[i + 1], nullptr, 10);
      options.snapshotPath = argv[i + 2];
      i += 2;
    } else if (argv[i][0] == '-') {
      Usage(stderr);
      return 2;
    } else {
      arguments.files.push_back(argv[i]);
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
