// The material list: ids, names, shared sets, the purge, the document's material block and the
// "Textures" folder.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "AppResources.h"
#include "CCollaborator.h"
#include "D3TMaterialList.h"
#include "DETException.h"
#include "FileTypes.h"
#include "ModelTestSupport.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

using modeltest::WrittenText;

class MaterialListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::InstallApplicationResources();
    savedEntryUnit = gLengthEntryUnit;
    gLengthEntryUnit = gFeet;
  }
  void TearDown() override { gLengthEntryUnit = savedEntryUnit; }

  static D3TMaterial* Surface(D3TMaterialList& list, const char* name) {
    return new D3TMaterial(&list, D3TMaterial::kProperties, Str255(name));
  }
  static std::vector<SInt32> Ids(const D3TMaterialList& list) {
    std::vector<SInt32> ids;
    for (long i = 1; i <= list.GetCount(); ++i) ids.push_back(list.GetMaterialId(i));
    return ids;
  }
  // Keeps the materials of the ids given and purges the others.
  static void KeepOnly(D3TMaterialList& list, std::initializer_list<SInt32> ids) {
    list.ClearUsedFlags();
    for (SInt32 id : ids) list.MarkMaterial(id);
    list.RemoveUnusedMaterials();
  }
  // The material block read back as the document's reader reads it.
  static void ReadBlock(D3TMaterialList& list, const std::string& text) {
    std::istringstream in(text);
    for (std::string word; in >> word;) {
      if (word == "numMaterials:") {
        long count = 0;
        in >> count;
      } else if (word == "Material:") {
        list.ReadMaterialRecord(in, '\n');
      }
      if (in.fail()) return;
    }
  }

  UnitBase savedEntryUnit;
};

// Counts the purge notices it hears (the array's own notices aside).
struct Listener : CCollaborator {
  int purges = 0;
  void ProviderChanged(CCollaborator*, long reason, void*) override {
    if (reason == D3TMaterialList::kMaterialsRemoved) ++purges;
  }
};

}  // namespace

TEST_F(MaterialListTest, NewIdsAreOneMoreThanTheLargestAndNeverFillGaps) {
  D3TMaterialList list;
  EXPECT_EQ(list.NewMaterialId(), 1);
  for (SInt32 id = 1; id <= 5; ++id)
    list.AddMaterial(id, Surface(list, std::string("M").append(std::to_string(id)).c_str()));
  KeepOnly(list, {1, 2, 4, 5});
  EXPECT_EQ(Ids(list), (std::vector<SInt32>{1, 2, 4, 5}));
  EXPECT_EQ(list.NewMaterialId(), 6);
  KeepOnly(list, {1, 2, 4});
  EXPECT_EQ(list.NewMaterialId(), 5);
  EXPECT_EQ(list.HasMaterial(4), 3);
  EXPECT_EQ(list.HasMaterial(0), 0);
  EXPECT_EQ(list.HasMaterial(5), 0);
  D3TMaterial* material = nullptr;
  EXPECT_FALSE(list.GetMaterial(3, &material));
  EXPECT_EQ(material, nullptr) << "an unknown id leaves the out value alone";
  // A material taken by the list belongs to its set.
  ASSERT_TRUE(list.GetMaterial(4, &material));
  EXPECT_EQ(material->GetOwner(), list.GetMaterials());
}

TEST_F(MaterialListTest, AddOrReplaceGoesByName) {
  D3TMaterialList list;
  list.AddOrReplace(Surface(list, "Brick"), true);
  list.AddOrReplace(Surface(list, "Wood"), true);
  EXPECT_EQ(Ids(list), (std::vector<SInt32>{1, 2}));

  auto lamp = [&](const char* name) { return new D3TMaterial(&list, D3TMaterial::kPointLight, Str255(name)); };
  list.AddOrReplace(lamp("BRICK"), false);  // the platform's comparison ignores case
  D3TMaterial* brick = nullptr;
  SInt32 id = 0;
  ASSERT_TRUE(list.FindByName(Str255("brick"), &brick, &id));
  EXPECT_EQ(id, 1);
  EXPECT_EQ(brick->GetKind(), D3TMaterial::kProperties) << "replace off keeps the old material";

  list.AddOrReplace(lamp("Brick"), true);
  ASSERT_TRUE(list.GetMaterial(1, &brick));
  EXPECT_EQ(brick->GetKind(), D3TMaterial::kPointLight) << "replace on takes the new contents";
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_TRUE(list.IsLight(1));
  EXPECT_TRUE(list.IsPointLight(1));
  EXPECT_FALSE(list.IsSpotLight(1));
  EXPECT_FALSE(list.IsLight(7));
}

TEST_F(MaterialListTest, ACopiedListSharesTheSetUntilTheLastListGoes) {
  auto source = std::make_unique<D3TMaterialList>();
  source->AddMaterial(1, Surface(*source, "Brick"));
  source->SetCurrentMaterial(1);
  auto copy = std::make_unique<D3TMaterialList>(*source);
  EXPECT_EQ(copy->GetCurrentMaterial(), 1);
  EXPECT_EQ(copy->GetMaterials(), source->GetMaterials());
  EXPECT_EQ(source->GetMaterials()->ReferenceCount(), 2);
  copy->AddMaterial(copy->NewMaterialId(), Surface(*copy, "Glass"));
  EXPECT_TRUE(source->FindByName(Str255("Glass"), nullptr, nullptr));
  copy.reset();
  EXPECT_EQ(source->GetCount(), 2);
  D3TMaterial* glass = nullptr;
  ASSERT_TRUE(source->GetMaterial(2, &glass));
  EXPECT_EQ(PStrToStd(glass->GetName()), "Glass");
}

TEST_F(MaterialListTest, ThePurgeRemovesOnlyUnusedMaterialsAndTellsTheSet) {
  D3TMaterialList list;
  for (const char* name : {"A", "B", "C", "D"}) list.AddMaterial(list.NewMaterialId(), Surface(list, name));
  Listener listener;
  listener.AttachToProvider(list.GetMaterials());
  list.SetCurrentMaterial(3);

  list.ClearUsedFlags();
  for (SInt32 id : {1, 2, 3, 4}) list.MarkMaterial(id);
  list.MarkMaterial(0);
  list.MarkMaterial(99);
  EXPECT_EQ(list.CountUnusedMaterials(), 0);
  list.RemoveUnusedMaterials();
  EXPECT_EQ(list.GetCount(), 4);

  list.ClearUsedFlags();
  list.MarkMaterial(4);
  list.MarkMaterial(1);
  EXPECT_EQ(list.CountUnusedMaterials(), 2);
  list.RemoveUnusedMaterials();
  EXPECT_EQ(Ids(list), (std::vector<SInt32>{1, 4}));
  EXPECT_EQ(list.GetCurrentMaterial(), 0) << "the current material was removed";
  EXPECT_EQ(listener.purges, 2);

  D3TMaterial* material = nullptr;
  SInt32 id = 0;
  std::vector<std::string> walked;
  for (bool more = list.GetFirstMaterial(&material, &id); more; more = list.GetNextMaterial(&material, &id))
    walked.push_back(PStrToStd(material->GetName()) + std::to_string(id));
  EXPECT_EQ(walked, (std::vector<std::string>{"A1", "D4"}));
  EXPECT_EQ(id, 0);
}

TEST_F(MaterialListTest, TheMaterialBlockReadsBackAsItWasWritten) {
  D3TMaterialList empty;
  EXPECT_EQ(WrittenText([&](std::FILE* f) { empty.WriteMaterials(f); }), "\nnumMaterials: 1\n\nMaterial: none\n0\n");

  D3TMaterialList list;
  list.AddMaterial(2, Surface(list, "Brick"));
  list.AddMaterial(7, new D3TMaterial(&list, D3TMaterial::kSpotLight, Str255("Porch Lamp")));
  list.AddMaterial(3, new D3TMaterial(&list, D3TMaterial::kCenteredTexture, Str255("logo.pict")));
  const std::string block = WrittenText([&](std::FILE* f) { list.WriteMaterials(f); });
  EXPECT_EQ(block.rfind("\nnumMaterials: 4\n\nMaterial: none\n0\n\nMaterial: Brick\n2\n", 0), 0u) << block;

  D3TMaterialList read;
  ReadBlock(read, block);
  EXPECT_EQ(Ids(read), (std::vector<SInt32>{2, 7, 3})) << "the none entry is no material";
  EXPECT_TRUE(read.IsSpotLight(7));
  EXPECT_EQ(WrittenText([&](std::FILE* f) { read.WriteMaterials(f); }), block);

  // A kind name the block does not know fails the stream there; the open then fails.
  D3TMaterialList damaged;
  std::istringstream in(" Odd\n4\nMaterialType: Marble\n");
  EXPECT_FALSE(damaged.ReadMaterialRecord(in, '\n'));
  EXPECT_TRUE(in.fail());
  EXPECT_EQ(damaged.GetCount(), 0);
}

TEST_F(MaterialListTest, PicturesInTheTexturesFolderBecomeTiledTextures) {
  vltest::TempFolder config;
  config.UseAsConfigHome();
  const FileTypeRecord types[] = {{FourCC("PICT"), "pict", "Picture"}, {FourCC("TEXT"), "txt", "Text"}, {0, "", ""}};
  PortSetFileTypes(types, nullptr);
  D3TMaterialList list;
  list.OpenPrefFile();
  const fs::path textures = config.Root() / "velmora" / "Textures";
  ASSERT_TRUE(fs::is_directory(textures));
  for (const char* name : {"brick.pict", "notes.txt", "VL Material Prefs", "line\nbreak.pict"})
    std::ofstream(textures / name) << "x";
  list.ScanTexturesFolder();
  ASSERT_EQ(list.GetCount(), 1);
  D3TMaterial* brick = list.GetMaterialAt(1);
  EXPECT_EQ(brick->GetKind(), D3TMaterial::kTiledTexture);
  EXPECT_EQ(PStrToStd(brick->GetName()), "brick.pict");
  EXPECT_EQ(PStrToStd(brick->GetPictureFile()), "brick.pict");

  list.ScanTexturesFolder();
  EXPECT_EQ(list.GetCount(), 1) << "a picture with a material gets no second one";
  fs::rename(textures / "brick.pict", textures / "stone.pict");
  list.ScanTexturesFolder();
  EXPECT_EQ(list.GetCount(), 2) << "the renamed picture is a new one; the old material stays";

  // The folder's date tells a change.
  list.NoteTexturesFolderDate();
  EXPECT_FALSE(list.TexturesFolderChanged());
  fs::last_write_time(textures, fs::last_write_time(textures) + std::chrono::seconds(5));
  EXPECT_TRUE(list.TexturesFolderChanged());
  const FileTypeRecord none[] = {{0, "", ""}};
  PortSetFileTypes(none, nullptr);
}

// Material blocks damaged at random stop the reading where they stop fitting (or raise the
// resource error for a name outside its table); whatever was read is whole.
TEST_F(MaterialListTest, DamagedMaterialBlocksStopWhereTheyStopFitting) {
  D3TMaterialList list;
  list.AddMaterial(2, Surface(list, "Brick"));
  list.AddMaterial(7, new D3TMaterial(&list, D3TMaterial::kSpotLight, Str255("Porch Lamp")));
  list.AddMaterial(3, new D3TMaterial(&list, D3TMaterial::kCenteredTexture, Str255("logo.pict")));
  const std::string good = WrittenText([&](std::FILE* f) { list.WriteMaterials(f); });
  std::mt19937 random(5);
  for (int round = 0; round < 500; ++round) {
    std::string text = good;
    for (unsigned edits = 1 + random() % 6; edits > 0; --edits) {
      const std::size_t at = random() % (text.size() + 1);
      if (random() % 2)
        text.insert(at, std::string(random() % 300, char(random())));
      else
        text.erase(at, random() % 30);
    }
    D3TMaterialList read;
    try {
      ReadBlock(read, text);
    } catch (const DETException& e) {
      ASSERT_EQ(e.GetCode(), kDEErrorErrorReadingMaterialResource) << round;
    }
    for (long i = 1; i <= read.GetCount(); ++i) {
      ASSERT_GT(read.GetMaterialId(i), 0) << round;
      ASSERT_GT(read.GetMaterialAt(i)->GetName()[0], 0) << round;
    }
  }
}
