// The polyline tool: an outline drawn click by click. One task lives across all the clicks of one
// polyline; each click adds a vertex. While the outline is open, Undo takes the last vertex off
// and Redo puts it back; once the polyline is finished (closed on its first vertex, or a typed
// point that closes it), Undo and Redo take the whole polyline out and back as the line tool's.
#pragma once

#include "VL3DDrawingTask.h"

class VLPolyline;

class CPolyLineDrawingTask : public CLineDrawingTask {
  VL_REGISTERED_CLASS(CPolyLineDrawingTask, CLineDrawingTask)

 public:
  // The first click locates and announces its start point; later clicks start nothing.
  void BeginTracking(LongPt* startPt) override;
  // The rubber band follows the located mouse; the polyline is made on the first located poll.
  void KeepTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;
  // The click's release adds its point as a vertex (a click without a drag starts the outline)
  // and makes it the Shift anchor; an outline closed on its first vertex is finished. The next
  // Undo command then undoes this vertex.
  void EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) override;
  // A typed point: added as a vertex, finishing the outline when it closes it.
  void TrackToPoint(const Vector3d* point) override;
  // Open: the last vertex off (announced as the point to go on from). Finished: the polyline
  // leaves the list.
  void Undo() override;
  // Open: the vertex back. Finished: the polyline back at the end of the list.
  void Redo() override;
  // The outline's edges, the frame on the working plane, the polyline selected alone, the
  // pane's construction ended and the select tool chosen again; the next Undo command takes the
  // whole polyline out.
  void FinishPolyline();

  VLPolyline* GetPolyline() const;

 protected:
  VL3DDrawingTask* NewTypedEntryTask() override;
  // Whether the outline is still open for clicks.
  bool InProgress() const;
  // The pane shows the change.
  static void ShowChange();

  Vector3d removedVertex;
};
