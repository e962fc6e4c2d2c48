#include "VLHorizonLine.h"

#include <memory>

#include "DETException.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"
#include "internal/AdornmentPoints.h"
#include "internal/ViewMath.h"

namespace {

constexpr SInt16 kModelPoints = 4;
const RGBColor kHorizonColour{35000, 38000, 30000};

// The pane row of a model point; -1 when it projects to no finite row.
SInt16 RowOf(const VLViewTransform* view, const Vector3d& point) {
  Vector3d pane;
  view->ProjectPoint(&point, &pane);
  SInt16 row = -1;
  if (!PaneCoordinate(pane.y, &row)) return -1;
  return row;
}

struct PixPatDisposer {
  void operator()(PixPatHandle pattern) const { PortDisposePixPat(pattern); }
};

void FillBand(PixPatHandle pattern, const RGBColor& colour, SInt16 width, SInt16 top, SInt16 bottom) {
  PortMakeRGBPat(pattern, &colour);
  Rect band;
  PortSetRect(&band, 0, top, width, bottom);
  PortFillCRect(&band, pattern);
}

}  // namespace

void VLHorizonLine::PreparePoints() { vlviews::PointAtAdornmentPoints(this); }

void VLHorizonLine::IVLHorizonLine() {
  vlviews::AllocateAdornmentPoints(this, kModelPoints, kModelPoints);
  Flatten();
  shown = 1;
  skyFill = 1;
  fourth = 1;
}

void VLHorizonLine::Flatten() {
  PreparePoints();
  for (SInt16 i = 0; vertices && i < vertexCount; ++i) vertices[i].z = 0.0;
}

void VLHorizonLine::Draw(VLViewTransform* view, Rect* updateRect) {
  PreparePoints();
  if (!view->principalView && !view->perspective) {
    // Axonometric: the horizon is never on the pane.
    if (vertices) vertices[0].x = vertices[0].y = 0.0;
    row = 0;
  } else if (view->perspective || view->upVector.z == 0.0) {
    // Perspective or plan: the vanishing line of the ground, through a point at eye height
    // straight along the horizontal part of the view direction.
    const Vector3d& n = view->planeNormal;
    if (n.z > 0.9999) {
      row = -1;
    } else {
      Vector3d eye;
      view->GetEyePoint(&eye);
      const Vector3d along = vlviews::Scaled(vlviews::Unit(Vector3d{n.x, n.y, 0.0}), 100.0);
      row = RowOf(view, vlviews::Plus(eye, along));
    }
  } else {
    // An elevation: the ground line through the origin.
    if (vertices) vertices[0] = Vector3d{0.0, 0.0, 0.0};
    row = RowOf(view, Vector3d{0.0, 0.0, 0.0});
  }
  Paint(view, updateRect);
}

void VLHorizonLine::Paint(VLViewTransform* view, Rect*) {
  const SInt16 width = view->paneWidth;
  const SInt16 height = view->paneHeight;
  const bool onPane = row > 0 && row < height;
  if (!gShadedMode || gInteractiveDrawing) {
    if (onPane) {
      PortRGBForeColor(&kHorizonColour);
      PortPenMove(0, row);
      PortPenLine(width, row);
      lineWidth = width;
      PortForeColor(blackColor);
      return;
    }
  }
  if (!gShadedMode) return;

  std::unique_ptr<PixPat*, PixPatDisposer> pattern(PortNewPixPat());
  ThrowIfNil(pattern.get());
  SInt16 split = -1;
  if (onPane) {
    split = row;
  } else {
    // No horizon on the pane: all sky when the view's centre looks above the ground.
    Vector3d origin;
    Vector3d direction;
    view->GetPickRay(&origin, &direction, Point{SInt16(height / 2), SInt16(width / 2)});
    if (direction.z != 0.0 && -origin.z / direction.z < 0.0) split = height;
    else if (direction.z == 0.0 && row > 0) split = height;
  }
  if (skyFill && split > 0) FillBand(pattern.get(), skyColour, width, 0, split);
  if (groundFill && split != height) FillBand(pattern.get(), groundColour, width, split, height);
}

void VLHorizonLine::RedrawLine() {
  if (row <= 0) return;
  PortRGBForeColor(&kHorizonColour);
  PortPenMove(0, row);
  PortPenLine(lineWidth, row);
  PortForeColor(blackColor);
}

void VLHorizonLine::SetOptions(UInt8 shownFlag, const RGBColor& ground, UInt8 groundFillFlag, UInt8 skyFillFlag,
                               const RGBColor& sky, UInt8 fourthFlag) {
  shown = shownFlag;
  groundColour = ground;
  groundFill = groundFillFlag;
  skyFill = skyFillFlag;
  skyColour = sky;
  fourth = fourthFlag;
}
