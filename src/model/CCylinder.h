// A cylinder's outline drawn with one drag: the regular n-sided polygon whose sides touch the
// circle inscribed in the square dragged from the press point (the side of the square the
// smaller drag distance). After the drag it is an ordinary polyline.
#pragma once

#include "VLPolyline.h"

class CCylinder : public VLPolyline {
  VL_REGISTERED_CLASS(CCylinder, VLPolyline)

 public:
  CCylinder() = default;

  // An empty closed outline of n vertices and edges, the count held to the circle faceting's
  // range (CircleFaceting.h). Raises as InitStorage.
  virtual void InitCylinder(SInt16 n);
  Boolean BuildGeometry(VLViewTransform* view, SInt16 continuing, const Vector3d* point, SInt16 index,
                        VLViewPane* pane) override;

  SInt16 segmentCount = 0;

 protected:
  void LayOutShape(const Vector3d& anchor, const Vector3d& point) override;
};
