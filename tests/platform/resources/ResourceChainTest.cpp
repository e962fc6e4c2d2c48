// The resource chain: the application's resources, files opened above them, loading, changing,
// writing and reading back, and damaged files.
#include "AppResources.h"
#include "FileOps.h"
#include "FilePaths.h"
#include "PString.h"
#include "ResourceTestSupport.h"
#include "SafeReplace.h"

using namespace restest;

namespace {

const ResType kStrList = FourCC("STR#");

// A small table standing in for the application's resources.
const unsigned char kAppList[] = {0, 2, 3, 'a', 'p', 'p', 4, 'b', 'a', 's', 'e'};
const unsigned char kAppText[] = {'h', 'i'};
const unsigned char kAppTextName[] = {5, 'G', 'r', 'e', 'e', 't'};
const vlres::CompiledResource kAppTable[] = {
    {FourCC("STR#"), 128, nullptr, kAppList, sizeof kAppList},
    {FourCC("TEXT"), 1, kAppTextName, kAppText, sizeof kAppText},
    {FourCC("TEXT"), 2, nullptr, kAppText, 1},
};

// Writes a bare resource fork holding resources to path.
void WriteForkFile(const std::string& path, const std::vector<vlres::ResourceData>& resources) {
  Bytes fork;
  ASSERT_EQ(vlres::WriteResourceFork(resources, &fork), noErr);
  WriteAll(path, fork);
}

// An AppleDouble file: its header, then the entry count, entries and data given.
Bytes AppleDouble(const std::string& countEntriesAndData) {
  std::string bytes("\0\x05\x16\x07\0\x02\0\0", 8);
  bytes.append(16, '\0');
  bytes += countEntriesAndData;
  return Bytes(bytes.begin(), bytes.end());
}

class ResourceChain : public ChainTest {};

}  // namespace

TEST_F(ResourceChain, ProgramStringListItemsReadBackByNumber) {
  vlres::InstallApplicationResources();
  EXPECT_EQ(ListString(128, 5), "Untitled");
  EXPECT_EQ(PortResError(), noErr);
  EXPECT_EQ(ListString(128, 3), "Undo ");
  EXPECT_EQ(ListString(135, 11), "the file could not be found");
  EXPECT_EQ(ListString(132, 5), "End of Phases");
}

TEST_F(ResourceChain, MissingListsAndItemsGiveEmptyTextAndResourceError) {
  vlres::InstallResourceTable(kAppTable, std::size(kAppTable));
  struct Case {
    SInt16 list, item;
    std::string text;
    OSErr err;
  } cases[] = {
      {128, 1, "app", noErr},    {128, 2, "base", noErr},    {128, 3, "", resNotFound},
      {128, 0, "", resNotFound}, {128, -1, "", resNotFound}, {999, 1, "", resNotFound},
  };
  for (const Case& c : cases) {
    unsigned char buffer[256] = {9, 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    PortGetListString(buffer, c.list, c.item);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer + 1), buffer[0]), c.text) << c.list << "/" << c.item;
    EXPECT_EQ(PortResError(), c.err) << c.list << "/" << c.item;
  }
}

TEST_F(ResourceChain, DamagedStringListGivesResourceErrorNotGarbage) {
  const unsigned char damaged[] = {0, 3, 2, 'o', 'k', 200, 'x'};  // item 2 runs past the end
  const vlres::CompiledResource table[] = {{kStrList, 5, nullptr, damaged, sizeof damaged}};
  vlres::InstallResourceTable(table, 1);
  EXPECT_EQ(ListString(5, 1), "");
  EXPECT_EQ(PortResError(), resNotFound);
}

TEST_F(ResourceChain, LoadedResourceKeepsItsHandleUntilReleased) {
  vlres::InstallResourceTable(kAppTable, std::size(kAppTable));
  Handle a = PortLoadResource(FourCC("TEXT"), 1);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(HandleText(a), "hi");
  EXPECT_EQ(PortLoadResource(FourCC("TEXT"), 1), a);
  EXPECT_EQ(PortGetNamedResource(FourCC("TEXT"), Str255("greet")), a);  // names ignore case
  EXPECT_TRUE(PortGetHandleState(a) & kHandleResourceBit);
  SInt16 id = 0;
  ResType type = 0;
  Str255 name;
  PortGetResInfo(a, &id, &type, name);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(type, FourCC("TEXT"));
  EXPECT_EQ(name.Std(), "Greet");
  EXPECT_EQ(PortHomeResFile(a), vlres::ApplicationResFile());

  long live = PortLiveHandleCount();
  PortReleaseResource(a);
  EXPECT_EQ(PortResError(), noErr);
  EXPECT_EQ(PortLiveHandleCount(), live - 1);
  Handle b = PortLoadResource(FourCC("TEXT"), 1);
  EXPECT_EQ(HandleText(b), "hi");

  PortDetachResource(b);  // now the caller's
  EXPECT_FALSE(PortGetHandleState(b) & kHandleResourceBit);
  PortReleaseResource(b);
  EXPECT_EQ(PortResError(), resNotFound);
  EXPECT_NE(PortLoadResource(FourCC("TEXT"), 1), b);
  PortFreeHandle(b);

  EXPECT_EQ(PortLoadResource(FourCC("TEXT"), 3), nullptr);
  EXPECT_EQ(PortResError(), resNotFound);
}

TEST_F(ResourceChain, CountsAndIndexesCoverTheChain) {
  vltest::TempFolder dir;
  vlres::InstallResourceTable(kAppTable, std::size(kAppTable));
  WriteForkFile(dir.Path("extra.rsrc"), {Resource(FourCC("TEXT"), 9, "file")});
  SInt16 ref = PortOpenResFilePath(dir.Path("extra.rsrc").c_str(), kResPermRead);
  ASSERT_GT(ref, 0);
  EXPECT_EQ(PortCountResources(FourCC("TEXT")), 3);
  EXPECT_EQ(PortCountResourcesHere(FourCC("TEXT")), 1);
  EXPECT_EQ(HandleText(PortGetIndResource(FourCC("TEXT"), 1)), "file");  // current file first
  EXPECT_EQ(HandleText(PortGetIndResource(FourCC("TEXT"), 2)), "hi");
  EXPECT_EQ(PortGetIndResource(FourCC("TEXT"), 4), nullptr);
  EXPECT_EQ(PortResError(), resNotFound);
  EXPECT_EQ(PortGetIndResourceHere(FourCC("TEXT"), 2), nullptr);
}

TEST_F(ResourceChain, FileOpenedLaterOverridesUntilClosed) {
  vltest::TempFolder dir;
  SInt16 app = vlres::InstallResourceTable(kAppTable, std::size(kAppTable));
  WriteForkFile(dir.Path("plugin"), {Resource(kStrList, 128, StringList({"plug-in"}))});
  EXPECT_EQ(PortCurResFile(), app);

  SInt16 ref = PortOpenResFilePath(dir.Path("plugin").c_str(), kResPermRead);
  ASSERT_NE(ref, -1);
  EXPECT_NE(ref, app);
  EXPECT_EQ(PortCurResFile(), ref);
  EXPECT_EQ(ListString(128, 1), "plug-in");
  EXPECT_EQ(ListString(128, 2), "");  // the file's list hides the application's whole list
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("TEXT"), 1)), "hi");  // searched down the chain
  EXPECT_EQ(PortGetResourceHere(FourCC("TEXT"), 1), nullptr);
  EXPECT_EQ(PortResError(), resNotFound);

  // Opening the same file again gives the same reference number.
  EXPECT_EQ(PortOpenResFilePath(dir.Path("plugin").c_str(), kResPermRead), ref);

  // The application's file made current searches only from there down.
  PortUseResFile(app);
  EXPECT_EQ(ListString(128, 1), "app");
  PortUseResFile(ref);
  Handle fromFile = PortLoadResource(kStrList, 128);
  EXPECT_EQ(PortHomeResFile(fromFile), ref);

  PortUseResFile(4242);
  EXPECT_EQ(PortResError(), resFNotFound);
  EXPECT_EQ(PortCurResFile(), ref);

  PortCloseResFile(ref);
  EXPECT_EQ(PortResError(), noErr);
  EXPECT_EQ(PortCurResFile(), app);
  EXPECT_EQ(ListString(128, 1), "app");
  PortUseResFile(ref);
  EXPECT_EQ(PortResError(), resFNotFound);
  // The application's resources are never closed.
  PortCloseResFile(app);
  EXPECT_EQ(ListString(128, 2), "base");
}

TEST_F(ResourceChain, MostRecentlyOpenedFileIsSearchedFirst) {
  vltest::TempFolder dir;
  vlres::InstallResourceTable(kAppTable, std::size(kAppTable));
  WriteForkFile(dir.Path("a"), {Resource(FourCC("TEXT"), 1, "a"), Resource(FourCC("TEXT"), 5, "a5")});
  WriteForkFile(dir.Path("b"), {Resource(FourCC("TEXT"), 1, "b")});
  SInt16 a = PortOpenResFilePath(dir.Path("a").c_str(), kResPermRead);
  SInt16 b = PortOpenResFilePath(dir.Path("b").c_str(), kResPermRead);
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("TEXT"), 1)), "b");
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("TEXT"), 5)), "a5");
  PortUseResFile(a);
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("TEXT"), 1)), "a");
  // Closing the current file makes the top of the chain current.
  PortCloseResFile(a);
  EXPECT_EQ(PortCurResFile(), b);
}

TEST_F(ResourceChain, ResourcesAddedToADataFileAreWrittenBesideItAndReadBack) {
  vltest::TempFolder dir;
  const std::string doc = dir.Path("Plan.vl");
  WriteAll(doc, "document data\n");
  PortCreateResFilePath(doc.c_str());
  ASSERT_EQ(PortResError(), noErr);
  PortCreateResFilePath(doc.c_str());
  EXPECT_EQ(PortResError(), dupFNErr);

  SInt16 ref = PortOpenResFilePath(doc.c_str(), kResPermReadWrite);
  ASSERT_NE(ref, -1);
  Handle sect = PortHandleFromBytes("section", 7);
  PortAddResource(sect, FourCC("sect"), 12, nullptr);
  EXPECT_EQ(PortResError(), noErr);
  Handle named = PortHandleFromBytes("alias!", 6);
  PortAddResource(named, FourCC("alis"), 12, Str255("Link"));
  PortAddResource(named, FourCC("alis"), 13, nullptr);  // already a resource
  EXPECT_EQ(PortResError(), addResFailed);
  PortAddResource(nullptr, FourCC("alis"), 14, nullptr);
  EXPECT_EQ(PortResError(), addResFailed);
  EXPECT_EQ(PortLoadResource(FourCC("sect"), 12), sect);

  // Changes to a loaded block are kept once it is marked changed.
  PortResizeHandle(sect, 8);
  (*sect)[7] = '2';
  PortChangedResource(sect);
  PortCloseResFile(ref);
  ASSERT_EQ(PortResError(), noErr);

  EXPECT_EQ(ReadAll(doc), Bytes({'d', 'o', 'c', 'u', 'm', 'e', 'n', 't', ' ', 'd', 'a', 't', 'a', '\n'}));
  ASSERT_TRUE(std::filesystem::exists(dir.Path("._Plan.vl")));

  ref = PortOpenResFilePath(doc.c_str(), kResPermRead);
  ASSERT_NE(ref, -1);
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("sect"), 12)), "section2");
  Handle alias = PortGetNamedResource(FourCC("alis"), Str255("link"));
  EXPECT_EQ(HandleText(alias), "alias!");
  // A read-only file takes no changes.
  Handle refused = PortHandleFromBytes("x", 1);
  PortAddResource(refused, FourCC("TEXT"), 1, nullptr);
  EXPECT_EQ(PortResError(), addResFailed);
  PortFreeHandle(refused);
  PortChangedResource(alias);
  EXPECT_EQ(PortResError(), resAttrErr);
  PortRemoveResource(alias);
  EXPECT_EQ(PortResError(), rmvResFailed);
}

TEST_F(ResourceChain, AddingTheSameNumberAgainReplacesTheResource) {
  vltest::TempFolder dir;
  const std::string path = dir.Path("res");
  PortCreateResFilePath(path.c_str());
  SInt16 ref = PortOpenResFilePath(path.c_str(), kResPermReadWrite);
  PortAddResource(PortHandleFromBytes("old", 3), FourCC("VLPb"), 3, nullptr);
  PortUpdateResFile(ref);
  PortAddResource(PortHandleFromBytes("new", 3), FourCC("VLPb"), 3, nullptr);
  EXPECT_EQ(PortCountResourcesHere(FourCC("VLPb")), 1);
  PortCloseResFile(ref);
  ref = PortOpenResFilePath(path.c_str(), kResPermRead);
  EXPECT_EQ(PortCountResourcesHere(FourCC("VLPb")), 1);
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("VLPb"), 3)), "new");
}

TEST_F(ResourceChain, RemovedResourceBecomesTheCallersAndLeavesTheFile) {
  vltest::TempFolder dir;
  const std::string path = dir.Path("flat.rsrc");
  WriteForkFile(path, {Resource(FourCC("TEXT"), 1, "one"), Resource(FourCC("TEXT"), 2, "two")});
  SInt16 ref = PortOpenResFilePath(path.c_str(), kResPermReadWrite);
  Handle one = PortLoadResource(FourCC("TEXT"), 1);
  PortRemoveResource(one);
  EXPECT_EQ(PortResError(), noErr);
  EXPECT_EQ(HandleText(one), "one");
  PortFreeHandle(one);
  Handle two = PortLoadResource(FourCC("TEXT"), 2);
  PortResizeHandle(two, 0);
  PortChangedResource(two);
  PortWriteResource(two);
  PortReleaseResource(two);
  PortCloseResFile(ref);

  // A bare fork file is written back in place as a bare fork.
  std::vector<vlres::ResourceData> back;
  Bytes bytes = ReadAll(path);
  ASSERT_EQ(vlres::ReadResourceFork(bytes.data(), bytes.size(), &back), noErr);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].id, 2);
  EXPECT_TRUE(back[0].bytes.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.Path("._flat.rsrc")));
}

TEST_F(ResourceChain, SidecarKeepsItsOtherEntries) {
  vltest::TempFolder dir;
  const std::string doc = dir.Path("doc");
  WriteAll(doc, "data");
  // An AppleDouble sidecar with a Finder-information entry and no resource fork.
  WriteAll(dir.Path("._doc"), AppleDouble(std::string("\0\1\0\0\0\x09\0\0\0\x26\0\0\0\x04INFO", 18)));

  EXPECT_EQ(PortOpenResFilePath(doc.c_str(), kResPermRead), -1);
  EXPECT_EQ(PortResError(), eofErr);
  PortCreateResFilePath(doc.c_str());
  ASSERT_EQ(PortResError(), noErr);
  SInt16 ref = PortOpenResFilePath(doc.c_str(), kResPermReadWrite);
  PortAddResource(PortHandleFromBytes("r", 1), FourCC("TEXT"), 1, nullptr);
  PortCloseResFile(ref);
  Bytes after = ReadAll(dir.Path("._doc"));
  std::string text(after.begin(), after.end());
  EXPECT_NE(text.find("INFO"), std::string::npos);
  ref = PortOpenResFilePath(doc.c_str(), kResPermRead);
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("TEXT"), 1)), "r");
}

TEST_F(ResourceChain, FilesThatCannotBeOpenedAreRefusedCleanly) {
  vltest::TempFolder dir;
  vlres::InstallResourceTable(kAppTable, std::size(kAppTable));
  Bytes fork;
  vlres::WriteResourceFork({Resource(kStrList, 128, StringList({"x", "y"}), "List")}, &fork);
  Bytes truncated(fork.begin(), fork.end() - 5);
  Bytes badMap = fork;
  badMap[fork.size() - 20] = 0x7F;  // a reference's data offset far past the data
  // A resource-fork entry whose length runs past the end of the sidecar.
  Bytes sidecarCut = AppleDouble(std::string("\0\1\0\0\0\x02\0\0\0\x26\x7F\0\0\0", 14));

  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    OSErr err;
  } cases[] = {
      {"missing", [](const std::string&) {}, resFNotFound},
      {"empty data file", [](const std::string& p) { WriteAll(p, ""); }, eofErr},
      {"text data file", [](const std::string& p) { WriteAll(p, "Just some text, no resources at all.\n"); },
       eofErr},
      {"truncated fork", [&](const std::string& p) { WriteAll(p, truncated); }, eofErr},
      {"damaged map", [&](const std::string& p) { WriteAll(p, badMap); }, mapReadErr},
      {"damaged sidecar",
       [&](const std::string& p) {
         WriteAll(p, "data");
         WriteAll(vlfiles::SidecarPath(p), sidecarCut);
       },
       mapReadErr},
      {"sidecar without its file", [&](const std::string& p) { WriteAll(vlfiles::SidecarPath(p), fork); },
       resFNotFound},
      {"folder", [](const std::string& p) { std::filesystem::create_directory(p); }, resFNotFound},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string path = dir.Path("case" + std::to_string(++n));
    c.make(path);
    EXPECT_EQ(PortOpenResFilePath(path.c_str(), kResPermRead), -1) << c.name;
    EXPECT_EQ(PortResError(), c.err) << c.name;
    EXPECT_EQ(PortCurResFile(), vlres::ApplicationResFile()) << c.name;
  }
  EXPECT_EQ(PortOpenResFilePath(nullptr, kResPermRead), -1);
  EXPECT_EQ(PortResError(), resFNotFound);
  EXPECT_EQ(ListString(128, 1), "app");
}

TEST_F(ResourceChain, FilesAreFoundBySpecAndByFolder) {
  vltest::TempFolder dir;
  const std::string path = dir.Path("Umbrascope");
  WriteForkFile(path, {Resource(kStrList, 7002, StringList({"Building"}))});
  FSSpec spec;
  ASSERT_TRUE(vlfiles::SpecFromPath(path, &spec));
  SInt16 bySpec = PortOpenResFileSpec(&spec, kResPermRead);
  ASSERT_NE(bySpec, -1);
  EXPECT_EQ(ListString(7002, 1), "Building");
  EXPECT_EQ(PortOpenResFileIn(spec.vRefNum, spec.parID, spec.name, kResPermRead), bySpec);
  PortCloseResFile(bySpec);

  Str255 missing("No Such Plug-in");
  EXPECT_EQ(PortOpenResFileIn(spec.vRefNum, spec.parID, missing, kResPermRead), -1);
  EXPECT_EQ(PortResError(), resFNotFound);
  EXPECT_EQ(PortOpenResFileSpec(nullptr, kResPermRead), -1);
}

TEST_F(ResourceChain, FailedWriteLeavesTheFileAndKeepsTheChanges) {
  vltest::TempFolder dir;
  const std::string path = dir.Path("doc");
  WriteAll(path, "data");
  PortCreateResFilePath(path.c_str());
  const std::string sidecar = vlfiles::SidecarPath(path);
  const Bytes before = ReadAll(sidecar);
  SInt16 ref = PortOpenResFilePath(path.c_str(), kResPermReadWrite);
  PortAddResource(PortHandleFromBytes("section record", 14), FourCC("sect"), 1, nullptr);

  vlfiles::FailNextReplaceAfter(10);
  PortUpdateResFile(ref);
  EXPECT_EQ(PortResError(), dskFulErr);
  EXPECT_EQ(ReadAll(sidecar), before);

  // The changes are still there for the next write.
  PortUpdateResFile(ref);
  EXPECT_EQ(PortResError(), noErr);
  PortCloseResFile(ref);
  ref = PortOpenResFilePath(path.c_str(), kResPermRead);
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("sect"), 1)), "section record");
}
