// Golden images in unit tests: what the screen, a window or any picture shows, compared with a
// PNG file in the folder "golden" beside the test's source file:
//
//   EXPECT_TRUE(vltest::ScreenMatches(VL_GOLDEN("menu-open.png")));
//   EXPECT_TRUE(vltest::WindowMatches(window, VL_GOLDEN("dialog.png"), {.channel = 2}));
//
// A failure prints the number and share of differing pixels and the paths of the actual and diff
// pictures, written into "golden-output" in the test's working folder (the build tree under
// ctest). VELMORA_RECORD_GOLDENS=1 records the goldens instead (platform/ui/Golden.h). The
// programs that include this link the ui library.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Golden.h"

// The golden file `name` beside the source file that names it.
#define VL_GOLDEN(name) vltest::GoldenBeside(__FILE__, name)

namespace vltest {

inline std::string GoldenBeside(const char* sourceFile, const std::string& name) {
  return (std::filesystem::path(sourceFile).parent_path() / "golden" / name).string();
}

inline testing::AssertionResult PictureMatches(const vlui::Picture& picture, const std::string& golden,
                                               vlui::GoldenTolerance tolerance = {}) {
  std::error_code ignored;
  const std::filesystem::path output = std::filesystem::current_path(ignored) / "golden-output";
  const vlui::GoldenOutcome outcome = vlui::CompareWithGolden(picture, golden, output.string(), tolerance);
  if (outcome.matched) return testing::AssertionSuccess();
  return testing::AssertionFailure() << outcome.message;
}

inline testing::AssertionResult ScreenMatches(const std::string& golden, vlui::GoldenTolerance tolerance = {}) {
  return PictureMatches(vlui::ScreenPicture(), golden, tolerance);
}

inline testing::AssertionResult WindowMatches(WindowPtr window, const std::string& golden,
                                              vlui::GoldenTolerance tolerance = {}) {
  if (!window) return testing::AssertionFailure() << "no window to compare with " << golden;
  return PictureMatches(vlui::WindowPicture(window), golden, tolerance);
}

}  // namespace vltest
