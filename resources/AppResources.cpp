#include "AppResources.h"

#include "Resources.h"

// Defined in the source that rescomp generates.
std::size_t VlApplicationResourceTable(const vlres::CompiledResource** table);

namespace vlres {

SInt16 InstallApplicationResources() {
  const CompiledResource* table = nullptr;
  std::size_t count = VlApplicationResourceTable(&table);
  return InstallResourceTable(table, count);
}

}  // namespace vlres
