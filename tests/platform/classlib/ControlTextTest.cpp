// Controls, texts, popup menus and tables as panes (outside any window: their state and the
// commands and notices they send).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BusyCursor.h"
#include "CArray.h"
#include "CArrayPane.h"
#include "CButton.h"
#include "CCheckBox.h"
#include "CDialogText.h"
#include "CEditText.h"
#include "CPopupMenu.h"
#include "CRadioControl.h"
#include "Commands.h"
#include "Cursors.h"
#include "Events.h"
#include "Scrap.h"
#include "Ticks.h"

namespace {

// The root of a pane tree standing for a window; it records what reaches it.
class RecordingRoot : public CPane {
 public:
  RecordingRoot() { Init(nullptr, nullptr, 400, 300, 0, 0, sizFIXEDLEFT, sizFIXEDTOP); }
  void DoCommand(long command) override { log.push_back("command " + std::to_string(command)); }
  void DoKeyDown(char c, UInt8 code, EventRecord*) override {
    log.push_back("key " + std::to_string(int(UInt8(c))) + "/" + std::to_string(code));
  }
  void ProviderChanged(CCollaborator*, long reason, void* info) override {
    if (reason == kPopupChoice) log.push_back("chosen " + std::to_string(*static_cast<SInt16*>(info)));
    if (reason == kDialogTextChanged) log.push_back("edited " + std::to_string(*static_cast<SInt16*>(info)));
  }
  std::vector<std::string> log;
};

TEST(ControlTest, RadioButtonsOfAGroupExcludeEachOtherAndClicksSendCommands) {
  auto* root = new RecordingRoot;
  CRadioControl* radios[4];
  for (int i = 0; i < 4; ++i) {
    radios[i] = new CRadioControl;
    radios[i]->Init(root, root, 80, 16, 10, SInt16(20 * i), sizFIXEDLEFT, sizFIXEDTOP, Str255("r"));
    radios[i]->SetClickCmd(200 + i);
  }
  radios[3]->SetGroup(1);
  radios[3]->Select();
  radios[0]->DoClick(Point{5, 5}, 0, 0);
  radios[1]->DoClick(Point{5, 5}, 0, 0);
  EXPECT_EQ(radios[0]->GetValue(), 0);
  EXPECT_EQ(radios[1]->GetValue(), 1);
  EXPECT_EQ(radios[2]->GetValue(), 0);
  EXPECT_EQ(radios[3]->GetValue(), 1);  // another group
  auto* box = new CCheckBox;
  box->Init(root, root, 80, 16, 10, 100, sizFIXEDLEFT, sizFIXEDTOP, Str255("b"));
  box->SetClickCmd(300);
  box->DoClick(Point{5, 5}, 0, 0);
  box->DoClick(Point{5, 5}, 0, 0);
  EXPECT_EQ(box->GetValue(), 0);
  EXPECT_EQ(root->log, (std::vector<std::string>{"command 200", "command 201", "command 300", "command 300"}));
  root->Dispose();
}

TEST(ControlTest, AControlDeactivatedByTheProgramStaysSoThroughItsWindowsActivation) {
  vlclock::UseVirtualClock(true);  // a simulated click shows the button pressed for 8 ticks
  auto* root = new RecordingRoot;
  auto* button = new CButton;
  button->Init(root, root, 60, 20, 10, 10, sizFIXEDLEFT, sizFIXEDTOP, Str255("Go"));
  button->SetClickCmd(42);
  button->Deactivate();
  root->Activate();
  EXPECT_TRUE(button->IsActive());
  EXPECT_FALSE(button->IsControlActive());
  button->DoClick(Point{5, 5}, 0, 0);
  button->SimulateClick();
  EXPECT_TRUE(root->log.empty());
  button->Activate();
  root->Deactivate();
  root->Activate();
  EXPECT_TRUE(button->IsControlActive());
  button->SimulateClick();
  button->Hide();
  button->SimulateClick();
  EXPECT_EQ(root->log, std::vector<std::string>{"command 42"});
  // Values stay within the range; setting the range clamps them.
  button->SetMaxValue(10);
  button->SetValue(20);
  EXPECT_EQ(button->GetValue(), 10);
  button->SetMinValue(12);
  EXPECT_EQ(button->GetValue(), 12);
  EXPECT_EQ(button->GetMaxValue(), 12);
  root->Dispose();
  vlclock::UseVirtualClock(false);
}

TEST(TextTest, EditTextTypesItsKeysAndPassesTheOthersOn) {
  auto* root = new RecordingRoot;
  auto* text = new CEditText;
  text->Init(root, root, 100, 40, 0, 0, sizFIXEDLEFT, sizFIXEDTOP, 0);
  text->SetTextString(Str255("abc"));
  text->SetSelection(3, 3, false);
  EventRecord e;
  for (char c : std::string("de")) text->DoKeyDown(c, 0, &e);
  text->DoKeyDown(8, 0x33, &e);         // delete
  text->DoKeyDown(28, 0x7B, &e);        // left arrow
  text->DoKeyDown(0, 0x75, &e);         // forward delete
  text->DoKeyDown(13, 0x24, &e);        // Return: a new line in an edit text
  text->DoKeyDown(9, 0x30, &e);         // Tab: not typed
  e.modifiers = cmdKey;
  text->DoKeyDown('x', 0x07, &e);       // a command key: not typed
  Str255 s;
  text->GetTextString(s);
  EXPECT_EQ(s.Std(), "abc\r");
  EXPECT_EQ(text->GetLineCount(), 2);
  EXPECT_EQ(root->log, (std::vector<std::string>{"key 9/48", "key 120/7"}));
  Handle h = text->GetTextHandle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(std::string(*h, 4), "abc\r");
  root->Dispose();
}

TEST(TextTest, DialogTextSendsItsKeysToTheDialogAndAnnouncesEdits) {
  auto* root = new RecordingRoot;
  auto* text = new CDialogText;
  text->Init(root, root, 100, 16, 0, 0, sizFIXEDLEFT, sizFIXEDTOP, 5);
  text->SetItemNumber(4);
  EventRecord e;
  for (char c : std::string("1234567")) text->DoKeyDown(c, 0, &e);
  text->DoKeyDown(13, 0x24, &e);
  text->DoKeyDown(3, 0x4C, &e);
  text->DoKeyDown(27, 0x35, &e);  // Escape
  text->SelectAll(false);
  text->DoKeyDown(27, 0x47, &e);  // the clear key deletes the selection
  Str255 s;
  text->GetTextString(s);
  EXPECT_EQ(s.Std(), "");
  EXPECT_EQ(root->log, (std::vector<std::string>{"edited 4", "edited 4", "edited 4", "edited 4", "edited 4",
                                                 "key 13/36", "key 3/76", "key 27/53", "edited 4"}));
  root->Dispose();
}

TEST(TextTest, CutAndPasteGoThroughTheScrap) {
  auto* root = new RecordingRoot;
  auto* text = new CEditText;
  text->Init(root, root, 200, 20, 0, 0, sizFIXEDLEFT, sizFIXEDTOP, -1);
  text->SetTextString(Str255("one two"));
  text->SetSelection(0, 4, false);
  text->DoCommand(cmdCut);
  EXPECT_EQ(vlui::ScrapTextUtf8(), "one ");
  text->SetSelection(3, 3, false);
  text->DoCommand(cmdPaste);
  Str255 s;
  text->GetTextString(s);
  EXPECT_EQ(s.Std(), "twoone ");
  text->DoCommand(cmdSelectAll);
  long start = 0, end = 0;
  text->GetSelection(&start, &end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 7);
  text->DoCommand(5000);  // not a text command: passed on
  EXPECT_EQ(root->log, std::vector<std::string>{"command 5000"});
  root->Dispose();
}

TEST(PopupTest, SelectionModesKeepTheMarksAndTheCurrentItem) {
  struct Case {
    Boolean multiple;
    std::vector<std::pair<SInt16, SInt16>> selections;  // item, mode
    std::vector<bool> marked;
    SInt16 current;
  };
  const Case cases[] = {
      {false, {{3, kPopupCheck}}, {false, false, true, false}, 3},
      {false, {{3, kPopupToggle}, {2, kPopupUncheck}}, {false, false, true, false}, 3},
      {false, {{9, kPopupCheck}, {0, kPopupCheck}}, {true, false, false, false}, 1},
      {true, {{3, kPopupToggle}, {1, kPopupUncheck}}, {false, false, true, false}, 3},
      {true, {{3, kPopupCheck}, {2, kPopupToggle}, {2, kPopupToggle}, {3, kPopupUncheck}},
       {false, false, false, false}, 0},
  };
  for (const auto& c : cases) {
    CPopupMenu menu;
    menu.IPopupMenu(31000, nullptr, c.multiple);
    for (const char* t : {"a", "b", "c", "d"}) menu.AppendItem(Str255(t));
    if (c.multiple) {
      // A fresh multiple-selection menu starts with nothing marked once its items exist.
      for (SInt16 i = 1; i <= 4; ++i) menu.SelectItem(i, kPopupUncheck);
    }
    for (auto [item, mode] : c.selections) menu.SelectItem(item, mode);
    std::vector<bool> marked;
    for (SInt16 i = 1; i <= 4; ++i) marked.push_back(PortGetItemMark(menu.GetMacMenu(), i) != 0);
    EXPECT_EQ(marked, c.marked);
    EXPECT_EQ(menu.GetCurrentItem(), c.current);
  }
}

TEST(PopupTest, AChoiceIsBroadcastUpTheSupervisorChain) {
  auto* root = new RecordingRoot;
  auto* menu = new CPopupMenu;
  menu->IPopupMenu(31001, root, false);
  menu->AppendItem(Str255("first"));
  menu->AppendItem(Str255("second"));
  menu->SetMarkChar(kBulletMark);
  menu->ItemChosen(2);
  EXPECT_EQ(menu->GetCurrentItem(), 2);
  EXPECT_EQ(PortGetItemMark(menu->GetMacMenu(), 2), kBulletMark);
  EXPECT_EQ(root->log, std::vector<std::string>{"chosen 2"});
  menu->DeleteItem(2);
  EXPECT_EQ(menu->GetCurrentItem(), 1);
  menu->Dispose();
  root->Dispose();
}

TEST(TableTest, RowsComeAndGoWithTheirSelectionAndFollowTheArray) {
  auto* root = new RecordingRoot;
  auto* table = new CArrayPane;
  table->IArrayPane(root, root, 200, 100, 0, 0, sizFIXEDLEFT, sizFIXEDTOP);
  table->InsertCols(1, 0);
  table->SetColWidth(50, 0, 1);
  table->SetRowHeight(10);
  CArray array(sizeof(long), 4);
  for (long i = 0; i < 5; ++i) array.Append(&i);
  table->SetArray(&array, false);
  EXPECT_EQ(table->CountRows(), 5);
  table->SetRowSelection(true);
  table->SelectCell(Cell{2, 0}, false, false);
  table->SelectCell(Cell{4, 1}, true, false);
  Cell cell{0, 0};
  std::vector<int> rows;
  for (Boolean more = table->GetSelect(false, &cell); more; more = table->GetSelect(true, &cell))
    if (cell.h == 0) rows.push_back(cell.v);
  EXPECT_EQ(rows, (std::vector<int>{2, 4}));
  long item = 99;
  array.InsertAt(&item, 1);  // a row at the top: the selection moves down with its rows
  array.DeleteItem(6);
  EXPECT_EQ(table->CountRows(), 5);
  EXPECT_TRUE(table->IsSelected(Cell{3, 1}));
  EXPECT_FALSE(table->IsSelected(Cell{2, 0}));
  EXPECT_FALSE(table->IsSelected(Cell{4, 0}));
  Cell hit;
  ASSERT_TRUE(table->FindCell(Point{25, 60}, &hit));
  EXPECT_EQ(hit, (Cell{2, 1}));
  EXPECT_FALSE(table->FindCell(Point{55, 10}, &hit));  // below the last row
  Rect r;
  table->GetCellRect(Cell{1, 1}, &r);
  EXPECT_EQ(r, (Rect{10, 50, 20, 100}));
  table->SetArray(nullptr, false);
  EXPECT_EQ(table->CountRows(), 0);
  root->Dispose();
}

}  // namespace

namespace {

TEST(CursorTest, BusyCursorShowsTheWatchAndAnswersThePreviousState) {
  EXPECT_FALSE(SetCursorBusy(true));
  EXPECT_EQ(vlui::CurrentCursorId(), watchCursor);
  EXPECT_TRUE(IsCursorBusy());
  EXPECT_TRUE(SetCursorBusy(true));  // nested: the caller puts back "busy"
  EXPECT_TRUE(SetCursorBusy(false));
  EXPECT_EQ(vlui::CurrentCursorId(), 0);
  EXPECT_FALSE(IsCursorBusy());
}

}  // namespace
