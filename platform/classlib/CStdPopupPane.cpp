#include "CStdPopupPane.h"

#include "CPopupMenu.h"
#include "CWindow.h"
#include "Menus.h"
#include "PString.h"

CStdPopupPane::~CStdPopupPane() {
  if (itsMenu) itsMenu->Dispose();
  itsMenu = nullptr;
}

void CStdPopupPane::IStdPopupPane(SInt16 menuID, CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h,
                                  SInt16 hE, SInt16 vE, SizingOption hS, SizingOption vS) {
  Init(enclosure, supervisor, w, h, hE, vE, hS, vS);
  wantsClicks = true;
  SetUpMenu(menuID);
  Layout();
}

void CStdPopupPane::SetUpMenu(SInt16 menuID) {
  if (itsMenu) itsMenu->Dispose();
  itsMenu = new CPopupMenu;
  itsMenu->IPopupMenu(menuID, this, false);
}

void CStdPopupPane::Layout() {
  LongToQDRect(&frame, &popupRect);
  popupRect.right = SInt16(popupRect.right - 1);
  popupRect.bottom = SInt16(popupRect.bottom - 1);
  popupLeft = popupRect.left;
  popupHeight = SInt16(height > 2 ? height - 2 : height);
}

SInt16 CStdPopupPane::GetValue() const { return itsMenu ? itsMenu->GetCurrentItem() : 0; }

void CStdPopupPane::SetValue(SInt16 item) {
  if (!itsMenu) return;
  itsMenu->SelectItem(item, kPopupCheck);
  Refresh();
}

void CStdPopupPane::Draw(const Rect*) {
  Rect all;
  LongToQDRect(&frame, &all);
  PortEraseRect(&all);
  if (itsMenu && itsMenu->GetCurrentItem() > 0) {
    Str255 text;
    itsMenu->GetItemText(itsMenu->GetCurrentItem(), text);
    FontInfo info;
    PortGetFontInfo(&info);
    SInt16 baseline = SInt16(popupRect.top + (popupRect.bottom - popupRect.top + info.ascent - info.descent) / 2);
    PortPenMove(SInt16(popupLeft + textMargin), baseline);
    PortDrawString(text);
  }
  DrawPopup();
}

void CStdPopupPane::DrawPopup() {
  PenState saved;
  PortGetPenState(&saved);
  PortPenNormal();
  PortFrameRect(&popupRect);
  // The shadow along the right and bottom edges.
  PortPenMove(SInt16(popupRect.left + 2), popupRect.bottom);
  PortPenLine(popupRect.right, popupRect.bottom);
  PortPenLine(popupRect.right, SInt16(popupRect.top + 2));
  // The arrow: a small triangle pointing down near the right edge.
  SInt16 mid = SInt16((popupRect.top + popupRect.bottom) / 2 - 2);
  SInt16 right = SInt16(popupRect.right - 8);
  for (SInt16 row = 0; row < 5; ++row) {
    PortPenMove(SInt16(right - 8 + row), SInt16(mid + row));
    PortPenLine(SInt16(right - row), SInt16(mid + row));
  }
  PortSetPenState(&saved);
}

void CStdPopupPane::DoClick(Point, SInt16, long) {
  if (!itsMenu || !itsMenu->GetMacMenu()) return;
  Point topLeft{popupRect.top, popupRect.left};
  LongPt p;
  QDToLongPt(topLeft, &p);
  FrameToWind(&p);
  LongToQDPt(&p, &topLeft);
  if (CWindow* window = GetWindow()) window->WindowToGlobal(&topLeft);
  SInt32 choice = PortPopUpMenuSelect(itsMenu->GetMacMenu(), topLeft.v, topLeft.h, itsMenu->GetCurrentItem());
  SInt16 item = SInt16(choice & 0xFFFF);
  if (choice != 0 && item > 0) itsMenu->ItemChosen(item);
}

void CStdPopupPane::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  if (provider == itsMenu && reason == kPopupChoice) Refresh();
  CPane::ProviderChanged(provider, reason, info);
}
