#include <gtest/gtest.h>

#include "AlertSink.h"
#include "MacTypes.h"
#include "PString.h"
#include "Settings.h"
#include "Ticks.h"

TEST(PString, CopyConcatAndTruncation) {
  Str255 a("abc");
  Str255 b("defg");
  PStrConcat(a, b);
  EXPECT_EQ(a.Std(), "abcdefg");

  Str255 longer(std::string(250, 'x'));
  PStrConcat(longer, b);  // 254 fits
  EXPECT_EQ(longer.Length(), 254);
  PStrConcat(longer, b);  // capped at 255, nothing written past it
  EXPECT_EQ(longer.Length(), 255);

  Str31 small;
  PStrCopy(small, longer, Str31::Capacity());
  EXPECT_EQ(small.Length(), 31);
}

TEST(PString, ComparisonsAndNumbers) {
  EXPECT_EQ(PortEqualString(Str255("VL Plug-ins"), Str255("vl plug-ins")), 0);
  EXPECT_EQ(PortEqualString(Str255("a"), Str255("ab")), 1);
  EXPECT_LT(PortCompareStrings(Str255("Apple"), Str255("banana")), 0);
  EXPECT_GT(PStrOrder(Str255("b"), Str255("a")), 0);

  Str255 n;
  PortNumToString(-4096, n);
  EXPECT_EQ(n.Std(), "-4096");
  long v = 0;
  PortStringToNum(Str255("123abc"), &v);
  EXPECT_EQ(v, 123);

  Str255 p("hello");
  EXPECT_STREQ(PortPascalToC(p), "hello");
  EXPECT_EQ(PortCToPascal(reinterpret_cast<char*>(p.s))[0], 5);
}

TEST(PString, MacRomanRoundTrip) {
  std::string mac = "Caf\x8E \xA5 5\xA1";  // é, bullet, degree
  std::string utf8 = MacRomanToUtf8(mac);
  EXPECT_EQ(utf8, "Café • 5°");
  EXPECT_EQ(Utf8ToMacRoman(utf8), mac);
  EXPECT_EQ(Utf8ToMacRoman("\xE4\xB8\xAD"), "?");  // no Mac Roman form
  EXPECT_EQ(Utf8ToMacRoman("\xC3"), "?");          // truncated sequence
}

TEST(Rects, IntersectionAndPointTests) {
  Rect a{0, 0, 10, 10}, b{5, 5, 20, 20}, out;
  EXPECT_TRUE(PortSectRect(&a, &b, &out));
  EXPECT_EQ(out, (Rect{5, 5, 10, 10}));
  Rect far{30, 30, 40, 40};
  EXPECT_FALSE(PortSectRect(&a, &far, &out));
  EXPECT_EQ(out, Rect{});
  EXPECT_TRUE(PortPtInRect(Point{0, 0}, &a));
  EXPECT_FALSE(PortPtInRect(Point{10, 5}, &a));  // bottom edge is outside
}

TEST(Ticks, VirtualClockIsDrivenByTheBackend) {
  vlclock::UseVirtualClock(true);
  vlclock::SetTicks(100);
  UInt32 final = 0;
  PortDelay(30, &final);
  EXPECT_EQ(final, 130u);
  vlclock::Advance(5);
  EXPECT_EQ(PortTickCount(), 135u);
  vlclock::UseVirtualClock(false);
}

TEST(Settings, ExchangeReturnsTheOldValue) {
  EXPECT_EQ(PortSettingExchange(154, 12, 5), 0);
  EXPECT_EQ(PortSettingExchange(154, 12, 7), 5);
  EXPECT_EQ(PortSettingGet(154, 12), 7);
  PortSettingsClear();
  EXPECT_EQ(PortSettingGet(154, 12, -1), -1);
}

TEST(AlertSink, LogsAndAnswers) {
  vlalert::ClearLog();
  EXPECT_EQ(vlalert::Report({"alert", 128, "", {"a", "b"}}), 1);
  auto old = vlalert::SetAnswerer([](const vlalert::Record& r) { return r.id == 4003 ? 2 : 1; });
  EXPECT_EQ(vlalert::Report({"alert", 4003, "", {}}), 2);
  vlalert::SetAnswerer(old);
  ASSERT_EQ(vlalert::Log().size(), 2u);
  EXPECT_EQ(vlalert::Log()[0].texts[1], "b");
  EXPECT_EQ(vlalert::Log()[1].answer, 2);
}
