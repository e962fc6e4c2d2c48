// The depth sorter: hidden-line, shaded and shadow views are painted with the painter's
// algorithm. Every visible object hands its projected faces to the application's one sorter
// (gDepthBuffer) as DepthPolygon records; the sorter keeps them ordered by depth, splits those
// that cannot be ordered, and paints them back to front.
//
// Implemented in:
//   VLDepthBufferPaint.cpp    the colour of a record, painting records and their overlays
//   VLDepthBufferRecords.cpp  set-up, freeing, splitting and counting records, clipping overlays
//
// A record and everything it holds are relocatable blocks of the memory layer; pointers into
// them are valid until the next call that can allocate. Points are pane points (h, v, depth):
// pixels, and a depth that grows with the distance from the eye.
#pragma once

#include <vector>

#include "CCollaborator.h"
#include "MacTypes.h"
#include "QuickDraw.h"
#include "Vector3d.h"

class VLArray;
class VLUser3DObject;

// One drawn edge of a record: two indices into its points.
struct DepthEdge {
  SInt16 from = 0;
  SInt16 to = 0;
};

// Shade values with a meaning to the sorter rather than a light cosine.
constexpr double kShadeBlack = -999.0;          // a face painted black (a back face)
constexpr double kShadeUnpainted = -9000.0;     // at or below: never painted
constexpr double kShadeSectionPlane = -9998.0;  // below: the section plane's own record

// One face in the sorter's list, in a relocatable block of its own (NewDepthPolygon).
struct DepthPolygon {
  SInt32 serial = 0;        // given in list order by the preparation; pieces keep their source's
  double farDepth = 0.0;    // largest depth of the points: the sort key (farthest first)
  double nearDepth = 0.0;   // smallest depth of the points
  double shade = 0.0;       // light cosine of the face, or one of the kShade markers
  SInt16 pointCount = 0;
  SInt16 spareCount = 0;
  Handle points = nullptr;  // pointCount Vector3d
  Handle spare = nullptr;   // a second point list; only freed here
  Handle edges = nullptr;   // edgeCount DepthEdge
  RGBColor colour;
  SInt16 edgeCount = 0;
  Rect bounds;                   // screen rectangle of the points
  RgnHandle outline = nullptr;   // the face's area on the screen, or null
  Vector3d normal;               // plane a, b, c in pane space
  double planeD = 0.0;           // a x + b y + c z + d = 0
  SInt16 splitCount = 0;
  Handle splitSerials = nullptr;  // splitCount SInt16: serials this piece was split against
  Handle overlays = nullptr;      // first DepthOverlay of the chain, or null
  VLUser3DObject* owner = nullptr;
  DepthPolygon** next = nullptr;
  UInt8 ownerSelected = 0;
  UInt8 moved = 0;
};
using DepthPolygonHandle = DepthPolygon**;

// One polygon of a record's overlay chain (lit patches and other polygons lying on the face),
// in a block of its own followed by its points (OverlayPoints).
struct DepthOverlay {
  Handle next = nullptr;
  double shade = 0.0;    // the overlay's own light cosine
  SInt16 pointCount = 0;
  SInt16 face = 0;       // the owner's face index, carried along
};

// A zero-filled record (or null, with the memory error set); released by DisposeDepthPolygon.
DepthPolygonHandle NewDepthPolygon();
void DisposeDepthPolygon(DepthPolygonHandle record);
inline Vector3d* RecordPoints(DepthPolygon* record) { return reinterpret_cast<Vector3d*>(*record->points); }
inline DepthEdge* RecordEdges(DepthPolygon* record) { return reinterpret_cast<DepthEdge*>(*record->edges); }
// An overlay block for count points (its header set, points zero), or null when memory runs out.
Handle NewDepthOverlay(SInt16 count, double shade, SInt16 face);
inline DepthOverlay* OverlayHeader(Handle overlay) { return reinterpret_cast<DepthOverlay*>(*overlay); }
inline Vector3d* OverlayPoints(Handle overlay) {
  return reinterpret_cast<Vector3d*>(*overlay + sizeof(DepthOverlay));
}

class VLDepthBuffer : public CCollaborator {
  VL_REGISTERED_CLASS(VLDepthBuffer, CCollaborator)

 public:
  VLDepthBuffer() = default;

  // ---- Set-up ----

  // Sets keepRegions, makes the fill pattern, clears shadowPass; the list starts empty.
  // Raises kDEErrorNilPointer when the pattern cannot be made.
  void IVLDepthBuffer();
  // Disposes the fill pattern, then the sorter. Records still listed are the list owner's.
  void Dispose() override;
  Boolean GetKeepRegions() const { return keepRegions; }
  void SetKeepRegions(Boolean keep) { keepRegions = keep ? 1 : 0; }

  // ---- Painting (current port; reads gShadedMode, gTrackingDrawing, gPrintingView, gScaledDrawing) ----

  // Colours the record from its colour and shade and fills its outline region (when it has a
  // non-empty one and the view is neither printing nor drawn at another scale) or its points
  // clipped to the port; then its overlays; then its edges in near-black. While gTrackingDrawing
  // is set, or without points, only the overlays and the edges.
  void ShadeFace(DepthPolygonHandle record);
  // Fills each overlay polygon of the record, coloured by its own shade. Not clipped.
  void ShadeFaceAlternate(DepthPolygonHandle record);
  // The record's points clipped to the current port's rectangle (a point on an edge is inside),
  // as a new array of Vector3d items owned by the caller; empty when nothing is left.
  // Raises the class library's memory failure when the array cannot grow.
  VLArray* ClipToPortRect(DepthPolygon* record);
  // The fill colour of a record: in shaded mode lit faces (shade > 0) at 0.4 + 0.6 c (0.5 +
  // 0.35 c while shadowPass is set), faces with -1 <= c <= 0 at 0.4 + 0.1 c, below -1 black;
  // otherwise white, and black for exactly kShadeBlack. Components are truncated.
  RGBColor FaceColour(const RGBColor& colour, double shade) const;
  // The fill colour of an overlay: 0.6 + 0.4 c for c > 0, else 0.6 + 0.1 c.
  static RGBColor OverlayColour(const RGBColor& colour, double shade);

  // ---- Records ----

  // Releases what the record holds: its points, spare list and edges, with keepRegions also its
  // split list and outline, and its whole overlay chain; counts 0, handles null. The record
  // block stays. Answers the record.
  DepthPolygonHandle FreeRecordParts(DepthPolygonHandle record);
  // Replaces *holder (the record after previous in the list) by its parts cut by the plane of
  // before, the near part first; empty parts are dropped. previous->next, the parts' next links,
  // before->next (when it was the record) and *holder (the first part, or the record's old
  // successor when both are empty) are updated; the record is freed. True. When the first part's
  // block cannot be had: raises kDEErrorNotEnoughMemory with the memory error, or answers false
  // with nothing changed; the second: kDEErrorNilPointer. The list is unchanged on every raise.
  Boolean SplitRecord(DepthPolygonHandle before, DepthPolygonHandle* holder, DepthPolygonHandle previous);
  // True when the four plane coefficients differ by less than 0.0001 each.
  Boolean SamePlane(DepthPolygonHandle a, DepthPolygonHandle b) const;
  // The number of records, doubled when the first is the section plane (for a progress total).
  long Count() const;
  long CountRecords() const;
  // A new overlay chain of the parts of each overlay on the side normal . p + d >= 0 (those with
  // more than two points), in reverse order. The old chain is the caller's. Raises
  // kDEErrorNilPointer when a block cannot be had (the new chain made so far is released).
  Handle ClipSubPolygons(Handle list, const Vector3d* normal, double d);
  // Cuts the polygon of count points by the plane, keeping normal . p + d >= 0, into the scratch
  // points (ScratchPoints); answers how many were kept. Raises kDEErrorAssertionViolated when
  // the result would pass 32767 points.
  SInt16 ClipPointsToPlane(const Vector3d* normal, double d, const Vector3d* points, SInt16 count);
  const Vector3d* ScratchPoints() const { return pointScratch.data(); }

  // Cuts record by the plane of planeSource into its near part (the side toward the eye) and
  // its far part, filling the two empty record blocks (a part left without points has count 0).
  // The ordering half of the sorter provides it; until then this raises kDEErrorAssertionViolated.
  virtual void SplitPolygon(DepthPolygonHandle planeSource, DepthPolygonHandle record, DepthPolygonHandle nearPart,
                            DepthPolygonHandle farPart);

  // ---- Fields ----

  UInt8 keepRegions = 0;  // freeing a record frees its outline and split list too
  UInt8 shadowPass = 0;   // the shadow caster paints: soft shading
  PixPatHandle fillPattern = nullptr;  // one solid pattern, recoloured for every record
  std::vector<Vector3d> pointScratch;  // clipped points
  std::vector<DepthEdge> edgeScratch;  // clipped edges
  DepthPolygonHandle head = nullptr;
};

// The application's one depth sorter.
extern VLDepthBuffer* gDepthBuffer;
