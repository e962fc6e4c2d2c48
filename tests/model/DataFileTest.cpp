#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DETException.h"
#include "FilePaths.h"
#include "TempFolder.h"
#include "VLANSIDataFile.h"

namespace fs = std::filesystem;

namespace {

// A folder of its own for each test.
class DataFileTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (file) file->Dispose();
  }

  VLANSIDataFile* FileFor(const std::string& name) {
    FSSpec spec;
    EXPECT_TRUE(vlfiles::SpecFromPath((folder / name).string(), &spec));
    file = new VLANSIDataFile;
    file->SpecifyFSSpec(&spec);
    file->MakePath();
    return file;
  }
  static std::string Contents(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> FolderNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  vltest::TempFolder temp;
  fs::path folder = temp.Root();
  VLANSIDataFile* file = nullptr;
};

}  // namespace

TEST_F(DataFileTest, AppendKeepsAtMost255Characters) {
  VLANSIDataFile* data = FileFor("a");
  struct Case {
    std::size_t destination;
    std::size_t source;
    std::size_t kept;  // characters of the source that are appended
  } cases[] = {{100, 200, 155}, {0, 255, 255}, {255, 1, 0}, {254, 3, 1}, {0, 0, 0}, {10, 20, 20}};
  for (const Case& c : cases) {
    Str255 destination(std::string(c.destination, 'd'));
    Str255 source(std::string(c.source, 's'));
    data->AppendString(destination, source);
    EXPECT_EQ(destination.Std(), std::string(c.destination, 'd') + std::string(c.kept, 's'))
        << c.destination << " + " << c.source;
  }
}

TEST_F(DataFileTest, TerminatedCopyHasRoomForTheZeroAfterAFullString) {
  VLANSIDataFile* data = FileFor("a");
  for (std::size_t length : {std::size_t(0), std::size_t(7), std::size_t(255)}) {
    TerminatedStr255 destination;
    std::fill(std::begin(destination), std::end(destination), 0xEE);
    Str255 source(std::string(length, 'x'));
    data->CopyTerminated(destination, source);
    EXPECT_EQ(destination[0], length);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(destination + 1)), std::string(length, 'x'));
  }
}

TEST_F(DataFileTest, PathsOfTheFileAndItsFolders) {
  fs::create_directories(folder / "Projects");
  VLANSIDataFile* data = FileFor("Projects/plan.txt");
  EXPECT_EQ(data->GetPath(), (folder / "Projects" / "plan.txt").string());
  Str255 name;
  data->GetName(name);
  EXPECT_EQ(name.Std(), "plan.txt");

  // From the root folder down, each name followed by ':'.
  const std::string expected = vlfiles::MacPathFromPath((folder / "Projects").string());
  ASSERT_FALSE(expected.empty());
  Str255 path;
  data->GetFilePath(path);
  EXPECT_EQ(path.Std(), expected.back() == ':' ? expected : expected + ":");
  EXPECT_EQ(path.Std().substr(0, 5), "Root:");
  data->GetFolderPath(vlfiles::kRootDirID, path);
  EXPECT_EQ(path.Std(), "Root:");

  // A folder that is gone, and a path longer than 255 characters, fail with the file-system code.
  const SInt32 gone = vlfiles::FolderIdForPath((folder / "gone").string());
  fs::path deep = folder;
  for (int i = 0; i < 6; ++i) deep /= std::string(50, char('a' + i));
  fs::create_directories(deep);
  for (SInt32 id : {gone, vlfiles::FolderIdForPath(deep.string())}) {
    try {
      data->GetFolderPath(id, path);
      ADD_FAILURE() << "no error for " << id;
    } catch (DETException& e) {
      EXPECT_EQ(e.GetCode(), kDEErrorFileSystemError);
    }
  }
}

TEST_F(DataFileTest, SaveTargetIsTheFileItselfUntilItExists) {
  VLANSIDataFile* data = FileFor("model.txt");
  Boolean exists = true;
  EXPECT_EQ(data->MakeSaveTarget(&exists, FourCC("VLMR")), data);
  EXPECT_FALSE(exists);
  EXPECT_TRUE(fs::exists(folder / "model.txt"));
  std::ofstream(folder / "model.txt") << "first";

  // Now a temporary file beside it, named by a number.
  VLANSIDataFile* target = data->MakeSaveTarget(&exists, FourCC("VLMR"));
  ASSERT_NE(target, data);
  EXPECT_TRUE(exists);
  Str255 name;
  target->GetName(name);
  EXPECT_FALSE(name.Std().empty());
  EXPECT_EQ(name.Std().find_first_not_of("0123456789"), std::string::npos) << name.Std();
  EXPECT_EQ(fs::path(target->GetPath()).parent_path(), folder);
  EXPECT_TRUE(fs::exists(target->GetPath()));

  // It takes the first one's place in one step, and then names it.
  std::ofstream(target->GetPath()) << "second";
  const std::string temporary = target->GetPath();
  FSSpec original;
  data->GetFSSpec(&original);
  target->ReplaceFile(&original);
  EXPECT_EQ(Contents(folder / "model.txt"), "second");
  EXPECT_FALSE(fs::exists(temporary));
  EXPECT_EQ(target->GetPath(), (folder / "model.txt").string());
  target->GetName(name);
  EXPECT_EQ(name.Std(), "model.txt");
  EXPECT_EQ(FolderNames(), std::vector<std::string>{"model.txt"});
  target->Dispose();
}

TEST_F(DataFileTest, FailedReplaceLeavesTheFileAsItWas) {
  VLANSIDataFile* data = FileFor("model.txt");
  std::ofstream(folder / "model.txt") << "kept";
  Boolean exists = false;
  VLANSIDataFile* target = data->MakeSaveTarget(&exists, FourCC("VLMR"));
  ASSERT_NE(target, data);
  // The temporary file went away before it could take the place.
  target->DeleteFile();
  EXPECT_FALSE(fs::exists(target->GetPath()));
  FSSpec original;
  data->GetFSSpec(&original);
  try {
    target->ReplaceFile(&original);
    ADD_FAILURE() << "no error";
  } catch (DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorErrorWritingModelFile);
  }
  EXPECT_EQ(Contents(folder / "model.txt"), "kept");
  target->Dispose();

  // Deleting a file that is not there reports nothing.
  VLANSIDataFile other;
  FSSpec missing;
  ASSERT_TRUE(vlfiles::SpecFromPath((folder / "missing").string(), &missing));
  other.SpecifyFSSpec(&missing);
  other.DeleteFile();
}
