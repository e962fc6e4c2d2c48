// The handle box: its box, corner drags, edge handles with their hinge, and drawing.
#include "CBoundingBox.h"

#include <cmath>

#include "BoxLayout.h"
#include "DrawingPlane.h"
#include "GeometryKernel.h"
#include "QuickDraw.h"
#include "Selection.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

// A grab hits an edge handle within this on every axis.
constexpr double kGrabReach = 1.0;
// An edge handle is hit less than this many pixels from its midpoint, both ways, and within
// the model reach on each axis when the model point counts.
constexpr double kPaneReach = 3.0;
constexpr double kModelReach = 5.0;

Vector3d Midpoint(const Vector3d& a, const Vector3d& b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2}; }

SInt16 Trunc(double v) { return SInt16(std::trunc(v)); }

// A 5 by 5 square around a pane point, as handles are drawn.
Rect HandleSquare(const Vector3d& p) {
  return Rect{Trunc(p.y - 2), Trunc(p.x - 2), Trunc(p.y + 3), Trunc(p.x + 3)};
}

}  // namespace

// ---- The box ----

void CBoundingBox::IBoundingBox(const double extent[6]) {
  typeCode = kObjectTypeBoundingBox;
  ReleaseFaceLoops(0, faceCount);
  faceCount = 0;
  boxlayout::BuildBox(this);
  SetBox(extent);
  needsRedraw = 1;
  edgeHandlesShown = 0;
  faceA = faceB = -1;
  activeFace = -1;
  referenceVertex = 0;
}

void CBoundingBox::SetBox(const double extent[6]) {
  SetArrayPointers();
  if (vertexCount < boxlayout::kCorners) return;
  boxlayout::CornersOfExtent({extent[0], extent[1], extent[2]}, {extent[3], extent[4], extent[5]}, vertices);
  for (SInt16 i = 0; i < boxlayout::kCorners; ++i) DrawingPlaneToWorld(&vertices[i], &vertices[i]);
}

void CBoundingBox::SetBoxWithTransformer(const double extent[6], CObjectTransformer* transformer) {
  SetFrame(transformer);
  SetArrayPointers();
  if (vertexCount < boxlayout::kCorners) return;
  boxlayout::CornersOfExtent({extent[0], extent[1], extent[2]}, {extent[3], extent[4], extent[5]}, vertices);
  if (frame)
    for (SInt16 i = 0; i < boxlayout::kCorners; ++i) frame->ToWorld(&vertices[i], &vertices[i]);
  CalcFacePlanes();
  OrientFaces();
}

SInt16 CBoundingBox::OppositeCorner(SInt16 corner) { return boxlayout::OppositeCorner(corner); }

// ---- Edge handles ----

void CBoundingBox::ChooseHandleFaces(const Vector3d* directionA, const Vector3d* directionB) {
  SetArrayPointers();
  const auto best = [&](const Vector3d& direction, SInt16 skip) {
    SInt16 chosen = -1;
    double most = -1.0;
    for (SInt16 f = 0; f < faceCount; ++f) {
      if (f == skip) continue;
      const Vector3d n{faces[f].a, faces[f].b, faces[f].c};
      const double along = VectorDot(&n, &direction);
      if (along > most) most = along, chosen = f;
    }
    return chosen;
  };
  faceA = best(*directionA, -1);
  faceB = best(*directionB, faceA);
  if (faceA >= 0 && boxlayout::OppositeFace(faceA) == faceB) edgeHandlesShown = 1;
}

bool CBoundingBox::EdgeShown(SInt16 a, SInt16 b) const {
  return !clippedEdges || (vertexUnclipped[a] && vertexUnclipped[b]);
}

bool CBoundingBox::GrabOnFace(SInt16 face, const Vector3d& point) {
  if (face < 0 || face >= faceCount) return false;
  const SInt16* loop = LoopEntries(faces[face]);
  const SInt16 n = faces[face].loopCount;
  for (SInt16 i = 0; loop && i < n; ++i) {
    const SInt16 a = loop[i], b = loop[(i + 1) % n];
    if (!EdgeShown(a, b)) continue;
    const Vector3d m = Midpoint(vertices[a], vertices[b]);
    if (std::fabs(m.x - point.x) <= kGrabReach && std::fabs(m.y - point.y) <= kGrabReach &&
        std::fabs(m.z - point.z) <= kGrabReach)
      return true;
  }
  return false;
}

Boolean CBoundingBox::GrabEdgeHandle(const Vector3d* modelPoint) {
  if (!edgeHandlesShown) return false;
  SetArrayPointers();
  activeFace = -1;
  if (GrabOnFace(faceA, *modelPoint))
    activeFace = 0;
  else if (GrabOnFace(faceB, *modelPoint))
    activeFace = 1;
  else
    return false;
  // The hinge: the active face's edge whose nearer end lies farthest from the grab.
  const SInt16 face = ActiveFaceNumber();
  double farthest = -1.0;
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const EdgeRecord edge = edges[e];
    if (!FaceHasVertex(face, edge.a) || !FaceHasVertex(face, edge.b)) continue;
    SetArrayPointers();
    const double da = VectorDistance(&vertices[edge.a], modelPoint), db = VectorDistance(&vertices[edge.b], modelPoint);
    const double nearer = std::min(da * da, db * db);
    if (nearer > farthest) {
      farthest = nearer;
      hingeStart = vertices[edge.a];
      hingeEnd = vertices[edge.b];
    }
  }
  return true;
}

Boolean CBoundingBox::EdgeDragPlane(SInt16 edge, const Vector3d* direction, SInt16* active, Vector3d* normal,
                                    double* offset, Vector3d* faceNormal) {
  const SInt16 face = ActiveFaceNumber();
  if (face < 0 || face >= faceCount) return false;
  SetArrayPointers();
  const Vector3d n{faces[face].a, faces[face].b, faces[face].c};
  if (VectorDot(direction, &n) == 0) return false;
  if (edge < 0 || edge >= edgeCount) return false;
  *active = activeFace;
  const Vector3d m = Midpoint(vertices[edges[edge].a], vertices[edges[edge].b]);
  Vector3d toStart, toEnd, across;
  VectorSubtract(&m, &hingeStart, &toStart);
  VectorSubtract(&m, &hingeEnd, &toEnd);
  VectorCross(&toStart, &toEnd, &across);
  VectorDivide(&across, VectorLength(&across), normal);
  *offset = -VectorDot(normal, &m);
  *faceNormal = n;
  return true;
}

SInt16 CBoundingBox::FindEdgeHandle(const Vector3d* modelPoint, Point panePoint, Boolean checkModel,
                                    VLViewTransform* view) {
  if (!edgeHandlesShown || !view) return -1;
  SetArrayPointers();
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const EdgeRecord edge = edges[e];
    if (clippedEdges && (!edgeVisible[e] || !vertexUnclipped[edge.a] || !vertexUnclipped[edge.b])) continue;
    const Vector3d m = Midpoint(vertices[edge.a], vertices[edge.b]);
    if (checkModel && (std::fabs(m.x - modelPoint->x) > kModelReach || std::fabs(m.y - modelPoint->y) > kModelReach ||
                       std::fabs(m.z - modelPoint->z) > kModelReach))
      continue;
    Vector3d pane;
    view->ProjectPoint(&m, &pane);
    SetArrayPointers();
    if (std::fabs(pane.x - panePoint.h) < kPaneReach && std::fabs(pane.y - panePoint.v) < kPaneReach) return e;
  }
  return -1;
}

Boolean CBoundingBox::FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused,
                                 Boolean checkModel, VLViewTransform* view) {
  *handle = FindVertexHandle(modelPoint, panePoint, checkModel);
  if (*handle >= 0) return true;
  const SInt16 edge = FindEdgeHandle(modelPoint, panePoint, checkModel, view);
  if (unused) *unused = edge;
  return edge >= 0;
}

// ---- Edits ----

void CBoundingBox::StretchToHandle(SInt16* corner, const Vector3d* point, VLViewTransform*, Boolean continuing) {
  SetArrayPointers();
  const SInt16 d = *corner;
  const SInt16 opposite = OppositeCorner(d);
  if (opposite < 0 || vertexCount < boxlayout::kCorners) return;
  if (!continuing) {
    Vector3d dragged;
    WorldToDrawingPlane(&vertices[opposite], &anchor);
    WorldToDrawingPlane(&vertices[d], &dragged);
    VectorSubtract(&dragged, &anchor, &stretchPoints[0]);
    return;
  }
  Vector3d target;
  WorldToDrawingPlane(point, &target);
  for (SInt16 i = 0; i < vertexCount; ++i) WorldToDrawingPlane(&vertices[i], &vertices[i]);
  Vector3d factors{1, 1, 1};
  for (int k = 0; k < 3; ++k) {
    const double extent = VectorComponent(stretchPoints[0], k);
    if (extent != 0) VectorComponent(factors, k) = (VectorComponent(target, k) - VectorComponent(anchor, k)) / extent;
  }
  VLObjectOwner::ScaleAbout(&anchor, &factors);
  SetArrayPointers();
  VectorSubtract(&vertices[d], &anchor, &stretchPoints[0]);
  needsRedraw = 1;
  for (SInt16 i = 0; i < vertexCount; ++i) DrawingPlaneToWorld(&vertices[i], &vertices[i]);
  CalcFacePlanes();
}

void CBoundingBox::MoveVertex(SInt16 vertex, const Vector3d* position, long unused) {
  changed = 1;
  VLObjectOwner::MoveVertex(vertex, position, unused);
  CalcFacePlanes();
}

void CBoundingBox::MoveEdge(SInt16 edge, Vector3d* offset, long unused) {
  const SInt16 face = ActiveFaceNumber();
  if (face < 0 || face >= faceCount) return;
  SetArrayPointers();
  const Vector3d n{faces[face].a, faces[face].b, faces[face].c};
  const double along = VectorDot(offset, &n);
  if (along == 0) return;
  Vector3d reduced;
  VectorScale(&n, along, &reduced);
  VLObjectOwner::MoveEdge(edge, &reduced, unused);
}

// ---- Drawing ----

void CBoundingBox::ProjectEdges(VLViewTransform* view, Boolean) {
  if (!view) return;
  SetArrayPointers();
  projectedVisible = 0;
  clippedEdges = 0;
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const EdgeRecord edge = edges[e];
    Vector3d p, q;
    UInt8 visible = 0, pSame = 0, qSame = 0;
    view->ProjectSegment(&vertices[edge.a], &vertices[edge.b], &p, &q, &visible, &pSame, &qSame);
    SetArrayPointers();
    edgeVisible[e] = visible;
    vertexUnclipped[edge.a] = pSame;
    vertexUnclipped[edge.b] = qSame;
    if (visible) {
      screenPoints[edge.a] = p;
      screenPoints[edge.b] = q;
      edgeSegments[e] = EdgeSegment{Trunc(p.x), Trunc(p.y), Trunc(q.x), Trunc(q.y)};
      projectedVisible = 1;
    }
    if (!pSame || !qSame) clippedEdges = 1;
  }
  if (needsRedraw) {
    CalcScreenBounds();
    needsRedraw = 0;
  }
}

void CBoundingBox::Draw(VLViewTransform* view, Rect*) {
  PortPenPattern(&qd.dkGray);
  ProjectEdges(view, true);
  SetArrayPointers();
  for (SInt16 e = 0; e < edgeCount; ++e) {
    if (!edgeVisible[e]) continue;
    PortPenMove(edgeSegments[e].h1, edgeSegments[e].v1);
    PortPenLine(edgeSegments[e].h2, edgeSegments[e].v2);
  }
  PortPenPattern(&qd.black);
  changed = 0;
}

void CBoundingBox::DrawHandles(VLViewTransform* view) {
  Draw(view, nullptr);
}

void CBoundingBox::DrawSelected(VLViewTransform* view) {
  if (!gInteractiveDrawing && !gTrackingDrawing && view) {
    SetArrayPointers();
    UInt8 behind = 0;
    view->ProjectPolygon(vertices, vertexCount, screenPoints, &behind, viewPoints, clippedEdges);
    SetArrayPointers();
    for (SInt16 i = 0; i < vertexCount; ++i) {
      if (clippedEdges && !vertexUnclipped[i]) continue;
      const Rect square = HandleSquare(screenPoints[i]);
      PortPaintRect(&square);
    }
    const bool oneSelected = gCurrentSelection && gCurrentSelection->GetNumItems() == 1;
    if (edgeHandlesShown && oneSelected) {
      for (SInt16 face : {faceA, faceB}) {
        if (face < 0 || face >= faceCount) continue;
        SetArrayPointers();
        const SInt16* loop = LoopEntries(faces[face]);
        const SInt16 n = faces[face].loopCount;
        for (SInt16 i = 0; loop && i < n; ++i) {
          const SInt16 a = loop[i], b = loop[(i + 1) % n];
          if (!EdgeShown(a, b)) continue;
          const Vector3d m = Midpoint(vertices[a], vertices[b]);
          Vector3d pane;
          view->ProjectPoint(&m, &pane);
          const Rect square = HandleSquare(pane);
          PortFrameRect(&square);
          SetArrayPointers();
          loop = LoopEntries(faces[face]);
        }
      }
    }
  }
  DrawHandles(view);
}
