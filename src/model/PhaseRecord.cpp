#include "PhaseRecord.h"

VLIndexedCluster* gCurrentPhases = nullptr;
SInt16 gCurrentPhase = 0;
