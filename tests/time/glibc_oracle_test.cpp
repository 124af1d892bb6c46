// The C library's zone rules as an outside oracle (native build): our localtime and
// mktime on a zone record equal to a rule set must match glibc's under the same rules.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <cstdlib>
#include <ctime>
#include <string>

#include "civil_oracle.h"
#include "fake_time_source.h"
#include "glibc_zone.h"
#include "time/calendar.h"
#include "time/local_time.h"

namespace tt = tambre::time;
using tambre::test::glibc_zone;
using tambre::test::seconds_of;

namespace {

// Our breakdown of every step-th second in [from, to) and of the second before each
// equals glibc's localtime_r.
void expect_localtime_like_glibc(std::int64_t from, std::int64_t to, int step) {
  for (std::int64_t t = from; t < to; t += step) {
    for (std::int64_t s : {t, t - 1}) {
      std::tm ours, theirs;
      std::time_t tt_ = static_cast<std::time_t>(s);
      localtime_r(&tt_, &theirs);
      ASSERT_TRUE(tt::local_fields(static_cast<tt::time_value>(s), ours)) << s;
      ASSERT_TRUE(tambre::test::same_fields(ours, theirs)) << s;
    }
  }
}

}  // namespace

using GlibcOracle = tambre::test::zone_test;

// Each zone record beside the glibc rule set it stands for, swept over the years the two
// agree on (glibc's zone database follows history before 2000 and in Sydney before 2008).
TEST_F(GlibcOracle, LocaltimeLikeGlibcRules) {
  const std::int64_t start = seconds_of(1970, 1, 4), end = tambre::time::last_time - 3 * 86400;
  const struct {
    const char* rule;
    tambre::sys::zone_record record;
    const char* tz;  // a TZ text instead of the record
    std::int64_t from, to;
    int step;
  } rows[] = {
      {"Europe/Berlin", tambre::test::central_european(), nullptr, seconds_of(2000, 1, 1), seconds_of(2038, 1, 1), 900},
      {"CET-1CEST,M3.5.0,M10.5.0/3", tambre::test::central_european(), nullptr, seconds_of(2038, 1, 1), 4102444800LL,
       1800},
      {"Australia/Sydney", tambre::test::make_record(-600, {0, 4, 0, 1, 3, 0, 0, 0}, 0, {0, 10, 0, 1, 2, 0, 0, 0}, -60),
       nullptr, seconds_of(2009, 1, 1), seconds_of(2038, 1, 1), 1800},
      // The absolute form, March 25 and October 25: glibc's days without February 29.
      {"CET-1CEST,J84/2,J298/3",
       tambre::test::make_record(-60, {2001, 10, 0, 25, 3, 0, 0, 0}, 0, {2001, 3, 0, 25, 2, 0, 0, 0}, -60), nullptr,
       start, end, 3600},
      // A TZ text has one fixed rule: the first Sunday of April to the last of October.
      {"CET-1CEST,M4.1.0/2,M10.5.0/2", {}, "CET-1CEST", start, end, 3600},
  };
  for (const auto& r : rows) {
    if (r.tz != nullptr) {
      tambre::time::reset_zone_for_test();
      source.use_tz(r.tz);
      tambre::time::read_zone();
    } else {
      zone_from(r.record);
    }
    glibc_zone rule(r.rule);
    SCOPED_TRACE(r.rule);
    expect_localtime_like_glibc(r.from, r.to, r.step);
  }
}

// mktime with tm_isdst -1 gives glibc's value back outside the skipped and repeated
// hour; inside them, the skipped hour reads as daylight time and the repeated hour as
// standard time.
TEST_F(GlibcOracle, MktimeLikeEuropeBerlin) {
  zone_from(tambre::test::central_european());
  glibc_zone berlin("Europe/Berlin");
  for (std::int64_t t = seconds_of(2000, 1, 1); t < seconds_of(2038, 1, 1); t += 900) {
    std::time_t tt_ = static_cast<std::time_t>(t);
    std::tm theirs;
    localtime_r(&tt_, &theirs);
    std::tm ours = theirs;
    ours.tm_isdst = -1;
    ours.tm_wday = ours.tm_yday = -1;
    tt::time_value got = tt::make_local(ours);
    std::tm wall = theirs;
    std::int64_t wall_as_utc = timegm(&wall);
    // The repeated hour: 02:00-02:59 local on the day daylight time ends.
    std::time_t hour_later = tt_ + 3600;
    std::tm later;
    localtime_r(&hour_later, &later);
    bool first_of_repeated = theirs.tm_isdst > 0 && later.tm_isdst == 0 && later.tm_hour == theirs.tm_hour;
    std::int64_t expected = first_of_repeated ? wall_as_utc + tt::zone().offset : t;
    ASSERT_EQ(got, static_cast<tt::time_value>(expected)) << t;
    if (first_of_repeated) ours.tm_isdst = 1;  // the same wall time, an hour later
    ASSERT_TRUE(tambre::test::same_fields(ours, theirs)) << t;
  }
  // The skipped hour of every year: wall time minus the offset and the DST bias.
  for (int year = 2000; year <= 2099; ++year) {
    std::int64_t day = seconds_of(year, 3, 31) / 86400;
    day -= (day + 4) % 7;  // last Sunday of March
    auto c = tambre::test::civil_from_days(day);
    for (int minute = 0; minute < 60; minute += 5) {
      std::tm f = tambre::test::tm_of(year, 3, static_cast<int>(c.day), 2, minute, 0, -1);
      std::int64_t wall = seconds_of(year, 3, c.day, 2, minute);
      ASSERT_EQ(tt::make_local(f), static_cast<tt::time_value>(wall - 3600 - 3600)) << year << " " << minute;
    }
  }
}

// The native platform source turns glibc's zone into a record in the absolute form.
TEST(PosixTimeSource, ZoneRecordFromGlibcRules) {
  glibc_zone berlin("Europe/Berlin");
  auto q = tambre::sys::platform_time_source().query_zone();
  ASSERT_NE(q.status, tambre::sys::zone_query_failed);
  const auto& r = q.record;
  EXPECT_EQ(std::to_string(r.bias) + " " + std::to_string(r.daylight_bias) + " " +
                std::to_string(r.daylight_date.month) + "/" + std::to_string(r.daylight_date.hour) + " " +
                std::to_string(r.standard_date.month) + "/" + std::to_string(r.standard_date.hour),
            "-60 -60 3/2 10/3");
  EXPECT_NE(r.daylight_date.year, 0);
  EXPECT_GE(r.daylight_date.day, 25);
}
#endif
