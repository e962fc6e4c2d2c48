// The fuzz program of one reader: libFuzzer calls it with each input it makes. Built once per
// entry with VL_FUZZ_ENTRY naming it (CMakeLists.txt). A refusal without a reason is a finding
// too: every refusal must say which check fired. With VL_FUZZ_REASONS set in the environment,
// each refusal's reason is printed.
#include <cstdio>
#include <cstdlib>

#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool print = std::getenv("VL_FUZZ_REASONS") != nullptr;
  const vlfuzz::Outcome outcome = vlfuzz::Run(VL_FUZZ_ENTRY, data, size);
  if (print) std::fprintf(stderr, "%s\n", outcome.refused ? ("refused: " + outcome.reason).c_str() : "accepted");
  if (outcome.refused && outcome.reason.empty()) {
    std::fprintf(stderr, "refused without a reason\n");
    std::abort();
  }
  return 0;
}
