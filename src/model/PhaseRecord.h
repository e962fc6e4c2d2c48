// Phases: the active document's phase records, which decide whether an object is shown and
// whether it may be selected.
#pragma once

#include "MacTypes.h"
#include "VLIndexedCluster.h"

// A phase: its objects are visible while the first flag is set, and selectable while both are.
// The key of a record in the phase cluster is its phase number, which the objects carry.
struct PhaseRecord {
  UInt8 visible = 1;
  UInt8 selectable = 1;
  unsigned char name[256] = {};  // length-prefixed, at most 255 characters
};
static_assert(sizeof(PhaseRecord) == 258);

// The active native document's phases (a cluster of PhaseRecord keyed by phase number); null
// when no document is active.
extern VLIndexedCluster* gCurrentPhases;
// The active document's current phase, which new objects take.
extern SInt16 gCurrentPhase;
