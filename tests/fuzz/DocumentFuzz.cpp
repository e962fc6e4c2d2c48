// The whole native document, read as opening its file reads it.
#include <cstdio>
#include <sstream>
#include <string>

#include "AppResources.h"
#include "AlertSink.h"
#include "DETException.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "PString.h"
#include "Screen.h"
#include "TextLines.h"
#include "Unwinding.h"
#include "VLApplication.h"
#include "VLDocument.h"

namespace vlfuzz {
namespace {

// A document is made under the application, which needs the program's resources and a screen;
// one application serves every input, and its windows go with it at exit.
VLApplication* Application() {
  struct Program {
    VLApplication* application = nullptr;
    Program() {
      vlres::InstallApplicationResources();
      vlui::InitScreen();
      InstallNativeDocument();
      application = new VLApplication;
      application->IVLApplication();
    }
    ~Program() {
      delete application;
      vlui::ShutdownScreen();
    }
  };
  static Program program;
  return program.application;
}

// Reads the text into a freshly initialised document; true when the whole text was taken.
bool ReadText(const std::string& text, Owned<VLDocument>* document) {
  document->reset(static_cast<VLDocument*>(gNativeDocumentMaker()));
  (*document)->InitNewDocument(Application(), true, 0);
  std::istringstream in(text);
  (*document)->Read(in);
  if (in.fail() || in.bad()) {
    // The file open alert quotes the place; the reason is the reader's.
    if (!*vlcore::LastRefusal()) vlcore::NoteRefusal("reading stopped before the end of the file");
    return false;
  }
  // As opening does after a complete read.
  gPhaseCounter = (*document)->GetPhaseCounter();
  (*document)->RecomputeModelBounds();
  // Opening ends by keeping the file's snap spacing, or giving the default when the file gave
  // none (FinishSetUp, which also shows the window).
  if (!((*document)->GetSnapGridSpacing() > 0.0))
    (*document)->SetSnapGridSpacing(vltext::DefaultLength(VLDocument::kSnapGridDefault, 0.5));
  return true;
}

// A raised error's refusal: the reason the reader noted, or the error's code and where it raised.
Outcome Raised(const DETException& error) {
  if (*vlcore::LastRefusal()) return Refused();
  if (error.GetCode() == kDEErrorNotAValidVelmoraFile) return Refused("the file has no comment line after its version");
  if (error.GetCode() == VLDocument::kErrorNewerFile) return Refused("the file is from a newer version of the program");
  const std::string reason =
      "error " + std::to_string(error.GetCode()) + " raised in " + PStrToStd(gErrorMessage);
  return Refused(reason.c_str());
}

}  // namespace

Outcome ReadDocument(const std::uint8_t* data, std::size_t size) {
  Application();
  // The older-file alert takes its first item, as a user who opens it anyway; the log would grow
  // with every input.
  vlalert::ClearLog();
  // The document sets the program's units from the file.
  const KeptUnits kept;
  Owned<VLDocument> read;
  try {
    if (!ReadText(std::string(reinterpret_cast<const char*>(data), size), &read)) return Refused();
  } catch (DETException& error) {
    return Raised(error);
  }
  // What the reader took, the writer writes and the reader takes again.
  std::string text;
  try {
    text = Written([&](std::FILE* file) { read->WriteText(file, "fuzz.vl"); });
  } catch (DETException&) {
    __builtin_trap();
  }
  read.reset();
  Owned<VLDocument> again;
  try {
    if (!ReadText(text, &again)) __builtin_trap();
  } catch (DETException&) {
    __builtin_trap();
  }
  return Accepted();
}

}  // namespace vlfuzz
