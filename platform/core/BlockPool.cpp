#include "BlockPool.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace vlcore {

static_assert(BlockPool::kSmallestPooled << 7 == BlockPool::kLargestPooled, "eight classes");

BlockPool::~BlockPool() {
  for (void* slab : slabs_) std::free(slab);
}

int BlockPool::ClassOf(std::size_t bytes) {
  if (bytes == 0 || bytes > kLargestPooled) return 0;
  int sizeClass = 1;
  for (std::size_t size = kSmallestPooled; size < bytes; size <<= 1) ++sizeClass;
  return sizeClass;
}

bool BlockPool::Refill(int sizeClass) {
  const std::size_t size = ClassBytes(sizeClass);
  std::vector<void*>& list = free_[sizeClass - 1];
  std::size_t& blocks = blocks_[sizeClass - 1];
  // Room in the lists first, so that a failure leaves nothing behind.
  try {
    slabs_.reserve(slabs_.size() + 1);
    const std::size_t needed = blocks + kSlabBytes / size;
    if (list.capacity() < needed) list.reserve(std::max(2 * list.capacity(), needed));
  } catch (const std::bad_alloc&) {
    return false;
  }
  void* slab = std::aligned_alloc(16, kSlabBytes);
  if (!slab) return false;
  slabs_.push_back(slab);
  blocks += kSlabBytes / size;
  // Pushed from the end, so that the slab's blocks are taken in address order.
  char* first = static_cast<char*>(slab);
  for (std::size_t offset = kSlabBytes; offset >= size; offset -= size) list.push_back(first + offset - size);
  return true;
}

void* BlockPool::Take(int sizeClass) {
  if (sizeClass < 1 || sizeClass > kClasses) return nullptr;
  std::vector<void*>& list = free_[sizeClass - 1];
  if (list.empty() && !Refill(sizeClass)) return nullptr;
  void* block = list.back();
  list.pop_back();
  return block;
}

void BlockPool::Give(void* block, int sizeClass) {
  if (!block || sizeClass < 1 || sizeClass > kClasses) return;
  free_[sizeClass - 1].push_back(block);
}

}  // namespace vlcore
