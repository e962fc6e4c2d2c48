// The open and save dialogs on a temporary folder, their replies, and who answers them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Alerts.h"
#include "ColorPicker.h"
#include "FilePaths.h"
#include "FileTypes.h"
#include "PString.h"
#include "StandardFile.h"
#include "TempFolder.h"
#include "UiTestSupport.h"

namespace {

namespace fs = std::filesystem;
using uitest::Key;
using uitest::Type;

class FileDialogTest : public uitest::ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    fs::create_directories(folder / "sub");
    for (const char* name : {"b.vl", "A plan.vl", "notes.txt", "sub/inner.vl", ".hidden.vl"}) std::ofstream(folder / name) << "x";
    static const FileTypeRecord types[] = {{FourCC("TEXT"), "vl", "Velmora (*.vl)"},
                                           {FourCC("\0TXT"), "txt", "Text File (*.txt)"},
                                           {0, "???", ""}};
    PortSetFileTypes(types, nullptr);
    vlui::SetDialogFolder(folder.string());
  }
  vltest::TempFolder temp;
  fs::path folder = temp.Root();
};

TEST_F(FileDialogTest, TheOpenDialogListsTheFolderByTypeAndIsWorkedByKeys) {
  OSType text = FourCC("TEXT");
  std::string path;
  // The list holds "A plan.vl", "b.vl" and "sub" (no text file, no hidden file); the first is
  // selected. Down, Return: b.vl.
  Key(kDownArrowChar);
  Key(kReturnChar);
  ASSERT_TRUE(vlui::RunOpenDialog("Open", {text}, nullptr, &path));
  EXPECT_EQ(path, (folder / "b.vl").string());
  // Typing selects by name; Return opens a folder, then its first file.
  Type("su");
  Key(kReturnChar);
  Key(kReturnChar);
  ASSERT_TRUE(vlui::RunOpenDialog("Open", {text}, nullptr, &path));
  EXPECT_EQ(path, (folder / "sub" / "inner.vl").string());
  // The dialog now starts in that folder; command-up goes to the enclosing one.
  EXPECT_EQ(vlui::DialogFolder(), (folder / "sub").string());
  Key(kUpArrowChar, cmdKey);
  Type("n");
  Key(kReturnChar);
  ASSERT_TRUE(vlui::RunOpenDialog("Open", {}, nullptr, &path));  // no types: every file
  EXPECT_EQ(path, (folder / "notes.txt").string());
  Key(kEscapeChar);
  EXPECT_FALSE(vlui::RunOpenDialog("Open", {text}, nullptr, &path));
}

TEST_F(FileDialogTest, TheSaveDialogTakesATypedNameAndAsksBeforeReplacing) {
  std::string path;
  OSType type = 0;
  Key(kReturnChar);  // the proposed name as it stands
  ASSERT_TRUE(vlui::RunSaveDialog("Save as:", "Plan.vl", {FourCC("TEXT")}, &path, &type));
  EXPECT_EQ(path, (folder / "Plan.vl").string());
  EXPECT_EQ(type, FourCC("TEXT"));
  // The base name is selected: typing replaces it and keeps the extension.
  Type("b");
  Key(kReturnChar);
  Key(kEscapeChar);  // "replace it?" - no
  Key('a', cmdKey);
  Type("c.vl");
  Key(kReturnChar);
  ASSERT_TRUE(vlui::RunSaveDialog("Save as:", "Plan.vl", {FourCC("TEXT")}, &path, &type));
  EXPECT_EQ(path, (folder / "c.vl").string());
  Type("b");
  Key(kReturnChar);
  Key(kReturnChar);  // replace it
  ASSERT_TRUE(vlui::RunSaveDialog("Save as:", "Plan.vl", {FourCC("TEXT")}, &path, &type));
  EXPECT_EQ(path, (folder / "b.vl").string());
  // A name that is a folder opens it.
  Key('a', cmdKey);
  Type("sub");
  Key(kReturnChar);
  Type("new.vl");
  Key(kReturnChar);
  ASSERT_TRUE(vlui::RunSaveDialog("Save as:", "", {}, &path, &type));
  EXPECT_EQ(path, (folder / "sub" / "new.vl").string());
  // An empty name is refused with a beep.
  vlui::ResetBeepCount();
  Key(kReturnChar);
  Key(kEscapeChar);
  EXPECT_FALSE(vlui::RunSaveDialog("Save as:", "", {}, &path, &type));
  EXPECT_EQ(vlui::BeepCount(), 1);
}

TEST_F(FileDialogTest, RepliesNameTheChosenFileByFolderAndName) {
  SFReply reply;
  ASSERT_TRUE(vlui::FillOpenReply((folder / "b.vl").string(), &reply));
  EXPECT_TRUE(reply.good);
  EXPECT_EQ(reply.fType, FourCC("TEXT"));
  EXPECT_EQ(PStrToStd(reply.fName), "b.vl");
  char full[512];
  ASSERT_EQ(PortFullPathName(reply.vRefNum, reply.fName, full, sizeof full), noErr);
  EXPECT_EQ(std::string(full), (folder / "b.vl").string());
  StandardFileReply standard;
  ASSERT_TRUE(vlui::FillSaveReply((folder / "b.vl").string(), FourCC("TEXT"), nullptr, &standard));
  EXPECT_TRUE(standard.sfReplacing);
  ASSERT_TRUE(vlui::FillSaveReply((folder / "new.vl").string(), FourCC("TEXT"), nullptr, &standard));
  EXPECT_FALSE(standard.sfReplacing);
  // A name with no Mac Roman form, or too long for a reply, cannot be answered.
  EXPECT_FALSE(vlui::FillOpenReply((folder / "\xE6\x97\xA5.vl").string(), &reply));
  EXPECT_FALSE(vlui::FillOpenReply((folder / std::string(64, 'x')).string(), &reply));
}

TEST_F(FileDialogTest, TheAnswererAnswersFirstAndEveryDialogIsLogged) {
  std::vector<std::string> asked;
  vlui::SetStandardDialogAnswerer([&](const vlui::StandardDialogRequest& r, vlui::StandardDialogAnswer* a) {
    asked.push_back(r.kind + " " + r.prompt + " " + r.defaultName);
    if (r.kind == "putfile") {
      a->chosen = true;
      a->path = (folder / "out.txt").string();
      return true;
    }
    if (r.kind == "color") {
      a->chosen = true;
      a->color = RGBColor{65535, 0, 0};
      return true;
    }
    return false;  // not answered: with no screen a user sees, cancelled
  });
  StandardFileReply put;
  PortStandardPutFile(Str255("Export:"), Str255("Plan.txt"), &put);
  EXPECT_TRUE(put.sfGood);
  EXPECT_EQ(put.sfType, FourCC("\0TXT"));  // from the chosen name's extension
  EXPECT_EQ(PStrToStd(put.sfFile.name), "out.txt");
  SFReply open;
  PortGetFile(Point{}, nullptr, nullptr, 0, nullptr, nullptr, &open);
  EXPECT_FALSE(open.good);
  RGBColor in{0, 0, 0}, out{1, 2, 3};
  EXPECT_TRUE(PortGetColor(Point{}, Str255("Sky"), &in, &out));
  EXPECT_EQ(out, (RGBColor{65535, 0, 0}));
  EXPECT_EQ(asked, (std::vector<std::string>{"putfile Export: Plan.txt", "getfile  ", "color Sky "}));
  std::vector<std::string> logged;
  for (const auto& r : vlalert::Log()) logged.push_back(r.kind + " " + std::to_string(r.answer));
  EXPECT_EQ(logged, (std::vector<std::string>{"putfile 1", "getfile 0", "color 1"}));
}

TEST_F(FileDialogTest, TheColourPickerTakesTypedValues) {
  vlui::SetInteractive(true);
  Type("200");  // red, all selected at first
  Key(kTabChar);
  Type("100");
  Key(kTabChar);
  Type("300");  // past 255: kept at 255
  Key(kReturnChar);
  RGBColor in{0, 0, 0}, out;
  ASSERT_TRUE(PortGetColor(Point{}, Str255("Colour"), &in, &out));
  EXPECT_EQ(out, (RGBColor{200 * 257, 100 * 257, 255 * 257}));
  Key(kEscapeChar);
  out = RGBColor{1, 1, 1};
  EXPECT_FALSE(PortGetColor(Point{}, Str255("Colour"), &in, &out));
  EXPECT_EQ(out, (RGBColor{1, 1, 1}));
}

}  // namespace
