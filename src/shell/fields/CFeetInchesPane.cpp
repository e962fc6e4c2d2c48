#include "CFeetInchesPane.h"

#include <cmath>
#include <cstring>
#include <string>

#include "Alerts.h"
#include "Events.h"
#include "Format.h"
#include "Measurement.h"
#include "NameToUnitTable.h"
#include "PString.h"
#include "Selection.h"
#include "UnitToNameTable.h"

namespace {

constexpr UInt8 kDegreeSign = 0xA1;  // Mac Roman

bool IsMeasurementCharacter(UInt8 c) {
  if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == kDegreeSign) return true;
  return c != 0 && std::strchr("+-./ '\"", c) != nullptr;
}

}  // namespace

void CFeetInchesPane::ShowValue() {
  try {
    Measurement measurement;
    Format format;
    if (kind == kArea) {
      UnitBase squared = gModelLengthUnit;
      measurement = Measurement(value, squared.Power(2));
      format = gLengthFormat;
      format.ReduceToLastUnit(2);
    } else if (kind == kAngle) {
      measurement = Measurement(value, gModelAngleUnit);
      format = gAngleFormat;
    } else {
      measurement = Measurement(value, gModelLengthUnit);
      format = gLengthFormat;
    }
    Measurement::ToString(measurement, textBuffer, sizeof textBuffer, format, gShortNameTable);
    ShowText(textBuffer);
  } catch (Measurement::Error) {
    VLLocationPane::ShowValue();
  } catch (UnitBase::Error) {
    VLLocationPane::ShowValue();
  } catch (Format::Error) {
    VLLocationPane::ShowValue();
  }
}

bool CFeetInchesPane::ReadTypedValue(double* result) {
  Str255 text;
  GetTextString(text);
  const std::string typed = text.Std();
  // A mixture of unit kinds (a number after an inch mark) leaves the parser as the unit's error,
  // and a value the model's unit cannot hold is as unreadable as text that is no measurement.
  try {
    double converted = 0.0;
    if (kind == kAngle)
      converted =
          Measurement::Parse(std::string_view(typed), gShortAngleNameTable, gAngleEntryUnit).ValueIn(gModelAngleUnit);
    else
      converted = Measurement::Parse(std::string_view(typed), gShortLengthNameTable, gLengthEntryUnit)
                      .ValueIn(gModelLengthUnit);
    if (!std::isfinite(converted)) return false;
    *result = converted;
    return true;
  } catch (Measurement::Error) {
    return false;
  } catch (UnitBase::Error) {
    return false;
  } catch (Format::Error) {
    return false;
  }
}

void CFeetInchesPane::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  const UInt8 c = UInt8(theChar);
  if (IsEntryKey(theChar)) {
    double typedValue = 0.0;
    if (!ReadTypedValue(&typedValue)) {
      PortBeep(1);
      return;
    }
    value = typedValue;
    ShowValue();
    CTextEntryPane::DoKeyDown(theChar, keyCode, event);
  } else if (keyCode == kLeftArrowKeyCode || keyCode == kRightArrowKeyCode || keyCode == kForwardDeleteKeyCode) {
    CTextEntryPane::DoKeyDown(theChar, keyCode, event);
  } else if (IsMeasurementCharacter(c) || keyCode == kBackspaceKeyCode || keyCode == kClearKeyCode) {
    // The object info palette's own fields do not count as typed coordinates.
    if (!gObjectInfoBox || itsSupervisor != gObjectInfoBox->PaletteCollaborator()) NoteTyping();
    CTextEntryPane::DoKeyDown(theChar, keyCode, event);
  } else if (itsSupervisor) {
    itsSupervisor->DoKeyDown(theChar, keyCode, event);
  }
}
