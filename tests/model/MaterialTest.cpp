// The material record: its kinds and defaults, the combined shininess, both text forms and its
// scene objects.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AppResources.h"
#include "D3TMaterial.h"
#include "DETException.h"
#include "ModelTestSupport.h"
#include "Q3Core.h"
#include "Q3Scene.h"
#include "Refusal.h"
#include "Resources.h"

namespace {

using modeltest::FileWithText;
using modeltest::WrittenText;

class MaterialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::InstallApplicationResources();
    savedEntryUnit = gLengthEntryUnit;
    gLengthEntryUnit = gInches;
  }
  void TearDown() override { gLengthEntryUnit = savedEntryUnit; }

  // A material read from its document record (the text after the word "Material:").
  static std::unique_ptr<D3TMaterial> FromDocument(const std::string& record, SInt32* id) {
    auto material = std::make_unique<D3TMaterial>(nullptr, D3TMaterial::kProperties, Str255(""));
    std::istringstream in(record);
    material->ReadText(in, id, '\n');
    EXPECT_FALSE(in.fail()) << record;
    return material;
  }
  static std::string DocumentText(const D3TMaterial& material, SInt32 id) {
    return WrittenText([&](std::FILE* file) { material.WriteText(file, id); });
  }

  UnitBase savedEntryUnit;
};

// One record of each kind as a document writes it, texture sizes in inches.
const char* const kDocumentRecords[] = {
    "\nMaterial: Oak Floor\n3\nMaterialType: Tiled_Texture\nPictureFile: oak floor.pict\nOpacity: 0.75\n"
    "SpecularReflectivity: 0.25\nSmoothnessExponent: 4.5\nTextureWidthAndHeight: 24, 12\nTextureUnitPref: \"\n",
    "\nMaterial: Map\n4\nMaterialType: Full_Face_Texture\nPictureFile: map.pict\nOpacity: 1\n"
    "SpecularReflectivity: 0\nSmoothnessExponent: 1\nTextureWidthAndHeight: 60, 36\nTextureUnitPref: mi\n",
    "\nMaterial: Logo\n11\nMaterialType: Centered_Texture\nPictureFile: logo.pict\nOpacity: 0.5\n"
    "SpecularReflectivity: 0.99\nSmoothnessExponent: 12.5\nTextureWidthAndHeight: 6, 6\nTextureUnitPref: meters\n",
    "\nMaterial: Brick\n5\nMaterialType: Properties\nColor: 0.65 0.3 0.22\nOpacity: 1\nSpecularReflectivity: 0.05\n"
    "SmoothnessExponent: 1\n",
    "\nMaterial: Lamp\n7\nMaterialType: Spot_Light\nColor: 1 0.9 0.8\nBrightness: 0.5\n"
    "Attentuation: kQ3AttenuationTypeInverseDistance\nInnerHalfAngle: 0.4\nFallOff: kQ3FallOffTypeCosine\n"
    "OuterHalfAngle: 0.6\n",
    "\nMaterial: Bulb\n9\nMaterialType: Point_Light\nColor: 1 1 1\nBrightness: 2\n"
    "Attentuation: kQ3AttenuationTypeInverseDistanceSquared\n",
};

// The record after its "Material:" word, as the document's reader hands it over.
std::string AfterKeyword(const std::string& record) { return record.substr(std::string("\nMaterial:").size()); }

}  // namespace

TEST_F(MaterialTest, TheKindConstructorTakesEachKindsDefaultRecord) {
  for (UInt32 kind = 0; kind < D3TMaterial::kKindCount; ++kind) {
    SCOPED_TRACE(kind);
    D3TMaterial material(nullptr, kind, Str255("Oak"));
    EXPECT_EQ(material.GetKind(), kind);
    EXPECT_EQ(PStrToStd(material.GetName()), "Oak");
    EXPECT_EQ(PStrToStd(material.GetPictureFile()), "Oak");
    EXPECT_EQ(material.IsTexture(), kind <= 2);
    EXPECT_EQ(material.IsLight(), kind >= 4);
  }
  D3TMaterial surface(nullptr, D3TMaterial::kProperties, Str255("Plain"));
  EXPECT_FLOAT_EQ(surface.GetColor()[0], 0.8f);
  EXPECT_FLOAT_EQ(surface.GetOpacity(), 1.0f);
  EXPECT_FLOAT_EQ(surface.GetSmoothnessExponent(), 1.0f);
  EXPECT_FLOAT_EQ(surface.GetSpecularReflectivity(), 0.5f);  // shininess 1.05
  D3TMaterial texture(nullptr, D3TMaterial::kTiledTexture, Str255("Tiles"));
  EXPECT_EQ(texture.GetTextureUnit(), gFeet);
  EXPECT_FLOAT_EQ(texture.GetTextureWidth(), 2.0f);
  EXPECT_FALSE(texture.TextureTried());
  D3TMaterial light(nullptr, D3TMaterial::kSpotLight, Str255("Spot"));
  EXPECT_TRUE(light.TextureTried()) << "a light needs no picture";

  try {
    D3TMaterial none(nullptr, 6, Str255("Nothing"));
    FAIL() << "a kind above 5 was made";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorErrorReadingMaterialPrefFile);
    EXPECT_EQ(PStrToStd(gErrorMessage), "D3TMaterial::D3TMaterial");
  }
}

TEST_F(MaterialTest, ShininessCombinesSmoothnessAndReflectivity) {
  D3TMaterial material(nullptr);
  struct Case {
    double shininess;
    float smoothness, reflectivity;
  } cases[] = {{2.25, 2.2f, 0.5f}, {0.05, 1.0f, 0.5f}, {1.337, 1.3f, 0.37f}, {12.599, 12.5f, 0.99f}, {3.0, 3.0f, 0.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shininess);
    material.SetShininess(c.shininess);
    EXPECT_FLOAT_EQ(material.GetSmoothnessExponent(), c.smoothness);
    EXPECT_FLOAT_EQ(material.GetSpecularReflectivity(), c.reflectivity);
  }
  // Past a float's range the smoothness stays the largest float, and the value written reads back
  // as itself: it no longer became infinite or not a number.
  for (const double huge : {1.1e63, -1.1e63, double(FLT_MAX)}) {
    SCOPED_TRACE(huge);
    material.SetShininess(huge);
    const double written = material.GetShininess();
    ASSERT_TRUE(std::isfinite(written));
    material.SetShininess(written);
    EXPECT_EQ(material.GetShininess(), written);
    EXPECT_GE(material.GetSpecularReflectivity(), 0.0f);
  }
  // A reflectivity of 1.0 is written as 0.99.
  std::istringstream in(" Shiny\n1\nMaterialType: Properties\nSpecularReflectivity: 1\nSmoothnessExponent: 2.2\n");
  SInt32 id = 0;
  material.ReadText(in, &id, '\n');
  EXPECT_NEAR(material.GetShininess(), 2.299, 1e-9);

  // Every point of the grids survives being written with "%f" and read again, time after time:
  // nothing drifts down a step through the float the values are kept in.
  for (int smooth = 10; smooth < 100; ++smooth) {
    for (int reflect = 0; reflect < 100; ++reflect) {
      material.SetShininess((smooth + reflect * 0.01) * 0.1);
      for (int pass = 0; pass < 3; ++pass) {
        char text[64];
        std::snprintf(text, sizeof text, "%f", material.GetShininess());
        material.SetShininess(std::strtod(text, nullptr));
      }
      ASSERT_FLOAT_EQ(material.GetSmoothnessExponent(), float(smooth * 0.1)) << smooth << " " << reflect;
      ASSERT_FLOAT_EQ(material.GetSpecularReflectivity(), float(reflect * 0.01)) << smooth << " " << reflect;
    }
  }
}

TEST_F(MaterialTest, EachKindSurvivesTheDocumentFormExactly) {
  for (const char* record : kDocumentRecords) {
    SCOPED_TRACE(record);
    SInt32 id = 0;
    auto material = FromDocument(AfterKeyword(record), &id);
    EXPECT_EQ(DocumentText(*material, id), record);
  }
  SInt32 id = 0;
  auto oak = FromDocument(AfterKeyword(kDocumentRecords[0]), &id);
  EXPECT_EQ(id, 3);
  EXPECT_EQ(PStrToStd(oak->GetName()), "Oak Floor");
  EXPECT_EQ(PStrToStd(oak->GetPictureFile()), "oak floor.pict");
  EXPECT_FLOAT_EQ(oak->GetTextureWidth(), 2.0f) << "24 inches, kept in feet";
  EXPECT_FLOAT_EQ(oak->GetTextureHeight(), 1.0f);
  EXPECT_EQ(oak->GetTextureUnit(), gInches);
  auto lamp = FromDocument(AfterKeyword(kDocumentRecords[4]), &id);
  EXPECT_EQ(lamp->GetAttenuation(), 1u);
  EXPECT_EQ(lamp->GetFallOff(), 3u);
  EXPECT_FLOAT_EQ(lamp->GetOuterHalfAngle(), 0.6f);
}

TEST_F(MaterialTest, NamesHoldingZeroBytesSurviveTheDocumentForm) {
  // A formatted print stops at a zero byte: the record lost its name, and the block no longer read.
  using namespace std::string_literals;
  const std::string record =
      "\nMaterial: \0Oak\n3\nMaterialType: Tiled_Texture\nPictureFile: oak\0floor.pict\nOpacity: 0.75\n"
      "SpecularReflectivity: 0.25\nSmoothnessExponent: 4.5\nTextureWidthAndHeight: 24, 12\nTextureUnitPref: \"\n"s;
  SInt32 id = 0;
  auto material = FromDocument(AfterKeyword(record), &id);
  EXPECT_EQ(PStrToStd(material->GetName()), "\0Oak"s);
  EXPECT_EQ(PStrToStd(material->GetPictureFile()), "oak\0floor.pict"s);
  EXPECT_EQ(DocumentText(*material, id), record);
}

TEST_F(MaterialTest, TextureSizesPastAFloatStayTheLargestFloatAndReadBack) {
  // An infinite size was written as "inf", which no reader takes.
  SInt32 id = 0;
  auto material = FromDocument(" Huge\n3\nMaterialType: Tiled_Texture\nTextureWidthAndHeight: 1e88, -1e88\n", &id);
  EXPECT_EQ(material->GetTextureWidth(), FLT_MAX);
  EXPECT_EQ(material->GetTextureHeight(), -FLT_MAX);
  const std::string written = DocumentText(*material, id);
  auto again = FromDocument(AfterKeyword(written), &id);
  EXPECT_EQ(DocumentText(*again, id), written);
}

TEST_F(MaterialTest, EachKindSurvivesThePreferenceFormWithinItsGrid) {
  for (const char* record : kDocumentRecords) {
    SCOPED_TRACE(record);
    SInt32 id = 0;
    auto written = FromDocument(AfterKeyword(record), &id);
    const std::string line = WrittenText([&](std::FILE* file) { written->WritePrefLine(file); });
    modeltest::FilePtr file = FileWithText(line);
    D3TMaterial read(nullptr);
    SInt32 lineNumber = 1;
    ASSERT_EQ(read.Read(file.get(), &lineNumber), 0) << line;
    EXPECT_EQ(read.GetKind(), written->GetKind());
    EXPECT_EQ(PStrToStd(read.GetName()), PStrToStd(written->GetName()));
    if (written->IsTexture()) {
      EXPECT_EQ(PStrToStd(read.GetPictureFile()), PStrToStd(written->GetPictureFile()));
      EXPECT_EQ(read.GetTextureUnit(), written->GetTextureUnit());
      EXPECT_FLOAT_EQ(read.GetTextureWidth(), written->GetTextureWidth());
      EXPECT_FLOAT_EQ(read.GetTextureHeight(), written->GetTextureHeight());
    }
    for (int i = 0; i < 3 && !written->IsTexture(); ++i) EXPECT_FLOAT_EQ(read.GetColor()[i], written->GetColor()[i]);
    if (!written->IsLight()) {
      EXPECT_FLOAT_EQ(read.GetOpacity(), written->GetOpacity());
      EXPECT_FLOAT_EQ(read.GetSmoothnessExponent(), written->GetSmoothnessExponent());
      EXPECT_FLOAT_EQ(read.GetSpecularReflectivity(), written->GetSpecularReflectivity());
    } else {
      EXPECT_FLOAT_EQ(read.GetBrightness(), written->GetBrightness());
      EXPECT_EQ(read.GetAttenuation(), written->GetAttenuation());
      EXPECT_EQ(read.GetFallOff(), written->GetFallOff());
      EXPECT_FLOAT_EQ(read.GetInnerHalfAngle(), written->GetInnerHalfAngle());
      EXPECT_FLOAT_EQ(read.GetOuterHalfAngle(), written->GetOuterHalfAngle());
    }
  }
  // Off the grids: the smoothness falls to its 0.1 step (at least 1), the reflectivity to its
  // 0.01 step (at most 0.99).
  struct Case {
    const char* smoothness;
    const char* reflectivity;
    float readSmoothness, readReflectivity;
  } cases[] = {{"1.37", "0.456", 1.3f, 0.45f}, {"0.5", "1", 1.0f, 0.99f}, {"7.99", "0.999", 7.9f, 0.99f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.smoothness);
    SInt32 id = 0;
    auto written = FromDocument(std::string(" Grid\n1\nMaterialType: Properties\nSmoothnessExponent: ") + c.smoothness +
                                    "\nSpecularReflectivity: " + c.reflectivity + "\n",
                                &id);
    modeltest::FilePtr file = FileWithText(WrittenText([&](std::FILE* f) { written->WritePrefLine(f); }));
    D3TMaterial read(nullptr);
    SInt32 lineNumber = 1;
    ASSERT_EQ(read.Read(file.get(), &lineNumber), 0);
    EXPECT_FLOAT_EQ(read.GetSmoothnessExponent(), c.readSmoothness);
    EXPECT_FLOAT_EQ(read.GetSpecularReflectivity(), c.readReflectivity);
  }
}

TEST_F(MaterialTest, EveryNameAndPictureFileSurvivesThePreferenceForm) {
  // A name the line would lose made the line malformed, and the materials after it were lost.
  using namespace std::string_literals;
  const std::string names[] = {"Oak",    "Oak Floor",    "\"Quoted\"",         "My \"best\" oak",
                               "a\"b",   "\"",           "# not a comment",    "// nor this",
                               "\0Oak"s, "Oak\0 Floor"s, std::string(250, '"')};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    SInt32 id = 0;
    auto written = FromDocument(" " + name + "\n1\nMaterialType: Tiled_Texture\nPictureFile: " + name + ".pict\n", &id);
    ASSERT_EQ(PStrToStd(written->GetName()), name);
    const std::string line = WrittenText([&](std::FILE* file) { written->WritePrefLine(file); });
    modeltest::FilePtr file = FileWithText(line);
    D3TMaterial read(nullptr);
    SInt32 lineNumber = 1;
    ASSERT_EQ(read.Read(file.get(), &lineNumber), 0) << line;
    EXPECT_EQ(PStrToStd(read.GetName()), name);
    EXPECT_EQ(PStrToStd(read.GetPictureFile()), name + ".pict");
  }
}

TEST_F(MaterialTest, DocumentRecordsThatDoNotFit) {
  struct Case {
    const char* what;
    std::string record;
    bool fails;
    std::function<void(const D3TMaterial&, SInt32 id, std::istream& rest)> check;
  } cases[] = {
      {"none is no material", " none\n12\nnumViews: 1\n", false,
       [](const D3TMaterial&, SInt32 id, std::istream&) { EXPECT_EQ(id, 0); }},
      {"no MaterialType keeps kind 3", " Plain\n2\nnumViews: 1\n", false,
       [](const D3TMaterial& m, SInt32 id, std::istream& rest) {
         EXPECT_EQ(m.GetKind(), D3TMaterial::kProperties);
         EXPECT_EQ(id, 2);
         std::string next;
         rest >> next;
         EXPECT_EQ(next, "numViews:") << "the next record's word stays";
       }},
      {"an unknown kind name fails the stream", " Odd\n2\nMaterialType: Marble\n", true, nullptr},
      {"an empty name fails the stream", " \n2\nMaterialType: Properties\n", true, nullptr},
      {"an id past 32 bits fails the stream", " Big\n4294967297\n", true, nullptr},
      {"a size without a comma changes nothing",
       " T\n2\nMaterialType: Tiled_Texture\nTextureWidthAndHeight: 24 12\nTextureUnitPref: kfeet\n", false,
       [](const D3TMaterial& m, SInt32, std::istream&) {
         EXPECT_FLOAT_EQ(m.GetTextureWidth(), 2.0f);
         EXPECT_EQ(m.GetTextureUnit(), gFeet);
       }},
      {"a size that is no length fails the stream", " T\n2\nMaterialType: Tiled_Texture\nTextureWidthAndHeight: x, 1\n",
       true, nullptr},
      {"sizes with units, kmeters",
       " T\n2\nMaterialType: Tiled_Texture\nTextureWidthAndHeight: 3', 18\"\nTextureUnitPref: kmeters\n", false,
       [](const D3TMaterial& m, SInt32, std::istream&) {
         EXPECT_FLOAT_EQ(m.GetTextureWidth(), 3.0f);
         EXPECT_FLOAT_EQ(m.GetTextureHeight(), 1.5f);
         EXPECT_EQ(m.GetTextureUnit(), gMeters);
       }},
      {"a unit without a name keeps the next record",
       " T\n2\nMaterialType: Tiled_Texture\nTextureUnitPref: \nMaterial: Next\n", false,
       [](const D3TMaterial& m, SInt32, std::istream& rest) {
         EXPECT_EQ(m.GetTextureUnit(), gInvalidUnit);
         std::string next;
         rest >> next;
         EXPECT_EQ(next, "Material:");
       }},
      {"the record may end the file", " Last\n8\nMaterialType: Point_Light\nBrightness: 3", false,
       [](const D3TMaterial& m, SInt32 id, std::istream&) {
         EXPECT_EQ(id, 8);
         EXPECT_FLOAT_EQ(m.GetBrightness(), 3.0f);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    D3TMaterial material(nullptr, D3TMaterial::kProperties, Str255(""));
    std::istringstream in(c.record);
    SInt32 id = -1;
    material.ReadText(in, &id, '\n');
    EXPECT_EQ(in.fail(), c.fails);
    if (c.check) c.check(material, id, in);
  }

  // Names outside the attenuation and fall-off tables stop the reading.
  for (const char* record :
       {" L\n1\nMaterialType: Spot_Light\nAttentuation: kQ3AttenuationTypeCubic\n",
        " L\n1\nMaterialType: Spot_Light\nFallOff: Sudden\n", " L\n1\nMaterialType: Spot_Light\nAttentuation:"}) {
    SCOPED_TRACE(record);
    D3TMaterial material(nullptr, D3TMaterial::kProperties, Str255(""));
    std::istringstream in(record);
    SInt32 id = 0;
    try {
      material.ReadText(in, &id, '\n');
      ADD_FAILURE() << "the name was taken";
    } catch (const DETException& e) {
      EXPECT_EQ(e.GetCode(), kDEErrorErrorReadingMaterialResource);
    }
  }
}

TEST_F(MaterialTest, PreferenceRecordsThatDoNotFitNameTheirReasonAndLine) {
  static const char kBinary[] = "\x01\x02\xff\xfe\tProperties\t\x80\x00\x7f\n";
  struct Case {
    const char* what;
    std::string text;
    const char* reason;
    SInt32 line;
    const char* why;  // the refusal's sentence
  } cases[] = {
      {"a texture with five fields", "# head\nOak\tTiled_Texture\toak.pict\t1.05\t1\t2\t2\n", "D3TMaterial::Read.2", 2,
       "a material line lacks a field its kind needs"},
      {"a texture with an unknown unit", "Oak\tTiled_Texture\toak.pict\t1.05\t1\t2\t2\tfurlongs\n",
       "D3TMaterial::Read.2", 1, "a material line lacks a field its kind needs"},
      {"Properties with a word for a number", "\nWall\tProperties\t1.05\tsolid\t1\t1\t1\n", "D3TMaterial::Read.3", 2,
       "a material line lacks a field its kind needs"},
      {"a spot light cut short", "Spot\tSpot_Light\t1\t1\t1\t1\tkQ3AttenuationTypeNone\n", "D3TMaterial::Read.5", 1,
       "a material line lacks a field its kind needs"},
      {"a point light with no number", "Bulb\tPoint_Light\tnan\t1\t1\t1\tkQ3AttenuationTypeNone\n",
       "D3TMaterial::Read.6", 1, "a material line lacks a field its kind needs"},
      {"an unknown kind name", "Wall\tMarble\t1.05\t1\t1\t1\t1\n", "D3TMaterial::Read.4", 1,
       "a material kind is unknown"},
      {"a name and nothing else", "Lonely", "D3TMaterial::Read.1", 1, "a material has no kind"},
      {"an unclosed quote", "\"Roof Tiles\tProperties\t1.05\t1\t1\t1\t1\n", "D3TMaterial::Read.1", 1,
       "a material name is missing, unclosed or too long"},
      {"an empty name", "\"\"\tProperties\t1.05\t1\t1\t1\t1\n", "D3TMaterial::Read.1", 1,
       "a material name is missing, unclosed or too long"},
      {"an over-long name", std::string(300, 'x') + "\tProperties\t1.05\t1\t1\t1\t1\n", "D3TMaterial::Read.1", 1,
       "a material name is missing, unclosed or too long"},
      {"binary bytes", std::string(kBinary, sizeof kBinary - 1), "D3TMaterial::Read.3", 1,
       "a material line lacks a field its kind needs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    modeltest::FilePtr file = FileWithText(c.text);
    D3TMaterial material(nullptr);
    SInt32 line = 1;
    // Comment lines at the top are the list's to read; a record reader skips them too.
    try {
      material.Read(file.get(), &line);
      ADD_FAILURE() << "the record was taken";
    } catch (const DETException& e) {
      EXPECT_EQ(e.GetCode(), kDEErrorErrorReadingMaterialPrefFile);
      EXPECT_EQ(PStrToStd(gErrorMessage), c.reason);
      EXPECT_STREQ(vlcore::LastRefusal(), c.why);
      EXPECT_EQ(line, c.line);
    }
  }
  // An attenuation name outside its table leaves the attenuation as it was.
  modeltest::FilePtr file = FileWithText("Bulb\tPoint_Light\t1\t1\t1\t1\tkQ3AttenuationTypeCubic\t\n");
  D3TMaterial bulb(nullptr);
  SInt32 line = 1;
  ASSERT_EQ(bulb.Read(file.get(), &line), 0);
  EXPECT_EQ(bulb.GetAttenuation(), 0u);
  EXPECT_EQ(bulb.Read(file.get(), &line), -1);
}

TEST_F(MaterialTest, DefaultRecordsThatDoNotFitRaiseTheResourceError) {
  struct Case {
    const char* text;
    const char* reason;
  } cases[] = {
      {"Wall\tMarble\t1.05\t1\t1\t1\t1\n", "D3TMaterial::ReadMaterialType"},
      {"Spot\tSpot_Light\t1\t1\t1\t1\tkQ3AttenuationTypeCubic\tkQ3FallOffTypeNone\t0.4\t0.6\n",
       "D3TMaterial::ReadAttenuationType"},
      {"Spot\tSpot_Light\t1\t1\t1\t1\tkQ3AttenuationTypeNone\tSudden\t0.4\t0.6\n",
       "D3TMaterial::ReadFallOffTypeStream"},
      {"T\tTiled_Texture\tt.pict\t1\t1\t2\t2\tfurlongs\n", "D3TMaterial::ReadUVUnitStream"},
      {"Wall\tProperties\t1.05\t1\tred\t1\t1\n", "D3TMaterial::ReadColorRGB"},
      {"Wall\tProperties\t1.05\n", "D3TMaterial::Write"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::istringstream in(c.text);
    D3TMaterial material(nullptr);
    SInt32 line = 1;
    try {
      material.ReadTabRecord(in, &line);
      ADD_FAILURE() << "the record was taken";
    } catch (const DETException& e) {
      EXPECT_EQ(e.GetCode(), kDEErrorErrorReadingMaterialResource);
      EXPECT_EQ(PStrToStd(gErrorMessage), c.reason);
    }
  }
  // A name starting with EOF ends a default set.
  std::istringstream in("Wall\tProperties\t1.05\t1\t1\t1\t1\nEOF_of_the_set\n");
  D3TMaterial material(nullptr);
  SInt32 line = 1;
  material.ReadTabRecord(in, &line);
  EXPECT_FALSE(in.fail());
  material.ReadTabRecord(in, &line);
  EXPECT_TRUE(in.fail());
}

// ---- Scene objects ----

namespace {

// The scene layer registers the material's element classes; these stand in for its
// registration: object elements hold a reference of their own, the kind is a plain number.
TQ3Status ShareObject(const void* from, void* to) {
  const TQ3Object object = *static_cast<const TQ3Object*>(from);
  *static_cast<TQ3Object*>(to) = object ? Q3Shared_GetReference(object) : nullptr;
  return kQ3Success;
}
TQ3Status ReplaceObject(const void* from, void* onto) {
  TQ3Object& held = *static_cast<TQ3Object*>(onto);
  if (held) Q3Object_Dispose(held);
  return ShareObject(from, onto);
}
TQ3Status DropObject(void* element) {
  TQ3Object& held = *static_cast<TQ3Object*>(element);
  if (held) Q3Object_Dispose(held);
  held = nullptr;
  return kQ3Success;
}
TQ3XFunctionPointer ObjectElementMethods(TQ3XMethodType method) {
  switch (method) {
    case kQ3XMethodTypeElementCopyAdd:
    case kQ3XMethodTypeElementCopyGet:
    case kQ3XMethodTypeElementCopyDuplicate:
      return reinterpret_cast<TQ3XFunctionPointer>(ShareObject);
    case kQ3XMethodTypeElementCopyReplace:
      return reinterpret_cast<TQ3XFunctionPointer>(ReplaceObject);
    case kQ3XMethodTypeElementDelete:
      return reinterpret_cast<TQ3XFunctionPointer>(DropObject);
    default:
      return nullptr;
  }
}

class MaterialSceneTest : public MaterialTest {
 protected:
  void SetUp() override {
    MaterialTest::SetUp();
    ASSERT_EQ(Q3Initialize(), kQ3Success);
    gQuickDraw3DCheck = []() -> Boolean { return true; };
  }
  void TearDown() override {
    for (TQ3XObjectClass cls : classes) Q3XObjectHierarchy_UnregisterClass(cls);
    gQuickDraw3DCheck = nullptr;
    Q3Exit();
    MaterialTest::TearDown();
  }
  void RegisterElements() {
    for (const char* name :
         {"Orrindel:Element:MaterialName", "Orrindel:Element:TextureName", "Orrindel:Element:MaterialShader"}) {
      TQ3ElementType type = 0;
      classes.push_back(Q3XElementClass_Register(&type, name, sizeof(TQ3Object), ObjectElementMethods));
    }
    TQ3ElementType type = 0;
    classes.push_back(Q3XElementClass_Register(&type, "Orrindel:Element:MaterialType", sizeof(TQ3Uns32), nullptr));
  }
  static TQ3ElementType Type(const char* name) {
    TQ3ObjectType type = 0;
    Q3ObjectHierarchy_GetTypeFromString(name, &type);
    return type;
  }
  static std::string Text(TQ3StringObject object) {
    char* text = nullptr;
    if (!object || Q3CString_GetString(object, &text) != kQ3Success) return "(none)";
    std::string result = text;
    Q3CString_EmptyData(&text);
    return result;
  }

  std::vector<TQ3XObjectClass> classes;
};

}  // namespace

TEST_F(MaterialSceneTest, TheAttributeSetHoldsKindNamePictureAndTheShaderOfNoLight) {
  RegisterElements();
  struct Case {
    UInt32 kind;
    const char* line;
    bool picture;
  } cases[] = {{D3TMaterial::kProperties, "Brick\tProperties\t1.05\t1\t1\t0\t0\t\n", false},
               {D3TMaterial::kTiledTexture, "Brick\tTiled_Texture\tbrick.pict\t1.05\t1\t2\t2\tfeet\n", true},
               {D3TMaterial::kSpotLight,
                "Brick\tSpot_Light\t1\t1\t1\t1\tkQ3AttenuationTypeNone\tkQ3FallOffTypeNone\t0.4\t0.6\n", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    modeltest::FilePtr file = FileWithText(c.line);
    D3TMaterial material(nullptr);
    SInt32 line = 1;
    ASSERT_EQ(material.Read(file.get(), &line), 0);
    TQ3AttributeSet set = material.GetAttributeSet();
    ASSERT_NE(set, nullptr);
    TQ3Uns32 kind = 99;
    ASSERT_EQ(Q3Set_Get(set, Type("Orrindel:Element:MaterialType"), &kind), kQ3Success);
    EXPECT_EQ(kind, c.kind);
    TQ3StringObject name = nullptr;
    ASSERT_EQ(Q3Set_Get(set, Type("Orrindel:Element:MaterialName"), &name), kQ3Success);
    EXPECT_EQ(Text(name), "Brick");
    Q3Object_Dispose(name);
    EXPECT_EQ(bool(Q3Set_Contains(set, Type("Orrindel:Element:TextureName"))), c.picture);
    // A light has its null illumination shader, which the set leaves out.
    EXPECT_FALSE(Q3Set_Contains(set, Type("Orrindel:Element:MaterialShader")));
    EXPECT_EQ(material.GetAttributeSet(), set) << "made once";
    Q3Object_Dispose(set);
    Q3Object_Dispose(set);
  }
}

TEST_F(MaterialSceneTest, WithoutTheElementClassesTheSetIsRefused) {
  D3TMaterial material(nullptr, D3TMaterial::kProperties, Str255("Brick"));
  try {
    material.GetAttributeSet();
    FAIL() << "a set was made without its element classes";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorQD3DInitializationFailed);
  }
  gQuickDraw3DCheck = nullptr;
  D3TMaterial plain(nullptr, D3TMaterial::kProperties, Str255("Plain"));
  EXPECT_FALSE(plain.HasQuickDraw3D());
  EXPECT_EQ(plain.GetAttributeSet(), nullptr);
  EXPECT_EQ(plain.GetNameObject(), nullptr);
}

TEST_F(MaterialSceneTest, CopiesShareTheSceneObjectsByReference) {
  auto source = std::make_unique<D3TMaterial>(nullptr, D3TMaterial::kSpotLight, Str255("Lamp"));
  TQ3StringObject name = source->GetNameObject();
  ASSERT_NE(name, nullptr);
  const TQ3Uns32 before = Q3Shared_GetReferenceCount(name);
  D3TMaterial copy(*source);
  EXPECT_EQ(Q3Shared_GetReferenceCount(name), before + 1);
  D3TMaterial assigned(nullptr);
  assigned = copy;
  EXPECT_EQ(Q3Shared_GetReferenceCount(name), before + 2);
  source.reset();
  EXPECT_EQ(Q3Shared_GetReferenceCount(name), before + 1);
  TQ3StringObject copied = copy.GetNameObject();
  EXPECT_EQ(copied, name);
  EXPECT_EQ(Text(copied), "Lamp");
  Q3Object_Dispose(copied);
  Q3Object_Dispose(name);
}
