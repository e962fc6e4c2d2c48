// The image size dialog worked as a user works it: typing a scale, a width or a height, the
// arrows beside the fields, the depth list, and what the fields take.
#include <limits>
#include <string>

#include "Alerts.h"
#include "GoldenTest.h"
#include "ImageSizeDialog.h"
#include "WinDialogTestSupport.h"

namespace {

// Items of dialog 102, in template order.
enum : SInt16 {
  kOK = 1,
  kCancel = 2,
  kWidthRadio = 4,
  kHeightRadio = 5,
  kScaleField = 6,
  kWidthField = 7,
  kHeightField = 8,
  kScaleSpin = 9,
  kHeightSpin = 11,
};

constexpr SInt32 kMax = std::numeric_limits<SInt32>::max();

class ImageSizeDialogTest : public WinDialogFixture {
 protected:
  struct Fields {
    std::string scale, width, height;
  };
  void CaptureFields(Fields* f) {
    Capture(kScaleField, &f->scale);
    Capture(kWidthField, &f->width);
    Capture(kHeightField, &f->height);
  }
};

TEST_F(ImageSizeDialogTest, ATypedValueSetsTheOtherFieldsAndTheNewSize) {
  struct Case {
    SInt16 radio;  // 0: the scale field, as the dialog starts
    const char* typed;
    SInt32 width, height;
    Fields fields;
  };
  const Case cases[] = {
      {0, "50", 320, 240, {"50", "320", "240"}},
      {kWidthRadio, "333", 333, 249, {"52.0", "333", "249"}},
      {kHeightRadio, "120", 160, 120, {"25.0", "160", "120"}},
      // Beyond 32 bits the reading stops at the bound, and so do the sizes computed from it.
      {0, "99999999999999999999", kMax, kMax, {"99999999999999999999", "2147483647", "2147483647"}},
      {kWidthRadio, "99999999999999999999", kMax, 1610612735, {"335544320.0", "99999999999999999999", "1610612735"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ImageSizeDialog dialog(480, 640);
    if (c.radio) ClickItem(c.radio);
    Replace(c.typed);
    Fields shown;
    CaptureFields(&shown);
    input.Key('\r');
    ASSERT_TRUE(dialog.Run(nullptr));
    EXPECT_EQ(dialog.GetNewWidth(), c.width);
    EXPECT_EQ(dialog.GetNewHeight(), c.height);
    EXPECT_EQ(shown.scale, c.fields.scale);
    EXPECT_EQ(shown.width, c.fields.width);
    EXPECT_EQ(shown.height, c.fields.height);
    EXPECT_EQ(dialog.GetColorDepth(), 24);
  }
}

TEST_F(ImageSizeDialogTest, AClearedFieldLeavesTheOthersAndTheSize) {
  ImageSizeDialog dialog(480, 640);
  ClickItem(kWidthRadio);
  Replace("333");
  Replace("\b");
  Fields shown;
  CaptureFields(&shown);
  input.Key('\r');
  ASSERT_TRUE(dialog.Run(nullptr));
  EXPECT_EQ(shown.width, "");
  EXPECT_EQ(shown.height, "249");
  EXPECT_EQ(shown.scale, "52.0");
  EXPECT_EQ(dialog.GetNewWidth(), 333);
  EXPECT_EQ(dialog.GetNewHeight(), 249);
}

TEST_F(ImageSizeDialogTest, ANumbersFieldTakesDigitsUpToItsLengthAndBeepsAtTheRest) {
  ImageSizeDialog dialog(480, 640);
  vlui::ResetBeepCount();
  Replace("5x0-");
  Fields typed;
  CaptureFields(&typed);
  Replace("123456789012345678901");
  Fields full;
  CaptureFields(&full);
  input.Key(kEscapeChar);
  EXPECT_FALSE(dialog.Run(nullptr));
  EXPECT_EQ(typed.scale, "50");
  EXPECT_EQ(typed.width, "320");
  EXPECT_EQ(full.scale, "12345678901234567890");
  EXPECT_EQ(vlui::BeepCount(), 3);
}

TEST_F(ImageSizeDialogTest, TheArrowsStepTheirFieldAndTheOthersFollow) {
  ImageSizeDialog dialog(480, 640);
  ClickItem(kScaleSpin, -1);
  Fields up;
  CaptureFields(&up);
  ClickItem(kHeightSpin, 1);
  Fields down;
  CaptureFields(&down);
  ClickItem(kOK);
  ASSERT_TRUE(dialog.Run(nullptr));
  EXPECT_EQ(up.scale, "101.0");
  EXPECT_EQ(up.width, "646");
  EXPECT_EQ(up.height, "484");
  EXPECT_EQ(down.height, "483");
  EXPECT_EQ(down.width, "644");
  EXPECT_EQ(down.scale, "100.6");
  EXPECT_EQ(dialog.GetNewWidth(), 644);
  EXPECT_EQ(dialog.GetNewHeight(), 483);
}

TEST_F(ImageSizeDialogTest, OKWithoutChangesGivesTheGivenSizeEvenWhenTheAspectRounds) {
  ImageSizeDialog dialog(250, 333);
  input.Key('\r');
  ASSERT_TRUE(dialog.Run(nullptr));
  EXPECT_EQ(dialog.GetNewWidth(), 333);
  EXPECT_EQ(dialog.GetNewHeight(), 250);
}

TEST_F(ImageSizeDialogTest, TheDepthListGivesTheBitsOfItsEntry) {
  struct Case {
    WPARAM index;
    SInt32 depth;
  };
  for (Case c : {Case{0, 1}, Case{1, 4}, Case{2, 8}, Case{3, 24}}) {
    SCOPED_TRACE(c.index);
    ImageSizeDialog dialog(480, 640);
    input.Then([c] {
      HWND d = GetActiveWindow();
      SendDlgItemMessageA(d, ImageSizeDialog::kDepthList, CB_SETCURSEL, c.index, 0);
      DialogBase::DialogProc(d, WM_COMMAND, MAKEWPARAM(ImageSizeDialog::kDepthList, CBN_SELCHANGE), 0);
    });
    ClickItem(kOK);
    ASSERT_TRUE(dialog.Run(nullptr));
    EXPECT_EQ(dialog.GetColorDepth(), c.depth);
  }
}

TEST_F(ImageSizeDialogTest, CancelEndsFalseAndTheDialogShowsItsFieldsAndList) {
  ImageSizeDialog dialog(480, 640);
  testing::AssertionResult shown = testing::AssertionFailure();
  input.Then([&shown] { shown = vltest::WindowMatches(vlui::FrontDialog(), VL_GOLDEN("image-size-dialog.png")); });
  ClickItem(kCancel);
  EXPECT_FALSE(dialog.Run(nullptr));
  EXPECT_TRUE(shown);
  EXPECT_EQ(vlui::FrontDialog(), nullptr);
}

TEST_F(ImageSizeDialogTest, SizesBelowOnePixelCountAsOne) {
  ImageSizeDialog dialog(0, -5);
  Replace("200");
  input.Key('\r');
  ASSERT_TRUE(dialog.Run(nullptr));
  EXPECT_EQ(dialog.GetNewWidth(), 2);
  EXPECT_EQ(dialog.GetNewHeight(), 2);
}

}  // namespace
