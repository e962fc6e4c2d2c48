// The units and grids dialog: what its director shows, takes and refuses, and what the
// document's command applies when it closes.
#include <gtest/gtest.h>

#include <string>

#include "CPreferences.h"
#include "Commands.h"
#include "DocumentTestSupport.h"
#include "Format.h"
#include "ModelTestSupport.h"
#include "ObjectInfoRecord.h"
#include "Unwinding.h"
#include "VLUnitsDLOGDirector.h"

namespace {

using Director = VLUnitsDLOGDirector;

}  // namespace

class UnitsDialog : public DocumentFixture {
 protected:
  // A director on feet (three decimals) or another format, with a grid of 5 feet in 50 and a
  // snap of half a foot.
  Owned<Director> Make(const Format& length) {
    Owned<Director> director(new Director);
    director->IVLUnitsDLOGDirector(Director::kUnitsDialog, app, length, app->GetAngleFormats()[0], 5.0, 50.0, 0.5);
    return director;
  }
};

TEST_F(UnitsDialog, ALengthTypedIsShownAgainInTheUnitChosen) {
  Owned<Director> director = Make(app->GetFeetFormat());
  std::string before;
  std::string after;
  input.Capture(Director::kGridSpacingItem, &before);
  // The snap spacing's text comes first; the grid spacing's next.
  input.Tab();
  input.Replace("10");
  input.Click(Director::kLengthFormatItem, "Meters");
  input.Capture(Director::kGridSpacingItem, &after);
  input.Return();
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
  EXPECT_EQ(before, "5.000'");
  EXPECT_EQ(after, "3.048m");
  EXPECT_TRUE(director->HasChanged());
  EXPECT_EQ(director->GetValue(Director::kGridSpacing), 10.0);
  EXPECT_TRUE(director->GetLengthFormat() == app->GetMetersFormat());
  // A bare number now is in meters.
  input.Tab();
  input.Replace("2");
  input.Return();
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
  EXPECT_NEAR(director->GetValue(Director::kGridSpacing), 2.0 / 0.3048, 1e-9);
}

TEST_F(UnitsDialog, APrecisionCommandAppliesOnlyToItsStyle) {
  struct Case {
    const char* name;
    long command;
    SInt32 style;
    SInt32 precision;
    bool changed;
  };
  // Feet and fractional inches: fractions of 32.
  for (Case c : {Case{"decimals on fractions", 8892, Format::kFractions, 32, false},
                 Case{"fraction", 9016, Format::kFractions, 16, true},
                 Case{"the same fraction", 9032, Format::kFractions, 32, false},
                 Case{"another format", 8802, Format::kDecimals, 3, true},
                 Case{"a format the program lacks", 8850, Format::kFractions, 32, false}}) {
    SCOPED_TRACE(c.name);
    Owned<Director> director = Make(app->GetFeetAndFractionalInchesFormat());
    director->DoCommand(c.command);
    EXPECT_EQ(director->GetLengthFormat().style, c.style);
    EXPECT_EQ(director->GetLengthFormat().precision, c.precision);
    EXPECT_EQ(director->HasChanged(), c.changed);
    // The angle's precision is its own.
    EXPECT_EQ(director->GetAngleFormat().precision, 2);
  }
  Owned<Director> director = Make(app->GetFeetFormat());
  director->DoCommand(8995);
  EXPECT_EQ(director->GetAngleFormat().precision, 5);
  EXPECT_EQ(director->GetLengthFormat().precision, 3);
}

TEST_F(UnitsDialog, TextThatIsNoLengthInRangeBeepsAndKeepsTheDialogOpen) {
  // Item 12 snap, 14 grid spacing, 16 grid size, reached by tabbing in that order. A grid of
  // 50 feet at a thousandth of a foot would draw 50001 lines each way.
  struct Case {
    int tabs;
    const char* typed;
  };
  for (Case c : {Case{2, "abc"}, Case{0, "0"}, Case{0, "-2'"}, Case{1, "0"}, Case{1, "0.001"}, Case{0, "1e300"},
                 Case{2, "200000'"}, Case{2, "-50"}}) {
    SCOPED_TRACE(c.typed);
    Owned<Director> director = Make(app->GetFeetFormat());
    for (int i = 0; i < c.tabs; ++i) input.Tab();
    input.Replace(c.typed);
    input.Return();
    // The dialog stays with the refused text selected: typing replaces it.
    input.Type("2");
    input.Return();
    vlui::ResetBeepCount();
    EXPECT_EQ(director->DoModalDialog(cmdOK), cmdOK);
    EXPECT_EQ(vlui::BeepCount(), 1);
    const Director::Value typedInto[] = {Director::kSnapSpacing, Director::kGridSpacing, Director::kGridSize};
    EXPECT_EQ(director->GetValue(typedInto[c.tabs]), 2.0);
  }
  // Cancel after a refusal: the values are those from before.
  Owned<Director> director = Make(app->GetFeetFormat());
  input.Replace("abc");
  input.Return();
  input.Escape();
  EXPECT_EQ(director->DoModalDialog(cmdOK), cmdCancel);
  EXPECT_EQ(director->GetValue(Director::kSnapSpacing), 0.5);
}

class UnitsCommand : public UnitsDialog {
 protected:
  void SetUp() override {
    UnitsDialog::SetUp();
    document = NewDocument();
    ASSERT_NE(document, nullptr);
    Pump();
    document->SetChanged(false);
  }
  VLDocument* document = nullptr;
};

TEST_F(UnitsCommand, OKWithoutAChangeAndCancelChangeNothing) {
  const double snap = document->GetSnapGridSpacing();
  double halfSize = 0.0;
  double spacing = 0.0;
  document->GetBackgroundGrid(&halfSize, &spacing);
  const Format length = document->GetPreferences()->GetLengthFormat();
  input.Return();
  document->DoCommand(VLDocument::cmdUnitsAndGrids);
  input.Replace("3");
  input.Click(Director::kLengthFormatItem, "Meters");
  input.Escape();
  document->DoCommand(VLDocument::cmdUnitsAndGrids);
  EXPECT_FALSE(document->IsChanged());
  EXPECT_EQ(document->GetSnapGridSpacing(), snap);
  double newHalfSize = 0.0;
  double newSpacing = 0.0;
  document->GetBackgroundGrid(&newHalfSize, &newSpacing);
  EXPECT_EQ(newHalfSize, halfSize);
  EXPECT_EQ(newSpacing, spacing);
  EXPECT_TRUE(document->GetPreferences()->GetLengthFormat() == length);
  EXPECT_EQ(document->GetViews()->GetDuplicateOffset(), (Vector3d{1.0, 1.0, 0.0}));
}

TEST_F(UnitsCommand, OKAppliesTheFormatsTheSnapAndTheGrid) {
  // The open info palette shows the one selected object again, in the new units.
  modeltest::PaletteStandIn palette;
  auto* block = new VLUser3DObject;
  modeltest::MakeBlock(block);
  AppendMoved(document, block, 0.0, 1)->Select();
  ASSERT_TRUE(palette.LinkedWith(block));
  palette.heard.clear();
  input.Replace("2'");
  input.Tab();
  input.Replace("4'");
  input.Tab();
  input.Replace("80'");
  input.Click(Director::kLengthFormatItem, "Meters");
  input.Return();
  document->DoCommand(VLDocument::cmdUnitsAndGrids);
  EXPECT_TRUE(document->IsChanged());
  EXPECT_TRUE(document->GetPreferences()->GetLengthFormat() == app->GetMetersFormat());
  EXPECT_TRUE(gLengthFormat == app->GetMetersFormat());
  EXPECT_TRUE(gLengthEntryUnit == gMeters);
  EXPECT_EQ(document->GetSnapGridSpacing(), 2.0);
  // The duplicate offset is twice the snap across the ground.
  EXPECT_EQ(document->GetViews()->GetDuplicateOffset(), (Vector3d{4.0, 4.0, 0.0}));
  double halfSize = 0.0;
  double spacing = 0.0;
  document->GetBackgroundGrid(&halfSize, &spacing);
  EXPECT_EQ(halfSize, 40.0);
  EXPECT_EQ(spacing, 4.0);
  // The model box takes the grid in.
  EXPECT_LE(document->GetModelBox()[0], -40.0);
  EXPECT_GE(document->GetModelBox()[4], 40.0);
  ASSERT_EQ(palette.heard.size(), 1u);
  EXPECT_EQ(palette.heard[0].reason, kInfoShowMe);
}
