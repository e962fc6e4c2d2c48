#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "CMenuManager.h"
#include "CPane.h"
#include "CPreferences.h"
#include "CWindow.h"
#include "DETException.h"
#include "DocumentTestSupport.h"
#include "DrawingPlane.h"
#include "VLStandInDocumentViews.h"
#include "VLUser3DObject.h"

namespace {

std::vector<std::string> PhaseNames(VLDocument* document) {
  std::vector<std::string> names;
  VLIndexedCluster* phases = document->GetPhases();
  for (long i = 1; i <= phases->GetNumItems(); ++i) {
    PhaseRecord record;
    phases->GetItem(&record, i);
    names.push_back(PStrToStd(record.name));
    EXPECT_EQ(phases->KeyAt(i), i);
    EXPECT_EQ(record.visible, 1);
    EXPECT_EQ(record.selectable, 1);
  }
  return names;
}

std::string WindowTitle(VLDocument* document) {
  Str255 title;
  document->GetWindow()->GetTitle(title);
  return title.Std();
}

std::string DocumentName(VLDocument* document) {
  Str255 name;
  document->GetName(name);
  return name.Std();
}

// Stand-in views that fail at a chosen step.
struct FailingViews : VLStandInDocumentViews {
  using VLStandInDocumentViews::VLStandInDocumentViews;
  static inline int failAt = 0;  // 1: making the window, 2: giving the pane the snap spacing
  CWindow* MakeWindow() override {
    if (failAt == 1) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
    return VLStandInDocumentViews::MakeWindow();
  }
  void SetSnapGridSpacing(double spacing) override {
    if (failAt == 2) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
    VLStandInDocumentViews::SetSnapGridSpacing(spacing);
  }
};
VLDocumentViews* MakeFailingViews(VLDocument* document) { return new FailingViews(document); }
VLDocumentViews* MakeNoViews(VLDocument*) { return nullptr; }

}  // namespace

using DocumentTest = DocumentFixture;

TEST_F(DocumentTest, ANewDocumentHoldsTheTwoPlanesAndItsDefaults) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  VLArray* objects = document->GetObjectList();
  ASSERT_EQ(objects->GetNumItems(), 2);
  EXPECT_EQ(objects->PointerAt(VLDocument::kSectionPlanePosition), document->GetSectionPlane());
  EXPECT_EQ(objects->PointerAt(VLDocument::kWorkingPlanePosition), document->GetWorkingPlane());
  EXPECT_EQ(document->GetObjectHolder()->objectCount, 2);
  EXPECT_EQ(document->GetObjectHolder()->reservedWord, -1);
  EXPECT_EQ(document->GetSelectionList()->GetNumItems(), 0);

  EXPECT_EQ(PhaseNames(document), (std::vector<std::string>{"Existing", "New Construction", "Demolition", "Future"}));
  EXPECT_EQ(document->GetPhaseCounter(), 4);
  EXPECT_EQ(document->GetCurrentPhase(), 1);

  EXPECT_EQ(DocumentName(document), "Untitled");
  EXPECT_EQ(WindowTitle(document), "Untitled - Existing");
  EXPECT_FALSE(document->IsChanged());
  EXPECT_EQ(document->GetFile(), nullptr);
  EXPECT_EQ(document->GetLatitude(), 40.0);
  EXPECT_EQ(document->GetGroundPlaneVisible(), 1);
  EXPECT_EQ(document->GetLineDelimiter(), 10);
  EXPECT_EQ(document->GetFileVersion(), 4);
  EXPECT_EQ(document->GetToolGroup(), 0);
  EXPECT_EQ(std::vector<SInt16>(document->GetToolGroupDefaults(), document->GetToolGroupDefaults() + 7),
            (std::vector<SInt16>{2, 0, -1, -1, 0, 0, -1}));
  EXPECT_EQ((std::vector<SInt16>{gAxisX, gAxisY, gAxisZ}), (std::vector<SInt16>{0, 1, 2}));
  EXPECT_EQ(gWorkingPlane, nullptr);

  // The working view heads the saved views, a copy the walk-through; it took number 0.
  ASSERT_EQ(document->GetSavedViews()->GetNumItems(), 1);
  ASSERT_EQ(document->GetWalkthroughViews()->GetNumItems(), 1);
  EXPECT_NE(document->GetSavedViews()->PointerAt(1), document->GetWalkthroughViews()->PointerAt(1));
  Str255 viewName;
  document->GetViews()->GetViewName(static_cast<CCollaborator*>(document->GetSavedViews()->PointerAt(1)), viewName);
  EXPECT_EQ(viewName.Std(), "Working View");
  EXPECT_EQ(document->GetViewNumberCounter(), 1);

  // The grid of string list 2700 (size 50, spacing 5) makes the model box; snap spacing 0.5.
  const double* box = document->GetModelBox();
  EXPECT_EQ((std::vector<double>(box, box + 6)), (std::vector<double>{-25, -25, 0, 25, 25, 0}));
  EXPECT_EQ(document->GetSnapGridSpacing(), 0.5);
  EXPECT_EQ(document->GetWallThickness(), 0.5);
  EXPECT_TRUE(document->GetWindow()->IsVisible());
  EXPECT_EQ(document->GetFirstTarget(), static_cast<CBureaucrat*>(document->GetMainPane()));
}

TEST_F(DocumentTest, UntitledDocumentsAreNumbered) {
  std::vector<VLDocument*> documents;
  for (int i = 0; i < 3; ++i) documents.push_back(NewDocument());
  ASSERT_NE(documents[2], nullptr);
  EXPECT_EQ(DocumentName(documents[0]), "Untitled");
  EXPECT_EQ(DocumentName(documents[1]), "Untitled 2");
  EXPECT_EQ(DocumentName(documents[2]), "Untitled 3");
  EXPECT_EQ(WindowTitle(documents[2]), "Untitled 3 - Existing");
  EXPECT_EQ(app->GetUntitledCount(), 3);
  // Each gives its number back when it goes.
  for (VLDocument* document : documents) EXPECT_TRUE(document->Close(false));
  EXPECT_EQ(app->GetUntitledCount(), 0);
  EXPECT_EQ(NewDocument() ? DocumentName(Documents().back()) : "", "Untitled");
}

TEST_F(DocumentTest, DefaultPhasesEndAtTheirTerminatorOrAfter1000) {
  std::vector<std::string> many;
  for (int i = 1; i <= 1200; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "P%d", i);
    many.push_back(name);
  }
  struct Case {
    std::vector<std::string> list;
    std::vector<std::string> phases;
  } cases[] = {
      {{"Site", "Shell", "End of Phases", "After"}, {"Site", "Shell"}},
      {{"Only", "Two"}, {"Only", "Two"}},  // no terminator: the list's end
      {{"End of Phases", "Never"}, {}},
      {{"Site", "end of phases", "End of Phases"}, {"Site", "end of phases"}},
      {many, std::vector<std::string>(many.begin(), many.begin() + 1000)},
  };
  for (const Case& c : cases) {
    OverrideStringList(VLDocument::kPhaseStrings, c.list);
    VLDocument* document = NewDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(PhaseNames(document), c.phases);
    EXPECT_EQ(document->GetPhaseCounter(), SInt16(c.phases.size()));
    EXPECT_EQ(document->GetCurrentPhase(), 1);
    EXPECT_TRUE(document->Close(false));
  }
}

TEST_F(DocumentTest, ActivationPublishesTheDocumentAndClosingWithdrawsIt) {
  VLDocument* first = NewDocument();
  ASSERT_NE(first, nullptr);
  // A document in meters, so that its units differ from the other's.
  std::istringstream line(" Meters.3\n");
  first->GetPreferences()->ReadHeaderLines(line, CPreferences::kLengthUnitsLine, '\n', first);
  VLDocument* second = NewDocument();
  ASSERT_NE(second, nullptr);
  Pump();

  auto expectPublished = [&](VLDocument* document, const Format& format, const char* which) {
    EXPECT_EQ(gCurrentObjectList, document->GetObjectList()) << which;
    EXPECT_EQ(gCurrentSelection, document->GetSelectionList()) << which;
    EXPECT_EQ(gObjectCount, 2) << which;
    EXPECT_EQ(gCurrentPhases, document->GetPhases()) << which;
    EXPECT_EQ(gPhaseCounter, 4) << which;
    EXPECT_EQ(gCurrentPhase, 1) << which;
    EXPECT_EQ(gLengthFormat, format) << which;
    EXPECT_EQ(gLengthEntryUnit, format.units[0]) << which;
    EXPECT_EQ(gAngleFormat, app->GetAngleFormats()[0]) << which;
    EXPECT_EQ(gCurrentViewPane, document->GetViews()->GetViewPane()) << which;
    EXPECT_EQ(gCurrentMaterials, document->GetMaterialList()) << which;
  };
  expectPublished(second, app->GetFeetAndInchesFormat(), "second");
  first->GetWindow()->Select();
  Pump();
  expectPublished(first, app->GetMetersFormat(), "first");
  second->GetWindow()->Select();
  Pump();
  expectPublished(second, app->GetFeetAndInchesFormat(), "second again");

  // Closing the active document withdraws it at once; the other takes over when activated.
  ASSERT_TRUE(second->Close(false));
  EXPECT_EQ(gCurrentObjectList, nullptr);
  EXPECT_EQ(gCurrentSelection, nullptr);
  EXPECT_EQ(gCurrentPhases, nullptr);
  EXPECT_EQ(gObjectCount, 0);
  Pump();
  expectPublished(first, app->GetMetersFormat(), "first after the close");
  ASSERT_TRUE(first->Close(false));
  EXPECT_EQ(gCurrentObjectList, nullptr);
  EXPECT_EQ(gCurrentPhases, nullptr);
}

TEST_F(DocumentTest, DisposingAnInactiveDocumentLeavesTheActiveOne) {
  VLDocument* first = NewDocument();
  VLDocument* second = NewDocument();
  ASSERT_NE(second, nullptr);
  Pump();
  ASSERT_EQ(gCurrentObjectList, second->GetObjectList());
  ASSERT_TRUE(first->Close(false));
  EXPECT_EQ(gCurrentObjectList, second->GetObjectList());
  EXPECT_EQ(gCurrentSelection, second->GetSelectionList());
  EXPECT_EQ(gCurrentPhases, second->GetPhases());
  EXPECT_EQ(gObjectCount, 2);
}

TEST_F(DocumentTest, DeactivationClearsTheListsAndTheViewsMenu) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  Pump();
  Str255 text;
  ASSERT_TRUE(gMenuManager->GetCommandText(VLDocument::cmdWorkingView, text));
  EXPECT_EQ(text.Std(), "Working View");
  SInt16 menu = 0;
  SInt16 item = 0;
  ASSERT_TRUE(gMenuManager->FindMenuItem(VLDocument::cmdWorkingView, &menu, &item));
  EXPECT_EQ(menu, VLDocument::kViewsMenu);
  EXPECT_EQ(item, gMenuManager->CountItems(VLDocument::kViewsMenu));

  document->DeactivateWindow();
  EXPECT_EQ(gCurrentObjectList, nullptr);
  EXPECT_EQ(gCurrentSelection, nullptr);
  EXPECT_EQ(gWorkingPlaneOn, 0);
  EXPECT_FALSE(gMenuManager->HasCommand(VLDocument::cmdWorkingView));
  const SInt16 fixedItems = gMenuManager->CountItems(VLDocument::kViewsMenu);
  EXPECT_EQ(fixedItems, item - 1);
  // Activating again puts the working view back, once.
  document->ActivateWindow();
  document->ActivateWindow();
  EXPECT_EQ(gMenuManager->CountItems(VLDocument::kViewsMenu), fixedItems + 1);
  EXPECT_EQ(gCurrentObjectList, document->GetObjectList());

  // The phases window changes the published phase; the document takes it and shows it.
  gCurrentPhase = 3;
  document->TakeCurrentPhase();
  EXPECT_EQ(document->GetCurrentPhase(), 3);
  document->UpdateWindowTitle();
  EXPECT_EQ(WindowTitle(document), "Untitled - Demolition");
}

TEST_F(DocumentTest, RefreshOnActivationMarksEveryObjectChangedOnce) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  Pump();
  for (VLUser3DObject* plane : {document->GetSectionPlane(), document->GetWorkingPlane()}) plane->changed = 0;
  document->SetRefreshOnActivation(true);
  document->ActivateWindow();
  EXPECT_EQ(document->GetSectionPlane()->changed, 1);
  EXPECT_EQ(document->GetWorkingPlane()->changed, 1);
  document->GetSectionPlane()->changed = 0;
  document->ActivateWindow();
  EXPECT_EQ(document->GetSectionPlane()->changed, 0);
}

TEST_F(DocumentTest, FailureOnceTheWindowShowsClosesTheDocumentQuietly) {
  gDocumentViewsMaker = MakeFailingViews;
  FailingViews::failAt = 2;
  EXPECT_EQ(NewDocument(), nullptr);
  EXPECT_TRUE(Documents().empty());
  EXPECT_EQ(app->GetUntitledCount(), 0);
  FailingViews::failAt = 0;
}

TEST_F(DocumentTest, EarlierFailuresPassOnAndTheHalfMadeDocumentGoes) {
  gDocumentViewsMaker = MakeFailingViews;
  FailingViews::failAt = 1;
  EXPECT_THROW(app->CreateDocument(), DETException);
  FailingViews::failAt = 0;
  EXPECT_TRUE(Documents().empty());
  EXPECT_EQ(app->GetUntitledCount(), 0);

  gDocumentViewsMaker = MakeNoViews;
  EXPECT_THROW(app->CreateDocument(), CException);
  EXPECT_TRUE(Documents().empty());
  EXPECT_EQ(app->GetUntitledCount(), 0);
}
