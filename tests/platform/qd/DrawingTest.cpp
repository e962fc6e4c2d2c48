// Pixel tests of lines, shapes, patterns, transfer modes and clipping.
#include <random>

#include "QdTestUtil.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

TEST(Lines, OnePixelLineSetsExactlyTheExpectedPixels) {
  const Pixels expected = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2},
                           {6, 3}, {7, 3}, {8, 4}, {9, 4}, {10, 5}};
  for (bool reversed : {false, true}) {
    World w(32);
    if (reversed) {
      PortPenMove(10, 5);
      PortPenLine(0, 0);
    } else {
      PortPenMove(0, 0);
      PortPenLine(10, 5);
    }
    EXPECT_EQ(w.Dark(), expected) << "reversed " << reversed;
    Point pen;
    PortGetPen(&pen);
    EXPECT_EQ(pen, reversed ? (Point{0, 0}) : (Point{5, 10}));
  }
}

TEST(Lines, PenHangsBelowAndRightOfThePath) {
  World w(32);
  PortPenSize(2, 2);
  PortPenMove(2, 2);
  PortPenLine(8, 2);
  PortPenLine(8, 8);
  EXPECT_EQ(w.Dark().size(), RectPixels(2, 2, 10, 4).size() + RectPixels(8, 4, 10, 10).size());
  for (auto p : RectPixels(2, 2, 10, 4)) EXPECT_TRUE(w.Dark().count(p));
  for (auto p : RectPixels(8, 2, 10, 10)) EXPECT_TRUE(w.Dark().count(p));
  // A pen of zero width draws nothing.
  World z(32);
  PortPenSize(0, 3);
  PortPenLine(20, 20);
  EXPECT_TRUE(z.Dark().empty());
}

TEST(Shapes, FramedRectangleStaysInsideAndFramedPolygonHangsOut) {
  World w(32);
  PortPenSize(2, 2);
  Rect r{2, 2, 8, 8};
  PortFrameRect(&r);
  Pixels frame = RectPixels(2, 2, 8, 8);
  for (auto p : RectPixels(4, 4, 6, 6)) frame.erase(p);
  EXPECT_EQ(w.Dark(), frame);

  World pw(32);
  PortPenSize(2, 2);
  PolyHandle poly = PortOpenPolygon();
  PortPenMove(2, 2);
  PortPenLine(8, 2);
  PortPenLine(8, 8);
  PortPenLine(2, 8);
  PortPenLine(2, 2);
  PortClosePolygon();
  EXPECT_TRUE(pw.Dark().empty()) << "the pen is hidden while a polygon is recorded";
  ASSERT_EQ(PortPolygonPointCount(poly), 5);
  PortFramePolygon(poly);
  Pixels ring = RectPixels(2, 2, 10, 10);
  for (auto p : RectPixels(4, 4, 8, 8)) ring.erase(p);
  EXPECT_EQ(pw.Dark(), ring);
  PortFreePolygon(poly);
}

TEST(Shapes, PaintedShapesCoverPixelCentres) {
  World w(32);
  Rect r{0, 0, 10, 10};
  PortPaintOval(&r);
  Pixels oval = w.Dark();
  // Symmetric about both axes, inside the rectangle, first row the middle four pixels.
  for (auto [h, v] : oval) {
    EXPECT_TRUE(oval.count({9 - h, v}) && oval.count({h, 9 - v}));
    EXPECT_TRUE(h >= 0 && h < 10 && v >= 0 && v < 10);
  }
  EXPECT_EQ(oval.count({3, 0}) + oval.count({4, 0}) + oval.count({5, 0}) + oval.count({6, 0}), 4u);
  EXPECT_FALSE(oval.count({2, 0}));

  World line(32);
  Rect flat{5, 2, 6, 12};
  PortPaintOval(&flat);
  EXPECT_EQ(line.Dark(), RectPixels(2, 5, 12, 6)) << "a one-row oval fills its row";

  World rr(32);
  Rect box{1, 1, 21, 21};
  PortPaintRoundRect(&box, 0, 0);
  EXPECT_EQ(rr.Dark(), RectPixels(1, 1, 21, 21));
  PortEraseRect(&box);
  PortPaintRoundRect(&box, 8, 8);
  EXPECT_FALSE(rr.Dark().count({1, 1}));
  EXPECT_TRUE(rr.Dark().count({11, 1}));
  EXPECT_TRUE(rr.Dark().count({1, 11}));
}

TEST(Shapes, ArcsFollowTheirAnglesClockwiseFromTwelve) {
  Rect r{0, 0, 20, 20};
  World quarter(32);
  PortPaintArc(&r, 0, 90);  // twelve to three o'clock: the top-right quarter
  for (auto [h, v] : quarter.Dark()) EXPECT_TRUE(h >= 10 && v < 10) << h << "," << v;
  EXPECT_FALSE(quarter.Dark().empty());

  World back(32);
  PortPaintArc(&r, 90, -90);  // the same quarter drawn the other way round
  EXPECT_EQ(back.Dark(), quarter.Dark());

  World full(32), oval(32);
  PortSetPort(full.get());
  PortPaintArc(&r, 45, 360);
  PortSetPort(oval.get());
  PortPaintOval(&r);
  EXPECT_EQ(full.Dark(), oval.Dark());
}


TEST(Shapes, PaintedPolygonsMatchEvenOddAtPixelCentres) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-4, 36), count(3, 9);
  for (int round = 0; round < 40; ++round) {
    World w(32);
    std::vector<Point> pts(std::size_t(count(rng)));
    for (Point& p : pts) p = Point{SInt16(coord(rng)), SInt16(coord(rng))};
    PolyHandle poly = PortOpenPolygon();
    PortPenMove(pts.back().h, pts.back().v);
    for (Point p : pts) PortPenLine(p.h, p.v);
    PortClosePolygon();
    PortPaintPolygon(poly);
    PortFreePolygon(poly);
    Pixels expected;
    for (int v = 0; v < 32; ++v)
      for (int h = 0; h < 32; ++h)
        if (InsideEvenOdd(pts, h + 0.5, v + 0.5)) expected.insert({h, v});
    ASSERT_EQ(w.Dark(), expected) << "round " << round;
  }
}

TEST(Modes, XorDrawnTwiceRestoresTheImage) {
  for (int depth : {1, 16, 32}) {
    World w(depth, Rect{0, 0, 40, 40});
    RGBColor c{9000, 40000, 60000};
    PortRGBForeColor(&c);
    Rect base{5, 5, 30, 25};
    PortPaintOval(&base);
    PortForeColor(blackColor);
    const std::string before = w.Snapshot();
    PixPatHandle blue = PortNewPixPat();
    RGBColor crosshair{0, 30000, 65000};
    PortMakeRGBPat(blue, &crosshair);
    auto draw = [&] {
      PortPenMode(patXor);
      PortPenSize(3, 2);
      PortPenMove(1, 1);
      PortPenLine(38, 30);
      PortPenPixPat(blue);
      PortPenLine(2, 37);
      PortPenPattern(&qd.gray);
      Rect r{3, 8, 33, 20};
      PortFrameRect(&r);
      PortPaintRoundRect(&r, 10, 6);
      PortFrameArc(&r, 30, 200);
      PortPenNormal();
      PortInvertRect(&r);
      Rect o{10, 2, 36, 39};
      PortInvertOval(&o);
    };
    draw();
    EXPECT_NE(w.Snapshot(), before) << depth;
    draw();
    EXPECT_EQ(w.Snapshot(), before) << depth;
    PortDisposePixPat(blue);
  }
}

TEST(Modes, XorWithAColourTurnsWhiteIntoThatColour) {
  World w(32);
  RGBColor blue{0, 30000, 65000};
  PortRGBForeColor(&blue);
  PortPenMode(patXor);
  PortPenLine(5, 0);
  EXPECT_EQ(w.At(3, 0), 0x0075FDu);
}

TEST(Modes, PenModesApplyTheirPattern) {
  struct Case {
    SInt16 mode;
    UInt32 onInk, onPaper;  // result on a black pixel under a set and a clear pattern bit
    UInt32 offInk, offPaper;
  };
  // Pattern 0xF0 rows: columns 0-3 set, 4-7 clear. Row 0 starts black, row 1 white (1-bit).
  const Case cases[] = {
      {patCopy, 1, 1, 0, 0}, {patOr, 1, 1, 1, 0},    {patXor, 0, 1, 1, 0},    {patBic, 0, 0, 1, 0},
      {notPatCopy, 0, 0, 1, 1}, {notPatOr, 1, 0, 1, 1}, {notPatXor, 1, 0, 0, 1}, {notPatBic, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    World w(1, Rect{0, 0, 2, 8});
    Rect row0{0, 0, 1, 8};
    PortPaintRect(&row0);
    Pattern half{{0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0}};
    PortPenPattern(&half);
    PortPenMode(c.mode);
    Rect all{0, 0, 2, 8};
    PortPaintRect(&all);
    EXPECT_EQ(w.At(0, 0), c.onInk) << c.mode;
    EXPECT_EQ(w.At(0, 1), c.onPaper) << c.mode;
    EXPECT_EQ(w.At(5, 0), c.offInk) << c.mode;
    EXPECT_EQ(w.At(5, 1), c.offPaper) << c.mode;
  }
}

TEST(Patterns, AlignedToThePortOrigin) {
  World w(32, Rect{0, 0, 16, 16});
  Rect r{0, 0, 16, 16};
  PortFillRect(&r, &qd.gray);
  EXPECT_NE(w.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(w.At(1, 0), 0xFFFFFFu);
  EXPECT_EQ(w.At(0, 1), 0xFFFFFFu);
  EXPECT_EQ(w.At(9, 1), 0u);
  // Moving the origin one pixel moves the pattern with it.
  PortSetOrigin(1, 0);
  Rect moved{0, 1, 16, 17};
  PortEraseRect(&moved);
  PortFillRect(&moved, &qd.gray);
  EXPECT_EQ(w.At(1, 0), 0xFFFFFFu) << "local (1, 0) is the world's first pixel and takes pattern bit 1";
  EXPECT_EQ(w.At(2, 0), 0u);
}

TEST(Pixels, ColoursPerDepthAndTopByteStaysZero) {
  const RGBColor red{65535, 0, 0};
  struct Case {
    int depth;
    UInt32 value;
  } cases[] = {{32, 0xFF0000}, {16, 0x7C00}, {1, 1}};
  for (const Case& c : cases) {
    World w(c.depth);
    PortRGBForeColor(&red);
    Rect r{0, 0, 4, 4};
    PortPaintRect(&r);
    EXPECT_EQ(w.At(1, 1), c.value) << c.depth;
    RGBColor back;
    PortGetCPixel(1, 1, &back);
    if (c.depth > 1) {
      EXPECT_EQ(back, red);
    }
  }
  // Unpainted pixels keep whatever top byte they had; painted ones get 0.
  World w(32);
  auto* px = reinterpret_cast<UInt32*>(w.pixels().baseAddr);
  for (int i = 0; i < 32 * 32; ++i) px[i] |= 0xFF000000u;
  Rect r{2, 2, 6, 6};
  PortPaintRect(&r);
  PortPenMove(10, 10);
  PortPenLine(20, 12);
  RGBColor green{0, 65535, 0};
  PortSetCPixel(30, 30, &green);
  EXPECT_EQ(w.At(3, 3), 0u);
  EXPECT_EQ(w.At(15, 11) >> 24, 0u);
  EXPECT_EQ(w.At(30, 30), 0x00FF00u);
  EXPECT_EQ(w.At(0, 0), 0xFFFFFFFFu);
}

TEST(Clipping, DrawingStaysInsideTheClipRegion) {
  World w(32);
  RgnHandle clip = PortNewRegion();
  Rect oval{4, 4, 28, 24};
  PortBeginRegion();
  PortFrameOval(&oval);
  PortEndRegion(clip);
  Rect hole{10, 10, 14, 14};
  RgnHandle holeRgn = PortNewRegion();
  PortRectRegion(holeRgn, &hole);
  PortDiffRegion(clip, holeRgn, clip);
  PortSetClip(clip);
  Rect all{0, 0, 32, 32};
  PortPaintRect(&all);
  PortPenMove(0, 0);
  PortPenLine(31, 31);
  Pixels expected;
  for (int v = 0; v < 32; ++v)
    for (int h = 0; h < 32; ++h)
      if (PortPtInRegion(Point{SInt16(v), SInt16(h)}, clip)) expected.insert({h, v});
  EXPECT_EQ(w.Dark(), expected);
  EXPECT_FALSE(expected.empty());
  RGBColor red{65535, 0, 0};
  PortEraseRect(&all);
  PortSetCPixel(0, 0, &red);
  EXPECT_TRUE(w.Dark().empty()) << "single pixels are clipped too";
  PortFreeRegion(clip);
  PortFreeRegion(holeRgn);
}

TEST(Shapes, EraseInvertAndFillVerbs) {
  World w(32, Rect{0, 0, 8, 8});
  Rect r{0, 0, 8, 8};
  PortPaintRect(&r);
  RGBColor sky{1000, 2000, 60000};
  PortRGBBackColor(&sky);
  Rect inner{2, 2, 6, 6};
  PortEraseRect(&inner);
  EXPECT_EQ(w.At(3, 3), 0x0307EAu);
  PortInvertRect(&inner);
  EXPECT_EQ(w.At(3, 3), 0xFCF815u);
  PixPatHandle pp = PortNewPixPat();
  RGBColor grey{55000, 55000, 55000};
  PortMakeRGBPat(pp, &grey);
  PortFillCRect(&inner, pp);
  EXPECT_EQ(w.At(3, 3), 0xD6D6D6u);
  PortDisposePixPat(pp);
  RgnHandle rgn = PortNewRegion();
  PortRectRegion(rgn, &inner);
  PortFillRegion(rgn, &qd.black);
  EXPECT_EQ(w.At(3, 3), 0u);
  PortFreeRegion(rgn);
}

TEST(Ports, PenStateAndColoursSaveAndRestore) {
  World w(32);
  PenState saved;
  PortPenSize(3, 4);
  PortPenMode(patXor);
  PortPenPattern(&qd.ltGray);
  PortPenMove(7, 9);
  PortGetPenState(&saved);
  PortPenNormal();
  PortPenMove(0, 0);
  PortSetPenState(&saved);
  PenState again;
  PortGetPenState(&again);
  EXPECT_EQ(again.pnSize, (Point{4, 3}));
  EXPECT_EQ(again.pnMode, patXor);
  EXPECT_EQ(again.pnPat, qd.ltGray);
  EXPECT_EQ(again.pnLoc, (Point{9, 7}));
  RGBColor c{1, 2, 3}, got;
  PortRGBForeColor(&c);
  PortGetForeColor(&got);
  EXPECT_EQ(got, c);
  PortForeColor(redColor);
  PortGetForeColor(&got);
  EXPECT_EQ(got, (RGBColor{65535, 0, 0}));
  PortBackColor(whiteColor);
  PortGetBackColor(&got);
  EXPECT_EQ(got, (RGBColor{65535, 65535, 65535}));
}

TEST(Colours, StandardTableCornersAndBounds) {
  RGBColor c;
  EXPECT_TRUE(PortIndexToColor(0, &c));
  EXPECT_EQ(c, (RGBColor{65535, 65535, 65535}));
  EXPECT_TRUE(PortIndexToColor(255, &c));
  EXPECT_EQ(c, (RGBColor{0, 0, 0}));
  EXPECT_TRUE(PortIndexToColor(5, &c));  // full red and green, no blue
  EXPECT_EQ(c, (RGBColor{65535, 65535, 0}));
  EXPECT_TRUE(PortIndexToColor(35, &c));
  EXPECT_EQ(c, (RGBColor{65535, 0, 0}));
  EXPECT_TRUE(PortIndexToColor(215, &c));  // start of the red ramp
  EXPECT_EQ(c, (RGBColor{0xEEEE, 0, 0}));
  EXPECT_FALSE(PortIndexToColor(256, &c));
  EXPECT_FALSE(PortIndexToColor(-1, &c));
}

}  // namespace
