#include "VLPopupPane.h"

#include <algorithm>

#include "Menus.h"
#include "PString.h"
#include "QuickDraw.h"

namespace {
// Between the label and the popup box, and the least height of a pane sized by its font.
constexpr SInt16 kLabelGap = 6;
constexpr SInt16 kMinimumHeight = 21;

SInt16 LineHeight(const FontInfo& info) { return SInt16(info.ascent + info.descent + info.leading); }
}  // namespace

void VLPopupPane::IVLPopupPane(SInt16 menuID, CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h,
                               SInt16 hE, SInt16 vE, SizingOption hS, SizingOption vS) {
  IStdPopupPane(menuID, enclosure, supervisor, w, h, hE, vE, hS, vS);
}

void VLPopupPane::IVLPopupPaneFromMenu(SInt16 menuID, CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h,
                                       SInt16 hE, SInt16 vE) {
  IVLPopupPane(menuID, enclosure, supervisor, w, h, hE, vE, sizFIXEDSTICKY, sizFIXEDSTICKY);
}

void VLPopupPane::SetUpMenu(SInt16 menuID) {
  if (itsMenu) itsMenu->Dispose();
  itsMenu = nullptr;
  auto* menu = new VLPopupMenu;
  itsMenu = menu;
  menu->IPopupMenu(menuID, this, false);
  menu->SetMarkChar(kBulletMark, ' ');
}

void VLPopupPane::AppendItem(ConstStringPtr text) {
  if (itsMenu) itsMenu->AppendItem(text);
}

void VLPopupPane::DeleteAllItems() {
  if (!itsMenu) return;
  for (SInt16 item = itsMenu->CountItems(); item >= 1; --item) itsMenu->DeleteItem(item);
}

void VLPopupPane::Layout() {
  PortStateKeeper keep(GetMacPort());
  if (GetMacPort()) Prepare();
  Str255 title;
  if (itsMenu) itsMenu->GetTitle(title);
  FontInfo info;
  PortGetFontInfo(&info);
  labelWidth = PortStringWidth(title);
  baseline = SInt16(info.ascent + 1);
  SInt16 newWidth = width;
  SInt16 newHeight = height;
  if (newWidth == 0 && itsMenu) newWidth = SInt16(PortGetMenuWidth(itsMenu->GetMacMenu()) + labelWidth + kLabelGap);
  if (newHeight == 0) newHeight = std::max(LineHeight(info), kMinimumHeight);
  if (newWidth != width || newHeight != height) ResizeFrame(newWidth, newHeight, false);
  Rect all;
  LongToQDRect(&frame, &all);
  popupRect = Rect{SInt16(all.top + 1), SInt16(all.left + labelWidth + kLabelGap),
                   SInt16(all.top + LineHeight(info) + 1), SInt16(all.right - 1)};
  popupLeft = popupRect.left;
  textMargin = kLabelGap;
  popupHeight = SInt16(height - 2);
}

void VLPopupPane::Draw(const Rect*) {
  Rect all;
  LongToQDRect(&frame, &all);
  PortEraseRect(&all);
  SInt16 line = SInt16(all.top + baseline);
  Str255 text;
  if (itsMenu) itsMenu->GetTitle(text);
  PortPenMove(all.left, line);
  PortDrawString(text);
  if (itsMenu && itsMenu->GetCurrentItem() > 0) {
    itsMenu->GetItemText(itsMenu->GetCurrentItem(), text);
    PortPenMove(SInt16(popupLeft + 2), line);
    PortDrawString(text);
  }
  DrawPopup();
}

void VLPopupPane::Refresh() {
  if (itsEnclosure)
    itsEnclosure->Refresh();
  else
    CStdPopupPane::Refresh();
}

void VLPopupPane::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  // The owner hears of the choice before the pane shows it.
  if (provider == itsMenu && reason == kPopupChoice) NotifyDependents(kPopupPaneChoice, info);
  CStdPopupPane::ProviderChanged(provider, reason, info);
}
