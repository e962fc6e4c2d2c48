// The text editor, the scrap with the system clipboard, and cursors.
#include <gtest/gtest.h>

#include <cstring>

#include "Alerts.h"
#include "Cursors.h"
#include "Memory.h"
#include "QuickDraw.h"
#include "TextEdit.h"
#include "UiTestSupport.h"
#include "Windows.h"

namespace {

class TextEditTest : public uitest::ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    Rect r{100, 100, 300, 400};
    window = PortNewWindow(nullptr, &r, Str255("T"), true, documentProc, kFirstWindowOfClass, false, 0);
    Rect box{10, 10, 60, 210};
    te = PortTENew(&box, &box);
  }
  void TearDown() override {
    PortTEDispose(te);
    PortDisposeWindow(window);
    ScreenTest::TearDown();
  }
  void Keys(const std::string& keys, UInt16 modifiers = 0) {
    for (char c : keys) PortTEKeyWithModifiers(UInt8(c), modifiers, te);
  }
  std::string Text() { return PortTETextString(te); }
  std::pair<int, int> Selection() { return {(*te)->selStart, (*te)->selEnd}; }
  WindowPtr window = nullptr;
  TEHandle te = nullptr;
};

TEST_F(TextEditTest, KeysTypeDeleteAndMoveTheCaret) {
  struct Case {
    const char* start;
    int selStart, selEnd;
    std::string keys;
    UInt16 modifiers;
    const char* text;
    int caretStart, caretEnd;
  };
  const Case cases[] = {
      {"", 0, 0, "abc", 0, "abc", 3, 3},
      {"abc", 1, 2, "X", 0, "aXc", 2, 2},          // replaces the selection
      {"abc", 3, 3, "\x08", 0, "ab", 2, 2},        // delete
      {"abc", 0, 0, "\x08", 0, "abc", 0, 0},       // delete at the start does nothing
      {"abc", 1, 1, "\x7F", 0, "ac", 1, 1},        // forward delete
      {"abc", 1, 1, "\x1C\x1C\x1C", 0, "abc", 0, 0},  // left stops at the start
      {"abc", 0, 3, "\x1D", 0, "abc", 3, 3},       // right collapses a selection to its end
      {"abc", 1, 1, "\x1D\x1D", shiftKey, "abc", 1, 3},  // shift extends
      {"abc", 1, 1, "\x01", 0, "abc", 0, 0},       // home
      {"ab", 2, 2, "\x09\x03\x1B", 0, "ab", 2, 2}, // tab, enter and escape are not typed
  };
  for (const Case& c : cases) {
    PortTESetText(c.start, SInt32(std::strlen(c.start)), te);
    PortTESetSelect(c.selStart, c.selEnd, te);
    Keys(c.keys, c.modifiers);
    EXPECT_EQ(Text(), c.text) << c.start << " " << c.keys;
    EXPECT_EQ(Selection(), std::make_pair(c.caretStart, c.caretEnd)) << c.start << " " << c.keys;
  }
}

TEST_F(TextEditTest, LinesBreakAtReturnsAndWrapAtBlanks) {
  std::string longText = "one two three four five six seven eight nine ten eleven twelve";
  PortTESetText(longText.data(), SInt32(longText.size()), te);
  EXPECT_GT(PortTENumberOfLines(te), 1);
  PortTESetText("a\rb\rc", 5, te);
  EXPECT_EQ(PortTENumberOfLines(te), 3);
  // Up and down keep to the lines.
  PortTESetSelect(4, 4, te);  // before "c"
  Keys("\x1E");
  EXPECT_EQ(Selection(), std::make_pair(2, 2));
  Keys("\x1E\x1E");
  EXPECT_EQ(Selection(), std::make_pair(0, 0));
  Point p = PortTEGetPoint(2, te);
  EXPECT_EQ(PortTEGetOffset(p, te), 2);
}

TEST_F(TextEditTest, TheLengthLimitHoldsForTypingAndPasting) {
  (*te)->maxLength = 4;
  vlui::ResetBeepCount();
  Keys("abcdef");
  EXPECT_EQ(Text(), "abcd");
  PortTESetSelect(0, 0, te);
  PortZeroScrap();
  PortPutScrap(3, FourCC("TEXT"), "xyz");
  PortTEPaste(te);
  EXPECT_EQ(Text(), "abcd");
  PortTESetSelect(0, 2, te);
  PortTEPaste(te);
  EXPECT_EQ(Text(), "xycd");
  EXPECT_GT(vlui::BeepCount(), 0);
}

TEST_F(TextEditTest, CutCopyAndPasteUseTheScrap) {
  PortTESetText("hello world", 11, te);
  PortTESetSelect(0, 5, te);
  PortTECut(te);
  EXPECT_EQ(Text(), " world");
  Handle h = PortAllocHandle(0);
  SInt32 offset;
  EXPECT_EQ(PortGetScrap(h, FourCC("TEXT"), &offset), 5);
  EXPECT_EQ(std::string(*h, 5), "hello");
  PortFreeHandle(h);
  PortTESetSelect(6, 6, te);
  PortTEPaste(te);
  EXPECT_EQ(Text(), " worldhello");
  EXPECT_EQ(PortGetScrap(nullptr, FourCC("PICT"), &offset), noTypeErr);
}

class FakeClipboard : public vlui::ClipboardHost {
 public:
  std::string text;
  bool holds = false;
  UInt32 count = 0;
  bool GetText(std::string* utf8) override {
    if (holds) *utf8 = text;
    return holds;
  }
  void SetText(const std::string& utf8) override {
    text = utf8;
    holds = true;
  }
  UInt32 ChangeCount() override { return count; }
};

TEST_F(TextEditTest, TheScrapMeetsTheSystemClipboardInUtf8WithLineFeeds) {
  FakeClipboard clip;
  vlui::SetClipboardHost(&clip);
  const char mac[] = "caf\x8E\rline";
  PortZeroScrap();
  PortPutScrap(SInt32(sizeof mac - 1), FourCC("TEXT"), mac);
  EXPECT_EQ(clip.text, "caf\u00E9\nline");
  // Text put there by another program comes back as Mac Roman with carriage returns.
  clip.text = "na\u00EFve\r\nend";
  ++clip.count;
  SInt16 before = PortScrapCount();
  Handle h = PortAllocHandle(0);
  SInt32 offset;
  SInt32 n = PortGetScrap(h, FourCC("TEXT"), &offset);
  EXPECT_EQ(std::string(*h, std::size_t(n)), "na\x95ve\rend");
  EXPECT_EQ(PortScrapCount(), before);  // read once; no change since
  PortFreeHandle(h);
  vlui::SetClipboardHost(nullptr);
}

TEST_F(TextEditTest, CursorsComeBuiltInOrFromResources) {
  CursHandle watch = PortGetCursor(watchCursor);
  ASSERT_NE(watch, nullptr);
  EXPECT_EQ(PortGetCursor(watchCursor), watch);
  EXPECT_EQ(PortGetCursor(999), nullptr);
  UInt32 before = vlui::CursorGeneration();
  PortSetCursor(*watch);
  EXPECT_EQ(vlui::CurrentCursorId(), watchCursor);
  EXPECT_NE(vlui::CursorGeneration(), before);
  PortInitCursor();
  EXPECT_EQ(vlui::CurrentCursorId(), 0);
  // A 'CURS' resource: 32 bytes of data, 32 of mask, the hot spot.
  std::vector<unsigned char> curs(68, 0);
  curs[0] = 0x80;
  curs[32] = 0xC0;
  curs[65] = 3;
  curs[67] = 4;
  std::vector<vlres::CompiledResource> table = {{FourCC("CURS"), 128, nullptr, curs.data(), UInt32(curs.size())}};
  vlres::InstallResourceTable(table.data(), table.size());
  CursHandle mine = PortGetCursor(128);
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ((*mine)->data[0], 0x8000);
  EXPECT_EQ((*mine)->mask[0], 0xC000);
  EXPECT_EQ((*mine)->hotSpot, (Point{3, 4}));
  PortHideCursor();
  EXPECT_TRUE(vlui::CursorHidden());
  PortShowCursor();
  PortObscureCursor();
  EXPECT_TRUE(vlui::CursorHidden());
  vlui::NoteMouseMoved();
  EXPECT_FALSE(vlui::CursorHidden());
}

}  // namespace
