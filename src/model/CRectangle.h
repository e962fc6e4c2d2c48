// A rectangle drawn with one drag from one corner to the opposite one, in the drawing plane at
// the press point's depth. After the drag it is an ordinary polyline.
#pragma once

#include "VLPolyline.h"

class CRectangle : public VLPolyline {
  VL_REGISTERED_CLASS(CRectangle, VLPolyline)

 public:
  CRectangle() = default;

  // An empty closed outline of 4 vertices and edges. Raises as InitStorage.
  void InitRectangle();
  Boolean BuildGeometry(VLViewTransform* view, SInt16 continuing, const Vector3d* point, SInt16 index,
                        VLViewPane* pane) override;

 protected:
  void LayOutShape(const Vector3d& anchor, const Vector3d& point) override;
};
