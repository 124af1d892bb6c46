#pragma once
// A time source for tests (a given zone record or a failing query, fixed clocks, a given
// TZ), the fixtures installing it, and a Central European zone with its own oracle.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "civil_oracle.h"
#include "sys/platform.h"
#include "time/calendar.h"
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

// Last Sunday of March 02:00 to last Sunday of October 03:00.
inline sys::zone_record central_european() {
  return make_record(-60, {0, 10, 0, 5, 3, 0, 0, 0}, 0, {0, 3, 0, 5, 2, 0, 0, 0}, -60, "W. Europe Standard Time",
                     "W. Europe Daylight Time");
}

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
  void zone_from(const sys::zone_record& record) {  // as tzset_ reads it
    source.use_record(record);
    time::read_zone();
  }
};

// Central European time apart from the library: UTC+1, and UTC+2 from 01:00 UTC of the
// last Sunday of March to 01:00 UTC of the last Sunday of October.
inline std::int64_t last_sunday_utc_1am(std::int64_t year, unsigned month) {
  std::int64_t days = days_from_civil(year, month, 31);
  return (days - ((days % 7) + 11) % 7) * 86400 + 3600;
}

inline bool cet_daylight_at(std::int64_t utc, std::int64_t year) {
  return utc >= last_sunday_utc_1am(year, 3) && utc < last_sunday_utc_1am(year, 10);
}

// The time value of a local time (outside the changeover hours).
inline time::time_value cet(std::int64_t y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
  std::int64_t utc = seconds_of(y, m, d, hh, mm, ss) - 3600;
  if (cet_daylight_at(utc - 3600, y)) utc -= 3600;
  return static_cast<time::time_value>(utc);
}

// The zone of a Central European record, the platform's "daylight time now" withheld.
class cet_clock_test : public zone_test {
 protected:
  void SetUp() override {
    zone_test::SetUp();
    zone_from(central_european());
    source.zone.status = sys::zone_query_failed;
  }
  void set_now(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    source.local = {y, m, d, hh, mm, ss, 0};
    source.utc = source.local;
    time::forget_minute_cache();
  }
};

}  // namespace tambre::test
