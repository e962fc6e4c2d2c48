// Golden images: comparing pictures with PNG files, the pictures a failure leaves, tolerances and
// recording.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Golden.h"
#include "TempFolder.h"

namespace {

// A 6 by 4 picture of a few colours.
vlui::Picture Sample() {
  vlui::Picture p;
  p.width = 6;
  p.height = 4;
  for (int i = 0; i < 24; ++i) p.pixels.push_back(UInt32(0x102030 * (i % 5)));
  return p;
}

class GoldenImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("VELMORA_RECORD_GOLDENS");
    std::string error;
    ASSERT_TRUE(vlui::WritePngPicture(Sample(), golden, &error)) << error;
  }
  void TearDown() override { unsetenv("VELMORA_RECORD_GOLDENS"); }
  vlui::GoldenOutcome Compare(const vlui::Picture& p, vlui::GoldenTolerance tolerance = {}) {
    return vlui::CompareWithGolden(p, golden, output, tolerance);
  }
  bool Left(const char* suffix) const { return std::filesystem::exists(output + "/sample" + suffix); }

  vltest::TempFolder temp;
  const std::string golden = temp.Path("sample.png");
  const std::string output = temp.Path("output");
};

TEST_F(GoldenImageTest, TheSamePicturePassesAndLeavesNothing) {
  vlui::Picture read;
  std::string error;
  ASSERT_TRUE(vlui::ReadPngPicture(golden, &read, &error)) << error;
  EXPECT_EQ(read.pixels, Sample().pixels);
  EXPECT_TRUE(Compare(Sample()).matched);
  EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(GoldenImageTest, AChangedPixelFailsWithTheActualAndADiffPicture) {
  vlui::Picture changed = Sample();
  changed.pixels[2 * 6 + 3] ^= 0x000100;  // one step of green
  const vlui::GoldenOutcome outcome = Compare(changed);
  EXPECT_FALSE(outcome.matched);
  EXPECT_NE(outcome.message.find("1 pixels differ (4.167%, 0.000% allowed)"), std::string::npos) << outcome.message;
  EXPECT_NE(outcome.message.find(output + "/sample.actual.png"), std::string::npos) << outcome.message;
  EXPECT_NE(outcome.message.find(output + "/sample.diff.png"), std::string::npos) << outcome.message;

  vlui::Picture actual, diff;
  std::string error;
  ASSERT_TRUE(vlui::ReadPngPicture(output + "/sample.actual.png", &actual, &error)) << error;
  EXPECT_EQ(actual.pixels, changed.pixels);
  ASSERT_TRUE(vlui::ReadPngPicture(output + "/sample.diff.png", &diff, &error)) << error;
  for (int i = 0; i < 24; ++i) {
    const bool red = diff.pixels[std::size_t(i)] == 0xFF0000;
    EXPECT_EQ(red, i == 15) << i;  // the rest faded to grey
  }
}

TEST_F(GoldenImageTest, TolerancesForColourAndForTheShareOfPixels) {
  vlui::Picture off = Sample();
  off.pixels[0] = 0x030303;  // 3 from black in every component
  off.pixels[1] += 0x010000;
  struct Case {
    vlui::GoldenTolerance tolerance;
    bool matched;
  };
  const Case cases[] = {
      {{0, 0.0}, false},     {{2, 0.0}, false},     {{3, 0.0}, true},  // both within 3
      {{0, 0.05}, false},    {{0, 2.0 / 24}, true},                    // two of 24 pixels may differ
      {{2, 1.0 / 24}, true},                                           // one left over 2, one allowed
  };
  for (const Case& c : cases)
    EXPECT_EQ(Compare(off, c.tolerance).matched, c.matched) << c.tolerance.channel << " " << c.tolerance.share;
}

TEST_F(GoldenImageTest, AnotherSizeFailsWhateverTheTolerance) {
  vlui::Picture wider;
  wider.width = 8;
  wider.height = 4;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) wider.pixels.push_back(x < 6 ? Sample().pixels[std::size_t(y * 6 + x)] : 0);
  const vlui::GoldenOutcome outcome = Compare(wider, {255, 1.0});
  EXPECT_FALSE(outcome.matched);
  EXPECT_NE(outcome.message.find("the golden is 6 by 4, the picture 8 by 4"), std::string::npos) << outcome.message;
  vlui::Picture diff;
  std::string error;
  ASSERT_TRUE(vlui::ReadPngPicture(output + "/sample.diff.png", &diff, &error)) << error;
  EXPECT_EQ(diff.width, 8);
  EXPECT_EQ(diff.pixels[7], 0xFF00FFu);  // only the picture has it
}

TEST_F(GoldenImageTest, AMissingOrDamagedGoldenFailsAndKeepsTheActualPicture) {
  for (const std::string& bytes : {std::string(), std::string("\x89PNG\r\n\x1a\n not really", 19)}) {
    std::filesystem::remove_all(output);
    std::filesystem::remove(golden);
    if (!bytes.empty()) temp.Write("sample.png", bytes);
    const vlui::GoldenOutcome outcome = Compare(Sample());
    EXPECT_FALSE(outcome.matched);
    EXPECT_NE(outcome.message.find("VELMORA_RECORD_GOLDENS=1 records it"), std::string::npos) << outcome.message;
    EXPECT_TRUE(Left(".actual.png"));
    EXPECT_FALSE(Left(".diff.png"));
  }
}

TEST_F(GoldenImageTest, RecordingWritesTheGoldenAndHolds) {
  std::filesystem::remove(golden);
  vlui::Picture other = Sample();
  other.pixels[0] = 0xABCDEF;
  setenv("VELMORA_RECORD_GOLDENS", "1", 1);
  EXPECT_TRUE(Compare(other).matched);
  unsetenv("VELMORA_RECORD_GOLDENS");
  EXPECT_TRUE(Compare(other).matched);
  EXPECT_FALSE(Compare(Sample()).matched);
}

TEST_F(GoldenImageTest, PartsOfAPixelMapAreClippedToIt) {
  vlui::Picture sample = Sample();
  PixMap map;
  map.baseAddr = reinterpret_cast<Ptr>(sample.pixels.data());
  map.rowBytes = 6 * 4;
  map.bounds = Rect{0, 0, 4, 6};
  map.pixelSize = 32;
  const vlui::Picture part = vlui::PictureOf(map, Rect{2, 4, 10, 10});
  EXPECT_EQ(part.width, 2);
  EXPECT_EQ(part.height, 2);
  EXPECT_EQ(part.pixels,
            (std::vector<UInt32>{sample.pixels[16], sample.pixels[17], sample.pixels[22], sample.pixels[23]}));
  EXPECT_TRUE(vlui::PictureOf(map, Rect{5, 7, 9, 9}).pixels.empty());
}

}  // namespace
