#include "frame/file_time.h"

#include <cmath>

namespace tambre::frame {

namespace {
// Signed, so that file times before 1970 come out negative and are refused.
std::int64_t seconds_since_1970(std::uint64_t file_time) {
  return (static_cast<std::int64_t>(file_time) - static_cast<std::int64_t>(kFileTimeEpoch1970)) /
         static_cast<std::int64_t>(kFileTimeTicksPerSecond);
}
bool in_time_t_range(std::int64_t s) { return s >= 0 && s <= 0xFFFFFFFELL; }
}  // namespace

std::uint64_t time_t_to_file_time(std::uint32_t time) {
  if (time == kNoTime) return 0;
  return time * kFileTimeTicksPerSecond + kFileTimeEpoch1970;
}

std::uint32_t file_time_to_time_t(std::uint64_t file_time) {
  const std::int64_t s = seconds_since_1970(file_time);
  return in_time_t_range(s) ? static_cast<std::uint32_t>(s) : kNoTime;
}

double file_time_to_seconds(std::uint64_t file_time) {
  const std::int64_t s = seconds_since_1970(file_time);
  if (!in_time_t_range(s)) return -1.0;
  const auto milliseconds = (file_time % kFileTimeTicksPerSecond) / 10000;
  return static_cast<double>(s) + static_cast<double>(milliseconds) / 1000.0;
}

std::uint64_t seconds_to_file_time(double seconds) {
  if (!(seconds >= 0.0)) return 0;  // negative (and NaN) input
  // The whole seconds keep their low 32 bits, as a time_t would.
  const auto whole =
      static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::fmod(std::trunc(seconds), 4294967296.0)));
  const auto milliseconds = static_cast<std::uint64_t>(std::trunc(std::fmod(seconds, 1.0) * 1000.0));
  return whole * kFileTimeTicksPerSecond + kFileTimeEpoch1970 + milliseconds * 10000;
}

}  // namespace tambre::frame
