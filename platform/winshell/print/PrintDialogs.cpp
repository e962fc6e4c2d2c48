// The page set-up and print dialogs of Printing.h: modal dialogs from the program's resources,
// answered with the mouse and keys as any dialog (Return confirms, Escape cancels).
#include <string>

#include "Alerts.h"
#include "Controls.h"
#include "Dialogs.h"
#include "FilePaths.h"
#include "PString.h"
#include "Printing.h"
#include "Resources.h"
#include "Screen.h"
#include "StandardFile.h"
#include "Windows.h"

namespace {

enum : SInt16 { kOK = 1, kCancel = 2 };
// Page set-up: the papers, then the orientations.
enum : SInt16 { kLetterItem = 3, kA4Item = 4, kPortraitItem = 5, kLandscapeItem = 6 };
// Print: the number of copies.
enum : SInt16 { kCopiesItem = 3 };
constexpr SInt16 kPrintFilePrompt = 1026;

// A dialog of the resources, centred on the screen and shown; disposed with its owner.
class ModalDialog {
 public:
  explicit ModalDialog(SInt16 id) : dialog_(PortGetNewDialog(id, nullptr, kFirstWindowOfClass)) {
    if (!dialog_) return;
    WindowPtr window = PortGetDialogWindow(dialog_);
    Rect screen, frame;
    PortGetScreenBounds(&screen);
    PortGetWindowStructureRect(window, &frame);
    const SInt16 left = SInt16((screen.right - screen.left - (frame.right - frame.left)) / 2);
    const SInt16 top = SInt16((screen.bottom - screen.top - (frame.bottom - frame.top)) / 3);
    Rect content;
    PortGetWindowContentRect(window, &content);
    PortMoveWindow(window, SInt16(left + content.left - frame.left), SInt16(top + content.top - frame.top), false);
    PortSetDialogDefaultItem(dialog_, kOK);
    PortSetDialogCancelItem(dialog_, kCancel);
  }
  ~ModalDialog() {
    if (dialog_) PortDisposeDialog(dialog_);
  }
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  DialogPtr get() const { return dialog_; }
  void Show() { PortShowWindow(PortGetDialogWindow(dialog_)); }
  SInt16 Next() {
    SInt16 item = 0;
    PortModalDialog(nullptr, &item);
    return item;
  }
  void SetValue(SInt16 item, SInt16 value) {
    ControlHandle control = nullptr;
    if (PortGetDialogItemAsControl(dialog_, item, &control)) PortSetControlValue(control, value);
  }
  Handle ItemHandle(SInt16 item) {
    SInt16 kind = 0;
    Handle handle = nullptr;
    Rect box;
    PortGetDialogItem(dialog_, item, &kind, &handle, &box);
    return handle;
  }

 private:
  DialogPtr dialog_;
};

// One radio button of a pair set, the other cleared.
void Choose(ModalDialog& dialog, SInt16 chosen, SInt16 other) {
  dialog.SetValue(chosen, 1);
  dialog.SetValue(other, 0);
}

bool Refused() {
  PortPrSetError(iPrAbort);
  return false;
}

}  // namespace

Boolean PortPrStlDialog(THPrint record) {
  if (!record || !*record) return false;
  PortPrValidate(record);
  ModalDialog dialog(kPageSetupDialog);
  if (!dialog.get()) return Refused();
  SInt16 paper = (*record)->paper, orientation = (*record)->orientation;
  Choose(dialog, paper == kPaperA4 ? kA4Item : kLetterItem, paper == kPaperA4 ? kLetterItem : kA4Item);
  Choose(dialog, orientation == kLandscape ? kLandscapeItem : kPortraitItem,
         orientation == kLandscape ? kPortraitItem : kLandscapeItem);
  dialog.Show();
  for (;;) {
    switch (dialog.Next()) {
      case kOK:
        (*record)->paper = paper;
        (*record)->orientation = orientation;
        PortPrValidate(record);
        return true;
      case kCancel:
        return Refused();
      case kLetterItem:
      case kA4Item:
        paper = paper == kPaperA4 ? kPaperLetter : kPaperA4;
        Choose(dialog, paper == kPaperA4 ? kA4Item : kLetterItem, paper == kPaperA4 ? kLetterItem : kA4Item);
        break;
      case kPortraitItem:
      case kLandscapeItem:
        orientation = orientation == kLandscape ? kPortrait : kLandscape;
        Choose(dialog, orientation == kLandscape ? kLandscapeItem : kPortraitItem,
               orientation == kLandscape ? kPortraitItem : kLandscapeItem);
        break;
      default:
        break;
    }
  }
}

Boolean PortPrJobDialog(THPrint record) {
  if (!record || !*record) return false;
  PortPrValidate(record);
  SInt16 copies = (*record)->copies;
  {
    ModalDialog dialog(kPrintJobDialog);
    if (!dialog.get()) return Refused();
    PortSetDialogItemText(dialog.ItemHandle(kCopiesItem), Str255(std::to_string(copies)));
    PortSelectDialogItemText(dialog.get(), kCopiesItem, 0, 255);
    dialog.Show();
    for (;;) {
      const SInt16 item = dialog.Next();
      if (item == kCancel) return Refused();
      if (item != kOK) continue;
      Str255 text;
      PortGetDialogItemText(dialog.ItemHandle(kCopiesItem), text);
      const std::string typed = PStrToStd(text);
      long value = 0;
      bool valid = !typed.empty() && typed.size() <= 4;
      for (char c : typed) valid = valid && c >= '0' && c <= '9';
      if (valid) value = std::stol(typed);
      // A number of copies that is not one: the dialog stays for another.
      if (!valid || value < 1 || value > 999) {
        PortBeep(1);
        PortSelectDialogItemText(dialog.get(), kCopiesItem, 0, 255);
        continue;
      }
      copies = SInt16(value);
      break;
    }
  }
  Handle promptText = PortLoadResource(FourCC("STR "), kPrintFilePrompt);
  const Str255 prompt(promptText ? vlres::ReadShortString(promptText) : std::string("Print File"));
  StandardFileReply reply;
  PortStandardPutFile(prompt, Str255("Untitled.pdf"), &reply);
  if (!reply.sfGood) return Refused();
  std::string path;
  if (vlfiles::ResolvePath(reply.sfFile.vRefNum, reply.sfFile.parID, reply.sfFile.name, &path) != noErr) {
    PortPrSetError(fnfErr);
    return false;
  }
  PortPrSetOutputPath(path);
  (*record)->copies = copies;
  return true;
}
