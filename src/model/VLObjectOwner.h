// A model object that can show projection outlines: its edges flattened onto the plan plane and
// onto the side plane the view looks at, drawn as flat line drawings beside the solid (a
// footprint on the ground, a silhouette on a wall). Blocks, extruded polylines, groups, handle
// boxes, the working-plane gauge and the construction planes derive from it; it holds no child
// objects of its own.
//
// The outlines are scratch state of the drawing, kept per edge in three layers numbered by the
// model axis that is flattened: layer 0 (x = 0) in markedEdgeSegmentsA and markedEdgeFlagsA,
// layer 1 (y = 0) in the B arrays, layer 2 (z = 0, the plan outline) in the C arrays. Each holds
// the edge's pane segment and whether it is visible. They are recomputed on every draw that shows
// them and never written to a file.
//
// Outlines are drawn only when allowed (hasOwnedParts): with the object while the user switched
// them on for it (ownedPartsShown), and with the selection marking whenever it is selected. While
// tracking is set, what the outlines draw grows the caller's update rectangle.
#pragma once

#include "VLUser3DObject.h"

class VLObjectOwner : public VLUser3DObject {
  VL_REGISTERED_CLASS(VLObjectOwner, VLUser3DObject)

 public:
  VLObjectOwner() = default;

  // The outlines when shown and allowed (ProjectOutlines, DrawMarkedEdges), then the object.
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  // The object's handles, then its outlines whenever they are allowed.
  void DrawSelected(VLViewTransform* view) override;

  // Projects the plan layer and, when the view's depth axis (gAxisZ) is x or y, the layer of
  // that axis; in plan the side layer keeps what it held. While the working plane is on, points
  // are flattened in its frame.
  virtual void ProjectOutlines(VLViewTransform* view);
  // Draws the visible segments of the plan layer and, when the depth axis is x or y, of the
  // side layer, with the port's pen. While tracking, every segment, visible or not, grows the
  // rectangle (null: none) by its stored ends, v + 1 for the vertical.
  virtual void DrawMarkedEdges(Rect* updateRect);
  // The plan outline alone when shown and allowed, then the object.
  virtual void DrawWithPlanOutline(VLViewTransform* view, Rect* updateRect);
  // Projects the plan layer, flattened in model coordinates whatever the working plane.
  virtual void ProjectPlanOutline(VLViewTransform* view);
  // Draws the plan layer as DrawMarkedEdges does.
  virtual void DrawPlanOutline(Rect* updateRect);

 protected:
  // Whether the outlines go with the object: allowed and switched on.
  bool OutlinesShown() const;
};
