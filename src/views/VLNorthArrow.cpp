#include "VLNorthArrow.h"

#include <cmath>

#include "internal/AdornmentPoints.h"

namespace {

constexpr SInt16 kOutlinePoints = 7;
const RGBColor kArrowColour{1, 1, 1};

}  // namespace

void VLNorthArrow::PreparePoints() { vlviews::PointAtAdornmentPoints(this); }

void VLNorthArrow::IVLNorthArrow(double size, double newOffset) {
  vlviews::AllocateAdornmentPoints(this, kOutlinePoints, SInt16(2 * kOutlinePoints));
  Resize(size, newOffset);
}

void VLNorthArrow::Resize(double size, double newOffset) {
  halfWidth = size * 0.5;
  const double head = 0.75 * halfWidth;
  headDiagonal = std::sqrt(2.0 * head * head);
  offset = newOffset;
  BuildPoints();
}

void VLNorthArrow::BuildPoints() {
  PreparePoints();
  if (!vertices || vertexCount < kOutlinePoints) return;
  const double w = halfWidth;
  const double s = headDiagonal;
  const double o = offset;
  const Vector3d outline[kOutlinePoints] = {
      {o, -o, 0.0},         {o + 1.5 * w, -o - s, 0.0}, {o + 3 * w, -o, 0.0}, {o + 2 * w, -o, 0.0},
      {o + 2 * w, w - o, 0.0}, {o + w, w - o, 0.0},       {o + w, -o, 0.0}};
  for (SInt16 i = 0; i < kOutlinePoints; ++i) vertices[i] = outline[i];
}

void VLNorthArrow::Draw(VLViewTransform* view, Rect*) {
  PreparePoints();
  if (!vertices || vertexCount < kOutlinePoints) return;
  screenPointCount = 0;
  PortRGBForeColor(&kArrowColour);
  for (SInt16 i = 0; i < kOutlinePoints; ++i)
    vlviews::RecordSegment(this, view, vertices[i], vertices[(i + 1) % kOutlinePoints]);
}

void VLNorthArrow::Redraw() {
  PreparePoints();
  PortRGBForeColor(&kArrowColour);
  vlviews::RedrawSegments(this);
}
