// An offscreen world current for a test's life, for tests that look at what was drawn.
#pragma once

#include <gtest/gtest.h>

#include "QuickDraw.h"

constexpr UInt32 kWhitePixel = 0xFFFFFF;

// An offscreen world of width x height pixels, current for the test's life; the previous port
// is current again after.
class CurrentWorld {
 public:
  CurrentWorld(SInt16 width, SInt16 height, SInt16 depth = 32) : width_(width), height_(height) {
    PortGetPort(&saved_);
    const Rect bounds{0, 0, height, width};
    EXPECT_EQ(PortNewOffscreen(&world_, depth, &bounds, nullptr, nullptr, 0), noErr);
    PortSetPort(world_);
  }
  ~CurrentWorld() {
    PortSetPort(saved_);
    PortFreeOffscreen(world_);
  }
  CurrentWorld(const CurrentWorld&) = delete;
  CurrentWorld& operator=(const CurrentWorld&) = delete;

  GWorldPtr get() const { return world_; }
  // The 0x00RRGGBB value of a pixel of a 32-bit world.
  UInt32 At(int h, int v) const {
    const PixMap& pm = world_->portPixMap;
    return reinterpret_cast<const UInt32*>(pm.baseAddr + v * pm.rowBytes)[h];
  }
  long CountOf(UInt32 pixel) const {
    long n = 0;
    for (int v = 0; v < height_; ++v)
      for (int h = 0; h < width_; ++h) n += At(h, v) == pixel;
    return n;
  }

 private:
  SInt16 width_;
  SInt16 height_;
  GrafPtr saved_ = nullptr;
  GWorldPtr world_ = nullptr;
};
