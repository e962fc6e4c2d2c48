// A group: model objects bound into one object that is selected, edited, copied, cut, exported
// and saved as a unit. Its own geometry is a box around its members in the box layout
// (BoxLayout.h), drawn as its frame while the user drags and carrying its corner handles. The
// members (a 1-based list) belong to the group alone: disposing of it disposes of them. Groups
// nest. Most operations pass on to the members in order; a few act on the box first.
//
// A group has its own frame only while all its members share one (SyncAttachedTransformer).
//
// Implemented in CGroup.cpp (membership, box, drawing, copies) and CGroupMembers.cpp (the
// operations passed on to the members, writers).
#pragma once

#include "VLObjectOwner.h"

class CGroup : public VLObjectOwner {
  VL_REGISTERED_CLASS(CGroup, VLObjectOwner)

 public:
  CGroup() = default;
  ~CGroup() override;

  // ---- Membership and the box ----

  // An empty group: type 2, the box store with the unset (inside-out) box, phase gCurrentPhase,
  // outlines allowed. Raises kDEErrorNotEnoughMemory.
  virtual void IGroup();
  // Gives the group a frame, placed at the first member's reference vertex, when every member
  // has a frame and all the frames have the same axes within 1e-5; otherwise nothing changes.
  virtual void SyncAttachedTransformer();
  // IGroup, then each object of the list as a member, the frame, the box, bounds and planes.
  virtual void MakeFromObjects(VLArray* objects);
  // Hands the member list to the caller (null without members) and keeps an empty one.
  virtual void TakeMembers(VLArray** out);
  // The box around the members' vertices (in the group's frame when it has one); the unset box
  // without members.
  virtual void RecalcBox();
  // Appends the object, widens the extremes by its vertices (RecalcBox rebuilds the box) and
  // takes it out of the selection.
  virtual void AddMember(VLUser3DObject* object);
  virtual void AddObject(VLUser3DObject* object);
  // Hands back and forgets the last member; false without members.
  virtual Boolean RemoveLastMember(VLUser3DObject** out);
  // The union of the members' pane rectangles, 3 pixels larger on each side; (0, 0, 0, 0)
  // without members. Answers 3.
  virtual SInt16 CalcBoundsFromMembers();
  virtual SInt16 OppositeCorner(SInt16 corner);
  // Reverses every face of a box that is turned inside out (every face has another in front of
  // it) and recomputes the planes.
  virtual void FlipIfInsideOut();
  // Marks in the list the material of every member, searching member groups.
  void MarkUsedMaterials(D3TMaterialList* materials);

  // The members in order.
  std::vector<VLUser3DObject*> Members() const;
  SInt32 MemberCount() const { return memberCount; }

  // ---- Overrides: drawing and picking ----

  void Draw(VLViewTransform* view, Rect* updateRect) override;
  void CalcScreenBounds() override;
  void DrawSelected(VLViewTransform* view) override;
  void ProjectEdges(VLViewTransform* view, Boolean flag) override;
  void DrawHidden(VLViewTransform* view) override;
  void DrawGroundShadows(VLViewTransform* view) override;
  // Corners only.
  Boolean FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused, Boolean checkModel,
                     VLViewTransform* view) override;
  // The box first; when the ray meets it, the members.
  Boolean HitByRay(Point panePoint, const Vector3d* origin, const Vector3d* direction, double* distance,
                   RGBColor* colour, Vector3d* normal, UInt8 shadowRay) override;
  Boolean SnapToVertex(const Vector3d* point, Vector3d* position, double* bestDistance, Boolean* found,
                       double tolerance) override;

  // ---- Overrides: edits passed on ----

  void ScaleAbout(const Vector3d* centre, const Vector3d* factors) override;
  void Rotate(double angle, const Vector3d* centre) override;
  void Transform(const Matrix4d* matrix) override;
  void Move(const Vector3d* offset) override;
  void Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle) override;
  void TransformVertices(const Matrix4d* matrix) override;
  // Scales the group by a corner about the opposite one; along a flat axis the members are
  // pushed out (extruded) by the drag instead.
  void StretchToHandle(SInt16* corner, const Vector3d* point, VLViewTransform* view, Boolean continuing) override;
  void Extrude(double height) override;
  void ExtrudeAlong(const Vector3d* vector) override;
  // Extrudes by the first non-zero component of the offset (1.0 when there is none).
  void PushFace(const Vector3d* offset, SInt16* trackedVertex) override;
  void Flip(SInt16 axisCode, double planeOffset, double shift) override;
  void CalcFacePlanes() override;
  void OrientFaces() override;
  void ProjectVertices(VLViewTransform* transform) override;
  // Cuts the members; the pieces on each side go to the caller's list, two or more as a new
  // group. False, nothing made, when the plane cuts no member.
  Boolean TrimWith(CTrimmer* trimmer, VLArray* frontList, VLArray* backList) override;
  Boolean IsCrossedBy(CTrimmer* trimmer) override;

  // ---- Overrides: attributes, copies, counts ----

  Boolean ChooseColor() override;
  void SetColor(const RGBColor* colour) override;
  RGBColor* GetColor(RGBColor* out) override;
  Boolean MarkChanged() override;
  void SetPhase(SInt16 newPhase) override;
  void SetMaterialIndex(SInt32 id) override;
  // The members' common material id; 0 when they differ or there are none.
  SInt32 GetMaterialIndex() override;
  void CreateMaterialObject(D3TMaterialList* materials) override;
  void UpdateMaterialObject(D3TMaterialList* materials) override;
  void FreeLitPatches() override;
  VLUser3DObject* MakeCopy(VLUser3DObject* target) override;
  void DuplicateMoved(VLUser3DObject** copy, const Vector3d* offset) override;
  // 1 plus the members' counts.
  SInt32 CountObjects() override;
  // The members' leaf counts.
  SInt32 CountLeafObjects() override;

  // ---- Overrides: writers ----

  // The members, last to first, then "Group:" with the member count and the name.
  void WriteText(std::FILE* file, double factor) override;
  void WriteDXFEdges(std::FILE* file) override;
  void WriteDrawingFaces(DXFExporter* exporter) override;
  void WriteDXFFaces(std::FILE* file) override;
  void WriteDXFOutline(std::FILE* file) override;
  SInt16 WriteClarisLines(CDataFile* writer, double dh, double dv) override;
  // Each member with the name extended by "_" and its number.
  void WriteRadiance(std::FILE* scene, std::FILE* materialFile, VLArray* names, SInt32* nameCount,
                     const char* objectName, D3TMaterialList* materials) override;

  // ---- Fields ----

  SInt32 memberCount = 0;
  Vector3d boxMinimum;
  Vector3d boxMaximum;
  UInt8 boundsFromMembers = 0;
  UInt8 colourTaken = 0;
  VLArray* members = nullptr;  // owned, with the members

 private:
  void SetBoxVertices();
  Vector3d& DragAnchor() { return stretchPoints[0]; }
  Vector3d& DragExtent() { return stretchPoints[1]; }
};
