// The name dialog of a saved view.
#include "Alerts.h"
#include "PString.h"
#include "Resources.h"
#include "SettingsDialog.h"
#include "VLDocument.h"

namespace {

constexpr SInt16 kNameDialog = 1021;
constexpr SInt16 kReplaceDialog = 1081;
constexpr SInt16 kPromptStrings = 2600;
constexpr SInt16 kReplacePrompt = 9;
enum : SInt16 { kOKItem = 1, kTextItem = 3, kCancelItem = 4 };
enum : SInt16 { kBackItem = 1, kReplaceItem = 2 };

// Dialog 1081: true when the view is to be replaced.
bool ConfirmReplace() {
  SettingsDialog frame(kReplaceDialog);
  DialogPtr dialog = frame.Get();
  if (!dialog) return false;
  Str255 prompt;
  PortGetListString(prompt, kPromptStrings, kReplacePrompt);
  SetItemText(dialog, kTextItem, prompt);
  frame.Show();
  for (;;) {
    const SInt16 hit = frame.Run();
    if (hit == kBackItem) return false;
    if (hit == kReplaceItem) return true;
  }
}

}  // namespace

Boolean VLDocument::RunNameDialog(Str255* name, UInt8* replace) {
  SettingsDialog frame(kNameDialog);
  DialogPtr dialog = frame.Get();
  if (!dialog) return false;
  SetItemText(dialog, kTextItem, *name);
  PortSelectDialogItemText(dialog, kTextItem, 0, 32767);
  frame.Show();
  for (;;) {
    const SInt16 hit = frame.Run();
    if (hit == kCancelItem) return false;
    if (hit != kOKItem) continue;
    Str255 typed;
    GetItemText(dialog, kTextItem, &typed);
    if (*replace && PStrEqual(typed, *name)) {
      if (!ConfirmReplace()) {
        PortSelectDialogItemText(dialog, kTextItem, 0, 32767);
        continue;
      }
    } else {
      *replace = 0;
    }
    *name = typed;
    return true;
  }
}
