// What the random-walk tests of the model objects share: seeded random arguments, and the
// checks that coordinates stay finite and faces flat.
#pragma once

#include <cmath>
#include <random>

#include "GeometryKernel.h"
#include "ModelTestSupport.h"

namespace proptest {

// Seeded random arguments.
struct Random {
  std::mt19937 engine;
  explicit Random(unsigned seed) : engine(seed) {}
  double Between(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(engine); }
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); }
  Vector3d Point(double r) { return Vector3d{Between(-r, r), Between(-r, r), Between(-r, r)}; }
  Vector3d Unit() {
    for (;;) {
      Vector3d v = Point(1.0);
      const double length = VectorLength(&v);
      if (length > 0.1 && length <= 1.0) {
        VectorDivide(&v, length, &v);
        return v;
      }
    }
  }
  // Rows of a rotation about a random axis.
  void Rotation(Vector3d rows[3]) {
    const Vector3d k = Unit();
    const double t = Between(-3.1, 3.1), c = std::cos(t), s = std::sin(t), C = 1 - c;
    rows[0] = {c + k.x * k.x * C, k.x * k.y * C - k.z * s, k.x * k.z * C + k.y * s};
    rows[1] = {k.y * k.x * C + k.z * s, c + k.y * k.y * C, k.y * k.z * C - k.x * s};
    rows[2] = {k.z * k.x * C - k.y * s, k.z * k.y * C + k.x * s, c + k.z * k.z * C};
  }
  SInt16 Roles() { return SInt16(Below(3)); }
};

// Every vertex has finite coordinates.
bool Finite(VLUser3DObject* object);
// The largest distance of a loop vertex from its face's plane, the plane computed afresh.
double FaceBend(VLUser3DObject* object, SInt16 face);
// The largest FaceBend over the faces.
double Bend(VLUser3DObject* object);

}  // namespace proptest
