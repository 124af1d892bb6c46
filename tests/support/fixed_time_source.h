#pragma once
// A time source with a given zone record, fixed clocks and an optional TZ text, for the
// benchmarks and fuzz targets that run the calendar without the platform's zone and clock.
#include <cstdint>
#include <cstring>
#include <string>

#include "sys/platform.h"

namespace tambre::test {

// Central European rules: last Sunday of March 02:00 to last Sunday of October 03:00.
inline sys::zone_query central_european_zone() {
  sys::zone_query q{1, {}};
  q.record.bias = -60;
  q.record.standard_date = {0, 10, 0, 5, 3, 0, 0, 0};
  q.record.daylight_date = {0, 3, 0, 5, 2, 0, 0, 0};
  q.record.daylight_bias = -60;
  return q;
}

class fixed_time_source final : public sys::time_source {
 public:
  sys::zone_query zone = central_european_zone();
  sys::wall_clock local{2024, 1, 1, 0, 0, 0, 0};
  sys::wall_clock utc{2024, 1, 1, 0, 0, 0, 0};
  bool tz_set = false;
  std::string tz;

  sys::zone_query query_zone() override { return zone; }
  sys::wall_clock local_clock() override { return local; }
  sys::wall_clock utc_clock() override { return utc; }
  std::uint64_t utc_file_time() override { return 0; }
  bool tz_variable(char* buffer, std::size_t size) override {
    if (!tz_set || size == 0) return false;
    const std::size_t n = tz.size() < size - 1 ? tz.size() : size - 1;
    std::memcpy(buffer, tz.data(), n);
    buffer[n] = '\0';
    return true;
  }
};

}  // namespace tambre::test
