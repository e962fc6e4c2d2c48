// A dialog director that reads and sets the text and the text style of its dialog's text items
// by item number. The caller names an existing text item; a number that names no text item
// does nothing (and reads as an empty text).
#pragma once

#include "CDLOGDirector.h"
#include "QuickDraw.h"

class CAbstractText;

class CTextDLOGDirector : public CDLOGDirector {
  VL_REGISTERED_CLASS(CTextDLOGDirector, CDLOGDirector)

 public:
  CTextDLOGDirector() = default;

  // The item's first 255 characters.
  virtual void GetItemText(SInt16 item, StringPtr text);
  virtual void SetItemText(SInt16 item, ConstStringPtr text);
  virtual void SetItemFont(SInt16 item, SInt16 font);
  virtual void SetItemStyle(SInt16 item, Style style);
  virtual void SetItemSize(SInt16 item, SInt16 size);
  virtual void SetItemMode(SInt16 item, SInt16 mode);
  // 0 left, 1 centred, 2 right.
  virtual void SetItemJustification(SInt16 item, SInt16 justification);

 protected:
  CAbstractText* FindText(SInt16 item) const;
};
