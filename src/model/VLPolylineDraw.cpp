// Polylines: the rubber band while an outline is drawn, drawing with the handle box, and the
// DXF and Radiance output.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "CBoundingBox.h"
#include "DETException.h"
#include "DxfText.h"
#include "QuickDraw.h"
#include "VLPolyline.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

// A rectangle whose left is this is empty.
constexpr SInt16 kEmptyLeft = -9999;

// Where the rubber band ended at its last drawing, so that the next update covers it too.
Point gPreviousFootEnd{0, kEmptyLeft};
Point gPreviousBandEnd{0, 0};

SInt16 Trunc(double v) { return SInt16(std::trunc(std::fmax(-32768.0, std::fmin(32767.0, v)))); }

Point PanePoint(VLViewTransform* view, const Vector3d& model) {
  Vector3d pane;
  view->ProjectPoint(&model, &pane);
  return Point{Trunc(pane.y), Trunc(pane.x)};
}

void Grow(Rect* rect, Point p) {
  if (!rect) return;
  if (rect->left == kEmptyLeft) {
    *rect = Rect{p.v, p.h, p.v, p.h};
    return;
  }
  rect->top = std::min(rect->top, p.v);
  rect->left = std::min(rect->left, p.h);
  rect->bottom = std::max(rect->bottom, p.v);
  rect->right = std::max(rect->right, p.h);
}

}  // namespace

// ---- Drawing ----

void VLPolyline::Draw(VLViewTransform* view, Rect* updateRect) {
  if (vertexCount == 0 || !view) return;
  SetArrayPointers();
  if (hidden || !IsVisible()) return;
  if (underConstruction) {
    // The outline so far, its footprint on the ground in grey, and the band to the mouse.
    PortPenPattern(&qd.gray);
    std::vector<Point> projected, feet;
    for (SInt16 i = 0; i < vertexCount; ++i) {
      SetArrayPointers();
      const Vector3d v = vertices[i];
      const Point p = PanePoint(view, v);
      const Point foot = v.z == 0 ? p : PanePoint(view, Vector3d{v.x, v.y, 0});
      if (i == 0 && updateRect && updateRect->left == kEmptyLeft) *updateRect = Rect{p.v, p.h, p.v, p.h};
      Grow(updateRect, p);
      Grow(updateRect, foot);
      if (i != 0 && v.z != 0)
        PortPenLine(foot.h, foot.v);
      else
        PortPenMove(foot.h, foot.v);
      projected.push_back(p);
      feet.push_back(foot);
    }
    PortPenPattern(&qd.black);
    PortPenMove(projected[0].h, projected[0].v);
    for (const Point& p : projected) PortPenLine(p.h, p.v);
    if (trackPoint.z != 0) {
      PortPenPattern(&qd.gray);
      PortPenMove(feet.back().h, feet.back().v);
      const Point ground = PanePoint(view, Vector3d{trackPoint.x, trackPoint.y, 0});
      PortPenLine(ground.h, ground.v);
      PortPenPattern(&qd.black);
      Grow(updateRect, ground);
      if (gPreviousFootEnd.h != kEmptyLeft) Grow(updateRect, gPreviousFootEnd);
      gPreviousFootEnd = ground;
    }
    const Point band = PanePoint(view, trackPoint);
    PortPenMove(projected.back().h, projected.back().v);
    PortPenLine(band.h, band.v);
    Grow(updateRect, band);
    Grow(updateRect, gPreviousBandEnd);
    gPreviousBandEnd = band;
    changed = 0;
    return;
  }
  if (!changed && !gInteractiveDrawing && gDirectDrawing && !gViewScrolled) {
    if (OutlinesShown()) {
      ProjectOutlines(view);
      DrawMarkedEdges(updateRect);
    }
    DrawCachedEdges(view, updateRect);
    changed = 0;
    return;
  }
  if (box) box->ProjectEdges(view, false);
  VLOpeningOwner::Draw(view, updateRect);
  changed = 0;
}

void VLPolyline::DrawSelected(VLViewTransform* view) {
  if (underConstruction || !projectedVisible) return;
  if (BoxEditing() && !HasCurrentOpening()) {
    box->DrawSelected(view);
    if (hasOwnedParts) {
      ProjectOutlines(view);
      DrawMarkedEdges(nullptr);
    }
    return;
  }
  VLOpeningOwner::DrawSelected(view);
}

void VLPolyline::DrawHidden(VLViewTransform* view) {
  if (vertexCount == 0) return;
  if (extruded || faceCount > 0)
    VLOpeningOwner::DrawHidden(view);
  else
    // A flat outline has no face for the depth sorter: it draws its edges as in a wireframe view.
    DrawClippedEdges(view);
}

// ---- Export ----

void VLPolyline::WriteDXFPolyline(std::FILE* file, bool flat) {
  SetArrayPointers();
  const std::string layer = LayerNameOfPhase(phase);
  std::fprintf(file, "0\nPOLYLINE\n66\n1\n8\n%s\n70\n%d\n", layer.c_str(), closed ? 1 : 0);
  for (SInt16 i = 0; i < vertexCount; ++i) {
    SetArrayPointers();
    dxftext::WriteVertex(file, vertices[i], flat);
  }
  dxftext::CheckWrite(std::fprintf(file, "0\nSEQEND\n"), file, kDEErrorErrorWritingModelFile);
}

void VLPolyline::WriteDXFFaces(std::FILE* file) {
  if (extruded) {
    VLOpeningOwner::WriteDXFFaces(file);
    return;
  }
  if (hidden || !IsVisible()) return;
  WriteDXFPolyline(file, false);
}

void VLPolyline::WriteDXFOutline(std::FILE* file) {
  if (extruded) {
    VLOpeningOwner::WriteDXFOutline(file);
    return;
  }
  if (hidden || !IsVisible()) return;
  WriteDXFPolyline(file, true);
}

void VLPolyline::WriteRadiance(std::FILE* scene, std::FILE* materialFile, VLArray* names, SInt32* nameCount,
                               const char* objectName, D3TMaterialList* materials) {
  if (extruded) VLOpeningOwner::WriteRadiance(scene, materialFile, names, nameCount, objectName, materials);
}
