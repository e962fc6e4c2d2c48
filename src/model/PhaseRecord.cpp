#include "PhaseRecord.h"

VLIndexedCluster* gCurrentPhases = nullptr;
