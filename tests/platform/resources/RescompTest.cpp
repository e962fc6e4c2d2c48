// The resource compiler: what each typed body compiles to (read back through the parsers), and
// its errors for bad input.
#include <sys/wait.h>

#include <cstdio>

#include "Compiler.h"
#include "PString.h"
#include "ResourceTestSupport.h"

using namespace restest;

namespace {

std::vector<vlres::ResourceData> Compile(const std::string& text) {
  std::vector<vlres::ResourceData> out;
  std::string error;
  EXPECT_TRUE(rescomp::CompileSource(text, "test.vlr", &out, &error)) << error;
  return out;
}

std::string CompileError(const std::string& text) {
  std::vector<vlres::ResourceData> out;
  std::string error;
  EXPECT_FALSE(rescomp::CompileSource(text, "bad.vlr", &out, &error)) << text;
  return error;
}

// Installs compiled resources as the application's and keeps them alive for the test.
class Compiled : public ChainTest {
 protected:
  void Install(const std::string& text) {
    resources_ = Compile(text);
    table_.clear();
    for (auto& r : resources_)
      table_.push_back({r.type, r.id, nullptr, r.bytes.data(), UInt32(r.bytes.size())});
    vlres::InstallResourceTable(table_.data(), table_.size());
  }
  std::vector<vlres::ResourceData> resources_;
  std::vector<vlres::CompiledResource> table_;
};

}  // namespace

TEST_F(Compiled, StringListsAndStringsInMacRoman) {
  Install(R"vlr(
    # comment with 'quotes' and "strings"
    resource 'STR#' 300 "Names" {
      "plain" "café ^0" "line\nend" "tab\there" "quote \" and \\" "raw \xA5"
      ""
    }
    resource 'STR ' 2176 { "Velmora" }
  )vlr");
  EXPECT_EQ(ListString(300, 1), "plain");
  EXPECT_EQ(ListString(300, 2), "caf\x8E ^0");  // é is 0x8E in Mac Roman
  EXPECT_EQ(ListString(300, 3), "line\rend");
  EXPECT_EQ(ListString(300, 4), "tab\there");
  EXPECT_EQ(ListString(300, 5), "quote \" and \\");
  EXPECT_EQ(ListString(300, 6), "raw \xA5");
  EXPECT_EQ(ListString(300, 7), "");
  EXPECT_EQ(PortResError(), noErr);
  EXPECT_EQ(ListString(300, 8), "");
  EXPECT_EQ(PortResError(), resNotFound);
  EXPECT_EQ(resources_[0].name, "Names");
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("STR "), 2176)), "\x07Velmora");
}

TEST_F(Compiled, AlertWithInlineItemsAndDialogWithItsList) {
  Install(R"vlr(
    resource 'ALRT' 4003 {
      bounds 10 20 150 420
      stages 0x5558
      items {
        button 114 330 134 400 "OK"
        button 114 240 134 320 "Cancel" disabled
        statictext 12 20 104 400 "because ^0. ^1 (^2)" disabled
        icon 10 10 42 42 2
        user 0 0 10 10
      }
    }
    resource 'DITL' 1080 { edittext 40 20 56 200 "" picture 0 0 1 1 -5 control 1 2 3 4 1008 checkbox 5 5 20 100 "Snap" radio 5 5 20 100 "Linked" }
    resource 'DLOG' 1080 "Value" { bounds 50 60 200 360 proc 1 invisible goaway refcon -7 title "Enter a value" items 1080 }
    resource 'WIND' 500 { bounds 40 4 340 504 proc 8 title "Plan" }
  )vlr");
  vlres::AlertTemplate alert;
  ASSERT_TRUE(vlres::ParseAlert(PortLoadResource(FourCC("ALRT"), 4003), &alert));
  EXPECT_EQ(alert.bounds, (Rect{10, 20, 150, 420}));
  EXPECT_EQ(alert.itemListId, 4003);
  EXPECT_EQ(alert.stages, 0x5558);
  EXPECT_EQ(vlres::AlertStageDefaultItem(alert.stages, 1), 2);
  EXPECT_EQ(vlres::AlertStageDefaultItem(alert.stages, 2), 1);

  std::vector<vlres::DialogItem> items;
  ASSERT_TRUE(vlres::ParseItemList(PortLoadResource(FourCC("DITL"), 4003), &items));
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].kind, vlres::kButtonItem);
  EXPECT_EQ(items[0].text, "OK");
  EXPECT_TRUE(items[0].enabled);
  EXPECT_EQ(items[0].bounds, (Rect{114, 330, 134, 400}));
  EXPECT_EQ(items[1].text, "Cancel");
  EXPECT_FALSE(items[1].enabled);
  EXPECT_EQ(items[2].kind, vlres::kStaticTextItem);
  EXPECT_EQ(items[2].text, "because ^0. ^1 (^2)");
  EXPECT_EQ(items[3].kind, vlres::kIconItem);
  EXPECT_EQ(items[3].resourceId, 2);
  EXPECT_EQ(items[4].kind, vlres::kUserItem);

  ASSERT_TRUE(vlres::ParseItemList(PortLoadResource(FourCC("DITL"), 1080), &items));
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].kind, vlres::kEditTextItem);
  EXPECT_EQ(items[0].text, "");
  EXPECT_EQ(items[1].resourceId, -5);
  EXPECT_EQ(items[2].kind, vlres::kControlItem);
  EXPECT_EQ(items[2].resourceId, 1008);
  EXPECT_EQ(items[3].text, "Snap");
  EXPECT_EQ(items[4].kind, vlres::kRadioButtonItem);

  vlres::DialogTemplate dialog;
  ASSERT_TRUE(vlres::ParseDialog(PortLoadResource(FourCC("DLOG"), 1080), &dialog));
  EXPECT_EQ(dialog.bounds, (Rect{50, 60, 200, 360}));
  EXPECT_EQ(dialog.procId, 1);
  EXPECT_FALSE(dialog.visible);
  EXPECT_TRUE(dialog.goAway);
  EXPECT_EQ(dialog.refCon, -7);
  EXPECT_EQ(dialog.itemListId, 1080);
  EXPECT_EQ(dialog.title, "Enter a value");

  vlres::WindowTemplate window;
  ASSERT_TRUE(vlres::ParseWindow(PortLoadResource(FourCC("WIND"), 500), &window));
  EXPECT_EQ(window.bounds, (Rect{40, 4, 340, 504}));
  EXPECT_EQ(window.procId, 8);
  EXPECT_TRUE(window.visible);
  EXPECT_FALSE(window.goAway);
  EXPECT_EQ(window.title, "Plan");
}

TEST_F(Compiled, MenusVersionsCursorsAndText) {
  Install(R"vlr(
    resource 'MENU' 137 {
      title "Edit"
      item "Undo" key "Z"
      separator
      item "Cut" key "X" style bold italic disabled
      item "Mark" mark "•" icon 3
    }
    resource 'vers' 1 { version 1.5.2 stage beta prerelease 3 region 14 short "1.5.2b3" long "1.5.2b3, Velmora" }
    resource 'CURS' 4 { data { 00FF 00FF 00FF 00FF 00FF 00FF 00FF 00FF 00FF 00FF 00FF 00FF 00FF 00FF 00FF 00FF }
                        mask { FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF FFFF }
                        hotspot 7 8 }
    resource 'TEXT' 270 { "first\n" "second" }
    resource 'PICT' 135 hex { 0001 0203 }
    resource 'Xtra' 9 "raw" hex { de AD # comment between digits
      be EF }
  )vlr");
  vlres::MenuTemplate menu;
  ASSERT_TRUE(vlres::ParseMenu(PortLoadResource(FourCC("MENU"), 137), &menu));
  EXPECT_EQ(menu.menuId, 137);
  EXPECT_TRUE(menu.enabled);
  EXPECT_EQ(menu.title, "Edit");
  ASSERT_EQ(menu.items.size(), 4u);
  EXPECT_EQ(menu.items[0].text, "Undo");
  EXPECT_EQ(menu.items[0].keyEquivalent, 'Z');
  EXPECT_TRUE(menu.items[0].enabled);
  EXPECT_EQ(menu.items[1].text, "-");
  EXPECT_FALSE(menu.items[1].enabled);
  EXPECT_EQ(menu.items[2].style, 3);
  EXPECT_FALSE(menu.items[2].enabled);
  EXPECT_EQ(menu.items[3].mark, 0xA5);
  EXPECT_EQ(menu.items[3].icon, 3);

  vlres::VersionRecord version;
  Handle vers = PortLoadResource(FourCC("vers"), 1);
  ASSERT_TRUE(vlres::ParseVersion(vers, &version));
  EXPECT_EQ(version.major, 1);
  EXPECT_EQ(version.minor, 5);
  EXPECT_EQ(version.bugFix, 2);
  EXPECT_EQ(version.stage, 0x60);
  EXPECT_EQ(version.prerelease, 3);
  EXPECT_EQ(version.region, 14);
  EXPECT_EQ(version.shortVersion, "1.5.2b3");
  EXPECT_EQ(version.longVersion, "1.5.2b3, Velmora");
  EXPECT_EQ(UInt8((*vers)[0]), 0x01);  // BCD major
  EXPECT_EQ(UInt8((*vers)[1]), 0x52);  // minor and fix nibbles
  EXPECT_EQ(UInt8((*vers)[6]), 7);     // the short version starts at byte 6

  Handle cursor = PortLoadResource(FourCC("CURS"), 4);
  ASSERT_EQ(PortHandleSize(cursor), 68);
  EXPECT_EQ(UInt8((*cursor)[1]), 0xFF);
  EXPECT_EQ((*cursor)[65], 7);
  EXPECT_EQ((*cursor)[67], 8);
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("TEXT"), 270)), "first\rsecond");
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("PICT"), 135)), std::string("\0\1\2\3", 4));
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("Xtra"), 9)), "\xDE\xAD\xBE\xEF");
}

TEST(Rescomp, BadInputIsReportedWithItsLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"resource 'STR#' 1 { \"a\" }\nresourc 'STR ' 2 { \"b\" }", "bad.vlr:2: expected 'resource'"},
      {"resource 'STR' 1 { }", "bad.vlr:1: resource type 'STR' is not four characters"},
      {"resource 'STR#' 40000 { }", "bad.vlr:1: resource id 40000 is outside -32768 to 32767"},
      {"resource 'STR#' 1 {\n  \"open", "bad.vlr:2: string not closed"},
      {"resource 'STR#' 1 {\n \"a\"\n", "bad.vlr:3: body of 'STR#' not closed with '}'"},
      {"resource 'STR#' 1 { \"\xE2\x82\xAC\xF0\x9F\x98\x80\" }", "bad.vlr:1: text"},
      {"resource 'STR ' 1 { \"a\" \"b\" }", "bad.vlr:1: 'STR ' holds one string"},
      {"resource 'STR#' 1 { \"a\" }\n\nresource 'STR#' 1 { \"b\" }",
       "bad.vlr:3: resource 'STR#' 1 is given twice"},
      {"resource 'ALRT' 5 {\n bounds 0 0 10 10 }", "bad.vlr:2: 'ALRT' 5 needs items"},
      {"resource 'ALRT' 5 { bounds 0 0 10 items 5 }", "bad.vlr:1: expected a number for the right"},
      {"resource 'DITL' 5 {\n  slider 0 0 1 1 }", "bad.vlr:2: unknown word 'slider' in 'DITL'"},
      {"resource 'DITL' 5 { }", "bad.vlr:1: an item list needs at least one item"},
      {"resource 'DITL' 5 { button 0 0 1 1 }", "bad.vlr:1: expected a string for the item text"},
      {"resource 'MENU' 5 { item \"a\" key \"ab\" }", "bad.vlr:1: key must be one character"},
      {"resource 'CURS' 5 { data { 00 } mask { 00 } }", "bad.vlr:1: cursor data needs 32 bytes, has 1"},
      {"resource 'PICT' 5 hex { 0 }", "bad.vlr:1: hex data has an odd number of digits"},
      {"resource 'PICT' 5 hex {\n 0g }", "bad.vlr:2: 'g' is not a hex digit"},
      {"resource 'PICT' 5 { }", "bad.vlr:1: type 'PICT' has no typed body"},
      {"resource 'PICT' 5 file \"no-such-file.pict\"", "bad.vlr:1: cannot read file"},
      {"resource 'PICT' 5 file \"/dev/zero\"", "bad.vlr:1: \"/dev/zero\" is not a file"},
      {"resource 'TEXT' 5 { include \"/\" }", "bad.vlr:1: \"/\" is not a file"},
      {"resource 'vers' 1 { version 1.10.0 }", "bad.vlr:1: version 1.10.0 must be major.minor.fix"},
      {"resource 'STR#' 1 { \"a\" } @", "bad.vlr:1: unexpected character '@'"},
  };
  for (const Case& c : cases) {
    std::string error = CompileError(c.text);
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << "got: " << error;
  }
  std::string longString = "resource 'STR#' 1 { \"" + std::string(256, 'x') + "\" }";
  EXPECT_EQ(CompileError(longString), "bad.vlr:1: string is longer than 255 characters");
}

TEST(Rescomp, ProgramReportsErrorsAndWritesResourceFiles) {
  vltest::TempFolder dir;
  WriteAll(dir.Path("bad.vlr"), "resource 'STR#' 1 { \"ok\" }\nresource 'STR#' 2 { 17 }\n");
  std::string command = std::string(VL_RESCOMP_PATH) + " --fork " + dir.Path("out.rsrc") + " " +
                        dir.Path("bad.vlr") + " 2>" + dir.Path("err.txt");
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  Bytes err = ReadAll(dir.Path("err.txt"));
  EXPECT_NE(std::string(err.begin(), err.end()).find("bad.vlr:2: expected a string"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.rsrc")));

  WriteAll(dir.Path("plugin.vlr"), "resource 'STR#' 7002 \"Roles\" { \"Building\" \"Site\" }\n");
  command =
      std::string(VL_RESCOMP_PATH) + " --fork " + dir.Path("plugin.rsrc") + " " + dir.Path("plugin.vlr");
  ASSERT_EQ(std::system(command.c_str()), 0);
  vlres::ResetResourceChain();
  SInt16 ref = PortOpenResFilePath(dir.Path("plugin.rsrc").c_str(), kResPermRead);
  ASSERT_NE(ref, -1);
  EXPECT_EQ(ListString(7002, 2), "Site");
  vlres::ResetResourceChain();

  EXPECT_NE(std::system((std::string(VL_RESCOMP_PATH) + " 2>/dev/null").c_str()), 0);
}

TEST_F(Compiled, FilesAreTakenRelativeToTheSource) {
  vltest::TempFolder dir;
  std::filesystem::create_directory(dir.Path("pictures"));
  WriteAll(dir.Path("pictures/start.pict"), Bytes{0, 1, 0xFF});
  WriteAll(dir.Path("template.txt"), "façade\nEOF\n");
  std::vector<vlres::ResourceData> out;
  std::string error;
  ASSERT_TRUE(
      rescomp::CompileSource("resource 'PICT' 132 file \"pictures/start.pict\"\n"
                             "resource 'TEXT' 270 { \"# head\\n\" include \"template.txt\" }\n",
                             dir.Path("app.vlr"), &out, &error))
      << error;
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].bytes, (Bytes{0, 1, 0xFF}));
  EXPECT_EQ(std::string(out[1].bytes.begin(), out[1].bytes.end()),
            "# head\rfa\x8D"
            "ade\rEOF\r");
}
