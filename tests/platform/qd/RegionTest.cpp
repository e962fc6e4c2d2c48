// Region algebra against brute-force pixel sets, region recording and the picture layout.
#include <array>
#include <functional>
#include <random>

#include "ByteReader.h"
#include "QDInternal.h"
#include "QdTestUtil.h"

namespace {

constexpr int kLo = -6, kHi = 40;
using Grid = std::array<std::array<bool, kHi - kLo>, kHi - kLo>;

Grid GridOf(RgnHandle rgn) {
  Grid g{};
  for (int v = kLo; v < kHi; ++v)
    for (int h = kLo; h < kHi; ++h) g[v - kLo][h - kLo] = PortPtInRegion(Point{SInt16(v), SInt16(h)}, rgn);
  return g;
}

Grid Combine(const Grid& a, const Grid& b, const std::function<bool(bool, bool)>& op) {
  Grid g{};
  for (int v = 0; v < kHi - kLo; ++v)
    for (int h = 0; h < kHi - kLo; ++h) g[v][h] = op(a[v][h], b[v][h]);
  return g;
}

// A region from a few random rectangles, built up with the region calls.
RgnHandle RandomRectRegion(std::mt19937& rng) {
  std::uniform_int_distribution<int> c(0, 34), n(1, 4), kind(0, 2);
  RgnHandle r = PortNewRegion(), t = PortNewRegion();
  for (int i = n(rng); i > 0; --i) {
    int a = c(rng), b = c(rng), d = c(rng), e = c(rng);
    PortSetRectRegion(t, SInt16(std::min(a, b)), SInt16(std::min(d, e)), SInt16(std::max(a, b)), SInt16(std::max(d, e)));
    switch (kind(rng)) {
      case 0: PortUnionRegion(r, t, r); break;
      case 1: PortXorRegion(r, t, r); break;
      default: PortDiffRegion(r, t, r); PortUnionRegion(t, r, r); break;
    }
  }
  PortFreeRegion(t);
  return r;
}

// A region recorded from a random polygon's outline.
RgnHandle RandomPolygonRegion(std::mt19937& rng, std::vector<Point>* pts) {
  std::uniform_int_distribution<int> c(-3, 36), n(3, 8);
  pts->assign(std::size_t(n(rng)), Point{});
  for (Point& p : *pts) p = Point{SInt16(c(rng)), SInt16(c(rng))};
  RgnHandle r = PortNewRegion();
  PortBeginRegion();
  PortPenMove(pts->front().h, pts->front().v);
  for (std::size_t i = 1; i < pts->size(); ++i) PortPenLine((*pts)[i].h, (*pts)[i].v);
  PortPenLine(pts->front().h, pts->front().v);
  PortEndRegion(r);
  return r;
}


TEST(Regions, AlgebraAgreesWithBruteForceOnRectanglesAndPolygons) {
  std::mt19937 rng(2024);
  World w(32);  // region recording happens in the current port
  struct Op {
    const char* name;
    void (*call)(RgnHandle, RgnHandle, RgnHandle);
    bool (*bit)(bool, bool);
  };
  const Op ops[] = {
      {"union", PortUnionRegion, [](bool a, bool b) { return a || b; }},
      {"sect", PortSectRegion, [](bool a, bool b) { return a && b; }},
      {"diff", PortDiffRegion, [](bool a, bool b) { return a && !b; }},
      {"xor", PortXorRegion, [](bool a, bool b) { return a != b; }},
  };
  for (int round = 0; round < 60; ++round) {
    std::vector<Point> pa, pb;
    RgnHandle a = round % 2 ? RandomRectRegion(rng) : RandomPolygonRegion(rng, &pa);
    RgnHandle b = round % 3 ? RandomRectRegion(rng) : RandomPolygonRegion(rng, &pb);
    Grid ga = GridOf(a), gb = GridOf(b);
    if (!pa.empty()) {
      for (int v = kLo; v < kHi; ++v)
        for (int h = kLo; h < kHi; ++h)
          ASSERT_EQ(ga[v - kLo][h - kLo], InsideEvenOdd(pa, h + 0.5, v + 0.5)) << "recorded outline, round " << round;
    }
    for (const Op& op : ops) {
      RgnHandle d = PortNewRegion();
      op.call(a, b, d);
      ASSERT_EQ(GridOf(d), Combine(ga, gb, op.bit)) << op.name << " round " << round;
      // In place, into either operand.
      RgnHandle a2 = PortNewRegion();
      PortCopyRegion(a, a2);
      op.call(a2, b, a2);
      EXPECT_TRUE(PortEqualRegion(a2, d)) << op.name;
      // The bounding box is tight.
      Grid gd = GridOf(d);
      bool any = false;
      for (int v = kLo; v < kHi; ++v)
        for (int h = kLo; h < kHi; ++h)
          if (gd[v - kLo][h - kLo]) {
            any = true;
            const Rect& bb = (**d).rgnBBox;
            ASSERT_TRUE(h >= bb.left && h < bb.right && v >= bb.top && v < bb.bottom);
          }
      EXPECT_EQ(PortEmptyRegion(d), !any);
      PortFreeRegion(d);
      PortFreeRegion(a2);
    }
    // Rectangle test: true exactly when some pixel of the rectangle is in the region.
    std::uniform_int_distribution<int> c(kLo, kHi - 1);
    for (int k = 0; k < 10; ++k) {
      int l = c(rng), t = c(rng);
      Rect r{SInt16(t), SInt16(l), SInt16(std::min(t + 5, kHi)), SInt16(std::min(l + 7, kHi))};
      bool any = false;
      for (int v = r.top; v < r.bottom; ++v)
        for (int h = r.left; h < r.right; ++h) any = any || ga[v - kLo][h - kLo];
      EXPECT_EQ(PortRectInRegion(&r, a), any);
    }
    PortFreeRegion(a);
    PortFreeRegion(b);
  }
}

TEST(Regions, OffsetAndInsetMatchShiftedAndErodedPixelSets) {
  std::mt19937 rng(99);
  for (int round = 0; round < 30; ++round) {
    RgnHandle r = RandomRectRegion(rng);
    Grid g = GridOf(r);
    RgnHandle o = PortNewRegion();
    PortCopyRegion(r, o);
    PortOffsetRegion(o, 3, -2);
    for (int v = kLo + 3; v < kHi - 3; ++v)
      for (int h = kLo + 3; h < kHi - 3; ++h)
        ASSERT_EQ(PortPtInRegion(Point{SInt16(v - 2), SInt16(h + 3)}, o), g[v - kLo][h - kLo]);
    for (auto [dh, dv] : {std::pair{1, 2}, std::pair{2, 0}, std::pair{-1, -2}, std::pair{0, -1}}) {
      RgnHandle s = PortNewRegion();
      PortCopyRegion(r, s);
      PortInsetRegion(s, SInt16(dh), SInt16(dv));
      Grid gs = GridOf(s);
      for (int v = kLo + 3; v < kHi - 3; ++v)
        for (int h = kLo + 3; h < kHi - 3; ++h) {
          // Shrinking keeps a pixel whose whole neighbourhood is inside; growing takes one with
          // any neighbour inside.
          bool all = true, any = false;
          for (int y = v - std::abs(dv); y <= v + std::abs(dv); ++y)
            for (int x = h - std::abs(dh); x <= h + std::abs(dh); ++x) {
              bool in = g[y - kLo][x - kLo];
              all = all && in;
              any = any || in;
            }
          bool grow = dh < 0 || dv < 0;
          ASSERT_EQ(gs[v - kLo][h - kLo], grow ? any : all) << dh << "," << dv << " at " << h << "," << v;
        }
      PortFreeRegion(s);
    }
    PortFreeRegion(o);
    PortFreeRegion(r);
  }
}

TEST(Regions, RecordedOutlinesXorAndEqualRegionsCompareEqual) {
  World w(32);
  RgnHandle r = PortNewRegion();
  PortBeginRegion();
  Rect a{0, 0, 10, 10}, b{5, 5, 15, 15};
  PortFrameRect(&a);
  PortFrameRect(&b);
  PortEndRegion(r);
  EXPECT_TRUE(w.Dark().empty()) << "nothing is drawn while a region is recorded";
  RgnHandle ra = PortNewRegion(), rb = PortNewRegion();
  PortRectRegion(ra, &a);
  PortRectRegion(rb, &b);
  PortXorRegion(ra, rb, ra);
  EXPECT_TRUE(PortEqualRegion(r, ra));
  EXPECT_FALSE(PortIsRectRegion(r));
  // A swept hexagon traced by moves and lines, as the sketch tools do.
  PortBeginRegion();
  PortPenMove(2, 12);
  for (Point p : {Point{2, 2}, Point{2, 6}, Point{10, 14}, Point{14, 14}, Point{14, 10}, Point{12, 2}})
    PortPenLine(p.h, p.v);
  PortEndRegion(r);
  EXPECT_TRUE(PortPtInRegion(Point{8, 8}, r));
  EXPECT_FALSE(PortPtInRegion(Point{13, 2}, r));
  // Ending without beginning gives an empty region.
  PortEndRegion(r);
  EXPECT_TRUE(PortEmptyRegion(r));
  PortFreeRegion(r);
  PortFreeRegion(ra);
  PortFreeRegion(rb);
}

TEST(Regions, PictureLayoutRoundTripsAndRejectsDamage) {
  std::mt19937 rng(5);
  for (int round = 0; round < 30; ++round) {
    RgnHandle r = RandomRectRegion(rng);
    std::vector<UInt8> data = qdimpl::RegionToPictData(**r);
    ASSERT_EQ(std::size_t(vlcore::ByteReader(data.data(), data.size()).U16()), data.size());
    Region back;
    ASSERT_TRUE(qdimpl::RegionFromPictData(back, data.data(), data.size()));
    EXPECT_EQ(back.bands, (**r).bands);
    if (data.size() > 12) {
      // Cut short, a wrong size, or an outline that never closes: all refused.
      EXPECT_FALSE(qdimpl::RegionFromPictData(back, data.data(), data.size() - 2));
      std::vector<UInt8> longer = data;
      longer[0] = UInt8((data.size() + 2) >> 8);
      longer[1] = UInt8(data.size() + 2);
      EXPECT_FALSE(qdimpl::RegionFromPictData(back, longer.data(), longer.size() - 2));
    }
    PortFreeRegion(r);
  }
  const UInt8 unclosed[] = {0, 20, 0, 0, 0, 0, 0, 10, 0, 10, 0, 2, 0, 1, 0, 5, 0x7F, 0xFF, 0x7F, 0xFF};
  Region bad;
  EXPECT_FALSE(qdimpl::RegionFromPictData(bad, unclosed, sizeof unclosed));
}

}  // namespace
