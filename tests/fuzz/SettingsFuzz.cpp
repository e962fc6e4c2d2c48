// The settings lines at the head of a native document.
#include <map>
#include <sstream>
#include <string>

#include "AppResources.h"
#include "CPreferences.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"

namespace vlfuzz {
namespace {

// The keywords a document writes before each settings line, and the line each stands for.
const std::map<std::string, SInt32>& Keywords() {
  static const std::map<std::string, SInt32> keywords = {
      {"LengthUnits:", CPreferences::kLengthUnitsLine},
      {"AngleUnits:", CPreferences::kAngleUnitsLine},
      {"SnapToHandleDistance:", CPreferences::kSnapToHandleDistanceLine},
      {"ViewRotateFactor:", CPreferences::kViewRotateFactorLine},
      {"ViewMoveFactor:", CPreferences::kViewMoveFactorLine},
      {"RotationConstraint:", CPreferences::kRotationConstraintLine},
      {"RotationPrecision:", CPreferences::kRotationPrecisionLine},
      {"BackgroundGridSizeAndSpacing:", CPreferences::kBackgroundGridLine},
      {"SnapGridSpacing:", CPreferences::kSnapGridSpacingLine},
      {"WallifyThickness:", CPreferences::kWallifyThicknessLine},
      {"SectionPoint:", CPreferences::kSectionPointLine},
      {"CircleFaceting:", CPreferences::kCircleFacetingLine},
      {"PerspLinkedWithAxon:", CPreferences::kPerspLinkedLine},
      {"GroupWithoutPrompting:", CPreferences::kGroupWithoutPromptingLine},
      {"SunStudyWidthAndHeight:", CPreferences::kSunStudySizeLine},
      {"SunStudyFrameCount:", CPreferences::kSunStudyFrameCountLine},
      {"SunStudyQuickTime:", CPreferences::kSunStudyQuickTimeLine},
      {"SunStudyPICT:", CPreferences::kSunStudyPICTLine},
      {"SunStudyStartTime:", CPreferences::kSunStudyStartTimeLine},
      {"SunStudyEndTime:", CPreferences::kSunStudyEndTimeLine}};
  return keywords;
}

}  // namespace

Outcome ReadSettingsLines(const std::uint8_t* data, std::size_t size) {
  // The defaults come from the program's resources.
  static const bool installed = vlres::InstallApplicationResources() != 0;
  (void)installed;
  // Unit lines set the program's current formats too: each run starts from the same ones.
  const KeptUnits kept;
  CPreferences preferences;
  preferences.SetDefaults();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::string word;
  while (in >> word) {
    auto found = Keywords().find(word);
    // Other keywords belong to the rest of the document.
    if (found == Keywords().end()) continue;
    preferences.ReadHeaderLines(in, found->second, '\n', nullptr);
    if (in.fail()) return Refused();
  }
  return Accepted();
}

}  // namespace vlfuzz
