#include "DateTime.h"

#include <ctime>

namespace {

std::optional<UInt32> gFixed;

// Days from 1970-01-01 to a proleptic Gregorian date (any month, day carried).
long long DaysFromCivil(long long y, long long m, long long d) {
  // Fold the month into 1..12 first, carrying whole years.
  long long m0 = m - 1;
  y += m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
  m0 -= 12 * (m0 >= 0 ? m0 / 12 : -((11 - m0) / 12));
  m = m0 + 1;
  y -= m <= 2;
  long long era = (y >= 0 ? y : y - 399) / 400;
  long long yoe = y - era * 400;
  long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
  long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + (d - 1);
}

// 1904-01-01 as days from 1970-01-01.
const long long kEpochDays = DaysFromCivil(1904, 1, 1);

void CivilFromDays(long long z, long long* y, long long* m, long long* d) {
  z += 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = yoe + era * 400 + (*m <= 2);
}

UInt32 Wrap(long long secs) { return UInt32(static_cast<unsigned long long>(secs) & 0xFFFFFFFFull); }

}  // namespace

namespace vlfiles {

void SetFixedDateTime(std::optional<UInt32> secs) { gFixed = secs; }

UInt32 MacSecondsFromUnix(long long unixSeconds) {
  std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return 0;
  long long days = DaysFromCivil(local.tm_year + 1900LL, local.tm_mon + 1LL, local.tm_mday);
  return Wrap((days - kEpochDays) * 86400 + local.tm_hour * 3600LL + local.tm_min * 60LL + local.tm_sec);
}

}  // namespace vlfiles

void PortGetDateTime(UInt32* secs) {
  if (!secs) return;
  *secs = gFixed ? *gFixed : vlfiles::MacSecondsFromUnix(static_cast<long long>(std::time(nullptr)));
}

void PortGetTime(DateTimeRec* date) {
  UInt32 secs = 0;
  PortGetDateTime(&secs);
  PortSecondsToDate(secs, date);
}

void PortDateToSeconds(const DateTimeRec* date, UInt32* secs) {
  if (!date || !secs) return;
  long long days = DaysFromCivil(date->year, date->month, date->day);
  *secs = Wrap((days - kEpochDays) * 86400 + date->hour * 3600LL + date->minute * 60LL + date->second);
}

void PortSecondsToDate(UInt32 secs, DateTimeRec* date) {
  if (!date) return;
  long long days = kEpochDays + secs / 86400;
  long long rest = secs % 86400;
  long long y, m, d;
  CivilFromDays(days, &y, &m, &d);
  date->year = SInt16(y);
  date->month = SInt16(m);
  date->day = SInt16(d);
  date->hour = SInt16(rest / 3600);
  date->minute = SInt16(rest / 60 % 60);
  date->second = SInt16(rest % 60);
  // 1970-01-01 was a Thursday (5 counting Sunday as 1).
  date->dayOfWeek = SInt16(((days % 7) + 7 + 4) % 7 + 1);
}
