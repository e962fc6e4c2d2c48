#include "CDocument.h"

#include <new>

#include "Alerts.h"
#include "CException.h"
#include "CMenuManager.h"
#include "CPane.h"
#include "CPrinter.h"
#include "Commands.h"
#include "Resources.h"
#include "StandardFile.h"

OSType gSaveOption = kSaveAsk;

void CDocument::IDocument(CDirectorOwner* supervisor, Boolean isPrintable) {
  Init(supervisor);
  printable = isPrintable;
}

Boolean CDocument::GetFileSpec(FSSpec* spec) const {
  if (!hasFile) return false;
  if (spec) *spec = fileSpec;
  return true;
}

void CDocument::SetFileSpec(const FSSpec* spec) {
  hasFile = spec != nullptr;
  fileSpec = spec ? *spec : FSSpec{};
}

void CDocument::GetName(StringPtr out) const {
  if (hasFile)
    PStrCopy(out, fileSpec.name, 63);
  else
    PStrCopy(out, name);
}

void CDocument::SetName(ConstStringPtr newName) { name = Str255(newName); }

void CDocument::NewFile() {}

void CDocument::OpenFile(SFReply*) {}

Boolean CDocument::DoSave() {
  if (!hasFile) return DoSaveFileAs();
  return false;
}

Boolean CDocument::DoSaveAs(StandardFileReply* reply) {
  if (!reply || !reply->sfGood) return false;
  SetFileSpec(&reply->sfFile);
  return DoSave();
}

Boolean CDocument::DoSaveFileAs() {
  Str255 name;
  GetName(name);
  StandardFileReply reply;
  PortStandardPutFile(nullptr, name, &reply);
  if (!reply.sfGood) return false;
  return DoSaveAs(&reply);
}

Boolean CDocument::Close(Boolean quitting) {
  if (dirty && gSaveOption != kSaveNo) {
    SInt16 answer = 1;
    if (gSaveOption == kSaveAsk) {
      Str255 title, why;
      GetName(title);
      PortGetListString(why, kClassLibStrings, quitting ? kQuittingStringIndex : kClosingStringIndex);
      PortSetAlertTexts(title, why, nullptr, nullptr);
      answer = PortAskAlert(kSaveChangesAlert, nullptr);
    }
    if (answer == 3) return false;
    if (answer == 1 && !DoSave()) return false;
  }
  return CDirector::Close(quitting);
}

CDocument::~CDocument() { delete itsPrinter; }

void CDocument::DoCommand(long command) {
  switch (command) {
    case cmdSave:
      DoSave();
      break;
    case cmdSaveAs:
      DoSaveFileAs();
      break;
    case cmdPageSetup:
      if (printable) DoPageSetup();
      break;
    case cmdPrint:
      if (printable) DoPrint();
      break;
    default:
      CDirector::DoCommand(command);
  }
}

void CDocument::UpdateMenus() {
  CDirector::UpdateMenus();
  if (!gMenuManager) return;
  if (dirty) gMenuManager->EnableCommand(cmdSave);
  gMenuManager->EnableCommand(cmdSaveAs);
  if (printable) {
    gMenuManager->EnableCommand(cmdPageSetup);
    gMenuManager->EnableCommand(cmdPrint);
  }
}

// ---- Printing ----

void CDocument::CreatePrinter() {
  auto* printer = new (std::nothrow) CPrinter;
  if (!printer) Failure(memFullErr, 0);
  delete itsPrinter;
  itsPrinter = printer;
  itsPrinter->IPrinter(this, nullptr);
}

void CDocument::DoPageSetup() {
  if (!itsPrinter) CreatePrinter();
  if (itsPrinter) itsPrinter->DoPageSetup();
}

void CDocument::DoPrint() {
  if (!itsPrinter) CreatePrinter();
  if (itsPrinter) itsPrinter->DoPrint();
}

void CDocument::AboutToPrint(long* firstPage, long* lastPage) {
  *firstPage = 1;
  *lastPage = 1;
}

void CDocument::PrintPageOfDoc(SInt16) {
  auto* pane = dynamic_cast<CPane*>(GetFirstTarget());
  if (!pane || !itsPrinter) return;
  Rect page = (*itsPrinter->GetPrintRecord())->pageRect;
  pane->Prepare();
  pane->Draw(&page);
}

void CDocument::DonePrinting() {}
