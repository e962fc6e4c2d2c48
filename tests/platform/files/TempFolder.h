// A fresh folder per test, with the configuration and data folders pointed into it so that tests
// never touch the user's real ~/.config.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FileOps.h"
#include "FilePaths.h"

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vlfiles-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ + "/config");
    std::filesystem::create_directories(root_ + "/data");
    setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
    setenv("VELMORA_DATA_DIR", (root_ + "/data").c_str(), 1);
  }
  void TearDown() override {
    vlfiles::CloseAllFiles();
    vlfiles::ResetFolderTable();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("VELMORA_DATA_DIR");
  }

  std::string Path(const std::string& leaf) const { return root_ + "/" + leaf; }

  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The names in a folder, hidden ones included, sorted.
  static std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string root_;
};
