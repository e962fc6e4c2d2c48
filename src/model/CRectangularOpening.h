// The opening the program makes: the rectangular door or window drawn with the rectangular
// opening tool, made from an imported box record, or copied. A VLOpening with a four-sided
// outline; its front outline is a rectangle with vertical sides when it was drawn or a corner
// was dragged, any planar quadrilateral after other edits.
#pragma once

#include "VLOpening.h"

class CRectangularOpening : public VLOpening {
  VL_REGISTERED_CLASS(CRectangularOpening, VLOpening)

 public:
  CRectangularOpening() = default;

  // Whether the point, seen along the outline's normal, lies inside the front (or back) outline
  // or on its border: no side has it outside (a convex outline).
  Boolean ValidateOutline(Boolean front, const Vector3d* point) override;
  // The side faces' planes, their normals turned into the hole, then each outline's plane.
  void CalcFacePlanes() override;
  // A rectangular opening; see VLOpening::MakeCopy.
  VLUser3DObject* MakeCopy(VLUser3DObject* target) override;
};
