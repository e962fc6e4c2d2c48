// The text-tool dialog: its edit text sized in whole lines, Return typed as a new line, the
// other keys working the dialog, and the text read back through the director.
#include <string>

#include "CTextToolDialogText.h"
#include "Commands.h"
#include "PString.h"
#include "QuickDraw.h"
#include "ScreenTestSupport.h"
#include "VLTextToolDLOGDialog.h"
#include "VLTextToolDLOGDirector.h"

namespace {

constexpr const char* kSource = R"(
resource 'DLOG' 3001 {
  bounds 100 100 220 420
  items {
    button 90 230 110 300 "OK"
    edittext 10 10 26 310 ""
    button 90 140 110 210 "Cancel#101"
  }
  proc 5 title "Text"
}
resource 'DLOG' 3002 {
  bounds 100 100 220 420
  items {
    button 90 230 110 300 "OK"
    edittext 10 10 26 310 "Type text here."
  }
  proc 5 title "Text"
}
)";

class TextToolDialogTest : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    InstallResources(kSource);
    MakeApp();
  }
  VLTextToolDLOGDirector* MakeDirector(SInt16 limit, SInt16 lineHeight, SInt16 id = 3001) {
    auto* director = new VLTextToolDLOGDirector;
    director->IVLTextToolDLOGDirector(id, app, limit, lineHeight);
    return director;
  }
  static CTextToolDialogText* Item(VLTextToolDLOGDirector* director) {
    return dynamic_cast<CTextToolDialogText*>(director->GetDialog()->FindItem(2));
  }
  static std::string Text(VLTextToolDLOGDirector* director) {
    Str255 text;
    director->GetItemText(2, text);
    return text.Std();
  }
};

TEST_F(TextToolDialogTest, TheItemHoldsTheWholeLinesThatFitIn64Pixels) {
  struct Case {
    SInt16 lineHeight;
    SInt16 height;
  };
  for (Case c : {Case{13, 52}, Case{12, 60}, Case{16, 64}, Case{64, 64}, Case{90, 90}, Case{1, 64}}) {
    SCOPED_TRACE(c.lineHeight);
    EXPECT_EQ(TextToolItemHeight(c.lineHeight), c.height);
    auto* director = MakeDirector(255, c.lineHeight);
    ASSERT_NE(Item(director), nullptr);
    EXPECT_EQ(static_cast<CPane*>(Item(director))->GetHeight(), c.height);
    director->Dispose();
  }
}

TEST_F(TextToolDialogTest, ALineHeightOfZeroOrLessGivesOneLineOfTheDialogsFont) {
  for (SInt16 lineHeight : {SInt16(0), SInt16(-12), SInt16(-32768)}) {
    SCOPED_TRACE(lineHeight);
    auto* director = MakeDirector(255, lineHeight);
    auto* dialog = dynamic_cast<VLTextToolDLOGDialog*>(director->GetDialog());
    ASSERT_NE(dialog, nullptr);
    dialog->Prepare();
    PortTextFont(dialog->GetItemFont());
    PortTextSize(dialog->GetItemSize());
    FontInfo info;
    PortGetFontInfo(&info);
    EXPECT_EQ(static_cast<CPane*>(Item(director))->GetHeight(), info.ascent + info.descent + info.leading);
    director->Dispose();
  }
}

TEST_F(TextToolDialogTest, TheItemStartsWithItsTemplatesText) {
  auto* empty = MakeDirector(255, 12);
  EXPECT_EQ(Text(empty), "");
  empty->Dispose();
  auto* filled = MakeDirector(255, 12, 3002);
  EXPECT_EQ(Text(filled), "Type text here.");
  filled->Dispose();
}

TEST_F(TextToolDialogTest, ReturnTypesANewLineAndEnterPressesOK) {
  auto* director = MakeDirector(255, 12);
  input.Type("ab");
  input.Key(char(kReturnChar), 0, kReturnKeyCode);
  input.Type("abcd");
  input.Key(char(kEnterChar), 0, kEnterKeyCode);
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
  EXPECT_EQ(Text(director), "ab\rabcd");
  // The widest line is measured in the item's font.
  CTextToolDialogText* item = Item(director);
  SInt16 expected = 0;
  {
    PortStateKeeper keep(item->GetMacPort());
    item->Prepare();
    PortTextFont(item->GetFontNumber());
    PortTextSize(item->GetFontSize());
    PortTextFace(item->GetFontStyle());
    expected = PortStringWidth(Str255("abcd"));
  }
  EXPECT_GT(expected, 0);
  EXPECT_EQ(item->GetWidestLine(), expected);
  director->Dispose();
}

TEST_F(TextToolDialogTest, TheEscapeKeyCancels) {
  auto* director = MakeDirector(255, 12);
  input.Type("a");
  input.Key(char(kEscapeChar), 0, kEscapeKeyCode);
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdCancel);
  director->Dispose();
}

TEST_F(TextToolDialogTest, TypingStopsAtTheTextLimit) {
  auto* director = MakeDirector(5, 12);
  input.Type("abcdefgh");
  input.Key(char(kEnterChar), 0, kEnterKeyCode);
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
  EXPECT_EQ(Text(director), "abcde");
  director->Dispose();
}

TEST_F(TextToolDialogTest, TheDirectorStylesItsTextItems) {
  auto* director = MakeDirector(255, 12);
  director->SetItemText(2, Str255("Hello"));
  director->SetItemSize(2, 18);
  director->SetItemStyle(2, kStyleBold);
  EXPECT_EQ(Text(director), "Hello");
  EXPECT_EQ(Item(director)->GetFontSize(), 18);
  EXPECT_EQ(Item(director)->GetFontStyle(), kStyleBold);
  // A number that names no text item changes nothing.
  director->SetItemText(1, Str255("x"));
  Str255 none;
  director->GetItemText(7, none);
  EXPECT_EQ(none.Length(), 0);
  director->Dispose();
}

}  // namespace
