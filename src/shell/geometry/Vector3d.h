// Points and directions in model space, and the vector arithmetic the whole program shares.
#pragma once

struct Vector3d {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  friend bool operator==(const Vector3d&, const Vector3d&) = default;
};

double VectorLength(const Vector3d* v);
double VectorDistance(const Vector3d* a, const Vector3d* b);
double VectorDot(const Vector3d* a, const Vector3d* b);
void VectorCross(const Vector3d* a, const Vector3d* b, Vector3d* out);  // out may be a or b
void VectorDivide(const Vector3d* v, double s, Vector3d* out);         // s exactly 0 gives (0, 0, 0)
void VectorSubtract(const Vector3d* a, const Vector3d* b, Vector3d* out);
void VectorAdd(const Vector3d* a, const Vector3d* b, Vector3d* out);
void VectorMultiply(const Vector3d* a, const Vector3d* b, Vector3d* out);  // componentwise
void VectorScale(const Vector3d* v, double s, Vector3d* out);
void VectorCopy(Vector3d* destination, const Vector3d* source);
void VectorSet(Vector3d* out, double x, double y, double z);
void VectorNegate(Vector3d* v);
// Component i of v: 1 is y, 2 is z, and any other index x.
inline double& VectorComponent(Vector3d& v, int i) { return i == 1 ? v.y : i == 2 ? v.z : v.x; }
inline double VectorComponent(const Vector3d& v, int i) { return i == 1 ? v.y : i == 2 ? v.z : v.x; }
double Determinant3(const Vector3d* a, const Vector3d* b, const Vector3d* c);  // a . (b x c)
