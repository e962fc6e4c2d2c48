#include <gtest/gtest.h>

#include "DateTime.h"

TEST(FileDates, SecondsSince1904WithCarries) {
  struct Case {
    DateTimeRec date;
    UInt32 secs;
  };
  const Case cases[] = {
      {{1904, 1, 1, 0, 0, 0}, 0u},
      {{1995, 3, 21, 12, 0, 0}, 2878632000u},
      {{1995, 3, 21, 11, 135, 0}, 2878636500u},  // minutes carry into hours
      {{1995, 3, 20, 37, 15, 0}, 2878636500u},   // hours carry into days
      {{1995, 3, 0, 10, 0, 0}, 2876810400u},     // day 0 is the last of February
      {{1995, 13, 1, 0, 0, 0}, 2903299200u},     // month 13 is January of the next year
      {{2040, 2, 6, 6, 28, 15}, 4294967295u},    // the last second the count holds
      {{2040, 2, 6, 6, 28, 16}, 0u},             // and where it wraps
  };
  for (const Case& c : cases) {
    UInt32 secs = 1;
    PortDateToSeconds(&c.date, &secs);
    EXPECT_EQ(secs, c.secs) << c.date.year << "-" << c.date.month << "-" << c.date.day;
  }

  DateTimeRec back;
  PortSecondsToDate(2878636500u, &back);
  EXPECT_EQ(back.year, 1995);
  EXPECT_EQ(back.month, 3);
  EXPECT_EQ(back.day, 21);
  EXPECT_EQ(back.hour, 13);
  EXPECT_EQ(back.minute, 15);
  EXPECT_EQ(back.dayOfWeek, 3);  // a Tuesday
}

TEST(FileDates, TheClockCanStandStill) {
  vlfiles::SetFixedDateTime(2878632000u);
  UInt32 now = 0;
  PortGetDateTime(&now);
  EXPECT_EQ(now, 2878632000u);
  DateTimeRec today;
  PortGetTime(&today);
  EXPECT_EQ(today.year, 1995);
  vlfiles::SetFixedDateTime(std::nullopt);
  PortGetDateTime(&now);
  EXPECT_GT(now, 3600000000u);  // some time after 2018
}
