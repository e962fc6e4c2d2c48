// Drawing a model object through a view into the current port: its projection, kept between
// draws so that an unchanged object in an unchanged view is drawn again without projecting, its
// wireframe, its pane rectangle and the handles of its selection.
#include <algorithm>
#include <cmath>

#include "CProgressDialog.h"
#include "Matrix4d.h"
#include "QuickDraw.h"
#include "Selection.h"
#include "VLUser3DObject.h"
#include "VLViewTransform.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"

namespace {

// A caller's rectangle whose left is this has not been set yet.
constexpr SInt16 kUnsetRectLeft = -9999;
// Start values of the searches for the smallest and greatest pane coordinates.
constexpr double kSmallestStart = 32767.0;
constexpr double kGreatestStart = 0.0;
constexpr double kProjectedGreatestStart = -32767.0;
// Margins of the pane rectangle around clipped segments and around vertices.
constexpr double kSegmentMargin = 4.0;
constexpr double kVertexMarginBefore = 2.0;
constexpr double kVertexMarginAfter = 3.0;
// A handle is a 5 by 5 square: from 2 before the point to 3 after it.
constexpr double kHandleBefore = 2.0;
constexpr double kHandleAfter = 3.0;

// The wireframe's pen colour while this lives; black again after.
class WirePen {
 public:
  explicit WirePen(const RGBColor& colour) { PortRGBForeColor(&colour); }
  ~WirePen() { PortForeColor(blackColor); }
  WirePen(const WirePen&) = delete;
  WirePen& operator=(const WirePen&) = delete;
};

bool ValidVertex(SInt16 vertex, SInt16 vertexCount) { return vertex >= 0 && vertex < vertexCount; }

// A pane value for a projected coordinate, truncated (clamped to the pane limit); zero when the
// coordinate cannot be shown.
SInt16 PaneValue(double value) {
  SInt16 out = 0;
  PaneCoordinate(value, &out);
  return out;
}

// A bound of a pane rectangle, truncated toward zero within the 16-bit range.
SInt16 BoundValue(double value) { return SInt16(std::trunc(std::clamp(value, -32768.0, 32767.0))); }

// The smallest and greatest pane coordinates of the screen points that can be shown (each
// clamped to the pane limit), the smallest starting at 32767 and the greatest at the value given.
struct PaneExtent {
  double left, top, right, bottom;
};
PaneExtent ScreenPointExtent(const VLUser3DObject& object, double greatestStart) {
  PaneExtent x{kSmallestStart, kSmallestStart, greatestStart, greatestStart};
  for (SInt16 i = 0; i < object.vertexCount; ++i) {
    const Vector3d& p = object.screenPoints[i];
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    const double h = ClampPaneCoordinate(p.x), v = ClampPaneCoordinate(p.y);
    x.left = std::fmin(x.left, h);
    x.top = std::fmin(x.top, v);
    x.right = std::fmax(x.right, h);
    x.bottom = std::fmax(x.bottom, v);
  }
  return x;
}

// The 5 by 5 handle square around a projected point; false when the point cannot be shown.
bool HandleRect(const Vector3d& p, Rect* r) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
  *r = Rect{PaneValue(p.y - kHandleBefore), PaneValue(p.x - kHandleBefore), PaneValue(p.y + kHandleAfter),
            PaneValue(p.x + kHandleAfter)};
  return true;
}

// An outlined handle at the projection of the midpoint of two vertices.
void FrameMidpointHandle(const VLViewTransform* view, const Vector3d& a, const Vector3d& b) {
  const Vector3d middle{(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5};
  Vector3d pane;
  view->ProjectPoint(&middle, &pane);
  Rect r;
  if (HandleRect(pane, &r)) PortFrameRect(&r);
}

// The edges as a chain through the screen points: the pen moves to an edge's first end only when
// the previous edge did not end there. Edges with an end that cannot be shown are left out.
void DrawEdgeChain(const VLUser3DObject& object) {
  bool penPlaced = false;
  Point last{};
  for (SInt16 e = 0; e < object.edgeCount; ++e) {
    const EdgeRecord& edge = object.edges[e];
    Point a, b;
    if (!ValidVertex(edge.a, object.vertexCount) || !ValidVertex(edge.b, object.vertexCount) ||
        !PanePointFromProjected(&object.screenPoints[edge.a], &a) ||
        !PanePointFromProjected(&object.screenPoints[edge.b], &b)) {
      penPlaced = false;
      continue;
    }
    if (!penPlaced || a.h != last.h || a.v != last.v) PortPenMove(a.h, a.v);
    PortPenLine(b.h, b.v);
    last = b;
    penPlaced = true;
  }
}

void DrawSegment(const EdgeSegment& segment) {
  PortPenMove(segment.h1, segment.v1);
  PortPenLine(segment.h2, segment.v2);
}

// Counts the object on the progress dialog's job of the display; false when the user stopped
// the job.
bool CountOnProgress() {
  if (!gShadedMode && !gHiddenLineMode) {
    if (gProgressDialog) gProgressDialog->StepWireframeObject();
    return gWireframeContinue != 0;
  }
  if (gProgressDialog) gProgressDialog->StepFaceSubmission();
  return gProgressContinue != 0;
}

}  // namespace

// ---- Drawing ----

void VLUser3DObject::Draw(VLViewTransform* view, Rect* updateRect) {
  if (!IsVisible()) return;
  if (!changed && !gInteractiveDrawing && gDirectDrawing && !gViewScrolled) {
    DrawCachedEdges(view, updateRect);
  } else {
    SetArrayPointers();
    // A stopped job leaves this object, and those after it, undrawn and still changed.
    if (!gTrackingDrawing && !CountOnProgress()) return;
    if (gViewScrolled && projectedVisible) {
      view->ProjectPoints(vertexCount, screenPoints, viewPoints);
    } else {
      // Also after a scroll when the object lay outside the view: scrolling may bring it in.
      projectedVisible = view->ProjectPolygon(vertices, vertexCount, screenPoints, &clippedEdges, viewPoints,
                                              gTrackingDrawing ? 0 : 1);
    }
    if (projectedVisible) {
      if (openings) {
        for (long i = 1; i <= openings->GetNumItems(); ++i) {
          auto* opening = static_cast<VLUser3DObject*>(openings->PointerAt(i));
          if (!opening) continue;
          // While the view is dragged the openings wait, marked to project at the next draw.
          if (gInteractiveDrawing)
            opening->MarkChanged();
          else
            opening->Draw(view, updateRect);
        }
        SetArrayPointers();
      }
      if (gDirectDrawing)
        DrawClippedEdges(view);
      else
        DrawHidden(view);
    }
  }
  if (needsRedraw || gViewScrolled) {
    CalcScreenBounds();
    needsRedraw = 0;
  }
  if (tracking && updateRect) {
    Rect bounds;
    if (GetScreenBounds(&bounds)) {
      if (updateRect->left == kUnsetRectLeft)
        *updateRect = bounds;
      else
        PortUnionRect(updateRect, &bounds, updateRect);
    }
  }
  changed = 0;
}

void VLUser3DObject::DrawClippedEdges(VLViewTransform* view) {
  WirePen pen(drawColor);
  SetArrayPointers();
  if (!edges || !screenPoints) return;
  if (!clippedEdges || gTrackingDrawing) {
    DrawEdgeChain(*this);
    return;
  }
  // Only the ends of this projection's visible edges count as unclipped: a flag left from an
  // earlier view would put a handle where the vertex no longer is.
  for (SInt16 v = 0; v < vertexCount; ++v) vertexUnclipped[v] = 0;
  for (SInt16 e = 0; e < edgeCount; ++e) {
    const SInt16 a = edges[e].a, b = edges[e].b;
    edgeVisible[e] = 0;
    if (!ValidVertex(a, vertexCount) || !ValidVertex(b, vertexCount)) continue;
    UInt8 visible = 0;
    view->ProjectViewSegment(&viewPoints[a], &viewPoints[b], &screenPoints[a], &screenPoints[b], &visible,
                             &vertexUnclipped[a], &vertexUnclipped[b]);
    edgeVisible[e] = visible;
    if (!visible) continue;
    EdgeSegment& segment = edgeSegments[e];
    segment = EdgeSegment{PaneValue(screenPoints[a].x), PaneValue(screenPoints[a].y), PaneValue(screenPoints[b].x),
                          PaneValue(screenPoints[b].y)};
    DrawSegment(segment);
  }
}

void VLUser3DObject::DrawCachedEdges(VLViewTransform* view, Rect* rect) {
  if (!projectedVisible) return;
  WirePen pen(drawColor);
  SetArrayPointers();
  if (!edges || !screenPoints) return;
  if (!clippedEdges) {
    DrawEdgeChain(*this);
    return;
  }
  for (SInt16 e = 0; e < edgeCount; ++e)
    if (edgeVisible[e]) DrawSegment(edgeSegments[e]);
}

// ---- Pane rectangles ----

void VLUser3DObject::CalcScreenBounds() {
  SetArrayPointers();
  if (!projectedVisible) {
    screenBounds = Rect{0, 0, 0, 0};
    return;
  }
  if (clippedEdges && edgeCount > 0) {
    double left = kSmallestStart, top = kSmallestStart, right = kGreatestStart, bottom = kGreatestStart;
    for (SInt16 e = 0; e < edgeCount; ++e) {
      if (!edgeVisible[e]) continue;
      const EdgeSegment& s = edgeSegments[e];
      left = std::fmin(left, std::fmin(s.h1, s.h2));
      top = std::fmin(top, std::fmin(s.v1, s.v2));
      right = std::fmax(right, std::fmax(s.h1, s.h2));
      bottom = std::fmax(bottom, std::fmax(s.v1, s.v2));
    }
    screenBounds = Rect{BoundValue(top - kSegmentMargin), BoundValue(left - kSegmentMargin),
                        BoundValue(bottom + kSegmentMargin), BoundValue(right + kSegmentMargin)};
    return;
  }
  const PaneExtent x = ScreenPointExtent(*this, kGreatestStart);
  screenBounds = Rect{BoundValue(x.top - kVertexMarginBefore), BoundValue(x.left - kVertexMarginBefore),
                      BoundValue(x.bottom + kVertexMarginAfter), BoundValue(x.right + kVertexMarginAfter)};
}

Boolean VLUser3DObject::GetScreenBounds(Rect* out) {
  if (!IsVisible()) return false;
  *out = screenBounds;
  return true;
}

void VLUser3DObject::AddScreenBounds(Rect* rect) {
  if (rect->top == 0 && rect->left == 0 && rect->bottom == 0 && rect->right == 0)
    *rect = screenBounds;
  else
    PortUnionRect(rect, &screenBounds, rect);
}

Rect* VLUser3DObject::GetProjectedBounds(Rect* out) {
  SetArrayPointers();
  const PaneExtent x = ScreenPointExtent(*this, kProjectedGreatestStart);
  *out = Rect{BoundValue(x.top), BoundValue(x.left), BoundValue(x.bottom), BoundValue(x.right)};
  return out;
}

void VLUser3DObject::ProjectVertices(VLViewTransform* transform) {
  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) TransformPoint3x4(&transform->viewMatrix, &vertices[i], &screenPoints[i]);
}

// ---- Selection handles ----

void VLUser3DObject::DrawSelected(VLViewTransform* view) {
  if (!projectedVisible || tracking || (clippedEdges && !gDirectDrawing)) return;
  SetArrayPointers();
  if (!vertices) return;
  UInt8 clipped = 0;
  if (!view->ProjectPolygon(vertices, vertexCount, screenPoints, &clipped, viewPoints, 1)) return;
  auto shown = [&](SInt16 vertex) { return ValidVertex(vertex, vertexCount) && (!clipped || vertexUnclipped[vertex]); };
  auto paintHandle = [&](SInt16 vertex) {
    Rect r;
    if (shown(vertex) && HandleRect(screenPoints[vertex], &r)) PortPaintRect(&r);
  };
  const bool single = gCurrentSelection && gCurrentSelection->GetNumItems() == 1;

  if (!faceMode) {
    for (SInt16 v = 0; v < vertexCount; ++v) {
      // The reference vertex is grey while the info palette shows the object's position.
      const bool grey = gObjectInfoBox && v == referenceVertex;
      if (grey) PortPenPattern(&qd.gray);
      paintHandle(v);
      if (grey) PortPenPattern(&qd.black);
    }
  } else if (currentFace >= 0 && currentFace < faceCount) {
    const FaceRecord& face = faces[currentFace];
    const SInt16* loop = LoopEntries(face);
    for (SInt16 k = 0; loop && k < face.loopCount; ++k) {
      paintHandle(loop[k]);
      const SInt16 a = loop[k], b = loop[(k + 1) % face.loopCount];
      if (single && ValidVertex(a, vertexCount) && ValidVertex(b, vertexCount) &&
          (!clipped || (vertexUnclipped[a] && vertexUnclipped[b])))
        FrameMidpointHandle(view, vertices[a], vertices[b]);
    }
  }

  if (edgeHandlesShown && single && !faceMode && (!gTrackingDrawing || gHandleDrag)) {
    for (SInt16 e = 0; e < edgeCount; ++e) {
      const SInt16 a = edges[e].a, b = edges[e].b;
      if (!ValidVertex(a, vertexCount) || !ValidVertex(b, vertexCount)) continue;
      if (!clipped || (edgeVisible[e] && vertexUnclipped[a] && vertexUnclipped[b]))
        FrameMidpointHandle(view, vertices[a], vertices[b]);
    }
  }
}
