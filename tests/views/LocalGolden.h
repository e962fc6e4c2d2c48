// A stand-in golden-image comparison for the view tests, to be replaced by the shared golden
// helper of tests/support once that is in place (its call sites are the WorldMatches function
// of ViewGoldenTest.cpp only).
//
// Compares a 32-bit world exactly with a PNG in tests/views/golden. A failure writes
// NAME.actual.png and NAME.diff.png (differing pixels red, agreeing ones faded grey) into
// "golden-output" in the working folder (the build tree under ctest) and names both. With
// VELMORA_RECORD_GOLDENS=1 in the environment the golden is written from the world instead.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "QuickDraw.h"
#include "Screen.h"

namespace localgolden {

inline std::filesystem::path GoldenFolder() { return std::filesystem::path(VL_SOURCE_DIR) / "tests/views/golden"; }

// The PNG's pixels as 0x00RRGGBB; false when it cannot be read.
inline bool ReadPng(const std::string& path, int* width, int* height, std::vector<UInt32>* pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return false;
  *width = int(image.width);
  *height = int(image.height);
  pixels->resize(std::size_t(image.width) * image.height);
  for (std::size_t i = 0; i < pixels->size(); ++i)
    (*pixels)[i] = UInt32(bytes[3 * i]) << 16 | UInt32(bytes[3 * i + 1]) << 8 | bytes[3 * i + 2];
  return true;
}

inline bool WritePixels(const std::vector<UInt32>& pixels, int width, int height, const std::string& path) {
  PixMap map;
  map.baseAddr = reinterpret_cast<Ptr>(const_cast<UInt32*>(pixels.data()));
  map.rowBytes = SInt32(width * 4);
  map.bounds = Rect{0, 0, SInt16(height), SInt16(width)};
  map.pixelSize = 32;
  std::string error;
  return vlui::WritePixMapPng(map, path, &error);
}

inline testing::AssertionResult WorldMatchesGolden(GWorldPtr world, const std::string& name) {
  const PixMap& map = world->portPixMap;
  const int width = map.bounds.right - map.bounds.left;
  const int height = map.bounds.bottom - map.bounds.top;
  std::vector<UInt32> actual(std::size_t(width) * height);
  for (int v = 0; v < height; ++v)
    for (int h = 0; h < width; ++h)
      actual[std::size_t(v) * width + h] = reinterpret_cast<const UInt32*>(map.baseAddr + v * map.rowBytes)[h] & 0xFFFFFF;

  const std::string golden = (GoldenFolder() / name).string();
  const char* record = std::getenv("VELMORA_RECORD_GOLDENS");
  if (record && std::string(record) == "1") {
    std::filesystem::create_directories(GoldenFolder());
    if (!WritePixels(actual, width, height, golden)) return testing::AssertionFailure() << "cannot write " << golden;
    return testing::AssertionSuccess();
  }

  int goldenWidth = 0, goldenHeight = 0;
  std::vector<UInt32> expected;
  const bool readable = ReadPng(golden, &goldenWidth, &goldenHeight, &expected);
  long differing = 0;
  std::vector<UInt32> diff(actual.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    const bool same = readable && goldenWidth == width && goldenHeight == height && expected[i] == actual[i];
    differing += !same;
    const UInt32 grey = 0xC0 + ((actual[i] >> 8 & 0xFF) >> 2);
    diff[i] = same ? grey << 16 | grey << 8 | grey : 0xFF0000;
  }
  if (differing == 0) return testing::AssertionSuccess();

  const std::filesystem::path output = std::filesystem::current_path() / "golden-output";
  std::filesystem::create_directories(output);
  const std::string stem = std::filesystem::path(name).stem().string();
  const std::string actualPath = (output / (stem + ".actual.png")).string();
  const std::string diffPath = (output / (stem + ".diff.png")).string();
  WritePixels(actual, width, height, actualPath);
  WritePixels(diff, width, height, diffPath);
  return testing::AssertionFailure() << (readable ? "" : "no readable golden; ") << differing << " of "
                                     << actual.size() << " pixels differ from " << golden << "\n  actual: "
                                     << actualPath << "\n  diff:   " << diffPath;
}

}  // namespace localgolden
