// Cursors: the arrow, the I-beam, the crosshair, the plus, the watch and 'CURS' resources
// (16 by 16, one bit a pixel, with a mask and a hot spot). The current cursor is what the
// backend shows over the screen: the SDL backend turns it into a system cursor.
#pragma once

#include "MacTypes.h"

struct Cursor {
  UInt16 data[16] = {};  // rows, most significant bit leftmost; 1 is black
  UInt16 mask[16] = {};  // 1 where the cursor is opaque
  Point hotSpot;         // (v, h) within the 16 by 16 square
};
using CursPtr = Cursor*;
using CursHandle = Cursor**;

// The built-in cursor ids (a 'CURS' resource of the same id takes precedence).
enum : SInt16 { iBeamCursor = 1, crossCursor = 2, plusCursor = 3, watchCursor = 4 };

// The cursor of that id: a 'CURS' resource, else one of the built-in ones; null when neither
// exists. The handle stays valid for the program's life (the same id gives the same handle).
CursHandle PortGetCursor(SInt16 cursorID);
// Makes a copy of the cursor current (null: the arrow).
void PortSetCursor(const Cursor* cursor);
// The arrow.
void PortInitCursor();
void PortSetArrowCursor();
const Cursor* PortArrowCursor();
// Hidden while the hide count is above 0; obscuring hides it until the mouse moves.
void PortHideCursor();
void PortShowCursor();
void PortObscureCursor();

namespace vlui {
// What the backend shows: the current cursor, whether it is hidden, and a count that changes
// whenever either changes.
const Cursor& CurrentCursor();
bool CursorHidden();
UInt32 CursorGeneration();
// The id the current cursor was loaded with (0: the arrow, -1: a cursor not loaded by id).
SInt16 CurrentCursorId();
// The mouse moved: an obscured cursor shows again (backends call it).
void NoteMouseMoved();
}  // namespace vlui
