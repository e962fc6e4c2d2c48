#include "COrientationDefiner.h"

#include "BoxLayout.h"
#include "DETException.h"
#include "DrawingPlane.h"
#include "Matrix4d.h"
#include "PhaseRecord.h"
#include "QuickDraw.h"
#include "VLDocument.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr double kAxisLength = 15.0;
const RGBColor kPlaneColour{0, 30000, 65000};

}  // namespace

void COrientationDefiner::InitPlane(SInt16 v, SInt16 p, SInt16 e, SInt16 f) {
  AllocateStorage(v, p, e, f);
  typeCode = kObjectTypeConstructionPlane;
  phase = gCurrentPhase;
  referenceVertex = 0;
  currentOpening = -1;
  SetColor(&kPlaneColour);
  changed = hasOwnedParts = needsRedraw = 1;
  hidden = edgeHandlesShown = 0;
  shown = 0;
  normalColour = RGBColor{50000, 20000, 50000};
}

void COrientationDefiner::BuildGeometry(const std::vector<Vector3d>& points, const std::vector<EdgeRecord>& edgeList,
                                        const std::vector<std::vector<SInt16>>& loops) {
  SetArrayPointers();
  for (std::size_t i = 0; i < points.size(); ++i) vertices[i] = points[i];
  for (std::size_t i = 0; i < edgeList.size(); ++i) edges[i] = edgeList[i];
  vertexCount = SInt16(points.size());
  edgeCount = SInt16(edgeList.size());
  for (std::size_t i = 0; i < loops.size(); ++i) {
    Handle loop = boxlayout::NewLoopBlock(loops[i].data(), SInt16(loops[i].size()));
    SetArrayPointers();
    faces[i].loop = loop;
    faces[i].loopCount = SInt16(loops[i].size());
    faces[i].degenerate = 0;
    faceCount = SInt16(i + 1);
  }
  CalcFacePlanes();
}

void COrientationDefiner::TransformVertices(const Matrix4d* matrix) {
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) TransformPoint4x4(&vertices[i], matrix, &vertices[i]);
  changed = 1;
}

void COrientationDefiner::SetFrame(const Matrix4d* planeToWorld) {
  SetArrayPointers();
  if (vertexCount < 4) return;
  for (SInt16 i = 0; i < 4; ++i) vertices[i] = Vector3d{};
  VectorComponent(vertices[1], AxisRole(gAxisY)) = kAxisLength;
  VectorComponent(vertices[2], AxisRole(gAxisX)) = kAxisLength;
  VectorComponent(vertices[3], AxisRole(gAxisZ)) = kAxisLength;
  TransformVertices(planeToWorld);
}

void COrientationDefiner::Show(Boolean flag) {
  shown = flag ? 1 : 0;
  MarkChanged();
}

Boolean COrientationDefiner::FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16*,
                                        Boolean checkModel, VLViewTransform*) {
  *handle = FindVertexHandle(modelPoint, panePoint, checkModel);
  return *handle > 0;
}

void COrientationDefiner::Deselect() {
  VLObjectOwner::Deselect();
  if (!shown) return;
  shown = 0;
  MarkChanged();
}

void COrientationDefiner::DrawClippedEdges(VLViewTransform* view) { DrawAxes(view); }

void COrientationDefiner::DrawCachedEdges(VLViewTransform*, Rect*) {
  if (projectedVisible) DrawAxes(nullptr);
}

void COrientationDefiner::DrawAxes(VLViewTransform* view) {
  PortPenSize(2, 2);
  SetArrayPointers();
  PortRGBForeColor(&drawColor);
  const bool clipped = clippedEdges && !gTrackingDrawing;
  for (SInt16 e = 0; e < edgeCount && screenPoints; ++e) {
    const SInt16 a = edges[e].a, b = edges[e].b;
    if (a < 0 || a >= vertexCount || b < 0 || b >= vertexCount) continue;
    EdgeSegment segment{};
    if (clipped) {
      // Clipped afresh when a view is given, else the segment the last drawing kept.
      if (view) {
        Vector3d pa, pb;
        UInt8 visible = 0, keepA = 0, keepB = 0;
        view->ProjectViewSegment(&viewPoints[a], &viewPoints[b], &pa, &pb, &visible, &keepA, &keepB);
        edgeVisible[e] = visible;
        if (visible) {
          Point from{}, to{};
          PanePointFromProjected(&pa, &from);
          PanePointFromProjected(&pb, &to);
          edgeSegments[e] = EdgeSegment{from.h, from.v, to.h, to.v};
        }
      }
      if (!edgeVisible[e]) continue;
      segment = edgeSegments[e];
    } else {
      Point from, to;
      if (!PanePointFromProjected(&screenPoints[a], &from) || !PanePointFromProjected(&screenPoints[b], &to)) continue;
      segment = EdgeSegment{from.h, from.v, to.h, to.v};
    }
    if (e == edgeCount - 1) PortRGBForeColor(&normalColour);
    PortPenMove(segment.h1, segment.v1);
    PortPenLine(segment.h2, segment.v2);
  }
  PortForeColor(blackColor);
  PortPenSize(1, 1);
}
