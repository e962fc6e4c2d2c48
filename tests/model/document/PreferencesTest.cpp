#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

#include "CPreferences.h"
#include "DETException.h"
#include "DocumentTestSupport.h"
#include "VLUser3DObject.h"

namespace {

const std::map<std::string, SInt32> kSettingsKeywords = {
    {"LengthUnits:", 1},           {"AngleUnits:", 2},        {"SnapToHandleDistance:", 3},
    {"ViewRotateFactor:", 4},      {"ViewMoveFactor:", 5},    {"RotationConstraint:", 6},
    {"RotationPrecision:", 7},     {"BackgroundGridSizeAndSpacing:", 8}, {"SnapGridSpacing:", 9},
    {"WallifyThickness:", 10},     {"SectionPoint:", 11},     {"CircleFaceting:", 12},
    {"PerspLinkedWithAxon:", 13},  {"GroupWithoutPrompting:", 14}, {"SunStudyWidthAndHeight:", 15},
    {"SunStudyFrameCount:", 16},   {"SunStudyQuickTime:", 17}, {"SunStudyPICT:", 18},
    {"SunStudyStartTime:", 19},    {"SunStudyEndTime:", 20}};

// The settings block as a document writes it.
std::string WrittenHeaderLines(VLDocument* document, double writeFactor = 1.0) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&text, &size);
  document->GetPreferences()->WriteHeaderLines(file, document, writeFactor);
  std::fclose(file);
  std::string result(text, size);
  std::free(text);
  return result;
}

// Reads settings lines as the document's reader does: a keyword, then the rest through the
// preferences. False at the first line that leaves the stream failed.
bool ReadSettings(VLDocument* document, const std::string& text, char delimiter = '\n') {
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    auto found = kSettingsKeywords.find(word);
    if (found == kSettingsKeywords.end()) return false;
    document->GetPreferences()->ReadHeaderLines(in, found->second, delimiter, document);
    if (in.fail()) return false;
  }
  return true;
}

}  // namespace

using PreferencesFixture = DocumentFixture;

TEST_F(PreferencesFixture, ANewDocumentHasTheDefaultSettings) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  CPreferences* preferences = document->GetPreferences();
  EXPECT_EQ(preferences->GetSnapToHandleDistance(), 2.0);
  EXPECT_EQ(preferences->GetViewRotateFactor(), 20.0);
  EXPECT_EQ(preferences->GetViewMoveFactor(), 20.0);
  EXPECT_EQ(preferences->GetRotationConstraint(), 45.0);
  EXPECT_EQ(preferences->GetRotationPrecision(), 0.5);
  EXPECT_EQ(preferences->GetCircleFaceting(), 16);
  EXPECT_EQ(preferences->GetPerspLinkedWithAxon(), 0);
  EXPECT_EQ(preferences->GetGroupWithoutPrompting(), 0);
  SunStudySettings sun;
  sun.imageHeight = 200;
  sun.imageWidth = 200;
  sun.frameCount = 3;
  sun.quickTime = 1;
  sun.startHour = 11;
  sun.endHour = 13;
  EXPECT_EQ(preferences->GetSunStudy(), sun);
  // String 2 of list 2700 names the length format; files are read in feet all the same.
  EXPECT_EQ(preferences->GetLengthFormat(), app->GetFeetAndInchesFormat());
  EXPECT_EQ(preferences->GetAngleFormat(), app->GetAngleFormats()[0]);
  EXPECT_EQ(preferences->GetLengthUnit(), gFeet);
  // The document publishes its formats and their first units.
  EXPECT_EQ(gLengthFormat, app->GetFeetAndInchesFormat());
  EXPECT_EQ(gLengthEntryUnit, gFeet);
  EXPECT_EQ(gAngleEntryUnit, gDegrees);
}

TEST_F(PreferencesFixture, LengthFormatsByTheirNames) {
  struct Case {
    const char* name;
    const Format* format;
  } cases[] = {
      {"miles", &app->GetMilesFormat()},
      {"feet", &app->GetFeetFormat()},
      {"decimalFeet", &app->GetFeetFormat()},
      {"feetAndInches", &app->GetFeetAndInchesFormat()},
      {"feetAndFractionalInches", &app->GetFeetAndFractionalInchesFormat()},
      {"inches", &app->GetInchesFormat()},
      {"decimalInches", &app->GetInchesFormat()},
      {"fractionalInches", &app->GetFractionalInchesFormat()},
      {"kilometers", &app->GetKilometersFormat()},
      {"meters", &app->GetMetersFormat()},
      {"centimeters", &app->GetCentimetersFormat()},
      {"millimeters", &app->GetMillimetersFormat()},
      // Whole strings only, case and all; anything else is feet.
      {"Meters", &app->GetFeetFormat()},
      {"meters ", &app->GetFeetFormat()},
      {"", &app->GetFeetFormat()},
  };
  for (const Case& c : cases) EXPECT_EQ(CPreferences::LengthFormatNamed(Str255(c.name)), *c.format) << c.name;
}

TEST_F(PreferencesFixture, RotationMenusBothWays) {
  const double constraints[] = {90, 60, 45, 30, 22.5, 20, 15, 12, 10, 9, 8, 6, 5, 4, 3, 2, 1};
  for (SInt16 item = 1; item <= 17; ++item) {
    EXPECT_EQ(CPreferences::RotationConstraintOfItem(item), constraints[item - 1]);
    EXPECT_EQ(CPreferences::ItemOfRotationConstraint(constraints[item - 1]), item);
  }
  for (SInt16 item : {0, 18, -1}) EXPECT_EQ(CPreferences::RotationConstraintOfItem(item), 45.0);
  for (double angle : {7.5, 0.0, 22.50001}) EXPECT_EQ(CPreferences::ItemOfRotationConstraint(angle), 1);

  const double precisions[] = {0.5, 1.0, 2.0, 5.0};
  for (SInt16 item = 1; item <= 4; ++item) {
    EXPECT_EQ(CPreferences::RotationPrecisionOfItem(item), precisions[item - 1]);
    EXPECT_EQ(CPreferences::ItemOfRotationPrecision(precisions[item - 1]), item);
  }
  for (SInt16 item : {0, 5}) EXPECT_EQ(CPreferences::RotationPrecisionOfItem(item), 0.5);
  EXPECT_EQ(CPreferences::ItemOfRotationPrecision(0.25), 1);
}

TEST_F(PreferencesFixture, SettingsBlockOfANewDocument) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(WrittenHeaderLines(document),
            "\n"
            "LengthUnits: Feet Inches.2\n"
            "AngleUnits: Degrees.2\n"
            "BackgroundGridSizeAndSpacing: 50, 5\n"
            "SectionPoint: 0 0 0\n"
            "SnapGridSpacing: 0.5\n"
            "\n"
            "SnapToHandleDistance: 2\n"
            "WallifyThickness: 0.5\n"
            "CircleFaceting: 16\n"
            "RotationConstraint: 45\n"
            "RotationPrecision: 0.5\n"
            "PerspLinkedWithAxon: 0\n"
            "ViewRotateFactor: 20\n"
            "ViewMoveFactor: 20\n"
            "\n"
            "SunStudyWidthAndHeight: 200, 200\n"
            "SunStudyFrameCount: 3\n"
            "SunStudyQuickTime: 1\n"
            "SunStudyPICT: 0\n"
            "SunStudyStartTime: 11:00\n"
            "SunStudyEndTime: 13:00\n");
}

TEST_F(PreferencesFixture, SectionPointIsWrittenTimesTheFactorWithTinyComponentsAsZero) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  const Vector3d offset{3.0, 5e-7, -2.5};
  document->GetSectionPlane()->Move(&offset);
  const std::string text = WrittenHeaderLines(document, 12.0);
  EXPECT_NE(text.find("SectionPoint: 36 0 -30\n"), std::string::npos) << text;

  // Read back in a file in inches, the point lands where it was.
  ASSERT_TRUE(ReadSettings(document, "LengthUnits: Inches.2\nSectionPoint: 12 24 36\n"));
  Vector3d point;
  document->GetSectionPlane()->GetReferencePoint(&point);
  EXPECT_DOUBLE_EQ(point.x, 1.0);
  EXPECT_DOUBLE_EQ(point.y, 2.0);
  EXPECT_DOUBLE_EQ(point.z, 3.0);
}

TEST_F(PreferencesFixture, MetersDocumentWritesInMetersAndReadsBackInMeters) {
  OverrideStringList(CPreferences::kDefaultStrings, {"feet", "meters", "50", "5", "0.5", "5", "0.5", "1"});
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  CPreferences* preferences = document->GetPreferences();
  EXPECT_EQ(preferences->GetLengthFormat(), app->GetMetersFormat());
  EXPECT_EQ(gLengthEntryUnit, gMeters);
  // The unit files are read in stays feet until a "LengthUnits:" line is read.
  EXPECT_EQ(preferences->GetLengthUnit(), gFeet);

  const std::string text = WrittenHeaderLines(document, gFeet.Ratio(gMeters));
  EXPECT_NE(text.find("LengthUnits: Meters.3\n"), std::string::npos) << text;
  EXPECT_NE(text.find("BackgroundGridSizeAndSpacing: 15.24, 1.524\n"), std::string::npos) << text;
  EXPECT_NE(text.find("SnapToHandleDistance: 0.6096\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ViewMoveFactor: 6.096\n"), std::string::npos) << text;

  // A second document reads the block: lengths come back in feet.
  VLDocument* other = NewDocument();
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(ReadSettings(other, text)) << text;
  CPreferences* read = other->GetPreferences();
  EXPECT_EQ(read->GetLengthUnit(), gMeters);
  EXPECT_EQ(read->GetLengthFormat(), app->GetMetersFormat());
  EXPECT_NEAR(read->GetSnapToHandleDistance(), 2.0, 1e-12);
  EXPECT_NEAR(read->GetViewMoveFactor(), 20.0, 1e-12);
  double halfSize = 0.0;
  double spacing = 0.0;
  other->GetBackgroundGrid(&halfSize, &spacing);
  EXPECT_NEAR(halfSize, 25.0, 1e-12);
  EXPECT_NEAR(spacing, 5.0, 1e-12);
  EXPECT_NEAR(other->GetSnapGridSpacing(), 0.5, 1e-12);
  EXPECT_NEAR(other->GetWallThickness(), 0.5, 1e-12);
  // Reading "LengthUnits:" made the format the one in force.
  EXPECT_EQ(gLengthFormat, app->GetMetersFormat());
  EXPECT_EQ(gLengthEntryUnit, gMeters);
}

TEST_F(PreferencesFixture, SettingsLinesSetTheirSettings) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  CPreferences* p = document->GetPreferences();
  struct Case {
    const char* lines;
    std::function<bool()> holds;
  } cases[] = {
      {"SnapToHandleDistance: 6\"", [&] { return p->GetSnapToHandleDistance() == 0.5; }},
      {"SnapToHandleDistance: 3", [&] { return p->GetSnapToHandleDistance() == 3.0; }},
      {"ViewRotateFactor: 0.5 rad", [&] { return std::abs(p->GetViewRotateFactor() - 28.64788975654116) < 1e-9; }},
      {"ViewMoveFactor: 12", [&] { return p->GetViewMoveFactor() == 12.0; }},
      {"RotationConstraint: 7.5", [&] { return p->GetRotationConstraint() == 7.5; }},
      {"RotationPrecision: 2", [&] { return p->GetRotationPrecision() == 2.0; }},
      {"CircleFaceting: 24", [&] { return p->GetCircleFaceting() == 24; }},
      {"PerspLinkedWithAxon: 1", [&] { return p->GetPerspLinkedWithAxon() == 1; }},
      // Read although no writer writes it.
      {"GroupWithoutPrompting: 1", [&] { return p->GetGroupWithoutPrompting() == 1; }},
      {"SunStudyWidthAndHeight: 640 , 480", [&] {
         return p->GetSunStudy().imageWidth == 640 && p->GetSunStudy().imageHeight == 480;
       }},
      {"SunStudyWidthAndHeight: 320 240", [&] {
         return p->GetSunStudy().imageWidth == 320 && p->GetSunStudy().imageHeight == 240;
       }},
      {"SunStudyFrameCount: 12", [&] { return p->GetSunStudy().frameCount == 12; }},
      {"SunStudyQuickTime: 0\nSunStudyPICT: 1", [&] { return p->GetSunStudy().quickTime == 0 && p->GetSunStudy().pict == 1; }},
      {"SunStudyStartTime: 08:05\nSunStudyEndTime: 17 : 30", [&] {
         const SunStudySettings& s = p->GetSunStudy();
         return s.startHour == 8 && s.startMinute == 5 && s.endHour == 17 && s.endMinute == 30;
       }},
      {"WallifyThickness: 8\"", [&] { return std::abs(document->GetWallThickness() - 8.0 / 12.0) < 1e-12; }},
      {"SnapGridSpacing: 1' 6\"", [&] { return document->GetSnapGridSpacing() == 1.5; }},
      {"AngleUnits: Degrees Minutes.0\nRotationConstraint: 30\xA1 15'", [&] {
         return p->GetAngleFormat() == app->GetAngleFormats()[1] && p->GetRotationConstraint() == 30.25;
       }},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(ReadSettings(document, c.lines)) << c.lines;
    EXPECT_TRUE(c.holds()) << c.lines;
  }
}

TEST_F(PreferencesFixture, BackgroundGridWithoutCommaChangesNothing) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  ASSERT_TRUE(ReadSettings(document, "BackgroundGridSizeAndSpacing: 80\nCircleFaceting: 8\n"));
  double halfSize = 0.0;
  double spacing = 0.0;
  document->GetBackgroundGrid(&halfSize, &spacing);
  EXPECT_EQ(halfSize, 25.0);
  EXPECT_EQ(spacing, 5.0);
  // The reading went on after it.
  EXPECT_EQ(document->GetPreferences()->GetCircleFaceting(), 8);

  ASSERT_TRUE(ReadSettings(document, "BackgroundGridSizeAndSpacing: 80, 10\n"));
  document->GetBackgroundGrid(&halfSize, &spacing);
  EXPECT_EQ(halfSize, 40.0);
  EXPECT_EQ(spacing, 10.0);
  // The model box follows the grid.
  EXPECT_EQ(document->GetModelBox()[0], -40.0);
  EXPECT_EQ(document->GetModelBox()[4], 40.0);
}

// A value that cannot be read, or lies outside what the setting can hold, is refused: the stream
// fails where the value starts, and the setting keeps its value.
TEST_F(PreferencesFixture, OutOfRangeOrUnreadableSettingsAreRefused) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  CPreferences* p = document->GetPreferences();
  const SunStudySettings sun = p->GetSunStudy();
  struct Case {
    const char* line;
    const char* restAt;  // what the stream holds from where it failed
  } cases[] = {
      {"CircleFaceting: 70000", "70000"},
      {"CircleFaceting: 0", "0"},
      {"CircleFaceting: -16", "-16"},
      {"CircleFaceting: 32766", "32766"},
      {"CircleFaceting: 2", "2"},
      {"CircleFaceting: 10921", "10921"},
      {"CircleFaceting: many", "many"},
      {"PerspLinkedWithAxon: 2", "2"},
      {"GroupWithoutPrompting: -1", "-1"},
      {"SunStudyQuickTime: 5", "5"},
      {"SunStudyPICT: 99999", "99999"},
      {"SunStudyFrameCount: 0", "0"},
      {"SunStudyWidthAndHeight: 0, 200", "0, 200"},
      {"SunStudyWidthAndHeight: 200, 40000", "40000"},
      {"SunStudyStartTime: 24:00", "24:00"},
      {"SunStudyEndTime: 13:60", "60"},
      {"SnapToHandleDistance: 3 apples", "3 apples"},
      {"RotationConstraint: 7.5 meters", "7.5 meters"},
      {"LengthUnits: Degrees.2", "Degrees.2"},
      {"AngleUnits: Feet.2", "Feet.2"},
      {"BackgroundGridSizeAndSpacing: 50, 0", "50, 0"},
      {"BackgroundGridSizeAndSpacing: 50, x", "50, x"},
      {"BackgroundGridSizeAndSpacing: 50, -5", "50, -5"},
      // More lines than a grid's 16-bit point count holds.
      {"BackgroundGridSizeAndSpacing: 10000, 1", "10000, 1"},
      {"SnapGridSpacing: 0", "0"},
      {"SnapGridSpacing: -1", "-1"},
      {"SectionPoint: 1 2 z", "z"},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.line);
    std::string keyword;
    in >> keyword;
    p->ReadHeaderLines(in, kSettingsKeywords.at(keyword), '\n', document);
    EXPECT_TRUE(in.fail()) << c.line;
    in.clear();
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest.substr(rest.find_first_not_of(' ')), c.restAt) << c.line;
  }
  EXPECT_EQ(p->GetCircleFaceting(), 16);
  EXPECT_EQ(p->GetPerspLinkedWithAxon(), 0);
  EXPECT_EQ(p->GetGroupWithoutPrompting(), 0);
  EXPECT_EQ(p->GetSunStudy(), sun);
  EXPECT_EQ(p->GetSnapToHandleDistance(), 2.0);
  EXPECT_EQ(p->GetRotationConstraint(), 45.0);
  EXPECT_EQ(p->GetLengthFormat(), app->GetFeetAndInchesFormat());
  EXPECT_EQ(document->GetSnapGridSpacing(), 0.5);
  double halfSize = 0.0;
  double spacing = 0.0;
  document->GetBackgroundGrid(&halfSize, &spacing);
  EXPECT_EQ(spacing, 5.0);
}

TEST_F(PreferencesFixture, LineEndsOfEveryPlatform) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  CPreferences* p = document->GetPreferences();
  // Windows lines (CR LF), Macintosh lines (CR) and a last line without an end.
  ASSERT_TRUE(ReadSettings(document, "ViewMoveFactor: 7\r\nSnapToHandleDistance: 4\r\n"));
  EXPECT_EQ(p->GetViewMoveFactor(), 7.0);
  EXPECT_EQ(p->GetSnapToHandleDistance(), 4.0);
  ASSERT_TRUE(ReadSettings(document, "ViewMoveFactor: 9\rRotationPrecision: 1\r", '\r'));
  EXPECT_EQ(p->GetViewMoveFactor(), 9.0);
  EXPECT_EQ(p->GetRotationPrecision(), 1.0);
  ASSERT_TRUE(ReadSettings(document, "ViewMoveFactor: 11"));
  EXPECT_EQ(p->GetViewMoveFactor(), 11.0);
  // A setting without its value at the end of the input is refused.
  EXPECT_FALSE(ReadSettings(document, "ViewMoveFactor: "));
  EXPECT_FALSE(ReadSettings(document, "CircleFaceting:"));
  EXPECT_EQ(p->GetViewMoveFactor(), 11.0);
  // A line longer than 255 characters is refused rather than cut.
  EXPECT_FALSE(ReadSettings(document, "ViewMoveFactor: 1" + std::string(300, '0') + "\n"));
  EXPECT_EQ(p->GetViewMoveFactor(), 11.0);
}

TEST_F(PreferencesFixture, WriteFailuresThrowTheHeaderContext) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  // A disk that is full at once.
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  std::setvbuf(full, nullptr, _IONBF, 0);
  try {
    document->GetPreferences()->WriteHeaderLines(full, document, 1.0);
    ADD_FAILURE() << "no error";
  } catch (DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorErrorWritingFile);
    EXPECT_EQ(e.GetOSError(), ioErr);
  }
  std::fclose(full);

  // A unit that cannot be converted: nothing is written.
  gLengthEntryUnit = gInvalidUnit;
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&text, &size);
  try {
    document->GetPreferences()->WriteHeaderLines(file, document, 1.0);
    ADD_FAILURE() << "no error";
  } catch (DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorErrorWritingFile);
    EXPECT_EQ(gErrorMessage.Std(), "VLDocument::WriteHeader");
  }
  std::fclose(file);
  EXPECT_EQ(size, 0u);
  std::free(text);
}
