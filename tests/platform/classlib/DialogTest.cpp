// Dialogs made from 'DLOG' and 'DITL' resources, run modally with the keyboard and the mouse.
#include <string>
#include <vector>

#include "CButton.h"
#include "CCheckBox.h"
#include "CDLOGDialog.h"
#include "CDLOGDirector.h"
#include "CDialogText.h"
#include "CStaticText.h"
#include "Commands.h"
#include "Dialogs.h"
#include "ScreenTestSupport.h"

namespace {

constexpr const char* kDialogSource = R"(
resource 'DLOG' 500 {
  bounds 100 100 260 400
  items {
    button 120 200 140 280 "OK"
    button 120 100 140 180 "Cancel"
    edittext 20 120 36 280 ""
    edittext 50 120 66 280 "start"
    checkbox 80 20 96 200 "Lines#102"
    statictext 20 10 36 110 "Name:" disabled
  }
  proc 5 title "Settings"
}
)";

std::string ItemText(CDialog* dialog, SInt16 item) {
  Str255 text;
  auto* t = dynamic_cast<CAbstractText*>(dialog->FindItem(item));
  if (!t) return "<none>";
  t->GetTextString(text);
  return text.Std();
}

class RecordingDialogDirector : public CDLOGDirector {
 public:
  RecordingDialogDirector(SInt16 id, CDirectorOwner* owner) : CDLOGDirector(id, owner) {}
  void DoCommand(long command) override {
    commands.push_back(command);
    CDLOGDirector::DoCommand(command);
  }
  void ProviderChanged(CCollaborator* provider, long reason, void* info) override {
    if (reason == kDialogTextChanged) edits.push_back(*static_cast<SInt16*>(info));
    CDLOGDirector::ProviderChanged(provider, reason, info);
  }
  std::vector<long> commands;
  std::vector<SInt16> edits;
};

class RecordingApp : public CApplication {
 public:
  void DoCommand(long command) override {
    commands.push_back(command);
    CApplication::DoCommand(command);
  }
  std::vector<long> commands;
};

class DialogTest : public ScreenFixture {
 protected:
  RecordingDialogDirector* MakeDialog() {
    InstallResources(kDialogSource);
    MakeApp<RecordingApp>();
    auto* director = new RecordingDialogDirector(500, app);
    dialog = director->GetDialog();
    return director;
  }
  Point ItemCentre(SInt16 item) {
    Rect r;
    EXPECT_TRUE(vlui::DialogItemGlobalRect(vlui::FrontDialog(), item, &r));
    return Point{SInt16((r.top + r.bottom) / 2), SInt16((r.left + r.right) / 2)};
  }
  CDialog* dialog = nullptr;
};

TEST_F(DialogTest, ItemsArePanesNumberedAsInTheResource) {
  auto* director = MakeDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_NE(dynamic_cast<CButton*>(dialog->FindItem(1)), nullptr);
  EXPECT_EQ(dynamic_cast<CButton*>(dialog->FindItem(1))->GetClickCmd(), cmdOK);
  EXPECT_EQ(dynamic_cast<CButton*>(dialog->FindItem(2))->GetClickCmd(), cmdCancel);
  EXPECT_EQ(dynamic_cast<CCheckBox*>(dialog->FindItem(5))->GetClickCmd(), 102);
  Str255 title;
  dynamic_cast<CCheckBox*>(dialog->FindItem(5))->GetTitle(title);
  EXPECT_EQ(title.Std(), "Lines");
  EXPECT_EQ(ItemText(dialog, 4), "start");
  EXPECT_EQ(ItemText(dialog, 6), "Name:");
  EXPECT_FALSE(dialog->FindItem(6)->WantsClicks());
  EXPECT_EQ(dialog->FindItem(7), nullptr);
  EXPECT_TRUE(dynamic_cast<CButton*>(dialog->FindItem(1))->IsDefault());
  director->Dispose();
}

TEST_F(DialogTest, KeyboardAloneFillsTheTextsAndPressesOK) {
  auto* director = MakeDialog();
  input.Type("abc");
  input.Key('\t');
  input.Type("xy");
  input.Key('\t', shiftKey);
  input.Key('Z');
  input.Key('\r');
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
  EXPECT_EQ(ItemText(dialog, 3), "Z");
  EXPECT_EQ(ItemText(dialog, 4), "xy");
  // Every typed key that changed a text was announced with the text's item number.
  EXPECT_EQ(director->edits, (std::vector<SInt16>{3, 3, 3, 4, 4, 3}));
  director->Dispose();
  EXPECT_EQ(gCommandTarget, app);
}

TEST_F(DialogTest, EscapeAndCommandPeriodPressCancel) {
  for (UInt16 modifiers : {UInt16(0), UInt16(cmdKey)}) {
    SCOPED_TRACE(modifiers);
    if (!app) MakeDialog();
    auto* director = new RecordingDialogDirector(500, app);
    if (modifiers)
      input.Key('.', cmdKey);
    else
      input.Key(kEscapeChar, 0, kEscapeKeyCode);
    EXPECT_EQ(director->DoModalDialog(cmdOK), cmdCancel);
    director->Dispose();
  }
  for (CDirector* d; (d = app->GetDirector(1)) != nullptr;) d->Dispose();
}

TEST_F(DialogTest, TheKeypadClearKeyClearsTheTextInsteadOfCancelling) {
  auto* director = MakeDialog();
  input.Key('\t');  // to "start", all selected
  input.Key(kEscapeChar, 0, kClearKeyCode);  // the clear key sends the escape character
  input.Key('\r');
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
  EXPECT_EQ(ItemText(dialog, 4), "");
  director->Dispose();
}

TEST_F(DialogTest, MouseClicksOnItemsTheScreenShows) {
  auto* director = MakeDialog();
  // The screen's dialog has the resource's items where the panes are: scripts find them there.
  director->GetDialog()->Reveal();
  ASSERT_NE(vlui::FrontDialog(), nullptr);
  input.Click(ItemCentre(5));
  input.Click(ItemCentre(4));
  input.Type("!");
  input.Click(ItemCentre(1));
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
  EXPECT_EQ(dynamic_cast<CCheckBox*>(dialog->FindItem(5))->GetValue(), 1);
  EXPECT_EQ(director->commands, (std::vector<long>{102, cmdOK}));
  // The click put the caret after "start"'s click point; the typed text went into item 4.
  EXPECT_NE(ItemText(dialog, 4).find('!'), std::string::npos);
  EXPECT_EQ(ItemText(dialog, 3), "");
  director->Dispose();
}

// A text that refuses to let the dialog end while it is empty.
class RequiredText : public CDialogText {
 public:
  Boolean Validate() override { return GetLength() > 0; }
};

class RequiredTextDialog : public CDLOGDialog {
 protected:
  CView* MakeEditTextItem(SInt16 itemNumber, const vlres::DialogItem& item) override {
    auto* text = new RequiredText;
    text->Init(this, this, SInt16(item.bounds.right - item.bounds.left),
               SInt16(item.bounds.bottom - item.bounds.top), item.bounds.left, item.bounds.top, sizFIXEDSTICKY,
               sizFIXEDSTICKY, 10);
    text->SetItemNumber(itemNumber);
    return text;
  }
};

TEST_F(DialogTest, OKWaitsUntilTheTextsAcceptAndTheItemFactoryCanBeReplaced) {
  InstallResources(kDialogSource);
  MakeApp<RecordingApp>();
  auto* director = new CDialogDirector;
  director->IDialogDirector(app);
  auto* made = new RequiredTextDialog;
  made->IDLOGDialog(500, gDesktop, director);
  input.Key('\r');  // both texts are empty: refused
  input.Type("0123456789abc");  // stops at ten characters
  input.Key('\r');  // item 4 is still empty
  input.Key('\t');
  input.Key('x');
  input.Key('\r');
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
  EXPECT_EQ(ItemText(made, 3), "0123456789");
  EXPECT_EQ(ItemText(made, 4), "x");
  director->Dispose();
}

TEST_F(DialogTest, MenuCommandsWaitWhileTheDialogRuns) {
  auto* director = MakeDialog();
  input.Then([] { vlui::PostCommand(cmdNew); });
  input.Key('q', cmdKey);
  input.Key('\r');
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
  auto* recording = static_cast<RecordingApp*>(app);
  EXPECT_TRUE(recording->commands.empty());
  EXPECT_TRUE(app->IsRunning());
  director->Dispose();
}

TEST_F(DialogTest, ClosingTheDirectorDuringTheLoopEndsItWithCancel) {
  auto* director = MakeDialog();
  input.Then([director] { director->Close(false); });
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdCancel);
  // The director closed itself after the loop.
  EXPECT_EQ(app->CountDirectors(), 0);
}

TEST_F(DialogTest, MissingResourcesFailWithNothingLeftBehind) {
  MakeApp();
  try {
    auto* director = new CDLOGDirector(777, app);
    ADD_FAILURE() << "made " << director;
  } catch (const CException& e) {
    EXPECT_EQ(e.GetError(), resNotFound);
  }
  EXPECT_EQ(app->CountDirectors(), 0);
  EXPECT_EQ(PortGetWindowList(), nullptr);
}

}  // namespace
