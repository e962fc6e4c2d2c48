// Resource source text, as the resource compiler reads it.
#include <string>
#include <vector>

#include "Compiler.h"
#include "FuzzEntries.h"
#include "FuzzSupport.h"

namespace vlfuzz {

Outcome ReadResourceSource(const std::uint8_t* data, std::size_t size) {
  std::vector<vlres::ResourceData> out;
  std::string error;
  // Files it names are looked for beside a source that has none.
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (!rescomp::CompileSource(text, "/nonexistent/fuzz.vlr", &out, &error)) return Refused(error.c_str());
  rescomp::EmitCpp(out, "Fuzzed");
  return Accepted();
}

}  // namespace vlfuzz
