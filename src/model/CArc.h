// A quarter arc drawn with one drag: a pie slice of a circle or ellipse around the press point,
// in the quadrant of the mouse. Vertices 0 to n lie on the arc, vertex n + 1 is the centre; the
// ring is closed. After the drag it is an ordinary polyline.
#pragma once

#include "VLPolyline.h"

class CArc : public VLPolyline {
  VL_REGISTERED_CLASS(CArc, VLPolyline)

 public:
  CArc() = default;

  // An empty polyline with room for the n + 2 vertices and edges of an arc of n segments, the
  // count held to the circle faceting's range (CircleFaceting.h). Raises as InitStorage.
  virtual void InitArc(SInt16 n);
  Boolean BuildGeometry(VLViewTransform* view, SInt16 continuing, const Vector3d* point, SInt16 index,
                        VLViewPane* pane) override;

  SInt16 segmentCount = 0;

 protected:
  // From the point at the drag's distance along the first axis to the point at its distance
  // along the second; with Shift both take the smaller (a circular arc).
  void LayOutShape(const Vector3d& centre, const Vector3d& point) override;
};
