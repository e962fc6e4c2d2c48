#include "Refusal.h"

#include <cstdio>

#include "AlertSink.h"

namespace vlcore {
namespace {
const char* gLast = nullptr;
}  // namespace

void NoteRefusal(const char* reason) {
  if (!reason) return;
  gLast = reason;
  if (std::FILE* echo = vlalert::Echo()) {
    std::fprintf(echo, "refused: %s\n", reason);
    std::fflush(echo);
  }
}

const char* LastRefusal() { return gLast ? gLast : ""; }
void ClearRefusal() { gLast = nullptr; }

}  // namespace vlcore
