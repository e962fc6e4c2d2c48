// The material preference file "VL Material Prefs" and the default set that stands in for it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "Alerts.h"
#include "AppResources.h"
#include "D3TMaterialList.h"
#include "DETException.h"
#include "DateTime.h"
#include "Resources.h"
#include "SafeReplace.h"
#include "AlertAnswers.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

class MaterialPrefFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::InstallApplicationResources();
    vlalert::ClearLog();
    // 4 March 2000, 5:06.
    DateTimeRec date;
    date.year = 2000;
    date.month = 3;
    date.day = 4;
    date.hour = 5;
    date.minute = 6;
    UInt32 seconds = 0;
    PortDateToSeconds(&date, &seconds);
    vlfiles::SetFixedDateTime(seconds);
  }
  void TearDown() override {
    vlfiles::SetFixedDateTime(std::nullopt);
    vlalert::ClearLog();
  }

  fs::path Textures() const { return config.Root() / "velmora" / "Textures"; }
  fs::path PrefFile() const { return Textures() / "VL Material Prefs"; }
  void WritePrefFile(const std::string& text) {
    fs::create_directories(Textures());
    std::ofstream(PrefFile(), std::ios::binary) << text;
  }
  std::string PrefFileText() const {
    std::ifstream in(PrefFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::vector<std::string> Names(const D3TMaterialList& list) {
    std::vector<std::string> names;
    for (long i = 1; i <= list.GetCount(); ++i) names.push_back(PStrToStd(list.GetMaterialAt(i)->GetName()));
    return names;
  }
  static std::vector<int> AlertIds() { return vltest::AlertAnswers::Ids("alert"); }

  vltest::TempFolder config;
  const std::string configHome = config.UseAsConfigHome();
};

const char kFreshHeader[] = "# Velmora Material Preference File\n# Version 0.1 (0.1)\n# Created at 100/3/4, 5:6\n";
const std::vector<std::string> kDefaultNames = {"White", "Concrete", "Brick", "Wood", "Glass", "Roof Tiles", "Grass"};

}  // namespace

TEST_F(MaterialPrefFileTest, AMissingFileBringsTheDefaultSetAndIsWritten) {
  D3TMaterialList list;
  list.ReadPrefs();
  EXPECT_TRUE(AlertIds().empty());
  EXPECT_EQ(Names(list), kDefaultNames);
  const std::string text = PrefFileText();
  EXPECT_EQ(text.rfind(std::string(kFreshHeader) + "# Velmora default materials\n" +
                           "White\tProperties\t1.050000\t1.000000\t1.000000\t1.000000\t1.000000\t\n",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find("\n\"Roof Tiles\"\tProperties\t"), std::string::npos) << "a name with a blank is quoted";
  EXPECT_FALSE(list.TexturesFolderChanged()) << "writing noted the folder";

  // The next document reads the file and gets the same set.
  D3TMaterialList next;
  next.ReadPrefs();
  EXPECT_EQ(Names(next), kDefaultNames);
  EXPECT_EQ(PrefFileText(), text) << "a file that is there is not written";
}

TEST_F(MaterialPrefFileTest, CommentLinesAreKeptAndFollowTheFreshHeader) {
  WritePrefFile("# mine\n// also mine\n");
  D3TMaterialList list;
  list.ReadPrefs();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_TRUE(AlertIds().empty());
  EXPECT_EQ(list.GetHeaderText(), "# mine\n// also mine\n");
  list.WritePrefFile();
  EXPECT_EQ(PrefFileText(), std::string(kFreshHeader) + "# mine\n// also mine\n");
  list.WritePrefFile();
  EXPECT_EQ(PrefFileText(), std::string(kFreshHeader) + "# mine\n// also mine\n") << "written twice, read once";

  // Read again, the written header lines are comments too: they follow the new ones.
  D3TMaterialList again;
  again.ReadPrefs();
  again.WritePrefFile();
  EXPECT_EQ(PrefFileText(), std::string(kFreshHeader) + kFreshHeader + "# mine\n// also mine\n");
}

TEST_F(MaterialPrefFileTest, QuotedNamesReadBackWholeAndLinesReplaceByName) {
  WritePrefFile(
      "# header\n\"Roof Tiles\"\tProperties\t1.05\t1\t0.5\t0.2\t0.1\t\nbrick\tProperties\t1.1\t1\t1\t0\t0\t\n"
      "Brick\tPoint_Light\t2\t1\t1\t1\tkQ3AttenuationTypeNone\t\n");
  D3TMaterialList list;
  list.ReadPrefs();
  // A later line of the same name (as the platform compares names) replaces the material, under
  // its id.
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Roof Tiles", "Brick"}));
  EXPECT_TRUE(list.IsPointLight(2));
  list.WritePrefFile();
  EXPECT_NE(PrefFileText().find("\n\"Roof Tiles\"\tProperties\t1.050000\t"), std::string::npos);
}

TEST_F(MaterialPrefFileTest, ANameStartingWithASlashAfterTheHeaderReadsWhole) {
  // Told apart from a comment line, the name's first characters went back in the wrong order.
  WritePrefFile("# header\n/Brick\tProperties\t1.05\t1\t0.5\t0.2\t0.1\t\n");
  D3TMaterialList list;
  list.ReadPrefs();
  EXPECT_TRUE(AlertIds().empty());
  EXPECT_EQ(Names(list), (std::vector<std::string>{"/Brick"}));
}

TEST_F(MaterialPrefFileTest, ADamagedFileKeepsTheMaterialsBeforeTheLineItNames) {
  const std::string good = "# header\nWood\tProperties\t1.05\t1\t0.6\t0.4\t0.2\t\n";
  struct Case {
    const char* what;
    std::string tail;
    const char* reason;
  } cases[] = {
      {"a texture with five fields", "Oak\tTiled_Texture\toak.pict\t1.05\t1\t2\t2\n", "D3TMaterial::Read.2"},
      {"a kind name no kind has", "Wall\tMarble\t1.05\t1\t1\t1\t1\t\n", "D3TMaterial::Read.4"},
      {"binary data", std::string("\x7f\x45\x4c\x46\x02\x01\x01\x00\x00\x00\x03\x00\x3e\x00\xff\xfe\n", 17),
       "D3TMaterial::Read.4"},
      {"an over-long line", std::string(10000, 'x') + "\tProperties\t1\t1\t1\t1\t1\n", "D3TMaterial::Read.1"},
      {"a light cut short by the end", "Lamp\tSpot_Light\t1\t1\t1", "D3TMaterial::Read.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    vlalert::ClearLog();
    WritePrefFile(good + c.tail + "Glass\tProperties\t2.5\t0.3\t0.7\t0.8\t0.9\t\n");
    D3TMaterialList list;
    list.ReadPrefs();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Wood"}));
    ASSERT_EQ(AlertIds(), (std::vector<int>{4012}));
    EXPECT_EQ(vlui::AlertText(0), "3");
    EXPECT_EQ(PStrToStd(gErrorMessage), c.reason);
  }
}

TEST_F(MaterialPrefFileTest, AnInterruptedWriteLeavesThePreviousFile) {
  D3TMaterialList list;
  list.ReadPrefs();
  const std::string before = PrefFileText();
  list.AddMaterial(list.NewMaterialId(), new D3TMaterial(&list, D3TMaterial::kPointLight, Str255("Bulb")));
  vlfiles::FailNextReplaceAfter(100);
  try {
    list.WritePrefFile();
    FAIL() << "the write went through";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorErrorWritingMaterialPrefFile);
  }
  EXPECT_EQ(PrefFileText(), before);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(Textures())) left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, (std::vector<std::string>{"VL Material Prefs"})) << "no temporary file is left";
}

TEST_F(MaterialPrefFileTest, AFolderThatCannotBeWrittenIsReportedAndTheDefaultsServe) {
  // "Textures" cannot be made: a file has its name.
  fs::create_directories(config.Root() / "velmora");
  std::ofstream(Textures()) << "x";
  D3TMaterialList list;
  list.ReadPrefs();
  EXPECT_EQ(Names(list), kDefaultNames);
  ASSERT_EQ(AlertIds(), (std::vector<int>{4003}));
  EXPECT_EQ(vlui::AlertText(0), "Velmora was unable to find the \"Textures\" folder.");

  // The file cannot be written: reported, not fatal, and nothing is left.
  fs::remove(Textures());
  vlalert::ClearLog();
  vlfiles::FailNextReplaceAfter(0, EROFS);
  D3TMaterialList unwritten;
  unwritten.ReadPrefs();
  EXPECT_EQ(Names(unwritten), kDefaultNames);
  ASSERT_EQ(AlertIds(), (std::vector<int>{4003}));
  EXPECT_EQ(vlui::AlertText(0), "Velmora could not write the \"VL Material Prefs\" file");
  EXPECT_FALSE(fs::exists(PrefFile()));
}

TEST_F(MaterialPrefFileTest, ADamagedDefaultSetShowsAlert4014AtItsLine) {
  static const char kSet[] = "# defaults\nGood\tProperties\t1.05\t1\t1\t1\t1\t\nBad\tMarble\t1\t1\t1\t1\t1\t\nEOF\n";
  static const vlres::CompiledResource table[] = {
      {FourCC("TEXT"), 255, nullptr, reinterpret_cast<const unsigned char*>(kSet), UInt32(sizeof kSet - 1)}};
  vlres::InstallResourceTable(table, 1);
  D3TMaterialList list;
  list.LoadDefaultMaterials();
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Good"}));
  ASSERT_EQ(AlertIds(), (std::vector<int>{4014}));
  EXPECT_EQ(vlui::AlertText(0), "3");
  EXPECT_EQ(PStrToStd(gErrorMessage), "D3TMaterial::ReadMaterialType");
  EXPECT_EQ(list.GetHeaderText(), "# defaults\n");

  // Without the resource there is no default set, and nothing is wrong.
  vlres::InstallResourceTable(table, 0);
  vlalert::ClearLog();
  D3TMaterialList none;
  none.LoadDefaultMaterials();
  EXPECT_EQ(none.GetCount(), 0);
  EXPECT_TRUE(AlertIds().empty());
}

// Files damaged at random (bytes changed, long runs put in, pieces cut out, the end cut off) are
// read as far as they go, with at most the one alert, and never read out of bounds.
TEST_F(MaterialPrefFileTest, DamagedFilesAreReadAsFarAsTheyGo) {
  D3TMaterialList first;
  first.ReadPrefs();
  const std::string good = PrefFileText();
  std::mt19937 random(17);
  for (int round = 0; round < 300; ++round) {
    std::string text = good;
    for (unsigned edits = 1 + random() % 8; edits > 0; --edits) {
      const std::size_t at = random() % (text.size() + 1);
      switch (random() % 4) {
        case 0:
          if (at < text.size()) text[at] = char(random());
          break;
        case 1:
          text.insert(at, std::string(random() % 600, char(random())));
          break;
        case 2:
          text.erase(at, random() % 40);
          break;
        default:
          text.resize(at);
          break;
      }
    }
    WritePrefFile(text);
    vlalert::ClearLog();
    D3TMaterialList list;
    list.ReadPrefs();
    ASSERT_LE(AlertIds().size(), 1u) << round;
    for (long i = 1; i <= list.GetCount(); ++i) ASSERT_GT(list.GetMaterialAt(i)->GetName()[0], 0) << round;
  }
}
