// Period arithmetic in a Central European zone: the documented cases, and every day of
// 2000-2099 against the independent local time of fake_time_source.h.
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>

#include "fake_time_source.h"
#include "tambre32/periods.h"
#include "time/local_time.h"
#include "time/periods.h"
#include "time/zone_state.h"

using tambre::test::cet;
namespace tt = tambre::time;

namespace {

class Periods : public tambre::test::cet_clock_test {};

std::tm local_of(tt::time_value t) {
  std::tm f{};
  EXPECT_TRUE(tt::local_fields(t, f));
  return f;
}

}  // namespace

TEST_F(Periods, FloorAndCeiling) {
  struct row {
    const char* name;
    tt::time_value t;
    std::int32_t period;
    tt::time_value floor, ceil;
  };
  const row rows[] = {
      {"two hours in local winter time", cet(2024, 1, 10, 3, 30), 7200, cet(2024, 1, 10, 2), cet(2024, 1, 10, 4)},
      {"seven days from a thursday", cet(2024, 1, 10, 3, 30), 604800, cet(2024, 1, 4), cet(2024, 1, 11)},
      {"calendar week from monday", cet(2024, 1, 10, 3, 30), 604801, cet(2024, 1, 8), cet(2024, 1, 15)},
      {"month into daylight time", cet(2024, 3, 14, 10), 2635201, cet(2024, 3, 1), cet(2024, 4, 1)},
      {"shift on the spring change", cet(2024, 3, 31, 0, 30), 28800, cet(2024, 3, 31), cet(2024, 3, 31, 9)},
      {"four hours", cet(2024, 5, 2, 23, 59), 14400, cet(2024, 5, 2, 20), cet(2024, 5, 3, 0)},
      {"four hours over the autumn change", cet(2024, 10, 27, 3, 30), 14400, cet(2024, 10, 27), cet(2024, 10, 27, 3)},
      {"shift over the autumn change", cet(2024, 10, 27, 3, 30), 28800, cet(2024, 10, 27), cet(2024, 10, 27, 7)},
      {"quarter", cet(2024, 8, 20, 1), 7905601, cet(2024, 7, 1), cet(2024, 10, 1)},
      {"year", cet(2024, 8, 20, 1), 31557601, cet(2024, 1, 1), cet(2025, 1, 1)},
  };
  for (const row& r : rows) {
    EXPECT_EQ(tmFloor(r.t, r.period), r.floor) << r.name;
    EXPECT_EQ(tmCeil(r.t, r.period), r.ceil) << r.name;
  }
  EXPECT_EQ(tmFloor(cet(2024, 1, 1), 0), tt::no_time);
  EXPECT_EQ(tmCeil(cet(2024, 1, 1), -5), tt::no_time);
  EXPECT_EQ(tmFloor(tt::no_time, 86400), tt::no_time) << "a time that cannot be broken down stays";
  EXPECT_EQ(tmCeil(tt::no_time, 2635201), tt::no_time);
}

// Up to an hour, periods count from 1970 UTC; longer ones from local midnight.
TEST_F(Periods, ArithmeticPeriodsAlignOnUtc) {
  zone_from(tambre::test::fixed_zone(-343));  // UTC+5:43
  const tt::time_value t = 1700012345;
  for (std::int32_t p : {300, 600, 900, 1200, 1800, 3600}) {
    EXPECT_EQ(tmFloor(t, p), t - t % p) << p;
    EXPECT_EQ(tmCeil(t, p), t - t % p + p) << p;
  }
  EXPECT_EQ((tmFloor(t, 7200) + 343 * 60) % 7200, 0u) << "two hours from local midnight";
}

TEST_F(Periods, LengthsWithChangeoverCorrection) {
  struct row {
    const char* name;
    tt::time_value t;
    std::int32_t period;
    int flags;
    std::int32_t expected;
  };
  const row rows[] = {
      {"first shift of spring sunday", cet(2024, 3, 31), 28800, 1, 25200},
      {"second shift of spring sunday", cet(2024, 3, 31, 8), 28800, 1, 28800},
      {"second four hours of autumn sunday", cet(2024, 10, 27, 4), 14400, 1, 14400},
      {"changeover seven days", cet(2024, 3, 25), 604800, 1, 601200},
      {"autumn sunday uncorrected", cet(2024, 10, 27), 86400, 0, 86400},
      {"nominal month", cet(2024, 3, 10), 2635200, 1, 2674800},
      {"march uncorrected", cet(2024, 3, 10), 2635201, 0, 2678400},
      {"equidistant", cet(2024, 3, 31), 3600, 1, 3600},
      {"zero", cet(2024, 3, 31), 0, 1, 0},
      {"no time, a day", tt::no_time, 86400, 1, 86400},
      {"no time, a month", tt::no_time, 2635201, 1, -1},
  };
  for (const row& r : rows) EXPECT_EQ(tmPeriodLength(r.t, r.period, r.flags), r.expected) << r.name;
}

TEST_F(Periods, ChangeoverDaysAndQuantities) {
  EXPECT_EQ(tmIsDaylightDay(cet(2024, 3, 24, 12), nullptr), 0) << "a sunday, but not the last";
  std::tm sunday = local_of(cet(2024, 10, 27, 12));
  EXPECT_EQ(tmIsDaylightDay(0, &sunday), -1) << "the given fields are used instead of t";
  set_now(2024, 3, 31, 12, 0, 0);
  EXPECT_EQ(tmIsDaylightDay(tt::no_time, nullptr), 1) << "no time means now";

  const tt::time_value t = cet(2024, 2, 15, 13, 14, 15);  // a Thursday
  struct row {
    int code;
    tt::time_value t;
    int expected;
  };
  const row rows[] = {
      {0, t, 13 * 3600 + 14 * 60 + 15},
      {2, t, 14},
      {4, t, 15},
      {6, t, 2024},
      {7, t, 4},
      {8, t, 7},
      {11, t, 46},
      {12, t, 366},
      {13, t, 29},
      {14, t, static_cast<int>((t + 3600) / 86400)},
      {15, t, static_cast<int>(t + 3600)},
      {16, t, static_cast<int>(t)},
      {17, t, 3600},
      {18, t, 0},
      {18, cet(2024, 7, 1, 12), 1},
      {19, cet(2024, 7, 1, 12), static_cast<int>(cet(2024, 7, 1, 12) + 7200)},
      {20, t, -1},
      {23, cet(2024, 3, 31, 12), -3600},
      {23, cet(2024, 10, 27, 12), 3600},
      {23, t, 0},
      {24, cet(2024, 3, 31, 12), 6},
      {25, t, 46},
      {26, tt::no_time, -1},
      {100, t, -1},
      {207, cet(2024, 3, 31, 5), 82800},
      {211, t, 31622400},
      {212, t, -1},
      {300, t, static_cast<int>(cet(2024, 2, 15, 13, 14))},
      {307, t, static_cast<int>(cet(2024, 2, 15))},
      {27, t, -1},
  };
  for (const row& r : rows) EXPECT_EQ(tmv(r.code, r.t, nullptr), r.expected) << "code " << r.code;
  set_now(2024, 3, 5, 8, 4, 9);
  EXPECT_EQ(static_cast<tt::time_value>(tmv(26, t, nullptr)), cet(2024, 3, 5, 8, 4, 9)) << "now";
  EXPECT_EQ(tmv_dbl(17, t, nullptr), 3600.0);
  EXPECT_EQ(tmv_dbl(23, cet(2024, 3, 31, 12), nullptr), -3600.0);
  EXPECT_EQ(tmv_dbl(16, cet(2099, 1, 1), nullptr), static_cast<double>(cet(2099, 1, 1))) << "read as unsigned";
  EXPECT_EQ(tmv_dbl(27, t, nullptr), -1.0);
}

// Every day of the century: floor <= t <= ceil for every standard period, the calendar
// periods' corrected length is the time to the next start, and the changeover days are
// the days not 86,400 seconds long.
TEST_F(Periods, EveryDayOfTheCentury) {
  using tambre::test::civil_from_days;
  using tambre::test::days_from_civil;
  const std::int32_t calendar_periods[] = {86400, tt::period_week, tt::period_month, tt::period_quarter,
                                           tt::period_year};
  for (std::int64_t day = days_from_civil(2000, 1, 1); day <= days_from_civil(2099, 12, 30); ++day) {
    tambre::test::civil c = civil_from_days(day);
    tambre::test::civil n = civil_from_days(day + 1);
    const tt::time_value midnight = cet(c.year, c.month, c.day);
    const tt::time_value next_midnight = cet(n.year, n.month, n.day);
    // A time of day that moves through the day from one day to the next.
    const tt::time_value t = midnight + static_cast<tt::time_value>((day * 7919) % 82800);
    for (std::int32_t p : tt::standard_periods) {
      tt::time_value f = tmFloor(t, p), c2 = tmCeil(t, p);
      ASSERT_LE(f, t) << p << " at " << t;
      // Shifts and four-hour blocks end after their elapsed length: on the day that gains
      // an hour, the hour after that end still floors to the block it left.
      bool gained_hour = (p == 14400 || p == 28800) && f == midnight && next_midnight - midnight == 90000 &&
                         t - c2 <= 3600 && c2 == f + static_cast<tt::time_value>(p);
      // A period whose successor would start after 2099 has no next start: the ceiling
      // falls back to its start.
      bool last_period = c2 == f && static_cast<std::int64_t>(f) + tmPeriodLength(f, p, 0) > tt::last_time;
      ASSERT_TRUE(c2 >= t || gained_hour || last_period) << p << " at " << t;
      ASSERT_LT(c2 - f, 31622400u + 1) << p;
    }
    ASSERT_EQ(tmFloor(t, 86400), midnight);
    for (std::int32_t p : calendar_periods) {
      tt::time_value start = tmFloor(t, p);
      if (start != midnight) continue;  // each period once, at its start
      tt::time_value next = tmCeil(start + 1, p);
      if (next == start) {
        ASSERT_GT(static_cast<std::int64_t>(start) + tmPeriodLength(start, p, 0), tt::last_time) << "no next start";
        continue;
      }
      ASSERT_EQ(static_cast<tt::time_value>(tmPeriodLength(start, p, 1)), next - start) << p << " from " << start;
    }
    const tt::time_value length = next_midnight - midnight;
    const int expected = length == 82800 ? 1 : length == 90000 ? -1 : 0;
    ASSERT_EQ(tmIsDaylightDay(t, nullptr), expected) << c.year << "-" << c.month << "-" << c.day;
  }
}
