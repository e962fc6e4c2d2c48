// The headless backend's script language (README.md beside this file): one action a line.
#pragma once

#include <string>
#include <vector>

#include "MacTypes.h"

namespace vlheadless {

struct ScriptLine {
  enum Kind { kCommand, kKey, kAnswerAlert, kExpectAlert, kWait };
  Kind kind = kCommand;
  int line = 0;            // line number in the script, from 1
  long command = 0;        // kCommand
  unsigned char key = 0;   // kKey: the character (Mac Roman)
  UInt16 modifiers = 0;    // kKey
  SInt16 alertId = 0;      // kAnswerAlert, kExpectAlert
  SInt16 item = 0;         // kAnswerAlert
  UInt32 ticks = 0;        // kWait
};

struct Script {
  std::string name;  // shown in messages
  std::vector<ScriptLine> lines;
};

// Parses a whole script; on the first bad line, false with "name:line: what is wrong".
bool ParseScript(const std::string& text, const std::string& name, Script* out, std::string* error);
// Reads and parses a file.
bool LoadScript(const std::string& path, Script* out, std::string* error);

}  // namespace vlheadless
