#include "RadianceNames.h"

#include <algorithm>
#include <cstring>

#include "D3TMaterial.h"
#include "D3TMaterialList.h"
#include "PString.h"

std::string RadianceMaterialName(SInt32 materialId, const RGBColor& colour, D3TMaterialList* materials) {
  D3TMaterial* material = nullptr;
  if (materials && materials->GetMaterial(materialId, &material) && material) {
    std::string name = PStrToStd(material->GetName());
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
  }
  return "none_" + std::to_string(colour.red) + "_" + std::to_string(colour.green) + "_" + std::to_string(colour.blue);
}

bool RadianceNameWritten(const VLArray* names, SInt32 count, const std::string& name) {
  if (!names || names->GetItemSize() != kRadianceNameSize) return false;
  const long listed = std::min(long(count), names->GetNumItems());
  char record[kRadianceNameSize];
  for (long i = 1; i <= listed; ++i) {
    names->GetItem(record, i);
    record[kRadianceNameSize - 1] = '\0';
    if (name == record) return true;
  }
  return false;
}

void NoteRadianceName(VLArray* names, SInt32* count, const std::string& name) {
  if (names) {
    if (names->GetNumItems() == 0 && names->GetItemSize() != kRadianceNameSize) names->SetItemSize(kRadianceNameSize);
    char record[kRadianceNameSize] = {};
    std::memcpy(record, name.data(), std::min(name.size(), std::size_t(kRadianceNameSize - 1)));
    names->Append(record);
  }
  ++*count;
}
