#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "FileOps.h"
#include "FileTypes.h"
#include "Folders.h"
#include "PString.h"
#include "FilesTestSupport.h"

using namespace vlfiles;

namespace {

FileTypeRecord Row(const char* code, const char* ext, const char* text) {
  FileTypeRecord r{};
  r.type = (OSType(UInt8(code[0])) << 24) | (OSType(UInt8(code[1])) << 16) | (OSType(UInt8(code[2])) << 8) |
           OSType(UInt8(code[3]));
  std::snprintf(r.extension, sizeof r.extension, "%s", ext);
  std::snprintf(r.description, sizeof r.description, "%s", text);
  return r;
}

void InstallTable() {
  const FileTypeRecord table[] = {
      Row("TEXT", "vl", "Velmora (*.vl)"),
      Row("3DMF", "3dmf", "QuickDraw 3D (*.3dmf)"),
      Row("3DTX", "3dmf", "QuickDraw 3D ASCII (*.3dmf)"),
      Row("\0DXF", "dxf", "AutoCAD DXF (*.dxf)"),
      Row("\0\0\0\0", "???", ""),
  };
  PortSetFileTypes(table, nullptr);
}

bool HasExtendedAttributes(const std::string& folder) {
  std::string probe = folder + "/probe";
  std::fclose(std::fopen(probe.c_str(), "w"));
  bool ok = SetTypeAndCreator(probe, FourCC("TEXT"), 0);
  OSType t = 0;
  GetTypeAndCreator(probe, &t, nullptr);
  std::remove(probe.c_str());
  return ok && t == FourCC("TEXT");
}

}  // namespace

class FileOpsTest : public TempFolderTest {
 protected:
  FSSpec SpecOf(const std::string& leaf) {
    FSSpec spec;
    EXPECT_TRUE(SpecFromPath(Path(leaf), &spec));
    return spec;
  }
};

TEST_F(FileOpsTest, TypesFollowExtensionsUnlessKeptWithTheFile) {
  InstallTable();
  EXPECT_EQ(TypeForExtension("DXF"), 0x00445846u);
  EXPECT_EQ(TypeForExtension("3dmf"), FourCC("3DMF"));  // the first row wins
  EXPECT_EQ(TypeForExtension("doc"), 0u);
  EXPECT_EQ(ExtensionForType(FourCC("TEXT")), "vl");

  Write(Path("plain.dxf"), "0\nEOF\n");
  Write(Path("notes"), "x");
  FInfo info;
  FSSpec spec = SpecOf("plain.dxf");
  ASSERT_EQ(PortFSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, 0x00445846u);
  EXPECT_EQ(info.fdCreator, kUnknownType);
  spec = SpecOf("notes");
  ASSERT_EQ(PortFSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, kUnknownType);

  // Two types share an extension: the one given at creation is kept with the file.
  spec = SpecOf("scene.3dmf");
  ASSERT_EQ(PortFSpCreate(&spec, FourCC("R*ch"), FourCC("3DTX")), noErr);
  ASSERT_EQ(PortFSpGetFInfo(&spec, &info), noErr);
  if (!HasExtendedAttributes(root_)) GTEST_SKIP() << "no extended attributes here";
  EXPECT_EQ(info.fdType, FourCC("3DTX"));
  EXPECT_EQ(info.fdCreator, FourCC("R*ch"));
  info.fdType = FourCC("TEXT");
  ASSERT_EQ(PortFSpSetFInfo(&spec, &info), noErr);
  ASSERT_EQ(PortFSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(info.fdType, FourCC("TEXT"));
}

TEST_F(FileOpsTest, TablesWithoutAnEndRecordAreCut) {
  std::vector<FileTypeRecord> rows(300, Row("ABCD", "abcd", "no end"));
  PortSetFileTypes(rows.data(), nullptr);
  EXPECT_EQ(FileTypes().size(), 256u);
  // A field without its terminator is read within its bounds.
  FileTypeRecord full = Row("WXYZ", "", "");
  std::memset(full.extension, 'e', sizeof full.extension);
  FileTypeRecord table[] = {full, Row("\0\0\0\0", "", "")};
  PortSetFileTypes(table, nullptr);
  ASSERT_EQ(FileTypes().size(), 1u);
  EXPECT_EQ(FileTypes()[0].extension, std::string(10, 'e'));

  const OSType filter[] = {FourCC("TEXT")};
  PortOpenFileSpec(1, filter);
  EXPECT_EQ(TakeDialogTypeFilter(), std::vector<OSType>{FourCC("TEXT")});
  EXPECT_TRUE(TakeDialogTypeFilter().empty());
}

TEST_F(FileOpsTest, CreateRenameAndDeleteKeepTheSidecarAlong) {
  FSSpec spec = SpecOf("model.vl");
  ASSERT_EQ(PortFSpCreate(&spec, FourCC("R*ch"), FourCC("TEXT")), noErr);
  EXPECT_EQ(PortFSpCreate(&spec, FourCC("R*ch"), FourCC("TEXT")), dupFNErr);
  Write(Path("._model.vl"), "resources");
  Write(Path("other.vl"), "other");

  EXPECT_EQ(PortFSpRename(&spec, Str63("other.vl")), dupFNErr);
  EXPECT_EQ(Read(Path("other.vl")), "other");
  EXPECT_EQ(PortFSpRename(&spec, Str63("bad:name")), bdNamErr);
  ASSERT_EQ(PortFSpRename(&spec, Str63("renamed.vl")), noErr);
  EXPECT_EQ(Names(root_), (std::vector<std::string>{"._renamed.vl", "config", "data", "other.vl", "renamed.vl"}));

  FSSpec renamed = SpecOf("renamed.vl");
  SInt16 ref = 0;
  ASSERT_EQ(PortFSpOpenDF(&renamed, fsRdPerm, &ref), noErr);
  EXPECT_EQ(PortFSpDelete(&renamed), fBsyErr);  // still open
  ASSERT_EQ(PortFSClose(ref), noErr);
  ASSERT_EQ(PortHDelete(renamed.vRefNum, renamed.parID, renamed.name), noErr);
  EXPECT_EQ(Names(root_), (std::vector<std::string>{"config", "data", "other.vl"}));
  EXPECT_EQ(PortFSpDelete(&renamed), fnfErr);

  // Missing folders and non-empty folders.
  FSSpec nowhere;
  ASSERT_TRUE(SpecFromPath(Path("missing/x.vl"), &nowhere));
  EXPECT_EQ(PortFSpCreate(&nowhere, 0, FourCC("TEXT")), dirNFErr);
  FSSpec config = SpecOf("config");
  Write(Path("config/keep"), "k");
  EXPECT_EQ(PortFSpDelete(&config), fBsyErr);
  EXPECT_EQ(Read(Path("config/keep")), "k");
}

TEST_F(FileOpsTest, DataThroughReferenceNumbers) {
  FSSpec spec = SpecOf("data.bin");
  ASSERT_EQ(PortFSpCreate(&spec, 0, FourCC("BINA")), noErr);
  SInt16 ref = 0;
  ASSERT_EQ(PortFSpOpenDF(&spec, fsRdWrPerm, &ref), noErr);
  long count = 10;
  ASSERT_EQ(PortFSWrite(ref, &count, "0123456789"), noErr);
  long eof = 0;
  ASSERT_EQ(PortGetEOF(ref, &eof), noErr);
  EXPECT_EQ(eof, 10);

  // A second writer is refused with the number already open; a reader is fine.
  SInt16 second = 0;
  EXPECT_EQ(PortFSpOpenDF(&spec, fsWrPerm, &second), opWrErr);
  EXPECT_EQ(second, ref);
  SInt16 reader = 0;
  ASSERT_EQ(PortFSpOpenDF(&spec, fsRdPerm, &reader), noErr);
  count = 4;
  EXPECT_EQ(PortFSWrite(reader, &count, "nope"), wrPermErr);
  EXPECT_EQ(count, 0);

  // Positions: before the start and past the end.
  EXPECT_EQ(PortSetFPos(reader, fsFromStart, -1), posErr);
  EXPECT_EQ(PortSetFPos(reader, fsFromStart, 11), eofErr);
  long pos = 0;
  PortGetFPos(reader, &pos);
  EXPECT_EQ(pos, 10);
  ASSERT_EQ(PortSetFPos(reader, fsFromLEOF, -3), noErr);
  char buf[8] = {};
  count = 8;
  EXPECT_EQ(PortFSRead(reader, &count, buf), eofErr);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(std::string(buf, 3), "789");

  ASSERT_EQ(PortSetEOF(ref, 4), noErr);
  ASSERT_EQ(PortGetFPos(ref, &pos), noErr);
  EXPECT_EQ(pos, 4);  // the mark follows a shorter end
  EXPECT_EQ(PortFSClose(ref), noErr);
  EXPECT_EQ(PortFSClose(ref), rfNumErr);
  count = 1;
  EXPECT_EQ(PortFSRead(ref, &count, buf), rfNumErr);
  EXPECT_EQ(PortFSClose(reader), noErr);
  EXPECT_EQ(Read(Path("data.bin")), "0123");

  FSSpec folder = SpecOf("data");
  EXPECT_EQ(PortFSpOpenDF(&folder, fsRdPerm, &ref), notAFileErr);
}

TEST_F(FileOpsTest, CatalogListsAFolderInNameOrder) {
  InstallTable();
  std::filesystem::create_directories(Path("list/VL Plug-ins"));
  for (const char* leaf : {"VRML Export", "Umbrascope", "b", "A.dxf", ".hidden", "._Umbrascope",
                           "\xE6\x97\xA5"})
    Write(Path(std::string("list/") + leaf), "1234");
  SInt32 dir = FolderIdForPath(Path("list"));

  std::vector<std::string> names;
  Str63 name;
  CatalogInfo info;
  for (SInt16 index = 1;; ++index) {
    info = CatalogInfo();
    info.name = name;
    info.vRefNum = kVolumeRef;
    info.dirID = dir;
    info.index = index;
    if (PortFileParamCall(&info, false) != noErr) break;
    names.push_back(name.Std());
    EXPECT_EQ(info.parID, dir);
    if (name.Std() == "VL Plug-ins") {
      EXPECT_EQ(info.attributes & kFolderAttribute, kFolderAttribute);
      EXPECT_EQ(FolderPathForId(info.entryDirID), Path("list/VL Plug-ins"));
    } else {
      EXPECT_EQ(info.attributes, 0);
      EXPECT_EQ(info.dataLength, 4);
    }
    if (name.Std() == "A.dxf") {
      EXPECT_EQ(info.fileType, 0x00445846u);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"A.dxf", "b", "Umbrascope", "VL Plug-ins", "VRML Export"}));

  // By name, and a name that is not there.
  info = CatalogInfo();
  Str63 asked("umbrascope");
  info.name = asked;
  info.dirID = dir;
  EXPECT_EQ(PortFileParamCall(&info, false), fnfErr);
  asked = Str63("Umbrascope");
  EXPECT_EQ(PortFileParamCall(&info, false), noErr);
}

TEST_F(FileOpsTest, ProgramFileAndSystemFolders) {
  SInt16 vRefNum = 0;
  SInt32 parID = 0;
  Str63 name;
  ASSERT_EQ(PortFileOp806(ApplicationFileRef(), 0, &vRefNum, &parID, name), noErr);
  EXPECT_EQ(FolderPathForId(parID), Path("data"));
  EXPECT_EQ(PortFileOp806(4242, 0, &vRefNum, &parID), rfNumErr);
  SetApplicationFileRef(4242);
  EXPECT_EQ(PortFileOp806(4242, 0, &vRefNum, &parID), noErr);
  SetApplicationFileRef(0);

  FSSpec spec = SpecOf("open.txt");
  ASSERT_EQ(PortFSpCreate(&spec, 0, FourCC("TEXT")), noErr);
  SInt16 ref = 0;
  ASSERT_EQ(PortFSpOpenDF(&spec, fsRdPerm, &ref), noErr);
  ASSERT_EQ(PortFileOp806(ref, 0, &vRefNum, &parID, name), noErr);
  EXPECT_EQ(parID, FolderIdForPath(root_));
  EXPECT_EQ(name.Std(), "open.txt");

  SInt32 dir = 0;
  EXPECT_EQ(PortFindSystemFolder(kOnSystemDisk, kPreferencesFolderType, kDontCreateFolder, &vRefNum, &dir), fnfErr);
  EXPECT_EQ(ConfigDir(true), Path("config/velmora"));
  ASSERT_EQ(PortFindSystemFolder(kOnSystemDisk, kPreferencesFolderType, kDontCreateFolder, &vRefNum, &dir), noErr);
  EXPECT_EQ(FolderPathForId(dir), Path("config/velmora"));
  EXPECT_EQ(PortFindSystemFolder(kOnSystemDisk, kExtensionFolderType, kDontCreateFolder, &vRefNum, &dir), fnfErr);
  ASSERT_EQ(PortFindSystemFolder(kOnSystemDisk, kExtensionFolderType, kCreateFolder, &vRefNum, &dir), noErr);
  EXPECT_EQ(FolderPathForId(dir), Path("config/velmora/Extensions"));
}
