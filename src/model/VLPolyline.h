// Outlines drawn point by point on the drawing plane, and the solids made by pulling them up.
// One class serves both, told apart by the type code: a polyline (5) is a chain of vertices,
// open or closed, without faces; an extrusion (7) is a closed base ring (vertices 0 to n - 1)
// with a top ring above it (n to 2n - 1), 3n edges (base ring, top ring, verticals) and n + 2
// faces: side j from vertex j to j + 1, then the top cap (face n) and the bottom cap (face
// n + 1). An open outline of two points extrudes to a two-faced panel.
//
// Larger outlines and solids carry a handle box (CBoundingBox) that the selection shows instead
// of their own handles: its corners scale the object and its edge handles tilt the caps.
//
// Implemented in VLPolyline.cpp (drawing point by point, extruding, flattening, copies),
// VLPolylineBox.cpp (the handle box, handle editing, the palette, pick rays, cuts) and
// VLPolylineDraw.cpp (the rubber band, drawing, DXF and Radiance output).
#pragma once

#include "VLOpeningOwner.h"

class CBoundingBox;

// While set (the document's vertex tool group is chosen), a polyline shows and edits its own
// vertices when it is the one selected object, whatever its handle box.
extern UInt8 gVertexEditMode;
// The snapping distance of a view pane, which the pane hands over when it is made (the model
// objects lie beneath the views); null until then, and a null pane has none: 0.
using PaneSnapDistance = double (*)(VLViewPane* pane);
extern PaneSnapDistance gPaneSnapDistance;
// The plane of a cutter (n . p + d = 0), which the views layer's trimmer hands over; null
// until then, and then nothing is cut.
using TrimmerPlane = bool (*)(CTrimmer* trimmer, Vector3d* normal, double* offset);
extern TrimmerPlane gTrimmerPlane;

class VLPolyline : public VLOpeningOwner {
  VL_REGISTERED_CLASS(VLPolyline, VLOpeningOwner)

 public:
  VLPolyline() = default;
  ~VLPolyline() override;

  // ---- Outlines and solids (VLPolyline.cpp) ----

  // An empty polyline for drawing: room for 10 vertices and edges, type 5, the default colour
  // and the current phase. Raises as AllocateStorage.
  virtual void InitStorage();
  // "Extrusion:" when extruded, else "Polyline:"; the body with its openings and the frame line
  // (VLObjectRecords.cpp). Reading fixes the type up from what was read.
  void WriteText(std::FILE* file, double factor) override;
  void ReadText(std::istream& in, double factor, char delimiter) override;
  // The frame the record writes: the object's own, or its box's.
  const CObjectTransformer* RecordFrame() const;
  // The point under the mouse while the outline is drawn: the rubber band's free end.
  virtual void SetTrackPoint(const Vector3d* point);
  // Takes back the last vertex into *point; nothing without vertices.
  virtual void PopVertex(Vector3d* point);
  virtual void GetLastVertex(Vector3d* point);
  // An empty closed extrusion of a base ring of n vertices with its edges and face loops, for
  // the importers to fill. False when the store cannot be had.
  virtual Boolean InitExtrusion(SInt16 n);
  // An extrusion becomes its closed base outline again. Its openings are taken off and kept in
  // the removed record, where the edit's record can give them back.
  virtual void Flatten();
  // Turns the caps (and, when all are turned, the sides) of a new extrusion to point out.
  virtual void OrientCapsAndSides();
  // Reverses every face when the top cap lies beyond the bottom cap's outside.
  virtual void OrientExtrusion();
  // The first loop entry moves to the end.
  virtual void RotateFaceLoop(SInt16 face);

  // The drawing tool's point: the first (continuing false) starts the outline; a later one
  // within 0.49 of the pane's snapping distance of the first point closes an outline of three
  // or more points; one within 0.00001 of the last adds nothing. False when the store cannot
  // grow.
  Boolean BuildGeometry(VLViewTransform* view, SInt16 continuing, const Vector3d* point, SInt16 index,
                        VLViewPane* pane) override;
  // Finishes the drawn outline: its edges, selected when asked.
  void BuildOutlineEdges(Boolean select) override;
  // A closed solid raised by the height along the drawing depth axis (in the working plane's
  // frame while it is on); an open outline of three or more points is closed first and one of
  // two becomes a panel. An extrusion, an outline of fewer than two points, or a store that
  // cannot grow leaves the object as it was.
  void Extrude(double height) override;
  // The same with the top ring the base ring plus the vector.
  void ExtrudeAlong(const Vector3d* vector) override;
  VLUser3DObject* MakeCopy(VLUser3DObject* target) override;
  void SetVertices(Handle copy) override;

  // ---- The handle box and handle editing (VLPolylineBox.cpp) ----

  // Makes, refits or drops the box as the object qualifies: an extrusion of 7 faces or more, a
  // closed outline of 5 vertices or more, an open one of 4 or more.
  virtual void UpdateBoundingBox();
  // The same with the box in the frame of the three unit axes (made whether or not the object
  // qualifies).
  virtual void UpdateBoundingBoxInFrame(const Vector3d* u, const Vector3d* v, const Vector3d* w);
  virtual Boolean PickCapHandle(const Vector3d* point);
  // Tilts the cap of the box's active face through the plane of the moved box edge.
  virtual Boolean DragCapFace(SInt16 edge, const Vector3d* direction);
  // The first vertex of the top (which 0) or bottom cap joined to the vertex by an edge;
  // *out unchanged when there is none.
  virtual void FindCapPartner(SInt16 which, SInt16 vertex, SInt16* out);
  // Whether the box takes the handles: a box, not face mode, not vertex editing of a lone
  // selection.
  bool BoxEditing() const;

  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;
  Boolean GetScreenBounds(Rect* out) override;
  void CalcScreenBounds() override;
  void ScaleAbout(const Vector3d* centre, const Vector3d* factors) override;
  void Rotate(double angle, const Vector3d* centre) override;
  Boolean FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused, Boolean checkModel,
                     VLViewTransform* view) override;
  void StretchToHandle(SInt16* corner, const Vector3d* point, VLViewTransform* view, Boolean continuing) override;
  Boolean PickFace(Point panePoint, const Vector3d* origin, const Vector3d* direction, double* distance,
                   SInt16* face) override;
  void MoveVertex(SInt16 vertex, const Vector3d* position, long unused) override;
  void MoveEdge(SInt16 edge, Vector3d* offset, long unused) override;
  void Move(const Vector3d* offset) override;
  void Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle) override;
  void TransformVertices(const Matrix4d* matrix) override;
  void PushFace(const Vector3d* offset, SInt16* trackedVertex) override;
  // Cuts an extrusion across its height (SplitAcross with the trimmer's plane).
  Boolean TrimWith(CTrimmer* trimmer, VLArray* frontList, VLArray* backList) override;
  // Cuts an extrusion whose caps each lie wholly on one side of the plane into two copies whose
  // cut caps lie in the plane: the part on the bottom cap's side of the plane goes to the front
  // list when that side is the negative one. The openings go to the piece whose faces hold
  // them; copies that fit neither are disposed of. The object itself is not changed. False,
  // nothing made, when the cut does not apply or a copy cannot be made.
  virtual Boolean SplitAcross(const Vector3d* normal, double offset, VLArray* frontList, VLArray* backList);
  void Flip(SInt16 axisCode, double planeOffset, double shift) override;
  void GeometryChanged() override;
  // Outlines: the nearest segment a ray passes (within the pane rectangle of the click);
  // solids: their faces and openings.
  Boolean IntersectRay(SInt16* face, double* distance, const Vector3d* origin, const Vector3d* direction,
                       Vector3d* normal) override;
  void Select() override;
  void SelectFace(SInt16 face) override;
  void Deselect() override;
  void CalcFacePlanes() override;
  void SetPhase(SInt16 newPhase) override;

  // ---- Drawing and export (VLPolylineDraw.cpp) ----

  // The rubber band while the outline is drawn; otherwise the object with its box projected.
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  void DrawSelected(VLViewTransform* view) override;
  // Solids hand their faces to the depth sorter; a flat outline draws its edges.
  void DrawHidden(VLViewTransform* view) override;
  // A flat outline: a DXF POLYLINE of its vertices in inches with y reversed.
  void WriteDXFFaces(std::FILE* file) override;
  // The same with every z 0.
  void WriteDXFOutline(std::FILE* file) override;
  // Solids only.
  void WriteRadiance(std::FILE* scene, std::FILE* materialFile, VLArray* names, SInt32* nameCount,
                     const char* objectName, D3TMaterialList* materials) override;

  // ---- Fields ----

  UInt8 underConstruction = 0;
  UInt8 closed = 0;
  UInt8 extruded = 0;
  UInt8 ownsBox = 0;
  SInt16 bottomCap = 0;
  SInt16 topCap = 0;
  CBoundingBox* box = nullptr;
  Vector3d trackPoint;

 protected:
  // The drag of the shapes drawn with one drag (arcs, cylinder outlines, rectangles): the first
  // point (continuing false) becomes the anchor and every vertex, and the closed outline is
  // finished and selected; later points lay the shape out again between the anchor and the
  // point, in the drawing plane. True.
  Boolean TrackDraggedShape(SInt16 continuing, const Vector3d* point);
  // Lays the vertices out from the anchor to the point, both in drawing-plane coordinates
  // (gAxisX, gAxisY across, gAxisZ the depth); the vertices are taken to the world after.
  virtual void LayOutShape(const Vector3d& anchor, const Vector3d& point);
  // Grows the store by what its capacities lack of these counts; false when it cannot.
  bool EnsureCapacity(SInt16 vertices, SInt16 edges, SInt16 faces);
  // The extrusion's rings, verticals and face loops over the base ring of n vertices.
  void BuildExtrusionTopology(SInt16 n);
  // Lays the object out as a closed outline of n vertices: edge i from i to i + 1.
  void BuildRingEdges(SInt16 n);

 private:
  void ExtrudeBy(const Vector3d* vector, double height);
  void DropBox();
  void WriteDXFPolyline(std::FILE* file, bool flat);
};

// A new polyline with these capacities for the importers to fill; null when it cannot be made.
VLPolyline* MakePolyline(SInt16 vertices, SInt16 points, SInt16 edges, SInt16 faces);
