#include "CMouseTask.h"

void CMouseTask::BeginTracking(LongPt*) {}

void CMouseTask::KeepTracking(LongPt*, LongPt*, LongPt*) {}

void CMouseTask::EndTracking(LongPt*, LongPt*, LongPt*) {}
