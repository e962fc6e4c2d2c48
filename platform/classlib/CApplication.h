// The application: the top of every chain of command and the owner of the documents.
//
// Life: construction, then IApplication (memory parameters, then the factory driver: desktop,
// clipboard, decorator, switchboard, menu manager, file parameters, menus), then Run. Run's
// first pass runs the start-up (PreStart, then StartUpAction: the documents given at launch, and
// command 2 when none were given or none of them opened); then each pass processes one event. Whatever one pass
// throws is reported through ReportFailure and the loop carries on, until the quit command has
// closed every document (RequestQuit). Only PortExitToShell leaves the loop otherwise.
//
// Commands and keys go to gCommandTarget and up its supervisors to the application. A menu
// command whose item is disabled after the menu update is not given to anyone, as a user could
// not have chosen it. The application keeps the one last undoable task: Notify replaces
// (and disposes of) the previous one, command 16 undoes and redoes it in turn.
#pragma once

#include <exception>
#include <vector>

#include "CDirectorOwner.h"
#include "CException.h"
#include "Commands.h"
#include "StandardFile.h"

class CTask;
class CClipboard;
class CSwitchboard;

class CApplication : public CDirectorOwner {
  VL_REGISTERED_CLASS(CApplication, CDirectorOwner)

 public:
  // Sets the running flag and makes this the application (gApplication).
  CApplication();
  CApplication(SInt16 extraMasters, Size rainyDayFund, Size creditLimit, Size toolboxReserve);
  // Disposes of the last task, the documents, the desktop, decorator, switchboard and menu
  // manager, and the clipboard that the base factory made.
  ~CApplication() override;

  // Keeps the memory parameters (nothing needs reserving here), becomes the command target and
  // runs the factory driver.
  void IApplication(SInt16 extraMasters, Size rainyDayFund, Size creditLimit, Size toolboxReserve);

  // The factory driver and its factories. The base makes the desktop (gDesktop), the clipboard
  // (gClipboard), the decorator (gDecorator), the switchboard and the menu manager
  // (gMenuManager); the application disposes of whatever the globals hold when it goes.
  void MakeFactories();
  Boolean FactoriesMade() const { return factoriesMade; }
  virtual void MakeDesktop();
  virtual void MakeClipboard();
  virtual void MakeDecorator();
  virtual void MakeSwitchboard();
  virtual void MakeMenuManager();
  // The event step's switchboard; the application owns it (null: events are taken and
  // dispatched by the application alone).
  CSwitchboard* GetSwitchboard() const { return itsSwitchboard; }
  void SetSwitchboard(CSwitchboard* switchboard);
  // Document types of the open dialog and the creator code (gApplicationSignature).
  virtual void SetUpFileParameters();
  virtual void SetUpMenus();

  // The documents to open at start-up (files given at launch).
  void SetLaunchFiles(const std::vector<SFReply>& files) { launchFiles = files; }
  virtual void PreStart();
  virtual void StartUpAction(SInt16 numPreloads);
  // True when a document made after the one numbered serial (CDocument::GetSerial) is open.
  Boolean HasDocumentSince(long serial) const;

  virtual void Run();
  // Takes one event (or a null event) and dispatches it.
  virtual void ProcessOneEvent();
  virtual void DispatchEvent(EventRecord* event);
  // A menu command: the menus are brought up to date, a disabled item's command is dropped,
  // any other is noted (vlui::NoteCommand) and goes to the command target. True when it was
  // given. Key equivalents are noted the same way.
  virtual Boolean DispatchCommand(long command);
  // While a modal dialog runs only the edit commands (cut, copy, paste, clear, select all) are
  // the user's; any other beeps and answers false.
  Boolean CommandAllowedNow(long command) const;
  // No event was waiting.
  virtual void Idle(EventRecord* event);
  // Brings every menu item up to date: the menu manager's dimming, then the command target's
  // chain.
  void UpdateAllMenus();

  // What one pass let through. The base: a CException with error 1 is silent; another
  // CException goes to ReportError with its error and message; running out of memory is
  // memFullErr; any other failure is kUnknownFailure.
  virtual void ReportFailure(std::exception_ptr failure);
  // The class library's error alert (kErrorAlert, ^0 the error, ^1 the message number), or a
  // beep while the application is in the background.
  virtual void ReportError(OSErr error, long message);

  // The class library's quit: closes every document (quitting) and ends the run loop; false,
  // with the loop going on, when a document refuses.
  virtual Boolean RequestQuit();
  // The application's quit operation; the base quits as RequestQuit does.
  virtual void Quit();
  Boolean IsRunning() const { return running; }
  int GetRunState() const { return runState; }

  virtual void CreateDocument();
  virtual void OpenDocument(SFReply* reply);
  // Opens each file in turn; a failure is reported and the next file is still opened.
  virtual void OpenDocuments(const std::vector<SFReply>& files);
  // The open dialog for the Open command, listing the files of the application's document
  // types (sfFileTypes, the first sfNumTypes); true with the reply filled when a file was chosen.
  virtual Boolean AskFileToOpen(SFReply* reply);

  // Quit (1), New (2), Open (3) and Undo (16).
  void DoCommand(long command) override;
  // The class library's own items: Quit, New, Open, and Undo with its text.
  void UpdateMenus() override;
  // Keeps the task as the one last undoable task (null: none).
  void Notify(CTask* task) override;
  CTask* GetLastTask() const { return lastTask; }
  Boolean IsUndone() const { return undone; }
  // The next Undo command undoes again (a task that grew since it was last undone).
  void ClearUndone() { undone = false; }

  // Suspended (in the background) and resumed.
  void BecomeInactive() override;
  void BecomeActive() override;
  Boolean InBackground() const { return inBackground; }

  SInt16 sfNumTypes = 1;
  OSType sfFileTypes[4] = {FourCC("TEXT"), 0, 0, 0};

 protected:
  Boolean running = true;
  int runState = 0;  // 0 before the first pass, 1 while the loop runs, 2 after it ended
  Boolean factoriesMade = false;
  CTask* lastTask = nullptr;
  Boolean undone = false;
  Boolean inBackground = false;
  std::vector<SFReply> launchFiles;
  SInt16 extraMasters = 0;
  Size rainyDayFund = 0;
  Size creditLimit = 0;
  Size toolboxReserve = 0;
  CClipboard* ownClipboard = nullptr;  // the clipboard the base factory made
  CSwitchboard* itsSwitchboard = nullptr;
};

class CDesktop;
class CDecorator;

extern CApplication* gApplication;
extern CDesktop* gDesktop;
extern CDecorator* gDecorator;
extern OSType gApplicationSignature;
// Set while the application is in the background: errors only beep.
extern Boolean gAlertsSuppressed;

// The error reported for a failure that is not a CException.
constexpr OSErr kUnknownFailure = -1;
