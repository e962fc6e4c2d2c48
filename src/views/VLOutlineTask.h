// A mouse task that collects an outline click by click (the polyline opening tool's). Between
// clicks the view pane keeps it open; when the tool or the drawing plane changes, the pane ends
// its tracking with an empty point and passes it up when it holds enough points to make
// something, or disposes of it.
#pragma once

#include "CMouseTask.h"
#include "Vector3d.h"

class VLOutlineTask : public CMouseTask {
  VL_REGISTERED_CLASS(VLOutlineTask, CMouseTask)

 public:
  // The points collected so far.
  virtual SInt16 CountPoints() const = 0;
  // Between clicks the rubber band's free end follows the located mouse point.
  virtual void TrackRubberBand(const Vector3d* point) = 0;
};
