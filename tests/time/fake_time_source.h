#pragma once
// A time source for tests: a given zone record (or a failing query), fixed clocks and a
// given TZ. Installing it resets the library's zone state to its initial values.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "sys/platform.h"
#include "time/local_time.h"
#include "time/zone_state.h"

namespace tambre::test {

inline sys::zone_record make_record(int bias, sys::zone_date standard, int standard_bias, sys::zone_date daylight,
                                    int daylight_bias, const char* standard_name = "Standard",
                                    const char* daylight_name = "Daylight") {
  sys::zone_record r{};
  r.bias = bias;
  r.standard_date = standard;
  r.standard_bias = standard_bias;
  r.daylight_date = daylight;
  r.daylight_bias = daylight_bias;
  for (int i = 0; standard_name[i] != '\0' && i < 31; ++i)
    r.standard_name[i] = static_cast<unsigned char>(standard_name[i]);
  for (int i = 0; daylight_name[i] != '\0' && i < 31; ++i)
    r.daylight_name[i] = static_cast<unsigned char>(daylight_name[i]);
  return r;
}

// Central European rules: last Sunday of March 02:00 to last Sunday of October 03:00.
inline sys::zone_record central_european() {
  return make_record(-60, {0, 10, 0, 5, 3, 0, 0, 0}, 0, {0, 3, 0, 5, 2, 0, 0, 0}, -60, "W. Europe Standard Time",
                     "W. Europe Daylight Time");
}

// No daylight-saving time at the given bias (minutes).
inline sys::zone_record fixed_zone(int bias) { return make_record(bias, {}, 0, {}, 0, "Fixed", "Fixed"); }

class fake_time_source : public sys::time_source {
 public:
  sys::zone_query zone{sys::zone_query_failed, {}};
  std::atomic<int> zone_queries{0};
  int query_delay_ms = 0;  // a slow platform widens the window of a first read
  sys::wall_clock local{2024, 3, 5, 8, 4, 9, 0};
  sys::wall_clock utc{2024, 3, 5, 7, 4, 9, 0};
  std::uint64_t file_time = 0;
  bool tz_set = false;
  std::string tz;

  void use_record(const sys::zone_record& record, std::uint32_t status = 1) { zone = {status, record}; }
  void use_tz(const char* value) {
    tz_set = true;
    tz = value;
  }

  sys::zone_query query_zone() override {
    ++zone_queries;
    if (query_delay_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(query_delay_ms));
    return zone;
  }
  sys::wall_clock local_clock() override { return local; }
  sys::wall_clock utc_clock() override { return utc; }
  std::uint64_t utc_file_time() override { return file_time; }
  bool tz_variable(char* buffer, std::size_t size) override {
    if (!tz_set) return false;
    std::size_t n = tz.size() < size - 1 ? tz.size() : size - 1;
    std::memcpy(buffer, tz.data(), n);
    buffer[n] = '\0';
    return true;
  }
};

// Installs a fake source for the test's duration, on a zone state that was never read.
class zone_test : public ::testing::Test {
 protected:
  fake_time_source source;
  base::scoped_stand_in<sys::time_source> installed{sys::time_seam(), source};
  void SetUp() override {
    time::reset_zone_for_test();
    time::forget_minute_cache();
  }
  void TearDown() override { time::reset_zone_for_test(); }
  // Installs the record and reads the zone as tzset_ does.
  void zone_from(const sys::zone_record& record) {
    source.use_record(record);
    time::read_zone();
  }
};

}  // namespace tambre::test
