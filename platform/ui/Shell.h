// What the frame window's glue calls of the porting layer at start-up, while running and at
// the end. The frame here is the virtual screen (Screen.h); these calls keep the program's
// start-up and shut-down sequence and answer what its callers rely on.
#pragma once

#include "MacTypes.h"

// Keeps the start-up record's flags and callbacks; 0 when the screen can be made.
long PortStartup(const void* startupRecord);
// Fills what it can of the toolbox globals record; 0 when ready (the screen made), else 102
// (the "not enough memory" code the caller reports).
long PortInitToolbox(void* toolboxGlobalsRecord);
// Non-zero once the screen is made.
long PortToolboxReady();
void PortSetHelpFile(const char* path, const char* name);
// The frame is gone: the screen's windows are closed.
void PortFrameDestroyed();
// A menu or accelerator command of the frame: 0xFFFF asks the program to quit (the quit
// command), 0 and other identifiers without a menu post nothing. Others post the command of the
// menu item (identifier >> 8 is the menu, the low byte the item) when there is one.
void PortMenuCommand(UInt32 identifier);
// A window message not handled by the frame's own procedure: none are left to handle on this
// screen, so false (the caller's default processing follows).
Boolean PortDefaultWindowMessage(void* window, UInt32 message, unsigned long wParam, long lParam, long* result);
// Settings of the porting layer by number: kept and answered back (the previous value).
long PortCall154(long group, long setting, long value);
// A programmer message: written to stderr when VELMORA_DEBUG is set.
void PortDebugMessage(const char* text);
