// Ordering and painting the list (DrawAll). The head record P is compared with every later record
// Q that could overlap it, in list order; a Q that must be painted first is moved in front of P
// and becomes P, and a Q that cannot be ordered against P is split by P's plane. When nothing
// is left to compare, P is painted and freed.
//
// Comparing P with every later record would make a drawing quadratic in its faces. The records
// are therefore indexed by their screen bounds in a grid, and by their place in the list through
// an ordering key: only those Q whose bounds meet P's and whose far depth lies beyond P's near
// depth are looked at, in list order. The others would be passed by the first three tests of the
// walk anyway, so the painted result is the walk's own.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "CProgressDialog.h"
#include "DETException.h"
#include "Memory.h"
#include "VLDepthBuffer.h"

namespace {

constexpr std::uint64_t kKeyStart = std::uint64_t(1) << 62;
constexpr std::uint64_t kKeyStep = std::uint64_t(1) << 20;
// A record covering more grid cells than this is kept in a list that every query looks through.
constexpr long kMaxCellsPerRecord = 64;
constexpr long kMaxColumns = 512;

bool ProgressShowing() { return gProgressDialog && gProgressDialog->IsShowing(); }

// Step 2 of the walk: the two records' screen bounds overlap on both axes.
bool BoundsOverlap(const Rect& p, const Rect& q) {
  const bool across = (q.left < p.left && q.right >= p.left) || (q.left >= p.left && p.right > q.left);
  const bool down = (q.top < p.top && q.bottom >= p.top) || (q.top >= p.top && p.bottom > q.top);
  return across && down;
}

bool SplitAgainst(const DepthPolygon& q, SInt32 serial) {
  if (!q.splitSerials || q.splitCount <= 0) return false;
  const auto* serials = reinterpret_cast<const SInt32*>(*q.splitSerials);
  return std::find(serials, serials + q.splitCount, serial) != serials + q.splitCount;
}

// The records of the list while DrawAll orders it: each record's slot (its number in the
// record's slot field) keeps its predecessor and its ordering key, which grows along the list,
// and the grid of screen cells lists the slots whose bounds meet each cell, farthest first, so
// that a query stops at the first record lying wholly nearer than P. Painted records are the
// farthest, so they gather at the front of each cell, where the query steps past them for good.
class ListIndex {
 public:
  ListIndex(DepthPolygonHandle* head, long count) : head_(head) {
    slots_.reserve(std::size_t(count) * 2);
    // Cells about the size of a typical record, so that most records cover a few cells.
    Rect all{32767, 32767, -32768, -32768};
    double sizes = 0;
    long sized = 0;
    for (DepthPolygonHandle r = *head; r; r = (*r)->next) {
      const Rect& b = (*r)->bounds;
      if (b.left > b.right || b.top > b.bottom) continue;
      all.left = std::min(all.left, b.left);
      all.top = std::min(all.top, b.top);
      all.right = std::max(all.right, b.right);
      all.bottom = std::max(all.bottom, b.bottom);
      sizes += std::max(b.right - b.left, b.bottom - b.top) + 1;
      ++sized;
    }
    if (sized > 0) {
      originH_ = all.left;
      originV_ = all.top;
      const double width = double(all.right) - all.left + 1, height = double(all.bottom) - all.top + 1;
      cell_ = std::max({4L, long(sizes / double(sized)), long(std::ceil(std::max(width, height) / kMaxColumns))});
      columns_ = std::min(kMaxColumns, long(width / double(cell_)) + 1);
      rows_ = std::min(kMaxColumns, long(height / double(cell_)) + 1);
      cells_.resize(std::size_t(columns_ * rows_));
    }
    DepthPolygonHandle previous = nullptr;
    std::uint64_t key = kKeyStart;
    for (DepthPolygonHandle r = *head; r; previous = r, r = (*r)->next, key += kKeyStep) Add(r, previous, key);
    auto farthestFirst = [&](SInt32 x, SInt32 y) { return slots_[std::size_t(x)].far > slots_[std::size_t(y)].far; };
    for (Bucket& cell : cells_) std::stable_sort(cell.entries.begin(), cell.entries.end(), farthestFirst);
    std::stable_sort(wide_.entries.begin(), wide_.entries.end(), farthestFirst);
    built_ = true;
  }

  DepthPolygonHandle Previous(DepthPolygonHandle r) const { return SlotOf(r).previous; }
  DepthPolygonHandle Record(SInt32 slot) const { return slots_[std::size_t(slot)].record; }
  bool Alive(SInt32 slot) const { return slots_[std::size_t(slot)].alive; }

  // The live records other than p whose bounds meet p's and whose far depth lies beyond p's near
  // depth, in list order.
  void Candidates(DepthPolygonHandle p, std::vector<SInt32>* out) {
    out->clear();
    ++stamp_;
    const DepthPolygon& pr = **p;
    const double nearDepth = pr.nearDepth;
    auto consider = [&](SInt32 s) {
      Slot& slot = slots_[std::size_t(s)];
      if (!slot.alive || slot.stamp == stamp_ || slot.record == p) return;
      slot.stamp = stamp_;
      const DepthPolygon& q = **slot.record;
      if (q.serial == pr.serial || !BoundsOverlap(pr.bounds, q.bounds) || nearDepth >= q.farDepth) return;
      out->push_back(s);
    };
    auto scan = [&](Bucket& bucket) {
      while (bucket.start < bucket.entries.size() && !slots_[std::size_t(bucket.entries[bucket.start])].alive)
        ++bucket.start;
      for (std::size_t i = bucket.start; i < bucket.entries.size(); ++i) {
        const SInt32 s = bucket.entries[i];
        if (!(slots_[std::size_t(s)].far > nearDepth)) break;  // this one and all after lie nearer
        consider(s);
      }
    };
    long c0, c1, r0, r1;
    const bool inGrid = CellRange(pr.bounds, &c0, &c1, &r0, &r1);
    if (inGrid && !std::isnan(nearDepth) && (c1 - c0 + 1) * (r1 - r0 + 1) <= long(slots_.size())) {
      for (long row = r0; row <= r1; ++row)
        for (long column = c0; column <= c1; ++column) scan(cells_[std::size_t(row * columns_ + column)]);
      scan(wide_);
      for (SInt32 s : unordered_) consider(s);
    } else {
      for (SInt32 s = 0; s < SInt32(slots_.size()); ++s) consider(s);
    }
    std::sort(out->begin(), out->end(),
              [&](SInt32 a, SInt32 b) { return slots_[std::size_t(a)].key < slots_[std::size_t(b)].key; });
  }

  // The record of the slot leaves the list (before its block goes).
  void Kill(SInt32 number) {
    Slot& slot = slots_[std::size_t(number)];
    slot.alive = false;
    slot.record = nullptr;
  }
  // The head was unlinked: its successor leads the list.
  void HeadRemoved() {
    if (*head_) SlotOf(*head_).previous = nullptr;
  }

  // q, after previous, was moved to the head of the list.
  void MovedToFront(DepthPolygonHandle q, DepthPolygonHandle previous, DepthPolygonHandle oldHead) {
    DepthPolygonHandle after = (*previous)->next;
    if (after) SlotOf(after).previous = previous;
    Slot& slot = SlotOf(q);
    slot.previous = nullptr;
    SlotOf(oldHead).previous = q;
    const std::uint64_t headKey = SlotOf(oldHead).key;
    if (headKey > kKeyStep)
      slot.key = headKey - kKeyStep;
    else
      Relabel();
  }

  // q, which followed previous, was replaced by the records now between previous and following.
  // Answers the new records in list order.
  std::vector<DepthPolygonHandle> Replaced(SInt32 q, DepthPolygonHandle previous, DepthPolygonHandle following) {
    Kill(q);
    std::vector<DepthPolygonHandle> pieces;
    for (DepthPolygonHandle r = (*previous)->next; r != following; r = (*r)->next) pieces.push_back(r);
    std::uint64_t low = SlotOf(previous).key;
    const std::uint64_t high = following ? SlotOf(following).key : low + kKeyStep * (pieces.size() + 1);
    bool relabel = false;
    DepthPolygonHandle before = previous;
    for (DepthPolygonHandle piece : pieces) {
      const std::uint64_t key = low + (high - low) / 2;
      relabel = relabel || key == low;
      Add(piece, before, key);
      low = key;
      before = piece;
    }
    if (following) SlotOf(following).previous = before;
    if (relabel) Relabel();
    return pieces;
  }

  SInt32 SlotNumber(DepthPolygonHandle r) const { return (*r)->slot; }

 private:
  struct Slot {
    DepthPolygonHandle record = nullptr;
    DepthPolygonHandle previous = nullptr;
    std::uint64_t key = 0;
    std::uint64_t stamp = 0;
    double far = 0.0;
    bool alive = false;
  };
  // Slots farthest first; those before start are painted.
  struct Bucket {
    std::vector<SInt32> entries;
    std::size_t start = 0;
  };

  Slot& SlotOf(DepthPolygonHandle r) { return slots_[std::size_t((*r)->slot)]; }
  const Slot& SlotOf(DepthPolygonHandle r) const { return slots_[std::size_t((*r)->slot)]; }

  void Add(DepthPolygonHandle r, DepthPolygonHandle previous, std::uint64_t key) {
    const auto number = SInt32(slots_.size());
    (*r)->slot = number;
    const double far = (*r)->farDepth;
    slots_.push_back({r, previous, key, 0, far, true});
    if (std::isnan(far)) {
      unordered_.push_back(number);
      return;
    }
    long c0, c1, r0, r1;
    if (!CellRange((*r)->bounds, &c0, &c1, &r0, &r1) || (c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerRecord) {
      Place(&wide_, number);
      return;
    }
    for (long row = r0; row <= r1; ++row)
      for (long column = c0; column <= c1; ++column) Place(&cells_[std::size_t(row * columns_ + column)], number);
  }

  // Appends while the index is built (sorted after), then keeps the order.
  void Place(Bucket* bucket, SInt32 number) {
    if (!built_) {
      bucket->entries.push_back(number);
      return;
    }
    const double far = slots_[std::size_t(number)].far;
    auto at = std::upper_bound(bucket->entries.begin() + std::ptrdiff_t(bucket->start), bucket->entries.end(), far,
                               [&](double f, SInt32 s) { return f > slots_[std::size_t(s)].far; });
    bucket->entries.insert(at, number);
  }

  // The cells a rectangle covers, clamped to the grid; false for a rectangle without points.
  bool CellRange(const Rect& b, long* c0, long* c1, long* r0, long* r1) const {
    if (cells_.empty() || b.left > b.right || b.top > b.bottom) return false;
    auto clampTo = [](long v, long n) { return std::clamp(v, 0L, n - 1); };
    *c0 = clampTo((long(b.left) - originH_) / cell_, columns_);
    *c1 = clampTo((long(b.right) - originH_) / cell_, columns_);
    *r0 = clampTo((long(b.top) - originV_) / cell_, rows_);
    *r1 = clampTo((long(b.bottom) - originV_) / cell_, rows_);
    return true;
  }

  void Relabel() {
    std::uint64_t key = kKeyStart;
    for (DepthPolygonHandle r = *head_; r; r = (*r)->next, key += kKeyStep) SlotOf(r).key = key;
  }

  DepthPolygonHandle* head_;
  std::vector<Slot> slots_;
  std::vector<Bucket> cells_;
  Bucket wide_;                    // records covering too many cells, or none
  std::vector<SInt32> unordered_;  // records whose far depth is not a number
  long originH_ = 0, originV_ = 0, cell_ = 1, columns_ = 0, rows_ = 0;
  std::uint64_t stamp_ = 0;
  bool built_ = false;
};

// The region where two outlines meet, made once per drawing.
class ScratchRegion {
 public:
  ScratchRegion() : region_(PortNewRegion()) {}
  ~ScratchRegion() { PortFreeRegion(region_); }
  ScratchRegion(const ScratchRegion&) = delete;
  ScratchRegion& operator=(const ScratchRegion&) = delete;
  RgnHandle get() const { return region_; }

 private:
  RgnHandle region_;
};

enum class Step { kPass, kMoveAhead, kSplit };

}  // namespace

void VLDepthBuffer::DrawAll() {
  if (!PreparePolygons()) return;
  if (ProgressShowing()) {
    if (!gProgressContinue) return;
    gProgressDialog->StartSecondPhase(SInt32(CountRecords()));
  }
  const long count = CountRecords();
  splitsLeft = 16 * count + 1024;
  ListIndex index(&head, count);
  ScratchRegion common;
  std::vector<SInt32> candidates;

  // Steps 4 to 8 of the walk for one candidate Q of P.
  auto decide = [&](DepthPolygonHandle pHandle, DepthPolygonHandle qHandle) {
    const DepthPolygon& p = **pHandle;
    const DepthPolygon& q = **qHandle;
    if (q.serial == p.serial || !BoundsOverlap(p.bounds, q.bounds) || p.nearDepth >= q.farDepth) return Step::kPass;
    const bool coplanarBack = p.shade < -998.0 && !(q.shade < -998.0) && LiesInPlane(p, q);
    if (!coplanarBack && (IsBehindPlane(p, q) || IsInFrontOfPlane(q, p))) return Step::kPass;
    const bool pEmpty = !p.outline || PortEmptyRegion(p.outline);
    const bool qEmpty = !q.outline || PortEmptyRegion(q.outline);
    if (!pEmpty && !qEmpty && common.get()) {
      PortSectRegion(p.outline, q.outline, common.get());
      if (PortEmptyRegion(common.get())) return Step::kPass;
    }
    const bool neverAhead = p.shade <= kShadeUnpainted;
    if (!SplitAgainst(q, p.serial)) {
      if (SamePlane(pHandle, qHandle)) return Step::kPass;
      if (q.moved) return Step::kSplit;
      if (IsBehindPlane(q, p) || IsInFrontOfPlane(p, q)) return neverAhead ? Step::kPass : Step::kMoveAhead;
      return Step::kSplit;
    }
    if (SamePlane(pHandle, qHandle) || q.moved) return Step::kPass;
    if (!neverAhead && IsMostlyBehindPlane(q, p)) return Step::kMoveAhead;
    return Step::kPass;
  };

  while (head) {
    // Records at the front too small to paint go unpainted.
    if ((*head)->pointCount < 3) {
      index.Kill(index.SlotNumber(head));
      RemoveAfter(nullptr, head);
      index.HeadRemoved();
      continue;
    }
    DepthPolygonHandle p = head;
    (*p)->moved = 1;
    for (bool walking = true; walking;) {
      walking = false;
      index.Candidates(p, &candidates);
      for (std::size_t i = 0; i < candidates.size(); ++i) {
        const SInt32 slot = candidates[i];
        if (!index.Alive(slot)) continue;
        DepthPolygonHandle q = index.Record(slot);
        Step step = decide(p, q);
        if (step == Step::kSplit && splitsLeft <= 0) step = Step::kPass;
        if (step == Step::kPass) continue;
        DepthPolygonHandle previous = index.Previous(q);
        if (step == Step::kMoveAhead) {
          (*previous)->next = (*q)->next;
          (*q)->next = head;
          DepthPolygonHandle oldHead = head;
          head = q;
          index.MovedToFront(q, previous, oldHead);
          (*q)->moved = 1;
          p = q;
          walking = true;
          break;
        }
        --splitsLeft;
        DepthPolygonHandle following = (*q)->next;
        DepthPolygonHandle holder = q;
        if (!SplitRecord(p, &holder, previous)) continue;  // no block and no memory error: as it was
        const std::vector<DepthPolygonHandle> pieces = index.Replaced(slot, previous, following);
        // The walk goes on with the first piece.
        std::vector<SInt32> numbers;
        for (DepthPolygonHandle piece : pieces) numbers.push_back(index.SlotNumber(piece));
        candidates.erase(candidates.begin() + std::ptrdiff_t(i));
        candidates.insert(candidates.begin() + std::ptrdiff_t(i), numbers.begin(), numbers.end());
        --i;
      }
    }
    DepthPolygonHandle painted = head;
    if ((*painted)->shade > kShadeUnpainted) ShadeFace(painted);
    index.Kill(index.SlotNumber(painted));
    RemoveAfter(nullptr, painted);
    index.HeadRemoved();
    if (ProgressShowing()) {
      gProgressDialog->StepSecondPhase();
      if (!gProgressContinue) return;
    }
  }
}
