// One material that model objects can carry: surface properties, a texture or a light, kept in
// a material list under a numeric id. So far it holds its owner, its kind and its name, and it
// copies itself: every model object that carries a material copy owns one of its own.
#pragma once

#include "MacTypes.h"
#include "PString.h"

class D3TMaterialList;

class D3TMaterial {
 public:
  enum Kind : UInt32 {
    kTiledTexture = 0,
    kFullFaceTexture = 1,
    kCenteredTexture = 2,
    kProperties = 3,
    kSpotLight = 4,
    kPointLight = 5,
  };

  // A kind above 5 raises kDEErrorErrorReadingMaterialPrefFile.
  D3TMaterial(D3TMaterialList* owner, UInt32 kind, ConstStringPtr name);
  // A copy belongs to the same owner as its source.
  D3TMaterial(const D3TMaterial& other) = default;
  // Keeps the target's owner.
  D3TMaterial& operator=(const D3TMaterial& other);
  ~D3TMaterial() = default;

  StringPtr GetName() { return name; }
  ConstStringPtr GetName() const { return name; }
  UInt32 GetKind() const { return kind; }
  D3TMaterialList* GetOwner() const { return owner; }

 private:
  D3TMaterialList* owner = nullptr;
  UInt32 kind = kProperties;
  Str255 name;
};
