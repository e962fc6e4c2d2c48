// INI profile files.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "Profile.h"

namespace vlfuzz {
namespace {

// A folder of this process's own for the file, removed when the process ends.
struct Folder {
  std::string path;
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vlfuzz-ini-XXXXXX").string();
    if (mkdtemp(pattern.data())) path = pattern;
  }
  ~Folder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

// The zero-terminated strings of a list the profile answers.
std::vector<std::string> List(const std::vector<char>& buffer, DWORD length) {
  std::vector<std::string> items;
  for (DWORD at = 0; at < length;) {
    std::string item(&buffer[at]);
    at += DWORD(item.size()) + 1;
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace

Outcome ReadProfile(const std::uint8_t* data, std::size_t size) {
  static const Folder folder;
  if (folder.path.empty()) return Refused("no folder for the profile");
  const std::string path = folder.path + "/fuzz.ini";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  // Each call reads the whole file again: a few sections and keys are enough.
  constexpr std::size_t kSome = 8;
  std::vector<char> buffer(4096);
  const DWORD sections =
      GetPrivateProfileStringA(nullptr, nullptr, "", buffer.data(), DWORD(buffer.size()), path.c_str());
  std::vector<std::string> names = List(buffer, sections);
  if (names.size() > kSome) names.resize(kSome);
  for (const std::string& section : names) {
    GetPrivateProfileSectionA(section.c_str(), buffer.data(), DWORD(buffer.size()), path.c_str());
    const DWORD keys =
        GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), DWORD(buffer.size()), path.c_str());
    std::vector<std::string> keyNames = List(buffer, keys);
    if (keyNames.size() > kSome) keyNames.resize(kSome);
    for (const std::string& key : keyNames) {
      char value[256];
      GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, path.c_str());
      GetPrivateProfileIntA(section.c_str(), key.c_str(), 0, path.c_str());
    }
  }
  // A write keeps every other line.
  const char* section = names.empty() ? "FRAME" : names.front().c_str();
  WritePrivateProfileStringA(section, "Fuzzed", "1", path.c_str());
  WritePrivateProfileStringA(section, "Fuzzed", nullptr, path.c_str());
  return Accepted();
}

}  // namespace vlfuzz
