#pragma once
// Period arithmetic: the start of the period holding a time, the start of the next one,
// the length of a period including the hour gained or lost on changeover days, and
// calendar quantities by numeric code. A period is its length in seconds; lengths one
// second above a nominal calendar length name calendar periods.

#include <cstdint>
#include <ctime>

#include "time/calendar.h"

namespace tambre::time {

constexpr std::int32_t period_week = 604801;
constexpr std::int32_t period_month = 2635201;
constexpr std::int32_t period_quarter = 7905601;
constexpr std::int32_t period_year = 31557601;

// The standard period table the 200 and 300 codes of calendar_quantity index (0-11).
constexpr std::int32_t standard_periods[12] = {60,    600,   900,         1800,         3600,           14400,
                                               28800, 86400, period_week, period_month, period_quarter, period_year};

time_value period_floor(time_value t, std::int32_t period);
time_value period_ceil(time_value t, std::int32_t period);
// Bit 0 of flags applies the daylight-saving correction.
std::int32_t period_length(time_value t, std::int32_t period, int flags);
// 1 on the March changeover day, -1 on the October one, 0 otherwise. `local` (may be
// null) is t broken down into local time.
int daylight_day(time_value t, const std::tm* local);
// The quantity named by code; -1 for unknown codes or when t cannot be broken down.
std::int32_t calendar_quantity(int code, time_value t, const std::tm* local);
double calendar_quantity_double(int code, time_value t, const std::tm* local);

}  // namespace tambre::time
