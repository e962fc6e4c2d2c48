// The plain Windows-style types of the services the shell calls on.
#pragma once

#include <cstdint>

using BOOL = int;
using INT = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using LPSTR = char*;
using LPCSTR = const char*;

// Opaque handles: windows belong to the ui layer, modules are the program itself.
struct HWND__;
using HWND = HWND__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
