// Local breakdown, the way back, the current time and the millisecond clock on injected
// zone records, TZ texts and clocks.
#include <gtest/gtest.h>

#include <cstring>

#include "civil_oracle.h"
#include "fake_time_source.h"
#include "time/calendar.h"
#include "time/local_time.h"
#include "time/time_exports.h"
#include "time/zone_state.h"

namespace tt = tambre::time;
using tambre::sys::zone_record;
using tambre::test::civil_from_days;
using tambre::test::fixed_zone;
using tambre::test::make_record;
using tambre::test::seconds_of;

namespace {

struct local_row {
  const char* name;
  std::int64_t t;
  int year, mon, mday, hour, min, sec, isdst;
};

void expect_local(const local_row& r) {
  std::tm f;
  ASSERT_TRUE(tt::local_fields(static_cast<tt::time_value>(r.t), f)) << r.name;
  EXPECT_EQ(f.tm_year + 1900, r.year) << r.name;
  EXPECT_EQ(f.tm_mon + 1, r.mon) << r.name;
  EXPECT_EQ(f.tm_mday, r.mday) << r.name;
  EXPECT_EQ(f.tm_hour, r.hour) << r.name;
  EXPECT_EQ(f.tm_min, r.min) << r.name;
  EXPECT_EQ(f.tm_sec, r.sec) << r.name;
  EXPECT_EQ(f.tm_isdst, r.isdst) << r.name;
}

// Sydney-like: daylight time from the first Sunday of October 02:00 to the first Sunday
// of April 03:00, bias -600.
zone_record southern() { return make_record(-600, {0, 4, 0, 1, 3, 0, 0, 0}, 0, {0, 10, 0, 1, 2, 0, 0, 0}, -60); }

// The same rules as central_european(), in the absolute form: March 25 and October 25.
zone_record absolute_dates() {
  return make_record(-60, {2001, 10, 0, 25, 3, 0, 0, 0}, 0, {2001, 3, 0, 25, 2, 0, 0, 0}, -60);
}

std::tm local(int year, int mon, int mday, int hour, int min, int sec, int isdst) {
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

}  // namespace

using Localtime = tambre::test::zone_test;

TEST_F(Localtime, RangeEndsOnBothSidesOfGreenwich) {
  zone_from(fixed_zone(-60));
  std::tm f;
  ASSERT_TRUE(tt::local_fields(4102444799u, f));
  EXPECT_EQ(f.tm_year, 200);
  EXPECT_EQ(f.tm_mon, 0);
  EXPECT_EQ(f.tm_mday, 1);
  EXPECT_EQ(f.tm_yday, 0);
  EXPECT_EQ(f.tm_wday, 5);
  EXPECT_EQ(f.tm_hour, 0);
  EXPECT_EQ(f.tm_min, 59);
  EXPECT_EQ(f.tm_sec, 59);
  EXPECT_FALSE(tt::local_fields(4102444800u, f));

  zone_from(fixed_zone(300));
  ASSERT_TRUE(tt::local_fields(0, f));
  EXPECT_EQ(f.tm_year, 69);
  EXPECT_EQ(f.tm_mon, 11);
  EXPECT_EQ(f.tm_mday, 31);
  EXPECT_EQ(f.tm_yday, 364);
  EXPECT_EQ(f.tm_wday, 3);
  EXPECT_EQ(f.tm_hour, 19);
  EXPECT_EQ(f.tm_min, 0);
}

// Near both ends the offset is taken off the fields directly; the result must still be
// the calendar of t - offset, for zones from UTC-12 to UTC+14.
TEST_F(Localtime, RangeEndFormAgreesWithCalendar) {
  for (int bias = -840; bias <= 720; bias += 30) {
    zone_from(fixed_zone(bias));
    auto check = [&](tt::time_value t) {
      std::tm f;
      ASSERT_TRUE(tt::local_fields(t, f)) << bias << " " << t;
      std::int64_t local = static_cast<std::int64_t>(t) - bias * 60;
      std::int64_t days = local >= 0 ? local / 86400 : -((-local + 86399) / 86400);
      auto c = civil_from_days(days);
      std::int64_t second = local - days * 86400;
      ASSERT_EQ(f.tm_year + 1900, c.year) << bias << " " << t;
      ASSERT_EQ(f.tm_mon + 1, static_cast<int>(c.month)) << bias << " " << t;
      ASSERT_EQ(f.tm_mday, static_cast<int>(c.day)) << bias << " " << t;
      ASSERT_EQ(f.tm_hour * 3600 + f.tm_min * 60 + f.tm_sec, second) << bias << " " << t;
      ASSERT_EQ(f.tm_wday, static_cast<int>(((days + 4) % 7 + 7) % 7)) << bias << " " << t;
      ASSERT_EQ(f.tm_yday, days - tambre::test::days_from_civil(c.year, 1, 1)) << bias << " " << t;
    };
    for (tt::time_value t = 0; t < 4 * 86400; t += 900) check(t);
    for (tt::time_value t = tt::last_time; t > tt::last_time - 4 * 86400; t -= 900) check(t);
  }
}

TEST_F(Localtime, CentralEuropeanRecordAroundChanges) {
  zone_from(tambre::test::central_european());
  const local_row rows[] = {
      {"winter", seconds_of(2024, 1, 15, 12), 2024, 1, 15, 13, 0, 0, 0},
      {"summer", seconds_of(2024, 7, 15, 12), 2024, 7, 15, 14, 0, 0, 1},
      {"before spring change", seconds_of(2024, 3, 31, 0, 59, 59), 2024, 3, 31, 1, 59, 59, 0},
      {"at spring change", seconds_of(2024, 3, 31, 1), 2024, 3, 31, 3, 0, 0, 1},
      {"before autumn change", seconds_of(2024, 10, 27, 0, 59, 59), 2024, 10, 27, 2, 59, 59, 1},
      {"at autumn change", seconds_of(2024, 10, 27, 1), 2024, 10, 27, 2, 0, 0, 0},
      {"2099 summer", seconds_of(2099, 7, 1), 2099, 7, 1, 2, 0, 0, 1},
  };
  for (const auto& r : rows) expect_local(r);
}

TEST_F(Localtime, SouthernHemisphere) {
  zone_from(southern());
  const local_row rows[] = {
      {"january is summer", seconds_of(2024, 1, 15), 2024, 1, 15, 11, 0, 0, 1},
      {"july is winter", seconds_of(2024, 7, 15), 2024, 7, 15, 10, 0, 0, 0},
      {"before the end", seconds_of(2024, 4, 6, 15, 59, 59), 2024, 4, 7, 2, 59, 59, 1},
      {"at the end", seconds_of(2024, 4, 6, 16), 2024, 4, 7, 2, 0, 0, 0},
      {"before the start", seconds_of(2024, 10, 5, 15, 59, 59), 2024, 10, 6, 1, 59, 59, 0},
      {"at the start", seconds_of(2024, 10, 5, 16), 2024, 10, 6, 3, 0, 0, 1},
      {"new year's eve", seconds_of(2024, 12, 31, 13), 2025, 1, 1, 0, 0, 0, 1},
  };
  for (const auto& r : rows) expect_local(r);
}

TEST_F(Localtime, AbsoluteFormAppliesToEveryYear) {
  zone_from(absolute_dates());
  const local_row rows[] = {
      {"2030 before", seconds_of(2030, 3, 25, 0, 59, 59), 2030, 3, 25, 1, 59, 59, 0},
      {"2030 at", seconds_of(2030, 3, 25, 1), 2030, 3, 25, 3, 0, 0, 1},
      {"1999 end", seconds_of(1999, 10, 25, 1), 1999, 10, 25, 2, 0, 0, 0},
  };
  for (const auto& r : rows) expect_local(r);
}

TEST_F(Localtime, NoDaylightSavingZone) {
  zone_from(fixed_zone(-330));
  expect_local({"july", seconds_of(2024, 7, 1), 2024, 7, 1, 5, 30, 0, 0});
  EXPECT_EQ(*tambre_getdaylight(), 0);
  EXPECT_EQ(*tambre_getdstbias(), 0);
  EXPECT_EQ(*tambre_gettimezone(), -19800);
}

// TZ in use: daylight time from the first Sunday of April 02:00 to the last Sunday of
// October 02:00 daylight time, with the DST bias the state had.
TEST_F(Localtime, TzRuleIsFixed) {
  source.use_tz("CET-1CEST");
  tt::read_zone();
  const local_row rows[] = {
      {"march is winter", seconds_of(2024, 3, 31, 12), 2024, 3, 31, 13, 0, 0, 0},
      {"before april change", seconds_of(2024, 4, 7, 0, 59, 59), 2024, 4, 7, 1, 59, 59, 0},
      {"at april change", seconds_of(2024, 4, 7, 1), 2024, 4, 7, 3, 0, 0, 1},
      {"before october change", seconds_of(2024, 10, 26, 23, 59, 59), 2024, 10, 27, 1, 59, 59, 1},
      {"at october change", seconds_of(2024, 10, 27, 0), 2024, 10, 27, 1, 0, 0, 0},
  };
  for (const auto& r : rows) expect_local(r);
}

TEST_F(Localtime, ThreadBufferAndNull) {
  zone_from(fixed_zone(0));
  tambre_time_t a = 0, b = 86400;
  std::tm* first = tambre_localtime(&a);
  std::tm* second = tambre_gmtime(&b);
  EXPECT_EQ(first, second) << "gmtime and localtime share the thread's buffer";
  EXPECT_EQ(second->tm_mday, 2);
  EXPECT_EQ(tambre_localtime(nullptr), nullptr);
  tambre_time_t past = 4102444800u;
  EXPECT_EQ(tambre_localtime(&past), nullptr);
  EXPECT_EQ(tambre_ctime(&past), nullptr);
  EXPECT_STREQ(tambre_ctime(&a), "Thu Jan 01 00:00:00 1970\n");
}

TEST_F(Localtime, FirstConversionReadsZoneOnce) {
  source.use_record(tambre::test::central_european());
  tambre_time_t t = static_cast<tambre_time_t>(seconds_of(2024, 1, 1));
  ASSERT_NE(tambre_localtime(&t), nullptr);
  EXPECT_EQ(tambre_localtime(&t)->tm_hour, 1);
  EXPECT_EQ(source.zone_queries, 1);
  EXPECT_EQ(*tambre_gettimezone(), -3600);
  int* offset = tambre_gettimezone();
  source.use_record(fixed_zone(300));
  tambre_tzset_();
  EXPECT_EQ(*offset, 18000) << "the accessor hands out the live value";
}

// ---- mktime ----

using Mktime = tambre::test::zone_test;

TEST_F(Mktime, FoldsAndFails) {
  zone_from(tambre::test::central_european());
  std::tm f = local(2024, 1, 1, 0, 0, 0, -1);
  f.tm_year = 68;
  EXPECT_EQ(tt::make_local(f), tt::no_time);

  f = local(2023, 15, 5, 12, 0, 0, -1);
  EXPECT_EQ(tt::make_local(f), seconds_of(2024, 3, 5, 11));
  EXPECT_EQ(f.tm_year, 124);
  EXPECT_EQ(f.tm_mon, 2);
  EXPECT_EQ(f.tm_wday, 2);

  f = local(2024, 0, 10, 12, 0, 0, -1);
  EXPECT_EQ(tt::make_local(f), seconds_of(2023, 12, 10, 11));
  EXPECT_EQ(f.tm_mon, 11);
  EXPECT_EQ(f.tm_year, 123);

  f = local(2100, 1, 1, 0, 59, 59, 0);
  EXPECT_EQ(tt::make_local(f), 4102444799u) << "the last second, east of Greenwich";
  f = local(2100, 1, 1, 1, 0, 0, 0);
  EXPECT_EQ(tt::make_local(f), tt::no_time);
  EXPECT_EQ(tambre_mktime(nullptr), tt::no_time);
}

TEST_F(Mktime, DaylightFlagOfCaller) {
  zone_from(tambre::test::central_european());
  struct row {
    const char* name;
    std::tm in;
    std::int64_t expected;
    int isdst;
  } rows[] = {
      {"summer, unknown", local(2024, 7, 1, 12, 0, 0, -1), seconds_of(2024, 7, 1, 10), 1},
      {"winter, unknown", local(2024, 1, 1, 12, 0, 0, -1), seconds_of(2024, 1, 1, 11), 0},
      {"summer, said standard", local(2024, 7, 1, 12, 0, 0, 0), seconds_of(2024, 7, 1, 11), 1},
      {"winter, said daylight", local(2024, 1, 1, 12, 0, 0, 1), seconds_of(2024, 1, 1, 10), 0},
      // The skipped hour: read as daylight time, an hour earlier than its standard reading.
      {"skipped hour", local(2024, 3, 31, 2, 30, 0, -1), seconds_of(2024, 3, 31, 0, 30), 0},
      // The repeated hour: read as standard time, its second occurrence.
      {"repeated hour", local(2024, 10, 27, 2, 30, 0, -1), seconds_of(2024, 10, 27, 1, 30), 0},
  };
  for (auto& r : rows) {
    std::tm f = r.in;
    EXPECT_EQ(tt::make_local(f), static_cast<tt::time_value>(r.expected)) << r.name;
    EXPECT_EQ(f.tm_isdst, r.isdst) << r.name;
  }
}

// ---- the current time and the millisecond clock ----

using CurrentTime = tambre::test::zone_test;

TEST_F(CurrentTime, LocalClockTurnedIntoUtc) {
  source.use_record(tambre::test::central_european(), 1);
  source.local = {2024, 3, 5, 8, 4, 9, 0};
  source.utc = {2024, 3, 5, 7, 4, 9, 0};
  tambre_time_t stored = 0;
  EXPECT_EQ(tambre_time(&stored), seconds_of(2024, 3, 5, 7, 4, 9));
  EXPECT_EQ(stored, seconds_of(2024, 3, 5, 7, 4, 9));
  EXPECT_EQ(tambre_time(nullptr), seconds_of(2024, 3, 5, 7, 4, 9));
}

TEST_F(CurrentTime, DaylightIndicatorOncePerMinute) {
  source.use_record(tambre::test::central_european(), tambre::sys::zone_daylight_now);
  source.local = {2024, 7, 1, 14, 0, 0, 0};
  source.utc = {2024, 7, 1, 12, 0, 0, 0};
  EXPECT_EQ(tambre_time(nullptr), seconds_of(2024, 7, 1, 12));
  int queries = source.zone_queries;
  source.local.second = source.utc.second = 30;
  EXPECT_EQ(tambre_time(nullptr), seconds_of(2024, 7, 1, 12, 0, 30));
  EXPECT_EQ(source.zone_queries, queries) << "same UTC minute: no new query";
  source.local.minute = source.utc.minute = 1;
  source.zone.status = 1;  // the platform says standard time now: its word counts
  EXPECT_EQ(tambre_time(nullptr), seconds_of(2024, 7, 1, 13, 1, 30));
  EXPECT_EQ(source.zone_queries, queries + 1);
}

TEST_F(CurrentTime, FailingQueryUsesOwnRule) {
  zone_from(tambre::test::central_european());
  source.zone.status = tambre::sys::zone_query_failed;
  source.local = {2031, 7, 1, 14, 0, 0, 0};
  source.utc = {2031, 7, 1, 12, 0, 0, 0};
  EXPECT_EQ(tambre_time(nullptr), seconds_of(2031, 7, 1, 12));
  source.local = {2031, 1, 1, 14, 0, 0, 0};
  source.utc = {2031, 1, 1, 13, 0, 0, 0};
  EXPECT_EQ(tambre_time(nullptr), seconds_of(2031, 1, 1, 13));
}

TEST_F(CurrentTime, ClockOutsideRangeGivesNoTime) {
  source.use_record(fixed_zone(0), 0);
  for (int year : {1969, 2100}) {
    source.local = {year, 6, 1, 0, 0, 0, 0};
    source.utc = {year, 6, 1, 0, 0, year % 60, 0};
    tambre_time_t stored = 5;
    EXPECT_EQ(tambre_time(&stored), tt::no_time) << year;
    EXPECT_EQ(stored, tt::no_time) << year;
  }
  source.local = {2099, 12, 31, 23, 59, 59, 0};
  EXPECT_EQ(tambre_time(nullptr), 4102444799u);
}

TEST_F(CurrentTime, MillisecondClock) {
  zone_from(tambre::test::central_european());
  const std::int64_t t = seconds_of(2024, 3, 5, 7, 4, 9);
  source.file_time = static_cast<std::uint64_t>(t + 11644473600LL) * 10000000ull + 1234567;  // .1234567 s
  tambre_timeb tb{};
  tambre_ftime(&tb);
  EXPECT_EQ(tb.time, static_cast<tambre_time_t>(t));
  EXPECT_EQ(tb.millitm, 123);
  EXPECT_EQ(tb.timezone, -60);
  EXPECT_EQ(tb.dstflag, -1);
  tambre_ftime(nullptr);
}
