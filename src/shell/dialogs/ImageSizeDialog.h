// Dialog 102 "Image Save Options": the size and colour depth of an image to save. The user
// scales the given size by a percentage, or types a width or a height that keeps the aspect;
// the caller reads the new size and the depth after a true Run.
#pragma once

#include "DialogBase.h"

class ImageSizeDialog : public DialogBase {
 public:
  static constexpr SInt16 kDialogId = 102;
  enum : int {
    kScaleRadio = 1000,
    kWidthRadio = 1001,
    kHeightRadio = 1002,
    kWidthField = 1007,
    kHeightField = 1008,
    kScaleField = 1009,
    kDepthList = 1013,
    kScaleSpin = 1014,
    kWidthSpin = 1015,
    kHeightSpin = 1016,
  };

  // A size of less than one pixel counts as one pixel, so that the aspect and the scale stay
  // finite. The new size starts as the given one.
  ImageSizeDialog(SInt32 givenHeight, SInt32 givenWidth);

  // True when the user chose OK.
  Boolean Run(HWND parent) { return RunModal(parent, kDialogId); }

  SInt32 GetNewWidth() const { return newWidth; }
  SInt32 GetNewHeight() const { return newHeight; }
  float GetScale() const { return scale; }
  SInt32 GetColorDepth() const { return colorDepth; }

  Boolean Init(HWND dialog) override;
  Boolean Command(HWND dialog, int controlId, HWND control, int notification) override;
  Boolean Notify(HWND dialog, int controlId, NMHDR* header) override;

 private:
  void FieldChanged(HWND dialog, int controlId);
  void WriteNumber(HWND dialog, int controlId, double value, bool withDecimal);

  SInt32 givenHeight;
  SInt32 givenWidth;
  SInt32 newHeight;
  SInt32 newWidth;
  float aspect;
  float scale = 100.0f;
  Boolean updateGuard = true;
  SInt32 colorDepth = 24;
};

// A field's integer reading: at most kNumberFieldLength characters, leading blanks and a sign
// allowed, digits up to the first other character; the absolute value, capped at 2147483647.
SInt32 FieldValue(const char* text);
// A double truncated toward zero into 32 bits; beyond the range it stops at the bound, NaN is 0.
SInt32 TruncateToInt32(double value);
