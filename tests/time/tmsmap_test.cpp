// tmsmap: the value's rules, calendar additions and floors in a Central European zone (the
// plain arithmetic goes through the DLL in time_dll_test.cpp).
#include <gtest/gtest.h>

#include "fake_time_source.h"
#include "tambre32/tmsmap.h"

namespace {
double cet(int year, unsigned mon, unsigned day, int hour = 0, int min = 0, int sec = 0) {
  return static_cast<double>(tambre::test::cet(year, mon, day, hour, min, sec));
}
}  // namespace

// -1 is the invalid value, seconds read as unsigned, milliseconds signed.
TEST(TmsmapValue, InvalidUnsignedMillisecondsAndComparisons) {
  EXPECT_EQ(static_cast<double>(tmsmap(tmsmap_long{-1})), -1.0);
  EXPECT_EQ(tmsmap::conv(-1, 500), -1.0);
  EXPECT_EQ(static_cast<double>(tmsmap(static_cast<tmsmap_long>(0xEE6B2800u))), 4000000000.0);
  EXPECT_EQ(static_cast<double>(tmsmap(tmsmap_long{10}, short{250})), 10.25);
  EXPECT_EQ(tmsmap::conv(10, -250), 9.75);
  tmsmap a(10.5);
  EXPECT_EQ(static_cast<double>(a * tmsmap_long{-1}), -1.0);
  EXPECT_EQ(static_cast<double>(tmsmap(2.0) * static_cast<tmsmap_long>(0x80000000u)), 4294967296.0);
  EXPECT_EQ(static_cast<double>(a / tmsmap_long{250}), 42.0) << "250 ms intervals in 10.5 s";
  for (auto [v, seconds] : {std::pair{-1.0, -1}, {-0.5, -1}, {0.5, 0}, {1.9, 1}}) EXPECT_EQ(!tmsmap(v), seconds) << v;
  EXPECT_EQ(!tmsmap(4000000000.0), static_cast<tmsmap_long>(0xEE6B2800u));
  EXPECT_EQ(~tmsmap(10.5), 500);
  EXPECT_EQ(~tmsmap(1712345678.125), 125);
  tmsmap one(1.0), two(2.0), invalid(-1.0);
  EXPECT_FALSE(one.gt(two) || one.eq(two));
  EXPECT_TRUE(invalid.lt(one)) << "the invalid value compares like any number";
}

using TmsmapCalendar = tambre::test::cet_clock_test;

TEST_F(TmsmapCalendar, AddAndSubtractCalendarUnits) {
  const struct {
    const char* name;
    double from;
    int days, weeks, months, quarters, years;
    bool subtract;
    double expected;
  } rows[] = {
      {"Jan 31 + 1 month, leap", cet(2024, 1, 31, 12), 0, 0, 1, 0, 0, false, cet(2024, 3, 2, 12)},
      {"Mar 31 - 1 month", cet(2024, 3, 31, 12), 0, 0, 1, 0, 0, true, cet(2024, 3, 2, 12)},
      {"Feb 29 + 1 year", cet(2024, 2, 29), 0, 0, 0, 0, 1, false, cet(2025, 3, 1)},
      {"changeover day + 1 day: 23 hours", cet(2024, 3, 31), 1, 0, 0, 0, 0, false, cet(2024, 4, 1)},
      {"autumn change + 1 day: 25 hours", cet(2024, 10, 27), 1, 0, 0, 0, 0, false, cet(2024, 10, 28)},
      {"Dec 31 + 1 day", cet(2023, 12, 31, 23, 59, 59), 1, 0, 0, 0, 0, false, cet(2024, 1, 1, 23, 59, 59)},
      {"Jan 15 - 14 months", cet(2024, 1, 15), 0, 0, 14, 0, 0, true, cet(2022, 11, 15)},
      {"Nov 30 + 1 quarter", cet(2023, 11, 30), 0, 0, 0, 1, 0, false, cet(2024, 3, 1)},
      {"everything at once", cet(2020, 1, 1), 1, 1, 1, 1, 1, false, cet(2021, 5, 9)},
      {"milliseconds survive", 1000.25, 1, 0, 0, 0, 0, false, 87400.25},
  };
  for (const auto& r : rows) {
    tmsmap v(r.from);
    EXPECT_TRUE(r.subtract ? v.subne(r.days, r.weeks, r.months, r.quarters, r.years)
                           : v.addne(r.days, r.weeks, r.months, r.quarters, r.years))
        << r.name;
    EXPECT_EQ(static_cast<double>(v), r.expected) << r.name;
  }
  // Failures keep the value.
  tmsmap invalid(-1.0), last(cet(2099, 12, 1, 12) + 0.5), beyond(4200000000.0);
  EXPECT_FALSE(invalid.addne(1, 0, 0, 0, 0));
  EXPECT_EQ(static_cast<double>(invalid), -1.0);
  EXPECT_FALSE(last.addne(0, 0, 1, 0, 0)) << "January 2100 is past the range";
  EXPECT_EQ(static_cast<double>(last), cet(2099, 12, 1, 12) + 0.5);
  EXPECT_FALSE(beyond.floorne(tmsmap::fm_day));
  EXPECT_EQ(static_cast<double>(beyond), 4200000000.0);
}

TEST_F(TmsmapCalendar, EveryFloorMode) {
  const double t = cet(2024, 5, 15, 9, 30, 45) + 0.75;  // a Wednesday
  const struct {
    const char* name;
    double from;
    tmsmap::floormode mode;
    double expected;
  } rows[] = {
      {"second", t, tmsmap::fm_second, t - 0.75},
      {"hour", t, tmsmap::fm_hour, cet(2024, 5, 15, 9)},
      {"minute", t, tmsmap::fm_minute, cet(2024, 5, 15, 9, 30, 0)},
      {"day", t, tmsmap::fm_day, cet(2024, 5, 15)},
      {"week from Wednesday", t, tmsmap::fm_week, cet(2024, 5, 13)},
      {"week from Sunday", cet(2024, 5, 19, 18), tmsmap::fm_week, cet(2024, 5, 13)},
      {"week across the spring change", cet(2024, 4, 2, 12), tmsmap::fm_week, cet(2024, 4, 1)},
      {"week back over the spring change", cet(2024, 3, 31, 12), tmsmap::fm_week, cet(2024, 3, 25)},
      {"month", t, tmsmap::fm_month, cet(2024, 5, 1)},
      {"quarter", t, tmsmap::fm_quarter, cet(2024, 4, 1)},
      {"year", t, tmsmap::fm_year, cet(2024, 1, 1)},
      {"isoyear 2021 lies after the value", cet(2021, 1, 2, 10), tmsmap::fm_isoyear, cet(2021, 1, 4)},
      {"isoyear 2020 (Wednesday Jan 1)", cet(2020, 6, 1), tmsmap::fm_isoyear, cet(2019, 12, 30)},
      {"isoyear 2022 (Saturday Jan 1)", cet(2022, 1, 1), tmsmap::fm_isoyear, cet(2022, 1, 3)},
      {"shift at 23:59", cet(2024, 1, 10, 23, 59), tmsmap::fm_shift, cet(2024, 1, 10, 16)},
      {"4 hours at 23:59", cet(2024, 1, 10, 23, 59), tmsmap::fm_4hours, cet(2024, 1, 10, 20)},
      {"unknown mode 12", t, static_cast<tmsmap::floormode>(12), cet(2024, 5, 1)},
  };
  for (const auto& r : rows) {
    tmsmap v(r.from);
    EXPECT_TRUE(v.floorne(r.mode)) << r.name;
    EXPECT_EQ(static_cast<double>(v), r.expected) << r.name;
  }
}

TEST_F(TmsmapCalendar, DaysPerMonth) {
  tmsmap feb(cet(2024, 2, 10));
  EXPECT_EQ(feb.daypermonth(), 29);
  EXPECT_EQ(feb.daypermonth(static_cast<tmsmap_long>(cet(2023, 2, 10))), 28);
  EXPECT_EQ(feb.daypermonth(static_cast<tmsmap_long>(cet(2024, 4, 30, 23, 30, 0))), 30);
  // Local time decides: 2024-01-31 23:30 UTC is February 1 in Central Europe.
  EXPECT_EQ(feb.daypermonth(static_cast<tmsmap_long>(tambre::test::seconds_of(2024, 1, 31, 23, 30))), 29);
  EXPECT_EQ(feb.daypermonth(static_cast<tmsmap_long>(0xF48656FFu + 30u * 86400u)), -1);
  EXPECT_EQ(tmsmap(-1.0).daypermonth(), -1);
}
