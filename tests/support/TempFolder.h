// A folder of the running test's own, for the files a test writes: made empty when the helper is
// made and removed with everything in it when it goes. Its name holds the test's name and the
// process number, so tests running side by side (ctest -j, repeated or parameterised tests)
// never share one. Environment variables pointed into it (the user's configuration folder
// XDG_CONFIG_HOME above all, so that no test touches the real ~/.config) get their old values
// back when it goes.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vltest {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  // A path inside the folder (not made).
  std::string Path(const std::string& leaf) const { return (root_ / leaf).string(); }
  // Points the variable at the subfolder (made when missing; empty: the folder itself) until the
  // helper goes; the subfolder's path.
  std::string PointVariable(const char* variable, const std::string& subfolder = {});
  // The same for XDG_CONFIG_HOME.
  std::string UseAsConfigHome(const std::string& subfolder = {}) { return PointVariable("XDG_CONFIG_HOME", subfolder); }

  // Writes a file of the folder (subfolders made as needed); its path.
  std::string Write(const std::string& leaf, const std::string& bytes) const;
  // The bytes of a file; empty when it cannot be read.
  static std::string Read(const std::string& path);
  // The names in a folder, hidden ones included, sorted.
  static std::vector<std::string> Names(const std::string& folder);

 private:
  struct Saved {
    std::string variable;
    bool had;
    std::string value;
  };
  std::filesystem::path root_;
  std::vector<Saved> saved_;
};

}  // namespace vltest
