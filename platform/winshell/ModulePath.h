// The module path the program's code asks for.
#pragma once

#include "WinTypes.h"

// The program's path, as the callers use it: they take its folder as "the program's folder" and
// look for the files the program ships with beside it. It is the binary's name in the program's
// data folder (vlfiles::ProgramPath); the running binary itself is vlfiles::ExecutablePath.
// With a module other than null (the program) the answer is 0. The path is cut to size - 1
// characters when it does not fit, and the answer is then size; otherwise its length.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
