// Lines, rectangles, rounded rectangles, ovals, arcs, polygons and regions: the standard drawing
// procedures, the calls that reach them through a port's procedure record, and the recording
// of polygons and regions.
#include <algorithm>
#include <cstring>

#include "Memory.h"
#include "QDInternal.h"

using namespace qdimpl;

namespace {

enum class Kind { Rect, RRect, Oval, Arc };

struct Shape {
  Kind kind;
  Rect r;
  SInt16 a = 0;  // oval width or start angle
  SInt16 b = 0;  // oval height or arc angle
};

void Interior(const Shape& s, const Rect& r, SInt32 ow, SInt32 oh, SInt32 yMin, SInt32 yMax, SpanList& out) {
  switch (s.kind) {
    case Kind::Rect: RectSpans(r, yMin, yMax, out); break;
    case Kind::RRect: RoundRectSpans(r, ow, oh, yMin, yMax, out); break;
    case Kind::Oval:
    case Kind::Arc: OvalSpans(r, yMin, yMax, out); break;
  }
}

// The pixels of the shape (frame: the band of pen width just inside its outline).
void ShapeSpans(const Shape& s, bool frame, Point pen, SInt32 yMin, SInt32 yMax, SpanList& out) {
  SpanList& outer = ScratchSpans(0);
  outer.clear();
  Interior(s, s.r, s.a, s.b, yMin, yMax, outer);
  if (frame) {
    Rect inner = s.r;
    PortInsetRect(&inner, pen.h, pen.v);
    if (inner.left < inner.right && inner.top < inner.bottom) {
      SpanList& in = ScratchSpans(1);
      in.clear();
      Interior(s, inner, s.a - 2 * pen.h, s.b - 2 * pen.v, yMin, yMax, in);
      SubtractSpans(outer, in, out);
    } else {
      out.insert(out.end(), outer.begin(), outer.end());
    }
  } else {
    out.insert(out.end(), outer.begin(), outer.end());
  }
  if (s.kind == Kind::Arc) ClipSpansToWedge(out, s.r, s.a, s.b);
}

Ink InkFor(GrafPort* port, GrafVerb verb) {
  switch (verb) {
    case kFrameVerb:
    case kPaintVerb: return PenInk(port);
    case kEraseVerb: return EraseInk(port);
    case kInvertVerb: return InvertInk(port);
    default: {
      PortPrivate* pv = Priv(port);
      return pv->fillColorActive ? ColorFillInk(port, pv->fillColor) : FillInk(port, port->fillPat);
    }
  }
}

bool PenHidden(GrafPort* port, GrafVerb verb) {
  if (verb != kFrameVerb && verb != kPaintVerb) return false;
  if (port->pnVis < 0) return true;
  return verb == kFrameVerb && (port->pnSize.h <= 0 || port->pnSize.v <= 0);
}

// Framed outlines that go into a region being recorded are not recorded into a picture.
bool Recording(GrafPort* port, GrafVerb verb) { return !(verb == kFrameVerb && Priv(port)->regionOpen); }

void DrawShape(GrafPort* port, GrafVerb verb, const Shape& s) {
  PortPrivate* pv = Priv(port);
  if (verb == kFrameVerb && pv->regionOpen) {
    SpanList& full = ScratchSpans(2);
    full.clear();
    ShapeSpans(s, false, Point{}, s.r.top, s.r.bottom, full);
    RegionRecordShape(port, full);
  }
  if (PenHidden(port, verb) || !port->portPixMap.baseAddr) return;
  SInt32 yMin, yMax;
  ClipRows(port, &yMin, &yMax);
  SpanList& spans = ScratchSpans(2);
  spans.clear();
  ShapeSpans(s, verb == kFrameVerb, port->pnSize, yMin, yMax, spans);
  DrawSpans(port, spans, InkFor(port, verb));
}

// Sorts spans by row and x and merges overlapping or touching ones.
void NormaliseSpans(SpanList& spans) {
  std::sort(spans.begin(), spans.end(),
            [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
  std::size_t w = 0;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (w > 0 && spans[w - 1].y == spans[i].y && spans[w - 1].x1 >= spans[i].x0) {
      spans[w - 1].x1 = std::max(spans[w - 1].x1, spans[i].x1);
    } else {
      spans[w++] = spans[i];
    }
  }
  spans.resize(w);
}

// The points of a polygon block, checked against the block's real size.
void PolyPoints(PolyHandle poly, std::vector<Point>& pts) {
  pts.clear();
  if (!poly || !*poly) return;
  Size hs = PortHandleSize(reinterpret_cast<Handle>(poly));
  if (hs < 10) return;
  const char* p = reinterpret_cast<const char*>(*poly);
  SInt16 size;
  std::memcpy(&size, p, 2);
  if (size < 10) return;
  Size n = std::min<Size>((size - 10) / 4, (hs - 10) / 4);
  pts.resize(std::size_t(n));
  for (Size i = 0; i < n; ++i) std::memcpy(&pts[std::size_t(i)], p + 10 + 4 * i, 4);
}

void PolySegments(const std::vector<Point>& pts, std::vector<Segment>& segs) {
  segs.clear();
  if (pts.size() < 2) return;
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) segs.push_back(Segment{pts[i].h, pts[i].v, pts[i + 1].h, pts[i + 1].v});
  if (!(pts.front() == pts.back())) segs.push_back(Segment{pts.back().h, pts.back().v, pts.front().h, pts.front().v});
}

std::vector<Point>& PointScratch() {
  static std::vector<Point> v;
  return v;
}

std::vector<Segment>& SegmentScratch() {
  static std::vector<Segment> v;
  return v;
}

// Dispatch through the current port's procedure record.
const QDProcs* Procs() { return Current()->grafProcs; }

void CallRect(GrafVerb verb, const Rect* r) {
  if (!r) return;
  if (Procs() && Procs()->rectProc) Procs()->rectProc(verb, r);
  else PortStdRect(verb, r);
}
void CallRRect(GrafVerb verb, const Rect* r, SInt16 ow, SInt16 oh) {
  if (!r) return;
  if (Procs() && Procs()->rRectProc) Procs()->rRectProc(verb, r, ow, oh);
  else PortStdRRect(verb, r, ow, oh);
}
void CallOval(GrafVerb verb, const Rect* r) {
  if (!r) return;
  if (Procs() && Procs()->ovalProc) Procs()->ovalProc(verb, r);
  else PortStdOval(verb, r);
}
void CallArc(GrafVerb verb, const Rect* r, SInt16 start, SInt16 arc) {
  if (!r) return;
  if (Procs() && Procs()->arcProc) Procs()->arcProc(verb, r, start, arc);
  else PortStdArc(verb, r, start, arc);
}
void CallPoly(GrafVerb verb, PolyHandle poly) {
  if (!poly) return;
  if (Procs() && Procs()->polyProc) Procs()->polyProc(verb, poly);
  else PortStdPoly(verb, poly);
}
void CallRgn(GrafVerb verb, RgnHandle rgn) {
  if (!rgn) return;
  if (Procs() && Procs()->rgnProc) Procs()->rgnProc(verb, rgn);
  else PortStdRgn(verb, rgn);
}

// Runs a fill with a colour pattern (solid colour or its black-and-white pattern).
template <class F>
void WithColorFill(PixPatHandle pp, F call) {
  if (!pp || !*pp) return;
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if ((*pp)->patType == 0) {
    port->fillPat = (*pp)->pat1Data;
    call();
    return;
  }
  pv->fillColorActive = true;
  pv->fillColor = (*pp)->rgb;
  call();
  pv->fillColorActive = false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Recording of regions

namespace qdimpl {

void RegionRecordLine(GrafPort* port, Point from, Point to) {
  PortPrivate* pv = Priv(port);
  if (!pv->rgnHaveStart || !(from == pv->rgnLast)) {
    // A new outline starts: close the one before it.
    if (pv->rgnHaveStart && !(pv->rgnLast == pv->rgnSubpathStart)) {
      pv->rgnSegments.push_back(Segment{pv->rgnLast.h, pv->rgnLast.v, pv->rgnSubpathStart.h, pv->rgnSubpathStart.v});
    }
    pv->rgnSubpathStart = from;
    pv->rgnHaveStart = true;
  }
  pv->rgnSegments.push_back(Segment{from.h, from.v, to.h, to.v});
  pv->rgnLast = to;
}

void RegionRecordShape(GrafPort* port, const SpanList& shapeInterior) {
  PortPrivate* pv = Priv(port);
  Region shape;
  RegionFromSpans(shape, shapeInterior.data(), shapeInterior.size());
  RegionCombine(pv->rgnShapes, shape, pv->rgnShapes, RegionOp::Xor);
}

void RegionRecordSegments(GrafPort* port, const std::vector<Segment>& segs) {
  PortPrivate* pv = Priv(port);
  pv->rgnSegments.insert(pv->rgnSegments.end(), segs.begin(), segs.end());
}

}  // namespace qdimpl

void PortBeginRegion() {
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if (!pv->regionOpen) PortHidePen();
  pv->regionOpen = true;
  pv->rgnSegments.clear();
  pv->rgnHaveStart = false;
  RegionSetEmpty(pv->rgnShapes);
}

void PortEndRegion(RgnHandle dst) {
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if (!pv->regionOpen) {
    PortSetEmptyRegion(dst);
    return;
  }
  pv->regionOpen = false;
  PortShowPen();
  if (pv->rgnHaveStart && !(pv->rgnLast == pv->rgnSubpathStart)) {
    pv->rgnSegments.push_back(Segment{pv->rgnLast.h, pv->rgnLast.v, pv->rgnSubpathStart.h, pv->rgnSubpathStart.v});
  }
  SInt32 top = kMaxCoord, bottom = kMinCoord;
  for (const Segment& s : pv->rgnSegments) {
    top = std::min({top, s.y0, s.y1});
    bottom = std::max({bottom, s.y0, s.y1});
  }
  SpanList& spans = ScratchSpans(4);
  spans.clear();
  ScanSegments(pv->rgnSegments.data(), pv->rgnSegments.size(), top, bottom, spans);
  Region outline;
  RegionFromSpans(outline, spans.data(), spans.size());
  RegionCombine(outline, pv->rgnShapes, outline, RegionOp::Xor);
  pv->rgnSegments.clear();
  RegionSetEmpty(pv->rgnShapes);
  if (dst) RegionCopy(outline, **dst);
}

// ---------------------------------------------------------------------------------------------
// The standard procedures

void PortStdLine(Point newPt) {
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  Point from = port->pnLoc;
  // Lines that build a polygon or a region are not drawing of their own.
  if (!pv->openPoly && !pv->regionOpen) PicRecordLine(port, from, newPt);
  if (pv->openPoly) {
    if (pv->polyPoints.empty()) pv->polyPoints.push_back(from);
    pv->polyPoints.push_back(newPt);
  }
  if (pv->regionOpen) RegionRecordLine(port, from, newPt);
  if (port->pnVis < 0 || !port->portPixMap.baseAddr) return;
  SInt32 yMin, yMax;
  ClipRows(port, &yMin, &yMax);
  SpanList& spans = ScratchSpans(2);
  spans.clear();
  LineSpans(from.h, from.v, newPt.h, newPt.v, port->pnSize.h, port->pnSize.v, yMin, yMax, spans);
  DrawSpans(port, spans, PenInk(port));
}

void PortStdRect(GrafVerb verb, const Rect* r) {
  if (!r) return;
  GrafPort* port = Current();
  if (Recording(port, verb)) PicRecordRect(port, verb, *r);
  DrawShape(port, verb, Shape{Kind::Rect, *r});
}

void PortStdRRect(GrafVerb verb, const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight) {
  if (!r) return;
  GrafPort* port = Current();
  if (Recording(port, verb)) PicRecordRRect(port, verb, *r, ovalWidth, ovalHeight);
  DrawShape(port, verb, Shape{Kind::RRect, *r, ovalWidth, ovalHeight});
}

void PortStdOval(GrafVerb verb, const Rect* r) {
  if (!r) return;
  GrafPort* port = Current();
  if (Recording(port, verb)) PicRecordOval(port, verb, *r);
  DrawShape(port, verb, Shape{Kind::Oval, *r});
}

void PortStdArc(GrafVerb verb, const Rect* r, SInt16 startAngle, SInt16 arcAngle) {
  if (!r) return;
  GrafPort* port = Current();
  if (Recording(port, verb)) PicRecordArc(port, verb, *r, startAngle, arcAngle);
  DrawShape(port, verb, Shape{Kind::Arc, *r, startAngle, arcAngle});
}

void PortStdPoly(GrafVerb verb, PolyHandle poly) {
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if (Recording(port, verb)) PicRecordPoly(port, verb, poly);
  std::vector<Point>& pts = PointScratch();
  PolyPoints(poly, pts);
  std::vector<Segment>& segs = SegmentScratch();
  PolySegments(pts, segs);
  if (verb == kFrameVerb && pv->regionOpen) RegionRecordSegments(port, segs);
  if (PenHidden(port, verb) || !port->portPixMap.baseAddr || pts.empty()) return;
  SInt32 yMin, yMax;
  ClipRows(port, &yMin, &yMax);
  SpanList& spans = ScratchSpans(2);
  spans.clear();
  if (verb == kFrameVerb) {
    // The lines as drawn, joined so that shared corners are drawn once.
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
      LineSpans(pts[i].h, pts[i].v, pts[i + 1].h, pts[i + 1].v, port->pnSize.h, port->pnSize.v, yMin, yMax, spans);
    }
    if (pts.size() == 1) LineSpans(pts[0].h, pts[0].v, pts[0].h, pts[0].v, port->pnSize.h, port->pnSize.v, yMin, yMax, spans);
    NormaliseSpans(spans);
  } else {
    ScanSegments(segs.data(), segs.size(), yMin, yMax, spans);
  }
  DrawSpans(port, spans, InkFor(port, verb));
}

void PortStdRgn(GrafVerb verb, RgnHandle rgn) {
  if (!rgn || !*rgn) return;
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if (Recording(port, verb)) PicRecordRgn(port, verb, rgn);
  if (verb == kFrameVerb && pv->regionOpen) RegionCombine(pv->rgnShapes, **rgn, pv->rgnShapes, RegionOp::Xor);
  if (PenHidden(port, verb) || !port->portPixMap.baseAddr) return;
  SInt32 yMin, yMax;
  ClipRows(port, &yMin, &yMax);
  SpanList& spans = ScratchSpans(2);
  spans.clear();
  if (verb == kFrameVerb) {
    Region inner;
    RegionCopy(**rgn, inner);
    RegionInset(inner, port->pnSize.h, port->pnSize.v);
    Region band;
    RegionCombine(**rgn, inner, band, RegionOp::Diff);
    RegionToSpans(band, spans, yMin, yMax);
  } else {
    RegionToSpans(**rgn, spans, yMin, yMax);
  }
  DrawSpans(port, spans, InkFor(port, verb));
}

// ---------------------------------------------------------------------------------------------
// Pen movement and lines

void PortPenMove(SInt16 h, SInt16 v) { Current()->pnLoc = Point{v, h}; }

void PortMove(SInt16 dh, SInt16 dv) {
  GrafPort* port = Current();
  port->pnLoc = Point{Clamp16(port->pnLoc.v + dv), Clamp16(port->pnLoc.h + dh)};
}

void PortPenLine(SInt16 h, SInt16 v) {
  Point np{v, h};
  if (Procs() && Procs()->lineProc) Procs()->lineProc(np);
  else PortStdLine(np);
  Current()->pnLoc = np;
}

void PortLine(SInt16 dh, SInt16 dv) {
  GrafPort* port = Current();
  PortPenLine(Clamp16(port->pnLoc.h + dh), Clamp16(port->pnLoc.v + dv));
}

// ---------------------------------------------------------------------------------------------
// Shapes

void PortFrameRect(const Rect* r) { CallRect(kFrameVerb, r); }
void PortPaintRect(const Rect* r) { CallRect(kPaintVerb, r); }
void PortEraseRect(const Rect* r) { CallRect(kEraseVerb, r); }
void PortInvertRect(const Rect* r) { CallRect(kInvertVerb, r); }
void PortFillRect(const Rect* r, const Pattern* pat) {
  if (!pat) return;
  Current()->fillPat = *pat;
  CallRect(kFillVerb, r);
}
void PortFillCRect(const Rect* r, PixPatHandle pp) {
  WithColorFill(pp, [&] { CallRect(kFillVerb, r); });
}

void PortFrameRoundRect(const Rect* r, SInt16 ow, SInt16 oh) { CallRRect(kFrameVerb, r, ow, oh); }
void PortPaintRoundRect(const Rect* r, SInt16 ow, SInt16 oh) { CallRRect(kPaintVerb, r, ow, oh); }
void PortEraseRoundRect(const Rect* r, SInt16 ow, SInt16 oh) { CallRRect(kEraseVerb, r, ow, oh); }
void PortInvertRoundRect(const Rect* r, SInt16 ow, SInt16 oh) { CallRRect(kInvertVerb, r, ow, oh); }
void PortFillRoundRect(const Rect* r, SInt16 ow, SInt16 oh, const Pattern* pat) {
  if (!pat) return;
  Current()->fillPat = *pat;
  CallRRect(kFillVerb, r, ow, oh);
}

void PortFrameOval(const Rect* r) { CallOval(kFrameVerb, r); }
void PortPaintOval(const Rect* r) { CallOval(kPaintVerb, r); }
void PortEraseOval(const Rect* r) { CallOval(kEraseVerb, r); }
void PortInvertOval(const Rect* r) { CallOval(kInvertVerb, r); }
void PortFillOval(const Rect* r, const Pattern* pat) {
  if (!pat) return;
  Current()->fillPat = *pat;
  CallOval(kFillVerb, r);
}

void PortFrameArc(const Rect* r, SInt16 s, SInt16 a) { CallArc(kFrameVerb, r, s, a); }
void PortPaintArc(const Rect* r, SInt16 s, SInt16 a) { CallArc(kPaintVerb, r, s, a); }
void PortEraseArc(const Rect* r, SInt16 s, SInt16 a) { CallArc(kEraseVerb, r, s, a); }
void PortInvertArc(const Rect* r, SInt16 s, SInt16 a) { CallArc(kInvertVerb, r, s, a); }
void PortFillArc(const Rect* r, SInt16 s, SInt16 a, const Pattern* pat) {
  if (!pat) return;
  Current()->fillPat = *pat;
  CallArc(kFillVerb, r, s, a);
}

// ---------------------------------------------------------------------------------------------
// Polygons

// Most points a polygon's 16-bit size can describe.
static constexpr std::size_t kMaxPolyPoints = (32767 - 10) / 4;

PolyHandle PortOpenPolygon() {
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if (pv->openPoly) PortClosePolygon();
  Handle h = PortAllocHandle(10);
  if (!h) {
    SetError(memFullErr);
    return nullptr;
  }
  SInt16 size = 10;
  std::memcpy(*h, &size, 2);
  pv->openPoly = reinterpret_cast<PolyHandle>(h);
  pv->polyPoints.clear();
  PortHidePen();
  return pv->openPoly;
}

void PortClosePolygon() {
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if (!pv->openPoly) return;
  PolyHandle poly = pv->openPoly;
  pv->openPoly = nullptr;
  PortShowPen();
  std::vector<Point>& pts = pv->polyPoints;
  if (pts.size() > kMaxPolyPoints) {
    pts.resize(kMaxPolyPoints);
    SetError(paramErr);
  }
  Size size = 10 + 4 * Size(pts.size());
  Handle h = reinterpret_cast<Handle>(poly);
  PortResizeHandle(h, size);
  if (PortMemError() != noErr) {
    SetError(memFullErr);
    return;
  }
  Rect box{};
  if (!pts.empty()) {
    box = Rect{pts[0].v, pts[0].h, pts[0].v, pts[0].h};
    for (const Point& p : pts) {
      box.top = std::min(box.top, p.v);
      box.left = std::min(box.left, p.h);
      box.bottom = std::max(box.bottom, p.v);
      box.right = std::max(box.right, p.h);
    }
  }
  SInt16 s16 = SInt16(size);
  std::memcpy(*h, &s16, 2);
  std::memcpy(*h + 2, &box, 8);
  if (!pts.empty()) std::memcpy(*h + 10, pts.data(), 4 * pts.size());
  pts.clear();
}

void PortFreePolygon(PolyHandle poly) {
  if (!poly) return;
  GrafPort* port = Current();
  PortPrivate* pv = Priv(port);
  if (pv->openPoly == poly) {
    pv->openPoly = nullptr;
    pv->polyPoints.clear();
    PortShowPen();
  }
  PortFreeHandle(reinterpret_cast<Handle>(poly));
}

int PortPolygonPointCount(PolyHandle poly) {
  std::vector<Point> pts;
  PolyPoints(poly, pts);
  return int(pts.size());
}

void PortOffsetPolygon(PolyHandle poly, SInt16 dh, SInt16 dv) {
  std::vector<Point> pts;
  PolyPoints(poly, pts);
  if (!poly || !*poly || PortHandleSize(reinterpret_cast<Handle>(poly)) < 10) return;
  char* p = reinterpret_cast<char*>(*poly);
  Rect box;
  std::memcpy(&box, p + 2, 8);
  PortOffsetRect(&box, dh, dv);
  std::memcpy(p + 2, &box, 8);
  for (std::size_t i = 0; i < pts.size(); ++i) {
    Point q{Clamp16(pts[i].v + dv), Clamp16(pts[i].h + dh)};
    std::memcpy(p + 10 + 4 * i, &q, 4);
  }
}

void PortFramePolygon(PolyHandle poly) { CallPoly(kFrameVerb, poly); }
void PortPaintPolygon(PolyHandle poly) { CallPoly(kPaintVerb, poly); }
void PortErasePolygon(PolyHandle poly) { CallPoly(kEraseVerb, poly); }
void PortInvertPolygon(PolyHandle poly) { CallPoly(kInvertVerb, poly); }
void PortFillPolygon(PolyHandle poly, const Pattern* pat) {
  if (!pat) return;
  Current()->fillPat = *pat;
  CallPoly(kFillVerb, poly);
}
void PortFillCPolygon(PolyHandle poly, PixPatHandle pp) {
  WithColorFill(pp, [&] { CallPoly(kFillVerb, poly); });
}

// ---------------------------------------------------------------------------------------------
// Regions

void PortFrameRegion(RgnHandle rgn) { CallRgn(kFrameVerb, rgn); }
void PortPaintRegion(RgnHandle rgn) { CallRgn(kPaintVerb, rgn); }
void PortEraseRegion(RgnHandle rgn) { CallRgn(kEraseVerb, rgn); }
void PortInvertRegion(RgnHandle rgn) { CallRgn(kInvertVerb, rgn); }
void PortFillRegion(RgnHandle rgn, const Pattern* pat) {
  if (!pat) return;
  Current()->fillPat = *pat;
  CallRgn(kFillVerb, rgn);
}
void PortFillCRegion(RgnHandle rgn, PixPatHandle pp) {
  WithColorFill(pp, [&] { CallRgn(kFillVerb, rgn); });
}

void PortSetStdProcs(QDProcs* procs) {
  if (!procs) return;
  procs->textProc = PortStdText;
  procs->lineProc = PortStdLine;
  procs->rectProc = PortStdRect;
  procs->rRectProc = PortStdRRect;
  procs->ovalProc = PortStdOval;
  procs->arcProc = PortStdArc;
  procs->polyProc = PortStdPoly;
  procs->rgnProc = PortStdRgn;
  procs->bitsProc = PortStdBits;
  procs->commentProc = PortStdComment;
  procs->txMeasProc = PortStdTxMeas;
  procs->getPicProc = PortStdGetPic;
  procs->putPicProc = PortStdPutPic;
}
