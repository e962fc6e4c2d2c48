// One material that model objects can carry: surface properties, a texture taken from a picture
// file, or a light. Materials live in a material list (D3TMaterialList) under a numeric id; model
// objects store the id, and each object that carries a copy of its material owns that copy.
//
// A material writes and reads itself in two text forms: the keyed record of the native
// document's material block (D3TMaterialText.cpp) and the tab-separated line of the material
// preference file, which is also the form of the default records in text resources 255 to 261
// (D3TMaterialPrefRecord.cpp). While the 3D scene library is there it keeps the scene objects
// that describe it to the scene layer: string objects for its name and picture file, a shader and
// an attribute set; copies share them by reference. Implemented in D3TMaterial.cpp,
// D3TMaterialText.cpp and D3TMaterialPrefRecord.cpp.
#pragma once

#include <cstdio>
#include <istream>

#include "MacTypes.h"
#include "NameToUnitTable.h"
#include "PString.h"
#include "Q3Types.h"
#include "UnitBase.h"
#include "UnitToNameTable.h"

class D3TMaterialArray;
class D3TMaterialList;
namespace vlmaterial {
class TextSource;
}

// The application's check whether the 3D scene library is there (VLApplication::HasQuickDraw3D),
// installed by the application. While none is installed, or the library is not initialised,
// materials make no scene objects.
extern Boolean (*gQuickDraw3DCheck)();

// Texture unit names: read through gTextureUnitNames ("mi", "'", "ft", "feet", "kfeet", the
// double quote, "in", "km", "m", "meters", "kmeters", "cm", "mm"; capitals read as small
// letters, any other name gives the invalid unit), written through gTextureUnitWriteNames (mile
// "mi", foot "feet", inch the double quote, "km", "meters", "cm", "mm").
extern const NameToUnitTable gTextureUnitNames;
extern const UnitToNameTable gTextureUnitWriteNames;

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
  static constexpr UInt32 kKindCount = 6;
  // Attenuation (0 to 2) and fall-off (0 to 3) values, numbered as the scene library's.
  static constexpr UInt32 kAttenuationCount = 3;
  static constexpr UInt32 kFallOffCount = 4;

  // An empty material of the list, before a preference record is read into it: kind 0, empty
  // name and picture file, surface numbers 0, texture size 2.0 by 2.0, colour and light values
  // 0, the texture unit named by item 1 of string list 2700 (feet when that is not a texture
  // unit name).
  explicit D3TMaterial(D3TMaterialList* owner);
  // A new material of a kind with that kind's default record (text resources 256 to 261 of the
  // application's resources) and the name as its name and picture file. A kind above 5, or a
  // resource that is missing or holds no record of that kind, raises
  // kDEErrorErrorReadingMaterialPrefFile; a damaged record kDEErrorErrorReadingMaterialResource.
  D3TMaterial(D3TMaterialList* owner, UInt32 kind, ConstStringPtr name);
  // Every field but the texture failure count and the use mark, which start at 0; the scene
  // objects are shared by new references. The copy has the same owner.
  D3TMaterial(const D3TMaterial& other);
  // Releases the target's scene objects first and keeps the target's owner.
  D3TMaterial& operator=(const D3TMaterial& other);
  ~D3TMaterial();

  // Releases the references to the four scene objects and clears textureTried.
  void ReleaseObjects();

  // ---- Queries ----

  ConstStringPtr GetName() const { return name; }
  ConstStringPtr GetPictureFile() const { return pictureFile; }
  // New references (null when there is none), which the caller disposes of.
  TQ3StringObject GetNameObject() const;
  TQ3StringObject GetPictureObject() const;
  // The platform's string comparison (ASCII case ignored).
  Boolean HasName(ConstStringPtr text) const;
  Boolean HasPictureFile(ConstStringPtr text) const;
  UInt32 GetKind() const { return kind; }
  Boolean IsTexture() const { return kind <= kCenteredTexture; }
  Boolean IsSpotLight() const { return kind == kSpotLight; }
  Boolean IsPointLight() const { return kind == kPointLight; }
  Boolean IsLight() const { return IsSpotLight() || IsPointLight(); }
  float GetOpacity() const { return opacity; }
  float GetSpecularReflectivity() const { return specularReflectivity; }
  float GetSmoothnessExponent() const { return smoothnessExponent; }
  // The combined number: (floor(10 * smoothness) + r) * 0.1, r the specular reflectivity, at
  // most 0.99.
  double GetShininess() const;
  // From the combined number s: smoothness floor(10 s) * 0.1, at least 1.0; reflectivity the
  // next two decimals, floor((10 s - floor(10 s)) * 100) * 0.01. Numbers a float cannot hold
  // exactly are taken at their decimal value, so that writing and reading never drifts.
  void SetShininess(double shininess);
  // The size of one repeat of the picture, in the model's length unit (feet).
  float GetTextureWidth() const { return textureWidth; }
  float GetTextureHeight() const { return textureHeight; }
  const UnitBase& GetTextureUnit() const { return textureUnit; }
  // Red, green and blue, 0 to 1.
  const float* GetColor() const { return colour; }
  float GetBrightness() const { return brightness; }
  UInt32 GetAttenuation() const { return attenuation; }
  UInt32 GetFallOff() const { return fallOff; }
  float GetInnerHalfAngle() const { return innerHalfAngle; }
  float GetOuterHalfAngle() const { return outerHalfAngle; }
  SInt32 GetTextureFailureCount() const { return textureFailures; }
  Boolean TextureTried() const { return textureTried; }
  Boolean HasQuickDraw3D() const { return hasQuickDraw3D; }
  // The shared set the material belongs to (the list's array); null for a copy that belongs to
  // no list, such as the copy a model object carries.
  D3TMaterialArray* GetOwner() const { return owner; }
  // Makes the material one of no list, as the copy a model object carries is: the list it was
  // copied from may go before the object does.
  void DetachFromList() { owner = nullptr; }

  // ---- Document form (the material block of the native model file) ----

  // Writes "\nMaterial: name\nid\nMaterialType: kind\n" and the kind's lines. A texture size
  // that cannot be converted into the document's length unit (gLengthEntryUnit) raises
  // kDEErrorErrorWritingFile; a failed write the I/O error -36 in the context
  // kDEErrorErrorWritingMaterialPrefFile.
  void WriteText(std::FILE* file, SInt32 id) const;
  // Reads one record after its "Material:" word. A record that does not fit (an empty name, an
  // id that is no 32-bit number, an unknown kind name, a texture size that is no length) leaves
  // the stream failed; the name "none" gives the id 0. A key word it does not know is left in
  // the stream for the document's reader. An unknown attenuation or fall-off name raises
  // kDEErrorErrorReadingMaterialResource.
  void ReadText(std::istream& in, SInt32* id, char delimiter);

  // ---- Preference form (one line of the material preference file) ----

  // Writes the material's line, names with white space in double quotes, numbers with "%f". A
  // failed write raises -36 in the context kDEErrorErrorWritingMaterialPrefFile.
  void WritePrefLine(std::FILE* file) const;
  // Reads one line from the preference file, skipping comment lines ("#" or "//"); -1 at the end
  // of the file, 0 for a material. *lineNumber is the number of the line the file stands on and
  // is kept up to date; a malformed record raises kDEErrorErrorReadingMaterialPrefFile with its
  // reason ("D3TMaterial::Read.1" no kind, ".2" to ".6" fields that do not fit the kind, ".4" an
  // unknown kind name) and leaves *lineNumber at the line where the record starts.
  int Read(std::FILE* file, SInt32* lineNumber);
  // The same record from a text stream (the default sets of the text resources). A name
  // starting with "EOF", or the end of the text, marks the stream failed. A malformed record
  // raises kDEErrorErrorReadingMaterialResource, with *lineNumber as Read keeps it.
  void ReadTabRecord(std::istream& in, SInt32* lineNumber);

  // ---- Scene layer ----

  // A new reference to the material's attribute set, made on first use: the kind, the name
  // object, the picture object and, for a material that is not a light, the loaded shader, each
  // under its custom element class. Null without the scene library. The element classes must be
  // registered: raises kDEErrorQD3DInitializationFailed when one is not.
  TQ3AttributeSet GetAttributeSet();
  // Submits the attribute set to a view and disposes of the reference.
  void Submit(TQ3ViewObject view);

 private:
  friend class D3TMaterialList;

  // The preference record reader behind Read (fileForm) and ReadTabRecord: -1 when the source
  // holds no further record.
  int ReadPrefRecord(vlmaterial::TextSource& source, SInt32* lineNumber, bool fileForm);

  // Clears the fields as the empty constructor leaves them.
  void ClearFields();
  // The name and picture file with their string objects.
  void SetName(ConstStringPtr text);
  void SetPictureFile(ConstStringPtr text);
  // What a freshly read preference record gets: textures keep their picture object; lights are
  // marked tried and, with the scene library (and, with requireName, a name object), get a null
  // illumination shader.
  void FinishPrefRecord(Boolean requireName);

  D3TMaterialArray* owner = nullptr;
  UInt32 kind = kTiledTexture;
  Str255 name;
  TQ3StringObject nameObject = nullptr;
  Str255 pictureFile;
  TQ3StringObject pictureObject = nullptr;
  UInt8 textureTried = 0;
  SInt32 textureFailures = 0;
  TQ3ShaderObject textureShader = nullptr;
  float specularReflectivity = 0.0f;
  float smoothnessExponent = 0.0f;
  float opacity = 0.0f;
  float textureWidth = 2.0f;
  float textureHeight = 2.0f;
  UnitBase textureUnit = gFeet;
  float colour[3] = {};
  float brightness = 0.0f;
  UInt32 attenuation = 0;
  UInt32 fallOff = 0;
  float innerHalfAngle = 0.0f;
  float outerHalfAngle = 0.0f;
  UInt8 inUse = 0;
  UInt8 hasQuickDraw3D = 0;
  TQ3AttributeSet attributeSet = nullptr;
};

// Names of kinds, attenuations and fall-offs as both text forms write them; null outside the
// tables. The readers answer false for a name not in the table.
const char* MaterialKindName(UInt32 kind);
const char* AttenuationName(UInt32 attenuation);
const char* FallOffName(UInt32 fallOff);
bool MaterialKindFromName(const char* text, UInt32* kind);
bool AttenuationFromName(const char* text, UInt32* attenuation);
bool FallOffFromName(const char* text, UInt32* fallOff);
