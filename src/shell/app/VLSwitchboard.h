// The program's event step: window events go only to the program's own windows (those with a
// class-library window object); others are taken and dropped.
#pragma once

#include "CSwitchboard.h"

class VLSwitchboard : public CSwitchboard {
  VL_REGISTERED_CLASS(VLSwitchboard, CSwitchboard)

 public:
  VLSwitchboard() = default;

  void IVLSwitchboard() { ISwitchboard(); }
  void DoActivate(EventRecord* event) override;
};
