// A small text editor for edit fields: Mac Roman text shown in a rectangle of a port, with a
// caret, a selection, typing, deleting, arrow keys, and cut, copy and paste through the text
// scrap (Scrap.h). Lines break at carriage returns (13) and, when word wrap is on, at blanks
// before the destination rectangle's right edge. Offsets count characters from 0; a selection
// runs from selStart to selEnd (equal: the caret).
#pragma once

#include <string>
#include <vector>

#include "MacTypes.h"
#include "QuickDraw.h"

// Alignments.
enum : SInt16 { teFlushDefault = 0, teCenter = 1, teFlushRight = -1, teFlushLeft = -2 };
enum : SInt16 { teJustLeft = 0, teJustCenter = 1, teJustRight = -1 };

struct TERec {
  Rect destRect;           // where the text is laid out (local to inPort)
  Rect viewRect;           // where it shows
  GrafPtr inPort = nullptr;
  SInt16 selStart = 0;
  SInt16 selEnd = 0;
  SInt16 just = teFlushDefault;
  SInt16 teLength = 0;
  Boolean active = false;
  Boolean caretShown = false;
  Boolean wordWrap = true;
  SInt16 maxLength = 32767;  // typing and pasting stop here
  SInt16 txFont = 0;
  SInt16 txSize = 0;
  Style txFace = 0;
  SInt16 lineHeight = 0;
  SInt16 fontAscent = 0;
  UInt32 caretTime = 0;      // ticks of the last blink
  UInt32 clickTime = 0;      // for double clicks (select a word)
  SInt16 clickLoc = -1;
  std::string text;          // Mac Roman
  std::vector<SInt16> lineStarts;  // internal: first offset of each line
};
using TEPtr = TERec*;
using TEHandle = TERec**;

// Makes an editor for the current port with its font, size and face; empty text.
TEHandle PortTENew(const Rect* destRect, const Rect* viewRect);
void PortTEDispose(TEHandle te);

void PortTESetText(const void* text, SInt32 length, TEHandle te);
// The text as a handle the editor keeps (a copy made on each call; free it with PortFreeHandle).
Handle PortTEGetText(TEHandle te);
std::string PortTETextString(TEHandle te);
void PortTESetSelect(SInt32 selStart, SInt32 selEnd, TEHandle te);
void PortTEActivate(TEHandle te);
void PortTEDeactivate(TEHandle te);
// Blinks the caret on the caret time.
void PortTEIdle(TEHandle te);
// A key: printable characters replace the selection; delete (8) removes the selection or the
// character before the caret, forward delete (127) the one after; arrows (28-31) move the caret
// (with shift they extend the selection); Return (13) breaks the line. Tab, Enter and Escape
// are not the editor's and are ignored.
void PortTEKey(UInt8 key, TEHandle te);
void PortTEKeyWithModifiers(UInt8 key, UInt16 modifiers, TEHandle te);
// A press at a local point: places the caret (extend: the shift key extends the selection),
// tracks the mouse while the button is down to select, and a double click selects a word.
void PortTEClick(Point pt, Boolean extend, TEHandle te);
void PortTECut(TEHandle te);
void PortTECopy(TEHandle te);
void PortTEPaste(TEHandle te);
void PortTEDelete(TEHandle te);
void PortTEInsert(const void* text, SInt32 length, TEHandle te);
void PortTESetAlignment(SInt16 just, TEHandle te);
// Draws the text in rUpdate (local) of the editor's port, with the selection and caret.
void PortTEUpdate(const Rect* rUpdate, TEHandle te);
// Lays the text out again (after the rectangles or the font changed) and redraws it.
void PortTECalText(TEHandle te);
// Draws a text in a box with the alignment, breaking lines as the editor does.
void PortTETextBox(const void* text, SInt32 length, const Rect* box, SInt16 just);
// The character offset nearest a local point, and the local point (baseline start) of an offset.
SInt16 PortTEGetOffset(Point pt, TEHandle te);
Point PortTEGetPoint(SInt16 offset, TEHandle te);
SInt16 PortTENumberOfLines(TEHandle te);
