// The horizon of a view pane: a line across the pane where the ground meets the sky, or in the
// shaded display the sky and ground filled in their colours above and below it. Each view pane
// owns one and gives it the document's colours and switches (SetOptions).
#pragma once

#include "MacTypes.h"
#include "VL3DObject.h"

class VLHorizonLine : public VL3DObject {
  VL_REGISTERED_CLASS(VLHorizonLine, VL3DObject)

 public:
  VLHorizonLine() = default;

  void PreparePoints() override;
  // Computes the horizon row for the view (-1 when the view looks straight down, 0 in an
  // axonometric view), then paints.
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  // Four model points on the ground; shown, sky fill and the fourth flag set. Raises the memory
  // errors of the point store.
  void IVLHorizonLine();
  // Every model point goes to the ground (height 0).
  void Flatten();
  // Without gShadedMode, or while gInteractiveDrawing is set: the line across the pane in the
  // horizon colour when the row lies inside the pane. In the shaded display otherwise: the
  // pane above the horizon in the sky colour and below it in the ground colour, as the switches
  // say; without a horizon on the pane, all sky when the view looks above the ground, all
  // ground otherwise. Raises kDEErrorNilPointer when no fill pattern can be made.
  void Paint(VLViewTransform* view, Rect* updateRect);
  // The last line again, when the row is above 0.
  void RedrawLine();
  void SetOptions(UInt8 shownFlag, const RGBColor& ground, UInt8 groundFillFlag, UInt8 skyFillFlag,
                  const RGBColor& sky, UInt8 fourthFlag);

  UInt8 shown = 0;
  UInt8 groundFill = 0;
  UInt8 skyFill = 0;
  UInt8 fourth = 0;
  RGBColor groundColour;
  RGBColor skyColour;
  SInt16 row = 0;        // pane row of the horizon; 0 or less: none
  SInt16 lineWidth = 0;  // pane width when the line was last drawn
};
