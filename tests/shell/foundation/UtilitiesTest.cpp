#include <gtest/gtest.h>

#include "DEErrors.h"
#include "Events.h"
#include "HighLevelEvents.h"
#include "PString.h"
#include "ToolboxUtilities.h"

TEST(ErrorTable, CompleteAndOrdered) {
  EXPECT_EQ(gDEErrorTable[0].code, kDEErrorNone);
  EXPECT_EQ(gDEErrorTable[kDEErrorTableRows - 1].code, kDEErrorLastError);
  for (int code : {-9980, -9972, -9971}) EXPECT_EQ(FindDEError(code), nullptr) << code;
  EXPECT_EQ(PStrToStd(DEErrorMessage(kDEErrorErrorReadingTextureFile)),
            "there was an error while reading a texture file");
  EXPECT_EQ(PStrToStd(DEErrorMessage(kDEErrorErrorWritingMaterialResource)),
            "Velmora could not write the Material Resource");
  EXPECT_EQ(PStrToStd(DEErrorMessage(kDEErrorTextureFolderNotFound)),
            "Velmora was unable to find the \"Textures\" folder.");
  EXPECT_EQ(PStrToStd(DEErrorMessage(-9980)), "of an unspecified error");
  EXPECT_EQ(PStrToStd(FindDEError(kDEErrorNilPointer)->name), "kDEErrorNilPointer");
}

TEST(ToolboxUtilities, Rounding) {
  struct {
    double x, half;
  } halves[] = {{1.25, 1.5}, {-1.25, -1.5}, {1.74, 1.5}, {-0.1, 0}, {0.75, 1}, {2.0, 2.0}};
  for (auto c : halves) EXPECT_DOUBLE_EQ(RoundToHalf(c.x), c.half) << c.x;
  struct {
    double x, step, out;
  } steps[] = {{7, 5, 5}, {7.5, 5, 10}, {-7.5, 5, -10}, {-7, 5, -5}, {3, 0, 3}};
  for (auto c : steps) EXPECT_DOUBLE_EQ(RoundToStep(c.x, c.step), c.out) << c.x;
}

TEST(ToolboxUtilities, RectanglePlacement) {
  Rect alert{0, 0, 200, 300};
  Rect screen{0, 0, 480, 640};
  PositionRectOnScreen(&alert, &screen, 20);
  EXPECT_EQ(alert.top, 106);
  EXPECT_EQ(alert.left, 170);
  EXPECT_EQ(alert.bottom, 306);
  Rect r{0, 0, 10, 10};
  Rect outer{0, 0, 31, 41};
  CenterRectOn(&r, &outer);
  EXPECT_EQ(r, (Rect{10, 15, 20, 25}));
}

TEST(ToolboxUtilities, LengthPrefixedStrings) {
  Str255 s("key=value"), tail;
  EXPECT_TRUE(PStrSplitAt(s, tail, '='));
  EXPECT_EQ(s.Std(), "key");
  EXPECT_EQ(tail.Std(), "value");
  Str255 none("abc");
  EXPECT_FALSE(PStrSplitAt(none, tail, '='));
  EXPECT_EQ(none.Std(), "abc");
  EXPECT_EQ(tail.Length(), 0);
  Str255 last("abc=");
  EXPECT_TRUE(PStrSplitAt(last, tail, '='));
  EXPECT_EQ(tail.Length(), 0);

  Str255 blanks("  \t ");
  PStrTrimSpaces(blanks);
  EXPECT_EQ(blanks.Length(), 0);
  Str255 padded(" \tab c\t ");
  PStrTrimSpaces(padded);
  EXPECT_EQ(padded.Std(), "ab c");

  EXPECT_EQ(PStrCompare(Str255("Courier"), Str255("Courier")), 0);
  EXPECT_EQ(PStrCompare(Str255("Cour"), Str255("Courier")), -1);
  EXPECT_EQ(PStrCompare(Str255("\xC0"), Str255("a")), -1);  // signed bytes
}

TEST(ToolboxUtilities, ModifierKeysOfThePendingEvent) {
  vlui::ResetEvents();
  vlui::SetModifiers(shiftKey | 0x0001);
  EXPECT_TRUE(IsShiftKeyDown());
  EXPECT_FALSE(IsCommandKeyDown());
  EXPECT_EQ(GetModifierKeys(), shiftKey);
  vlui::PostEvent(keyDown, 'a', cmdKey | optionKey);  // the pending event's word counts
  EXPECT_TRUE(IsCommandKeyDown());
  EXPECT_TRUE(IsOptionKeyDown());
  EXPECT_FALSE(IsShiftKeyDown());
  EXPECT_EQ(vlui::PendingEventCount(), 1u);  // nothing was taken
  vlui::ResetEvents();
}

TEST(ToolboxUtilities, SectionParameterOfAHighLevelEvent) {
  AppleEvent event;
  event.eventClass = FourCC("sect");
  UInt32 section = 0;
  EXPECT_EQ(GetEventSectionParam(&event, &section), errAEDescNotFound);
  UInt32 given = 0x12345678;
  PortPutEventParam(&event, keyDirectObject, FourCC("long"), &given, 4);
  EXPECT_EQ(GetEventSectionParam(&event, &section), errAEWrongDataType);
  PortPutEventParam(&event, keyDirectObject, FourCC("sect"), &given, 2);
  EXPECT_EQ(GetEventSectionParam(&event, &section), errAEWrongDataType);
  PortPutEventParam(&event, keyDirectObject, FourCC("sect"), &given, 4);
  EXPECT_EQ(GetEventSectionParam(&event, &section), noErr);
  EXPECT_EQ(section, given);
}
