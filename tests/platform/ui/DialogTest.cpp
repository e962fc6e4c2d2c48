// Dialogs and alerts on the screen: items, the modal loop by keyboard and mouse, user items, the
// dialog log.
#include <gtest/gtest.h>

#include "Alerts.h"
#include "Dialogs.h"
#include "Memory.h"
#include "PString.h"
#include "UiTestSupport.h"

namespace {

using uitest::Key;
using uitest::Pt;
using uitest::Type;

void Put16(std::vector<unsigned char>* b, int v) {
  b->push_back((unsigned char)((v >> 8) & 0xFF));
  b->push_back((unsigned char)(v & 0xFF));
}

struct Item {
  Rect r;
  unsigned char kind;
  std::string text;
};

std::vector<unsigned char> ItemList(const std::vector<Item>& items) {
  std::vector<unsigned char> b;
  Put16(&b, int(items.size()) - 1);
  for (const Item& i : items) {
    for (int k = 0; k < 4; ++k) b.push_back(0);
    for (int v : {i.r.top, i.r.left, i.r.bottom, i.r.right}) Put16(&b, v);
    b.push_back(i.kind);
    b.push_back((unsigned char)i.text.size());
    b.insert(b.end(), i.text.begin(), i.text.end());
    if (i.text.size() % 2) b.push_back(0);
  }
  return b;
}

// OK, Cancel, a label, two edit texts, a check box and a user item.
const std::vector<Item> kItems = {{{90, 220, 110, 290}, 4, "OK"},
                                  {{90, 130, 110, 200}, 4, "Cancel"},
                                  {{10, 10, 26, 70}, 8 | 128, "Width ^0:"},
                                  {{10, 80, 26, 290}, 16, "12"},
                                  {{40, 80, 56, 290}, 16, "34"},
                                  {{64, 10, 80, 200}, 5, "Snap"},
                                  {{64, 220, 80, 290}, 0, ""}};

class DialogTest : public uitest::ScreenTest {
 protected:
  DialogPtr Make(const std::vector<Item>& items = kItems) {
    std::vector<unsigned char> data = ItemList(items);
    Handle h = PortHandleFromBytes(data.data(), Size(data.size()));
    Rect bounds{100, 100, 220, 400};
    DialogPtr d = PortNewDialogWithItems(nullptr, &bounds, Str255("Size"), true, dBoxProc, kFirstWindowOfClass, false,
                                         0, h);
    PortFreeHandle(h);
    return d;
  }
  SInt16 Modal() {
    SInt16 hit = -1;
    PortModalDialog(nullptr, &hit);
    return hit;
  }
  std::string Text(DialogPtr d, SInt16 item) { return vlui::DialogItemTextUtf8(d, item); }
  Point ItemPoint(DialogPtr d, SInt16 item) {
    Rect r;
    EXPECT_TRUE(vlui::DialogItemGlobalRect(d, item, &r));
    return Pt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

TEST_F(DialogTest, ReturnEnterEscapeAndCommandPeriodPressTheirButtons) {
  DialogPtr d = Make();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->defaultItem, 1);
  EXPECT_EQ(d->cancelItem, 2);
  struct Case {
    unsigned char key;
    UInt16 modifiers;
    SInt16 hit;
  };
  const Case cases[] = {{13, 0, 1}, {3, 0, 1}, {27, 0, 2}, {'.', cmdKey, 2}};
  for (const Case& c : cases) {
    Key(c.key, c.modifiers);
    EXPECT_EQ(Modal(), c.hit) << int(c.key);
  }
  // A dimmed default button takes no Return: the key goes on to the edit text, and the loop
  // answers the edit text's item.
  ControlHandle ok = nullptr;
  ASSERT_TRUE(PortGetDialogItemAsControl(d, 1, &ok));
  PortHiliteControl(ok, kControlInactive);
  Key(kReturnChar);
  Key(kEscapeChar);
  EXPECT_EQ(Modal(), 4);
  EXPECT_EQ(Modal(), 2);
  PortDisposeDialog(d);
}

TEST_F(DialogTest, TheKeypadClearKeyClearsTheTextInsteadOfCancelling) {
  DialogPtr d = Make();
  // The clear key sends the escape character; only its key code tells the two apart.
  vlui::PostEvent(keyDown, kEscapeChar | (UInt32(kClearKeyCode) << 8), 0);
  EXPECT_EQ(Modal(), 4);
  EXPECT_EQ(Text(d, 4), "");
  Key(kEscapeChar);
  EXPECT_EQ(Modal(), 2);
  PortDisposeDialog(d);
}

TEST_F(DialogTest, TypingAndTabWorkTheEditTexts) {
  DialogPtr d = Make();
  EXPECT_EQ(PortGetDialogKeyboardFocusItem(d), 4);
  Type("250");  // replaces the selected "12"
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Modal(), 4);
  EXPECT_EQ(Text(d, 4), "250");
  Key(kTabChar);      // to the next edit text, all selected
  Type("7");
  Key(kTabChar);      // and round to the first again
  Key(kBackspaceChar);      // delete the whole selection
  Key(kTabChar, shiftKey);  // back to the second
  Key(kRightArrowChar);     // right: the caret to the end
  Type("5");
  Key(kReturnChar);
  SInt16 hit;
  do hit = Modal();
  while (hit != 1);
  EXPECT_EQ(Text(d, 4), "");
  EXPECT_EQ(Text(d, 5), "75");
  // The item texts are read and set through the item handles.
  SInt16 kind;
  Handle h;
  Rect box;
  PortGetDialogItem(d, 5, &kind, &h, &box);
  EXPECT_EQ(kind, editText);
  Str255 text;
  PortGetDialogItemText(h, text);
  EXPECT_EQ(PStrToStd(text), "75");
  PortSetDialogItemText(h, Str255("9.5"));
  EXPECT_EQ(Text(d, 5), "9.5");
  PortSelectDialogItemText(d, 5, 0, 1);
  Type("1");
  Modal();
  EXPECT_EQ(Text(d, 5), "1.5");
  PortDisposeDialog(d);
}

TEST_F(DialogTest, CutCopyAndPasteGoThroughTheScrap) {
  DialogPtr d = Make();
  Key('c', cmdKey);   // "12" is selected
  Key(kTabChar);
  Key('v', cmdKey);   // replaces "34"
  Key('x', cmdKey);   // nothing selected after the paste: nothing cut
  Key(kReturnChar);
  SInt16 hit;
  do hit = Modal();
  while (hit != 1);
  EXPECT_EQ(Text(d, 5), "12");
  EXPECT_EQ(vlui::ScrapTextUtf8(), "12");
  PortDisposeDialog(d);
}

TEST_F(DialogTest, ClicksHitEnabledItemsAndPlaceTheCaret) {
  DialogPtr d = Make();
  vlui::SetEventSource(&motion);
  motion.Press(ItemPoint(d, 6), {});  // the check box
  EXPECT_EQ(Modal(), 6);
  ControlHandle box = nullptr;
  PortGetDialogItemAsControl(d, 6, &box);
  EXPECT_EQ(PortGetControlValue(box), 0);  // the program toggles it, not the dialog
  motion.Press(ItemPoint(d, 5), {});
  EXPECT_EQ(Modal(), 5);
  EXPECT_EQ(PortGetDialogKeyboardFocusItem(d), 5);
  // A click outside the dialog beeps and hits nothing; the cancel button then ends it.
  vlui::ResetBeepCount();
  vlui::SetMouse(Pt(600, 400));
  vlui::PostEvent(mouseDown, 0, 0);
  motion.Press(ItemPoint(d, 2), {});
  EXPECT_EQ(Modal(), 2);
  EXPECT_EQ(vlui::BeepCount(), 1);
  PortDisposeDialog(d);
}

int gDrawn = 0;
void DrawUser(DialogPtr, SInt16 item) { gDrawn = item; }

TEST_F(DialogTest, UserItemsAreDrawnByTheirProcedure) {
  DialogPtr d = Make();
  gDrawn = 0;
  PortSetDialogItemProc(d, 7, &DrawUser);
  PortDrawDialog(d);
  EXPECT_EQ(gDrawn, 7);
  SInt16 kind;
  Handle h;
  Rect box;
  PortGetDialogItem(d, 7, &kind, &h, &box);
  EXPECT_EQ(reinterpret_cast<UserItemProcPtr>(h), &DrawUser);
  PortDisposeDialog(d);
}

TEST_F(DialogTest, WithNoInputPossibleTheModalLoopAnswersCancel) {
  DialogPtr d = Make();
  EXPECT_EQ(Modal(), 2);
  PortSetDialogCancelItem(d, 0);
  EXPECT_EQ(Modal(), 1);
  PortDisposeDialog(d);
}

Boolean Filter(DialogPtr, EventRecord* event, SInt16* itemHit) {
  if (event->what != keyDown || (event->message & charCodeMask) != 'x') return false;
  *itemHit = 99;
  return true;
}

TEST_F(DialogTest, TheFilterSeesEventsFirst) {
  DialogPtr d = Make();
  Key('x');
  SInt16 hit = 0;
  PortModalDialog(&Filter, &hit);
  EXPECT_EQ(hit, 99);
  EXPECT_EQ(Text(d, 4), "12");
  PortDisposeDialog(d);
}

class ResourceDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    dlog = {0, 50, 0, 50, 0, 150, 1, 94, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0x03, 0xE9, 4, 'U', 'n', 'i', 't', 0};
    ditl = ItemList(kItems);
    alrt = {0, 40, 0, 40, 0, 160, 1, 184, 0x07, 0xD0, 0x55, 0x55};
    alertItems = ItemList({{{80, 300, 100, 370}, 4, "Save"}, {{80, 200, 100, 270}, 4, "Cancel"},
                           {{10, 70, 60, 370}, 8 | 128, "Save \xD2^0\xD3?"}});
    table = {{FourCC("DLOG"), 1005, nullptr, dlog.data(), UInt32(dlog.size())},
             {FourCC("DITL"), 1001, nullptr, ditl.data(), UInt32(ditl.size())},
             {FourCC("ALRT"), 2000, nullptr, alrt.data(), UInt32(alrt.size())},
             {FourCC("DITL"), 2000, nullptr, alertItems.data(), UInt32(alertItems.size())}};
    // The same dialog made invisible.
    hidden = dlog;
    hidden[10] = 0;
    table.push_back({FourCC("DLOG"), 1007, nullptr, hidden.data(), UInt32(hidden.size())});
    vlres::InstallResourceTable(table.data(), table.size());
  }
  std::vector<unsigned char> dlog, hidden, ditl, alrt, alertItems;
  std::vector<vlres::CompiledResource> table;
};

TEST_F(ResourceDialogTest, DialogsFromResourcesAreLoggedWithTheirTexts) {
  PortSetAlertTexts(Str255("3"), nullptr, nullptr, nullptr);
  DialogPtr d = PortNewDialog(1005, nullptr, kFirstWindowOfClass);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(vlui::FrontDialog(), d);
  ASSERT_EQ(vlalert::Log().size(), 1u);
  EXPECT_EQ(vlalert::Log()[0].kind, "dialog");
  EXPECT_EQ(vlalert::Log()[0].id, 1005);
  EXPECT_EQ(vlalert::Log()[0].title, "Unit");
  EXPECT_EQ(vlalert::Log()[0].texts, (std::vector<std::string>{"Width 3:", "12", "34"}));
  PortCloseDialog(d);
  EXPECT_EQ(vlui::FrontDialog(), nullptr);
  EXPECT_EQ(PortNewDialog(1006, nullptr, nullptr), nullptr);
}

TEST_F(ResourceDialogTest, AHiddenDialogIsLoggedEachTimeItComesOnTheScreen) {
  PortSetAlertTexts(Str255("3"), nullptr, nullptr, nullptr);
  DialogPtr d = PortNewDialog(1007, nullptr, kFirstWindowOfClass);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(vlalert::Log().empty());
  SInt16 kind = 0;
  Handle text = nullptr;
  Rect box;
  PortGetDialogItem(d, 4, &kind, &text, &box);
  PortSetDialogItemText(text, Str255("56"));
  PortShowHide(d, true);
  ASSERT_EQ(vlalert::Log().size(), 1u);
  EXPECT_EQ(vlalert::Log()[0].id, 1007);
  EXPECT_EQ(vlalert::Log()[0].texts, (std::vector<std::string>{"Width 3:", "56", "34"}));
  PortShowHide(d, true);
  PortShowHide(d, false);
  EXPECT_EQ(vlalert::Log().size(), 1u);
  PortShowHide(d, true);
  EXPECT_EQ(vlalert::Log().size(), 2u);
  PortCloseDialog(d);
}

TEST_F(ResourceDialogTest, AlertsOnAnInteractiveScreenAreAnsweredByTheKeyboard) {
  vlui::SetInteractive(true);
  PortSetAlertTexts(Str255("Plan"), nullptr, nullptr, nullptr);
  Key(kReturnChar);
  EXPECT_EQ(PortAskAlert(2000), 1);
  Key(kEscapeChar);
  EXPECT_EQ(PortAlert(2000), 2);
  ASSERT_EQ(vlalert::Log().size(), 2u);
  EXPECT_EQ(vlalert::Log()[0].texts, (std::vector<std::string>{"Save \u201CPlan\u201D?"}));
  EXPECT_EQ(vlalert::Log()[1].answer, 2);
  // An alert whose resources are missing shows its texts with an OK button, which Escape also
  // presses.
  Key(kEscapeChar);
  EXPECT_EQ(PortShowAlert(31000), 1);
  EXPECT_EQ(vlalert::Log()[2].title, "missing alert resource");
  EXPECT_EQ(vlui::FrontDialog(), nullptr);
}

}  // namespace
