// Projection outlines: the object's edges flattened onto a model plane, projected and drawn.
#include "VLObjectOwner.h"

#include <algorithm>

#include "DrawingPlane.h"
#include "QuickDraw.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"

namespace {

constexpr SInt16 kPlanLayer = 2;

struct OutlineLayer {
  EdgeSegment* segments;
  UInt8* visible;
};

OutlineLayer LayerOf(VLUser3DObject* object, SInt16 axis) {
  switch (axis) {
    case 0:
      return {object->markedEdgeSegmentsA, object->markedEdgeFlagsA};
    case 1:
      return {object->markedEdgeSegmentsB, object->markedEdgeFlagsB};
    default:
      return {object->markedEdgeSegmentsC, object->markedEdgeFlagsC};
  }
}

// The side layer the view shows beside the plan: the depth axis when it is x or y, else none.
SInt16 SideAxis() {
  const SInt16 depth = AxisRole(gAxisZ);
  return depth == kPlanLayer ? SInt16(-1) : depth;
}

// A pane coordinate as the segment keeps it; a value that is not finite keeps the old one.
void StorePane(double value, SInt16* out) { PaneCoordinate(value, out); }

// Every edge flattened onto the plane where the axis's coordinate is 0 (in the working plane's
// frame when inPlaneFrame), projected, and kept in the axis's layer. An edge that does not show
// keeps its stored ends, which still count for the update rectangle.
void ProjectLayer(VLUser3DObject* object, VLViewTransform* view, SInt16 axis, bool inPlaneFrame) {
  for (SInt16 e = 0; e < object->edgeCount; ++e) {
    object->SetArrayPointers();
    const EdgeRecord edge = object->edges[e];
    if (edge.a < 0 || edge.a >= object->vertexCount || edge.b < 0 || edge.b >= object->vertexCount) continue;
    Vector3d ends[2] = {object->vertices[edge.a], object->vertices[edge.b]};
    for (Vector3d& p : ends) {
      if (inPlaneFrame) WorldToDrawingPlane(&p, &p);
      VectorComponent(p, axis) = 0.0;
      if (inPlaneFrame) DrawingPlaneToWorld(&p, &p);
    }
    const OutlineLayer layer = LayerOf(object, axis);
    EdgeSegment& segment = layer.segments[e];
    Vector3d paneA{double(segment.h1), double(segment.v1), 0.0};
    Vector3d paneB{double(segment.h2), double(segment.v2), 0.0};
    UInt8 visible = 0, unchangedA = 0, unchangedB = 0;
    view->ProjectSegment(&ends[0], &ends[1], &paneA, &paneB, &visible, &unchangedA, &unchangedB);
    layer.visible[e] = visible;
    StorePane(paneA.x, &segment.h1);
    StorePane(paneA.y, &segment.v1);
    StorePane(paneB.x, &segment.h2);
    StorePane(paneB.y, &segment.v2);
  }
}

void GrowBy(Rect* rect, SInt16 h, SInt16 v) {
  rect->left = std::min(rect->left, h);
  rect->right = std::max(rect->right, h);
  rect->top = std::min(rect->top, SInt16(v + 1));
  rect->bottom = std::max(rect->bottom, SInt16(v + 1));
}

void DrawLayer(VLUser3DObject* object, SInt16 axis, Rect* updateRect) {
  object->SetArrayPointers();
  const OutlineLayer layer = LayerOf(object, axis);
  if (!layer.segments) return;
  for (SInt16 e = 0; e < object->edgeCount; ++e) {
    const EdgeSegment segment = layer.segments[e];
    if (layer.visible[e]) {
      PortPenMove(segment.h1, segment.v1);
      PortPenLine(segment.h2, segment.v2);
    }
    if (object->tracking && updateRect) {
      GrowBy(updateRect, segment.h1, segment.v1);
      GrowBy(updateRect, segment.h2, segment.v2);
    }
  }
}

}  // namespace

bool VLObjectOwner::OutlinesShown() const { return hasOwnedParts && ownedPartsShown; }

void VLObjectOwner::Draw(VLViewTransform* view, Rect* updateRect) {
  if (OutlinesShown()) {
    ProjectOutlines(view);
    DrawMarkedEdges(updateRect);
  }
  VLUser3DObject::Draw(view, updateRect);
}

void VLObjectOwner::DrawSelected(VLViewTransform* view) {
  VLUser3DObject::DrawSelected(view);
  if (!hasOwnedParts) return;
  ProjectOutlines(view);
  DrawMarkedEdges(nullptr);
}

void VLObjectOwner::ProjectOutlines(VLViewTransform* view) {
  SetArrayPointers();
  if (!storage || !view) return;
  ProjectLayer(this, view, kPlanLayer, true);
  const SInt16 side = SideAxis();
  if (side >= 0) ProjectLayer(this, view, side, true);
}

void VLObjectOwner::DrawMarkedEdges(Rect* updateRect) {
  DrawLayer(this, kPlanLayer, updateRect);
  const SInt16 side = SideAxis();
  if (side >= 0) DrawLayer(this, side, updateRect);
}

void VLObjectOwner::DrawWithPlanOutline(VLViewTransform* view, Rect* updateRect) {
  if (OutlinesShown()) {
    ProjectPlanOutline(view);
    DrawPlanOutline(updateRect);
  }
  VLUser3DObject::Draw(view, updateRect);
}

void VLObjectOwner::ProjectPlanOutline(VLViewTransform* view) {
  SetArrayPointers();
  if (!storage || !view) return;
  ProjectLayer(this, view, kPlanLayer, false);
}

void VLObjectOwner::DrawPlanOutline(Rect* updateRect) { DrawLayer(this, kPlanLayer, updateRect); }
