#include "CPreferences.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "Alerts.h"
#include "CDLOGDirector.h"
#include "CDialog.h"
#include "CDialogText.h"
#include "Commands.h"
#include "Controls.h"
#include "DETException.h"
#include "Dialogs.h"
#include "GridLimits.h"
#include "Measurement.h"
#include "NameToUnitTable.h"
#include "Resources.h"
#include "SettingsDialog.h"
#include "TextLines.h"
#include "UnitToNameTable.h"
#include "UnitToNameTableScope.h"
#include "Unwinding.h"
#include "VLApplication.h"
#include "VLArray.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"

namespace {

constexpr double kRotationConstraints[17] = {90, 60, 45, 30, 22.5, 20, 15, 12, 10, 9, 8, 6, 5, 4, 3, 2, 1};
constexpr double kRotationPrecisions[4] = {0.5, 1.0, 2.0, 5.0};

// Items of the dialogs.
enum : SInt16 {
  kOKItem = 1,
  kCancelItem = 2,
  kPromptItem = 3,
  kValueItem = 4,
  kConstraintPopupItem = 4,
  kPrecisionPopupItem = 6,
  kLinkedRadioItem = 3,
  kNotLinkedRadioItem = 4,
  kRotateFactorItem = 5,
  kMoveFactorItem = 6,
};

// A setting written with 12 significant digits, converted from the model unit into the unit.
double InUnit(double value, const UnitBase& modelUnit, const UnitBase& unit) {
  return Measurement(value, modelUnit).ValueIn(unit);
}

// Parses what the user typed as a measurement in the model unit; false when it does not parse
// or is not a finite number.
bool ParseTyped(ConstStringPtr text, const NameToUnitTable& names, const UnitBase& bareUnit, const UnitBase& modelUnit,
                double* out) {
  return vltext::ParseMeasurement(PStrToStd(text), names, bareUnit, modelUnit, out);
}

// A value in the model unit as the user sees it: in the format, with the short unit names. A
// format that cannot show it gives the bare number.
void ShowMeasurement(double value, const UnitBase& modelUnit, const Format& format, Str255* out) {
  out->Assign(vltext::ShowMeasurement(value, modelUnit, format));
}

ControlHandle ItemControl(DialogPtr dialog, SInt16 item) {
  ControlHandle control = nullptr;
  if (!PortGetDialogItemAsControl(dialog, item, &control)) return nullptr;
  return control;
}

// The formats of the application; null when the application is not the program's own.
const VLApplication* ProgramApplication() { return dynamic_cast<const VLApplication*>(gApplication); }

}  // namespace

CPreferences::CPreferences() {
  lengthUnit = gInvalidUnit;
  lengthFormat = Format({gInvalidUnit}, Format::kDecimals, 2);
  angleFormat = Format({gInvalidUnit}, Format::kDecimals, 2);
}

void CPreferences::SetDefaults() {
  snapToHandleDistance = 2.0;
  viewRotateFactor = 20.0;
  viewMoveFactor = 20.0;
  rotationConstraint = 45.0;
  rotationPrecision = 0.5;
  circleFaceting = 16;
  reserved = 0;
  perspLinkedWithAxon = 0;
  groupWithoutPrompting = 0;

  // Files without a "LengthUnits:" line are read in feet, whatever format a new document shows.
  lengthUnit = gFeet;
  Str255 name;
  PortGetListString(name, kDefaultStrings, kLengthFormatDefault);
  if (PortResError() != noErr) name.Assign("");
  lengthFormat = LengthFormatNamed(name);
  const VLApplication* application = ProgramApplication();
  angleFormat = application ? application->GetAngleFormats()[0] : gAngleFormat;

  sunStudy = SunStudySettings{};
  sunStudy.imageHeight = 200;
  sunStudy.imageWidth = 200;
  sunStudy.frameCount = 3;
  sunStudy.quickTime = 1;
  sunStudy.pict = 0;
  sunStudy.startHour = 11;
  sunStudy.startMinute = 0;
  sunStudy.endHour = 13;
  sunStudy.endMinute = 0;
}

Format CPreferences::LengthFormatNamed(ConstStringPtr name) {
  const VLApplication* application = ProgramApplication();
  if (!application) return gLengthFormat;
  const std::string text = PStrToStd(name);
  if (text == "miles") return application->GetMilesFormat();
  if (text == "feetAndInches") return application->GetFeetAndInchesFormat();
  if (text == "feetAndFractionalInches") return application->GetFeetAndFractionalInchesFormat();
  if (text == "inches" || text == "decimalInches") return application->GetInchesFormat();
  if (text == "fractionalInches") return application->GetFractionalInchesFormat();
  if (text == "kilometers") return application->GetKilometersFormat();
  if (text == "meters") return application->GetMetersFormat();
  if (text == "centimeters") return application->GetCentimetersFormat();
  if (text == "millimeters") return application->GetMillimetersFormat();
  return application->GetFeetFormat();  // "feet", "decimalFeet" and anything else
}

// ---- Menus of the rotation dialog ----

double CPreferences::RotationConstraintOfItem(SInt16 item) {
  if (item < 1 || item > 17) return 45.0;
  return kRotationConstraints[item - 1];
}

SInt16 CPreferences::ItemOfRotationConstraint(double degrees) {
  for (SInt16 item = 1; item <= 17; ++item)
    if (kRotationConstraints[item - 1] == degrees) return item;
  return 1;
}

double CPreferences::RotationPrecisionOfItem(SInt16 item) {
  if (item < 1 || item > 4) return 0.5;
  return kRotationPrecisions[item - 1];
}

SInt16 CPreferences::ItemOfRotationPrecision(double degrees) {
  for (SInt16 item = 1; item <= 4; ++item)
    if (kRotationPrecisions[item - 1] == degrees) return item;
  return 1;
}

// ---- Dialogs ----

Boolean CPreferences::AskValue(ConstStringPtr prompt, double& value, Boolean integer) {
  return AskValueInRange(prompt, value, integer, -HUGE_VAL, HUGE_VAL);
}

Boolean CPreferences::AskValueInRange(ConstStringPtr prompt, double& value, Boolean integer, double low,
                                      double high) {
  SettingsDialog frame(kValueDialog);
  DialogPtr dialog = frame.Get();
  if (!dialog) return false;

  frame.SetText(kPromptItem, prompt);
  Str255 shown;
  if (integer) {
    char buffer[32];
    const double whole = std::trunc(value);
    std::snprintf(buffer, sizeof buffer, "%d", whole >= -2147483647.0 && whole <= 2147483647.0 ? int(whole) : 0);
    shown.Assign(buffer);
  } else {
    ShowMeasurement(value, gFeet, gLengthFormat, &shown);
  }
  frame.SetText(kValueItem, shown);
  frame.SelectText(kValueItem);
  frame.Show();

  while (frame.RunToOKOrCancel()) {
    Str255 typed;
    frame.GetText(kValueItem, &typed);
    double entered = 0.0;
    bool parsed = false;
    if (integer) {
      const std::string text = PStrToStd(typed);
      parsed = std::sscanf(text.c_str(), "%lf", &entered) == 1 && std::isfinite(entered);
      if (parsed) parsed = std::trunc(entered) >= low && std::trunc(entered) <= high;
    } else {
      parsed = ParseTyped(typed, gShortLengthNameTable, gLengthEntryUnit, gFeet, &entered) && entered >= low &&
               entered <= high;
    }
    if (parsed) {
      value = entered;
      return true;
    }
    PortBeep(1);
    frame.SelectText(kValueItem);
  }
  return false;
}

Boolean CPreferences::AskSnapToHandleDistance() {
  const double old = snapToHandleDistance;
  Str255 prompt;
  PortGetListString(prompt, kPromptStrings, kSnapDistancePrompt);
  AskValue(prompt, snapToHandleDistance, false);
  return snapToHandleDistance != old;
}

Boolean CPreferences::AskCircleFaceting() {
  double value = circleFaceting;
  Str255 prompt;
  PortGetListString(prompt, kPromptStrings, kFacetingPrompt);
  // The range keeps the truncation below within 16 bits, and a faceting that no arc can use
  // out of the document.
  if (!AskValueInRange(prompt, value, true, kMinCircleFaceting, kMaxCircleFaceting)) return false;
  const SInt16 old = circleFaceting;
  circleFaceting = SInt16(std::trunc(value));
  return circleFaceting != old;
}

Boolean CPreferences::RunRotationDialog() {
  SettingsDialog frame(kRotationDialog);
  DialogPtr dialog = frame.Get();
  if (!dialog) return false;

  ControlHandle constraintPopup = ItemControl(dialog, kConstraintPopupItem);
  ControlHandle precisionPopup = ItemControl(dialog, kPrecisionPopupItem);
  SInt16 constraintItem = ItemOfRotationConstraint(rotationConstraint);
  SInt16 precisionItem = ItemOfRotationPrecision(rotationPrecision);
  if (constraintPopup) PortSetControlValue(constraintPopup, constraintItem);
  if (precisionPopup) PortSetControlValue(precisionPopup, precisionItem);
  frame.Show();

  // A value that is none of a menu's items shows as its first item; it is replaced only when the
  // user chooses in that menu, so that OK alone never changes a setting the user did not touch.
  bool constraintChosen = false;
  bool precisionChosen = false;
  for (;;) {
    const SInt16 hit = frame.Run();
    if (hit == kCancelItem) return false;
    if (hit == kConstraintPopupItem && constraintPopup) {
      constraintItem = PortGetControlValue(constraintPopup);
      constraintChosen = true;
    } else if (hit == kPrecisionPopupItem && precisionPopup) {
      precisionItem = PortGetControlValue(precisionPopup);
      precisionChosen = true;
    } else if (hit == kOKItem) {
      break;
    }
  }
  const double newConstraint = constraintChosen ? RotationConstraintOfItem(constraintItem) : rotationConstraint;
  const double newPrecision = precisionChosen ? RotationPrecisionOfItem(precisionItem) : rotationPrecision;
  const bool changed = newConstraint != rotationConstraint || newPrecision != rotationPrecision;
  rotationConstraint = newConstraint;
  rotationPrecision = newPrecision;
  return changed;
}

Boolean CPreferences::RunViewFactorsDialog() {
  Owned<CDLOGDirector> made(new (std::nothrow) CDLOGDirector);
  if (!made) return false;
  try {
    made->IDLOGDirector(kViewFactorsDialog, dynamic_cast<CDirectorOwner*>(gApplication));
  } catch (const CException&) {
    return false;
  }
  CDLOGDirector* director = made.release();  // closed below
  CDialog* dialog = director->GetDialog();
  auto* rotateField = dialog ? dynamic_cast<CDialogText*>(dialog->FindItem(kRotateFactorItem)) : nullptr;
  auto* moveField = dialog ? dynamic_cast<CDialogText*>(dialog->FindItem(kMoveFactorItem)) : nullptr;
  if (!rotateField || !moveField) {
    director->Close(false);
    return false;
  }
  Str255 text;
  ShowMeasurement(viewRotateFactor, gDegrees, gAngleFormat, &text);
  rotateField->SetTextString(text);
  ShowMeasurement(viewMoveFactor, gFeet, gLengthFormat, &text);
  moveField->SetTextString(text);

  Boolean changed = false;
  for (;;) {
    if (director->DoModalDialog(cmdOK) != cmdOK) break;
    Str255 rotateText;
    Str255 moveText;
    rotateField->GetTextString(rotateText);
    moveField->GetTextString(moveText);
    double rotate = 0.0;
    double move = 0.0;
    if (ParseTyped(rotateText, gShortAngleNameTable, gAngleEntryUnit, gDegrees, &rotate) &&
        ParseTyped(moveText, gShortLengthNameTable, gLengthEntryUnit, gFeet, &move)) {
      changed = rotate != viewRotateFactor || move != viewMoveFactor;
      viewRotateFactor = rotate;
      viewMoveFactor = move;
      break;
    }
    PortBeep(1);
  }
  director->Close(false);
  return changed;
}

Boolean CPreferences::RunPerspectiveLinkDialog() {
  SettingsDialog frame(kPerspectiveLinkDialog);
  DialogPtr dialog = frame.Get();
  if (!dialog) return false;

  ControlHandle linked = ItemControl(dialog, kLinkedRadioItem);
  ControlHandle notLinked = ItemControl(dialog, kNotLinkedRadioItem);
  SInt16 choice = perspLinkedWithAxon ? 1 : 0;
  auto show = [&] {
    if (linked) PortSetControlValue(linked, choice == 1);
    if (notLinked) PortSetControlValue(notLinked, choice == 0);
  };
  show();
  frame.Show();

  for (;;) {
    const SInt16 hit = frame.Run();
    if (hit == kCancelItem) return false;
    if (hit == kOKItem) {
      perspLinkedWithAxon = choice;
      return true;
    }
    if (hit == kLinkedRadioItem) choice = 1;
    if (hit == kNotLinkedRadioItem) choice = 0;
    show();
  }
}

Boolean CPreferences::AskReservedSetting() { return false; }

Boolean CPreferences::AskReservedSetting2() { return false; }

SInt16 CPreferences::ConfirmGrouping() {
  if (groupWithoutPrompting == 1) return 1;
  SettingsDialog frame(kGroupingDialog);
  if (!frame.Get()) return 0;
  frame.Show();
  return frame.RunToOKOrCancel() ? 1 : 0;
}

// ---- Settings lines ----

void CPreferences::WriteHeaderLines(std::FILE* file, VLDocument* document, double writeFactor) {
  using vltext::CheckPrint;
  constexpr std::int32_t kContext = kDEErrorErrorWritingFile;
  static const Str255 kWhere("VLDocument::WriteHeader");

  // Every conversion first, so that a unit that cannot be converted writes nothing.
  char lengthText[256];
  char angleText[256];
  double gridSize = 0.0;
  double gridSpacing = 0.0;
  double snapSpacing = 0.0;
  double handleDistance = 0.0;
  double wallThickness = 0.0;
  double constraint = 0.0;
  double precision = 0.0;
  double rotateFactor = 0.0;
  double moveFactor = 0.0;
  try {
    UnitToNameTableScope names(gDisplayNameTable);
    lengthFormat.ToString(lengthText, sizeof lengthText);
    angleFormat.ToString(angleText, sizeof angleText);
    double halfSize = 0.0;
    double spacing = 0.0;
    document->GetBackgroundGrid(&halfSize, &spacing);
    gridSize = InUnit(2.0 * halfSize, gFeet, gLengthEntryUnit);
    gridSpacing = InUnit(spacing, gFeet, gLengthEntryUnit);
    snapSpacing = InUnit(document->GetSnapGridSpacing(), gFeet, gLengthEntryUnit);
    handleDistance = InUnit(snapToHandleDistance, gFeet, gLengthEntryUnit);
    wallThickness = InUnit(document->GetWallThickness(), gFeet, gLengthEntryUnit);
    constraint = InUnit(rotationConstraint, gDegrees, gAngleEntryUnit);
    precision = InUnit(rotationPrecision, gDegrees, gAngleEntryUnit);
    rotateFactor = InUnit(viewRotateFactor, gDegrees, gAngleEntryUnit);
    moveFactor = InUnit(viewMoveFactor, gFeet, gLengthEntryUnit);
  } catch (UnitBase::Error) {
    ThrowError(kContext, kWhere);
  } catch (Format::Error) {
    ThrowError(kContext, kWhere);
  } catch (Measurement::Error) {
    ThrowError(kContext, kWhere);
  }

  CheckPrint(std::fprintf(file, "\n"), kContext);
  CheckPrint(std::fprintf(file, "LengthUnits: %s\n", lengthText), kContext);
  CheckPrint(std::fprintf(file, "AngleUnits: %s\n", angleText), kContext);
  CheckPrint(std::fprintf(file, "BackgroundGridSizeAndSpacing: %.12g, ", gridSize), kContext);
  CheckPrint(std::fprintf(file, "%.12g\n", gridSpacing), kContext);
  VLArray* objects = document->GetObjectList();
  if (objects && objects->GetNumItems() > 0) {
    Vector3d point;
    if (auto* section = static_cast<VLUser3DObject*>(objects->PointerAt(1))) section->GetReferencePoint(&point);
    double components[3] = {point.x, point.y, point.z};
    for (double& c : components) c = std::fabs(c) < 1e-6 ? 0.0 : c * writeFactor;
    CheckPrint(std::fprintf(file, "SectionPoint: %g %g %g\n", components[0], components[1], components[2]), kContext);
  }
  CheckPrint(std::fprintf(file, "SnapGridSpacing: %.12g\n", snapSpacing), kContext);
  vltext::CheckStream(file, kContext);

  CheckPrint(std::fprintf(file, "\n"), kContext);
  CheckPrint(std::fprintf(file, "SnapToHandleDistance: %.12g\n", handleDistance), kContext);
  CheckPrint(std::fprintf(file, "WallifyThickness: %.12g\n", wallThickness), kContext);
  CheckPrint(std::fprintf(file, "CircleFaceting: %d\n", circleFaceting), kContext);
  CheckPrint(std::fprintf(file, "RotationConstraint: %.12g\n", constraint), kContext);
  CheckPrint(std::fprintf(file, "RotationPrecision: %.12g\n", precision), kContext);
  CheckPrint(std::fprintf(file, "PerspLinkedWithAxon: %d\n", perspLinkedWithAxon), kContext);
  CheckPrint(std::fprintf(file, "ViewRotateFactor: %.12g\n", rotateFactor), kContext);
  CheckPrint(std::fprintf(file, "ViewMoveFactor: %.12g\n", moveFactor), kContext);
  vltext::CheckStream(file, kContext);

  CheckPrint(std::fprintf(file, "\n"), kContext);
  CheckPrint(std::fprintf(file, "SunStudyWidthAndHeight: %d, %d\n", sunStudy.imageWidth, sunStudy.imageHeight),
             kContext);
  CheckPrint(std::fprintf(file, "SunStudyFrameCount: %d\n", sunStudy.frameCount), kContext);
  CheckPrint(std::fprintf(file, "SunStudyQuickTime: %d\n", sunStudy.quickTime), kContext);
  CheckPrint(std::fprintf(file, "SunStudyPICT: %d\n", sunStudy.pict), kContext);
  CheckPrint(std::fprintf(file, "SunStudyStartTime: %02d:%02d\n", sunStudy.startHour, sunStudy.startMinute),
             kContext);
  CheckPrint(std::fprintf(file, "SunStudyEndTime: %02d:%02d\n", sunStudy.endHour, sunStudy.endMinute), kContext);
  vltext::CheckStream(file, kContext);
}

bool CPreferences::ReadMeasurementLine(std::istream& in, char delimiter, Boolean angle, const UnitBase& bareUnit,
                                       double* out) {
  vltext::SkipBlanks(in);
  const std::streampos start = in.tellg();
  std::string text;
  if (!vltext::ReadRestOfLine(in, delimiter, &text)) return false;
  Str255 typed(text);
  const NameToUnitTable& names = angle ? gShortAngleNameTable : gShortLengthNameTable;
  if (!ParseTyped(typed, names, bareUnit, angle ? gDegrees : gFeet, out)) {
    vltext::FailAt(in, start, nullptr);
    return false;
  }
  return true;
}

void CPreferences::ReadHeaderLines(std::istream& in, SInt32 code, char delimiter, VLDocument* document) {
  const UnitBase angleUnit = angleFormat.UsedUnits() > 0 ? angleFormat.units[0] : gInvalidUnit;
  double value = 0.0;
  SInt16 number = 0;

  switch (code) {
    case kLengthUnitsLine:
    case kAngleUnitsLine: {
      const bool isLength = code == kLengthUnitsLine;
      vltext::SkipBlanks(in);
      const std::streampos start = in.tellg();
      std::string text;
      if (!vltext::ReadRestOfLine(in, delimiter, &text)) return;
      Format format;
      try {
        format = Format(std::string_view(text), isLength ? gLengthNameTable : gAngleNameTable);
      } catch (Format::Error) {
        vltext::FailAt(in, start, nullptr);
        return;
      }
      if (format.UsedUnits() == 0) {
        vltext::FailAt(in, start, "a units line names no unit");
        return;
      }
      if (isLength) {
        lengthFormat = format;
        lengthUnit = format.units[0];
        gLengthFormat = format;
        gLengthEntryUnit = format.units[0];
      } else {
        angleFormat = format;
        gAngleFormat = format;
        gAngleEntryUnit = format.units[0];
      }
      return;
    }
    case kSnapToHandleDistanceLine:
      if (ReadMeasurementLine(in, delimiter, false, lengthUnit, &value)) snapToHandleDistance = value;
      return;
    case kViewMoveFactorLine:
      if (ReadMeasurementLine(in, delimiter, false, lengthUnit, &value)) viewMoveFactor = value;
      return;
    case kViewRotateFactorLine:
      if (ReadMeasurementLine(in, delimiter, true, angleUnit, &value)) viewRotateFactor = value;
      return;
    case kRotationConstraintLine:
      if (ReadMeasurementLine(in, delimiter, true, angleUnit, &value)) rotationConstraint = value;
      return;
    case kRotationPrecisionLine:
      if (ReadMeasurementLine(in, delimiter, true, angleUnit, &value)) rotationPrecision = value;
      return;

    case kBackgroundGridLine: {
      vltext::SkipBlanks(in);
      const std::streampos start = in.tellg();
      std::string text;
      if (!vltext::ReadRestOfLine(in, delimiter, &text)) return;
      const std::size_t comma = text.find(',');
      if (comma == std::string::npos) return;  // one number and no comma changes nothing
      double size = 0.0;
      double spacing = 0.0;
      // The grid is drawn line by line at that spacing: it needs a positive spacing and few
      // enough lines for its point count.
      if (!ParseTyped(Str255(text.substr(0, comma)), gShortLengthNameTable, lengthUnit, gFeet, &size) ||
          !ParseTyped(Str255(text.substr(comma + 1)), gShortLengthNameTable, lengthUnit, gFeet, &spacing)) {
        vltext::FailAt(in, start, nullptr);
        return;
      }
      if (GridLineCount(size, spacing) == 0) {
        vltext::FailAt(in, start, "the grid's size or spacing gives no grid");
        return;
      }
      if (!document) return;
      document->SetBackgroundGrid(size / 2.0, spacing);
      document->RecomputeModelBounds();
      return;
    }
    case kSnapGridSpacingLine: {
      vltext::SkipBlanks(in);
      const std::streampos start = in.tellg();
      if (!ReadMeasurementLine(in, delimiter, false, lengthUnit, &value)) return;
      // Points snap to multiples of the spacing, which must therefore be positive.
      if (value <= 0.0) {
        vltext::FailAt(in, start, "the snap grid spacing is not positive");
        return;
      }
      if (document) document->SetSnapGridSpacing(value);
      return;
    }
    case kWallifyThicknessLine:
      if (ReadMeasurementLine(in, delimiter, false, lengthUnit, &value) && document) document->SetWallThickness(value);
      return;
    case kSectionPointLine: {
      double point[3] = {};
      for (double& c : point)
        if (!vltext::ReadDouble(in, &c)) return;
      VLArray* objects = document ? document->GetObjectList() : nullptr;
      if (!objects || objects->GetNumItems() == 0) return;
      double readFactor = 0.0;
      try {
        readFactor = lengthUnit.Ratio(gFeet);
      } catch (UnitBase::Error) {
        in.setstate(std::ios::failbit);
        return;
      }
      auto* section = static_cast<VLUser3DObject*>(objects->PointerAt(1));
      if (!section) return;
      Vector3d reference;
      section->GetReferencePoint(&reference);
      const Vector3d offset{point[0] * readFactor - reference.x, point[1] * readFactor - reference.y,
                            point[2] * readFactor - reference.z};
      section->Move(&offset);
      return;
    }

    case kCircleFacetingLine:
      if (vltext::ReadShortInRange(in, kMinCircleFaceting, kMaxCircleFaceting, &number)) circleFaceting = number;
      return;
    case kPerspLinkedLine:
      if (vltext::ReadShortInRange(in, 0, 1, &number)) perspLinkedWithAxon = number;
      return;
    case kGroupWithoutPromptingLine:
      if (vltext::ReadShortInRange(in, 0, 1, &number)) groupWithoutPrompting = number;
      return;

    case kSunStudySizeLine: {
      SInt16 width = 0;
      SInt16 height = 0;
      if (!vltext::ReadShortInRange(in, 1, 32767, &width)) return;
      vltext::TakeIfNext(in, ',');
      if (!vltext::ReadShortInRange(in, 1, 32767, &height)) return;
      sunStudy.imageWidth = width;
      sunStudy.imageHeight = height;
      return;
    }
    case kSunStudyFrameCountLine:
      if (vltext::ReadShortInRange(in, 1, 32767, &number)) sunStudy.frameCount = number;
      return;
    case kSunStudyQuickTimeLine:
      if (vltext::ReadShortInRange(in, 0, 1, &number)) sunStudy.quickTime = number;
      return;
    case kSunStudyPICTLine:
      if (vltext::ReadShortInRange(in, 0, 1, &number)) sunStudy.pict = number;
      return;
    case kSunStudyStartTimeLine:
    case kSunStudyEndTimeLine: {
      SInt16 hour = 0;
      SInt16 minute = 0;
      if (!vltext::ReadShortInRange(in, 0, 23, &hour)) return;
      vltext::TakeIfNext(in, ':');
      if (!vltext::ReadShortInRange(in, 0, 59, &minute)) return;
      if (code == kSunStudyStartTimeLine) {
        sunStudy.startHour = hour;
        sunStudy.startMinute = minute;
      } else {
        sunStudy.endHour = hour;
        sunStudy.endMinute = minute;
      }
      return;
    }
    default:
      return;
  }
}
