#include "VLUnitsDLOGDirector.h"

#include "Alerts.h"
#include "CApplication.h"
#include "CDialog.h"
#include "CDialogText.h"
#include "CException.h"
#include "CPopupMenu.h"
#include "GridLimits.h"
#include "NameToUnitTable.h"
#include "PString.h"
#include "TextLines.h"
#include "UnitBase.h"
#include "VLApplication.h"
#include "VLPopupPane.h"
#include "VLUnitsDLOGDialog.h"

namespace {

// The pop-ups in the order of the director's array.
constexpr SInt16 kPopupItems[6] = {
    VLUnitsDLOGDirector::kLengthFormatItem, VLUnitsDLOGDirector::kLengthDecimalsItem,
    VLUnitsDLOGDirector::kLengthFractionItem, VLUnitsDLOGDirector::kAngleFormatItem,
    VLUnitsDLOGDirector::kAngleDecimalsItem, VLUnitsDLOGDirector::kAngleFractionItem};
enum { kLengthFormatPopup, kLengthDecimalsPopup, kLengthFractionPopup, kAngleFormatPopup, kAngleDecimalsPopup,
       kAngleFractionPopup };

// The text of each value (in the order of VLUnitsDLOGDirector::Value).
constexpr SInt16 kValueItems[3] = {VLUnitsDLOGDirector::kGridSpacingItem, VLUnitsDLOGDirector::kGridSizeItem,
                                   VLUnitsDLOGDirector::kSnapSpacingItem};
// The values in the order their texts stand in the dialog, which is the order a refusal names.
constexpr VLUnitsDLOGDirector::Value kDialogOrder[3] = {
    VLUnitsDLOGDirector::kSnapSpacing, VLUnitsDLOGDirector::kGridSpacing, VLUnitsDLOGDirector::kGridSize};

bool InRange(long command, long first, long last) { return command >= first && command <= last; }

// Format::operator== leaves the precision out; a change of precision is a change here.
bool SameFormat(const Format& a, const Format& b) {
  return a == b && a.precision == b.precision && a.reductionDivisor == b.reductionDivisor;
}

}  // namespace

void VLUnitsDLOGDirector::IVLUnitsDLOGDirector(SInt16 dialogID, CDirectorOwner* supervisor, const Format& length,
                                               const Format& angle, double gridSpacing, double gridSize,
                                               double snapSpacing) {
  lengthFormat = length;
  angleFormat = angle;
  values[kGridSpacing] = gridSpacing;
  values[kGridSize] = gridSize;
  values[kSnapSpacing] = snapSpacing;
  for (SInt32& flag : flags) flag = kValueValid;
  changed = false;
  IDialogDirector(supervisor);
  AdoptDialog(new VLUnitsDLOGDialog,
              [this, dialogID](CDLOGDialog* dialog) { dialog->IDLOGDialog(dialogID, gDesktop, this); });
  CDialog* dialog = GetDialog();
  for (int i = 0; i < 6; ++i) {
    popups[i] = dialog ? dynamic_cast<VLPopupPane*>(dialog->FindItem(kPopupItems[i])) : nullptr;
    if (!popups[i]) Failure(resNotFound, 0);
    AttachToProvider(popups[i]);
  }
  for (int i = 0; i < 3; ++i) {
    texts[i] = dialog ? dynamic_cast<CDialogText*>(dialog->FindItem(kValueItems[i])) : nullptr;
    if (!texts[i]) Failure(resNotFound, 0);
    texts[i]->SetMaxLength(kTextLimit);
    AttachToProvider(texts[i]);
  }
  FillDialog();
}

// ---- Showing ----

bool VLUnitsDLOGDirector::ApplicationFormat(bool length, long index, Format* format) {
  const auto* application = dynamic_cast<const VLApplication*>(gApplication);
  const long count = length ? VLApplication::kLengthFormatCount : VLApplication::kAngleFormatCount;
  if (!application || index < 0 || index >= count) return false;
  *format = length ? (&application->GetMilesFormat())[index] : application->GetAngleFormats()[index];
  return true;
}

void VLUnitsDLOGDirector::MarkCommand(VLPopupPane* popup, long command) {
  const SInt16 item = VLUnitsDLOGDialog::CommandItem(popup, command);
  if (item != 0 && popup->GetValue() != item) popup->SetValue(item);
}

void VLUnitsDLOGDirector::ShowPrecision(const Format& format, VLPopupPane* decimals, VLPopupPane* fraction,
                                        long decimalsBase, long fractionBase) {
  const bool inDecimals = format.style == Format::kDecimals;
  VLPopupPane* shown = inDecimals ? decimals : fraction;
  VLPopupPane* hidden = inDecimals ? fraction : decimals;
  hidden->Hide();
  MarkCommand(shown, (inDecimals ? decimalsBase : fractionBase) + format.precision);
  shown->Show();
}

void VLUnitsDLOGDirector::FillDialog() {
  if (const auto* application = dynamic_cast<const VLApplication*>(gApplication)) {
    const long length = cmdFirstLengthFormat + application->FindLengthFormat(lengthFormat);
    if (length <= cmdLastLengthFormat) MarkCommand(popups[kLengthFormatPopup], length);
    const long angle = cmdFirstAngleFormat + application->FindAngleFormat(angleFormat);
    if (angle <= cmdLastAngleFormat) MarkCommand(popups[kAngleFormatPopup], angle);
  }
  ShowPrecision(lengthFormat, popups[kLengthDecimalsPopup], popups[kLengthFractionPopup], cmdLengthDecimalsBase,
                cmdLengthFractionBase);
  ShowPrecision(angleFormat, popups[kAngleDecimalsPopup], popups[kAngleFractionPopup], cmdAngleDecimalsBase,
                cmdAngleFractionBase);
  for (int i = 0; i < 3; ++i) {
    if (flags[i] != kValueValid) continue;
    texts[i]->SetTextString(Str255(vltext::ShowMeasurement(values[i], gFeet, lengthFormat)));
    texts[i]->Refresh();
  }
}

// ---- Commands ----

bool VLUnitsDLOGDirector::ApplyFormatCommand(long command) {
  const bool length = command < cmdFirstAngleFormat || InRange(command, cmdLengthFractionBase, cmdLastLengthFraction);
  Format& format = length ? lengthFormat : angleFormat;
  Format updated = format;
  if (InRange(command, cmdFirstLengthFormat, cmdLastLengthFormat) ||
      InRange(command, cmdFirstAngleFormat, cmdLastAngleFormat)) {
    if (!ApplicationFormat(length, command - (length ? cmdFirstLengthFormat : cmdFirstAngleFormat), &updated))
      return false;
  } else if (InRange(command, cmdLengthDecimalsBase, cmdLastLengthDecimals) ||
             InRange(command, cmdAngleDecimalsBase, cmdLastAngleDecimals)) {
    if (format.style != Format::kDecimals) return false;
    updated.precision = SInt32(command - (length ? cmdLengthDecimalsBase : cmdAngleDecimalsBase));
  } else {
    if (format.style != Format::kFractions) return false;
    updated.precision = SInt32(command - (length ? cmdLengthFractionBase : cmdAngleFractionBase));
  }
  AcceptValues();
  // Choosing what the format already is changes nothing.
  if (!SameFormat(updated, format)) {
    format = updated;
    changed = true;
  }
  FillDialog();
  return true;
}

void VLUnitsDLOGDirector::DoCommand(long command) {
  const bool ours = InRange(command, cmdFirstLengthFormat, cmdLastLengthFormat) ||
                    InRange(command, cmdLengthDecimalsBase, cmdLastLengthDecimals) ||
                    InRange(command, cmdLengthFractionBase + 1, cmdLastLengthFraction) ||
                    InRange(command, cmdFirstAngleFormat, cmdLastAngleFormat) ||
                    InRange(command, cmdAngleDecimalsBase, cmdLastAngleDecimals) ||
                    InRange(command, cmdAngleFractionBase + 1, cmdLastAngleFraction);
  if (ours)
    ApplyFormatCommand(command);
  else
    CDLOGDirector::DoCommand(command);
}

void VLUnitsDLOGDirector::OnProviderChange(CCollaborator* provider, long reason, void* info) {
  if (reason == kDialogTextChanged && info) {
    const SInt16 item = *static_cast<const SInt16*>(info);
    for (int i = 0; i < 3; ++i)
      if (provider == texts[i] && kValueItems[i] == item) flags[i] = kValueEdited;
    return;
  }
  if (reason == kPopupPaneChoice && info) {
    for (VLPopupPane* popup : popups) {
      if (provider != popup) continue;
      if (const long command = VLUnitsDLOGDialog::ItemCommand(popup, *static_cast<const SInt16*>(info)))
        DoCommand(command);
      return;
    }
  }
  CDLOGDirector::OnProviderChange(provider, reason, info);
}

// ---- Accepting the typed values ----

bool VLUnitsDLOGDirector::ReadLength(Value which, double* feet) const {
  Str255 text;
  texts[which]->GetTextString(text);
  // A bare number is in the first unit of the format being edited.
  const UnitBase& bare = lengthFormat.UsedUnits() > 0 ? lengthFormat.units[0] : gFeet;
  return vltext::ParseMeasurement(PStrToStd(text), gShortLengthNameTable, bare, gFeet, feet);
}

Boolean VLUnitsDLOGDirector::AcceptValues() {
  refusedItem = 0;
  double typed[3] = {values[0], values[1], values[2]};
  bool taken[3] = {};
  for (Value which : kDialogOrder) {
    if (flags[which] != kValueEdited) continue;
    double feet = 0.0;
    // Points snap to multiples of a spacing and the grid draws a line at each: each must be
    // above 0, and no length beyond the model's extent is meant.
    if (ReadLength(which, &feet) && feet > 0.0 && feet <= kMostLength) {
      typed[which] = feet;
      taken[which] = true;
    } else if (!refusedItem) {
      refusedItem = kValueItems[which];
    }
  }
  // The grid's size and spacing together must make a grid the painting layer can draw.
  if ((taken[kGridSpacing] || taken[kGridSize]) && GridLineCount(typed[kGridSize], typed[kGridSpacing]) == 0) {
    if (!refusedItem) refusedItem = kValueItems[taken[kGridSpacing] ? kGridSpacing : kGridSize];
    taken[kGridSpacing] = taken[kGridSize] = false;
  }
  for (int i = 0; i < 3; ++i) {
    if (!taken[i]) continue;
    if (typed[i] != values[i]) changed = true;
    values[i] = typed[i];
    flags[i] = kValueValid;
  }
  return flags[0] == kValueValid && flags[1] == kValueValid && flags[2] == kValueValid;
}

Boolean VLUnitsDLOGDirector::EndDialog(long command, Boolean validate) {
  if (validate && !AcceptValues()) {
    PortBeep(1);
    if (CDialogText* refused = refusedItem ? dynamic_cast<CDialogText*>(GetDialog()->FindItem(refusedItem)) : nullptr) {
      refused->BecomeCommandTarget(true);
      refused->SelectAll(true);
    }
    return false;
  }
  return CDLOGDirector::EndDialog(command, validate);
}
