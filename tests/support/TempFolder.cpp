#include "TempFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace vltest {

namespace {

// The running test's full name, made safe for a file name (parameterised names hold '/').
std::string TestName() {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "outside-a-test";
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '_';
  return name;
}

}  // namespace

TempFolder::TempFolder() {
  static int made = 0;  // a test may hold more than one
  root_ = std::filesystem::path(testing::TempDir()) /
          ("vl-" + TestName() + "-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
  std::filesystem::create_directories(root_);
}

TempFolder::~TempFolder() {
  // Put back in the reverse order, so a variable pointed twice ends as it was before the first.
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    if (it->had)
      setenv(it->variable.c_str(), it->value.c_str(), 1);
    else
      unsetenv(it->variable.c_str());
  }
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string TempFolder::PointVariable(const char* variable, const std::string& subfolder) {
  const std::filesystem::path target = subfolder.empty() ? root_ : root_ / subfolder;
  std::filesystem::create_directories(target);
  const char* old = std::getenv(variable);
  saved_.push_back(Saved{variable, old != nullptr, old ? old : ""});
  setenv(variable, target.c_str(), 1);
  return target.string();
}

std::string TempFolder::Write(const std::string& leaf, const std::string& bytes) const {
  const std::filesystem::path path = root_ / leaf;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

std::string TempFolder::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> TempFolder::Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vltest
