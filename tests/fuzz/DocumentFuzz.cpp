// The whole native document, read as opening its file reads it.
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>

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

// Reads the text into a freshly initialised document through the stream over that buffer; true
// when the whole text was taken. `stoppedAt` is where reading stopped.
bool ReadFrom(std::streambuf* buffer, Owned<VLDocument>* document, long* stoppedAt) {
  document->reset(static_cast<VLDocument*>(gNativeDocumentMaker()));
  (*document)->InitNewDocument(Application(), true, 0);
  std::istream in(buffer);
  (*document)->Read(in);
  const bool failed = in.fail() || in.bad();
  in.clear();
  *stoppedAt = long(in.tellg());
  if (failed) {
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

// Reads the text as opening a file does, from memory.
bool ReadText(const std::string& text, Owned<VLDocument>* document, long* stoppedAt) {
  vltext::MemoryTextBuffer buffer(text);
  return ReadFrom(&buffer, document, stoppedAt);
}

// The document's text, as a save writes it.
std::string WrittenText(VLDocument* document) {
  try {
    return Written([&](std::FILE* file) { document->WriteText(file, "fuzz.vl"); });
  } catch (DETException&) {
    __builtin_trap();
  }
}

// The readers take text in memory through pointers and any other stream through its buffer's
// calls: both must come to the same end, the same document and the same error.
void CompareWithStreamRead(const std::string& text, bool accepted, long stoppedAt, VLDocument* read, OSErr raised) {
  const char* refusal = vlcore::LastRefusal();  // a literal, kept
  std::stringbuf buffer(text, std::ios::in);
  Owned<VLDocument> other;
  long otherStoppedAt = -1;
  OSErr otherRaised = noErr;
  bool otherAccepted = false;
  try {
    otherAccepted = ReadFrom(&buffer, &other, &otherStoppedAt);
  } catch (DETException& error) {
    otherRaised = error.GetCode();
  }
  if (otherRaised != raised || std::string_view(refusal) != vlcore::LastRefusal()) __builtin_trap();
  if (raised == noErr && (otherAccepted != accepted || otherStoppedAt != stoppedAt)) __builtin_trap();
  if (accepted && WrittenText(read) != WrittenText(other.get())) __builtin_trap();
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
  const std::string given(reinterpret_cast<const char*>(data), size);
  Owned<VLDocument> read;
  bool accepted = false;
  long stoppedAt = -1;
  OSErr raised = noErr;
  try {
    accepted = ReadText(given, &read, &stoppedAt);
  } catch (DETException& error) {
    raised = error.GetCode();
    CompareWithStreamRead(given, false, -1, nullptr, raised);
    return Raised(error);
  }
  CompareWithStreamRead(given, accepted, stoppedAt, read.get(), raised);
  if (!accepted) return Refused();
  // What the reader took, the writer writes and the reader takes again.
  const std::string text = WrittenText(read.get());
  read.reset();
  Owned<VLDocument> again;
  try {
    if (!ReadText(text, &again, &stoppedAt)) __builtin_trap();
  } catch (DETException&) {
    __builtin_trap();
  }
  return Accepted();
}

}  // namespace vlfuzz
