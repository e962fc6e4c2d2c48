// One token of a measurement text: a number, a unit, "+", "-" or "/".
#pragma once

#include "UnitBase.h"

class UnitTextScanner;

struct MeasurementToken {
  enum : SInt32 { kNone = -2, kNumber = 0, kUnit = 1, kPlus = '+', kMinus = '-', kSlash = '/' };

  SInt32 kind = kNone;
  double number = 0.0;
  UnitBase unit;
};

// Reads the next token (see ReadUnitTextToken): "+", "-" and "/" are marks, a digit or a point
// starts a number (so .5 is a number).
UnitTextScanner& operator>>(UnitTextScanner& scanner, MeasurementToken& token);
