// A pane's border: lines along some sides of the pane, drawn just outside its frame (so the
// pane's contents are never overdrawn), with a pen width, an optional gap to the frame and,
// when all four sides are drawn, rounded corners.
#pragma once

#include "CCollaborator.h"
#include "LongCoordinates.h"

// Sides of a border.
enum : SInt16 {
  kBorderLeft = 1,
  kBorderTop = 2,
  kBorderRight = 4,
  kBorderBottom = 8,
  kBorderFrame = 15,  // all four sides
};

class CPaneBorder : public CCollaborator {
  VL_REGISTERED_CLASS(CPaneBorder, CCollaborator)

 public:
  explicit CPaneBorder(SInt16 flags = kBorderFrame);

  // The sides drawn (kBorder... bits). Call5 is the same setter under its slot's name.
  void SetBorderFlags(SInt16 flags) { borderFlags = SInt16(flags & kBorderFrame); }
  void Call5(SInt16 flags) { SetBorderFlags(flags); }
  SInt16 GetBorderFlags() const { return borderFlags; }
  // Pen width and height of the lines (at least 1).
  void SetPenSize(SInt16 h, SInt16 v);
  // Corner oval of a full frame (0: square corners).
  void SetCornerSize(SInt16 h, SInt16 v);
  // Blank space between the frame and the lines.
  void SetMargin(SInt16 h, SInt16 v);
  SInt16 GetPenWidth() const { return penH; }

  // The rectangle the border takes for a frame (the frame itself when no side is drawn).
  void GetBorderRect(const LongRect* frame, LongRect* r) const;
  // Draws the border of a frame given in the current port's coordinates.
  void Draw(const LongRect* frame) const;

 private:
  SInt16 borderFlags = kBorderFrame;
  SInt16 penH = 1;
  SInt16 penV = 1;
  SInt16 cornerH = 0;
  SInt16 cornerV = 0;
  SInt16 marginH = 0;
  SInt16 marginV = 0;
};
