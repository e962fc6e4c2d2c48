// The preference form of a material: one tab-separated line of the "VL Material Prefs" file, and
// the same record in the default sets of the text resources.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "D3TMaterial.h"
#include "DETException.h"
#include "MaterialTextSource.h"
#include "Q3Core.h"
#include "Q3Scene.h"
#include "Refusal.h"
#include "TextLines.h"
#include "UnitToNameTableScope.h"

namespace {

constexpr std::int32_t kWriteContext = kDEErrorErrorWritingMaterialPrefFile;

// Fields a record of each kind holds after its name and kind, and the reason a file record
// that does not have them gives.
struct KindLayout {
  int fields;
  const char* reason;
};
constexpr KindLayout kLayouts[D3TMaterial::kKindCount] = {{6, "D3TMaterial::Read.2"}, {6, "D3TMaterial::Read.2"},
                                                          {6, "D3TMaterial::Read.2"}, {5, "D3TMaterial::Read.3"},
                                                          {8, "D3TMaterial::Read.5"}, {5, "D3TMaterial::Read.6"}};

void Print(std::FILE* file, const char* format, double value) {
  vltext::CheckPrint(std::fprintf(file, format, value), kWriteContext);
}

void PrintText(std::FILE* file, const char* text) { vltext::CheckPrint(std::fprintf(file, "%s", text), kWriteContext); }

// A name or file name as a token the reader gives back whole, zero bytes too: in double quotes
// when it holds white space, is empty, starts with a quote or would read as the start of a comment
// line, with each quote inside doubled.
void PrintToken(std::FILE* file, ConstStringPtr text) {
  const std::string token = PStrToStd(text);
  const bool comment = token.rfind('#', 0) == 0 || token.rfind("//", 0) == 0;
  const bool quote = token.empty() || comment || token.front() == '"' ||
                     std::any_of(token.begin(), token.end(), [](char c) { return vlmaterial::IsSpace(c); });
  std::string written;
  if (quote) {
    written.push_back('"');
    for (char c : token) written.append(c == '"' ? 2 : 1, c);
    written.push_back('"');
  } else {
    written = token;
  }
  if (std::fwrite(written.data(), 1, written.size(), file) != written.size()) ThrowIfOSErr(ioErr, kWriteContext);
}

// A number a float holds.
bool ReadFloat(vlmaterial::TextSource& source, float* out) {
  double value = 0.0;
  if (!vlmaterial::ReadNumber(source, &value) || !(std::fabs(value) <= FLT_MAX)) return false;
  *out = float(value);
  return true;
}

// Reads the record's fields in order and counts them, stopping at the first that does not
// read. Names outside their tables are handled as the form asks: the file form leaves an
// attenuation or fall-off as it was and counts it, and does not count a unit; the stream form
// raises with the reader's name.
class FieldReader {
 public:
  FieldReader(vlmaterial::TextSource& source, bool fileForm) : source_(source), fileForm_(fileForm) {}

  int Count() const { return count_; }
  bool Ok() const { return ok_; }

  void Number(float* out) {
    if (ok_) Take(ReadFloat(source_, out));
  }
  void Shininess(D3TMaterial* material) {
    double value = 0.0;
    if (!ok_) return;
    Take(vlmaterial::ReadNumber(source_, &value));
    if (ok_) material->SetShininess(value);
  }
  void Color(float* colour) {
    for (int i = 0; i < 3 && ok_; ++i) {
      Number(&colour[i]);
      if (!ok_ && !fileForm_) Raise("D3TMaterial::ReadColorRGB");
    }
  }
  void Text(std::string* out) {
    if (ok_) Take(vlmaterial::ReadToken(source_, true, out) == vlmaterial::Token::kRead);
  }
  void Named(UInt32* out, bool (*fromName)(const char*, UInt32*), const char* reason) {
    std::string word;
    if (!ok_) return;
    if (!vlmaterial::ReadWord(source_, &word)) {
      ok_ = false;
      return;
    }
    UInt32 value = 0;
    if (fromName(word.c_str(), &value))
      *out = value;
    else if (!fileForm_)
      Raise(reason);
    ++count_;
  }
  void Unit(UnitBase* out) {
    std::string word;
    if (!ok_) return;
    if (!vlmaterial::ReadWord(source_, &word)) {
      ok_ = false;
      return;
    }
    const UnitBase unit = UnitBase::Lookup(word, gTextureUnitNames);
    if (unit.kind != UnitBase::kLengthKind) {
      if (!fileForm_) Raise("D3TMaterial::ReadUVUnitStream");
      ok_ = false;
      return;
    }
    *out = unit;
    ++count_;
  }

  [[noreturn]] static void Raise(const char* reason) {
    ThrowError(kDEErrorErrorReadingMaterialResource, Str255(reason));
  }

 private:
  void Take(bool read) {
    ok_ = read;
    if (read) ++count_;
  }

  vlmaterial::TextSource& source_;
  bool fileForm_;
  int count_ = 0;
  bool ok_ = true;
};

}  // namespace

void D3TMaterial::WritePrefLine(std::FILE* file) const {
  PrintToken(file, name);
  PrintText(file, "\t");
  PrintText(file, MaterialKindName(kind));
  PrintText(file, "\t");
  if (IsTexture()) {
    PrintToken(file, pictureFile);
    Print(file, "\t%f\t", GetShininess());
    Print(file, "%f\t", double(opacity));
    Print(file, "%f\t", double(textureWidth));
    Print(file, "%f\t", double(textureHeight));
    // A unit without a texture unit name is kept as feet, the unit of new textures, rather than
    // leaving a gap that the reader would fill from the next line.
    const std::string_view unitName = gTextureUnitWriteNames.NameOf(textureUnit);
    PrintText(file, unitName.empty() ? "feet" : std::string(unitName).c_str());
    PrintText(file, "\n");
  } else if (kind == kProperties) {
    Print(file, "%f\t", GetShininess());
    Print(file, "%f\t", double(opacity));
    for (float c : colour) Print(file, "%f\t", double(c));
    PrintText(file, "\n");
  } else {
    Print(file, "%f\t", double(brightness));
    for (float c : colour) Print(file, "%f\t", double(c));
    PrintText(file, AttenuationName(attenuation));
    PrintText(file, "\t");
    if (IsSpotLight()) {
      PrintText(file, FallOffName(fallOff));
      Print(file, "\t%f\t", double(innerHalfAngle));
      Print(file, "%f\n", double(outerHalfAngle));
    } else {
      PrintText(file, "\n");
    }
  }
  vltext::CheckStream(file, kWriteContext);
}

int D3TMaterial::Read(std::FILE* file, SInt32* lineNumber) {
  vlmaterial::FileSource source(file, *lineNumber);
  const int result = ReadPrefRecord(source, lineNumber, true);
  *lineNumber = source.Line();
  return result;
}

void D3TMaterial::ReadTabRecord(std::istream& in, SInt32* lineNumber) {
  ReleaseObjects();
  if (!in.good()) {
    in.setstate(std::ios::failbit);
    return;
  }
  vlmaterial::StreamSource source(in, *lineNumber);
  const int result = ReadPrefRecord(source, lineNumber, false);
  *lineNumber = source.Line();
  // No record: the end of the text, or the name that ends a default set.
  if (result < 0) in.setstate(std::ios::failbit);
}

int D3TMaterial::ReadPrefRecord(vlmaterial::TextSource& source, SInt32* lineNumber, bool fileForm) {
  ReleaseObjects();
  for (;;) {
    vlmaterial::SkipSpace(source);
    if (!vlmaterial::AtComment(source)) break;
    vlmaterial::SkipLine(source);
  }
  // Errors name the line where the record starts.
  *lineNumber = source.Line();
  auto malformed = [fileForm](const char* fileReason, const char* streamReason, const char* why) {
    vlcore::NoteRefusal(why);
    if (fileForm) ThrowError(kDEErrorErrorReadingMaterialPrefFile, Str255(fileReason));
    FieldReader::Raise(streamReason);
  };

  std::string token;
  bool quoted = false;
  const vlmaterial::Token read = vlmaterial::ReadToken(source, true, &token, &quoted);
  if (read == vlmaterial::Token::kEnd) return -1;
  if (!fileForm && token.rfind("EOF", 0) == 0) return -1;
  // A name must read back from a document, where an empty one would stop the whole file.
  if (read == vlmaterial::Token::kBad || token.empty())
    malformed("D3TMaterial::Read.1", "D3TMaterial::Write", "a material name is missing, unclosed or too long");
  SetName(Str255(token));

  std::string word;
  if (!vlmaterial::ReadWord(source, &word))
    malformed("D3TMaterial::Read.1", "D3TMaterial::ReadMaterialType", "a material has no kind");
  // An unknown kind name is a malformed line: keeping the previous kind would read the fields
  // as another kind's.
  if (!MaterialKindFromName(word.c_str(), &kind))
    malformed("D3TMaterial::Read.4", "D3TMaterial::ReadMaterialType", "a material kind is unknown");

  FieldReader fields(source, fileForm);
  if (IsTexture()) {
    std::string picture;
    fields.Text(&picture);
    if (fields.Ok()) SetPictureFile(Str255(picture));
    fields.Shininess(this);
    fields.Number(&opacity);
    fields.Number(&textureWidth);
    fields.Number(&textureHeight);
    fields.Unit(&textureUnit);
  } else if (kind == kProperties) {
    fields.Shininess(this);
    fields.Number(&opacity);
    fields.Color(colour);
  } else {
    fields.Number(&brightness);
    fields.Color(colour);
    fields.Named(&attenuation, AttenuationFromName, "D3TMaterial::ReadAttenuationType");
    if (IsSpotLight()) {
      fields.Named(&fallOff, FallOffFromName, "D3TMaterial::ReadFallOffTypeStream");
      fields.Number(&innerHalfAngle);
      fields.Number(&outerHalfAngle);
    }
  }
  if (fields.Count() != kLayouts[kind].fields)
    malformed(kLayouts[kind].reason, "D3TMaterial::Write", "a material line lacks a field its kind needs");
  FinishPrefRecord(!fileForm);
  return 0;
}

void D3TMaterial::FinishPrefRecord(Boolean requireName) {
  if (IsTexture()) {
    textureTried = 0;
    return;
  }
  if (IsLight()) {
    textureTried = 1;
    if (hasQuickDraw3D && (!requireName || nameObject)) textureShader = Q3NULLIllumination_New();
  }
}
