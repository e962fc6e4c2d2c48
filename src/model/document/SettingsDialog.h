// The frame of the preferences' small modal dialogs: the dialog made from its resource in front
// of every window, centred on the screen, user item 5 (when the dialog has one) drawing the
// outline of the default button, shown, and run item by item until the caller has what it
// needs. The dialog goes away with the frame.
#pragma once

#include "Dialogs.h"
#include "MacTypes.h"
#include "PString.h"

class SettingsDialog {
 public:
  explicit SettingsDialog(SInt16 dialogId);
  ~SettingsDialog();
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  // Null when the dialog's resources could not be had.
  DialogPtr Get() const { return dialog; }
  void Show();
  // One pass of the modal loop (the application's modal-dialog depth one higher meanwhile):
  // the item hit.
  SInt16 Run();

 private:
  DialogPtr dialog = nullptr;
};

// The text of a text item, set (and redrawn) or read; nothing, or an empty text, for an item
// without a handle.
void SetItemText(DialogPtr dialog, SInt16 item, ConstStringPtr text);
void GetItemText(DialogPtr dialog, SInt16 item, Str255* text);
