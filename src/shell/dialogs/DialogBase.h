// Modal dialogs made from Windows-style dialog templates (WinDialogs.h). Each dialog object is
// current from its construction to its destruction: dialogs nest, and the shared dialog
// procedure hands every message to the innermost one (gCurrentDialog), which answers through
// its virtual operations. Each answers true when it handled the message; the base handles none.
#pragma once

#include "MacTypes.h"
#include "WinDialogs.h"

class DialogBase {
 public:
  // Pushes the dialog on the open-dialog stack: it becomes current.
  DialogBase();
  // Pops the stack: the dialog current before this one is current again.
  virtual ~DialogBase();
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  virtual Boolean OtherMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  virtual Boolean Init(HWND dialog);
  virtual Boolean Command(HWND dialog, int controlId, HWND control, int notification);
  virtual Boolean HorizontalScroll(HWND dialog, HWND scrollBar, int code, int position);
  virtual Boolean VerticalScroll(HWND dialog, HWND scrollBar, int code, int position);
  virtual Boolean Notify(HWND dialog, int controlId, NMHDR* header);

  // Runs the dialog of template resourceId modally; true when it ended with a non-zero result
  // (false too when the template is missing).
  Boolean RunModal(HWND parent, SInt16 resourceId);

  // Routes a message to gCurrentDialog's operation: 1 when it answered true, else 0.
  static INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  struct EventDispatch {
    DialogBase* previous = nullptr;  // the dialog current before this one
  };

 private:
  EventDispatch dispatch;
};

// The innermost open dialog, or null, and how many are open.
extern DialogBase* gCurrentDialog;
extern SInt16 gOpenDialogCount;
