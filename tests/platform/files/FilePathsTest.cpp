#include <gtest/gtest.h>

#include "FilePaths.h"
#include "PString.h"
#include "FilesTestSupport.h"

using namespace vlfiles;

class FileSpecTest : public TempFolderTest {};

TEST_F(FileSpecTest, PathsRoundTripThroughSpecs) {
  struct Case {
    std::string disk;      // leaf name on disk (UTF-8)
    std::string mac;       // the FSSpec's name (Mac Roman bytes)
  };
  const Case cases[] = {
      {"plan.vl", "plan.vl"},
      {"Caf\xC3\xA9 fa\xC3\xA7" "ade.vl", "Caf\x8E fa\x8D" "ade.vl"},  // é and ç
      {"\xCE\xA9mega \xE2\x88\x9E", "\xBDmega \xB0"},                  // Ω and ∞
      {"a:b", "a/b"},                                                   // separators swap
      {std::string(63, 'x'), std::string(63, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.disk);
    FSSpec spec;
    ASSERT_TRUE(SpecFromPath(Path(c.disk), &spec));
    EXPECT_EQ(spec.vRefNum, kVolumeRef);
    EXPECT_EQ(PStrToStd(spec.name), c.mac);
    EXPECT_EQ(spec.parID, FolderIdForPath(root_));
    EXPECT_EQ(PathFromSpec(spec), Path(c.disk));
  }
}

TEST_F(FileSpecTest, NamesWithoutASpecAreRefused) {
  const std::string refused[] = {
      std::string(64, 'x'),         // too long
      "\xE6\x97\xA5\xE6\x9C\xAC",  // no Mac Roman form
      "bad\xFFutf8",
  };
  for (const std::string& leaf : refused) {
    SCOPED_TRACE(leaf);
    FSSpec spec;
    EXPECT_FALSE(SpecFromPath(Path(leaf), &spec));
    EXPECT_EQ(PortPathToFileSpec(Path(leaf).c_str(), &spec), bdNamErr);
    EXPECT_EQ(spec.name[0], 0);
  }

  // Names no file can have give no path, and neither does an unknown folder.
  FSSpec spec;
  spec.vRefNum = kVolumeRef;
  spec.parID = FolderIdForPath(root_);
  for (const char* name : {"", ".", "..", "a:b"}) {
    PStrFromStd(name, spec.name, 63);
    EXPECT_EQ(PathFromSpec(spec), "") << name;
  }
  PStrFromStd("ok", spec.name, 63);
  spec.parID = 99999;
  EXPECT_EQ(PathFromSpec(spec), "");
}

TEST_F(FileSpecTest, FoldersKeepTheirIdsAndClimbToTheRoot) {
  std::filesystem::create_directories(Path("a/b"));
  SInt32 b = FolderIdForPath(Path("a/b"));
  EXPECT_EQ(FolderIdForPath(Path("a/./b/")), b);
  EXPECT_EQ(FolderIdForPath(Path("a/b/../b")), b);
  EXPECT_EQ(FolderIdForPath("/"), kRootDirID);

  // Climbing by the catalog's own-folder query spells the colon path.
  std::string built;
  SInt32 dir = b;
  for (int guard = 0; guard < 64; ++guard) {
    Str63 name;
    CatalogInfo info;
    info.name = name;
    info.index = -1;
    info.dirID = dir;
    ASSERT_EQ(PortFileParamCall(&info, false), noErr);
    EXPECT_EQ(info.entryDirID, dir);
    built = name.Std() + ":" + built;
    if (dir == kRootDirID) break;
    dir = info.parID;
  }
  EXPECT_EQ(built, MacPathFromPath(Path("a/b")) + ":");
  EXPECT_EQ(PathFromMacPath(MacPathFromPath(Path("a/b"))), Path("a/b"));
  EXPECT_EQ(PathFromMacPath("Elsewhere:x"), "");
}

TEST_F(FileSpecTest, FolderReferencesAndTheDefaultFolder) {
  SInt16 ref = FolderRef(FolderIdForPath(root_));
  EXPECT_EQ(FolderRef(FolderIdForPath(root_)), ref);
  char path[256];
  ASSERT_EQ(PortFullPathName(ref, Str63("out.dxf"), path, sizeof path), noErr);
  EXPECT_EQ(std::string(path), Path("out.dxf"));
  EXPECT_EQ(PortMakeFileSpec(-12345, 0, Str63("x"), path, sizeof path), nsvErr);

  // A path that does not fit the buffer is refused whole, never cut.
  char small[8];
  EXPECT_EQ(PortMakeFileSpec(ref, 0, Str63("out.dxf"), small, sizeof small), bdNamErr);
  EXPECT_EQ(small[0], 0);

  // The default folder follows PortSetVol with a folder reference.
  std::filesystem::create_directories(Path("sub"));
  ASSERT_EQ(PortSetVol(nullptr, FolderRef(FolderIdForPath(Path("sub")))), noErr);
  ASSERT_EQ(PortMakeFileSpec(kVolumeRef, 0, Str63("f"), path, sizeof path), noErr);
  EXPECT_EQ(std::string(path), Path("sub/f"));
  SInt16 current = 0;
  PortGetVol(nullptr, &current);
  EXPECT_EQ(current, FolderRef(FolderIdForPath(Path("sub"))));
}
