#include "VLTextToolDLOGDialog.h"

#include "CTextToolDialogText.h"
#include "Events.h"
#include "QuickDraw.h"

namespace {
// The edit text grows by whole lines up to this height.
constexpr SInt16 kMostItemHeight = 64;
}  // namespace

SInt16 TextToolItemHeight(SInt16 lineHeight) {
  if (lineHeight <= 0) return 0;
  SInt16 h = lineHeight;
  while (h + lineHeight <= kMostItemHeight) h = SInt16(h + lineHeight);
  return h;
}

void VLTextToolDLOGDialog::IVLTextToolDLOGDialog(SInt16 dialogID, CDesktop* enclosure, CBureaucrat* director,
                                                 SInt16 limit, SInt16 height) {
  textLimit = limit;
  lineHeight = height;
  IDLOGDialog(dialogID, enclosure, director);
}

SInt16 VLTextToolDLOGDialog::ItemLineHeight() {
  // Stands in for a line height of 0 or below, which would never fill 64 pixels.
  PortStateKeeper keep(GetMacPort());
  if (GetMacPort()) Prepare();
  PortTextFont(itemFont);
  if (itemSize > 0) PortTextSize(itemSize);
  FontInfo info;
  PortGetFontInfo(&info);
  return SInt16(info.ascent + info.descent + info.leading);
}

CView* VLTextToolDLOGDialog::MakeEditTextItem(SInt16 itemNumber, const vlres::DialogItem& item) {
  auto* text = new CTextToolDialogText;
  text->Init(this, this, SInt16(item.bounds.right - item.bounds.left), 
             lineHeight > 0 ? TextToolItemHeight(lineHeight) : ItemLineHeight(),
             item.bounds.left, item.bounds.top, sizFIXEDSTICKY, sizFIXEDSTICKY, textLimit);
  SetUpEditText(text, itemNumber, item);
  return text;
}

void VLTextToolDLOGDialog::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  // Return is not the default button here: the text takes several lines.
  if (UInt8(theChar) == kReturnChar)
    CBureaucrat::DoKeyDown(theChar, keyCode, event);
  else
    CDLOGDialog::DoKeyDown(theChar, keyCode, event);
}
