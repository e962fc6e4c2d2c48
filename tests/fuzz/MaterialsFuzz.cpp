// Materials: a record of a document's material block, and lines of the material preference file.
#include <cstdio>
#include <sstream>
#include <string>

#include "AppResources.h"
#include "D3TMaterial.h"
#include "DETException.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "PString.h"

namespace vlfuzz {

Outcome ReadMaterials(const std::uint8_t* data, std::size_t size) {
  // The kinds' default records come from the program's resources.
  static const bool installed = vlres::InstallApplicationResources() != 0;
  (void)installed;
  const std::string text(reinterpret_cast<const char*>(data), size);
  Outcome outcome = Accepted();
  // The document form: the text after a "Material:" word.
  try {
    D3TMaterial material(nullptr, D3TMaterial::kProperties, Str255(""));
    std::istringstream in(text);
    SInt32 id = 0;
    material.ReadText(in, &id, '\n');
    if (in.fail()) outcome = Refused();
  } catch (DETException&) {
    outcome = Refused(PStrToStd(gErrorMessage).c_str());
  }
  // The preference form: every line of the file.
  if (size > 0) {
    if (std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb")) {
      try {
        SInt32 line = 1;
        for (;;) {
          D3TMaterial material(nullptr);
          if (material.Read(file, &line) < 0) break;
        }
      } catch (DETException&) {
        if (!outcome.refused) outcome = Refused(PStrToStd(gErrorMessage).c_str());
      }
      std::fclose(file);
    }
  }
  return outcome;
}

}  // namespace vlfuzz
