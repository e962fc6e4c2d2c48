// Point loops for the geometry tests: blocks built from literal points and freed at scope end.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "Memory.h"
#include "Vector3d.h"

class TestLoop {
 public:
  explicit TestLoop(const std::vector<Vector3d>& points) : count_(SInt16(points.size())) {
    handle_ = PortAllocHandle(Size(points.size() * sizeof(Vector3d)));
    if (!points.empty()) std::memcpy(*handle_, points.data(), points.size() * sizeof(Vector3d));
  }
  TestLoop(std::initializer_list<Vector3d> points) : TestLoop(std::vector<Vector3d>(points)) {}
  TestLoop(const TestLoop&) = delete;
  TestLoop& operator=(const TestLoop&) = delete;
  ~TestLoop() { PortFreeHandle(handle_); }

  Handle handle() const { return handle_; }
  Handle* handlePtr() { return &handle_; }
  SInt16 count() const { return count_; }
  SInt16* countPtr() { return &count_; }
  std::vector<Vector3d> points() const {
    const auto* p = reinterpret_cast<const Vector3d*>(*handle_);
    return std::vector<Vector3d>(p, p + count_);
  }

 private:
  Handle handle_ = nullptr;
  SInt16 count_ = 0;
};

inline void ExpectNear(const Vector3d& actual, const Vector3d& expected, double tol = 1e-12) {
  EXPECT_NEAR(actual.x, expected.x, tol);
  EXPECT_NEAR(actual.y, expected.y, tol);
  EXPECT_NEAR(actual.z, expected.z, tol);
}

inline std::vector<Vector3d> Reversed(std::vector<Vector3d> points) { return {points.rbegin(), points.rend()}; }

// The unit square in the winding whose normal is (0, 0, -1).
inline std::vector<Vector3d> UnitSquare() { return {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}; }
