#include "CDialogText.h"

#include "Events.h"

void CDialogText::Init(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                       SizingOption hS, SizingOption vS, SInt16 maxLength) {
  CEditText::Init(enclosure, supervisor, w, h, hE, vE, hS, vS, -1);
  multiLine = false;
  SetMaxLength(maxLength > 0 ? maxLength : 32767);
}

Boolean CDialogText::Validate() { return true; }

Boolean CDialogText::IsTypedKey(char theChar, UInt8 keyCode) const {
  UInt8 c = UInt8(theChar);
  if (c == kEnterChar || c == kTabChar || c == kReturnChar) return false;
  if (c == kEscapeChar && keyCode == kEscapeKeyCode) return false;
  return CEditText::IsTypedKey(theChar, keyCode);
}

void CDialogText::TextChanged() { NotifyDependents(kDialogTextChanged, &itemNumber); }
