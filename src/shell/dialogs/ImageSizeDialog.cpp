#include "ImageSizeDialog.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

SInt32 FieldValue(const char* text) {
  std::string kept(text ? text : "");
  kept.resize(std::min(kept.size(), std::size_t(kNumberFieldLength)));
  // strtoll stops at its bounds instead of overflowing, and the bound is cut to 32 bits here.
  long long value = std::strtoll(kept.c_str(), nullptr, 10);
  if (value < 0) value = value == std::numeric_limits<long long>::min() ? std::numeric_limits<long long>::max() : -value;
  return SInt32(std::min<long long>(value, std::numeric_limits<SInt32>::max()));
}

SInt32 TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  return SInt32(std::clamp(std::trunc(value), double(std::numeric_limits<SInt32>::min()),
                           double(std::numeric_limits<SInt32>::max())));
}

ImageSizeDialog::ImageSizeDialog(SInt32 height, SInt32 width)
    : givenHeight(std::max<SInt32>(height, 1)),
      givenWidth(std::max<SInt32>(width, 1)),
      newHeight(givenHeight),
      newWidth(givenWidth),
      aspect(float(givenHeight) / float(givenWidth)) {}

void ImageSizeDialog::WriteNumber(HWND dialog, int controlId, double value, bool withDecimal) {
  char text[64];
  if (withDecimal) std::snprintf(text, sizeof text, "%.1f", value);
  else std::snprintf(text, sizeof text, "%d", TruncateToInt32(value));
  SetDlgItemTextA(dialog, controlId, text);
}

Boolean ImageSizeDialog::Init(HWND dialog) {
  // The fields' own change messages must not recompute the size from each other's rounding.
  updateGuard = false;
  SetDlgItemTextA(dialog, kScaleField, "100.0");
  WriteNumber(dialog, kHeightField, givenHeight, false);
  WriteNumber(dialog, kWidthField, givenWidth, false);
  updateGuard = true;
  CheckRadioButton(dialog, kScaleRadio, kHeightRadio, kScaleRadio);
  EnableWindow(GetDlgItem(dialog, kWidthField), FALSE);
  EnableWindow(GetDlgItem(dialog, kHeightField), FALSE);
  for (const char* depth : {"2-bit (2 colors)", "4-bit (16 colors)", "8-bit (256 colors)", "24-bit (16M colors)"})
    SendDlgItemMessageA(dialog, kDepthList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(depth));
  SendDlgItemMessageA(dialog, kDepthList, CB_SETCURSEL, 3, 0);
  return true;
}

void ImageSizeDialog::FieldChanged(HWND dialog, int controlId) {
  char text[kNumberFieldLength + 1];
  GetDlgItemTextA(dialog, controlId, text, sizeof text);
  const SInt32 value = FieldValue(text);
  if (value == 0) return;
  updateGuard = false;
  switch (controlId) {
    case kWidthField:
      newWidth = value;
      newHeight = TruncateToInt32(double(value) * aspect);
      scale = float(double(value) / givenWidth * 100.0);
      WriteNumber(dialog, kHeightField, newHeight, false);
      WriteNumber(dialog, kScaleField, scale, true);
      break;
    case kHeightField:
      newHeight = value;
      newWidth = TruncateToInt32(double(value) / aspect);
      scale = float(double(value) / givenHeight * 100.0);
      WriteNumber(dialog, kWidthField, newWidth, false);
      WriteNumber(dialog, kScaleField, scale, true);
      break;
    default:
      scale = float(value);
      newWidth = TruncateToInt32(double(value) * 0.01 * givenWidth);
      newHeight = TruncateToInt32(double(value) * 0.01 * givenHeight);
      WriteNumber(dialog, kWidthField, newWidth, false);
      WriteNumber(dialog, kHeightField, newHeight, false);
      break;
  }
  updateGuard = true;
}

Boolean ImageSizeDialog::Command(HWND dialog, int controlId, HWND, int notification) {
  switch (controlId) {
    case IDOK:
    case IDCANCEL:
      EndDialog(dialog, controlId == IDOK ? 1 : 0);
      return true;
    case kScaleRadio:
    case kWidthRadio:
    case kHeightRadio:
      EnableWindow(GetDlgItem(dialog, kScaleField), controlId == kScaleRadio);
      EnableWindow(GetDlgItem(dialog, kWidthField), controlId == kWidthRadio);
      EnableWindow(GetDlgItem(dialog, kHeightField), controlId == kHeightRadio);
      return true;
    case kScaleField:
    case kWidthField:
    case kHeightField:
      if ((notification == EN_CHANGE || notification == EN_UPDATE) && updateGuard) FieldChanged(dialog, controlId);
      return true;
    case kDepthList:
      if (notification == CBN_SELCHANGE) {
        static constexpr SInt32 kDepths[] = {1, 4, 8, 24};
        LRESULT index = SendDlgItemMessageA(dialog, kDepthList, CB_GETCURSEL, 0, 0);
        if (index >= 0 && index < 4) colorDepth = kDepths[index];
      }
      return true;
    default:
      return false;
  }
}

Boolean ImageSizeDialog::Notify(HWND dialog, int controlId, NMHDR* header) {
  if (!header || header->code != UDN_DELTAPOS) return false;
  const int step = reinterpret_cast<NMUPDOWN*>(header)->iDelta;
  // The field's own change message recomputes the others.
  switch (controlId) {
    case kScaleSpin:
      WriteNumber(dialog, kScaleField, double(scale) + step, true);
      return true;
    case kWidthSpin:
      WriteNumber(dialog, kWidthField, double(newWidth) + step, false);
      return true;
    case kHeightSpin:
      WriteNumber(dialog, kHeightField, double(newHeight) + step, false);
      return true;
    default:
      return false;
  }
}
