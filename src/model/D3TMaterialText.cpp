// The document form of a material: its keyed record in the material block of the native file.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "D3TMaterial.h"
#include "DETException.h"
#include "TextLines.h"
#include "UnitToNameTableScope.h"

namespace {

constexpr std::int32_t kWriteContext = kDEErrorErrorWritingMaterialPrefFile;

void Print(std::FILE* file, const char* format, auto... values) {
  vltext::CheckPrint(std::fprintf(file, format, values...), kWriteContext);
}

// A key and its text to the end of the line. The text is written whole, zero bytes too, which a
// formatted print would end at, so that the record reads back as it was.
void PrintLine(std::FILE* file, const char* key, ConstStringPtr text) {
  const std::string bytes = PStrToStd(text);
  Print(file, "%s", key);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) ThrowIfOSErr(ioErr, kWriteContext);
  Print(file, "%s", "\n");
}

// A length in feet as the document's length unit shows it.
long double InEntryUnit(float feet) {
  try {
    return static_cast<long double>(feet) * gFeet.Ratio(gLengthEntryUnit);
  } catch (UnitBase::Error) {
    ThrowError(kDEErrorErrorWritingFile, Str255("VLDocument::WriteHeader"));
  }
}

// A key word; false, with the stream put back where it was and only its end-of-file state kept,
// when none is left.
bool ReadKey(std::istream& in, std::string* word) {
  if (!(in >> *word)) {
    in.clear(in.rdstate() & std::ios::eofbit);
    return false;
  }
  return true;
}

// A number a float holds; a larger one leaves the stream failed where it starts.
bool ReadFloat(std::istream& in, float* out) {
  const std::streampos start = in.tellg();
  double value = 0.0;
  if (!vltext::ReadDouble(in, &value)) return false;
  if (!(std::fabs(value) <= FLT_MAX)) {
    vltext::FailAt(in, start, "a number is too large for a float");
    return false;
  }
  *out = float(value);
  return true;
}

}  // namespace

void D3TMaterial::WriteText(std::FILE* file, SInt32 id) const {
  PrintLine(file, "\nMaterial: ", name);
  Print(file, "%ld\n", long(id));
  Print(file, "MaterialType: %s\n", MaterialKindName(kind));
  if (IsTexture())
    PrintLine(file, "PictureFile: ", pictureFile);
  else
    Print(file, "Color: %g %g %g\n", double(colour[0]), double(colour[1]), double(colour[2]));
  if (kind <= kProperties) {
    Print(file, "Opacity: %g\n", double(opacity));
    Print(file, "SpecularReflectivity: %g\n", double(specularReflectivity));
    Print(file, "SmoothnessExponent: %g\n", double(smoothnessExponent));
  }
  if (IsTexture()) {
    Print(file, "TextureWidthAndHeight: %Lg, ", InEntryUnit(textureWidth));
    Print(file, "%Lg\n", InEntryUnit(textureHeight));
    // Written with the names the reader looks the unit up in, so that every unit reads back.
    char unitName[256];
    UnitToNameTableScope names(gTextureUnitWriteNames);
    textureUnit.ToString(unitName, sizeof unitName);
    Print(file, "TextureUnitPref: %s\n", unitName);
  }
  if (IsLight()) {
    Print(file, "Brightness: %g\n", double(brightness));
    Print(file, "Attentuation: %s\n", AttenuationName(attenuation));
  }
  if (IsSpotLight()) {
    Print(file, "InnerHalfAngle: %g\n", double(innerHalfAngle));
    Print(file, "FallOff: %s\n", FallOffName(fallOff));
    Print(file, "OuterHalfAngle: %g\n", double(outerHalfAngle));
  }
  vltext::CheckStream(file, kWriteContext);
}

void D3TMaterial::ReadText(std::istream& in, SInt32* id, char delimiter) {
  ReleaseObjects();
  vltext::SkipBlanks(in);
  const std::streampos start = in.tellg();
  std::string text;
  if (!vltext::ReadRestOfLine(in, delimiter, &text)) return;
  if (text.empty()) {
    vltext::FailAt(in, start, "a material has no name");
    return;
  }
  long number = 0;
  if (!vltext::ReadInteger(in, INT32_MIN, INT32_MAX, &number)) return;
  *id = SInt32(number);
  if (text == "none") {
    *id = 0;
    return;
  }
  SetName(Str255(text));

  std::streampos at = in.tellg();
  std::string word;
  if (!ReadKey(in, &word)) return;
  if (word != "MaterialType:") {
    in.seekg(at);
    return;
  }
  at = in.tellg();
  if (!ReadKey(in, &word) || !MaterialKindFromName(word.c_str(), &kind)) {
    vltext::FailAt(in, at, "a material kind is missing or unknown");
    return;
  }

  while (in.good()) {
    at = in.tellg();
    if (!ReadKey(in, &word)) return;
    if (word == "Color:") {
      for (float& c : colour)
        if (!ReadFloat(in, &c)) return;
    } else if (word == "PictureFile:") {
      if (!vltext::ReadRestOfLine(in, delimiter, &text)) return;
      SetPictureFile(Str255(text));
    } else if (word == "Opacity:") {
      ReadFloat(in, &opacity);
    } else if (word == "SpecularReflectivity:") {
      ReadFloat(in, &specularReflectivity);
    } else if (word == "SmoothnessExponent:") {
      ReadFloat(in, &smoothnessExponent);
    } else if (word == "Brightness:") {
      ReadFloat(in, &brightness);
    } else if (word == "InnerHalfAngle:") {
      ReadFloat(in, &innerHalfAngle);
    } else if (word == "OuterHalfAngle:") {
      ReadFloat(in, &outerHalfAngle);
    } else if (word == "TextureWidthAndHeight:") {
      if (!vltext::ReadRestOfLine(in, delimiter, &text)) return;
      const std::size_t comma = text.find(',');
      if (comma == std::string::npos) continue;  // a line without a comma changes nothing
      double width = 0.0, height = 0.0;
      if (!vltext::ParseMeasurement(std::string_view(text).substr(0, comma), gShortLengthNameTable, gLengthEntryUnit,
                                    gFeet, &width) ||
          !vltext::ParseMeasurement(std::string_view(text).substr(comma + 1), gShortLengthNameTable, gLengthEntryUnit,
                                    gFeet, &height)) {
        vltext::FailAt(in, at, nullptr);
        return;
      }
      // A size past what a float holds stays the largest float: an infinite one would be written
      // as a word no reader takes.
      textureWidth = float(std::clamp(width, -double(FLT_MAX), double(FLT_MAX)));
      textureHeight = float(std::clamp(height, -double(FLT_MAX), double(FLT_MAX)));
    } else if (word == "TextureUnitPref:") {
      // The rest of the line: a unit without a name leaves it empty, and the next record's
      // first word must not be taken for it.
      if (!vltext::ReadRestOfLine(in, delimiter, &text)) return;
      textureUnit = UnitBase::Lookup(text.substr(0, text.find_first_of(" \t")), gTextureUnitNames);
    } else if (word == "Attentuation:") {
      if (!ReadKey(in, &word) || !AttenuationFromName(word.c_str(), &attenuation))
        ThrowError(kDEErrorErrorReadingMaterialResource, Str255("D3TMaterial::ReadAttenuationType"));
    } else if (word == "FallOff:") {
      if (!ReadKey(in, &word) || !FallOffFromName(word.c_str(), &fallOff))
        ThrowError(kDEErrorErrorReadingMaterialResource, Str255("D3TMaterial::ReadFallOffTypeStream"));
    } else {
      // The next record's word: the document's reader takes it from here.
      in.seekg(at);
      return;
    }
  }
}
