// Offscreen worlds, ports and coordinates, and pixel copies between depths.
#include "QdTestUtil.h"

namespace {

TEST(Worlds, CreateUpdateAndFree) {
  GrafPtr before;
  PortGetPort(&before);
  GWorldPtr w = nullptr;
  Rect bounds{10, 20, 40, 70};
  ASSERT_EQ(PortNewOffscreen(&w, 1, &bounds, nullptr, nullptr, kOffscreenUseTempMem), noErr);
  GrafPtr now;
  PortGetPort(&now);
  EXPECT_EQ(now, before) << "making a world leaves the current port alone";
  PixMapHandle pm = PortOffscreenPixMap(w);
  ASSERT_TRUE(PortLockPixels(pm));
  EXPECT_EQ((*pm)->pixelSize, 1);
  EXPECT_EQ((*pm)->bounds, bounds);
  EXPECT_EQ(w->portRect, bounds);
  EXPECT_FALSE(PortIsColorPort(w));
  EXPECT_NE(PortPixBaseAddress(pm), nullptr);
  PortUnlockPixels(pm);

  // Draw, then move to the screen's depth: the picture is kept.
  PortSetPort(w);
  Rect r{12, 22, 20, 30};
  PortPaintRect(&r);
  ASSERT_EQ(PortUpdateOffscreen(&w, 0, &bounds, nullptr, nullptr, 0), 0u);
  EXPECT_EQ(w->portPixMap.pixelSize, 32);
  EXPECT_TRUE(PortIsColorPort(w));
  RGBColor c;
  PortGetCPixel(25, 15, &c);
  EXPECT_EQ(c, (RGBColor{0, 0, 0}));
  PortGetCPixel(35, 15, &c);
  EXPECT_EQ(c, (RGBColor{65535, 65535, 65535}));

  // Larger bounds keep the overlap; a world that cannot be made leaves the old one.
  Rect bigger{10, 20, 60, 100};
  ASSERT_EQ(PortUpdateOffscreen(&w, 16, &bigger, nullptr, nullptr, 0), 0u);
  PortGetCPixel(25, 15, &c);
  EXPECT_EQ(c, (RGBColor{0, 0, 0}));
  Rect huge{0, 0, 32767, 32767};
  EXPECT_NE(PortUpdateOffscreen(&w, 32, &huge, nullptr, nullptr, 0), 0u);
  EXPECT_EQ(w->portRect, bigger);
  PortSetPort(before);
  PortFreeOffscreen(w);

  GWorldPtr bad = reinterpret_cast<GWorldPtr>(1);
  Rect inverted{10, 10, 5, 5};
  EXPECT_EQ(PortNewOffscreen(&bad, 32, &inverted, nullptr, nullptr, 0), paramErr);
  EXPECT_EQ(bad, nullptr);
  GWorldPtr empty = nullptr;
  Rect none{0, 0, 0, 0};
  ASSERT_EQ(PortNewOffscreen(&empty, 32, &none, nullptr, nullptr, 0), noErr);
  PortSetPort(empty);
  PortPaintRect(&r);  // draws nothing, and does not fail
  PortSetPort(before);
  PortFreeOffscreen(empty);
}

TEST(Ports, OriginAndGlobalCoordinates) {
  World w(32, Rect{0, 0, 20, 20});
  PortSetOrigin(100, 50);
  EXPECT_EQ(w.get()->portRect, (Rect{50, 100, 70, 120}));
  Rect r{50, 100, 52, 102};
  PortPaintRect(&r);
  EXPECT_EQ(w.Dark(), RectPixels(100, 50, 102, 52));
  Point p{55, 105};
  PortLocalToGlobal(&p);
  EXPECT_EQ(p, (Point{5, 5}));
  PortGlobalToLocal(&p);
  EXPECT_EQ(p, (Point{55, 105}));
}

TEST(Ports, RecordingPortWithoutPixelsAndClosingTheCurrentPort) {
  GrafPtr saved;
  PortGetPort(&saved);
  GrafPort port;
  PortOpenPort(&port);
  EXPECT_EQ(PortCurrentPort(), &port);
  PortPortSize(300, 200);
  EXPECT_EQ(port.portRect, (Rect{0, 0, 200, 300}));
  Rect r{0, 0, 10, 10};
  PortPaintRect(&r);
  PortClosePort(&port);
  EXPECT_NE(PortCurrentPort(), nullptr) << "an empty port stands in";
  PortPaintRect(&r);
  PortSetPort(nullptr);
  PortFrameOval(&r);
  PortSetPort(saved);
}

TEST(CopyBits, BetweenDepthsAndWithStretching) {
  World src(32, Rect{0, 0, 4, 4});
  RGBColor colours[4] = {{65535, 0, 0}, {0, 65535, 0}, {0, 0, 65535}, {0, 0, 0}};
  for (int i = 0; i < 4; ++i) {
    PortRGBForeColor(&colours[i]);
    Rect q{SInt16(i / 2 * 2), SInt16(i % 2 * 2), SInt16(i / 2 * 2 + 2), SInt16(i % 2 * 2 + 2)};
    PortPaintRect(&q);
  }
  PortForeColor(blackColor);
  for (int depth : {16, 32}) {
    World dst(depth, Rect{0, 0, 8, 8});
    Rect from{0, 0, 4, 4}, to{0, 0, 8, 8};
    PortCopyBits(&src.pixels(), &dst.pixels(), &from, &to, srcCopy, nullptr);
    for (int i = 0; i < 4; ++i) {
      RGBColor c;
      PortGetCPixel(SInt16(i % 2 * 4 + 3), SInt16(i / 2 * 4 + 1), &c);
      EXPECT_EQ(c, colours[i]) << depth << " quarter " << i;
    }
  }
  // Unstretched changes of depth, there and back.
  World half(16, Rect{0, 0, 4, 4}), back32(32, Rect{0, 0, 4, 4});
  Rect quad{0, 0, 4, 4};
  PortCopyBits(&src.pixels(), &half.pixels(), &quad, &quad, srcCopy, nullptr);
  PortCopyBits(&half.pixels(), &back32.pixels(), &quad, &quad, srcCopy, nullptr);
  EXPECT_EQ(back32.Snapshot(), src.Snapshot());
  EXPECT_EQ(half.At(3, 0), 0x03E0u);
  // To one bit: dark colours become black; and back from one bit in the fore and back colours.
  World mono(1, Rect{0, 0, 4, 4});
  Rect all{0, 0, 4, 4};
  PortCopyBits(&src.pixels(), &mono.pixels(), &all, &all, srcCopy, nullptr);
  EXPECT_EQ(mono.At(0, 0), 1u);
  World coloured(32, Rect{0, 0, 4, 4});
  RGBColor fore{65535, 0, 0}, back{0, 0, 65535};
  PortRGBForeColor(&fore);
  PortRGBBackColor(&back);
  PortCopyBits(&mono.pixels(), &coloured.pixels(), &all, &all, srcCopy, nullptr);
  EXPECT_EQ(coloured.At(0, 0), 0xFF0000u);
}

TEST(CopyBits, TransferModesFromAOneBitSource) {
  // Source: column 0 black, column 1 white. Destination row: grey, grey.
  struct Case {
    SInt16 mode;
    UInt32 onBlack, onWhite;
  };
  const UInt32 grey = 0x808080, white = 0xFFFFFF, black = 0, inverted = 0x7F7F7F;
  const Case cases[] = {
      {srcCopy, black, white},     {srcOr, black, grey},       {srcXor, inverted, grey},  {srcBic, white, grey},
      {notSrcCopy, white, black},  {notSrcOr, grey, black},    {notSrcXor, grey, inverted}, {notSrcBic, grey, white},
  };
  World src(1, Rect{0, 0, 1, 2});
  PortPenMove(0, 0);
  PortPenLine(0, 0);
  for (const Case& c : cases) {
    World dst(32, Rect{0, 0, 1, 2});
    RGBColor g{0x8080, 0x8080, 0x8080};
    PortRGBForeColor(&g);
    Rect all{0, 0, 1, 2};
    PortPaintRect(&all);
    PortForeColor(blackColor);
    PortCopyBits(&src.pixels(), &dst.pixels(), &all, &all, c.mode, nullptr);
    EXPECT_EQ(dst.At(0, 0), c.onBlack) << "mode " << c.mode;
    EXPECT_EQ(dst.At(1, 0), c.onWhite) << "mode " << c.mode;
  }
}

TEST(CopyBits, MaskClipAndOverlappingScroll) {
  World w(32, Rect{0, 0, 16, 16});
  Rect left{0, 0, 16, 8};
  PortPaintRect(&left);
  // Through a mask region (destination coordinates), onto the same port.
  World dst(32, Rect{0, 0, 16, 16});
  RgnHandle mask = PortNewRegion();
  Rect oval{0, 0, 16, 16};
  PortBeginRegion();
  PortFrameOval(&oval);
  PortEndRegion(mask);
  Rect all{0, 0, 16, 16};
  PortCopyBits(&w.pixels(), PortPortBits(dst.get()), &all, &all, srcCopy, mask);
  for (auto [h, v] : dst.Dark()) EXPECT_TRUE(h < 8 && PortPtInRegion(Point{SInt16(v), SInt16(h)}, mask));
  EXPECT_TRUE(dst.Dark().count({4, 8}));
  EXPECT_FALSE(dst.Dark().count({0, 0}));
  PortFreeRegion(mask);
  // Scrolling within one world copies from the picture as it was.
  PortSetPort(w.get());
  Rect from{0, 0, 16, 12}, to{0, 4, 16, 16};
  PortCopyBits(&w.pixels(), &w.pixels(), &from, &to, srcCopy, nullptr);
  EXPECT_EQ(w.Dark(), RectPixels(0, 0, 12, 16));
}

}  // namespace
