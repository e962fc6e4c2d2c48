#include "SettingsDialog.h"

#include "CDialogDirector.h"
#include "Menus.h"
#include "QuickDraw.h"
#include "Screen.h"
#include "ToolboxUtilities.h"
#include "Windows.h"

namespace {

constexpr SInt16 kOutlineItem = 5;
constexpr SInt16 kDefaultItem = 1;
constexpr SInt16 kCancelItem = 2;

void DrawDefaultOutline(DialogPtr dialog, SInt16) { PortFrameDefaultButton(dialog, kDefaultItem); }

}  // namespace

SettingsDialog::SettingsDialog(SInt16 dialogId, Placement placement) {
  PortGetPort(&savedPort);
  dialog = PortGetNewDialog(dialogId, nullptr, kFirstWindowOfClass);
  if (!dialog) return;
  WindowPtr window = PortGetDialogWindow(dialog);
  Rect screen;
  PortGetScreenBounds(&screen);
  Rect frame;
  Rect content;
  PortGetWindowStructureRect(window, &frame);
  PortGetWindowContentRect(window, &content);
  Rect placed = frame;
  if (placement == Placement::kThirdDown)
    PositionRectOnScreen(&placed, &screen, PortMenuBarHeight());
  else
    CenterRectOn(&placed, &screen);
  PortMoveWindow(window, SInt16(content.left + placed.left - frame.left), SInt16(content.top + placed.top - frame.top),
                 false);

  if (PortCountDialogItems(dialog) >= kOutlineItem) {
    SInt16 kind = 0;
    Handle handle = nullptr;
    Rect box;
    PortGetDialogItem(dialog, kOutlineItem, &kind, &handle, &box);
    if ((kind & ~itemDisable) == userItem) PortSetDialogItemProc(dialog, kOutlineItem, DrawDefaultOutline);
  }
}

SettingsDialog::~SettingsDialog() {
  if (dialog) PortDisposeDialog(dialog);
  if (savedPort) PortSetPort(savedPort);
}

void SettingsDialog::Show() {
  if (dialog) PortShowWindow(PortGetDialogWindow(dialog));
}

SInt16 SettingsDialog::Run() {
  // The application counts the modal dialogs running: its menus are dimmed meanwhile.
  struct DepthScope {
    DepthScope() { ++gModalDialogDepth; }
    ~DepthScope() { --gModalDialogDepth; }
  } depth;
  SInt16 hit = 0;
  PortModalDialog(nullptr, &hit);
  return hit;
}

Boolean SettingsDialog::RunToOKOrCancel() {
  for (;;) {
    const SInt16 hit = Run();
    if (hit == kDefaultItem) return true;
    if (hit == kCancelItem) return false;
  }
}

void SettingsDialog::SetText(SInt16 item, ConstStringPtr text) {
  if (dialog) SetItemText(dialog, item, text);
}

void SettingsDialog::GetText(SInt16 item, Str255* text) const {
  if (dialog) GetItemText(dialog, item, text);
  else text->Assign("");
}

void SettingsDialog::SelectText(SInt16 item) {
  if (dialog) PortSelectDialogItemText(dialog, item, 0, 32767);
}

void SetItemText(DialogPtr dialog, SInt16 item, ConstStringPtr text) {
  SInt16 kind = 0;
  Handle handle = nullptr;
  Rect box;
  PortGetDialogItem(dialog, item, &kind, &handle, &box);
  if (handle) PortSetDialogItemText(handle, text);
}

void GetItemText(DialogPtr dialog, SInt16 item, Str255* text) {
  SInt16 kind = 0;
  Handle handle = nullptr;
  Rect box;
  text->Assign("");
  PortGetDialogItem(dialog, item, &kind, &handle, &box);
  if (handle) PortGetDialogItemText(handle, *text);
}
