// The window manager: hit testing, layers and ordering, activation, update regions, dragging and
// growing, drawing through window ports.
#include <gtest/gtest.h>

#include "PString.h"
#include "QuickDraw.h"
#include "UiTestSupport.h"
#include "Windows.h"

namespace {

using uitest::Pt;

class WindowManagerTest : public uitest::ScreenTest {
 protected:
  WindowPtr Make(const char* title, Rect content, SInt16 proc = zoomDocProc, bool visible = true) {
    return PortNewWindow(nullptr, &content, Str255(title), visible, proc, kFirstWindowOfClass, true, 0);
  }
  void TearDown() override {
    while (WindowPtr w = PortGetWindowList()) PortDisposeWindow(w);
    ScreenTest::TearDown();
  }
};

// A document window with its content at h 100-300, v 100-250: the title bar from v 80 to 98, the
// close box at h 107-117, v 84-94, the zoom box at h 283-293.
TEST_F(WindowManagerTest, PointsFindTheirPartsOfTheScreen) {
  WindowPtr doc = Make("Doc", Rect{100, 100, 250, 300});
  WindowPtr palette = Make("Tools", Rect{150, 400, 250, 480}, kFloatProc);
  struct Case {
    int h, v;
    SInt16 part;
    WindowPtr window;
  };
  const Case cases[] = {
      {5, 5, inMenuBar, nullptr},      {600, 400, inDesk, nullptr},    {150, 90, inDrag, doc},
      {110, 88, inGoAway, doc},        {288, 88, inZoomOut, doc},      {150, 150, inContent, doc},
      {292, 242, inGrow, doc},
      {440, 143, inDrag, palette},     // the palette's thin title bar
      {440, 200, inContent, palette},  {99, 150, inDrag, doc},         // the frame's edge
  };
  for (const Case& c : cases) {
    WindowPtr found = reinterpret_cast<WindowPtr>(1);
    EXPECT_EQ(PortFindWindow(Pt(c.h, c.v), &found), c.part) << c.h << "," << c.v;
    EXPECT_EQ(found, c.window) << c.h << "," << c.v;
  }
  // An inactive window's boxes are only its title bar and content: a click first activates it.
  Make("Other", Rect{300, 350, 400, 450});
  WindowPtr found = nullptr;
  EXPECT_EQ(PortFindWindow(Pt(292, 242), &found), inContent);
  EXPECT_EQ(PortFindWindow(Pt(110, 88), &found), inDrag);
  PortSelectWindow(doc);
  PortZoomWindow(doc, inZoomOut, false);
  Rect zoom = vlui::ZoomBoxRect(doc);
  EXPECT_EQ(PortFindWindow(Pt(zoom.left + 2, zoom.top + 2), &found), inZoomIn);
}

TEST_F(WindowManagerTest, LayersKeepPalettesAboveDocumentsAndDialogsAboveAll) {
  WindowPtr a = Make("A", Rect{100, 100, 200, 200});
  WindowPtr palette = Make("P", Rect{100, 300, 200, 400}, kFloatProc);
  WindowPtr b = Make("B", Rect{120, 120, 220, 220});
  std::vector<WindowPtr> order;
  for (WindowPtr w = PortGetWindowList(); w; w = PortGetNextWindow(w)) order.push_back(w);
  EXPECT_EQ(order, (std::vector<WindowPtr>{palette, b, a}));
  PortSelectWindow(a);
  EXPECT_EQ(PortFrontWindow(), palette);
  EXPECT_EQ(PortFrontNonFloatingWindow(), a);
  EXPECT_EQ(PortActiveWindow(), a);
  WindowPtr modal = Make("M", Rect{150, 150, 250, 350}, dBoxProc);
  EXPECT_EQ(PortGetWindowList(), modal);
  EXPECT_EQ(PortActiveWindow(), modal);
  EXPECT_FALSE(a->hilited);
  EXPECT_FALSE(palette->hilited);  // palettes look inactive while a dialog is up
  PortDisposeWindow(modal);
  EXPECT_EQ(PortActiveWindow(), a);
  EXPECT_TRUE(palette->hilited);
  PortSendBehind(a, nullptr);
  EXPECT_EQ(PortFrontNonFloatingWindow(), b);
  PortHideWindow(b);
  EXPECT_EQ(PortActiveWindow(), a);
  EXPECT_EQ(vlui::FindWindowByTitle("B"), nullptr);
  EXPECT_FALSE(PortIsWindow(reinterpret_cast<WindowPtr>(&order)));
}

TEST_F(WindowManagerTest, ActivationChangesComeAsEventsBeforeUpdates) {
  WindowPtr a = Make("A", Rect{100, 100, 200, 200});
  EXPECT_EQ(Pending(), (std::vector<std::string>{"activate A", "update A"}));
  Make("B", Rect{150, 150, 250, 250});
  EXPECT_EQ(Pending(), (std::vector<std::string>{"deactivate A", "activate B", "update B"}));
  PortSelectWindow(a);
  // Only the part of A that B covered is updated.
  EXPECT_EQ(Pending(), (std::vector<std::string>{"deactivate B", "activate A", "update A"}));
  PortDisposeWindow(a);
  EXPECT_EQ(Pending(), (std::vector<std::string>{"activate B", "update B"}));
  Make("hidden", Rect{10, 10, 20, 20}, documentProc, false);
  EXPECT_TRUE(Pending().empty());
}

TEST_F(WindowManagerTest, UncoveringAddsExactlyTheUncoveredPartToTheUpdateRegion) {
  WindowPtr a = Make("A", Rect{100, 100, 200, 200});
  Pending();
  WindowPtr b = Make("B", Rect{150, 150, 300, 300});  // its structure covers (149,129)-(301,301) of A
  Pending();
  PortDisposeWindow(b);
  RgnHandle expected = PortNewRegion();
  Rect uncovered{129, 149, 200, 200};
  PortRectRegion(expected, &uncovered);
  EXPECT_TRUE(PortEqualRegion(a->updateRgn, expected));
  // Between BeginUpdate and EndUpdate the port draws only there (local coordinates).
  PortBeginUpdate(a);
  Rect local = uncovered;
  PortOffsetRect(&local, -100, -100);
  RgnHandle localRgn = PortNewRegion();
  PortRectRegion(localRgn, &local);
  EXPECT_TRUE(PortEqualRegion(a->visRgn, localRgn));
  EXPECT_TRUE(PortEmptyRegion(a->updateRgn));
  PortEndUpdate(a);
  Rect all{0, 0, 100, 100};
  PortRectRegion(localRgn, &all);
  EXPECT_TRUE(PortEqualRegion(a->visRgn, localRgn));
  // Invalidating and validating take local rectangles.
  Rect part{10, 10, 20, 30};
  PortInvalRect(a, &part);
  Rect global = part;
  PortOffsetRect(&global, 100, 100);
  PortRectRegion(expected, &global);
  EXPECT_TRUE(PortEqualRegion(a->updateRgn, expected));
  PortValidRect(a, &part);
  EXPECT_TRUE(PortEmptyRegion(a->updateRgn));
  PortFreeRegion(expected);
  PortFreeRegion(localRgn);
}

TEST_F(WindowManagerTest, AnUpdateTheProgramIgnoresIsNotHandedOutForEver) {
  Make("A", Rect{100, 100, 200, 200});
  EventRecord e;
  int updates = 0;
  for (int i = 0; i < 5; ++i)
    if (PortGetNextEvent(updateMask, &e)) ++updates;  // taken but never drawn
  EXPECT_EQ(updates, 1);
}

TEST_F(WindowManagerTest, DrawingThroughAWindowPortLandsOnlyWhereTheWindowShows) {
  WindowPtr a = Make("A", Rect{100, 100, 200, 200});
  Make("B", Rect{150, 150, 250, 250});
  Pending();
  PortSetPort(a);
  RGBColor red{65535, 0, 0};
  PortRGBForeColor(&red);
  Rect all = a->portRect;
  PortPaintRect(&all);
  EXPECT_EQ(PixelAt(110, 110), 0xFF0000u);  // A's own content
  EXPECT_NE(PixelAt(180, 180), 0xFF0000u);  // under B
  EXPECT_EQ(PixelAt(180, 180), 0xFFFFFFu);  // B's erased content
  EXPECT_NE(PixelAt(100, 99), 0xFF0000u);   // A's frame
  // A moved origin keeps the mapping of local to screen coordinates.
  PortSetOrigin(50, 50);
  Point p = Pt(60, 60);
  PortLocalToGlobal(&p);
  EXPECT_EQ(p, Pt(110, 110));
}

TEST_F(WindowManagerTest, DraggingMovesByTheMouseOffsetWithinTheLimit) {
  WindowPtr w = Make("A", Rect{100, 100, 200, 200});
  vlui::SetEventSource(&motion);
  motion.Press(Pt(150, 90), {Pt(160, 95), Pt(200, 130)});
  PortDragWindow(w, Pt(150, 90), nullptr);
  EXPECT_EQ(w->content, (Rect{140, 150, 240, 250}));
  // Past the limit the outline stops at its edge.
  Rect limit{20, 0, 300, 300};
  motion.Press(Pt(200, 130), {Pt(900, 900)});
  PortDragWindow(w, Pt(200, 130), &limit);
  EXPECT_EQ(w->content.left, 150 + 99);
  EXPECT_EQ(w->content.top, 140 + 169);
  // Into the menu bar: the title bar stays below it.
  motion.Press(Pt(260, 300), {Pt(260, 0)});
  PortDragWindow(w, Pt(260, 300), nullptr);
  EXPECT_EQ(w->content.top, kMenuBarHeight + kTitleBarHeight + 1);
}

TEST_F(WindowManagerTest, GrowingAnswersTheNewSizeWithinItsLimits) {
  WindowPtr w = Make("A", Rect{100, 100, 200, 200});
  vlui::SetEventSource(&motion);
  motion.Press(Pt(195, 195), {Pt(245, 215)});
  SInt32 size = PortGrowWindow(w, Pt(195, 195), nullptr);
  EXPECT_EQ(size & 0xFFFF, 150);
  EXPECT_EQ(size >> 16, 120);
  Rect limits{50, 60, 130, 140};  // widths 60-140, heights 50-130
  motion.Press(Pt(195, 195), {Pt(20, 20)});
  size = PortGrowWindow(w, Pt(195, 195), &limits);
  EXPECT_EQ(size & 0xFFFF, 60);
  EXPECT_EQ(size >> 16, 50);
  motion.Press(Pt(195, 195), {});
  EXPECT_EQ(PortGrowWindow(w, Pt(195, 195), nullptr), 0);  // not moved: no change
  PortSizeWindow(w, 150, 120, true);
  EXPECT_EQ(w->portRect, (Rect{0, 0, 120, 150}));
  EXPECT_EQ(w->content, (Rect{100, 100, 220, 250}));
}

TEST_F(WindowManagerTest, TheCloseBoxCountsOnlyWhenReleasedInsideIt) {
  WindowPtr w = Make("A", Rect{100, 100, 200, 200});
  Rect box = vlui::CloseBoxRect(w);
  Point inside = Pt(box.left + 3, box.top + 3);
  vlui::SetEventSource(&motion);
  motion.Press(inside, {Pt(box.left + 40, box.top + 3), inside});
  EXPECT_TRUE(PortTrackGoAway(w, inside));
  motion.Press(inside, {Pt(box.left + 40, box.top + 3)});
  EXPECT_FALSE(PortTrackGoAway(w, inside));
}

TEST_F(WindowManagerTest, WindowsComeFromWindowResources) {
  // 'WIND': bounds, procID, visible, goAway, refCon, title.
  std::vector<unsigned char> wind = {0, 50, 0, 60, 0, 150, 1, 44, 0x07, 0xC1, 1, 0, 1, 0, 0, 0, 0, 42, 5,
                                     'T', 'o', 'o', 'l', 's'};
  std::vector<vlres::CompiledResource> table = {{FourCC("WIND"), 131, nullptr, wind.data(), UInt32(wind.size())}};
  vlres::InstallResourceTable(table.data(), table.size());
  WindowPtr w = PortGetNewWindow(131, nullptr, kFirstWindowOfClass);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->layer, WindowLayer::kFloating);
  EXPECT_EQ(w->content, (Rect{50, 60, 150, 300}));
  EXPECT_EQ(PortGetWRefCon(w), 42);
  EXPECT_EQ(vlui::WindowTitleUtf8(w), "Tools");
  EXPECT_EQ(PortGetNewWindow(999, nullptr, nullptr), nullptr);
}

TEST_F(WindowManagerTest, AResizedScreenKeepsEveryTitleBarReachable) {
  WindowPtr w = Make("A", Rect{400, 500, 450, 600});
  vlui::ResizeScreen(400, 300);
  EXPECT_LE(w->content.left, 400 - 48);
  EXPECT_LE(w->content.top, 300 - 8);
  EXPECT_EQ(vlui::ScreenWidth(), 400);
  vlui::ResizeScreen(10, 10);  // below the smallest screen
  EXPECT_EQ(vlui::ScreenWidth(), vlui::kMinScreenWidth);
}

}  // namespace
