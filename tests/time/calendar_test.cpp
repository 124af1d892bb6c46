// UTC breakdown and the way back, week numbers, leap years and the text form, against the
// independent calendar of civil_oracle.h.
#include <gtest/gtest.h>

#include <cstring>

#include "civil_oracle.h"
#include "time/calendar.h"
#include "time/time_exports.h"

namespace tt = tambre::time;
using tambre::test::civil_tm;
using tambre::test::days_from_civil;
using tambre::test::same_fields;
using tambre::test::seconds_of;
using tambre::test::tm_of;

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
  EXPECT_EQ(tambre_gmtime(&past), nullptr);
  EXPECT_EQ(tambre_gmtime(nullptr), nullptr);
  EXPECT_EQ(tambre_mktimegm(nullptr), tt::no_time);
}

TEST(Mktimegm, FoldsAndLimits) {
  const struct {
    const char* name;
    std::tm in;
    std::int64_t expected;  // -1: no time
  } rows[] = {
      {"month 14 of 2023", tm_of(2023, 15, 5), seconds_of(2024, 3, 5)},
      {"day 0", tm_of(2024, 3, 0), seconds_of(2024, 2, 29)},
      {"negative seconds", tm_of(2024, 1, 1, 0, 0, -1), seconds_of(2023, 12, 31, 23, 59, 59)},
      {"past the end", tm_of(2100, 1, 1), -1},
      {"year 1968", tm_of(1968, 12, 31), -1},
      {"1969 carried into 1970", tm_of(1969, 12, 32, 1), 3600},
      {"day overflow", tm_of(2024, 1, 0x7FFFFFF0), -1},
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

// Mode 2 is ISO 8601 but for the year-end cases below; modes 0 and 1 count from the week
// of January 1.
TEST(WeekOfYear, EveryDayAgainstIsoWeeksWithMonthLengthsAndLeapYears) {
  for (tt::time_value t = 0; t <= tt::last_time; t += 86400) {
    std::tm f;
    tt::gm_fields(t, f);
    std::int64_t thursday = t / 86400 + 3 - (f.tm_wday + 6) % 7;  // decides the ISO year
    auto c = tambre::test::civil_from_days(thursday);
    int iso_week = static_cast<int>((thursday - days_from_civil(c.year, 1, 1)) / 7 + 1);
    int mode2 = lcWeekOfYear(&f, 2);
    int jan1 = ((f.tm_wday - f.tm_yday) % 7 + 7 + 6) % 7;  // 0 = Monday
    const int year = f.tm_year + 1900;
    const bool leap = days_from_civil(year, 3, 1) - days_from_civil(year, 2, 1) == 29;
    if (iso_week == 53 && f.tm_mon == 11) {
      EXPECT_EQ(mode2, 1) << t;
    } else if (iso_week >= 52 && f.tm_mon == 0) {
      EXPECT_EQ(mode2, jan1 == 4 ? 1 : 52) << t;
    } else if (iso_week == 1 && f.tm_mon == 11 && f.tm_mday == 31 && jan1 == 6 && leap) {
      EXPECT_EQ(mode2, 53) << t;
    } else {
      ASSERT_EQ(mode2, iso_week) << t;
    }
    ASSERT_EQ(lcWeekOfYear(&f, 0), (f.tm_yday + jan1) / 7 + 1) << t;
    ASSERT_EQ(lcWeekOfYear(&f, 1), lcWeekOfYear(&f, 0)) << t;
    auto next = f.tm_mon == 11 ? days_from_civil(year + 1, 1, 1) : days_from_civil(year, f.tm_mon + 2, 1);
    ASSERT_EQ(lcDaysOfMon(&f), next - days_from_civil(year, f.tm_mon + 1, 1)) << t;
    ASSERT_EQ(lcLeapYear(&f), leap ? 1 : 0) << t;
  }
  std::tm f = tm_of(2100, 2, 1), bad = tm_of(2023, 13, 1);
  EXPECT_EQ(lcLeapYear(&f) + lcDaysOfMon(&f), 28);
  EXPECT_EQ(lcDaysOfMon(&bad), 0);
  EXPECT_EQ(lcWeekOfYear(&f, 3), -1);
  EXPECT_EQ(lcWeekOfYear(nullptr, 0) + lcLeapYear(nullptr) + lcDaysOfMon(nullptr), -1);
}

TEST(Asctime, FixedForm) {
  std::tm f = tm_of(2024, 3, 5, 8, 4, 9);
  tt::make_gm(f);
  EXPECT_STREQ(tambre_asctime(&f), "Tue Mar 05 08:04:09 2024\n");
  f = tm_of(2100, 1, 1, 0, 59, 59);
  f.tm_wday = 5;
  EXPECT_STREQ(tambre_asctime(&f), "Fri Jan 01 00:59:59 2100\n") << "the local end";
  f.tm_mday = 12345;
  f.tm_wday = -3;
  f.tm_mon = 99;
  EXPECT_EQ(std::strlen(tambre_asctime(&f)), 25u);
  EXPECT_EQ(tambre_asctime(nullptr), nullptr);
}
