// Point loops for the geometry tests: blocks built from literal points and freed at scope end.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <random>
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

// A random plane: an orthonormal pair of axes across a random unit normal, through a random
// origin whose coordinates lie within +-reach. At(u, v) is the plane's point of those coordinates.
struct RandomPlane {
  Vector3d origin, e1, e2;
  RandomPlane(std::mt19937& rng, double reach) {
    std::normal_distribution<double> g;
    std::uniform_real_distribution<double> offset(-reach, reach);
    Vector3d n{g(rng), g(rng), g(rng)};
    VectorDivide(&n, VectorLength(&n), &n);
    const Vector3d helper = std::fabs(n.x) < 0.9 ? Vector3d{1, 0, 0} : Vector3d{0, 1, 0};
    VectorCross(&n, &helper, &e1);
    VectorDivide(&e1, VectorLength(&e1), &e1);
    VectorCross(&n, &e1, &e2);
    origin = {offset(rng), offset(rng), offset(rng)};
  }
  Vector3d At(double u, double v) const {
    return {origin.x + u * e1.x + v * e2.x, origin.y + u * e1.y + v * e2.y, origin.z + u * e1.z + v * e2.z};
  }
};
