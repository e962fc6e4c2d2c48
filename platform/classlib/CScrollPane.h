// A scroll pane: a pane holding a panorama and the scroll bars that scroll it, with an
// optional size box corner. The bars' values are the panorama's position from the top-left of
// its bounds; their ranges let the frame reach the bounds' far edges. Arrows scroll by the
// steps, page areas by the frame less the overlaps (at least one unit).
#pragma once

#include "CPane.h"

class CPanorama;
class CScrollBar;

class CScrollPane : public CPane {
  VL_REGISTERED_CLASS(CScrollPane, CPane)

 public:
  CScrollPane() = default;
  // Made and initialised in one step (IScrollPane's arguments).
  CScrollPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
              SizingOption hSizing, SizingOption vSizing, Boolean hasHoriz, Boolean hasVert, Boolean hasSizeBox) {
    IScrollPane(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing, hasHoriz, hasVert, hasSizeBox);
  }
  ~CScrollPane() override;

  void IScrollPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                   SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, Boolean hasHoriz, Boolean hasVert,
                   Boolean hasSizeBox);

  // The pane's frame less the room the bars take: where the panorama goes.
  void GetInterior(LongRect* r) const;
  void GetInteriorLengths(SInt16* w, SInt16* h) const;

  // Makes the panorama the one the bars scroll (the panorama is told) and calibrates.
  virtual void InstallPanorama(CPanorama* panorama);
  CPanorama* GetPanorama() const { return itsPanorama; }
  // The panorama is going away.
  void ForgetPanorama() { itsPanorama = nullptr; }
  CScrollBar* GetHScrollBar() const { return itsHorizSBar; }
  CScrollBar* GetVScrollBar() const { return itsVertSBar; }
  Boolean HasSizeBox() const { return hasSizeBox; }

  // The bars' ranges from the panorama's extent and frame span (none without a panorama).
  virtual void AdjustScrollMax();
  // AdjustScrollMax, then the thumbs from the panorama's position.
  virtual void Calibrate();

  // Scrolls the panorama by (h, v) units and moves the thumbs.
  virtual void Scroll(long h, long v, Boolean redraw);
  // One part of a bar (Controls.h part codes: arrows 20 and 21, pages 22 and 23) scrolls toward
  // the minimum or the maximum, within the bar's range.
  virtual void DoHorizScroll(SInt16 part);
  virtual void DoVertScroll(SInt16 part);
  // A thumb was dragged: the bar's value changed by the delta.
  virtual void DoThumbDragged(long hDelta, long vDelta);

  void SetSteps(SInt16 h, SInt16 v);
  void GetSteps(SInt16* h, SInt16* v) const;
  void SetOverlaps(SInt16 h, SInt16 v);
  void GetOverlaps(SInt16* h, SInt16* v) const;

  void ChangeSize(const Rect* delta, Boolean redraw) override;
  void Draw(const Rect* area) override;

 protected:
  // Units one part of a bar scrolls by, toward the minimum (negative) or the maximum.
  long PartDelta(SInt16 part, Boolean horiz) const;

  CPanorama* itsPanorama = nullptr;
  CScrollBar* itsHorizSBar = nullptr;
  CScrollBar* itsVertSBar = nullptr;
  Boolean hasSizeBox = false;
  SInt16 hStep = 1;
  SInt16 vStep = 1;
  SInt16 hOverlap = 1;
  SInt16 vOverlap = 1;
};
