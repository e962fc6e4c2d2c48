#include "CDialog.h"

#include "Alerts.h"
#include "CButton.h"
#include "CDialogText.h"
#include "Commands.h"
#include "Dialogs.h"

void CDialog::IDialog(SInt16 windowID, CDesktop* enclosure, CBureaucrat* supervisor) {
  Init(windowID, false, enclosure, supervisor);
  cancelCmd = cmdCancel;
}

void CDialog::IDialogFromBounds(const Rect* bounds, ConstStringPtr title, CDesktop* enclosure,
                                CBureaucrat* supervisor) {
  InitFromParameters(bounds, movableDBoxProc, false, title, false, enclosure, supervisor);
  cancelCmd = cmdCancel;
}

void CDialog::SetDefaultCmd(long command) {
  defaultCmd = command;
  FindSubview([command](const CView* v) {
    if (auto* button = dynamic_cast<CButton*>(const_cast<CView*>(v)))
      button->SetDefault(command != 0 && button->GetClickCmd() == command);
    return false;
  });
}

CButton* CDialog::FindButton(long command) {
  if (command == 0) return nullptr;
  CView* found = FindSubview([command](const CView* v) {
    auto* button = dynamic_cast<const CButton*>(v);
    return button && button->GetClickCmd() == command && button->ReallyVisible();
  });
  return static_cast<CButton*>(found);
}

std::vector<CDialogText*> CDialog::GetTextItems() {
  std::vector<CDialogText*> texts;
  FindSubview([&texts](const CView* v) {
    auto* text = dynamic_cast<CDialogText*>(const_cast<CView*>(v));
    if (text && text->IsEditable() && text->WantsClicks() && text->ReallyVisible()) texts.push_back(text);
    return false;
  });
  return texts;
}

CDialogText* CDialog::GetFirstText() {
  auto texts = GetTextItems();
  return texts.empty() ? nullptr : texts.front();
}

void CDialog::SelectNextText(Boolean backward) {
  auto texts = GetTextItems();
  if (texts.empty()) return;
  std::size_t at = texts.size();
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == gCommandTarget) at = i;
  std::size_t next;
  if (at == texts.size())
    next = backward ? texts.size() - 1 : 0;
  else if (backward)
    next = at == 0 ? texts.size() - 1 : at - 1;
  else
    next = (at + 1) % texts.size();
  texts[next]->BecomeCommandTarget(true);
  texts[next]->SelectAll(true);
}

Boolean CDialog::Validate() {
  for (CDialogText* text : GetTextItems())
    if (!text->Validate()) return false;
  return true;
}

void CDialog::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  UInt16 modifiers = event ? event->modifiers : UInt16(0);
  switch (vlui::ClassifyDialogKey(UInt8(theChar), keyCode, modifiers)) {
    case vlui::DialogKey::kDefault:
      if (CButton* button = FindButton(defaultCmd); button && button->IsControlActive()) button->SimulateClick();
      return;
    case vlui::DialogKey::kCancel:
      if (CButton* button = FindButton(cancelCmd); button && button->IsControlActive()) button->SimulateClick();
      return;
    case vlui::DialogKey::kNextText:
    case vlui::DialogKey::kPreviousText:
      SelectNextText((modifiers & shiftKey) != 0);
      return;
    case vlui::DialogKey::kText:
      CWindow::DoKeyDown(theChar, keyCode, event);
      return;
  }
}

Boolean CDialog::Close(Boolean) {
  DoCommand(cancelCmd != 0 ? cancelCmd : long(cmdCancel));
  return false;
}
