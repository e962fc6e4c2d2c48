#include "VLGridZ.h"

#include "DETException.h"
#include "GridLimits.h"
#include "VLViewTransform.h"
#include "internal/AdornmentPoints.h"
#include "internal/ViewMath.h"

namespace {

const RGBColor kGridGrey{55000, 55000, 55000};

// Four points a step: two segments of two ends.
SInt16 PointsForLines(SInt16 lines) { return SInt16(lines * 4); }

}  // namespace

void VLGridZ::PreparePoints() { vlviews::PointAtAdornmentPoints(this); }

void VLGridZ::IVLGridZ(SInt16 wallAxis) {
  if (wallAxis != 0 && wallAxis != 1) ThrowError(kDEErrorAssertionViolated, Str255("VLGridZ::IVLGridZ: axis"));
  axis = wallAxis;
  otherAxis = SInt16(1 - wallAxis);
  reserved = 0;
  DefaultGridSizeAndSpacing(&size, &spacing);
  halfSize = size * 0.5;
  lineCount = GridLineCount(size, spacing);
  colour = kGridGrey;
  vlviews::AllocateAdornmentPoints(this, 0, PointsForLines(lineCount));
  visible = 0;
}

void VLGridZ::SetSize(double newSize, double newSpacing) {
  const SInt16 lines = GridLineCount(newSize, newSpacing);
  if (lines == 0) ThrowError(kDEErrorAssertionViolated, Str255("VLGridZ::SetSize: size or spacing"));
  vlviews::AllocateAdornmentPoints(this, 0, PointsForLines(lines));
  size = newSize;
  spacing = newSpacing;
  halfSize = size * 0.5;
  lineCount = lines;
}

void VLGridZ::Draw(VLViewTransform* view, Rect* updateRect) {
  using vlviews::At;
  screenBounds = Rect{0, 0, 0, 0};
  if (!visible) return;
  PreparePoints();
  screenPointCount = 0;
  const bool colourPort = vlviews::BeginGridColour(colour);
  // The wall stands on the far side of the ground square from the viewer.
  const double wall = At(view->referencePoint, axis) >= 0.0 ? -halfSize : halfSize;
  for (SInt16 i = 0; i < lineCount; ++i) {
    const double t = i * spacing;
    Vector3d top;
    Vector3d bottom;
    At(top, axis) = At(bottom, axis) = wall;
    At(top, otherAxis) = At(bottom, otherAxis) = t - halfSize;
    top.z = size;
    bottom.z = 0.0;
    vlviews::RecordSegment(this, view, top, bottom);
    Vector3d from;
    Vector3d to;
    At(from, axis) = At(to, axis) = wall;
    At(from, otherAxis) = halfSize;
    At(to, otherAxis) = -halfSize;
    from.z = to.z = t;
    vlviews::RecordSegment(this, view, from, to);
  }
  vlviews::RecordedBounds(this, &screenBounds);
  vlviews::EndGridColour(colourPort);
}

void VLGridZ::Redraw() {
  PreparePoints();
  const bool colourPort = vlviews::BeginGridColour(colour);
  vlviews::RedrawSegments(this);
  vlviews::EndGridColour(colourPort);
}
