// The colour of a record, painting records and their overlays.
#include <memory>
#include <new>
#include <vector>

#include "DETException.h"
#include "VLArray.h"
#include "VLDepthBuffer.h"
#include "ViewConventions.h"
#include "ViewDrawingFlags.h"

namespace {

const RGBColor kEdgeColour{1, 1, 1};

// A shade outside -1..1 (a normal that is not of unit length) could take a component out of
// its range: it is held there.
UInt16 Scaled(UInt16 component, double factor) {
  const double value = component * factor;
  return value >= 65535.0 ? 65535 : value > 0.0 ? UInt16(value) : 0;
}

RGBColor ScaledColour(const RGBColor& colour, double factor) {
  return {Scaled(colour.red, factor), Scaled(colour.green, factor), Scaled(colour.blue, factor)};
}

// Pane values of a point, rounded (trunc(x + 0.5)) for fills or truncated for edges; false for a
// coordinate that is not finite.
bool PanePoint(const Vector3d& p, double bias, SInt16* h, SInt16* v) {
  return PaneCoordinate(p.x + bias, h) && PaneCoordinate(p.y + bias, v);
}

// Fills the closed polygon through the points with the pattern; nothing when a coordinate is
// not finite.
void FillPolygon(const Vector3d* points, long count, PixPatHandle pattern) {
  if (count < 1) return;
  SInt16 h = 0;
  SInt16 v = 0;
  for (long i = 0; i < count; ++i)
    if (!PanePoint(points[i], 0.5, &h, &v)) return;
  PolyHandle polygon = PortOpenPolygon();
  PanePoint(points[0], 0.5, &h, &v);
  PortPenMove(h, v);
  const SInt16 firstH = h;
  const SInt16 firstV = v;
  for (long i = 1; i < count; ++i) {
    PanePoint(points[i], 0.5, &h, &v);
    PortPenLine(h, v);
  }
  PortPenLine(firstH, firstV);
  PortClosePolygon();
  PortFillCPolygon(polygon, pattern);
  PortFreePolygon(polygon);
}

struct ArrayDisposer {
  void operator()(VLArray* array) const { array->Dispose(); }
};

// One side of the port rectangle for the clipper: the coordinate it bounds (0 h, 1 v), its
// bound, and whether inside is at or above the bound.
struct PortSide {
  int axis;
  double bound;
  bool inside_above;
  bool Inside(const Vector3d& p) const {
    const double c = axis == 0 ? p.x : p.y;
    return inside_above ? c >= bound : c <= bound;
  }
  // The crossing of the side by the segment from inside to outside, computed from the inside end.
  Vector3d Crossing(const Vector3d& in, const Vector3d& out) const {
    Vector3d x = in;
    if (axis == 0) {
      x.y = in.y + (out.y - in.y) * (bound - in.x) / (out.x - in.x);
      x.x = bound;
    } else {
      x.x = in.x + (out.x - in.x) * (bound - in.y) / (out.y - in.y);
      x.y = bound;
    }
    return x;
  }
};

}  // namespace

RGBColor VLDepthBuffer::FaceColour(const RGBColor& colour, double c) const {
  if (!gShadedMode) return c == kShadeBlack ? RGBColor{0, 0, 0} : RGBColor{65535, 65535, 65535};
  if (c > 0.0) return ScaledColour(colour, shadowPass ? 0.5 + 0.35 * c : 0.4 + 0.6 * c);
  if (c >= -1.0) return ScaledColour(colour, 0.4 + 0.1 * c);
  return {0, 0, 0};
}

RGBColor VLDepthBuffer::OverlayColour(const RGBColor& colour, double c) {
  return ScaledColour(colour, c > 0.0 ? 0.6 + 0.4 * c : 0.6 + 0.1 * c);
}

void VLDepthBuffer::ShadeFace(DepthPolygonHandle record) {
  if (!record || !fillPattern) return;
  if ((*record)->points && (*record)->pointCount > 0 && !gTrackingDrawing) {
    const RGBColor fill = FaceColour((*record)->colour, (*record)->shade);
    PortMakeRGBPat(fillPattern, &fill);
    RgnHandle outline = (*record)->outline;
    if (outline && !PortEmptyRegion(outline) && !gPrintingView && !gScaledDrawing) {
      PortFillCRegion(outline, fillPattern);
    } else {
      std::unique_ptr<VLArray, ArrayDisposer> clipped(ClipToPortRect(*record));
      std::vector<Vector3d> points(std::size_t(clipped->GetNumItems()));
      for (long i = 0; i < clipped->GetNumItems(); ++i) clipped->GetItem(&points[std::size_t(i)], i + 1);
      FillPolygon(points.data(), long(points.size()), fillPattern);
    }
  }
  ShadeFaceAlternate(record);

  PortRGBForeColor(&kEdgeColour);
  DepthPolygon* r = *record;
  if (!r->edges || !r->points) return;
  const Vector3d* points = RecordPoints(r);
  const DepthEdge* edges = RecordEdges(r);
  for (SInt16 i = 0; i < r->edgeCount; ++i) {
    const DepthEdge& e = edges[i];
    if (e.from < 0 || e.from >= r->pointCount || e.to < 0 || e.to >= r->pointCount) continue;
    SInt16 h1 = 0, v1 = 0, h2 = 0, v2 = 0;
    if (!PanePoint(points[e.from], 0.0, &h1, &v1) || !PanePoint(points[e.to], 0.0, &h2, &v2)) continue;
    PortPenMove(h1, v1);
    PortPenLine(h2, v2);
  }
}

void VLDepthBuffer::ShadeFaceAlternate(DepthPolygonHandle record) {
  if (!record || !fillPattern) return;
  for (Handle node = (*record)->overlays; node; node = OverlayHeader(node)->next) {
    const RGBColor fill = OverlayColour((*record)->colour, OverlayHeader(node)->shade);
    PortMakeRGBPat(fillPattern, &fill);
    FillPolygon(OverlayPoints(node), OverlayHeader(node)->pointCount, fillPattern);
  }
}

VLArray* VLDepthBuffer::ClipToPortRect(DepthPolygon* record) {
  const Rect& port = PortCurrentPort()->portRect;
  const PortSide sides[4] = {
      {0, double(port.left), true}, {1, double(port.top), true}, {0, double(port.right), false},
      {1, double(port.bottom), false}};
  std::vector<Vector3d> input;
  if (record->points && record->pointCount > 0)
    input.assign(RecordPoints(record), RecordPoints(record) + record->pointCount);
  std::vector<Vector3d> output;
  for (const PortSide& side : sides) {
    output.clear();
    if (input.empty()) break;
    Vector3d s = input.back();
    for (const Vector3d& p : input) {
      if (side.Inside(p)) {
        if (!side.Inside(s)) output.push_back(side.Crossing(p, s));
        output.push_back(p);
      } else if (side.Inside(s)) {
        output.push_back(side.Crossing(s, p));
      }
      s = p;
    }
    input.swap(output);
  }

  std::unique_ptr<VLArray, ArrayDisposer> result(new (std::nothrow) VLArray(long(sizeof(Vector3d))));
  ThrowIfNil(result.get());
  if (!input.empty()) {
    result->SetBlockSize(SInt16(input.size() < 32767 ? input.size() : 32767));
    for (const Vector3d& p : input) result->Append(&p);
  }
  return result.release();
}
