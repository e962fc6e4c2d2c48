// What the dialogs (WinDialogs.cpp) and the child windows (WinChildWindows.cpp) share: the
// state behind a window handle and the drop-down list that both can hold.
#pragma once

#include <functional>
#include <string>

#include "Controls.h"
#include "Dialogs.h"
#include "WinWindows.h"

// A dialog, one of its controls, a ui window or a child window of one.
struct HWND__ {
  enum class Role { kDialog, kDialogControl, kWindow, kChild } role = Role::kDialogControl;
  WindowPtr owner = nullptr;         // the dialog or window drawn in
  DialogPtr dialog = nullptr;        // dialogs and their controls
  SInt16 item = 0;                   // dialog controls: the item
  int id = 0;
  UInt8 kind = 0;                    // dialog controls: the template's kind
  int buddy = 0;                     // up-down controls
  int position = 0;                  // up-down controls
  std::string accepted;              // numbers-only fields: the last text accepted
  ControlHandle popup = nullptr;     // drop-down lists: the popup control showing them
  int selected = -1;                 // drop-down lists
  int horizontalExtent = 0;          // drop-down lists
  int droppedWidth = 0;              // drop-down lists
  HWND parent = nullptr;             // child windows
  WNDPROC proc = nullptr;            // child windows
  LONG_PTR userData = 0;             // child windows
};

namespace vlwinshell::internal {

// Makes the current port the owner's for its lifetime.
class OwnerPort {
 public:
  explicit OwnerPort(WindowPtr owner);
  ~OwnerPort();
  OwnerPort(const OwnerPort&) = delete;
  OwnerPort& operator=(const OwnerPort&) = delete;

 private:
  GrafPtr saved_ = nullptr;
};

// A popup control with a menu of its own under a free menu id; null when none can be made.
ControlHandle NewListControl(WindowPtr owner, const Rect& box);
// The CB_* messages of a drop-down list.
LRESULT ListMessage(HWND__* list, UINT message, WPARAM wParam, LPARAM lParam);
// A press on the list (local point): CBN_DROPDOWN, the popup tracked, then CBN_SELENDOK,
// CBN_CLOSEUP and CBN_SELCHANGE, or CBN_SELENDCANCEL and CBN_CLOSEUP, each through notify.
void ListClick(HWND__* list, Point local, const std::function<void(WORD)>& notify);
void DrawList(const HWND__* list);
// Measures text in the owner's font.
BOOL TextExtent(WindowPtr owner, LPCSTR text, int length, SIZE* size);
// The child window a handle is, or null (handles of anything else are never read through).
HWND__* ChildWindow(HWND window);

}  // namespace vlwinshell::internal
