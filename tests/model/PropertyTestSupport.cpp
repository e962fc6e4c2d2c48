#include "PropertyTestSupport.h"

namespace proptest {

bool Finite(VLUser3DObject* object) {
  for (const Vector3d& p : modeltest::Vertices(object))
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  return true;
}

double FaceBend(VLUser3DObject* object, SInt16 face) {
  double a = 0, b = 0, c = 0, d = 0;
  object->CalcFacePlane(face, &a, &b, &c, &d);
  const Vector3d n{a, b, c};
  double worst = 0.0;
  for (SInt16 v : modeltest::Loop(object, face)) {
    const Vector3d p = modeltest::VertexAt(object, v);
    worst = std::fmax(worst, std::fabs(PlaneEvaluate(&p, &n, d)));
  }
  return worst;
}

double Bend(VLUser3DObject* object) {
  double worst = 0.0;
  for (SInt16 f = 0; f < object->faceCount; ++f) worst = std::fmax(worst, FaceBend(object, f));
  return worst;
}

}  // namespace proptest
