// The one virtual screen: a 32-bit framebuffer (0x00RRGGBB pixels) that the ui layer draws
// everything into, with the menu bar along its top. Global coordinates are the framebuffer's:
// (0, 0) is its top-left pixel. The area below the menu bar is the frame's client area, where
// the document windows (the frame's children), the floating palettes and the dialogs live.
//
// A backend makes the screen at start-up (default 1024 by 768), presents its pixels, and tells
// the ui layer when the native window changes size.
#pragma once

#include <string>

#include "MacTypes.h"
#include "QuickDraw.h"

namespace vlui {

constexpr int kDefaultScreenWidth = 1024;
constexpr int kDefaultScreenHeight = 768;
constexpr int kMinScreenWidth = 320;
constexpr int kMinScreenHeight = 240;

// Makes (or remakes) the screen at the size: the framebuffer, the desktop, the menu bar and an
// empty window list. Sizes are clamped to at least the minimum and at most 8192. A screen made
// again forgets every window.
void InitScreen(int width = kDefaultScreenWidth, int height = kDefaultScreenHeight);
// Frees the screen and everything on it (windows, menus shown, dialogs).
void ShutdownScreen();
bool ScreenReady();

// The native window changed size: the framebuffer follows, windows keep their places (a window
// whose title bar would leave the client area is moved back into it) and everything is redrawn.
void ResizeScreen(int width, int height);

int ScreenWidth();
int ScreenHeight();
// (0, 0, height, width).
Rect ScreenBounds();
// The frame's client area: the screen below the menu bar.
Rect ClientRect();
// The framebuffer's pixels (null before InitScreen).
const PixMap* ScreenPixMap();
// A port on the whole screen (global coordinates, no clipping by windows): for drag outlines
// and the menu bar. The caller restores the current port afterwards.
GrafPtr ScreenPort();

// Counts every change of the screen the window manager knows of (windows, menus, cursor,
// drawing through window ports at the next event). Backends present the framebuffer when it
// changed since they last looked.
UInt32 ScreenGeneration();
void NoteScreenChanged();

// Redraws everything: desktop, menu bar, window frames; every window's content gets an update.
void RedrawScreen();

// Writes the framebuffer as a PNG file (8-bit RGB); false with *error set when it cannot.
bool WriteScreenPng(const std::string& path, std::string* error);
// Writes any 32-bit pixel map as a PNG file.
bool WritePixMapPng(const PixMap& pixels, const std::string& path, std::string* error);

// True while the program runs with a screen a user sees (the SDL backend): alerts, dialogs and
// the file and colour dialogs then run on screen with their modal loop. Otherwise they are
// answered without a loop (headless scripts, tests).
void SetInteractive(bool on);
bool IsInteractive();

}  // namespace vlui

// The main screen's bounds (the toolbox global the program reads).
void PortGetScreenBounds(Rect* bounds);
