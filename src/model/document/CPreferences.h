// The settings of one native document: its length and angle formats, the snapping and rotation
// settings, the circle faceting, the view navigation factors, the grouping prompt and the
// sun-study options. The document makes one at set-up, writes it into the header of its file as
// the settings lines and reads it back line by line. The small modal dialogs that change single
// settings live here too.
//
// Lengths are kept in feet and angles in degrees; the file holds them in the document's units.
// The background grid, snap grid, section point and wall thickness are written among the
// settings lines but held by other objects of the document.
#pragma once

#include <cstdio>
#include <istream>

#include "CCollaborator.h"
#include "CircleFaceting.h"
#include "Format.h"
#include "PString.h"
#include "UnitBase.h"

class VLDocument;

// The sun-study options, all 16-bit.
struct SunStudySettings {
  SInt16 imageHeight = 0;
  SInt16 imageWidth = 0;
  SInt16 frameCount = 0;
  SInt16 quickTime = 0;  // 0 or 1: write a movie
  SInt16 pict = 0;       // 0 or 1: write pictures
  SInt16 startHour = 0;
  SInt16 startMinute = 0;
  SInt16 endHour = 0;
  SInt16 endMinute = 0;
  friend bool operator==(const SunStudySettings&, const SunStudySettings&) = default;
};

class CPreferences : public CCollaborator {
  VL_REGISTERED_CLASS(CPreferences, CCollaborator)

 public:
  // Codes of the settings lines, as the document's keyword table numbers them (1 to 20).
  enum : SInt32 {
    kLengthUnitsLine = 1,
    kAngleUnitsLine = 2,
    kSnapToHandleDistanceLine = 3,
    kViewRotateFactorLine = 4,
    kViewMoveFactorLine = 5,
    kRotationConstraintLine = 6,
    kRotationPrecisionLine = 7,
    kBackgroundGridLine = 8,
    kSnapGridSpacingLine = 9,
    kWallifyThicknessLine = 10,
    kSectionPointLine = 11,
    kCircleFacetingLine = 12,
    kPerspLinkedLine = 13,
    kGroupWithoutPromptingLine = 14,
    kSunStudySizeLine = 15,
    kSunStudyFrameCountLine = 16,
    kSunStudyQuickTimeLine = 17,
    kSunStudyPICTLine = 18,
    kSunStudyStartTimeLine = 19,
    kSunStudyEndTimeLine = 20,
  };

  // Dialogs, string lists and menus of the settings.
  enum : SInt16 {
    kViewFactorsDialog = 1032,
    kPerspectiveLinkDialog = 1036,
    kGroupingDialog = 1050,
    kValueDialog = 1080,
    kRotationDialog = 3000,
    kPromptStrings = 2600,
    kDefaultStrings = 2700,
    kFacetingPrompt = 6,
    kSnapDistancePrompt = 8,
    kLengthFormatDefault = 2,
  };

  // The circle faceting a file or the user may give: at least one segment, and few enough that
  // an arc's vertex count (segments plus two) stays a 16-bit count.
  static constexpr SInt16 kMinCircleFaceting = ::kMinCircleFaceting;
  static constexpr SInt16 kMaxCircleFaceting = ::kMaxCircleFaceting;

  // Every number cleared, the length unit and each format's units invalid, style 0, precision 2.
  CPreferences();
  // The defaults of a new document (the application's formats; see the .cpp).
  void SetDefaults();

  // ---- Dialogs: each answers whether the setting changed ----

  virtual Boolean AskSnapToHandleDistance();
  virtual Boolean AskCircleFaceting();
  virtual Boolean RunRotationDialog();
  virtual Boolean RunViewFactorsDialog();
  virtual Boolean RunPerspectiveLinkDialog();
  // Two settings without a dialog: they never change anything.
  virtual Boolean AskReservedSetting();
  virtual Boolean AskReservedSetting2();

  // ---- The settings lines of the document's file ----

  // The settings block, lengths in the current length unit (gLengthEntryUnit) and angles in the
  // current angle unit; the section point times the write factor. A failed write throws -36 with
  // the context kDEErrorErrorWritingFile; a unit that cannot be converted throws
  // kDEErrorErrorWritingFile with "VLDocument::WriteHeader".
  virtual void WriteHeaderLines(std::FILE* file, VLDocument* document, double writeFactor);
  // The rest of one settings line after its keyword (codes 1 to 20; other codes do nothing).
  // Never throws: a value that cannot be read or is out of its range leaves the stream failed at
  // the value, with the setting unchanged.
  virtual void ReadHeaderLines(std::istream& in, SInt32 code, char delimiter, VLDocument* document);

  // A length or angle line (a setting, the latitude): the rest of the line parsed, a bare number
  // in the unit; the value in feet or degrees. False, the stream failed at the text, when it
  // does not parse.
  static bool ReadMeasurementLine(std::istream& in, char delimiter, Boolean angle, const UnitBase& bareUnit,
                                  double* out);

  // ---- Getters ----

  virtual double GetSnapToHandleDistance() { return snapToHandleDistance; }
  virtual double GetViewRotateFactor() { return viewRotateFactor; }
  virtual double GetViewMoveFactor() { return viewMoveFactor; }
  virtual double GetRotationConstraint() { return rotationConstraint; }
  virtual double GetRotationPrecision() { return rotationPrecision; }
  virtual SInt16 GetCircleFaceting() { return circleFaceting; }
  virtual SInt16 GetPerspLinkedWithAxon() { return perspLinkedWithAxon; }

  // 1 to group, 0 not: at once 1 when grouping without prompting, else the question of dialog 1050.
  virtual SInt16 ConfirmGrouping();

  // The value dialog (1080): the prompt, and the value in feet (or a number, with the integer
  // flag). True unless cancelled; a text that does not parse beeps and keeps the dialog open.
  Boolean AskValue(ConstStringPtr prompt, double& value, Boolean integer);

  // ---- Formats and the other fields, for the document and its dialogs ----

  const Format& GetLengthFormat() const { return lengthFormat; }
  const Format& GetAngleFormat() const { return angleFormat; }
  void SetLengthFormat(const Format& format) { lengthFormat = format; }
  void SetAngleFormat(const Format& format) { angleFormat = format; }
  // The unit in which the reader takes the coordinates of a file.
  const UnitBase& GetLengthUnit() const { return lengthUnit; }
  SInt16 GetGroupWithoutPrompting() const { return groupWithoutPrompting; }
  const SunStudySettings& GetSunStudy() const { return sunStudy; }
  void SetSunStudy(const SunStudySettings& settings) { sunStudy = settings; }

  // The rotation-constraint menu of dialog 3000: the degrees of an item (45 outside 1 to 17),
  // and the item of an angle (1 when it is none of the seventeen).
  static double RotationConstraintOfItem(SInt16 item);
  static SInt16 ItemOfRotationConstraint(double degrees);
  // The rotation-precision menu: 0.5 outside items 1 to 4; item 1 for another value.
  static double RotationPrecisionOfItem(SInt16 item);
  static SInt16 ItemOfRotationPrecision(double degrees);
  // The application's length format that a name of string list 2700 stands for (feet for a
  // name it does not know).
  static Format LengthFormatNamed(ConstStringPtr name);

 protected:
  // The value dialog with a range the value must fall in; a value outside it beeps like a text
  // that does not parse.
  Boolean AskValueInRange(ConstStringPtr prompt, double& value, Boolean integer, double low, double high);
  double snapToHandleDistance = 0.0;  // feet
  double viewRotateFactor = 0.0;      // degrees
  double viewMoveFactor = 0.0;        // feet
  double rotationConstraint = 0.0;    // degrees
  double rotationPrecision = 0.0;     // degrees
  SInt16 circleFaceting = 0;
  SInt16 reserved = 0;
  SInt16 perspLinkedWithAxon = 0;
  SInt16 groupWithoutPrompting = 0;
  UnitBase lengthUnit;
  Format lengthFormat;
  Format angleFormat;
  SunStudySettings sunStudy;
};
