// The program's own resources: the numbers, item counts and substitution texts callers rely on.
#include "AppResources.h"
#include "ResourceTestSupport.h"

using namespace restest;

namespace {

class ApplicationResources : public ChainTest {
 protected:
  void SetUp() override {
    ChainTest::SetUp();
    vlres::InstallApplicationResources();
  }
};

std::vector<std::string> List(SInt16 id) {
  std::vector<std::string> strings;
  EXPECT_TRUE(vlres::ReadStringList(PortLoadResource(FourCC("STR#"), id), &strings)) << "list " << id;
  return strings;
}

}  // namespace

TEST_F(ApplicationResources, AlertsHaveTheirItemsAndSubstitutionTexts) {
  struct Case {
    SInt16 id;
    int buttons;
    std::vector<const char*> texts;
  } cases[] = {
      {128, 1, {"^0"}},
      {129, 2, {}},
      {130, 2, {}},
      {131, 2, {"^0"}},
      {132, 1, {}},
      {134, 1, {}},
      {135, 2, {"^0"}},
      {136, 1, {}},
      {138, 1, {}},
      {139, 1, {}},
      {141, 1, {}},
      {142, 1, {"^0"}},
      {143, 1, {"^0"}},
      {151, 3, {"^0", "^1"}},
      {400, 1, {"^0", "^1", "^2", "^3"}},
      {501, 1, {}},
      {504, 1, {}},
      {1008, 1, {}},
      {1052, 1, {"^0"}},
      {2010, 1, {}},
      {4003, 1, {"^0", "^1", "^2"}},
      {4010, 1, {}},
      {4011, 3, {"^0", "^1"}},
      {4012, 1, {"^0"}},
      {4014, 1, {"^0"}},
      {4016, 1, {}},
      {4017, 2, {"^0"}},
      {4018, 1, {}},
      {4019, 1, {"^0"}},
  };
  for (const Case& c : cases) {
    vlres::AlertTemplate alert;
    ASSERT_TRUE(vlres::ParseAlert(PortLoadResource(FourCC("ALRT"), c.id), &alert)) << "alert " << c.id;
    std::vector<vlres::DialogItem> items;
    ASSERT_TRUE(vlres::ParseItemList(PortLoadResource(FourCC("DITL"), alert.itemListId), &items))
        << "alert " << c.id;
    int buttons = 0;
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i].kind == vlres::kButtonItem) {
        ++buttons;
        EXPECT_LT(i, std::size_t(c.buttons)) << "alert " << c.id << ": buttons come first";
      }
      if (items[i].kind == vlres::kStaticTextItem) text += items[i].text;
    }
    EXPECT_EQ(buttons, c.buttons) << "alert " << c.id;
    for (const char* marker : c.texts)
      EXPECT_NE(text.find(marker), std::string::npos) << "alert " << c.id << " " << marker;
  }
}

TEST_F(ApplicationResources, StringListsHoldTheItemsTheProgramReads) {
  struct Case {
    SInt16 id;
    std::size_t atLeast;
  } cases[] = {{128, 8},  {130, 28},  {132, 64},  {135, 17}, {1300, 8}, {1800, 5},
               {1900, 5}, {2200, 10}, {2600, 12}, {2700, 8}, {5000, 2}};
  for (const Case& c : cases) EXPECT_GE(List(c.id).size(), c.atLeast) << "list " << c.id;

  std::vector<std::string> common = List(128);
  EXPECT_EQ(common[2], "Undo ");
  EXPECT_EQ(common[3], "Redo ");
  EXPECT_EQ(common[4], "Untitled");
  std::vector<std::string> phases = List(132);
  EXPECT_EQ(std::count(phases.begin(), phases.end(), "End of Phases"), 1);
  for (const std::string& s : List(2700)) EXPECT_FALSE(s.empty());
}

TEST_F(ApplicationResources, VersionAndStartupStrings) {
  vlres::VersionRecord version;
  ASSERT_TRUE(vlres::ParseVersion(PortLoadResource(FourCC("vers"), 1), &version));
  EXPECT_FALSE(version.shortVersion.empty());
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("STR "), 2176)), "\x07Velmora");
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("STR "), 2177)), "\x06vl.HLP");
  EXPECT_EQ(HandleText(PortLoadResource(FourCC("STR "), 1283)),
            "\x05"
            "E&xit");
}

TEST_F(ApplicationResources, DefaultMaterialSetAndOneRecordPerKind) {
  const std::pair<SInt16, const char*> records[] = {
      {256, "\tTiled_Texture\t"}, {257, "\tFull_Face_Texture\t"}, {258, "\tCentered_Texture\t"},
      {259, "\tPoint_Light\t"},   {260, "\tSpot_Light\t"},        {261, "\tProperties\t"}};
  for (const auto& [id, kind] : records) {
    std::string text = HandleText(PortLoadResource(FourCC("TEXT"), id));
    EXPECT_NE(text.find(kind), std::string::npos) << id;
    EXPECT_EQ(text.find('\n'), std::string::npos) << id << ": lines end in carriage returns";
  }
  std::string set = HandleText(PortLoadResource(FourCC("TEXT"), 255));
  EXPECT_EQ(set.substr(set.size() - 4), "EOF\r");
}
