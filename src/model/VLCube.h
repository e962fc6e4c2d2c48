// A block: the box-shaped model object of eight corners, twelve edges and six faces in the box
// layout (BoxLayout.h), laid out along the drawing axes A, B, C (the gAxisX, gAxisY and gAxisZ
// roles; the working plane's axes while it is on). It carries openings as every opening owner.
//
// The block tool drags it from one corner to the opposite one (BuildGeometry); the user scales
// it about a corner (StretchToHandle), moves its edges and vertices, and continues it into a
// chain of walls with mitred corners (ContinueWall, in VLCubeWall.cpp with the corner joins).
//
// Implemented in VLCube.cpp and VLCubeWall.cpp.
#pragma once

#include "VLOpeningOwner.h"

// The fixed corner of the corner drag running now (only one runs at a time).
extern SInt16 gBlockFixedCorner;

class VLCube : public VLOpeningOwner {
  VL_REGISTERED_CLASS(VLCube, VLOpeningOwner)

 public:
  VLCube() = default;

  // ---- The block's own operations ----

  // The box store with its topology and the fields of a new block (colour gDefaultObjectColor,
  // phase gCurrentPhase, outlines allowed). False when no store could be had; raises
  // kDEErrorNotEnoughMemory, with nothing kept, when a block runs out.
  virtual Boolean InitStorage();
  // "Cube:", the body with its openings and the frame line (VLObjectRecords.cpp).
  void WriteText(std::FILE* file, double factor) override;
  void ReadText(std::istream& in, double factor, char delimiter) override;
  // InitStorage, then the eight corners in corner order; false (nothing set) when it fails.
  virtual Boolean SetCorners(const Vector3d corners[8]);
  // The edges, and new face loop blocks, of the layout; no current opening, outlines allowed.
  virtual void BuildTopology();
  // The same into the loop blocks the faces have.
  virtual void RebuildTopology();
  // The coordinate of four corners on the axis becomes the value; planes recomputed.
  virtual void SetFaceCoordinate(SInt16 i0, SInt16 i1, SInt16 i2, SInt16 i3, SInt16 axis, double value);
  // The largest (or smallest) coordinate of the vertices on the axis; -105600.0 (105600.0)
  // without vertices.
  virtual double ExtremeCoordinate(SInt16 axis, Boolean largest);
  // Turns both rings of corners by one place when edge 0 is shorter than edge 1, so that edge 0
  // runs along the longer side. Planes are not recomputed.
  virtual void PutLongSideFirst();
  virtual SInt16 OppositeCorner(SInt16 corner);
  virtual Boolean AlwaysTrue();
  // After a block was built from six polygons: the faces take the layout's numbers by their
  // normals and the corners their places. Unchanged when the faces cannot be told apart or a
  // corner has no vertex common to its three faces.
  virtual void Canonicalize();

  // ---- Walls (VLCubeWall.cpp) ----

  // The next segment of the wall from the end face (1 or 3) toward the point: a selected copy
  // with the corner between them mitred; the far corners take the point's height at the bottom,
  // or with topPair at the top. Null, nothing changed, when the point lies within the block, the
  // copy cannot be made or the turn leaves no segment (a U-turn, or within a degree of one).
  virtual VLCube* ContinueWall(const Vector3d* point, SInt16 endFace, UInt8 topPair);
  // The same from the end nearer the point, stored through endFace.
  virtual VLCube* ContinueWallFromNearestEnd(const Vector3d* point, SInt16* endFace, UInt8 topPair);
  // Moves the nearer end of an edge of face f (loop positions i, j) and of the other block's
  // face g to where the two edges' lines cross in plan; false, nothing moved, for parallel lines.
  virtual Boolean MeetInPlan(SInt16 f, VLCube* other, SInt16 g, SInt16 i, SInt16 j);
  // Trims this block and the other against each other in plan at the corner of faces a and b.
  virtual void JoinCorner(SInt16 faceA, SInt16 faceB, VLCube* other, SInt16 otherFaceA, SInt16 otherFaceB);

  // ---- Overrides ----

  // With a current opening, the owner's; else a corner handle, then an edge handle.
  Boolean FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused, Boolean checkModel,
                     VLViewTransform* view) override;
  // The creating drag: the block spans from the anchor (the first point) to the point, corner 0
  // at the minimum of every drawing axis. True.
  Boolean BuildGeometry(VLViewTransform* view, SInt16 continuing, const Vector3d* point, SInt16 index,
                        VLViewPane* pane) override;
  // Scales the block about the corner opposite *corner so that the corner lands on the point; a
  // flat block is first pushed out along its flat axes. With a current opening, the owner's.
  void StretchToHandle(SInt16* corner, const Vector3d* point, VLViewTransform* view, Boolean continuing) override;
  SInt16 OppositeFace(SInt16 face) override;
  void MoveVertex(SInt16 vertex, const Vector3d* position, long unused) override;
  void MoveEdge(SInt16 edge, Vector3d* offset, long unused) override;
  // The owner's flip, then kInfoChanged to the palette.
  void Flip(SInt16 axisCode, double planeOffset, double shift) override;
  VLUser3DObject* MakeCopy(VLUser3DObject* target) override;

  UInt8 unusedFlag = 0;

 private:
  // The drag state in stretchPoints: the diagonal, the fixed corner and the anchor.
  Vector3d& Diagonal() { return stretchPoints[0]; }
  Vector3d& FixedCorner() { return stretchPoints[1]; }
  Vector3d& Anchor() { return stretchPoints[2]; }
  // Takes the vertices into the drawing plane's coordinates, or back.
  void VerticesToPlane();
  void VerticesToWorld();
  void DragCorner(SInt16* corner, const Vector3d* point, Boolean continuing);
};
