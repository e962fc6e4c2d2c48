// Scan conversion: shapes, outlines and lines into spans. A pixel belongs to a shape when its
// centre lies inside; spans come out sorted by row and x, disjoint within a row.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "QDInternal.h"

namespace qdimpl {

namespace {

// Appends [x0, x1) on row y, merging with the previous span of the same row when they touch.
inline void Emit(SpanList& out, SInt32 y, SInt32 x0, SInt32 x1) {
  if (x1 <= x0) return;
  if (!out.empty() && out.back().y == y && out.back().x1 >= x0) {
    out.back().x1 = std::max(out.back().x1, x1);
    return;
  }
  out.push_back(Span{y, x0, x1});
}

struct ActiveEdge {
  double x0, y0, slope;  // x at y: x0 + (y - y0) * slope
  SInt32 rowBottom;      // first row past the edge
  SInt32 rowTop;
};

std::vector<ActiveEdge>& EdgeScratch(int k) {
  static std::vector<ActiveEdge> s[2];
  return s[k];
}

std::vector<double>& CrossScratch() {
  static std::vector<double> s;
  return s;
}

// Horizontal extent [x0, x1) of the pixels whose centres lie strictly inside the open interval
// (cx - dx, cx + dx).
inline void CentredRun(double cx, double dx, SInt32* x0, SInt32* x1) {
  *x0 = SInt32(std::floor(cx - dx - 0.5)) + 1;
  *x1 = SInt32(std::ceil(cx + dx - 0.5));
}

}  // namespace

void ScanSegments(const Segment* segs, std::size_t count, SInt32 yMin, SInt32 yMax, SpanList& out) {
  std::vector<ActiveEdge>& edges = EdgeScratch(0);
  std::vector<ActiveEdge>& active = EdgeScratch(1);
  std::vector<double>& xs = CrossScratch();
  edges.clear();
  active.clear();
  SInt32 top = yMax, bottom = yMin;
  for (std::size_t i = 0; i < count; ++i) {
    Segment s = segs[i];
    if (s.y0 == s.y1) continue;
    if (s.y0 > s.y1) {
      std::swap(s.x0, s.x1);
      std::swap(s.y0, s.y1);
    }
    // Rows whose centre y + 0.5 lies in [y0, y1): y0 .. y1 - 1.
    ActiveEdge e{double(s.x0), double(s.y0), double(s.x1 - s.x0) / double(s.y1 - s.y0), s.y1, s.y0};
    if (e.rowBottom <= yMin || e.rowTop >= yMax) continue;
    edges.push_back(e);
    top = std::min(top, std::max(e.rowTop, yMin));
    bottom = std::max(bottom, std::min(e.rowBottom, yMax));
  }
  if (edges.empty()) return;
  std::sort(edges.begin(), edges.end(), [](const ActiveEdge& a, const ActiveEdge& b) { return a.rowTop < b.rowTop; });
  std::size_t next = 0;
  for (SInt32 y = top; y < bottom; ++y) {
    while (next < edges.size() && edges[next].rowTop <= y) active.push_back(edges[next++]);
    active.erase(std::remove_if(active.begin(), active.end(), [y](const ActiveEdge& e) { return e.rowBottom <= y; }),
                 active.end());
    if (active.empty()) {
      if (next >= edges.size()) break;
      y = edges[next].rowTop - 1;
      continue;
    }
    xs.clear();
    double yc = y + 0.5;
    for (const ActiveEdge& e : active) xs.push_back(e.x0 + (yc - e.y0) * e.slope);
    std::sort(xs.begin(), xs.end());
    for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
      SInt32 a = SInt32(std::ceil(xs[k] - 0.5)), b = SInt32(std::ceil(xs[k + 1] - 0.5));
      Emit(out, y, a, b);
    }
  }
}

void RectSpans(const Rect& r, SInt32 yMin, SInt32 yMax, SpanList& out) {
  if (r.left >= r.right) return;
  SInt32 y0 = std::max<SInt32>(r.top, yMin), y1 = std::min<SInt32>(r.bottom, yMax);
  for (SInt32 y = y0; y < y1; ++y) out.push_back(Span{y, r.left, r.right});
}

void OvalSpans(const Rect& r, SInt32 yMin, SInt32 yMax, SpanList& out) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  double a = (r.right - r.left) / 2.0, b = (r.bottom - r.top) / 2.0;
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  SInt32 y0 = std::max<SInt32>(r.top, yMin), y1 = std::min<SInt32>(r.bottom, yMax);
  for (SInt32 y = y0; y < y1; ++y) {
    double t = (y + 0.5 - cy) / b;
    double dx = a * std::sqrt(std::max(0.0, 1.0 - t * t));
    SInt32 x0, x1;
    CentredRun(cx, dx, &x0, &x1);
    Emit(out, y, std::max<SInt32>(x0, r.left), std::min<SInt32>(x1, r.right));
  }
}

void RoundRectSpans(const Rect& r, SInt32 ovalWidth, SInt32 ovalHeight, SInt32 yMin, SInt32 yMax, SpanList& out) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  SInt32 w = r.right - r.left, h = r.bottom - r.top;
  double rx = std::min(ovalWidth, w) / 2.0, ry = std::min(ovalHeight, h) / 2.0;
  if (rx <= 0 || ry <= 0) {
    RectSpans(r, yMin, yMax, out);
    return;
  }
  double cx = (r.left + r.right) / 2.0;
  SInt32 y0 = std::max<SInt32>(r.top, yMin), y1 = std::min<SInt32>(r.bottom, yMax);
  for (SInt32 y = y0; y < y1; ++y) {
    double yc = y + 0.5, inset = 0;
    double dy = 0;
    if (yc < r.top + ry) dy = r.top + ry - yc;
    else if (yc > r.bottom - ry) dy = yc - (r.bottom - ry);
    if (dy > 0) inset = rx * (1.0 - std::sqrt(std::max(0.0, 1.0 - (dy / ry) * (dy / ry))));
    SInt32 x0, x1;
    CentredRun(cx, w / 2.0 - inset, &x0, &x1);
    Emit(out, y, std::max<SInt32>(x0, r.left), std::min<SInt32>(x1, r.right));
  }
}

void LineSpans(SInt32 x0, SInt32 y0, SInt32 x1, SInt32 y1, SInt32 penW, SInt32 penH, SInt32 yMin, SInt32 yMax,
               SpanList& out) {
  if (penW <= 0 || penH <= 0) return;
  SInt32 dx = x1 - x0, dy = y1 - y0;
  SInt32 adx = std::abs(dx), ady = std::abs(dy);
  // Step along the major axis from the end with the smaller coordinate so that a line covers
  // the same pixels whichever way it is drawn; halfway cases go toward that end.
  bool xMajor = adx >= ady;
  if ((xMajor && dx < 0) || (!xMajor && dy < 0)) {
    std::swap(x0, x1);
    std::swap(y0, y1);
    dx = -dx;
    dy = -dy;
  }
  SInt32 top = std::min(y0, y1), bottom = std::max(y0, y1) + penH;
  SInt32 rowLo = std::max(top, yMin), rowHi = std::min(bottom, yMax);
  if (rowLo >= rowHi) return;
  static std::vector<SInt32> minX, maxX;
  std::size_t rows = std::size_t(rowHi - rowLo);
  minX.assign(rows, INT32_MAX);
  maxX.assign(rows, INT32_MIN);
  auto plot = [&](SInt32 x, SInt32 y) {
    SInt32 a = std::max(y, rowLo), b = std::min(y + penH, rowHi);
    for (SInt32 r = a; r < b; ++r) {
      std::size_t i = std::size_t(r - rowLo);
      minX[i] = std::min(minX[i], x);
      maxX[i] = std::max(maxX[i], x);
    }
  };
  SInt32 major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  SInt32 aminor = std::abs(minor), sign = minor < 0 ? -1 : 1;
  for (SInt32 k = 0; k <= major; ++k) {
    SInt32 off = major == 0 ? 0 : SInt32((2LL * k * aminor + major - 1) / (2LL * major));
    if (xMajor) plot(x0 + k, y0 + sign * off);
    else plot(x0 + sign * off, y0 + k);
  }
  for (std::size_t i = 0; i < rows; ++i) {
    if (minX[i] <= maxX[i]) out.push_back(Span{rowLo + SInt32(i), minX[i], maxX[i] + penW});
  }
}

void ClipSpansToWedge(SpanList& spans, const Rect& r, SInt32 startAngle, SInt32 arcAngle) {
  if (arcAngle >= 360 || arcAngle <= -360) return;
  SInt32 start = startAngle, arc = arcAngle;
  if (arc < 0) {
    start += arc;
    arc = -arc;
  }
  start %= 360;
  if (start < 0) start += 360;
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double hw = std::max(0.5, (r.right - r.left) / 2.0), hh = std::max(0.5, (r.bottom - r.top) / 2.0);
  SpanList& out = ScratchSpans(3);
  out.clear();
  for (const Span& s : spans) {
    double v = -(s.y + 0.5 - cy) / hh;
    SInt32 runStart = 0;
    bool in = false;
    for (SInt32 x = s.x0; x < s.x1; ++x) {
      double u = (x + 0.5 - cx) / hw;
      double a = std::atan2(u, v) * 180.0 / std::numbers::pi;  // clockwise from twelve o'clock
      double rel = std::fmod(a - start + 720.0, 360.0);
      bool inside = rel < arc;
      if (inside && !in) runStart = x;
      if (!inside && in) Emit(out, s.y, runStart, x);
      in = inside;
    }
    if (in) Emit(out, s.y, runStart, s.x1);
  }
  spans.swap(out);
}

void SubtractSpans(const SpanList& a, const SpanList& b, SpanList& out) {
  std::size_t j = 0;
  std::size_t i = 0;
  while (i < a.size()) {
    SInt32 y = a[i].y;
    while (j < b.size() && b[j].y < y) ++j;
    std::size_t jRow = j;
    for (; i < a.size() && a[i].y == y; ++i) {
      SInt32 x = a[i].x0, end = a[i].x1;
      for (std::size_t k = jRow; k < b.size() && b[k].y == y && x < end; ++k) {
        if (b[k].x1 <= x) continue;
        if (b[k].x0 >= end) break;
        if (b[k].x0 > x) Emit(out, y, x, b[k].x0);
        x = std::max(x, b[k].x1);
      }
      if (x < end) Emit(out, y, x, end);
    }
  }
}

SpanList& ScratchSpans(int which) {
  static SpanList lists[6];
  return lists[which];
}

}  // namespace qdimpl
