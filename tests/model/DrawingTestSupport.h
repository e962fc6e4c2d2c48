// Drawing tests of the model objects: the flags of a drawing pass and a selection, each set for a
// test's scope.
#pragma once

#include <vector>

#include "ModelTestSupport.h"
#include "VLUser3DObject.h"
#include "ViewDrawingFlags.h"

namespace modeltest {

// The drawing flags of a direct (wireframe) pass of an unchanged view, restored after.
class DrawingPass {
 public:
  DrawingPass()
      : saved_{gDirectDrawing, gTrackingDrawing, gInteractiveDrawing, gViewScrolled, gShadedMode, gHiddenLineMode,
               gHandleDrag} {
    gDirectDrawing = 1;
    gTrackingDrawing = gInteractiveDrawing = gViewScrolled = gShadedMode = gHiddenLineMode = gHandleDrag = 0;
  }
  ~DrawingPass() {
    gDirectDrawing = saved_[0];
    gTrackingDrawing = saved_[1];
    gInteractiveDrawing = saved_[2];
    gViewScrolled = saved_[3];
    gShadedMode = saved_[4];
    gHiddenLineMode = saved_[5];
    gHandleDrag = saved_[6];
  }
  DrawingPass(const DrawingPass&) = delete;
  DrawingPass& operator=(const DrawingPass&) = delete;

 private:
  UInt8 saved_[7];
};

// These objects selected (VLUser3DObject::Select), in this order, in a selection list of their
// own while it lives; deselected after.
class Selected : public SelectionList {
 public:
  explicit Selected(const std::vector<VLUser3DObject*>& objects) {
    for (VLUser3DObject* o : objects) o->Select();
  }
  ~Selected() {
    for (VLUser3DObject* o : Objects()) o->Deselect();
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
};

}  // namespace modeltest
