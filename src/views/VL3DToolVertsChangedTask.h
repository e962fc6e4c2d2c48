// The undo record of the pane's moving drags of one object (the working plane, the section
// plane): a copy of the object's vertices taken before the move. Undo and Redo each exchange the
// object's vertices, their count included, with the copy. Made and handed to the document before
// the move it records; it does not own the object.
#pragma once

#include "CMouseTask.h"

class VLUser3DObject;

class VL3DToolVertsChangedTask : public CMouseTask {
  VL_REGISTERED_CLASS(VL3DToolVertsChangedTask, CMouseTask)

 public:
  VL3DToolVertsChangedTask() = default;
  // Frees the copy.
  ~VL3DToolVertsChangedTask() override;

  void IToolVertsChangedTask(SInt16 nameIndex) { Init(nameIndex); }
  // Keeps the object and captures it.
  virtual void SetObject(VLUser3DObject* object);
  // The copy of the object's vertices and their count; without a copy (memory ran out) nothing
  // is recorded and Undo does nothing.
  virtual void Capture();
  // Exchanges the object's vertices and count with the copy, then recomputes its face planes.
  // Also Redo; the undone flag is left alone.
  void Undo() override;

 private:
  VLUser3DObject* object = nullptr;
  Handle vertexCopy = nullptr;
  SInt16 vertexCount = 0;
};
