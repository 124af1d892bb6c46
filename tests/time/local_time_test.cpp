// The zone read from a record or from TZ, its transitions, local breakdown and the way
// back, the current time and the clocks, on injected sources; natively against glibc's
// rules for the same zones.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "fake_time_source.h"
#include "time/time_exports.h"

namespace tt = tambre::time;
using tambre::sys::zone_date;
using tambre::test::central_european;
using tambre::test::days_from_civil;
using tambre::test::fixed_zone;
using tambre::test::make_record;
using tambre::test::same_fields;
using tambre::test::seconds_of;
using tambre::test::tm_of;

using Zone = tambre::test::zone_test;

namespace {
std::string zone_text() {
  const auto& z = tt::zone();
  return std::to_string(z.offset) + " " + std::to_string(z.daylight) + " " + std::to_string(z.dst_bias) + " " +
         z.standard_name + "/" + z.daylight_name + (z.record_valid ? " record" : "");
}
}  // namespace

TEST_F(Zone, FromRecord) {
  tt::ensure_zone();
  EXPECT_EQ(zone_text(), "28800 1 -3600 PST/PDT") << "a failing first query keeps the initial values";
  struct row {
    const char* name;
    tambre::sys::zone_record record;
    const char* expected;
  } rows[] = {
      {"central european", central_european(), "-3600 1 -3600 W. Europe Standard Time/W. Europe Daylight Time record"},
      {"no daylight date", fixed_zone(300), "18000 0 0 Fixed/Fixed record"},
      {"daylight date, zero bias", make_record(-60, {0, 10, 0, 5, 3, 0, 0, 0}, 0, {0, 3, 0, 5, 2, 0, 0, 0}, 0),
       "-3600 0 0 Standard/Daylight record"},
      {"standard bias with a standard date",
       make_record(300, {0, 11, 0, 1, 2, 0, 0, 0}, 10, {0, 3, 0, 2, 2, 0, 0, 0}, -50),
       "18600 1 -3600 Standard/Daylight record"},
      {"standard bias without a standard date", make_record(300, {}, 10, {}, 0), "18000 0 0 Standard/Daylight record"},
  };
  for (const auto& r : rows) {
    zone_from(r.record);
    EXPECT_EQ(zone_text(), r.expected) << r.name;
  }
  auto wide = fixed_zone(0);  // names narrowed: Latin-1 kept, anything beyond '?'
  wide.standard_name[0] = 0xFF;
  wide.standard_name[1] = 0x100;
  zone_from(wide);
  EXPECT_EQ(std::string(tt::zone().standard_name), "\xff?xed");
  for (auto& c : wide.standard_name) c = u'A';  // 32 characters, no terminator
  wide.standard_date.year = 'B';
  zone_from(wide);
  EXPECT_EQ(std::string(tt::zone().standard_name), std::string(32, 'A'));
}

// A TZ text leaves the DST bias alone, never uses the record, and is parsed once.
TEST_F(Zone, FromTz) {
  for (auto [tz, expected] : {std::pair{"CET-1CEST", "-3600 67 -3600 CET/CES"},
                              {"IST-5:30", "-19800 0 -3600 IST/"},
                              {"ABC+3:15:29XYZ", "11729 88 -3600 ABC/XYZ"},
                              {"UTC", "0 0 -3600 UTC/"}}) {
    tt::reset_zone_for_test();
    source.use_tz(tz);
    tt::read_zone();
    EXPECT_EQ(zone_text(), expected) << tz;
  }
  tt::reset_zone_for_test();
  source.tz_set = false;
  zone_from(make_record(-600, {0, 4, 0, 1, 3, 0, 0, 0}, 0, {0, 10, 0, 1, 2, 0, 0, 0}, -120));
  source.use_tz("CET-1CEST");
  tt::read_zone();
  EXPECT_EQ(zone_text(), "-3600 67 -7200 CET/CES");
  tt::zone().offset = 42;
  tt::read_zone();
  EXPECT_EQ(tt::zone().offset, 42) << "the same text is not read again";
  source.use_tz("EST5EDT");
  tt::read_zone();
  EXPECT_EQ(tt::zone().offset, 18000);
}

// The common forms are the glibc comparison's below; here seconds, milliseconds and the
// end given in daylight time.
TEST(Transition, TimeOfDayAndEndInDaylightTime) {
  auto yday = [](int y, unsigned m, unsigned d) { return days_from_civil(y, m, d) - days_from_civil(y, 1, 1); };
  struct row {
    zone_date date;
    bool is_end;
    int dst_bias;
    std::int64_t yday;
    int ms;
  } rows[] = {
      {{0, 2, 6, 4, 1, 2, 3, 4}, false, 0, yday(2024, 2, 24), 3723004},
      {{0, 10, 0, 5, 0, 30, 0, 0}, true, -3600, yday(2024, 10, 26), 84600000},
      {{0, 10, 0, 5, 23, 30, 0, 0}, true, 3600, yday(2024, 10, 28), 1800000},
  };
  for (const auto& r : rows) {
    auto t = tt::transition_of(124, r.date, r.is_end, r.dst_bias);
    EXPECT_EQ(t.yday, r.yday) << r.date.hour;
    EXPECT_EQ(t.ms, r.ms) << r.date.hour;
  }
}

using Localtime = tambre::test::zone_test;

// Near both ends the offset is taken off the fields directly, from UTC-12 to UTC+14.
TEST_F(Localtime, RangeEndsAgreeWithCalendar) {
  for (int bias = -840; bias <= 720; bias += 30) {
    zone_from(fixed_zone(bias));
    auto check = [&](tt::time_value t) {
      std::tm f;
      ASSERT_TRUE(tt::local_fields(t, f)) << bias << " " << t;
      ASSERT_TRUE(same_fields(f, tambre::test::civil_tm(static_cast<std::int64_t>(t) - bias * 60))) << bias;
    };
    for (tt::time_value t = 0; t < 4 * 86400; t += 900) check(t);
    for (tt::time_value t = tt::last_time; t > tt::last_time - 4 * 86400; t -= 900) check(t);
    std::tm f;
    EXPECT_FALSE(tt::local_fields(tt::last_time + 1, f)) << bias;
  }
}

TEST_F(Localtime, ExportsShareTheThreadBufferAndReadTheZoneOnce) {
  source.use_record(central_european());
  tambre_time_t t = static_cast<tambre_time_t>(seconds_of(2024, 1, 1)), b = 86400, past = 4102444800u;
  ASSERT_NE(tambre_localtime(&t), nullptr);
  EXPECT_EQ(tambre_localtime(&t)->tm_hour, 1);
  EXPECT_EQ(source.zone_queries, 1);
  EXPECT_EQ(tambre_localtime(&t), tambre_gmtime(&b)) << "gmtime and localtime share the thread's buffer";
  EXPECT_EQ(tambre_localtime(nullptr), nullptr);
  EXPECT_EQ(tambre_localtime(&past), nullptr);
  EXPECT_EQ(tambre_ctime(&past), nullptr);
  EXPECT_STREQ(tambre_ctime(&b), "Fri Jan 02 01:00:00 1970\n");
  int* offset = tambre_gettimezone();
  EXPECT_EQ(*offset, -3600);
  source.use_record(fixed_zone(300));
  tambre_tzset_();
  EXPECT_EQ(*offset, 18000) << "the accessor hands out the live value";
}

TEST_F(Localtime, MktimeDaylightFlagFoldsAndLimits) {
  zone_from(central_european());
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
    std::tm f = r.in, local;
    const tt::time_value got = tt::make_local(f);
    EXPECT_EQ(got, static_cast<tt::time_value>(r.expected)) << r.name;
    if (r.expected >= 0 && tt::local_fields(got, local)) {
      EXPECT_TRUE(same_fields(f, local)) << r.name;
    }
  }
  EXPECT_EQ(tambre_mktime(nullptr), tt::no_time);
}

TEST_F(Localtime, CurrentTimeFromTheLocalClock) {
  source.use_record(central_european(), 1);
  tambre_time_t stored = 0;
  EXPECT_EQ(tambre_time(&stored), seconds_of(2024, 3, 5, 7, 4, 9));
  EXPECT_EQ(stored, seconds_of(2024, 3, 5, 7, 4, 9));
  // Without the platform's word on daylight time now, the library's own rule decides.
  source.zone.status = tambre::sys::zone_query_failed;
  source.local = source.utc = {2031, 7, 1, 14, 0, 0, 0};
  EXPECT_EQ(tambre_time(nullptr), seconds_of(2031, 7, 1, 12));
  source.local = source.utc = {2031, 1, 1, 14, 0, 0, 0};
  EXPECT_EQ(tambre_time(nullptr), seconds_of(2031, 1, 1, 13));
  for (int year : {1969, 2100}) {
    source.local = {year, 6, 1, 0, 0, 0, 0};
    source.utc = {year, 6, 1, 0, 0, year % 60, 0};
    stored = 5;
    EXPECT_EQ(tambre_time(&stored), tt::no_time) << year;
    EXPECT_EQ(stored, tt::no_time) << year;
  }
  source.local = {2099, 12, 31, 23, 59, 59, 0};
  zone_from(fixed_zone(0));
  EXPECT_EQ(tambre_time(nullptr), 4102444799u);
}

TEST_F(Localtime, DaylightIndicatorOncePerMinute) {
  source.use_record(central_european(), tambre::sys::zone_daylight_now);
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
  source.local.second = source.utc.second = 45;
  EXPECT_EQ(tambre_time(nullptr), seconds_of(2024, 7, 1, 13, 1, 45)) << "the cached standard-time answer";
  EXPECT_EQ(source.zone_queries, queries + 1);
}

TEST_F(Localtime, MillisecondClock) {
  zone_from(central_european());
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

// Threads asking about different years while the zone is read again and again: a
// transition cache shared without care hands one thread another year's transitions.
TEST_F(Localtime, ConcurrentConversionsOfDifferentYears) {
  zone_from(central_european());
  std::vector<tt::time_value> times;
  for (int year = 2000; year < 2040; ++year)
    for (unsigned day = 24; day <= 31; ++day)
      for (int hour = 0; hour < 4; ++hour)
        for (unsigned month : {3u, 10u})
          times.push_back(static_cast<tt::time_value>(seconds_of(year, month, day, hour, 30)));
  std::vector<std::tm> expected(times.size());
  std::vector<tt::time_value> made(times.size());
  for (std::size_t i = 0; i < times.size(); ++i) {
    ASSERT_TRUE(tt::local_fields(times[i], expected[i]));
    std::tm back = expected[i];
    back.tm_isdst = -1;
    made[i] = tt::make_local(back);
  }
  std::atomic<int> mismatches{0};
  std::atomic<bool> converting{true};
  std::thread rereading([&] {
    while (converting.load()) tt::read_zone();
  });
  std::vector<std::thread> threads;
  for (std::size_t n = 0; n < 4; ++n) {
    threads.emplace_back([&, n] {
      for (int round = 0; round < 60; ++round) {
        for (std::size_t k = 0; k < times.size(); ++k) {
          std::size_t i = (k * 67 + n * 131) % times.size();
          std::tm f;
          tt::local_fields(times[i], f);
          std::tm back = f;
          back.tm_isdst = -1;
          if (!same_fields(f, expected[i]) || tt::make_local(back) != made[i]) ++mismatches;
        }
      }
    });
  }
  for (auto& t : threads) t.join();
  converting = false;
  rereading.join();
  EXPECT_EQ(mismatches.load(), 0);
}

TEST_F(Localtime, FirstConversionOnManyThreadsReadsZoneOnce) {
  source.use_record(central_european());
  source.query_delay_ms = 50;
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int n = 0; n < 8; ++n) {
    threads.emplace_back([&] {
      std::tm f;
      if (!tt::local_fields(static_cast<tt::time_value>(seconds_of(2024, 7, 1)), f) || f.tm_hour != 2) ++wrong;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(source.zone_queries, 1);
}

#if !defined(_WIN32)
using GlibcOracle = tambre::test::zone_test;

// Each zone record beside the glibc rule set it stands for, over the years the two agree
// on (glibc follows history before 2000, and in Sydney before 2008).
TEST_F(GlibcOracle, LocaltimeLikeGlibcRules) {
  const std::int64_t start = seconds_of(1970, 1, 4), end = tt::last_time - 3 * 86400;
  const struct {
    const char* rule;
    tambre::sys::zone_record record;
    const char* tz;  // a TZ text instead of the record
    std::int64_t from, to;
    int step;
  } rows[] = {
      {"Europe/Berlin", central_european(), nullptr, seconds_of(2000, 1, 1), seconds_of(2038, 1, 1), 900},
      {"CET-1CEST,M3.5.0,M10.5.0/3", central_european(), nullptr, seconds_of(2038, 1, 1), 4102444800LL, 1800},
      {"Australia/Sydney", make_record(-600, {0, 4, 0, 1, 3, 0, 0, 0}, 0, {0, 10, 0, 1, 2, 0, 0, 0}, -60), nullptr,
       seconds_of(2009, 1, 1), seconds_of(2038, 1, 1), 1800},
      // The absolute form, March 25 and October 25: glibc's days without February 29.
      {"CET-1CEST,J84/2,J298/3", make_record(-60, {2001, 10, 0, 25, 3, 0, 0, 0}, 0, {2001, 3, 0, 25, 2, 0, 0, 0}, -60),
       nullptr, start, end, 3600},
      // A TZ text has one fixed rule: the first Sunday of April to the last of October.
      {"CET-1CEST,M4.1.0/2,M10.5.0/2", {}, "CET-1CEST", start, end, 3600},
  };
  for (const auto& r : rows) {
    if (r.tz != nullptr) {
      tt::reset_zone_for_test();
      source.use_tz(r.tz);
      tt::read_zone();
    } else {
      zone_from(r.record);
    }
    tambre::test::glibc_zone rule(r.rule);
    for (std::int64_t t = r.from; t < r.to; t += r.step) {
      for (std::int64_t s : {t, t - 1}) {
        std::tm ours, theirs;
        std::time_t value = static_cast<std::time_t>(s);
        localtime_r(&value, &theirs);
        ASSERT_TRUE(tt::local_fields(static_cast<tt::time_value>(s), ours)) << s;
        ASSERT_TRUE(same_fields(ours, theirs)) << r.rule << " " << s;
      }
    }
  }
}

// mktime with tm_isdst -1 gives glibc's value back, but for the repeated hour (read as
// standard time) and the skipped hour (read as daylight time).
TEST_F(GlibcOracle, MktimeLikeEuropeBerlin) {
  zone_from(central_european());
  tambre::test::glibc_zone berlin("Europe/Berlin");
  for (std::int64_t t = seconds_of(2000, 1, 1); t < seconds_of(2038, 1, 1); t += 900) {
    std::time_t value = static_cast<std::time_t>(t), hour_later = value + 3600;
    std::tm theirs, later;
    localtime_r(&value, &theirs);
    localtime_r(&hour_later, &later);
    std::tm ours = theirs, wall = theirs;
    ours.tm_isdst = -1;
    ours.tm_wday = ours.tm_yday = -1;
    tt::time_value got = tt::make_local(ours);
    bool first_of_repeated = theirs.tm_isdst > 0 && later.tm_isdst == 0 && later.tm_hour == theirs.tm_hour;
    ASSERT_EQ(got, static_cast<tt::time_value>(first_of_repeated ? timegm(&wall) + tt::zone().offset : t)) << t;
    if (first_of_repeated) ours.tm_isdst = 1;  // the same wall time, an hour later
    ASSERT_TRUE(same_fields(ours, theirs)) << t;
  }
  for (int year = 2000; year <= 2099; ++year) {
    std::int64_t day = seconds_of(year, 3, 31) / 86400;
    day -= (day + 4) % 7;  // last Sunday of March
    auto c = tambre::test::civil_from_days(day);
    for (int minute = 0; minute < 60; minute += 5) {
      std::tm f = tm_of(year, 3, static_cast<int>(c.day), 2, minute, 0, -1);
      ASSERT_EQ(tt::make_local(f), static_cast<tt::time_value>(seconds_of(year, 3, c.day, 2, minute) - 7200)) << year;
    }
  }
}

// The native platform source turns glibc's zone into a record in the absolute form.
TEST(PosixTimeSource, ZoneRecordFromGlibcRules) {
  tambre::test::glibc_zone berlin("Europe/Berlin");
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
