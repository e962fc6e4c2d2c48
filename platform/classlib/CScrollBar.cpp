#include "CScrollBar.h"

#include "CScrollPane.h"

void CScrollBar::IScrollBar(CView* enclosure, CBureaucrat* supervisor, Boolean isHorizontal, SInt16 length,
                            SInt16 hE, SInt16 vE) {
  horizontal = isHorizontal;
  if (horizontal)
    IControl(enclosure, supervisor, length, kScrollBarWidth, hE, vE, sizELASTIC, sizFIXEDBOTTOM, scrollBarProc,
             nullptr, 0, 0, 0);
  else
    IControl(enclosure, supervisor, kScrollBarWidth, length, hE, vE, sizFIXEDRIGHT, sizELASTIC, scrollBarProc,
             nullptr, 0, 0, 0);
}

void CScrollBar::DoTrackAction(SInt16 part) {
  if (!itsScrollPane) return;
  if (horizontal)
    itsScrollPane->DoHorizScroll(part);
  else
    itsScrollPane->DoVertScroll(part);
}

void CScrollBar::DoGoodClick(SInt16 part) {
  if (part != kControlIndicatorPart) return;
  // The window layer set the control's value from where the thumb was let go.
  SInt16 newValue = macControl ? PortGetControlValue(macControl) : value;
  long delta = long(newValue) - value;
  value = newValue;
  if (delta != 0 && itsScrollPane) {
    if (horizontal)
      itsScrollPane->DoThumbDragged(delta, 0);
    else
      itsScrollPane->DoThumbDragged(0, delta);
  }
  SendClickCommand();
}
