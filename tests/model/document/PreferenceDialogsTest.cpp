#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "CPreferences.h"
#include "DocumentTestSupport.h"

namespace {

// Texts of the dialogs a test saw, in order.
std::vector<int> DialogIds() {
  std::vector<int> ids;
  for (const auto& r : vlalert::Log())
    if (r.kind == "dialog") ids.push_back(r.id);
  return ids;
}

}  // namespace

class PreferenceDialogs : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    document = NewDocument();
    ASSERT_NE(document, nullptr);
    preferences = document->GetPreferences();
    vlalert::ClearLog();
  }
  VLDocument* document = nullptr;
  CPreferences* preferences = nullptr;
};

TEST_F(PreferenceDialogs, CircleFacetingTakesTheIntegerPart) {
  std::string prompt;
  std::string shown;
  input.Capture(3, &prompt);
  input.Capture(4, &shown);
  input.Replace("12.9");
  input.Return();
  EXPECT_TRUE(preferences->AskCircleFaceting());
  EXPECT_EQ(prompt, "Number of facets in a circle:");
  EXPECT_EQ(shown, "16");
  EXPECT_EQ(preferences->GetCircleFaceting(), 12);
  EXPECT_EQ(DialogIds(), std::vector<int>{1080});

  // Text that is no number, and numbers no circle can have, beep and keep the dialog open.
  // Two facets make no area, and more than 10920 would pass the counts of an extruded arc.
  for (const char* typed : {"many", "0", "0.5", "-3", "40000", "1e300", "2", "10921"}) {
    input.Replace(typed);
    input.Return();
  }
  input.Replace("24");
  input.Return();
  vlui::ResetBeepCount();
  EXPECT_TRUE(preferences->AskCircleFaceting());
  EXPECT_EQ(vlui::BeepCount(), 8);
  EXPECT_EQ(preferences->GetCircleFaceting(), 24);

  // The same value again is no change; Cancel changes nothing.
  input.Return();
  EXPECT_FALSE(preferences->AskCircleFaceting());
  input.Replace("30");
  input.Escape();
  EXPECT_FALSE(preferences->AskCircleFaceting());
  EXPECT_EQ(preferences->GetCircleFaceting(), 24);
}

TEST_F(PreferenceDialogs, SnapDistanceIsALengthInTheDocumentsUnits) {
  std::string shown;
  input.Capture(4, &shown);
  input.Replace("18\"");
  input.Return();
  EXPECT_TRUE(preferences->AskSnapToHandleDistance());
  EXPECT_EQ(shown, "2'0.00\"");
  EXPECT_EQ(preferences->GetSnapToHandleDistance(), 1.5);
  // A bare number is in the entry unit (feet here).
  input.Replace("3");
  input.Return();
  EXPECT_TRUE(preferences->AskSnapToHandleDistance());
  EXPECT_EQ(preferences->GetSnapToHandleDistance(), 3.0);
  input.Replace("3 degrees");
  input.Escape();
  EXPECT_FALSE(preferences->AskSnapToHandleDistance());
  EXPECT_EQ(preferences->GetSnapToHandleDistance(), 3.0);
}

// A constraint that is none of the menu's angles shows as the first item; OK without touching
// the menu keeps it rather than storing the first item's 90 degrees.
TEST_F(PreferenceDialogs, RotationKeepsWhatTheUserDidNotTouch) {
  std::istringstream line(" 7.5\n");
  preferences->ReadHeaderLines(line, CPreferences::kRotationConstraintLine, '\n', document);
  ASSERT_EQ(preferences->GetRotationConstraint(), 7.5);
  input.Return();
  EXPECT_FALSE(preferences->RunRotationDialog());
  EXPECT_EQ(preferences->GetRotationConstraint(), 7.5);
  EXPECT_EQ(preferences->GetRotationPrecision(), 0.5);

  // Choosing in the menus stores the items' angles.
  input.Click(4, "22.5°");
  input.Click(6, "2°");
  input.Return();
  EXPECT_TRUE(preferences->RunRotationDialog());
  EXPECT_EQ(preferences->GetRotationConstraint(), 22.5);
  EXPECT_EQ(preferences->GetRotationPrecision(), 2.0);

  // Choosing the first item on purpose stores it; Cancel stores nothing.
  input.Click(4, "90°");
  input.Escape();
  EXPECT_FALSE(preferences->RunRotationDialog());
  EXPECT_EQ(preferences->GetRotationConstraint(), 22.5);
  input.Click(4, "90°");
  input.Return();
  EXPECT_TRUE(preferences->RunRotationDialog());
  EXPECT_EQ(preferences->GetRotationConstraint(), 90.0);
}

TEST_F(PreferenceDialogs, ViewFactorsStoreBothOnlyWhenBothParse) {
  std::string rotate;
  std::string move;
  input.Capture(5, &rotate);
  input.Capture(6, &move);
  // The move factor does not parse: a beep, and the dialog runs again from its first field.
  input.Type("30");
  input.Tab();
  input.Type("far");
  input.Return();
  input.Tab();
  input.Type("10'");
  input.Return();
  vlui::ResetBeepCount();
  EXPECT_TRUE(preferences->RunViewFactorsDialog());
  EXPECT_EQ(vlui::BeepCount(), 1);
  EXPECT_EQ(rotate, "20.00°");
  EXPECT_EQ(move, "20'0.00\"");
  EXPECT_EQ(preferences->GetViewRotateFactor(), 30.0);
  EXPECT_EQ(preferences->GetViewMoveFactor(), 10.0);

  input.Return();
  EXPECT_FALSE(preferences->RunViewFactorsDialog());
  input.Type("45");
  input.Escape();
  EXPECT_FALSE(preferences->RunViewFactorsDialog());
  EXPECT_EQ(preferences->GetViewRotateFactor(), 30.0);
}

TEST_F(PreferenceDialogs, PerspectiveLinkAndGroupingQuestion) {
  input.Click(3);
  input.Return();
  EXPECT_TRUE(preferences->RunPerspectiveLinkDialog());
  EXPECT_EQ(preferences->GetPerspLinkedWithAxon(), 1);
  input.Click(4);
  input.Escape();
  EXPECT_FALSE(preferences->RunPerspectiveLinkDialog());
  EXPECT_EQ(preferences->GetPerspLinkedWithAxon(), 1);
  input.Click(4);
  input.Return();
  EXPECT_TRUE(preferences->RunPerspectiveLinkDialog());
  EXPECT_EQ(preferences->GetPerspLinkedWithAxon(), 0);

  input.Return();
  EXPECT_EQ(preferences->ConfirmGrouping(), 1);
  input.Escape();
  EXPECT_EQ(preferences->ConfirmGrouping(), 0);
  EXPECT_EQ(DialogIds(), (std::vector<int>{1036, 1036, 1036, 1050, 1050}));

  // Grouping without prompting asks nothing.
  std::istringstream line(" 1\n");
  preferences->ReadHeaderLines(line, CPreferences::kGroupWithoutPromptingLine, '\n', document);
  vlalert::ClearLog();
  EXPECT_EQ(preferences->ConfirmGrouping(), 1);
  EXPECT_TRUE(DialogIds().empty());
  EXPECT_FALSE(preferences->AskReservedSetting());
  EXPECT_FALSE(preferences->AskReservedSetting2());
}

TEST_F(PreferenceDialogs, DialogsThatCannotBeMadeChangeNothing) {
  for (SInt16 id : {1080, 3000, 1036, 1050, 1032}) OverrideResource(FourCC("DLOG"), id, "bad");
  EXPECT_FALSE(preferences->AskCircleFaceting());
  EXPECT_FALSE(preferences->AskSnapToHandleDistance());
  EXPECT_FALSE(preferences->RunRotationDialog());
  EXPECT_FALSE(preferences->RunPerspectiveLinkDialog());
  EXPECT_FALSE(preferences->RunViewFactorsDialog());
  EXPECT_EQ(preferences->ConfirmGrouping(), 0);
  EXPECT_EQ(preferences->GetCircleFaceting(), 16);
  EXPECT_TRUE(input.Done());
}
