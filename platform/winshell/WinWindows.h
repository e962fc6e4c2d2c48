// The Windows-style window services beside the dialogs (WinDialogs.h): a handle for each ui
// window, and child windows of the class "ComboBox" (CBS_DROPDOWNLIST only) in them, drawn as
// a popup control of the window. A child window's messages go to its window procedure (the
// built-in one unless replaced through GWL_WNDPROC): the CB_* messages of WinDialogs.h,
// WM_LBUTTONDOWN (a press at the local point of the low and high word: the list drops, is
// tracked and closes), WM_PAINT and WM_SETFONT. The notifications a child sends its parent
// (WM_COMMAND: CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE, CBN_SELENDCANCEL) go to
// the parent's command router.
//
// Implemented in WinDialogs.cpp (the lists) and WinChildWindows.cpp (the windows).
#pragma once

#include <cstdint>

#include "WinTypes.h"

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using LONG = std::int32_t;
using WORD = std::uint16_t;
struct HMENU__;
using HMENU = HMENU__*;
struct HDC__;
using HDC = HDC__*;

struct RECT {
  LONG left, top, right, bottom;
};

struct SIZE {
  LONG cx, cy;
};

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_LBUTTONDOWN = 0x0201;

constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;

constexpr int GWL_WNDPROC = -4;
constexpr int GWL_ID = -12;
constexpr int GWL_USERDATA = -21;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

constexpr LPARAM MAKELPARAM(WORD low, WORD high) { return LPARAM(std::uint32_t(low) | (std::uint32_t(high) << 16)); }

// The handle standing for a ui window (the answer of PortNativeWindow); null for null.
HWND WindowHandle(void* nativeWindow);

// A child window of class "ComboBox" with style CBS_DROPDOWNLIST in the parent (a handle of
// WindowHandle), at x, y (the parent's local coordinates), `height` counting its dropped list;
// the menu argument is its control id. Null for any other class or style, or without a parent.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND window);
// GWL_WNDPROC, GWL_ID and GWL_USERDATA of a child window; Set answers the value before.
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrA(HWND window, int index);
// The built-in procedure of a child's class, as GWL_WNDPROC first holds it, is one of these.
LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Copies the class name ("ComboBox" for child windows; "" otherwise); answers its length.
int GetClassNameA(HWND window, LPSTR name, int size);
HWND GetParent(HWND window);
BOOL ShowWindow(HWND window, int command);
// Moves a child; its closed box keeps the popup's own height, the rest is its dropped list.
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// A child's closed box in its parent's local coordinates.
BOOL GetChildRect(HWND window, RECT* inParent);
// A child is drawn again at once (there is nothing to defer to).
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);
// The keyboard focus among the handles; answers the handle that had it.
HWND SetFocus(HWND window);
HWND GetFocus();

// Where the WM_COMMAND a child window sends its parent goes: the parent, the child's id, the
// child and the notification code. Null: nowhere.
using CommandRouter = BOOL (*)(HWND parent, int id, HWND control, WORD code);
void SetChildCommandRouter(CommandRouter router);
