// An opening: a door or window hole through a wall or a slab. It is a model object of its own, a
// box whose front outline lies on one face of its owner (a VLOpeningOwner: a block or an extruded
// polyline) and whose back outline lies on another face of the same owner, usually the far side
// of the wall. Its side faces are the reveals that line the hole. The owner keeps it in its list
// and draws, exports, copies and transforms it with itself; the opening keeps a plain pointer back
// to its owner and the numbers of the two owner faces it passes through, and it refuses or undoes
// every edit that would take its outlines off those faces (FitsOwnerFaces). The owner's faces
// themselves are never cut.
//
// The box of an opening of k sides has 2k vertices: 0 .. k-1 the front outline in order around
// it, k .. 2k-1 the back outline, vertex k + i behind vertex i. The rectangular box (k = 4) has
// edges (0,1) (1,2) (2,3) (3,0), (4,5) (5,6) (6,7) (7,4), (0,4) (1,5) (2,6) (3,7) and the side
// faces (0,3,7,4) (3,2,6,7) (2,1,5,6) (1,0,4,5). The two outlines are face records of their own,
// not faces of the object; operations that treat an outline as a face take the numbers
// kFrontOutlineFace and kBackOutlineFace.
//
// Every opening has the type code of an opening, which makes it always visible; its phase and
// colour are its owner's.
//
// Implemented in VLOpening.cpp (the box, attaching, staying on the owner's faces, outlines for
// the owner and the view, selection and the palette record, copies) and VLOpeningEdit.cpp (moves,
// scaling, vertex and corner drags, nudges, the palette's edits, duplicates).
#pragma once

#include "VLUser3DObject.h"

class VLOpeningOwner;

class VLOpening : public VLUser3DObject {
  VL_REGISTERED_CLASS(VLOpening, VLUser3DObject)

 public:
  static constexpr SInt16 kFrontOutlineFace = 1000;
  static constexpr SInt16 kBackOutlineFace = 1001;

  // No owner, both face numbers 0, no back plane, no outlines and no store.
  VLOpening();
  // Frees the two outlines' loops; the base frees the rest.
  ~VLOpening() override;

  // ---- The box and the owner ----

  // The drawing tools' placement on a face of an owner. Mode 0 (the mouse went down at points[0]
  // on the face): makes the box, takes the owner's colour and phase, finds the face behind the
  // point (the owner's FindOppositeFace) as the back face, flattens every front vertex to the
  // point and every back vertex to the point behind it, and appends itself to the owner; false,
  // unattached, when the box cannot be made or nothing lies behind the face. Any other mode (the
  // mouse moved): the four points become the front outline and the points behind them the back
  // outline; false, unchanged, when the ray from some point meets another face than the back
  // face. Raises kDEErrorNotEnoughMemory as InitBoxStorage does.
  virtual Boolean CreateOnFace(UInt8 mode, const Vector3d* points, SInt16 face, VLOpeningOwner* newOwner);
  // Makes both outlines rectangles with vertical sides (the model's z is the vertical) from
  // vertex 0 and the opposite front corner, and from vertex 4 and the opposite back corner.
  virtual void SetBoxFromCorners();
  // A store for the rectangular box (8 vertices, 12 edges, 4 side faces) with its topology;
  // false without a store. Raises kDEErrorNotEnoughMemory, having freed what it made.
  virtual Boolean InitBoxStorage();
  // The edges, the side faces and both outlines of the box from the vertex count; each side face
  // without area (two coordinates of every vertex equal to its first's) is marked degenerate,
  // which the exporters skip. Raises kDEErrorNotEnoughMemory when a loop cannot be had.
  virtual void BuildBoxTopology();
  // The four corners take vertices 0, 2, 4 and 6; true.
  virtual Boolean SaveCorners();
  // Scales the outline lying on the owner face (front or back) about the centre: each component
  // x becomes f x - f c + c. Planes recomputed, marked changed. Another face changes nothing.
  virtual void ScaleSide(SInt16 face, const Vector3d* centre, const Vector3d* factors);
  // Moves the outline lying on the owner face by the offset; planes recomputed and the outlines
  // oriented. Another face changes nothing.
  virtual void MoveSide(SInt16 face, const Vector3d* offset);
  // The base Move: no check against the owner's faces.
  virtual void MoveUnchecked(const Vector3d* offset);
  // Adds the offset to every vertex (the owner moves with its openings); planes recomputed.
  virtual void MoveAll(const Vector3d* offset);
  // Out of the owner's list and back in (the drawing tool's undo and redo).
  virtual void DetachFromOwner();
  virtual void AttachToOwner();
  // Every front vertex lies in the owner's front face and every back vertex in its back face;
  // false without an owner.
  virtual Boolean FitsOwnerFaces();
  // For an opening whose vertices are placed: the first face of the candidate holding the whole
  // front outline becomes the front face, the first other face holding the whole back outline
  // the back face; the opening takes the candidate's colour and phase and appends itself. False,
  // nothing changed, when no such faces are there.
  virtual Boolean AttachByGeometry(VLOpeningOwner* candidate);
  // Brings the opening back onto an owner face that changed: for the front face each front vertex
  // goes to its foot on the face, for the back face each back vertex to where the ray from its
  // front vertex leaves the owner. False when a vertex finds no place there (the vertices before
  // it stay moved); for any other face nothing moves. Planes recomputed.
  virtual Boolean RefitToFace(SInt16 face);
  // The opening measured in its wall as the view sees it: height, width along the wall, depth
  // through it, the middle of its bottom edge, and the front face's normal as the wall faces the
  // viewer. False when the viewer sees the wall from its back and the back face turns away too:
  // the normal is then the front normal reversed. Heights count along z.
  virtual Boolean GetWallExtent(VLViewTransform* view, double* height, double* width, double* depth,
                                Vector3d* reference, Vector3d* normal);
  // False: the outline is a rectangle (the free-outline opening answers true).
  virtual Boolean IsPolylineOpening();

  // ---- The native file (VLObjectRecords.cpp) ----

  // "Opening:", the owner's two faces and the box's vertices (zero below 1e-5).
  void WriteText(std::FILE* file, double factor) override;
  // One opening record after its keyword, for the owner at that position of the current object
  // list: false, the stream failed, when the record does not fit (more than 8 vertices, a face
  // the owner does not have, no owner there). Raises kDEErrorNotEnoughMemory.
  virtual bool ReadOpening(std::istream& in, SInt32 ownerPosition, double factor);

  // ---- Overrides: the box with its owner ----

  // The opening is hit at its corners only: the vertex handle under the pane point.
  Boolean FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused, Boolean checkModel,
                     VLViewTransform* view) override;
  // With flag true every vertex is projected into screenPoints; otherwise every edge is
  // projected and the visible ones drawn with the port's pen.
  void ProjectEdges(VLViewTransform* view, Boolean flag) override;
  // With asHole set and the face one of the opening's two: appends the outline on that face as
  // a hole to the caller's pane points (its k points, the first again, and one place left for
  // the caller; *closeFlag set) and, in hidden-line mode, its k edges; answers the (new) point
  // block. With asHole clear: draws the visible edges from the last projection. Raises
  // kDEErrorNotEnoughMemory when a block cannot grow.
  Handle OutlineOnFace(SInt16 face, UInt8 asHole, SInt16* pointCount, Handle points, UInt8* closeFlag,
                       SInt16* edgeCount, Handle* edgeBlock) override;
  // The outline on the front or the back face from the view points, as a new ShadowLoop block;
  // null for another face. Raises kDEErrorNotEnoughMemory.
  Handle ViewOutlineOnFace(SInt16 face) override;
  // An opening from eight points of an imported box record on the owner at a 1-based position of
  // gCurrentObjectList (the front face given, the back face the block's opposite face). Without
  // an owner at that position nothing is set up: the opening stays without owner or store.
  void SetOutline(const Vector3d* boxPoints, SInt16 frontFace, SInt32 ownerPosition) override;
  // With face the front or the back face: appends the outline on it to the model points of the
  // block (*points: made when null, grown otherwise): the k outline points, the first again, and
  // one place for the caller; true. False for another face. Raises kDEErrorNotEnoughMemory.
  Boolean AppendHoleOutline(SInt16 face, Handle* points) override;
  // Handles at the corners of the side of the opening that faces the viewer; nothing when
  // nothing of it is in view, and after a clipped projection only at the vertices left in place.
  void DrawSelected(VLViewTransform* view) override;
  // The point's vertical between the pane rectangle's top and bottom and its horizontal between
  // its left and right, edges included; no visibility test.
  Boolean PointInScreenBounds(Point panePoint) override;
  // Makes the opening its owner's current one and selects the owner.
  void Select() override;
  // With the palette open: sends kInfoDeselected and unlinks; the opening has no selected state.
  void Deselect() override;
  // The palette's record with the position relative to the owner's reference vertex.
  void NotifyInfoBox(SInt32 reason) override;
  // A copy with the same owner, faces, corners, back plane and outlines, in no owner's list.
  VLUser3DObject* MakeCopy(VLUser3DObject* target) override;
  // The base; the owner, whose faces show the opening, is marked changed too.
  Boolean MarkChanged() override;
  // The owner's phase changes (with every opening's); without an owner, the opening's.
  void SetPhase(SInt16 newPhase) override;
  // Turns the front outline like the owner's front face and the side faces like the front
  // outline, then recomputes the planes.
  void OrientFaces() override;
  // The base; the current opening of its owner then sends kInfoChanged.
  void SetVertices(Handle copy) override;
  // Faces below 1000 as the base; kFrontOutlineFace and kBackOutlineFace ask the outlines.
  Boolean FaceHasVertex(SInt16 face, SInt16 vertex) override;

  // ---- Overrides: edits (VLOpeningEdit.cpp) ----
  //
  // An edit that would take a vertex off the owner's faces is undone: with the beep for Move,
  // ScaleAbout, Nudge and the palette's position, silently for Stretch, MoveVertex,
  // StretchToHandle and the palette's sizes of a turned opening.

  // Palette reasons, info pointing at an ObjectInfoRecord: kInfoMoved places the reference
  // vertex at info.position relative to the owner's reference vertex; kInfoResized gives the
  // opening info.size along its own axes (an axis of size 0 pushes a face out instead);
  // kInfoRotated does nothing. Each then sends kInfoChanged when the palette sent it. Other
  // reasons go to the base. Raises kDEErrorNotEnoughMemory when the vertices cannot be copied.
  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;
  // The base scaling, then refitted to both faces.
  void ScaleAbout(const Vector3d* centre, const Vector3d* factors) override;
  // The drawing tool's corner snap (mode non-zero): the point becomes the opposite front corner,
  // its foot on the owner's back face the opposite back corner, and both outlines rectangles
  // (SetBoxFromCorners); true. False, unchanged, for mode 0 or without an owner face behind.
  Boolean BuildGeometry(VLViewTransform* view, SInt16 mode, const Vector3d* modelPoint, SInt16 index,
                        VLViewPane* pane) override;
  // Drags the corner *corner to the point, keeping the dragged outline a parallelogram (a
  // rectangle stays one) with the opposite corner fixed; the other outline follows through the
  // owner. continuing is false on the first call of a drag: the drag's state (one drag at a time
  // in the program) is set up then.
  void StretchToHandle(SInt16* corner, const Vector3d* mousePoint, VLViewTransform* view, Boolean continuing) override;
  // The vertex moves, its partner on the other outline follows through the owner.
  void MoveVertex(SInt16 vertex, const Vector3d* position, long unused) override;
  // The base move; in a wall whose faces are not parallel the outlines are laid onto the faces
  // again.
  void Move(const Vector3d* offset) override;
  // The base stretch, then refitted to both faces.
  void Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle) override;
  // A move given in the frame of the wall face the current view (gCurrentViewTransform) looks
  // at: x along the face by offset.x, y down by offset.y or, when that is 0, up by offset.z.
  // Nothing without a view.
  void Nudge(const Vector3d* offset) override;
  // The front (back) face: moves the front (back) outline; another face changes nothing.
  void MoveFace(SInt16 face, const Vector3d* offset) override;
  // A copy beside the opening in the same wall, as the current view shows it: one width aside
  // when the offset's x is smaller than the width, else by the offset in the face's frame; on
  // the other side of the opening when it does not fit there. The copy is not in the owner's
  // list. Null when memory runs out, without a view, or (with the beep) when the copy fits on
  // neither side.
  void DuplicateMoved(VLUser3DObject** copy, const Vector3d* offset) override;

  // ---- Fields ----

  Vector3d firstFrontCorner;     // vertex 0 as SaveCorners saved it
  Vector3d oppositeFrontCorner;  // vertex 2 as saved, or the corner the drawing tool dragged
  Vector3d firstBackCorner;      // vertex 4 as saved
  Vector3d oppositeBackCorner;   // vertex 6 as saved, or the dragged corner's foot on the back face
  VLOpeningOwner* owner = nullptr;  // not owned
  SInt16 frontFace = 0;             // the owner's face holding the front outline
  SInt16 backFace = 0;              // the owner's face holding the back outline; -1 when none
  Vector3d backPlaneNormal;         // the plane the dragged corner is dropped onto
  double backPlaneOffset = 0.0;
  double backDistance = 0.0;  // the dragged corner's value for that plane
  FaceRecord frontOutline;    // loop of vertices 0 .. k-1 with its plane
  FaceRecord backOutline;     // loop of vertices k .. 2k-1

 protected:
  // k: the number of sides, half the vertices.
  SInt16 SideCount() const { return SInt16(vertexCount / 2); }
  // The first vertex of the outline lying on an owner face (front or back face); false for
  // another face.
  bool OutlineRange(SInt16 face, SInt16* first) const;
  // Takes the owner's colour, its half and the owner's phase.
  void TakeOwnerLook();
  // Restores the vertices from a CopyVertices block without telling the palette.
  void RestoreVertices(Handle copy);
  // The owner face that the view looks at: the front face when the view's normal and the front
  // face's normal do not oppose, else the back face.
  SInt16 FaceTowardView(VLViewTransform* view);
};
