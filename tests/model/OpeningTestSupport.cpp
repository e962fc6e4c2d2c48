#include "OpeningTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "DrawingPlane.h"

namespace openingtest {

OwnerPtr ReadOwner(const std::string& record) {
  OwnerPtr owner(new VLOpeningOwner);
  modeltest::ReadInto(owner.get(), record);
  return owner;
}

OwnerPtr Wall() { return ReadOwner(modeltest::BoxRecord({0, 0, 0}, {10, 1, 3})); }

CRectangularOpening* PlaceOpening(VLOpeningOwner* owner, SInt16 face, const std::array<Vector3d, 4>& corners) {
  auto* opening = new CRectangularOpening;
  if (!opening->CreateOnFace(0, corners.data(), face, owner)) {
    opening->Dispose();
    return nullptr;
  }
  if (!opening->CreateOnFace(1, corners.data(), face, owner)) {
    opening->DetachFromOwner();
    opening->Dispose();
    return nullptr;
  }
  return opening;
}

CRectangularOpening* Window(VLOpeningOwner* wall, double x0, double z0, double x1, double z1) {
  return PlaceOpening(wall, kWallFront, {{{x0, 0, z0}, {x1, 0, z0}, {x1, 0, z1}, {x0, 0, z1}}});
}

std::unique_ptr<VLViewTransform> ViewFrom(const Vector3d& towardEye, const Vector3d& look) {
  auto view = std::make_unique<VLViewTransform>();
  view->IVLViewTransform(200, 200);
  Vector3d unit = towardEye, eye;
  VectorDivide(&unit, VectorLength(&unit), &unit);
  VectorScale(&unit, 50.0, &eye);
  VectorAdd(&look, &eye, &eye);
  view->lookPoint = look;
  view->planeNormal = unit;
  view->upVector = std::fabs(unit.z) > 0.9 ? Vector3d{0, -1, 0} : Vector3d{0, 0, 1};
  view->SetReferenceFromEye(&eye);
  view->perspective = 0;
  view->RebuildMatrix();
  view->UpdateScreenAxes();
  return view;
}

CurrentView::CurrentView(VLViewTransform* view) : saved_(gCurrentViewTransform) { gCurrentViewTransform = view; }

CurrentView::~CurrentView() { gCurrentViewTransform = saved_; }

}  // namespace openingtest
