// The decorator places new windows: each new window goes to the next place of a staggered
// series (8 pixels right and 16 down each time, five places, then from the start again), at a
// default size or its own, cut so that it stays within the client area. The series starts
// again when the last window it placed closes. Dialogs are centred instead.
#pragma once

#include "CCollaborator.h"

class CWindow;

class CDecorator : public CCollaborator {
  VL_REGISTERED_CLASS(CDecorator, CCollaborator)

 public:
  CDecorator() = default;
  ~CDecorator() override;

  // Starts the series; the default size fills the client area below the first place.
  void IDecorator();

  // Places a new window at the next place, at the default size (useDefaultSize) or its own,
  // cut to the client area.
  virtual void PlaceNewWindow(CWindow* window, Boolean useDefaultSize);
  // Moves the window to the next place and advances the series.
  virtual void StaggerWindow(CWindow* window);
  // Centres the window horizontally in the client area, a third of the way down.
  virtual void CenterWindow(CWindow* window);
  // A window the decorator placed closed.
  virtual void WindowClosed(CWindow* window);
  // Back to the first place.
  virtual void ResetStagger();

  SInt16 openWindows = 0;   // windows placed and still open
  SInt16 staggerStep = 1;   // 1 to 5: the place the next window takes
  SInt16 defaultWidth = 0;
  SInt16 defaultHeight = 0;
  SInt16 nextLeft = 0;      // global, the content's top-left corner
  SInt16 nextTop = 0;
};

extern CDecorator* gDecorator;
