#include "BlockTestSupport.h"

#include <gtest/gtest.h>

namespace blocktest {

CubePtr Dragged(const Vector3d& from, const Vector3d& to) {
  CubePtr block(new VLCube);
  EXPECT_TRUE(block->InitStorage());
  block->BuildGeometry(nullptr, false, &from, -1, nullptr);
  block->BuildGeometry(nullptr, true, &to, -1, nullptr);
  return block;
}

}  // namespace blocktest
