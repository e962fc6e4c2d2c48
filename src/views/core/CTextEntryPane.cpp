#include "CTextEntryPane.h"

#include "Events.h"
#include "PString.h"
#include "QuickDraw.h"

bool IsEntryKey(char theChar) {
  const UInt8 c = UInt8(theChar);
  return c == kReturnChar || c == kEnterChar || c == kTabChar;
}

void CTextEntryPane::ITextEntryPane(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height,
                                    SInt16 hEncl, SInt16 vEncl, SizingOption hSizing, SizingOption vSizing,
                                    SInt16 lineWidth) {
  edited = 0;
  Init(enclosure, supervisor, width, height, hEncl, vEncl, hSizing, vSizing, lineWidth);
  SetFontName(Str255("Geneva"));
  SetTextPtr("", 0);
}

void CTextEntryPane::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  if (IsEntryKey(theChar)) {
    if (itsSupervisor) itsSupervisor->DoKeyDown(theChar, keyCode, event);
  } else {
    edited = 1;
    CEditText::DoKeyDown(theChar, keyCode, event);
  }
  // The field's edits are not undoable on their own.
  ForgetLastTask();
}

void CTextEntryPane::Draw(const Rect* area) {
  PortEraseRect(area);
  CEditText::Draw(area);
}
