#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "AppResources.h"
#include "Folders.h"
#include "Profile.h"
#include "Resources.h"
#include "ShellStartup.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

// A configuration folder of its own for each test.
class ConfigFolder : public ::testing::Test {
 protected:
  std::string IniText() const { return vltest::TempFolder::Read((config.Root() / "velmora" / "vl.ini").string()); }

  vltest::TempFolder config;
  const std::string home = config.UseAsConfigHome();
  const fs::path& folder = config.Root();
};

// The screen of the placement tests: 800 by 600 with a 20-pixel caption.
ScreenMetrics Screen800() {
  ScreenMetrics screen;
  PortSetRect(&screen.area, 0, 0, 800, 600);
  screen.fullScreenWidth = 800;
  screen.fullScreenHeight = 560;
  screen.captionHeight = 20;
  return screen;
}

// The INI file as the program names it: in the program's folder, kept in the configuration folder.
const std::string gIniPath = vlfiles::DataDir() + "/vl.INI";
const char* const kIni = gIniPath.c_str();

}  // namespace

TEST(ShellPaths, HelpFileBesideTheProgramAndIniFromIt) {
  char path[kShellPathSize];
  struct Case {
    const char* name;
    const char* module;
    const char* help;
    const char* ini;
  } cases[] = {
      {"vl.HLP", "/opt/velmora/share/velmora/velmora", "/opt/velmora/share/velmora/vl.HLP",
       "/opt/velmora/share/velmora/vl.INI"},
      {"/usr/share/doc/help.txt", "/opt/v/velmora", "/usr/share/doc/help.txt", "/usr/share/doc/help.INI"},
      {"manual", "/a/b", "/a/manual", "/a/manINI"},
      {"vl.HLP", "velmora", "vl.HLP", "vl.INI"},
      {"h", "/", "/h", "INI"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(BuildHelpFilePath(c.name, c.module, path, sizeof path)) << c.name;
    EXPECT_STREQ(path, c.help);
    IniPathFromHelpPath(path);
    EXPECT_STREQ(path, c.ini);
  }
  // A folder that leaves no room for a name gets "?" in its place.
  std::string deep = "/" + std::string(250, 'd') + "/velmora";
  EXPECT_TRUE(BuildHelpFilePath("vl.HLP", deep.c_str(), path, sizeof path));
  EXPECT_EQ(std::string(path), "/" + std::string(250, 'd') + "/?");
  IniPathFromHelpPath(path);
  EXPECT_EQ(std::string(path), "/" + std::string(249, 'd') + "INI");
  // An absolute name too long for the buffer is cut and reported.
  std::string longName = "/" + std::string(300, 'n');
  EXPECT_FALSE(BuildHelpFilePath(longName.c_str(), "/a/b", path, sizeof path));
  EXPECT_EQ(std::strlen(path), kShellPathSize - 1);
}

TEST(ShellTables, FileTypesAndMenuKeysFromTheResources) {
  EXPECT_EQ(gFileTypeTable[0].type, FourCC("TEXT"));
  EXPECT_STREQ(gFileTypeTable[0].extension, "vl");
  EXPECT_EQ(gFileTypeTable[3].type, 0x00445846u);  // 'DXF' with a zero high byte
  EXPECT_STREQ(gFileTypeTable[15].description, "QuickTime Movie (*.mov)");
  EXPECT_EQ(gFileTypeTable[kFileTypeRows].type, 0u);
  EXPECT_STREQ(gFileTypeTable[kFileTypeRows].extension, "???");

  vlres::InstallApplicationResources();
  std::vector<MenuKeyRecord> keys = LoadMenuKeyTable();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].words[0], 512);
  EXPECT_EQ(keys[0].words[1], 1);
  EXPECT_EQ(keys[0].words[2], 1);
  EXPECT_EQ(keys[0].key, ' ');
  EXPECT_STREQ(keys[0].text, "E&xit");
  EXPECT_EQ(keys[1].words[0], 0x8000);
  EXPECT_EQ(LoadShellString(kFrameTitleString), "Velmora");
  EXPECT_EQ(LoadShellString(kFrameTitleString, 3), "Vel");
  EXPECT_EQ(LoadShellString(32000), "");
  vlres::ResetResourceChain();
}

TEST(ShellTables, InitializationFailureMessages) {
  const std::pair<int, SInt16> cases[] = {{1, 2049}, {2, 2050}, {3, 2051}, {100, 2052},
                                          {101, 2053}, {102, 2054}, {7, 2056}, {-1, 2056}};
  for (auto [code, string] : cases) EXPECT_EQ(InitializationErrorString(code), string) << code;
}

TEST_F(ConfigFolder, NoFrameSectionCoversTheFullScreenBelowTheCaption) {
  FramePlacement placement = ReadFramePlacement(kIni, Screen800());
  EXPECT_TRUE(placement.stored);
  EXPECT_EQ(placement.bounds, (Rect{0, 0, 580, 800}));
  EXPECT_FALSE(placement.maximized);
  // Reading writes nothing.
  EXPECT_FALSE(fs::exists(folder / "velmora" / "vl.ini"));
}

TEST_F(ConfigFolder, StoredFrameIsTakenOnlyWhollyInsideTheScreen) {
  struct Case {
    int left, top, right, bottom;
    bool taken;
  } cases[] = {
      {10, 20, 790, 590, true},  {0, 0, 800, 600, true},    {-1, 0, 800, 600, false},
      {0, -1, 800, 600, false},  {0, 0, 801, 600, false},   {0, 0, 800, 601, false},
      {100, 100, 50, 400, false}, {100, 100, 400, 100, false}, {0, 0, 70000, 600, false},
  };
  for (const Case& c : cases) {
    for (auto [key, value] : {std::pair<const char*, int>{"left", c.left}, {"top", c.top}, {"right", c.right},
                              {"bottom", c.bottom}})
      ASSERT_TRUE(WritePrivateProfileStringA("FRAME", key, std::to_string(value).c_str(), kIni));
    FramePlacement placement = ReadFramePlacement(kIni, Screen800());
    EXPECT_EQ(placement.stored, c.taken) << c.left << " " << c.top << " " << c.right << " " << c.bottom;
    if (c.taken) {
      EXPECT_EQ(placement.bounds, (Rect{SInt16(c.top), SInt16(c.left), SInt16(c.bottom), SInt16(c.right)}));
    }
  }
}

TEST_F(ConfigFolder, PlacementWrittenOnExitIsReadOnTheNextStart) {
  ASSERT_TRUE(WriteFramePlacement(kIni, Rect{30, 40, 530, 740}, true));
  EXPECT_NE(IniText().find("[FRAME]"), std::string::npos);
  FramePlacement placement = ReadFramePlacement(kIni, Screen800());
  EXPECT_TRUE(placement.stored);
  EXPECT_EQ(placement.bounds, (Rect{30, 40, 530, 740}));
  EXPECT_TRUE(placement.maximized);
  // A negative edge is written as such and refused when read.
  ASSERT_TRUE(WriteFramePlacement(kIni, Rect{-5, 40, 530, 740}, false));
  placement = ReadFramePlacement(kIni, Screen800());
  EXPECT_FALSE(placement.stored);
  EXPECT_FALSE(placement.maximized);
  EXPECT_NE(IniText().find("top=-5"), std::string::npos);
}

TEST(ShellStartup, MaximizedOnlyTurnsANormalShowIntoAMaximizedOne) {
  EXPECT_EQ(FrameShowCommand(kShowNormal, true), kShowMaximized);
  EXPECT_EQ(FrameShowCommand(kShowNormal, false), kShowNormal);
  EXPECT_EQ(FrameShowCommand(kShowMinimized, true), kShowMinimized);
  EXPECT_EQ(FrameShowCommand(7, true), 7);
}

TEST_F(ConfigFolder, ThreeDFlagFromTheMdiSection) {
  EXPECT_EQ(ReadShellFlags(kIni, kShellFlagsInitial), kShellFlagsInitial | kShellFlag3D);
  ASSERT_TRUE(WritePrivateProfileStringA("MDI", "3D", "0", kIni));
  EXPECT_EQ(ReadShellFlags(kIni, kShellFlagsInitial | kShellFlag3D), UInt32(kShellFlagsInitial));
  ASSERT_TRUE(WritePrivateProfileStringA("MDI", "3D", "2", kIni));
  EXPECT_EQ(ReadShellFlags(kIni, kShellFlagsInitial), kShellFlagsInitial | kShellFlag3D);
}

TEST_F(ConfigFolder, ASecondInstanceFindsTheLockTaken) {
  InstanceLock first;
  ASSERT_TRUE(first.Acquire());
  EXPECT_TRUE(fs::exists(InstanceLock::LockPath()));
  {
    InstanceLock second;
    EXPECT_FALSE(second.Acquire());
  }
  first.Release();
  InstanceLock third;
  EXPECT_TRUE(third.Acquire());
}

TEST_F(ConfigFolder, CompanionStartsOnceAndIsClosedOnlyByWhoStartedIt) {
  // A companion that stays until it is asked to end; a script runs under its own name.
  fs::path bin = folder / "bin";
  fs::create_directories(bin);
  fs::path companion = bin / CompanionProgram::kName;
  {
    std::ofstream script(companion);
    script << "#!/bin/sh\nwhile :; do sleep 0.1; done\n";
  }
  fs::permissions(companion, fs::perms::owner_all);

  CompanionProgram missing;
  EXPECT_FALSE(missing.Start((folder / "nowhere").string()));

  CompanionProgram first;
  ASSERT_FALSE(CompanionProgram::IsRunning()) << "a companion of this user runs already";
  ASSERT_TRUE(first.Start(bin.string()));
  EXPECT_TRUE(first.Started());
  bool running = false;
  for (int i = 0; i < 200 && !(running = CompanionProgram::IsRunning()); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(running);

  CompanionProgram second;
  EXPECT_FALSE(second.Start(bin.string()));
  second.Close();  // did not start it: closes nothing
  EXPECT_TRUE(CompanionProgram::IsRunning());

  first.Close();
  EXPECT_FALSE(first.Started());
  EXPECT_FALSE(CompanionProgram::IsRunning());
}
