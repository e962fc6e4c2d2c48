// Regions as bands of rows that share the same spans, kept canonical (no empty bands, equal
// neighbouring bands merged, spans of a band sorted and neither overlapping nor touching), so
// that equal regions have equal data.
#include <algorithm>
#include <climits>
#include <cstring>

#include "ByteReader.h"
#include "PictFormat.h"
#include "QDInternal.h"

namespace qdimpl {
namespace {

UInt32 gGeneration = 0;

// Band accessors over the flat layout: top, bottom, count, then count pairs.
struct BandReader {
  const std::vector<SInt32>& b;
  std::size_t pos = 0;
  bool Done() const { return pos >= b.size(); }
  SInt32 Top() const { return b[pos]; }
  SInt32 Bottom() const { return b[pos + 1]; }
  SInt32 Count() const { return b[pos + 2]; }
  const SInt32* Xs() const { return b.data() + pos + 3; }
  void Next() { pos += 3 + 2 * std::size_t(b[pos + 2]); }
};

// Appends a band, merging it into the previous band when that one ends where this one starts
// and has the same spans. Empty rows are dropped.
class BandBuilder {
 public:
  explicit BandBuilder(std::vector<SInt32>& out) : out_(out) { out_.clear(); }
  void Add(SInt32 top, SInt32 bottom, const SInt32* xs, SInt32 n) {
    if (bottom <= top || n <= 0) return;
    if (last_ != SIZE_MAX && out_[last_ + 1] == top && out_[last_ + 2] == n &&
        std::equal(xs, xs + 2 * n, out_.begin() + long(last_) + 3)) {
      out_[last_ + 1] = bottom;
      return;
    }
    last_ = out_.size();
    out_.push_back(top);
    out_.push_back(bottom);
    out_.push_back(n);
    out_.insert(out_.end(), xs, xs + 2 * n);
  }

 private:
  std::vector<SInt32>& out_;
  std::size_t last_ = SIZE_MAX;
};

// Boolean combination of two rows of spans (pairs), appended to out as pairs.
void CombineRow(const SInt32* a, SInt32 na, const SInt32* b, SInt32 nb, RegionOp op, std::vector<SInt32>& out) {
  SInt32 i = 0, j = 0;
  bool inA = false, inB = false, inOut = false;
  SInt32 start = 0;
  while (i < 2 * na || j < 2 * nb) {
    SInt32 xa = i < 2 * na ? a[i] : INT_MAX;
    SInt32 xb = j < 2 * nb ? b[j] : INT_MAX;
    SInt32 x = std::min(xa, xb);
    if (xa == x) {
      inA = !inA;
      ++i;
    }
    if (xb == x) {
      inB = !inB;
      ++j;
    }
    bool now = false;
    switch (op) {
      case RegionOp::Union: now = inA || inB; break;
      case RegionOp::Sect: now = inA && inB; break;
      case RegionOp::Diff: now = inA && !inB; break;
      case RegionOp::Xor: now = inA != inB; break;
    }
    if (now != inOut) {
      if (now) {
        start = x;
      } else if (x > start) {
        out.push_back(start);
        out.push_back(x);
      }
      inOut = now;
    }
  }
}

std::vector<SInt32>& Scratch(int which) {
  static std::vector<SInt32> s[4];
  return s[which];
}

void Touch(Region& r) {
  r.generation = ++gGeneration;
  SInt32 l, t, rr, b;
  if (RegionBounds(r, &l, &t, &rr, &b)) {
    r.rgnBBox = Rect{Clamp16(t), Clamp16(l), Clamp16(b), Clamp16(rr)};
  } else {
    r.rgnBBox = Rect{};
  }
}

// Rebuilds canonical bands from bands that are ordered and disjoint in y but may hold empty
// or touching spans (after mapping).
void Normalise(Region& r) {
  std::vector<SInt32>& out = Scratch(2);
  std::vector<SInt32>& row = Scratch(3);
  BandBuilder builder(out);
  for (BandReader br{r.bands}; !br.Done(); br.Next()) {
    row.clear();
    const SInt32* xs = br.Xs();
    for (SInt32 k = 0; k < br.Count(); ++k) {
      SInt32 x0 = xs[2 * k], x1 = xs[2 * k + 1];
      if (x1 <= x0) continue;
      if (!row.empty() && row.back() >= x0) {
        row.back() = std::max(row.back(), x1);
      } else {
        row.push_back(x0);
        row.push_back(x1);
      }
    }
    builder.Add(br.Top(), br.Bottom(), row.data(), SInt32(row.size() / 2));
  }
  r.bands.swap(out);
  Touch(r);
}

// Union of bands given as (top, bottom, xs, n), possibly overlapping in y.
struct BandRef {
  SInt32 top, bottom;
  const SInt32* xs;
  SInt32 n;
};

void UnionOfBands(std::vector<BandRef>& refs, std::vector<SInt32>& out) {
  std::vector<SInt32> ys;
  for (const BandRef& b : refs) {
    ys.push_back(b.top);
    ys.push_back(b.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::sort(refs.begin(), refs.end(), [](const BandRef& a, const BandRef& b) { return a.top < b.top; });
  BandBuilder builder(out);
  std::vector<SInt32> acc, tmp;
  std::size_t first = 0;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    SInt32 y0 = ys[k], y1 = ys[k + 1];
    acc.clear();
    while (first < refs.size() && refs[first].bottom <= y0 && refs[first].top <= y0) ++first;
    for (std::size_t i = first; i < refs.size() && refs[i].top <= y0; ++i) {
      if (refs[i].bottom <= y0) continue;
      tmp.clear();
      CombineRow(acc.data(), SInt32(acc.size() / 2), refs[i].xs, refs[i].n, RegionOp::Union, tmp);
      acc.swap(tmp);
    }
    builder.Add(y0, y1, acc.data(), SInt32(acc.size() / 2));
  }
}

void DilateVertical(const Region& r, SInt32 d, std::vector<SInt32>& out) {
  std::vector<BandRef> refs;
  for (BandReader br{r.bands}; !br.Done(); br.Next()) {
    refs.push_back(BandRef{br.Top() - d, br.Bottom() + d, br.Xs(), br.Count()});
  }
  UnionOfBands(refs, out);
}

void InsetHorizontal(Region& r, SInt32 dx) {
  if (dx == 0) return;
  for (std::size_t pos = 0; pos < r.bands.size(); pos += 3 + 2 * std::size_t(r.bands[pos + 2])) {
    SInt32 n = r.bands[pos + 2];
    SInt32* xs = r.bands.data() + pos + 3;
    for (SInt32 k = 0; k < n; ++k) {
      xs[2 * k] += dx;
      xs[2 * k + 1] -= dx;
    }
  }
  Normalise(r);
}

}  // namespace

void RegionSetEmpty(Region& r) {
  r.bands.clear();
  Touch(r);
}

void RegionSetRect(Region& r, SInt32 left, SInt32 top, SInt32 right, SInt32 bottom) {
  r.bands.clear();
  if (left < right && top < bottom) {
    r.bands = {top, bottom, 1, left, right};
  }
  Touch(r);
}

void RegionFromSpans(Region& r, const Span* spans, std::size_t count) {
  std::vector<SInt32>& out = Scratch(0);
  std::vector<SInt32>& row = Scratch(1);
  BandBuilder builder(out);
  std::size_t i = 0;
  while (i < count) {
    SInt32 y = spans[i].y;
    row.clear();
    for (; i < count && spans[i].y == y; ++i) {
      if (spans[i].x1 <= spans[i].x0) continue;
      if (!row.empty() && row.back() >= spans[i].x0) {
        row.back() = std::max(row.back(), spans[i].x1);
      } else {
        row.push_back(spans[i].x0);
        row.push_back(spans[i].x1);
      }
    }
    builder.Add(y, y + 1, row.data(), SInt32(row.size() / 2));
  }
  r.bands.assign(out.begin(), out.end());
  Touch(r);
}

void RegionCombine(const Region& a, const Region& b, Region& dst, RegionOp op) {
  std::vector<SInt32>& out = Scratch(0);
  std::vector<SInt32>& row = Scratch(1);
  BandBuilder builder(out);
  BandReader ra{a.bands}, rb{b.bands};
  SInt32 y;
  if (ra.Done() && rb.Done()) {
    dst.bands.clear();
    Touch(dst);
    return;
  }
  if (ra.Done()) y = rb.Top();
  else if (rb.Done()) y = ra.Top();
  else y = std::min(ra.Top(), rb.Top());
  while (!ra.Done() || !rb.Done()) {
    bool inA = !ra.Done() && ra.Top() <= y;
    bool inB = !rb.Done() && rb.Top() <= y;
    SInt32 next = INT_MAX;
    if (!ra.Done()) next = std::min(next, inA ? ra.Bottom() : ra.Top());
    if (!rb.Done()) next = std::min(next, inB ? rb.Bottom() : rb.Top());
    if (inA || inB) {
      row.clear();
      CombineRow(inA ? ra.Xs() : nullptr, inA ? ra.Count() : 0, inB ? rb.Xs() : nullptr, inB ? rb.Count() : 0, op,
                 row);
      builder.Add(y, next, row.data(), SInt32(row.size() / 2));
    }
    y = next;
    if (!ra.Done() && ra.Bottom() <= y) ra.Next();
    if (!rb.Done() && rb.Bottom() <= y) rb.Next();
  }
  dst.bands.assign(out.begin(), out.end());
  Touch(dst);
}

void RegionOffset(Region& r, SInt32 dx, SInt32 dy) {
  for (std::size_t pos = 0; pos < r.bands.size(); pos += 3 + 2 * std::size_t(r.bands[pos + 2])) {
    r.bands[pos] += dy;
    r.bands[pos + 1] += dy;
    SInt32 n = r.bands[pos + 2];
    for (SInt32 k = 0; k < 2 * n; ++k) r.bands[pos + 3 + std::size_t(k)] += dx;
  }
  Touch(r);
}

void RegionInset(Region& r, SInt32 dx, SInt32 dy) {
  InsetHorizontal(r, dx);
  if (dy < 0) {
    std::vector<SInt32> out;
    DilateVertical(r, -dy, out);
    r.bands.swap(out);
    Touch(r);
  } else if (dy > 0 && !RegionIsEmpty(r)) {
    SInt32 l, t, rr, b;
    RegionBounds(r, &l, &t, &rr, &b);
    Region outside;
    RegionSetRect(outside, l - 1, t - dy - 1, rr + 1, b + dy + 1);
    RegionCombine(outside, r, outside, RegionOp::Diff);
    Region grown;
    DilateVertical(outside, dy, grown.bands);
    RegionCombine(r, grown, r, RegionOp::Diff);
  }
}

bool RegionContains(const Region& r, SInt32 x, SInt32 y) {
  for (BandReader br{r.bands}; !br.Done(); br.Next()) {
    if (y < br.Top()) return false;
    if (y >= br.Bottom()) continue;
    const SInt32* xs = br.Xs();
    // Spans are sorted: find the first span whose right edge lies beyond x.
    SInt32 lo = 0, hi = br.Count();
    while (lo < hi) {
      SInt32 mid = (lo + hi) / 2;
      if (xs[2 * mid + 1] <= x) lo = mid + 1;
      else hi = mid;
    }
    return lo < br.Count() && xs[2 * lo] <= x;
  }
  return false;
}

bool RegionIsEmpty(const Region& r) { return r.bands.empty(); }

bool RegionIsRect(const Region& r) { return r.bands.size() == 5; }

void RegionCopy(const Region& src, Region& dst) {
  if (&src == &dst) return;
  dst.bands = src.bands;
  Touch(dst);
}

bool RegionBounds(const Region& r, SInt32* left, SInt32* top, SInt32* right, SInt32* bottom) {
  if (r.bands.empty()) return false;
  SInt32 l = INT_MAX, rr = INT_MIN, t = r.bands[0], b = 0;
  for (BandReader br{r.bands}; !br.Done(); br.Next()) {
    l = std::min(l, br.Xs()[0]);
    rr = std::max(rr, br.Xs()[2 * br.Count() - 1]);
    b = br.Bottom();
  }
  *left = l;
  *top = t;
  *right = rr;
  *bottom = b;
  return true;
}

void RegionToSpans(const Region& r, SpanList& out, SInt32 yMin, SInt32 yMax) {
  for (BandReader br{r.bands}; !br.Done(); br.Next()) {
    SInt32 y0 = std::max(br.Top(), yMin), y1 = std::min(br.Bottom(), yMax);
    for (SInt32 y = y0; y < y1; ++y) {
      for (SInt32 k = 0; k < br.Count(); ++k) out.push_back(Span{y, br.Xs()[2 * k], br.Xs()[2 * k + 1]});
    }
  }
}

void RegionMap(Region& r, const Rect& from, const Rect& to) {
  auto map = [](SInt32 v, SInt32 f0, SInt32 f1, SInt32 t0, SInt32 t1) -> SInt32 {
    long long fs = f1 - f0, ts = t1 - t0;
    if (fs <= 0) return v - f0 + t0;
    long long num = (long long)(v - f0) * ts;
    long long q = num / fs;
    if ((num % fs != 0) && (num < 0)) --q;
    return SInt32(q + t0);
  };
  for (std::size_t pos = 0; pos < r.bands.size(); pos += 3 + 2 * std::size_t(r.bands[pos + 2])) {
    r.bands[pos] = map(r.bands[pos], from.top, from.bottom, to.top, to.bottom);
    r.bands[pos + 1] = map(r.bands[pos + 1], from.top, from.bottom, to.top, to.bottom);
    SInt32 n = r.bands[pos + 2];
    for (SInt32 k = 0; k < 2 * n; ++k) {
      SInt32& x = r.bands[pos + 3 + std::size_t(k)];
      x = map(x, from.left, from.right, to.left, to.right);
    }
  }
  // Bands that collapsed to no rows are dropped; a band never moves past its successor because
  // the mapping keeps order.
  Normalise(r);
}

std::vector<UInt8> RegionToPictData(const Region& r) {
  vlcore::ByteWriter d;
  d.U16(0);  // the size, set at the end
  d.WriteRect(r.rgnBBox);
  if (!RegionIsEmpty(r) && !RegionIsRect(r)) {
    std::vector<SInt32> prev, xr;
    SInt32 prevBottom = INT_MIN;
    auto emitRow = [&](SInt32 y, const SInt32* cur, SInt32 n) {
      xr.clear();
      CombineRow(prev.data(), SInt32(prev.size() / 2), cur, n, RegionOp::Xor, xr);
      if (!xr.empty()) {
        d.U16(UInt16(Clamp16(y)));
        for (SInt32 x : xr) d.U16(UInt16(Clamp16(x)));
        d.U16(pict::kRegionEnd);
      }
      prev.assign(cur, cur + 2 * n);
    };
    for (BandReader br{r.bands}; !br.Done(); br.Next()) {
      if (prevBottom != INT_MIN && prevBottom < br.Top()) emitRow(prevBottom, nullptr, 0);
      emitRow(br.Top(), br.Xs(), br.Count());
      prevBottom = br.Bottom();
    }
    emitRow(prevBottom, nullptr, 0);
    d.U16(pict::kRegionEnd);
  }
  d.Put16At(0, unsigned(d.size() & 0xFFFF));
  return std::move(d.bytes());
}

bool RegionFromPictData(Region& r, const UInt8* data, std::size_t size) {
  vlcore::ByteReader head(data, size);
  const std::size_t declared = head.U16();
  const Rect box = head.ReadRect();
  if (!head.ok() || declared < pict::kRegionHeaderSize || declared > size) return false;
  if (declared == pict::kRegionHeaderSize) {
    RegionSetRect(r, box.left, box.top, box.right, box.bottom);
    return true;
  }
  vlcore::ByteReader in(data, declared);
  in.Seek(pict::kRegionHeaderSize);
  std::vector<SInt32> row, xr, next;
  std::vector<SInt32>& out = Scratch(2);
  BandBuilder builder(out);
  SInt32 lastY = INT_MIN;
  bool haveRow = false;
  while (true) {
    UInt16 yw = in.U16();
    if (!in.ok()) return false;
    if (yw == pict::kRegionEnd) break;
    SInt32 y = SInt16(yw);
    if (y <= lastY || y < box.top || y > box.bottom) return false;
    xr.clear();
    SInt32 lastX = INT_MIN;
    while (true) {
      UInt16 xw = in.U16();
      if (!in.ok()) return false;
      if (xw == pict::kRegionEnd) break;
      SInt32 x = SInt16(xw);
      if (x <= lastX || x < box.left || x > box.right) return false;
      xr.push_back(x);
      lastX = x;
    }
    if (xr.size() % 2 != 0) return false;
    if (haveRow) builder.Add(lastY, y, row.data(), SInt32(row.size() / 2));
    next.clear();
    CombineRow(row.data(), SInt32(row.size() / 2), xr.data(), SInt32(xr.size() / 2), RegionOp::Xor, next);
    row.swap(next);
    lastY = y;
    haveRow = true;
  }
  if (!row.empty()) return false;  // the outline never closed
  r.bands.assign(out.begin(), out.end());
  Touch(r);
  return true;
}

const SInt32* RegionRowCursor::Row(SInt32 y, SInt32* count) {
  const std::vector<SInt32>& b = r_.bands;
  if (y < lastY_) pos_ = 0;  // asked for an earlier row: start over
  lastY_ = y;
  while (pos_ < b.size() && b[pos_ + 1] <= y) pos_ += 3 + 2 * std::size_t(b[pos_ + 2]);
  if (pos_ >= b.size() || b[pos_] > y) {
    *count = 0;
    return nullptr;
  }
  *count = b[pos_ + 2];
  return b.data() + pos_ + 3;
}

}  // namespace qdimpl

// ---------------------------------------------------------------------------------------------
// The region calls.

using namespace qdimpl;

RgnHandle PortNewRegion() {
  auto* master = new Region();
  RegionSetEmpty(*master);
  return new Region*(master);
}

void PortFreeRegion(RgnHandle rgn) {
  if (!rgn) return;
  delete *rgn;
  delete rgn;
}

void PortCopyRegion(RgnHandle src, RgnHandle dst) {
  if (src && dst) RegionCopy(**src, **dst);
}

void PortSetEmptyRegion(RgnHandle rgn) {
  if (rgn) RegionSetEmpty(**rgn);
}

void PortSetRectRegion(RgnHandle rgn, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
  if (rgn) RegionSetRect(**rgn, left, top, right, bottom);
}

void PortRectRegion(RgnHandle rgn, const Rect* r) {
  if (rgn && r) RegionSetRect(**rgn, r->left, r->top, r->right, r->bottom);
}

static void Combine(RgnHandle a, RgnHandle b, RgnHandle dst, RegionOp op) {
  if (a && b && dst) RegionCombine(**a, **b, **dst, op);
}

void PortUnionRegion(RgnHandle a, RgnHandle b, RgnHandle dst) { Combine(a, b, dst, RegionOp::Union); }
void PortSectRegion(RgnHandle a, RgnHandle b, RgnHandle dst) { Combine(a, b, dst, RegionOp::Sect); }
void PortDiffRegion(RgnHandle a, RgnHandle b, RgnHandle dst) { Combine(a, b, dst, RegionOp::Diff); }
void PortXorRegion(RgnHandle a, RgnHandle b, RgnHandle dst) { Combine(a, b, dst, RegionOp::Xor); }

void PortOffsetRegion(RgnHandle rgn, SInt16 dh, SInt16 dv) {
  if (rgn) RegionOffset(**rgn, dh, dv);
}

void PortInsetRegion(RgnHandle rgn, SInt16 dh, SInt16 dv) {
  if (rgn) RegionInset(**rgn, dh, dv);
}

bool PortPtInRegion(Point pt, RgnHandle rgn) { return rgn && RegionContains(**rgn, pt.h, pt.v); }
bool PortPointInRegion(Point pt, RgnHandle rgn) { return PortPtInRegion(pt, rgn); }

bool PortRectInRegion(const Rect* r, RgnHandle rgn) {
  if (!r || !rgn) return false;
  Region box;
  RegionSetRect(box, r->left, r->top, r->right, r->bottom);
  RegionCombine(box, **rgn, box, RegionOp::Sect);
  return !RegionIsEmpty(box);
}

bool PortEmptyRegion(RgnHandle rgn) { return !rgn || RegionIsEmpty(**rgn); }

bool PortEqualRegion(RgnHandle a, RgnHandle b) {
  if (!a || !b) return a == b;
  return (**a).bands == (**b).bands;
}

bool PortIsRectRegion(RgnHandle rgn) { return rgn && RegionIsRect(**rgn); }
