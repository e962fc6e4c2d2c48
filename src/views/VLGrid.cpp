#include "VLGrid.h"

#include <new>

#include "DETException.h"
#include "GridLimits.h"
#include "Unwinding.h"
#include "VLViewTransform.h"
#include "internal/AdornmentPoints.h"

namespace {

const RGBColor kGridGrey{55000, 55000, 55000};

// A wall across that axis, disposed again when its set-up raises.
VLGridZ* MakeWall(SInt16 axis) {
  Owned<VLGridZ> wall(new (std::nothrow) VLGridZ);
  ThrowIfNil(wall.get());
  wall->IVLGridZ(axis);
  return wall.release();
}

}  // namespace

VLGrid::~VLGrid() {
  if (firstWall) firstWall->Dispose();
  if (secondWall) secondWall->Dispose();
}

void VLGrid::PreparePoints() { vlviews::PointAtAdornmentPoints(this); }

void VLGrid::IVLGrid() {
  DefaultGridSizeAndSpacing(&size, &spacing);
  halfSize = size * 0.5;
  visible = 0;
  lineCount = GridLineCount(size, spacing);
  vlviews::AllocateAdornmentPoints(this, 0, SInt16(lineCount * 4));
  if (!firstWall) firstWall = MakeWall(0);
  if (!secondWall) secondWall = MakeWall(1);
}

Boolean VLGrid::Show() {
  visible = 1;
  if (firstWall) firstWall->SetVisible(1);
  if (secondWall) secondWall->SetVisible(1);
  return true;
}

void VLGrid::Draw(VLViewTransform* view, Rect* updateRect) {
  if (!visible) return;
  PreparePoints();
  screenPointCount = 0;
  const bool colourPort = vlviews::BeginGridColour(kGridGrey);
  if (size >= 0.0) {
    for (SInt16 i = 0; i < lineCount; ++i) {
      const double a = i * spacing - halfSize;
      vlviews::RecordSegment(this, view, {a, -halfSize, 0.0}, {a, halfSize, 0.0});
      vlviews::RecordSegment(this, view, {halfSize, a, 0.0}, {-halfSize, a, 0.0});
    }
  }
  vlviews::RecordedBounds(this, &screenBounds);
  vlviews::EndGridColour(colourPort);
  for (VLGridZ* wall : {firstWall, secondWall}) {
    if (!wall) continue;
    wall->Draw(view, updateRect);
    Rect wallBounds;
    wall->GetBounds(&wallBounds);
    PortUnionRect(&screenBounds, &wallBounds, &screenBounds);
  }
}

void VLGrid::Redraw() {
  PreparePoints();
  const bool colourPort = vlviews::BeginGridColour(kGridGrey);
  vlviews::RedrawSegments(this);
  vlviews::EndGridColour(colourPort);
  if (firstWall) firstWall->Redraw();
  if (secondWall) secondWall->Redraw();
}

Boolean VLGrid::ExtendBounds(double* box) {
  Boolean grew = false;
  for (int axis = 0; axis < 2; ++axis) {
    if (box[axis] > -halfSize) {
      box[axis] = -halfSize;
      grew = true;
    }
    if (box[axis + 3] < halfSize) {
      box[axis + 3] = halfSize;
      grew = true;
    }
  }
  if (box[5] < size) {
    box[5] = size;
    grew = true;
  }
  box[2] = 0.0;
  return grew;
}

void VLGrid::SetSizeAndSpacing(double newHalfSize, double newSpacing) {
  const double newSize = 2.0 * newHalfSize;
  const SInt16 lines = GridLineCount(newSize, newSpacing);
  if (lines == 0) ThrowError(kDEErrorAssertionViolated, Str255("VLGrid::SetSizeAndSpacing: size or spacing"));
  if (firstWall) firstWall->SetSize(newSize, newSpacing);
  if (secondWall) secondWall->SetSize(newSize, newSpacing);
  vlviews::AllocateAdornmentPoints(this, 0, SInt16(lines * 4));
  size = newSize;
  halfSize = newHalfSize;
  spacing = newSpacing;
  lineCount = lines;
}
