#include "D3TMaterial.h"

#include "DETException.h"

D3TMaterial::D3TMaterial(D3TMaterialList* owner, UInt32 kind, ConstStringPtr name)
    : owner(owner), kind(kind), name(name) {
  if (kind > kPointLight) ThrowError(kDEErrorErrorReadingMaterialPrefFile, Str255("D3TMaterial::D3TMaterial"));
}

D3TMaterial& D3TMaterial::operator=(const D3TMaterial& other) {
  if (this != &other) {
    kind = other.kind;
    name = other.name;
  }
  return *this;
}
