#pragma once
// Oracles of the time tests: a proleptic Gregorian calendar written apart from the
// library's tables (the era-based algorithm), and glibc's zone rules natively.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace tambre::test {

inline std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  return era * 146097 + static_cast<std::int64_t>(yoe * 365 + yoe / 4 - yoe / 100 + doy) - 719468;
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
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, doy - (153 * mp + 2) / 5 + 1};
}

inline std::int64_t seconds_of(std::int64_t y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
  return days_from_civil(y, m, d) * 86400 + hh * 3600 + mm * 60 + ss;
}

// Calendar fields as a caller fills them in (weekday and day of the year left out).
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

inline std::string tm_text(const std::tm& f) {
  char s[80];
  std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d:%02d dst%d wday%d yday%d", f.tm_year + 1900, f.tm_mon + 1,
                f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec, f.tm_isdst, f.tm_wday, f.tm_yday);
  return s;
}

inline ::testing::AssertionResult same_fields(const std::tm& ours, const std::tm& expected) {
  const std::tm &a = ours, &b = expected;
  if (a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday && a.tm_hour == b.tm_hour &&
      a.tm_min == b.tm_min && a.tm_sec == b.tm_sec && a.tm_wday == b.tm_wday && a.tm_yday == b.tm_yday &&
      a.tm_isdst == b.tm_isdst)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << tm_text(ours) << ", expected " << tm_text(expected);
}

// The UTC breakdown of a second count since 1970 by the calendar above.
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

#if !defined(_WIN32)
// The C library's TZ for a scope, so that localtime_r serves as an oracle of the rules.
class glibc_zone {
 public:
  explicit glibc_zone(const char* tz) : had_(std::getenv("TZ") != nullptr), old_(had_ ? std::getenv("TZ") : "") {
    setenv("TZ", tz, 1);
    tzset();
  }
  ~glibc_zone() {
    had_ ? setenv("TZ", old_.c_str(), 1) : unsetenv("TZ");
    tzset();
  }
  glibc_zone(const glibc_zone&) = delete;
  glibc_zone& operator=(const glibc_zone&) = delete;

 private:
  bool had_;
  std::string old_;
};
#endif

}  // namespace tambre::test
