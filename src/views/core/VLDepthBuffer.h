// The depth sorter: hidden-line, shaded and shadow views are painted with the painter's
// algorithm. Every visible object hands its projected faces to the application's one sorter
// (gDepthBuffer) as DepthPolygon records; the sorter keeps them ordered by depth, splits those
// that cannot be ordered, and paints them back to front.
//
// Implemented in:
//   VLDepthBufferPaint.cpp    the colour of a record, painting records and their overlays
//   VLDepthBufferRecords.cpp  set-up, freeing, splitting and counting records, clipping overlays
//   VLDepthBufferList.cpp     inserting, preparing (ground clip, section cut, slivers), resetting
//   VLDepthBufferOrder.cpp    ordering and painting the list (DrawAll)
//   VLDepthBufferSplit.cpp    plane tests, clipping with edges, outlines, splitting a record
//
// A record and everything it holds are relocatable blocks of the memory layer; pointers into
// them are valid until the next call that can allocate. Points are pane points (h, v, depth):
// pixels, and a depth that grows with the distance from the eye.
#pragma once

#include <memory>
#include <vector>

#include "CCollaborator.h"
#include "MacTypes.h"
#include "QuickDraw.h"
#include "Vector3d.h"

class VLArray;
class VLUser3DObject;
class VLViewTransform;

// One drawn edge of a record: two indices into its points.
struct DepthEdge {
  SInt16 from = 0;
  SInt16 to = 0;
};

// Shade values with a meaning to the sorter rather than a light cosine.
constexpr double kShadeBlack = -999.0;          // a face painted black (a back face)
constexpr double kShadeUnpainted = -9000.0;     // at or below: never painted
constexpr double kShadeSectionPlane = -9998.0;  // below: the section plane's own record
constexpr double kShadeSectionRecord = -9999.0;  // the shade the section plane submits with

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
  // splitCount SInt32: serials this piece was split against (as wide as serial, so that no two
  // records of a long list are taken for one another)
  Handle splitSerials = nullptr;
  Handle overlays = nullptr;      // first DepthOverlay of the chain, or null
  VLUser3DObject* owner = nullptr;
  DepthPolygon** next = nullptr;
  UInt8 ownerSelected = 0;
  UInt8 moved = 0;
  SInt32 slot = 0;  // the sorter's own bookkeeping while DrawAll orders the list
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
  VLDepthBuffer();
  ~VLDepthBuffer() override;

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
  // its far part, filling the two empty record blocks. No near part is made when planeSource is
  // the section plane (shade at or below kShadeUnpainted). Each part clips the record's points,
  // and its edges where the record has some, to its side; copies the record's attributes, serial
  // and plane; gets the split list of the record followed by planeSource's serial, depths,
  // bounds and outline of its own points, and the record's overlays clipped to its side. A part
  // left without points, a sliver, or one whose blocks cannot be had has pointCount 0 and holds
  // nothing; the record itself is not changed.
  virtual void SplitPolygon(DepthPolygonHandle planeSource, DepthPolygonHandle record, DepthPolygonHandle nearPart,
                            DepthPolygonHandle farPart);

  // ---- The list ----

  // The pane being drawn: its view (the ground clip plane is made from it) and whether its
  // document shows the ground plane. The drawing pane sets both before DrawAll; without a view
  // nothing is clipped to the ground.
  void SetActiveView(VLViewTransform* view, Boolean groundPlaneVisible);
  // Takes ownership of one record whose farDepth, shade, points, colour, normal, owner, overlays
  // and flags the submitter has filled. It is linked in before the first record of smaller
  // farDepth that is not a section plane (shade below kShadeSectionPlane), so after every record
  // of equal farDepth, and a section plane at the head stays there; appended when there is none.
  // Logarithmic in the length of a list that only Insert has built.
  void Insert(DepthPolygonHandle record);
  // Prepares (PreparePolygons), orders and paints every record back to front, each freed once
  // painted: the list is empty after. Records shaded at or below kShadeUnpainted are never
  // painted. Painting goes to the current port. When the user stops through the progress dialog
  // it returns at once, the records not yet painted still listed (ResetList frees them). Raises
  // kDEErrorNotEnoughMemory or kDEErrorNilPointer when the blocks of a split cannot be had; the
  // list then stays whole and is the caller's to reset.
  void DrawAll();
  // Frees every record (FreeRecordParts, then its block) and empties the list.
  void ResetList();

  // ---- Preparing and comparing records ----

  // The first step of DrawAll: with the ground plane shown, clips each record to the ground clip
  // plane (dropping those left with 2 points or fewer); numbers the records in list order, turns
  // the normals of back faces toward the eye, and gives each its near depth, bounds, outline
  // region and plane offset; drops slivers; then, when the head is a section plane, cuts the
  // other records with it (dropping those in front of it, keeping the far part of those crossing
  // it) and drops it. Counts on the progress dialog while it shows. False when the user stopped.
  Boolean PreparePolygons();
  // The plane of the ground, 0.02 below z = 0, in pane space (normal . p + d >= 0 above it),
  // made from three ground points ahead of the eye; false when there is no view, or the points
  // do not project to finite pane points.
  Boolean GroundClipPlane(Vector3d* normal, double* d) const;
  // Plane tests of record a against the plane (normal, planeD) of record b; the positive side is
  // toward the eye. Behind: every point below the plane or within 0.01 of it on each axis; in
  // front: above it or as close; in plane: every point within 1e-6 of it (signed distance times
  // the normal's length). Mostly behind: the points' signed distances from b's plane through b's
  // first point add up below 0. A record without points is behind, in front and in plane of
  // anything.
  static Boolean IsBehindPlane(const DepthPolygon& a, const DepthPolygon& b);
  static Boolean IsInFrontOfPlane(const DepthPolygon& a, const DepthPolygon& b);
  static Boolean LiesInPlane(const DepthPolygon& a, const DepthPolygon& b);
  static Boolean IsMostlyBehindPlane(const DepthPolygon& a, const DepthPolygon& b);
  // The in-front test against any plane.
  static Boolean IsInFrontOf(const DepthPolygon& a, const Vector3d& normal, double d);
  // The doubled screen area of the polygon is, in absolute value, smaller than the largest x or
  // y difference along its edges: seen edge-on.
  static Boolean IsSliver(const Vector3d* points, SInt16 count);
  // ClipPointsToPlane, also carrying edges: an edge of the output joins two consecutive output
  // points that lie on one side of the polygon standing (either way) in edges; the sides the cut
  // makes are not edges. The edges go to EdgeScratch, their number into *edgesKept.
  SInt16 ClipPointsAndEdgesToPlane(const Vector3d* normal, double d, const Vector3d* points, SInt16 count,
                                   const DepthEdge* edges, SInt16 edgeCount, SInt16* edgesKept);
  const DepthEdge* EdgeScratch() const { return edgeScratch.data(); }
  // The record's bounds (from 9999 / -9999, truncated toward zero, clamped to the 16-bit range),
  // near depth from 99999.0 and outline region (points rounded, through the current port's
  // region recording) from its points; the old outline is released.
  void RecordBounds(DepthPolygon* record);
  void RecordOutline(DepthPolygonHandle record);

  // ---- Fields ----

  UInt8 keepRegions = 0;  // freeing a record frees its outline and split list too
  UInt8 shadowPass = 0;   // the shadow caster paints: soft shading
  PixPatHandle fillPattern = nullptr;  // one solid pattern, recoloured for every record
  std::vector<Vector3d> pointScratch;  // clipped points
  std::vector<DepthEdge> edgeScratch;  // clipped edges
  DepthPolygonHandle head = nullptr;
  VLViewTransform* activeView = nullptr;  // SetActiveView
  UInt8 groundPlaneVisible = 0;
  // Splits one DrawAll may still make. Pieces of pieces of nearly parallel faces could otherwise
  // go on splitting while rounding lets them; when none is left, records that would be split are
  // passed (painted as the list has them).
  long splitsLeft = 0;

 private:
  // The insertion index: the records that are not section planes by far depth, each with its
  // predecessor in the list, so that Insert finds its place without walking the list.
  struct InsertIndex;
  std::unique_ptr<InsertIndex> insertIndex_;
  // Unlinks and frees the record after previous (or the head when previous is null); answers
  // what followed it.
  DepthPolygonHandle RemoveAfter(DepthPolygonHandle previous, DepthPolygonHandle record);
  // Section cut of PreparePolygons; false when the user stopped.
  Boolean CutWithSectionPlane();
  // The parts of SplitPolygon: one part clipped to one side of the plane; false when its blocks
  // could not be had.
  Boolean MakePart(DepthPolygonHandle record, const Vector3d& normal, double d, SInt32 splitter,
                   DepthPolygonHandle part);
};

// The application's one depth sorter.
extern VLDepthBuffer* gDepthBuffer;

// A record block, with what it holds (freed through the sorter), released on unwinding unless
// kept.
class DepthRecordOwner {
 public:
  DepthRecordOwner(VLDepthBuffer* sorter, DepthPolygonHandle record) : sorter_(sorter), record_(record) {}
  ~DepthRecordOwner() {
    if (!record_) return;
    sorter_->FreeRecordParts(record_);
    DisposeDepthPolygon(record_);
  }
  DepthRecordOwner(const DepthRecordOwner&) = delete;
  DepthRecordOwner& operator=(const DepthRecordOwner&) = delete;
  DepthPolygonHandle get() const { return record_; }
  DepthPolygonHandle Keep() {
    DepthPolygonHandle kept = record_;
    record_ = nullptr;
    return kept;
  }

 private:
  VLDepthBuffer* sorter_;
  DepthPolygonHandle record_;
};
