// The program's scroll pane: when the whole panorama fits in the pane, both scroll bars are
// inactive.
#pragma once

#include "CScrollPane.h"

class VLScrollPane : public CScrollPane {
  VL_REGISTERED_CLASS(VLScrollPane, CScrollPane)

 public:
  VLScrollPane() = default;

  // Bars inactive while the panorama's extent is smaller than the pane both ways; otherwise the
  // class library's ranges, with the bars active again while the pane is.
  void AdjustScrollMax() override;
};
