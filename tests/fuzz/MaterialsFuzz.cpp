// Materials: the material block of a document, and the material preference file.
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "AppResources.h"
#include "D3TMaterial.h"
#include "D3TMaterialList.h"
#include "DETException.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "PString.h"

namespace vlfuzz {
namespace {

// The block as a document's reader takes it: a record after every "Material:" word, the count
// line skipped. False when a record failed the stream.
bool ReadBlock(D3TMaterialList* list, const std::string& text) {
  std::istringstream in(text);
  for (std::string word; in >> word;) {
    if (word == "numMaterials:") {
      long count = 0;
      if (!(in >> count)) vlcore::NoteRefusal("the number of materials is not a whole number");
    } else if (word == "Material:") {
      list->ReadMaterialRecord(in, '\n');
    }
    if (in.fail()) return false;
  }
  return true;
}

// The document form: the text is the first record's body, after its "Material:" word. What the
// list took, it writes and takes again, the same number of materials.
Outcome ReadDocumentBlock(const std::string& text) {
  D3TMaterialList list;
  if (!ReadBlock(&list, "Material: " + text)) return Refused();
  D3TMaterialList again;
  if (!ReadBlock(&again, Written([&](std::FILE* file) { list.WriteMaterials(file); })) ||
      again.GetCount() != list.GetCount())
    __builtin_trap();
  return Accepted();
}

// The preference form, as the list reads its file: the comment lines at the top, then a material
// a line, each added or replacing the material of its name.
void ReadPreferenceFile(std::FILE* file, D3TMaterialList* list) {
  SInt32 line = 1;
  list->ReadHeaderFile(file, &line);
  for (;;) {
    auto material = std::make_unique<D3TMaterial>(list);
    if (material->Read(file, &line) < 0) break;
    list->AddOrReplace(material.release(), true);
  }
}

// What the list took, written as the list writes its file (its header text, then each material's
// line), is taken again: the same header and the same number of materials.
void ReadPreferences(std::FILE* file) {
  D3TMaterialList list;
  ReadPreferenceFile(file, &list);
  const std::string written = Written([&](std::FILE* out) {
    std::fwrite(list.GetHeaderText().data(), 1, list.GetHeaderText().size(), out);
    for (long i = 1; i <= list.GetCount(); ++i) list.GetMaterialAt(i)->WritePrefLine(out);
  });
  D3TMaterialList again;
  std::FILE* in = fmemopen(const_cast<char*>(written.data()), written.size(), "rb");
  if (!in) return;
  try {
    ReadPreferenceFile(in, &again);
  } catch (DETException&) {
    __builtin_trap();
  }
  std::fclose(in);
  if (again.GetCount() != list.GetCount() || again.GetHeaderText() != list.GetHeaderText()) __builtin_trap();
}

// A raised error's refusal: the reason the reader noted, or the name of where it raised.
Outcome Raised() { return *vlcore::LastRefusal() ? Refused() : Refused(PStrToStd(gErrorMessage).c_str()); }

}  // namespace

Outcome ReadMaterials(const std::uint8_t* data, std::size_t size) {
  // The kinds' default records come from the program's resources.
  static const bool installed = vlres::InstallApplicationResources() != 0;
  (void)installed;
  // Texture sizes are in the entry unit, which a document sets from its length format.
  const KeptUnits kept;
  gLengthEntryUnit = gFeet;
  Outcome outcome = Accepted();
  try {
    outcome = ReadDocumentBlock(std::string(reinterpret_cast<const char*>(data), size));
  } catch (DETException&) {
    outcome = Raised();
  }
  if (size == 0) return outcome;
  if (std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb")) {
    try {
      ReadPreferences(file);
    } catch (DETException&) {
      if (!outcome.refused) outcome = Raised();
    }
    std::fclose(file);
  }
  return outcome;
}

}  // namespace vlfuzz
