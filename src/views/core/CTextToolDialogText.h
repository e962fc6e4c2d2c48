// The text item of the text-tool dialog: a dialog text of several lines. Return is typed as a
// new line; Enter, Tab and the Escape key go to the dialog as in any dialog text, and typed
// edits are announced to the dialog ('DIA0').
#pragma once

#include "CDialogText.h"

class CTextToolDialogText : public CDialogText {
  VL_REGISTERED_CLASS(CTextToolDialogText, CDialogText)

 public:
  CTextToolDialogText() = default;

  // As the dialog text's, with lines broken only at Return.
  void Init(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
            SizingOption hSizing, SizingOption vSizing, SInt16 maxLength);

  // The width in pixels of the widest line in the text's font (each line measured to 255
  // characters); 0 for an empty text.
  SInt16 GetWidestLine();

 protected:
  Boolean IsTypedKey(char theChar, UInt8 keyCode) const override;
};
