// The background grid on the ground: a square of side size centred on the origin, with lines
// at the spacing each way, and its two walls (VLGridZ). The document owns one; it draws only
// while it is visible. Size and spacing are model lengths (feet).
#pragma once

#include "MacTypes.h"
#include "VL3DObject.h"
#include "VLGridZ.h"

class VLGrid : public VL3DObject {
  VL_REGISTERED_CLASS(VLGrid, VL3DObject)

 public:
  VLGrid() = default;
  // Disposes the walls.
  ~VLGrid() override;

  void PreparePoints() override;
  // When visible: the ground lines in light grey (grey pen on a one-bit port), recorded with
  // their bounds, then both walls; the bounds become the union with the walls' bounds.
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  // Set-up: size and spacing from the defaults list (DefaultGridSizeAndSpacing), not visible,
  // the point store, then the walls across x and across y. Raises the memory errors.
  void IVLGrid();
  // The grid and both walls become visible; true.
  Boolean Show();
  // Repeats the recorded segments, then the walls'.
  void Redraw();
  // Widens the box (minimum x, y, z, maximum x, y, z) to the ground square and the walls'
  // height; true when it grew. The minimum z becomes 0 either way.
  Boolean ExtendBounds(double* box);
  double GetHalfSize() const { return halfSize; }
  double GetSpacing() const { return spacing; }
  // size = 2 halfSize; both walls and the grid take the new size and spacing with stores for
  // their lines. Raises kDEErrorAssertionViolated, changing nothing, for a pair GridLineCount
  // refuses.
  void SetSizeAndSpacing(double newHalfSize, double newSpacing);

  VLGridZ* firstWall = nullptr;   // across x (axis 0)
  VLGridZ* secondWall = nullptr;  // across y (axis 1)
  double spacing = 0.0;
  double size = 0.0;
  double halfSize = 0.0;
  UInt8 visible = 0;
  Rect screenBounds;
  SInt16 lineCount = 0;  // lines each way
};
