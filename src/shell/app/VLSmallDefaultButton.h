// A small button whose default state shows as a rounded border (12 by 12 corners, 2 pixels)
// instead of the heavy outline.
#pragma once

#include "CButton.h"

class VLSmallDefaultButton : public CButton {
  VL_REGISTERED_CLASS(VLSmallDefaultButton, CButton)

 public:
  VLSmallDefaultButton() = default;

  // Becoming the default button gives it the border when it has none; losing it removes it.
  void SetDefault(Boolean isDefault) override;
  Boolean HasDefaultBorder() const { return GetBorder() != nullptr; }
};
