// A task driven by mouse tracking: BeginTracking once with the start point, KeepTracking on
// every poll while the button is held, EndTracking on release. Points are in the pane's
// coordinates. The base operations do nothing.
#pragma once

#include "CTask.h"
#include "LongCoordinates.h"

class CMouseTask : public CTask {
  VL_REGISTERED_CLASS(CMouseTask, CTask)

 public:
  CMouseTask() = default;

  void Init(SInt16 nameIndex) { CTask::Init(nameIndex); }

  virtual void BeginTracking(LongPt* startPt);
  virtual void KeepTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt);
  virtual void EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt);
};
