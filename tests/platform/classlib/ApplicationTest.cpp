// The application's run loop, start-up, error reports and quitting.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>

#include "CDocument.h"
#include "CMenuManager.h"
#include "ClassLibTestSupport.h"
#include "Commands.h"
#include "StandardFile.h"
#include "TempFolder.h"

namespace {

class LoopApp : public CApplication {
 public:
  std::vector<long> handled;
  std::vector<std::string> opened;
  int newDocuments = 0;
  void DoCommand(long command) override {
    switch (command) {
      case 1:  // quit goes to the class library
        CApplication::DoCommand(command);
        return;
      case 7001:
        throw CException(-43, 0);
      case 7002:
        throw std::bad_alloc();
      case 7003:
        throw CException(1, 0);  // silent
      case 7004:
        throw std::runtime_error("not a class-library exception");
      default:
        handled.push_back(command);
        CApplication::DoCommand(command);
    }
  }
  void CreateDocument() override { ++newDocuments; }
  void OpenDocument(SFReply* reply) override {
    std::string name = reply->fName.Std();
    if (name == "bad") Failure(-39, 0);
    opened.push_back(name);
    auto* document = new CDocument;
    document->IDocument(this, false);
  }
};

// Feeds one command per request for the next event, then quits.
class CommandSource : public vlui::EventSource {
 public:
  explicit CommandSource(std::vector<long> commands) : commands(std::move(commands)) {}
  void Refill() override {
    ++refills;
    if (next < commands.size())
      vlui::PostCommand(commands[next++]);
    else if (!quit) {
      quit = true;
      vlui::PostCommand(cmdQuit);
    } else {
      PortExitToShell(99);  // the program did not quit
    }
  }
  std::vector<long> commands;
  std::size_t next = 0;
  bool quit = false;
  int refills = 0;
};

using ApplicationTest = AppFixture;

TEST_F(ApplicationTest, FailureInOneStepIsReportedAndTheLoopGoesOn) {
  auto* a = MakeApp<LoopApp>();
  CommandSource source({7001, 500, 7002, 7003, 7004, 501});
  vlui::SetEventSource(&source);
  a->Run();
  vlui::SetEventSource(nullptr);
  EXPECT_EQ(a->GetRunState(), 2);
  EXPECT_FALSE(a->IsRunning());
  // Every command after a failing one still ran; the first pass made a new document.
  EXPECT_EQ(a->handled, (std::vector<long>{cmdNew, 500, 501}));
  EXPECT_EQ(a->newDocuments, 1);
  // -43 and out of memory and the foreign failure are reported; error 1 is silent.
  ASSERT_EQ(vlalert::Log().size(), 3u);
  for (const auto& r : vlalert::Log()) {
    EXPECT_EQ(r.kind, "alert");
    EXPECT_EQ(r.id, kErrorAlert);
  }
  EXPECT_EQ(vlalert::Log()[0].texts[0], "-43");
  EXPECT_EQ(vlalert::Log()[1].texts[0], std::to_string(memFullErr));
  EXPECT_EQ(vlalert::Log()[2].texts[0], std::to_string(kUnknownFailure));
}

TEST_F(ApplicationTest, ErrorsOnlyBeepInTheBackground) {
  auto* a = MakeApp<LoopApp>();
  a->BecomeInactive();
  long beeps = vlui::BeepCount();
  a->ReportFailure(std::make_exception_ptr(CException(-36, 0)));
  EXPECT_EQ(vlui::BeepCount(), beeps + 1);
  EXPECT_TRUE(vlalert::Log().empty());
  a->BecomeActive();
  EXPECT_FALSE(gAlertsSuppressed);
}

TEST_F(ApplicationTest, ExitToShellLeavesTheLoop) {
  auto* a = MakeApp<LoopApp>();
  struct Exit : vlui::EventSource {
    void Refill() override { PortExitToShell(7); }
  } source;
  vlui::SetEventSource(&source);
  try {
    a->Run();
    FAIL() << "the run loop caught the exit";
  } catch (const vlui::ExitToShellSignal& exit) {
    EXPECT_EQ(exit.status, 7);
  }
  vlui::SetEventSource(nullptr);
}

TEST_F(ApplicationTest, LaunchFilesAreOpenedInOrderInsteadOfNew) {
  auto* a = MakeApp<LoopApp>();
  std::vector<SFReply> files(3);
  files[0].fName = Str63("one");
  files[1].fName = Str63("bad");
  files[2].fName = Str63("two");
  a->SetLaunchFiles(files);
  CommandSource source({});
  vlui::SetEventSource(&source);
  a->Run();
  vlui::SetEventSource(nullptr);
  EXPECT_EQ(a->opened, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(a->newDocuments, 0);
  EXPECT_EQ(AlertIds(), (std::vector<int>{kErrorAlert}));  // the bad one, reported
}

TEST_F(ApplicationTest, LaunchFilesThatAllFailLeaveANewDocument) {
  auto* a = MakeApp<LoopApp>();
  std::vector<SFReply> files(2);
  files[0].fName = Str63("bad");
  files[1].fName = Str63("bad");
  a->SetLaunchFiles(files);
  CommandSource source({});
  vlui::SetEventSource(&source);
  a->Run();
  vlui::SetEventSource(nullptr);
  EXPECT_TRUE(a->opened.empty());
  EXPECT_EQ(a->newDocuments, 1);
}

// A document that counts its saves.
class SavingDocument : public CDocument {
 public:
  int* saves;
  bool saveWorks = true;
  explicit SavingDocument(int* saves) : saves(saves) {}
  Boolean DoSave() override {
    ++*saves;
    if (!saveWorks) Failure(-34, 0);
    dirty = false;
    return true;
  }
};

TEST_F(ApplicationTest, QuitAsksChangedDocumentsAndARefusalStopsIt) {
  auto* a = MakeApp<LoopApp>();
  int saves = 0;
  auto* clean = new SavingDocument(&saves);
  clean->IDocument(a, false);
  auto* changed = new SavingDocument(&saves);
  changed->IDocument(a, false);
  changed->SetName(Str255("Plan"));
  changed->dirty = true;

  answers = {3};  // Cancel
  EXPECT_FALSE(a->RequestQuit());
  EXPECT_TRUE(a->IsRunning());
  EXPECT_EQ(a->CountDirectors(), 2);
  ASSERT_EQ(AlertIds(), (std::vector<int>{kSaveChangesAlert}));
  EXPECT_EQ(vlui::AlertText(0), "Plan");

  changed->saveWorks = false;  // Save, and the save fails: nothing is lost
  answers = {1};
  EXPECT_THROW(a->RequestQuit(), CException);
  EXPECT_EQ(a->CountDirectors(), 2);

  changed->saveWorks = true;
  answers = {1};
  EXPECT_TRUE(a->RequestQuit());
  EXPECT_EQ(saves, 2);
  EXPECT_EQ(a->CountDirectors(), 0);
  EXPECT_FALSE(a->IsRunning());
}

TEST_F(ApplicationTest, DontSaveClosesWithoutSaving) {
  auto* a = MakeApp<LoopApp>();
  int saves = 0;
  auto* doc = new SavingDocument(&saves);
  doc->IDocument(a, false);
  doc->dirty = true;
  answers = {2};
  EXPECT_TRUE(doc->Close(false));
  EXPECT_EQ(saves, 0);
  EXPECT_EQ(a->CountDirectors(), 0);
}

TEST_F(ApplicationTest, SaveOptionDecidesWithoutAsking) {
  auto* a = MakeApp<LoopApp>();
  int saves = 0;
  for (OSType option : {kSaveNo, kSaveYes}) {
    gSaveOption = option;
    auto* doc = new SavingDocument(&saves);
    doc->IDocument(a, false);
    doc->dirty = true;
    EXPECT_TRUE(doc->Close(true));
  }
  gSaveOption = kSaveAsk;
  EXPECT_EQ(saves, 1);
  EXPECT_TRUE(vlalert::Log().empty());
}

TEST_F(ApplicationTest, UndoItemTextNamesTheTask) {
  // String lists 128 and 130 of a small resource table.
  static const unsigned char list128[] = {0, 4, 1, 'q', 1, 'c', 5, 'U', 'n', 'd', 'o', ' ', 5, 'R', 'e', 'd', 'o', ' '};
  static const unsigned char list130[] = {0, 2, 4, 'M', 'o', 'v', 'e', 5, 'S', 'c', 'a', 'l', 'e'};
  static const vlres::CompiledResource table[] = {
      {FourCC("STR#"), 128, nullptr, list128, sizeof list128},
      {FourCC("STR#"), 130, nullptr, list130, sizeof list130},
  };
  vlres::InstallResourceTable(table, 2);
  auto* a = MakeApp<LoopApp>();
  gMenuManager->AddMenu(2);
  gMenuManager->AddCommandItem(cmdUndo, Str255("Undo"), 2, 0);
  Str255 text;
  a->UpdateAllMenus();
  gMenuManager->GetCommandText(cmdUndo, text);
  EXPECT_EQ(text.Std(), "Undo ");
  EXPECT_FALSE(gMenuManager->IsCommandEnabled(cmdUndo));

  std::vector<std::string> log;
  auto* task = new RecordingTask(&log, "t");
  task->Init(2);
  a->Notify(task);
  a->UpdateAllMenus();
  gMenuManager->GetCommandText(cmdUndo, text);
  EXPECT_EQ(text.Std(), "Undo Scale");
  EXPECT_TRUE(gMenuManager->IsCommandEnabled(cmdUndo));
  EXPECT_TRUE(a->DispatchCommand(cmdUndo));
  a->UpdateAllMenus();
  gMenuManager->GetCommandText(cmdUndo, text);
  EXPECT_EQ(text.Std(), "Redo Scale");
  a->BecomeInactive();
  a->UpdateAllMenus();
  gMenuManager->GetCommandText(cmdUndo, text);
  EXPECT_EQ(text.Std(), "Undo ");
  a->BecomeActive();
  a->Notify(nullptr);  // the task goes while its log exists
}

}  // namespace

namespace {

TEST_F(ApplicationTest, UntitledDocumentSavesThroughSaveAsAndTakesTheFile) {
  auto* a = MakeApp<LoopApp>();
  auto* doc = new CDocument;
  doc->IDocument(a, true);
  doc->SetName(Str255("Untitled 2"));
  EXPECT_FALSE(doc->HasFile());
  EXPECT_FALSE(doc->DoSave());  // no file: the save-as path, whose dialog nobody answers here
  Str255 name;
  doc->GetName(name);
  EXPECT_EQ(name.Std(), "Untitled 2");
  StandardFileReply reply;
  reply.sfGood = true;
  PStrFromStd("plan.vl", reply.sfFile.name, 63);
  doc->DoSaveAs(&reply);
  EXPECT_TRUE(doc->HasFile());
  doc->GetName(name);
  EXPECT_EQ(name.Std(), "plan.vl");
  doc->SetFileSpec(nullptr);
  EXPECT_FALSE(doc->HasFile());
  // Save is offered only while the document has changes.
  gMenuManager->AddMenu(3);
  gMenuManager->AddCommandItem(cmdSave, Str255("Save"), 3, 0);
  doc->BecomeCommandTarget(true);
  a->UpdateAllMenus();
  EXPECT_FALSE(gMenuManager->IsCommandEnabled(cmdSave));
  doc->SetChanged(true);
  a->UpdateAllMenus();
  EXPECT_TRUE(gMenuManager->IsCommandEnabled(cmdSave));
  doc->RevertChanged();
  EXPECT_FALSE(doc->IsChanged());
}

}  // namespace

namespace {

// The open and save dialogs answered as a user would: the request is kept, the answer given.
class FileDialogTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    std::ofstream(folder / "plan.vl") << "x";
    vlui::SetStandardDialogAnswerer([this](const vlui::StandardDialogRequest& r, vlui::StandardDialogAnswer* a) {
      requests.push_back(r);
      a->chosen = !answerPath.empty();
      a->path = answerPath;
      return true;
    });
  }
  void TearDown() override {
    vlui::SetStandardDialogAnswerer(nullptr);
    AppFixture::TearDown();
  }
  vltest::TempFolder temp;
  std::filesystem::path folder = temp.Root();
  std::string answerPath;
  std::vector<vlui::StandardDialogRequest> requests;
};

class SavingAsDocument : public CDocument {
 public:
  Boolean DoSave() override {
    if (!HasFile()) return CDocument::DoSave();
    ++saves;
    return true;
  }
  int saves = 0;
};

TEST_F(FileDialogTest, OpenAsksForTheApplicationsTypesAndTakesTheChosenFile) {
  auto* a = MakeApp();
  a->sfNumTypes = 2;
  a->sfFileTypes[1] = FourCC("3DMF");
  answerPath = (folder / "plan.vl").string();
  SFReply reply;
  EXPECT_TRUE(a->AskFileToOpen(&reply));
  EXPECT_EQ(reply.fName.Std(), "plan.vl");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].kind, "getfile");
  EXPECT_EQ(requests[0].types, (std::vector<OSType>{FourCC("TEXT"), FourCC("3DMF")}));
  answerPath.clear();
  EXPECT_FALSE(a->AskFileToOpen(&reply));
  EXPECT_FALSE(reply.good);
}

TEST_F(FileDialogTest, SaveAsProposesTheDocumentsNameAndSavesToTheChosenFile) {
  auto* a = MakeApp();
  auto* doc = new SavingAsDocument;
  doc->IDocument(a, false);
  doc->SetName(Str255("Untitled 1"));
  EXPECT_FALSE(doc->DoSave());  // cancelled
  EXPECT_FALSE(doc->HasFile());
  answerPath = (folder / "house.vl").string();
  EXPECT_TRUE(doc->DoSave());
  EXPECT_EQ(doc->saves, 1);
  Str255 name;
  doc->GetName(name);
  EXPECT_EQ(name.Std(), "house.vl");
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].kind, "putfile");
  EXPECT_EQ(requests[1].defaultName, "Untitled 1");
}

}  // namespace
