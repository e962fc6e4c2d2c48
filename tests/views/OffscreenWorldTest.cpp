// Offscreen worlds of the views: depth, resizing, drawing into them, copies and the shared saved
// image of the view panes.
#include <gtest/gtest.h>

#include "VLGWorld.h"

namespace {

// Disposes a world at the end of the test (which also releases the shared one for VLGWorldOS).
template <class World>
struct Owned {
  Owned() : world(new World) {}
  ~Owned() { world->Dispose(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  World* operator->() const { return world; }
  World* world;
};

bool IsWhite(GWorldPtr w, int h, int v) {
  GrafPtr saved = nullptr;
  PortGetPort(&saved);
  PortSetPort(w);
  RGBColor c;
  PortGetCPixel(SInt16(h), SInt16(v), &c);
  PortSetPort(saved);
  return c.red == 65535 && c.green == 65535 && c.blue == 65535;
}

void PaintAll(VLGWorld* world) {
  world->BeginDrawingNoErase();
  PortPaintRect(&world->GetWorld()->portRect);
  world->EndDrawing();
}

TEST(OffscreenWorld, DepthFollowsTheSetUpAndSurvivesAResize) {
  Owned<VLGWorld> world;
  const Rect bounds{0, 0, 20, 30};
  ASSERT_EQ(world->IVLGWorld(&bounds), noErr);
  EXPECT_EQ(world->ActualDepth(), 1);
  EXPECT_EQ(world->GetPixelDepth(), 1);
  ASSERT_EQ(world->UseScreenDepth(), noErr);
  EXPECT_EQ(world->ActualDepth(), 32);
  EXPECT_EQ(world->GetPixelDepth(), 0);
  EXPECT_EQ(world->UsesScreenDepth(), 1);
  const Rect larger{0, 0, 40, 50};
  ASSERT_EQ(world->Resize(&larger), noErr);
  EXPECT_EQ(world->ActualDepth(), 32);
  EXPECT_EQ(world->GetBounds(), larger);
  EXPECT_TRUE(IsWhite(world->GetWorld(), 45, 35)) << "a resized world starts cleared";
  ASSERT_EQ(world->SetDepth(16), noErr);
  EXPECT_EQ(world->ActualDepth(), 16);
}

TEST(OffscreenWorld, AFailedResizeKeepsTheOldWorld) {
  Owned<VLGWorld> world;
  const Rect bounds{0, 0, 20, 30};
  ASSERT_EQ(world->IVLGWorld(&bounds), noErr);
  ASSERT_EQ(world->UseScreenDepth(), noErr);
  PaintAll(world.world);
  GWorldPtr before = world->GetWorld();
  // Four gigabytes of 32-bit pixels: more than the drawing layer hands out.
  const Rect huge{0, 0, 32000, 32000};
  EXPECT_EQ(world->Resize(&huge), memFullErr);
  EXPECT_EQ(world->GetWorld(), before);
  EXPECT_EQ(world->GetBounds(), bounds);
  EXPECT_FALSE(IsWhite(world->GetWorld(), 5, 5)) << "the picture is kept";
}

TEST(OffscreenWorld, WithoutAWorldNothingIsDrawnOrCopied) {
  Owned<VLGWorld> world;  // never set up
  ASSERT_EQ(world->GetWorld(), nullptr);

  GWorldPtr target = nullptr;
  const Rect small{0, 0, 10, 10};
  ASSERT_EQ(PortNewOffscreen(&target, 32, &small, nullptr, nullptr, 0), noErr);
  GrafPtr saved = nullptr;
  PortGetPort(&saved);
  PortSetPort(target);
  world->BeginDrawing();
  PortPaintRect(&small);  // goes to the empty port
  world->EndDrawing();
  EXPECT_EQ(PortCurrentPort(), target);
  world->CopyToCurrentPort(0, nullptr);
  EXPECT_TRUE(IsWhite(target, 5, 5));
  PortSetPort(saved);
  PortFreeOffscreen(target);
}

TEST(OffscreenWorld, BeginDrawingErasesOnlyTheDrawRectangle) {
  Owned<VLGWorld> world;
  const Rect bounds{0, 0, 20, 20};
  ASSERT_EQ(world->IVLGWorld(&bounds), noErr);
  ASSERT_EQ(world->SetDepth(32), noErr);
  PaintAll(world.world);
  const Rect part{5, 5, 10, 10};
  world->SetDrawRect(&part, 1);
  world->BeginDrawing();
  PortPaintRect(&bounds);  // clipped to the draw rectangle: paints it black again
  PortEraseRect(&bounds);
  world->EndDrawing();
  EXPECT_TRUE(IsWhite(world->GetWorld(), 7, 7));
  EXPECT_FALSE(IsWhite(world->GetWorld(), 2, 2));
  EXPECT_FALSE(IsWhite(world->GetWorld(), 12, 12));
  world->SetDrawRect(nullptr, 0);
  world->BeginDrawing();
  world->EndDrawing();
  EXPECT_TRUE(IsWhite(world->GetWorld(), 2, 2));
}

TEST(OffscreenWorld, CopiesReachTheCurrentPortAndABitMap) {
  Owned<VLGWorld> world;
  const Rect bounds{0, 0, 10, 10};
  ASSERT_EQ(world->IVLGWorld(&bounds), noErr);
  world->BeginDrawing();
  const Rect square{2, 2, 6, 6};
  PortPaintRect(&square);
  world->EndDrawing();

  GWorldPtr screen = nullptr;
  ASSERT_EQ(PortNewOffscreen(&screen, 32, &bounds, nullptr, nullptr, 0), noErr);
  GrafPtr saved = nullptr;
  PortGetPort(&saved);
  PortSetPort(screen);
  world->CopyToCurrentPort(0, nullptr);
  EXPECT_FALSE(IsWhite(screen, 3, 3));
  EXPECT_TRUE(IsWhite(screen, 8, 8));
  PortSetPort(saved);

  GWorldPtr other = nullptr;
  ASSERT_EQ(PortNewOffscreen(&other, 32, &bounds, nullptr, nullptr, 0), noErr);
  world->CopyToBitMap(other->portPixMap);
  EXPECT_FALSE(IsWhite(other, 3, 3));
  EXPECT_TRUE(IsWhite(other, 7, 7));
  PortFreeOffscreen(other);
  PortFreeOffscreen(screen);
}

TEST(SavedImage, MadeOnFirstSaveAtThePanesBounds) {
  ASSERT_EQ(gSavedOffscreen, nullptr);
  Owned<VLGWorldOS> pane;
  const Rect bounds{0, 0, 30, 40};
  ASSERT_EQ(pane->IVLGWorld(&bounds), noErr);
  EXPECT_EQ(gSavedOffscreen, nullptr) << "set-up alone makes no shared world";
  ASSERT_EQ(pane->SaveImage(), noErr);
  ASSERT_NE(gSavedOffscreen, nullptr);
  EXPECT_EQ(gSavedOffscreen->portRect, bounds);
  PaintAll(pane.world);
  ASSERT_EQ(pane->SaveImage(), noErr);
  EXPECT_FALSE(IsWhite(gSavedOffscreen, 20, 20));
}

TEST(SavedImage, FollowsThePaneSetUpOrResizedLast) {
  Owned<VLGWorldOS> first;
  const Rect a{0, 0, 30, 40};
  ASSERT_EQ(first->IVLGWorld(&a), noErr);
  ASSERT_EQ(first->UseScreenDepth(), noErr);
  ASSERT_NE(gSavedOffscreen, nullptr);
  EXPECT_EQ(gSavedOffscreen->portRect, a);
  EXPECT_EQ(gSavedOffscreen->portPixMap.pixelSize, 32);
  {
    Owned<VLGWorldOS> second;
    const Rect b{0, 0, 50, 60};
    ASSERT_EQ(second->IVLGWorld(&b), noErr);
    EXPECT_EQ(gSavedOffscreen->portRect, b);
    EXPECT_EQ(gSavedOffscreen->portPixMap.pixelSize, 1);
    ASSERT_EQ(second->UseScreenDepth(), noErr);
    const Rect c{0, 0, 35, 45};
    ASSERT_EQ(first->Resize(&c), noErr);
    EXPECT_EQ(gSavedOffscreen->portRect, c);
    EXPECT_EQ(gSavedOffscreen->portPixMap.pixelSize, 32);
  }
  EXPECT_EQ(gSavedOffscreen, nullptr) << "disposing a pane releases the shared world";
  ASSERT_EQ(first->SaveImage(), noErr);
  EXPECT_EQ(gSavedOffscreen->portRect, (Rect{0, 0, 35, 45}));
}

}  // namespace
