#pragma once
// An independent proleptic Gregorian calendar for the tests (days from civil and back,
// after the well-known era-based algorithm), written apart from the library's tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

namespace tambre::test {

inline std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct civil {
  std::int64_t year;
  unsigned month, day;
};

inline civil civil_from_days(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

// Seconds since 1970 of a UTC date and time.
inline std::int64_t seconds_of(std::int64_t y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
  return days_from_civil(y, m, d) * 86400 + hh * 3600 + mm * 60 + ss;
}

// Calendar fields as a caller fills them in (the weekday and day of the year left out).
inline std::tm tm_of(int year, int mon, int mday, int hour = 0, int min = 0, int sec = 0, int isdst = 0) {
  std::tm f{};
  f.tm_year = year - 1900;
  f.tm_mon = mon - 1;
  f.tm_mday = mday;
  f.tm_hour = hour;
  f.tm_min = min;
  f.tm_sec = sec;
  f.tm_isdst = isdst;
  return f;
}

// Every field of a breakdown as one comparable text.
inline std::string tm_text(const std::tm& f) {
  char s[80];
  std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d:%02d dst%d wday%d yday%d", f.tm_year + 1900, f.tm_mon + 1,
                f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec, f.tm_isdst, f.tm_wday, f.tm_yday);
  return s;
}

// Every field of two breakdowns alike; cheap enough for loops over the whole range.
inline ::testing::AssertionResult same_fields(const std::tm& ours, const std::tm& expected) {
  if (ours.tm_year == expected.tm_year && ours.tm_mon == expected.tm_mon && ours.tm_mday == expected.tm_mday &&
      ours.tm_hour == expected.tm_hour && ours.tm_min == expected.tm_min && ours.tm_sec == expected.tm_sec &&
      ours.tm_wday == expected.tm_wday && ours.tm_yday == expected.tm_yday && ours.tm_isdst == expected.tm_isdst)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << tm_text(ours) << ", expected " << tm_text(expected);
}

// The breakdown of a second count since 1970 (negative ones too) by the calendar above.
inline std::tm civil_tm(std::int64_t seconds) {
  std::int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  std::int64_t second = seconds - days * 86400;
  civil c = civil_from_days(days);
  std::tm f = tm_of(static_cast<int>(c.year), static_cast<int>(c.month), static_cast<int>(c.day),
                    static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
  f.tm_wday = static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
  f.tm_yday = static_cast<int>(days - days_from_civil(c.year, 1, 1));
  return f;
}

}  // namespace tambre::test
