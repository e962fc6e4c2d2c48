// Saving and opening native documents: the file written through a temporary file beside it that
// replaces it only when complete, and a file read into a freshly initialised document.
#include <cerrno>
#include <fstream>
#include <new>
#include <sstream>
#include <string>

#include "Alerts.h"
#include "CApplication.h"
#include "CMenuManager.h"
#include "CPreferences.h"
#include "CProgressDialog.h"
#include "CWindow.h"
#include "Commands.h"
#include "DETException.h"
#include "FileOps.h"
#include "FilePaths.h"
#include "Resources.h"
#include "SafeReplace.h"
#include "TextLines.h"
#include "Unwinding.h"
#include "VLANSIDataFile.h"
#include "VLApplication.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"

namespace {

constexpr SInt16 kProgressOpeningStrings = 2200;
constexpr std::streamsize kMessageLength = 255;

// An error of the save road leaves with the context of the model file.
[[noreturn]] void RethrowAsWriteError() {
  try {
    throw;
  } catch (DETException& e) {
    e.SetContext(kDEErrorErrorWritingModelFile);
    throw;
  }
}

// The progress dialog is hidden however an open ends.
struct ProgressShown {
  ProgressShown() {
    if (!gProgressDialog) return;
    Str255 message;
    PortGetListString(message, kProgressOpeningStrings, VLDocument::kOpeningMessage);
    gProgressDialog->SetMessage(message);
    gProgressDialog->SetBusy();
    gProgressDialog->Show();
  }
  ~ProgressShown() {
    if (!gProgressDialog) return;
    gProgressDialog->Hide();
    gProgressDialog->ClearBusy();
  }
  ProgressShown(const ProgressShown&) = delete;
  ProgressShown& operator=(const ProgressShown&) = delete;
};

}  // namespace

// ---- Saving ----

void VLDocument::SaveTo(VLANSIDataFile* file) {
  const std::string path = file->GetPath();
  const OSErr err = vlfiles::ReplaceFile(path, [&](std::FILE* out) {
    WriteText(out, path.c_str());
    return OSErr(noErr);
  });
  ThrowIfOSErr(err, kDEErrorErrorWritingModelFile);
  // A file made by this save is a text file of the program.
  FSSpec spec;
  file->GetFSSpec(&spec);
  FInfo info;
  if (PortFSpGetFInfo(&spec, &info) == noErr) {
    info.fdType = FourCC("TEXT");
    info.fdCreator = gApplicationSignature;
    PortFSpSetFInfo(&spec, &info);
  }
}

Boolean VLDocument::DoSave() {
  if (!itsFile) return DoSaveFileAs();
  try {
    SaveTo(itsFile);
  } catch (...) {
    RethrowAsWriteError();
  }
  // Only a written file clears the changed flag.
  dirty = false;
  if (gMenuManager) gMenuManager->DisableCommand(cmdSave);
  FSSpec spec;
  itsFile->GetFSSpec(&spec);
  NotifyDependents(kFileSpecified, &spec);
  NotifyDependents(kDocumentSaved, nullptr);
  return true;
}

Boolean VLDocument::DoSaveAs(StandardFileReply* reply) {
  if (!reply || !reply->sfGood) return false;
  auto* made = new (std::nothrow) VLANSIDataFile;
  if (!made) ThrowIfOSErr(memFullErr, kDEErrorErrorWritingModelFile);
  Owned<VLANSIDataFile> file(made);
  try {
    file->SpecifyFSSpec(&reply->sfFile);
    file->MakePath();
    SaveTo(file.get());
  } catch (...) {
    RethrowAsWriteError();
  }

  // The file is written: it becomes the document's, with its name.
  if (itsFile) {
    itsFile->Dispose();
  } else if (untitledNumber != 0) {
    untitledNumber = 0;
    if (auto* application = dynamic_cast<VLApplication*>(gApplication)) application->EndNesting();
  }
  itsFile = file.release();
  SetFileSpec(&reply->sfFile);
  SetName(reply->sfFile.name);
  UpdateWindowTitle();
  dirty = false;
  if (gMenuManager) gMenuManager->DisableCommand(cmdSave);
  NotifyDependents(kFileSpecified, &reply->sfFile);
  NotifyDependents(kDocumentSaved, nullptr);
  Str255 newName(reply->sfFile.name);
  NotifyDependents(kDocumentRenamed, &newName);
  return true;
}

// ---- Opening ----

void VLDocument::OpenFile(SFReply* reply) {
  ThrowIfNil(reply);
  ThrowIfNil(itsPhases);
  ProgressShown progress;
  std::string path;
  ThrowIfOSErr(vlfiles::ResolvePath(reply->vRefNum, 0, reply->fName, &path), kDEErrorErrorReadingFile);
  FSSpec spec;
  if (!vlfiles::SpecFromPath(path, &spec)) ThrowIfOSErr(bdNamErr, kDEErrorErrorReadingFile);

  if (itsFile) itsFile->Dispose();
  itsFile = nullptr;
  itsFile = new (std::nothrow) VLANSIDataFile;
  ThrowIfNil(itsFile);
  itsFile->SpecifyFSSpec(&spec);
  itsFile->MakePath();
  SetFileSpec(&spec);
  SetName(spec.name);  // the older-file alert names it
  NotifyDependents(kFileSpecified, &spec);

  phaseCounter = 16;
  MakeWorkingView();
  BuildWindow();
  ReadFile();

  if (gProgressDialog) gProgressDialog->Update(0.925);
  if (gProgressDialog) gProgressDialog->Update(0.975);
  if (gProgressDialog) gProgressDialog->Update(1.0);
  FinishSetUp(true);
}

void VLDocument::ReadFile() {
  std::ifstream file(itsFile->GetPath(), std::ios::binary);
  if (!file) ThrowIfOSErr(vlfiles::ErrFromErrno(errno != 0 ? errno : EIO), kDEErrorErrorReadingFile);
  // Read from memory: the reader notes its position before every value, which costs a system
  // call on a file stream, and the readers take the characters of text in memory themselves.
  std::ostringstream bytes;
  bytes << file.rdbuf();
  if (file.bad()) ThrowIfOSErr(vlfiles::ErrFromErrno(errno != 0 ? errno : EIO), kDEErrorErrorReadingFile);
  const std::string content = std::move(bytes).str();
  vltext::MemoryTextBuffer buffer(content);
  std::istream in(&buffer);
  Read(in);
  if (in.fail() || in.bad()) {
    // Where reading stopped, for the alert.
    in.clear();
    char text[kMessageLength + 1] = {};
    in.read(text, kMessageLength);
    const std::string where(text, std::size_t(in.gcount()));
    ThrowError(kErrorDamagedFile, Str255(where.substr(0, where.find_first_of("\r\n"))));
  }
  gPhaseCounter = phaseCounter;
  RecomputeModelBounds();
}
