// The range of the circle faceting: the number of segments of an arc's quarter and of a cylinder
// outline. Below 3 a cylinder outline has no area (2 facets would take the tangent of 90
// degrees); above the maximum an extruded arc (3 (n + 2) edges) would pass the 16-bit counts of
// the geometry store.
#pragma once

#include "MacTypes.h"

constexpr SInt16 kMinCircleFaceting = 3;
constexpr SInt16 kMaxCircleFaceting = 10920;
// The largest arc, extruded: 3 (n + 2) edges.
static_assert(3 * (kMaxCircleFaceting + 2) <= 32767);
