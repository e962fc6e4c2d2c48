// Runs one script test of the whole program:
//   vl_scripttest PROGRAM SCRIPT WORK CONFIG
// makes the working folder WORK and the configuration folder CONFIG afresh, makes in them the
// files and folders the script's set-up lines name, runs PROGRAM --headless SCRIPT NAMES... in WORK with
// XDG_CONFIG_HOME set to CONFIG, and checks that the run ends with the status the script
// expects (its set-up lines are read by the script language, HeadlessScript.h).
//   vl_scripttest compare PICTURE.png GOLDEN.png [PIXELS]
// compares a picture the program wrote (a real window's, say) with a golden image as a script's
// compare line does, PIXELS of them allowed to differ (the mouse pointer an X screen shows, say);
// what a failure leaves goes beside the picture.
//   vl_scripttest grab SCREEN.xwd LEFT TOP WIDTH HEIGHT PICTURE.png
// writes that part of an X screen dump (the file a virtual X server keeps of its screen with
// -fbdir) as a PNG picture.
// Exits 0 when the run or the picture is as expected, 1 otherwise.
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "Golden.h"
#include "headless/HeadlessScript.h"

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

// Runs the program in the folder; its exit status, or -1 when it did not exit.
int RunIn(const fs::path& folder, const std::vector<std::string>& arguments) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (chdir(folder.c_str()) == 0) execv(argv[0], argv.data());
    std::perror(argv[0]);
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Compare(const std::string& picturePath, const std::string& golden, vlui::GoldenTolerance tolerance = {}) {
  vlui::Picture picture;
  std::string error;
  if (!vlui::ReadPngPicture(picturePath, &picture, &error)) return Fail(error);
  const vlui::GoldenOutcome outcome =
      vlui::CompareWithGolden(picture, golden, fs::absolute(picturePath).parent_path().string(), tolerance);
  return outcome.matched ? 0 : Fail(outcome.message);
}

// An X window dump: a header of big-endian 32-bit fields (XWDFile.h's order), the window's name,
// a colour table and the rows of pixels. Only 32-bit true colour pixels are read, as a virtual X
// server of depth 24 keeps them.
struct XwdHeader {
  enum Field { kHeaderSize, kVersion, kFormat, kDepth, kWidth, kHeight, kXOffset, kByteOrder,
               kBitmapUnit, kBitOrder, kBitmapPad, kBitsPerPixel, kBytesPerLine, kVisualClass,
               kRedMask, kGreenMask, kBlueMask, kBitsPerRgb, kColormapEntries, kColors, kFieldCount };
  std::array<std::uint32_t, kFieldCount> field{};
};

std::uint32_t Read32(const unsigned char* p, bool bigEndian) {
  return bigEndian ? std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3]
                   : std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

// The component a mask picks out of a pixel, as 0 to 255; masks of 8 bits only.
unsigned Component(std::uint32_t pixel, std::uint32_t mask) {
  int shift = 0;
  while (shift < 32 && !(mask >> shift & 1)) ++shift;
  return (pixel & mask) >> shift;
}

bool EightBitMask(std::uint32_t mask) {
  for (int shift = 0; shift <= 24; shift += 8)
    if (mask == std::uint32_t(0xFF) << shift) return true;
  return false;
}

int Grab(const std::string& dumpPath, const std::vector<std::string>& area, const std::string& picturePath) {
  long bounds[4] = {};
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    bounds[i] = std::strtol(area[i].c_str(), &end, 10);
    if (area[i].empty() || *end || bounds[i] < 0 || bounds[i] > 16384 || (i >= 2 && bounds[i] == 0))
      return Fail("grab: " + area[i] + " is no place or size on the screen");
  }
  std::ifstream in(dumpPath, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  XwdHeader h;
  if (bytes.size() < h.field.size() * 4) return Fail(dumpPath + ": no X window dump");
  for (std::size_t i = 0; i < h.field.size(); ++i) h.field[i] = Read32(&bytes[i * 4], true);
  const auto& f = h.field;
  if (f[XwdHeader::kVersion] != 7 || f[XwdHeader::kFormat] != 2 || f[XwdHeader::kBitsPerPixel] != 32 ||
      !EightBitMask(f[XwdHeader::kRedMask]) || !EightBitMask(f[XwdHeader::kGreenMask]) ||
      !EightBitMask(f[XwdHeader::kBlueMask]))
    return Fail(dumpPath + ": not a dump of 32-bit true colour pixels");
  const std::uint64_t width = f[XwdHeader::kWidth], height = f[XwdHeader::kHeight];
  const std::uint64_t rowBytes = f[XwdHeader::kBytesPerLine];
  const std::uint64_t start = std::uint64_t(f[XwdHeader::kHeaderSize]) + std::uint64_t(f[XwdHeader::kColors]) * 12;
  if (rowBytes < width * 4 || start + rowBytes * height > bytes.size())
    return Fail(dumpPath + ": the dump is shorter than its header says");
  const long left = bounds[0], top = bounds[1], w = bounds[2], hgt = bounds[3];
  if (std::uint64_t(left + w) > width || std::uint64_t(top + hgt) > height)
    return Fail("grab: the area lies outside the " + std::to_string(width) + " by " + std::to_string(height) + " screen");
  const bool bigEndian = f[XwdHeader::kByteOrder] == 1;
  vlui::Picture picture;
  picture.width = int(w);
  picture.height = int(hgt);
  picture.pixels.reserve(std::size_t(w * hgt));
  for (long y = top; y < top + hgt; ++y)
    for (long x = left; x < left + w; ++x) {
      const std::uint32_t p = Read32(&bytes[start + std::uint64_t(y) * rowBytes + std::uint64_t(x) * 4], bigEndian);
      picture.pixels.push_back(Component(p, f[XwdHeader::kRedMask]) << 16 |
                               Component(p, f[XwdHeader::kGreenMask]) << 8 | Component(p, f[XwdHeader::kBlueMask]));
    }
  std::string error;
  return vlui::WritePngPicture(picture, picturePath, &error) ? 0 : Fail(error);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "compare") return Compare(argv[2], argv[3]);
  if (argc == 5 && std::string(argv[1]) == "compare") {
    vlui::Picture golden;
    std::string error;
    const long pixels = std::strtol(argv[4], nullptr, 10);
    if (!vlui::ReadPngPicture(argv[3], &golden, &error)) return Fail(error);
    if (pixels < 0 || golden.pixels.empty()) return Fail("compare: no number of pixels " + std::string(argv[4]));
    return Compare(argv[2], argv[3], {0, double(pixels) / double(golden.pixels.size())});
  }
  if (argc == 8 && std::string(argv[1]) == "grab") return Grab(argv[2], {argv[3], argv[4], argv[5], argv[6]}, argv[7]);
  if (argc != 5)
    return Fail("usage: vl_scripttest PROGRAM SCRIPT WORK CONFIG, vl_scripttest compare PICTURE GOLDEN, or vl_scripttest grab SCREEN.xwd LEFT TOP WIDTH HEIGHT PICTURE");
  const std::string program = fs::absolute(argv[1]).string();
  const std::string script = fs::absolute(argv[2]).string();
  const fs::path work = fs::absolute(argv[3]), config = fs::absolute(argv[4]);

  vlheadless::ScriptSetup setup;
  std::string error;
  if (!vlheadless::LoadScriptSetup(script, &setup, &error)) return Fail(error);

  std::error_code failed;
  for (const fs::path& folder : {work, config}) {
    fs::remove_all(folder, failed);
    if (!fs::create_directories(folder, failed)) return Fail(folder.string() + ": cannot be made");
  }
  for (const std::string& name : setup.folders) fs::create_directories(work / name, failed);
  for (const std::string& name : setup.make)
    if (!std::ofstream(work / name)) return Fail((work / name).string() + ": cannot be made");
  for (const std::string& name : setup.copies) {
    fs::copy_file(fs::path(script).parent_path() / name, work / name, fs::copy_options::overwrite_existing, failed);
    if (failed) return Fail((work / name).string() + ": cannot be copied");
  }
  for (const std::string& name : setup.config) {
    fs::create_directories((config / name).parent_path(), failed);
    if (!std::ofstream(config / name)) return Fail((config / name).string() + ": cannot be made");
  }
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);

  std::vector<std::string> command{program, "--headless", script};
  command.insert(command.end(), setup.arguments.begin(), setup.arguments.end());
  const int status = RunIn(work, command);
  if (status != setup.exitStatus) {
    std::string line;
    for (const std::string& word : command) line += (line.empty() ? "" : " ") + word;
    return Fail(line + " exited with " + std::to_string(status) + ", expected " + std::to_string(setup.exitStatus));
  }
  return 0;
}
