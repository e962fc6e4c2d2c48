// Blocks for the tests: made by the block tool's drag, or straight from two opposite corners.
#pragma once

#include <memory>

#include "ModelTestSupport.h"
#include "VLCube.h"

namespace blocktest {

using CubePtr = std::unique_ptr<VLCube, modeltest::ObjectDeleter>;

// A block dragged from one point to another, as the block tool makes it.
CubePtr Dragged(const Vector3d& from, const Vector3d& to);

}  // namespace blocktest
