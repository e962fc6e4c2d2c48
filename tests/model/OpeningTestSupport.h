// Walls with windows for the opening tests: an owner read from a box record and rectangular
// openings placed on it as the opening tool places them.
#pragma once

#include <array>
#include <memory>

#include "CRectangularOpening.h"
#include "ModelTestSupport.h"
#include "VLOpeningOwner.h"
#include "VLViewTransform.h"

namespace openingtest {

using OwnerPtr = std::unique_ptr<VLOpeningOwner, modeltest::ObjectDeleter>;

// The wall's faces (BoxRecord's numbering): the front at y = 0 faces -y, the back at y = 1.
constexpr SInt16 kWallFront = 3;
constexpr SInt16 kWallBack = 1;

// An opening owner read from a record.
OwnerPtr ReadOwner(const std::string& record);
// A wall 10 long in x, 1 thick in y and 3 high, from the origin.
OwnerPtr Wall();

// An opening placed on a face of the owner as the tool does it: pressed at corners[0], then
// stretched over the four corners. Null (nothing left over) when the owner refuses it.
CRectangularOpening* PlaceOpening(VLOpeningOwner* owner, SInt16 face, const std::array<Vector3d, 4>& corners);
// A window on the wall's front face from (x0, z0) at the bottom left to (x1, z1) at the top right.
CRectangularOpening* Window(VLOpeningOwner* wall, double x0, double z0, double x1, double z1);

// A view of a pane 200 by 200 whose view-plane normal (from the look point to the eye) is the
// given one, with its camera at distance 50 from the point looked at.
std::unique_ptr<VLViewTransform> ViewFrom(const Vector3d& towardEye, const Vector3d& look);

// gCurrentViewTransform for its lifetime.
class CurrentView {
 public:
  explicit CurrentView(VLViewTransform* view);
  ~CurrentView();
  CurrentView(const CurrentView&) = delete;
  CurrentView& operator=(const CurrentView&) = delete;

 private:
  VLViewTransform* saved_;
};

}  // namespace openingtest
