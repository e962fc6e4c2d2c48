// The frame of the document's and the preferences' small modal dialogs: the dialog made from its
// resource in front of every window, placed on the screen, user item 5 (when the dialog has one)
// drawing the outline of the default button, shown, and run item by item until the caller has
// what it needs. The dialog goes away with the frame, and the port current before it was made
// is current again.
#pragma once

#include "Dialogs.h"
#include "MacTypes.h"
#include "PString.h"

class SettingsDialog {
 public:
  // Where the dialog's window goes: centred on the screen, or centred across it and a third of
  // the way down the space below the menu bar.
  enum class Placement { kCentred, kThirdDown };

  explicit SettingsDialog(SInt16 dialogId, Placement placement = Placement::kCentred);
  ~SettingsDialog();
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  // Null when the dialog's resources could not be had.
  DialogPtr Get() const { return dialog; }
  void Show();
  // One pass of the modal loop (the application's modal-dialog depth one higher meanwhile):
  // the item hit.
  SInt16 Run();
  // Runs the modal loop until OK (item 1: true) or Cancel (item 2: false) is hit, for dialogs
  // whose other items only take typing.
  Boolean RunToOKOrCancel();

  // The text of an item (an edit or static text); an item without text reads empty and takes
  // nothing.
  void SetText(SInt16 item, ConstStringPtr text);
  void GetText(SInt16 item, Str255* text) const;
  // Selects the whole text of an edit text item, for the next typing to replace.
  void SelectText(SInt16 item);

 private:
  DialogPtr dialog = nullptr;
  GrafPtr savedPort = nullptr;
};

// The text of a text item, set (and redrawn) or read; nothing, or an empty text, for an item
// without a handle.
void SetItemText(DialogPtr dialog, SInt16 item, ConstStringPtr text);
void GetItemText(DialogPtr dialog, SInt16 item, Str255* text);
