// A text environment: the font, size, style and transfer mode text is drawn with, kept so it
// can be put in place in the current port before drawing.
#pragma once

#include "CCollaborator.h"
#include "QuickDraw.h"

struct TextInfoRec {
  SInt16 fontNumber = 0;
  SInt16 theSize = 12;
  SInt16 theStyle = kStylePlain;
  SInt16 theMode = srcOr;
};

class CTextEnvirons : public CCollaborator {
  VL_REGISTERED_CLASS(CTextEnvirons, CCollaborator)

 public:
  CTextEnvirons() = default;

  void SetTextInfo(const TextInfoRec* info) { textInfo = *info; }
  void GetTextInfo(TextInfoRec* info) const { *info = textInfo; }
  // Puts the environment in place in the current port.
  void Restore() const;
  // Line height (ascent, descent and leading) and ascent of the environment's font.
  SInt16 GetLineHeight(SInt16* ascent) const;

 private:
  TextInfoRec textInfo;
};
