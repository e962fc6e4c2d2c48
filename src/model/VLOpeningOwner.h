// A model object whose faces carry openings: doors and windows cut through a wall or a slab.
// Blocks and extruded polylines derive from it. The owner keeps its openings in `openings`, in
// the order they were added, knows the current one (the one the user clicked: currentOpening, a
// 0-based position, -1 for none), and passes nearly every change, drawing, selection, copy and
// export on to them, so that each opening follows its owner. Where a change of the owner leaves
// an opening off its faces, the owner refits it or takes it off (GeometryChanged, MoveEdge).
//
// The owner's faces are not cut by its openings: each opening is an object of its own whose side
// faces line the hole. Only the export writers join a face and the outlines of the openings on it
// into one polygon (FacePolygon).
//
// Ownership: the owner owns the openings of both lists and disposes of them with itself. Each
// opening holds a plain pointer back to its owner. Every walk of a list skips null entries, and
// every operation that takes an opening off the list clears the current opening.
//
// The removed record (removedOpenings): the openings an edit of the owner took off because they
// no longer fitted, kept so that the edit's undo can give them back (RestoreRemovedOpenings). It
// holds every opening taken off since the owner's state was last recorded, that is since the
// last MakeCopy of the owner, which drops (disposes of) the openings it held until then.
//
// Implemented in VLOpeningOwner.cpp (the lists, following the owner's edits, selection, picking,
// copies) and VLOpeningOwnerExport.cpp (face polygons, Radiance and DXF text).
#pragma once

#include <vector>

#include "VLObjectOwner.h"

class VLOpening;

class VLOpeningOwner : public VLObjectOwner {
  VL_REGISTERED_CLASS(VLOpeningOwner, VLObjectOwner)

 public:
  // No lists, no current opening.
  VLOpeningOwner();
  // Disposes of every opening of both lists.
  ~VLOpeningOwner() override;

  // ---- The openings ----

  // Appends the opening (the list is made on first use); no check for duplicates, the current
  // opening and the count are left alone. Raises kDEErrorNotEnoughMemory when the list cannot be
  // made or grow.
  virtual void AddOpening(VLOpening* opening);
  // The current opening; null when there is none.
  virtual VLOpening* GetCurrentOpening();
  virtual Boolean HasCurrentOpening();
  // Takes the current opening off the list and hands it to the caller; null when there is none.
  virtual VLOpening* DetachCurrentOpening();
  // Takes the opening off the list (not disposed), clears the current opening and marks the
  // owner changed. Nothing without a list.
  virtual void RemoveOpening(VLOpening* opening);
  // Refreshes openingCount; an opening of the list becomes the current one (another opening,
  // or null, leaves the current one as it was). Of a selected owner with the palette open, the
  // opening current until then leaves the palette.
  virtual void RefreshOpenings(VLOpening* opening);
  // Gives back the openings of the removed record, the last first, and empties it. Raises
  // kDEErrorNotEnoughMemory when the list cannot grow; what was not given back stays recorded.
  void RestoreRemovedOpenings();
  // Disposes of the removed record's openings: for a new record of the owner's state, once the
  // edits that took them off can no longer be undone.
  void DropRemovedOpenings();
  // The non-null openings in list order.
  std::vector<VLOpening*> Openings() const;
  // The removed record's openings in the order they were taken off.
  std::vector<VLOpening*> RemovedOpenings() const;

  // ---- The native file (VLObjectRecords.cpp) ----

  // The object body, then "numOpenings:" and each opening's record. A failed write raises -36
  // with the context kDEErrorErrorWritingModelFile (kDEErrorErrorWritingFile for the count).
  virtual void WriteOpenings(std::FILE* file, double factor);
  // The body, then the openings list when one follows (a body without it is accepted). An
  // opening whose record does not fit leaves the stream failed and is not kept.
  virtual void ReadOpenings(std::istream& in, double factor, char delimiter);
  // The "UVW:" line of a frame that is not the identity (nothing for none).
  static void WriteFrameLine(std::FILE* file, const CObjectTransformer* frame);
  // The optional "UVW:" line: true with the three axes when one follows and is a valid frame
  // (every component within 1000, each axis of unit length within 1e-6).
  static bool ReadFrameLine(std::istream& in, Vector3d axes[3]);

  // ---- Export (VLOpeningOwnerExport.cpp) ----

  // Face f as one closed polygon with the outlines of its openings joined in: the loop's points,
  // then for each opening on the face its outline, its first point again and the loop's last
  // point, and the loop's last point once more; the loop alone when no opening lies on it.
  // Empty for a degenerate face or one that is not there.
  std::vector<Vector3d> FacePolygon(SInt16 face);
  // Radiance text: the owner's material once per name (its colour as a plastic, "none_R_G_B"
  // naming it when the material id is unknown), each face with its openings' outlines as a
  // polygon named "face" + prefix + "_" + face number (y negated), then the openings with the
  // last polygon name as their prefix. Without openings, or when not visible, the base writer.
  // names is the export's list of the material names written (RadianceNames.h). A failed write
  // raises kDEErrorErrorWritingFile with the I/O error -36.
  void WriteRadiance(std::FILE* scene, std::FILE* materialFile, VLArray* names, SInt32* nameCount,
                     const char* objectName, D3TMaterialList* materials) override;
  // DXF text: nothing when hidden or not visible; without openings the base writer; otherwise
  // each face with its openings as a closed 3D POLYLINE (inches: x times 12, y times -12, z
  // times 12) on the phase's layer, then the openings' own faces. Raises as WriteRadiance.
  void WriteDXFFaces(std::FILE* file) override;
  // Nothing when hidden or not visible; else the base, then each opening.
  void WriteDXFEdges(std::FILE* file) override;
  // The base, then each opening.
  void WriteDXFOutline(std::FILE* file) override;

  // ---- Overrides: drawing, shadows, projection ----

  void CalcScreenBounds() override;
  // Nothing unless the last drawing put the owner on screen. With a current opening only its
  // handles (nothing while the view is dragged); otherwise the owner's.
  void DrawSelected(VLViewTransform* view) override;
  void DrawCachedEdges(VLViewTransform* view, Rect* rect) override;
  void DrawGroundShadows(VLViewTransform* view) override;
  void TransformToView(const Matrix4d* matrix, CShadowCaster* caster) override;
  void FreeLitPatches() override;
  void ProjectVertices(VLViewTransform* transform) override;

  // ---- Overrides: edits the openings follow ----
  //
  // "Face mode": one face of the owner is selected. An opening lying on the current face takes
  // the edit of that face; the others are refitted.

  void ScaleAbout(const Vector3d* centre, const Vector3d* factors) override;
  void Rotate(double angle, const Vector3d* centre) override;
  void Transform(const Matrix4d* matrix) override;
  void Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle) override;
  void TransformVertices(const Matrix4d* matrix) override;
  void Flip(SInt16 axisCode, double planeOffset, double shift) override;
  // With a current opening only the opening moves (over the owner's faces); otherwise the owner
  // (or its current face) with its openings.
  void Move(const Vector3d* offset) override;
  // With a current opening, the opening's.
  void Nudge(const Vector3d* offset) override;
  // Marks the owner changed; the openings are refitted by the next GeometryChanged.
  void MoveVertex(SInt16 vertex, const Vector3d* position, long unused) override;
  // The base; openings on a face of the edge are refitted, and those that no longer fit are
  // taken off into the removed record.
  void MoveEdge(SInt16 edge, Vector3d* offset, long unused) override;
  // The rebuild after an edit: planes, marked changed, every opening refitted to its two faces;
  // those that no longer fit are taken off into the removed record.
  void GeometryChanged() override;
  void CalcFacePlanes() override;
  void OrientFaces() override;
  // The base; without a current opening the owner sends kInfoChanged.
  void SetVertices(Handle copy) override;

  // ---- Overrides: the current opening's handles and parts ----

  Boolean FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused, Boolean checkModel,
                     VLViewTransform* view) override;
  void StretchToHandle(SInt16* corner, const Vector3d* mousePoint, VLViewTransform* view, Boolean continuing) override;
  void GetHandlePoint(Vector3d* out, SInt16 index, Boolean isVertex) override;
  // A rectangular opening from eight imported box points, front face 4, appended when it found
  // this owner in gCurrentObjectList.
  void CreateOpening(const Vector3d* boxPoints) override;
  // Disposes of the current opening; false when there is none.
  Boolean DeleteCurrentOpening() override;
  // A new list (the caller's) of copies of the openings; null without openings. Null, nothing
  // left over, when a copy cannot be made; raises as MakeCopy does.
  VLArray* CopyOpenings() override;

  // ---- Overrides: colour, phase, copies ----

  Boolean ChooseColor() override;
  void SetColor(const RGBColor* colour) override;
  Boolean MarkChanged() override;
  void SetPhase(SInt16 newPhase) override;
  // The owner and copies of its openings (each pointing at the copy). A target's own openings
  // are disposed of first; its removed record is kept. This owner's removed record is dropped:
  // its state is being recorded, so what an earlier edit took off can no longer be given back.
  // Null, nothing left over, when a copy cannot be made.
  VLUser3DObject* MakeCopy(VLUser3DObject* target) override;
  // With a current opening: the opening's duplicate beside it, appended to this owner. Otherwise
  // a selected copy of the owner moved by the offset.
  void DuplicateMoved(VLUser3DObject** copy, const Vector3d* offset) override;
  // The base, then whether any opening has a vertex near the point.
  Boolean SnapToVertex(const Vector3d* point, Vector3d* position, double* bestDistance, Boolean* found,
                       double tolerance) override;

  // ---- Overrides: selection and picking ----

  // The ray's hit point inside an opening on the face hit makes that opening current (else the
  // current opening stays); then Select.
  void SelectHit(const Vector3d* origin, const Vector3d* direction, double t, SInt16 face) override;
  // A ray that meets a face inside an opening's outline passes through the hole: it can only
  // meet the opening's own faces.
  Boolean IntersectRay(SInt16* face, double* distance, const Vector3d* origin, const Vector3d* direction,
                       Vector3d* normal) override;
  Boolean PointInScreenBounds(Point panePoint) override;
  // With a current opening the palette shows the opening, never the owner.
  void Select() override;
  void ConnectInfoBox() override;
  // The current opening leaves the palette, the owner the selection; no current opening after.
  void Deselect() override;

 protected:
  // The opening at a 0-based position, or null.
  VLOpening* OpeningAt(SInt16 position) const;
  // Keeps an opening an edit took off in the removed record. Raises kDEErrorNotEnoughMemory,
  // having disposed of it, when the record cannot grow.
  void KeepRemoved(VLOpening* opening);
  // Disposes of every opening of the list and the list.
  void DisposeOpenings();
};
