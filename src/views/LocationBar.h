// What a view pane asks of its window's coordinate text bar: the shell's bar lies above the views
// layer, so the pane reaches it through this interface. The bar shows the crosshair's point (it is
// a dependent of the crosshair) or, in mode 2, the eye or look point of the view it was given, and
// hands typed points back to the current view pane.
//
// The window builder makes the bar through gLocationBarMaker; while none is installed, windows
// have no bar and the pane sends nothing to one.
#pragma once

#include "MacTypes.h"
#include "Vector3d.h"

class CBureaucrat;
class CCollaborator;
class CView;
class VLViewTransform;

class LocationBar {
 public:
  // Display modes: no entry (the fields empty, not clickable), the crosshair's point, the view's
  // eye or look point.
  enum : UInt16 { kModeOff = 0, kModePoint = 1, kModeView = 2 };

  virtual ~LocationBar() = default;

  // The bar as a collaborator, to depend on the crosshair.
  virtual CCollaborator* AsCollaborator() = 0;
  // The pane's own view transform, whose points mode 2 edits (not owned).
  virtual void SetViewTransform(VLViewTransform* view) = 0;
  virtual void SetMode(UInt16 mode) = 0;
  virtual UInt16 GetMode() const = 0;
  // The point in the point fields and its offset from the current mode's reference in the
  // offset fields; redrawn at once when asked.
  virtual void ShowPoint(const Vector3d& point, Boolean redraw) = 0;
  // The point becomes the current mode's reference; the offsets read 0.
  virtual void SetReference(const Vector3d& point, Boolean redraw) = 0;
  // The point-entry reference, in the working plane's frame while the working plane is on.
  virtual void GetReferencePoint(Vector3d* point) const = 0;
  // That field (0 to 2) of the point or the offset group, all selected, takes the keys.
  virtual void FocusPointField(SInt16 index) = 0;
  virtual void FocusOffsetField(SInt16 index) = 0;
  // Every coordinate field shows its value again in the document's units.
  virtual void ReformatFields() = 0;
};

// The bar's height in the window; the scroll pane above it gives up as much, less the one pixel
// they share.
constexpr SInt16 kLocationBarHeight = 22;

// Makes a window's bar across the bottom of the enclosure, as wide as it, under the supervisor;
// null when memory runs out.
using LocationBarMaker = LocationBar* (*)(CView* enclosure, CBureaucrat* supervisor);
extern LocationBarMaker gLocationBarMaker;
