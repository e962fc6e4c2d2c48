// An object's colour, its phase's say on whether it is shown and selectable, and its material:
// the id new objects take and the copy that carries a material from one document to another.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppResources.h"
#include "D3TMaterialList.h"
#include "ModelTestSupport.h"
#include "PhaseRecord.h"
#include "StandardFile.h"
#include "VLUser3DObject.h"

namespace {

using modeltest::NewObject;
using modeltest::ObjectPtr;

class ObjectAttributesTest : public ::testing::Test {
 protected:
  void SetUp() override { vlres::InstallApplicationResources(); }
  void TearDown() override {
    gCurrentPhases = nullptr;
    gCurrentMaterials = nullptr;
    vlui::SetStandardDialogAnswerer(nullptr);
  }

  static SInt32 AddSurface(D3TMaterialList& list, const char* name) {
    const SInt32 id = list.NewMaterialId();
    list.AddMaterial(id, new D3TMaterial(&list, D3TMaterial::kProperties, Str255(name)));
    return id;
  }
  static long CountNamed(const D3TMaterialList& list, const char* name) {
    long count = 0;
    for (long i = 1; i <= list.GetCount(); ++i) count += list.GetMaterialAt(i)->HasName(Str255(name)) ? 1 : 0;
    return count;
  }
};

}  // namespace

TEST_F(ObjectAttributesTest, TheDrawColourIsHalfTheColour) {
  ObjectPtr object = NewObject();
  gDefaultObjectColor = RGBColor{1, 2, 3};
  const RGBColor colour{65535, 32768, 1};
  object->SetColor(&colour);
  EXPECT_EQ(object->drawColor, (RGBColor{32767, 16384, 0}));
  EXPECT_TRUE(object->changed);
  EXPECT_EQ(gDefaultObjectColor, (RGBColor{1, 2, 3})) << "only the colour picker sets the default";

  std::vector<std::string> prompts;
  bool choose = false;
  vlui::SetStandardDialogAnswerer([&](const vlui::StandardDialogRequest& request, vlui::StandardDialogAnswer* answer) {
    prompts.push_back(request.prompt);
    EXPECT_EQ(request.color, (RGBColor{65535, 32768, 1})) << "the picker starts at the object's colour";
    answer->chosen = choose;
    answer->color = RGBColor{0, 65535, 256};
    return true;
  });
  object->changed = 0;
  EXPECT_FALSE(object->ChooseColor());
  EXPECT_EQ(object->color, colour);
  EXPECT_FALSE(object->changed);
  choose = true;
  EXPECT_TRUE(object->ChooseColor());
  EXPECT_EQ(object->color, (RGBColor{0, 65535, 256}));
  EXPECT_EQ(object->drawColor, (RGBColor{0, 32767, 128}));
  EXPECT_EQ(gDefaultObjectColor, (RGBColor{0, 65535, 256}));
  EXPECT_TRUE(object->changed);
  EXPECT_EQ(prompts, (std::vector<std::string>{"Choose a color for the objects:", "Choose a color for the objects:"}));
}

TEST_F(ObjectAttributesTest, ThePhaseDecidesWhetherAnObjectIsShownAndSelectable) {
  VLIndexedCluster phases(long(sizeof(PhaseRecord)));
  const PhaseRecord open{1, 1, {}}, locked{1, 0, {}}, off{0, 1, {}};
  phases.Append(&open, 1);
  phases.Append(&locked, 2);
  phases.Append(&off, 3);
  struct Case {
    const char* what;
    bool withPhases;
    SInt16 phase;
    UInt8 hidden;
    SInt16 type;
    bool visible, selectable;
  } cases[] = {
      {"a shown phase", true, 1, 0, kObjectTypeBlock, true, true},
      {"first flag only", true, 2, 0, kObjectTypeBlock, true, false},
      {"a phase not shown", true, 3, 0, kObjectTypeBlock, false, false},
      {"a phase with no record", true, 9, 0, kObjectTypeBlock, false, false},
      {"no phase list", false, 1, 0, kObjectTypeBlock, false, false},
      {"hidden (selection tests hidden itself)", true, 1, 1, kObjectTypeBlock, false, true},
      {"an opening, whatever its phase", true, 9, 1, kObjectTypeOpening, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gCurrentPhases = c.withPhases ? &phases : nullptr;
    ObjectPtr object = NewObject();
    object->SetPhase(c.phase);
    object->hidden = c.hidden;
    object->typeCode = c.type;
    EXPECT_EQ(bool(object->IsVisible()), c.visible);
    EXPECT_EQ(bool(object->IsSelectable()), c.selectable);
    object->changed = object->needsRedraw = 0;
    EXPECT_EQ(bool(object->MarkChanged()), c.visible);
    EXPECT_EQ(bool(object->changed), c.visible);
    EXPECT_EQ(bool(object->needsRedraw), c.visible);
  }
}

TEST_F(ObjectAttributesTest, NewObjectsTakeTheCurrentMaterial) {
  D3TMaterialList list;
  list.SetCurrentMaterial(AddSurface(list, "Brick"));
  EXPECT_EQ(NewObject()->GetMaterialIndex(), 0) << "no document's list is current";
  gCurrentMaterials = &list;
  EXPECT_EQ(NewObject()->GetMaterialIndex(), 1);
}

TEST_F(ObjectAttributesTest, TheMaterialCopyMapsAPastedObjectByName) {
  D3TMaterialList source;
  AddSurface(source, "Glass");
  const SInt32 brick = AddSurface(source, "Brick");
  ObjectPtr object = NewObject();

  object->CreateMaterialObject(&source);
  EXPECT_EQ(object->materialObject, nullptr) << "no material, no copy";
  object->SetMaterialIndex(42);
  object->CreateMaterialObject(&source);
  EXPECT_EQ(object->GetMaterialIndex(), 0) << "an id the list does not know";
  object->SetMaterialIndex(brick);
  object->CreateMaterialObject(&source);
  ASSERT_NE(object->materialObject, nullptr);
  EXPECT_EQ(object->materialObject->GetOwner(), nullptr) << "the copy belongs to no list";

  // A document with a material of that name: the id maps to it and nothing is added.
  D3TMaterialList named;
  AddSurface(named, "Wood");
  AddSurface(named, "Concrete");
  const SInt32 namedBrick = AddSurface(named, "brick");
  ObjectPtr first(object->MakeCopy(nullptr));
  first->UpdateMaterialObject(&named);
  EXPECT_EQ(first->GetMaterialIndex(), namedBrick);
  EXPECT_EQ(named.GetCount(), 3);
  EXPECT_NE(first->materialObject, nullptr) << "the copy stays";

  // A document without one gets exactly one new material, whose id the objects take.
  D3TMaterialList other;
  AddSurface(other, "Wood");
  ObjectPtr second(object->MakeCopy(nullptr));
  ObjectPtr third(object->MakeCopy(nullptr));
  second->UpdateMaterialObject(&other);
  third->UpdateMaterialObject(&other);
  EXPECT_EQ(second->GetMaterialIndex(), 2);
  EXPECT_EQ(third->GetMaterialIndex(), 2);
  EXPECT_EQ(other.GetCount(), 2);
  EXPECT_EQ(second->materialObject, nullptr) << "the list holds the material now";
  D3TMaterial* added = nullptr;
  ASSERT_TRUE(other.GetMaterial(2, &added));
  EXPECT_EQ(added->GetOwner(), other.GetMaterials());
}

// Copy, paste (update) and dispose in every order, with the source document going too: every
// object owns its material copy, so no order leaves one with a freed material (the sanitizer
// build checks it) and the target ends with the one material they share.
TEST_F(ObjectAttributesTest, CopiesPastesAndDisposalsInEveryOrderLeaveNothingDangling) {
  enum Step { kPasteCopy, kPasteCopyOfCopy, kDisposeOriginal, kDisposeCopy, kDisposeCopyOfCopy, kCloseSource };
  std::array<int, 6> steps = {0, 1, 2, 3, 4, 5};
  int orders = 0;
  do {
    auto source = std::make_unique<D3TMaterialList>();
    const SInt32 brick = AddSurface(*source, "Brick");
    D3TMaterialList target;
    AddSurface(target, "Wood");
    ObjectPtr original = NewObject();
    original->SetMaterialIndex(brick);
    original->CreateMaterialObject(source.get());
    ObjectPtr copy(original->MakeCopy(nullptr));
    ObjectPtr copyOfCopy(copy->MakeCopy(nullptr));
    std::vector<SInt32> pastedIds;
    for (int step : steps) {
      switch (step) {
        case kPasteCopy:
        case kPasteCopyOfCopy: {
          ObjectPtr& pasted = step == kPasteCopy ? copy : copyOfCopy;
          if (!pasted) break;
          pasted->UpdateMaterialObject(&target);
          pastedIds.push_back(pasted->GetMaterialIndex());
          break;
        }
        case kDisposeOriginal:
          original.reset();
          break;
        case kDisposeCopy:
          copy.reset();
          break;
        case kDisposeCopyOfCopy:
          copyOfCopy.reset();
          break;
        case kCloseSource:
          source.reset();
          break;
      }
    }
    for (SInt32 id : pastedIds) EXPECT_EQ(id, 2);
    EXPECT_EQ(CountNamed(target, "Brick"), pastedIds.empty() ? 0 : 1);
    ++orders;
  } while (std::next_permutation(steps.begin(), steps.end()));
  EXPECT_EQ(orders, 720);
}
