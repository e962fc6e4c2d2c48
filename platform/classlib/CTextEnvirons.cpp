#include "CTextEnvirons.h"

void CTextEnvirons::Restore() const {
  PortTextFont(textInfo.fontNumber);
  PortTextSize(textInfo.theSize);
  PortTextFace(Style(textInfo.theStyle));
  PortTextMode(textInfo.theMode);
}

SInt16 CTextEnvirons::GetLineHeight(SInt16* ascent) const {
  Restore();
  FontInfo info;
  PortGetFontInfo(&info);
  if (ascent) *ascent = info.ascent;
  return SInt16(info.ascent + info.descent + info.leading);
}
