// A fresh folder per test with the configuration and data folders (its subfolders "config" and
// "data") pointed into it, so that the files tests never touch the user's real ~/.config; the
// files layer forgets its open files and folder numbers afterwards.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "FileOps.h"
#include "FilePaths.h"
#include "TempFolder.h"

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_.UseAsConfigHome("config");
    temp_.PointVariable("VELMORA_DATA_DIR", "data");
  }
  void TearDown() override {
    vlfiles::CloseAllFiles();
    vlfiles::ResetFolderTable();
  }

  std::string Path(const std::string& leaf) const { return temp_.Path(leaf); }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) { return vltest::TempFolder::Read(path); }
  static std::vector<std::string> Names(const std::string& folder) { return vltest::TempFolder::Names(folder); }

  vltest::TempFolder temp_;
  const std::string root_ = temp_.Root().string();
};
