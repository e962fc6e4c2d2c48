#include <gtest/gtest.h>

#include "Folders.h"
#include "FilesTestSupport.h"

using namespace vlfiles;

class DataFoldersTest : public TempFolderTest {};

TEST_F(DataFoldersTest, ConfigurationAndDataFolders) {
  EXPECT_EQ(ConfigDir(), Path("config/velmora"));
  EXPECT_FALSE(std::filesystem::exists(Path("config/velmora")));
  EXPECT_EQ(ConfigDir(true), Path("config/velmora"));
  EXPECT_TRUE(std::filesystem::is_directory(Path("config/velmora")));

  // A relative XDG_CONFIG_HOME is ignored in favour of ~/.config.
  std::string home = getenv("HOME") ? getenv("HOME") : "";
  setenv("HOME", root_.c_str(), 1);
  setenv("XDG_CONFIG_HOME", "relative/config", 1);
  EXPECT_EQ(ConfigDir(), Path(".config/velmora"));
  setenv("HOME", home.c_str(), 1);

  EXPECT_EQ(DataDir(), Path("data"));
  EXPECT_EQ(ProgramPath().rfind(Path("data") + "/", 0), 0u);
  unsetenv("VELMORA_DATA_DIR");
  // Run from the build tree, the data folder is the build tree's.
  EXPECT_NE(DataDir().find("/share/velmora"), std::string::npos);
  EXPECT_FALSE(ExecutablePath().empty());
}

TEST_F(DataFoldersTest, TemporaryNamesAreNewInTheirFolder) {
  std::string a = TemporaryPathBeside(Path("doc.vl"));
  EXPECT_EQ(a.rfind(root_ + "/.", 0), 0u);
  Write(a, "taken");
  EXPECT_NE(TemporaryPathBeside(Path("doc.vl")), a);
  // A very long target name still gives a name the file system takes.
  std::string longName(250, 'x');
  std::string t = TemporaryPathBeside(Path(longName));
  Write(t, "ok");
  EXPECT_EQ(Read(t), "ok");

  SInt32 dir = FolderIdForPath(root_);
  UInt32 n = TemporaryNumber(kVolumeRef, dir, "VL Temp ");
  EXPECT_FALSE(std::filesystem::exists(Path("VL Temp " + std::to_string(n))));
  EXPECT_NE(TemporaryNumber(kVolumeRef, dir), n);
}
