// The headless backend's script language (README.md beside this file): one action a line.
#pragma once

#include <string>
#include <vector>

#include "Golden.h"
#include "MacTypes.h"

namespace vlheadless {

struct ScriptLine {
  enum Kind {
    kCommand,          // command N
    kKey,              // key C [mods]
    kAnswerAlert,      // answer alert ID N
    kExpectAlert,      // expect alert ID
    kWait,             // wait TICKS
    kClick,            // click X Y [twice] [mods]
    kDrag,             // drag X1 Y1 to X2 Y2 [steps N] [mods]
    kMove,             // move X Y
    kType,             // type TEXT
    kMenu,             // menu "Title" "Item" ["Item" ...]
    kClickItem,        // click item N [top|bottom] [mods]
    kChooseItem,       // choose item N "Text"
    kAnswerFile,       // answer getfile PATH / answer putfile PATH
    kAnswerColor,      // answer color R G B
    kCancel,           // cancel
    kClipboard,        // clipboard TEXT
    kResize,           // resize W H
    kSnapshot,         // snapshot FILE
    kExpectDialog,     // expect dialog ID
    kExpectCommand,    // expect command N
    kExpectWindow,     // expect window "Title"
    kExpectNoWindow,   // expect no window "Title"
    kExpectFront,      // expect front "Title"
    kExpectItem,       // expect item N "text"
    kExpectClipboard,  // expect clipboard "text"
    kExpectBeeps,      // expect beeps N
    kExpectSameFiles,  // expect same FILE1 FILE2 [but line N]
    kCompare,          // compare screen FILE.png / compare window "Title" FILE.png / compare dialog FILE.png [...]
  };
  Kind kind = kCommand;
  int line = 0;            // line number in the script, from 1
  long command = 0;        // kCommand, kExpectCommand; kExpectBeeps: the count
  unsigned char key = 0;   // kKey: the character (Mac Roman)
  UInt16 modifiers = 0;    // kKey, kClick, kDrag, kClickItem
  SInt16 alertId = 0;      // kAnswerAlert, kExpectAlert, kExpectDialog
  SInt16 item = 0;         // kAnswerAlert, kClickItem, kExpectItem
  UInt32 ticks = 0;        // kWait
  Point from;              // kClick, kDrag, kMove (global)
  Point to;                // kDrag; kResize: (height, width)
  int steps = 1;           // kDrag; kClick: 2 for a double click
  int itemPart = 0;        // kClickItem: 0 the middle, -1 the top, 1 the bottom
  std::string
      text;  // kType, kClipboard, kSnapshot, kCompare, kAnswerFile (the path), kExpect* titles and texts (UTF-8)
  std::string fileKind;    // kAnswerFile: "getfile" or "putfile"
  std::vector<std::string> names;   // kMenu: the title, then the items; kChooseItem: the item; kCompare: what ("screen", "window" with
                                    // the title, "dialog") (UTF-8); kExpectSameFiles: the two paths
  vlui::GoldenTolerance tolerance;  // kCompare
  RGBColor color;          // kAnswerColor (16-bit components)
};

// How a test runs the whole program on a script, from comment lines before its first action
// (the program itself passes over them as comments):
//   # exit status: N      the status the run must end with (default 0)
//   # files: NAME...      files made (empty) in the working folder and given at start, in order
//   # make: NAME...       files made (empty) in the working folder only
//   # copies: NAME...     files copied from the script's folder into the working folder and
//                         given at start, in order
//   # folders: NAME...    folders made in the working folder and given at start
//   # config: NAME...     files made (empty) in the configuration folder (paths below it)
//   # args: NAME...       further names given at start as they stand (made or not)
// Names are words as in action lines (a name in double quotes may hold blanks).
struct ScriptSetup {
  int exitStatus = 0;
  std::vector<std::string> make;       // the files to make in the working folder, in order
  std::vector<std::string> folders;    // the folders to make in the working folder
  std::vector<std::string> copies;     // the files of the script's folder to copy there
  std::vector<std::string> config;     // the files to make in the configuration folder
  std::vector<std::string> arguments;  // the names given at start, in order
};

struct Script {
  std::string name;  // shown in messages
  ScriptSetup setup;
  std::vector<ScriptLine> lines;
};

// Parses a whole script; on the first bad line, false with "name:line: what is wrong".
bool ParseScript(const std::string& text, const std::string& name, Script* out, std::string* error);
// Reads and parses a file.
bool LoadScript(const std::string& path, Script* out, std::string* error);
// Only the set-up lines of a script file, so that a runner can prepare a run of a script whose
// actions are meant to be refused; false with the message when the file cannot be read or a set-up line is wrong.
bool LoadScriptSetup(const std::string& path, ScriptSetup* out, std::string* error);

// True for lines that give the program input (events).
bool IsInputLine(const ScriptLine& line);
// True for the answer lines (alerts, file and colour dialogs, cancel).
bool IsAnswerLine(const ScriptLine& line);

}  // namespace vlheadless
