// The program's entry. With --headless SCRIPT the program runs without a screen, its input
// taken from the script (platform/backend/headless/README.md); alerts are echoed to stderr.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "AlertSink.h"
#include "AppResources.h"
#include "CApplication.h"
#include "headless/HeadlessBackend.h"

namespace {

void Usage(std::FILE* out) {
  std::fprintf(out, "usage: velmora --headless SCRIPT\n");
}

CApplication* MakeApplication() {
  std::unique_ptr<CApplication> app(new (std::nothrow) CApplication(150, 45000, 40000, 20000));
  if (!app) return nullptr;
  app->IApplication(150, 45000, 40000, 20000);
  return app.release();
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
  if (argc == 1) {
    std::fprintf(stderr, "velmora: no display backend is built yet; run it with --headless SCRIPT\n");
    return 1;
  }
  Usage(stderr);
  return 2;
}
