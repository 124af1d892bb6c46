#pragma once
// A Central European zone with a settable local wall clock, and an independent oracle of
// its local time: UTC+1, daylight time UTC+2 from the last Sunday of March 01:00 UTC to
// the last Sunday of October 01:00 UTC.
#include <cstdint>

#include "civil_oracle.h"
#include "fake_time_source.h"
#include "time/calendar.h"

namespace tambre::test {

// 01:00 UTC of the last Sunday of March or October.
inline std::int64_t last_sunday_utc_1am(std::int64_t year, unsigned month) {
  std::int64_t days = days_from_civil(year, month, 31);  // March and October have 31 days
  std::int64_t weekday = ((days % 7) + 11) % 7;          // 1970-01-01 was a Thursday; 0 = Sunday
  return (days - weekday) * 86400 + 3600;
}

inline bool cet_daylight_at(std::int64_t utc, std::int64_t year) {
  return utc >= last_sunday_utc_1am(year, 3) && utc < last_sunday_utc_1am(year, 10);
}

// The time value of a Central European local time (outside the changeover hours).
inline time::time_value cet(std::int64_t y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
  std::int64_t utc = seconds_of(y, m, d, hh, mm, ss) - 3600;
  if (cet_daylight_at(utc - 3600, y)) utc -= 3600;
  return static_cast<time::time_value>(utc);
}

// The zone read from a Central European record; the platform's "daylight time now"
// answer is withheld, so the current time follows the library's own daylight test.
class cet_clock_test : public zone_test {
 protected:
  void SetUp() override {
    zone_test::SetUp();
    zone_from(central_european());
    source.zone.status = sys::zone_query_failed;
  }
  void set_now(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    source.local = {y, m, d, hh, mm, ss, 0};
    source.utc = source.local;
    time::forget_minute_cache();
  }
};

}  // namespace tambre::test
