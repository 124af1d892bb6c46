#pragma once
// The process's zone state: offset, daylight flag, DST bias and names, read from the
// platform's zone record or from TZ by tzset_, and the daylight-saving test on it.

#include <atomic>
#include <cstdint>
#include <ctime>
#include <type_traits>

#include "sys/platform.h"

namespace tambre::time {

struct zone_state {
  std::int32_t offset = 28800;    // seconds, local standard time + offset = UTC
  std::int32_t daylight = 1;      // non-zero: the zone observes daylight-saving time
  std::int32_t dst_bias = -3600;  // seconds added to offset while DST is in effect
  char standard_name[64] = "PST";
  char daylight_name[64] = "PDT";
  sys::zone_record record{};
  bool record_valid = false;
};

// Plain values only: conversions on other threads read the live state while read_zone
// replaces it field by field.
static_assert(std::is_trivially_copyable_v<zone_state>);

// The live state. Written only by read_zone; the accessors hand out its addresses.
zone_state& zone();

// Re-reads the zone from TZ or the platform (tzset_).
void read_zone();
// Runs read_zone once per process unless it has run already.
void ensure_zone();
// Back to the initial values, never read; for tests that install another time source.
void reset_zone_for_test();

// Parses a TZ text ("CET-1CEST", "EST5EDT", "IST-5:30") into the state.
void parse_tz(const char* text, zone_state& state);

// Daylight-saving test of broken-down local standard time (yday, hour, min, sec of
// year tm_year), against the transitions of that year.
bool is_daylight(const std::tm& standard_fields);

// One transition of a year: zero-based day of year and milliseconds into that day in
// local standard time.
struct transition {
  int yday;
  std::int32_t ms;
};
// The transition of `year` (years since 1900) given by a record date; an end date (in
// daylight time) is moved to standard time with dst_bias.
transition transition_of(int year, const sys::zone_date& date, bool is_end, std::int32_t dst_bias);

}  // namespace tambre::time
