#include "CTextToolDialogText.h"

#include <algorithm>

#include "Events.h"
#include "PString.h"
#include "QuickDraw.h"

void CTextToolDialogText::Init(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                               SizingOption hS, SizingOption vS, SInt16 maxLength) {
  CDialogText::Init(enclosure, supervisor, w, h, hE, vE, hS, vS, maxLength);
  multiLine = true;
}

Boolean CTextToolDialogText::IsTypedKey(char theChar, UInt8 keyCode) const {
  // The text tool places text of several lines, so Return is text here, not the OK button.
  if (UInt8(theChar) == kReturnChar) return true;
  return CDialogText::IsTypedKey(theChar, keyCode);
}

SInt16 CTextToolDialogText::GetWidestLine() {
  if (!macTE) return 0;
  PortStateKeeper keep(GetMacPort());
  if (GetMacPort()) Prepare();
  const TERec& te = **macTE;
  PortTextFont(te.txFont);
  PortTextSize(te.txSize);
  PortTextFace(te.txFace);
  // The text is unwrapped, so its lines end only at Return.
  SInt16 widest = 0;
  std::size_t start = 0;
  const std::string& text = te.text;
  while (start <= text.size()) {
    std::size_t end = text.find(char(kReturnChar), start);
    if (end == std::string::npos) end = text.size();
    // The string keeps the first 255 characters of the line.
    widest = std::max(widest, PortStringWidth(Str255(std::string_view(text).substr(start, end - start))));
    start = end + 1;
  }
  return widest;
}
