// The number and measurement fields, outside any window: what a key does to the value, the text,
// the typing flags and the supervisor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Alerts.h"
#include "CFeetInchesPane.h"
#include "Events.h"
#include "Format.h"
#include "PString.h"
#include "Selection.h"
#include "UnitBase.h"

namespace {

// The field's supervisor; it records the keys that reach it.
class RecordingRoot : public CPane {
 public:
  RecordingRoot() { Init(nullptr, nullptr, 400, 300, 0, 0, sizFIXEDLEFT, sizFIXEDTOP); }
  void DoKeyDown(char c, UInt8, EventRecord*) override { keys.push_back(int(UInt8(c))); }
  std::vector<int> keys;
};

// An object info palette whose fields have the root as supervisor.
class RootPalette : public ObjectInfoPalette {
 public:
  explicit RootPalette(CCollaborator* root) : root(root) {}
  CCollaborator* PaletteCollaborator() override { return root; }
  void ShowMultipleSelection() override {}
  CCollaborator* root;
};

class EntryFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = {gLengthFormat, gAngleFormat, gModelLengthUnit, gModelAngleUnit, gLengthEntryUnit, gAngleEntryUnit};
    gModelLengthUnit = gFeet;
    gModelAngleUnit = gDegrees;
    gLengthEntryUnit = gFeet;
    gAngleEntryUnit = gDegrees;
    gLengthFormat = Format({gFeet, gInches}, Format::kFractions, 32);
    gAngleFormat = Format({gDegrees}, Format::kDecimals, 2);
    gTextBarTyped = 0;
    gFieldTyped[0] = gFieldTyped[1] = gFieldTyped[2] = 0;
    root = new RecordingRoot;
    vlui::ResetBeepCount();
  }
  void TearDown() override {
    root->Dispose();
    gLengthFormat = saved.length;
    gAngleFormat = saved.angle;
    gModelLengthUnit = saved.modelLength;
    gModelAngleUnit = saved.modelAngle;
    gLengthEntryUnit = saved.lengthEntry;
    gAngleEntryUnit = saved.angleEntry;
    gObjectInfoBox = nullptr;
  }

  CFeetInchesPane* MeasurementField(SInt32 kind, double value, SInt16 index = 0) {
    auto* field = new CFeetInchesPane;
    field->SetKind(kind);
    field->IVLLocationPaneWithBorder(root, root, 54, 16, 0, 0, sizFIXEDLEFT, sizFIXEDTOP, 54, value, index);
    return field;
  }
  VLLocationPane* NumberField(double value, SInt16 index = -1) {
    auto* field = new VLLocationPane;
    field->IVLLocationPane(root, root, 54, 16, 0, 30, sizFIXEDLEFT, sizFIXEDTOP, 54, value, index);
    return field;
  }
  // Replaces the field's text by typing, then presses the key.
  static void Enter(VLLocationPane* field, const std::string& text, char key = kReturnChar) {
    field->SetTextString(Str255(""));
    EventRecord e;
    for (char c : text) field->DoKeyDown(c, 0, &e);
    field->DoKeyDown(key, key == kTabChar ? kTabKeyCode : kReturnKeyCode, &e);
  }
  static std::string Text(VLLocationPane* field) {
    Str255 s;
    field->GetTextString(s);
    return s.Std();
  }

  struct Saved {
    Format length, angle;
    UnitBase modelLength, modelAngle, lengthEntry, angleEntry;
  } saved;
  RecordingRoot* root = nullptr;
};

TEST_F(EntryFieldTest, AMeasurementTypedInTheDocumentsUnitsBecomesTheValueInTheModelsUnits) {
  struct Case {
    SInt32 kind;
    const char* typed;
    double value;
  };
  const Case cases[] = {
      {1, "5'3", 5.25},  {1, "5' 3 1/2\"", 5.0 + 3.5 / 12.0},
      {1, "2", 2.0},  // a bare number in the entry unit
      {1, "-1'6", -1.5}, {4, "30", 30.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    root->keys.clear();
    CFeetInchesPane* field = MeasurementField(c.kind, 0.0);
    Enter(field, c.typed);
    EXPECT_DOUBLE_EQ(field->GetValue(), c.value);
    EXPECT_EQ(root->keys, std::vector<int>{kReturnChar});  // the supervisor then applies it
  }
  EXPECT_EQ(vlui::BeepCount(), 0);

  CFeetInchesPane* field = MeasurementField(1, 0.0);
  Enter(field, "5'3", kTabChar);
  EXPECT_EQ(Text(field), "5'3\"");  // rewritten in the document's format
}

TEST_F(EntryFieldTest, TextThatIsNoMeasurementBeepsKeepsTheValueAndGoesNoFurther) {
  // "feet" names no quantity; a number after the inch mark mixes unit kinds, which the units
  // library reports as its unit error rather than a measurement error.
  for (const char* typed : {"feet", "3\"1/2", "1/0", "5'3x", "1e999"}) {
    SCOPED_TRACE(typed);
    root->keys.clear();
    vlui::ResetBeepCount();
    CFeetInchesPane* field = MeasurementField(1, 7.5);
    Enter(field, typed);
    EXPECT_EQ(vlui::BeepCount(), 1);
    EXPECT_DOUBLE_EQ(field->GetValue(), 7.5);
    EXPECT_EQ(Text(field), typed);  // the typed text stays for the user to mend
    EXPECT_TRUE(root->keys.empty());
  }
}

TEST_F(EntryFieldTest, FieldsShowTheirValuesInTheirOwnWays) {
  // An area is shown in the format's last unit squared (square inches here), without a name.
  EXPECT_EQ(Text(MeasurementField(CFeetInchesPane::kArea, 12.5)), "1800");
  EXPECT_EQ(Text(MeasurementField(CFeetInchesPane::kAngle, 45.0)), "45.00\xA1");
  VLLocationPane* number = NumberField(100.0);
  EXPECT_EQ(Text(number), "100.00");
  number->SetPrecision(0);
  EXPECT_EQ(Text(number), "100");
  number->SetTextString(Str255("x"));
  EXPECT_FALSE(number->SetValue(100.0));  // the value held: not changed, but shown again
  EXPECT_EQ(Text(number), "100");
  EXPECT_TRUE(number->SetValue(2.5));
  EXPECT_EQ(Text(number), "  2");
}

TEST_F(EntryFieldTest, APlainNumberFieldTypesOnlyNumbersAndReadsThePrefixThatIsOne) {
  VLLocationPane* number = NumberField(3.0);
  EventRecord e;
  number->SetTextString(Str255(""));
  for (char c : std::string("1a2")) number->DoKeyDown(c, 0, &e);
  EXPECT_EQ(Text(number), "12");
  EXPECT_EQ(root->keys, std::vector<int>{'a'});
  Enter(number, "4.5-2");
  EXPECT_DOUBLE_EQ(number->GetValue(), 4.5);
  EXPECT_EQ(Text(number), "4.50");
  // An emptied field or a lone sign holds no number: the value stays what it was.
  for (const char* typed : {"", "-", "."}) {
    Enter(number, typed);
    EXPECT_DOUBLE_EQ(number->GetValue(), 4.5) << typed;
  }
}

TEST_F(EntryFieldTest, TypingSetsTheSharedFlagsOfItsFieldIndex) {
  EventRecord e;
  NumberField(0.0, -1)->DoKeyDown('1', 0, &e);
  EXPECT_EQ(gTextBarTyped, 1);
  EXPECT_EQ(gFieldTyped[0] + gFieldTyped[1] + gFieldTyped[2], 0);

  MeasurementField(1, 0.0, 2)->DoKeyDown('m', 0, &e);
  EXPECT_EQ(gFieldTyped[2], 1);
  MeasurementField(1, 0.0, 1)->DoKeyDown(0, kForwardDeleteKeyCode, &e);  // edits without a flag
  EXPECT_EQ(gFieldTyped[1], 0);

  // The object info palette's fields leave the flags alone.
  gTextBarTyped = 0;
  RootPalette palette(root);
  gObjectInfoBox = &palette;
  MeasurementField(1, 0.0, 0)->DoKeyDown('3', 0, &e);
  EXPECT_EQ(gTextBarTyped, 0);
  EXPECT_EQ(gFieldTyped[0], 0);
  gObjectInfoBox = nullptr;
}

}  // namespace
