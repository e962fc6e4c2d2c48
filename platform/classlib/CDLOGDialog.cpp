#include "CDLOGDialog.h"

#include "CAbstractText.h"
#include "CButton.h"
#include "CCheckBox.h"
#include "CDecorator.h"
#include "CDialogText.h"
#include "CException.h"
#include "CIconPane.h"
#include "CMenuManager.h"
#include "CPaneBorder.h"
#include "CPicture.h"
#include "CRadioControl.h"
#include "CStaticText.h"
#include "Commands.h"
#include "Dialogs.h"
#include "PString.h"

namespace {
// Edit texts get a frame just outside their box, as dialogs draw them.
constexpr SInt16 kEditFrameMargin = 2;

SInt16 Width(const Rect& r) { return SInt16(r.right - r.left); }
SInt16 Height(const Rect& r) { return SInt16(r.bottom - r.top); }
}  // namespace

CDLOGDialog::~CDLOGDialog() {
  // The screen's dialog record is freed by the dialog calls, after the panes have gone.
  while (!itsSubviews.empty()) {
    CView* sub = itsSubviews.back();
    sub->Dispose();
    if (!itsSubviews.empty() && itsSubviews.back() == sub) itsSubviews.pop_back();
  }
  if (macWindow && PortIsWindow(macWindow)) {
    WindowPtr w = macWindow;
    macWindow = nullptr;
    PortSetWindowObject(w, nullptr);
    if (DialogPtr d = PortWindowDialog(w))
      PortDisposeDialog(d);
    else
      PortDisposeWindow(w);
  }
}

void CDLOGDialog::IDLOGDialog(SInt16 id, CDesktop* enclosure, CBureaucrat* supervisor) {
  dialogID = id;
  Handle dlog = PortLoadResource(FourCC("DLOG"), id);
  vlres::DialogTemplate templ;
  if (!dlog || !vlres::ParseDialog(dlog, &templ)) Failure(resNotFound, 0);
  Handle ditl = PortLoadResource(FourCC("DITL"), templ.itemListId);
  std::vector<vlres::DialogItem> items;
  if (!ditl || !vlres::ParseItemList(ditl, &items)) Failure(resNotFound, 0);
  DialogPtr d = PortNewDialog(id, nullptr, kFirstWindowOfClass);
  if (!d) Failure(resNotFound, 0);
  WindowPtr w = PortGetDialogWindow(d);
  // Hidden until the director shows it, with the screen dialog's own items out of the way.
  if (PortIsWindowVisible(w)) PortHideWindow(w);
  // The panes run this dialog, not the screen's dialog calls: its activate and update events go
  // to the panes as every class-library window's do.
  w->windowKind = userKind;
  for (SInt16 i = 1; i <= PortCountDialogItems(d); ++i) PortHideDialogItem(d, i);
  AdoptMacWindow(w, false, enclosure, supervisor);
  // Placed as every dialog is, not where the resource's bounds put it (under the menu bar).
  if (gDecorator) gDecorator->CenterWindow(this);
  cancelCmd = cmdCancel;
  for (std::size_t i = 0; i < items.size(); ++i) {
    SInt16 number = SInt16(i + 1);
    if (CView* view = MakeItem(number, items[i])) {
      view->SetID(number);
      if (!items[i].enabled) view->SetWantsClicks(false);
    }
  }
  if (!items.empty() && (items[0].kind & 0x7F) == vlres::kButtonItem) SetDefaultCmd(cmdOK);
}

void CDLOGDialog::EventHandled() {
  DialogPtr d = macWindow ? PortWindowDialog(macWindow) : nullptr;
  if (!d) return;
  for (SInt16 i = 1; i <= PortCountDialogItems(d); ++i) {
    auto* text = dynamic_cast<CAbstractText*>(FindItem(i));
    if (!text) continue;
    SInt16 kind = 0;
    Handle handle = nullptr;
    Rect box;
    PortGetDialogItem(d, i, &kind, &handle, &box);
    Str255 mine, shown;
    text->GetTextString(mine);
    PortGetDialogItemText(handle, shown);
    if (!PStrEqual(mine, shown)) PortSetDialogItemText(handle, mine);
  }
}

long CDLOGDialog::ItemCommand(SInt16 itemNumber, const vlres::DialogItem& item, std::string* title) {
  *title = item.text;
  long command = 0;
  SplitCommandSuffix(title, &command);
  if (command != 0) return command;
  UInt8 kind = UInt8(item.kind & 0x7F);
  if (kind == vlres::kButtonItem && itemNumber == 1) return cmdOK;
  if (kind == vlres::kButtonItem && itemNumber == 2) return cmdCancel;
  return 0;
}

CView* CDLOGDialog::MakeItem(SInt16 itemNumber, const vlres::DialogItem& item) {
  switch (UInt8(item.kind & 0x7F)) {
    case vlres::kButtonItem: return MakeButtonItem(itemNumber, item);
    case vlres::kCheckBoxItem: return MakeCheckBoxItem(itemNumber, item);
    case vlres::kRadioButtonItem: return MakeRadioItem(itemNumber, item);
    case vlres::kStaticTextItem: return MakeStaticTextItem(itemNumber, item);
    case vlres::kEditTextItem: return MakeEditTextItem(itemNumber, item);
    case vlres::kIconItem: return MakeIconItem(itemNumber, item);
    case vlres::kPictureItem: return MakePictureItem(itemNumber, item);
    default: return MakeUserItem(itemNumber, item);
  }
}

namespace {
// A button, check box or radio button of an item, sending the item's command.
template <class Control>
CView* MakeTitledControl(CDLOGDialog* dialog, const vlres::DialogItem& item, const std::string& title, long command) {
  auto* control = new Control;
  control->Init(dialog, dialog, Width(item.bounds), Height(item.bounds), item.bounds.left, item.bounds.top,
                sizFIXEDSTICKY, sizFIXEDSTICKY, Str255(title));
  control->SetClickCmd(command);
  return control;
}
}  // namespace

CView* CDLOGDialog::MakeButtonItem(SInt16 itemNumber, const vlres::DialogItem& item) {
  std::string title;
  long command = ItemCommand(itemNumber, item, &title);
  return MakeTitledControl<CButton>(this, item, title, command);
}

CView* CDLOGDialog::MakeCheckBoxItem(SInt16 itemNumber, const vlres::DialogItem& item) {
  std::string title;
  long command = ItemCommand(itemNumber, item, &title);
  return MakeTitledControl<CCheckBox>(this, item, title, command);
}

CView* CDLOGDialog::MakeRadioItem(SInt16 itemNumber, const vlres::DialogItem& item) {
  std::string title;
  long command = ItemCommand(itemNumber, item, &title);
  return MakeTitledControl<CRadioControl>(this, item, title, command);
}

CView* CDLOGDialog::MakeStaticTextItem(SInt16, const vlres::DialogItem& item) {
  auto* text = new CStaticText;
  text->Init(this, this, Width(item.bounds), Height(item.bounds), item.bounds.left, item.bounds.top, sizFIXEDSTICKY,
             sizFIXEDSTICKY, 0);
  text->SetFontNumber(itemFont);
  if (itemSize > 0) text->SetFontSize(itemSize);
  text->SetTextPtr(item.text.data(), long(item.text.size()));
  return text;
}

CView* CDLOGDialog::MakeEditTextItem(SInt16 itemNumber, const vlres::DialogItem& item) {
  auto* text = new CDialogText;
  text->Init(this, this, Width(item.bounds), Height(item.bounds), item.bounds.left, item.bounds.top, sizFIXEDSTICKY,
             sizFIXEDSTICKY, 255);
  SetUpEditText(text, itemNumber, item);
  return text;
}

void CDLOGDialog::SetUpEditText(CDialogText* text, SInt16 itemNumber, const vlres::DialogItem& item) {
  text->SetItemNumber(itemNumber);
  auto* border = new CPaneBorder(kBorderFrame);
  border->SetMargin(kEditFrameMargin, kEditFrameMargin);
  text->SetBorder(border);
  text->SetFontNumber(itemFont);
  if (itemSize > 0) text->SetFontSize(itemSize);
  if (!item.text.empty()) text->SetTextPtr(item.text.data(), long(item.text.size()));
}

CView* CDLOGDialog::MakeIconItem(SInt16, const vlres::DialogItem& item) {
  auto* icon = new CIconPane;
  icon->IIconPane(this, this, Width(item.bounds), Height(item.bounds), item.bounds.left, item.bounds.top,
                  sizFIXEDSTICKY, sizFIXEDSTICKY, item.resourceId);
  return icon;
}

CView* CDLOGDialog::MakePictureItem(SInt16, const vlres::DialogItem& item) {
  auto* picture = new CPicture;
  picture->IPicture(this, this, Width(item.bounds), Height(item.bounds), item.bounds.left, item.bounds.top,
                    sizFIXEDSTICKY, sizFIXEDSTICKY, item.resourceId);
  return picture;
}

CView* CDLOGDialog::MakeUserItem(SInt16, const vlres::DialogItem& item) {
  auto* pane = new CPane;
  pane->Init(this, this, Width(item.bounds), Height(item.bounds), item.bounds.left, item.bounds.top, sizFIXEDSTICKY,
             sizFIXEDSTICKY);
  return pane;
}
