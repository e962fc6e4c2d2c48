// Dates as the toolbox counts them: unsigned 32-bit seconds since 1904-01-01 00:00 local time.
// The count wraps after 2040-02-06 as the toolbox's does.
#pragma once

#include <optional>

#include "MacTypes.h"

struct DateTimeRec {
  SInt16 year = 0;
  SInt16 month = 0;      // 1..12
  SInt16 day = 0;        // 1..31
  SInt16 hour = 0;
  SInt16 minute = 0;
  SInt16 second = 0;
  SInt16 dayOfWeek = 0;  // 1 Sunday .. 7 Saturday
};

// The current local date and time.
void PortGetDateTime(UInt32* secs);
void PortGetTime(DateTimeRec* date);
// Seconds of a date. Fields out of range carry into the next larger one (minute 75 is 1:15 into
// the next hour, day 0 the last day of the month before); dayOfWeek is not read.
void PortDateToSeconds(const DateTimeRec* date, UInt32* secs);
// The date of a second count, with its day of the week.
void PortSecondsToDate(UInt32 secs, DateTimeRec* date);

namespace vlfiles {
// Makes the clock stand at a fixed count, for repeatable runs and tests; nullopt lets it follow
// the system clock again.
void SetFixedDateTime(std::optional<UInt32> secs);
// The toolbox count of a POSIX time, in local time.
UInt32 MacSecondsFromUnix(long long unixSeconds);
}  // namespace vlfiles
