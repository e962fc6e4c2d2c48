#include <gtest/gtest.h>
#include <sys/stat.h>

#include <stdexcept>

#include "FileTypes.h"
#include "SafeReplace.h"
#include "FilesTestSupport.h"

using namespace vlfiles;

class SafeReplaceTest : public TempFolderTest {
 protected:
  // A writer that writes the text in small pieces, as a document's writer does.
  static OSErr WritePieces(std::FILE* f, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); i += 7)
      if (std::fputs(text.substr(i, 7).c_str(), f) < 0) return ioErr;
    return noErr;
  }
};

TEST_F(SafeReplaceTest, AWriteErrorMidFileLeavesTheOriginalUntouched) {
  const std::string original = "Version 1\nobjects: 3\n";
  const std::string replacement(20000, 'n');  // larger than the stream's buffer
  for (std::size_t failAfter : {std::size_t(0), std::size_t(1), std::size_t(4096), std::size_t(19999)}) {
    SCOPED_TRACE(failAfter);
    Write(Path("doc.vl"), original);
    FailNextReplaceAfter(failAfter);
    EXPECT_EQ(ReplaceFile(Path("doc.vl"), [&](std::FILE* f) { return WritePieces(f, replacement); }), dskFulErr);
    EXPECT_EQ(Read(Path("doc.vl")), original);
    EXPECT_EQ(Names(root_), (std::vector<std::string>{"config", "data", "doc.vl"}));  // no temporary left
  }
  // The hook is spent: the next replacement goes through.
  ASSERT_EQ(ReplaceFileBytes(Path("doc.vl"), replacement), noErr);
  EXPECT_EQ(Read(Path("doc.vl")), replacement);
}

TEST_F(SafeReplaceTest, WriterFailuresAndExceptionsAbandonTheReplacement) {
  Write(Path("doc.vl"), "kept");
  EXPECT_EQ(ReplaceFile(Path("doc.vl"), [](std::FILE* f) {
              std::fputs("half", f);
              return OSErr(-9987);
            }),
            -9987);
  EXPECT_THROW(ReplaceFile(Path("doc.vl"),
                           [](std::FILE* f) -> OSErr {
                             std::fputs("half", f);
                             throw std::runtime_error("writer failed");
                           }),
               std::runtime_error);
  EXPECT_EQ(Read(Path("doc.vl")), "kept");
  EXPECT_EQ(Names(root_), (std::vector<std::string>{"config", "data", "doc.vl"}));

  EXPECT_EQ(ReplaceFileBytes(Path("missing/doc.vl"), "x"), dirNFErr);
  EXPECT_EQ(ReplaceFileBytes(Path("data"), "x"), notAFileErr);
}

TEST_F(SafeReplaceTest, TheReplacedFileKeepsPermissionsTypeAndLinks) {
  // A new file is simply created.
  ASSERT_EQ(ReplaceFileBytes(Path("new.vl"), "first"), noErr);
  EXPECT_EQ(Read(Path("new.vl")), "first");

  Write(Path("doc.vl"), "old");
  chmod(Path("doc.vl").c_str(), 0640);
  SetTypeAndCreator(Path("doc.vl"), FourCC("3DTX"), FourCC("R*ch"));
  OSType typeBefore = 0, creatorBefore = 0;
  GetTypeAndCreator(Path("doc.vl"), &typeBefore, &creatorBefore);
  std::filesystem::create_symlink(Path("doc.vl"), Path("link.vl"));

  ASSERT_EQ(ReplaceFileBytes(Path("link.vl"), "new"), noErr);
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.vl")));
  EXPECT_EQ(Read(Path("doc.vl")), "new");
  struct stat st;
  ASSERT_EQ(stat(Path("doc.vl").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  OSType type = 0, creator = 0;
  GetTypeAndCreator(Path("doc.vl"), &type, &creator);
  EXPECT_EQ(type, typeBefore);
  EXPECT_EQ(creator, creatorBefore);
}

TEST_F(SafeReplaceTest, AFinishedTemporaryFileTakesTheTargetsPlace) {
  Write(Path("doc.vl"), "old");
  Write(Path("._doc.vl"), "resources");
  chmod(Path("doc.vl").c_str(), 0600);
  Write(Path("12345"), "new");
  ASSERT_EQ(ReplaceWith(Path("doc.vl"), Path("12345")), noErr);
  EXPECT_EQ(Read(Path("doc.vl")), "new");
  EXPECT_EQ(Read(Path("._doc.vl")), "resources");  // the document keeps its resources
  struct stat st;
  ASSERT_EQ(stat(Path("doc.vl").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(Names(root_), (std::vector<std::string>{"._doc.vl", "config", "data", "doc.vl"}));

  // A finished file that brings resources of its own replaces them too.
  Write(Path("678"), "newer");
  Write(Path("._678"), "other resources");
  ASSERT_EQ(ReplaceWith(Path("doc.vl"), Path("678")), noErr);
  EXPECT_EQ(Read(Path("._doc.vl")), "other resources");

  // Nothing to move: the target stays.
  EXPECT_EQ(ReplaceWith(Path("doc.vl"), Path("gone")), fnfErr);
  EXPECT_EQ(ReplaceWith(Path("config"), Path("doc.vl")), notAFileErr);
  EXPECT_EQ(Read(Path("doc.vl")), "newer");
}
