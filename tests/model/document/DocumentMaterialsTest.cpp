// A document's materials: the preferences it starts with, the "Textures" folder check when its
// window becomes active, and a configuration folder it cannot write.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "CWindow.h"
#include "DocumentTestSupport.h"
#include "FileTypes.h"
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
