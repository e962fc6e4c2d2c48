// Command 8110: the material list dialog chooses the document's current material.
#include <string>

#include "D3TMaterialList.h"
#include "DocumentTestSupport.h"
#include "PString.h"

namespace {

constexpr long kChooseMaterial = 8110;
constexpr SInt16 kOK = 1, kCancel = 2, kList = 3;

class CurrentMaterialTest : public DocumentFixture {
 protected:
  static std::string NameAt(D3TMaterialList* list, long index) {
    return PStrToStd(list->GetMaterialAt(index)->GetName());
  }
};

TEST_F(CurrentMaterialTest, OKMakesTheChosenMaterialCurrentAndCancelChangesNothing) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  D3TMaterialList* list = document->GetMaterialList();
  ASSERT_GE(list->GetCount(), 3);
  // Without the first material, positions in the list no longer equal ids.
  list->ClearUsedFlags();
  for (long i = 2; i <= list->GetCount(); ++i) list->MarkMaterial(list->GetMaterialId(i));
  list->RemoveUnusedMaterials();
  ASSERT_NE(list->GetMaterialId(2), 2);

  input.Click(kList, NameAt(list, 2));
  input.Click(kOK);
  document->DoCommand(kChooseMaterial);
  EXPECT_EQ(list->GetCurrentMaterial(), list->GetMaterialId(2));

  input.Click(kList, NameAt(list, 1));
  input.Click(kCancel);
  document->DoCommand(kChooseMaterial);
  EXPECT_EQ(list->GetCurrentMaterial(), list->GetMaterialId(2));

  input.Click(kList, "none");
  input.Click(kOK);
  document->DoCommand(kChooseMaterial);
  EXPECT_EQ(list->GetCurrentMaterial(), 0);
  EXPECT_TRUE(input.Done());
  ASSERT_TRUE(document->Close(false));
}

}  // namespace
