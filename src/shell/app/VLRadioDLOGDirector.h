// A dialog director whose radio buttons are chosen and tagged by their item numbers.
#pragma once

#include "CDLOGDirector.h"

class VLRadioDLOGDirector : public CDLOGDirector {
  VL_REGISTERED_CLASS(VLRadioDLOGDirector, CDLOGDirector)

 public:
  VLRadioDLOGDirector() = default;

  // The item's control value becomes 1; nothing when the item is no control.
  void SelectItem(SInt16 item);
  // The item number is stored in the item's radio button; nothing when it is none.
  void TagItem(SInt16 item);
};
