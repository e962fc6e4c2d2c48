// The pane's zoom and scrolling: the rectangle a zoom shows, the bounds that follow it, the ratio
// it broadcasts, and scrolling that moves the view's sub-window instead of the pane.
#include <gtest/gtest.h>

#include <vector>

#include "VLCrosshairCursor.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"
#include "ViewTestSupport.h"

namespace {

class ZoomLog : public CCollaborator {
 public:
  void ProviderChanged(CCollaborator*, long reason, void* info) override {
    if (reason == 5000) ratios.push_back(*static_cast<double*>(info));
  }
  std::vector<double> ratios;
};

// A 400 x 300 pane with only its view: redraws are counted, not drawn.
class ZoomPane : public VLViewPane {
 public:
  ZoomPane() {
    width = 400;
    height = 300;
    frame = bounds = LongRect{0, 0, 300, 400};
    CalcAperture();
  }
  void Refresh() override { ++refreshes; }
  void SetBounds(LongRect b) { bounds = b; }
  LongRect Bounds() const { return bounds; }
  LongRect Frame() const { return frame; }
  LongRect Aperture() const { return aperture; }
  LongPt Origin() const { return {vOrigin, hOrigin}; }
  LongPt Position() const { return position; }
  int refreshes = 0;
};

struct Zoom : ::testing::Test {
  void SetUp() override {
    pane.viewTransform = &view;
    pane.AddDependent(&log);
  }
  void TearDown() override {
    pane.RemoveDependent(&log);
    pane.viewTransform = nullptr;
  }
  // The sub-window as pane pixels of the unzoomed view (left, top, right, bottom).
  std::vector<double> SubWindow() const { return {view.x0 * 400, (1 - view.y1) * 300, view.x1 * 400, (1 - view.y0) * 300}; }

  VLViewTransform view = SetUpTransform(400, 300);
  ZoomPane pane;
  ZoomLog log;
};

void ExpectBounds(const LongRect& b, long left, long top, long right, long bottom) {
  EXPECT_EQ(b.left, left);
  EXPECT_EQ(b.top, top);
  EXPECT_EQ(b.right, right);
  EXPECT_EQ(b.bottom, bottom);
}

TEST_F(Zoom, ByTwoShowsTheMiddleAndByAHalfComesBack) {
  pane.ZoomBy(2.0);
  const std::vector<double> middle{100, 75, 300, 225};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(SubWindow()[i], middle[i], 1e-9) << i;
  ExpectBounds(pane.Bounds(), -200, -150, 600, 450);
  EXPECT_EQ(log.ratios, std::vector<double>{2.0});
  EXPECT_TRUE(pane.zoomed);
  EXPECT_EQ(pane.refreshes, 1);
  pane.ZoomBy(0.5);
  const std::vector<double> whole{0, 0, 400, 300};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(SubWindow()[i], whole[i], 1e-9) << i;
  ExpectBounds(pane.Bounds(), 0, 0, 400, 300);
  EXPECT_EQ(log.ratios, (std::vector<double>{2.0, 1.0}));
}

TEST_F(Zoom, ARectangleStickingOutOfTheBoundsIsMovedBackFirst) {
  pane.SetBounds(LongRect{-150, -100, 450, 270});  // 30 short of the zoom rectangle's right side
  pane.ZoomBy(2.0);
  EXPECT_NEAR(SubWindow()[0], 70, 1e-9);
  EXPECT_NEAR(SubWindow()[2], 270, 1e-9);
}

TEST_F(Zoom, AResetOfTheWholeWindowDoesNothing) {
  pane.ZoomBy(2.0);
  pane.ZoomReset();
  ExpectBounds(pane.Bounds(), 0, 0, 400, 300);
  EXPECT_FALSE(pane.zoomed);
  pane.ZoomReset();
  EXPECT_EQ(log.ratios, (std::vector<double>{2.0, 1.0}));
  EXPECT_EQ(pane.refreshes, 2);
}

TEST_F(Zoom, ScrollingMovesTheBoundsAndTheSubWindowButNotThePane) {
  pane.ZoomBy(2.0);
  const LongRect frame = pane.Frame(), aperture = pane.Aperture();
  const LongPt origin = pane.Origin(), position = pane.Position();
  const double left = SubWindow()[0];
  gViewScrolled = 0;
  pane.Scroll(10, 0, false);
  ExpectBounds(pane.Bounds(), -210, -150, 590, 450);
  ExpectBounds(pane.Frame(), frame.left, frame.top, frame.right, frame.bottom);
  ExpectBounds(pane.Aperture(), aperture.left, aperture.top, aperture.right, aperture.bottom);
  EXPECT_EQ(pane.Origin().h, origin.h);
  EXPECT_EQ(pane.Position().h, position.h);
  // 10 pane pixels of the zoomed view are 5 of the whole one.
  EXPECT_NEAR(SubWindow()[0], left + 5, 1e-9);
  EXPECT_TRUE(gViewScrolled);
  gViewScrolled = 0;
}

TEST_F(Zoom, ScrollToDoesNothingWhilePrinting) {
  const double left = SubWindow()[0];
  gPrintingView = 1;
  const LongPt there{0, 40};
  pane.ScrollTo(&there, true);
  gPrintingView = 0;
  EXPECT_EQ(pane.Position().h, 0);
  EXPECT_NEAR(SubWindow()[0], left, 1e-9);
  EXPECT_EQ(pane.refreshes, 0);
}

TEST_F(Zoom, ATrackedPointOutsideTheFrameScrollsOnlyAZoomedView) {
  auto& cursor = *new VLCrosshairCursor;
  cursor.IVLCrosshairCursor(&view, nullptr, nullptr, nullptr, nullptr);
  pane.crosshair = &cursor;
  pane.AutoScrollToPoint(Point{100, -12});
  ExpectBounds(pane.Bounds(), 0, 0, 400, 300);
  EXPECT_FALSE(cursor.scrolled);
  pane.ZoomBy(2.0);
  pane.AutoScrollToPoint(Point{100, -12});
  ExpectBounds(pane.Bounds(), -188, -150, 612, 450);
  EXPECT_TRUE(cursor.scrolled);
  pane.AutoScrollToPoint(Point{100, 50});
  EXPECT_FALSE(cursor.scrolled);
  pane.crosshair = nullptr;
  cursor.Dispose();
  gViewScrolled = 0;
}

}  // namespace
