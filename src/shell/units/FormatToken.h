// One token of a format description: a number, a unit, "." or "/".
#pragma once

#include "UnitBase.h"

class UnitTextScanner;

struct FormatToken {
  enum : SInt32 { kNone = -2, kNumber = 0, kUnit = 1, kPoint = '.', kSlash = '/' };

  SInt32 kind = kNone;
  double number = 0.0;
  UnitBase unit;
};

// Reads the next token (see ReadUnitTextToken): "." and "/" are marks, a digit starts a number.
UnitTextScanner& operator>>(UnitTextScanner& scanner, FormatToken& token);
