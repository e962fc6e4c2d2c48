// A material's life, its queries, the combined shininess, the name tables and its scene objects.
#include "D3TMaterial.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>

#include "D3TMaterialList.h"
#include "DETException.h"
#include "MaterialTextSource.h"
#include "Q3Core.h"
#include "Q3Scene.h"
#include "Resources.h"

Boolean (*gQuickDraw3DCheck)() = nullptr;

constinit const NameToUnitTable gTextureUnitNames{
    {"mi", gMiles},       {"'", gFeet},         {"ft", gFeet},       {"feet", gFeet}, {"kfeet", gFeet},
    {"\"", gInches},      {"in", gInches},      {"km", gKilometers}, {"m", gMeters},  {"meters", gMeters},
    {"kmeters", gMeters}, {"cm", gCentimeters}, {"mm", gMillimeters}};

constinit const UnitToNameTable gTextureUnitWriteNames{{gMiles, "mi"},      {gFeet, "feet"},     {gInches, "\""},
                                                       {gKilometers, "km"}, {gMeters, "meters"}, {gCentimeters, "cm"},
                                                       {gMillimeters, "mm"}};

namespace {

constexpr const char* kKindNames[D3TMaterial::kKindCount] = {"Tiled_Texture", "Full_Face_Texture", "Centered_Texture",
                                                             "Properties",    "Spot_Light",        "Point_Light"};
constexpr const char* kAttenuationNames[D3TMaterial::kAttenuationCount] = {
    "kQ3AttenuationTypeNone", "kQ3AttenuationTypeInverseDistance", "kQ3AttenuationTypeInverseDistanceSquared"};
constexpr const char* kFallOffNames[D3TMaterial::kFallOffCount] = {"kQ3FallOffTypeNone", "kQ3FallOffTypeLinear",
                                                                   "kQ3FallOffTypeExponential", "kQ3FallOffTypeCosine"};

// The default record of each kind: a text resource of the application.
constexpr SInt16 kDefaultRecordResource[D3TMaterial::kKindCount] = {256, 257, 258, 261, 260, 259};
constexpr SInt16 kDefaultStrings = 2700;
constexpr SInt16 kTextureUnitItem = 1;

// The custom element classes of a material's attribute set, registered by the scene layer.
constexpr const char* kMaterialTypeElement = "Orrindel:Element:MaterialType";
constexpr const char* kMaterialNameElement = "Orrindel:Element:MaterialName";
constexpr const char* kTextureNameElement = "Orrindel:Element:TextureName";
constexpr const char* kMaterialShaderElement = "Orrindel:Element:MaterialShader";

// The quantised numbers sit on decimal grids that a float holds only approximately (1.3f is
// 1.2999999523...): a grid line is taken as reached when the value lies within a millionth of it,
// far below one step of the grid and far above a float's error.
double FloorOnGrid(double value) { return std::floor(value + 1e-6 * std::fmax(1.0, std::fabs(value))); }

bool FindName(const char* text, const char* const* names, UInt32 count, UInt32* out) {
  if (!text) return false;
  for (UInt32 i = 0; i < count; ++i)
    if (std::strcmp(text, names[i]) == 0) {
      *out = i;
      return true;
    }
  return false;
}

bool SceneLibraryThere() { return gQuickDraw3DCheck && gQuickDraw3DCheck() && Q3IsInitialized(); }

// The texture unit of new materials: item 1 of string list 2700, looked up once it could be read.
UnitBase DefaultTextureUnit() {
  static bool looked = false;
  static UnitBase unit = gFeet;
  if (looked) return unit;
  Str255 text;
  PortGetListString(text, kDefaultStrings, kTextureUnitItem);
  if (PortResError() != noErr) return gFeet;
  looked = true;
  const UnitBase found = UnitBase::Lookup(text.Std(), gTextureUnitNames);
  if (found.kind == UnitBase::kLengthKind) unit = found;
  return unit;
}

void Release(TQ3Object& object) {
  if (object) Q3Object_Dispose(object);
  object = nullptr;
}

TQ3Object NewReference(TQ3Object object) { return object ? Q3Shared_GetReference(object) : nullptr; }

TQ3StringObject NewStringObject(ConstStringPtr text) { return Q3CString_New(PStrToStd(text).c_str()); }

TQ3ElementType ElementType(const char* name) {
  TQ3ObjectType type = kQ3ObjectTypeInvalid;
  if (Q3ObjectHierarchy_GetTypeFromString(name, &type) != kQ3Success || type == kQ3ObjectTypeInvalid)
    ThrowError(kDEErrorQD3DInitializationFailed, Str255(std::string("D3TMaterial::GetAttributeSet: ") + name));
  return type;
}

}  // namespace

const char* MaterialKindName(UInt32 kind) { return kind < D3TMaterial::kKindCount ? kKindNames[kind] : nullptr; }
const char* AttenuationName(UInt32 value) {
  return value < D3TMaterial::kAttenuationCount ? kAttenuationNames[value] : nullptr;
}
const char* FallOffName(UInt32 value) { return value < D3TMaterial::kFallOffCount ? kFallOffNames[value] : nullptr; }
bool MaterialKindFromName(const char* text, UInt32* kind) {
  return FindName(text, kKindNames, D3TMaterial::kKindCount, kind);
}
bool AttenuationFromName(const char* text, UInt32* value) {
  return FindName(text, kAttenuationNames, D3TMaterial::kAttenuationCount, value);
}
bool FallOffFromName(const char* text, UInt32* value) {
  return FindName(text, kFallOffNames, D3TMaterial::kFallOffCount, value);
}

// ---- Life ----

D3TMaterial::D3TMaterial(D3TMaterialList* list) : owner(list ? list->GetMaterials() : nullptr) { ClearFields(); }

D3TMaterial::D3TMaterial(D3TMaterialList* list, UInt32 newKind, ConstStringPtr text) : D3TMaterial(list) {
  const Str255 context("D3TMaterial::D3TMaterial");
  if (newKind > kPointLight) ThrowError(kDEErrorErrorReadingMaterialPrefFile, context);
  std::string record;
  if (vlmaterial::LoadApplicationText(kDefaultRecordResource[newKind], &record) != noErr)
    ThrowError(kDEErrorErrorReadingMaterialPrefFile, context);
  std::istringstream in(record);
  SInt32 line = 1;
  ReadTabRecord(in, &line);
  if (in.fail() || kind != newKind) ThrowError(kDEErrorErrorReadingMaterialPrefFile, context);
  SetName(text);
  SetPictureFile(text);
}

D3TMaterial::D3TMaterial(const D3TMaterial& other) : owner(other.owner) { *this = other; }

D3TMaterial& D3TMaterial::operator=(const D3TMaterial& other) {
  if (this == &other) return *this;
  ReleaseObjects();
  kind = other.kind;
  name = other.name;
  nameObject = NewReference(other.nameObject);
  pictureFile = other.pictureFile;
  pictureObject = NewReference(other.pictureObject);
  textureTried = other.textureTried;
  textureFailures = 0;
  textureShader = NewReference(other.textureShader);
  specularReflectivity = other.specularReflectivity;
  smoothnessExponent = other.smoothnessExponent;
  opacity = other.opacity;
  textureWidth = other.textureWidth;
  textureHeight = other.textureHeight;
  textureUnit = other.textureUnit;
  for (int i = 0; i < 3; ++i) colour[i] = other.colour[i];
  brightness = other.brightness;
  attenuation = other.attenuation;
  fallOff = other.fallOff;
  innerHalfAngle = other.innerHalfAngle;
  outerHalfAngle = other.outerHalfAngle;
  inUse = 0;
  hasQuickDraw3D = other.hasQuickDraw3D;
  attributeSet = NewReference(other.attributeSet);
  return *this;
}

D3TMaterial::~D3TMaterial() { ReleaseObjects(); }

void D3TMaterial::ReleaseObjects() {
  Release(attributeSet);
  Release(textureShader);
  Release(pictureObject);
  Release(nameObject);
  textureTried = 0;
}

void D3TMaterial::ClearFields() {
  ReleaseObjects();
  kind = kTiledTexture;
  name = Str255();
  pictureFile = Str255();
  textureFailures = 0;
  specularReflectivity = smoothnessExponent = opacity = 0.0f;
  textureWidth = textureHeight = 2.0f;
  textureUnit = DefaultTextureUnit();
  colour[0] = colour[1] = colour[2] = 0.0f;
  brightness = 0.0f;
  attenuation = fallOff = 0;
  innerHalfAngle = outerHalfAngle = 0.0f;
  inUse = 0;
  hasQuickDraw3D = SceneLibraryThere();
}

void D3TMaterial::SetName(ConstStringPtr text) {
  name = Str255(text);
  Release(nameObject);
  if (hasQuickDraw3D) nameObject = NewStringObject(name);
}

void D3TMaterial::SetPictureFile(ConstStringPtr text) {
  pictureFile = Str255(text);
  Release(pictureObject);
  if (hasQuickDraw3D) pictureObject = NewStringObject(pictureFile);
}

// ---- Queries ----

TQ3StringObject D3TMaterial::GetNameObject() const { return NewReference(nameObject); }

TQ3StringObject D3TMaterial::GetPictureObject() const { return NewReference(pictureObject); }

Boolean D3TMaterial::HasName(ConstStringPtr text) const { return PortEqualString(name, text) == 0; }

Boolean D3TMaterial::HasPictureFile(ConstStringPtr text) const { return PortEqualString(pictureFile, text) == 0; }

double D3TMaterial::GetShininess() const {
  const double reflectivity = specularReflectivity >= 0.99f ? 0.99 : double(specularReflectivity);
  return (FloorOnGrid(10.0 * double(smoothnessExponent)) + reflectivity) * 0.1;
}

void D3TMaterial::SetShininess(double shininess) {
  const double tenfold = 10.0 * shininess;
  const double whole = FloorOnGrid(tenfold);
  // Past what a float holds, the smoothness stays the largest float and the grid's leeway, which
  // then outweighs a step, no longer makes the reflectivity negative: no value reads as one that
  // cannot be written back.
  const double smoothness = std::clamp(whole * 0.1, 1.0, double(FLT_MAX));
  smoothnessExponent = float(smoothness);
  specularReflectivity = float(std::max(FloorOnGrid((tenfold - whole) * 100.0) * 0.01, 0.0));
}

// ---- Scene layer ----

TQ3AttributeSet D3TMaterial::GetAttributeSet() {
  if (!hasQuickDraw3D) return nullptr;
  if (!attributeSet) {
    // Every class first, so that a missing one leaves no half-made set behind.
    const TQ3ElementType typeElement = ElementType(kMaterialTypeElement);
    const TQ3ElementType nameElement = ElementType(kMaterialNameElement);
    const TQ3ElementType textureElement = ElementType(kTextureNameElement);
    const TQ3ElementType shaderElement = ElementType(kMaterialShaderElement);
    TQ3AttributeSet set = Q3AttributeSet_New();
    ThrowIfNilWithMessage(set, Str255("D3TMaterial::GetAttributeSet"));
    const TQ3Uns32 kindValue = kind;
    bool made = Q3Set_Add(set, typeElement, &kindValue) == kQ3Success;
    if (made && nameObject) made = Q3Set_Add(set, nameElement, &nameObject) == kQ3Success;
    if (made && pictureObject) made = Q3Set_Add(set, textureElement, &pictureObject) == kQ3Success;
    if (made && !IsLight() && textureShader) made = Q3Set_Add(set, shaderElement, &textureShader) == kQ3Success;
    if (!made) {
      Q3Object_Dispose(set);
      ThrowError(kDEErrorQD3DInternal, Str255("D3TMaterial::GetAttributeSet"));
    }
    attributeSet = set;
  }
  return NewReference(attributeSet);
}

void D3TMaterial::Submit(TQ3ViewObject view) {
  TQ3AttributeSet set = GetAttributeSet();
  if (!set) return;
  Q3Object_Submit(set, view);
  Q3Object_Dispose(set);
}
