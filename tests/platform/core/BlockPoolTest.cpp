#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "BlockPool.h"

using vlcore::BlockPool;

TEST(BlockPool, RequestsFallIntoTheSmallestClassThatHoldsThem) {
  struct Case {
    std::size_t bytes;
    int sizeClass;
  };
  const Case cases[] = {{0, 0}, {1, 1}, {32, 1}, {33, 2}, {64, 2}, {65, 3}, {2048, 7}, {2049, 8}, {4096, 8}, {4097, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(BlockPool::ClassOf(c.bytes), c.sizeClass) << c.bytes;
    if (c.sizeClass) {
      EXPECT_GE(BlockPool::ClassBytes(c.sizeClass), c.bytes);
    }
  }
}

TEST(BlockPool, BlocksAreDistinctAlignedAndWholeAcrossSlabs) {
  BlockPool pool;
  for (int sizeClass : {1, 4, 8}) {
    const std::size_t size = BlockPool::ClassBytes(sizeClass);
    const std::size_t count = 40 * BlockPool::kSlabBytes / size + 1;  // forty-one slabs
    std::vector<char*> blocks;
    for (std::size_t i = 0; i < count; ++i) {
      auto* block = static_cast<char*>(pool.Take(sizeClass));
      ASSERT_NE(block, nullptr);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u);
      std::memset(block, int(i & 0x7F), size);  // the sanitizer checks every byte is the pool's
      blocks.push_back(block);
    }
    // No block overlaps another: each still holds its own fill.
    for (std::size_t i = 0; i < count; ++i) {
      EXPECT_EQ(blocks[i][0], char(i & 0x7F));
      EXPECT_EQ(blocks[i][size - 1], char(i & 0x7F));
    }
    EXPECT_EQ(std::set<char*>(blocks.begin(), blocks.end()).size(), count);

    // Given back, the blocks are taken again before a new slab is cut.
    for (char* block : blocks) pool.Give(block, sizeClass);
    std::set<char*> again;
    for (std::size_t i = 0; i < count; ++i) again.insert(static_cast<char*>(pool.Take(sizeClass)));
    EXPECT_EQ(again, std::set<char*>(blocks.begin(), blocks.end()));
  }
}

TEST(BlockPool, ClassesOutsideThePoolGiveNothing) {
  BlockPool pool;
  EXPECT_EQ(pool.Take(0), nullptr);
  EXPECT_EQ(pool.Take(9), nullptr);
  pool.Give(nullptr, 1);  // ignored
}
