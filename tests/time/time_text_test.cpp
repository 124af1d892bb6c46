// Time stamps, relative expressions, durations and file times in a Central European zone
// and German, English and year-first locales.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "fake_time_source.h"
#include "support/temp_dir.h"
#include "support/test_locales.h"
#include "tambre32/timetext.h"
#include "time/time_text.h"

using tambre::locale::locale_snapshot;
using tambre::test::cet;
namespace tt = tambre::time;

namespace {

std::string format(tt::time_value t, int ms, unsigned flags, const locale_snapshot& locale) {
  char out[tt::time_text_size];
  std::memset(out, 'X', sizeof out);
  tt::format_time(out, t, ms, flags, locale);
  EXPECT_LT(std::strlen(out), tt::time_text_size);
  return out;
}

std::string duration(int msmode, double seconds, const locale_snapshot& locale = tambre::test::german_locale()) {
  char out[tt::duration_text_size];
  tt::format_duration(out, msmode, seconds, locale);
  return out;
}

class TimeText : public tambre::test::cet_clock_test {};

}  // namespace

TEST_F(TimeText, StampsSelectTheirFields) {
  struct row {
    const char* name;
    locale_snapshot locale;
    unsigned flags;
    const char* expected;
  };
  const row rows[] = {
      {"date and time", tambre::test::german_locale(), 0x007E, "05.03.2024 08:04:09"},
      {"everything", tambre::test::german_locale(), 0x00FF, "Di 05.03.2024 08:04:09.123"},
      {"day and month keep the separator", tambre::test::german_locale(), 0x0030, "05.03."},
      {"minutes and ms without seconds", tambre::test::german_locale(), 0x0005, "04"},
      {"year first", tambre::test::year_first_locale(), 0x007F, "2024.03.05 08:04:09.123"},
      {"year first without year", tambre::test::year_first_locale(), 0x0030, "03.05"},
  };
  for (const row& r : rows) {
    EXPECT_EQ(format(cet(2024, 3, 5, 8, 4, 9), 123, r.flags, r.locale), r.expected) << r.name;
  }
}

TEST_F(TimeText, NoTimeAndTheCurrentTime) {
  const locale_snapshot de = tambre::test::german_locale();
  EXPECT_EQ(format(tt::no_time, 0, 0x007E, de), "kein Wert");
  set_now(2031, 7, 14, 22, 30, 5);
  EXPECT_EQ(format(tt::no_time, 0, 0x017E, de), "14.07.2031 22:30:05") << "the current time, not kein Wert";
  EXPECT_EQ(format(0, 0, 0x017E, de), "14.07.2031 22:30:05");
  EXPECT_EQ(format(tt::last_time + 1, 0, 0x007E, de), "") << "beyond 2099 nothing can be broken down";
  EXPECT_EQ(format(cet(2024, 3, 5), 1999, 0x0003, de), "00.999") << "milliseconds mod 1000";
  EXPECT_EQ(format(cet(2024, 3, 5), -1999, 0x00FF, de).size(), 26u) << "the longest stamp stays 26 characters";
}

TEST_F(TimeText, StampsReadBackInEveryDateOrder) {
  const locale_snapshot locales[] = {tambre::test::german_locale(), tambre::test::english_locale(),
                                     tambre::test::year_first_locale()};
  std::mt19937 random(4);
  std::uniform_int_distribution<tt::time_value> any_time(cet(1970, 1, 2), cet(2099, 12, 30));
  for (const locale_snapshot& locale : locales) {
    // Every flag word with a full date and time: milliseconds and weekday optional.
    for (unsigned extra : {0x00u, 0x01u, 0x80u, 0x81u}) {
      for (int i = 0; i < 400; ++i) {
        tt::time_value t = any_time(random);
        std::string text = format(t, 250, 0x007E | extra, locale);
        const char* date = text.c_str() + ((extra & 0x80) != 0 ? 3 : 0);  // past "Di "
        // Strict reading takes no milliseconds; lenient reading ignores them.
        bool strict = (extra & 0x01) == 0;
        tt::time_value back = tt::scan_time(date, strict, locale);
        if (back != t) {
          // The hour repeated at the end of daylight time reads back as one of the two.
          EXPECT_EQ(format(back, 250, 0x007E | extra, locale), text) << locale.date_order;
          EXPECT_EQ(back + 3600, t) << text;
        }
        if ((extra & 0x01) != 0) {
          EXPECT_EQ(tt::scan_time(date, true, locale), tt::no_time) << text;
        }
      }
    }
  }
}

TEST_F(TimeText, ScanningDatesAndTimes) {
  set_now(2024, 3, 5, 14, 27, 31);
  struct row {
    const char* name;
    locale_snapshot locale;
    const char* text;
    bool strict;
    tt::time_value expected;
  };
  const locale_snapshot de = tambre::test::german_locale();
  const locale_snapshot en = tambre::test::english_locale();
  const row rows[] = {
      {"short year", de, "5.3.24", true, cet(2024, 3, 5)},
      {"year 70 is 1970", de, "5.3.70", true, cet(1970, 3, 5)},
      {"time only is today", de, "08:04", true, cet(2024, 3, 5, 8, 4)},
      {"surrounding blanks", de, "\t08:04\r ", true, cet(2024, 3, 5, 8, 4)},
      {"control 14 is no blank", de, "08:04\x0e", true, tt::no_time},
      {"empty is now", de, "", false, cet(2024, 3, 5, 14, 27, 31)},
      {"empty strict", de, "", true, tt::no_time},
      {"february 31 carries", de, "31.02.2024", true, cet(2024, 3, 2)},
      {"hour 24 strict", de, "5.3.2024 24:00", true, tt::no_time},
      {"hour 24 lenient", de, "5.3.2024 24:00", false, cet(2024, 3, 6)},
      {"month 13 strict", de, "5.13.2024", true, tt::no_time},
      {"month 13 lenient", de, "5.13.2024", false, cet(2025, 1, 5)},
      {"day only", de, "17.", true, cet(2024, 3, 17)},
      {"letter after a part", de, "5.3x.2024", true, tt::no_time},
      {"trailing text strict", de, "10:00:00 Uhr", true, tt::no_time},
      {"year 2101 in third place", de, "1.1.2101", true, tt::no_time},
      {"year 2200 lenient fails the calendar", de, "1.1.2200", false, tt::no_time},
      {"english order", en, "3/5/2024 08:04:09", true, cet(2024, 3, 5, 8, 4, 9)},
      {"english swapped fails", en, "13/12/2024", true, tt::no_time},
      {"year first", tambre::test::year_first_locale(), "2024.03.05", true, cet(2024, 3, 5)},
  };
  for (const row& r : rows) {
    EXPECT_EQ(tt::scan_time(r.text, r.strict, r.locale), r.expected) << r.name;
  }
}

TEST_F(TimeText, RelativeExpressions) {
  struct row {
    const char* name;
    int now[6];
    const char* text;
    tt::time_value expected;
  };
  const row rows[] = {
      {"now", {2024, 3, 5, 14, 27, 31}, "NOW", cet(2024, 3, 5, 14, 27, 31)},
      {"ninety seconds ago", {2024, 3, 5, 14, 27, 31}, "NOW-90S", cet(2024, 3, 5, 14, 26, 1)},
      {"hour plus two", {2024, 3, 5, 14, 27, 31}, "HOUR+2H", cet(2024, 3, 5, 16)},
      {"midnight yesterday", {2024, 3, 5, 14, 27, 31}, "DAY-1D", cet(2024, 3, 4)},
      {"last day of the month", {2024, 2, 10, 9, 0, 0}, "MONTH+1MO-1D", cet(2024, 2, 29)},
      {"shift at night", {2024, 3, 5, 23, 59, 0}, "SHIFT", cet(2024, 3, 5, 16)},
      {"week on a sunday", {2024, 3, 10, 12, 0, 0}, "WEEK", cet(2024, 3, 4)},
      {"month back from march", {2024, 3, 20, 12, 0, 0}, "MONTH-1MO", cet(2024, 2, 1)},
      {"a day across the spring change keeps midnight", {2024, 3, 30, 12, 0, 0}, "DAY+1D", cet(2024, 3, 31)},
      {"unknown keyword", {2024, 3, 5, 14, 27, 31}, "NOWX", tt::no_time},
      {"blank after the sign", {2024, 3, 5, 14, 27, 31}, "DAY - 1D", tt::no_time},
      {"unknown unit", {2024, 3, 5, 14, 27, 31}, "DAY-1Q", tt::no_time},
      {"beyond the range leaves the value", {2024, 3, 5, 14, 27, 31}, "DAY+999999999999D", cet(2024, 3, 5)},
  };
  for (const row& r : rows) {
    set_now(r.now[0], r.now[1], r.now[2], r.now[3], r.now[4], r.now[5]);
    EXPECT_EQ(tt::scan_relative_time(r.text), r.expected) << r.name;
  }
  EXPECT_EQ(tt::scan_relative_time(nullptr), tt::no_time);
}

TEST(DurationText, WrittenAndRead) {
  const struct {
    int msmode;
    double seconds;
    const char* expected;
  } written[] = {
      {-1, 93600.5, "1d 02:00:00.500"},
      {-1, -61.25, "-00:01:01.250"},
      {-1, 0.9996, "00:00:00.1000"},  // rounding to 1000 ms is not carried
      {0, 1.5, "00:00:01"},
      {1, 2.0, "00:00:02.000"},
      {1, 99999.0 * 86400 + 86399.9996, "99999d 23:59:59.1000"},
  };
  for (const auto& r : written) EXPECT_EQ(duration(r.msmode, r.seconds), r.expected) << r.seconds;
  EXPECT_EQ(duration(1, -(99999.0 * 86400 + 86399.9996)).size(), 21u);
  EXPECT_EQ(duration(-1, 3723.0, {".", ".", ",", ".", "DMY"}), "01.02.03") << "the locale's time separator";
  const struct {
    const char* text;
    double expected;
  } read[] = {{"10s", 10.0},     {"1:30", 90.0}, {"1m 2d 3", 33 * 86400.0 + 3},
              {"1:2:3:4", -1.0}, {"-5", -1.0},   {"1500ms", 1500.0},  // ms removed, not applied
              {"1,25", 1.25},    {"1.5.5", 0.0}, {"", -1.0}};
  for (const auto& r : read)
    EXPECT_DOUBLE_EQ(tt::scan_duration(r.text, tambre::test::german_locale()), r.expected) << r.text;
}

TEST(DurationText, RoundTripToTheMillisecond) {
  std::mt19937 random(7);
  std::uniform_int_distribution<long long> any_ms(-20000000000LL, 20000000000LL);
  for (const locale_snapshot& locale : {tambre::test::german_locale(), tambre::test::english_locale()}) {
    for (int i = 0; i < 2000; ++i) {
      double seconds = static_cast<double>(any_ms(random)) / 1000.0;
      std::string text = duration(1, seconds, locale);
      const char* magnitude = text.c_str() + (text[0] == '-' ? 1 : 0);  // the reader takes no sign
      EXPECT_NEAR(tt::scan_duration(magnitude, locale), std::fabs(seconds), 1e-6) << text;
    }
  }
}

TEST(FileTimes, UnitsToTimeValues) {
  const std::int64_t epoch = 116444736000000000;
  EXPECT_EQ(tt::time_of_file_units(epoch - 1), tt::no_time);
  EXPECT_EQ(tt::time_of_file_units(epoch + 19999999), 1u) << "fraction dropped";
  EXPECT_EQ(tt::time_of_file_units(epoch + 4102444799LL * 10000000), tt::last_time);
  EXPECT_EQ(tt::time_of_file_units(epoch + 4102444800LL * 10000000), tt::no_time);
}

namespace {
// Sets a file's write time to UTC second `utc` through the standard library's own clock.
void set_write_time(const std::string& path, std::int64_t utc) {
  auto file_now = std::filesystem::file_time_type::clock::now();
  auto system_now = std::chrono::system_clock::now();
  auto target = std::chrono::system_clock::time_point(std::chrono::seconds(utc));
  std::filesystem::last_write_time(
      path, file_now - std::chrono::duration_cast<std::filesystem::file_time_type::duration>(system_now - target));
}
}  // namespace

TEST(FileTimes, RealFiles) {
  tambre::test::temp_dir dir;
  std::string path = dir.file("stamp.txt");
  std::ofstream(path) << "x";
  set_write_time(path, 1700000000);
  // The two clocks of the standard library are read a moment apart.
  EXPECT_NEAR(static_cast<double>(FileTime(path.c_str())), 1700000000.0, 1.0);
  set_write_time(path, -86400);
  EXPECT_EQ(FileTime(path.c_str()), tt::no_time) << "written before 1970";
  EXPECT_EQ(FileTime(dir.file("missing.txt").c_str()), tt::no_time);
  EXPECT_EQ(FileTime(nullptr), tt::no_time);
}
