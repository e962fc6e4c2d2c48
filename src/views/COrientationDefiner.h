// The construction planes' common base: a small frame of model geometry that the user shows,
// selects and drags like any object, that is drawn as its axes in wireframe views only, and
// that the document keeps at its own places in the object list (CSectionPlane at position 1,
// CWorkingPlaneTool at position 2).
#pragma once

#include <vector>

#include "MacTypes.h"
#include "VLObjectOwner.h"

class COrientationDefiner : public VLObjectOwner {
  VL_REGISTERED_CLASS(COrientationDefiner, VLObjectOwner)

 public:
  COrientationDefiner() = default;
  // The object's own overloads stay reachable beside the plane's.
  using VLUser3DObject::SetFrame;
  using VLUser3DObject::Show;

  // A store of these capacities and the planes' defaults: construction-plane type, the current
  // phase, reference vertex 0, no current opening, blue (0, 30000, 65000), changed; hidden.
  // Raises kDEErrorNotEnoughMemory.
  virtual void InitPlane(SInt16 vertices, SInt16 points, SInt16 edges, SInt16 faces);
  // Every vertex through the matrix (points as rows).
  void TransformVertices(const Matrix4d* matrix) override;
  // The unturned frame in the role components (origin, 15 along gAxisY, gAxisX, gAxisZ for
  // vertices 0 to 3), then through the plane-to-world matrix.
  virtual void SetFrame(const Matrix4d* planeToWorld);
  // Stores the flag and marks the object changed.
  virtual void Show(Boolean shown);
  virtual Boolean IsShown() { return shown; }
  // The vertex handle under the pane point into *handle (-1 for none); true only for an axis
  // end (an index above 0): a press on the origin drags the whole plane.
  Boolean FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused, Boolean checkModel,
                     VLViewTransform* view) override;
  Boolean IsSelectable() override { return IsShown(); }
  // Deselects; a shown plane is hidden again.
  void Deselect() override;
  // The edges, 2 pixels wide, in the draw colour, the last in the normal colour (DrawAxes).
  void DrawClippedEdges(VLViewTransform* view) override;
  // The same from what the last projection left (RedrawAxes).
  void DrawCachedEdges(VLViewTransform* view, Rect* rect) override;
  // With a view, a clipped projection's edges are clipped afresh and kept; without one the kept
  // segments are drawn. An unclipped projection draws between the screen points.
  void DrawAxes(VLViewTransform* view);

  RGBColor normalColour{50000, 20000, 50000};
  UInt8 shown = 0;

 protected:
  using VLUser3DObject::BuildGeometry;
  // Writes the vertices, the edges and the faces (each loop in a block of its own, not
  // degenerate) into the store InitPlane made, and computes the face planes.
  void BuildGeometry(const std::vector<Vector3d>& points, const std::vector<EdgeRecord>& edgeList,
                     const std::vector<std::vector<SInt16>>& loops);
};
