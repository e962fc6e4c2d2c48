// The class library's standard command numbers and the resources it uses. Commands are 32-bit; an item without a command
// of its own is given -(menu << 16 | item) by the menu manager.
#pragma once

#include "MacTypes.h"

enum : long {
  cmdNull = 0,
  cmdQuit = 1,
  cmdNew = 2,
  cmdOpen = 3,
  cmdClose = 4,
  cmdSave = 5,
  cmdSaveAs = 6,
  cmdRevert = 7,
  cmdPageSetup = 8,
  cmdPrint = 9,
  cmdUndo = 16,
  cmdCut = 18,
  cmdCopy = 19,
  cmdPaste = 20,
  cmdClear = 21,
  cmdSelectAll = 23,
  // Alignment of text panes.
  cmdAlignLeft = 38,
  cmdAlignCenter = 39,
  cmdAlignRight = 40,
  cmdJustify = 41,
  // The buttons that end a dialog.
  cmdOK = 100,
  cmdCancel = 101,
  cmdAbout = 256,
};

// Resources of the class library's own texts and alerts.
enum : SInt16 {
  kClassLibStrings = 128,   // 1 "quitting", 2 "closing", 3 "Undo ", 4 "Redo ", 5 "Untitled"
  kUndoNameStrings = 130,   // the tasks' undo names, by name index
  kSaveChangesAlert = 151,  // ^0 document name, ^1 quitting or closing; 1 save, 3 cancel, else don't save
  kErrorAlert = 250,        // ^0 the error code, ^1 the message number
};
enum : SInt16 {
  kQuittingStringIndex = 1,
  kClosingStringIndex = 2,
  kUndoStringIndex = 3,
  kRedoStringIndex = 4,
  kUntitledStringIndex = 5,
};
