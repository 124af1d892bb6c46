// UTC breakdown and the way back, week numbers, leap years, the text form.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "civil_oracle.h"
#include "time/calendar.h"
#include "time/time_exports.h"

namespace tt = tambre::time;
using tambre::test::civil_tm;
using tambre::test::same_fields;
using tambre::test::seconds_of;

namespace {
std::tm fields(int year, int mon, int mday, int hour = 0, int min = 0, int sec = 0) {
  return tambre::test::tm_of(year, mon, mday, hour, min, sec);
}
}  // namespace

TEST(Gmtime, EveryHourAgainstCivilCalendarAndBack) {
  auto check = [](tt::time_value t) {
    std::tm f;
    ASSERT_TRUE(tt::gm_fields(t, f)) << t;
    ASSERT_TRUE(same_fields(f, civil_tm(t))) << t;
    std::tm back = f;
    back.tm_wday = back.tm_yday = -7;
    ASSERT_EQ(tt::make_gm(back), t);
    ASSERT_TRUE(same_fields(back, f));
  };
  for (tt::time_value t = 0; t <= tt::last_time - 3600; t += 3600) check(t + (t / 3600) % 3600);
  for (tt::time_value t = tt::last_time - 600; t != tt::last_time + 1; ++t) check(t);
  std::tm f;
  EXPECT_FALSE(tt::gm_fields(4102444800u, f));
  EXPECT_FALSE(tt::gm_fields(0xFFFFFFFFu, f));
  tambre_time_t past = 4102444800u;
  EXPECT_EQ(tambre_gmtime(nullptr), nullptr);
  EXPECT_EQ(tambre_gmtime(&past), nullptr);
  EXPECT_EQ(tambre_mktimegm(nullptr), tt::no_time);
}

struct fold_row {
  const char* name;
  std::tm in;
  std::int64_t expected;  // -1: no time
};

TEST(Mktimegm, FoldsAndLimits) {
  const fold_row rows[] = {
      {"month 14 of 2023", fields(2023, 15, 5), seconds_of(2024, 3, 5)},
      {"day 0", fields(2024, 3, 0), seconds_of(2024, 2, 29)},
      {"negative seconds", fields(2024, 1, 1, 0, 0, -1), seconds_of(2023, 12, 31, 23, 59, 59)},
      {"past the end", fields(2100, 1, 1), -1},
      {"year 1968", fields(1968, 12, 31), -1},
      {"1969 carried into 1970", fields(1969, 12, 32, 1), 3600},
      {"day overflow", fields(2024, 1, 0x7FFFFFF0), -1},
  };
  for (const auto& row : rows) {
    std::tm f = row.in;
    tt::time_value got = tt::make_gm(f);
    EXPECT_EQ(got, static_cast<tt::time_value>(row.expected)) << row.name;
    if (row.expected >= 0) {
      EXPECT_TRUE(same_fields(f, civil_tm(got))) << row.name << ": fields not normalised";
    }
  }
}

// Mode 2 is ISO 8601 but for the year-end cases below; mode 0 (and 1) counts from the
// week of January 1.
TEST(WeekOfYear, EveryDayAgainstIsoWeeks) {
  for (tt::time_value t = 0; t <= tt::last_time; t += 86400) {
    std::tm f;
    tt::gm_fields(t, f);
    // ISO 8601: the week's Thursday decides the year; week 1 holds its first Thursday.
    std::int64_t days = t / 86400;
    std::int64_t thursday = days + 3 - (f.tm_wday + 6) % 7;
    auto c = tambre::test::civil_from_days(thursday);
    int iso_week = static_cast<int>((thursday - tambre::test::days_from_civil(c.year, 1, 1)) / 7 + 1);
    int mode2 = lcWeekOfYear(&f, 2);
    int jan1 = ((f.tm_wday - f.tm_yday) % 7 + 7 + 6) % 7;  // 0 = Monday
    if (iso_week == 53 && f.tm_mon == 11) {
      EXPECT_EQ(mode2, 1) << t;
    } else if (iso_week >= 52 && f.tm_mon == 0) {
      EXPECT_EQ(mode2, jan1 == 4 ? 1 : 52) << t;
    } else if (iso_week == 1 && f.tm_mon == 11 && f.tm_mday == 31 && jan1 == 6 && tt::gregorian_leap(f.tm_year)) {
      EXPECT_EQ(mode2, 53) << t;
    } else {
      ASSERT_EQ(mode2, iso_week) << t;
    }
    ASSERT_EQ(lcWeekOfYear(&f, 0), (f.tm_yday + jan1) / 7 + 1) << t;
    ASSERT_EQ(lcWeekOfYear(&f, 1), lcWeekOfYear(&f, 0)) << t;
    auto first = tambre::test::days_from_civil(f.tm_year + 1900, f.tm_mon + 1, 1);
    auto next = f.tm_mon == 11 ? tambre::test::days_from_civil(f.tm_year + 1901, 1, 1)
                               : tambre::test::days_from_civil(f.tm_year + 1900, f.tm_mon + 2, 1);
    ASSERT_EQ(lcDaysOfMon(&f), next - first) << t;
  }
  std::tm f = fields(2024, 6, 15);
  EXPECT_EQ(lcWeekOfYear(&f, 3), -1);
  EXPECT_EQ(lcWeekOfYear(nullptr, 0), -1);
}

TEST(Calendar, LeapYearsAndBadMonths) {
  const struct { int year, leap; } rows[] = {{1900, 0}, {2000, 1}, {2100, 0}};
  for (const auto& r : rows) {
    std::tm f = fields(r.year, 2, 1);
    EXPECT_EQ(lcLeapYear(&f), r.leap) << r.year;
    EXPECT_EQ(lcDaysOfMon(&f), 28 + r.leap) << r.year;
  }
  std::tm bad = fields(2023, 13, 1);
  EXPECT_EQ(lcDaysOfMon(&bad), 0);
  EXPECT_EQ(lcLeapYear(nullptr), 0);
  EXPECT_EQ(lcDaysOfMon(nullptr), 0);
}

TEST(Asctime, FixedForm) {
  struct row {
    const char* name;
    std::tm in;
    const char* text;
  } rows[] = {
      {"leading zeros", fields(2024, 3, 5, 8, 4, 9), "Tue Mar 05 08:04:09 2024\n"},
      {"local end", fields(2100, 1, 1, 0, 59, 59), "Fri Jan 01 00:59:59 2100\n"},
  };
  for (auto& r : rows) {
    std::tm f = r.in;
    if (f.tm_year < 200)
      tt::make_gm(f);
    else
      f.tm_wday = 5;
    EXPECT_STREQ(tambre_asctime(&f), r.text) << r.name;
  }
  std::tm wild = fields(2024, 1, 1);
  wild.tm_mday = 12345;
  wild.tm_wday = -3;
  wild.tm_mon = 99;
  EXPECT_EQ(std::strlen(tambre_asctime(&wild)), 25u);
  EXPECT_EQ(tambre_asctime(nullptr), nullptr);
}
