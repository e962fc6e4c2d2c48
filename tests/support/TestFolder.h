// A folder of the running test's own (named after the process and the test), made empty at the
// start and removed at the end; with asConfig it is also the user's configuration folder
// (XDG_CONFIG_HOME) meanwhile.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

class TestFolder {
 public:
  TestFolder(const std::string& prefix, bool asConfig) : config(asConfig) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    path = std::filesystem::path(testing::TempDir()) / (prefix + "-" + std::to_string(::getpid()) + "-" +
                                                        test->test_suite_name() + "-" + test->name());
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    if (!config) return;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    hadOld = old != nullptr;
    if (old) saved = old;
    setenv("XDG_CONFIG_HOME", path.c_str(), 1);
  }
  ~TestFolder() {
    if (config) {
      if (hadOld)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
      else
        unsetenv("XDG_CONFIG_HOME");
    }
    std::filesystem::remove_all(path);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // A file of the folder holding "x"; its path.
  std::string File(const std::string& name) const {
    std::ofstream(path / name) << "x";
    return (path / name).string();
  }

  std::filesystem::path path;

 private:
  bool config;
  bool hadOld = false;
  std::string saved;
};
