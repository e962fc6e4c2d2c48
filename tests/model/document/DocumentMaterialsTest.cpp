// A document's materials: the preferences it starts with, the "Textures" folder check when its
// window becomes active, a configuration folder it cannot write, and the material commands.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CGroup.h"
#include "CWindow.h"
#include "DocumentTestSupport.h"
#include "FileTypes.h"
#include "ModelTestSupport.h"
#include "SafeReplace.h"

namespace fs = std::filesystem;

namespace {

class DocumentMaterialsTest : public DocumentFixture {
 protected:
  fs::path Textures() const { return config.Root() / "velmora" / "Textures"; }
  // A picture appears in the "Textures" folder, which changes the folder's date (by whole
  // seconds, each time later).
  void AddPicture(const char* name) {
    std::ofstream(Textures() / name) << "x";
    later += std::chrono::seconds(10);
    fs::last_write_time(Textures(), fs::last_write_time(Textures()) + later);
  }
  static bool HasMaterial(VLDocument* document, const char* name) {
    return document->GetMaterialList()->FindByName(Str255(name), nullptr, nullptr);
  }

  std::chrono::seconds later{0};
};

const FileTypeRecord kPictureTypes[] = {{FourCC("PICT"), "pict", "Picture"}, {0, "", ""}};

}  // namespace

TEST_F(DocumentMaterialsTest, ANewDocumentStartsWithThePreferencesAndPublishesItsList) {
  VLDocument* first = NewDocument();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(fs::exists(Textures() / "VL Material Prefs")) << "the default set was written";
  EXPECT_TRUE(HasMaterial(first, "Brick"));
  EXPECT_EQ(gCurrentMaterials, first->GetMaterialList());
  VLDocument* second = NewDocument();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->GetMaterialList()->GetMaterials(), first->GetMaterialList()->GetMaterials());
  EXPECT_EQ(second->GetMaterialList()->GetCount(), first->GetMaterialList()->GetCount());
  Pump();
  EXPECT_TRUE(AlertIds().empty());
  ASSERT_TRUE(second->Close(false));
  ASSERT_TRUE(first->Close(false));
}

TEST_F(DocumentMaterialsTest, AChangedTexturesFolderIsAskedAboutWhenAWindowBecomesActive) {
  PortSetFileTypes(kPictureTypes, nullptr);
  VLDocument* first = NewDocument();
  VLDocument* second = NewDocument();
  ASSERT_TRUE(first && second);
  Pump();
  vlalert::ClearLog();

  AddPicture("slate.pict");
  answers = {1};  // Add
  first->GetWindow()->Select();
  Pump();
  EXPECT_EQ(AlertIds(), (std::vector<int>{129}));
  EXPECT_TRUE(HasMaterial(first, "slate.pict"));

  AddPicture("marble.pict");
  answers = {2};  // Don't Add
  second->GetWindow()->Select();
  Pump();
  EXPECT_EQ(AlertIds(), (std::vector<int>{129, 129}));
  EXPECT_FALSE(HasMaterial(second, "marble.pict"));
  EXPECT_FALSE(first->IsChanged()) << "the check never changes the document";

  // Both answers noted the folder: it is not asked about again.
  first->GetWindow()->Select();
  Pump();
  second->GetWindow()->Select();
  Pump();
  EXPECT_EQ(AlertIds(), (std::vector<int>{129, 129, 129})) << "only the first document had not seen the marble";
  ASSERT_TRUE(second->Close(false));
  ASSERT_TRUE(first->Close(false));
  const FileTypeRecord none[] = {{0, "", ""}};
  PortSetFileTypes(none, nullptr);
}

TEST_F(DocumentMaterialsTest, AnUnwritableConfigurationFolderIsReportedAndTheProgramGoesOn) {
  vlfiles::FailNextReplaceAfter(0, EROFS);
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(AlertIds(), (std::vector<int>{4003}));
  EXPECT_EQ(vlui::AlertText(0), "Velmora could not write the \"VL Material Prefs\" file");
  EXPECT_TRUE(app->IsRunning());
  EXPECT_TRUE(HasMaterial(document, "Brick"));
  EXPECT_FALSE(fs::exists(Textures() / "VL Material Prefs"));
  ASSERT_TRUE(document->Close(false));
}

namespace {

// Notes the reasons a document tells its dependents.
struct ReasonRecorder : CCollaborator {
  std::vector<long> reasons;
  void ProviderChanged(CCollaborator*, long reason, void*) override {
    if (reason == D3TMaterialList::kMaterialsRemoved || reason == VLDocument::kMaterialListChanged)
      reasons.push_back(reason);
  }
};

}  // namespace

TEST_F(DocumentMaterialsTest, RemovingUnusedMaterialsAsksWithTheirCountAndKeepsWhatObjectsUse) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  Pump();
  document->SetChanged(false);
  D3TMaterialList* materials = document->GetMaterialList();
  const long count = materials->GetCount();
  ASSERT_GE(count, 3);
  // Two blocks use the first two materials, the second as the member of a group.
  VLUser3DObject* blocks[2];
  for (long i = 1; i <= 2; ++i) {
    blocks[i - 1] = new VLUser3DObject;
    modeltest::MakeBlock(blocks[i - 1]);
    blocks[i - 1]->materialId = materials->GetMaterialId(i);
  }
  AppendMoved(document, blocks[0], 1.0, 1);
  VLArray members(VLArray::kPointerSize);
  members.AppendPointer(blocks[1]);
  auto* group = new CGroup;
  group->MakeFromObjects(&members);
  AppendMoved(document, group, 2.0, 1);
  ReasonRecorder recorder;
  document->AddDependent(&recorder);
  vlalert::ClearLog();

  struct Step {
    int answer;
    std::vector<int> alerts;
    long left;  // materials in the list afterwards
    bool changed;
  };
  const Step steps[] = {
      {2, {135}, count, false},  // Cancel
      {1, {135}, 2, true},       // Remove
      {1, {136}, 2, true},       // every material is used now
  };
  for (const Step& step : steps) {
    answers = {step.answer};
    document->DoCommand(VLDocument::cmdRemoveUnusedMaterials);
    EXPECT_EQ(AlertIds(), step.alerts);
    if (step.alerts[0] == 135) {
      EXPECT_EQ(vlui::AlertText(0), std::to_string(count - 2));
    }
    EXPECT_EQ(materials->GetCount(), step.left);
    EXPECT_EQ(document->IsChanged(), step.changed);
    vlalert::ClearLog();
  }
  EXPECT_EQ(recorder.reasons, (std::vector<long>{D3TMaterialList::kMaterialsRemoved, VLDocument::kMaterialListChanged}));
  document->RemoveDependent(&recorder);
  answers = {2};
  ASSERT_TRUE(document->Close(false));
}

TEST_F(DocumentMaterialsTest, SavingTheDefaultMaterialsWritesTheDocumentsListOnlyWhenConfirmed) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  Pump();
  const fs::path prefs = Textures() / "VL Material Prefs";
  auto text = [&] {
    std::ifstream in(prefs);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  };
  const std::string before = text();
  ASSERT_NE(before.find("Brick"), std::string::npos);
  // Every material unused: the document's list is emptied.
  answers = {1};
  document->DoCommand(VLDocument::cmdRemoveUnusedMaterials);
  ASSERT_EQ(document->GetMaterialList()->GetCount(), 0);
  vlalert::ClearLog();

  answers = {2};
  document->DoCommand(VLDocument::cmdSaveDefaultMaterials);
  EXPECT_EQ(AlertIds(), (std::vector<int>{130}));
  EXPECT_EQ(text(), before) << "Cancel writes nothing";
  answers = {1};
  document->DoCommand(VLDocument::cmdSaveDefaultMaterials);
  EXPECT_EQ(text().find("Brick"), std::string::npos) << "the file holds the document's materials";

  // A new document starts with them.
  VLDocument* next = NewDocument();
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->GetMaterialList()->GetCount(), 0);
  ASSERT_TRUE(next->Close(false));
  answers = {2};
  ASSERT_TRUE(document->Close(false));
}

TEST_F(DocumentMaterialsTest, StopBrowsingClearsTheBrowseState) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  int state = 0;
  document->SetMaterialBrowseState(&state);
  document->DoCommand(VLDocument::cmdStopBrowsingMaterials);
  EXPECT_EQ(document->GetMaterialBrowseState(), nullptr);
  EXPECT_TRUE(AlertIds().empty());
  ASSERT_TRUE(document->Close(false));
}
