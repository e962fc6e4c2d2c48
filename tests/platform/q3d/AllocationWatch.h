// The largest single allocation made through operator new since the last reset,
// for checking that bad files never make the library allocate beyond them.
#pragma once

#include <cstddef>

namespace q3test {
void ResetLargestAllocation();
std::size_t LargestAllocation();
}  // namespace q3test
