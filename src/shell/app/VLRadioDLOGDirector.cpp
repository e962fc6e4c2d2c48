#include "VLRadioDLOGDirector.h"

#include "CDialog.h"
#include "CRadioControl.h"

void VLRadioDLOGDirector::SelectItem(SInt16 item) {
  CDialog* dialog = GetDialog();
  if (auto* control = dialog ? dynamic_cast<CControl*>(dialog->FindItem(item)) : nullptr) control->SetValue(1);
}

void VLRadioDLOGDirector::TagItem(SInt16 item) {
  CDialog* dialog = GetDialog();
  if (auto* radio = dialog ? dynamic_cast<CRadioControl*>(dialog->FindItem(item)) : nullptr) radio->SetTag(item);
}
