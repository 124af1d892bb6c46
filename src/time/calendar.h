#pragma once
// Calendar arithmetic of the library's time value: unsigned 32-bit seconds since
// 1970-01-01 00:00:00 UTC, valid to 2099-12-31 23:59:59. Pure functions, no zone.

#include <cstdint>
#include <ctime>

namespace tambre::time {

using time_value = std::uint32_t;
constexpr time_value no_time = 0xFFFFFFFFu;
constexpr time_value last_time = 0xF48656FFu;  // 2099-12-31 23:59:59 UTC

// Days from 1970-01-01 to January 1 of `year` (years since 1900). Every year divisible
// by 4 counts as a leap year, which holds for the whole range.
constexpr std::int32_t days_to_year(int year) { return (year - 70) * 365 + (year - 69) / 4; }

// Days before month `mon` (0-11) of a common year.
inline constexpr std::int32_t days_before_month[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

// Breaks t down into UTC fields; false above last_time.
bool gm_fields(time_value t, std::tm& out);

// Steps 1-3 of the way back: checks and folds the fields (writing a folded month and year
// back), then counts minutes since 1970 of the fields read as UTC. False on a year out of
// range, a signed overflow or a minute count outside the range.
bool minutes_of(std::tm& fields, std::int32_t& minutes);

// Broken-down UTC to time value, normalising `fields`; no_time on failure.
time_value make_gm(std::tm& fields);

// Week number by mode (0/1 week 1 holds January 1, 2 near ISO 8601), -1 for other modes.
int week_of_year(int yday, int wday, int mode);
// Gregorian rule on tm_year + 1900.
bool gregorian_leap(int year);
// Days of month mon (0-11) of tm_year `year`, Gregorian.
int days_of_month(int mon, int year);

// The fixed text form "Tue Mar 05 08:04:09 2024\n" (25 characters) into out[26].
void format_asctime(const std::tm& fields, char* out);

}  // namespace tambre::time
