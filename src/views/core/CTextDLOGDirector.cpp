#include "CTextDLOGDirector.h"

#include "CAbstractText.h"
#include "CDialog.h"

CAbstractText* CTextDLOGDirector::FindText(SInt16 item) const {
  CDialog* dialog = GetDialog();
  return dialog ? dynamic_cast<CAbstractText*>(dialog->FindItem(item)) : nullptr;
}

void CTextDLOGDirector::GetItemText(SInt16 item, StringPtr text) {
  text[0] = 0;
  if (CAbstractText* t = FindText(item)) t->GetTextString(text);
}

void CTextDLOGDirector::SetItemText(SInt16 item, ConstStringPtr text) {
  if (CAbstractText* t = FindText(item)) t->SetTextString(text);
}

void CTextDLOGDirector::SetItemFont(SInt16 item, SInt16 font) {
  if (CAbstractText* t = FindText(item)) t->SetFontNumber(font);
}

void CTextDLOGDirector::SetItemStyle(SInt16 item, Style style) {
  if (CAbstractText* t = FindText(item)) t->SetFontStyle(style);
}

void CTextDLOGDirector::SetItemSize(SInt16 item, SInt16 size) {
  if (CAbstractText* t = FindText(item)) t->SetFontSize(size);
}

void CTextDLOGDirector::SetItemMode(SInt16 item, SInt16 mode) {
  if (CAbstractText* t = FindText(item)) t->SetTextMode(mode);
}

void CTextDLOGDirector::SetItemJustification(SInt16 item, SInt16 justification) {
  if (CAbstractText* t = FindText(item)) t->SetJustification(justification);
}
