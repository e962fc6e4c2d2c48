// The window of the text-tool dialog: a resource dialog whose edit text is a text-tool item of
// whole lines, at most 64 pixels high, limited to the given number of characters. Return in
// the window goes up the chain of command rather than to the default button.
#pragma once

#include "CDLOGDialog.h"

class VLTextToolDLOGDialog : public CDLOGDialog {
  VL_REGISTERED_CLASS(VLTextToolDLOGDialog, CDLOGDialog)

 public:
  VLTextToolDLOGDialog() = default;

  // textLimit: characters the edit text takes (0 or below: no limit); lineHeight: pixels per
  // line of the edit text. Fails as IDLOGDialog does.
  void IVLTextToolDLOGDialog(SInt16 dialogID, CDesktop* enclosure, CBureaucrat* director, SInt16 textLimit,
                             SInt16 lineHeight);
  SInt16 GetTextLimit() const { return textLimit; }
  SInt16 GetLineHeight() const { return lineHeight; }

  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;

 protected:
  CView* MakeEditTextItem(SInt16 itemNumber, const vlres::DialogItem& item) override;
  // One line of the item's font.
  SInt16 ItemLineHeight();

  SInt16 textLimit = 0;
  SInt16 lineHeight = 0;
};

// The height of an edit text of lines lineHeight high: as many whole lines as stay within 64
// pixels, at least one. A line height of 0 or below gives 0 (the caller chooses a line).
SInt16 TextToolItemHeight(SInt16 lineHeight);
