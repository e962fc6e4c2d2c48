// The program's entry. Without arguments the program runs in a window (the SDL2 backend); with
// --headless SCRIPT it runs without a screen a user sees, its input taken from the script
// (platform/backend/headless/README.md), and alerts are echoed to stderr.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "AlertSink.h"
#include "AppResources.h"
#include "CApplication.h"
#include "headless/HeadlessBackend.h"
#if VL_HAVE_SDL
#include "sdl/SdlBackend.h"
#endif

namespace {

void Usage(std::FILE* out) {
  std::fprintf(out,
               "usage: velmora [--size WIDTHxHEIGHT] [--snapshot-after TICKS FILE.png]\n"
               "       velmora --headless SCRIPT\n");
}

CApplication* MakeApplication() {
  std::unique_ptr<CApplication> app(new (std::nothrow) CApplication(150, 45000, 40000, 20000));
  if (!app) return nullptr;
  app->IApplication(150, 45000, 40000, 20000);
  return app.release();
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

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    Usage(stdout);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--headless") == 0) {
    vlres::InstallApplicationResources();
    vlalert::SetEcho(stderr);
    return vlheadless::RunScript(argv[2], MakeApplication);
  }
#if VL_HAVE_SDL
  vlsdl::Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc && ParseSize(argv[i + 1], &options.width, &options.height)) {
      ++i;
    } else if (std::strcmp(argv[i], "--snapshot-after") == 0 && i + 2 < argc) {
      options.snapshotAfterTicks = std::strtol(argv[i + 1], nullptr, 10);
      options.snapshotPath = argv[i + 2];
      i += 2;
    } else {
      Usage(stderr);
      return 2;
    }
  }
  vlres::InstallApplicationResources();
  return vlsdl::RunInWindow(options, MakeApplication);
#else
  if (argc == 1) {
    std::fprintf(stderr, "velmora: built without SDL2; run it with --headless SCRIPT\n");
    return 1;
  }
  Usage(stderr);
  return 2;
#endif
}
