// The DXF text the model objects write: lengths in inches (the model's feet times 12) with the
// y axis reversed, every number with three decimals.
#pragma once

#include <cstdint>
#include <cstdio>

#include "Vector3d.h"

namespace dxftext {

constexpr double kInches = 12.0;

// One VERTEX record of a 3D polyline; flat writes 0 for z.
void WriteVertex(std::FILE* file, const Vector3d& point, bool flat);
// A failed formatted write (a negative count), then any error the stream holds, raise
// DETException with ioErr and the context.
void CheckWrite(int written, std::FILE* file, std::int32_t context);

}  // namespace dxftext
