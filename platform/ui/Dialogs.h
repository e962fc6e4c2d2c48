// Dialogs from 'DLOG' and 'DITL' resources: windows whose items are push buttons, check boxes,
// radio buttons, popup menus (control items, from 'CNTL'), static texts, edit texts (each
// edited by the small text editor of TextEdit.h), icons ('ICON'), pictures ('PICT') and user
// items drawn by a procedure of the program. Item numbers start at 1.
//
// The modal loop (PortModalDialog) serves the frontmost dialog with the keyboard as well as the
// mouse: Return and Enter press the default item, the escape key (not the keypad's clear key)
// and command-period the cancel item (each only when enabled; the button flashes), Tab and shift-Tab move between edit texts
// (selecting the whole text), command-X, -C, -V and -A cut, copy, paste and select all in the
// current edit text, and other keys are typed into it. A click outside the dialog beeps.
//
// Every dialog made from a resource is logged through the alert sink as a record of kind
// "dialog" with its id, its title and its texts (static and edit texts, UTF-8) each time it comes
// on the screen: when it is made visible, or when a dialog made invisible is shown.
#pragma once

#include <string>

#include "Controls.h"
#include "Events.h"
#include "MacTypes.h"
#include "TextEdit.h"
#include "Windows.h"

// Item kinds: the low seven bits of the kind; itemDisable marks an item that takes no clicks.
enum : SInt16 {
  userItem = 0,
  ctrlItem = 4,
  btnCtrl = 0,
  chkCtrl = 1,
  radCtrl = 2,
  resCtrl = 3,
  helpItem = 1,
  statText = 8,
  editText = 16,
  iconItem = 32,
  picItem = 64,
  itemDisable = 128,
};

// The default item and cancel item meaning "none".
constexpr SInt16 kNoDialogItem = 0;

struct DialogRecord;
using DialogPtr = DialogRecord*;
using DialogRef = DialogRecord*;

// Draws a user item; the dialog's port is current.
using UserItemProcPtr = void (*)(DialogPtr dialog, SInt16 item);
// Sees every event of the modal loop first (and of alerts on screen): answer true with *itemHit
// set to end the loop call with that item; false lets the dialog handle the event.
using ModalFilterProcPtr = Boolean (*)(DialogPtr dialog, EventRecord* event, SInt16* itemHit);

struct DialogItemRecord {
  SInt16 kind = userItem;     // with itemDisable
  Rect box;                   // local
  Handle handle = nullptr;    // text items: the text block; controls: the ControlHandle
  UserItemProcPtr proc = nullptr;
  SInt16 resourceId = 0;      // control, icon and picture items
  Boolean hidden = false;
};

struct DialogRecord : WindowRecord {
  std::vector<DialogItemRecord> items;
  TEHandle textH = nullptr;   // the editor of the current edit text
  SInt16 editField = -1;      // the current edit text's index (item - 1); -1 none
  SInt16 defaultItem = 1;
  SInt16 cancelItem = 0;
  SInt16 resourceId = 0;
  Boolean fromResource = false;
};

// From 'DLOG' dialogID and its 'DITL'; storage as for windows (null: allocated), behind as for
// windows (kFirstWindowOfClass: in front of all). Null when the resources are missing or
// damaged. The first edit text becomes current with its whole text selected; the default item is
// 1 when it is a button, the cancel item 2 when it is a button titled "Cancel" (settable).
DialogPtr PortNewDialog(SInt16 dialogID, void* storage, WindowPtr behind);
DialogPtr PortGetNewDialog(SInt16 dialogID, void* storage, WindowPtr behind);
// The same from parameters and an item list handle in the 'DITL' layout (the dialog keeps a
// copy; the caller keeps its handle).
DialogPtr PortNewDialogWithItems(void* storage, const Rect* bounds, ConstStringPtr title, Boolean visible,
                                 SInt16 procID, WindowPtr behind, Boolean goAwayFlag, SInt32 refCon, Handle items);
// Takes the dialog off the screen and releases its items; PortCloseDialog also frees a record
// the layer allocated (so both end the dialog; a caller that gave storage keeps it).
void PortCloseDialog(DialogPtr dialog);
void PortDisposeDialog(DialogPtr dialog);
WindowPtr PortGetDialogWindow(DialogPtr dialog);
// The dialog a window is, or null.
DialogPtr PortWindowDialog(WindowPtr window);

// Drawing: every visible item (and the default button's outline).
void PortDrawDialog(DialogPtr dialog);
void PortUpdateDialog(DialogPtr dialog, RgnHandle updateRgn);

// Items. Handles: a text item's handle holds its text (read and set it with the two calls
// below); a control item's handle is its ControlHandle; a user item's handle is its procedure.
SInt16 PortCountDialogItems(DialogPtr dialog);
void PortGetDialogItem(DialogPtr dialog, SInt16 item, SInt16* kind, Handle* itemHandle, Rect* box);
// Sets kind, box and (for user items) the procedure given as handle; a null handle keeps the
// item's own.
void PortSetDialogItem(DialogPtr dialog, SInt16 item, SInt16 kind, Handle itemHandle, const Rect* box);
void PortSetDialogItemProc(DialogPtr dialog, SInt16 item, UserItemProcPtr proc);
void PortGetDialogItemText(Handle itemHandle, StringPtr text);
// Sets a text item's text and redraws it.
void PortSetDialogItemText(Handle itemHandle, ConstStringPtr text);
// Makes an edit text current with the selection (32767: to the end).
void PortSelectDialogItemText(DialogPtr dialog, SInt16 item, SInt16 selStart, SInt16 selEnd);
SInt16 PortGetDialogKeyboardFocusItem(DialogPtr dialog);  // 0 when none
void PortHideDialogItem(DialogPtr dialog, SInt16 item);
void PortShowDialogItem(DialogPtr dialog, SInt16 item);
Boolean PortGetDialogItemAsControl(DialogPtr dialog, SInt16 item, ControlHandle* control);
void PortSetDialogDefaultItem(DialogPtr dialog, SInt16 item);
void PortSetDialogCancelItem(DialogPtr dialog, SInt16 item);
// Enables or disables an item (the itemDisable bit; a control is also dimmed).
void PortSetDialogItemEnabled(DialogPtr dialog, SInt16 item, Boolean enabled);
// The current edit text's clipboard operations.
void PortDialogCut(DialogPtr dialog);
void PortDialogCopy(DialogPtr dialog);
void PortDialogPaste(DialogPtr dialog);
void PortDialogDelete(DialogPtr dialog);

// The modal loop: takes events until one hits an enabled item of the frontmost dialog and
// answers its number. Update events of the dialog are drawn here; those of other windows go to
// the update hook (below) when one is set, otherwise they wait. A modal loop that can get no
// input at all (no event source and an empty queue) answers the cancel item, or the default
// item when there is none, instead of waiting for ever.
void PortModalDialog(ModalFilterProcPtr filter, SInt16* itemHit);
// Modeless dialogs: true when the event is for a dialog (its window, or a key while a dialog is
// active). PortDialogSelect handles it and answers true with the dialog and item when an
// enabled item was hit.
Boolean PortIsDialogEvent(const EventRecord* event);
Boolean PortDialogSelect(const EventRecord* event, DialogPtr* dialog, SInt16* itemHit);
// What the modal loop does with one event (the standard filter and the item handling); true
// with *itemHit when an item was hit. For filters that want the standard handling first.
Boolean PortStdFilterProc(DialogPtr dialog, EventRecord* event, SInt16* itemHit);

// Draws the rounded outline of a dialog's default button (three pixels wide, four outside it).
void PortFrameDefaultButton(DialogPtr dialog, SInt16 item);

namespace vlui {

// What a key does in a dialog, the same for the toolbox's dialogs and the class library's:
// Return and Enter press the default button; the escape key and command-period the cancel
// button (the keypad's clear key sends the escape character too, but clears text instead);
// Tab and shift-Tab move between the edit texts. Anything else is the current text's.
enum class DialogKey { kText, kDefault, kCancel, kNextText, kPreviousText };
DialogKey ClassifyDialogKey(UInt8 character, UInt8 keyCode, UInt16 modifiers);

// Redraws a window that is not the dialog's while a modal loop runs (the class library's
// update handling); null: such updates wait until the loop ends.
using UpdateHook = void (*)(WindowPtr window, EventRecord* event);
void SetModalUpdateHook(UpdateHook hook);

// The frontmost dialog on the screen (modal layer first); null when none.
DialogPtr FrontDialog();
// An item's rectangle in global coordinates; false when the item does not exist.
bool DialogItemGlobalRect(DialogPtr dialog, SInt16 item, Rect* r);
// The dialog's texts in item order (static and edit texts, UTF-8), as logged.
std::vector<std::string> DialogTexts(DialogPtr dialog);
// An item's text (UTF-8); empty for items without one.
std::string DialogItemTextUtf8(DialogPtr dialog, SInt16 item);

}  // namespace vlui
