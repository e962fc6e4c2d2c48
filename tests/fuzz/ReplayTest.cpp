// Every input that once broke, or nearly broke, a reader is kept in regressions/<reader>/ and
// given to that reader's entry again on every run: it must be refused cleanly, with a reason,
// or read, within a memory bound, and never crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzEntries.h"

#if defined(__SANITIZE_ADDRESS__)
#define VL_WATCH_MEMORY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VL_WATCH_MEMORY 1
#endif
#endif

namespace {

#ifdef VL_WATCH_MEMORY
// The sanitizer's allocator tells every allocation and release; the peak of the bytes held is the
// memory an input made the reader use.
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                              void (*free_hook)(const volatile void*));
std::size_t __sanitizer_get_allocated_size(const volatile void* p);
}
std::atomic<long long> gHeld{0}, gPeak{0};
void Allocated(const volatile void*, std::size_t size) {
  const long long held = gHeld += static_cast<long long>(size);
  long long peak = gPeak.load();
  while (held > peak && !gPeak.compare_exchange_weak(peak, held)) {
  }
}
void Released(const volatile void* p) { gHeld -= static_cast<long long>(__sanitizer_get_allocated_size(p)); }
const bool gWatching = __sanitizer_install_malloc_and_free_hooks(Allocated, Released) != 0;
#endif

// The most an input may make a reader hold at once, beyond what was held before.
constexpr long long kMemoryBound = 64LL << 20;

std::vector<unsigned char> Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

namespace {

// One case a reader, named after it.
class ReaderRegressions : public ::testing::TestWithParam<vlfuzz::Target> {};

TEST_P(ReaderRegressions, EveryKeptInputIsReadOrRefusedWithAReasonWithinTheMemoryBound) {
  const vlfuzz::Target& target = GetParam();
  const std::filesystem::path folder = std::filesystem::path(VL_SOURCE_DIR) / "tests/fuzz/regressions" / target.name;
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << "every reader has a folder of inputs: " << folder;
#ifdef VL_WATCH_MEMORY
  ASSERT_TRUE(gWatching);
#endif
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().filename() != "README.md") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  EXPECT_FALSE(files.empty());
  for (const std::filesystem::path& file : files) {
    SCOPED_TRACE(std::string(target.name) + "/" + file.filename().string());
    const std::vector<unsigned char> bytes = Bytes(file);
#ifdef VL_WATCH_MEMORY
    gPeak = gHeld.load();
    const long long before = gHeld.load();
#endif
    vlfuzz::Outcome outcome;
    EXPECT_NO_THROW(outcome = vlfuzz::Run(target.entry, bytes.data(), bytes.size()));
    if (outcome.refused) {
      EXPECT_FALSE(outcome.reason.empty()) << "a refusal says which check fired";
    }
#ifdef VL_WATCH_MEMORY
    EXPECT_LE(gPeak.load() - before, kMemoryBound);
#endif
    std::printf("%s/%s: %s\n", target.name, file.filename().string().c_str(),
                outcome.refused ? ("refused: " + outcome.reason).c_str() : "read");
  }
}

std::vector<vlfuzz::Target> AllTargets() {
  std::size_t count = 0;
  const vlfuzz::Target* targets = vlfuzz::Targets(&count);
  return std::vector<vlfuzz::Target>(targets, targets + count);
}

INSTANTIATE_TEST_SUITE_P(Readers, ReaderRegressions, ::testing::ValuesIn(AllTargets()),
                         [](const ::testing::TestParamInfo<vlfuzz::Target>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
