// A dialog: a window whose items are panes known by their item numbers (their view
// identifiers). Buttons send their click commands to the dialog, which passes them to its
// director. The keyboard works the dialog as a user expects: Return and Enter press the
// default button, Escape and command-period the cancel button, Tab and shift-Tab move between
// the editable texts (selecting the whole text). The close box acts as the cancel button.
#pragma once

#include "CWindow.h"

class CButton;
class CDialogText;

class CDialog : public CWindow {
  VL_REGISTERED_CLASS(CDialog, CWindow)

 public:
  CDialog() = default;

  // A dialog from a 'WIND' resource, or from a content rectangle (global) and a title, hidden.
  void IDialog(SInt16 windowID, CDesktop* enclosure, CBureaucrat* supervisor);
  void IDialogFromBounds(const Rect* bounds, ConstStringPtr title, CDesktop* enclosure, CBureaucrat* supervisor);

  // The item with that number; null when none.
  CView* FindItem(SInt16 item) { return item != 0 ? FindViewByID(item) : nullptr; }

  // The button sending this command becomes the default button (0: none).
  virtual void SetDefaultCmd(long command);
  long GetDefaultCmd() const { return defaultCmd; }
  // The command of the cancel button (cmdCancel unless set).
  void SetCancelCmd(long command) { cancelCmd = command; }
  long GetCancelCmd() const { return cancelCmd; }
  // The visible button with that click command; null when none.
  CButton* FindButton(long command);

  // The editable texts in the order the keyboard moves through them (item order).
  std::vector<CDialogText*> GetTextItems();
  // The first editable text; null when none.
  CDialogText* GetFirstText();
  // Makes the next (or, backward, the previous) editable text the command target with its
  // whole text selected; from the last it goes round to the first.
  void SelectNextText(Boolean backward);

  // Every text item accepts its text.
  virtual Boolean Validate();

  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;
  // The close box: the cancel command.
  Boolean Close(Boolean quitting) override;

 protected:
  long defaultCmd = 0;
  long cancelCmd = 0;
};
