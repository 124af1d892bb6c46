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
using tambre::test::civil_tm;
using tambre::test::fixed_zone;
using tambre::test::same_fields;
using tambre::test::seconds_of;
using tambre::test::tm_of;

using Localtime = tambre::test::zone_test;

// Near both ends the offset is taken off the fields directly, from UTC-12 to UTC+14.
TEST_F(Localtime, RangeEndFormAgreesWithCalendar) {
  for (int bias = -840; bias <= 720; bias += 30) {
    zone_from(fixed_zone(bias));
    auto check = [&](tt::time_value t) {
      std::tm f;
      ASSERT_TRUE(tt::local_fields(t, f)) << bias << " " << t;
      ASSERT_TRUE(same_fields(f, civil_tm(static_cast<std::int64_t>(t) - bias * 60))) << bias << " " << t;
    };
    for (tt::time_value t = 0; t < 4 * 86400; t += 900) check(t);
    for (tt::time_value t = tt::last_time; t > tt::last_time - 4 * 86400; t -= 900) check(t);
    std::tm f;
    EXPECT_FALSE(tt::local_fields(tt::last_time + 1, f)) << bias;
  }
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

using Mktime = Localtime;

TEST_F(Mktime, DaylightFlagFoldsAndLimits) {
  zone_from(tambre::test::central_european());
  struct row {
    const char* name;
    std::tm in;
    std::int64_t expected;  // -1: no time
  } rows[] = {
      {"summer, said standard", tm_of(2024, 7, 1, 12, 0, 0, 0), seconds_of(2024, 7, 1, 11)},
      {"winter, said daylight", tm_of(2024, 1, 1, 12, 0, 0, 1), seconds_of(2024, 1, 1, 10)},
      {"month 15 of 2023", tm_of(2023, 15, 5, 12, 0, 0, -1), seconds_of(2024, 3, 5, 11)},
      {"the last second, east of Greenwich", tm_of(2100, 1, 1, 0, 59, 59, 0), 4102444799},
      {"past the end", tm_of(2100, 1, 1, 1, 0, 0, 0), -1},
      {"year 1968", tm_of(1968, 1, 1, 0, 0, 0, -1), -1},
  };
  for (auto& r : rows) {
    std::tm f = r.in;
    const tt::time_value got = tt::make_local(f);
    EXPECT_EQ(got, static_cast<tt::time_value>(r.expected)) << r.name;
    std::tm local;
    if (r.expected >= 0 && tt::local_fields(got, local)) {
      EXPECT_TRUE(same_fields(f, local)) << r.name;
    }
  }
  EXPECT_EQ(tambre_mktime(nullptr), tt::no_time);
}

using CurrentTime = Localtime;

TEST_F(CurrentTime, LocalClockTurnedIntoUtc) {
  source.use_record(tambre::test::central_european(), 1);
  tambre_time_t stored = 0;
  EXPECT_EQ(tambre_time(&stored), seconds_of(2024, 3, 5, 7, 4, 9));
  EXPECT_EQ(stored, seconds_of(2024, 3, 5, 7, 4, 9));
  // Without the platform's word on daylight time now, the library's own rule decides.
  source.zone.status = tambre::sys::zone_query_failed;
  struct row {
    tambre::sys::wall_clock local;
    std::int64_t expected;
  } rows[] = {{{2031, 7, 1, 14, 0, 0, 0}, seconds_of(2031, 7, 1, 12)},
              {{2031, 1, 1, 14, 0, 0, 0}, seconds_of(2031, 1, 1, 13)}};
  for (const auto& r : rows) {
    source.local = source.utc = r.local;
    EXPECT_EQ(tambre_time(nullptr), r.expected) << r.local.month;
  }
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
