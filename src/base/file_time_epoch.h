#pragma once
// Windows file times count 100-ns units from 1601-01-01 UTC; time_t counts seconds from
// 1970-01-01 UTC.
#include <cstdint>

namespace tambre::base {

constexpr std::int64_t seconds_1601_to_1970 = 11644473600;
constexpr std::int64_t file_time_units_per_second = 10000000;
constexpr std::int64_t file_time_units_1601_to_1970 = seconds_1601_to_1970 * file_time_units_per_second;

}  // namespace tambre::base
