#include "time/calendar.h"

#include <cstring>

namespace tambre::time {

namespace {

// Adds with a check for signed 32-bit overflow.
bool add_checked(std::int32_t a, std::int32_t b, std::int32_t& out) { return !__builtin_add_overflow(a, b, &out); }
bool mul_checked(std::int32_t a, std::int32_t b, std::int32_t& out) { return !__builtin_mul_overflow(a, b, &out); }

}  // namespace

namespace {

// Month (0-11) of each day of the year, for common and leap years.
struct month_table {
  std::uint8_t month[2][366];
  constexpr month_table() : month{} {
    for (int leap = 0; leap < 2; ++leap) {
      int mon = 0;
      for (int yday = 0; yday < 365 + leap; ++yday) {
        while (mon < 11 && yday >= days_before_month[mon + 1] + (mon + 1 >= 2 ? leap : 0)) ++mon;
        month[leap][yday] = static_cast<std::uint8_t>(mon);
      }
    }
  }
};
constexpr month_table months{};

}  // namespace

bool gm_fields(time_value t, std::tm& out) {
  if (t > last_time) return false;
  // Whole four-year cycles of 1461 days from 1970; within a cycle the third year is
  // the leap year.
  time_value days = t / 86400;
  int second = static_cast<int>(t % 86400);
  int cycles = static_cast<int>(days / 1461);
  int rest = static_cast<int>(days % 1461);
  int in_cycle = rest < 730 ? rest / 365 : (rest < 1096 ? 2 : 3);
  static const int cycle_start[4] = {0, 365, 730, 1096};
  int yday = rest - cycle_start[in_cycle];
  int leap = in_cycle == 2 ? 1 : 0;
  int mon = months.month[leap][yday];
  out.tm_sec = second % 60;
  out.tm_min = second / 60 % 60;
  out.tm_hour = second / 3600;
  out.tm_mday = yday - days_before_month[mon] - (mon >= 2 ? leap : 0) + 1;
  out.tm_mon = mon;
  out.tm_year = 70 + cycles * 4 + in_cycle;
  out.tm_wday = static_cast<int>((days + 4) % 7);
  out.tm_yday = yday;
  out.tm_isdst = 0;
  return true;
}

bool minutes_of(std::tm& f, std::int32_t& minutes) {
  if (f.tm_year < 69 || f.tm_year > 200) return false;
  if (f.tm_mon < 0 || f.tm_mon > 11) {
    int year = f.tm_year + f.tm_mon / 12;
    int mon = f.tm_mon % 12;
    if (mon < 0) {
      mon += 12;
      --year;
    }
    f.tm_year = year;
    f.tm_mon = mon;
    if (year < 69 || year > 200) return false;
  }
  std::int32_t before = days_before_month[f.tm_mon] + (f.tm_mon >= 2 && f.tm_year % 4 == 0 ? 1 : 0);
  std::int32_t days, hours;
  if (!add_checked(days_to_year(f.tm_year) + before, f.tm_mday, days) || !add_checked(days, -1, days)) return false;
  if (!mul_checked(days, 24, hours) || !add_checked(hours, f.tm_hour, hours)) return false;
  if (!mul_checked(hours, 60, minutes) || !add_checked(minutes, f.tm_min, minutes)) return false;
  return minutes >= 0 && minutes <= 68374798;
}

time_value make_gm(std::tm& fields) {
  std::int32_t minutes;
  if (!minutes_of(fields, minutes)) return no_time;
  // Unsigned: the seconds may carry the count past the signed range, and a negative
  // tm_sec borrows correctly in modular arithmetic.
  time_value t = static_cast<time_value>(minutes) * 60u + static_cast<time_value>(fields.tm_sec);
  std::tm result;
  if (!gm_fields(t, result)) return no_time;
  fields = result;
  return t;
}

int week_of_year(int yday, int wday, int mode) {
  int j = ((370 - yday + wday) % 7 + 7) % 7;  // weekday of January 1, 0 = Monday
  switch (mode) {
    case 0:
    case 1:
      return (yday + j) / 7 + 1;
    case 2:
      if (j <= 3) {
        int week = (yday + j) / 7 + 1;
        return week == 53 ? 1 : week;
      } else {
        int week = (yday + j) / 7;
        if (week == 0) return j == 4 ? 1 : 52;
        return week;
      }
    default:
      return -1;
  }
}

bool gregorian_leap(int year) {
  int y = year + 1900;
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int days_of_month(int mon, int year) {
  static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mon < 0 || mon > 11) return 0;  // no such month: no days
  return lengths[mon] + (mon == 1 && gregorian_leap(year) ? 1 : 0);
}

void format_asctime(const std::tm& f, char* out) {
  static const char days[] = "SunMonTueWedThuFriSat";
  static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  // The fields are not checked. Names are picked modulo their count and numbers keep
  // their last two digits, so a wild field still gives 25 characters in the buffer.
  auto name = [&out](const char* table, int index, unsigned count, int at) {
    std::memcpy(out + at, table + 3 * (static_cast<unsigned>(index) % count), 3);
  };
  auto two = [&out](int value, int at) {
    unsigned v = static_cast<unsigned>(value < 0 ? -(value % 100) : value % 100);
    out[at] = static_cast<char>('0' + v / 10);
    out[at + 1] = static_cast<char>('0' + v % 10);
  };
  std::memcpy(out, "Sun Jan 00 00:00:00 0000\n", 26);
  name(days, f.tm_wday, 7, 0);
  name(months, f.tm_mon, 12, 4);
  two(f.tm_mday, 8);
  two(f.tm_hour, 11);
  two(f.tm_min, 14);
  two(f.tm_sec, 17);
  two(f.tm_year / 100 + 19, 20);
  two(f.tm_year % 100, 22);
}

}  // namespace tambre::time
