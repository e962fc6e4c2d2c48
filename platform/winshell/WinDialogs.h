// Windows-style modal dialogs: a dialog made from a 'WDLG' template resource (dialog units, see
// ResourceLayouts.h) is run by DialogBoxParamA, and a dialog procedure of the program receives
// its messages. The controls are drawn by the ui layer's dialogs:
//   default and plain push buttons        WM_COMMAND BN_CLICKED (Return and Escape press the
//                                         default button and the button with id IDCANCEL)
//   auto radio buttons                    checked when clicked, the others of their run of radio
//                                         buttons cleared; then BN_CLICKED
//   numbers-only edit fields              digits only, at most kNumberFieldLength of them: any
//                                         other change is undone with a beep; EN_CHANGE after
//                                         every change, SetDlgItemTextA included
//   up-down controls                      a click on the upper half notifies UDN_DELTAPOS with
//                                         delta +1, on the lower half -1 (WM_NOTIFY, NMUPDOWN)
//   drop-down lists                       CB_* messages; a pick notifies CBN_DROPDOWN, then
//                                         CBN_SELENDOK, CBN_CLOSEUP and, when the selection
//                                         changed, CBN_SELCHANGE (no pick: CBN_SELENDCANCEL and
//                                         CBN_CLOSEUP)
//   group boxes and static texts          no messages
// Window handles are the dialog's and its controls'; they live while the dialog runs. The dialog
// is logged as a "dialog" record with the template's id when it comes on the screen, like the
// toolbox dialogs, and the headless scripts' `click item N` and `choose item N` count the
// template's items from 1 in order.
#pragma once

#include <cstdint>

#include "WinWindows.h"

using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;

// Answers non-zero when it handled the message.
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Notification codes (the high word of WM_COMMAND's word parameter; NMHDR::code).
constexpr WORD BN_CLICKED = 0;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;
constexpr UINT UDN_DELTAPOS = UINT(-722);

// Drop-down list messages; CB_ERR for a bad index or an empty selection.
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;      // lParam: a buffer of at least CB_GETLBTEXTLEN + 1 bytes
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_SETCURSEL = 0x014E;      // -1 clears the selection
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;  // lParam: RECT*, the list's rectangle in the dialog
constexpr UINT CB_GETHORIZONTALEXTENT = 0x015D;
constexpr UINT CB_SETHORIZONTALEXTENT = 0x015E;  // kept; the dropped list is never narrower
constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;
constexpr LRESULT CB_ERR = -1;

// Button messages (radio buttons).
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;

// The longest text a numbers-only field takes.
constexpr int kNumberFieldLength = 20;

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};

struct NMUPDOWN {
  NMHDR hdr;
  int iPos;
  int iDelta;
};

constexpr WORD LOWORD(WPARAM w) { return WORD(w & 0xFFFF); }
constexpr WORD HIWORD(WPARAM w) { return WORD((w >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) { return WPARAM(low) | (WPARAM(high) << 16); }
// A resource number given where a name is expected.
inline LPCSTR MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<LPCSTR>(std::uintptr_t(id)); }

// Runs the dialog of template resource `templateName` (MAKEINTRESOURCEA) modally: WM_INITDIALOG
// with initParam, then the messages of the user's actions, until the procedure calls EndDialog.
// Answers EndDialog's result; -1 when the template is missing or damaged or the screen is not up.
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam);
// Ends the running dialog with the result once the current message has been handled.
BOOL EndDialog(HWND dialog, INT_PTR result);

// The control of that id, or null.
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
// Sets the text of a control (an edit field sends EN_CHANGE; a numbers-only field is cut to its
// length).
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
// Copies at most size - 1 bytes of the text and a terminating zero; answers the bytes copied.
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size);
// Checks `check` and clears the other radio buttons with ids first to last.
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Answers whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
// To a dialog's control, or to a child window's procedure (WinWindows.h).
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
// The innermost running dialog; null when none runs.
HWND GetActiveWindow();
// Text measures in a control's font (dialog controls and child windows): the device context
// stands for the control.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size);
