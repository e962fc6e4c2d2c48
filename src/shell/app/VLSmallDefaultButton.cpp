#include "VLSmallDefaultButton.h"

#include <new>

#include "CException.h"
#include "CPaneBorder.h"

void VLSmallDefaultButton::SetDefault(Boolean makeDefault) {
  if (makeDefault) {
    if (GetBorder()) return;
    auto* border = new (std::nothrow) CPaneBorder(kBorderFrame);
    FailNIL(border);
    border->SetCornerSize(12, 12);
    border->SetPenSize(2, 2);
    SetBorder(border);
  } else if (GetBorder()) {
    SetBorder(nullptr);
  }
  Refresh();
}
