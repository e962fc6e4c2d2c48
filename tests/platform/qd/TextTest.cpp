// Text: fonts by number and name, widths, metrics and deterministic drawing, with the DejaVu
// fonts and with the built-in font.
#include <filesystem>

#include "PString.h"
#include "QdTestUtil.h"

namespace {

const char* kDejaVu = "/usr/share/fonts/truetype/dejavu";

enum class Source { BuiltIn, DejaVu };

class TextTest : public ::testing::TestWithParam<Source> {
 protected:
  void SetUp() override {
    if (GetParam() == Source::DejaVu) {
      if (!std::filesystem::exists(std::string(kDejaVu) + "/DejaVuSans.ttf")) GTEST_SKIP() << "DejaVu fonts missing";
      PortSetFontFolders({kDejaVu});
    } else {
      PortSetFontFolders({});
    }
  }
  void TearDown() override { PortSetFontFolders({kDejaVu}); }
};

TEST_P(TextTest, SameTextTwiceGivesIdenticalPixels) {
  std::string first, second;
  for (std::string* out : {&first, &second}) {
    World w(32, Rect{0, 0, 40, 200});
    PortTextFont(21);
    PortTextSize(14);
    PortPenMove(5, 25);
    PortDrawString(Str255("Velmora 3D, q\xA5"));
    EXPECT_FALSE(w.Dark().empty());
    *out = w.Snapshot();
  }
  EXPECT_EQ(first, second);
  EXPECT_EQ(PortUsingBuiltInFont(), GetParam() == Source::BuiltIn);
}

TEST_P(TextTest, WidthIsTheSumOfTheAdvances) {
  World w(32, Rect{0, 0, 40, 300});
  for (SInt16 font : {SInt16(0), SInt16(4), SInt16(20), SInt16(21), SInt16(22)}) {
    for (Style face : {Style(kStylePlain), Style(kStyleBold), Style(kStyleItalic | kStyleUnderline)}) {
      PortTextFont(font);
      PortTextFace(face);
      PortTextSize(12);
      const std::string text = "Wall height: 12' 4\"";
      int sum = 0;
      for (char c : text) sum += PortCharWidth(c);
      Str255 s(text);
      EXPECT_EQ(PortStringWidth(s), sum) << font << "/" << int(face);
      std::vector<SInt16> locs(text.size() + 1);
      PortMeasureText(SInt16(text.size()), text.data(), locs.data());
      EXPECT_EQ(locs.front(), 0);
      EXPECT_EQ(locs.back(), sum);
      for (std::size_t i = 1; i < locs.size(); ++i) EXPECT_GE(locs[i], locs[i - 1]);
      // Drawing moves the pen by the width.
      PortPenMove(3, 20);
      PortDrawString(s);
      Point pen;
      PortGetPen(&pen);
      EXPECT_EQ(pen.h, 3 + sum);
    }
  }
  PortTextFace(kStylePlain);
  EXPECT_EQ(PortStringWidth(Str255("")), 0);
}

TEST_P(TextTest, MetricsGrowWithSizeAndStylesChangeThePixels) {
  World w(32, Rect{0, 0, 60, 200});
  FontInfo small, big;
  PortTextSize(9);
  PortGetFontInfo(&small);
  PortTextSize(24);
  PortGetFontInfo(&big);
  EXPECT_GT(small.ascent, 0);
  EXPECT_GT(small.descent, 0);
  EXPECT_GT(big.ascent, small.ascent);
  EXPECT_GE(big.widMax, small.widMax);
  std::string plain, bold;
  for (std::string* out : {&plain, &bold}) {
    World t(32, Rect{0, 0, 40, 120});
    PortTextSize(12);
    PortTextFace(out == &bold ? kStyleBold : kStylePlain);
    PortPenMove(2, 20);
    PortDrawString(Str255("Hello"));
    *out = t.Snapshot();
  }
  EXPECT_NE(plain, bold);
}

TEST_P(TextTest, XorTextDrawnTwiceRestoresAndCopyModeFillsTheBackground) {
  World w(32, Rect{0, 0, 30, 120});
  RGBColor red{65535, 0, 0};
  PortRGBForeColor(&red);
  Rect r{5, 5, 25, 60};
  PortPaintRect(&r);
  PortForeColor(blackColor);
  const std::string before = w.Snapshot();
  PortTextMode(srcXor);
  for (int i = 0; i < 2; ++i) {
    PortPenMove(10, 20);
    PortDrawString(Str255("XOR me"));
    if (i == 0) {
      EXPECT_NE(w.Snapshot(), before);
    }
  }
  EXPECT_EQ(w.Snapshot(), before);
  // srcCopy paints the back colour behind the letters; srcOr leaves it.
  PortTextMode(srcCopy);
  RGBColor green{0, 65535, 0};
  PortRGBBackColor(&green);
  PortPenMove(70, 20);
  PortDrawString(Str255("ab"));
  FontInfo fi;
  PortGetFontInfo(&fi);
  RGBColor c;
  PortGetCPixel(70, SInt16(20 - fi.ascent), &c);
  EXPECT_EQ(c, green);
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextTest, ::testing::Values(Source::BuiltIn, Source::DejaVu),
                         [](const auto& p) { return p.param == Source::BuiltIn ? "BuiltIn" : "DejaVu"; });

TEST(Fonts, NumbersAndNames) {
  struct Case {
    const char* name;
    SInt16 number;
  } cases[] = {{"Chicago", 0}, {"Geneva", 3}, {"Helvetica", 21}, {"courier", 22}, {"Times", 20},
               {"Monaco", 4},  {"DejaVu Sans Mono", 1025}, {"No Such Font", 0}};
  for (const Case& c : cases) {
    SInt16 n = -1;
    PortFontNumber(Str255(c.name), &n);
    EXPECT_EQ(n, c.number) << c.name;
  }
  Str255 name;
  PortGetFontName(21, name);
  EXPECT_EQ(name.Std(), "Helvetica");
  PortGetFontName(1, name);
  EXPECT_EQ(name.Std(), "Geneva");
  PortGetFontName(999, name);
  EXPECT_EQ(name.Length(), 0);
}

}  // namespace
