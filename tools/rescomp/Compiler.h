// The resource compiler: resource source text (.vlr, described in platform/resources/README.md)
// to resources in their classic binary layouts, and those to C++ source or a resource fork.
#pragma once

#include <string>
#include <vector>

#include "Resources.h"

namespace rescomp {

// Compiles one source text. fileName names it in errors and anchors the paths of `file` and
// `include`. Appends to *out; on bad input returns false with *error "file:line: message".
bool CompileSource(const std::string& text, const std::string& fileName,
                   std::vector<vlres::ResourceData>* out, std::string* error);
// Reads and compiles each file in turn; a type and id given twice is an error.
bool CompileFiles(const std::vector<std::string>& paths, std::vector<vlres::ResourceData>* out,
                  std::string* error);

// C++ source defining `std::size_t <symbol>(const vlres::CompiledResource** table)`, which
// hands out the resources as a table for vlres::InstallResourceTable.
std::string EmitCpp(const std::vector<vlres::ResourceData>& resources, const std::string& symbol);

}  // namespace rescomp
