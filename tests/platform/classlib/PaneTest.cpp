// Pane geometry: sizing with the enclosure, origins and apertures of nested panes, hit
// testing, panorama scrolling and the scroll pane's bars.
#include <gtest/gtest.h>

#include "CPane.h"
#include "CPanorama.h"
#include "CScrollBar.h"
#include "CScrollPane.h"
#include "Controls.h"

namespace {

// A pane with no enclosure stands for the window: its coordinates are the window's.
CPane* MakeRoot(SInt16 w, SInt16 h) {
  auto* root = new CPane;
  root->Init(nullptr, nullptr, w, h, 0, 0, sizFIXEDLEFT, sizFIXEDTOP);
  return root;
}

struct SizingCase {
  SizingOption h, v;
  LongRect expected;  // the child's frame in the enclosure after the enclosure grew by (40, 20)
};

TEST(PaneTest, PanesFollowTheirEnclosureBySizingOption) {
  const SizingCase cases[] = {
      {sizFIXEDLEFT, sizFIXEDTOP, {20, 10, 50, 60}},
      {sizFIXEDRIGHT, sizFIXEDBOTTOM, {40, 50, 70, 100}},
      {sizELASTIC, sizELASTIC, {20, 10, 70, 100}},
      {sizFIXEDSTICKY, sizFIXEDSTICKY, {20, 10, 50, 60}},
      {sizFIXEDRIGHT, sizELASTIC, {20, 50, 70, 100}},
      {sizFIXEDTOP, sizFIXEDBOTTOM, {40, 10, 70, 60}},  // top and bottom read as near and far
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.h << "," << c.v);
    CPane* root = MakeRoot(200, 100);
    auto* child = new CPane;
    child->Init(root, nullptr, 50, 30, 10, 20, c.h, c.v);
    auto* inner = new CPane;
    inner->Init(child, nullptr, 10, 10, 0, 0, sizELASTIC, sizELASTIC);
    Rect grow{0, 0, 20, 40};
    root->ChangeSize(&grow, false);
    LongRect placed;
    child->GetFrameInEnclosure(&placed);
    EXPECT_EQ(placed, c.expected);
    // The inner elastic pane grew by as much as its enclosure did.
    LongRect innerFrame;
    inner->GetFrame(&innerFrame);
    EXPECT_EQ(innerFrame.right - 10, (c.expected.right - c.expected.left) - 50);
    EXPECT_EQ(innerFrame.bottom - 10, (c.expected.bottom - c.expected.top) - 30);
    root->Dispose();
  }
}

TEST(PaneTest, NestedPanesAreClippedToTheirEnclosures) {
  CPane* root = MakeRoot(200, 100);
  auto* child = new CPane;
  child->Init(root, nullptr, 100, 50, 150, 80, sizFIXEDLEFT, sizFIXEDTOP);
  auto* grandchild = new CPane;
  grandchild->Init(child, nullptr, 30, 30, -10, 40, sizFIXEDLEFT, sizFIXEDTOP);
  LongRect a;
  child->GetAperture(&a);
  EXPECT_EQ(a, (LongRect{0, 0, 20, 50}));
  grandchild->GetAperture(&a);
  EXPECT_EQ(a, LongRect{});  // below the window's bottom edge: nothing shows
  LongPt p{0, 0};
  child->FrameToWind(&p);
  EXPECT_EQ(p, (LongPt{80, 150}));
  grandchild->Offset(0, -30, false);
  grandchild->GetAperture(&a);
  EXPECT_EQ(a, (LongRect{0, 10, 10, 30}));
  // The innermost visible view under a point wins; a hidden enclosure hides its panes.
  EXPECT_EQ(root->FindSubview(Point{95, 150}), grandchild);
  EXPECT_EQ(root->FindSubview(Point{85, 170}), child);
  EXPECT_EQ(root->FindSubview(Point{10, 10}), nullptr);
  child->Hide();
  EXPECT_EQ(root->FindSubview(Point{95, 150}), nullptr);
  EXPECT_FALSE(grandchild->ReallyVisible());
  root->Dispose();
}

TEST(PaneTest, DisposingAPaneTakesItsPanesWithItAndLeavesItsEnclosure) {
  CPane* root = MakeRoot(200, 100);
  auto* child = new CPane;
  child->Init(root, nullptr, 100, 50, 0, 0, sizFIXEDLEFT, sizFIXEDTOP);
  auto* grandchild = new CPane;
  grandchild->Init(child, nullptr, 10, 10, 0, 0, sizFIXEDLEFT, sizFIXEDTOP);
  grandchild->SetID(7);
  EXPECT_EQ(root->FindViewByID(7), grandchild);
  gLastMouseView = grandchild;
  child->Dispose();
  EXPECT_TRUE(root->GetSubviews().empty());
  EXPECT_EQ(gLastMouseView, nullptr);
  EXPECT_EQ(root->FindViewByID(7), nullptr);
  root->Dispose();
}

TEST(PaneTest, ScrollingMovesFrameApertureAndOriginByUnitsTimesScale) {
  CPane* root = MakeRoot(200, 100);
  auto* panorama = new CPanorama;
  panorama->IPanorama(root, nullptr, 100, 80, 20, 10, sizFIXEDLEFT, sizFIXEDTOP);
  LongRect bounds{0, 0, 1000, 500};
  panorama->SetBounds(&bounds);
  panorama->SetScales(2, 1);
  auto* inside = new CPane;
  inside->Init(panorama, nullptr, 10, 10, 30, 5, sizFIXEDLEFT, sizFIXEDTOP);
  panorama->Scroll(10, 4, false);
  LongPt pos;
  panorama->GetPosition(&pos);
  EXPECT_EQ(pos, (LongPt{4, 10}));
  LongRect frame, aperture;
  panorama->GetFrame(&frame);
  panorama->GetAperture(&aperture);
  EXPECT_EQ(frame, (LongRect{4, 20, 84, 120}));
  EXPECT_EQ(aperture, frame);
  long h = 0, v = 0;
  panorama->GetOrigin(&h, &v);
  EXPECT_EQ(h, 20 - 20);
  EXPECT_EQ(v, 4 - 10);
  // A pane inside keeps its place in the panorama; on the window it moved with the contents.
  LongPt p{0, 0};
  inside->FrameToWind(&p);
  EXPECT_EQ(p, (LongPt{10 + 5 - 4, 20 + 30 - 20}));
  LongPt back{0, 0};
  panorama->ScrollTo(&back, false);
  panorama->GetFrame(&frame);
  EXPECT_EQ(frame, (LongRect{0, 0, 80, 100}));
  root->Dispose();
}

TEST(PaneTest, AutoScrollFollowsTheMouseWithinTheBounds) {
  CPane* root = MakeRoot(400, 400);
  auto* panorama = new CPanorama;
  panorama->IPanorama(root, nullptr, 100, 100, 0, 0, sizFIXEDLEFT, sizFIXEDTOP);
  LongRect bounds{0, 0, 300, 500};
  panorama->SetBounds(&bounds);
  struct {
    LongPt mouse;
    Boolean scrolled;
    LongPt position;
  } steps[] = {
      {{50, 50}, false, {0, 0}},     // inside the frame
      {{50, -5}, false, {0, 0}},     // left of the bounds: no room
      {{50, 130}, true, {0, 30}},    // 30 right of the frame
      {{50, 900}, true, {0, 400}},   // far right: only up to the bounds' edge
      {{400, 450}, true, {200, 400}},
  };
  for (auto& s : steps) {
    SCOPED_TRACE(s.mouse.h);
    LongPt mouse = s.mouse;
    // The mouse is given in the panorama's coordinates of the moment.
    LongPt pos;
    panorama->GetPosition(&pos);
    mouse.h += pos.h;
    mouse.v += pos.v;
    EXPECT_EQ(panorama->AutoScroll(&mouse), s.scrolled);
    panorama->GetPosition(&pos);
    EXPECT_EQ(pos, s.position);
  }
  root->Dispose();
}

TEST(PaneTest, ScrollPaneBarsFollowThePanoramaAndScrollItByParts) {
  CPane* root = MakeRoot(400, 400);
  auto* scroller = new CScrollPane;
  scroller->IScrollPane(root, nullptr, 215, 115, 0, 0, sizELASTIC, sizELASTIC, true, true, false);
  SInt16 w = 0, h = 0;
  scroller->GetInteriorLengths(&w, &h);
  EXPECT_EQ(w, 200);
  EXPECT_EQ(h, 100);
  auto* panorama = new CPanorama;
  panorama->IPanorama(scroller, nullptr, w, h, 0, 0, sizELASTIC, sizELASTIC);
  LongRect bounds{0, 0, 300, 1000};
  panorama->SetBounds(&bounds);
  scroller->InstallPanorama(panorama);
  scroller->SetSteps(10, 10);
  scroller->SetOverlaps(20, 20);
  CScrollBar* hBar = scroller->GetHScrollBar();
  CScrollBar* vBar = scroller->GetVScrollBar();
  ASSERT_TRUE(hBar && vBar);
  EXPECT_EQ(hBar->GetMaxValue(), 800);
  EXPECT_EQ(vBar->GetMaxValue(), 200);
  struct {
    Boolean horizontal;
    SInt16 part;
    SInt16 expected;  // the bar's value afterwards
  } parts[] = {
      {true, kControlDownButtonPart, 10},    {true, kControlPageDownPart, 190},
      {true, kControlUpButtonPart, 180},     {true, kControlPageUpPart, 0},
      {true, kControlUpButtonPart, 0},       {false, kControlPageDownPart, 80},
      {false, kControlPageDownPart, 160},    {false, kControlPageDownPart, 200},
  };
  for (auto& p : parts) {
    if (p.horizontal)
      scroller->DoHorizScroll(p.part);
    else
      scroller->DoVertScroll(p.part);
    CScrollBar* bar = p.horizontal ? hBar : vBar;
    EXPECT_EQ(bar->GetValue(), p.expected) << p.part;
    LongPt pos;
    panorama->GetPosition(&pos);
    EXPECT_EQ(p.horizontal ? pos.h : pos.v, p.expected);
  }
  scroller->DoThumbDragged(25, 0);
  LongPt pos;
  panorama->GetPosition(&pos);
  EXPECT_EQ(pos, (LongPt{200, 25}));
  EXPECT_EQ(hBar->GetValue(), 25);
  // Growing the scroll pane grows the panorama and shrinks the bars' ranges.
  Rect grow{0, 0, 0, 100};
  scroller->ChangeSize(&grow, false);
  EXPECT_EQ(hBar->GetMaxValue(), 700);
  root->Dispose();
}

}  // namespace
