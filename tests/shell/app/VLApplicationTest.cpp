#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Alerts.h"
#include "CMenuManager.h"
#include "CProgressDialog.h"
#include "VLDepthBuffer.h"
#include "DCEventSink.h"
#include "DETException.h"
#include "ShellAppTestSupport.h"
#include "CDesktop.h"
#include "CWindow.h"
#include "UnitBase.h"
#include "ShellMain.h"
#include "VLStartupScreen.h"
#include "VLStandInDocument.h"

namespace fs = std::filesystem;

namespace {

std::string CommandText(long command) {
  Str255 text;
  gMenuManager->GetCommandText(command, text);
  return text.Std();
}

std::vector<std::string> DocumentNames(const CApplication* app) {
  std::vector<std::string> names;
  for (long i = 1; i <= app->CountDirectors(); ++i) {
    auto* document = dynamic_cast<CDocument*>(app->GetDirector(i));
    if (!document) continue;
    Str255 name;
    document->GetName(name);
    names.push_back(name.Std());
  }
  return names;
}

CDocument* DocumentNamed(const CApplication* app, const std::string& wanted) {
  for (long i = 1; i <= app->CountDirectors(); ++i) {
    auto* document = dynamic_cast<CDocument*>(app->GetDirector(i));
    Str255 name;
    if (document) document->GetName(name);
    if (document && name.Std() == wanted) return document;
  }
  return nullptr;
}

}  // namespace

TEST_F(ShellAppFixture, FormatsAndModelUnitsFromTheConstructor) {
  MakeApp();
  EXPECT_EQ(gModelLengthUnit, gFeet);
  EXPECT_EQ(gModelAngleUnit, gDegrees);
  const Format* lengths[] = {&app->GetMilesFormat(),          &app->GetFeetFormat(),
                             &app->GetFeetAndInchesFormat(),  &app->GetFeetAndFractionalInchesFormat(),
                             &app->GetInchesFormat(),         &app->GetFractionalInchesFormat(),
                             &app->GetKilometersFormat(),     &app->GetMetersFormat(),
                             &app->GetCentimetersFormat(),    &app->GetMillimetersFormat()};
  for (SInt16 i = 0; i < 10; ++i) EXPECT_EQ(app->FindLengthFormat(*lengths[i]), i);
  EXPECT_EQ(app->GetFeetAndFractionalInchesFormat().style, Format::kFractions);
  EXPECT_EQ(app->GetFeetAndFractionalInchesFormat().precision, 32);
  EXPECT_EQ(app->GetMillimetersFormat().precision, 0);
  // A format equal to none of them answers the count.
  EXPECT_EQ(app->FindLengthFormat(Format({gMeters, gCentimeters}, Format::kDecimals, 1)), 10);
  EXPECT_EQ(app->FindAngleFormat(app->GetAngleFormats()[2]), 2);
  EXPECT_EQ(app->GetAngleFormats()[1].unitCount, 2);
  EXPECT_EQ(app->FindAngleFormat(Format({gRadians}, Format::kDecimals, 2)), 3);
}

TEST_F(ShellAppFixture, TheApplicationOwnsTheOneEventBrokerFromConstructionToDeletion) {
  EXPECT_EQ(EventBroker::Current(), nullptr);
  MakeApp();
  EXPECT_EQ(EventBroker::Current(), &app->GetEventBroker());
  // A sink made while the program runs takes it, and is let go when the application goes first.
  DCEventSink sink;
  EXPECT_EQ(sink.Broker(), &app->GetEventBroker());
  sink.Broker()->Subscribe(&sink, PaletteEvent());
  delete app;
  app = nullptr;
  EXPECT_EQ(EventBroker::Current(), nullptr);
  EXPECT_EQ(sink.Broker(), nullptr);
}

TEST_F(ShellAppFixture, StartUpMenusAndTextToolDefaults) {
  MakeApp();
  // The about box and the information alert at the top of menu 1, about first.
  EXPECT_EQ(gMenuManager->FindCommand(kAppleMenu, 1), cmdAbout);
  EXPECT_EQ(gMenuManager->FindCommand(kAppleMenu, 2), cmdInformation);
  EXPECT_EQ(CommandText(cmdAbout), "About Velmora\xC9");
  // Items taken out at start-up; the material list item at the top of menu 137 with "...".
  for (long command : {2100L, 2204L, 2208L, 6014L, 6012L, 8100L}) EXPECT_FALSE(gMenuManager->HasCommand(command)) << command;
  EXPECT_EQ(gMenuManager->FindCommand(kMaterialsMenu, 1), cmdMaterialDialog);
  EXPECT_EQ(CommandText(cmdMaterialDialog), "Materials...");
  // The bar, with the text tool's submenus under menu 20.
  EXPECT_EQ(gMenuManager->MenuBarIds(), (std::vector<SInt16>{1, 2, 3, 4, 5, 6, 20, 137, 8}));
  ASSERT_NE(gMenuManager->GetMenuByID(kFontMenu), nullptr);
  EXPECT_EQ(gMenuManager->GetMenuByID(kTextMenu)->items[0].submenuId, kFontMenu);
  EXPECT_EQ(gMenuManager->GetMenuByID(kTextMenu)->items[1].submenuId, kSizeMenu);
  EXPECT_EQ(gMenuManager->GetMenuByID(kTextMenu)->items[2].submenuId, kStyleMenu);
  // The font menu lists the fonts by name; the first preferred one found is the text tool's.
  EXPECT_GT(gMenuManager->CountItems(kFontMenu), 4);
  ASSERT_NE(app->textFontItem, 0);
  Str255 font;
  gMenuManager->GetCommandText(gMenuManager->FindCommand(kFontMenu, app->textFontItem), font);
  EXPECT_EQ(font.Std(), "Chicago");
  EXPECT_EQ(app->textSizeIndex, 12);
  EXPECT_EQ(app->textStyle, 0);
  EXPECT_EQ(gWindowsMenuItemCount, gMenuManager->CountItems(kWindowsMenu));
}

TEST_F(ShellAppFixture, TextToolCommandsAndTheirMenuMarks) {
  MakeApp();
  struct Case {
    std::vector<long> commands;
    UInt16 style;
    SInt16 size;
    SInt16 justification;
  } cases[] = {
      {{2803}, 3, 12, 0},                                 // bits 1 and 2 together
      {{2801, 2801}, 0, 12, 0},                           // twice: as before
      {{2801, 2816, 2800}, 0, 12, 0},                     // plain clears every bit
      {{-(11L << 16 | 4)}, 4, 12, 0},                     // style item 4: 1 << 2
      {{2802, -(11L << 16 | 1)}, 0, 12, 0},               // style item 1: plain
      {{-(9L << 16 | 5)}, 0, 12, 0},                      // size item 5: index 12
      {{-(9L << 16 | 1)}, 0, 8, 0},
      {{2924}, 0, 24, 0},
      {{2703}, 0, 12, 2},
      {{2702, 2701}, 0, 12, 0},
  };
  for (const Case& c : cases) {
    app->textStyle = 0;
    app->textSizeIndex = 12;
    app->textJustification = 0;
    for (long command : c.commands) app->DoCommand(command);
    EXPECT_EQ(app->textStyle, c.style) << c.commands[0];
    EXPECT_EQ(app->textSizeIndex, c.size) << c.commands[0];
    EXPECT_EQ(app->textJustification, c.justification) << c.commands[0];
  }
  // Font menu item: the item and its font number.
  app->DoCommand(-(long(kFontMenu) << 16 | 2));
  EXPECT_EQ(app->textFontItem, 2);
  Str255 name;
  gMenuManager->GetCommandText(gMenuManager->FindCommand(kFontMenu, 2), name);
  SInt16 number = -1;
  PortFontNumber(name, &number);
  EXPECT_EQ(app->textFontNumber, number);

  // The marks follow the attributes.
  app->textStyle = 0x11;
  app->textSizeIndex = 18;
  app->textJustification = 1;
  app->UpdateAllMenus();
  EXPECT_TRUE(gMenuManager->IsCommandChecked(2801));
  EXPECT_TRUE(gMenuManager->IsCommandChecked(2816));
  EXPECT_FALSE(gMenuManager->IsCommandChecked(2800));
  EXPECT_FALSE(gMenuManager->IsCommandChecked(2802));
  EXPECT_TRUE(gMenuManager->IsCommandChecked(2918));
  EXPECT_FALSE(gMenuManager->IsCommandChecked(2912));
  EXPECT_TRUE(gMenuManager->IsCommandChecked(2702));
  EXPECT_TRUE(gMenuManager->IsCommandChecked(gMenuManager->FindCommand(kFontMenu, 2)));
  app->textStyle = 0;
  app->UpdateAllMenus();
  EXPECT_TRUE(gMenuManager->IsCommandChecked(2800));
  EXPECT_FALSE(gMenuManager->IsCommandChecked(2801));
  // The application's own items can be chosen.
  EXPECT_TRUE(gMenuManager->IsCommandEnabled(cmdAbout));
  EXPECT_TRUE(gMenuManager->IsCommandEnabled(cmdInformation));
}

TEST_F(ShellAppFixture, InformationAndConfirmationAlerts) {
  MakeApp();
  app->DoCommand(cmdInformation);
  EXPECT_EQ(AlertIds(), std::vector<int>{kInformationAlert});
  // Without the opened-by-command flag the application agrees without asking, unless forced.
  EXPECT_TRUE(app->ConfirmWithAlert(Str255("Replace?"), false));
  EXPECT_EQ(AlertIds().size(), 1u);
  answers = {2};
  EXPECT_FALSE(app->ConfirmWithAlert(Str255("Replace?"), true));
  ASSERT_EQ(AlertIds().back(), kConfirmAlert);
  EXPECT_EQ(vlalert::Log().back().texts.front(), "Replace?");
  answers = {1};
  EXPECT_TRUE(app->ConfirmWithAlert(Str255("Replace?"), true));
}

TEST_F(ShellAppFixture, UntitledNumbersStartAgainWhenEveryUntitledDocumentIsGone) {
  MakeApp();
  app->DoCommand(cmdNew);
  app->DoCommand(cmdNew);
  EXPECT_EQ(DocumentNames(app), (std::vector<std::string>{"Untitled", "Untitled 2"}));
  EXPECT_EQ(app->GetUntitledCount(), 2);
  // While one is open the numbers go on.
  ASSERT_TRUE(DocumentNamed(app, "Untitled")->Close(false));
  app->DoCommand(cmdNew);
  EXPECT_EQ(DocumentNames(app), (std::vector<std::string>{"Untitled 2", "Untitled 3"}));
  // When both are closed the next one is number 1 again.
  ASSERT_TRUE(DocumentNamed(app, "Untitled 2")->Close(false));
  ASSERT_TRUE(DocumentNamed(app, "Untitled 3")->Close(false));
  EXPECT_EQ(app->GetUntitledCount(), 0);
  EXPECT_EQ(app->GetUntitledNumber(), 0);
  app->DoCommand(cmdNew);
  EXPECT_EQ(DocumentNames(app), (std::vector<std::string>{"Untitled"}));
  // Giving a number back more often than numbers were given never wraps the count.
  app->EndNesting();
  app->EndNesting();
  EXPECT_EQ(app->GetUntitledCount(), 0);
}

TEST_F(ShellAppFixture, FirstPassOpensLaunchFilesInOrderOrMakesANewDocument) {
  MakeApp();
  app->StartUpAction(0);
  EXPECT_EQ(DocumentNames(app), (std::vector<std::string>{"Untitled"}));
  delete app;
  app = nullptr;

  MakeApp();
  app->SetLaunchFiles({ReplyFor(TestFile("b-plan.vl")), ReplyFor(TestFile("a-plan.vl"))});
  app->StartUpAction(0);
  EXPECT_EQ(DocumentNames(app), (std::vector<std::string>{"b-plan.vl", "a-plan.vl"}));
  EXPECT_FALSE(app->OpenedByCommand());
  EXPECT_EQ(app->GetUntitledCount(), 0);
  EXPECT_TRUE(AlertIds().empty());
}

TEST_F(ShellAppFixture, OpeningByFileType) {
  MakeApp();
  // A picture: an untitled document, then the "not a Velmora file" report through the caller.
  SFReply picture = ReplyFor(TestFile("drawing.pict"));
  ASSERT_EQ(picture.fType, FourCC("PICT"));
  EXPECT_THROW(app->OpenDocument(&picture), DETException);
  EXPECT_EQ(DocumentNames(app), (std::vector<std::string>{"Untitled"}));

  // A type nothing opens: the same report, and nothing is opened.
  SFReply text = ReplyFor(TestFile("notes.txt"));
  EXPECT_THROW(app->OpenDocument(&text), DETException);
  EXPECT_EQ(app->CountDirectors(), 1);
  EXPECT_TRUE(AlertIds().empty());

  // A scene file without the 3D scene library: alert 139, nothing opened.
  SFReply scene = ReplyFor(TestFile("model.3dmf"));
  app->OpenDocument(&scene);
  EXPECT_EQ(AlertIds(), std::vector<int>{kNoQD3DFor3DMFAlert});
  EXPECT_EQ(app->CountDirectors(), 1);
}

TEST_F(ShellAppFixture, AFileThatCannotBeOpenedIsReportedAndNothingIsLeftOpen) {
  MakeApp();
  SFReply missing = ReplyFor(TestFile("gone.vl"));
  fs::remove(TestFile("gone.vl"));
  app->OpenDocument(&missing);
  EXPECT_EQ(app->CountDirectors(), 0);
  EXPECT_EQ(AlertIds(), std::vector<int>{4003});
  EXPECT_EQ(app->GetUntitledCount(), 0);
}

TEST_F(ShellAppFixture, OpenCommandSetsTheOpenedByCommandFlagAndLaunchesClearIt) {
  MakeApp();
  app->DoCommand(cmdOpen);
  EXPECT_TRUE(app->OpenedByCommand());
  app->OpenDocuments({});
  EXPECT_FALSE(app->OpenedByCommand());
}

TEST_F(ShellAppFixture, QuitTearsDownOnceAndClearsTheClipboardTheSorterAndTheProgressDialog) {
  MakeApp();
  ASSERT_NE(gClipboard, nullptr);
  // One depth sorter, made and initialised at start-up.
  ASSERT_NE(gDepthBuffer, nullptr);
  EXPECT_TRUE(gDepthBuffer->GetKeepRegions());
  EXPECT_NE(gDepthBuffer->fillPattern, nullptr);
  // The progress dialog is made hidden at start-up, ready for the first long drawing.
  ASSERT_NE(gProgressDialog, nullptr);
  ASSERT_NE(gProgressDialog->dialog, nullptr);
  EXPECT_FALSE(PortIsWindowVisible(gProgressDialog->dialog));
  app->Quit();
  EXPECT_EQ(gClipboard, nullptr);
  EXPECT_EQ(gProgressDialog, nullptr);
  EXPECT_EQ(gDepthBuffer, nullptr);
  app->Quit();  // the fatal-error path may quit again; the destructor tears down once more
}

TEST_F(ShellAppFixture, FailuresOfAPassAreReportedAsTheProgramsAlerts) {
  MakeApp();
  try {
    ThrowError(kDEErrorNotAValidVelmoraFile, Str255("test"));
  } catch (...) {
    app->ReportFailure(std::current_exception());
  }
  try {
    Failure(-43, 0);
  } catch (...) {
    app->ReportFailure(std::current_exception());
  }
  EXPECT_EQ(AlertIds(), (std::vector<int>{4010, kErrorAlert}));
}

namespace {

std::vector<std::string> WindowMenuItems() {
  std::vector<std::string> items;
  for (SInt16 i = gWindowsMenuItemCount + 1; i <= gMenuManager->CountItems(kWindowsMenu); ++i) {
    long command = gMenuManager->FindCommand(kWindowsMenu, i);
    Str255 text;
    gMenuManager->GetCommandText(command, text);
    items.push_back(std::to_string(command) + (gMenuManager->IsCommandChecked(command) ? " * " : " ") + text.Std());
  }
  return items;
}

}  // namespace

TEST_F(ShellAppFixture, WindowMenuListsTheWindowsByTitle) {
  MakeApp();
  app->DoCommand(cmdNew);
  EXPECT_EQ(app->GetStartupScreen(), nullptr);  // the first document took its place
  app->DoCommand(cmdNew);
  app->DoCommand(cmdNew);
  CDocument* documents[] = {DocumentNamed(app, "Untitled"), DocumentNamed(app, "Untitled 2"),
                            DocumentNamed(app, "Untitled 3")};
  documents[0]->GetWindow()->SetTitle(Str255("Plan"));
  documents[1]->GetWindow()->SetTitle(Str255("\x13  Section"));
  documents[2]->GetWindow()->SetTitle(Str255("Elevation"));
  app->UpdateAllMenus();
  EXPECT_EQ(WindowMenuItems(), (std::vector<std::string>{"8001 * Elevation", "8002 Plan", "8003 Section"}));
  Str255 text;
  gMenuManager->GetCommandText(cmdSceneWindow, text);
  EXPECT_EQ(text.Std(), "New 3D Scene Window");

  // Choosing an item brings its window to the front; a title no window has does nothing.
  app->DoCommand(8002);
  EXPECT_EQ(gDesktop->GetActiveWindow(), documents[0]->GetWindow());
  EXPECT_FALSE(app->SelectWindowTitled(Str255("Nowhere")));

  // After a window closes the list is made again, numbered from 8001.
  ASSERT_TRUE(documents[2]->Close(false));
  app->UpdateAllMenus();
  EXPECT_EQ(WindowMenuItems(), (std::vector<std::string>{"8001 * Plan", "8002 Section"}));
}

TEST_F(ShellAppFixture, AboutBoxWaitsForTheButtonAndGoesAway) {
  MakeApp();
  long windows = gDesktop->CountWindows();
  vlui::SetButton(true);
  app->DoCommand(cmdAbout);
  vlui::SetButton(false);
  EXPECT_EQ(gDesktop->CountWindows(), windows);
  EXPECT_EQ(app->CountDirectors(), 1);  // the start-up screen alone
}

TEST_F(ShellAppFixture, StartupScreenClosedWithTheOthersIsForgotten) {
  MakeApp();
  ASSERT_NE(app->GetStartupScreen(), nullptr);
  EXPECT_EQ(app->GetStartupScreen()->GetPictureID(), 132);
  ASSERT_TRUE(app->CloseDirectors(true));
  EXPECT_EQ(app->GetStartupScreen(), nullptr);
  app->DoCommand(cmdNew);
  EXPECT_EQ(DocumentNames(app), (std::vector<std::string>{"Untitled"}));
}

TEST_F(ShellAppFixture, DroppedFilesOpenInTheShellsOrder) {
  MakeApp();
  app->DoCommand(cmdOpen);  // an earlier Open command does not make the drop ask
  app->BecomeInactive();
  OpenDroppedFiles({TestFile("three.vl"), TestFile("one.vl"), "", TestFile("two.vl")});
  EXPECT_FALSE(app->InBackground());
  EXPECT_FALSE(app->OpenedByCommand());
  EXPECT_EQ(DocumentNames(app), (std::vector<std::string>{"three.vl", "one.vl", "two.vl"}));
  OpenDroppedFiles({});
  EXPECT_EQ(app->CountDirectors(), 3);
}
