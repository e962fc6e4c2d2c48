// Message boxes. Each one goes to the alert sink (platform/core/AlertSink.h) as a record of kind
// "messagebox" with its title and its text (converted from Mac Roman to UTF-8); the record's id
// carries the MB_ flags, so that whoever shows it knows its buttons and icon. The sink's answer N
// chooses the N-th button from the left; the result is that button's id. An answer that names no
// button is the Cancel button where there is one, else the first.
#pragma once

#include <vector>

#include "WinTypes.h"

// Buttons (the low four bits of the flags).
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_TYPEMASK = 0xF;
// Icons.
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0xF0;

// Button ids.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows the box over the owner window (which may be null); null caption: "Error".
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

namespace vlwinshell {
// The button ids of a box, left to right (other button sets show OK alone).
std::vector<int> MessageBoxButtons(UINT type);
}  // namespace vlwinshell
