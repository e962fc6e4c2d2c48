// Keepers: what an undoable change records of an object before the change, so that it can put
// it back. Each keeper records one part of the object's state (its colour, its vertices, its
// vertices with its rotation and frame, its vertices with its frame's axes, or its whole
// geometry with its type) and, through keepers of its own class, the same part of each member of
// a group and of each opening of an opening owner.
//
// A keeper lives inside one task: made by NewChildKeeper, filled by Capture, used once by
// Restore, then disposed. It does not own the object it records; it owns its child keepers and
// the copies it holds (vertex blocks, frames, geometry).
//
// The family: CColorKeeper, CVertsKeeper, CRotationKeeper, CFlipKeeper and CVertsAndTypeKeeper,
// all implemented in CDataKeeper.cpp.
#pragma once

#include <vector>

#include "CCollaborator.h"
#include "MacTypes.h"
#include "QuickDraw.h"
#include "Vector3d.h"

class CObjectTransformer;
class VLUser3DObject;

class CDataKeeper : public CCollaborator {
  VL_REGISTERED_CLASS(CDataKeeper, CCollaborator)

 public:
  CDataKeeper() = default;
  // Disposes of the member and opening keepers.
  ~CDataKeeper() override;

  // Records the object: a child keeper for each member of a group and for each opening of the
  // object, in order, then the object itself. Raises kDEErrorNotEnoughMemory when a child or
  // its block cannot be had; what was recorded so far is disposed of with the keeper.
  virtual void Capture(VLUser3DObject* object);
  // Writes the record back: the members' keepers, then the openings an edit took off the object
  // (the last taken off first), then the openings' keepers for the openings the object holds.
  virtual void Restore();
  // A new, empty keeper of the same class (null when memory runs out).
  virtual CDataKeeper* NewChildKeeper() = 0;
  virtual VLUser3DObject* GetObject() const { return object; }

 protected:
  Handle memberKeepers = nullptr;  // CDataKeeper* per member; null when not a group
  SInt16 memberKeeperCount = 0;
  Handle openingKeepers = nullptr;  // CDataKeeper* per opening; null when none
  SInt16 openingKeeperCount = 0;
  VLUser3DObject* object = nullptr;

 private:
  // A block of children, one capturing each object; the count is set before any capture, and
  // the block is zero-filled, so that a failure leaves a block the keeper can dispose of.
  void CaptureChildren(const std::vector<VLUser3DObject*>& objects, Handle* block, SInt16* count);
};

// The object's colour. A group's colour is set first and each member's own colour put back
// after it.
class CColorKeeper : public CDataKeeper {
  VL_REGISTERED_CLASS(CColorKeeper, CDataKeeper)

 public:
  void Capture(VLUser3DObject* object) override;
  void Restore() override;
  CDataKeeper* NewChildKeeper() override;

 protected:
  RGBColor colour;
};

// The vertex positions. A keeper that got no copy records a count of 0 and restores none; a
// copy from before the vertex count changed restores as many vertices as both hold.
class CVertsKeeper : public CDataKeeper {
  VL_REGISTERED_CLASS(CVertsKeeper, CDataKeeper)

 public:
  ~CVertsKeeper() override;
  void Capture(VLUser3DObject* object) override;
  // The base, then the vertices, the face planes and the faces' orientation.
  void Restore() override;
  CDataKeeper* NewChildKeeper() override;

 protected:
  // Writes the copy back (freeing it) and brings the faces up to date; nothing without one.
  void RestoreVertices();

  Handle vertexCopy = nullptr;
  SInt16 vertexCount = 0;
};

// The vertices, the accumulated rotation and a copy of the frame (none when the object had no
// frame, which Restore then takes away).
class CRotationKeeper : public CVertsKeeper {
  VL_REGISTERED_CLASS(CRotationKeeper, CVertsKeeper)

 public:
  ~CRotationKeeper() override;
  void Capture(VLUser3DObject* object) override;
  // The vertices, the angle, the frame (which the object owns from then on) and, for a polyline
  // or extrusion with a handle box, the box along the frame's axes.
  void Restore() override;
  CDataKeeper* NewChildKeeper() override;

 protected:
  double rotationAngle = 0.0;
  CObjectTransformer* frameCopy = nullptr;
};

// The vertices and the axes of the object's frame.
class CFlipKeeper : public CVertsKeeper {
  VL_REGISTERED_CLASS(CFlipKeeper, CVertsKeeper)

 public:
  void Capture(VLUser3DObject* object) override;
  // The vertices as CVertsKeeper does; then the kept axes: the handle box of a polyline,
  // extrusion or polyhedron is rebuilt along them, any other object's frame takes them with its
  // matrices rebuilt at the reference point.
  void Restore() override;
  CDataKeeper* NewChildKeeper() override;

 protected:
  Vector3d axes[3];
  UInt8 hasFrame = 0;
};

// The whole geometry (a copy of the store with its face loops) and the object type: for edits
// that change what an object is, such as extruding an outline.
class CVertsAndTypeKeeper : public CDataKeeper {
  VL_REGISTERED_CLASS(CVertsAndTypeKeeper, CDataKeeper)

 public:
  ~CVertsAndTypeKeeper() override;
  // Raises kDEErrorNotEnoughMemory, the keeper left without geometry and with type -1, when the
  // geometry cannot be copied.
  void Capture(VLUser3DObject* object) override;
  // The base, then: an extrusion recorded as an outline is flattened back (an open one with its
  // counts); an outline recorded as an extrusion is extruded again along the recorded vector;
  // either way the recorded vertex positions are written back. Otherwise the object and the
  // keeper exchange their geometry.
  void Restore() override;
  CDataKeeper* NewChildKeeper() override;

 protected:
  // The recorded vertex positions written over the object's (as many as both hold).
  void WriteRecordedVertices();

  // Holds the recorded store and counts; never drawn or listed.
  VLUser3DObject* geometry = nullptr;
  SInt16 typeCode = -1;
  SInt16 vertexCount = 0;
  SInt16 edgeCount = 0;
  Vector3d extrusionVector;
  UInt8 closed = 0;
};
