#include "CApplication.h"

#include <new>

#include "Alerts.h"
#include "CArray.h"
#include "CArrayPane.h"
#include "CButton.h"
#include "CCheckBox.h"
#include "CClipboard.h"
#include "CDecorator.h"
#include "CDesktop.h"
#include "CDialogDirector.h"
#include "CDLOGDialog.h"
#include "CDLOGDirector.h"
#include "CDialogText.h"
#include "CDocument.h"
#include "CEditText.h"
#include "CIconPane.h"
#include "CMenuManager.h"
#include "CMouseTask.h"
#include "CPaneBorder.h"
#include "CPicture.h"
#include "CPopupMenu.h"
#include "CRadioControl.h"
#include "CScrollBar.h"
#include "CScrollPane.h"
#include "CStaticText.h"
#include "CStdPopupPane.h"
#include "CSwitchboard.h"
#include "CTable.h"
#include "CTextEnvirons.h"
#include "CWindow.h"
#include "Events.h"
#include "PString.h"
#include "Resources.h"
#include "Unwinding.h"

CApplication* gApplication = nullptr;
CDesktop* gDesktop = nullptr;
CDecorator* gDecorator = nullptr;
OSType gApplicationSignature = FourCC("????");
Boolean gAlertsSuppressed = false;

namespace {
// The class library's classes enter the registry when the application is made, so they can be
// looked up by name from the start.
void RegisterClassLibraryClasses() {
  CApplication::ClassInfo();
  CDesktop::ClassInfo();
  CDecorator::ClassInfo();
  CSwitchboard::ClassInfo();
  CWindow::ClassInfo();
  CDialog::ClassInfo();
  CDLOGDialog::ClassInfo();
  CDialogDirector::ClassInfo();
  CDLOGDirector::ClassInfo();
  CPane::ClassInfo();
  CPanorama::ClassInfo();
  CScrollPane::ClassInfo();
  CScrollBar::ClassInfo();
  CPaneBorder::ClassInfo();
  CButton::ClassInfo();
  CCheckBox::ClassInfo();
  CRadioControl::ClassInfo();
  CEditText::ClassInfo();
  CStaticText::ClassInfo();
  CDialogText::ClassInfo();
  CTextEnvirons::ClassInfo();
  CPopupMenu::ClassInfo();
  CStdPopupPane::ClassInfo();
  CTable::ClassInfo();
  CArrayPane::ClassInfo();
  CPicture::ClassInfo();
  CIconPane::ClassInfo();
  CClipboard::ClassInfo();
  CMenuManager::ClassInfo();
  CMouseTask::ClassInfo();
  CArray::ClassInfo();
  CDocument::ClassInfo();
  CException::ClassInfo();
}

struct ReportedError {
  OSErr error;
  long message;
};

// What the error alert says of a failure (never the exit to the shell, which CatchFailures lets
// through): a class-library exception's error and message, memFullErr for memory that ran out,
// kUnknownFailure for anything else.
ReportedError ErrorOfFailure(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const CException& e) {
    return {e.GetError(), e.GetMessage()};
  } catch (const std::bad_alloc&) {
    return {memFullErr, 0};
  } catch (...) {
    return {kUnknownFailure, 0};
  }
}
}  // namespace

CApplication::CApplication() {
  gApplication = this;
  RegisterClassLibraryClasses();
}

CApplication::CApplication(SInt16 masters, Size rainyDay, Size credit, Size reserve) : CApplication() {
  extraMasters = masters;
  rainyDayFund = rainyDay;
  creditLimit = credit;
  toolboxReserve = reserve;
}

CApplication::~CApplication() {
  if (lastTask) {
    CTask* task = lastTask;
    lastTask = nullptr;
    task->Dispose();
  }
  // Documents go while the menu manager and the clipboard still exist.
  DisposeDirectors();
  // The windows' owners are gone; then the window layer's companions.
  if (gDesktop) gDesktop->Dispose();
  if (gDecorator) gDecorator->Dispose();
  if (itsSwitchboard) itsSwitchboard->Dispose();
  itsSwitchboard = nullptr;
  if (gMenuManager) gMenuManager->Dispose();
  if (ownClipboard && gClipboard == ownClipboard) gClipboard->Dispose();
  ownClipboard = nullptr;
  if (gApplication == this) gApplication = nullptr;
}

void CApplication::IApplication(SInt16 masters, Size rainyDay, Size credit, Size reserve) {
  extraMasters = masters;
  rainyDayFund = rainyDay;
  creditLimit = credit;
  toolboxReserve = reserve;
  gApplication = this;
  BecomeCommandTarget(true);
  MakeFactories();
}

void CApplication::MakeFactories() {
  MakeDesktop();
  MakeClipboard();
  MakeDecorator();
  MakeSwitchboard();
  MakeMenuManager();
  SetUpFileParameters();
  SetUpMenus();
  factoriesMade = true;
}

void CApplication::MakeDesktop() {
  auto* desktop = new (std::nothrow) CDesktop;
  FailNIL(desktop);
  desktop->IDesktop(this);
  if (gDesktop && gDesktop != desktop) gDesktop->Dispose();
  gDesktop = desktop;
}

void CApplication::MakeClipboard() {
  auto* clipboard = new (std::nothrow) CClipboard;
  FailNIL(clipboard);
  clipboard->IClipboard(this, false);
  gClipboard = clipboard;
  ownClipboard = clipboard;
}

void CApplication::MakeDecorator() {
  auto* decorator = new (std::nothrow) CDecorator;
  FailNIL(decorator);
  decorator->IDecorator();
  if (gDecorator && gDecorator != decorator) gDecorator->Dispose();
  gDecorator = decorator;
}

void CApplication::MakeSwitchboard() {
  auto* switchboard = new (std::nothrow) CSwitchboard;
  FailNIL(switchboard);
  switchboard->ISwitchboard();
  SetSwitchboard(switchboard);
}

void CApplication::SetSwitchboard(CSwitchboard* switchboard) {
  if (itsSwitchboard && itsSwitchboard != switchboard) itsSwitchboard->Dispose();
  itsSwitchboard = switchboard;
}

void CApplication::MakeMenuManager() {
  auto* manager = new (std::nothrow) CMenuManager;
  FailNIL(manager);
  manager->IMenuManager(1);
  if (gMenuManager && gMenuManager != manager) gMenuManager->Dispose();
  gMenuManager = manager;
}

void CApplication::SetUpFileParameters() {
  sfNumTypes = 1;
  sfFileTypes[0] = FourCC("TEXT");
  gApplicationSignature = FourCC("????");
}

void CApplication::SetUpMenus() {}

void CApplication::PreStart() {}

void CApplication::StartUpAction(SInt16) {
  if (!launchFiles.empty()) {
    std::vector<SFReply> files;
    files.swap(launchFiles);
    long before = CDocument::LastSerial();
    OpenDocuments(files);
    // Files that all failed to open, or that nothing opens, leave the user no document: the
    // start goes on as without files.
    if (HasDocumentSince(before)) return;
  }
  (gCommandTarget ? gCommandTarget : this)->DoCommand(cmdNew);
}

Boolean CApplication::HasDocumentSince(long serial) const {
  for (long i = 1; i <= CountDirectors(); ++i) {
    auto* document = dynamic_cast<CDocument*>(GetDirector(i));
    if (document && document->GetSerial() > serial) return true;
  }
  return false;
}

void CApplication::Run() {
  const FailureHandler report = [this](std::exception_ptr failure) { ReportFailure(failure); };
  if (runState == 0) {
    CatchFailures(
        [this] {
          if (!factoriesMade) MakeFactories();
          PreStart();
          StartUpAction(0);
        },
        report);
  }
  runState = 1;
  while (running) CatchFailures([this] { ProcessOneEvent(); }, report);
  runState = 2;
}

void CApplication::ProcessOneEvent() {
  if (itsSwitchboard) {
    itsSwitchboard->ProcessEvent();
    return;
  }
  EventRecord event;
  PortGetNextEvent(everyEvent, &event);
  DispatchEvent(&event);
}

void CApplication::DispatchEvent(EventRecord* event) {
  CBureaucrat* target = gCommandTarget ? gCommandTarget : this;
  char theChar = char(event->message & charCodeMask);
  UInt8 keyCode = UInt8((event->message & keyCodeMask) >> 8);
  switch (event->what) {
    case keyDown:
    case autoKey:
      if (event->modifiers & cmdKey) {
        UpdateAllMenus();
        Boolean enabled = false;
        long command = gMenuManager ? gMenuManager->FindKeyCommand(theChar, &enabled) : 0;
        if (command != 0) {
          if (enabled && CommandAllowedNow(command)) {
            vlui::NoteCommand(command);
            (gCommandTarget ? gCommandTarget : this)->DoCommand(command);
          }
          break;
        }
      }
      if (event->what == keyDown)
        target->DoKeyDown(theChar, keyCode, event);
      else
        target->DoAutoKey(theChar, keyCode, event);
      break;
    case keyUp:
      target->DoKeyUp(theChar, keyCode, event);
      break;
    case commandEvt:
      DispatchCommand(long(SInt32(event->message)));
      break;
    case nullEvent:
      Idle(event);
      break;
    default:
      // Mouse, update and activate events belong to the windows.
      if (itsSwitchboard) itsSwitchboard->DispatchWindowEvent(event);
      break;
  }
}

Boolean CApplication::CommandAllowedNow(long command) const {
  if (gModalDialogDepth == 0) return true;
  // A modal dialog leaves the user only the edit commands of its texts.
  switch (command) {
    case cmdCut:
    case cmdCopy:
    case cmdPaste:
    case cmdClear:
    case cmdSelectAll:
      return true;
    default:
      PortBeep(1);
      return false;
  }
}

Boolean CApplication::DispatchCommand(long command) {
  if (!CommandAllowedNow(command)) return false;
  UpdateAllMenus();
  if (gMenuManager && gMenuManager->HasCommand(command) && !gMenuManager->IsCommandEnabled(command))
    return false;
  vlui::NoteCommand(command);
  (gCommandTarget ? gCommandTarget : this)->DoCommand(command);
  return true;
}

void CApplication::Idle(EventRecord*) {}

void CApplication::UpdateAllMenus() {
  if (gMenuManager) gMenuManager->PrepareUpdate();
  (gCommandTarget ? gCommandTarget : this)->UpdateMenus();
  if (gMenuManager) gMenuManager->FinishUpdate();
}

void CApplication::ReportFailure(std::exception_ptr failure) {
  // The exit to the shell goes on; a report that fails itself must not end the program.
  CatchFailures(
      [&] {
        CatchFailures([&] { std::rethrow_exception(failure); },
                      [this](std::exception_ptr other) {
                        const ReportedError reported = ErrorOfFailure(other);
                        if (reported.error != 1) ReportError(reported.error, reported.message);
                      });
      },
      nullptr);
}

void CApplication::ReportError(OSErr error, long message) {
  if (gAlertsSuppressed || inBackground) {
    PortBeep(3);
    return;
  }
  Str255 errorText, messageText;
  PortNumToString(error, errorText);
  PortNumToString(message, messageText);
  PortSetAlertTexts(errorText, messageText, nullptr, nullptr);
  PortAlert(kErrorAlert, nullptr);
}

Boolean CApplication::RequestQuit() {
  if (!CloseDirectors(true)) return false;
  running = false;
  return true;
}

void CApplication::Quit() { RequestQuit(); }

void CApplication::CreateDocument() {}

void CApplication::OpenDocument(SFReply*) {}

void CApplication::OpenDocuments(const std::vector<SFReply>& files) {
  for (const SFReply& file : files) {
    SFReply reply = file;
    CatchFailures([&] { OpenDocument(&reply); }, [this](std::exception_ptr failure) { ReportFailure(failure); });
  }
}

Boolean CApplication::AskFileToOpen(SFReply* reply) {
  if (!reply) return false;
  *reply = SFReply{};
  SInt16 count = sfNumTypes < 0 ? SInt16(0) : sfNumTypes > 4 ? SInt16(4) : sfNumTypes;
  PortGetFile(Point{-1, -1}, nullptr, nullptr, count, sfFileTypes, nullptr, reply);
  return reply->good;
}

void CApplication::DoCommand(long command) {
  switch (command) {
    case cmdQuit:
      RequestQuit();
      break;
    case cmdNew:
      CreateDocument();
      break;
    case cmdOpen: {
      SFReply reply;
      if (AskFileToOpen(&reply) && reply.good) OpenDocument(&reply);
      break;
    }
    case cmdUndo:
      if (lastTask) {
        CTask* task = lastTask;
        if (undone)
          task->Redo();
        else
          task->Undo();
        if (lastTask == task) undone = !undone;
      }
      break;
    default:
      CDirectorOwner::DoCommand(command);
  }
}

void CApplication::UpdateMenus() {
  CDirectorOwner::UpdateMenus();
  if (!gMenuManager) return;
  gMenuManager->EnableCommand(cmdQuit);
  gMenuManager->EnableCommand(cmdNew);
  gMenuManager->EnableCommand(cmdOpen);
  // Active with a task: "Undo " or "Redo " and the task's name; otherwise "Undo " alone.
  Boolean named = lastTask && !inBackground;
  Str255 text;
  PortGetListString(text, kClassLibStrings, named && undone ? kRedoStringIndex : kUndoStringIndex);
  if (named) {
    Str255 name;
    PortGetListString(name, kUndoNameStrings, lastTask->GetNameIndex());
    PStrConcat(text, name);
  }
  gMenuManager->SetCommandText(cmdUndo, text);
  if (lastTask)
    gMenuManager->EnableCommand(cmdUndo);
  else
    gMenuManager->DisableCommand(cmdUndo);
}

void CApplication::Notify(CTask* task) {
  if (lastTask && lastTask != task) lastTask->Dispose();
  lastTask = task;
  undone = false;
}

void CApplication::BecomeInactive() {
  inBackground = true;
  gAlertsSuppressed = true;
  CDirectorOwner::BecomeInactive();
}

void CApplication::BecomeActive() {
  inBackground = false;
  gAlertsSuppressed = false;
  CDirectorOwner::BecomeActive();
}
