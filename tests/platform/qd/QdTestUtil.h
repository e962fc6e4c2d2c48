// Helpers for the drawing tests: a current offscreen world and pixel inspection.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "QuickDraw.h"

// Makes an offscreen world current for the test's life and puts the previous port back after.
class World {
 public:
  World(int depth, Rect bounds = Rect{0, 0, 32, 32}) {
    PortGetPort(&saved_);
    EXPECT_EQ(PortNewOffscreen(&world_, SInt16(depth), &bounds, nullptr, nullptr, 0), noErr);
    PortSetPort(world_);
  }
  ~World() {
    PortSetPort(saved_);
    PortFreeOffscreen(world_);
  }
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  GWorldPtr get() const { return world_; }
  const PixMap& pixels() const { return world_->portPixMap; }

  // Raw pixel value at local (h, v).
  UInt32 At(int h, int v) const {
    const PixMap& pm = world_->portPixMap;
    const UInt8* row = reinterpret_cast<const UInt8*>(pm.baseAddr) + (v - pm.bounds.top) * pm.rowBytes;
    int col = h - pm.bounds.left;
    switch (pm.pixelSize) {
      case 32: return reinterpret_cast<const UInt32*>(row)[col];
      case 16: return reinterpret_cast<const UInt16*>(row)[col];
      default: return (row[col >> 3] >> (7 - (col & 7))) & 1;
    }
  }

  // The pixels that differ from white, as (h, v) pairs.
  std::set<std::pair<int, int>> Dark() const {
    std::set<std::pair<int, int>> out;
    const Rect& b = world_->portPixMap.bounds;
    UInt32 white = world_->portPixMap.pixelSize == 32 ? 0xFFFFFF : world_->portPixMap.pixelSize == 16 ? 0x7FFF : 0;
    for (int v = b.top; v < b.bottom; ++v)
      for (int h = b.left; h < b.right; ++h)
        if (At(h, v) != white) out.insert({h, v});
    return out;
  }

  std::string Snapshot() const {
    const PixMap& pm = world_->portPixMap;
    return std::string(pm.baseAddr, std::size_t(pm.rowBytes) * std::size_t(pm.bounds.bottom - pm.bounds.top));
  }

 private:
  GrafPtr saved_ = nullptr;
  GWorldPtr world_ = nullptr;
};

inline std::set<std::pair<int, int>> RectPixels(int left, int top, int right, int bottom) {
  std::set<std::pair<int, int>> out;
  for (int v = top; v < bottom; ++v)
    for (int h = left; h < right; ++h) out.insert({h, v});
  return out;
}

// Even-odd inside test of a point against a closed polygon (brute force for the scan converter).
inline bool InsideEvenOdd(const std::vector<Point>& pts, double x, double y) {
  bool in = false;
  for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    double xi = pts[i].h, yi = pts[i].v, xj = pts[j].h, yj = pts[j].v;
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
  }
  return in;
}
