// The section plane: a movable frame of three crossing squares that, while cutting is on, cuts
// the hidden-line and shaded views. It hands the depth sorter the one square facing the viewer
// as a section record (shade kShadeSectionPlane), which the sorter keeps at the head of its list
// and cuts the model with, and lets the model's back faces through so that a cut solid shows
// its inside. Its reference point (vertex 0) is the document's "SectionPoint:".
#pragma once

#include "COrientationDefiner.h"

class CSectionPlane : public COrientationDefiner {
  VL_REGISTERED_CLASS(CSectionPlane, COrientationDefiner)

 public:
  CSectionPlane() = default;

  // The plane's one initialiser (the capacities are not read): a store for 6 vertices, 6
  // points, 3 edges and 6 faces; the arms (0, -15, 4)-(0, 15, 4), (15, 0, 4)-(-15, 0, 4) and
  // (0, 0, -11)-(0, 0, 19) in the role components; the three squares through them in both
  // orientations; cutting off; face planes computed.
  void InitPlane(SInt16 vertices, SInt16 points, SInt16 edges, SInt16 faces) override;
  // Showing also switches cutting on; hiding leaves it.
  void Show(Boolean shown) override;
  virtual void SetCutting(Boolean cutting) { this->cutting = cutting ? 1 : 0; }
  virtual Boolean IsCutting() const { return cutting; }
  // The crossing of the arms, from components 0, 1 and 2.
  void GetCentre(Vector3d* out) override;
  // Wireframe views: shown; depth-sorted views: cutting.
  Boolean IsVisible() override;
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  void DrawSelected(VLViewTransform* view) override;
  // Culling on; only the face most turned along the view direction stays (the others are
  // flagged degenerate until the planes are computed again); submitted; culling off, so that the
  // model objects drawn after it submit their back faces too.
  void DrawHidden(VLViewTransform* view) override;
  // The base submission with the section plane's shade.
  void ClipViewPolygons(double shade, SInt16 face, const Vector3d* normal) override;

  UInt8 cutting = 0;
};
