// An entry field for a length, area or angle: shown and typed as a measurement in the document's
// units (gLengthFormat, gAngleFormat, the entry units), its value held in the model's units
// (gModelLengthUnit, gModelAngleUnit). A text that is no measurement beeps and keeps the value.
#pragma once

#include "VLLocationPane.h"

class CFeetInchesPane : public VLLocationPane {
  VL_REGISTERED_CLASS(CFeetInchesPane, VLLocationPane)

 public:
  enum : SInt32 { kArea = 2, kAngle = 4 };  // any other kind is a length

  CFeetInchesPane() = default;

  SInt32 GetKind() const { return kind; }
  void SetKind(SInt32 newKind) { kind = newKind; }

  // The value written as a measurement with the short unit names: an angle in gAngleFormat; an
  // area in the last unit of gLengthFormat squared, as a bare number; a length in gLengthFormat.
  // A format the units library cannot write the value in shows the plain number.
  void ShowValue() override;

  // Return, Enter, Tab: the text is read as a measurement (a number alone in the entry unit) and
  // becomes the value in the model's unit, shown again in the document's format; then the key
  // goes to the supervisor. A text that is not a measurement (or none the value can hold) beeps,
  // keeps the value and the typed text, and the key goes no further. Measurement characters
  // (digits, letters, + - . / blank ' " and the degree sign, delete, clear) are typed and set
  // the typing flags unless the field belongs to the object info palette; the left and right
  // arrows and forward delete are typed without flags; other keys go to the supervisor.
  void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) override;

 protected:
  // The typed text read into the model's unit; false when it is no measurement.
  bool ReadTypedValue(double* result);

  SInt32 kind = 1;
};
