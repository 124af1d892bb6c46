#pragma once
// Windows file times (100 ns since 1601 UTC) against 32-bit time_t and fractional seconds.
#include <cstdint>
#include "base/file_time_epoch.h"

namespace tambre::frame {

constexpr std::uint64_t kFileTimeEpoch1970 = base::file_time_units_1601_to_1970;
constexpr std::uint64_t kFileTimeTicksPerSecond = base::file_time_units_per_second;
constexpr std::uint32_t kNoTime = 0xFFFFFFFFu;

std::uint64_t time_t_to_file_time(std::uint32_t time);
// kNoTime when the seconds since 1970 fall outside 0 .. 0xFFFFFFFE.
std::uint32_t file_time_to_time_t(std::uint64_t file_time);
// Whole seconds plus milliseconds / 1000; -1.0 outside the time_t range.
double file_time_to_seconds(std::uint64_t file_time);
// 0 for negative input; whole seconds are taken modulo 2^32.
std::uint64_t seconds_to_file_time(double seconds);

}  // namespace tambre::frame
