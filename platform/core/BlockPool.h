// Free lists of small memory blocks by size class, for the relocatable-block layer.
//
// A block of up to kLargestPooled bytes is taken from a list of blocks of its class (rounded
// up to a power of two, at least kSmallestPooled), which is refilled from slabs of kSlabBytes;
// larger blocks are left to the caller. Given-back blocks are taken again, most recent first,
// and slabs are kept for the pool's life. Blocks are 16-byte aligned. The lists are kept apart
// from the blocks, so that taking one reads no memory of a block that has gone cold.
#pragma once

#include <cstddef>
#include <vector>

namespace vlcore {

class BlockPool {
 public:
  static constexpr std::size_t kSmallestPooled = 32;
  static constexpr std::size_t kLargestPooled = 4096;
  static constexpr std::size_t kSlabBytes = 64 * 1024;

  BlockPool() = default;
  BlockPool(const BlockPool&) = delete;
  BlockPool& operator=(const BlockPool&) = delete;
  ~BlockPool();

  // The class of a request of `bytes`: 0 for none (0 bytes or more than kLargestPooled), else
  // 1 + log2 of its class size over kSmallestPooled.
  static int ClassOf(std::size_t bytes);
  // The usable size of every block of a class (1 and up).
  static std::size_t ClassBytes(int sizeClass) { return kSmallestPooled << (sizeClass - 1); }

  // A block of the class, or null when no memory is left. Its contents are undefined.
  void* Take(int sizeClass);
  // Gives back a block taken from this pool with the same class.
  void Give(void* block, int sizeClass);

 private:
  static constexpr int kClasses = 8;  // 32 .. 4096
  bool Refill(int sizeClass);

  // Each list has room for every block of its class, so that giving one back never allocates.
  std::vector<void*> free_[kClasses];
  std::size_t blocks_[kClasses] = {};  // cut from slabs, by class
  std::vector<void*> slabs_;
};

}  // namespace vlcore
