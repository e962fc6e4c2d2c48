// The north arrow: an outline on the ground beside the model's origin pointing north (-y),
// drawn through the view in near-black. The document owns one.
#pragma once

#include "MacTypes.h"
#include "VL3DObject.h"

class VLNorthArrow : public VL3DObject {
  VL_REGISTERED_CLASS(VLNorthArrow, VL3DObject)

 public:
  VLNorthArrow() = default;

  void PreparePoints() override;
  // Projects, records and draws the seven sides of the outline.
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  // Half width size / 2, head half-diagonal, offset from the origin; the store (7 model points,
  // 14 projected) and the outline. Raises the memory errors of the point store.
  void IVLNorthArrow(double size, double offset);
  // The seven outline points on the ground:
  //   (o, -o), (o + 1.5 w, -o - s), (o + 3 w, -o), (o + 2 w, -o), (o + 2 w, w - o),
  //   (o + w, w - o), (o + w, -o).
  void BuildPoints();
  void Redraw();
  // As the set-up, keeping the store.
  void Resize(double size, double offset);

  double halfWidth = 0.0;     // w
  double headDiagonal = 0.0;  // s = w 0.75 sqrt 2
  double offset = 0.0;        // o
  UInt8 visible = 0;
};
