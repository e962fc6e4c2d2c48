// A pane: a rectangular view with a frame. The frame is the pane's rectangle in its own
// coordinates ((0, 0, width, height) when made); the pane's place is the top-left corner of
// the frame in its enclosure's coordinates. When the enclosure changes size, the pane follows
// its sizing options: it keeps its distance to the near or far edge, stays where it is, or
// grows and shrinks with the enclosure. A pane may have a border drawn around its frame.
#pragma once

#include "CView.h"

class CPaneBorder;

// How a pane follows its enclosure, for each direction. Left and top (0, 2) keep the distance
// to the near edge; right and bottom (1, 3) to the far edge; fixed-sticky stays where it is;
// elastic keeps both distances, so the pane grows and shrinks with the enclosure.
enum SizingOption : SInt16 {
  sizFIXEDLEFT = 0,
  sizFIXEDRIGHT = 1,
  sizFIXEDTOP = 2,
  sizFIXEDBOTTOM = 3,
  sizFIXEDSTICKY = 4,
  sizELASTIC = 5,
};

class CPane : public CView {
  VL_REGISTERED_CLASS(CPane, CView)

 public:
  CPane() = default;
  ~CPane() override;

  // Initialises the pane in its enclosure at (hEncl, vEncl) of the enclosure's coordinates.
  void Init(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
            SizingOption hSizing, SizingOption vSizing);
  void IPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
             SizingOption hSizing, SizingOption vSizing) {
    Init(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing);
  }

  void GetFrame(LongRect* r) const { *r = frame; }
  // The frame in the enclosure's coordinates.
  void GetFrameInEnclosure(LongRect* r) const;
  SInt16 GetWidth() const { return width; }
  SInt16 GetHeight() const { return height; }
  void GetLengths(SInt16* w, SInt16* h) const;
  void GetPlace(LongPt* place) const { *place = {vEncl, hEncl}; }
  void GetSizing(SizingOption* h, SizingOption* v) const;
  void SetSizing(SizingOption h, SizingOption v);

  // Moves the pane to (h, v) of the enclosure / by (dh, dv).
  virtual void Place(long hEncl, long vEncl, Boolean redraw);
  virtual void Offset(long dh, long dv, Boolean redraw);
  // Changes the pane's size by the difference of the rectangle's edges (left and top move the
  // place, right and bottom the far edges), then lets the subviews follow.
  virtual void ChangeSize(const Rect* delta, Boolean redraw);
  // Sets the pane's width and height.
  void ResizeFrame(SInt16 newWidth, SInt16 newHeight, Boolean redraw);
  // The enclosure's size changed by the difference of delta's edges: the pane follows its
  // sizing options.
  virtual void AdjustToEnclosure(const Rect* delta);
  // Makes the pane cover the enclosure's frame in the directions asked.
  void FitToEnclosure(Boolean horizontal, Boolean vertical);

  // The border (null: none); the pane owns it.
  void SetBorder(CPaneBorder* border);
  CPaneBorder* GetBorder() const { return itsBorder; }

  void CalcAperture() override;
  void Refresh() override;
  void DrawAll(const Rect* area) override;

 protected:
  // The frame moved in the pane's own coordinates by (dh, dv): origin and aperture follow.
  void ShiftFrame(long dh, long dv);
  // The part around the frame that the border takes (window coordinates), or the frame.
  void GetBorderedArea(LongRect* r) const;

  SInt16 width = 0;
  SInt16 height = 0;
  LongRect frame;
  SInt32 hEncl = 0;
  SInt32 vEncl = 0;
  SizingOption hSizing = sizFIXEDLEFT;
  SizingOption vSizing = sizFIXEDTOP;
  CPaneBorder* itsBorder = nullptr;
};
