// Reading the zone from the platform's record or from TZ, and the transition rules.
#include <gtest/gtest.h>

#include <string>

#include "civil_oracle.h"
#include "fake_time_source.h"
#include "time/calendar.h"
#include "time/zone_state.h"

namespace tt = tambre::time;
using tambre::sys::zone_date;
using tambre::test::fixed_zone;
using tambre::test::make_record;
using tambre::test::zone_test;

using ZoneRead = zone_test;

namespace {
std::string zone_text() {
  const auto& z = tt::zone();
  return std::to_string(z.offset) + " " + std::to_string(z.daylight) + " " + std::to_string(z.dst_bias) + " " +
         z.standard_name + "/" + z.daylight_name + (z.record_valid ? " record" : "");
}
}  // namespace

TEST_F(ZoneRead, FailingFirstQueryKeepsInitialValues) {
  tt::ensure_zone();
  EXPECT_EQ(zone_text(), "28800 1 -3600 PST/PDT");
}

TEST_F(ZoneRead, RecordGivesOffsetBiasAndNames) {
  struct row {
    const char* name;
    tambre::sys::zone_record record;
    const char* expected;
  } rows[] = {
      {"central european", tambre::test::central_european(),
       "-3600 1 -3600 W. Europe Standard Time/W. Europe Daylight Time record"},
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
  // Names are narrowed character by character: Latin-1 kept, anything beyond it '?'.
  auto wide = fixed_zone(0);
  wide.standard_name[0] = 0xFF;
  wide.standard_name[1] = 0x100;
  zone_from(wide);
  EXPECT_EQ(std::string(tt::zone().standard_name), "\xff?xed");
}

// A TZ text leaves the DST bias alone and never uses the record.
TEST_F(ZoneRead, TzForms) {
  const struct {
    const char* tz;
    const char* expected;
  } rows[] = {
      {"CET-1CEST", "-3600 67 -3600 CET/CES"},
      {"IST-5:30", "-19800 0 -3600 IST/"},
      {"ABC+3:15:29XYZ", "11729 88 -3600 ABC/XYZ"},
      {"UTC", "0 0 -3600 UTC/"},
  };
  for (const auto& r : rows) {
    tt::reset_zone_for_test();
    source.use_tz(r.tz);
    tt::read_zone();
    EXPECT_EQ(zone_text(), r.expected) << r.tz;
  }
}

TEST_F(ZoneRead, TzLeavesDstBiasOfRecordAndSkipsSameText) {
  zone_from(make_record(-600, {0, 4, 0, 1, 3, 0, 0, 0}, 0, {0, 10, 0, 1, 2, 0, 0, 0}, -120));
  source.use_tz("CET-1CEST");
  tt::read_zone();
  EXPECT_EQ(zone_text(), "-3600 67 -7200 CET/CES");
  tt::zone().offset = 42;
  tt::read_zone();
  EXPECT_EQ(tt::zone().offset, 42);
  source.use_tz("EST5EDT");
  tt::read_zone();
  EXPECT_EQ(tt::zone().offset, 18000);
}

namespace {

int yday_of(int year, unsigned month, unsigned day) {
  return static_cast<int>(tambre::test::days_from_civil(year, month, day) - tambre::test::days_from_civil(year, 1, 1));
}

}  // namespace

TEST(Transition, WeekdayAndAbsoluteForms) {
  struct row {
    const char* name;
    int year;
    zone_date date;
    bool is_end;
    int dst_bias;
    int yday;
    int ms;
  } rows[] = {
      {"second Sunday of March 2009", 109, {0, 3, 0, 2, 2, 0, 0, 0}, false, -3600, yday_of(2009, 3, 8), 7200000},
      {"fourth Saturday of February leap", 124, {0, 2, 6, 4, 1, 2, 3, 4}, false, 0, yday_of(2024, 2, 24), 3723004},
      {"absolute March 25", 124, {2000, 3, 0, 25, 2, 0, 0, 0}, false, -3600, yday_of(2024, 3, 25), 7200000},
      {"end at 00:30 daylight", 124, {0, 10, 0, 5, 0, 30, 0, 0}, true, -3600, yday_of(2024, 10, 26), 84600000},
      {"end at 23:30 with +1h bias", 124, {0, 10, 0, 5, 23, 30, 0, 0}, true, 3600, yday_of(2024, 10, 28), 1800000},
      {"2100 is no leap year", 200, {0, 3, 0, 5, 2, 0, 0, 0}, false, -3600, yday_of(2100, 3, 28), 7200000},
  };
  for (const auto& r : rows) {
    auto t = tt::transition_of(r.year, r.date, r.is_end, r.dst_bias);
    EXPECT_EQ(t.yday, r.yday) << r.name;
    EXPECT_EQ(t.ms, r.ms) << r.name;
  }
}

// The fifth occurrence is the month's last, the first within the first seven days.
TEST(Transition, FifthIsLastAndFirstIsFirst) {
  for (int year = 70; year <= 199; ++year) {
    for (std::uint16_t month = 1; month <= 12; ++month) {
      for (std::uint16_t weekday = 0; weekday < 7; ++weekday) {
        auto last = tt::transition_of(year, {0, month, weekday, 5, 0, 0, 0, 0}, false, 0);
        auto first = tt::transition_of(year, {0, month, weekday, 1, 0, 0, 0, 0}, false, 0);
        std::int64_t jan1 = tambre::test::days_from_civil(1900 + year, 1, 1);
        std::int64_t month_start = tambre::test::days_from_civil(1900 + year, month, 1);
        std::int64_t next_month = month == 12 ? tambre::test::days_from_civil(1901 + year, 1, 1)
                                              : tambre::test::days_from_civil(1900 + year, month + 1, 1);
        std::int64_t last_day = jan1 + last.yday, first_day = jan1 + first.yday;
        ASSERT_EQ((last_day + 4) % 7, weekday);
        ASSERT_LT(last_day, next_month);
        ASSERT_GE(last_day + 7, next_month);
        ASSERT_EQ((first_day + 4) % 7, weekday);
        ASSERT_GE(first_day, month_start);
        ASSERT_LT(first_day, month_start + 7);
      }
    }
  }
}
