// Alerts: resources, substitution texts, the logged record and the answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AlertSink.h"
#include "Alerts.h"
#include "PString.h"
#include "Resources.h"

namespace {

void Put16(std::vector<unsigned char>* b, int v) {
  b->push_back((unsigned char)((v >> 8) & 0xFF));
  b->push_back((unsigned char)(v & 0xFF));
}

std::vector<unsigned char> Alert(int itemList) {
  std::vector<unsigned char> b;
  for (int v : {40, 40, 160, 440}) Put16(&b, v);
  Put16(&b, itemList);
  Put16(&b, 0x5555);
  return b;
}

struct Item {
  unsigned char kind;
  std::string text;  // Mac Roman
};

std::vector<unsigned char> ItemList(const std::vector<Item>& items) {
  std::vector<unsigned char> b;
  Put16(&b, int(items.size()) - 1);
  for (const Item& item : items) {
    for (int i = 0; i < 4; ++i) b.push_back(0);
    for (int v : {10, 10, 30, 100}) Put16(&b, v);
    b.push_back(item.kind);
    b.push_back((unsigned char)item.text.size());
    b.insert(b.end(), item.text.begin(), item.text.end());
    if (item.text.size() % 2) b.push_back(0);
  }
  return b;
}

class AlertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alert = Alert(2000);
    items = ItemList({{4, "OK"},
                      {4, "Cancel"},
                      {8 | 128, "Could not open \xD2^0\xD3 because ^1."},
                      {8, "^2^3 ^^ ^4 ^"}});
    brokenAlert = Alert(2001);
    brokenItems = {0, 5, 1, 2};  // claims six items, holds none
    table = {{FourCC("ALRT"), 2000, nullptr, alert.data(), UInt32(alert.size())},
             {FourCC("DITL"), 2000, nullptr, items.data(), UInt32(items.size())},
             {FourCC("ALRT"), 2001, nullptr, brokenAlert.data(), UInt32(brokenAlert.size())},
             {FourCC("DITL"), 2001, nullptr, brokenItems.data(), UInt32(brokenItems.size())}};
    vlres::ResetResourceChain();
    vlres::InstallResourceTable(table.data(), table.size());
    vlalert::ClearLog();
    vlalert::SetAnswerer(nullptr);
    PortSetAlertTexts(nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    vlalert::SetAnswerer(nullptr);
    vlalert::ClearLog();
    vlres::ResetResourceChain();
  }
  std::vector<unsigned char> alert, items, brokenAlert, brokenItems;
  std::vector<vlres::CompiledResource> table;
};

TEST_F(AlertTest, TextsAreSubstitutedAndTheRecordIsLogged) {
  PortSetAlertTexts(Str255("Plan \x8E"), Str255("the disk is full"), Str255("x"), nullptr);
  EXPECT_EQ(PortAlert(2000), 1);
  ASSERT_EQ(vlalert::Log().size(), 1u);
  const vlalert::Record& r = vlalert::Log()[0];
  EXPECT_EQ(r.kind, "alert");
  EXPECT_EQ(r.id, 2000);
  EXPECT_EQ(r.title, "");
  // Only the text items, in item order, as UTF-8; other carets stay as they are.
  EXPECT_EQ(r.texts, (std::vector<std::string>{"Could not open \u201CPlan \u00E9\u201D because the disk is full.",
                                               "x ^^ ^4 ^"}));
  EXPECT_EQ(r.answer, 1);
  EXPECT_EQ(vlui::AlertText(0), "Plan \u00E9");
  EXPECT_EQ(vlui::AlertText(3), "");
}

TEST_F(AlertTest, EveryAlertKindAnswersThroughTheSink) {
  std::vector<int> seen;
  vlalert::SetAnswerer([&](const vlalert::Record& r) {
    seen.push_back(r.id);
    return 2;
  });
  EXPECT_EQ(PortAlert(2000), 2);
  EXPECT_EQ(PortAlertVariant(2000), 2);
  EXPECT_EQ(PortAskAlert(2000), 2);
  EXPECT_EQ(PortShowAlert(2000), 2);
  EXPECT_EQ(seen, (std::vector<int>{2000, 2000, 2000, 2000}));
  EXPECT_EQ(vlalert::Log().back().answer, 2);
}

TEST_F(AlertTest, MissingOrDamagedResourcesAreLoggedAndAnsweredOne) {
  PortSetAlertTexts(Str255("a"), Str255("b"), nullptr, Str255("d"));
  EXPECT_EQ(PortAlert(31999), 1);  // no such alert
  EXPECT_EQ(PortAlert(2001), 1);   // its item list is damaged
  ASSERT_EQ(vlalert::Log().size(), 2u);
  for (const auto& r : vlalert::Log()) {
    EXPECT_EQ(r.title, "missing alert resource");
    EXPECT_EQ(r.texts, (std::vector<std::string>{"a", "b", "", "d"}));
  }
  EXPECT_EQ(vlalert::Log()[0].id, 31999);
  EXPECT_EQ(vlalert::Log()[1].id, 2001);
}

TEST_F(AlertTest, BeepsAreCounted) {
  vlui::ResetBeepCount();
  PortBeep(3);
  PortBeep(1);
  EXPECT_EQ(vlui::BeepCount(), 2);
}

}  // namespace
