#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <cstring>
#include <vector>

#include "Memory.h"

TEST(Memory, ResizeKeepsContentsAndZeroFillsGrowth) {
  Handle h = PortAllocHandle(4);
  ASSERT_NE(h, nullptr);
  std::memcpy(*h, "abcd", 4);
  PortResizeHandle(h, 4000);
  ASSERT_EQ(PortMemError(), noErr);
  EXPECT_EQ(PortHandleSize(h), 4000);
  EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
  EXPECT_EQ((*h)[3999], 0);
  PortResizeHandle(h, 2);
  EXPECT_EQ(PortHandleSize(h), 2);
  EXPECT_EQ(std::memcmp(*h, "ab", 2), 0);
  PortFreeHandle(h);
}

#if VL_DEBUG_MOVING_HANDLES
TEST(Memory, ResizeMovesTheBlockSoOldPointersAreStale) {
  Handle h = PortAllocHandle(16);
  char* before = *h;
  PortResizeHandle(h, 16);
  EXPECT_NE(*h, before);
  PortFreeHandle(h);
}
#endif

#if defined(__SANITIZE_ADDRESS__)
TEST(MemoryDeathTest, StalePointerAfterResizeIsCaught) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        Handle h = PortAllocHandle(16);
        volatile char* stale = *h;
        PortResizeHandle(h, 32);
        stale[0] = 1;
      },
      "use-after-free");
}
#endif

TEST(Memory, LockedBlockDoesNotMove) {
  Handle h = PortAllocHandle(8);
  SInt8 saved = PortGetHandleState(h);
  PortLockHandle(h);
  char* before = *h;
  PortResizeHandle(h, 4);  // shrinking always works in place
  EXPECT_EQ(PortMemError(), noErr);
  EXPECT_EQ(*h, before);
  PortSetHandleState(h, saved);
  EXPECT_EQ(PortGetHandleState(h), saved);
  PortFreeHandle(h);
}

TEST(Memory, ImpossibleRequestsSetTheMemoryError) {
  EXPECT_EQ(PortAllocHandle(kMaxBlockSize + 1), nullptr);
  EXPECT_EQ(PortMemError(), memFullErr);
  EXPECT_EQ(PortAllocHandle(-1), nullptr);
  EXPECT_EQ(PortMemError(), memFullErr);
  EXPECT_EQ(PortAllocBlock(kMaxBlockSize + 1), nullptr);
  EXPECT_EQ(PortMemError(), memFullErr);

  Handle h = PortAllocHandle(10);
  EXPECT_EQ(PortMemError(), noErr);
  std::memcpy(*h, "0123456789", 10);
  PortResizeHandle(h, kMaxBlockSize + 1);
  EXPECT_EQ(PortMemError(), memFullErr);
  EXPECT_EQ(PortHandleSize(h), 10);  // a failed resize leaves the block as it was
  EXPECT_EQ(std::memcmp(*h, "0123456789", 10), 0);
  PortFreeHandle(h);

  EXPECT_EQ(PortHandleSize(nullptr), 0);
  EXPECT_EQ(PortMemError(), nilHandleErr);
}

TEST(Memory, DuplicateReplacesTheVariableWithACopy) {
  Handle original = PortHandleFromBytes("xyz", 3);
  Handle h = original;
  PortDuplicateHandle(&h);
  ASSERT_NE(h, original);
  EXPECT_EQ(PortHandleSize(h), 3);
  EXPECT_EQ(std::memcmp(*h, "xyz", 3), 0);
  (*h)[0] = 'q';
  EXPECT_EQ((*original)[0], 'x');
  long live = PortLiveHandleCount();
  PortFreeHandle(h);
  PortFreeHandle(original);
  EXPECT_EQ(PortLiveHandleCount(), live - 2);
}

TEST(Memory, TellsLiveHandlesFromFreedAndForeignPointers) {
  const long before = PortLiveHandleCount();
  std::vector<Handle> handles;
  for (int i = 0; i < 10000; ++i) handles.push_back(PortAllocHandle(i % 40));  // more than one chunk of masters
  EXPECT_EQ(PortLiveHandleCount(), before + 10000);
  for (std::size_t i = 0; i < handles.size(); i += 2) PortFreeHandle(handles[i]);
  EXPECT_EQ(PortLiveHandleCount(), before + 5000);
  for (std::size_t i = 0; i < handles.size(); ++i) EXPECT_EQ(PortIsHandle(handles[i]), i % 2 == 1) << i;

  PortFreeHandle(handles[0]);  // twice: refused, nothing else freed
  EXPECT_EQ(PortMemError(), nilHandleErr);
  EXPECT_EQ(PortLiveHandleCount(), before + 5000);
  char* local = nullptr;
  EXPECT_FALSE(PortIsHandle(&local));
  EXPECT_FALSE(PortIsHandle(reinterpret_cast<Handle>(reinterpret_cast<char*>(handles[1]) + 1)));
  EXPECT_EQ(PortHandleSize(reinterpret_cast<Handle>(reinterpret_cast<char*>(handles[1]) + 4)), 0);
  EXPECT_EQ(PortMemError(), nilHandleErr);

  for (std::size_t i = 1; i < handles.size(); i += 2) {
    EXPECT_EQ(PortHandleSize(handles[i]), Size(i % 40));
    PortFreeHandle(handles[i]);
  }
  EXPECT_EQ(PortLiveHandleCount(), before);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(MemoryDeathTest, FreedHandleUsedIsCaught) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        Handle h = PortAllocHandle(16);
        PortFreeHandle(h);
        volatile char* data = *h;
        (void)data;
      },
      "use-after-poison");
}
#endif

#if defined(__SANITIZE_ADDRESS__)
namespace {

// Handles held only where the program holds them: in its own memory, not on this stack.
std::vector<Handle>* gKeptHandles = nullptr;

[[gnu::noinline]] void KeepHandlesOfEverySmallSize() {
  gKeptHandles = new std::vector<Handle>;
  for (Size size = 0; size <= 40; ++size) gKeptHandles->push_back(PortAllocHandle(size));
}

}  // namespace

TEST(Memory, ABlockReachedOnlyThroughItsMasterPointerIsNoLeak) {
  // The leak checker follows the pointers a program keeps; a master pointer must point into its
  // block's allocation, an empty block's too (an empty text item of a dialog made at start-up).
  KeepHandlesOfEverySmallSize();
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
  for (Handle h : *gKeptHandles) PortFreeHandle(h);
  delete gKeptHandles;
  gKeptHandles = nullptr;
}
#endif
