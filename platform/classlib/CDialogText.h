// The editable text of a dialog: one line. Return, Enter, Tab and Escape are not typed but go
// to the supervisor (the dialog: default button, next text, cancel button). After a typed key
// that changed the text it broadcasts 'DIA0' with a pointer to its item number, so the dialog
// can react to the edit.
#pragma once

#include "CEditText.h"

class CDialogText : public CEditText {
  VL_REGISTERED_CLASS(CDialogText, CEditText)

 public:
  CDialogText() = default;

  // maxLength: typing stops at this many characters (0 or below: no limit).
  void Init(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
            SizingOption hSizing, SizingOption vSizing, SInt16 maxLength);
  void IDialogText(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl,
                   SInt16 vEncl, SizingOption hSizing, SizingOption vSizing, SInt16 maxLength) {
    Init(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing, maxLength);
  }

  // The item number the text has in its dialog (0: none).
  void SetItemNumber(SInt16 item) { itemNumber = item; }
  SInt16 GetItemNumber() const { return itemNumber; }

  // Whether the text may end the dialog as it stands; the base accepts any text.
  virtual Boolean Validate();

 protected:
  Boolean IsTypedKey(char theChar, UInt8 keyCode) const override;
  void TextChanged() override;

  SInt16 itemNumber = 0;
};

// The reason of a dialog text's change notice.
constexpr long kDialogTextChanged = FourCharReason("DIA0");
