#include <gtest/gtest.h>

#include <vector>

#include "AppResources.h"
#include "DETException.h"
#include "IconPlotting.h"
#include "QuickDraw.h"
#include "Resources.h"

namespace {

// An 'ICON' list of two icons (the second a solid square) and a 'SICN' list of one (its top
// row set), drawn into a white 64 by 64 world.
class IconPlotting : public ::testing::Test {
 protected:
  void SetUp() override {
    icons.assign(2 * 128, 0);
    for (int i = 128; i < 256; ++i) icons[std::size_t(i)] = 0xFF;
    small.assign(32, 0);
    small[0] = small[1] = 0xFF;
    table[0] = {FourCC("ICON"), 300, nullptr, icons.data(), UInt32(icons.size())};
    table[1] = {FourCC("SICN"), 301, nullptr, small.data(), UInt32(small.size())};
    vlres::InstallResourceTable(table, 2);
    Rect bounds{0, 0, 64, 64};
    ASSERT_EQ(PortNewOffscreen(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
    PortGetWorld(&savedPort, &savedDevice);
    PortSetWorld(world, nullptr);
    PortEraseRect(&bounds);
  }
  void TearDown() override {
    PortSetWorld(savedPort, savedDevice);
    PortFreeOffscreen(world);
    vlres::InstallApplicationResources();
  }
  int DarkPixels() {
    int n = 0;
    for (SInt16 v = 0; v < 64; ++v)
      for (SInt16 h = 0; h < 64; ++h) n += PortGetPixel(h, v) ? 1 : 0;
    return n;
  }

  std::vector<unsigned char> icons, small;
  vlres::CompiledResource table[2];
  GWorldPtr world = nullptr;
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
};

}  // namespace

TEST_F(IconPlotting, FullSizeIconCoversThirtyTwoByThirtyOne) {
  PlotICON(300, 2, Point{4, 8});
  EXPECT_EQ(DarkPixels(), 32 * 31);
  EXPECT_TRUE(PortGetPixel(8, 4));
  EXPECT_TRUE(PortGetPixel(39, 34));
  EXPECT_FALSE(PortGetPixel(40, 34));
  EXPECT_FALSE(PortGetPixel(8, 35));
}

TEST_F(IconPlotting, MissingIconsDrawNothingExceptWhereTheyMustThrow) {
  PlotICON(300, 3, Point{0, 0});   // past the end of the list
  PlotICON(300, 0, Point{0, 0});
  PlotICON(999, 1, Point{0, 0});   // no such resource
  PlotSICN(999, 1, Point{0, 0}, srcCopy);
  EXPECT_EQ(DarkPixels(), 0);
  EXPECT_THROW(PlotSmallIcon(999, 1, Point{0, 0}, srcCopy), DETException);
}

TEST_F(IconPlotting, SmallIconsAndShrunkModes) {
  PlotSICN(301, 1, Point{10, 10}, srcCopy);
  EXPECT_EQ(DarkPixels(), 16);
  Rect all{0, 0, 64, 64};
  PortEraseRect(&all);
  PlotICONShrunk(300, 2, Point{10, 10}, 1);  // inverted: the solid icon comes out white
  EXPECT_EQ(DarkPixels(), 0);
  PlotICONShrunk(300, 1, Point{10, 10}, 1);  // an empty icon inverted is a black box
  EXPECT_EQ(DarkPixels(), 26 * 18);
  RGBColor fore;
  PortGetForeColor(&fore);
  EXPECT_EQ(fore, (RGBColor{0, 0, 0}));  // colours put back
}
