#include "Golden.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "Screen.h"

namespace vlui {

namespace {

constexpr UInt32 kDifferent = 0xFF0000;  // red
constexpr UInt32 kOnlyOne = 0xFF00FF;    // magenta

int Component(UInt32 pixel, int shift) { return int((pixel >> shift) & 0xFF); }

bool Close(UInt32 a, UInt32 b, int channel) {
  for (int shift : {16, 8, 0})
    if (std::abs(Component(a, shift) - Component(b, shift)) > channel) return false;
  return true;
}

// A pixel that agrees, faded to a light grey so that the differences stand out.
UInt32 Faded(UInt32 pixel) {
  const int grey = (Component(pixel, 16) * 3 + Component(pixel, 8) * 6 + Component(pixel, 0)) / 10;
  const UInt32 light = UInt32(192 + grey / 4);
  return (light << 16) | (light << 8) | light;
}

std::string Size(const Picture& p) { return std::to_string(p.width) + " by " + std::to_string(p.height); }

std::string Percent(double share) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f%%", share * 100.0);
  return text;
}

}  // namespace

Picture PictureOf(const PixMap& pixels, const Rect& area) {
  Picture picture;
  if (pixels.pixelSize != 32 || !pixels.baseAddr) return picture;
  const int left = std::max(area.left, pixels.bounds.left), right = std::min(area.right, pixels.bounds.right);
  const int top = std::max(area.top, pixels.bounds.top), bottom = std::min(area.bottom, pixels.bounds.bottom);
  if (right <= left || bottom <= top) return picture;
  picture.width = right - left;
  picture.height = bottom - top;
  picture.pixels.reserve(std::size_t(picture.width) * std::size_t(picture.height));
  for (int y = top; y < bottom; ++y) {
    const UInt32* row = reinterpret_cast<const UInt32*>(pixels.baseAddr + std::size_t(y - pixels.bounds.top) *
                                                                              std::size_t(pixels.rowBytes));
    for (int x = left; x < right; ++x) picture.pixels.push_back(row[x - pixels.bounds.left] & 0xFFFFFF);
  }
  return picture;
}

Picture ScreenPicture() {
  const PixMap* screen = ScreenPixMap();
  return screen ? PictureOf(*screen, ScreenBounds()) : Picture{};
}

Picture WindowPicture(WindowPtr window) {
  const PixMap* screen = ScreenPixMap();
  if (!screen || !window) return Picture{};
  Rect frame;
  PortGetWindowStructureRect(window, &frame);
  return PictureOf(*screen, frame);
}

bool ReadPngPicture(const std::string& path, Picture* out, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  auto fail = [&](const std::string& why) {
    png_image_free(&image);
    if (error) *error = path + ": " + why;
    return false;
  };
  if (!png_image_begin_read_from_file(&image, path.c_str())) return fail(image.message);
  // A golden is a picture of a screen: a size no screen has is a damaged file.
  if (image.width == 0 || image.height == 0 || image.width > 8192 || image.height > 8192)
    return fail("not a picture of a screen (" + std::to_string(image.width) + " by " + std::to_string(image.height) +
                ")");
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return fail(image.message);
  Picture picture;
  picture.width = int(image.width);
  picture.height = int(image.height);
  picture.pixels.resize(std::size_t(picture.width) * std::size_t(picture.height));
  for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = (UInt32(bytes[i * 3]) << 16) | (UInt32(bytes[i * 3 + 1]) << 8) | UInt32(bytes[i * 3 + 2]);
  *out = std::move(picture);
  return true;
}

bool WritePngPicture(const Picture& picture, const std::string& path, std::string* error) {
  PixMap map;
  map.baseAddr = reinterpret_cast<Ptr>(const_cast<UInt32*>(picture.pixels.data()));
  map.rowBytes = SInt32(picture.width) * 4;
  map.bounds = Rect{0, 0, SInt16(picture.height), SInt16(picture.width)};
  map.pixelSize = 32;
  return WritePixMapPng(map, path, error);
}

bool RecordingGoldens() {
  const char* value = std::getenv("VELMORA_RECORD_GOLDENS");
  return value && *value && std::strcmp(value, "0") != 0;
}

GoldenOutcome CompareWithGolden(const Picture& actual, const std::string& goldenPath, const std::string& outputFolder,
                                GoldenTolerance tolerance) {
  GoldenOutcome outcome;
  std::string error;
  if (RecordingGoldens()) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(goldenPath).parent_path(), ignored);
    outcome.matched = WritePngPicture(actual, goldenPath, &error);
    outcome.message = outcome.matched ? "recorded " + goldenPath : error;
    return outcome;
  }
  // What a failure leaves behind for a person to look at.
  const std::filesystem::path folder(outputFolder);
  const std::string name = std::filesystem::path(goldenPath).stem().string();
  auto keep = [&](const Picture& picture, const char* what, const std::string& suffix) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = (folder / (name + suffix)).string();
    std::string why;
    return WritePngPicture(picture, path, &why) ? std::string("; ") + what + ": " + path : "; " + why;
  };

  Picture golden;
  if (!ReadPngPicture(goldenPath, &golden, &error)) {
    outcome.message = error + " (VELMORA_RECORD_GOLDENS=1 records it)" + keep(actual, "actual", ".actual.png");
    return outcome;
  }
  const bool sameSize = actual.width == golden.width && actual.height == golden.height;
  if (sameSize && actual.pixels == golden.pixels) {
    outcome.matched = true;
    return outcome;
  }

  // The diff covers both pictures; a pixel only one of them has differs.
  Picture diff;
  diff.width = std::max(actual.width, golden.width);
  diff.height = std::max(actual.height, golden.height);
  diff.pixels.assign(std::size_t(diff.width) * std::size_t(diff.height), kOnlyOne);
  const int commonWidth = std::min(actual.width, golden.width), commonHeight = std::min(actual.height, golden.height);
  std::size_t differing = diff.pixels.size() - std::size_t(commonWidth) * std::size_t(commonHeight);
  for (int y = 0; y < commonHeight; ++y) {
    const UInt32* a = actual.pixels.data() + std::size_t(y) * std::size_t(actual.width);
    const UInt32* g = golden.pixels.data() + std::size_t(y) * std::size_t(golden.width);
    UInt32* d = diff.pixels.data() + std::size_t(y) * std::size_t(diff.width);
    for (int x = 0; x < commonWidth; ++x) {
      const bool same = Close(a[x], g[x], tolerance.channel);
      d[x] = same ? Faded(g[x]) : kDifferent;
      if (!same) ++differing;
    }
  }
  const double share = double(differing) / double(diff.pixels.size());
  outcome.matched = sameSize && share <= tolerance.share;
  if (outcome.matched) return outcome;
  outcome.message = goldenPath + ": " + std::to_string(differing) + " pixels differ (" + Percent(share) + ", " +
                    Percent(tolerance.share) + " allowed)";
  if (!sameSize) outcome.message += "; the golden is " + Size(golden) + ", the picture " + Size(actual);
  outcome.message += keep(actual, "actual", ".actual.png") + keep(diff, "diff", ".diff.png");
  return outcome;
}

}  // namespace vlui
