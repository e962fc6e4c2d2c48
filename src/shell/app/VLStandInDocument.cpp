#include "VLStandInDocument.h"

#include <cerrno>
#include <cstdio>
#include <new>
#include <string>

#include "Commands.h"
#include "DETException.h"
#include "FilePaths.h"
#include "Resources.h"
#include "CDecorator.h"
#include "CApplication.h"
#include "CDesktop.h"
#include "VLApplication.h"
#include "VLWindow.h"

DocumentMaker gNativeDocumentMaker = MakeStandInDocument;

VLAbstractDocument* MakeStandInDocument() { return new (std::nothrow) VLStandInDocument; }

void VLStandInDocument::InitNewDocument(CDirectorOwner* supervisor, Boolean isPrintable, SInt16 number) {
  // The number first, so that a document disposed half made still gives it back.
  untitledNumber = number;
  VLAbstractDocument::InitNewDocument(supervisor, isPrintable, number);
}

void VLStandInDocument::NewFile() {
  Str255 title;
  UntitledTitle(untitledNumber, title);
  SetName(title);
  BuildWindow();
}

void VLStandInDocument::OpenFile(SFReply* reply) {
  ThrowIfNil(reply);
  std::string path;
  ThrowIfOSErr(vlfiles::ResolvePath(reply->vRefNum, 0, reply->fName, &path), kDEErrorErrorReadingFile);
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (!file) ThrowIfOSErr(vlfiles::ErrFromErrno(errno), kDEErrorErrorReadingFile);
  std::fclose(file);
  FSSpec spec;
  if (!vlfiles::SpecFromPath(path, &spec)) ThrowIfOSErr(bdNamErr, kDEErrorErrorReadingFile);
  SetFileSpec(&spec);
  SetName(spec.name);
  BuildWindow();
}

void VLStandInDocument::Dispose() {
  if (untitledNumber != 0 && !HasFile()) {
    untitledNumber = 0;
    if (auto* app = dynamic_cast<VLApplication*>(gApplication)) app->EndNesting();
  }
  VLAbstractDocument::Dispose();
}

void VLStandInDocument::DoKeyDown(char, UInt8, EventRecord*) { SetChanged(true); }

void VLStandInDocument::BuildWindow() {
  VLWindow* window = VLWindow::Make(kWindowID, this);
  Str255 title;
  GetName(title);
  window->SetTitle(title);
  if (gDecorator) gDecorator->PlaceNewWindow(window, true);
  window->Show();
  window->Select();
}
