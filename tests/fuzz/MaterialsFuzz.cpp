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
      in >> count;
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
void ReadPreferenceFile(std::FILE* file) {
  D3TMaterialList list;
  SInt32 line = 1;
  list.ReadHeaderFile(file, &line);
  for (;;) {
    auto material = std::make_unique<D3TMaterial>(&list);
    if (material->Read(file, &line) < 0) break;
    list.AddOrReplace(material.release(), true);
  }
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
      ReadPreferenceFile(file);
    } catch (DETException&) {
      if (!outcome.refused) outcome = Raised();
    }
    std::fclose(file);
  }
  return outcome;
}

}  // namespace vlfuzz
