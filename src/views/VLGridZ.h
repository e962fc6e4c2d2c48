// A vertical wall of the background grid: a square of the grid's size standing on one edge of
// the ground square, on the side away from the viewer, with lines at the grid's spacing. The
// grid owns two, one across x (axis 0) and one across y (axis 1).
#pragma once

#include "MacTypes.h"
#include "VL3DObject.h"

class VLGridZ : public VL3DObject {
  VL_REGISTERED_CLASS(VLGridZ, VL3DObject)

 public:
  VLGridZ() = default;

  void PreparePoints() override;
  // Clears the bounds; when visible, draws the wall through the view in light grey (the grey
  // pen pattern on a one-bit port) and records its segments and bounds.
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  // The screen bounds of the last draw ((0, 0, 0, 0) when nothing was drawn).
  void GetBounds(Rect* out) const { *out = screenBounds; }
  // Set-up for the wall across that axis (0 or 1): size and spacing from the defaults list
  // (DefaultGridSizeAndSpacing), light grey, not visible. Raises kDEErrorAssertionViolated for
  // another axis, and the memory errors of the point store.
  void IVLGridZ(SInt16 wallAxis);
  void Redraw();
  // A new size and spacing: the point store is made anew for the lines they give. Raises
  // kDEErrorAssertionViolated, changing nothing, for a pair GridLineCount refuses.
  void SetSize(double newSize, double newSpacing);
  void SetVisible(UInt8 shown) { visible = shown; }

  SInt16 axis = 0;       // the world coordinate that is constant on the wall
  SInt16 otherAxis = 1;  // the coordinate that runs across it
  SInt16 reserved = 0;
  double spacing = 0.0;
  double size = 0.0;
  double halfSize = 0.0;
  UInt8 visible = 0;
  RGBColor colour;
  Rect screenBounds;
  SInt16 lineCount = 0;  // lines each way
};
