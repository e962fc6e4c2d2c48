// The pane's side of navigation: the orbit angles it keeps beside the camera.
#include <cmath>

#include "VLViewPane.h"
#include "core/VLViewTransform.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951;
constexpr double kRadiansPerDegree = 0.017453292;
constexpr double kLowestAltitude = 1.0, kHighestAltitude = 179.0;

}  // namespace

void VLViewPane::SyncOrbitAngles() {
  Vector3d eye;
  viewTransform->GetEyePoint(&eye);
  const Vector3d& look = viewTransform->lookPoint;
  const double dx = eye.x - look.x, dy = eye.y - look.y, dz = eye.z - look.z;
  const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
  eyeAltitude = distance > 0.0 ? std::acos(std::fmax(-1.0, std::fmin(1.0, dz / distance))) * kDegreesPerRadian : 0.0;
  // Straight above or below the look point the azimuth has no value: the plan view's 0 serves.
  if (dx == 0.0 && dy == 0.0)
    eyeAzimuth = 0.0;
  else if (dy == 0.0)
    eyeAzimuth = dx > 0.0 ? 90.0 : -90.0;
  else
    eyeAzimuth = std::atan(dx / dy) * kDegreesPerRadian + (dy < 0.0 ? 180.0 : 0.0);
  lookAltitude = eyeAltitude;
  lookAzimuth = eyeAzimuth - 180.0;
}

Boolean VLViewPane::OrbitBy(SInt16 dh, SInt16 dv) {
  const double lastAltitude = eyeAltitude, lastAzimuth = eyeAzimuth;
  eyeAltitude = std::fmax(kLowestAltitude, std::fmin(kHighestAltitude, eyeAltitude + dv * rotateStep));
  eyeAzimuth += dh * rotateStep;
  if (eyeAltitude == lastAltitude && eyeAzimuth == lastAzimuth) return false;
  if (!viewTransform->OrbitEye(eyeAltitude * kRadiansPerDegree, eyeAzimuth * kRadiansPerDegree)) {
    // Below the ground: keep the height, turn only.
    eyeAltitude = lastAltitude;
    viewTransform->OrbitEye(eyeAltitude * kRadiansPerDegree, eyeAzimuth * kRadiansPerDegree);
  }
  lookAltitude = eyeAltitude;
  lookAzimuth = eyeAzimuth - 180.0;
  return true;
}
