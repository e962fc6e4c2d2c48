// A panorama: a pane that shows part of a larger area, its bounds, and scrolls over it. The
// bounds and the scroll position are in panorama units; a unit is hScale by vScale pixels.
// The frame's top-left corner lies at the position times the scales, so scrolling by (h, v)
// units moves the frame, the aperture and the origin by (h * hScale, v * vScale) pixels and
// the contents move the other way on the screen. A panorama in a scroll pane keeps the scroll
// bars in step.
#pragma once

#include "CPane.h"

class CScrollPane;

class CPanorama : public CPane {
  VL_REGISTERED_CLASS(CPanorama, CPane)

 public:
  CPanorama() = default;
  ~CPanorama() override;

  // A pane whose bounds start as its frame, at position (0, 0), with scales 1 by 1.
  void IPanorama(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
                 SizingOption hSizing, SizingOption vSizing);

  void SetBounds(const LongRect* newBounds);
  void GetBounds(LongRect* r) const { *r = bounds; }
  // Width and height of the bounds, in units.
  void GetExtent(long* h, long* v) const;
  // The position (units) of the frame's top-left corner.
  void GetPosition(LongPt* p) const { *p = position; }
  // The frame's width and height in whole units.
  void GetFrameSpan(SInt16* h, SInt16* v) const;
  void SetScales(SInt16 h, SInt16 v);
  void GetScales(SInt16* h, SInt16* v) const;

  CScrollPane* GetScrollPane() const { return itsScrollPane; }
  void SetScrollPane(CScrollPane* pane) { itsScrollPane = pane; }

  // Scrolls by (h, v) units; with redraw the panorama is drawn again at once.
  virtual void Scroll(long h, long v, Boolean redraw);
  // Scrolls to a position (units).
  virtual void ScrollTo(const LongPt* newPosition, Boolean redraw);
  // Tracking with the mouse outside the frame scrolls toward it, within the bounds, and
  // answers true when it scrolled; the scroll bars follow.
  Boolean AutoScroll(LongPt* mouse) override;

  void AdjustToEnclosure(const Rect* delta) override;

 protected:
  LongRect bounds;
  LongPt position;
  SInt16 hScale = 1;
  SInt16 vScale = 1;
  CScrollPane* itsScrollPane = nullptr;
};
